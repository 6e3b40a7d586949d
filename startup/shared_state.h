#pragma once
// The state the start-up fills and every window reads. Paths are Windows paths without a trailing
// backslash. Only CheckSave, ShowLogo and UndoAvailable change after start-up.
#include <QString>
#include <cstdint>

extern QString ProductTitle;    // "VALDRINE."
extern QString ProductVersion;  // "2.00"
extern QString CrLf;
extern QString StartDir;
extern QString UserName;
extern bool CheckSave;
extern bool ShowLogo;
extern QString WindowsDir;
extern QString HomeDir;
extern QString ProfilesDir;
extern QString LibraryDir;
extern QString TmpDir;
extern int16_t UndoAvailable;
extern QString DesktopDir;
extern QString StartMenuDir;
