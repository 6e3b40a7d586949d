#include "ui/main_form.h"

#include "platform/file_mutations.h"
#include "platform/vb_error.h"
#include "startup/shared_state.h"
#include "tests/host_tree.h"
#include "tests/started_program.h"

#include <QTest>
#include <gtest/gtest.h>

using namespace platform;

namespace {

const QString kDesk = QStringLiteral("drive_c/WINDOWS/Desktop");
const QString kStore = QStringLiteral("drive_c/WINDOWS/VALDRINE/Tmp/UNDO");
const QString kLib = QStringLiteral("drive_c/WINDOWS/VALDRINE/PROFILES/ann");

void FillDesktop(const TestMachine& m) {
    m.WriteFile(kDesk + "/Mail.lnk", "mail");
    m.WriteFile(kDesk + "/ Space .lnk", "spaces");
    m.WriteFile(kDesk + "/Notes/todo.txt", "todo");
}

}  // namespace

TEST(UndoStore, UndoWithNothingSavedOnlyBeeps) {
    TestMachine m;
    StartedProgram p(m);
    QTest::mouseClick(p.Form().CSCmdBtn1, Qt::LeftButton);
    QTest::keyClick(&p.Form(), Qt::Key_U, Qt::ControlModifier);
    EXPECT_EQ(m.answers.Beeps(), 2);
    EXPECT_TRUE(m.answers.Boxes().empty());
    EXPECT_EQ(p.Form().MousePointer(), 0);
}

TEST(UndoStore, AMissingStoreIsReported) {
    TestMachine m;
    StartedProgram p(m);
    UndoAvailable = 1;
    m.answers.Expect(vbOK);
    QTest::mouseClick(p.Form().CSCmdBtn1, Qt::LeftButton);
    ASSERT_EQ(m.answers.Boxes().size(), 1u);
    EXPECT_EQ(m.answers.Boxes()[0].prompt, "Cannot find undo information.");
    EXPECT_EQ(m.answers.Boxes()[0].style, 16);
    EXPECT_EQ(m.answers.Boxes()[0].title, "Valdrine Manager");
    EXPECT_EQ(m.answers.Beeps(), 1);
    EXPECT_EQ(UndoAvailable, 1);
    EXPECT_EQ(p.Form().BusyCount(), 0);
}

TEST(UndoStore, TheSavedDesktopComesBackAndItsFoldersNeverLeaveIt) {
    TestMachine m;
    FillDesktop(m);
    StartedProgram p(m);
    const Entries before = TreeOf(m, kDesk);
    p.Form().SaveDesktopUndo();
    EXPECT_EQ(UndoAvailable, 1);
    EXPECT_EQ(TreeOf(m, kDesk), (Entries{{"/Notes", "dir"}, {"/Notes/todo.txt", "file:todo"}}));
    EXPECT_EQ(TreeOf(m, kStore + "/desk"), (Entries{{"/ Space .lnk", "file:spaces"}, {"/Mail.lnk", "file:mail"}}));
    m.WriteFile(kDesk + "/Painted.lnk", "painted");
    p.Form().Category->Nodes().Add("ann", tvwChild, "ann\\NotOnDisk", "NotOnDisk");
    QTest::mouseClick(p.Form().CSCmdBtn1, Qt::LeftButton);
    EXPECT_EQ(TreeOf(m, kDesk), before);
    EXPECT_FALSE(m.Exists(kStore));
    EXPECT_EQ(UndoAvailable, 0);
    EXPECT_NE(p.Form().Category->Nodes().Find("ann\\NotOnDisk"), nullptr) << "a Desktop undo does not reload the tree";
    EXPECT_TRUE(m.answers.Boxes().empty());
}

TEST(UndoStore, ARetriedDesktopSaveGoesOnWithTheStoreItMade) {
    TestMachine m;
    FillDesktop(m);
    StartedProgram p(m);
    // Changes: make the store, move the Desktop, make the new Desktop (this one fails).
    InjectFault(3, kPermissionDenied, FaultRepeat::Once);
    EXPECT_THROW(p.Form().SaveDesktopUndo(), VbError);
    EXPECT_FALSE(m.Exists(kDesk));
    EXPECT_EQ(UndoAvailable, 1) << "the moved Desktop can be undone even now";
    p.Form().SaveDesktopUndo();
    EXPECT_EQ(TreeOf(m, kStore + "/desk"), (Entries{{"/ Space .lnk", "file:spaces"}, {"/Mail.lnk", "file:mail"}}));
    EXPECT_EQ(TreeOf(m, kDesk), (Entries{{"/Notes", "dir"}, {"/Notes/todo.txt", "file:todo"}}));
}

TEST(UndoStore, ASavedCategoryIsPutBackWholeAndTheTreeReloaded) {
    TestMachine m;
    m.WriteFile(kLib + "/Games, Old/a.lnk", "a");
    m.WriteFile(kLib + "/Games, Old/Sub/b.lnk", "b");
    StartedProgram p(m);
    const QString folder = ProfilesDir + "\\ann\\Games, Old";
    const Entries before = TreeOf(m, kLib);
    p.Form().SaveUndoState(folder);
    EXPECT_EQ(m.ReadFile(kStore + "/undomark.fil"), (folder + "\r\n").toUtf8());
    m.WriteFile(kLib + "/Games, Old/new.lnk", "new");
    m.MakeDir(kLib + "/Games, Old/NewSub");
    QFile::remove(m.Host(kLib + "/Games, Old/Sub/b.lnk"));
    QTest::keyClick(&p.Form(), Qt::Key_U, Qt::ControlModifier);
    EXPECT_EQ(TreeOf(m, kLib), before);
    EXPECT_FALSE(m.Exists(kStore));
    EXPECT_EQ(UndoAvailable, 0);
    EXPECT_NE(p.Form().Category->Nodes().Find("ann\\Games, Old\\Sub"), nullptr);
    EXPECT_EQ(p.Form().Category->Nodes().Find("ann\\Games, Old\\NewSub"), nullptr);
}

