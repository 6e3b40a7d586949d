#include "ui/main_form.h"

#include "platform/file_mutations.h"
#include "platform/vb_error.h"
#include "startup/shared_state.h"
#include "tests/started_program.h"

#include <QApplication>
#include <QMenuBar>
#include <QTest>
#include <gtest/gtest.h>

namespace {

struct Placement {
    const char* name;
    QRect twips;  // left, top, width, height
};

QRect Pixels(const QRect& twips) {
    return QRect(twips.x() / 15, twips.y() / 15, twips.width() / 15, twips.height() / 15);
}

QWidget* Named(MainForm& form, const char* name) { return form.findChild<QWidget*>(QString::fromLatin1(name)); }

QList<QWidget*> VisibleTopLevels(const QString& title) {
    QList<QWidget*> out;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->windowTitle() == title) out.append(w);
    return out;
}

}  // namespace

TEST(MainForm, EveryControlStandsAtItsTwipPosition) {
    TestMachine m;
    StartedProgram p(m);
    MainForm& form = p.Form();
    EXPECT_EQ(form.windowTitle(), "Valdrine");
    EXPECT_EQ(form.Client->size(), QSize(365, 282));
    const Placement placements[] = {
        {"Desktops", {0, 420, 5475, 3840}},   {"Category", {45, 45, 5385, 3750}}, {"Shape1", {0, 0, 5475, 435}},
        {"Apply", {0, 0, 420, 420}},          {"CSCmdBtn3", {420, 0, 420, 420}},  {"NEW", {840, 0, 420, 420}},
        {"rename", {1260, 0, 420, 420}},      {"mov", {1680, 0, 420, 420}},        {"COPY", {2100, 0, 420, 420}},
        {"DELETE_0", {2520, 0, 420, 420}},    {"DELETE_1", {2520, 0, 420, 420}},   {"CSCmdBtn1", {2940, 0, 420, 420}},
        {"Explore", {3360, 0, 420, 420}},     {"CSCmdBtn4", {3780, 0, 420, 420}},  {"Capture", {4200, 0, 420, 420}},
        {"CSCmdBtn2", {4620, 0, 420, 420}},   {"exit", {5040, 0, 420, 420}},
    };
    for (const Placement& p : placements) {
        SCOPED_TRACE(p.name);
        QWidget* w = Named(form, p.name);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->geometry(), Pixels(p.twips));
    }
    EXPECT_EQ(form.Category->parentWidget(), form.Desktops);
}

TEST(MainForm, TheButtonRowReadsLeftToRightWithAPictureEach) {
    TestMachine m;
    StartedProgram p(m);
    MainForm& form = p.Form();
    QList<platform::CommandButton*> buttons = form.Client->findChildren<platform::CommandButton*>();
    std::stable_sort(buttons.begin(), buttons.end(), [](auto* a, auto* b) { return a->x() < b->x(); });
    QStringList captions;
    for (auto* b : buttons) {
        if (b == form.DELETE[0]) continue;  // the pair shares its place
        captions << b->toolTip();
        EXPECT_FALSE(b->icon().isNull()) << b->objectName().toStdString();
        EXPECT_EQ(b->size(), QSize(28, 28));
    }
    EXPECT_EQ(captions, (QStringList{"PAINT SELECTED", "UPDATE START MENU", "NEW CATEGORY", "RENAME CATEGORY", "MOVE CATEGORY",
                                     "CLONE CATEGORY", "DELETE CATEGORY", "OOPS UNDO", "SEE CONTENTS", "VISIT LIBRARY",
                                     "CAPTURE CURRENT", "HELP CONTENTS", "BYE BYE"}));
    EXPECT_EQ(form.DELETE[0]->toolTip(), "DELETE CATEGORY");
    EXPECT_NE(form.DELETE[0]->icon().pixmap(24).toImage(), form.DELETE[1]->icon().pixmap(24).toImage());
}

