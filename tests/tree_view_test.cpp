// The tree view control: the node collection, then the events, driven through real mouse and key
// events on a shown control.
#include "platform/tree_view.h"
#include "platform/vb_error.h"

#include <QApplication>
#include <QCursor>
#include <QImage>
#include <QLineEdit>
#include <QStringList>
#include <QTest>
#include <QVBoxLayout>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <optional>

namespace platform {
namespace {

template <typename Case>
std::string CaseName(const ::testing::TestParamInfo<Case>& info) {
    return info.param.name;
}

// Keys of the node's siblings (itself included) in display order, walked with Child and Next.
QString SiblingKeys(TreeView& tree, Node* node) {
    Node* n = node->Parent() ? node->Parent()->Child() : static_cast<Node*>(tree.topLevelItem(0));
    QStringList keys;
    for (; n; n = n->Next()) keys << n->Key();
    return keys.join(',');
}

QString ChildTexts(Node* parent) {
    QStringList texts;
    for (Node* n = parent->Child(); n; n = n->Next()) texts << n->Text();
    return texts.join(',');
}

QString CollectionKeys(TreeView& tree) {
    QStringList keys;
    for (int i = 1; i <= tree.Nodes().Count(); ++i) keys << tree.Nodes().Item(i)->Key();
    return keys.join(',');
}

void Settle() {
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
}

// What a real double click delivers; QTest::mouseDClick alone sends only the DblClick event.
void DoubleClick(QWidget* widget, QPoint pos) {
    QTest::mousePress(widget, Qt::LeftButton, {}, pos);
    QTest::mouseRelease(widget, Qt::LeftButton, {}, pos);
    QTest::mouseDClick(widget, Qt::LeftButton, {}, pos);
    QTest::mouseRelease(widget, Qt::LeftButton, {}, pos);
}

// ---- Where Add puts a node

struct PlaceCase {
    const char* name;
    const char* relative;
    int relationship;
    const char* parent;    // key of the expected parent, "" for the top level
    const char* siblings;  // expected sibling keys in display order
};

class TreeViewPlacement : public ::testing::TestWithParam<PlaceCase> {};

TEST_P(TreeViewPlacement, AddPutsTheNodeWhereTheRelationshipSays) {
    const PlaceCase& c = GetParam();
    TreeView tree;
    NodeCollection& nodes = tree.Nodes();
    nodes.Add("", tvwLast, "r1", "R1");
    nodes.Add("", tvwLast, "r2", "R2");
    nodes.Add("r1", tvwChild, "a", "A");
    nodes.Add("r1", tvwChild, "b", "B");
    nodes.Add("r1", tvwChild, "c", "C");

    Node* n = nodes.Add(c.relative, c.relationship, "n", "N");

    EXPECT_EQ(n->Parent() ? n->Parent()->Key() : QString(), QString(c.parent));
    const QString siblings = SiblingKeys(tree, n);
    EXPECT_EQ(siblings, QString(c.siblings));
    EXPECT_EQ(n->LastSibling()->Key(), siblings.section(',', -1));
    EXPECT_EQ(nodes.Count(), 6);
    // Index follows the order of adding, wherever the node is shown.
    EXPECT_EQ(n->Index(), 6);
    EXPECT_EQ(nodes.Item(6), n);
    EXPECT_EQ(nodes.Item("a")->Index(), 3);
    EXPECT_EQ(nodes.Item("n"), n);
    EXPECT_EQ(n->Text(), "N");
    EXPECT_FALSE(n->icon(0).isNull());
}

INSTANTIATE_TEST_SUITE_P(
    TreeViewRelationships, TreeViewPlacement,
    ::testing::Values(PlaceCase{"NoRelativeGoesLastAtTopLevelWhateverTheRelationship", "", tvwFirst, "", "r1,r2,n"},
                      PlaceCase{"ChildGoesLastUnderRelative", "r1", tvwChild, "r1", "a,b,c,n"},
                      PlaceCase{"ChildOfLeafMakesItAParent", "c", tvwChild, "c", "n"},
                      PlaceCase{"FirstGoesBeforeAllSiblingsOfRelative", "b", tvwFirst, "r1", "n,a,b,c"},
                      PlaceCase{"LastGoesAfterAllSiblingsOfRelative", "a", tvwLast, "r1", "a,b,c,n"},
                      PlaceCase{"NextGoesRightAfterRelative", "a", tvwNext, "r1", "a,n,b,c"},
                      PlaceCase{"PreviousGoesRightBeforeRelative", "c", tvwPrevious, "r1", "a,b,n,c"},
                      PlaceCase{"NextOfTopLevelNodeStaysTopLevel", "r1", tvwNext, "", "r1,n,r2"},
                      PlaceCase{"FirstOfTopLevelNode", "r2", tvwFirst, "", "n,r1,r2"}),
    CaseName<PlaceCase>);

// ---- Errors leave the collection as it was

struct ErrorCase {
    const char* name;
    std::function<void(NodeCollection&)> act;
    int number;
};

class TreeViewErrors : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(TreeViewErrors, RaisesAndChangesNothing) {
    const ErrorCase& c = GetParam();
    TreeView tree;
    NodeCollection& nodes = tree.Nodes();
    nodes.Add("", tvwLast, "r1", "R1");
    nodes.Add("r1", tvwChild, "a", "A");

