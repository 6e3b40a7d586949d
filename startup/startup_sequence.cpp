#include "startup/startup_sequence.h"

#include "platform/message_box.h"
#include "platform/file_services.h"
#include "platform/qpro.h"
#include "platform/user_name.h"
#include "platform/drives.h"
#include "startup/failure_text.h"
#include "startup/shared_state.h"
#include "startup/shell_folder.h"
#include "startup/user_settings.h"
#include "toolkit/delete_tree.h"
#include "toolkit/folder_names.h"
#include "toolkit/path_helpers.h"

#include <vector>

using namespace platform;

namespace {

// A folder step that failed: what was being done, and why it failed.
struct FolderFailure {
    QString what;
    VbError error;
};

// Names of 20 characters or more do not fit the 20-character buffer; they are read again with a
// buffer of the size the call asks for, so long names keep their own library.
QString LoggedOnUser() {
    uint32_t size = 20;
    std::vector<char> buffer(size, '\0');
    if (!GetUserNameA(buffer.data(), &size) && size > 20) {
        buffer.assign(size, '\0');
        GetUserNameA(buffer.data(), &size);
    }
    return TrimAtNul(QString::fromUtf8(buffer.data(), int(buffer.size())));
}

void MakeIfMissing(const QString& folder) {
    if (Exists(folder)) return;
    try {
        MkDir(folder);
    } catch (const VbError& e) {
        throw FolderFailure{QStringLiteral("Cannot make the folder %1.").arg(folder), e};
    }
}

void RemoveLeftoverUndo() {
    const QString store = TmpDir + QStringLiteral("\\undo");
    if (!Exists(store)) return;
    try {
        DeleteTree(store);
    } catch (const VbError& e) {
        throw FolderFailure{QStringLiteral("Cannot delete the undo information left in %1.").arg(store), e};
    }
}

}  // namespace

StartupEnd Main(StartupWindows& windows) {
    ProductTitle = QStringLiteral("VALDRINE.");
    ProductVersion = QStringLiteral("2.00");
    CrLf = QStringLiteral("\r\n");
    StartDir = CurrentWinDir();
    if (WinVer() / 100 < 4) {
        MsgBox(QStringLiteral("Sorry This Aplications Needs Windows 95"), vbCritical, QStringLiteral("Valdrine Manager"));
        return StartupEnd::Refused;
    }
    UserName = LoggedOnUser();
    if (UserName.isEmpty()) UserName = QStringLiteral("NoUser");
    ReadOptions();
    if (ShowLogo) {
        windows.ShowLogo();
        Beep();
        DoEvents();
    }
    try {
        WindowsDir = TrimAtNul(WinDir());
        HomeDir = WindowsDir + QStringLiteral("\\VALDRINE");
        ProfilesDir = HomeDir + QStringLiteral("\\PROFILES");
        LibraryDir = HomeDir + QStringLiteral("\\Library");
        TmpDir = HomeDir + QStringLiteral("\\Tmp");
        MakeIfMissing(HomeDir);
        MakeIfMissing(TmpDir);
        RemoveLeftoverUndo();
        MakeIfMissing(LibraryDir);
        UndoAvailable = 0;
        MakeIfMissing(ProfilesDir);
        MakeIfMissing(ProfilesDir + u'\\' + UserName);
    } catch (const FolderFailure& failure) {
        if (ShowLogo) windows.UnloadLogo();
        MsgBox(FailureText(failure.what, failure.error), vbCritical);
        return StartupEnd::Failed;
    }
    DesktopDir = ShellFolder(QStringLiteral("Desktop"));
    StartMenuDir = ShellFolder(QStringLiteral("Start Menu"));
    DoEvents();
    windows.ShowMainForm();
    DoEvents();
    if (ShowLogo) windows.UnloadLogo();
    return StartupEnd::Running;
}
