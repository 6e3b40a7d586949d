#include "ui/main_form.h"

#include "startup/shared_state.h"
#include "tests/started_program.h"

#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QTest>
#include <gtest/gtest.h>

using platform::Node;

namespace {

QStringList Keys(platform::TreeView* tree) {
    QStringList keys;
    for (int i = 1; i <= tree->Nodes().Count(); ++i) keys << tree->Nodes().Item(i)->Key();
    return keys;
}

QStringList ChildTexts(Node* node) {
    QStringList texts;
    for (Node* c = node->Child(); c; c = c->Next()) texts << c->Text();
    return texts;
}

void ClickNode(MainForm& form, Node* node, Qt::MouseButton button = Qt::LeftButton) {
    form.Category->scrollToItem(node);
    const QRect r = form.Category->visualItemRect(node);
    QTest::mouseClick(form.Category->viewport(), button, Qt::NoModifier, r.center());
}

}  // namespace

TEST(CategoryTree, AnEmptyLibraryShowsTheRootAloneSelectedAndExpanded) {
    TestMachine m;
    StartedProgram p(m);
    platform::TreeView* tree = p.Form().Category;
    ASSERT_EQ(tree->Nodes().Count(), 1);
    Node* root = tree->Nodes().Item(1);
    EXPECT_EQ(root->Key(), "ann");
    EXPECT_EQ(root->Text(), "ann");
    EXPECT_TRUE(root->Expanded());
    EXPECT_EQ(tree->SelectedItem(), root);
}

TEST(CategoryTree, EveryFolderIsANodeKeyedByItsPathBelowProfiles) {
    TestMachine m;
    const QString lib = QStringLiteral("drive_c/WINDOWS/VALDRINE/PROFILES/ann/");
    for (const char* folder : {"Games/Old Ones/DOS", "Games/New", "Work Stuff", "zeta", "Alpha"}) m.MakeDir(lib + folder);
    m.WriteFile(lib + "Games/readme.lnk", "files are not nodes");
    StartedProgram p(m);
    platform::TreeView* tree = p.Form().Category;
    // Depth first, each level in listing order (without regard to case).
    EXPECT_EQ(Keys(tree), (QStringList{"ann", "ann\\Alpha", "ann\\Games", "ann\\Games\\New", "ann\\Games\\Old Ones",
                                       "ann\\Games\\Old Ones\\DOS", "ann\\Work Stuff", "ann\\zeta"}));
    for (const QString& key : Keys(tree)) {
        Node* node = tree->Nodes().Item(key);
        EXPECT_EQ(node->Text(), key.section(u'\\', -1));
        EXPECT_TRUE(QDir(m.Host("drive_c/WINDOWS/VALDRINE/PROFILES/" + QString(key).replace(u'\\', u'/'))).exists()) << key.toStdString();
    }
    EXPECT_EQ(tree->Nodes().Item("ann\\Games\\Old Ones")->Parent()->Key(), "ann\\Games");
    EXPECT_EQ(p.Form().BusyCount(), 0);
    EXPECT_EQ(p.Form().MousePointer(), 0);
}