    std::optional<int> raised;
    try {
        c.act(nodes);
    } catch (const VbError& e) {
        raised = e.Number();
    }
    EXPECT_EQ(raised, std::optional<int>(c.number));
    EXPECT_EQ(nodes.Count(), 2);
    EXPECT_EQ(nodes.Item("r1")->Children(), 1);
    EXPECT_EQ(tree.topLevelItemCount(), 1);
    EXPECT_EQ(nodes.Item("a")->Text(), "A");
    EXPECT_EQ(nodes.Item("a")->Key(), "a");
}

INSTANTIATE_TEST_SUITE_P(
    TreeViewCollection, TreeViewErrors,
    ::testing::Values(
        ErrorCase{"AddWithTakenKey", [](NodeCollection& n) { n.Add("", tvwLast, "a", "X"); }, kKeyNotUnique},
        ErrorCase{"AddChildWithItsParentsKey", [](NodeCollection& n) { n.Add("r1", tvwChild, "r1", "X"); },
                  kKeyNotUnique},
        ErrorCase{"AddUnderMissingRelative", [](NodeCollection& n) { n.Add("zz", tvwChild, "n", "N"); },
                  kElementNotFound},
        ErrorCase{"RelativeDiffersOnlyInCase", [](NodeCollection& n) { n.Add("R1", tvwChild, "n", "N"); },
                  kElementNotFound},
        ErrorCase{"RelationshipOutOfRange", [](NodeCollection& n) { n.Add("r1", 5, "n", "N"); },
                  kInvalidProcedureCall},
        ErrorCase{"ItemKeyDiffersOnlyInCase", [](NodeCollection& n) { n.Item("A"); }, kElementNotFound},
        ErrorCase{"ItemIndexZero", [](NodeCollection& n) { n.Item(0); }, kElementNotFound},
        ErrorCase{"ItemIndexPastCount", [](NodeCollection& n) { n.Item(3); }, kElementNotFound},
        ErrorCase{"RemoveMissingKey", [](NodeCollection& n) { n.Remove("zz"); }, kElementNotFound},
        ErrorCase{"RenameToAnotherNodesKey", [](NodeCollection& n) { n.Item("a")->SetKey("r1"); },
                  kKeyNotUnique}),
    CaseName<ErrorCase>);

TEST(TreeViewKeys, AreCaseSensitiveAndFollowRenames) {
    TreeView tree;
    NodeCollection& nodes = tree.Nodes();
    Node* lower = nodes.Add("", tvwLast, "a", "lower");
    Node* upper = nodes.Add("", tvwLast, "A", "upper");
    EXPECT_NE(lower, upper);
    EXPECT_EQ(nodes.Item("A"), upper);

    lower->SetKey("a");  // its own key is no conflict
    lower->SetKey("renamed");
    EXPECT_EQ(nodes.Item("renamed"), lower);
    EXPECT_EQ(nodes.Find("a"), nullptr);
    Node* reuse = nodes.Add("renamed", tvwChild, "a", "reuse");  // the old key is free again
    EXPECT_EQ(reuse->Parent(), lower);

    nodes.Remove("renamed");
    EXPECT_EQ(nodes.Find("renamed"), nullptr);
    EXPECT_EQ(nodes.Find("a"), nullptr);
    EXPECT_EQ(CollectionKeys(tree), "A");
}

// ---- Remove

struct RemoveCase {
    const char* name;
    const char* key;
    const char* gone;       // keys no longer found
    const char* remaining;  // the collection in index order afterwards
};

class TreeViewRemove : public ::testing::TestWithParam<RemoveCase> {};

TEST_P(TreeViewRemove, TakesDescendantsAndLaterIndexesMoveUp) {
    const RemoveCase& c = GetParam();
    TreeView tree;
    NodeCollection& nodes = tree.Nodes();
    nodes.Add("", tvwLast, "r1", "R1");
    nodes.Add("r1", tvwChild, "a", "A");
    nodes.Add("a", tvwChild, "a1", "A1");
    nodes.Add("", tvwLast, "r2", "R2");
    nodes.Add("a", tvwChild, "a2", "A2");
    nodes.Add("r2", tvwChild, "b", "B");
    ASSERT_EQ(nodes.Item("b")->Index(), 6);  // indexes read once before the removal

    nodes.Remove(c.key);

    for (const QString& key : QString(c.gone).split(',')) EXPECT_EQ(nodes.Find(key), nullptr) << key.toStdString();
    EXPECT_EQ(CollectionKeys(tree), QString(c.remaining));
    for (int i = 1; i <= nodes.Count(); ++i) EXPECT_EQ(nodes.Item(i)->Index(), i);
    EXPECT_EQ(nodes.Count(), QString(c.remaining).split(',').size());
    // The node after the last remaining one gets the next index.
    Node* added = nodes.Add("", tvwLast, "new", "New");
    EXPECT_EQ(added->Index(), nodes.Count());
}

INSTANTIATE_TEST_SUITE_P(
    TreeViewCollection, TreeViewRemove,
    ::testing::Values(RemoveCase{"Leaf", "a1", "a1", "r1,a,r2,a2,b"},
                      RemoveCase{"NodeWithChildrenAddedAtDifferentTimes", "a", "a,a1,a2", "r1,r2,b"},
                      RemoveCase{"TopLevelWithWholeSubtree", "r1", "r1,a,a1,a2", "r2,b"},
                      RemoveCase{"LastAdded", "b", "b", "r1,a,a1,r2,a2"}),
    CaseName<RemoveCase>);

TEST(TreeViewRemove, ClearEmptiesTheCollectionAndFreesTheKeys) {
    TreeView tree;
    tree.Nodes().Add("", tvwLast, "r1", "R1");
    tree.Nodes().Add("r1", tvwChild, "a", "A");
    tree.Nodes().Clear();
    EXPECT_EQ(tree.Nodes().Count(), 0);
    EXPECT_EQ(tree.topLevelItemCount(), 0);
    EXPECT_EQ(tree.Nodes().Add("", tvwLast, "a", "A")->Index(), 1);
}

// ---- Sorted

struct SortCase {
    const char* name;
    const char* before;  // children added before Sorted is set
    const char* after;   // children added as tvwChild afterwards
    const char* order;
};

class TreeViewSorted : public ::testing::TestWithParam<SortCase> {};

TEST_P(TreeViewSorted, OrdersChildrenWithoutRegardToCase) {
    const SortCase& c = GetParam();
    TreeView tree;
    NodeCollection& nodes = tree.Nodes();
    nodes.Add("", tvwLast, "p", "P");
    int serial = 0;
    auto addAll = [&](const char* texts) {
        for (const QString& t : QString(texts).split(',', Qt::SkipEmptyParts))
            nodes.Add("p", tvwChild, QString("k%1").arg(++serial), t);
    };
    addAll(c.before);
    nodes.Item("p")->SetSorted(true);
    addAll(c.after);
    EXPECT_EQ(ChildTexts(nodes.Item("p")), QString(c.order));
}

INSTANTIATE_TEST_SUITE_P(
    TreeViewCollection, TreeViewSorted,
    ::testing::Values(SortCase{"SortsExistingChildrenAtOnce", "b,a", "", "a,b"},
                      SortCase{"IgnoresCase", "b,C,a", "", "a,b,C"},
                      SortCase{"LabelsEqualButForCaseKeepOrderOfAdding", "b,B,a", "", "a,b,B"},
                      SortCase{"LaterChildrenGoToTheirSortedPlace", "b,d", "C,a,e,B", "a,b,B,C,d,e"},
                      SortCase{"FirstChildrenOfAnEmptySortedNode", "", "b,A", "A,b"}),
    CaseName<SortCase>);

TEST(TreeViewSorted, SiblingRelationshipsUnderASortedParentStillSort) {
    TreeView tree;
    NodeCollection& nodes = tree.Nodes();
    nodes.Add("", tvwLast, "p", "P");
    nodes.Item("p")->SetSorted(true);
    nodes.Add("p", tvwChild, "m", "m");
    nodes.Add("m", tvwFirst, "z", "z");
    nodes.Add("m", tvwNext, "a", "a");
    EXPECT_EQ(ChildTexts(nodes.Item("p")), "a,m,z");
}

TEST(TreeViewSorted, KeepsExpansionAndSelectionOfTheMovedChildren) {
    TreeView tree;
    tree.show();
    NodeCollection& nodes = tree.Nodes();
    nodes.Add("", tvwLast, "p", "P");
    nodes.Add("p", tvwChild, "b", "b");
    nodes.Add("b", tvwChild, "b1", "b1");
    nodes.Add("p", tvwChild, "a", "a");
    nodes.Item("p")->SetExpanded(true);
    nodes.Item("b")->SetExpanded(true);
    nodes.Item("b1")->SetSelected(true);
    Settle();

    nodes.Item("p")->SetSorted(true);

    EXPECT_EQ(ChildTexts(nodes.Item("p")), "a,b");
    EXPECT_TRUE(nodes.Item("b")->Expanded());
    EXPECT_EQ(tree.SelectedItem(), nodes.Item("b1"));
}

// The program fills a folder when it is first expanded and sorts it there.
TEST(TreeViewSorted, ChildrenAddedAndSortedInTheExpandEventShowSorted) {
    TreeView tree;
    tree.show();
    NodeCollection& nodes = tree.Nodes();
    nodes.Add("", tvwLast, "p", "P");
    nodes.Add("p", tvwChild, "dummy", "");
    QObject::connect(&tree, &TreeView::Expand, [&](Node* node) {
        if (!nodes.Find("dummy")) return;
        nodes.Remove("dummy");
        nodes.Add(node->Key(), tvwChild, "b", "b");
        nodes.Add(node->Key(), tvwChild, "a", "A");
        node->SetSorted(true);
    });
    Settle();
    nodes.Item("p")->SetSelected(true);
    QTest::keyClick(&tree, Qt::Key_Right);
    Settle();

    EXPECT_TRUE(nodes.Item("p")->Expanded());
    EXPECT_EQ(ChildTexts(nodes.Item("p")), "A,b");
    EXPECT_LT(tree.visualItemRect(nodes.Item("a")).top(), tree.visualItemRect(nodes.Item("b")).top());
}

// ---- Filling a large tree

// How fast this is, bench/reload_tree measures.
TEST(TreeViewLarge, TenThousandNodesKeepTheirKeysAndIndexesAcrossARemove) {
    TreeView tree;
    tree.resize(300, 400);
    tree.show();
    NodeCollection& nodes = tree.Nodes();
    constexpr int kTotal = 10000;
    int added = 0;
    // Ten folders of ten folders, four deep; all but the deepest level are opened as they are
    // filled, so a view relayout per add would lay out thousands of rows each time.
    std::function<void(const QString&, int)> fill = [&](const QString& parent, int depth) {
        for (int i = 0; i < 10 && added < kTotal; ++i) {
            const QString key = QString("k%1").arg(added++);
            Node* node = nodes.Add(parent, parent.isEmpty() ? tvwLast : tvwChild, key, QString("Folder %1").arg(added));
            if (depth < 3) node->SetExpanded(true);
            if (depth < 4) fill(key, depth + 1);
        }
    };
    fill(QString(), 0);
    nodes.Remove("k3");  // a small subtree near the start: every later index moves
    int found = 0;
    for (int i = 0; i < kTotal; ++i) found += nodes.Find(QString("k%1").arg(i)) != nullptr;
    long long sum = 0;
    for (int pass = 0; pass < 5; ++pass)
        for (int i = 1; i <= nodes.Count(); ++i) sum += nodes.Item(i)->Index();

    const long long count = nodes.Count();
    EXPECT_EQ(found, count);
    EXPECT_EQ(sum, 5 * count * (count + 1) / 2);
    EXPECT_EQ(nodes.Item(QString("k%1").arg(kTotal - 1))->Index(), count);
}

// ---- A shown control for the event tests: r1 (expanded) with a and b, then r2.

struct Shown {
    QWidget window;
    TreeView* tree;
    QLineEdit* other;

