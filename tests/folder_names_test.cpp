// Reading a folder through the count and the name list, as the program does.
#include "toolkit/folder_names.h"
#include "tests/test_machine.h"

#include <QFile>
#include <gtest/gtest.h>

#include <unistd.h>

using Names = std::vector<QString>;

namespace {

class FolderNamesTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* d : {"X/beta", "X/Alpha", "X/gamma", "X/gamma/deeper", "Files"}) machine.MakeDir(QStringLiteral("drive_c/") + d);
        for (const char* f : {"X/readme.txt", "Files/b.lnk", "Files/A.LNK", "Files/notes", "Files/ lead", "Files/trail "})
            machine.WriteFile(QStringLiteral("drive_c/") + f, "data");
        ASSERT_EQ(symlink("beta", Host("drive_c/X/link-to-beta").constData()), 0);
        ASSERT_EQ(symlink("nowhere", Host("drive_c/Files/dangling").constData()), 0);
    }
    QByteArray Host(const QString& relative) const { return QFile::encodeName(machine.Host(relative)); }
    TestMachine machine;
};

TEST_F(FolderNamesTest, SubfolderNames) {
    struct Case {
        const char* name;
        QString folder;
        Names names;
    };
    const Case cases[] = {
        {"SortedWithoutTheReferenceEntryOrLinks", "C:\\X", {"Alpha", "beta", "gamma"}},
        {"OtherCaseAndTrailingBackslash", "c:\\x\\GAMMA\\", {"deeper"}},
        {"OnlyFiles", "C:\\Files", {}},
        {"Empty", "C:\\X\\Alpha", {}},
        {"Missing", "C:\\nope", {}},
        {"AFile", "C:\\X\\readme.txt", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(SubfolderNames(c.folder), c.names);
    }
}

TEST_F(FolderNamesTest, FileNames) {
    struct Case {
        const char* name;
        QString pattern;
        Names names;
    };
    const Case cases[] = {
        {"AllWithLinksAndSpacesWhole", "C:\\Files\\*.*", {" lead", "A.LNK", "b.lnk", "dangling", "notes", QStringLiteral("trail\uF020")}},
        {"ExtensionAnyCase", "C:\\FILES\\*.lnk", {"A.LNK", "b.lnk"}},
        {"LinksToFoldersAreFiles", "C:\\X\\*.*", {"link-to-beta", "readme.txt"}},
        {"NoMatch", "C:\\Files\\*.exe", {}},
        {"MissingFolder", "C:\\nope\\*.*", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FileNames(c.pattern), c.names);
    }
}

TEST_F(FolderNamesTest, Exists) {
    struct Case {
        const char* name;
        QString path;
        bool present;
    };
    const Case cases[] = {
        {"Folder", "C:\\X\\beta", true},
        {"FolderOtherCase", "c:\\x\\BETA", true},
        {"File", "C:\\X\\README.TXT", true},
        {"LinkToAFolder", "C:\\X\\link-to-beta", true},
        {"DanglingLink", "C:\\Files\\dangling", true},
        {"NameWithLeadingSpace", "C:\\Files\\ lead", true},
        {"Missing", "C:\\X\\nope", false},
        {"MissingParent", "C:\\nope\\beta", false},
        {"UnknownDrive", "Q:\\X", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Exists(c.path), c.present);
    }
}

}  // namespace
