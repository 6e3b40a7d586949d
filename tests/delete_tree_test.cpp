// Deleting a folder with everything below it.
#include "toolkit/delete_tree.h"
#include "tests/host_tree.h"
#include "platform/file_mutations.h"
#include "platform/vb_error.h"
#include "tests/test_machine.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <map>
#include <ostream>
#include <set>


namespace {


int ErrorOf(const QString& folder) {
    try {
        DeleteTree(folder);
    } catch (const platform::VbError& e) {
        return e.Number();
    }
    return 0;
}

class DeleteTreeTest : public ::testing::Test {
protected:
    QByteArray H(const QString& relative) const { return QFile::encodeName(machine.Host(relative)); }
    void Link(const QByteArray& target, const QString& link) const {
        ASSERT_EQ(symlink(target.constData(), H(link).constData()), 0) << link.toStdString();
    }
    void MakeOutside() const {
        machine.WriteFile("drive_c/Outside/kept.txt", "kept");
        machine.WriteFile("drive_c/Outside/Inner/deep.txt", "deep");
    }
    TestMachine machine;
};

TEST_F(DeleteTreeTest, LeavesNothingBehind) {
    machine.WriteFile("drive_c/Keep/k.txt", "k");
    for (const char* f : {"T/f1.txt", "T/.hidden", "T/A/fa.txt", "T/A/Deep/Deeper/fd", "T/odd/a:b", "T/odd/end.", "T/odd/end "})
        machine.WriteFile(QStringLiteral("drive_c/") + f, "x");
    machine.MakeDir("drive_c/T/B/C");
    const int fd = open((H("drive_c/T/odd/") + "bad\xff").constData(), O_WRONLY | O_CREAT, 0644);
    ASSERT_GE(fd, 0);
    close(fd);
    const auto others = Tree(H("drive_c/Keep"));

    DeleteTree("c:\\t");
    EXPECT_FALSE(machine.Exists("drive_c/T"));
    EXPECT_EQ(Tree(H("drive_c/Keep")), others);
}

TEST_F(DeleteTreeTest, ALinkIsDeletedAsALink) {
    MakeOutside();
    const auto outside = Tree(H("drive_c/Outside"));
    machine.WriteFile("drive_c/T/A/fa.txt", "a");
    Link(H("drive_c/Outside"), "drive_c/T/to-outside");
    Link(H("drive_c/Outside"), "drive_c/T/A/to-outside");
    Link(H("drive_c/Outside/kept.txt"), "drive_c/T/to-file");
    Link("../nowhere", "drive_c/T/dangling");

    DeleteTree("C:\\T");
    EXPECT_FALSE(machine.Exists("drive_c/T"));
    EXPECT_EQ(Tree(H("drive_c/Outside")), outside);
}

TEST_F(DeleteTreeTest, APathThatIsNoFolderRaisesAndTouchesNothing) {
    MakeOutside();
    const auto outside = Tree(H("drive_c/Outside"));
    machine.WriteFile("drive_c/file.txt", "f");
    Link(H("drive_c/Outside"), "drive_c/Linked");
    struct Case {
        const char* name;
        QString path;
    };
    const Case cases[] = {
        {"Missing", "C:\\nope"},
        {"MissingParent", "C:\\nope\\deeper"},
        {"UnknownDrive", "Q:\\x"},
        {"AFile", "C:\\file.txt"},
        {"ALinkToAFolder", "C:\\Linked"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ErrorOf(c.path), platform::kPathNotFound);
        EXPECT_EQ(Tree(H("drive_c/Outside")), outside);
    }
    EXPECT_TRUE(machine.Exists("drive_c/file.txt"));
    EXPECT_TRUE(machine.Exists("drive_c/Linked"));
}

TEST_F(DeleteTreeTest, DepthFirstAndAFailureKeepsWhatWasDeleted) {
    // One entry per change, so each change deletes the next entry of the order.
    const QByteArrayList order = {"/A/fa.txt", "/A", "/B/B1", "/B/fb.txt", "/B", "/f1.txt", ""};
    const auto makeTree = [&] {
        machine.WriteFile("drive_c/T/f1.txt", "1");
        machine.WriteFile("drive_c/T/A/fa.txt", "a");
        machine.WriteFile("drive_c/T/B/fb.txt", "b");
        machine.MakeDir("drive_c/T/B/B1");
    };
    std::set<int> states;
    int previous = -1;
    for (int nth = 1;; ++nth) {
        SCOPED_TRACE(nth);
        ASSERT_LT(nth, 50) << "the delete never ends";
        makeTree();
        platform::InjectFault(nth, platform::kPermissionDenied, platform::FaultRepeat::Once);
        const int error = ErrorOf("C:\\T");
        platform::ClearFaults();
        if (error == 0) {
            EXPECT_FALSE(machine.Exists("drive_c/T"));
            break;
        }
        EXPECT_EQ(error, platform::kPermissionDenied);
        const auto left = Tree(H("drive_c/T"));
        // What is gone is a leading run of the order; the rest is all there.
        int gone = 0;
        while (gone < order.size() - 1 && !left.count(order[gone])) ++gone;
        for (int k = gone; k < order.size() - 1; ++k) EXPECT_TRUE(left.count(order[k])) << order[k].toStdString();
        EXPECT_GE(gone, previous);
        previous = gone;
        states.insert(gone);
        QDir(machine.Host("drive_c/T")).removeRecursively();
    }
    EXPECT_EQ(states, (std::set<int>{0, 1, 2, 3, 4, 5, 6}));
}

}  // namespace
