// The drive map and the look-up of Windows paths on the host.
#include "platform/drives.h"
#include "platform/file_services.h"
#include "platform/machine.h"
#include "tests/test_machine.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <ostream>


namespace {

// Puts the process into a folder for the test's lifetime.
class InFolder {
public:
    explicit InFolder(const QByteArray& folder) {
        old_ = QDir::currentPath();
        EXPECT_EQ(chdir(folder.constData()), 0) << folder.toStdString();
    }
    ~InFolder() { QDir::setCurrent(old_); }

private:
    QString old_;
};

void Link(const QByteArray& target, const QByteArray& link) {
    ASSERT_EQ(symlink(target.constData(), link.constData()), 0) << link.toStdString();
}

class DrivesTest : public ::testing::Test {
protected:
    void SetUp() override {
        machine.MakeDir("drive_c/Both");
        machine.WriteFile("drive_c/Both/a", "lower");
        machine.WriteFile("drive_c/Both/A", "upper");
        for (const char* name : {"xy", "XY", "xY"}) machine.WriteFile(QStringLiteral("drive_c/Both/") + name, "");
        machine.WriteFile(QStringLiteral("drive_c/\u00c4rger/x.txt"), "x");
        machine.WriteFile("drive_c/file.txt", "f");
        machine.WriteFile("drive_c/a:b", "colon");
        Link("nowhere", P() + "/drive_c/dangling");
        ASSERT_TRUE(other.isValid());
        QDir().mkpath(other.path() + "/Sub");
        Link(QFile::encodeName(other.path()), P() + "/dosdevices/d:");
    }
    QByteArray P() const { return machine.Prefix(); }
    QByteArray Other() const { return QFile::encodeName(other.path()); }

