#include "ui/help_viewer.h"

#include "tests/test_machine.h"

#include <QApplication>
#include <QFile>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <gtest/gtest.h>

#include <set>

namespace {

// A help file whose contents are not at the top, with topics far enough apart that each one
// opened has a scroll position of its own.
QByteArray SampleHelp(const QString& marker = QStringLiteral("Sample help")) {
    QString html = QStringLiteral("<html><body><h1>%1</h1>").arg(marker);
    for (int i = 0; i < 40; ++i) html += QStringLiteral("<p>Preface line %1.</p>").arg(i);
    html += QStringLiteral("<h2><a name=\"contents\"></a>Contents</h2>"
                           "<p><a href=\"#first\">First topic</a></p>"
                           "<p><a href=\"#second\">Second topic</a></p>");
    for (const char* topic : {"first", "second"}) {
        html += QStringLiteral("<h2><a name=\"%1\"></a>Topic %1</h2>").arg(QString::fromLatin1(topic));
        for (int i = 0; i < 60; ++i) html += QStringLiteral("<p>About %1, line %2.</p>").arg(topic).arg(i);
    }
    return (html + QStringLiteral("</body></html>")).toUtf8();
}

int OpenViewers() {
    int n = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (dynamic_cast<HelpViewer*>(w)) ++n;
    return n;
}

void CloseAndLetItGo(QWidget* window) {
    window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Where a named anchor is in the document, as a text position; -1 when it is not there.
int AnchorPosition(const QTextDocument& doc, const QString& name) {
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().anchorNames().contains(name)) return it.fragment().position();
    return -1;
}

// The on-screen middle of the link that leads to `href`.
QPoint LinkPoint(QTextBrowser* browser, const QString& href) {
    const QTextDocument& doc = *browser->document();
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().anchorHref() == href) {
                QTextCursor cursor(browser->document());
                cursor.setPosition(it.fragment().position() + it.fragment().length() / 2);
                return browser->cursorRect(cursor).center();
            }
    return QPoint(-1, -1);
}

// How far down the view the anchor's line stands; 0 when the view opens on it.
int AnchorOffsetInView(QTextBrowser* browser, const QString& name) {
    QTextCursor cursor(browser->document());
    cursor.setPosition(AnchorPosition(*browser->document(), name));
    return browser->cursorRect(cursor).top();
}

// The viewer's button with this caption, its accelerator mark aside.
QPushButton* ButtonNamed(const QString& caption) {
    for (QPushButton* b : HelpViewer::Current()->findChildren<QPushButton*>())
        if (b->text().remove('&') == caption) return b;
    return nullptr;
}

class HelpViewerTest : public ::testing::Test {
protected:
    void TearDown() override {
        if (HelpViewer* open = HelpViewer::Current()) CloseAndLetItGo(open);
    }
    QString Write(const QString& name, const QByteArray& content) {
        const QString path = dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
        return path;
    }
    QTextBrowser* ShownBrowser() {
        HelpViewer* viewer = HelpViewer::Current();
        EXPECT_NE(viewer, nullptr);
        if (!viewer) return nullptr;
        EXPECT_TRUE(QTest::qWaitForWindowExposed(viewer));
        return viewer->Browser();
    }
    QTemporaryDir dir;
};

TEST_F(HelpViewerTest, OpensAtTheContents) {
    const QString path = Write("help.HLP", SampleHelp());
    HelpViewer::ShowContentsOfHostFile(QFile::encodeName(path), QStringLiteral("C:\\WINDOWS\\valdrine.HLP"));
    // The call came back with the window up: nothing waits for the user.
    HelpViewer* viewer = HelpViewer::Current();
    ASSERT_NE(viewer, nullptr);
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_TRUE(viewer->isWindow());
    EXPECT_EQ(viewer->windowModality(), Qt::NonModal);
    EXPECT_EQ(viewer->windowTitle(), QStringLiteral("Valdrine Manager Help"));

    QTextBrowser* browser = ShownBrowser();
    ASSERT_NE(browser, nullptr);
    QApplication::processEvents();
    EXPECT_GT(browser->verticalScrollBar()->value(), 0);
    EXPECT_LE(std::abs(AnchorOffsetInView(browser, QStringLiteral("contents"))), 10);
}

TEST_F(HelpViewerTest, ALinkLeadsToItsTopicInTheSameFile) {
    const QString path = Write("help.HLP", SampleHelp());
    HelpViewer::ShowContentsOfHostFile(QFile::encodeName(path), QStringLiteral("C:\\WINDOWS\\valdrine.HLP"));
    QTextBrowser* browser = ShownBrowser();
    ASSERT_NE(browser, nullptr);
    QApplication::processEvents();

    const QPoint link = LinkPoint(browser, QStringLiteral("#second"));
    ASSERT_TRUE(browser->viewport()->rect().contains(link));
    QTest::mouseClick(browser->viewport(), Qt::LeftButton, Qt::NoModifier, link);
    QApplication::processEvents();

    EXPECT_TRUE(browser->toPlainText().contains(QStringLiteral("Preface line 0.")));
    EXPECT_LE(std::abs(AnchorOffsetInView(browser, QStringLiteral("second"))), 10);

    // Back returns to the contents.
    QPushButton* back = ButtonNamed(QStringLiteral("Back"));
    ASSERT_NE(back, nullptr);
    ASSERT_TRUE(back->isEnabled());
    back->click();
    QApplication::processEvents();
    EXPECT_TRUE(browser->toPlainText().contains(QStringLiteral("Preface line 0.")));
    EXPECT_LE(std::abs(AnchorOffsetInView(browser, QStringLiteral("contents"))), 10);
}

