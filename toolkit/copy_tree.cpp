#include "toolkit/copy_tree.h"

#include "platform/drives.h"
#include "platform/file_services.h"
#include "platform/qpro.h"
#include "platform/vb_error.h"
#include "toolkit/folder_names.h"

#include <QSet>

using namespace platform;

namespace {

QString SourcePrefix(const QString& pattern) {
    for (int i = pattern.size() - 1; i >= 0; --i)
        if (pattern[i] == u'\\' || pattern[i] == u'/' || pattern[i] == u':') return pattern.left(i + 1);
    return QString();
}

QString DestinationPrefix(const QString& folder) {
    if (folder.isEmpty() || folder.endsWith(u'\\') || folder.endsWith(u':')) return folder;
    return folder + u'\\';
}

// The host folders this copy made; a source folder among them is not descended into.
using Made = QSet<QByteArray>;

CopyOutcome CopyTreeLevel(const QString& source, const QString& destination, Made& made) {
    // Listed before the destination is made: the destination may lie inside source.
    const std::vector<QString> subfolders = SubfolderNames(source);
    if (!Exists(destination)) {
        MkDir(destination);
        made.insert(LookUp(destination).host);
    }
    CopyOutcome outcome = CopyOutcome::Complete;
    for (const QString& name : subfolders) {
        const QString child = source + u'\\' + name;
        if (made.contains(LookUp(child).host)) continue;
        if (CopyTreeLevel(child, destination + u'\\' + name, made) == CopyOutcome::Incomplete)
            outcome = CopyOutcome::Incomplete;
    }
    const QString pattern = source + QStringLiteral("\\*.*");
    if (FCount(pattern) > 0 && CopyFiles(pattern, destination) == CopyOutcome::Incomplete)
        outcome = CopyOutcome::Incomplete;
    return outcome;
}

}  // namespace

CopyOutcome CopyFiles(const QString& sourcePattern, const QString& destinationFolder) {
    const QString from = SourcePrefix(sourcePattern);
    const QString to = DestinationPrefix(destinationFolder);
    const int n = FCount(sourcePattern);
    if (DOSError() != 0) return CopyOutcome::Incomplete;
    if (n == 0) return CopyOutcome::Complete;
    try {
        // Names are used whole: on this host a name may begin or end with a space.
        for (const QString& name : FileNames(sourcePattern)) {
            FileCopy(from + name, to + name);
            if (DOSError() != 0) return CopyOutcome::Incomplete;
        }
    } catch (const VbError&) {
        return CopyOutcome::Incomplete;
    }
    return CopyOutcome::Complete;
}

CopyOutcome CopyTree(const QString& source, const QString& destination) {
    Made made;
    return CopyTreeLevel(source, destination, made);
}