    TestMachine machine;
    QTemporaryDir other;
};

TEST_F(DrivesTest, DriveRoots) {
    Link("/nonexistent-valdrine-target", P() + "/dosdevices/e:");
    Link(P() + "/drive_c/file.txt", P() + "/dosdevices/f:");
    struct Case {
        const char* name;
        QChar drive;
        QByteArray root;
    };
    const Case cases[] = {
        {"C", u'C', P() + "/drive_c"},
        {"LowerC", u'c', P() + "/drive_c"},
        {"HostRoot", u'Z', "/"},
        {"LinkedD", u'D', P() + "/dosdevices/d:"},
        {"LowerLinkedD", u'd', P() + "/dosdevices/d:"},
        {"NoLinkG", u'G', ""},
        {"DanglingLinkE", u'E', ""},
        {"LinkToAFileF", u'F', ""},
        {"NotALetter", u'1', ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(platform::DriveRoot(c.drive), c.root);
    }
}

TEST_F(DrivesTest, NoMachineHasOnlyTheHostRoot) {
    platform::CloseMachine();
    EXPECT_EQ(platform::DriveRoot(u'C'), QByteArray());
    EXPECT_FALSE(platform::LookUp("C:\\WINDOWS").drive);
    const platform::HostLookup z = platform::LookUp("Z:\\");
    EXPECT_TRUE(z.drive);
    EXPECT_TRUE(z.exists);
    EXPECT_EQ(z.host, "/");
    machine.Reopen();
}

TEST_F(DrivesTest, LookUp) {
    struct Case {
        const char* name;
        QString path;
        QByteArray host;  // below the prefix, or absolute when it starts with "/"
        bool exists;
        bool parentExists;
    };
    const Case cases[] = {
        {"AsSpelled", "C:\\WINDOWS\\Desktop", "drive_c/WINDOWS/Desktop", true, true},
        {"DriveRoot", "C:\\", "drive_c", true, true},
        {"OtherCase", "c:\\windows\\DESKTOP", "drive_c/WINDOWS/Desktop", true, true},
        {"Slashes", "C:/Windows/start menu/PROGRAMS", "drive_c/WINDOWS/Start Menu/Programs", true, true},
        {"DotsFolded", "C:\\WINDOWS\\..\\windows\\.\\desktop\\", "drive_c/WINDOWS/Desktop", true, true},
        {"ExactNameFirstLower", "C:\\both\\a", "drive_c/Both/a", true, true},
        {"ExactNameFirstUpper", "C:\\both\\A", "drive_c/Both/A", true, true},
        {"NoExactNameTheSameOneEveryTime", "C:\\both\\Xy", "drive_c/Both/XY", true, true},
        {"NonAsciiCase", QStringLiteral("C:\\\u00e4RGER\\X.TXT"), QStringLiteral("drive_c/\u00c4rger/x.txt").toUtf8(), true, true},
        {"MappedNameOtherCase", QStringLiteral("C:\\A\uF03AB"), "drive_c/a:b", true, true},
        {"DanglingLinkIsAnEntry", "C:\\DANGLING", "drive_c/dangling", true, true},
        {"MissingLastMappedAsSpelled", "C:\\windows\\New Folder", "drive_c/WINDOWS/New Folder", false, true},
        {"MissingLastOddName", QStringLiteral("C:\\windows\\x\uF03Ay"), "drive_c/WINDOWS/x:y", false, true},
        {"MissingMiddle", "C:\\windows\\nope\\x", "drive_c/WINDOWS/nope/x", false, false},
        {"ThroughDriveLink", "d:\\sub", "dosdevices/d:/Sub", true, true},
        {"HostRootDrive", "Z:\\", "/", true, true},
        {"HostPathOtherCase", "z:\\USR", "/usr", true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const platform::HostLookup found = platform::LookUp(c.path);
        EXPECT_TRUE(found.drive);
        EXPECT_EQ(found.host, c.host.startsWith('/') ? c.host : P() + '/' + c.host);
        EXPECT_EQ(found.exists, c.exists);
        EXPECT_EQ(found.parentExists, c.parentExists);
    }
}

TEST_F(DrivesTest, AnUnknownDriveIsNoDrive) {
    const platform::HostLookup found = platform::LookUp("Q:\\x");
    EXPECT_FALSE(found.drive);
    EXPECT_FALSE(found.exists);
}

TEST_F(DrivesTest, RelativePathsStartAtTheCurrentFolder) {
    InFolder here(P() + "/drive_c/WINDOWS/Desktop");
    EXPECT_EQ(platform::CurrentWinDir(), "C:\\WINDOWS\\Desktop");
    struct Case {
        const char* name;
        QString path;
        QByteArray host;
        bool exists;
    };
    const Case cases[] = {
        {"Name", "x.lnk", "drive_c/WINDOWS/Desktop/x.lnk", false},
        {"Dot", ".", "drive_c/WINDOWS/Desktop", true},
        {"Parent", "..", "drive_c/WINDOWS", true},
        {"Sibling", "..\\start menu", "drive_c/WINDOWS/Start Menu", true},
        {"AboveTheRoot", "..\\..\\..\\..\\both", "drive_c/Both", true},
        {"RootOfTheDrive", "\\windows", "drive_c/WINDOWS", true},
        {"SameDriveRelative", "c:..\\START MENU\\programs", "drive_c/WINDOWS/Start Menu/Programs", true},
        {"OtherDriveRelativeIsItsRoot", "d:sub", "dosdevices/d:/Sub", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const platform::HostLookup found = platform::LookUp(c.path);
        EXPECT_EQ(found.host, P() + '/' + c.host);
        EXPECT_EQ(found.exists, c.exists);
    }
}

TEST_F(DrivesTest, WindowsPathOfAHostPath) {
    char real[PATH_MAX];
    ASSERT_TRUE(realpath(Other().constData(), real));
    struct Case {
        const char* name;
        QByteArray host;
        QString win;
    };
    const Case cases[] = {
        {"DriveCRoot", P() + "/drive_c", "C:\\"},
        {"BelowC", P() + "/drive_c/WINDOWS/Start Menu", "C:\\WINDOWS\\Start Menu"},
        {"UnfoldedHostPath", P() + "/drive_c/WINDOWS/../WINDOWS/./Desktop/", "C:\\WINDOWS\\Desktop"},
        {"OddHostName", P() + "/drive_c/a:b", QStringLiteral("C:\\a\uF03Ab")},
        {"LinkedDrive", QByteArray(real) + "/Sub", "D:\\Sub"},
        {"HostRoot", "/", "Z:\\"},
        {"ElsewhereOnTheHost", "/usr/share", "Z:\\usr\\share"},
        {"ThroughTheDriveLink", P() + "/dosdevices/d:/Sub", "D:\\Sub"},
        {"PrefixItselfIsOnZ", P(), "Z:" + QFile::decodeName(P()).replace(u'/', u'\\')},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(platform::WinPathOfHost(c.host), c.win);
    }
}

TEST_F(DrivesTest, APrefixReachedThroughALinkMapsBothSpellings) {
    QTemporaryDir aliases;
    const QByteArray alias = QFile::encodeName(aliases.path()) + "/alias";
    char real[PATH_MAX];
    ASSERT_TRUE(realpath(P().constData(), real));
    Link(real, alias);
    platform::SetPrefixDir(alias);
    EXPECT_EQ(platform::WinPathOfHost(alias + "/drive_c/WINDOWS"), "C:\\WINDOWS");
    EXPECT_EQ(platform::WinPathOfHost(QByteArray(real) + "/drive_c/WINDOWS"), "C:\\WINDOWS");
    {
        InFolder here(alias + "/drive_c/WINDOWS/Desktop");
        EXPECT_EQ(platform::CurrentWinDir(), "C:\\WINDOWS\\Desktop");
    }
    platform::SetPrefixDir(P());
}

// A folder settled for a while keeps its scan; every change to it, by the host or through the file
// services, is seen by the next look-up all the same.
TEST_F(DrivesTest, AKeptFolderScanFollowsChanges) {
    machine.WriteFile("drive_c/Settled/Alpha.lnk", "a");
    const QByteArray folder = P() + "/drive_c/Settled";
    auto age = [&] {
        const struct timespec old[2] = {{time(nullptr) - 60, 0}, {time(nullptr) - 60, 0}};
        ASSERT_EQ(utimensat(AT_FDCWD, folder.constData(), old, 0), 0);
    };
    age();
    EXPECT_TRUE(platform::LookUp("C:\\SETTLED\\ALPHA.LNK").exists);
    EXPECT_FALSE(platform::LookUp("C:\\SETTLED\\BETA.LNK").exists);
    machine.WriteFile("drive_c/Settled/Beta.lnk", "b");
    EXPECT_EQ(platform::LookUp("C:\\SETTLED\\BETA.LNK").host, folder + "/Beta.lnk");
    age();
    EXPECT_TRUE(platform::LookUp("C:\\settled\\beta.lnk").exists);
    ASSERT_TRUE(QFile::remove(QFile::decodeName(folder) + "/Beta.lnk"));
    EXPECT_FALSE(platform::LookUp("C:\\settled\\beta.lnk").exists);
    age();
    EXPECT_TRUE(platform::LookUp("C:\\settled\\ALPHA.lnk").exists);
    // The same time put back after a change must not hide it either: the services say they changed.
    platform::Kill("C:\\Settled\\alpha.LNK");
    age();
    EXPECT_FALSE(platform::LookUp("C:\\settled\\ALPHA.lnk").exists);
}

}  // namespace
