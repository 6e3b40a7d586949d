#include "ui/main_form.h"

#include "platform/file_mutations.h"
#include "platform/shell_execute.h"
#include "platform/shell_link.h"
#include "platform/vb_error.h"
#include "startup/shared_state.h"
#include "tests/host_tree.h"
#include "tests/started_program.h"

#include <QTest>
#include <gtest/gtest.h>

#include <unistd.h>

using namespace platform;

namespace {

const QString kLib = QStringLiteral("drive_c/WINDOWS/VALDRINE/PROFILES/ann");
const QString kMirror = QStringLiteral("drive_c/WINDOWS/Start Menu/Valdrine");

QByteArray Paint(const QString& categoryBelowAnn) {
    return "file:" + ShellLinkBytes(StartDir + "\\VALPAINT.EXE", "C:\\WINDOWS\\VALDRINE\\PROFILES\\ann" + categoryBelowAnn);
}

void Library(TestMachine& m) {
    m.WriteFile(kLib + "/root.lnk", "r");
    m.WriteFile(kLib + "/My Games/doom.lnk", "d");
    m.WriteFile(kLib + "/My Games/readme.txt", "t");
    m.MakeDir(kLib + "/Only Folders/Sub");
    m.WriteFile(kLib + "/Only Folders/Sub/s.lnk", "s");
    m.WriteFile(kLib + "/Own Paint/_Paint.lnk", "mine");
    m.WriteFile(kLib + "/Notes/notes.txt", "no shortcut");
}

}  // namespace

TEST(StartMenu, TheMirrorFollowsTheLibrary) {
    TestMachine m;
    Library(m);
    StartedProgram p(m);
    QTest::mouseClick(p.Form().CSCmdBtn3, Qt::LeftButton);
    const Entries expected = {
        {"/My Games", "dir"},
        {"/My Games/_Paint.lnk", Paint("\\My Games")},
        {"/My Games/doom.lnk", "file:d"},
        {"/My Games/readme.txt", "file:t"},
        {"/Notes", "dir"},
        {"/Only Folders", "dir"},
        {"/Only Folders/Sub", "dir"},
        {"/Only Folders/Sub/_Paint.lnk", Paint("\\Only Folders\\Sub")},
        {"/Only Folders/Sub/s.lnk", "file:s"},
        {"/Own Paint", "dir"},
        {"/Own Paint/_Paint.lnk", "file:mine"},
        {"/_Paint.lnk", Paint("")},
        {"/root.lnk", "file:r"},
    };
    EXPECT_EQ(TreeOf(m, kMirror), expected);
    EXPECT_TRUE(TreeOf(m, "drive_c/WINDOWS/Start Menu/Programs").empty());
    EXPECT_TRUE(m.answers.Boxes().empty());
    // Again, after a category went: the same mirror without it.
    QDir(m.Host(kLib + "/Notes")).removeRecursively();
    m.WriteFile(kMirror + "/stray.txt", "left by someone");
    QTest::mouseClick(p.Form().CSCmdBtn3, Qt::LeftButton);
    Entries without = expected;
    without.erase("/Notes");
    EXPECT_EQ(TreeOf(m, kMirror), without);
}

TEST(StartMenu, ALinkInTheLibraryIsCopiedAsALinkNeverFollowed) {
    TestMachine m;
    QTemporaryDir outside;
    QDir().mkpath(outside.path() + "/big/deep");
    m.MakeDir(kLib + "/Games");
    ASSERT_EQ(symlink(QFile::encodeName(outside.path() + "/big").constData(), QFile::encodeName(m.Host(kLib + "/Games/elsewhere")).constData()), 0);
    StartedProgram p(m);
    QTest::mouseClick(p.Form().CSCmdBtn3, Qt::LeftButton);
    EXPECT_EQ(TreeOf(m, kMirror), (Entries{{"/Games", "dir"}}));
}

TEST(StartMenu, NoStartMenuIsRefusedAndNothingWritten) {
    TestMachine m;
    Library(m);
    StartedProgram p(m);
    StartMenuDir = QString();
    const Entries before = TreeOf(m, "drive_c");
    m.answers.Expect(vbOK);
    QTest::mouseClick(p.Form().CSCmdBtn3, Qt::LeftButton);
    ASSERT_EQ(m.answers.Boxes().size(), 1u);
    EXPECT_EQ(m.answers.Boxes()[0].style, 0);
    EXPECT_EQ(TreeOf(m, "drive_c"), before);
}

TEST(StartMenu, AFailingStepIsNamed) {
    TestMachine m;
    Library(m);
    StartedProgram p(m);
    // The 3rd change is the first shortcut: the mirror's folder and My Games' come first.
    InjectFault(3, kPermissionDenied, FaultRepeat::FromThenOn);
    m.answers.Expect(vbOK);
    QTest::mouseClick(p.Form().CSCmdBtn3, Qt::LeftButton);
    ClearFaults();
    ASSERT_EQ(m.answers.Boxes().size(), 1u);
    EXPECT_EQ(m.answers.Boxes()[0].prompt,
              "The Start Menu folder C:\\WINDOWS\\Start Menu\\Valdrine could not be brought up to date.\r\nPath/File access error (error 75).");
    EXPECT_EQ(m.answers.Boxes()[0].style, 0);
    EXPECT_EQ(m.answers.Beeps(), 1);
}

TEST(StartMenu, TheExplorerCommandsOpenTheirFolders) {
    TestMachine m;
    Library(m);
    StartedProgram p(m);
    QStringList opened;
    SetFolderOpenerForTesting([&](const QString& folder) {
        opened << folder;
        return true;
    });
    QTest::mouseClick(p.Form().CSCmdBtn4, Qt::LeftButton);
    QTest::mouseClick(p.Form().Explore, Qt::LeftButton);  // the root is selected
    p.Form().Category->Nodes().Item("ann\\My Games")->SetSelected(true);
    QTest::mouseClick(p.Form().Explore, Qt::LeftButton);
    EXPECT_EQ(opened, (QStringList{m.HostC("WINDOWS\\VALDRINE\\Library"), m.HostC("WINDOWS\\VALDRINE\\PROFILES\\ann"),
                                   m.HostC("WINDOWS\\VALDRINE\\PROFILES\\ann\\My Games")}));
    // Nothing selected: the description of error 91 in a plain box.
    p.Form().Category->Nodes().Clear();
    m.answers.Expect(vbOK);
    QTest::mouseClick(p.Form().Explore, Qt::LeftButton);
    ASSERT_EQ(m.answers.Boxes().size(), 1u);
    EXPECT_EQ(m.answers.Boxes()[0].prompt, "Object variable or With block variable not set");
    EXPECT_EQ(m.answers.Boxes()[0].style, 0);
    EXPECT_EQ(m.answers.Boxes()[0].title, "Valdrine Manager");
    EXPECT_EQ(m.answers.Beeps(), 1);
    EXPECT_EQ(p.Form().BusyCount(), 0);
    SetFolderOpenerForTesting(nullptr);
}
