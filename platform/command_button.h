#pragma once
// The picture command button: a square button that shows only its picture; its caption is the
// tool tip and the accessible name.
#include <QIcon>
#include <QToolButton>

namespace platform {

class CommandButton : public QToolButton {
    Q_OBJECT
public:
    CommandButton(const QString& caption, const QIcon& picture, QWidget* parent);
    QString Caption() const { return caption_; }

private:
    QString caption_;
};

}  // namespace platform
