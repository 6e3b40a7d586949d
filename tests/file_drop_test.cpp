#include "ui/main_form.h"

#include "platform/file_mutations.h"
#include "platform/vb_error.h"
#include "startup/shared_state.h"
#include "tests/host_tree.h"
#include "tests/nothing_lost.h"
#include "tests/started_program.h"

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>
#include <gtest/gtest.h>

using namespace platform;

namespace {

const QString kLib = QStringLiteral("drive_c/WINDOWS/VALDRINE/PROFILES/ann");
const QString kGames = QStringLiteral("C:\\WINDOWS\\VALDRINE\\PROFILES\\ann\\Games");

// Files of the host's own, outside the machine, as a file manager offers them.
struct HostFiles {
    HostFiles() {
        Write("one/Mail.lnk", "mail");
        Write("two/Mail.lnk", "other mail");
        Write("one/ odd?.lnk", "odd");
        QDir().mkpath(dir.path() + "/one/AFolder");
    }
    void Write(const QString& relative, const QByteArray& data) {
        QDir().mkpath(QFileInfo(dir.path() + "/" + relative).path());
        QFile f(dir.path() + "/" + relative);
        f.open(QIODevice::WriteOnly);
        f.write(data);
    }
    QString Path(const QString& relative) const { return dir.path() + "/" + relative; }
    QTemporaryDir dir;
};

// Drops the files at a point of the tree's viewport, through the window, as the file manager does.
void Drop(MainForm& form, const QStringList& hostFiles, QPoint inViewport) {
    QMimeData mime;
    QList<QUrl> urls;
    for (const QString& f : hostFiles) urls << QUrl::fromLocalFile(f);
    mime.setUrls(urls);
    const QPointF at = form.Category->viewport()->mapTo(&form, inViewport);
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&form, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&form, &drop);
}

QPoint OnNode(MainForm& form, const QString& key) {
    return form.Category->visualItemRect(form.Category->Nodes().Item(key)).center();
}

QPoint OnEmptySpace(MainForm& form) { return QPoint(10, form.Category->viewport()->height() - 5); }

void Library(TestMachine& m) {
    m.MakeDir(kLib + "/Games");
    m.MakeDir(kLib + "/Work");
}

}  // namespace

TEST(FileDrop, FilesDroppedOnACategoryAreCopiedIntoIt) {
    TestMachine m;
    Library(m);
    HostFiles host;
    StartedProgram p(m);
    m.answers.Expect(vbYes);
    Drop(p.Form(), {host.Path("one/Mail.lnk"), host.Path("one/ odd?.lnk")}, OnNode(p.Form(), "ann\\Games"));
    ASSERT_EQ(m.answers.Boxes().size(), 1u);
    EXPECT_EQ(m.answers.Boxes()[0].prompt, "Copy Shortcuts To\r\n" + kGames);
    EXPECT_EQ(m.answers.Boxes()[0].title, "Confirm");
    EXPECT_EQ(m.answers.Boxes()[0].style, 36);
    EXPECT_EQ(TreeOf(m, kLib + "/Games"), (Entries{{"/ odd?.lnk", "file:odd"}, {"/Mail.lnk", "file:mail"}}));
    EXPECT_EQ(p.Form().Category->DropHighlight(), nullptr);
    EXPECT_EQ(QFile(host.Path("one/Mail.lnk")).size(), 4) << "the source is left alone";
    EXPECT_EQ(p.Form().BusyCount(), 0);
}

TEST(FileDrop, AwayFromANodeTheSelectedCategoryTakesThem) {
    TestMachine m;
    Library(m);
    HostFiles host;
    StartedProgram p(m);
    p.Form().Category->Nodes().Item("ann\\Work")->SetSelected(true);
    m.answers.Expect(vbYes);
    Drop(p.Form(), {host.Path("one/Mail.lnk")}, OnEmptySpace(p.Form()));
    ASSERT_EQ(m.answers.Boxes().size(), 1u);
    EXPECT_EQ(m.answers.Boxes()[0].prompt, "Copy Shortcuts To\r\nC:\\WINDOWS\\VALDRINE\\PROFILES\\ann\\Work");
    EXPECT_TRUE(m.Exists(kLib + "/Work/Mail.lnk"));
}