    Shown() {
        auto* layout = new QVBoxLayout(&window);
        tree = new TreeView;
        other = new QLineEdit;
        layout->addWidget(tree);
        layout->addWidget(other);
        window.resize(300, 400);
        NodeCollection& nodes = tree->Nodes();
        nodes.Add("", tvwLast, "r1", "R1");
        nodes.Add("r1", tvwChild, "a", "A");
        nodes.Add("r1", tvwChild, "b", "B");
        nodes.Add("", tvwLast, "r2", "R2");
        nodes.Item("r1")->SetExpanded(true);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
        Settle();
    }
    Node* N(const char* key) const { return tree->Nodes().Item(key); }
    QWidget* Viewport() const { return tree->viewport(); }
    QPoint Centre(const char* key) const { return tree->visualItemRect(N(key)).center(); }
    // The +/- button left of a node's icon.
    QPoint Button(const char* key) const {
        const QRect r = tree->visualItemRect(N(key));
        return QPoint(r.left() - tree->indentation() / 2, r.center().y());
    }
    QPoint BelowLastRow() const { return QPoint(Centre("r2").x(), tree->visualItemRect(N("r2")).bottom() + 20); }
    QLineEdit* Editor(const char* key) const {
        return qobject_cast<QLineEdit*>(tree->indexWidget(tree->indexFromItem(N(key))));
    }
};

QString KeyOf(const Node* node) { return node ? node->Key() : QString(); }

// ---- NodeClick and the selection

struct ClickCase {
    const char* name;
    std::function<void(Shown&)> gesture;
    const char* clicked;   // the NodeClick nodes, "" for none
    const char* selected;  // SelectedItem afterwards
};

class TreeViewClick : public ::testing::TestWithParam<ClickCase> {};

TEST_P(TreeViewClick, NodeClickOnlyForLeftClicksOnNodes) {
    const ClickCase& c = GetParam();
    Shown s;
    s.N("r2")->SetSelected(true);
    QStringList clicked;
    QObject::connect(s.tree, &TreeView::NodeClick, [&](Node* node) {
        // NodeClick comes once the selection is on the clicked node.
        EXPECT_EQ(s.tree->SelectedItem(), node);
        clicked << KeyOf(node);
    });

    c.gesture(s);
    Settle();

    EXPECT_EQ(clicked.join(','), QString(c.clicked));
    EXPECT_EQ(KeyOf(s.tree->SelectedItem()), QString(c.selected));
}

INSTANTIATE_TEST_SUITE_P(
    TreeViewEvents, TreeViewClick,
    ::testing::Values(
        ClickCase{"LeftClickOnAnotherNode",
                  [](Shown& s) { QTest::mouseClick(s.Viewport(), Qt::LeftButton, {}, s.Centre("a")); }, "a", "a"},
        ClickCase{"LeftClickOnTheSelectedNode",
                  [](Shown& s) { QTest::mouseClick(s.Viewport(), Qt::LeftButton, {}, s.Centre("r2")); }, "r2", "r2"},
        ClickCase{"LeftClickBelowTheLastRow",
                  [](Shown& s) { QTest::mouseClick(s.Viewport(), Qt::LeftButton, {}, s.BelowLastRow()); }, "", "r2"},
        ClickCase{"LeftClickOnThePlusMinusButton",
                  [](Shown& s) { QTest::mouseClick(s.Viewport(), Qt::LeftButton, {}, s.Button("r1")); }, "", "r2"},
        ClickCase{"LeftClickOnTheIndentationOfAChild",
                  [](Shown& s) {
                      const QPoint p(s.tree->visualItemRect(s.N("a")).left() - 2, s.Centre("a").y());
                      QTest::mouseClick(s.Viewport(), Qt::LeftButton, {}, p);
                  },
                  "", "r2"},
        ClickCase{"RightClickLeavesTheSelection",
                  [](Shown& s) { QTest::mouseClick(s.Viewport(), Qt::RightButton, {}, s.Centre("a")); }, "", "r2"},
        ClickCase{"MiddleClickLeavesTheSelection",
                  [](Shown& s) { QTest::mouseClick(s.Viewport(), Qt::MiddleButton, {}, s.Centre("a")); }, "", "r2"},
        ClickCase{"KeyboardMovesTheSelectionSilently", [](Shown& s) { QTest::keyClick(s.tree, Qt::Key_Up); }, "",
                  "b"}),
    CaseName<ClickCase>);

// ---- MouseDown

struct PressCase {
    const char* name;
    Qt::MouseButton button;
    Qt::KeyboardModifiers modifiers;
    int vbButton;
    int vbShift;
};

class TreeViewMouseDown : public ::testing::TestWithParam<PressCase> {};

TEST_P(TreeViewMouseDown, ReportsVbButtonShiftAndTwips) {
    const PressCase& c = GetParam();
    Shown s;
    struct Press {
        int button, shift, x, y;
    };
    std::vector<Press> presses;
    QObject::connect(s.tree, &TreeView::MouseDown,
                     [&](int button, int shift, int x, int y) { presses.push_back({button, shift, x, y}); });

    for (const QPoint p : {s.Centre("b"), s.BelowLastRow()}) {
        presses.clear();
        QTest::mousePress(s.Viewport(), c.button, c.modifiers, p);
        QTest::mouseRelease(s.Viewport(), c.button, c.modifiers, p);
        ASSERT_EQ(presses.size(), 1u);
        EXPECT_EQ(presses[0].button, c.vbButton);
        EXPECT_EQ(presses[0].shift, c.vbShift);
        EXPECT_EQ(presses[0].x, p.x() * 15);
        EXPECT_EQ(presses[0].y, p.y() * 15);
    }
}

INSTANTIATE_TEST_SUITE_P(
    TreeViewEvents, TreeViewMouseDown,
    ::testing::Values(PressCase{"Left", Qt::LeftButton, Qt::NoModifier, 1, 0},
                      PressCase{"Right", Qt::RightButton, Qt::NoModifier, 2, 0},
                      PressCase{"Middle", Qt::MiddleButton, Qt::NoModifier, 4, 0},
                      PressCase{"ShiftLeft", Qt::LeftButton, Qt::ShiftModifier, 1, 1},
                      PressCase{"CtrlRight", Qt::RightButton, Qt::ControlModifier, 2, 2},
                      PressCase{"AltLeft", Qt::LeftButton, Qt::AltModifier, 1, 4},
                      PressCase{"ShiftCtrlAltRight", Qt::RightButton,
                                Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier, 2, 7}),
    CaseName<PressCase>);

// ---- HitTest

struct HitCase {
    const char* name;
    std::function<QPoint(Shown&)> twips;
    const char* node;  // "" for none
};

class TreeViewHitTest : public ::testing::TestWithParam<HitCase> {};

TEST_P(TreeViewHitTest, FindsTheNodeAtTwips) {
    const HitCase& c = GetParam();
    Shown s;
    const QPoint t = c.twips(s);
    EXPECT_EQ(KeyOf(s.tree->HitTest(t.x(), t.y())), QString(c.node));
}

QRect RowOf(Shown& s, const char* key) { return s.tree->visualItemRect(s.N(key)); }

INSTANTIATE_TEST_SUITE_P(
    TreeViewEvents, TreeViewHitTest,
    ::testing::Values(
        HitCase{"RowCentre", [](Shown& s) { return s.Centre("a") * 15; }, "a"},
        HitCase{"LastTwipOfARow",
                [](Shown& s) { return QPoint(s.Centre("a").x() * 15, RowOf(s, "a").bottom() * 15 + 14); }, "a"},
        HitCase{"FirstTwipOfTheNextRow",
                [](Shown& s) { return QPoint(s.Centre("a").x() * 15, (RowOf(s, "a").bottom() + 1) * 15); }, "b"},
        HitCase{"OneTwipAboveTheClientArea", [](Shown& s) { return QPoint(s.Centre("r1").x() * 15, -1); }, ""},
        HitCase{"IndentationOfAChild",
                [](Shown& s) { return QPoint((RowOf(s, "a").left() - 2) * 15, s.Centre("a").y() * 15); }, ""},
        HitCase{"BelowTheLastRow", [](Shown& s) { return s.BelowLastRow() * 15; }, ""}),
    CaseName<HitCase>);

TEST(TreeViewHitTest, IsRelativeToTheScrolledClientArea) {
    Shown s;
    for (int i = 0; i < 100; ++i) s.tree->Nodes().Add("", tvwLast, QString("x%1").arg(i), QString("X%1").arg(i));
    Settle();
    s.tree->scrollToBottom();
    Settle();
    Node* last = s.tree->Nodes().Item("x99");
    const QPoint p = s.tree->visualItemRect(last).center();
    ASSERT_TRUE(s.Viewport()->rect().contains(p));
    EXPECT_EQ(s.tree->HitTest(p.x() * 15, p.y() * 15), last);
    const QPoint top = s.tree->visualItemRect(s.tree->itemAt(QPoint(p.x(), 1))).center();
    EXPECT_EQ(s.tree->HitTest(top.x() * 15, top.y() * 15), s.tree->itemAt(QPoint(p.x(), 1)));
    EXPECT_NE(s.tree->HitTest(top.x() * 15, top.y() * 15), s.N("r1"));
}

// ---- Expand

enum class Start { Collapsed, Expanded };

struct ExpandCase {
    const char* name;
    Start start;
    std::function<void(Shown&)> gesture;
    const char* expanded;  // the Expand nodes, "" for none
    Start end;
};

class TreeViewExpand : public ::testing::TestWithParam<ExpandCase> {};

TEST_P(TreeViewExpand, FiresWhenANodeOpens) {
    const ExpandCase& c = GetParam();
    Shown s;
    s.N("r1")->SetExpanded(c.start == Start::Expanded);
    s.N("r1")->SetSelected(true);
    Settle();
    QStringList expanded;
    QObject::connect(s.tree, &TreeView::Expand, [&](Node* node) { expanded << KeyOf(node); });

    c.gesture(s);
    Settle();

    EXPECT_EQ(expanded.join(','), QString(c.expanded));
    EXPECT_EQ(s.N("r1")->Expanded(), c.end == Start::Expanded);
}

INSTANTIATE_TEST_SUITE_P(
    TreeViewEvents, TreeViewExpand,
    ::testing::Values(
        ExpandCase{"SettingExpanded", Start::Collapsed, [](Shown& s) { s.N("r1")->SetExpanded(true); }, "r1",
                   Start::Expanded},
        ExpandCase{"RightArrowKey", Start::Collapsed, [](Shown& s) { QTest::keyClick(s.tree, Qt::Key_Right); }, "r1",
                   Start::Expanded},
        ExpandCase{"ClickOnThePlusButton", Start::Collapsed,
                   [](Shown& s) { QTest::mouseClick(s.Viewport(), Qt::LeftButton, {}, s.Button("r1")); }, "r1",
                   Start::Expanded},
        ExpandCase{"DoubleClickOnTheLabel", Start::Collapsed, [](Shown& s) { DoubleClick(s.Viewport(), s.Centre("r1")); },
                   "r1", Start::Expanded},
        ExpandCase{"SettingExpandedOnAnOpenNode", Start::Expanded, [](Shown& s) { s.N("r1")->SetExpanded(true); }, "",
                   Start::Expanded},
        ExpandCase{"CollapsingWithTheLeftArrowKey", Start::Expanded,
                   [](Shown& s) { QTest::keyClick(s.tree, Qt::Key_Left); }, "", Start::Collapsed},
        ExpandCase{"CollapsingWithTheMinusButton", Start::Expanded,
                   [](Shown& s) { QTest::mouseClick(s.Viewport(), Qt::LeftButton, {}, s.Button("r1")); }, "",
                   Start::Collapsed}),
    CaseName<ExpandCase>);

// ---- Label editing

enum class EditStart { ByCall, ByF2 };
enum class Editor { Opens, Refused };

struct EditCase {
    const char* name;
    EditStart start;
    int beforeCancel;
    int afterCancel;
    const char* typed;
    std::function<void(Shown&, QLineEdit*)> finish;
    Editor editor;
    std::optional<QString> newString;  // AfterLabelEdit's argument; nullopt when it must not fire
    bool newStringIsNull;
    const char* label;                 // the node's text afterwards
};

class TreeViewLabelEdit : public ::testing::TestWithParam<EditCase> {};

TEST_P(TreeViewLabelEdit, EditsThroughBeforeAndAfterLabelEdit) {
    const EditCase& c = GetParam();
    Shown s;
    s.window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&s.window));
    Node* a = s.N("a");
    a->SetSelected(true);
    s.tree->setFocus();
    int befores = 0;
    std::vector<QString> afters;
    QObject::connect(s.tree, &TreeView::BeforeLabelEdit, [&](int* cancel) {
        ++befores;
        *cancel = c.beforeCancel;
    });
    QObject::connect(s.tree, &TreeView::AfterLabelEdit, [&](int* cancel, const QString& newString) {
        // The label is still the old one: only the handler's answer may change it.
        EXPECT_EQ(a->Text(), "A");
        afters.push_back(newString);
        *cancel = c.afterCancel;
    });

