#include "ui/button_pictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QPixmap>
#include <array>

namespace {

// Every picture is drawn on a 24 x 24 grid; the 48 x 48 one is the same drawing scaled by two.
// Whole numbers are pixel corners; outlines sit on pixel centres so they stay sharp at both sizes.
constexpr int kGrid = 24;

const QColor kBlack(0, 0, 0);
const QColor kWhite(0xff, 0xff, 0xff);
const QColor kSilver(0xc0, 0xc0, 0xc0);
const QColor kGrey(0x80, 0x80, 0x80);
const QColor kNavy(0x00, 0x00, 0x80);
const QColor kBlue(0x00, 0x00, 0xff);
const QColor kTeal(0x00, 0x80, 0x80);
const QColor kAqua(0x00, 0xff, 0xff);
const QColor kGreen(0x00, 0x80, 0x00);
const QColor kLime(0x00, 0xff, 0x00);
const QColor kMaroon(0x80, 0x00, 0x00);
const QColor kRed(0xff, 0x00, 0x00);
const QColor kYellow(0xff, 0xff, 0x00);
const QColor kDarkYellow(0xc0, 0xc0, 0x00);
const QColor kOlive(0x80, 0x80, 0x00);
const QColor kBrown(0x80, 0x40, 0x00);
const QColor kTan(0xe0, 0xa0, 0x60);

void Fill(QPainter& p, double x, double y, double w, double h, const QColor& c) {
    p.fillRect(QRectF(x, y, w, h), c);
}

// A filled box with a one-pixel border drawn inside its area.
void Box(QPainter& p, double x, double y, double w, double h, const QColor& fill, const QColor& edge = kBlack) {
    p.fillRect(QRectF(x, y, w, h), fill);
    p.setPen(QPen(edge, 1, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(x + 0.5, y + 0.5, w - 1, h - 1));
}

// A line through the centres of the pixels (x1, y1) and (x2, y2).
void Line(QPainter& p, double x1, double y1, double x2, double y2, const QColor& c, double width = 1) {
    p.setPen(QPen(c, width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.drawLine(QPointF(x1 + 0.5, y1 + 0.5), QPointF(x2 + 0.5, y2 + 0.5));
}

void Shape(QPainter& p, const QPolygonF& outline, const QColor& fill, const QColor& edge = kBlack) {
    p.setPen(QPen(edge, 1, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(fill);
    p.drawPolygon(outline);
}

// A closed folder whose area is (x, y, w, h): a tab at the top left, the back, and the front flap.
void Folder(QPainter& p, double x, double y, double w, double h) {
    Box(p, x, y, 7, 3, kDarkYellow);
    Box(p, x, y + 2, w, h - 2, kDarkYellow);
    Box(p, x, y + 5, w, h - 5, kYellow);
    Fill(p, x + 1, y + 6, w - 2, 1, kWhite);
    Line(p, x + 1, y + h - 2, x + w - 2, y + h - 2, kOlive);
}

// A monitor whose case is (x, y, w, h) with its stand below it; `screen` paints the glass.
void Monitor(QPainter& p, double x, double y, double w, double h, const QColor& screen) {
    Box(p, x + w / 2 - 3, y + h, 6, 2, kGrey);
    Box(p, x + w / 2 - 6, y + h + 1, 12, 3, kSilver);
    Box(p, x, y, w, h, kSilver);
    Line(p, x + 1, y + 1, x + w - 2, y + 1, kWhite);
    Line(p, x + 1, y + 1, x + 1, y + h - 2, kWhite);
    Box(p, x + 2, y + 2, w - 4, h - 4, screen, kGrey);
}

// A thick line with a black rim, for the crossing of Delete0 and the magnifier's handle.
void RimmedStroke(QPainter& p, const QPainterPath& path, double width, const QColor& fill) {
    QPainterPathStroker stroker;
    stroker.setWidth(width);
    stroker.setCapStyle(Qt::SquareCap);
    stroker.setJoinStyle(Qt::MiterJoin);
    const QPainterPath shape = stroker.createStroke(path).simplified();
    p.setPen(QPen(kBlack, 1));
    p.setBrush(fill);
    p.drawPath(shape);
}

// A block arrow pointing right, its shaft `shaft` thick, from x1 to the tip at x2 on row y.
void RightArrow(QPainter& p, double x1, double x2, double y, double shaft, double head, const QColor& fill) {
    const double neck = x2 - head;
    Shape(p,
          QPolygonF({QPointF(x1 + 0.5, y - shaft / 2), QPointF(neck, y - shaft / 2), QPointF(neck, y - head),
                     QPointF(x2 + 0.5, y), QPointF(neck, y + head), QPointF(neck, y + shaft / 2),
                     QPointF(x1 + 0.5, y + shaft / 2)}),
          fill);
}

void PaintRoller(QPainter& p) {
    Monitor(p, 0, 1, 19, 15, kTeal);
    // The strip the roller has already laid down, in a fresh colour.
    Fill(p, 3, 3, 9, 11, kMaroon);
    // The roller on the glass, its frame bending round to the handle.
    Box(p, 10, 4, 11, 5, kRed);
    Fill(p, 11, 5, 9, 1, QColor(0xff, 0x80, 0x80));
    Line(p, 21, 6, 22, 6, kBlack);
    Line(p, 22, 6, 22, 11, kBlack);
    Line(p, 22, 11, 17, 13, kBlack);
    Line(p, 17, 13, 17, 15, kBlack);
    Box(p, 15, 15, 5, 8, kBrown);
    Line(p, 16, 16, 16, 21, kTan);
}

void PaintStartMenu(QPainter& p) {
    Box(p, 7, 1, 16, 22, kSilver);
    Line(p, 8, 2, 21, 2, kWhite);
    Line(p, 8, 2, 8, 21, kWhite);
    Line(p, 22, 2, 22, 21, kGrey);
    Line(p, 8, 21, 21, 21, kGrey);
    Fill(p, 9, 3, 4, 18, kGrey);
    Fill(p, 10, 13, 2, 7, kWhite);
    // Four entries; the second is the one under the pointer.
    const QColor icons[] = {kYellow, kTeal, kRed, kGreen};
    for (int i = 0; i < 4; ++i) {
        const double y = 4 + i * 4;
        if (i == 1) Fill(p, 13, y - 1, 9, 4, kNavy);
        Box(p, 14, y, 3, 2, icons[i], i == 1 ? kWhite : kBlack);
        Fill(p, 18, y + 0.5, 3, 1, i == 1 ? kWhite : kBlack);
    }
    RightArrow(p, 0, 14, 13, 4, 4, kLime);
}

void PaintStar(QPainter& p, QPointF centre, double outer, double inner, const QColor& fill) {
    QPolygonF star;
    for (int i = 0; i < 10; ++i) {
        const double r = (i % 2 == 0) ? outer : inner;
        const double a = -M_PI / 2 + i * M_PI / 5;
        star << QPointF(centre.x() + r * std::cos(a), centre.y() + r * std::sin(a));
    }
    Shape(p, star, fill);
}

void PaintNewFolder(QPainter& p) {
    Folder(p, 1, 8, 18, 14);
    PaintStar(p, QPointF(17.5, 6.5), 6.5, 2.7, kYellow);
    Fill(p, 17, 5, 1, 1, kWhite);
}

// Letters drawn pixel by pixel, since no font is legible at this size: '#' marks a black pixel.
void Glyph(QPainter& p, double x, double y, std::initializer_list<const char*> rows) {
    for (const char* row : rows) {
        for (int i = 0; row[i]; ++i)
            if (row[i] == '#') Fill(p, x + i, y, 1, 1, kBlack);
        ++y;
    }
}

void PaintRenameFolder(QPainter& p) {
    Folder(p, 0, 6, 18, 16);
    Box(p, 2, 13, 13, 8, kWhite);
    Glyph(p, 4, 16, {".###", "#..#", "#..#", ".###"});
    Glyph(p, 9, 14, {"#...", "#...", "###.", "#..#", "#..#", "###."});
    // The pencil comes down from the upper right, its point at the label.
    p.save();
    p.translate(22, 2.5);
    p.rotate(135);
    Box(p, -1, -1.5, 3, 3, QColor(0xff, 0x80, 0xc0));  // the rubber
    Box(p, 1.5, -1.5, 8, 3, kYellow);
    Shape(p, QPolygonF({QPointF(9.5, -1.5), QPointF(13, 0), QPointF(9.5, 1.5)}), kTan);
    p.restore();
}

void PaintMoveFolder(QPainter& p) {
    Folder(p, 0, 4, 15, 13);
    RightArrow(p, 8, 23, 15, 5, 6, kBlue);
}

void PaintTwoFolders(QPainter& p) {
    Folder(p, 7, 1, 16, 13);
    Folder(p, 1, 9, 16, 13);
}

void PaintCrossedFolder(QPainter& p) {
    Folder(p, 0, 2, 18, 15);
    QPainterPath cross;
    cross.moveTo(12, 11);
    cross.lineTo(21, 20);
    cross.moveTo(21, 11);
    cross.lineTo(12, 20);
    RimmedStroke(p, cross, 3, kRed);
}

void PaintWasteBin(QPainter& p) {
    Shape(p, QPolygonF({QPointF(5.5, 7.5), QPointF(18.5, 7.5), QPointF(16.5, 22.5), QPointF(7.5, 22.5)}), kSilver);
    for (double x : {9.0, 12.0, 15.0}) Line(p, x, 9, x + (x - 12) / 6, 21, kGrey);
    Line(p, 7, 9, 8, 20, kWhite);
    Box(p, 3, 4, 18, 3, kSilver);
    Line(p, 4, 5, 19, 5, kWhite);
    Box(p, 9, 2, 6, 3, kGrey);
}

void PaintUndoArrow(QPainter& p) {
    // The arrow leaves from the lower right, rises, turns over the top and comes down on the left.
    QPainterPath arc;
    arc.moveTo(19, 19);
    arc.cubicTo(22, 14, 21, 5, 13, 5);
    arc.cubicTo(8, 5, 6, 8, 6, 12);
    QPainterPathStroker stroker;
    stroker.setWidth(4);
    stroker.setCapStyle(Qt::FlatCap);
    QPainterPath shape = stroker.createStroke(arc);
    QPainterPath head;
    head.addPolygon(QPolygonF({QPointF(0.5, 11), QPointF(11.5, 11), QPointF(6, 19.5), QPointF(0.5, 11)}));
    shape = shape.united(head).simplified();
    p.setPen(QPen(kNavy, 1));
    p.setBrush(kBlue);
    p.drawPath(shape);
}

void PaintMagnifiedFolder(QPainter& p) {
    Folder(p, 0, 1, 17, 14);
    QPainterPath handle;
    handle.moveTo(17.5, 17.5);
    handle.lineTo(22, 22);
    RimmedStroke(p, handle, 3, kBrown);
    p.setPen(QPen(kBlack, 2));
    p.setBrush(QColor(0xc0, 0xff, 0xff));
    p.drawEllipse(QPointF(13.5, 13.5), 5, 5);
    p.setPen(QPen(kWhite, 1));
    p.drawArc(QRectF(10.5, 10.5, 6, 6), 100 * 16, 70 * 16);
}

void PaintBookShelf(QPainter& p) {
    struct Book {
        double x, top, w;
        QColor cover;
    };
    const Book books[] = {{2, 6, 4, kRed}, {6, 3, 4, kNavy}, {10, 7, 3, kGreen}};
    for (const Book& b : books) {
        Box(p, b.x, b.top, b.w, 20 - b.top, b.cover);
        Fill(p, b.x + 1, b.top + 2, b.w - 2, 1, kYellow);
        Fill(p, b.x + 1, 17, b.w - 2, 1, kYellow);
    }
    // The last book leans on the others.
    p.save();
    p.translate(13, 20);
    p.rotate(20);
    Box(p, 0, -14, 4, 14, kTeal);
    Fill(p, 1, -12, 2, 1, kYellow);
    p.restore();
    Box(p, 0, 20, 24, 3, kBrown);
    Line(p, 1, 21, 22, 21, kTan);
}

void PaintCameraOnScreen(QPainter& p) {
    Monitor(p, 0, 0, 18, 14, kTeal);
    Box(p, 4, 4, 3, 3, kWhite);
    Box(p, 4, 8, 3, 3, kWhite);
    Box(p, 11, 9, 4, 3, kSilver);  // the flash
    Box(p, 8, 11, 16, 11, kGrey);
    Line(p, 9, 12, 22, 12, kSilver);
    Fill(p, 20, 13, 2, 1, kRed);
    p.setPen(QPen(kBlack, 1));
    p.setBrush(kBlack);
    p.drawEllipse(QPointF(16, 17), 4, 4);
    p.setBrush(kAqua);
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(16, 17), 2, 2);
    Fill(p, 15, 16, 1, 1, kWhite);
}

void PaintHelpBook(QPainter& p) {
    // Pages showing along the right and the bottom, then the cover.
    Box(p, 6, 3, 16, 20, kWhite);
    Line(p, 7, 21, 20, 21, kSilver);
    Box(p, 3, 1, 17, 20, kNavy);
    Fill(p, 5, 2, 1, 18, QColor(0x40, 0x40, 0xc0));
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPixelSize(16);
    p.setFont(font);
    p.setPen(kYellow);
    p.drawText(QRectF(5, 1, 15, 20), Qt::AlignCenter, QStringLiteral("?"));
}

void PaintOpenDoor(QPainter& p) {
    // The door frame with daylight outside, the door swung in on its left hinge, and the way out.
    Box(p, 4, 1, 14, 22, QColor(0xff, 0xff, 0xa0), kBlack);
    Fill(p, 5, 18, 12, 4, kLime);
    Shape(p, QPolygonF({QPointF(4.5, 1.5), QPointF(10.5, 3.5), QPointF(10.5, 21.5), QPointF(4.5, 23.5)}), kBrown);
    Fill(p, 9, 12, 1, 2, kYellow);
    RightArrow(p, 8, 23, 11, 4, 5, kRed);
}

using Painter = void (*)(QPainter&);

constexpr std::array<Painter, ButtonPictureCount> kPainters = {
    PaintRoller,      PaintStartMenu,       PaintNewFolder, PaintRenameFolder,   PaintMoveFolder,
    PaintTwoFolders,  PaintCrossedFolder,   PaintWasteBin,  PaintUndoArrow,      PaintMagnifiedFolder,
    PaintBookShelf,   PaintCameraOnScreen,  PaintHelpBook,  PaintOpenDoor,
};

QPixmap Render(Painter paint, int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.scale(double(size) / kGrid, double(size) / kGrid);
    paint(p);
    return pixmap;
}

}  // namespace

QIcon PictureFor(ButtonPicture picture) {
    static std::array<QIcon, ButtonPictureCount> cache;
    const auto index = static_cast<size_t>(picture);
    QIcon& icon = cache.at(index);
    if (icon.isNull()) {
        icon.addPixmap(Render(kPainters[index], kGrid));
        icon.addPixmap(Render(kPainters[index], 2 * kGrid));
    }
    return icon;
}
