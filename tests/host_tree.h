#pragma once
// What host folders and files hold, for comparing them before and after a command.
#include <QByteArray>
#include <QString>
#include <map>

// Every entry below root (root itself left out), links not followed: path below root ("/a/b.lnk")
// to "dir", "file:<data>" or "link:<target>".
using Entries = std::map<QByteArray, QByteArray>;
Entries Tree(const QByteArray& root);

// A host file's bytes, or "<cannot open PATH>" so a missing file never equals an empty one.
QByteArray Contents(const QString& path);
// Writes a host file, making its folders; a failure fails the test.
void Put(const QString& path, const QByteArray& bytes);

class TestMachine;
// The same below a folder of a test machine ("drive_c/WINDOWS/Desktop").
Entries TreeOf(const TestMachine& m, const QString& relative);
