#include "platform/folder_listing.h"

#include "platform/drives.h"
#include "platform/name_map.h"
#include "platform/win_path.h"
#include "platform/wildcard.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <QHash>

#include <algorithm>
#include <ctime>
#include <cerrno>

namespace platform {

void SortNames(std::vector<QString>& names) {
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int c = QString::compare(a, b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
}

namespace {

// One read of a host folder: every entry, sorted as listings are delivered, and whether it is a
// folder. Kept and used again while the folder is the same folder with the same change time, but
// only when that time lay well before the read: a change in the same clock tick as the folder's
// last one would not move its time, and a read made that late could miss it.
struct FolderRead {
    dev_t dev = 0;
    ino_t ino = 0;
    struct timespec mtime {};
    std::vector<std::pair<QString, bool>> entries;
};

QHash<QByteArray, FolderRead> g_reads;
constexpr int kMaxReads = 4096;
constexpr long long kSettledNs = 100'000'000;

bool Settled(const struct timespec& mtime) {
    struct timespec now;
    clock_gettime(CLOCK_REALTIME, &now);
    const long long age = (now.tv_sec - mtime.tv_sec) * 1'000'000'000LL + (now.tv_nsec - mtime.tv_nsec);
    return age > kSettledNs;
}

// known: the folder's lstat from its look-up; a link is looked through.
const FolderRead* Read(const QByteArray& host, const struct stat& known, int* error) {
    struct stat st = known;
    if (!S_ISDIR(st.st_mode) && stat(host.constData(), &st) != 0) {
        *error = errno;
        return nullptr;
    }
    auto it = g_reads.find(host);
    if (it != g_reads.end() && it->dev == st.st_dev && it->ino == st.st_ino && it->mtime.tv_sec == st.st_mtim.tv_sec &&
        it->mtime.tv_nsec == st.st_mtim.tv_nsec)
        return &*it;
    DIR* dir = opendir(host.constData());
    if (!dir) {
        *error = errno;
        return nullptr;
    }
    FolderRead read;
    read.dev = st.st_dev;
    read.ino = st.st_ino;
    read.mtime = st.st_mtim;
    const int dfd = dirfd(dir);
    while (dirent* e = readdir(dir)) {
        const char* n = e->d_name;
        if (n[0] == '.' && (n[1] == 0 || (n[1] == '.' && n[2] == 0))) continue;
        bool isFolder = e->d_type == DT_DIR;
        if (e->d_type == DT_UNKNOWN) {
            struct stat entry;
            isFolder = fstatat(dfd, n, &entry, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(entry.st_mode);
        }
        read.entries.emplace_back(HostToWinName(QByteArray(n)), isFolder);
    }
    closedir(dir);
    std::sort(read.entries.begin(), read.entries.end(), [](const auto& a, const auto& b) {
        const int c = QString::compare(a.first, b.first, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a.first < b.first;
    });
    if (g_reads.size() >= kMaxReads) g_reads.clear();
    if (Settled(st.st_mtim)) return &*g_reads.insert(host, std::move(read));
    g_reads.remove(host);
    static FolderRead fresh;
    fresh = std::move(read);
    return &fresh;
}

}  // namespace

void ForgetFolderRead(const QByteArray& hostFolder) { g_reads.remove(hostFolder); }

FolderListing ListFolder(const QString& pattern, Want want) {
    FolderListing out;
    const FolderAndName split = SplitLast(pattern);
    const QString wild = split.name.isEmpty() ? QStringLiteral("*.*") : split.name;
    const HostLookup folder = LookUp(split.folder.isEmpty() ? CurrentWinDir() : split.folder);
    if (!folder.exists) {
        out.error = ENOENT;
        return out;
    }
    out.host = folder.host;
    const FolderRead* read = Read(folder.host, folder.entry, &out.error);
    if (!read) return out;
    const bool everything = wild == QLatin1String("*.*") || wild == QLatin1String("*");
    for (const auto& [name, isFolder] : read->entries) {
        if (isFolder != (want == Want::Folders)) continue;
        if (!everything && !DosMatch(wild, name)) continue;
        out.names.push_back(name);
    }
    return out;
}

}  // namespace platform
