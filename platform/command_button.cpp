#include "platform/command_button.h"

namespace platform {

CommandButton::CommandButton(const QString& caption, const QIcon& picture, QWidget* parent)
    : QToolButton(parent), caption_(caption) {
    setIcon(picture);
    setIconSize(QSize(22, 22));
    setToolTip(caption);
    setAccessibleName(caption);
    setAutoRaise(false);
    setFocusPolicy(Qt::TabFocus);
    setToolButtonStyle(Qt::ToolButtonIconOnly);
}

}  // namespace platform
