#include "ui/about_orv.h"

#include "startup/shared_state.h"
#include "ui/maker.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

namespace {

int OpenAboutWindows() {
    int n = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (dynamic_cast<AboutORV*>(w)) ++n;
    return n;
}

// What the user's click on the frame's close box does.
void CloseAndLetItGo(QWidget* window) {
    window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

class AboutTest : public ::testing::Test {
protected:
    void SetUp() override { CrLf.clear(); }
    void TearDown() override {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (dynamic_cast<AboutORV*>(w)) CloseAndLetItGo(w);
    }
    static QLabel* Label(AboutORV* about, const QString& name) {
        auto* label = about->findChild<QLabel*>(name);
        EXPECT_NE(label, nullptr) << name.toStdString();
        return label;
    }
};

TEST_F(AboutTest, CaptionAndClientArea) {
    AboutORV* about = AboutORV::ShowAbout();
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(about->windowTitle(), QStringLiteral("ABOUT US"));
    EXPECT_EQ(about->size(), QSize(360, 194));
    EXPECT_TRUE(about->isWindow());
    EXPECT_EQ(about->windowModality(), Qt::NonModal);
    EXPECT_FALSE(about->windowFlags().testFlag(Qt::FramelessWindowHint));
}

struct Line {
    int index;
    const char* name;
    const char* text;
};

class AboutLineTest : public AboutTest, public ::testing::WithParamInterface<Line> {};

TEST_P(AboutLineTest, ShowsTheLineInItsPlace) {
    AboutORV* about = AboutORV::ShowAbout();
    QLabel* label = Label(about, QStringLiteral("Label1_%1").arg(GetParam().index));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), QString::fromLatin1(GetParam().text));
    // Fits its label, so nothing is cut off at the right.
    EXPECT_LE(label->sizeHint().width(), label->width()) << label->text().toStdString();
    EXPECT_TRUE(about->rect().contains(label->geometry()));
}

INSTANTIATE_TEST_SUITE_P(
    AboutAddress, AboutLineTest,
    ::testing::Values(Line{0, "Name", maker::kName}, Line{1, "Street", maker::kStreet},
                      Line{2, "TownAndCountry", maker::kTownAndCountry}, Line{3, "PostalCode", maker::kPostalCode},
                      Line{4, "Telephone", maker::kTelephone}, Line{5, "Fax", maker::kFax},
                      Line{6, "EMail", maker::kEMail}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(AboutTest, SevenLinesTopToBottom) {
    AboutORV* about = AboutORV::ShowAbout();
    int previous = -1;
    for (int i = 0; i < AboutORV::LineCount; ++i) {
        QLabel* label = Label(about, QStringLiteral("Label1_%1").arg(i));
        ASSERT_NE(label, nullptr);
        EXPECT_GT(label->y(), previous);
        previous = label->geometry().bottom();
    }
    EXPECT_EQ(about->findChild<QLabel*>(QStringLiteral("Label1_7")), nullptr);
}

TEST_F(AboutTest, ContactsAreOnesNobodyOwns) {
    EXPECT_TRUE(QString::fromLatin1(maker::kEMail).endsWith(QStringLiteral("example.org")));
    EXPECT_TRUE(QString::fromLatin1(maker::kTelephone).contains(QStringLiteral("555-01")));
    EXPECT_TRUE(QString::fromLatin1(maker::kFax).contains(QStringLiteral("555-01")));
}

TEST_F(AboutTest, LoadSetsCrLfAndTheThreeLineMotto) {
    AboutORV* about = AboutORV::ShowAbout();
    EXPECT_EQ(CrLf, QStringLiteral("\r\n"));
    QLabel* motto = Label(about, QStringLiteral("mandate0"));
    ASSERT_NE(motto, nullptr);
    const QStringList lines = motto->text().split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 3);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(lines[i], QString::fromLatin1(maker::kMotto[i]));
    EXPECT_LE(motto->sizeHint().height(), motto->height());
}

TEST_F(AboutTest, HasTheDividingLineAndThePicture) {
    AboutORV* about = AboutORV::ShowAbout();
    QWidget* line = about->findChild<QWidget*>(QStringLiteral("Line1"));
    QWidget* picture = about->findChild<QWidget*>(QStringLiteral("Image1"));
    ASSERT_NE(line, nullptr);
    ASSERT_NE(picture, nullptr);
    // The line runs between the picture and the address.
    EXPECT_GT(line->x(), picture->geometry().right());
    EXPECT_LT(line->geometry().right(), Label(about, QStringLiteral("Label1_0"))->x());
}

TEST_F(AboutTest, StandsInTheMiddleOfTheScreen) {
    AboutORV* about = AboutORV::ShowAbout();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(about));
    const QPoint off = about->frameGeometry().center() - QGuiApplication::primaryScreen()->geometry().center();
    EXPECT_LE(std::abs(off.x()), 1) << off.x();
    EXPECT_LE(std::abs(off.y()), 1) << off.y();
}

TEST_F(AboutTest, ShowingItAgainKeepsTheOneWindow) {
    AboutORV* first = AboutORV::ShowAbout();
    QPointer<AboutORV> kept(first);
    AboutORV* second = AboutORV::ShowAbout();
    EXPECT_EQ(second, first);
    EXPECT_FALSE(kept.isNull());
    EXPECT_TRUE(second->isVisible());
    EXPECT_EQ(OpenAboutWindows(), 1);
}

TEST_F(AboutTest, AfterTheUserClosesItTheNextCallLoadsItAgain) {
    QPointer<AboutORV> first(AboutORV::ShowAbout());
    CloseAndLetItGo(first);
    EXPECT_TRUE(first.isNull());
    EXPECT_EQ(OpenAboutWindows(), 0);

    CrLf.clear();
    AboutORV* again = AboutORV::ShowAbout();
    ASSERT_NE(again, nullptr);
    EXPECT_TRUE(again->isVisible());
    EXPECT_EQ(OpenAboutWindows(), 1);
    // It went through its load again.
    EXPECT_EQ(CrLf, QStringLiteral("\r\n"));
}

TEST_F(AboutTest, ShowingItReturnsWithoutWaitingForTheUser) {
    // A modal run would not come back here until closed; the window is up while we look at it.
    AboutORV* about = AboutORV::ShowAbout();
    EXPECT_TRUE(about->isVisible());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

}  // namespace
