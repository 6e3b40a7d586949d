// The folder-listing library: counts, name lists of 260-character buffers, the version calls.
#include "platform/file_services.h"
#include "platform/machine.h"
#include "platform/qpro.h"
#include "platform/registry.h"
#include "tests/test_machine.h"

#include <QFile>
#include <gtest/gtest.h>

#include <unistd.h>

using platform::NameList;
using Names = std::vector<QString>;

namespace {

// A name as the library delivers it: the name, then NUL characters up to 260.
QString Buffer(const QString& name) { return name + QString(platform::kNameBufferLength - name.size(), QChar(0)); }

Names Buffers(const Names& names) {
    Names out;
    for (const QString& n : names) out.push_back(Buffer(n));
    return out;
}

using Reader = void (*)(const QString&, platform::ReferenceBlock&);

// Lists pattern into list, starting at entry first, through the reference block as callers do.
void ReadInto(Reader read, const QString& pattern, NameList& list, int first = 1) {
    platform::IndexList index{first};
    platform::ReferenceBlock reference;
    platform::fnAV(reference, list, index);
    read(pattern, reference);
}

Names Entries(const NameList& list) {
    Names out;
    for (int i = 1; i <= list.Count(); ++i) out.push_back(list(i));
    return out;
}

class QproTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* d : {"X/beta", "X/Alpha", "X/gamma", "X/Empty.lnk"}) machine.MakeDir(QStringLiteral("drive_c/") + d);
        for (const char* f : {"X/b.lnk", "X/A.LNK", "X/README", "X/notes.txt", "X/Empty.lnk/keep.txt"})
            machine.WriteFile(QStringLiteral("drive_c/") + f, "data");
        ASSERT_EQ(symlink("beta", QFile::encodeName(machine.Host("drive_c/X/c.lnk")).constData()), 0);
    }
    TestMachine machine;
};

TEST_F(QproTest, FoldersComeAfterTheReferenceEntrySorted) {
    const int n = platform::DCount("C:\\X\\*.*");
    ASSERT_EQ(n, 5);
    EXPECT_EQ(platform::DOSError(), 0);
    NameList list(n);
    ReadInto(platform::ReadDirT, "C:\\X\\*.*", list);
    EXPECT_EQ(Entries(list), Buffers({".", "Alpha", "beta", "Empty.lnk", "gamma"}));
}