    if (c.start == EditStart::ByCall) s.tree->StartLabelEdit();
    else QTest::keyClick(s.tree, Qt::Key_F2);
    EXPECT_EQ(befores, 1);
    QLineEdit* editor = s.Editor("a");
    ASSERT_EQ(editor != nullptr, c.editor == Editor::Opens);
    if (editor) {
        EXPECT_EQ(editor->text(), "A");
        QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(editor, Qt::Key_Delete);
        QTest::keyClicks(editor, c.typed);
        c.finish(s, editor);
        Settle();
    }

    if (c.newString) {
        ASSERT_EQ(afters.size(), 1u);
        EXPECT_EQ(afters[0], *c.newString);
        EXPECT_EQ(afters[0].isNull(), c.newStringIsNull);
    } else {
        EXPECT_TRUE(afters.empty());
    }
    EXPECT_EQ(a->Text(), QString(c.label));
    EXPECT_EQ(s.Editor("a"), nullptr);
    EXPECT_EQ(befores, 1);  // and no edit opened on another node on the way out
    for (const char* key : {"r1", "b", "r2"}) EXPECT_EQ(s.Editor(key), nullptr) << key;
}

void PressEnter(Shown&, QLineEdit* e) { QTest::keyClick(e, Qt::Key_Return); }

