#pragma once
// The file-system services, in VB's terms. Every failure is a VbError.
#include <QByteArray>
#include <QString>

namespace platform {

enum FileAttribute { vbNormal = 0, vbReadOnly = 1, vbHidden = 2, vbSystem = 4, vbDirectory = 16 };

// The name of the first entry that matches (a path or a folder plus a wildcard pattern), as it is
// spelled on disk; "" when none does. Folders are seen only with vbDirectory in attributes.
// Dir("C:\WINDOWS\valdrine", vbDirectory) gives "VALDRINE" when that folder (or a file) exists.
QString Dir(const QString& pathPattern, int attributes = vbNormal);

void MkDir(const QString& path);   // one level; 76 when the parent is missing, 75 when the name is taken
void RmDir(const QString& path);   // 76 when missing, 75 when not empty
// Renames (moves) a file or folder. Between drives it works only when the host can do it in one
// step; otherwise 74. Never copies. 58 when the new name is taken.
void Name(const QString& oldPath, const QString& newPath);
// Copies a file over any file of that name; the new file replaces the old one only once it is
// complete. A link is copied as a link.
void FileCopy(const QString& source, const QString& destination);
// Deletes the files (links included, never what they point at) that match; 53 when none does.
void Kill(const QString& pattern);

// A one-line text file: the line without its CR LF.
QString ReadLine(const QString& file);
// Writes text followed by CR LF, replacing the file.
void WriteLine(const QString& file, const QString& text);
// Writes the bytes as the file's whole content; an old file of that name is replaced only once the
// new one is complete.
void WriteWholeFile(const QString& file, const QByteArray& data);

}  // namespace platform
