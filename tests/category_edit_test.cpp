#include "ui/main_form.h"

#include "platform/file_mutations.h"
#include "platform/vb_error.h"
#include "startup/shared_state.h"
#include "tests/host_tree.h"
#include "tests/started_program.h"

#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

using namespace platform;

namespace {

const QString kLib = QStringLiteral("drive_c/WINDOWS/VALDRINE/PROFILES/ann");

void Click(MainForm& form, const QString& key) {
    Node* node = form.Category->Nodes().Item(key);
    form.Category->scrollToItem(node);
    QTest::mouseClick(form.Category->viewport(), Qt::LeftButton, Qt::NoModifier, form.Category->visualItemRect(node).center());
}

QLineEdit* Editor(MainForm& form) {
    Node* node = form.Category->SelectedItem();
    return node ? qobject_cast<QLineEdit*>(form.Category->indexWidget(form.Category->indexFromItem(node))) : nullptr;
}

// Types into the open label and presses Enter.
void Type(MainForm& form, const QString& text) {
    QCoreApplication::processEvents();
    QLineEdit* editor = Editor(form);
    ASSERT_NE(editor, nullptr) << "no label is open";
    editor->selectAll();
    if (text.isEmpty()) QTest::keyClick(editor, Qt::Key_Delete);
    else QTest::keyClicks(editor, text);
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();
}

void Rename(MainForm& form, const QString& key, const QString& text) {
    Click(form, key);
    QTest::mouseClick(form.rename, Qt::LeftButton);
    Type(form, text);
}

void Library(TestMachine& m) {
    m.WriteFile(kLib + "/Games/g.lnk", "g");
    m.WriteFile(kLib + "/Games/Old/DOS/d.lnk", "d");
    m.MakeDir(kLib + "/Games/New");
    m.MakeDir(kLib + "/Work");
}

QStringList Keys(platform::TreeView* tree) {
    QStringList keys;
    for (int i = 1; i <= tree->Nodes().Count(); ++i) keys << tree->Nodes().Item(i)->Key();
    keys.sort();
    return keys;
}

}  // namespace

TEST(CategoryEdit, NewNamesEachFolderAfterTheFirstFreeName) {
    TestMachine m;
    m.WriteFile(kLib + "/New Folder", "a file takes the name too");
    StartedProgram p(m);
    for (const char* expected : {"New Folder 1", "New Folder 2", "New Folder 3"}) {
        SCOPED_TRACE(expected);
        Click(p.Form(), "ann");
        QTest::mouseClick(p.Form().NEW, Qt::LeftButton);
        QCoreApplication::processEvents();
        ASSERT_NE(Editor(p.Form()), nullptr);
        EXPECT_EQ(Editor(p.Form())->text(), expected);
        QTest::keyClick(Editor(p.Form()), Qt::Key_Return);  // the name stays
        QCoreApplication::processEvents();
        EXPECT_TRUE(QFileInfo(m.Host(kLib + "/" + expected)).isDir());
        EXPECT_NE(p.Form().Category->Nodes().Find(QStringLiteral("ann\\") + expected), nullptr);
        EXPECT_TRUE(p.Form().SaveUndoOnRename);
    }
    EXPECT_TRUE(m.answers.Boxes().empty());
}

TEST(CategoryEdit, NewThenANameThenUndoLeavesNothing) {
    TestMachine m;
    Library(m);
    StartedProgram p(m);
    const Entries before = TreeOf(m, kLib);
    Click(p.Form(), "ann\\Work");
    QTest::keyClick(&p.Form(), Qt::Key_Insert, Qt::ControlModifier);
    Type(p.Form(), "Letters");
    EXPECT_TRUE(QFileInfo(m.Host(kLib + "/Work/Letters")).isDir());
    EXPECT_FALSE(m.Exists(kLib + "/Work/New Folder"));
    Node* node = p.Form().Category->Nodes().Find("ann\\Work\\Letters");
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(node->Text(), "Letters");
    QTest::mouseClick(p.Form().CSCmdBtn1, Qt::LeftButton);
    EXPECT_EQ(TreeOf(m, kLib), before);
    EXPECT_EQ(p.Form().Category->Nodes().Find("ann\\Work\\Letters"), nullptr);
}

