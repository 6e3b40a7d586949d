#pragma once
// What a host folder holds, for comparing trees before and after a command.
#include <QByteArray>
#include <QString>
#include <map>

// Every entry below root (root itself left out), links not followed: path below root ("/a/b.lnk")
// to "dir", "file:<data>" or "link:<target>".
using Entries = std::map<QByteArray, QByteArray>;
Entries Tree(const QByteArray& root);

class TestMachine;
// The same below a folder of a test machine ("drive_c/WINDOWS/Desktop").
Entries TreeOf(const TestMachine& m, const QString& relative);
