#pragma once
// The total, reversible mapping between host file names (bytes) and Windows names (UTF-16).
//   host "a:b"       <-> Windows "a" U+F03A "b"     (a character Windows names cannot hold)
//   host "end. "     <-> Windows "end" U+F02E U+F020 (trailing dots and spaces)
//   host "\xff.lnk"  <-> Windows U+DCFF ".lnk"     (a byte that is not UTF-8)
// A host name that itself holds a character of U+F000..U+F0FF is escaped byte by byte, so every
// host name comes back unchanged from a round trip.
#include <QByteArray>
#include <QString>

namespace platform {

QString HostToWinName(const QByteArray& host);
QByteArray WinToHostName(const QString& win);

}  // namespace platform
