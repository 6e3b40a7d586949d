#pragma once
// A machine of its own for one test: a temporary prefix, opened, with the scripted answerer
// installed. A box that no test expected fails the test.
#include "platform/scripted_answerer.h"
#include "tests/printers.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

class TestMachine {
public:
    // login is the host user the machine sees; "" for one the system cannot name.
    explicit TestMachine(const QString& login = QStringLiteral("ann"));
    ~TestMachine();

    // Opens the machine again, as a second start of the program does.
    void Reopen();

    QByteArray Prefix() const { return prefix_; }
    // The host path of a path below the prefix: Host("drive_c/WINDOWS").
    QString Host(const QString& relative) const;
    // The host path of C:\...: HostC("WINDOWS\\Desktop").
    QString HostC(const QString& belowC) const;

    void MakeDir(const QString& relative) const;
    void WriteFile(const QString& relative, const QByteArray& content) const;
    QByteArray ReadFile(const QString& relative) const;
    bool Exists(const QString& relative) const;

    platform::ScriptedAnswerer answers;

private:
    QTemporaryDir dir_;
    QByteArray prefix_;
};
