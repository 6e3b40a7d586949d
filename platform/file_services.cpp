#include "platform/file_services.h"

#include "platform/drives.h"
#include "platform/file_mutations.h"
#include "platform/folder_listing.h"
#include "platform/name_map.h"
#include "platform/vb_error.h"
#include "platform/win_path.h"
#include "platform/wildcard.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <climits>

namespace platform {

namespace {

// A looked-up path that must name an existing entry.
HostLookup Existing(const QString& path, Missing missing) {
    HostLookup found = LookUp(path);
    if (!found.drive) Raise(kPathNotFound, path);
    if (!found.exists) Raise(found.parentExists ? (missing == Missing::File ? kFileNotFound : kPathNotFound) : kPathNotFound, path);
    return found;
}

// A looked-up path whose folder must exist; the entry itself may or may not.
HostLookup InExistingFolder(const QString& path) {
    HostLookup found = LookUp(path);
    if (!found.drive || !found.parentExists) Raise(kPathNotFound, path);
    return found;
}

[[noreturn]] void RaiseErrno(int err, Missing missing, const QString& path) { throw FromErrno(err, missing, path); }

QByteArray FolderOf(const QByteArray& host) {
    const int slash = host.lastIndexOf('/');
    return slash <= 0 ? QByteArray("/") : host.left(slash);
}

// A temporary name beside target, for a copy that replaces target only once it is complete.
QByteArray TemporaryBeside(const QByteArray& target) {
    static unsigned counter = 0;
    static const QByteArray pid = QByteArray::number(getpid());
    return FolderOf(target) + "/.valdrine-" + pid + '-' + QByteArray::number(++counter) + ".tmp";
}

void CopyLink(const QByteArray& from, const QByteArray& to, const QString& what) {
    char target[PATH_MAX];
    const ssize_t n = readlink(from.constData(), target, sizeof target - 1);
    if (n < 0) RaiseErrno(errno, Missing::File, what);
    target[n] = 0;
    const QByteArray temp = TemporaryBeside(to);
    if (symlink(target, temp.constData()) != 0) RaiseErrno(errno, Missing::Path, what);
    if (rename(temp.constData(), to.constData()) != 0) {
        const int err = errno;
        unlink(temp.constData());
        RaiseErrno(err, Missing::Path, what);
    }
}

// A file that replaces another is written beside it and renamed over it once complete; a new one
// is written in its place (and removed again if the copy fails), which saves a rename per file.
enum class Target { New, Replaces };

void CopyContent(const QByteArray& from, const QByteArray& to, const struct stat& st, const QString& what, Target target) {
    const int in = open(from.constData(), O_RDONLY | O_CLOEXEC);
    if (in < 0) RaiseErrno(errno, Missing::File, what);
    const QByteArray temp = target == Target::Replaces ? TemporaryBeside(to) : to;
    const int out = open(temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (out < 0) {
        const int err = errno;
        close(in);
        RaiseErrno(err, Missing::Path, what);
    }
    int err = 0;
    off_t left = st.st_size;
    while (left > 0 && !err) {
        const ssize_t n = copy_file_range(in, nullptr, out, nullptr, size_t(left), 0);
        if (n > 0) { left -= n; continue; }
        if (n == 0) break;
        if (errno != EXDEV && errno != ENOSYS && errno != EOPNOTSUPP && errno != EINVAL) { err = errno; break; }
        // Fall back to plain reads where the file systems cannot copy between themselves.
        char buf[1 << 16];
        for (;;) {
            const ssize_t r = read(in, buf, sizeof buf);
            if (r < 0) { err = errno; break; }
            if (r == 0) { left = 0; break; }
            for (ssize_t done = 0; done < r;) {
                const ssize_t w = write(out, buf + done, size_t(r - done));
                if (w < 0) { err = errno; break; }
                done += w;
            }
            if (err) break;
        }
        break;
    }
    if (!err && fchmod(out, st.st_mode & 07777) != 0) err = errno;
    const struct timespec times[2] = {st.st_atim, st.st_mtim};
    if (!err) futimens(out, times);
    if (close(out) != 0 && !err) err = errno;
    close(in);
    if (!err && temp != to && rename(temp.constData(), to.constData()) != 0) err = errno;
    if (err) {
        unlink(temp.constData());
        RaiseErrno(err, Missing::Path, what);
    }
}

}  // namespace

QString Dir(const QString& pathPattern, int attributes) {
    const bool folders = attributes & vbDirectory;
    const FolderAndName split = SplitLast(pathPattern);
    if (HasWildcards(split.name)) {
        FolderListing files = ListFolder(pathPattern, Want::Files);
        if (!folders) return files.names.empty() ? QString() : files.names.front();
        FolderListing dirs = ListFolder(pathPattern, Want::Folders);
        files.names.insert(files.names.end(), dirs.names.begin(), dirs.names.end());
        SortNames(files.names);
        return files.names.empty() ? QString() : files.names.front();
    }
    const HostLookup found = LookUp(pathPattern);
    if (!found.exists) return QString();
    if (S_ISDIR(found.entry.st_mode) && !folders) return QString();
    const int slash = found.host.lastIndexOf('/');
    return HostToWinName(found.host.mid(slash + 1));
}

void MkDir(const QString& path) {
    const MutationScope mutation;
    const HostLookup found = InExistingFolder(path);
    if (found.exists) Raise(kPathFileAccessError, path);
    if (mkdir(found.host.constData(), 0777) != 0) RaiseErrno(errno, Missing::Path, path);
    NoteHostChange(found.host, EntryChange::Added);
    NoteNewEmptyFolder(found.host);
}

void RmDir(const QString& path) {
    const MutationScope mutation;
    const HostLookup found = Existing(path, Missing::Path);
    if (rmdir(found.host.constData()) != 0) RaiseErrno(errno, Missing::Path, path);
    NoteHostChange(found.host, EntryChange::Removed);
}

void Name(const QString& oldPath, const QString& newPath) {
    const MutationScope mutation;
    const HostLookup from = Existing(oldPath, Missing::File);
    const HostLookup to = InExistingFolder(newPath);
    QByteArray target = to.host;
    if (to.exists) {
        if (to.host != from.host) Raise(kFileAlreadyExists, newPath);
        // A change of case only ("a.txt" to "A.TXT") finds the old entry itself; the new name is
        // the one spelled in newPath.
        const QStringList parts = ParseWinPath(newPath).parts;
        const QString name = parts.isEmpty() ? QString() : parts.last();
        if (!name.isEmpty() && name != QLatin1String("..")) target = FolderOf(to.host) + '/' + WinToHostName(name);
    }
    if (rename(from.host.constData(), target.constData()) != 0) RaiseErrno(errno, Missing::Path, oldPath);
    NoteHostChange(from.host, EntryChange::Removed);
    NoteHostChange(target, EntryChange::Added);
}

void FileCopy(const QString& source, const QString& destination) {
    const MutationScope mutation;
    const HostLookup from = Existing(source, Missing::File);
    const HostLookup to = InExistingFolder(destination);
    const struct stat& st = from.entry;
    if (S_ISDIR(st.st_mode)) Raise(kFileNotFound, source);
    // A pipe, socket or device on Z: is listed among the files but has no content to copy; opening
    // a pipe would wait for a writer that never comes.
    if (!S_ISREG(st.st_mode) && !S_ISLNK(st.st_mode)) Raise(kPathFileAccessError, source);
    if (to.exists && S_ISDIR(to.entry.st_mode)) Raise(kPathFileAccessError, destination);
    if (S_ISLNK(st.st_mode)) CopyLink(from.host, to.host, destination);
    else CopyContent(from.host, to.host, st, destination, to.exists ? Target::Replaces : Target::New);
    NoteHostChange(to.host, EntryChange::Added);
}

void Kill(const QString& pattern) {
    const MutationScope mutation;
    const FolderAndName split = SplitLast(pattern);
    std::vector<QByteArray> victims;
    if (HasWildcards(split.name)) {
        const FolderListing files = ListFolder(pattern, Want::Files);
        if (files.error) Raise(kPathNotFound, pattern);
        for (const QString& name : files.names) victims.push_back(files.host + '/' + WinToHostName(name));
    } else {
        const HostLookup found = Existing(pattern, Missing::File);
        struct stat st;
        if (lstat(found.host.constData(), &st) == 0 && S_ISDIR(st.st_mode)) Raise(kFileNotFound, pattern);
        victims.push_back(found.host);
    }
    if (victims.empty()) Raise(kFileNotFound, pattern);
    for (const QByteArray& victim : victims) {
        if (unlink(victim.constData()) != 0) RaiseErrno(errno, Missing::File, pattern);
        NoteHostChange(victim, EntryChange::Removed);
    }
}

QString ReadLine(const QString& file) {
    const HostLookup found = Existing(file, Missing::File);
    const int fd = open(found.host.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) RaiseErrno(errno, Missing::File, file);
    QByteArray data;
    char buf[4096];
    for (;;) {
        const ssize_t n = read(fd, buf, sizeof buf);
        if (n < 0) { const int err = errno; close(fd); RaiseErrno(err, Missing::File, file); }
        if (n == 0) break;
        data.append(buf, int(n));
        if (data.contains('\n')) break;
    }
    close(fd);
    const int end = data.indexOf('\n');
    QByteArray line = end < 0 ? data : data.left(end);
    if (line.endsWith('\r')) line.chop(1);
    return QString::fromUtf8(line);
}

void WriteLine(const QString& file, const QString& text) { WriteWholeFile(file, text.toUtf8() + "\r\n"); }

void WriteWholeFile(const QString& file, const QByteArray& data) {
    const MutationScope mutation;
    const HostLookup found = InExistingFolder(file);
    const QByteArray temp = TemporaryBeside(found.host);
    const int fd = open(temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) RaiseErrno(errno, Missing::Path, file);
    int err = 0;
    for (qsizetype done = 0; done < data.size() && !err;) {
        const ssize_t w = write(fd, data.constData() + done, size_t(data.size() - done));
        if (w < 0) err = errno;
        else done += w;
    }
    if (close(fd) != 0 && !err) err = errno;
    if (!err && rename(temp.constData(), found.host.constData()) != 0) err = errno;
    if (err) {
        unlink(temp.constData());
        RaiseErrno(err, Missing::Path, file);
    }
    NoteHostChange(found.host, EntryChange::Added);
}

}  // namespace platform