INSTANTIATE_TEST_SUITE_P(
    TreeViewEvents, TreeViewLabelEdit,
    ::testing::Values(
        EditCase{"EnterAccepts", EditStart::ByCall, 0, 0, "Renamed", PressEnter, Editor::Opens, "Renamed", false,
                 "Renamed"},
        EditCase{"F2StartsAndEnterAccepts", EditStart::ByF2, 0, 0, "Renamed", PressEnter, Editor::Opens, "Renamed",
                 false, "Renamed"},
        EditCase{"AfterLabelEditCancelKeepsTheLabel", EditStart::ByCall, 0, 1, "Renamed", PressEnter, Editor::Opens,
                 "Renamed", false, "A"},
        EditCase{"EmptiedLabelIsAnEmptyNotANullString", EditStart::ByCall, 0, 0, "", PressEnter, Editor::Opens,
                 QString(""), false, ""},
        EditCase{"EscapePassesANullStringAndKeepsTheLabel", EditStart::ByCall, 0, 0, "Renamed",
                 [](Shown&, QLineEdit* e) { QTest::keyClick(e, Qt::Key_Escape); }, Editor::Opens, QString(), true,
                 "A"},
        EditCase{"FocusLossAccepts", EditStart::ByCall, 0, 0, "Renamed", [](Shown& s, QLineEdit*) { s.other->setFocus(); },
                 Editor::Opens, "Renamed", false, "Renamed"},
        EditCase{"TabAcceptsWithoutEditingTheNextNode", EditStart::ByCall, 0, 0, "Renamed",
                 [](Shown&, QLineEdit* e) { QTest::keyClick(e, Qt::Key_Tab); }, Editor::Opens, "Renamed", false,
                 "Renamed"},
        EditCase{"ClickOnAnotherNodeAccepts", EditStart::ByCall, 0, 0, "Renamed",
                 [](Shown& s, QLineEdit*) { QTest::mouseClick(s.Viewport(), Qt::LeftButton, {}, s.Centre("r2")); },
                 Editor::Opens, "Renamed", false, "Renamed"},
        EditCase{"BeforeLabelEditCancelRefusesTheEdit", EditStart::ByCall, 1, 0, "", PressEnter, Editor::Refused,
                 std::nullopt, false, "A"},
        EditCase{"BeforeLabelEditCancelRefusesF2", EditStart::ByF2, 1, 0, "", PressEnter, Editor::Refused,
                 std::nullopt, false, "A"}),
    CaseName<EditCase>);