TEST(FileDrop, NoToTheConfirmationCopiesNothingAndKeepsTheHighlight) {
    TestMachine m;
    Library(m);
    HostFiles host;
    StartedProgram p(m);
    m.answers.Expect(vbNo);
    Drop(p.Form(), {host.Path("one/Mail.lnk")}, OnNode(p.Form(), "ann\\Games"));
    EXPECT_TRUE(TreeOf(m, kLib + "/Games").empty());
    ASSERT_NE(p.Form().Category->DropHighlight(), nullptr);
    EXPECT_EQ(p.Form().Category->DropHighlight()->Key(), "ann\\Games");
}

TEST(FileDrop, TwoFilesOfOneNameAskBeforeTheSecondReplacesTheFirst) {
    for (int answer : {int(vbYes), int(vbNo)}) {
        SCOPED_TRACE(answer);
        TestMachine m;
        Library(m);
        HostFiles host;
        StartedProgram p(m);
        m.answers.Expect(vbYes);
        m.answers.Expect(answer);
        Drop(p.Form(), {host.Path("one/Mail.lnk"), host.Path("two/Mail.lnk")}, OnNode(p.Form(), "ann\\Games"));
        ASSERT_EQ(m.answers.Boxes().size(), 2u);
        EXPECT_EQ(m.answers.Boxes()[1].prompt, "File Already Exists At Destination\r\n Overwrite ?");
        EXPECT_EQ(m.answers.Boxes()[1].title, "Please Confirm!");
        EXPECT_EQ(m.ReadFile(kLib + "/Games/Mail.lnk"), answer == vbYes ? "other mail" : "mail");
    }
}

TEST(FileDrop, WhatIsNoFileIsReported) {
    struct Case {
        const char* name;
        const char* file;
        const char* description;
    } cases[] = {{"a folder", "one/AFolder", "Path/File access error"}, {"gone", "one/gone.lnk", "File not found"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestMachine m;
        Library(m);
        HostFiles host;
        StartedProgram p(m);
        m.answers.Expect(vbYes);
        m.answers.Expect(vbIgnore);
        Drop(p.Form(), {host.Path(c.file), host.Path("one/Mail.lnk")}, OnNode(p.Form(), "ann\\Games"));
        ASSERT_EQ(m.answers.Boxes().size(), 2u);
        EXPECT_EQ(m.answers.Boxes()[1].prompt, QStringLiteral("Trouble Capturing Shortcuts.\r\n") + c.description);
        EXPECT_EQ(m.answers.Boxes()[1].title, "WARNING !");
        EXPECT_EQ(m.answers.Boxes()[1].style, 50);
        EXPECT_EQ(m.answers.Beeps(), 1);
        EXPECT_EQ(TreeOf(m, kLib + "/Games"), (Entries{{"/Mail.lnk", "file:mail"}})) << "Ignore goes on with the next file";
    }
}

TEST(FileDrop, NoCategoryAnywhereIsRefused) {
    TestMachine m;
    Library(m);
    HostFiles host;
    StartedProgram p(m);
    p.Form().Category->Nodes().Clear();
    m.answers.Expect(vbOK);
    Drop(p.Form(), {host.Path("one/Mail.lnk")}, QPoint(10, 10));
    ASSERT_EQ(m.answers.Boxes().size(), 1u);
    EXPECT_EQ(m.answers.Boxes()[0].style, 0);
    EXPECT_TRUE(TreeOf(m, kLib + "/Games").empty());
    EXPECT_TRUE(TreeOf(m, kLib + "/Work").empty());
}

TEST(FileDrop, NoFaultAndNoAnswerLosesAFile) {
    static HostFiles* host = nullptr;
    HostFiles files;
    host = &files;
    const Entries outside = Tree(QFile::encodeName(files.dir.path()));
    ForEachFault(
        [](TestMachine& m) {
            Library(m);
            m.WriteFile(kLib + "/Games/Mail.lnk", "kept mail");
        },
        [](MainForm& form, TestMachine&) {
            Drop(form, {host->Path("one/Mail.lnk"), host->Path("one/ odd?.lnk")}, OnNode(form, "ann\\Games"));
        },
        [&](MainForm& form, TestMachine& m, const Held& before, const FaultRun&) {
            const Held after = DesktopStoreAndLibrary(m);
            for (const auto& file : before) {
                if (file.second == "file:kept mail") continue;  // Yes to the overwrite question replaces it
                EXPECT_TRUE(after.count(file)) << file.first.toStdString() << " lost";
            }
            EXPECT_EQ(Tree(QFile::encodeName(files.dir.path())), outside) << "nothing outside the machine changes";
            EXPECT_EQ(form.BusyCount(), 0);
        });
}
