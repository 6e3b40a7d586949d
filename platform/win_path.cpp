#include "platform/win_path.h"

namespace platform {

static bool IsSeparator(QChar c) { return c == u'\\' || c == u'/'; }

WinPath ParseWinPath(const QString& text) {
    WinPath out;
    int pos = 0;
    if (text.size() >= 2 && text[1] == u':' && text[0].isLetter() && text[0].unicode() < 128) {
        out.drive = text[0].toUpper();
        pos = 2;
    }
    if (pos < text.size() && IsSeparator(text[pos])) out.rooted = true;
    const int n = text.size();
    while (pos < n) {
        while (pos < n && IsSeparator(text[pos])) ++pos;
        const int start = pos;
        while (pos < n && !IsSeparator(text[pos])) ++pos;
        if (pos == start) break;
        const QString part = text.mid(start, pos - start);
        if (part == QLatin1String(".")) continue;
        if (part == QLatin1String("..")) {
            // "..\A" relative to the current folder climbs above it: kept for the one who resolves
            // it. Above a root there is nothing, so there it is dropped ("C:\..\A" is "C:\A").
            if (!out.parts.isEmpty() && out.parts.last() != QLatin1String("..")) out.parts.removeLast();
            else if (!out.rooted) out.parts.append(part);
            continue;
        }
        out.parts.append(part);
    }
    return out;
}

FolderAndName SplitLast(const QString& text) {
    for (int i = text.size() - 1; i >= 0; --i) {
        if (IsSeparator(text[i])) return {text.left(i == 2 && text[1] == u':' ? 3 : (i == 0 ? 1 : i)), text.mid(i + 1)};
        if (text[i] == u':' && i == 1) return {text.left(2), text.mid(2)};
    }
    return {QString(), text};
}

QString JoinWinPath(QChar drive, const QStringList& parts) {
    QString out = QString(drive) + QStringLiteral(":\\");
    out += parts.join(u'\\');
    return out;
}

bool IsRefusedWinName(const QString& name) {
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..")) return true;
    for (QChar c : name) {
        const char16_t u = c.unicode();
        if (u < 32 || u == u'\\' || u == u'/' || u == u':' || u == u'*' || u == u'?' || u == u'"' ||
            u == u'<' || u == u'>' || u == u'|')
            return true;
    }
    const QChar last = name.back();
    if (last == u'.' || last == u' ') return true;
    const QString stem = name.section(u'.', 0, 0).trimmed().toUpper();
    static const QStringList reserved = {QStringLiteral("CON"), QStringLiteral("PRN"), QStringLiteral("AUX"),
                                         QStringLiteral("NUL"), QStringLiteral("CLOCK$")};
    if (reserved.contains(stem)) return true;
    if (stem.size() == 4 && (stem.startsWith(QLatin1String("COM")) || stem.startsWith(QLatin1String("LPT"))) &&
        stem[3] >= u'1' && stem[3] <= u'9')
        return true;
    return false;
}

}  // namespace platform
