#include "platform/drives.h"

#include "platform/name_map.h"
#include "platform/win_path.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>

namespace platform {

namespace {

QByteArray g_prefix;

bool Present(const QByteArray& host) {
    struct stat st;
    return lstat(host.isEmpty() ? "/" : host.constData(), &st) == 0;
}

// The entry of folder whose Windows name equals name without regard to case; "" when none does.
QByteArray ScanFor(const QByteArray& folder, const QString& name) {
    DIR* dir = opendir(folder.isEmpty() ? "/" : folder.constData());
    if (!dir) return {};
    QByteArray found;
    while (dirent* e = readdir(dir)) {
        const char* n = e->d_name;
        if (n[0] == '.' && (n[1] == 0 || (n[1] == '.' && n[2] == 0))) continue;
        const QByteArray host(n);
        if (QString::compare(HostToWinName(host), name, Qt::CaseInsensitive) == 0) {
            found = host;
            break;
        }
    }
    closedir(dir);
    return found;
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

QString MapComponents(QChar drive, const QByteArray& rest) {
    QStringList parts;
    for (const QByteArray& part : rest.split('/'))
        if (!part.isEmpty()) parts.append(HostToWinName(part));
    return JoinWinPath(drive, parts);
}

}  // namespace

QByteArray PrefixDir() { return g_prefix; }

void SetPrefixDir(const QByteArray& prefix) {
    g_prefix = prefix;
    while (g_prefix.size() > 1 && g_prefix.endsWith('/')) g_prefix.chop(1);
}

QByteArray DriveRoot(QChar drive) {
    const QChar d = drive.toUpper();
    if (d == u'Z') return QByteArray();  // the host root: components are appended as "/name"
    if (g_prefix.isEmpty()) return QByteArray("\0", 1);
    if (d == u'C') return g_prefix + "/drive_c";
    if (d < u'A' || d > u'Z') return QByteArray("\0", 1);
    const QByteArray link = g_prefix + "/dosdevices/" + char(d.toLower().unicode()) + ':';
    struct stat st;
    if (stat(link.constData(), &st) != 0 || !S_ISDIR(st.st_mode)) return QByteArray("\0", 1);
    return link;
}

HostLookup LookUp(const QString& winPath) {
    HostLookup out;
    WinPath path = ParseWinPath(winPath);
    if (path.drive.isNull() || !path.rooted) {
        const WinPath here = ParseWinPath(CurrentWinDir());
        if (path.drive.isNull() || path.drive == here.drive) {
            QStringList parts = path.rooted ? QStringList() : here.parts;
            parts += path.parts;
            path.parts = parts;
            if (path.drive.isNull()) path.drive = here.drive;
        }
        path.rooted = true;
    }
    const QByteArray root = DriveRoot(path.drive);
    if (root.size() == 1 && root[0] == '\0') {
        out.drive = false;
        return out;
    }
    QList<QByteArray> hostParts;
    hostParts.reserve(path.parts.size());
    QByteArray exact = root;
    for (const QString& part : path.parts) {
        hostParts.append(WinToHostName(part));
        exact += '/' + hostParts.back();
    }
    if (Present(exact)) {
        out.host = exact.isEmpty() ? QByteArray("/") : exact;
        out.exists = out.parentExists = true;
        return out;
    }
    QByteArray cur = root;
    for (int i = 0; i < path.parts.size(); ++i) {
        QByteArray next = cur + '/' + hostParts[i];
        if (!Present(next)) {
            const QByteArray found = ScanFor(cur, path.parts[i]);
            if (found.isEmpty()) {
                for (int k = i + 1; k < hostParts.size(); ++k) next += '/' + hostParts[k];
                out.host = next;
                out.parentExists = i == path.parts.size() - 1;
                return out;
            }
            next = cur + '/' + found;
        }
        cur = next;
    }
    out.host = cur.isEmpty() ? QByteArray("/") : cur;
    out.exists = out.parentExists = true;
    return out;
}

QString WinPathOfHost(const QByteArray& hostPath) {
    const QByteArray host = Absolute(hostPath);
    if (!g_prefix.isEmpty()) {
        char real[PATH_MAX];
        const QByteArray c = realpath((g_prefix + "/drive_c").constData(), real) ? QByteArray(real)
                                                                                   : Absolute(g_prefix + "/drive_c");
        if (host == c || host.startsWith(c + '/')) return MapComponents(u'C', host.mid(c.size()));
        for (char letter = 'a'; letter <= 'y'; ++letter) {
            if (letter == 'c') continue;
            const QByteArray link = g_prefix + "/dosdevices/" + letter + ':';
            char target[PATH_MAX];
            if (!realpath(link.constData(), target)) continue;
            const QByteArray t(target);
            if (t != "/" && (host == t || host.startsWith(t + '/')))
                return MapComponents(QChar(letter).toUpper(), host.mid(t.size()));
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
