#pragma once
// The tree view control the program is written against (the common-controls tree view), over a
// QTreeWidget. Positions are in twips (15 to a pixel), relative to the control's client area.
#include <QHash>
#include <QIcon>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <QTreeWidget>
#include <vector>

namespace platform {

enum TreeRelationship { tvwFirst = 0, tvwLast = 1, tvwNext = 2, tvwPrevious = 3, tvwChild = 4 };
enum TreeDragState { vbEnter = 0, vbLeave = 1, vbOver = 2 };
enum MouseButton { vbLeftButton = 1, vbRightButton = 2, vbMiddleButton = 4 };

class TreeView;

class Node : public QTreeWidgetItem {
public:
    QString Key() const { return key_; }
    void SetKey(const QString& key);  // error 35602 when another node has that key
    QString Text() const;
    void SetText(const QString& text);
    Node* Child() const;        // first child in display order, or nullptr
    int Children() const;
    Node* Next() const;         // next sibling in display order, or nullptr
    Node* LastSibling() const;  // last node among this node's siblings (itself when it is last)
    Node* Parent() const;
    int Index() const;          // 1-based position in the node collection (order of adding)
    bool Expanded() const;
    void SetExpanded(bool expanded);
    bool Selected() const;
    void SetSelected(bool selected);
    bool Sorted() const { return sorted_; }
    // True sorts the children by text, without regard to case, now and whenever one is added.
    void SetSorted(bool sorted);

private:
    friend class NodeCollection;
    friend class TreeView;
    Node(TreeView* tree, QString key, const QString& text);
    // The order QTreeWidgetItem::sortChildren uses: text without regard to case.
    bool operator<(const QTreeWidgetItem& other) const override;
    TreeView* tree_;
    QString key_;
    bool sorted_ = false;
    int index_ = 0;  // stale while the collection has renumberPending_
};

class NodeCollection {
public:
    explicit NodeCollection(TreeView* tree) : tree_(tree) {}
    // A top-level node when relative is empty. Error 35602 when the key is taken, 35601 when the
    // relative is not found, 5 for a relationship out of range.
    Node* Add(const QString& relative, int relationship, const QString& key, const QString& text);
    Node* Add(const QString& key, const QString& text) { return Add(QString(), tvwLast, key, text); }
    Node* Item(const QString& key) const;  // error 35601 when there is none
    Node* Item(int index) const;           // 1-based; error 35601 when out of range
    Node* Find(const QString& key) const;  // nullptr when there is none
    void Remove(const QString& key);       // with all its descendants; error 35601 when missing
    void Clear();
    int Count() const { return int(order_.size()); }

private:
    friend class Node;
    friend class TreeView;
    void Forget(Node* node);  // drops node and its subtree from the key table and the order
    void Renumber();
    TreeView* tree_;
    QHash<QString, Node*> byKey_;
    std::vector<Node*> order_;
    bool renumberPending_ = false;  // set by Remove, cleared by the next Index read
};

class TreeView : public QTreeWidget {
    Q_OBJECT
public:
    explicit TreeView(QWidget* parent = nullptr);
    ~TreeView() override;

    NodeCollection& Nodes() { return nodes_; }
    Node* SelectedItem() const;  // nullptr when nothing is selected
    Node* DropHighlight() const { return dropHighlight_; }
    void SetDropHighlight(Node* node);  // nullptr clears it
    Node* HitTest(int xTwips, int yTwips) const;
    void StartLabelEdit();  // edits the selected node's label
    // Starts the manual drag mode: every mouse move reports DragOver, the next button release
    // reports DragDrop at its point, Escape ends the drag with DragOver(vbLeave) and no drop.
    void Drag();
    bool Dragging() const { return dragging_; }

signals:
    void Expand(platform::Node* node);
    void NodeClick(platform::Node* node);
    void MouseDown(int button, int shift, int xTwips, int yTwips);
    void BeforeLabelEdit(int* cancel);
    void AfterLabelEdit(int* cancel, const QString& newString);
    void DragOver(int xTwips, int yTwips, int state);
    void DragDrop(int xTwips, int yTwips);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // During a drag: a button released anywhere but over the tree ends the drag with no drop.
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    void commitData(QWidget* editor) override;
    void drawRow(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    friend class Node;
    friend class NodeCollection;
    enum class DragEnd { Drop, Cancel };
    Node* NodeAt(const QModelIndex& index) const;
    // The node whose row is at the point, right of its indentation (icon and label); nullptr on
    // the indentation, the +/- button or below the last row.
    Node* NodeOnRow(const QPoint& viewportPos) const;
    bool OnButton(const QPoint& viewportPos) const;  // on the +/- button column of a node with children
    bool BeginLabelEdit(Node* node);
    // Closes an open editor without AfterLabelEdit: the node it edits is going away.
    void DropEditor();
    void EndDrag(const QPoint& viewportPos, DragEnd end);

    NodeCollection nodes_;
    QIcon folderIcon_;
    Node* dropHighlight_ = nullptr;
    bool pressReachedBase_ = false;  // the left press went to QTreeWidget, so its release goes there too
    bool dragging_ = false;
    bool viewportTrackedBeforeDrag_ = false;
    QPoint lastDragPos_;
    bool editing_ = false;
    QPointer<QWidget> editor_;
    Node* editNode_ = nullptr;
    bool editCommitted_ = false;  // commitData came for the open editor: Enter or focus loss
    QString editText_;
};

}  // namespace platform