TEST(MainForm, TabOrderFollowsTheDesign) {
    TestMachine m;
    StartedProgram p(m);
    MainForm& form = p.Form();
    const QWidget* expected[] = {form.Capture, form.Explore, form.exit, form.Apply, form.Category, form.NEW, form.DELETE[0],
                                 form.rename, form.CSCmdBtn1, form.DELETE[1], form.mov, form.COPY, form.CSCmdBtn2,
                                 form.CSCmdBtn3, form.CSCmdBtn4};
    const QWidget* w = form.Capture;
    for (size_t i = 1; i < std::size(expected); ++i) {
        w = w->nextInFocusChain();
        while (w != expected[i] && w->focusPolicy() == Qt::NoFocus && w != form.Capture) w = w->nextInFocusChain();
        EXPECT_EQ(w, expected[i]) << "position " << i;
    }
}

TEST(MainForm, MenusHaveTheirCaptionsShortcutsAndOrder) {
    TestMachine m;
    StartedProgram p(m);
    MainForm& form = p.Form();
    QStringList bar;
    for (QAction* a : form.menuBar()->actions()) bar << a->text();
    EXPECT_EQ(bar, (QStringList{"&File", "&Actions", "&Help", "&Options"}));
    struct Item {
        QAction* action;
        const char* caption;
        QKeySequence key;
    } items[] = {
        {form.mnuFileExit, "E&xit", QKeySequence(Qt::CTRL | Qt::Key_X)},
        {form.mnuEditCopy, "&Copy", QKeySequence(Qt::CTRL | Qt::Key_C)},
        {form.mnuEditDelete, "&Delete", QKeySequence(Qt::Key_Delete)},
        {form.mnuEditMove, "&Move", QKeySequence(Qt::CTRL | Qt::Key_M)},
        {form.mnuEditNew, "&New", QKeySequence(Qt::CTRL | Qt::Key_Insert)},
        {form.mnuEditRename, "&Rename", QKeySequence(Qt::CTRL | Qt::Key_R)},
        {form.mnuUndo, "&Undo", QKeySequence(Qt::CTRL | Qt::Key_U)},
        {form.mnuHelpContents, "&Contents", QKeySequence(Qt::Key_F1)},
        {form.mnuHelpAbout, "&About ORV", QKeySequence()},
        {form.mnuOptionsSave, "&Query Save", QKeySequence()},
        {form.mnuOptionsShowLogo, "&Show Logo", QKeySequence()},
    };
    for (const Item& i : items) {
        SCOPED_TRACE(i.caption);
        EXPECT_EQ(i.action->text(), i.caption);
        EXPECT_EQ(i.action->shortcut(), i.key);
    }
    const QList<QAction*> actions = form.mnuEdit->actions();
    ASSERT_EQ(actions.size(), 7);
    EXPECT_EQ(actions[5], form.mnuSeperator);
    EXPECT_TRUE(form.mnuSeperator->isSeparator());
    EXPECT_EQ(actions[6], form.mnuUndo);
}

TEST(MainForm, LoadSetsTheStartingState) {
    TestMachine m;
    StartedProgram p(m);
    MainForm& form = p.Form();
    EXPECT_TRUE(form.isVisible());
    EXPECT_FALSE(form.mnuEditDelete->isEnabled());
    EXPECT_FALSE(form.mnuEditRename->isEnabled());
    EXPECT_FALSE(form.mnuEditMove->isEnabled());
    EXPECT_TRUE(form.mnuEditNew->isEnabled());
    EXPECT_TRUE(form.mnuEditCopy->isEnabled());
    EXPECT_TRUE(form.mnuUndo->isEnabled());
    for (QWidget* shown : {static_cast<QWidget*>(form.NEW), static_cast<QWidget*>(form.Apply), static_cast<QWidget*>(form.CSCmdBtn1),
                           static_cast<QWidget*>(form.Explore), static_cast<QWidget*>(form.Capture), static_cast<QWidget*>(form.exit),
                           static_cast<QWidget*>(form.CSCmdBtn2), static_cast<QWidget*>(form.CSCmdBtn3), static_cast<QWidget*>(form.CSCmdBtn4)})
        EXPECT_TRUE(shown->isVisible()) << shown->objectName().toStdString();
    for (QWidget* hidden : {static_cast<QWidget*>(form.COPY), static_cast<QWidget*>(form.mov), static_cast<QWidget*>(form.rename),
                            static_cast<QWidget*>(form.DELETE[0]), static_cast<QWidget*>(form.DELETE[1])})
        EXPECT_FALSE(hidden->isVisible()) << hidden->objectName().toStdString();
    EXPECT_EQ(form.DeleteButtonIndex, 1);
    EXPECT_TRUE(form.SaveUndoOnRename);
    EXPECT_FALSE(form.MoveMode);
    EXPECT_EQ(form.BusyCount(), 0);
    EXPECT_EQ(form.MousePointer(), 0);
    EXPECT_TRUE(form.mnuOptionsSave->isChecked());
    EXPECT_FALSE(form.mnuOptionsShowLogo->isChecked());
    // Centred on the screen.
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_NEAR(form.x() + form.width() / 2, screen.center().x(), 2);
    EXPECT_NEAR(form.y() + form.height() / 2, screen.center().y(), 2);
}

