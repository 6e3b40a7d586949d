#include "toolkit/path_helpers.h"

#include "platform/vb_error.h"

QString TrimAtNul(const QString& buffer) {
    const int nul = buffer.indexOf(QChar(0));
    return nul < 0 ? buffer : buffer.left(nul);
}

QString SplitPath(const QString& path, PathPart part) {
    const int last = path.lastIndexOf(u'\\');
    if (part == PathPart::Name) return path.mid(last + 1);
    if (last < 0) platform::Raise(platform::kInvalidProcedureCall, path);
    return path.left(last);
}
