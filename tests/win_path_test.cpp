// Windows path text taken apart without touching the disk.
#include "platform/win_path.h"
#include "tests/printers.h"

#include <gtest/gtest.h>

#include <ostream>


using platform::FolderAndName;
using platform::WinPath;

namespace {

struct ParseCase {
    const char* name;
    QString text;
    QChar drive;  // null: the text names no drive
    bool rooted;
    QStringList parts;
};
void PrintTo(const ParseCase& c, std::ostream* os) { *os << c.name; }

std::string CaseName(const char* name) { return name; }

class ParseWinPathTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseWinPathTest, GivesDriveRootAndParts) {
    const ParseCase& c = GetParam();
    const WinPath p = platform::ParseWinPath(c.text);
    EXPECT_EQ(p.drive, c.drive) << c.text.toStdString();
    EXPECT_EQ(p.rooted, c.rooted) << c.text.toStdString();
    EXPECT_EQ(p.parts, c.parts) << c.text.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseWinPathTest,
    ::testing::Values(
        ParseCase{"Backslashes", "C:\\A\\B", u'C', true, {"A", "B"}},
        ParseCase{"SlashesAndLowerDrive", "c:/a/b", u'C', true, {"a", "b"}},
        ParseCase{"MixedAndDoubledSeparators", "C:\\A//B\\\\C", u'C', true, {"A", "B", "C"}},
        ParseCase{"HostRootDrive", "Z:\\home\\ann", u'Z', true, {"home", "ann"}},
        ParseCase{"DriveRootOnly", "C:\\", u'C', true, {}},
        ParseCase{"DriveWithoutRoot", "C:", u'C', false, {}},
        ParseCase{"DriveRelative", "d:A\\B", u'D', false, {"A", "B"}},
        ParseCase{"RootOfCurrentDrive", "\\A", QChar(), true, {"A"}},
        ParseCase{"RelativeToCurrentFolder", "A\\B", QChar(), false, {"A", "B"}},
        ParseCase{"TrailingSeparator", "C:\\A\\", u'C', true, {"A"}},
        ParseCase{"DotAndDotDotFolded", "C:\\A\\.\\B\\..\\C", u'C', true, {"A", "C"}},
        ParseCase{"DotDotStopsAtTheRoot", "C:\\..\\..\\A", u'C', true, {"A"}},
        // A relative path cannot fold what lies above it: the ".." is kept for whoever resolves it
        // against the current folder.
        ParseCase{"RelativeLeadingDotDotKept", "..\\..\\A", QChar(), false, {"..", "..", "A"}},
        ParseCase{"RelativeDotDotFoldedInside", "A\\..\\..\\B", QChar(), false, {"..", "B"}},
        ParseCase{"DriveRelativeDotDotKept", "C:..\\A", u'C', false, {"..", "A"}},
        ParseCase{"DigitIsNoDrive", "1:\\A", QChar(), false, {"1:", "A"}},
        ParseCase{"NonAsciiLetterIsNoDrive", QStringLiteral("\u00e9:\\A"), QChar(), false, {QStringLiteral("\u00e9:"), "A"}},
        ParseCase{"SpacesInsideComponentsKept", "C:\\Start Menu\\ a b ", u'C', true, {"Start Menu", " a b "}},
        ParseCase{"Empty", "", QChar(), false, {}}),
    [](const auto& info) { return CaseName(info.param.name); });

struct SplitCase {
    const char* name;
    QString text;
    QString folder;
    QString last;
};
void PrintTo(const SplitCase& c, std::ostream* os) { *os << c.name; }

class SplitLastTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitLastTest, SplitsAtTheLastSeparator) {
    const SplitCase& c = GetParam();
    const FolderAndName s = platform::SplitLast(c.text);
    EXPECT_EQ(s.folder, c.folder) << c.text.toStdString();
    EXPECT_EQ(s.name, c.last) << c.text.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Texts, SplitLastTest,
    ::testing::Values(SplitCase{"FolderAndPattern", "C:\\X\\*.lnk", "C:\\X", "*.lnk"},
                      SplitCase{"DriveRootKeepsItsBackslash", "C:\\*.*", "C:\\", "*.*"},
                      SplitCase{"DriveWithoutRoot", "C:*.*", "C:", "*.*"},
                      SplitCase{"NoFolder", "*.*", "", "*.*"},
                      SplitCase{"RootOfCurrentDrive", "\\*.*", "\\", "*.*"},
                      SplitCase{"ForwardSlash", "C:/X/a.txt", "C:/X", "a.txt"},
                      SplitCase{"TrailingSeparator", "C:\\X\\", "C:\\X", ""},
                      SplitCase{"RelativeFolder", "ab\\c", "ab", "c"},
                      SplitCase{"DeepFolder", "C:\\A\\B\\C\\d e.txt", "C:\\A\\B\\C", "d e.txt"}),
    [](const auto& info) { return CaseName(info.param.name); });

TEST(JoinWinPathTest, JoinsUnderTheDriveRoot) {
    EXPECT_EQ(platform::JoinWinPath(u'C', {"WINDOWS", "Start Menu"}), "C:\\WINDOWS\\Start Menu");
    EXPECT_EQ(platform::JoinWinPath(u'Z', {}), "Z:\\");
}

struct RefusedCase {
    const char* name;
    QString text;
    bool refused;
};
void PrintTo(const RefusedCase& c, std::ostream* os) { *os << c.name; }

class IsRefusedWinNameTest : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(IsRefusedWinNameTest, RefusesWhatWindowsRefuses) {
    const RefusedCase& c = GetParam();
    EXPECT_EQ(platform::IsRefusedWinName(c.text), c.refused) << c.text.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Names, IsRefusedWinNameTest,
    ::testing::Values(RefusedCase{"Plain", "readme.txt", false},
                      RefusedCase{"InnerSpacesAndDots", "my file.v1.txt", false},
                      RefusedCase{"LeadingDot", ".profile", false},
                      RefusedCase{"LeadingSpace", " lead", false},
                      RefusedCase{"DeviceLikeButLonger", "console", false},
                      RefusedCase{"ComZeroIsNoDevice", "COM0", false},
                      RefusedCase{"NonAscii", QStringLiteral("Gr\u00fc\u00dfe"), false},
                      RefusedCase{"Empty", "", true},
                      RefusedCase{"Dot", ".", true},
                      RefusedCase{"DotDot", "..", true},
                      RefusedCase{"TrailingDot", "name.", true},
                      RefusedCase{"TrailingSpace", "name ", true},
                      RefusedCase{"Colon", "a:b", true},
                      RefusedCase{"Backslash", "a\\b", true},
                      RefusedCase{"Slash", "a/b", true},
                      RefusedCase{"Star", "a*b", true},
                      RefusedCase{"Question", "a?b", true},
                      RefusedCase{"Quote", "a\"b", true},
                      RefusedCase{"Less", "a<b", true},
                      RefusedCase{"Greater", "a>b", true},
                      RefusedCase{"Pipe", "a|b", true},
                      RefusedCase{"Tab", "a\tb", true},
                      RefusedCase{"Con", "con", true},
                      RefusedCase{"NulWithExtension", "NUL.txt", true},
                      RefusedCase{"Prn", "Prn", true},
                      RefusedCase{"Aux", "aux.dat.bak", true},
                      RefusedCase{"Clock", "CLOCK$", true},
                      RefusedCase{"Com1", "com1", true},
                      RefusedCase{"Lpt9WithExtension", "LPT9.doc", true}),
    [](const auto& info) { return CaseName(info.param.name); });

}  // namespace
