// The text helpers every caller of the name lists and of paths uses.
#include "platform/vb_error.h"
#include "tests/printers.h"
#include "toolkit/path_helpers.h"

#include <gtest/gtest.h>

#include <ostream>


namespace {

QString WithNuls(const char* text, int length) { return QString::fromLatin1(text, length); }

struct TrimCase {
    const char* name;
    QString buffer;
    QString text;
};
void PrintTo(const TrimCase& c, std::ostream* os) { *os << c.name; }

class TrimAtNulTest : public ::testing::TestWithParam<TrimCase> {};

TEST_P(TrimAtNulTest, KeepsTheTextBeforeTheFirstNul) {
    EXPECT_EQ(TrimAtNul(GetParam().buffer), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Buffers, TrimAtNulTest,
    ::testing::Values(TrimCase{"Empty", "", ""},
                      TrimCase{"FirstCharacterNul", WithNuls("\0abc", 4), ""},
                      TrimCase{"AllNul", QString(260, QChar(0)), ""},
                      TrimCase{"NulThenMore", WithNuls("abc\0x", 5), "abc"},
                      TrimCase{"SeveralNuls", WithNuls("abc\0\0x\0", 7), "abc"},
                      TrimCase{"NoNul", "abc", "abc"},
                      TrimCase{"SpacesKeptWithoutNul", "  abc  ", "  abc  "},
                      TrimCase{"SpacesKeptBeforeNul", WithNuls(" abc \0\0", 7), " abc "},
                      TrimCase{"NameListEntry", QStringLiteral("Accessories") + QString(249, QChar(0)), "Accessories"}),
    [](const auto& info) { return std::string(info.param.name); });

struct SplitCase {
    const char* name;
    QString path;
    QString fileName;
    QString parent;
    bool noParent = false;  // SplitPath raises error 5 for the parent
};
void PrintTo(const SplitCase& c, std::ostream* os) { *os << c.name; }

class SplitPathTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitPathTest, SplitsAtTheLastBackslash) {
    const SplitCase& c = GetParam();
    EXPECT_EQ(SplitPath(c.path, PathPart::Name), c.fileName);
    if (c.noParent) {
        try {
            SplitPath(c.path, PathPart::Parent);
            ADD_FAILURE() << "no error raised";
        } catch (const platform::VbError& e) {
            EXPECT_EQ(e.Number(), 5);
        }
    } else {
        EXPECT_EQ(SplitPath(c.path, PathPart::Parent), c.parent);
    }
}

INSTANTIATE_TEST_SUITE_P(Paths, SplitPathTest,
                         ::testing::Values(SplitCase{"Nested", "C:\\A\\B", "B", "C:\\A"},
                                           SplitCase{"TrailingBackslash", "C:\\A\\", "", "C:\\A"},
                                           SplitCase{"BelowTheRoot", "C:\\A", "A", "C:"},
                                           SplitCase{"SpacesKept", "C:\\Start Menu\\ My Group ", " My Group ", "C:\\Start Menu"},
                                           SplitCase{"NoBackslash", "abc", "abc", "", true},
                                           SplitCase{"Empty", "", "", "", true}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
