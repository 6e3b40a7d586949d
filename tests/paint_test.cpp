#include "ui/main_form.h"

#include "platform/registry.h"
#include "platform/settings_store.h"
#include "startup/shared_state.h"
#include "tests/host_tree.h"
#include "tests/nothing_lost.h"
#include "tests/started_program.h"

#include <QTest>
#include <gtest/gtest.h>

using namespace platform;

namespace {

const QString kDesk = QStringLiteral("drive_c/WINDOWS/Desktop");
const QString kStore = QStringLiteral("drive_c/WINDOWS/VALDRINE/Tmp/UNDO");
const QString kLib = QStringLiteral("drive_c/WINDOWS/VALDRINE/PROFILES/ann");

QString Current() { return GetSetting("Valdrine", "User\\ann", "Current", ""); }
void SetCurrent(const QString& folder) { SaveSetting("Valdrine", "user\\ann", "Current", folder); }
QString Folder(const QString& below) { return QStringLiteral("C:\\WINDOWS\\VALDRINE\\PROFILES\\ann") + below; }

// Home was painted last; the user then added New.lnk to the Desktop, which also holds a folder.
void Library(TestMachine& m) {
    m.WriteFile(kLib + "/Home/A.lnk", "a");
    m.WriteFile(kLib + "/Home/B.lnk", "b");
    m.WriteFile(kLib + "/Work/W1.lnk", "w1");
    m.WriteFile(kLib + "/Work/W2.lnk", "w2");
    m.WriteFile(kLib + "/Work/Sub/deep.lnk", "deep");
    m.MakeDir(kLib + "/Empty");
    m.WriteFile(kDesk + "/A.lnk", "a");
    m.WriteFile(kDesk + "/B.lnk", "b");
    m.WriteFile(kDesk + "/New.lnk", "new");
    m.WriteFile(kDesk + "/Folder/inside.txt", "inside");
}

void Paint(MainForm& form, const QString& key) {
    form.Category->Nodes().Item(key)->SetSelected(true);
    QTest::mouseClick(form.Apply, Qt::LeftButton);
}

const Entries kWorkOnDesktop = {{"/Folder", "dir"}, {"/Folder/inside.txt", "file:inside"}, {"/W1.lnk", "file:w1"}, {"/W2.lnk", "file:w2"}};

}  // namespace

TEST(Paint, TheFirstPaintAsksNothingAndReplacesTheDesktopFiles) {
    TestMachine m;
    Library(m);
    StartedProgram p(m);
    Paint(p.Form(), "ann\\Work");
    EXPECT_TRUE(m.answers.Boxes().empty());
    EXPECT_EQ(TreeOf(m, kDesk), kWorkOnDesktop) << "the category's files, none of its folders; the Desktop's folder stays";
    EXPECT_EQ(TreeOf(m, kStore + "/desk"), (Entries{{"/A.lnk", "file:a"}, {"/B.lnk", "file:b"}, {"/New.lnk", "file:new"}}));
    EXPECT_EQ(Current(), Folder("\\Work"));
    EXPECT_EQ(UndoAvailable, 1);
    EXPECT_EQ(p.Form().BusyCount(), 0);
    EXPECT_EQ(TreeOf(m, kLib + "/Work").size(), 4u) << "the painted category is not changed";
}

