#pragma once
// The one way the program reads a folder: a count, a name list of 260-character buffers, the
// names read out of it. Entries that read empty are skipped, so nobody acts on "F\" itself.
#include <QString>
#include <vector>

// The subfolders of folder, in delivery order; the reference entry is not among them.
std::vector<QString> SubfolderNames(const QString& folder);
// The files matching pattern ("C:\X\*.*"), in delivery order.
std::vector<QString> FileNames(const QString& pattern);

// A file or folder of that name is there: listing the path with the directory attribute gives a
// name. An existing file counts as present where a folder is asked for.
bool Exists(const QString& path);

// A plain file (no folder) is at destinationFile and its name equals name without regard to case.
bool AlreadyPresent(const QString& destinationFile, const QString& name);
