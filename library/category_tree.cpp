// The category library as a tree: one node per folder below the user's library folder. A node's
// key is its folder's path below ProfilesDir ("ann\Games\Old"), the root's key is UserName, and
// its text is the folder name as listed.
#include "ui/main_form.h"

#include "startup/shared_state.h"
#include "toolkit/folder_names.h"

using namespace platform;

void MainForm::ReloadTree() {
    Category->Nodes().Clear();
    Node* root = Category->Nodes().Add(UserName, UserName);
    root->SetExpanded(true);
    root->SetSelected(true);
    LoadTreeLevel(ProfilesDir + u'\\' + UserName, UserName);
}

void MainForm::LoadTreeLevel(const QString& FolderPath, const QString& ParentKey) {
    BusyScope busy(*this);
    for (const QString& name : SubfolderNames(FolderPath)) {
        const QString key = ParentKey + u'\\' + name;
        Category->Nodes().Add(ParentKey, tvwChild, key, name);
        LoadTreeLevel(FolderPath + u'\\' + name, key);
    }
}

// Walks the children of Key top-down and gives each the key its parent's key and its own text
// make; the caller has already given the node Key itself.
void MainForm::RelabelChildren(const QString& Key) {
    Node* parent = Category->Nodes().Item(Key);
    if (parent->Children() == 0) return;
    Node* child = parent->Child();
    child->SetKey(parent->Key() + u'\\' + child->Text());
    if (child->Children() > 0) RelabelChildren(child->Key());
    int i = child->Index();
    while (i != child->LastSibling()->Index()) {
        Node* sibling = Category->Nodes().Item(i)->Next();
        sibling->SetKey(parent->Key() + u'\\' + sibling->Text());
        if (sibling->Children() > 0) RelabelChildren(sibling->Key());
        i = sibling->Index();
    }
}

void MainForm::MenuEditEnable(const QString& Key) {
    const bool editable = !Key.isEmpty() && Key != UserName;
    mnuEditDelete->setEnabled(editable);
    mnuEditRename->setEnabled(editable);
    mnuEditMove->setEnabled(editable);
    DELETE[DeleteButtonIndex]->setVisible(editable);
    COPY->setVisible(editable);
    mov->setVisible(editable);
    rename->setVisible(editable);
    const bool any = !Key.isEmpty();
    mnuEditNew->setEnabled(any);
    NEW->setVisible(any);
}

void MainForm::Category_Expand(Node* node) { node->SetSorted(true); }

void MainForm::Category_NodeClick(Node* node) { MenuEditEnable(node->Key()); }

void MainForm::Category_MouseDown(int button, int /*shift*/, int x, int y) {
    if (button != vbRightButton) return;
    Node* selected = Category->SelectedItem();
    if (!selected || selected->Key().isEmpty()) return;
    MenuEditEnable(selected->Key());
    mnuEdit->popup(Category->viewport()->mapToGlobal(QPoint(x / 15, y / 15)));
}
