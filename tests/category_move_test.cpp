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

const QString kLib = QStringLiteral("drive_c/WINDOWS/VALDRINE/PROFILES/ann");

QPoint At(MainForm& form, const QString& key) {
    Node* node = form.Category->Nodes().Item(key);
    form.Category->scrollToItem(node);
    return form.Category->visualItemRect(node).center();
}

void Click(MainForm& form, const QString& key) {
    QTest::mouseClick(form.Category->viewport(), Qt::LeftButton, Qt::NoModifier, At(form, key));
}

// Selects source, starts the command with its button, moves over the target and lets go there.
void DragOnto(MainForm& form, const QString& source, platform::CommandButton* command, const QString& target) {
    Click(form, source);
    QTest::mouseClick(command, Qt::LeftButton);
    const QPoint to = At(form, target);
    QTest::mouseMove(form.Category->viewport(), to);
    QTest::mouseRelease(form.Category->viewport(), Qt::LeftButton, Qt::NoModifier, to);
}

void Library(TestMachine& m) {
    m.WriteFile(kLib + "/Games/g.lnk", "g");
    m.WriteFile(kLib + "/Games/Old/o.lnk", "o");
    m.MakeDir(kLib + "/Games2");
    m.MakeDir(kLib + "/Work");
}

const Entries kGames = {{"/Old", "dir"}, {"/Old/o.lnk", "file:o"}, {"/g.lnk", "file:g"}};

}  // namespace

TEST(CategoryMove, CloningOntoTheParentMakesGames_1ThenMergesAndBeeps) {
    TestMachine m;
    Library(m);
    StartedProgram p(m);
    DragOnto(p.Form(), "ann\\Games", p.Form().COPY, "ann");
    EXPECT_EQ(TreeOf(m, kLib + "/Games_1"), kGames);
    EXPECT_NE(p.Form().Category->Nodes().Find("ann\\Games_1"), nullptr);
    EXPECT_EQ(p.Form().Category->Nodes().Find("ann\\Games_1\\Old"), nullptr) << "sub-categories show at the next rebuild";
    EXPECT_EQ(m.answers.Beeps(), 0);
    m.WriteFile(kLib + "/Games_1/mine.lnk", "mine");
    DragOnto(p.Form(), "ann\\Games", p.Form().COPY, "ann");
    EXPECT_EQ(m.answers.Beeps(), 1);
    EXPECT_EQ(m.ReadFile(kLib + "/Games_1/mine.lnk"), "mine") << "merged into what was there";
    EXPECT_FALSE(m.Exists(kLib + "/Games_1_1"));
    EXPECT_TRUE(m.answers.Boxes().empty());
    EXPECT_EQ(p.Form().Category->DropHighlight(), nullptr);
}

TEST(CategoryMove, CloningOntoAnotherCategory) {
    TestMachine m;
    Library(m);
    StartedProgram p(m);
    DragOnto(p.Form(), "ann\\Games", p.Form().COPY, "ann\\Work");
    EXPECT_EQ(TreeOf(m, kLib + "/Work/Games"), kGames);
    EXPECT_EQ(TreeOf(m, kLib + "/Games"), kGames);
    EXPECT_TRUE(p.Form().Category->Nodes().Item("ann\\Work")->Expanded());
    EXPECT_NE(p.Form().Category->Nodes().Find("ann\\Work\\Games"), nullptr);
    EXPECT_EQ(p.Form().Category->SelectedItem()->Key(), "ann\\Games") << "the drag does not move the selection";
}

TEST(CategoryMove, CloningTheRootIntoItselfCopiesTheTreeAsItWas) {
    TestMachine m;
    Library(m);
    StartedProgram p(m);
    const Entries before = TreeOf(m, kLib);
    DragOnto(p.Form(), "ann", p.Form().COPY, "ann\\Work");
    EXPECT_EQ(TreeOf(m, kLib + "/Work/ann"), before);
}

