#include "ui/logo.h"

#include <QFont>
#include <QLabel>
#include <QPainter>

#include "platform/twips.h"
#include "startup/shared_state.h"
#include "ui/maker.h"

namespace {

const QColor kSilver(0xc0, 0xc0, 0xc0);
const QColor kGrey(0x80, 0x80, 0x80);
const QColor kNavy(0x00, 0x00, 0x80);
const QColor kTeal(0x00, 0x80, 0x80);
const QColor kMaroon(0x80, 0x00, 0x00);
const QColor kOlive(0x80, 0x80, 0x00);
const QColor kOrange(0xff, 0x80, 0x00);

// One desktop of the emblem, drawn as a small Windows 95 window: bevelled grey frame, title bar,
// and a wallpaper with a column of icons.
void PaintDesktopCard(QPainter& p, const QRect& r, const QColor& wallpaper, const QColor& titleBar,
                      double scale) {
    // The shadow it throws on the desktop behind it.
    const int drop = qMax(2, qRound(4 * scale));
    p.fillRect(r.translated(drop, drop), QColor(0, 0, 0, 90));

    p.fillRect(r, kSilver);
    p.setPen(Qt::white);
    p.drawLine(r.topLeft(), r.topRight());
    p.drawLine(r.topLeft(), r.bottomLeft());
    p.setPen(Qt::black);
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());
    p.setPen(kGrey);
    p.drawLine(r.bottomLeft() + QPoint(1, -1), r.bottomRight() + QPoint(-1, -1));
    p.drawLine(r.topRight() + QPoint(-1, 1), r.bottomRight() + QPoint(-1, -1));

    const int border = qMax(2, qRound(3 * scale));
    const int barHeight = qMax(4, qRound(11 * scale));
    const QRect bar(r.left() + border, r.top() + border, r.width() - 2 * border, barHeight);
    p.fillRect(bar, titleBar);
    // The close box at the right end of the title bar.
    const int box = qMax(2, barHeight - 2 * qMax(1, qRound(2 * scale)));
    const QRect closeBox(bar.right() - box - (barHeight - box) / 2, bar.top() + (barHeight - box) / 2,
                         box, box);
    p.fillRect(closeBox, kSilver);

    const QRect screen(bar.left(), bar.bottom() + 2, bar.width(), r.bottom() - border - bar.bottom() - 1);
    p.fillRect(screen, wallpaper);

    // Desktop icons: white squares with a coloured middle, down the left edge.
    const int icon = qMax(3, qRound(9 * scale));
    const int gap = qMax(2, qRound(6 * scale));
    const QColor middles[] = {QColor(0xff, 0xff, 0x00), kTeal, kMaroon, kNavy};
    int i = 0;
    for (int y = screen.top() + gap; y + icon <= screen.bottom() - gap / 2; y += icon + gap, ++i) {
        const QRect square(screen.left() + gap, y, icon, icon);
        p.fillRect(square, Qt::white);
        p.fillRect(square.adjusted(2, 2, -2, -2), middles[i % 4]);
    }
}

// A Shape control in rectangle form: a border and nothing inside, so what lies below shows.
class FrameShape : public QWidget {
public:
    FrameShape(const QColor& colour, int width, QWidget* parent)
        : QWidget(parent), colour_(colour), width_(width) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        const QRect r = rect();
        for (int i = 0; i < width_; ++i) {
            p.setPen(colour_);
            p.drawRect(r.adjusted(i, i, -1 - i, -1 - i));
        }
    }

private:
    QColor colour_;
    int width_;
};

// A straight Line control, horizontal or vertical: the widget's whole area in one colour.
class FlatLine : public QWidget {
public:
    FlatLine(const QColor& colour, QWidget* parent) : QWidget(parent), colour_(colour) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), colour_);
    }

private:
    QColor colour_;
};

QLabel* MakeLabel(const char* name, const QRect& geometry, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(geometry);
    // Transparent: the panel and the picture show through around the letters.
    label->setAttribute(Qt::WA_TranslucentBackground);
    label->setAutoFillBackground(false);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    return label;
}

void SetTextColour(QLabel* label, const QColor& colour) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

}  // namespace

void CentreOnScreen(QWidget* window) {
    // The frame counts: making the window known to the platform lets it tell the frame's size
    // where it can before the window is shown.
    if (!window->testAttribute(Qt::WA_WState_Created)) window->winId();
    const QSize outer = window->frameGeometry().size();
    window->move(platform::CentredOnScreen(platform::Tw(outer.width()), platform::Tw(outer.height())));
}

void PaintMakerEmblem(QPainter& p, const QRectF& box) {
    // Designed on a 250 x 100 grid: three 150 x 70 desktops, each 50 right and 15 down of the last.
    const double sx = box.width() / 250.0;
    const double sy = box.height() / 100.0;
    const double scale = qMin(sx, sy);
    auto place = [&](double x, double y, double w, double h) {
        return QRectF(box.left() + x * sx, box.top() + y * sy, w * sx, h * sy).toRect();
    };
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    // The ones behind are inactive windows (grey title bars); the front one is the live Desktop.
    PaintDesktopCard(p, place(0, 0, 150, 70), kMaroon, kGrey, scale);
    PaintDesktopCard(p, place(50, 15, 150, 70), kOlive, kGrey, scale);
    PaintDesktopCard(p, place(100, 30, 150, 70), kTeal, kNavy, scale);
    p.restore();
}

