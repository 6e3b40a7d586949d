// Clone and move: the command remembers the selected category and starts a drag of the tree; the
// drop copies its folder tree below the category under the pointer and, for a move, deletes the
// source through Delete.
#include "ui/main_form.h"

#include "platform/message_box.h"
#include "platform/vb_error.h"
#include "startup/shared_state.h"
#include "toolkit/copy_tree.h"
#include "toolkit/path_helpers.h"

using namespace platform;

void MainForm::EditCopy() { StartDrag(false); }
void MainForm::EditMove() { StartDrag(true); }

void MainForm::StartDrag(bool move) {
    MoveMode = move;
    Category->setFocus();
    Node* selected = Category->SelectedItem();
    if (!selected) Raise(kObjectVariableNotSet);
    DragSourceDir = ProfilesDir + u'\\' + selected->Key();
    Category->Drag();
}

void MainForm::Category_DragOver(int x, int y, int /*state*/) {
    try {
        Category->SetDropHighlight(Category->HitTest(x, y));
    } catch (const VbError&) {
        Beep();
    }
}

void MainForm::Category_DragDrop(int x, int y) {
    const QString sourceKey = DragSourceDir.mid(ProfilesDir.size() + 1);
    try {
        Node* target = Category->HitTest(x, y);
        if (!target) Raise(kObjectVariableNotSet);
        if (!target->Text().isEmpty()) {
            Category->SetDropHighlight(target);
            const QString targetKey = target->Key();
            DropTargetDir = ProfilesDir + u'\\' + targetKey;
            QString name = SplitPath(DragSourceDir, PathPart::Name);
            const QString sourceParent = SplitPath(DragSourceDir, PathPart::Parent);
            bool go = DragSourceDir != DropTargetDir;
            if (go && MoveMode) {
                go = sourceParent != DropTargetDir;
                // Inside the source is below "source\", so a sibling "Games2" is no part of "Games".
                if (go && DropTargetDir.startsWith(DragSourceDir + u'\\')) {
                    Beep();
                    go = false;
                }
            } else if (go && sourceParent == DropTargetDir) {
                name += QStringLiteral("_1");
            }
            if (go) {
                // A copy that could not take every file is no copy to move by: the source stays.
                if (CopyTree(DragSourceDir, DropTargetDir + u'\\' + name) == CopyOutcome::Incomplete)
                    Raise(kPathFileAccessError, DropTargetDir + u'\\' + name);
                Category->SetDropHighlight(nullptr);
                if (MoveMode) {
                    // Delete works on the selection: make sure it is the category the move began with.
                    Category->Nodes().Item(sourceKey)->SetSelected(true);
                    EditDelete();
                }
                // Delete's Abort may have rebuilt the tree: the target is looked up anew.
                Category->Nodes().Add(targetKey, tvwChild, targetKey + u'\\' + name, name);
                Category->Nodes().Item(targetKey)->SetExpanded(true);
            }
        }
    } catch (const VbError&) {
        Beep();
    }
    Category->SetDropHighlight(nullptr);
    SetBusy(false);
    // A drop that never reached Delete must not leave a later Delete without its question.
    MoveMode = false;
    RefreshCommands();
}