TEST(CategoryMove, MoveTargets) {
    struct Case {
        const char* name;
        const char* source;
        const char* target;
        int beeps;
        const char* movedTo;  // nullptr: nothing moves
    } cases[] = {
        {"onto the root from deeper down", "ann\\Games\\Old", "ann", 0, "Old"},
        {"onto itself", "ann\\Games", "ann\\Games", 0, nullptr},
        {"onto its parent", "ann\\Games", "ann", 0, nullptr},
        {"onto its own child", "ann\\Games", "ann\\Games\\Old", 1, nullptr},
        {"onto a sibling with a longer name", "ann\\Games", "ann\\Games2", 0, "Games2/Games"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestMachine m;
        Library(m);
        StartedProgram p(m);
        p.Form().Category->Nodes().Item("ann\\Games")->SetExpanded(true);
        const Entries before = TreeOf(m, kLib);
        const Entries moved = TreeOf(m, kLib + "/" + QString(c.source).mid(4).replace('\\', '/'));
        DragOnto(p.Form(), c.source, p.Form().mov, c.target);
        EXPECT_EQ(m.answers.Beeps(), c.beeps);
        EXPECT_TRUE(m.answers.Boxes().empty()) << "a move deletes its source without asking";
        EXPECT_FALSE(p.Form().MoveMode);
        if (!c.movedTo) {
            EXPECT_EQ(TreeOf(m, kLib), before);
            continue;
        }
        EXPECT_FALSE(m.Exists(kLib + "/" + QString(c.source).mid(4).replace('\\', '/')));
        EXPECT_EQ(TreeOf(m, kLib + "/" + c.movedTo), moved);
        EXPECT_EQ(p.Form().Category->Nodes().Find(c.source), nullptr);
        EXPECT_NE(p.Form().Category->Nodes().Find(QStringLiteral("ann\\") + QString(c.movedTo).replace('/', '\\')), nullptr);
        // The undo brings the source back and leaves the copy.
        p.Form().RestoreUndo();
        EXPECT_EQ(TreeOf(m, kLib + "/" + QString(c.source).mid(4).replace('\\', '/')), moved);
        EXPECT_TRUE(m.Exists(kLib + "/" + c.movedTo));
    }
}

TEST(CategoryMove, ACopyThatFailsLeavesTheSourceWhereItIs) {
    TestMachine m;
    Library(m);
    StartedProgram p(m);
    const Entries before = TreeOf(m, kLib + "/Games");
    InjectFault(2, kDiskFull, FaultRepeat::FromThenOn);
    DragOnto(p.Form(), "ann\\Games", p.Form().mov, "ann\\Work");
    ClearFaults();
    EXPECT_EQ(m.answers.Beeps(), 1);
    EXPECT_EQ(TreeOf(m, kLib + "/Games"), before);
    EXPECT_EQ(p.Form().Category->Nodes().Find("ann\\Work\\Games"), nullptr);
    EXPECT_NE(p.Form().Category->Nodes().Find("ann\\Games"), nullptr);
    // The move never reached its Delete; a Delete now still asks.
    EXPECT_FALSE(p.Form().MoveMode);
    m.answers.Expect(vbNo);
    p.Form().EditDelete();
    EXPECT_EQ(m.answers.Boxes().size(), 1u);
}

TEST(CategoryMove, ADropAwayFromTheTreeOrOnItsEmptySpaceDoesNothing) {
    TestMachine m;
    Library(m);
    StartedProgram p(m);
    const Entries before = TreeOf(m, kLib);
    Click(p.Form(), "ann\\Games");
    QTest::mouseClick(p.Form().COPY, Qt::LeftButton);
    ASSERT_TRUE(p.Form().Category->Dragging());
    QTest::mouseRelease(p.Form().Capture, Qt::LeftButton);
    EXPECT_FALSE(p.Form().Category->Dragging());
    EXPECT_EQ(m.answers.Beeps(), 0);
    QTest::mouseClick(p.Form().COPY, Qt::LeftButton);
    const QPoint empty(10, p.Form().Category->viewport()->height() - 5);
    QTest::mouseMove(p.Form().Category->viewport(), empty);
    QTest::mouseRelease(p.Form().Category->viewport(), Qt::LeftButton, Qt::NoModifier, empty);
    EXPECT_EQ(m.answers.Beeps(), 1);
    EXPECT_EQ(TreeOf(m, kLib), before);
}

TEST(CategoryMove, DraggingHighlightsTheNodeUnderThePointer) {
    TestMachine m;
    Library(m);
    StartedProgram p(m);
    Click(p.Form(), "ann\\Games");
    QTest::mouseClick(p.Form().COPY, Qt::LeftButton);
    QTest::mouseMove(p.Form().Category->viewport(), At(p.Form(), "ann\\Work"));
    ASSERT_NE(p.Form().Category->DropHighlight(), nullptr);
    EXPECT_EQ(p.Form().Category->DropHighlight()->Key(), "ann\\Work");
    QTest::mouseMove(p.Form().Category->viewport(), QPoint(10, p.Form().Category->viewport()->height() - 5));
    EXPECT_EQ(p.Form().Category->DropHighlight(), nullptr);
    QTest::keyClick(p.Form().Category, Qt::Key_Escape);
}
