#include "platform/tree_view.h"

#include <QApplication>

#include "platform/vb_error.h"

#include <QCursor>
#include <QKeyEvent>
#include <QMetaProperty>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <algorithm>

namespace platform {

namespace {

constexpr int kTwipsPerPixel = 15;

int ToTwips(int pixels) { return pixels * kTwipsPerPixel; }

// Rounds towards minus infinity, so -1 twip is left of pixel 0 rather than on it.
int ToPixels(int twips) {
    return twips >= 0 ? twips / kTwipsPerPixel : -((-twips + kTwipsPerPixel - 1) / kTwipsPerPixel);
}

int VbButton(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton: return vbLeftButton;
    case Qt::RightButton: return vbRightButton;
    case Qt::MiddleButton: return vbMiddleButton;
    default: return 0;
    }
}

int VbShift(Qt::KeyboardModifiers modifiers) {
    int shift = 0;
    if (modifiers & Qt::ShiftModifier) shift |= 1;
    if (modifiers & Qt::ControlModifier) shift |= 2;
    if (modifiers & Qt::AltModifier) shift |= 4;
    return shift;
}

int CompareLabels(const QString& a, const QString& b) { return QString::compare(a, b, Qt::CaseInsensitive); }

// The row a new child of a sorted parent goes to: after every sibling that does not sort after it,
// so equal labels keep their order of adding.
int SortedRow(const QTreeWidgetItem* parent, const QString& text) {
    int low = 0;
    int high = parent->childCount();
    while (low < high) {
        const int mid = low + (high - low) / 2;
        if (CompareLabels(text, parent->child(mid)->text(0)) < 0) high = mid;
        else low = mid + 1;
    }
    return low;
}

// While a drop target is shown it carries the highlight and the selected node is drawn plain, as
// in the Windows control; SelectedItem is not affected.
class DropHighlightDelegate : public QStyledItemDelegate {
public:
    explicit DropHighlightDelegate(TreeView* tree) : QStyledItemDelegate(tree), tree_(tree) {}

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        const Node* drop = tree_->DropHighlight();
        if (!drop) return;
        if (tree_->itemFromIndex(index) == drop) option->state |= QStyle::State_Selected;
        else option->state &= ~QStyle::State_Selected;
    }

private:
    TreeView* tree_;
};

}  // namespace

// ---- Node

Node::Node(TreeView* tree, QString key, const QString& text)
    : QTreeWidgetItem(QTreeWidgetItem::UserType), tree_(tree), key_(std::move(key)) {
    setText(0, text);
    setIcon(0, tree->folderIcon_);
    setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable);
}

bool Node::operator<(const QTreeWidgetItem& other) const { return CompareLabels(text(0), other.text(0)) < 0; }

void Node::SetKey(const QString& key) {
    if (key == key_) return;
    auto& byKey = tree_->nodes_.byKey_;
    if (!key.isEmpty() && byKey.contains(key)) Raise(kKeyNotUnique);
    if (!key_.isEmpty()) byKey.remove(key_);
    key_ = key;
    if (!key_.isEmpty()) byKey.insert(key_, this);
}

QString Node::Text() const { return text(0); }

void Node::SetText(const QString& text) { setText(0, text); }

Node* Node::Child() const { return childCount() > 0 ? static_cast<Node*>(child(0)) : nullptr; }

int Node::Children() const { return childCount(); }

Node* Node::Next() const {
    // indexFromItem remembers each item's row, so walking a long sibling list stays linear.
    const int row = tree_->indexFromItem(this).row();
    const QTreeWidgetItem* parentItem = parent() ? parent() : tree_->invisibleRootItem();
    return row + 1 < parentItem->childCount() ? static_cast<Node*>(parentItem->child(row + 1)) : nullptr;
}

Node* Node::LastSibling() const {
    const QTreeWidgetItem* parentItem = parent() ? parent() : tree_->invisibleRootItem();
    return static_cast<Node*>(parentItem->child(parentItem->childCount() - 1));
}

Node* Node::Parent() const { return static_cast<Node*>(parent()); }

int Node::Index() const {
    if (tree_->nodes_.renumberPending_) tree_->nodes_.Renumber();
    return index_;
}

bool Node::Expanded() const { return isExpanded(); }

void Node::SetExpanded(bool expanded) { setExpanded(expanded); }

bool Node::Selected() const { return isSelected(); }

void Node::SetSelected(bool selected) {
    if (selected) tree_->setCurrentItem(this);
    else setSelected(false);
}