TEST_F(QproTest, CountsAndListsAgree) {
    struct Case {
        const char* name;
        QString pattern;
        bool folders;
        Names names;  // folders: without the reference entry
    };
    const Case cases[] = {
        {"AllFilesWithLinks", "C:\\X\\*.*", false, {"A.LNK", "b.lnk", "c.lnk", "notes.txt", "README"}},
        {"LinksAnyCase", "C:\\X\\*.lnk", false, {"A.LNK", "b.lnk", "c.lnk"}},
        {"NameWithoutDot", "c:\\x\\readme.*", false, {"README"}},
        {"NoFileMatches", "C:\\X\\*.exe", false, {}},
        {"FoldersMatchingAPattern", "C:\\X\\*.lnk", true, {"Empty.lnk"}},
        {"NoSubfolders", "C:\\X\\Alpha\\*.*", true, {}},
        {"OtherCaseFolder", "c:\\X\\EMPTY.LNK\\*.*", false, {"keep.txt"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int n = c.folders ? platform::DCount(c.pattern) : platform::FCount(c.pattern);
        EXPECT_EQ(platform::DOSError(), 0);
        Names expected = c.names;
        if (c.folders) expected.insert(expected.begin(), QStringLiteral("."));
        ASSERT_EQ(n, int(expected.size()));
        NameList list(n);
        ReadInto(c.folders ? platform::ReadDirT : platform::ReadFileT, c.pattern, list);
        EXPECT_EQ(Entries(list), Buffers(expected));
    }
}

TEST_F(QproTest, AFolderThatCannotBeReadCountsZero) {
    for (const char* pattern : {"C:\\nope\\*.*", "C:\\X\\README\\*.*", "Q:\\*.*"}) {
        SCOPED_TRACE(pattern);
        EXPECT_EQ(platform::DCount(pattern), 0);
        EXPECT_NE(platform::DOSError(), 0);
        EXPECT_EQ(platform::FCount(pattern), 0);
        EXPECT_NE(platform::DOSError(), 0);
        EXPECT_EQ(platform::FCount("C:\\X\\*.*"), 5);
        EXPECT_EQ(platform::DOSError(), 0) << "a good count clears the error";
    }
}

TEST_F(QproTest, ACountSeesTheDiskAsItIsNow) {
    // Changed by someone else than this program's file services, between two counts of one pattern.
    ASSERT_EQ(platform::FCount("C:\\X\\*.*"), 5);
    machine.WriteFile("drive_c/X/new.txt", "");
    EXPECT_EQ(platform::FCount("C:\\X\\*.*"), 6);
    ASSERT_EQ(platform::DCount("C:\\X\\*.*"), 5);
    machine.MakeDir("drive_c/X/newdir");
    EXPECT_EQ(platform::DCount("C:\\X\\*.*"), 6);
    NameList list(6);
    ReadInto(platform::ReadDirT, "C:\\X\\*.*", list);
    EXPECT_EQ(Entries(list), Buffers({".", "Alpha", "beta", "Empty.lnk", "gamma", "newdir"}));
    // The same pattern on another machine.
    TestMachine other;
    other.WriteFile("drive_c/X/only.txt", "");
    EXPECT_EQ(platform::FCount("C:\\X\\*.*"), 1);
    EXPECT_EQ(platform::DCount("C:\\X\\*.*"), 1);
}

TEST_F(QproTest, TheListFollowingACountDeliversWhatWasCounted) {
    const int n = platform::FCount("C:\\X\\*.lnk");
    ASSERT_EQ(n, 3);
    machine.WriteFile("drive_c/X/0first.lnk", "");
    NameList list(n);
    ReadInto(platform::ReadFileT, "C:\\X\\*.lnk", list);
    EXPECT_EQ(Entries(list), Buffers({"A.LNK", "b.lnk", "c.lnk"}));
}

TEST_F(QproTest, EntriesWithoutANameAreLeftAsTheyWere) {
    const int n = platform::FCount("C:\\X\\*.lnk");
    ASSERT_EQ(n, 3);
    platform::Kill("C:\\X\\b.lnk");  // the folder shrinks between the count and the list
    NameList list(n + 1);
    list(4) = QStringLiteral("mine");
    ReadInto(platform::ReadFileT, "C:\\X\\*.lnk", list);
    EXPECT_EQ(Entries(list), (Names{Buffer("A.LNK"), Buffer("c.lnk"), Buffer(""), QStringLiteral("mine")}));
}

TEST_F(QproTest, TheReferenceBlockChoosesTheFirstEntry) {
    NameList files(4);
    ReadInto(platform::ReadFileT, "C:\\X\\*.lnk", files, 3);
    EXPECT_EQ(Entries(files), Buffers({"", "", "A.LNK", "b.lnk"})) << "stops at the end of the list";
    NameList folders(3);
    ReadInto(platform::ReadDirT, "C:\\X\\*.*", folders, 2);
    EXPECT_EQ(Entries(folders), Buffers({"", ".", "Alpha"}));
}

TEST_F(QproTest, AnEntryTheCallerShortenedIsWrittenWhole) {
    NameList list(2);
    list(1) = QStringLiteral("x");
    list(2) = QString();
    ReadInto(platform::ReadFileT, "C:\\X\\*.lnk", list);
    EXPECT_EQ(Entries(list), Buffers({"A.LNK", "b.lnk"}));
}

TEST_F(QproTest, WinDir) {
    const QString dir = platform::WinDir();
    EXPECT_EQ(dir.size(), 144);
    EXPECT_EQ(dir.left(dir.indexOf(QChar(0))), "C:\\WINDOWS");
    EXPECT_EQ(dir.mid(10), QString(134, QChar(0)));
}

TEST_F(QproTest, WinVerReadsTheMachineVersion) {
    const QString key = QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion");
    EXPECT_EQ(platform::WinVer(), 400) << "a new machine is 4.00.950";
    struct Case {
        const char* name;
        QString text;
        int version;
    };
    const Case cases[] = {
        {"Windows98", "4.10.1998", 410},
        {"MajorOnly", "5", 500},
        {"NotANumber", "four", 0},
        {"BadMinor", "4.x", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        platform::RegistrySetString(platform::HKEY_LOCAL_MACHINE, key, QStringLiteral("VersionNumber"), c.text);
        EXPECT_EQ(platform::WinVer(), c.version);
    }
    platform::CloseMachine();
    EXPECT_EQ(platform::WinVer(), 0) << "no machine, no version";
    machine.Reopen();
}

}  // namespace
