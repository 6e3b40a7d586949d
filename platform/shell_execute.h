#pragma once
// Starting a program from a command line. The only program this machine has is the shell's
// explorer: "C:\WINDOWS\explorer.exe C:\Some Folder" opens the folder (the rest of the line,
// unquoted) in the host's file manager. Any other program is not found (error 53).
#include <QString>
#include <functional>

namespace platform {

enum WindowStyle { vbHide = 0, vbNormalFocus = 1 };

void Shell(const QString& commandLine, int windowStyle);

// Tests see the host folder that would open instead of a file manager; an opener that answers
// false is a file manager that cannot be started.
void SetFolderOpenerForTesting(std::function<bool(const QString& hostFolder)> opener);

}  // namespace platform