TEST(MainForm, BusyCallsNest) {
    TestMachine m;
    StartedProgram p(m);
    MainForm& form = p.Form();
    struct Step {
        bool busy;
        int pointer;
        int count;
    } steps[] = {{true, 11, 1}, {true, 11, 2}, {false, 11, 1}, {false, 0, 0}, {false, 0, 0}, {true, 11, 1}, {false, 0, 0}};
    for (const Step& s : steps) {
        form.SetBusy(s.busy);
        EXPECT_EQ(form.MousePointer(), s.pointer);
        EXPECT_EQ(form.BusyCount(), s.count);
        EXPECT_EQ(form.cursor().shape(), s.pointer == 11 ? Qt::WaitCursor : Qt::ArrowCursor);
    }
}

TEST(MainForm, TheFirstDeleteClickSwitchesThePairForGood) {
    TestMachine m;
    m.MakeDir("drive_c/WINDOWS/VALDRINE/PROFILES/ann/Games");
    StartedProgram p(m);
    MainForm& form = p.Form();
    form.Category->Nodes().Item("ann\\Games")->SetSelected(true);
    form.MenuEditEnable(QStringLiteral("ann\\Games"));
    ASSERT_TRUE(form.DELETE[1]->isVisible());
    ASSERT_FALSE(form.DELETE[0]->isVisible());
    m.answers.Expect(platform::vbNo);  // the delete is cancelled; the pair switches all the same
    QTest::mouseClick(form.DELETE[1], Qt::LeftButton);
    EXPECT_TRUE(form.DELETE[0]->isVisible());
    EXPECT_FALSE(form.DELETE[1]->isVisible());
    EXPECT_EQ(form.DeleteButtonIndex, 0);
    EXPECT_TRUE(form.Category->hasFocus() || QApplication::focusWidget() == form.Category);
    EXPECT_TRUE(m.Exists("drive_c/WINDOWS/VALDRINE/PROFILES/ann/Games"));
    form.MenuEditEnable(QStringLiteral("ann"));
    EXPECT_FALSE(form.DELETE[0]->isVisible());
    form.MenuEditEnable(QStringLiteral("ann\\Games"));
    EXPECT_TRUE(form.DELETE[0]->isVisible());
    EXPECT_FALSE(form.DELETE[1]->isVisible());
}

TEST(MainForm, ByeByeRemovesTheUndoStoreAndEnds) {
    TestMachine m;
    StartedProgram p(m);
    m.WriteFile("drive_c/WINDOWS/VALDRINE/Tmp/UNDO/desk/a.lnk", "a");
    QTest::mouseClick(p.Form().exit, Qt::LeftButton);
    EXPECT_FALSE(m.Exists("drive_c/WINDOWS/VALDRINE/Tmp/UNDO"));
    EXPECT_TRUE(m.Exists("drive_c/WINDOWS/VALDRINE/Tmp"));
    EXPECT_FALSE(p.Form().isVisible());
    EXPECT_TRUE(m.answers.Boxes().empty());
}

