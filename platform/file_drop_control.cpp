#include "platform/file_drop_control.h"

#include "platform/drives.h"
#include "platform/twips.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

namespace platform {

FileDropControl::FileDropControl(QWidget* window, QWidget* reference, QPoint offsetTwips)
    : QObject(window), window_(window), reference_(reference), offset_(offsetTwips) {
    window_->setAcceptDrops(true);
    window_->installEventFilter(this);
}

QString FileDropControl::DroppedFile(int index) const {
    return index >= 1 && index <= files_.size() ? files_[index - 1] : QString();
}

static bool HasLocalFiles(const QMimeData* mime) {
    if (!mime || !mime->hasUrls()) return false;
    for (const QUrl& url : mime->urls())
        if (url.isLocalFile()) return true;
    return false;
}

bool FileDropControl::eventFilter(QObject* watched, QEvent* event) {
    if (watched != window_) return false;
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* e = static_cast<QDropEvent*>(event);
        if (!HasLocalFiles(e->mimeData())) return false;
        e->setDropAction(Qt::CopyAction);
        e->accept();
        return true;
    }
    case QEvent::Drop: {
        auto* e = static_cast<QDropEvent*>(event);
        if (!HasLocalFiles(e->mimeData())) return false;
        files_.clear();
        for (const QUrl& url : e->mimeData()->urls())
            if (url.isLocalFile()) files_.append(WinPathOfHost(QFile::encodeName(url.toLocalFile())));
        e->setDropAction(Qt::CopyAction);
        e->accept();
        const QPoint at = reference_->mapFrom(window_, e->position().toPoint());
        emit FilesDropped(int(files_.size()), float(Tw(at.x()) + offset_.x()), float(Tw(at.y()) + offset_.y()), 0);
        return true;
    }
    default:
        return false;
    }
}

}  // namespace platform
