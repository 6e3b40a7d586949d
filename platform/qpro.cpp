#include "platform/qpro.h"

#include "platform/drives.h"
#include "platform/file_mutations.h"
#include "platform/folder_listing.h"
#include "platform/registry.h"

#include <QStringList>

#include <algorithm>
#include <cstring>

namespace platform {

namespace {

int32_t g_dosError = 0;

// The count and the list of one pattern come from one read of the folder: a count reads the folder
// afresh and keeps what it read for the one list that follows it, so that list delivers the names
// counted even when the folder changed in between. A list with anything else between it and its
// count (another pattern, a change through the file services, another machine) reads afresh.
struct LastCount {
    bool pending = false;
    QString pattern;
    Want want = Want::Folders;
    QByteArray prefix;
    uint64_t generation = 0;
    std::vector<QString> names;
};
LastCount g_last;

const std::vector<QString>& Counted(const QString& pattern, Want want) {
    FolderListing listing = ListFolder(pattern, want);
    g_dosError = listing.error;
    g_last.pending = listing.error == 0;
    g_last.pattern = pattern;
    g_last.want = want;
    g_last.prefix = PrefixDir();
    g_last.generation = MutationGeneration();
    g_last.names = std::move(listing.names);
    return g_last.names;
}

std::vector<QString> ToList(const QString& pattern, Want want) {
    if (g_last.pending && g_last.want == want && g_last.pattern == pattern && g_last.prefix == PrefixDir() &&
        g_last.generation == MutationGeneration()) {
        g_last.pending = false;
        g_dosError = 0;
        return std::move(g_last.names);
    }
    g_last.pending = false;
    FolderListing listing = ListFolder(pattern, want);
    g_dosError = listing.error;
    return std::move(listing.names);
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
    // The caller may have put a shorter text into the entry; the library writes 260 characters.
    buffer.resize(kNameBufferLength);
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
    const auto& names = Counted(pattern, Want::Folders);
    return g_dosError ? 0 : int32_t(names.size()) + 1;
}

int32_t FCount(const QString& pattern) {
    const auto& names = Counted(pattern, Want::Files);
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
    const std::vector<QString> names = ToList(pattern, Want::Folders);
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
    const std::vector<QString> names = ToList(pattern, Want::Files);
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
