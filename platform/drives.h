#pragma once
// The drive map of the machine and the case-insensitive look-up of Windows paths on the host.
//   C:  <prefix>/drive_c
//   Z:  the host's root "/"
//   D:  whatever the link <prefix>/dosdevices/d: points at (any letter but C and Z)
#include <QByteArray>
#include <QString>

#include <sys/stat.h>

namespace platform {

// Where the machine lives on the host ("" before the machine is open).
QByteArray PrefixDir();
void SetPrefixDir(const QByteArray& prefix);

// The host folder of a drive letter ("/" for Z:), "" when the machine has no such drive.
QByteArray DriveRoot(QChar drive);

struct HostLookup {
    QByteArray host;     // the host path; components that were not found are mapped as spelled
    bool exists = false; // the whole path names an entry (a link counts, it is not followed)
    bool parentExists = false;  // every component but the last was found
    bool drive = true;   // false when the path names a drive the machine does not have
    struct stat entry {};  // lstat of host, when it exists
};

// Each component is matched without regard to case: the exact host name first, then a scan of its
// folder. A path that exists as spelled costs one lstat.
HostLookup LookUp(const QString& winPath);

// The file services tell of each entry they made or removed, so a kept folder scan stays true
// without reading the folder again.
enum class EntryChange { Added, Removed };
void NoteHostChange(const QByteArray& hostPath, EntryChange change);
// A folder just made is known to be empty: look-ups in it need not read it.
void NoteNewEmptyFolder(const QByteArray& hostFolder);

// The Windows name of a host path, through the drive map ("/home/ann/x" is "Z:\home\ann\x").
QString WinPathOfHost(const QByteArray& hostPath);

// The Windows path of the process's current folder.
QString CurrentWinDir();

}  // namespace platform
