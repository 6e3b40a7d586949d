#include "platform/folder_listing.h"

#include "platform/drives.h"
#include "platform/name_map.h"
#include "platform/win_path.h"
#include "platform/wildcard.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>

namespace platform {

void SortNames(std::vector<QString>& names) {
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int c = QString::compare(a, b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
}

FolderListing ListFolder(const QString& pattern, Want want) {
    FolderListing out;
    const FolderAndName split = SplitLast(pattern);
    const QString wild = split.name.isEmpty() ? QStringLiteral("*.*") : split.name;
    const HostLookup folder = LookUp(split.folder.isEmpty() ? CurrentWinDir() : split.folder);
    if (!folder.exists) {
        out.error = ENOENT;
        return out;
    }
    DIR* dir = opendir(folder.host.constData());
    if (!dir) {
        out.error = errno;
        return out;
    }
    const bool everything = wild == QLatin1String("*.*") || wild == QLatin1String("*");
    const int dfd = dirfd(dir);
    while (dirent* e = readdir(dir)) {
        const char* n = e->d_name;
        if (n[0] == '.' && (n[1] == 0 || (n[1] == '.' && n[2] == 0))) continue;
        bool isFolder = e->d_type == DT_DIR;
        if (e->d_type == DT_UNKNOWN) {
            struct stat st;
            isFolder = fstatat(dfd, n, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode);
        }
        if (isFolder != (want == Want::Folders)) continue;
        QString name = HostToWinName(QByteArray(n));
        if (!everything && !DosMatch(wild, name)) continue;
        out.names.push_back(std::move(name));
    }
    closedir(dir);
    SortNames(out.names);
    return out;
}

}  // namespace platform
