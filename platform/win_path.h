#pragma once
// Windows path parsing: pure string work, no system call. "C:\A\B", "c:/a/b", "Z:\home\ann",
// "\A" (root of the current drive), "A\B" (relative to the current folder).
#include <QString>
#include <QStringList>

namespace platform {

struct WinPath {
    QChar drive;          // upper case 'A'..'Z'; null when the text names no drive
    bool rooted = false;  // begins at the root of its drive
    QStringList parts;    // the components, "." and ".." already folded away; a path that is not
                          // rooted keeps the ".." that climb above its start ("..\..\A")
};

WinPath ParseWinPath(const QString& text);

// Splits "folder\pattern" at its last separator: {"C:\X", "*.lnk"}; "C:*.*" gives {"C:", "*.*"};
// "*.*" gives {"", "*.*"}.
struct FolderAndName {
    QString folder;
    QString name;
};
FolderAndName SplitLast(const QString& text);

// "C:\" + parts joined by "\".
QString JoinWinPath(QChar drive, const QStringList& parts);

// A component the user typed that Windows would refuse: a character a name cannot hold, a reserved
// device name (CON, NUL, COM1, LPT1, with or without an extension), an empty name, "." or "..", or a
// name ending in a dot or a space.
bool IsRefusedWinName(const QString& name);

}  // namespace platform