TEST(MainForm, ByeByeWithoutAStoreTouchesNothing) {
    TestMachine m;
    StartedProgram p(m);
    m.WriteFile("drive_c/WINDOWS/VALDRINE/Tmp/other.txt", "o");
    QTest::mouseClick(p.Form().exit, Qt::LeftButton);
    EXPECT_EQ(m.ReadFile("drive_c/WINDOWS/VALDRINE/Tmp/other.txt"), "o");
    EXPECT_FALSE(p.Form().isVisible());
}

TEST(MainForm, ByeByeReportsAStoreThatCannotBeDeletedAndEndsAllTheSame) {
    TestMachine m;
    StartedProgram p(m);
    m.WriteFile("drive_c/WINDOWS/VALDRINE/Tmp/UNDO/desk/a.lnk", "a");
    platform::InjectFault(1, platform::kPermissionDenied, platform::FaultRepeat::FromThenOn);
    m.answers.Expect(platform::vbOK);
    QTest::mouseClick(p.Form().exit, Qt::LeftButton);
    ASSERT_EQ(m.answers.Boxes().size(), 1u);
    EXPECT_EQ(m.answers.Boxes()[0].prompt,
              "Cannot delete the undo information in C:\\WINDOWS\\VALDRINE\\Tmp\\UNDO.\r\nPermission denied (error 70).");
    EXPECT_EQ(m.answers.Boxes()[0].style, 16);
    EXPECT_FALSE(p.Form().isVisible());
}

TEST(MainForm, FileExitLeavesTheUndoStore) {
    TestMachine m;
    StartedProgram p(m);
    m.WriteFile("drive_c/WINDOWS/VALDRINE/Tmp/UNDO/desk/a.lnk", "a");
    QTest::keyClick(&p.Form(), Qt::Key_X, Qt::ControlModifier);
    EXPECT_TRUE(m.Exists("drive_c/WINDOWS/VALDRINE/Tmp/UNDO/desk/a.lnk"));
    EXPECT_FALSE(p.Form().isVisible());
}

TEST(MainForm, OptionsSwitchAndPersistAcrossARestart) {
    TestMachine m;
    {
        StartedProgram p(m, Splash::AsStored);
        MainForm& form = p.Form();
        EXPECT_TRUE(form.mnuOptionsSave->isChecked());
        EXPECT_TRUE(form.mnuOptionsShowLogo->isChecked());
        form.mnuOptionsShowLogo->trigger();
        form.mnuOptionsSave->trigger();
        form.mnuOptionsSave->trigger();
        form.mnuOptionsSave->trigger();
        EXPECT_FALSE(form.mnuOptionsShowLogo->isChecked());
        EXPECT_FALSE(form.mnuOptionsSave->isChecked());
        EXPECT_FALSE(CheckSave);
        EXPECT_FALSE(ShowLogo);
    }
    m.Reopen();
    m.answers.Clear();
    StartedProgram again(m, Splash::AsStored);
    EXPECT_EQ(m.answers.Beeps(), 0) << "no splash, so no beep";
    EXPECT_FALSE(again.Form().mnuOptionsSave->isChecked());
    EXPECT_FALSE(again.Form().mnuOptionsShowLogo->isChecked());
}

TEST(MainForm, HelpContentsOpensTheViewerWithoutWaiting) {
    TestMachine m;
    StartedProgram p(m);
    QTest::mouseClick(p.Form().CSCmdBtn2, Qt::LeftButton);
    EXPECT_EQ(VisibleTopLevels(QStringLiteral("Valdrine Manager Help")).size(), 1);
    QTest::keyClick(&p.Form(), Qt::Key_F1);
    EXPECT_EQ(VisibleTopLevels(QStringLiteral("Valdrine Manager Help")).size(), 1);
    EXPECT_TRUE(p.Form().isVisible());
}

TEST(MainForm, AboutTwiceGivesOneWindow) {
    TestMachine m;
    StartedProgram p(m);
    p.Form().mnuHelpAbout->trigger();
    p.Form().mnuHelpAbout->trigger();
    EXPECT_EQ(VisibleTopLevels(QStringLiteral("ABOUT US")).size(), 1);
}
