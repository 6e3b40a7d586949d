#pragma once
// One host folder read for a Windows pattern ("C:\X\*.lnk"): its folders and its files (links
// count as files and are never followed), each sorted by name without regard to case.
#include <QByteArray>
#include <QString>
#include <vector>

namespace platform {

enum class Want { Folders, Files };

struct FolderListing {
    int error = 0;  // errno of a folder that could not be read, 0 when it was read
    QByteArray host;  // the folder's host path
    std::vector<QString> names;
};

FolderListing ListFolder(const QString& pattern, Want want);

// The file services tell of a change in a host folder, so a kept read of it is not used again.
void ForgetFolderRead(const QByteArray& hostFolder);

// Sorts the way every listing is delivered: without regard to case, then exactly for names that
// differ only in case (possible on the host).
void SortNames(std::vector<QString>& names);

}  // namespace platform
