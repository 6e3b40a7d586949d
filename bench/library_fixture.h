#pragma once
// The benchmarks' library: 10,000 nested categories (fan-out 8, filled depth first down to six
// levels), one small shortcut file in each.
#include <QDir>
#include <QFile>
#include <QString>

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

inline double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace bench
