#include "platform/twips.h"

#include <QGuiApplication>
#include <QScreen>

#include <cmath>

namespace platform {

static QRect ScreenPixels() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect(0, 0, 640, 480);
}

int ScreenWidthTwips() { return Tw(ScreenPixels().width()); }
int ScreenHeightTwips() { return Tw(ScreenPixels().height()); }

QPoint CentredOnScreen(int widthTwips, int heightTwips) {
    const long left = std::lround((ScreenWidthTwips() - widthTwips) / 2.0);
    const long top = std::lround((ScreenHeightTwips() - heightTwips) / 2.0);
    return ScreenPixels().topLeft() + QPoint(int(left / kTwipsPerPixel), int(top / kTwipsPerPixel));
}

}  // namespace platform