struct GestureCase {
    const char* name;
    std::function<void(Shown&)> gesture;
};

class TreeViewNoUserEdit : public ::testing::TestWithParam<GestureCase> {};

TEST_P(TreeViewNoUserEdit, OnlyF2AndStartLabelEditOpenAnEditor) {
    Shown s;
    s.N("a")->SetSelected(true);
    int befores = 0;
    QObject::connect(s.tree, &TreeView::BeforeLabelEdit, [&](int*) { ++befores; });
    GetParam().gesture(s);
    QTest::qWait(QApplication::doubleClickInterval() + 100);  // past any delayed edit of a click on the selection
    EXPECT_EQ(befores, 0);
    EXPECT_EQ(s.Editor("a"), nullptr);
    EXPECT_EQ(s.N("a")->Text(), "A");
}

INSTANTIATE_TEST_SUITE_P(
    TreeViewEvents, TreeViewNoUserEdit,
    ::testing::Values(
        GestureCase{"DoubleClick", [](Shown& s) { DoubleClick(s.Viewport(), s.Centre("a")); }},
        GestureCase{"SlowSecondClickOnTheSelection",
                    [](Shown& s) {
                        QTest::mouseClick(s.Viewport(), Qt::LeftButton, {}, s.Centre("a"));
                        QTest::mouseClick(s.Viewport(), Qt::LeftButton, {}, s.Centre("a"),
                                          QApplication::doubleClickInterval() + 100);
                    }},
        GestureCase{"Typing", [](Shown& s) { QTest::keyClicks(s.tree, "xyz"); }}),
    CaseName<GestureCase>);

