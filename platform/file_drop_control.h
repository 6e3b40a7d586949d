#pragma once
// The window-level files-dropped control: files dragged from the host's file manager and dropped
// anywhere on the window are reported as a count, a point and, by 1-based index, each file's full
// path as a Windows path through the drive map.
//
// The point is in twips in the frame the program was written against: a point P of the reference
// widget (the tree's viewport) is reported as P + (135, 615) twips, so the program's fixed offsets
// take it back into tree coordinates.
#include <QObject>
#include <QPoint>
#include <QStringList>

class QWidget;

namespace platform {

class FileDropControl : public QObject {
    Q_OBJECT
public:
    FileDropControl(QWidget* window, QWidget* reference, QPoint offsetTwips);
    QString DroppedFile(int index) const;  // 1-based; "" out of range
    int Count() const { return int(files_.size()); }

signals:
    // count, x and y in twips, and a fourth value that carries nothing.
    void FilesDropped(int count, float x, float y, int unused);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* window_;
    QWidget* reference_;
    QPoint offset_;
    QStringList files_;
};

}  // namespace platform
