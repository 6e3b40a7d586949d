// New, rename (through the tree's label editing) and delete of categories. Each saves the folder
// it changes into the undo store first; Abort in its error report puts that back.
#include "ui/main_form.h"

#include "platform/file_services.h"
#include "platform/message_box.h"
#include "platform/vb_error.h"
#include "platform/win_path.h"
#include "startup/shared_state.h"
#include "toolkit/delete_tree.h"
#include "toolkit/folder_names.h"
#include "toolkit/path_helpers.h"
#include "ui/command_report.h"

using namespace platform;

namespace {

QString Folder(const QString& key) { return ProfilesDir + u'\\' + key; }

Node* Selected(TreeView* tree) {
    Node* node = tree->SelectedItem();
    if (!node) Raise(kObjectVariableNotSet);
    return node;
}

}  // namespace

void MainForm::RefreshCommands() {
    Node* node = Category->SelectedItem();
    MenuEditEnable(node ? node->Key() : QString());
}

void MainForm::EditNew() {
    Category->setFocus();
    CommandReport report(QStringLiteral("Trouble Deleteing Category."), CommandReport::Description);
    {
        BusyScope busy(*this);
        QString parentKey, candidate, suffix;
        bool saved = false;
        const bool done = report.Step([&] { parentKey = Selected(Category)->Key(); }) &&
                          report.Step([&] {
                              SaveUndoState(Folder(parentKey));
                              saved = true;
                          }) &&
                          report.Step([&] {
                              const QString base = Folder(parentKey) + QStringLiteral("\\New Folder");
                              int n = 0;
                              candidate = base;
                              while (Exists(candidate)) candidate = base + u' ' + QString::number(++n);
                              suffix = n == 0 ? QString() : u' ' + QString::number(n);
                          }) &&
                          report.Step([&] { MkDir(candidate); }) && report.Step([&] {
                              Category->Nodes().Item(parentKey)->SetExpanded(true);
                              const QString text = QStringLiteral("New Folder") + suffix;
                              Category->Nodes().Add(parentKey, tvwChild, parentKey + u'\\' + text, text)->SetSelected(true);
                          });
        if (!done) {
            // Abort takes back what this command saved; a state an earlier command saved stays.
            if (saved) RestoreUndo();
            RefreshCommands();
            return;
        }
        SaveUndoOnRename = false;
        RefreshCommands();
    }
    Category->StartLabelEdit();
}

void MainForm::EditRename() {
    Category->setFocus();
    Category->StartLabelEdit();
}

void MainForm::Category_BeforeLabelEdit(int* Cancel) {
    Node* node = Category->SelectedItem();
    if (!node || node->Key() == UserName) *Cancel = 1;
}

void MainForm::Category_AfterLabelEdit(int* Cancel, const QString& NewString) {
    CommandReport report(QStringLiteral("WARNING !"), [this](const VbError& e) {
        return QStringLiteral("Trouble Changing Label.") + CrLf + e.Description();
    });
    BusyScope busy(*this);
    auto finish = [&] {
        SaveUndoOnRename = true;
        RefreshCommands();
    };
    // The state to put back on Abort: the one this edit saves, or the one New saved for the edit
    // that names its folder.
    bool saved = !SaveUndoOnRename;
    auto abort = [&] {
        if (saved) RestoreUndo();
        *Cancel = 1;
        finish();
    };
    QString oldKey, parentKey, oldText;
    if (!report.Step([&] {
            oldKey = Selected(Category)->Key();
            parentKey = SplitPath(oldKey, PathPart::Parent);
            oldText = Category->Nodes().Item(oldKey)->Text();
        }))
        return abort();
    // Escape leaves the label as it was.
    const QString typed = NewString.isNull() ? oldText : NewString;
    const QString newKey = parentKey + u'\\' + typed;
    if (typed != oldText) {
        const QString oldPath = Folder(oldKey);
        const QString newPath = Folder(parentKey) + u'\\' + typed;
        if (Exists(newPath)) {
            MsgBox(QStringLiteral("Name Already Exists."), vbCritical, QStringLiteral("No Can Do."));
            *Cancel = 1;
            return finish();
        }
        if (!Exists(oldPath)) {
            MsgBox(QStringLiteral("Cannot Find This Path."), vbCritical, QStringLiteral("Trouble !."));
            *Cancel = 1;
            return finish();
        }
        // A name Windows would refuse, or one that is a path ("..\x", "a\b"), never reaches the disk:
        // whatever the answer, the label goes back.
        bool refused = false;
        report.Step([&] {
            refused = true;
            if (IsRefusedWinName(typed)) Raise(kBadFileName, typed);
            refused = false;
        });
        if (refused) {
            *Cancel = 1;
            return finish();
        }
        const bool done = (!SaveUndoOnRename || report.Step([&] {
                              SaveUndoState(Folder(parentKey));
                              saved = true;
                          })) &&
                          report.Step([&] { Name(oldPath, newPath); }) &&
                          report.Step([&] { Category->Nodes().Item(oldKey)->SetKey(newKey); });
        if (!done) return abort();
    }
    if (!report.Step([&] { RelabelChildren(newKey); })) return abort();
    finish();
}

void MainForm::EditDelete() {
    Category->setFocus();
    CommandReport report(QStringLiteral("Trouble Deleteing Category."), CommandReport::Description);
    auto finish = [&] {
        MoveMode = false;
        RefreshCommands();
    };
    QString key;
    if (!report.Step([&] { key = Selected(Category)->Key(); })) return finish();
    if (key == UserName) {
        MsgBox(QStringLiteral("The top category holds your whole library and cannot be deleted."), vbCritical);
        return finish();
    }
    if (!MoveMode && MsgBox(QStringLiteral("Are You Sure You Want To Delete") + CrLf + QStringLiteral("The desktop named ") + CrLf + key,
                            vbYesNoQuestion, QStringLiteral("Please Confirm")) != vbYes)
        return finish();
    BusyScope busy(*this);
    bool saved = false;
    const bool done = report.Step([&] {
        SaveUndoState(Folder(key));
        saved = true;
    }) && report.Step([&] { DeleteTree(Folder(key)); }) && report.Step([&] { Category->Nodes().Remove(key); });
    if (!done && saved) RestoreUndo();
    finish();
}
