// DOS wildcards against Windows names.
#include "platform/wildcard.h"
#include "tests/printers.h"

#include <gtest/gtest.h>

#include <chrono>
#include <ostream>


namespace {

struct MatchCase {
    const char* name;
    QString pattern;
    QString text;
    bool matches;
};
void PrintTo(const MatchCase& c, std::ostream* os) { *os << c.name; }

class DosMatchTest : public ::testing::TestWithParam<MatchCase> {};

TEST_P(DosMatchTest, Matches) {
    const MatchCase& c = GetParam();
    EXPECT_EQ(platform::DosMatch(c.pattern, c.text), c.matches) << c.pattern.toStdString() << " / " << c.text.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, DosMatchTest,
    ::testing::Values(
        MatchCase{"StarDotStarNameWithDot", "*.*", "readme.txt", true},
        MatchCase{"StarDotStarNameWithoutDot", "*.*", "README", true},
        MatchCase{"StarDotStarLeadingDot", "*.*", ".profile", true},
        MatchCase{"StarAlone", "*", "a.b.c", true},
        MatchCase{"ExtensionAnyCase", "*.lnk", "Word.LNK", true},
        MatchCase{"ExtensionMixedPatternCase", "*.LnK", "word.lnk", true},
        MatchCase{"ExtensionAfterOtherDots", "*.lnk", "my.old.lnk", true},
        MatchCase{"ExtensionIsTheWholeTail", "*.lnk", "word.lnk.txt", false},
        MatchCase{"ExtensionLonger", "*.lnk", "word.lnkx", false},
        MatchCase{"ExtensionWithoutDot", "*.lnk", "lnk", false},
        MatchCase{"ExtensionOnlyName", "*.lnk", ".lnk", true},
        MatchCase{"StemStarMatchesNameWithoutDot", "read*.*", "readme", true},
        MatchCase{"StemStarOtherStem", "read*.*", "write.txt", false},
        MatchCase{"DotStarImpliesEmptyExtension", "x.*", "x", true},
        MatchCase{"DotStarNotAPrefix", "x.*", "xy", false},
        MatchCase{"QuestionOneCharacter", "a?c", "abc", true},
        MatchCase{"QuestionNeedsACharacter", "a?c", "ac", false},
        MatchCase{"QuestionNonAscii", "?", QStringLiteral("\u00e9"), true},
        MatchCase{"ExactAnyCase", "readme.txt", "README.TXT", true},
        MatchCase{"ExactDiffers", "readme.txt", "readme.txt2", false},
        MatchCase{"NonAsciiCase", QStringLiteral("\u00c4*"), QStringLiteral("\u00e4pfel"), true},
        MatchCase{"StarsBacktrack", "*ab", "aab", true},
        MatchCase{"SeveralStars", "*a*b*c", "xaybzc", true},
        MatchCase{"SeveralStarsMissing", "*a*b*c", "xaybz", false},
        MatchCase{"TrailingStarsMatchEmpty", "abc**", "abc", true},
        MatchCase{"EmptyNameWithPattern", "*.txt", "", false},
        MatchCase{"MappedCharacterIsLiteral", QStringLiteral("a\uF02Ab"), "axb", false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DosMatchTest, ManyStarsStayFast) {
    const QString name(4000, u'a');
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(platform::DosMatch(QStringLiteral("*a*a*a*a*a*a*a*a*b"), name));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
}

TEST(HasWildcardsTest, StarOrQuestion) {
    EXPECT_TRUE(platform::HasWildcards("C:\\X\\*.lnk"));
    EXPECT_TRUE(platform::HasWildcards("a?.txt"));
    EXPECT_FALSE(platform::HasWildcards("C:\\X\\a.txt"));
    EXPECT_FALSE(platform::HasWildcards(QStringLiteral("a\uF02A\uF03F")));
}

}  // namespace
