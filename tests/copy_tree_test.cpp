// Copying files and whole trees.
#include "toolkit/copy_tree.h"
#include "tests/host_tree.h"
#include "platform/file_mutations.h"
#include "platform/vb_error.h"
#include "tests/test_machine.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <functional>
#include <map>
#include <ostream>


namespace {



// The entries of a tree without those below one of its folders.
Entries Without(const Entries& tree, const QByteArray& folder) {
    Entries out;
    for (const auto& [path, what] : tree)
        if (path != folder && !path.startsWith(folder + '/')) out[path] = what;
    return out;
}

class InFolder {
public:
    explicit InFolder(const QString& folder) : old_(QDir::currentPath()) { EXPECT_TRUE(QDir::setCurrent(folder)); }
    ~InFolder() { QDir::setCurrent(old_); }

private:
    QString old_;
};

class CopyTreeTest : public ::testing::Test {
protected:
    QByteArray H(const QString& relative) const { return QFile::encodeName(machine.Host(relative)); }
    Entries TreeC(const QString& belowC) const { return Tree(H("drive_c/" + belowC)); }
    void Link(const QByteArray& target, const QString& link) const {
        ASSERT_EQ(symlink(target.constData(), H(link).constData()), 0) << link.toStdString();
    }
    void Write(const QString& belowC, const QByteArray& data = "data") const { machine.WriteFile("drive_c/" + belowC, data); }
    void MakeSource() const {
        Write("S/f1.txt", "one");
        Write("S/.hidden", "hidden");
        Write("S/a:b", "colon");
        Write("S/ lead", "lead");
        Write("S/trail ", "trail");
        Write("S/A/fa.txt", "a");
        Write("S/A/Deep/fd.txt", "deep");
        machine.MakeDir("drive_c/S/Empty/Inner");
        Write("Outside/not-copied.txt", "outside");
        Link("A", "drive_c/S/to-folder");
        Link("f1.txt", "drive_c/S/to-file");
        Link(H("drive_c/Outside"), "drive_c/S/A/to-outside");
        Link("nowhere", "drive_c/S/dangling");
    }
    // The number CopyTree raised (0 when none) and its answer.
    int Raised(const QString& source, const QString& destination, CopyOutcome* outcome = nullptr) const {
        try {
            const CopyOutcome o = CopyTree(source, destination);
            if (outcome) *outcome = o;
        } catch (const platform::VbError& e) {
            return e.Number();
        }
        return 0;
    }
    TestMachine machine;
};

TEST_F(CopyTreeTest, CopiesTheWholeTreeWithLinksAsLinks) {
    MakeSource();
    const Entries source = TreeC("S");
    EXPECT_EQ(CopyTree("C:\\S", "C:\\Copy"), CopyOutcome::Complete);
    EXPECT_EQ(TreeC("Copy"), source);
    EXPECT_EQ(TreeC("S"), source);
}

TEST_F(CopyTreeTest, MergesIntoAnExistingDestination) {
    MakeSource();
    const Entries source = TreeC("S");
    Write("Copy/f1.txt", "old one");
    Write("Copy/mine.txt", "mine");
    Write("Copy/A/mine too.txt", "mine too");
    Entries expected = source;
    expected["/mine.txt"] = "file:mine";
    expected["/A/mine too.txt"] = "file:mine too";
    EXPECT_EQ(CopyTree("c:\\s", "C:\\COPY"), CopyOutcome::Complete);
    EXPECT_EQ(TreeC("Copy"), expected);
}

TEST_F(CopyTreeTest, FoldersWithoutFilesGiveTheStructure) {
    for (const char* d : {"S/A/B/C", "S/D", "S/E/F"}) machine.MakeDir(QStringLiteral("drive_c/") + d);
    EXPECT_EQ(CopyTree("C:\\S", "C:\\Copy"), CopyOutcome::Complete);
    EXPECT_EQ(TreeC("Copy"), TreeC("S"));
}

TEST_F(CopyTreeTest, IntoItsOwnSubtreeCopiesTheTreeAsItWas) {
    struct Case {
        const char* name;
        std::vector<const char*> files;
        std::vector<const char*> folders;
        const char* destination;  // below C:\A
    };
    const Case cases[] = {
        {"TwoLevelsDown", {"A/fa", "A/B/fb"}, {}, "B\\C"},
        {"IntoAnExistingChild", {"A/fa", "A/B/fb", "A/B/X/fx"}, {}, "B"},
        {"IntoANewChild", {"A/fa", "A/B/fb"}, {}, "New"},
        {"ChildNamedLikeTheParent", {"A/fa"}, {"A/B/B"}, "B"},
        {"ExistingDestinationThatIsAlsoASource", {"A/A1/f1", "A/B/C/c.txt"}, {"A/B/C/A1"}, "B\\C"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QDir(machine.Host("drive_c/A")).removeRecursively();
        for (const char* f : c.files) Write(f, QByteArray("content of ") + f);
        for (const char* d : c.folders) machine.MakeDir(QStringLiteral("drive_c/") + d);
        machine.MakeDir(QStringLiteral("drive_c/A"));
        const QByteArray destination = '/' + QByteArray(c.destination).replace('\\', '/');
        const Entries before = TreeC("A");
        // What the destination must hold: what it had, with the whole tree as it was copied over it.
        Entries expected = Tree(H("drive_c/A") + destination);
        for (const auto& [path, what] : before) expected[path] = what;

        CopyOutcome outcome = CopyOutcome::Incomplete;
        EXPECT_EQ(Raised("C:\\A", QStringLiteral("C:\\A\\") + c.destination, &outcome), 0);
        EXPECT_EQ(outcome, CopyOutcome::Complete);
        EXPECT_EQ(Tree(H("drive_c/A") + destination), expected);
        EXPECT_EQ(Without(TreeC("A"), destination), Without(before, destination)) << "nothing else changed";
    }
}

TEST_F(CopyTreeTest, AFolderThatCannotBeMadeIsRaised) {
    MakeSource();
    struct Case {
        const char* name;
        int faultAt;  // 0: no fault injected
        QString destination;
        int number;
        std::vector<QByteArray> made;
    };
    const Case cases[] = {
        {"MissingParent", 0, "C:\\nope\\Copy", 76, {}},
        {"UnknownDrive", 0, "Q:\\Copy", 76, {}},
        {"TheDestination", 1, "C:\\Copy", 70, {}},
        {"TheFirstSubfolder", 2, "C:\\Copy", 70, {"/Copy"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QDir(machine.Host("drive_c/Copy")).removeRecursively();
        if (c.faultAt) platform::InjectFault(c.faultAt, platform::kPermissionDenied, platform::FaultRepeat::Once);
        EXPECT_EQ(Raised("C:\\S", c.destination), c.number);
        platform::ClearFaults();
        std::vector<QByteArray> made;
        for (const auto& [path, what] : Without(Without(Without(TreeC(""), "/S"), "/Outside"), "/WINDOWS"))
            made.push_back(path);
        EXPECT_EQ(made, c.made);
    }
}

TEST_F(CopyTreeTest, FilesThatCannotBeCopiedAnswerIncomplete) {
    MakeSource();
    machine.MakeDir("drive_c/Copy/A/fa.txt");  // a folder where a file must go
    CopyOutcome outcome = CopyOutcome::Complete;
    EXPECT_EQ(Raised("C:\\S", "C:\\Copy", &outcome), 0);
    EXPECT_EQ(outcome, CopyOutcome::Incomplete);
    const Entries copy = TreeC("Copy");
    EXPECT_EQ(copy.count("/A/Deep/fd.txt"), 1u) << "the other folders are still copied";
    EXPECT_EQ(copy.count("/f1.txt"), 1u);
}

TEST_F(CopyTreeTest, AMissingSourceMakesNothing) {
    CopyOutcome outcome = CopyOutcome::Complete;
    EXPECT_EQ(Raised("C:\\nope", "C:\\Copy", &outcome), 0);
    EXPECT_EQ(outcome, CopyOutcome::Incomplete);
    EXPECT_FALSE(machine.Exists("drive_c/Copy"));
}

class CopyFilesTest : public CopyTreeTest {
protected:
    void SetUp() override {
        Write("S/a.txt", "a");
        Write("S/b.txt", "b");
        Write("S/c.txt", "c");
        Write("S/d.txt", "d");
        Write("S/Sub/inner.txt", "not copied");
        Link("a.txt", "drive_c/S/e.lnk");
        machine.MakeDir("drive_c/X");
    }
    CopyOutcome Copy(const QString& pattern, const QString& destination) const {
        try {
            return CopyFiles(pattern, destination);
        } catch (const platform::VbError& e) {
            ADD_FAILURE() << "CopyFiles raised " << e.Number();
        }
        return CopyOutcome::Incomplete;
    }
};

TEST_F(CopyFilesTest, EverySpellingOfTheDestinationCopiesToThatFolder) {
    const Entries all = {{"/a.txt", "file:a"}, {"/b.txt", "file:b"}, {"/c.txt", "file:c"},
                         {"/d.txt", "file:d"}, {"/e.lnk", "link:a.txt"}};
    for (const char* destination : {"C:\\X", "C:\\X\\", "c:\\x", "C:/X"}) {
        SCOPED_TRACE(destination);
        QDir(machine.Host("drive_c/X")).removeRecursively();
        machine.MakeDir("drive_c/X");
        EXPECT_EQ(Copy("C:\\S\\*.*", destination), CopyOutcome::Complete);
        EXPECT_EQ(TreeC("X"), all);
    }
}

TEST_F(CopyFilesTest, ADriveDesignatorMeansThatDrivesCurrentFolder) {
    QTemporaryDir d;
    ASSERT_TRUE(d.isValid());
    QDir().mkpath(d.path() + "/Here");
    ASSERT_EQ(symlink(QFile::encodeName(d.path()).constData(), (machine.Prefix() + "/dosdevices/d:").constData()), 0);
    EXPECT_EQ(Copy("C:\\S\\a.txt", "D:"), CopyOutcome::Complete);
    EXPECT_TRUE(QFile::exists(d.path() + "/a.txt")) << "D: is the root of D while the current folder is elsewhere";
    InFolder here(d.path() + "/Here");
    EXPECT_EQ(Copy("C:\\S\\b.txt", "D:"), CopyOutcome::Complete);
    EXPECT_TRUE(QFile::exists(d.path() + "/Here/b.txt"));
    EXPECT_FALSE(QFile::exists(d.path() + "/b.txt"));
}

TEST_F(CopyFilesTest, APatternThatMatchesNothingChangesNothing) {
    Write("X/keep.txt", "keep");
    const Entries before = TreeC("X");
    for (const char* destination : {"C:\\X", "C:\\nope"}) {
        SCOPED_TRACE(destination);
        EXPECT_EQ(Copy("C:\\S\\*.exe", destination), CopyOutcome::Complete);
        EXPECT_EQ(TreeC("X"), before);
        EXPECT_FALSE(machine.Exists("drive_c/nope"));
    }
}

TEST_F(CopyFilesTest, StopsAtTheFirstFileThatCannotBeCopied) {
    struct Case {
        const char* name;
        std::function<void()> arrange;
        Entries copied;
    };
    const Case cases[] = {
        {"InjectedFault",
         [] { platform::InjectFault(2, platform::kPermissionDenied, platform::FaultRepeat::Once); },
         {{"/a.txt", "file:a"}}},
        {"AFolderInTheWay", [&] { machine.MakeDir("drive_c/X/c.txt"); }, {{"/a.txt", "file:a"}, {"/b.txt", "file:b"}, {"/c.txt", "dir"}}},
        {"MissingDestination", [&] { QDir(machine.Host("drive_c/X")).removeRecursively(); }, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QDir(machine.Host("drive_c/X")).removeRecursively();
        machine.MakeDir("drive_c/X");
        c.arrange();
        EXPECT_EQ(Copy("C:\\S\\*.*", "C:\\X"), CopyOutcome::Incomplete);
        platform::ClearFaults();
        EXPECT_EQ(TreeC("X"), c.copied);
    }
}

TEST_F(CopyFilesTest, ASourceFolderThatCannotBeReadIsIncomplete) {
    EXPECT_EQ(Copy("C:\\nope\\*.*", "C:\\X"), CopyOutcome::Incomplete);
    EXPECT_TRUE(TreeC("X").empty());
}

TEST_F(CopyFilesTest, NamesWithLeadingOrTrailingSpacesAreCopiedWhole) {
    Write("Spaces/ lead", "1");
    Write("Spaces/trail ", "2");
    Write("Spaces/  both  ", "3");
    EXPECT_EQ(Copy("C:\\Spaces\\*.*", "C:\\X"), CopyOutcome::Complete);
    EXPECT_EQ(TreeC("X"), TreeC("Spaces"));
}

TEST_F(CopyFilesTest, OnlyWhatThePatternMatches) {
    EXPECT_EQ(Copy("C:\\S\\*.LNK", "C:\\X"), CopyOutcome::Complete);
    EXPECT_EQ(TreeC("X"), (Entries{{"/e.lnk", "link:a.txt"}}));
    EXPECT_EQ(Copy("c:\\s\\B.TXT", "C:\\X"), CopyOutcome::Complete);
    EXPECT_EQ(TreeC("X"), (Entries{{"/b.txt", "file:b"}, {"/e.lnk", "link:a.txt"}}));
}

}  // namespace
