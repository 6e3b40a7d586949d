#include "platform/name_map.h"

namespace platform {

namespace {

constexpr char16_t kMapBase = 0xF000;
// Bytes 0x80..0xFF that are not UTF-8 become U+DC80..U+DCFF, as Python's surrogateescape does.
constexpr char16_t kByteBase = 0xDC80;

bool WinCannotHold(char32_t c) {
    return (c >= 1 && c < 32) || c == U'\\' || c == U':' || c == U'*' || c == U'?' || c == U'"' || c == U'<' ||
           c == U'>' || c == U'|';
}

// Decodes one UTF-8 sequence at data[i]; returns its length, or 0 when the bytes there are not a
// valid, shortest-form sequence of a scalar value.
int DecodeUtf8(const unsigned char* data, int n, int i, char32_t* out) {
    const unsigned char b = data[i];
    if (b < 0x80) {
        *out = b;
        return 1;
    }
    int len;
    char32_t c;
    char32_t min;
    if ((b & 0xE0) == 0xC0) { len = 2; c = b & 0x1F; min = 0x80; }
    else if ((b & 0xF0) == 0xE0) { len = 3; c = b & 0x0F; min = 0x800; }
    else if ((b & 0xF8) == 0xF0) { len = 4; c = b & 0x07; min = 0x10000; }
    else return 0;
    if (i + len > n) return 0;
    for (int k = 1; k < len; ++k) {
        if ((data[i + k] & 0xC0) != 0x80) return 0;
        c = (c << 6) | (data[i + k] & 0x3F);
    }
    if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
    *out = c;
    return len;
}

void AppendScalar(QString& s, char32_t c) {
    if (c >= 0x10000) {
        s.append(QChar(QChar::highSurrogate(c)));
        s.append(QChar(QChar::lowSurrogate(c)));
    } else {
        s.append(QChar(char16_t(c)));
    }
}

void AppendUtf8(QByteArray& b, char32_t c) {
    if (c < 0x80) b.append(char(c));
    else if (c < 0x800) { b.append(char(0xC0 | (c >> 6))); b.append(char(0x80 | (c & 0x3F))); }
    else if (c < 0x10000) {
        b.append(char(0xE0 | (c >> 12))); b.append(char(0x80 | ((c >> 6) & 0x3F))); b.append(char(0x80 | (c & 0x3F)));
    } else {
        b.append(char(0xF0 | (c >> 18))); b.append(char(0x80 | ((c >> 12) & 0x3F)));
        b.append(char(0x80 | ((c >> 6) & 0x3F))); b.append(char(0x80 | (c & 0x3F)));
    }
}

}  // namespace

QString HostToWinName(const QByteArray& host) {
    const auto* data = reinterpret_cast<const unsigned char*>(host.constData());
    const int n = host.size();
    bool plain = true;
    for (int i = 0; i < n && plain; ++i) plain = data[i] >= 32 && data[i] < 0x80 && !WinCannotHold(data[i]);
    if (plain && n > 0 && data[n - 1] != '.' && data[n - 1] != ' ') return QString::fromLatin1(host);

    // Where the trailing run of dots and spaces starts; those are mapped too.
    int tail = n;
    while (tail > 0 && (data[tail - 1] == '.' || data[tail - 1] == ' ')) --tail;
    QString out;
    out.reserve(n);
    for (int i = 0; i < n;) {
        char32_t c;
        const int len = DecodeUtf8(data, n, i, &c);
        if (len == 0 || (c >= kMapBase && c <= kMapBase + 0xFF)) {
            const int bytes = len == 0 ? 1 : len;
            for (int k = 0; k < bytes; ++k) out.append(QChar(char16_t(kByteBase - 0x80 + data[i + k])));
            i += bytes;
            continue;
        }
        if (WinCannotHold(c) || (i >= tail && (c == U'.' || c == U' '))) out.append(QChar(char16_t(kMapBase + c)));
        else AppendScalar(out, c);
        i += len;
    }
    return out;
}

QByteArray WinToHostName(const QString& win) {
    QByteArray out;
    out.reserve(win.size());
    const int n = win.size();
    for (int i = 0; i < n; ++i) {
        const char16_t u = win[i].unicode();
        if (u < 0x80) { out.append(char(u)); continue; }
        if (u >= kByteBase && u <= kByteBase + 0x7F) { out.append(char(u - (kByteBase - 0x80))); continue; }
        if (u >= kMapBase && u <= kMapBase + 0x7F && (WinCannotHold(u - kMapBase) || u - kMapBase == '.' || u - kMapBase == ' ')) {
            out.append(char(u - kMapBase));
            continue;
        }
        char32_t c = u;
        if (QChar::isHighSurrogate(u) && i + 1 < n && QChar::isLowSurrogate(win[i + 1].unicode())) {
            c = QChar::surrogateToUcs4(u, win[i + 1].unicode());
            ++i;
        }
        AppendUtf8(out, c);
    }
    return out;
}

}  // namespace platform
