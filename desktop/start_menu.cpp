// UPDATE START MENU mirrors the library into StartMenuDir\Valdrine: a folder per category, and in
// each that holds shortcuts a "_Paint" shortcut that runs VALPAINT.EXE with the category's folder,
// beside copies of the category's files. VISIT LIBRARY and SEE CONTENTS open folders in the
// explorer.
#include "ui/main_form.h"

#include "platform/file_services.h"
#include "platform/message_box.h"
#include "platform/qpro.h"
#include "platform/shell_execute.h"
#include "platform/vb_error.h"
#include "startup/failure_text.h"
#include "startup/shared_state.h"
#include "toolkit/copy_tree.h"
#include "toolkit/delete_tree.h"
#include "toolkit/folder_names.h"
#include "toolkit/make_shortcut.h"

using namespace platform;

namespace {

// A failure of one of these commands: a beep and a box that names it.
void Report(const QString& what, const VbError& e) {
    Beep();
    MsgBox(FailureText(what, e), vbOKOnly);
}

QString ExplorerLine(const QString& folder) { return WindowsDir + QStringLiteral("\\explorer.exe ") + folder; }

}  // namespace

void MainForm::BuildStartMenuTree(const QString& source, const QString& destination) {
    // Made when missing; a folder of that name that is there already is taken as it is.
    try {
        MkDir(destination);
    } catch (const VbError& e) {
        if (e.Number() != kPathFileAccessError || !Exists(destination)) throw;
    }
    for (const QString& name : SubfolderNames(source)) BuildStartMenuTree(source + u'\\' + name, destination + u'\\' + name);
    if (FCount(source + QStringLiteral("\\*.lnk")) > 0) {
        if (!MakeShortcut(destination, StartDir + QStringLiteral("\\VALPAINT.EXE"), source, QStringLiteral("_Paint")))
            Raise(kPathFileAccessError, destination + QStringLiteral("\\_Paint.lnk"));
        if (CopyFiles(source + QStringLiteral("\\*.*"), destination) == CopyOutcome::Incomplete)
            Raise(kPathFileAccessError, destination);
    }
}

void MainForm::UpdateStartMenu() {
    if (StartMenuDir.isEmpty()) {
        MsgBox(QStringLiteral("The registry names no Start Menu folder for you, so there is no Start Menu to update."), vbOKOnly);
        return;
    }
    const QString root = ProfilesDir + u'\\' + UserName;
    const QString mirror = StartMenuDir + QStringLiteral("\\Valdrine");
    try {
        if (Exists(mirror)) DeleteTree(mirror);
        BuildStartMenuTree(root, mirror);
    } catch (const VbError& e) {
        Report(QStringLiteral("The Start Menu folder %1 could not be brought up to date.").arg(mirror), e);
    }
}

void MainForm::VisitLibrary() {
    try {
        Shell(ExplorerLine(LibraryDir), vbNormalFocus);
    } catch (const VbError& e) {
        Report(QStringLiteral("Cannot open the library %1.").arg(LibraryDir), e);
    }
}

void MainForm::SeeContents() {
    BusyScope busy(*this);
    try {
        Node* selected = Category->SelectedItem();
        if (!selected) Raise(kObjectVariableNotSet);
        QString path = selected->Key();
        if (!path.isEmpty()) path = ProfilesDir + u'\\' + path;
        Shell(ExplorerLine(path), vbNormalFocus);
    } catch (const VbError& e) {
        Beep();
        MsgBox(e.Description(), vbOKOnly, QStringLiteral("Valdrine Manager"));
    }
}
