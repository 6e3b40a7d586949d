#include "platform/drives.h"

#include "platform/folder_listing.h"
#include "platform/name_map.h"
#include "platform/win_path.h"

#include <QHash>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <ctime>
#include <cstdlib>

namespace platform {

namespace {

QByteArray g_prefix;

bool Present(const QByteArray& host, struct stat* entry = nullptr) {
    struct stat st;
    return lstat(host.constData(), entry ? entry : &st) == 0;
}

// folder + "/" + name, without doubling the slash of the host root ("/" + "usr" is "/usr").
QByteArray Child(const QByteArray& folder, const QByteArray& name) {
    return folder.endsWith('/') ? folder + name : folder + '/' + name;
}

// A scan of one folder for look-ups without regard to case: each Windows name, case-folded, to the
// host name it came from (the smallest host name where several fold alike, so a pick is stable).
// A scan is used again while the folder has the identity and the change time it had when it was
// read or when a change made here was noted in it. A change made by someone else within the same
// tick of the clock as the scan can go unseen by look-ups in another case until the folder changes
// again; look-ups of names as spelled never depend on a scan.
struct FolderScan {
    dev_t dev = 0;
    ino_t ino = 0;
    struct timespec mtime {};
    QHash<QString, QByteArray> byFolded;
};

QHash<QByteArray, FolderScan> g_scans;
constexpr int kMaxScans = 4096;

bool SameTime(const struct timespec& a, const struct timespec& b) { return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec; }

// known: the folder's lstat when the caller has it; a link is looked through.
const FolderScan* Scanned(const QByteArray& folder, const struct stat* known = nullptr) {
    struct stat st;
    if (known && S_ISDIR(known->st_mode)) st = *known;
    else if (stat(folder.constData(), &st) != 0 || !S_ISDIR(st.st_mode)) return nullptr;
    auto it = g_scans.find(folder);
    if (it != g_scans.end() && it->dev == st.st_dev && it->ino == st.st_ino && SameTime(it->mtime, st.st_mtim)) return &*it;
    DIR* dir = opendir(folder.constData());
    if (!dir) return nullptr;
    FolderScan scan;
    scan.dev = st.st_dev;
    scan.ino = st.st_ino;
    scan.mtime = st.st_mtim;
    while (dirent* e = readdir(dir)) {
        const char* n = e->d_name;
        if (n[0] == '.' && (n[1] == 0 || (n[1] == '.' && n[2] == 0))) continue;
        const QByteArray host(n);
        QByteArray& slot = scan.byFolded[HostToWinName(host).toCaseFolded()];
        if (slot.isEmpty() || host < slot) slot = host;
    }
    closedir(dir);
    if (g_scans.size() >= kMaxScans) g_scans.clear();
    return &*g_scans.insert(folder, std::move(scan));
}

// The entry of folder whose Windows name equals name without regard to case; "" when none does.
QByteArray ScanFor(const QByteArray& folder, const QString& name, const struct stat* known = nullptr) {
    const FolderScan* scan = Scanned(folder, known);
    if (!scan) return {};
    return scan->byFolded.value(name.toCaseFolded());
}

// A host path without "." and ".." components, made absolute.
QByteArray Absolute(const QByteArray& host) {
    QByteArray path = host;
    if (!path.startsWith('/')) {
        char buf[PATH_MAX];
        if (getcwd(buf, sizeof buf)) path = QByteArray(buf) + '/' + path;
    }
    QList<QByteArray> out;
    for (const QByteArray& part : path.split('/')) {
        if (part.isEmpty() || part == ".") continue;
        if (part == "..") {
            if (!out.isEmpty()) out.removeLast();
            continue;
        }
        out.append(part);
    }
    return '/' + out.join('/');
}

// The part of host below root ("" for root itself); false when host is not at or below root. The
// host root is no root here: a drive linked to "/" leaves that to Z:.
bool Below(const QByteArray& host, const QByteArray& root, QByteArray* rest) {
    if (root.isEmpty() || root == "/") return false;
    if (host == root) {
        rest->clear();
        return true;
    }
    if (!host.startsWith(root + '/')) return false;
    *rest = host.mid(root.size());
    return true;
}

// A drive's folder both as spelled through the prefix and as the host resolves it: the current
// folder comes resolved from getcwd, while a path built from the prefix is not.
bool BelowDrive(const QByteArray& host, const QByteArray& driveRoot, QByteArray* rest) {
    if (Below(host, Absolute(driveRoot), rest)) return true;
    char real[PATH_MAX];
    return realpath(driveRoot.constData(), real) && Below(host, QByteArray(real), rest);
}

QString MapComponents(QChar drive, const QByteArray& rest) {
    QStringList parts;
    for (const QByteArray& part : rest.split('/'))
        if (!part.isEmpty()) parts.append(HostToWinName(part));
    return JoinWinPath(drive, parts);
}

}  // namespace

void NoteHostChange(const QByteArray& hostPath, EntryChange change) {
    const int slash = hostPath.lastIndexOf('/');
    if (slash < 0) return;
    const QByteArray folder = slash == 0 ? QByteArray("/") : hostPath.left(slash);
    ForgetFolderRead(folder);
    if (change == EntryChange::Removed) ForgetFolderRead(hostPath);
    auto it = g_scans.find(folder);
    if (it == g_scans.end()) return;
    const QByteArray name = hostPath.mid(slash + 1);
    const QString folded = HostToWinName(name).toCaseFolded();
    if (change == EntryChange::Removed && it->byFolded.value(folded) == name) {
        // Another name of the same folding may be there too; only a new scan can tell.
        g_scans.erase(it);
        return;
    }
    struct stat st;
    if (stat(folder.constData(), &st) != 0) {
        g_scans.erase(it);
        return;
    }
    if (change == EntryChange::Added) {
        QByteArray& slot = it->byFolded[folded];
        if (slot.isEmpty() || name < slot) slot = name;
    }
    it->dev = st.st_dev;
    it->ino = st.st_ino;
    it->mtime = st.st_mtim;
}

void NoteNewEmptyFolder(const QByteArray& hostFolder) {
    struct stat st;
    if (stat(hostFolder.constData(), &st) != 0) return;
    if (g_scans.size() >= kMaxScans) g_scans.clear();
    FolderScan scan;
    scan.dev = st.st_dev;
    scan.ino = st.st_ino;
    scan.mtime = st.st_mtim;
    g_scans.insert(hostFolder, std::move(scan));
}

QByteArray PrefixDir() { return g_prefix; }

void SetPrefixDir(const QByteArray& prefix) {
    g_prefix = prefix;
    while (g_prefix.size() > 1 && g_prefix.endsWith('/')) g_prefix.chop(1);
}

QByteArray DriveRoot(QChar drive) {
    const QChar d = drive.toUpper();
    if (d == u'Z') return QByteArrayLiteral("/");
    if (g_prefix.isEmpty() || d < u'A' || d > u'Z') return QByteArray();
    if (d == u'C') return g_prefix + "/drive_c";
    const QByteArray link = g_prefix + "/dosdevices/" + char(d.toLower().unicode()) + ':';
    struct stat st;
    if (stat(link.constData(), &st) != 0 || !S_ISDIR(st.st_mode)) return QByteArray();
    return link;
}

HostLookup LookUp(const QString& winPath) {
    HostLookup out;
    WinPath path = ParseWinPath(winPath);
    if (path.drive.isNull() || !path.rooted) {
        const WinPath here = ParseWinPath(CurrentWinDir());
        // "A\B", "\A" and "C:..\A" on the current drive start at the current folder or its root;
        // "D:A" on another drive starts at D's root, the only current folder D has here.
        const bool sameDrive = path.drive.isNull() || path.drive == here.drive;
        QStringList parts = sameDrive && !path.rooted ? here.parts : QStringList();
        for (const QString& part : path.parts) {
            if (part != QLatin1String("..")) parts.append(part);
            else if (!parts.isEmpty()) parts.removeLast();
        }
        path.parts = parts;
        if (path.drive.isNull()) path.drive = here.drive;
        path.rooted = true;
    }
    const QByteArray root = DriveRoot(path.drive);
    if (root.isEmpty()) {
        out.drive = false;
        return out;
    }
    QList<QByteArray> hostParts;
    hostParts.reserve(path.parts.size());
    QByteArray exact = root;
    for (const QString& part : path.parts) {
        hostParts.append(WinToHostName(part));
        exact = Child(exact, hostParts.back());
    }
    if (Present(exact, &out.entry)) {
        out.host = exact;
        out.exists = out.parentExists = true;
        return out;
    }
    // The usual miss is a name about to be made in a folder spelled as it is: one more lstat and
    // the folder's scan.
    if (!path.parts.isEmpty()) {
        const QByteArray parent = exact.left(exact.size() - hostParts.back().size() - 1);
        struct stat parentEntry;
        if (Present(parent.isEmpty() ? QByteArray("/") : parent, &parentEntry)) {
            const QByteArray found = ScanFor(parent.isEmpty() ? QByteArray("/") : parent, path.parts.back(), &parentEntry);
            out.host = found.isEmpty() ? exact : Child(parent, found);
            out.exists = !found.isEmpty() && Present(out.host, &out.entry);
            out.parentExists = true;
            return out;
        }
    }
    QByteArray cur = root;
    for (int i = 0; i < path.parts.size(); ++i) {
        QByteArray next = Child(cur, hostParts[i]);
        if (!Present(next)) {
            const QByteArray found = ScanFor(cur, path.parts[i]);
            if (found.isEmpty()) {
                for (int k = i + 1; k < hostParts.size(); ++k) next = Child(next, hostParts[k]);
                out.host = next;
                out.parentExists = i == path.parts.size() - 1;
                return out;
            }
            next = Child(cur, found);
        }
        cur = next;
    }
    out.host = cur;
    out.exists = Present(cur, &out.entry);
    out.parentExists = true;
    return out;
}

QString WinPathOfHost(const QByteArray& hostPath) {
    const QByteArray host = Absolute(hostPath);
    QByteArray rest;
    if (!g_prefix.isEmpty()) {
        if (BelowDrive(host, DriveRoot(u'C'), &rest)) return MapComponents(u'C', rest);
        for (char letter = 'A'; letter <= 'Y'; ++letter) {
            if (letter == 'C') continue;
            const QByteArray root = DriveRoot(QChar(letter));
            if (!root.isEmpty() && BelowDrive(host, root, &rest)) return MapComponents(QChar(letter), rest);
        }
    }
    return MapComponents(u'Z', host);
}

QString CurrentWinDir() {
    char buf[PATH_MAX];
    if (!getcwd(buf, sizeof buf)) return QStringLiteral("Z:\\");
    return WinPathOfHost(QByteArray(buf));
}

}  // namespace platform
