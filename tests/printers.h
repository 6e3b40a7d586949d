#pragma once
// Readable texts and host names in assertion messages.
#include <QByteArray>
#include <QString>
#include <ostream>

// Failure messages show NUL padding and characters outside printable ASCII escaped.
inline void PrintTo(const QString& s, std::ostream* os) {
    qsizetype end = s.size();
    while (end > 0 && s[end - 1] == QChar(0)) --end;
    *os << '"';
    for (qsizetype i = 0; i < end; ++i) {
        const char16_t u = s[i].unicode();
        if (u >= 32 && u < 127) *os << char(u);
        else *os << "\\u" << std::hex << std::uppercase << int(u) << std::dec << std::nouppercase << ' ';
    }
    *os << '"';
    if (end < s.size()) *os << " + " << (s.size() - end) << " NUL";
}

// Host names in failure messages, the bytes that are not printable escaped.
inline void PrintTo(const QByteArray& b, std::ostream* os) {
    *os << '"';
    for (const char c : b) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (u >= 32 && u < 127) *os << c;
        else *os << "\\x" << std::hex << int(u) << std::dec << ' ';
    }
    *os << '"';
}
