// UPDATE START MENU over the 10,000-category library, against `cp -r` of the same library in the
// same run (after `rm -rf` of the previous copy, as the command deletes the previous mirror).
#include "bench/library_fixture.h"
#include "platform/machine.h"
#include "platform/settings_store.h"
#include "platform/user_name.h"
#include "startup/shared_state.h"
#include "ui/app_windows.h"
#include "ui/main_form.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <cstdio>

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
    std::vector<double> mirror, copy;
    for (int run = 0; run < 5; ++run) {
        QElapsedTimer t;
        t.start();
        form.CSCmdBtn3->click();  // the second run on also deletes the mirror the first made
        mirror.push_back(t.nsecsElapsed() / 1e6);
        // The same two steps by the host's tools: the old copy removed, the library copied.
        const QString target = dir.path() + QStringLiteral("/copy");
        t.start();
        QProcess sh;
        sh.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral("rm -rf '%1' && cp -r '%2' '%1'").arg(target, library)});
        sh.waitForFinished(-1);
        copy.push_back(t.nsecsElapsed() / 1e6);
    }
    struct rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    const double m = bench::Median(mirror), c = bench::Median(copy);
    std::printf("library: %d categories\n", made);
    std::printf("UPDATE START MENU: %8.1f ms (median of 5; deletes the old mirror first)\n", m);
    std::printf("rm -rf; cp -r:     %8.1f ms (median of 5)\n", c);
    std::printf("ratio:             %8.2f (target at most 2.00)\n", m / c);
    std::printf("peak memory:       %8.1f MB\n", usage.ru_maxrss / 1024.0);
    platform::CloseMachine();
    return 0;
}