TEST(TreeViewLabelEdit, RemovingTheEditedNodeEndsTheEditSilently) {
    Shown s;
    s.N("a")->SetSelected(true);
    int afters = 0;
    QObject::connect(s.tree, &TreeView::AfterLabelEdit, [&](int*, const QString&) { ++afters; });
    s.tree->StartLabelEdit();
    ASSERT_NE(s.Editor("a"), nullptr);

    s.tree->Nodes().Remove("a");
    Settle();
    EXPECT_EQ(afters, 0);

    s.N("b")->SetSelected(true);
    s.tree->StartLabelEdit();
    QLineEdit* editor = s.Editor("b");
    ASSERT_NE(editor, nullptr);
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(editor, "Bee");
    QTest::keyClick(editor, Qt::Key_Return);
    Settle();
    EXPECT_EQ(afters, 1);
    EXPECT_EQ(s.N("b")->Text(), "Bee");
}

// ---- Drag mode

struct Reported {
    int x, y, state;
    bool operator==(const Reported& o) const { return x == o.x && y == o.y && state == o.state; }
};

void PrintTo(const Reported& r, std::ostream* os) { *os << "(" << r.x << "," << r.y << "," << r.state << ")"; }

constexpr QPoint kP1(40, 10);
constexpr QPoint kP2(60, 30);

Reported Over(QPoint p) { return {p.x() * 15, p.y() * 15, vbOver}; }
Reported Leave(QPoint p) { return {p.x() * 15, p.y() * 15, vbLeave}; }
Reported Drop(QPoint p) { return {p.x() * 15, p.y() * 15, -1}; }

struct DragCase {
    const char* name;
    std::function<void(Shown&)> gesture;
    std::function<std::vector<Reported>(Shown&)> expected;  // DragOver and DragDrop (state -1) in order
    const char* selected;
};

class TreeViewDrag : public ::testing::TestWithParam<DragCase> {};

TEST_P(TreeViewDrag, ReportsMovesUntilReleaseOrEscape) {
    const DragCase& c = GetParam();
    Shown s;
    s.N("r2")->SetSelected(true);
    std::vector<Reported> reported;
    QObject::connect(s.tree, &TreeView::DragOver, [&](int x, int y, int state) { reported.push_back({x, y, state}); });
    QObject::connect(s.tree, &TreeView::DragDrop, [&](int x, int y) { reported.push_back({x, y, -1}); });
    // Button-less moves go through the cursor, which is only news when it changes place.
    QCursor::setPos(s.Viewport()->mapToGlobal(QPoint(5, s.Viewport()->height() - 5)));
    Settle();

    c.gesture(s);
    Settle();

    EXPECT_EQ(reported, c.expected(s));
    EXPECT_FALSE(s.tree->Dragging());
    EXPECT_EQ(KeyOf(s.tree->SelectedItem()), QString(c.selected));
}

using Expect = std::function<std::vector<Reported>(Shown&)>;
Expect Fixed(std::vector<Reported> r) {
    return [r](Shown&) { return r; };
}

