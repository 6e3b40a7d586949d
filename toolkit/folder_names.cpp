#include "toolkit/folder_names.h"

#include "platform/file_services.h"
#include "platform/qpro.h"
#include "toolkit/path_helpers.h"

using namespace platform;

static std::vector<QString> ReadNames(const QString& pattern, int count, int first,
                                      void (*read)(const QString&, ReferenceBlock&)) {
    std::vector<QString> names;
    NameList list(count);
    IndexList index{1};
    ReferenceBlock reference;
    fnAV(reference, list, index);
    index.clear();
    read(pattern, reference);
    names.reserve(size_t(count));
    for (int i = first; i <= count; ++i) {
        QString name = TrimAtNul(list(i));
        if (!name.isEmpty()) names.push_back(std::move(name));
    }
    return names;
}

std::vector<QString> SubfolderNames(const QString& folder) {
    const QString pattern = folder + QStringLiteral("\\*.*");
    const int n = DCount(pattern);
    if (n <= 1) return {};
    return ReadNames(pattern, n, 2, ReadDirT);
}

std::vector<QString> FileNames(const QString& pattern) {
    const int n = FCount(pattern);
    if (n <= 0) return {};
    return ReadNames(pattern, n, 1, ReadFileT);
}

bool Exists(const QString& path) { return !platform::Dir(path, platform::vbDirectory).isEmpty(); }

bool AlreadyPresent(const QString& destinationFile, const QString& name) {
    return QString::compare(platform::Dir(destinationFile, platform::vbNormal), name, Qt::CaseInsensitive) == 0;
}