TEST(CategoryEdit, RenamingMovesEveryKeyBelow) {
    TestMachine m;
    Library(m);
    StartedProgram p(m);
    Rename(p.Form(), "ann\\Games", "Play");
    EXPECT_TRUE(m.answers.Boxes().empty());
    EXPECT_TRUE(QFileInfo(m.Host(kLib + "/Play/Old/DOS")).isDir());
    EXPECT_FALSE(m.Exists(kLib + "/Games"));
    EXPECT_EQ(Keys(p.Form().Category),
              (QStringList{"ann", "ann\\Play", "ann\\Play\\New", "ann\\Play\\Old", "ann\\Play\\Old\\DOS", "ann\\Work"}));
    for (const QString& key : Keys(p.Form().Category))
        EXPECT_TRUE(QFileInfo(m.Host("drive_c/WINDOWS/VALDRINE/PROFILES/" + QString(key).replace('\\', '/'))).isDir()) << key.toStdString();
    EXPECT_EQ(p.Form().Category->Nodes().Item("ann\\Play")->Text(), "Play");
    // The undo puts the old name back.
    QTest::mouseClick(p.Form().CSCmdBtn1, Qt::LeftButton);
    EXPECT_TRUE(QFileInfo(m.Host(kLib + "/Games/Old/DOS")).isDir());
    EXPECT_NE(p.Form().Category->Nodes().Find("ann\\Games\\Old\\DOS"), nullptr);
}

TEST(CategoryEdit, RefusedNamesChangeNothing) {
    struct Case {
        const char* name;
        QString typed;
        const char* prompt;
        const char* title;
        int style;
    } cases[] = {
        {"a sibling in other capitals", "work", "Name Already Exists.", "No Can Do.", 16},
        {"its own name in other capitals", "GAMES", "Name Already Exists.", "No Can Do.", 16},
        {"an emptied label", "", "Name Already Exists.", "No Can Do.", 16},
        {"a backslash", "Old\\Elsewhere", "Trouble Changing Label.\r\nBad file name or number", "WARNING !", 50},
        {"a slash", "a/b", "Trouble Changing Label.\r\nBad file name or number", "WARNING !", 50},
        {"a reserved name", "CON", "Trouble Changing Label.\r\nBad file name or number", "WARNING !", 50},
        {"a colon", "a:b", "Trouble Changing Label.\r\nBad file name or number", "WARNING !", 50},
        {"the parent's parent", "..", "Name Already Exists.", "No Can Do.", 16},
    };
    for (const Case& c : cases) {
        for (int answer : {int(vbAbort), int(vbIgnore)}) {
            SCOPED_TRACE(testing::Message() << c.name << " answered " << answer);
            TestMachine m;
            Library(m);
            StartedProgram p(m);
            const Entries before = TreeOf(m, "drive_c/WINDOWS/VALDRINE");
            m.answers.Expect(c.style == 50 ? answer : int(vbOK));
            Rename(p.Form(), "ann\\Games", c.typed);
            ASSERT_EQ(m.answers.Boxes().size(), 1u);
            EXPECT_EQ(m.answers.Boxes()[0].prompt, c.prompt);
            EXPECT_EQ(m.answers.Boxes()[0].title, c.title);
            EXPECT_EQ(m.answers.Boxes()[0].style, c.style);
            EXPECT_EQ(TreeOf(m, "drive_c/WINDOWS/VALDRINE"), before);
            EXPECT_EQ(p.Form().Category->Nodes().Item("ann\\Games")->Text(), "Games");
            EXPECT_TRUE(p.Form().SaveUndoOnRename);
            if (c.style == 16) break;
        }
    }
}

TEST(CategoryEdit, AFolderGoneBehindTheProgramsBackIsNamed) {
    TestMachine m;
    Library(m);
    StartedProgram p(m);
    QDir(m.Host(kLib + "/Work")).removeRecursively();
    m.answers.Expect(vbOK);
    Rename(p.Form(), "ann\\Work", "Job");
    ASSERT_EQ(m.answers.Boxes().size(), 1u);
    EXPECT_EQ(m.answers.Boxes()[0].prompt, "Cannot Find This Path.");
    EXPECT_EQ(m.answers.Boxes()[0].title, "Trouble !.");
    EXPECT_FALSE(m.Exists(kLib + "/Job"));
    EXPECT_EQ(p.Form().Category->Nodes().Item("ann\\Work")->Text(), "Work");
}

TEST(CategoryEdit, TheRootsLabelNeverOpens) {
    TestMachine m;
    StartedProgram p(m);
    Click(p.Form(), "ann");
    QTest::keyClick(p.Form().Category, Qt::Key_F2);
    EXPECT_EQ(Editor(p.Form()), nullptr);
    p.Form().Category->StartLabelEdit();
    EXPECT_EQ(Editor(p.Form()), nullptr);
}

