#pragma once
// The Windows machine on this host: one prefix folder, as a Wine prefix. VALDRINE_PREFIX names it;
// the default is $XDG_DATA_HOME/valdrine (~/.local/share/valdrine).
//
//   drive_c/            C:
//   dosdevices/d:       a link to a host folder makes drive D:
//   system.reg          HKEY_LOCAL_MACHINE
//   users/<login>.reg   HKEY_CURRENT_USER of each host login
//
// Opening the machine sets up what is missing and never overwrites anything: C:\WINDOWS, its
// Desktop and Start Menu\Programs, the files the program ships, the version and the user's shell
// folders.
#include <QByteArray>
#include <QString>

#include <exception>
#include <vector>

namespace platform {

struct ShippedFile {
    QString windowsPath;  // "C:\WINDOWS\valdrine.HLP"
    QString sourcePath;   // a Qt resource or host file, ":/valdrine.HLP"
};

// Why the machine cannot be used; the text names the file or folder and the failure.
class MachineError : public std::exception {
public:
    explicit MachineError(QString message);
    const QString& Message() const { return message_; }
    const char* what() const noexcept override { return what_.constData(); }

private:
    QString message_;
    QByteArray what_;
};

QByteArray DefaultPrefix();
// Opens the machine at VALDRINE_PREFIX (or the default). A hive that cannot be read is reported
// before anything is created or written.
void OpenMachine(const std::vector<ShippedFile>& shipped);
void OpenMachineAt(const QByteArray& prefix, const std::vector<ShippedFile>& shipped);
void CloseMachine();

}  // namespace platform