void Node::SetSorted(bool sorted) {
    sorted_ = sorted;
    if (sorted_ && childCount() > 1) sortChildren(0, Qt::AscendingOrder);
}

// ---- NodeCollection

Node* NodeCollection::Add(const QString& relative, int relationship, const QString& key, const QString& text) {
    Node* rel = relative.isEmpty() ? nullptr : Item(relative);
    if (relationship < tvwFirst || relationship > tvwChild) Raise(kInvalidProcedureCall);
    if (!key.isEmpty() && byKey_.contains(key)) Raise(kKeyNotUnique);

    // Without a relative the relationship does not matter: the node goes last at the top level.
    QTreeWidgetItem* parent = tree_->invisibleRootItem();
    int row = parent->childCount();
    if (rel && relationship == tvwChild) {
        parent = rel;
        row = rel->childCount();
    } else if (rel) {
        parent = rel->parent() ? rel->parent() : tree_->invisibleRootItem();
        const int relRow = tree_->indexFromItem(rel).row();
        switch (relationship) {
        case tvwFirst: row = 0; break;
        case tvwLast: row = parent->childCount(); break;
        case tvwNext: row = relRow + 1; break;
        case tvwPrevious: row = relRow; break;
        }
    }
    if (parent != tree_->invisibleRootItem() && static_cast<Node*>(parent)->sorted_) row = SortedRow(parent, text);

    Node* node = new Node(tree_, key, text);
    parent->insertChild(row, node);
    if (!key.isEmpty()) byKey_.insert(key, node);
    order_.push_back(node);
    node->index_ = int(order_.size());
    return node;
}

Node* NodeCollection::Item(const QString& key) const {
    Node* node = Find(key);
    if (!node) Raise(kElementNotFound);
    return node;
}

Node* NodeCollection::Item(int index) const {
    if (index < 1 || index > Count()) Raise(kElementNotFound);
    return order_[size_t(index - 1)];
}

Node* NodeCollection::Find(const QString& key) const { return key.isEmpty() ? nullptr : byKey_.value(key); }

void NodeCollection::Remove(const QString& key) {
    Node* node = Item(key);
    Forget(node);
    delete node;  // QTreeWidgetItem deletes the children with it
}

void NodeCollection::Clear() {
    tree_->DropEditor();
    tree_->SetDropHighlight(nullptr);
    byKey_.clear();
    order_.clear();
    renumberPending_ = false;
    tree_->clear();
}

void NodeCollection::Forget(Node* node) {
    // index_ == 0 marks the subtree for the sweep over order_; a live node's index is at least 1.
    std::vector<Node*> pending{node};
    while (!pending.empty()) {
        Node* n = pending.back();
        pending.pop_back();
        if (!n->key_.isEmpty()) byKey_.remove(n->key_);
        if (n == tree_->editNode_) tree_->DropEditor();
        if (n == tree_->dropHighlight_) tree_->SetDropHighlight(nullptr);
        n->index_ = 0;
        for (int i = 0; i < n->childCount(); ++i) pending.push_back(static_cast<Node*>(n->child(i)));
    }
    order_.erase(std::remove_if(order_.begin(), order_.end(), [](const Node* n) { return n->index_ == 0; }),
                 order_.end());
    renumberPending_ = true;
}

void NodeCollection::Renumber() {
    for (size_t i = 0; i < order_.size(); ++i) order_[i]->index_ = int(i + 1);
    renumberPending_ = false;
}

// ---- TreeView

TreeView::TreeView(QWidget* parent) : QTreeWidget(parent), nodes_(this) {
    setColumnCount(1);
    setHeaderHidden(true);
    setRootIsDecorated(true);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::EditKeyPressed);
    setItemDelegate(new DropHighlightDelegate(this));
    folderIcon_ = style()->standardIcon(QStyle::SP_DirIcon, nullptr, this);
    connect(this, &QTreeView::expanded, this, [this](const QModelIndex& index) {
        if (Node* node = NodeAt(index)) emit Expand(node);
    });
}

TreeView::~TreeView() = default;

Node* TreeView::NodeAt(const QModelIndex& index) const { return static_cast<Node*>(itemFromIndex(index)); }

Node* TreeView::NodeOnRow(const QPoint& viewportPos) const {
    QTreeWidgetItem* item = itemAt(viewportPos);
    if (!item || !visualItemRect(item).contains(viewportPos)) return nullptr;
    return static_cast<Node*>(item);
}