TEST(UndoStore, ASecondSaveDiscardsTheFirst) {
    TestMachine m;
    FillDesktop(m);
    m.MakeDir(kLib + "/Games");
    StartedProgram p(m);
    p.Form().SaveDesktopUndo();
    p.Form().SaveUndoState(ProfilesDir + "\\ann\\Games");
    EXPECT_FALSE(m.Exists(kStore + "/desk"));
    EXPECT_TRUE(m.Exists(kStore + "/profile"));
}

TEST(UndoStore, AnIncompleteCategorySaveFailsAndIsNeverPutBack) {
    TestMachine m;
    m.WriteFile(kLib + "/Games/a.lnk", "a");
    m.WriteFile(kLib + "/Games/b.lnk", "b");
    StartedProgram p(m);
    // Changes: make the store, make \profile, copy a.lnk, copy b.lnk (this one fails).
    InjectFault(4, kDiskFull, FaultRepeat::Once);
    try {
        p.Form().SaveUndoState(ProfilesDir + "\\ann\\Games");
        ADD_FAILURE() << "an incomplete copy passed for a saved state";
    } catch (const VbError& e) {
        EXPECT_EQ(e.Number(), kPathFileAccessError);
    }
    EXPECT_TRUE(m.Exists(kStore + "/profile/a.lnk"));
    EXPECT_FALSE(m.Exists(kStore + "/profile/b.lnk"));
    EXPECT_FALSE(m.Exists(kStore + "/undomark.fil"));
    ClearFaults();
    UndoAvailable = 1;
    m.answers.Expect(vbOK);
    p.Form().RestoreUndo();
    ASSERT_EQ(m.answers.Boxes().size(), 1u);
    EXPECT_TRUE(m.answers.Boxes()[0].prompt.contains("File not found")) << m.answers.Boxes()[0].prompt.toStdString();
    EXPECT_EQ(TreeOf(m, kLib + "/Games"), (Entries{{"/a.lnk", "file:a"}, {"/b.lnk", "file:b"}}));
    EXPECT_TRUE(m.Exists(kStore)) << "kept for another try";
    EXPECT_EQ(UndoAvailable, 1);
}

TEST(UndoStore, AStoreWithNothingInItIsDiscardedQuietly) {
    TestMachine m;
    StartedProgram p(m);
    m.MakeDir(kStore);
    UndoAvailable = 1;
    p.Form().RestoreUndo();
    EXPECT_FALSE(m.Exists(kStore));
    EXPECT_EQ(UndoAvailable, 0);
    EXPECT_TRUE(m.answers.Boxes().empty());
}

TEST(UndoStore, ADesktopThatCannotBeClearedIsReportedAndRetried) {
    TestMachine m;
    FillDesktop(m);
    StartedProgram p(m);
    p.Form().SaveDesktopUndo();
    m.WriteFile(kDesk + "/Painted.lnk", "painted");
    // The first delete of the Desktop's files fails; Retry deletes them.
    InjectFault(1, kPermissionDenied, FaultRepeat::Once);
    m.answers.Expect(vbRetry);
    p.Form().RestoreUndo();
    ASSERT_EQ(m.answers.Boxes().size(), 1u);
    EXPECT_EQ(m.answers.Boxes()[0].prompt, "Permission denied");
    EXPECT_EQ(m.answers.Boxes()[0].title, "Trouble Removing Shortcuts.");
    EXPECT_EQ(m.answers.Boxes()[0].style, 50);
    EXPECT_FALSE(m.Exists(kDesk + "/Painted.lnk"));
    EXPECT_EQ(m.ReadFile(kDesk + "/Mail.lnk"), "mail");
    EXPECT_EQ(UndoAvailable, 0);
}

TEST(UndoStore, AnUnfinishedDesktopRestoreKeepsTheStore) {
    TestMachine m;
    FillDesktop(m);
    StartedProgram p(m);
    p.Form().SaveDesktopUndo();
    // Changes: delete the Desktop's files, then copy the saved ones (the first copy fails).
    InjectFault(2, kDiskFull, FaultRepeat::Once);
    m.answers.Expect(vbOK);
    p.Form().RestoreUndo();
    ASSERT_EQ(m.answers.Boxes().size(), 1u);
    EXPECT_EQ(m.answers.Boxes()[0].style, 16);
    EXPECT_TRUE(m.Exists(kStore + "/desk/Mail.lnk"));
    EXPECT_EQ(UndoAvailable, 1);
    ClearFaults();
    p.Form().RestoreUndo();
    EXPECT_EQ(m.ReadFile(kDesk + "/Mail.lnk"), "mail");
    EXPECT_EQ(m.ReadFile(kDesk + "/ Space .lnk"), "spaces");
    EXPECT_FALSE(m.Exists(kStore));
}
