#pragma once
// The benchmarks' machine and library: 10,000 nested categories (fan-out 8, filled depth first down to six
// levels), one small shortcut file in each.
#include <QDir>
#include <QFile>
#include <QString>

#include "platform/machine.h"
#include "platform/settings_store.h"
#include "platform/user_name.h"

#include <algorithm>
#include <vector>

namespace bench {

constexpr int kCategories = 10000;

inline void WriteShortcut(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly)) return;
    QByteArray header(76, '\0');
    header[0] = 0x4C;
    f.write(header);
}

inline void FillLibrary(const QString& folder, int depth, int& made) {
    for (int i = 0; i < 8 && made < kCategories; ++i) {
        const QString child = folder + QStringLiteral("/Category %1").arg(i);
        QDir().mkdir(child);
        WriteShortcut(child + QStringLiteral("/Shortcut.lnk"));
        ++made;
        if (depth < 6) FillLibrary(child, depth + 1, made);
    }
}

// A machine of the benchmark's own below dir, for the login "bench", with the splash off.
inline QByteArray OpenBenchMachine(const QString& dir) {
    const QByteArray prefix = QFile::encodeName(dir) + "/machine";
    platform::SetLoginForTesting(QStringLiteral("bench"));
    platform::OpenMachineAt(prefix, {});
    platform::SaveSetting(QStringLiteral("Valdrine"), QStringLiteral("user\\bench"), QStringLiteral("ShowLogo"),
                          QStringLiteral("False"));
    return prefix;
}

// Fills the user's library on that machine; answers its host folder and how many categories it holds.
inline QString BuildLibrary(const QByteArray& prefix, int* made) {
    const QString library = QFile::decodeName(prefix) + QStringLiteral("/drive_c/WINDOWS/VALDRINE/PROFILES/bench");
    QDir().mkpath(library);
    *made = 0;
    FillLibrary(library, 1, *made);
    return library;
}

inline double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace bench
