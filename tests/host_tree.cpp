#include "tests/host_tree.h"

#include "tests/test_machine.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>

namespace {

void Walk(const QByteArray& root, const QByteArray& below, Entries& out) {
    DIR* dir = opendir((root + below).constData());
    if (!dir) return;
    while (dirent* e = readdir(dir)) {
        const QByteArray name(e->d_name);
        if (name == "." || name == "..") continue;
        const QByteArray rel = below + '/' + name;
        struct stat st;
        if (lstat((root + rel).constData(), &st) != 0) continue;
        if (S_ISLNK(st.st_mode)) {
            char target[PATH_MAX];
            const ssize_t n = readlink((root + rel).constData(), target, sizeof target);
            out[rel] = "link:" + QByteArray(target, int(std::max<ssize_t>(n, 0)));
        } else if (S_ISDIR(st.st_mode)) {
            out[rel] = "dir";
            Walk(root, rel, out);
        } else {
            QFile f(QFile::decodeName(root + rel));
            out[rel] = "file:" + (f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray());
        }
    }
    closedir(dir);
}

}  // namespace

Entries Tree(const QByteArray& root) {
    Entries out;
    Walk(root, "", out);
    return out;
}

Entries TreeOf(const TestMachine& m, const QString& relative) { return Tree(QFile::encodeName(m.Host(relative))); }

QByteArray Contents(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return "<cannot open " + path.toUtf8() + ">";
    return file.readAll();
}

void Put(const QString& path, const QByteArray& bytes) {
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}
