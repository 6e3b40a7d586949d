#include "ui/main_form.h"

#include "platform/file_mutations.h"
#include "platform/vb_error.h"
#include "startup/shared_state.h"
#include "tests/host_tree.h"
#include "tests/nothing_lost.h"
#include "tests/started_program.h"

#include <QTest>
#include <gtest/gtest.h>

using namespace platform;

namespace {

const QString kDesk = QStringLiteral("drive_c/WINDOWS/Desktop");
const QString kLib = QStringLiteral("drive_c/WINDOWS/VALDRINE/PROFILES/ann");
const QString kConfirm = QStringLiteral("Are You Sure You Wish To\r\nCapture The Current Desktop\r\nInto The Selected Category.");

void Desktop(TestMachine& m) {
    m.WriteFile(kDesk + "/Mail.lnk", "mail");
    m.WriteFile(kDesk + "/ spaced .lnk", "spaced");
    m.WriteFile(kDesk + "/what?.lnk", "odd");
    m.WriteFile(kDesk + "/Folder/inside.lnk", "inside");
    m.WriteFile(kLib + "/Games/MAIL.LNK", "old mail");
    m.WriteFile(kLib + "/Games/keep.lnk", "keep");
}

void Capture(MainForm& form, const QString& key) {
    form.Category->Nodes().Item(key)->SetSelected(true);
    QTest::mouseClick(form.Capture, Qt::LeftButton);
}

}  // namespace