TEST(CategoryEdit, AbortInARenameTakesItBack) {
    TestMachine m;
    Library(m);
    StartedProgram p(m);
    Click(p.Form(), "ann\\Games");
    QTest::mouseClick(p.Form().rename, Qt::LeftButton);
    // The save's first change fails once.
    InjectFault(1, kPermissionDenied, FaultRepeat::Once);
    m.answers.Expect(vbRetry);
    Type(p.Form(), "Play");
    // Retry ran the save again, and the rename went through.
    EXPECT_TRUE(m.Exists(kLib + "/Play/g.lnk"));
    m.answers.Clear();
    InjectFault(1, kPermissionDenied, FaultRepeat::FromThenOn);
    m.answers.Expect(vbAbort);
    Rename(p.Form(), "ann\\Play", "Fun");
    ClearFaults();
    ASSERT_GE(m.answers.Boxes().size(), 1u);
    EXPECT_EQ(m.answers.Boxes()[0].prompt, "Trouble Changing Label.\r\nPermission denied");
    EXPECT_TRUE(m.Exists(kLib + "/Play/g.lnk"));
    EXPECT_EQ(p.Form().Category->Nodes().Item("ann\\Play")->Text(), "Play");
}

TEST(CategoryEdit, DeleteAsksAndTakesTheWholeSubtree) {
    TestMachine m;
    Library(m);
    StartedProgram p(m);
    const Entries before = TreeOf(m, kLib);
    Click(p.Form(), "ann\\Games");
    m.answers.Expect(vbNo);
    QTest::mouseClick(p.Form().DELETE[1], Qt::LeftButton);
    ASSERT_EQ(m.answers.Boxes().size(), 1u);
    EXPECT_EQ(m.answers.Boxes()[0].prompt, "Are You Sure You Want To Delete\r\nThe desktop named \r\nann\\Games");
    EXPECT_EQ(m.answers.Boxes()[0].title, "Please Confirm");
    EXPECT_EQ(m.answers.Boxes()[0].style, 36);
    EXPECT_EQ(TreeOf(m, kLib), before);
    EXPECT_TRUE(p.Form().DELETE[0]->isVisible()) << "the pair switched all the same";
    Click(p.Form(), "ann\\Games");
    m.answers.Expect(vbYes);
    QTest::keyClick(&p.Form(), Qt::Key_Delete);
    EXPECT_FALSE(m.Exists(kLib + "/Games"));
    EXPECT_EQ(Keys(p.Form().Category), (QStringList{"ann", "ann\\Work"}));
    // The selection moved on; the commands follow it.
    const QString selected = p.Form().Category->SelectedItem()->Key();
    EXPECT_EQ(p.Form().mnuEditDelete->isEnabled(), selected != "ann");
    QTest::keyClick(&p.Form(), Qt::Key_U, Qt::ControlModifier);
    EXPECT_EQ(TreeOf(m, kLib), before);
    EXPECT_EQ(p.Form().Category->SelectedItem()->Key(), "ann");
    EXPECT_FALSE(p.Form().mnuEditDelete->isEnabled()) << "the root is selected after the rebuild";
    EXPECT_FALSE(p.Form().rename->isVisible());
    EXPECT_EQ(Keys(p.Form().Category),
              (QStringList{"ann", "ann\\Games", "ann\\Games\\New", "ann\\Games\\Old", "ann\\Games\\Old\\DOS", "ann\\Work"}));
}

TEST(CategoryEdit, DeleteRefusesTheRoot) {
    TestMachine m;
    Library(m);
    StartedProgram p(m);
    const Entries before = TreeOf(m, kLib);
    m.answers.Expect(vbOK);
    p.Form().EditDelete();
    ASSERT_EQ(m.answers.Boxes().size(), 1u);
    EXPECT_EQ(m.answers.Boxes()[0].style, 16);
    EXPECT_EQ(TreeOf(m, kLib), before);
}

TEST(CategoryEdit, AbortInADeletePutsTheCategoryBack) {
    TestMachine m;
    Library(m);
    StartedProgram p(m);
    const Entries before = TreeOf(m, kLib);
    Click(p.Form(), "ann\\Games");
    m.answers.Expect(vbYes);
    m.answers.Expect(vbAbort);
    // The save makes 8 changes (the store, \profile, Games' 3 folders and 2 files, the marker); the
    // 9th is the delete's first.
    InjectFault(9, kPermissionDenied, FaultRepeat::Once);
    p.Form().EditDelete();
    ClearFaults();
    ASSERT_EQ(m.answers.Boxes().size(), 2u);
    EXPECT_EQ(m.answers.Boxes()[1].title, "Trouble Deleteing Category.");
    EXPECT_EQ(m.answers.Boxes()[1].prompt, "Permission denied");
    EXPECT_EQ(TreeOf(m, kLib), before);
    EXPECT_NE(p.Form().Category->Nodes().Find("ann\\Games\\Old\\DOS"), nullptr);
}

