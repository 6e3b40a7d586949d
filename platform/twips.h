#pragma once
// Positions and sizes in twips, 15 to a pixel at the machine's 96 dots per inch.
#include <QRect>

namespace platform {

inline constexpr int kTwipsPerPixel = 15;

inline int Px(int twips) { return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel; }
inline int Tw(int pixels) { return pixels * kTwipsPerPixel; }
inline QRect TwipRect(int left, int top, int width, int height) { return QRect(Px(left), Px(top), Px(width), Px(height)); }

int ScreenWidthTwips();
int ScreenHeightTwips();

// Where a window of the given size in twips stands centred on the screen, in pixels:
// (screen - window) / 2 in twips, to the nearest whole twip.
QPoint CentredOnScreen(int widthTwips, int heightTwips);

}  // namespace platform
