// One host folder read for a Windows pattern.
#include "platform/folder_listing.h"
#include "platform/file_services.h"
#include "tests/test_machine.h"

#include <QFile>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

using platform::ListFolder;
using platform::Want;
using Names = std::vector<QString>;

namespace {

TEST(SortNamesTest, WithoutRegardToCaseThenExactly) {
    struct Case {
        const char* name;
        Names in;
        Names out;
    };
    const Case cases[] = {
        {"IgnoresCase", {"b", "C", "a"}, {"a", "b", "C"}},
        {"CaseOnlyDifferencesInAFixedOrder", {"a", "A", "b"}, {"A", "a", "b"}},
        {"CaseOnlyDifferencesOtherInput", {"A", "b", "a"}, {"A", "a", "b"}},
        {"NonAscii", {QStringLiteral("\u00e9"), QStringLiteral("\u00c9a"), "e"}, {"e", QStringLiteral("\u00e9"), QStringLiteral("\u00c9a")}},
        {"Empty", {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Names names = c.in;
        platform::SortNames(names);
        EXPECT_EQ(names, c.out);
    }
}

class FolderListingTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Created out of order: the listing sorts.
        for (const char* f : {"zeta.txt", "Alpha.LNK", "beta.lnk", "README", "my.old.lnk", "lnk", "x.lnkx"})
            machine.WriteFile(QStringLiteral("drive_c/X/") + f, "data");
        for (const char* d : {"Sub2", "sub1", "Other.lnk"}) machine.MakeDir(QStringLiteral("drive_c/X/") + d);
        ASSERT_EQ(symlink("Sub2", Host("drive_c/X/LinkToFolder").constData()), 0);
        ASSERT_EQ(symlink("gone", Host("drive_c/X/dangling").constData()), 0);
    }
    QByteArray Host(const QString& relative) const { return QFile::encodeName(machine.Host(relative)); }
    TestMachine machine;
};

TEST_F(FolderListingTest, PatternsAndKinds) {
    struct Case {
        const char* name;
        QString pattern;
        Want want;
        Names names;
    };
    const Case cases[] = {
        {"AllFilesLinksIncluded", "C:\\X\\*.*", Want::Files,
         {"Alpha.LNK", "beta.lnk", "dangling", "LinkToFolder", "lnk", "my.old.lnk", "README", "x.lnkx", "zeta.txt"}},
        {"AllFolders", "C:\\X\\*.*", Want::Folders, {"Other.lnk", "sub1", "Sub2"}},
        {"StarAlone", "c:\\x\\*", Want::Folders, {"Other.lnk", "sub1", "Sub2"}},
        {"ExtensionAnyCase", "C:\\X\\*.lnk", Want::Files, {"Alpha.LNK", "beta.lnk", "my.old.lnk"}},
        {"ExtensionUpperPattern", "C:\\X\\*.LNK", Want::Files, {"Alpha.LNK", "beta.lnk", "my.old.lnk"}},
        {"FolderNamedLikeAFileIsAFolder", "C:\\X\\*.lnk", Want::Folders, {"Other.lnk"}},
        {"OneName", "C:\\X\\readme", Want::Files, {"README"}},
        {"QuestionMark", "C:\\X\\sub?", Want::Folders, {"sub1", "Sub2"}},
        {"TrailingSeparatorIsEverything", "C:\\X\\", Want::Files,
         {"Alpha.LNK", "beta.lnk", "dangling", "LinkToFolder", "lnk", "my.old.lnk", "README", "x.lnkx", "zeta.txt"}},
        {"NothingMatches", "C:\\X\\*.exe", Want::Files, {}},
        {"EmptyFolder", "C:\\X\\sub1\\*.*", Want::Files, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const platform::FolderListing listing = ListFolder(c.pattern, c.want);
        EXPECT_EQ(listing.error, 0);
        EXPECT_EQ(listing.names, c.names);
    }
}

TEST_F(FolderListingTest, ALinkIsNeverFollowed) {
    machine.MakeDir("drive_c/X/Sub2/inside");
    machine.WriteFile("drive_c/X/Sub2/inside.txt", "x");
    // The link's target has a folder and a file; listing the link's folder shows only the link.
    const platform::FolderListing folders = ListFolder("C:\\X\\*.*", Want::Folders);
    EXPECT_EQ(std::count(folders.names.begin(), folders.names.end(), QStringLiteral("LinkToFolder")), 0);
    EXPECT_EQ(std::count(folders.names.begin(), folders.names.end(), QStringLiteral("inside")), 0);
}

TEST_F(FolderListingTest, HostNamesComeMapped) {
    machine.WriteFile("drive_c/Odd/a:b", "");
    machine.WriteFile("drive_c/Odd/end.", "");
    EXPECT_EQ(ListFolder("C:\\Odd\\*.*", Want::Files).names, (Names{QStringLiteral("a\uF03Ab"), QStringLiteral("end\uF02E")}));
}

TEST_F(FolderListingTest, AFolderThatCannotBeReadGivesItsError) {
    struct Case {
        const char* name;
        QString pattern;
        int error;
    };
    const Case cases[] = {
        {"MissingFolder", "C:\\nope\\*.*", ENOENT},
        {"MissingDrive", "Q:\\*.*", ENOENT},
        {"AFileIsNoFolder", "C:\\X\\zeta.txt\\*.*", ENOTDIR},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const platform::FolderListing listing = ListFolder(c.pattern, Want::Files);
        EXPECT_EQ(listing.error, c.error);
        EXPECT_TRUE(listing.names.empty());
    }
}

}  // namespace

// A folder left alone for a while has its read kept; every later change to it, by the host or
// through the file services, is in the next listing all the same.
TEST(FolderListingKept, ListingsFollowChanges) {
    TestMachine m;
    m.WriteFile("drive_c/Kept/a.lnk", "a");
    const QByteArray folder = m.Prefix() + "/drive_c/Kept";
    auto age = [&] {
        const struct timespec old[2] = {{time(nullptr) - 60, 0}, {time(nullptr) - 60, 0}};
        ASSERT_EQ(utimensat(AT_FDCWD, folder.constData(), old, 0), 0);
    };
    auto files = [] { return platform::ListFolder(QStringLiteral("C:\\Kept\\*.*"), platform::Want::Files).names; };
    age();
    EXPECT_EQ(files(), std::vector<QString>{"a.lnk"});
    m.WriteFile("drive_c/Kept/b.lnk", "b");
    EXPECT_EQ(files(), (std::vector<QString>{"a.lnk", "b.lnk"}));
    age();
    EXPECT_EQ(files(), (std::vector<QString>{"a.lnk", "b.lnk"}));
    platform::Kill(QStringLiteral("C:\\Kept\\a.lnk"));
    age();  // the same time as before the change: only the services' word tells
    EXPECT_EQ(files(), std::vector<QString>{"b.lnk"});
    platform::FileCopy(QStringLiteral("C:\\Kept\\b.lnk"), QStringLiteral("C:\\Kept\\c.lnk"));
    age();
    EXPECT_EQ(files(), (std::vector<QString>{"b.lnk", "c.lnk"}));
}