TEST_F(HelpViewerTest, ContentsButtonReturnsToTheContents) {
    const QString path = Write("help.HLP", SampleHelp());
    HelpViewer::ShowContentsOfHostFile(QFile::encodeName(path), QStringLiteral("C:\\WINDOWS\\valdrine.HLP"));
    QTextBrowser* browser = ShownBrowser();
    ASSERT_NE(browser, nullptr);
    browser->scrollToAnchor(QStringLiteral("second"));
    QApplication::processEvents();
    ASSERT_GT(std::abs(AnchorOffsetInView(browser, QStringLiteral("contents"))), 10);

    QPushButton* contents = ButtonNamed(QStringLiteral("Contents"));
    ASSERT_NE(contents, nullptr);
    contents->click();
    QApplication::processEvents();
    EXPECT_TRUE(browser->toPlainText().contains(QStringLiteral("Preface line 0.")));
    EXPECT_LE(std::abs(AnchorOffsetInView(browser, QStringLiteral("contents"))), 10);
}

TEST_F(HelpViewerTest, AMissingFileIsReportedInTheWindow) {
    HelpViewer::ShowContentsOfHostFile(QFile::encodeName(dir.filePath("absent.HLP")),
                                       QStringLiteral("C:\\WINDOWS\\valdrine.HLP"));
    QTextBrowser* browser = ShownBrowser();
    ASSERT_NE(browser, nullptr);
    EXPECT_TRUE(browser->toPlainText().contains(QStringLiteral("Cannot find the help file C:\\WINDOWS\\valdrine.HLP.")))
        << browser->toPlainText().toStdString();
}

TEST_F(HelpViewerTest, AnUnreadableFileIsReportedInTheWindow) {
    // A folder where the file should be: it is there, but there is nothing to read.
    QDir(dir.path()).mkdir("valdrine.HLP");
    HelpViewer::ShowContentsOfHostFile(QFile::encodeName(dir.filePath("valdrine.HLP")),
                                       QStringLiteral("C:\\WINDOWS\\valdrine.HLP"));
    QTextBrowser* browser = ShownBrowser();
    ASSERT_NE(browser, nullptr);
    EXPECT_TRUE(browser->toPlainText().contains(QStringLiteral("Cannot read the help file C:\\WINDOWS\\valdrine.HLP.")))
        << browser->toPlainText().toStdString();
}

TEST_F(HelpViewerTest, ASecondCallReloadsTheOneWindow) {
    const QString path = Write("help.HLP", SampleHelp(QStringLiteral("Old text")));
    HelpViewer::ShowContentsOfHostFile(QFile::encodeName(path), QStringLiteral("C:\\WINDOWS\\valdrine.HLP"));
    QPointer<HelpViewer> first(HelpViewer::Current());
    ASSERT_FALSE(first.isNull());

    Write("help.HLP", SampleHelp(QStringLiteral("New text")));
    HelpViewer::ShowContentsOfHostFile(QFile::encodeName(path), QStringLiteral("C:\\WINDOWS\\valdrine.HLP"));
    EXPECT_EQ(HelpViewer::Current(), first.data());
    EXPECT_EQ(OpenViewers(), 1);
    QTextBrowser* browser = ShownBrowser();
    ASSERT_NE(browser, nullptr);
    EXPECT_TRUE(browser->toPlainText().contains(QStringLiteral("New text")));
    EXPECT_FALSE(browser->toPlainText().contains(QStringLiteral("Old text")));
    QApplication::processEvents();
    EXPECT_LE(std::abs(AnchorOffsetInView(browser, QStringLiteral("contents"))), 10);
}

TEST_F(HelpViewerTest, AfterTheUserClosesItTheNextCallOpensANewOne) {
    const QString path = Write("help.HLP", SampleHelp());
    HelpViewer::ShowContentsOfHostFile(QFile::encodeName(path), QStringLiteral("C:\\WINDOWS\\valdrine.HLP"));
    CloseAndLetItGo(HelpViewer::Current());
    EXPECT_EQ(HelpViewer::Current(), nullptr);
    EXPECT_EQ(OpenViewers(), 0);

    HelpViewer::ShowContentsOfHostFile(QFile::encodeName(path), QStringLiteral("C:\\WINDOWS\\valdrine.HLP"));
    ASSERT_NE(HelpViewer::Current(), nullptr);
    EXPECT_TRUE(HelpViewer::Current()->isVisible());
    EXPECT_EQ(OpenViewers(), 1);
}

