#pragma once
// The splash window shown while the program starts, and the maker's emblem it shares with the
// About window. Geometry is laid out in twips (15 twips = 1 pixel) so the numbers read like the
// form they come from.
#include <QRectF>
#include <QSize>
#include <QWidget>

class QLabel;
class QPainter;

// The maker's emblem: three desktops stacked one behind the other. Drawn to fill `box`, which
// should have the emblem's proportions (EmblemAspect wide for 1 high); other shapes stretch it.
void PaintMakerEmblem(QPainter& painter, const QRectF& box);
inline constexpr double EmblemAspect = 2.5;

// Moves a top-level window, frame and all, to the middle of the primary screen.
void CentreOnScreen(QWidget* window);

// The picture control: draws the emblem at its own top-left corner in `emblemSize` pixels and
// leaves the rest of its area clear, as a picture that is smaller than its control would.
// Clicks go through it.
class LogoPicture : public QWidget {
public:
    LogoPicture(QSize emblemSize, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QSize emblemSize_;
};

// A Windows 95 raised panel: light edges top and left, dark edges bottom and right.
class RaisedPanel : public QWidget {
public:
    explicit RaisedPanel(QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};

// The splash: 441 x 281 pixels, frameless, centred on the screen. It has no buttons and no timer;
// clicks and keys do nothing, so whoever shows it also closes it. The labels carry object names
// after their controls ("title0", "title1", "mandate0", "Label1_1", "verse") for anyone who
// needs to find them.
class Logo : public QWidget {
public:
    explicit Logo(QWidget* parent = nullptr);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Fills in the captions that depend on the shared state, in the order the program always has:
    // position, line break, motto, titles, version.
    void Load();

    QLabel* mandate_;
    QLabel* title0_;
    QLabel* title1_;
    QLabel* verse_;
};
