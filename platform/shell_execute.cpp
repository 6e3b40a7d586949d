#include "platform/shell_execute.h"

#include "platform/drives.h"
#include "platform/file_services.h"
#include "platform/qpro.h"
#include "platform/vb_error.h"

#include <QDesktopServices>
#include <QFile>
#include <QUrl>

namespace platform {

namespace {

std::function<bool(const QString&)> g_opener;

bool OpenInFileManager(const QString& hostFolder) {
    if (g_opener) return g_opener(hostFolder);
    return QDesktopServices::openUrl(QUrl::fromLocalFile(hostFolder));
}

}  // namespace

void SetFolderOpenerForTesting(std::function<bool(const QString&)> opener) { g_opener = std::move(opener); }

void Shell(const QString& commandLine, int /*windowStyle*/) {
    QString windows = WinDir();
    windows.truncate(windows.indexOf(QChar(0)));
    const QString explorer = windows + QStringLiteral("\\explorer.exe");
    const bool isExplorer = commandLine.startsWith(explorer, Qt::CaseInsensitive) &&
                            (commandLine.size() == explorer.size() || commandLine[explorer.size()] == u' ');
    if (!isExplorer) Raise(kFileNotFound, commandLine);
    const QString folder = commandLine.mid(explorer.size() + 1);
    const HostLookup found = LookUp(folder.isEmpty() ? windows : folder);
    if (!found.exists || Dir(folder.isEmpty() ? windows : folder, vbDirectory).isEmpty()) Raise(kPathNotFound, folder);
    if (!OpenInFileManager(QFile::decodeName(found.host))) Raise(kFileNotFound, QStringLiteral("file manager"));
}

}  // namespace platform
