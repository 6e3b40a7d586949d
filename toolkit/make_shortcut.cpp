#include "toolkit/make_shortcut.h"

#include "platform/shell_link.h"
#include "platform/vb_error.h"

bool MakeShortcut(const QString& destinationFolder, const QString& target, const QString& arguments, const QString& linkName) {
    try {
        platform::WriteShellLink(destinationFolder + u'\\' + linkName + QStringLiteral(".lnk"), target, arguments);
        return true;
    } catch (const platform::VbError&) {
        return false;
    }
}