TEST(CategoryTree, ClicksSetWhatTheSelectedCategoryAllows) {
    TestMachine m;
    m.MakeDir("drive_c/WINDOWS/VALDRINE/PROFILES/ann/Games");
    StartedProgram p(m);
    MainForm& form = p.Form();
    platform::TreeView* tree = form.Category;
    struct Case {
        const char* key;
        bool editable;
    } cases[] = {{"ann\\Games", true}, {"ann", false}, {"ann\\Games", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        ClickNode(form, tree->Nodes().Item(c.key));
        EXPECT_EQ(tree->SelectedItem()->Key(), c.key);
        EXPECT_EQ(form.mnuEditDelete->isEnabled(), c.editable);
        EXPECT_EQ(form.mnuEditRename->isEnabled(), c.editable);
        EXPECT_EQ(form.mnuEditMove->isEnabled(), c.editable);
        EXPECT_EQ(form.DELETE[1]->isVisible(), c.editable);
        EXPECT_EQ(form.COPY->isVisible(), c.editable);
        EXPECT_EQ(form.mov->isVisible(), c.editable);
        EXPECT_EQ(form.rename->isVisible(), c.editable);
        EXPECT_TRUE(form.mnuEditNew->isEnabled());
        EXPECT_TRUE(form.NEW->isVisible());
        EXPECT_FALSE(form.DELETE[0]->isVisible());
        EXPECT_TRUE(form.mnuEditCopy->isEnabled());
        EXPECT_TRUE(form.mnuUndo->isEnabled());
    }
}

TEST(CategoryTree, NoKeyTurnsEverythingOff) {
    TestMachine m;
    StartedProgram p(m);
    MainForm& form = p.Form();
    form.MenuEditEnable(QString());
    EXPECT_FALSE(form.mnuEditNew->isEnabled());
    EXPECT_FALSE(form.NEW->isVisible());
    EXPECT_FALSE(form.mnuEditDelete->isEnabled());
    EXPECT_FALSE(form.COPY->isVisible());
    EXPECT_TRUE(form.mnuEditCopy->isEnabled());
    EXPECT_TRUE(form.mnuUndo->isEnabled());
}

TEST(CategoryTree, ARightClickPopsUpTheActionsMenuForTheSelectedNode) {
    TestMachine m;
    m.MakeDir("drive_c/WINDOWS/VALDRINE/PROFILES/ann/Games");
    StartedProgram p(m);
    MainForm& form = p.Form();
    platform::TreeView* tree = form.Category;
    // First make the buttons show, then right-click another node with the root still selected.
    form.MenuEditEnable(QStringLiteral("ann\\Games"));
    ASSERT_EQ(tree->SelectedItem()->Key(), "ann");
    ClickNode(form, tree->Nodes().Item("ann\\Games"), Qt::RightButton);
    EXPECT_EQ(tree->SelectedItem()->Key(), "ann") << "the popup acts on the selected node";
    EXPECT_TRUE(form.mnuEdit->isVisible());
    EXPECT_TRUE(form.mnuEditNew->isEnabled());
    EXPECT_TRUE(form.mnuEditCopy->isEnabled());
    EXPECT_TRUE(form.mnuUndo->isEnabled());
    EXPECT_FALSE(form.mnuEditDelete->isEnabled());
    EXPECT_FALSE(form.mnuEditRename->isEnabled());
    EXPECT_FALSE(form.mnuEditMove->isEnabled());
    EXPECT_FALSE(form.COPY->isVisible());
    form.mnuEdit->hide();
}

TEST(CategoryTree, OtherButtonsPopUpNothing) {
    TestMachine m;
    m.MakeDir("drive_c/WINDOWS/VALDRINE/PROFILES/ann/Games");
    StartedProgram p(m);
    MainForm& form = p.Form();
    ClickNode(form, form.Category->Nodes().Item("ann\\Games"), Qt::MiddleButton);
    EXPECT_FALSE(form.mnuEdit->isVisible());
}

TEST(CategoryTree, ExpandingANodeSortsItsChildren) {
    TestMachine m;
    m.MakeDir("drive_c/WINDOWS/VALDRINE/PROFILES/ann/Games");
    StartedProgram p(m);
    platform::TreeView* tree = p.Form().Category;
    Node* games = tree->Nodes().Item("ann\\Games");
    // Added in the order b, a (as a new category is added at the end).
    tree->Nodes().Add("ann\\Games", platform::tvwChild, "ann\\Games\\b", "b");
    tree->Nodes().Add("ann\\Games", platform::tvwChild, "ann\\Games\\a", "a");
    EXPECT_EQ(ChildTexts(games), (QStringList{"b", "a"}));
    ClickNode(p.Form(), games);
    QTest::keyClick(tree, Qt::Key_Right);  // expands, as the user does
    EXPECT_TRUE(games->Expanded());
    EXPECT_EQ(ChildTexts(games), (QStringList{"a", "b"}));
    tree->Nodes().Add("ann\\Games", platform::tvwChild, "ann\\Games\\B2", "B2");
    EXPECT_EQ(ChildTexts(games), (QStringList{"a", "b", "B2"}));
}

TEST(CategoryTree, RelabelChildrenRederivesEveryDescendantsKey) {
    TestMachine m;
    const QString lib = QStringLiteral("drive_c/WINDOWS/VALDRINE/PROFILES/ann/");
    for (const char* folder : {"Old/A/A1", "Old/A/A2/deep", "Old/B", "Old/C/C1", "Other/X"}) m.MakeDir(lib + folder);
    StartedProgram p(m);
    platform::TreeView* tree = p.Form().Category;
    Node* node = tree->Nodes().Item("ann\\Old");
    node->SetText(QStringLiteral("New"));
    node->SetKey(QStringLiteral("ann\\New"));
    p.Form().RelabelChildren(QStringLiteral("ann\\New"));
    EXPECT_EQ(Keys(tree), (QStringList{"ann", "ann\\New", "ann\\New\\A", "ann\\New\\A\\A1", "ann\\New\\A\\A2", "ann\\New\\A\\A2\\deep",
                                       "ann\\New\\B", "ann\\New\\C", "ann\\New\\C\\C1", "ann\\Other", "ann\\Other\\X"}));
    EXPECT_EQ(tree->Nodes().Find("ann\\Old\\A"), nullptr);
}