TEST(Paint, QuerySaveAsksAndAnswersDecide) {
    struct Case {
        const char* name;
        bool checkSave;
        int answer;  // 0: no question expected
        Entries home;
    } cases[] = {
        {"asked, Yes", true, vbYes, {{"/A.lnk", "file:a"}, {"/B.lnk", "file:b"}, {"/New.lnk", "file:new"}}},
        {"asked, No", true, vbNo, {{"/A.lnk", "file:a"}, {"/B.lnk", "file:b"}}},
        {"not asked", false, 0, {{"/A.lnk", "file:a"}, {"/B.lnk", "file:b"}, {"/New.lnk", "file:new"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestMachine m;
        Library(m);
        SetCurrent(Folder("\\Home"));
        StartedProgram p(m);
        CheckSave = c.checkSave;
        if (c.answer) m.answers.Expect(c.answer);
        Paint(p.Form(), "ann\\Work");
        ASSERT_EQ(m.answers.Boxes().size(), c.answer ? 1u : 0u);
        if (c.answer) {
            EXPECT_EQ(m.answers.Boxes()[0].prompt, "Save Current Desktop to \r\n" + Folder("\\Home"));
            EXPECT_EQ(m.answers.Boxes()[0].style, 36);
            EXPECT_EQ(m.answers.Boxes()[0].title, "Valdrine Manager");
        }
        EXPECT_EQ(TreeOf(m, kLib + "/Home"), c.home);
        EXPECT_EQ(TreeOf(m, kDesk), kWorkOnDesktop);
        EXPECT_EQ(Current(), Folder("\\Work"));
    }
}

TEST(Paint, SavingMakesTheCategoryHoldWhatTheDesktopHolds) {
    TestMachine m;
    Library(m);
    QFile::remove(m.Host(kDesk + "/B.lnk"));  // the user took B off the Desktop
    m.WriteFile(kDesk + "/A.lnk", "a, changed");
    SetCurrent(Folder("\\Home"));
    StartedProgram p(m);
    CheckSave = false;
    Paint(p.Form(), "ann\\Work");
    EXPECT_EQ(TreeOf(m, kLib + "/Home"), (Entries{{"/A.lnk", "file:a, changed"}, {"/New.lnk", "file:new"}}));
}

TEST(Paint, PaintingTheCurrentCategoryAsksNothingAndSavesNothing) {
    TestMachine m;
    Library(m);
    SetCurrent(Folder("\\Home"));
    StartedProgram p(m);
    Paint(p.Form(), "ann\\Home");
    EXPECT_TRUE(m.answers.Boxes().empty());
    EXPECT_EQ(TreeOf(m, kLib + "/Home"), (Entries{{"/A.lnk", "file:a"}, {"/B.lnk", "file:b"}}));
    EXPECT_EQ(TreeOf(m, kStore + "/desk/New.lnk").size(), 0u);
    EXPECT_TRUE(m.Exists(kStore + "/desk/New.lnk")) << "what was added since lives on in the undo store";
}

TEST(Paint, EmptyCategories) {
    TestMachine m;
    Library(m);
    SetCurrent(Folder("\\Empty"));
    StartedProgram p(m);
    CheckSave = false;
    Paint(p.Form(), "ann\\Work");
    EXPECT_EQ(TreeOf(m, kLib + "/Empty"), (Entries{{"/A.lnk", "file:a"}, {"/B.lnk", "file:b"}, {"/New.lnk", "file:new"}}));
    Paint(p.Form(), "ann\\Home");
    QFile::remove(m.Host(kLib + "/Home/A.lnk"));
    QFile::remove(m.Host(kLib + "/Home/B.lnk"));
    SetCurrent(QString());
    Paint(p.Form(), "ann\\Home");
    EXPECT_EQ(TreeOf(m, kDesk), (Entries{{"/Folder", "dir"}, {"/Folder/inside.txt", "file:inside"}}));
    EXPECT_EQ(Current(), Folder("\\Home"));
    EXPECT_TRUE(m.answers.Boxes().empty());
}

TEST(Paint, PaintThenUndoBringsTheDesktopBack) {
    TestMachine m;
    Library(m);
    SetCurrent(Folder("\\Home"));
    StartedProgram p(m);
    CheckSave = false;
    const Entries desktop = TreeOf(m, kDesk);
    p.Form().Category->Nodes().Add("ann", tvwChild, "ann\\OnlyInTree", "OnlyInTree");
    Paint(p.Form(), "ann\\Work");
    QTest::mouseClick(p.Form().CSCmdBtn1, Qt::LeftButton);
    EXPECT_EQ(TreeOf(m, kDesk), desktop);
    EXPECT_EQ(Current(), Folder("\\Work")) << "an undo leaves Current";
    EXPECT_NE(p.Form().Category->Nodes().Find("ann\\OnlyInTree"), nullptr) << "and does not reload the tree";
    EXPECT_FALSE(m.Exists(kStore));
}

TEST(Paint, WithoutASelectionOnlyBeeps) {
    TestMachine m;
    Library(m);
    StartedProgram p(m);
    p.Form().Category->Nodes().Clear();
    const Entries desktop = TreeOf(m, kDesk);
    QTest::mouseClick(p.Form().Apply, Qt::LeftButton);
    EXPECT_EQ(m.answers.Beeps(), 1);
    EXPECT_TRUE(m.answers.Boxes().empty());
    EXPECT_EQ(TreeOf(m, kDesk), desktop);
}

TEST(Paint, ADesktopTheRegistryDoesNotGiveOrThatIsGoneIsNamed) {
    struct Case {
        const char* name;
        QString desktop;
        QString prompt;
    } cases[] = {
        {"no value", "", "The registry names no Desktop folder for you, so there is no Desktop to work on."},
        {"missing folder", "C:\\Nowhere", "Cannot find the Desktop folder C:\\Nowhere."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestMachine m;
        Library(m);
        StartedProgram p(m);
        DesktopDir = c.desktop;
        const Entries library = TreeOf(m, kLib);
        m.answers.Expect(vbOK);
        Paint(p.Form(), "ann\\Work");
        ASSERT_EQ(m.answers.Boxes().size(), 1u);
        EXPECT_EQ(m.answers.Boxes()[0].prompt, c.prompt);
        EXPECT_EQ(m.answers.Boxes()[0].style, 16);
        EXPECT_EQ(TreeOf(m, kLib), library);
        EXPECT_EQ(Current(), "");
    }
}

TEST(Paint, NoFaultAndNoAnswerLosesAFile) {
    ForEachFault(
        [](TestMachine& m) {
            Library(m);
            SetCurrent(Folder("\\Home"));
        },
        [](MainForm& form, TestMachine&) {
            CheckSave = true;
            Paint(form, "ann\\Work");
        },
        [](MainForm& form, TestMachine& m, const Held& before, const FaultRun& run) {
            const Held after = DesktopStoreAndLibrary(m);
            for (const auto& file : before)
                EXPECT_TRUE(after.count(file)) << file.first.toStdString() << " lost";
            EXPECT_EQ(form.BusyCount(), 0);
            if (!run.reached) {
                EXPECT_EQ(TreeOf(m, kDesk), kWorkOnDesktop);
                EXPECT_EQ(Current(), Folder("\\Work"));
            }
            // The program goes on: an undo now puts every file of the old Desktop back or says why not.
            form.RestoreUndo();
            const Held restored = DesktopStoreAndLibrary(m);
            for (const auto& file : before)
                EXPECT_TRUE(restored.count(file)) << file.first.toStdString() << " lost by the undo";
        });
}

TEST(Paint, AnUndoAfterAPaintLosesNothingWhateverFails) {
    ForEachFault(
        [](TestMachine& m) {
            Library(m);
            SetCurrent(Folder("\\Home"));
        },
        [](MainForm& form, TestMachine&) {
            CheckSave = false;
            Paint(form, "ann\\Work");
        },
        [](MainForm& form, TestMachine&) { QTest::mouseClick(form.CSCmdBtn1, Qt::LeftButton); },
        [](MainForm& form, TestMachine& m, const Held& before, const FaultRun& run) {
            const Held after = DesktopStoreAndLibrary(m);
            for (const auto& file : before)
                EXPECT_TRUE(after.count(file)) << file.first.toStdString() << " lost";
            EXPECT_EQ(form.BusyCount(), 0);
            if (!run.reached) {
                EXPECT_EQ(TreeOf(m, kDesk).size(), 5u);
                EXPECT_EQ(UndoAvailable, 0);
            }
            // Whatever the undo left, a second one finishes the job.
            form.RestoreUndo();
            EXPECT_EQ(m.ReadFile(kDesk + "/New.lnk"), "new");
        });
}

TEST(Paint, ACategoryRemovedBehindTheProgramsBackIsNamed) {
    TestMachine m;
    Library(m);
    StartedProgram p(m);
    const Entries desktop = TreeOf(m, kDesk);
    QDir(m.Host(kLib + "/Work")).removeRecursively();
    m.answers.Expect(vbOK);
    Paint(p.Form(), "ann\\Work");
    ASSERT_EQ(m.answers.Boxes().size(), 1u);
    EXPECT_EQ(m.answers.Boxes()[0].prompt, "Cannot find the category folder " + Folder("\\Work") + ".");
    EXPECT_EQ(TreeOf(m, kDesk), desktop);
    EXPECT_EQ(Current(), "");
}
