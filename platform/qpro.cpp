#include "platform/qpro.h"

#include "platform/file_mutations.h"
#include "platform/folder_listing.h"
#include "platform/registry.h"

#include <QStringList>

#include <algorithm>
#include <cstring>

namespace platform {

namespace {

int32_t g_dosError = 0;

// The count and the list of one pattern come from one read of the folder: the listing a count
// made is kept for the list that follows it, as long as nothing changed the disk in between.
struct LastListing {
    QString pattern;
    Want want = Want::Folders;
    uint64_t generation = ~uint64_t(0);
    std::vector<QString> names;
};
LastListing g_last;

const std::vector<QString>& Listed(const QString& pattern, Want want) {
    if (g_last.generation != MutationGeneration() || g_last.want != want || g_last.pattern != pattern) {
        FolderListing listing = ListFolder(pattern, want);
        g_dosError = listing.error;
        g_last.pattern = pattern;
        g_last.want = want;
        g_last.generation = listing.error ? ~uint64_t(0) : MutationGeneration();
        g_last.names = std::move(listing.names);
    } else {
        g_dosError = 0;
    }
    return g_last.names;
}

struct Target {
    NameList* names;
    int32_t first;
};

Target TargetOf(const ReferenceBlock& reference) {
    Target t;
    std::memcpy(&t, reference.data(), sizeof t);
    return t;
}

void Put(NameList& names, int index, const QString& name) {
    QString& buffer = names(index);
    const qsizetype n = std::min<qsizetype>(name.size(), kNameBufferLength - 1);
    QChar* out = buffer.data();
    std::copy(name.constData(), name.constData() + n, out);
    std::fill(out + n, out + kNameBufferLength, QChar(0));
}

}  // namespace

NameList::NameList(int count) : entries_(size_t(std::max(count, 0)), QString(kNameBufferLength, QChar(0))) {}
QString& NameList::operator()(int index) { return entries_.at(size_t(index - 1)); }
const QString& NameList::operator()(int index) const { return entries_.at(size_t(index - 1)); }

int32_t DCount(const QString& pattern) {
    const auto& names = Listed(pattern, Want::Folders);
    return g_dosError ? 0 : int32_t(names.size()) + 1;
}

int32_t FCount(const QString& pattern) {
    const auto& names = Listed(pattern, Want::Files);
    return g_dosError ? 0 : int32_t(names.size());
}

void fnAV(ReferenceBlock& reference, NameList& names, IndexList& indexList) {
    static_assert(sizeof(Target) <= sizeof(ReferenceBlock));
    reference.fill(0);
    const Target t{&names, indexList.empty() ? 1 : indexList[0]};
    std::memcpy(reference.data(), &t, sizeof t);
}

void ReadDirT(const QString& pattern, ReferenceBlock& reference) {
    const Target t = TargetOf(reference);
    const auto& names = Listed(pattern, Want::Folders);
    if (g_dosError) return;
    int index = t.first;
    if (index > t.names->Count()) return;
    Put(*t.names, index++, QStringLiteral("."));
    for (const QString& name : names) {
        if (index > t.names->Count()) break;
        Put(*t.names, index++, name);
    }
}

void ReadFileT(const QString& pattern, ReferenceBlock& reference) {
    const Target t = TargetOf(reference);
    const auto& names = Listed(pattern, Want::Files);
    if (g_dosError) return;
    int index = t.first;
    for (const QString& name : names) {
        if (index > t.names->Count()) break;
        Put(*t.names, index++, name);
    }
}

int32_t DOSError() { return g_dosError; }

QString WinDir() {
    QString dir = QStringLiteral("C:\\WINDOWS");
    dir.append(QString(144 - dir.size(), QChar(0)));
    return dir;
}

int32_t WinVer() {
    const auto text = RegistryGetString(HKEY_LOCAL_MACHINE, QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion"),
                                        QStringLiteral("VersionNumber"));
    if (!text) return 0;
    const QStringList parts = text->split(u'.');
    bool okMajor = false, okMinor = true;
    const int major = parts.value(0).toInt(&okMajor);
    const int minor = parts.size() > 1 ? parts[1].left(2).toInt(&okMinor) : 0;
    if (!okMajor || !okMinor) return 0;
    return major * 100 + minor;
}

}  // namespace platform