TEST_F(HelpViewerTest, FindsTheFileByItsWindowsName) {
    TestMachine machine;
    machine.WriteFile(QStringLiteral("drive_c/WINDOWS/VALDRINE.hlp"), SampleHelp(QStringLiteral("Machine help")));
    // Windows names are matched without regard to case.
    HelpViewer::ShowContents(QStringLiteral("C:\\WINDOWS\\valdrine.HLP"));
    QTextBrowser* browser = ShownBrowser();
    ASSERT_NE(browser, nullptr);
    EXPECT_TRUE(browser->toPlainText().contains(QStringLiteral("Machine help")));
}

TEST_F(HelpViewerTest, AFileTheMachineLacksIsReportedByItsWindowsName) {
    TestMachine machine;
    HelpViewer::ShowContents(QStringLiteral("C:\\WINDOWS\\valdrine.HLP"));
    QTextBrowser* browser = ShownBrowser();
    ASSERT_NE(browser, nullptr);
    EXPECT_TRUE(browser->toPlainText().contains(QStringLiteral("Cannot find the help file C:\\WINDOWS\\valdrine.HLP.")));
}

// The program's own help file, as built into the program.
class HelpViewerFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        QFile file(QStringLiteral(":/valdrine.HLP"));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        doc.setHtml(QString::fromUtf8(file.readAll()));
        for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
            for (auto it = b.begin(); !it.atEnd(); ++it) {
                const QTextCharFormat f = it.fragment().charFormat();
                for (const QString& name : f.anchorNames()) anchors.insert(name);
                if (f.isAnchor() && !f.anchorHref().isEmpty()) links.push_back({it.fragment().text(), f.anchorHref()});
            }
    }
    // The heading that holds the anchor, "" when there is none.
    QString HeadingAt(const QString& anchor) const {
        const int at = AnchorPosition(doc, anchor);
        if (at < 0) return QString();
        const QTextBlock block = doc.findBlock(at);
        return block.blockFormat().headingLevel() > 0 ? block.text().trimmed() : QString();
    }
    QTextDocument doc;
    std::set<QString> anchors;
    std::vector<std::pair<QString, QString>> links;  // text, href
};

TEST_F(HelpViewerFileTest, HasTheContentsAnchor) {
    EXPECT_EQ(anchors.count(QStringLiteral("contents")), 1u);
    EXPECT_FALSE(HeadingAt(QStringLiteral("contents")).isEmpty());
}

TEST_F(HelpViewerFileTest, EveryLinkLeadsToAnAnchorInTheFile) {
    ASSERT_FALSE(links.empty());
    for (const auto& [text, href] : links) {
        ASSERT_TRUE(href.startsWith('#')) << href.toStdString();
        EXPECT_EQ(anchors.count(href.mid(1)), 1u) << text.toStdString() << " -> " << href.toStdString();
    }
}

class HelpViewerButtonTopicTest : public HelpViewerFileTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(HelpViewerButtonTopicTest, ContentsLeadToATopicHeadedWithTheCaption) {
    const QString caption = QString::fromLatin1(GetParam());
    QString target;
    for (const auto& [text, href] : links)
        if (text == caption && target.isEmpty()) target = href.mid(1);
    ASSERT_FALSE(target.isEmpty()) << "no link named " << GetParam();
    EXPECT_EQ(HeadingAt(target), caption);
}

INSTANTIATE_TEST_SUITE_P(HelpViewerButtons, HelpViewerButtonTopicTest,
                         ::testing::Values("PAINT SELECTED", "UPDATE START MENU", "NEW CATEGORY", "RENAME CATEGORY",
                                           "MOVE CATEGORY", "CLONE CATEGORY", "DELETE CATEGORY", "OOPS UNDO",
                                           "SEE CONTENTS", "VISIT LIBRARY", "CAPTURE CURRENT", "HELP CONTENTS",
                                           "BYE BYE"),
                         [](const auto& info) {
                             std::string name = info.param;
                             for (char& c : name)
                                 if (c == ' ') c = '_';
                             return name;
                         });

struct Mention {
    const char* name;
    const char* text;
};

class HelpViewerMentionTest : public HelpViewerFileTest, public ::testing::WithParamInterface<Mention> {};

TEST_P(HelpViewerMentionTest, TellsTheUser) {
    EXPECT_TRUE(doc.toPlainText().contains(QString::fromLatin1(GetParam().text))) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    HelpViewerTopics, HelpViewerMentionTest,
    ::testing::Values(Mention{"CopyKey", "Ctrl+C"}, Mention{"DeleteKey", "Del"}, Mention{"MoveKey", "Ctrl+M"},
                      Mention{"NewKey", "Ctrl+Ins"}, Mention{"RenameKey", "Ctrl+R"}, Mention{"UndoKey", "Ctrl+U"},
                      Mention{"ContentsKey", "F1"}, Mention{"About", "About ORV"}, Mention{"QuerySave", "Query Save"},
                      Mention{"ShowLogo", "Show Logo"},
                      Mention{"UndoStore", "C:\\WINDOWS\\VALDRINE\\Tmp\\UNDO\\desk"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
