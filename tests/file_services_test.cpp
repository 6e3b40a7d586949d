// The file services in VB's terms: what each does on the host, and the VB error each failure raises.
#include "platform/file_services.h"
#include "platform/vb_error.h"
#include "tests/test_machine.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <csignal>
#include <functional>
#include <ostream>
#include <set>


using platform::VbError;

namespace {

// The entries of a host folder, "." and ".." left out.
std::set<QByteArray> EntriesOf(const QByteArray& folder) {
    std::set<QByteArray> out;
    if (DIR* dir = opendir(folder.constData())) {
        while (dirent* e = readdir(dir))
            if (qstrcmp(e->d_name, ".") != 0 && qstrcmp(e->d_name, "..") != 0) out.insert(e->d_name);
        closedir(dir);
    }
    return out;
}

QByteArray LinkTarget(const QByteArray& link) {
    char buf[PATH_MAX];
    const ssize_t n = readlink(link.constData(), buf, sizeof buf);
    return n < 0 ? QByteArray("<no link>") : QByteArray(buf, int(n));
}

bool IsLink(const QByteArray& path) {
    struct stat st;
    return lstat(path.constData(), &st) == 0 && S_ISLNK(st.st_mode);
}

// The number a call raised; 0 when it raised nothing.
int ErrorOf(const std::function<void()>& call, QString* description = nullptr) {
    try {
        call();
    } catch (const VbError& e) {
        if (description) *description = e.Description();
        return e.Number();
    }
    return 0;
}

class FileServicesTest : public ::testing::Test {
protected:
    void SetUp() override {
        machine.WriteFile("drive_c/F/a.txt", "alpha");
        machine.WriteFile("drive_c/F/b.txt", "beta");
        machine.WriteFile("drive_c/F/c.dat", "gamma");
        machine.MakeDir("drive_c/F/Sub");
        machine.WriteFile("drive_c/Full/x.txt", "x");
        machine.MakeDir("drive_c/G");
        machine.MakeDir("drive_c/WINDOWS/VALDRINE");
    }
    QByteArray H(const QString& belowC) const { return QFile::encodeName(machine.HostC(belowC)); }
    QByteArray Read(const QString& belowC) const { return machine.ReadFile("drive_c/" + QString(belowC).replace(u'\\', u'/')); }
    // A drive letter linked to a new folder of the host.
    void LinkDrive(char letter, const QByteArray& target) const {
        ASSERT_EQ(symlink(target.constData(), (machine.Prefix() + "/dosdevices/" + letter + ':').constData()), 0);
    }
    TestMachine machine;
};

TEST(VbDescriptionTest, StandardTexts) {
    const std::pair<int, const char*> cases[] = {
        {5, "Invalid procedure call or argument"}, {52, "Bad file name or number"}, {53, "File not found"},
        {57, "Device I/O error"}, {58, "File already exists"}, {61, "Disk full"}, {70, "Permission denied"},
        {74, "Can't rename with different drive"}, {75, "Path/File access error"}, {76, "Path not found"},
    };
    for (const auto& [number, text] : cases) {
        SCOPED_TRACE(number);
        EXPECT_EQ(platform::VbDescription(number), QString::fromLatin1(text));
        EXPECT_EQ(VbError(number).Description(), QString::fromLatin1(text));
    }
}

TEST_F(FileServicesTest, FailuresRaiseTheirVbError) {
    ASSERT_EQ(mkfifo(H("F/Sub/pipe").constData(), 0644), 0);
    struct Case {
        const char* name;
        std::function<void()> call;
        int number;
    };
    using namespace platform;
    const Case cases[] = {
        {"MkDirParentMissing", [] { MkDir("C:\\nope\\x"); }, 76},
        {"MkDirNameTakenInOtherCase", [] { MkDir("C:\\F\\SUB"); }, 75},
        {"MkDirNameTakenByAFile", [] { MkDir("C:\\F\\a.txt"); }, 75},
        {"MkDirUnknownDrive", [] { MkDir("Q:\\x"); }, 76},
        {"MkDirBelowAFile", [] { MkDir("C:\\F\\a.txt\\x"); }, 76},
        {"RmDirMissing", [] { RmDir("C:\\F\\nope"); }, 76},
        {"RmDirParentMissing", [] { RmDir("C:\\nope\\x"); }, 76},
        {"RmDirNotEmpty", [] { RmDir("C:\\Full"); }, 75},
        {"KillNoMatch", [] { Kill("C:\\F\\*.exe"); }, 53},
        {"KillMissingFile", [] { Kill("C:\\F\\nope.txt"); }, 53},
        {"KillAFolder", [] { Kill("C:\\F\\Sub"); }, 53},
        {"KillPatternInMissingFolder", [] { Kill("C:\\nope\\*.*"); }, 76},
        {"KillFileInMissingFolder", [] { Kill("C:\\nope\\a.txt"); }, 76},
        {"NameToAnExistingName", [] { Name("C:\\F\\a.txt", "C:\\F\\B.TXT"); }, 58},
        {"NameToAnExistingFolder", [] { Name("C:\\F\\a.txt", "C:\\F\\sub"); }, 58},
        {"NameMissingSource", [] { Name("C:\\F\\nope.txt", "C:\\F\\new.txt"); }, 53},
        {"NameIntoAMissingFolder", [] { Name("C:\\F\\a.txt", "C:\\nope\\a.txt"); }, 76},
        {"FileCopyMissingSource", [] { FileCopy("C:\\F\\nope.txt", "C:\\G\\nope.txt"); }, 53},
        {"FileCopySourceFolderMissing", [] { FileCopy("C:\\nope\\a.txt", "C:\\G\\a.txt"); }, 76},
        {"FileCopyIntoAMissingFolder", [] { FileCopy("C:\\F\\a.txt", "C:\\nope\\a.txt"); }, 76},
        {"FileCopyOntoAFolder", [] { FileCopy("C:\\F\\a.txt", "C:\\F\\Sub"); }, 75},
        {"FileCopyAPipe", [] { FileCopy("C:\\F\\Sub\\pipe", "C:\\F\\pipe"); }, 75},
        {"ReadLineMissing", [] { ReadLine("C:\\F\\nope.txt"); }, 53},
        {"WriteLineIntoAMissingFolder", [] { WriteLine("C:\\nope\\x.txt", "x"); }, 76},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::set<QByteArray> before = EntriesOf(H("F"));
        QString description;
        EXPECT_EQ(ErrorOf(c.call, &description), c.number);
        EXPECT_EQ(description, platform::VbDescription(c.number));
        EXPECT_EQ(EntriesOf(H("F")), before) << "a failing call changes nothing";
    }
    EXPECT_EQ(Read("F\\a.txt"), "alpha");
    EXPECT_EQ(Read("F\\b.txt"), "beta");
}

TEST_F(FileServicesTest, DirGivesTheNameAsSpelledOnDisk) {
    machine.WriteFile("drive_c/F/Sub/inner.txt", "");
    struct Case {
        const char* name;
        QString path;
        int attributes;
        QString found;
    };
    const Case cases[] = {
        {"FileInOtherCase", "c:\\f\\A.TXT", platform::vbNormal, "a.txt"},
        {"FolderNeedsTheAttribute", "C:\\F\\sub", platform::vbNormal, ""},
        {"FolderWithTheAttribute", "C:\\F\\sub", platform::vbDirectory, "Sub"},
        {"HeaderExample", "C:\\WINDOWS\\valdrine", platform::vbDirectory, "VALDRINE"},
        {"FileWithTheAttribute", "C:\\F\\b.txt", platform::vbDirectory, "b.txt"},
        {"FirstOfAPattern", "C:\\F\\*.txt", platform::vbNormal, "a.txt"},
        {"PatternSkipsFolders", "C:\\F\\s*", platform::vbNormal, ""},
        {"PatternWithFolders", "C:\\F\\s*", platform::vbDirectory, "Sub"},
        {"PatternNoMatch", "C:\\F\\*.exe", platform::vbNormal, ""},
        {"BelowAFolder", "C:\\F\\SUB\\INNER.TXT", platform::vbNormal, "inner.txt"},
        {"Missing", "C:\\F\\nope", platform::vbDirectory, ""},
        {"MissingFolder", "C:\\nope\\*.*", platform::vbNormal, ""},
        {"UnknownDrive", "Q:\\x", platform::vbDirectory, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(platform::Dir(c.path, c.attributes), c.found);
    }
}

TEST_F(FileServicesTest, MkDirAndRmDir) {
    platform::MkDir("c:\\f\\New Folder");
    EXPECT_TRUE(QFileInfo(machine.HostC("F/New Folder")).isDir());
    platform::MkDir("C:\\F\\New Folder\\deeper");
    platform::RmDir("C:\\F\\NEW FOLDER\\DEEPER");
    platform::RmDir("C:\\f\\new folder");
    EXPECT_FALSE(machine.Exists("drive_c/F/New Folder"));
}

TEST_F(FileServicesTest, NameRenamesFilesAndFolders) {
    platform::Name("C:\\F\\A.TXT", "C:\\G\\moved.txt");
    EXPECT_FALSE(machine.Exists("drive_c/F/a.txt"));
    EXPECT_EQ(Read("G\\moved.txt"), "alpha");
    machine.WriteFile("drive_c/F/Sub/inner.txt", "inner");
    platform::Name("C:\\F\\sub", "C:\\G\\Moved Folder");
    EXPECT_EQ(Read("G\\Moved Folder\\inner.txt"), "inner");
    EXPECT_FALSE(machine.Exists("drive_c/F/Sub"));
}

TEST_F(FileServicesTest, NameChangingOnlyTheCaseRenamesOnDisk) {
    platform::Name("C:\\F\\a.txt", "C:\\F\\A.TXT");
    EXPECT_EQ(EntriesOf(H("F")), (std::set<QByteArray>{"A.TXT", "Sub", "b.txt", "c.dat"}));
    EXPECT_EQ(Read("F\\A.TXT"), "alpha");
    platform::Name("C:\\F\\sub", "C:\\F\\SUB");
    EXPECT_TRUE(QFileInfo(machine.HostC("F/SUB")).isDir());
    EXPECT_FALSE(machine.Exists("drive_c/F/Sub"));
}

TEST_F(FileServicesTest, NameBetweenDrivesOnOneFileSystem) {
    QTemporaryDir other(QDir(QFile::decodeName(machine.Prefix())).absoluteFilePath("../d-XXXXXX"));
    ASSERT_TRUE(other.isValid());
    LinkDrive('d', QFile::encodeName(other.path()));
    machine.WriteFile("drive_c/F/Sub/inner.txt", "inner");
    platform::Name("C:\\F\\Sub", "D:\\Sub");
    EXPECT_FALSE(machine.Exists("drive_c/F/Sub"));
    QFile moved(other.path() + "/Sub/inner.txt");
    ASSERT_TRUE(moved.open(QIODevice::ReadOnly));
    EXPECT_EQ(moved.readAll(), "inner");
}

TEST_F(FileServicesTest, NameBetweenFileSystemsIsRefusedAndNeverCopies) {
    QTemporaryDir other(QStringLiteral("/dev/shm/valdrine-XXXXXX"));
    struct stat here, there;
    if (!other.isValid() || stat(machine.Prefix().constData(), &here) != 0 ||
        stat(QFile::encodeName(other.path()).constData(), &there) != 0 || here.st_dev == there.st_dev)
        GTEST_SKIP() << "needs /dev/shm on another file system than the temporary folder";
    LinkDrive('d', QFile::encodeName(other.path()));
    machine.WriteFile("drive_c/F/Sub/inner.txt", "inner");
    struct Case {
        const char* name;
        QString from;
        QString to;
    };
    const Case cases[] = {{"Folder", "C:\\F\\Sub", "D:\\Sub"}, {"File", "C:\\F\\a.txt", "D:\\a.txt"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ErrorOf([&] { platform::Name(c.from, c.to); }), 74);
    }
    EXPECT_EQ(Read("F\\Sub\\inner.txt"), "inner");
    EXPECT_EQ(Read("F\\a.txt"), "alpha");
    EXPECT_TRUE(QDir(other.path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot));
}

TEST_F(FileServicesTest, FileCopyReplacesAFileOfThatName) {
    machine.WriteFile("drive_c/G/A.TXT", "old and longer");
    platform::FileCopy("C:\\F\\a.txt", "C:\\G\\a.txt");
    EXPECT_EQ(EntriesOf(H("G")), std::set<QByteArray>{"A.TXT"}) << "the name keeps its spelling on disk";
    EXPECT_EQ(Read("G\\A.TXT"), "alpha");
    EXPECT_EQ(Read("F\\a.txt"), "alpha");
    platform::FileCopy("C:\\F\\b.txt", "C:\\G\\new.txt");
    EXPECT_EQ(Read("G\\new.txt"), "beta");
}

TEST_F(FileServicesTest, FileCopyCopiesALinkAsALink) {
    ASSERT_EQ(symlink("a.txt", H("F/to-file").constData()), 0);
    ASSERT_EQ(symlink("Sub", H("F/to-folder").constData()), 0);
    ASSERT_EQ(symlink("/nonexistent-valdrine", H("F/dangling").constData()), 0);
    machine.WriteFile("drive_c/G/to-file", "a file in the way");
    for (const char* name : {"to-file", "to-folder", "dangling"}) {
        SCOPED_TRACE(name);
        platform::FileCopy(QStringLiteral("C:\\F\\") + name, QStringLiteral("C:\\G\\") + name);
        EXPECT_TRUE(IsLink(H(QStringLiteral("G/") + name)));
        EXPECT_EQ(LinkTarget(H(QStringLiteral("G/") + name)), LinkTarget(H(QStringLiteral("F/") + name)));
    }
    EXPECT_EQ(Read("F\\a.txt"), "alpha");
}

TEST_F(FileServicesTest, FileCopyReplacesOnlyOnceTheCopyIsComplete) {
    machine.WriteFile("drive_c/F/big.bin", QByteArray(256 * 1024, 'b'));
    machine.WriteFile("drive_c/G/big.bin", "the old file");
    const std::set<QByteArray> before = EntriesOf(H("G"));
    // The host refuses to write past 16 KiB while the copy runs.
    struct rlimit old;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    struct rlimit small = old;
    small.rlim_cur = 16 * 1024;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const int number = ErrorOf([] { platform::FileCopy("C:\\F\\big.bin", "C:\\G\\big.bin"); });
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(number, 61);
    EXPECT_EQ(Read("G\\big.bin"), "the old file");
    EXPECT_EQ(EntriesOf(H("G")), before) << "nothing half-copied is left behind";
}

TEST_F(FileServicesTest, KillDeletesMatchingFilesOnly) {
    platform::Kill("C:\\f\\*.TXT");
    EXPECT_EQ(EntriesOf(H("F")), (std::set<QByteArray>{"Sub", "c.dat"}));
    platform::Kill("C:\\F\\C.DAT");
    EXPECT_EQ(EntriesOf(H("F")), std::set<QByteArray>{"Sub"});
}

TEST_F(FileServicesTest, KillDeletesALinkNotItsTarget) {
    machine.WriteFile("drive_c/F/Sub/inner.txt", "inner");
    struct Case {
        const char* name;
        QStringList patterns;
    };
    const Case cases[] = {{"ByName", {"C:\\F\\LINK1", "C:\\F\\Link2"}}, {"ByPattern", {"C:\\F\\link?"}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(symlink("a.txt", H("F/link1").constData()), 0);
        ASSERT_EQ(symlink("Sub", H("F/link2").constData()), 0);
        for (const QString& pattern : c.patterns) platform::Kill(pattern);
        EXPECT_FALSE(machine.Exists("drive_c/F/link1"));
        EXPECT_FALSE(machine.Exists("drive_c/F/link2"));
        EXPECT_EQ(Read("F\\a.txt"), "alpha");
        EXPECT_EQ(Read("F\\Sub\\inner.txt"), "inner");
    }
}

TEST_F(FileServicesTest, WriteLineAndReadLine) {
    machine.WriteFile("drive_c/F/line.txt", "a much longer old content\r\nsecond line\r\n");
    platform::WriteLine("C:\\F\\LINE.TXT", QStringLiteral("h\u00e9llo"));
    EXPECT_EQ(EntriesOf(H("F")).count("line.txt"), 1u);
    EXPECT_EQ(Read("F\\line.txt"), "h\xc3\xa9llo\r\n");
    EXPECT_EQ(platform::ReadLine("C:\\F\\line.txt"), QStringLiteral("h\u00e9llo"));
    struct Case {
        const char* name;
        QByteArray content;
        QString line;
    };
    const Case cases[] = {
        {"FirstOfSeveral", "one\r\ntwo\r\n", "one"},
        {"BareLineFeed", "one\ntwo", "one"},
        {"NoLineEnd", "only", "only"},
        {"Empty", "", ""},
        {"SpacesKept", "  padded  \r\n", "  padded  "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        machine.WriteFile("drive_c/F/r.txt", c.content);
        EXPECT_EQ(platform::ReadLine("C:\\F\\r.txt"), c.line);
    }
}

}  // namespace
