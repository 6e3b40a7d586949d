#include "ui/logo.h"

#include "startup/shared_state.h"
#include "ui/maker.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class LogoTest : public ::testing::Test {
protected:
    void SetUp() override {
        ProductTitle = QStringLiteral("VALDRINE.");
        ProductVersion = QStringLiteral("2.00");
        // The splash sets the line break itself; it must not count on the start-up having done it.
        CrLf.clear();
    }
    QLabel* Label(const Logo& logo, const char* name) {
        auto* label = logo.findChild<QLabel*>(QString::fromLatin1(name));
        EXPECT_NE(label, nullptr) << name;
        return label;
    }
};

struct Placement {
    const char* name;
    int left, top, width, height;  // twips
};

// The form's layout, in twips as it was drawn.
const Placement kPlacements[] = {
    {"SSPanel1", 0, 0, 6615, 4215},     {"Shape1_0", 180, 180, 6255, 3855},
    {"Shape1_1", 420, 420, 5775, 3375}, {"Image1", 600, 600, 5400, 3030},
    {"title0", 840, 1920, 4875, 975},   {"title1", 900, 1980, 4875, 975},
    {"mandate0", 3240, 960, 2655, 1155}, {"Label1_1", 840, 1680, 2355, 375},
    {"verse", 1140, 2700, 4515, 375},
};

class LogoPlacementTest : public LogoTest, public ::testing::WithParamInterface<Placement> {};

TEST_P(LogoPlacementTest, ControlSitsWhereTheFormPutsIt) {
    const Placement& p = GetParam();
    Logo logo;
    auto* control = logo.findChild<QWidget*>(QString::fromLatin1(p.name));
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->parentWidget(), &logo);
    EXPECT_EQ(control->geometry(), QRect(p.left / 15, p.top / 15, p.width / 15, p.height / 15));
}

INSTANTIATE_TEST_SUITE_P(LogoControls, LogoPlacementTest, ::testing::ValuesIn(kPlacements),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(LogoTest, ClientAreaIs441By281Pixels) {
    Logo logo;
    EXPECT_EQ(logo.size(), QSize(441, 281));
    EXPECT_TRUE(logo.isWindow());
    EXPECT_TRUE(logo.windowFlags().testFlag(Qt::FramelessWindowHint));
}

struct Product {
    const char* name;
    const char* title;
    const char* version;
};

class LogoCaptionTest : public LogoTest, public ::testing::WithParamInterface<Product> {};

TEST_P(LogoCaptionTest, TitlesAndVersionComeFromTheSharedState) {
    ProductTitle = QString::fromLatin1(GetParam().title);
    ProductVersion = QString::fromLatin1(GetParam().version);
    Logo logo;
    EXPECT_EQ(Label(logo, "title0")->text(), ProductTitle);
    EXPECT_EQ(Label(logo, "title1")->text(), ProductTitle);
    EXPECT_EQ(Label(logo, "verse")->text(), QStringLiteral("Version ") + ProductVersion);
}

INSTANTIATE_TEST_SUITE_P(LogoProducts, LogoCaptionTest,
                         ::testing::Values(Product{"Shipped", "VALDRINE.", "2.00"},
                                           Product{"Other", "ELSEWHERE", "3.1"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(LogoTest, VersionIsTheWordABlankAndTheNumber) {
    Logo logo;
    EXPECT_EQ(Label(logo, "verse")->text(), QStringLiteral("Version 2.00"));
}

TEST_F(LogoTest, SecondTitleLiesFourPixelsRightAndBelowTheFirst) {
    Logo logo;
    const QPoint offset = Label(logo, "title1")->pos() - Label(logo, "title0")->pos();
    EXPECT_EQ(offset, QPoint(4, 4));
    // The orange copy is drawn over the red one, so the red shows as its shadow.
    const QObjectList& children = logo.children();
    EXPECT_LT(children.indexOf(Label(logo, "title0")), children.indexOf(Label(logo, "title1")));
}

TEST_F(LogoTest, MottoIsThreeLinesJoinedWithCrLf) {
    Logo logo;
    EXPECT_EQ(CrLf, QStringLiteral("\r\n"));
    const QStringList lines = Label(logo, "mandate0")->text().split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 3);
    for (const QString& line : lines) {
        EXPECT_FALSE(line.trimmed().isEmpty());
        EXPECT_FALSE(line.contains('\r') || line.contains('\n')) << line.toStdString();
    }
    EXPECT_EQ(lines.first(), QString::fromLatin1(maker::kMotto[0]));
}

TEST_F(LogoTest, MottoShowsAsThreeRowsOfText) {
    Logo logo;
    QLabel* motto = Label(logo, "mandate0");
    const int oneLine = QFontMetrics(motto->font()).height();
    EXPECT_GE(motto->sizeHint().height(), 3 * oneLine);
    // And all three rows fit in the label as the form sized it.
    EXPECT_LE(motto->sizeHint().height(), motto->height());
    EXPECT_LE(motto->sizeHint().width(), motto->width());
}

TEST_F(LogoTest, ShowsTheMakersName) {
    Logo logo;
    EXPECT_EQ(Label(logo, "Label1_1")->text(), QString::fromLatin1(maker::kName));
}

TEST_F(LogoTest, StandsInTheMiddleOfTheScreen) {
    Logo logo;
    logo.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&logo));
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QPoint off = logo.frameGeometry().center() - screen.center();
    EXPECT_LE(std::abs(off.x()), 1) << off.x();
    EXPECT_LE(std::abs(off.y()), 1) << off.y();
}

TEST_F(LogoTest, ClicksAndKeysLeaveItOpen) {
    Logo logo;
    logo.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&logo));
    QTest::mouseClick(&logo, Qt::LeftButton, Qt::NoModifier, QPoint(200, 150));
    QTest::keyClick(&logo, Qt::Key_Escape);
    QTest::keyClick(&logo, Qt::Key_Return);
    EXPECT_TRUE(logo.isVisible());
}

TEST_F(LogoTest, TitleShowsRedBehindOrange) {
    Logo logo;
    const QImage image = logo.grab().toImage();
    const QRect titleArea = Label(logo, "title0")->geometry().united(Label(logo, "title1")->geometry());
    int red = 0;
    int orange = 0;
    for (int y = titleArea.top(); y <= titleArea.bottom(); ++y)
        for (int x = titleArea.left(); x <= titleArea.right(); ++x) {
            const QRgb c = image.pixel(x, y);
            if (c == qRgb(0xff, 0, 0)) ++red;
            if (c == qRgb(0xff, 0x80, 0)) ++orange;
        }
    EXPECT_GT(red, 50);
    EXPECT_GT(orange, red);
}

TEST_F(LogoTest, EmblemPaintsThreeDesktops) {
    // Three stacked desktops: each wallpaper colour shows somewhere in the picture.
    QImage image(250, 100, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter p(&image);
        PaintMakerEmblem(p, QRectF(0, 0, 250, 100));
    }
    int maroon = 0, olive = 0, teal = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y);
            maroon += c == qRgb(0x80, 0, 0);
            olive += c == qRgb(0x80, 0x80, 0);
            teal += c == qRgb(0, 0x80, 0x80);
        }
    EXPECT_GT(maroon, 200);
    EXPECT_GT(olive, 200);
    EXPECT_GT(teal, 2000);  // the front one is whole
}

}  // namespace