TEST(Capture, CopiesTheDesktopFilesAskingForEachClashInAnyCase) {
    struct Case {
        const char* name;
        int overwrite;
        QByteArray mail;
    } cases[] = {{"Yes replaces", vbYes, "file:mail"}, {"No keeps", vbNo, "file:old mail"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestMachine m;
        Desktop(m);
        StartedProgram p(m);
        const Entries desktop = TreeOf(m, kDesk);
        m.answers.Expect(vbYes);
        m.answers.Expect(c.overwrite);
        Capture(p.Form(), "ann\\Games");
        ASSERT_EQ(m.answers.Boxes().size(), 2u);
        EXPECT_EQ(m.answers.Boxes()[0].prompt, kConfirm);
        EXPECT_EQ(m.answers.Boxes()[0].title, "CONFIRM !");
        EXPECT_EQ(m.answers.Boxes()[0].style, 36);
        EXPECT_EQ(m.answers.Boxes()[1].prompt, "Mail.lnk\r\nAlready Exists !\r\nOverwrite ?");
        EXPECT_EQ(m.answers.Boxes()[1].title, "Please Confirm");
        EXPECT_EQ(m.answers.Boxes()[1].style, 36);
        const Entries games = TreeOf(m, kLib + "/Games");
        EXPECT_EQ(games, (Entries{{"/ spaced .lnk", "file:spaced"}, {"/MAIL.LNK", c.mail}, {"/keep.lnk", "file:keep"}, {"/what?.lnk", "file:odd"}}));
        EXPECT_EQ(TreeOf(m, kDesk), desktop) << "the Desktop is left as it was";
        EXPECT_EQ(p.Form().BusyCount(), 0);
    }
}

TEST(Capture, NoChangesNothing) {
    TestMachine m;
    Desktop(m);
    StartedProgram p(m);
    const Entries games = TreeOf(m, kLib + "/Games");
    m.answers.Expect(vbNo);
    Capture(p.Form(), "ann\\Games");
    EXPECT_EQ(TreeOf(m, kLib + "/Games"), games);
}

TEST(Capture, AnEmptyDesktopCopiesNothingAndSaysNothing) {
    TestMachine m;
    m.MakeDir(kDesk + "/OnlyAFolder");
    m.MakeDir(kLib + "/Games");
    StartedProgram p(m);
    m.answers.Expect(vbYes);
    Capture(p.Form(), "ann\\Games");
    EXPECT_EQ(m.answers.Boxes().size(), 1u);
    EXPECT_TRUE(TreeOf(m, kLib + "/Games").empty());
}

TEST(Capture, WithoutACategoryNothingIsDone) {
    TestMachine m;
    Desktop(m);
    StartedProgram p(m);
    p.Form().Category->Nodes().Clear();
    m.answers.Expect(vbYes);
    m.answers.Expect(vbOK);
    QTest::mouseClick(p.Form().Capture, Qt::LeftButton);
    ASSERT_EQ(m.answers.Boxes().size(), 2u);
    EXPECT_EQ(m.answers.Boxes()[1].prompt, "No Destination Category Selected!");
    EXPECT_EQ(m.answers.Boxes()[1].title, "Sorry, Capture Not Done.");
    EXPECT_EQ(m.answers.Boxes()[1].style, 16);
    EXPECT_EQ(m.answers.Beeps(), 1);
}

TEST(Capture, AFailureNamesTheFileAndTheAnswersAct) {
    TestMachine m;
    Desktop(m);
    StartedProgram p(m);
    // Mail.lnk's copy fails once; Retry copies it.
    InjectFault(1, kPermissionDenied, FaultRepeat::Once);
    m.answers.Expect(vbYes);
    m.answers.Expect(vbRetry);
    m.answers.Expect(vbYes);
    Capture(p.Form(), "ann\\Games");
    ASSERT_EQ(m.answers.Boxes().size(), 3u);
    EXPECT_EQ(m.answers.Boxes()[1].prompt, "With Operation On FIle C:\\WINDOWS\\VALDRINE\\PROFILES\\ann\\Games\\ spaced .lnk\r\nPermission denied");
    EXPECT_EQ(m.answers.Boxes()[1].title, "Trouble Reported.");
    EXPECT_EQ(m.answers.Boxes()[1].style, 50);
    EXPECT_EQ(m.ReadFile(kLib + "/Games/ spaced .lnk"), "spaced");
}

TEST(Capture, NoFaultAndNoAnswerLosesAFile) {
    ForEachFault([](TestMachine& m) { Desktop(m); }, [](MainForm& form, TestMachine&) { Capture(form, "ann\\Games"); },
                 [](MainForm& form, TestMachine& m, const Held& before, const FaultRun&) {
                     const Held after = DesktopStoreAndLibrary(m);
                     for (const auto& file : before) {
                         // Yes to the overwrite question replaces the category's MAIL.LNK by the Desktop's.
                         if (file.second == "file:old mail") continue;
                         EXPECT_TRUE(after.count(file)) << file.first.toStdString() << " lost";
                     }
                     EXPECT_EQ(form.BusyCount(), 0);
                 });
}

TEST(Capture, ADesktopTheRegistryDoesNotGiveIsNamed) {
    TestMachine m;
    Desktop(m);
    StartedProgram p(m);
    DesktopDir = QString();
    const Entries games = TreeOf(m, kLib + "/Games");
    m.answers.Expect(vbYes);
    m.answers.Expect(vbOK);
    Capture(p.Form(), "ann\\Games");
    ASSERT_EQ(m.answers.Boxes().size(), 2u);
    EXPECT_EQ(m.answers.Boxes()[1].prompt, "The registry names no Desktop folder for you, so there is no Desktop to work on.");
    EXPECT_EQ(TreeOf(m, kLib + "/Games"), games);
}

TEST(Capture, IntoACategoryRemovedBehindTheProgramsBackIsReported) {
    TestMachine m;
    Desktop(m);
    StartedProgram p(m);
    QDir(m.Host(kLib + "/Games")).removeRecursively();
    m.answers.Expect(vbYes);
    m.answers.Expect(vbAbort);
    Capture(p.Form(), "ann\\Games");
    ASSERT_EQ(m.answers.Boxes().size(), 2u);
    EXPECT_EQ(m.answers.Boxes()[1].prompt,
              "With Operation On FIle C:\\WINDOWS\\VALDRINE\\PROFILES\\ann\\Games\\ spaced .lnk\r\nPath not found");
    EXPECT_FALSE(m.Exists(kLib + "/Games"));
}
