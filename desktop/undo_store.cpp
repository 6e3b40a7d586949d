// The one-level undo store, C:\WINDOWS\VALDRINE\Tmp\UNDO:
//   \desk           the Desktop folder as it was before the last paint (moved here whole)
//   \profile        a copy of the category tree a category edit saved
//   \undomark.fil   one line, CR LF ended: the full path of the folder copied to \profile
#include "ui/main_form.h"

#include "platform/file_services.h"
#include "platform/message_box.h"
#include "platform/qpro.h"
#include "startup/failure_text.h"
#include "startup/shared_state.h"
#include "toolkit/copy_tree.h"
#include "toolkit/delete_tree.h"
#include "toolkit/folder_names.h"
#include "ui/command_report.h"

using namespace platform;

namespace {

QString Store() { return TmpDir + QStringLiteral("\\UNDO"); }

// The Desktop's folders are no part of a paint: they go back where the user keeps them, so the
// next save, which discards the store, cannot take them along. One the Desktop has again stays.
void MoveFoldersToDesktop(const QString& desk) {
    for (const QString& name : SubfolderNames(desk))
        if (!Exists(DesktopDir + u'\\' + name)) Name(desk + u'\\' + name, DesktopDir + u'\\' + name);
}

}  // namespace

void MainForm::SaveDesktopUndo() {
    const QString desk = Store() + QStringLiteral("\\desk");
    if (!DesktopInStore) {
        if (Exists(Store())) DeleteTree(Store());
        MkDir(Store());
        Name(DesktopDir, desk);
        DesktopInStore = true;
        UndoAvailable = 1;
    }
    if (!Exists(DesktopDir)) MkDir(DesktopDir);
    MoveFoldersToDesktop(desk);
    UndoAvailable = 1;
    DoEvents();
}

void MainForm::SaveUndoState(const QString& folder) {
    if (Exists(Store())) DeleteTree(Store());
    MkDir(Store());
    MkDir(Store() + QStringLiteral("\\profile"));
    // The marker is written once the copy is whole: a store without it is never put back over the
    // category, so a partial copy can never replace what is there.
    if (CopyTree(folder, Store() + QStringLiteral("\\profile")) == CopyOutcome::Incomplete)
        Raise(kPathFileAccessError, folder);
    WriteLine(Store() + QStringLiteral("\\undomark.fil"), folder);
    UndoAvailable = 1;
    DoEvents();
}

void MainForm::RemoveShortcuts(const QString& folder) {
    const QString pattern = folder + QStringLiteral("\\*.*");
    CommandReport report(QStringLiteral("Trouble Removing Shortcuts."), CommandReport::Description);
    report.Step([&] {
        if (FCount(pattern) > 0) Kill(pattern);
    });
}

void MainForm::RestoreUndo() {
    if (UndoAvailable == 0) {
        Beep();
        return;
    }
    BusyScope busy(*this);
    const QString store = Store();
    if (!Exists(store)) {
        Beep();
        MsgBox(QStringLiteral("Cannot find undo information."), vbCritical, QStringLiteral("Valdrine Manager"));
        return;
    }
    // The store is deleted only once everything in it is back; what could not be put back is named
    // and the store kept, so the undo can be tried again.
    QString trouble;
    const QString desk = store + QStringLiteral("\\desk");
    if (Exists(desk)) {
        // A paint that failed right after moving the Desktop away may have left no Desktop folder.
        try {
            if (!Exists(DesktopDir)) MkDir(DesktopDir);
        } catch (const VbError& e) {
            trouble = FailureText(QStringLiteral("Cannot make the Desktop folder %1.").arg(DesktopDir), e);
        }
    }
    if (trouble.isEmpty() && Exists(desk)) {
        RemoveShortcuts(DesktopDir);
        if (CopyFiles(desk + QStringLiteral("\\*.*"), DesktopDir) == CopyOutcome::Incomplete)
            trouble = QStringLiteral("Not every file of the saved Desktop could be put back on %1.").arg(DesktopDir);
        try {
            MoveFoldersToDesktop(desk);
        } catch (const VbError& e) {
            trouble = FailureText(QStringLiteral("A folder of the saved Desktop could not be put back on %1.").arg(DesktopDir), e);
        }
    }
    const QString profile = store + QStringLiteral("\\profile");
    if (trouble.isEmpty() && Exists(profile)) {
        QString saved;
        try {
            saved = ReadLine(store + QStringLiteral("\\undomark.fil"));
            if (Exists(saved)) DeleteTree(saved);
            if (CopyTree(profile, saved) == CopyOutcome::Incomplete)
                trouble = QStringLiteral("Not every file of the saved category could be put back in %1.").arg(saved);
        } catch (const VbError& e) {
            trouble = FailureText(QStringLiteral("The saved category could not be put back in %1.").arg(saved.isEmpty() ? profile : saved), e);
        }
        DoEvents();
        ReloadTree();
        RefreshCommands();  // the rebuilt tree has the root selected
    }
    if (!trouble.isEmpty()) {
        MsgBox(trouble + CrLf + QStringLiteral("The undo information is kept; try OOPS UNDO again."), vbCritical);
        return;
    }
    try {
        DeleteTree(store);
    } catch (const VbError&) {
        // Everything is back; what is left of the store goes with the next save or start.
    }
    UndoAvailable = 0;
}
