#include "platform/machine.h"

#include "platform/drives.h"
#include "platform/name_map.h"
#include "platform/registry.h"
#include "platform/user_name.h"

#include <QDir>
#include <QFile>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace platform {

namespace {

const QString kCurrentVersion = QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion");
const QString kShellFolders = QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders");

QString Host(const QByteArray& path) { return QString::fromLocal8Bit(path); }
QString Reason(int err) { return QString::fromLocal8Bit(std::strerror(err)); }

void MakeHostFolder(const QByteArray& path) {
    struct stat st;
    if (lstat(path.constData(), &st) == 0) return;
    if (mkdir(path.constData(), 0777) != 0)
        throw MachineError(QStringLiteral("Cannot create the folder %1: %2.").arg(Host(path), Reason(errno)));
}

// Makes a folder of the machine unless one of that name, in any case, is there.
void MakeWindowsFolder(const QString& winPath) {
    const HostLookup found = LookUp(winPath);
    if (!found.exists) MakeHostFolder(found.host);
}

void Install(const ShippedFile& file) {
    const HostLookup found = LookUp(file.windowsPath);
    if (found.exists) return;
    QFile source(file.sourcePath);
    if (!source.open(QIODevice::ReadOnly))
        throw MachineError(QStringLiteral("Cannot read %1: %2.").arg(file.sourcePath, source.errorString()));
    const QByteArray data = source.readAll();
    QFile target(Host(found.host));
    if (!target.open(QIODevice::WriteOnly) || target.write(data) != data.size() || !target.flush())
        throw MachineError(QStringLiteral("Cannot write %1: %2.").arg(Host(found.host), target.errorString()));
}

bool HasValue(HKEY root, const QString& key, const QString& name) {
    HKEY handle = 0;
    if (RegOpenKeyA(root, key.toUtf8().constData(), &handle) != ERROR_SUCCESS) return false;
    uint32_t type = 0, size = 0;
    const bool present =
        RegQueryValueExA(handle, name.toUtf8().constData(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS;
    RegCloseKey(handle);
    return present;
}

void SetIfMissing(HKEY root, const QString& key, const QString& name, const QString& value) {
    if (!HasValue(root, key, name)) RegistrySetString(root, key, name, value);
}

QByteArray UserHiveName(const QString& login) {
    const QString name = login.isEmpty() ? QStringLiteral("NoUser") : login;
    return WinToHostName(name).replace('/', '_') + ".reg";
}

}  // namespace

MachineError::MachineError(QString message) : message_(std::move(message)), what_(message_.toUtf8()) {}

QByteArray DefaultPrefix() {
    QByteArray data = qgetenv("XDG_DATA_HOME");
    if (data.isEmpty()) data = qgetenv("HOME") + "/.local/share";
    return data + "/valdrine";
}

void OpenMachine(const std::vector<ShippedFile>& shipped) {
    QByteArray prefix = qgetenv("VALDRINE_PREFIX");
    if (prefix.isEmpty()) prefix = DefaultPrefix();
    OpenMachineAt(prefix, shipped);
}

void OpenMachineAt(const QByteArray& prefix, const std::vector<ShippedFile>& shipped) {
    CloseMachine();
    if (!QDir().mkpath(Host(prefix))) {
        struct stat st;
        const int err = lstat(prefix.constData(), &st) == 0 ? ENOTDIR : EACCES;
        throw MachineError(QStringLiteral("Cannot create the machine folder %1: %2.").arg(Host(prefix), Reason(err)));
    }
    // Read before anything is written, so a hive that cannot be read stays exactly as it is.
    const QByteArray systemHive = prefix + "/system.reg";
    const QByteArray userHive = prefix + "/users/" + UserHiveName(HostLogin());
    try {
        LoadRegistry(systemHive, userHive);
    } catch (const HiveError& e) {
        throw MachineError(QStringLiteral("Cannot read the registry file %1, line %2:\n%3\n\nNothing was changed.")
                               .arg(e.File())
                               .arg(e.Line())
                               .arg(e.Text()));
    }
    if (access(prefix.constData(), W_OK | X_OK) != 0)
        throw MachineError(QStringLiteral("The machine folder %1 cannot be written: %2.").arg(Host(prefix), Reason(errno)));
    SetPrefixDir(prefix);
    MakeHostFolder(prefix + "/drive_c");
    MakeHostFolder(prefix + "/dosdevices");
    MakeHostFolder(prefix + "/users");
    MakeWindowsFolder(QStringLiteral("C:\\WINDOWS"));
    MakeWindowsFolder(QStringLiteral("C:\\WINDOWS\\Desktop"));
    MakeWindowsFolder(QStringLiteral("C:\\WINDOWS\\Start Menu"));
    MakeWindowsFolder(QStringLiteral("C:\\WINDOWS\\Start Menu\\Programs"));
    for (const ShippedFile& file : shipped) Install(file);
    try {
        SetIfMissing(HKEY_LOCAL_MACHINE, kCurrentVersion, QStringLiteral("VersionNumber"), QStringLiteral("4.00.950"));
        SetIfMissing(HKEY_CURRENT_USER, kShellFolders, QStringLiteral("Desktop"), QStringLiteral("C:\\WINDOWS\\Desktop"));
        SetIfMissing(HKEY_CURRENT_USER, kShellFolders, QStringLiteral("Start Menu"), QStringLiteral("C:\\WINDOWS\\Start Menu"));
    } catch (const std::exception& e) {
        throw MachineError(QStringLiteral("Cannot write the registry of the machine in %1: %2.").arg(Host(prefix), QString::fromUtf8(e.what())));
    }
}

void CloseMachine() {
    UnloadRegistry();
    SetPrefixDir(QByteArray());
}

}  // namespace platform