LogoPicture::LogoPicture(QSize emblemSize, QWidget* parent) : QWidget(parent), emblemSize_(emblemSize) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void LogoPicture::paintEvent(QPaintEvent*) {
    QPainter p(this);
    // The emblem throws a shadow down and right; keep it inside the control.
    const int drop = qMax(2, qRound(4 * emblemSize_.width() / 250.0));
    PaintMakerEmblem(p, QRectF(QPointF(0, 0), QSizeF(emblemSize_ - QSize(drop, drop))));
}

RaisedPanel::RaisedPanel(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void RaisedPanel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRect r = rect().adjusted(0, 0, -1, -1);
    p.fillRect(rect(), kSilver);
    p.setPen(QColor(0xdf, 0xdf, 0xdf));
    p.drawLine(r.topLeft(), r.topRight());
    p.drawLine(r.topLeft(), r.bottomLeft());
    p.setPen(Qt::black);
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());
    p.setPen(Qt::white);
    p.drawLine(r.topLeft() + QPoint(1, 1), r.topRight() + QPoint(-1, 1));
    p.drawLine(r.topLeft() + QPoint(1, 1), r.bottomLeft() + QPoint(1, -1));
    p.setPen(kGrey);
    p.drawLine(r.bottomLeft() + QPoint(1, -1), r.bottomRight() + QPoint(-1, -1));
    p.drawLine(r.topRight() + QPoint(-1, 1), r.bottomRight() + QPoint(-1, -1));
}

Logo::Logo(QWidget* parent) : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setFixedSize(platform::Px(6615), platform::Px(4215));

    // Created back to front: panel, frames, lines, picture, then the labels on top of them all.
    auto* panel = new RaisedPanel(this);
    panel->setObjectName("SSPanel1");
    panel->setGeometry(platform::TwipRect(0, 0, 6615, 4215));

    auto* outer = new FrameShape(kNavy, 2, this);
    outer->setObjectName("Shape1_0");
    outer->setGeometry(platform::TwipRect(180, 180, 6255, 3855));
    auto* inner = new FrameShape(kGrey, 1, this);
    inner->setObjectName("Shape1_1");
    inner->setGeometry(platform::TwipRect(420, 420, 5775, 3375));

    // Line1 and Line2: an etched rule under the version; Line3 and Line4: an etched upright that
    // parts the emblem from the motto.
    const struct {
        const char* name;
        QColor colour;
        QRect twips;
    } lines[] = {
        {"Line1", kGrey, QRect(840, 3195, 4875, 15)},
        {"Line2", Qt::white, QRect(840, 3210, 4875, 15)},
        {"Line3", kGrey, QRect(3075, 780, 15, 780)},
        {"Line4", Qt::white, QRect(3090, 780, 15, 780)},
    };
    for (const auto& line : lines) {
        auto* w = new FlatLine(line.colour, this);
        w->setObjectName(QString::fromLatin1(line.name));
        w->setGeometry(platform::TwipRect(line.twips.x(), line.twips.y(), line.twips.width(), line.twips.height()));
    }

    auto* picture = new LogoPicture(QSize(160, 64), this);
    picture->setObjectName("Image1");
    picture->setGeometry(platform::TwipRect(600, 600, 5400, 3030));

    QFont motto(QStringLiteral("DejaVu Serif"));
    motto.setItalic(true);
    motto.setPixelSize(14);
    mandate_ = MakeLabel("mandate0", platform::TwipRect(3240, 960, 2655, 1155), this);
    mandate_->setFont(motto);
    SetTextColour(mandate_, kNavy);

    QFont name(QStringLiteral("DejaVu Sans"));
    name.setBold(true);
    name.setPixelSize(13);
    QLabel* makerName = MakeLabel("Label1_1", platform::TwipRect(840, 1680, 2355, 375), this);
    makerName->setFont(name);
    makerName->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    makerName->setText(QString::fromLatin1(maker::kName));

    QFont titleFont(QStringLiteral("DejaVu Serif"));
    titleFont.setBold(true);
    titleFont.setPixelSize(44);
    // The red one lies under the orange one and peeks out above and to the left.
    title0_ = MakeLabel("title0", platform::TwipRect(840, 1920, 4875, 975), this);
    title0_->setFont(titleFont);
    SetTextColour(title0_, Qt::red);
    title1_ = MakeLabel("title1", platform::TwipRect(900, 1980, 4875, 975), this);
    title1_->setFont(titleFont);
    SetTextColour(title1_, kOrange);

    QFont versionFont(QStringLiteral("DejaVu Sans"));
    versionFont.setPixelSize(13);
    verse_ = MakeLabel("verse", platform::TwipRect(1140, 2700, 4515, 375), this);
    verse_->setFont(versionFont);

    Load();
}

void Logo::Load() {
    CentreOnScreen(this);
    CrLf = QStringLiteral("\r\n");
    mandate_->setText(maker::MottoText(CrLf));
    title0_->setText(ProductTitle);
    title1_->setText(ProductTitle);
    verse_->setText(QStringLiteral("Version ") + ProductVersion);
}

void Logo::mousePressEvent(QMouseEvent*) {}

void Logo::keyPressEvent(QKeyEvent*) {}