bool TreeView::OnButton(const QPoint& viewportPos) const {
    const QTreeWidgetItem* item = itemAt(viewportPos);
    if (!item || item->childCount() == 0) return false;
    const int left = visualItemRect(item).left();
    return viewportPos.x() < left && viewportPos.x() >= left - indentation();
}

Node* TreeView::SelectedItem() const {
    const QList<QTreeWidgetItem*> items = selectedItems();
    return items.isEmpty() ? nullptr : static_cast<Node*>(items.first());
}

void TreeView::SetDropHighlight(Node* node) {
    if (node == dropHighlight_) return;
    dropHighlight_ = node;
    viewport()->update();
}

void TreeView::drawRow(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QTreeWidget::drawRow(painter, option, index);
    // The delegate moves the highlight of the cell; styles that highlight the indentation of a
    // selected row too (Fusion) paint it from the selection model, so it is redone here.
    if (!dropHighlight_) return;
    const bool isDrop = NodeAt(index) == dropHighlight_;
    if (!isDrop && !selectionModel()->isSelected(index)) return;
    QStyleOptionViewItem branch = option;
    branch.rect = QRect(option.rect.left(), option.rect.top(), visualRect(index).left() - option.rect.left(),
                        option.rect.height());
    if (isDrop) branch.state |= QStyle::State_Selected;
    else branch.state &= ~QStyle::State_Selected;
    if (!style()->styleHint(QStyle::SH_ItemView_ShowDecorationSelected, &branch, this)) return;
    painter->fillRect(branch.rect, branch.palette.brush(QPalette::Base));
    style()->drawPrimitive(QStyle::PE_PanelItemViewRow, &branch, painter, this);
    drawBranches(painter, branch.rect, index);
}

Node* TreeView::HitTest(int xTwips, int yTwips) const { return NodeOnRow(QPoint(ToPixels(xTwips), ToPixels(yTwips))); }

// ---- Mouse and keyboard

void TreeView::mousePressEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (const int button = VbButton(event->button()))
        emit MouseDown(button, VbShift(event->modifiers()), ToTwips(pos.x()), ToTwips(pos.y()));
    // Only the left button selects: the program's context menu acts on the selected node, not on
    // the one under a right click. A MouseDown handler may have started a drag instead.
    if (dragging_ || event->button() != Qt::LeftButton) return;
    // As in the Windows control, a press on the indentation or below the last node leaves the
    // selection alone (QAbstractItemView would select the row, or clear the selection).
    pressReachedBase_ = NodeOnRow(pos) || OnButton(pos);
    if (!pressReachedBase_) return;
    QTreeWidget::mousePressEvent(event);
    if (Node* node = NodeOnRow(pos); node && node->isSelected()) emit NodeClick(node);
}

void TreeView::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second press of a double click is no MouseDown (VB reports DblClick for it); with the
    // left button on a node it expands or collapses it as the base class does.
    const QPoint pos = event->position().toPoint();
    if (dragging_ || event->button() != Qt::LeftButton) return;
    pressReachedBase_ = NodeOnRow(pos) || OnButton(pos);
    if (pressReachedBase_) QTreeWidget::mouseDoubleClickEvent(event);
}

void TreeView::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (dragging_) {
        lastDragPos_ = pos;
        emit DragOver(ToTwips(pos.x()), ToTwips(pos.y()), vbOver);
        return;
    }
    // A move with a button down must not sweep the selection along (QAbstractItemView does in
    // single selection); in this control a held button is the program's cue to call Drag.
    if (event->buttons() != Qt::NoButton) return;
    QTreeWidget::mouseMoveEvent(event);
}

void TreeView::mouseReleaseEvent(QMouseEvent* event) {
    if (dragging_) {
        if (event->button() == Qt::LeftButton || event->button() == Qt::RightButton) {
            pressReachedBase_ = false;
            EndDrag(event->position().toPoint(), DragEnd::Drop);
        }
        return;
    }
    if (event->button() != Qt::LeftButton || !pressReachedBase_) return;
    pressReachedBase_ = false;
    QTreeWidget::mouseReleaseEvent(event);
}