INSTANTIATE_TEST_SUITE_P(
    TreeViewEvents, TreeViewDrag,
    ::testing::Values(
        DragCase{"LeftReleaseDrops",
                 [](Shown& s) {
                     s.tree->Drag();
                     QTest::mouseMove(s.Viewport(), kP1);
                     QTest::mouseRelease(s.Viewport(), Qt::LeftButton, {}, kP2);
                 },
                 Fixed({Over(kP1), Drop(kP2)}), "r2"},
        DragCase{"RightReleaseDrops",
                 [](Shown& s) {
                     s.tree->Drag();
                     QTest::mouseMove(s.Viewport(), kP1);
                     QTest::mouseRelease(s.Viewport(), Qt::RightButton, {}, kP2);
                 },
                 Fixed({Over(kP1), Drop(kP2)}), "r2"},
        DragCase{"MiddleReleaseDoesNotDrop",
                 [](Shown& s) {
                     s.tree->Drag();
                     QTest::mouseRelease(s.Viewport(), Qt::MiddleButton, {}, kP1);
                     QTest::mouseMove(s.Viewport(), kP2);
                     QTest::mouseRelease(s.Viewport(), Qt::LeftButton, {}, kP2);
                 },
                 Fixed({Over(kP2), Drop(kP2)}), "r2"},
        DragCase{"EscapeLeavesWithoutADrop",
                 [](Shown& s) {
                     s.tree->Drag();
                     QTest::mouseMove(s.Viewport(), kP1);
                     QTest::keyClick(s.tree, Qt::Key_Escape);
                     QTest::mouseMove(s.Viewport(), kP2);
                     QTest::mouseRelease(s.Viewport(), Qt::LeftButton, {}, kP2);
                 },
                 Fixed({Over(kP1), Leave(kP1)}), "r2"},
        DragCase{"NothingAfterTheDrop",
                 [](Shown& s) {
                     s.tree->Drag();
                     QTest::mouseRelease(s.Viewport(), Qt::LeftButton, {}, kP1);
                     QTest::mouseMove(s.Viewport(), kP2);
                     QTest::mouseRelease(s.Viewport(), Qt::LeftButton, {}, kP2);
                 },
                 Fixed({Drop(kP1)}), "r2"},
        DragCase{"StartedWithTheButtonHeldOnANode",
                 [](Shown& s) {
                     QTest::mousePress(s.Viewport(), Qt::LeftButton, {}, s.Centre("a"));
                     s.tree->Drag();
                     QTest::mouseMove(s.Viewport(), s.Centre("b"));
                     QTest::mouseRelease(s.Viewport(), Qt::LeftButton, {}, s.Centre("b"));
                 },
                 [](Shown& s) { return std::vector<Reported>{Over(s.Centre("b")), Drop(s.Centre("b"))}; }, "a"},
        DragCase{"HeldButtonWithoutDragDoesNotSweepTheSelection",
                 [](Shown& s) {
                     QTest::mousePress(s.Viewport(), Qt::LeftButton, {}, s.Centre("a"));
                     QTest::mouseMove(s.Viewport(), s.Centre("b"));
                     QTest::mouseRelease(s.Viewport(), Qt::LeftButton, {}, s.Centre("b"));
                 },
                 Fixed({}), "a"}),
    CaseName<DragCase>);

// ---- DropHighlight

// The colours of a row's label area and of its indentation, as painted.
std::pair<QColor, QColor> RowColours(Shown& s, const char* key) {
    const QImage image = s.Viewport()->grab().toImage();
    const QRect r = s.tree->visualItemRect(s.N(key));
    return {image.pixelColor(r.right() - 3, r.center().y()), image.pixelColor(r.left() - 3, r.center().y())};
}

// Near the highlight colour: the current row's focus frame tints its label area a little.
bool Highlighted(const QColor& c, const QColor& highlight) {
    return std::abs(c.red() - highlight.red()) < 16 && std::abs(c.green() - highlight.green()) < 16 &&
           std::abs(c.blue() - highlight.blue()) < 16;
}

TEST(TreeViewDropHighlight, TakesTheHighlightFromTheSelectionWhileShown) {
    Shown s;
    s.N("a")->SetSelected(true);
    const QColor highlight = RowColours(s, "a").first;
    ASSERT_FALSE(Highlighted(RowColours(s, "r2").first, highlight));

    s.tree->SetDropHighlight(s.N("b"));
    const auto drop = RowColours(s, "b");
    const auto selection = RowColours(s, "a");
    EXPECT_TRUE(Highlighted(drop.first, highlight));
    EXPECT_FALSE(Highlighted(selection.first, highlight));
    // Styles that highlight a selected row's indentation do it for the drop target instead.
    EXPECT_NE(drop.second, selection.second);
    EXPECT_EQ(selection.second, RowColours(s, "r2").second);
    EXPECT_EQ(s.tree->SelectedItem(), s.N("a"));
    EXPECT_EQ(s.tree->DropHighlight(), s.N("b"));

    s.tree->SetDropHighlight(nullptr);
    EXPECT_TRUE(Highlighted(RowColours(s, "a").first, highlight));
    EXPECT_FALSE(Highlighted(RowColours(s, "b").first, highlight));
}

TEST(TreeViewDropHighlight, IsClearedWhenItsNodeIsRemoved) {
    Shown s;
    s.tree->SetDropHighlight(s.N("b"));
    s.tree->Nodes().Remove("r1");
    EXPECT_EQ(s.tree->DropHighlight(), nullptr);
    s.Viewport()->grab();  // paints without touching the removed node
}

}  // namespace
}  // namespace platform
