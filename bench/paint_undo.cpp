// Painting a category of 2,000 files onto a Desktop of 2,000 files (Query Save off: the Desktop is
// saved into the category painted last, moved into the undo store, and the category copied onto
// the new Desktop), then undoing it; against the same file work done by rm, cp and mv over the
// same trees in the same run.
#include "bench/library_fixture.h"
#include "platform/machine.h"
#include "platform/settings_store.h"
#include "platform/user_name.h"
#include "startup/shared_state.h"
#include "ui/app_windows.h"
#include "ui/main_form.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kFiles = 2000;
constexpr int kRuns = 5;

void Fill(const QString& folder, const QString& stem) {
    QDir().mkpath(folder);
    QByteArray data(400, 'x');
    for (int i = 0; i < kFiles; ++i) {
        QFile f(folder + QStringLiteral("/%1 %2.lnk").arg(stem).arg(i, 4, 10, QChar(u'0')));
        f.open(QIODevice::WriteOnly);
        f.write(data);
    }
}

double Shell(const QString& script) {
    QElapsedTimer t;
    t.start();
    QProcess sh;
    sh.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), script});
    sh.waitForFinished(-1);
    return t.nsecsElapsed() / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::vector<double> paint, undo, paintBase, undoBase;
    for (int run = 0; run < kRuns; ++run) {
        QTemporaryDir dir;
        const QByteArray prefix = bench::OpenBenchMachine(dir.path());
        platform::SaveSetting("Valdrine", "user\\bench", "checksave", "False");
        const QString c = QFile::decodeName(prefix) + "/drive_c/WINDOWS";
        Fill(c + "/VALDRINE/PROFILES/bench/Work", "Work");
        Fill(c + "/VALDRINE/PROFILES/bench/Home", "Desk");
        Fill(c + "/Desktop", "Desk");
        platform::SaveSetting("Valdrine", "User\\bench", "Current", "C:\\WINDOWS\\VALDRINE\\PROFILES\\bench\\Home");
        {
            AppWindows windows;
            if (Main(windows) != StartupEnd::Running) return 1;
            MainForm& form = *windows.Form();
            form.Category->Nodes().Item("bench\\Work")->SetSelected(true);
            QElapsedTimer t;
            t.start();
            form.Apply->click();
            paint.push_back(t.nsecsElapsed() / 1e6);
            t.start();
            form.CSCmdBtn1->click();
            undo.push_back(t.nsecsElapsed() / 1e6);
            if (QDir(c + "/Desktop").entryList(QDir::Files).size() != kFiles) std::printf("the undo did not bring the Desktop back\n");
        }
        platform::CloseMachine();

        // The same work by the host's tools, on trees of the same shape.
        const QString b = dir.path() + "/base";
        Fill(b + "/Work", "Work");
        Fill(b + "/Home", "Desk");
        Fill(b + "/Desktop", "Desk");
        paintBase.push_back(Shell(QStringLiteral("cd '%1' && rm -f Home/* && cp -p Desktop/* Home/ && mkdir UNDO && "
                                                 "mv Desktop UNDO/desk && mkdir Desktop && cp -p Work/* Desktop/").arg(b)));
        undoBase.push_back(Shell(QStringLiteral("cd '%1' && rm -f Desktop/* && cp -p UNDO/desk/* Desktop/ && rm -r UNDO").arg(b)));
    }
    struct rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    const double p = bench::Median(paint), pb = bench::Median(paintBase), u = bench::Median(undo), ub = bench::Median(undoBase);
    std::printf("paint %d files onto %d:  %8.1f ms   rm/cp/mv: %8.1f ms   ratio %.2f (target at most 1.50)\n", kFiles, kFiles, p, pb, p / pb);
    std::printf("undo of that paint:         %8.1f ms   rm/cp:    %8.1f ms   ratio %.2f (target at most 1.50)\n", u, ub, u / ub);
    std::printf("peak memory: %.1f MB (medians of %d runs)\n", usage.ru_maxrss / 1024.0, kRuns);
    return 0;
}
