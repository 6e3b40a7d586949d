#pragma once
// Windows shortcut files in the published binary shell-link format: the 76-byte header, a LinkInfo
// whose VolumeID and LocalBasePath name the target (in the ANSI code page and in UTF-16), and the
// command-line arguments as UTF-16 string data.
#include <QByteArray>
#include <QString>

namespace platform {

// The bytes of a shortcut to target ("C:\VALPAINT.EXE") with arguments ("" for none).
QByteArray ShellLinkBytes(const QString& target, const QString& arguments);

// Writes the shortcut file, replacing one of that name once the new one is complete. VbError on
// failure.
void WriteShellLink(const QString& linkPath, const QString& target, const QString& arguments);

}  // namespace platform