void TreeView::keyPressEvent(QKeyEvent* event) {
    if (dragging_ && event->key() == Qt::Key_Escape) {
        EndDrag(lastDragPos_, DragEnd::Cancel);
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

// ---- Drag mode

void TreeView::Drag() {
    if (dragging_) return;
    dragging_ = true;
    // Moves must arrive with no button held too: the program may start the drag from a menu.
    viewportTrackedBeforeDrag_ = viewport()->hasMouseTracking();
    viewport()->setMouseTracking(true);
    qApp->installEventFilter(this);
    lastDragPos_ = viewport()->mapFromGlobal(QCursor::pos());
}

void TreeView::EndDrag(const QPoint& viewportPos, DragEnd end) {
    // The state is back to normal before the handlers run, so a DragDrop handler may start another drag.
    dragging_ = false;
    qApp->removeEventFilter(this);
    viewport()->setMouseTracking(viewportTrackedBeforeDrag_);
    if (end == DragEnd::Drop) emit DragDrop(ToTwips(viewportPos.x()), ToTwips(viewportPos.y()));
    else emit DragOver(ToTwips(viewportPos.x()), ToTwips(viewportPos.y()), vbLeave);
}

bool TreeView::eventFilter(QObject* watched, QEvent* event) {
    if (dragging_ && event->type() == QEvent::MouseButtonRelease && watched->isWidgetType() && watched != viewport()) {
        const auto* e = static_cast<QMouseEvent*>(event);
        if (e->button() == Qt::LeftButton || e->button() == Qt::RightButton) EndDrag(lastDragPos_, DragEnd::Cancel);
    }
    return QTreeWidget::eventFilter(watched, event);
}

// ---- Label editing

void TreeView::StartLabelEdit() {
    if (Node* node = SelectedItem()) BeginLabelEdit(node);
}

bool TreeView::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    Q_UNUSED(event);
    // Only F2 and the public edit slot reach BeforeLabelEdit; the base class's other triggers
    // (double click, a click on the selection, typing) would start an edit behind its back.
    if (trigger != EditKeyPressed && trigger != AllEditTriggers) return false;
    Node* node = NodeAt(index);
    return node && BeginLabelEdit(node);
}

bool TreeView::BeginLabelEdit(Node* node) {
    if (editing_) return false;
    const QPersistentModelIndex index(indexFromItem(node));
    int cancel = 0;
    emit BeforeLabelEdit(&cancel);
    // The handler may have removed the node or opened an edit of its own.
    if (cancel != 0 || !index.isValid() || editing_) return false;
    scrollTo(index);  // expands collapsed ancestors: an editor over a hidden row has no place
    editing_ = true;
    editCommitted_ = false;
    editText_.clear();
    editNode_ = NodeAt(index);
    if (!QTreeWidget::edit(index, AllEditTriggers, nullptr)) {
        editing_ = false;
        editNode_ = nullptr;
        return false;
    }
    editor_ = indexWidget(index);
    return true;
}

void TreeView::commitData(QWidget* editor) {
    // The typed text is only remembered: the label changes in closeEditor, after AfterLabelEdit
    // has had the chance to refuse it, never by the model writing it behind the program's back.
    if (!editing_ || editor != editor_) return;
    editText_ = editor->metaObject()->userProperty().read(editor).toString();
    editCommitted_ = true;
}

void TreeView::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    if (!editing_ || editor != editor_) {
        QTreeWidget::closeEditor(editor, hint);
        return;
    }
    const bool accepted = editCommitted_ && hint != QAbstractItemDelegate::RevertModelCache;
    // An emptied label is "", never the null string that stands for Escape.
    const QString typed = editText_.isNull() ? QString::fromLatin1("") : editText_;
    const QPersistentModelIndex index(indexFromItem(editNode_));
    editing_ = false;
    editCommitted_ = false;
    editNode_ = nullptr;
    editor_ = nullptr;
    // NoHint: Tab in the editor must not walk on to edit the next row.
    QTreeWidget::closeEditor(editor, QAbstractItemDelegate::NoHint);

    int cancel = 0;
    if (!accepted) {
        // Escape: the Windows control reports a null string and the label stays.
        emit AfterLabelEdit(&cancel, QString());
        return;
    }
    emit AfterLabelEdit(&cancel, typed);
    if (cancel == 0 && index.isValid()) NodeAt(index)->SetText(typed);
}

void TreeView::DropEditor() {
    if (!editing_) return;
    QWidget* editor = editor_;
    editing_ = false;
    editCommitted_ = false;
    editNode_ = nullptr;
    editor_ = nullptr;
    if (editor) QTreeWidget::closeEditor(editor, QAbstractItemDelegate::NoHint);
}

}  // namespace platform
