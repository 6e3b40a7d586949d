// Host names and Windows names: the map both ways, and odd host files reached by their Windows names.
#include "platform/file_services.h"
#include "platform/folder_listing.h"
#include "platform/name_map.h"
#include "tests/test_machine.h"

#include <QFile>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <ostream>
#include <random>


namespace {

QString U(std::initializer_list<char16_t> units) { return QString(reinterpret_cast<const QChar*>(units.begin()), qsizetype(units.size())); }

struct MapCase {
    const char* name;
    QByteArray host;
    QString win;
};
void PrintTo(const MapCase& c, std::ostream* os) { *os << c.name; }

class NameMapTest : public ::testing::TestWithParam<MapCase> {};

TEST_P(NameMapTest, HostToWindows) {
    const MapCase& c = GetParam();
    EXPECT_EQ(platform::HostToWinName(c.host), c.win) << c.host.toHex().toStdString();
}

TEST_P(NameMapTest, WindowsToHost) {
    const MapCase& c = GetParam();
    EXPECT_EQ(platform::WinToHostName(c.win), c.host) << c.host.toHex().toStdString();
}

TEST_P(NameMapTest, HostRoundTrip) {
    const MapCase& c = GetParam();
    EXPECT_EQ(platform::WinToHostName(platform::HostToWinName(c.host)), c.host) << c.host.toHex().toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Names, NameMapTest,
    ::testing::Values(
        MapCase{"Plain", "readme.txt", "readme.txt"},
        MapCase{"InnerDotsAndSpacesKept", "a b.c d.txt", "a b.c d.txt"},
        MapCase{"LeadingSpaceKept", " lead", " lead"},
        MapCase{"LeadingDotKept", ".profile", ".profile"},
        MapCase{"Colon", "a:b", U({u'a', 0xF03A, u'b'})},
        MapCase{"Backslash", "a\\b", U({u'a', 0xF05C, u'b'})},
        MapCase{"Star", "*", U({0xF02A})},
        MapCase{"Question", "why?", U({u'w', u'h', u'y', 0xF03F})},
        MapCase{"Quote", "\"q\"", U({0xF022, u'q', 0xF022})},
        MapCase{"LessGreaterPipe", "<|>", U({0xF03C, 0xF07C, 0xF03E})},
        MapCase{"ControlCodes", "\x01x\x1f", U({0xF001, u'x', 0xF01F})},
        MapCase{"Tab", "a\tb", U({u'a', 0xF009, u'b'})},
        MapCase{"TrailingDot", "end.", U({u'e', u'n', u'd', 0xF02E})},
        MapCase{"TrailingSpace", "end ", U({u'e', u'n', u'd', 0xF020})},
        MapCase{"TrailingRunOfDotsAndSpaces", "a. .", U({u'a', 0xF02E, 0xF020, 0xF02E})},
        MapCase{"OnlyDots", "...", U({0xF02E, 0xF02E, 0xF02E})},
        MapCase{"OnlySpace", " ", U({0xF020})},
        MapCase{"InvalidByte", "\xff.lnk", U({0xDCFF, u'.', u'l', u'n', u'k'})},
        MapCase{"LoneContinuationByte", "a\x80", U({u'a', 0xDC80})},
        MapCase{"TruncatedSequence", "x\xc3", U({u'x', 0xDCC3})},
        MapCase{"OverlongSlash", "\xc0\xaf", U({0xDCC0, 0xDCAF})},
        MapCase{"EncodedSurrogate", "\xed\xa0\x80", U({0xDCED, 0xDCA0, 0xDC80})},
        MapCase{"BeyondUnicode", "\xf4\x90\x80\x80", U({0xDCF4, 0xDC90, 0xDC80, 0xDC80})},
        MapCase{"Utf8Letters", "Gr\xc3\xbc\xc3\x9f" "e", QStringLiteral("Gr\u00fc\u00dfe")},
        MapCase{"Utf8OutsideTheBasicPlane", "\xf0\x9f\x98\x80.txt", U({0xD83D, 0xDE00, u'.', u't', u'x', u't'})},
        // A host name that already holds a character of the mapping range is escaped byte by byte, so
        // it cannot be mistaken for a mapped colon on the way back.
        MapCase{"RealF03A", "a\xef\x80\xba" "b", U({u'a', 0xDCEF, 0xDC80, 0xDCBA, u'b'})},
        MapCase{"RealF0FF", "\xef\x83\xbf", U({0xDCEF, 0xDC83, 0xDCBF})},
        MapCase{"JustAboveTheRangeKept", "\xef\x84\x80", U({0xF100})},
        MapCase{"InvalidByteBeforeTrailingDot", "\xfe.", U({0xDCFE, 0xF02E})}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(NameMapRoundTripTest, EveryHostNameComesBackUnchanged) {
    // Random names over the bytes a host name can hold, weighted to the awkward ones.
    std::mt19937 random(20240601);
    const QByteArray awkward = QByteArray("\\:*?\"<>|. \x01\x1f\x7f" "a") + "\x80\xbf\xc0\xc3\xed\xef\xf0\xf4\xff\x83\x80\xba";
    for (int round = 0; round < 20000; ++round) {
        QByteArray host;
        const int length = 1 + int(random() % 12);
        for (int i = 0; i < length; ++i) {
            char b = random() % 2 ? awkward[int(random() % awkward.size())] : char(1 + random() % 255);
            if (b == '/') b = 'x';
            host.append(b);
        }
        const QString win = platform::HostToWinName(host);
        ASSERT_EQ(platform::WinToHostName(win), host) << host.toHex().toStdString();
        for (QChar c : win) {
            const char16_t u = c.unicode();
            ASSERT_FALSE(u < 32 || u == u'\\' || u == u'/' || u == u':' || u == u'*' || u == u'?' || u == u'"' ||
                         u == u'<' || u == u'>' || u == u'|')
                << "a Windows name cannot hold U+" << std::hex << int(u) << " (host " << host.toHex().toStdString() << ")";
        }
        ASSERT_FALSE(win.endsWith(u'.') || win.endsWith(u' ')) << host.toHex().toStdString();
    }
}

// Host files whose names a Windows name cannot spell as they are, reached through the services.
struct OddCase {
    const char* name;
    QByteArray host;
};
void PrintTo(const OddCase& c, std::ostream* os) { *os << c.name; }

class OddHostNameTest : public ::testing::TestWithParam<OddCase> {
protected:
    QByteArray C(const QByteArray& below) const { return QFile::encodeName(machine.Host("drive_c/")) + below; }
    void Create(const QByteArray& below, const QByteArray& content) const {
        const int fd = open(C(below).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ASSERT_GE(fd, 0) << below.toHex().toStdString();
        ASSERT_EQ(write(fd, content.constData(), size_t(content.size())), content.size());
        close(fd);
    }
    QByteArray Read(const QByteArray& below) const {
        const int fd = open(C(below).constData(), O_RDONLY);
        if (fd < 0) return "<missing>";
        char buf[256];
        const ssize_t n = read(fd, buf, sizeof buf);
        close(fd);
        return QByteArray(buf, int(std::max<ssize_t>(n, 0)));
    }
    bool Present(const QByteArray& below) const {
        struct stat st;
        return lstat(C(below).constData(), &st) == 0;
    }
    TestMachine machine;
};

TEST_P(OddHostNameTest, ListedCopiedAndKilledByItsWindowsName) {
    const QByteArray host = GetParam().host;
    machine.MakeDir("drive_c/Odd");
    machine.MakeDir("drive_c/Copy");
    Create("Odd/" + host, "odd content");
    const QString win = platform::HostToWinName(host);

    const platform::FolderListing listing = platform::ListFolder(QStringLiteral("C:\\Odd\\*.*"), platform::Want::Files);
    ASSERT_EQ(listing.error, 0);
    ASSERT_EQ(listing.names, std::vector<QString>{win});
    EXPECT_EQ(platform::Dir(QStringLiteral("C:\\Odd\\") + win), win);

    platform::FileCopy(QStringLiteral("C:\\Odd\\") + win, QStringLiteral("C:\\Copy\\") + win);
    EXPECT_EQ(Read("Copy/" + host), "odd content");

    platform::Kill(QStringLiteral("C:\\Odd\\") + win);
    EXPECT_FALSE(Present("Odd/" + host));
    platform::Kill(QStringLiteral("C:\\Copy\\*.*"));
    EXPECT_FALSE(Present("Copy/" + host));
}

INSTANTIATE_TEST_SUITE_P(Names, OddHostNameTest,
                         ::testing::Values(OddCase{"Backslash", "a\\b"}, OddCase{"Colon", "a:b.txt"},
                                           OddCase{"TrailingDot", "end."}, OddCase{"TrailingSpace", "end "},
                                           OddCase{"QuestionAndStar", "what?*"}, OddCase{"InvalidUtf8", "\xff\xfe.lnk"},
                                           OddCase{"RealF03A", "a\xef\x80\xba" "b"},
                                           OddCase{"ControlCode", "bell\x07"}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
