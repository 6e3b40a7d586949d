// Loading a large category library into the tree, against `find -type d` over the same folders.
// Builds, in a temporary machine, 10,000 nested categories (fan-out 8, filled depth first down to
// six levels), one small shortcut file in each; then times ReloadTree on the offscreen window.
// Also prints what a look-up of a name spelled in another case costs in a folder of 2,000 files.
#include "platform/drives.h"
#include "platform/machine.h"
#include "platform/settings_store.h"
#include "platform/user_name.h"
#include "startup/shared_state.h"
#include "ui/app_windows.h"
#include "ui/main_form.h"
#include "bench/library_fixture.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kRuns = 7;

double TimeFind(const QString& library) {
    QElapsedTimer t;
    t.start();
    QProcess find;
    find.setStandardOutputFile(QProcess::nullDevice());
    find.start(QStringLiteral("find"), {library, QStringLiteral("-type"), QStringLiteral("d")});
    find.waitForFinished(-1);
    return t.nsecsElapsed() / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QByteArray prefix = bench::OpenBenchMachine(dir.path());
    int made = 0;
    const QString library = bench::BuildLibrary(prefix, &made);

    AppWindows windows;
    if (Main(windows) != StartupEnd::Running) return 1;
    MainForm& form = *windows.Form();
    std::vector<double> reload, find;
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer t;
        t.start();
        form.ReloadTree();
        reload.push_back(t.nsecsElapsed() / 1e6);
        find.push_back(TimeFind(library));
    }
    const int nodes = form.Category->Nodes().Count();

    // A folder of 2,000 files; the same names looked up as spelled and in upper case.
    const QString big = QFile::decodeName(prefix) + QStringLiteral("/drive_c/Big");
    QDir().mkpath(big);
    for (int i = 0; i < 2000; ++i) bench::WriteShortcut(big + QStringLiteral("/file%1.lnk").arg(i, 5, 10, QChar(u'0')));
    auto lookups = [](bool upper) {
        QElapsedTimer t;
        t.start();
        int found = 0;
        for (int i = 0; i < 2000; i += 10) {
            QString name = QStringLiteral("C:\\Big\\file%1.lnk").arg(i, 5, 10, QChar(u'0'));
            if (upper) name = name.toUpper();
            found += platform::LookUp(name).exists;
        }
        return std::make_pair(t.nsecsElapsed() / 1e3 / 200, found);
    };
    const auto exact = lookups(false);
    const auto fresh = lookups(true);
    // A folder left alone for a second has its scan kept; one changed just now is scanned each time.
    QThread::msleep(1100);
    const auto other = lookups(true);

    struct rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    const double reloadMs = bench::Median(reload), findMs = bench::Median(find);
    std::printf("library: %d categories, %d tree nodes\n", made, nodes);
    std::printf("ReloadTree:          %8.2f ms (median of %d)\n", reloadMs, kRuns);
    std::printf("find -type d:        %8.2f ms (median of %d)\n", findMs, kRuns);
    std::printf("ratio:               %8.2f (target at most 2.00)\n", reloadMs / findMs);
    std::printf("peak memory:         %8.1f MB (target at most 150)\n", usage.ru_maxrss / 1024.0);
    std::printf("look-up, exact case: %8.2f us per name (%d found)\n", exact.first, exact.second);
    std::printf("look-up, other case, folder just changed: %8.2f us per name (%d found), %.1f x exact\n", fresh.first,
                fresh.second, fresh.first / exact.first);
    std::printf("look-up, other case, folder settled:      %8.2f us per name (%d found), %.1f x exact\n", other.first,
                other.second, other.first / exact.first);
    platform::CloseMachine();
    return 0;
}
