#include "startup/shared_state.h"

QString ProductTitle;
QString ProductVersion;
QString CrLf;
QString StartDir;
QString UserName;
bool CheckSave = false;
bool ShowLogo = false;
QString WindowsDir;
QString HomeDir;
QString ProfilesDir;
QString LibraryDir;
QString TmpDir;
int16_t UndoAvailable = 0;
QString DesktopDir;
QString StartMenuDir;
