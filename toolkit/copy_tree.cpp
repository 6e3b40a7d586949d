#include "toolkit/copy_tree.h"

#include "platform/file_services.h"
#include "platform/qpro.h"
#include "platform/vb_error.h"
#include "toolkit/folder_names.h"

#include <vector>

using namespace platform;

namespace {

QString SourcePrefix(const QString& pattern) {
    for (int i = pattern.size() - 1; i >= 0; --i)
        if (pattern[i] == u'\\' || pattern[i] == u'/' || pattern[i] == u':') return pattern.left(i + 1);
    return QString();
}

QString DestinationPrefix(const QString& folder) {
    if (folder.isEmpty() || folder.endsWith(u'\\') || folder.endsWith(u':')) return folder;
    return folder + u'\\';
}

// Copies names from the folder prefix from (ending in "\" or ":") into destinationFolder, in
// order, up to the first one that cannot be copied.
CopyOutcome CopyNamed(const QString& from, const std::vector<QString>& names, const QString& destinationFolder) {
    const QString to = DestinationPrefix(destinationFolder);
    try {
        // Names are used whole: on this host a name may begin or end with a space.
        for (const QString& name : names) FileCopy(from + name, to + name);
    } catch (const VbError&) {
        return CopyOutcome::Incomplete;
    }
    return CopyOutcome::Complete;
}

// One folder of the source as it was when the copy began. The whole tree is read before anything
// is made, so a destination inside the source (CopyTree("C:\A", "C:\A\B\C")) neither sees the
// folders and files the copy makes nor copies them again.
struct Level {
    QString name;  // below its parent
    bool readable = true;
    std::vector<Level> subfolders;
    std::vector<QString> files;
};

Level Read(const QString& folder, const QString& name) {
    Level level;
    level.name = name;
    const std::vector<QString> subfolders = SubfolderNames(folder);
    if (DOSError() != 0) {
        level.readable = false;
        return level;
    }
    for (const QString& sub : subfolders) level.subfolders.push_back(Read(folder + u'\\' + sub, sub));
    level.files = FileNames(folder + QStringLiteral("\\*.*"));
    return level;
}

CopyOutcome CopyLevel(const Level& level, const QString& source, const QString& destination) {
    // Nothing of a folder that could not be read can be copied, not even its name.
    if (!level.readable) return CopyOutcome::Incomplete;
    if (!Exists(destination)) MkDir(destination);
    CopyOutcome outcome = CopyOutcome::Complete;
    for (const Level& sub : level.subfolders)
        if (CopyLevel(sub, source + u'\\' + sub.name, destination + u'\\' + sub.name) == CopyOutcome::Incomplete)
            outcome = CopyOutcome::Incomplete;
    if (CopyNamed(source + u'\\', level.files, destination) == CopyOutcome::Incomplete) outcome = CopyOutcome::Incomplete;
    return outcome;
}

}  // namespace

CopyOutcome CopyFiles(const QString& sourcePattern, const QString& destinationFolder) {
    const std::vector<QString> names = FileNames(sourcePattern);
    if (DOSError() != 0) return CopyOutcome::Incomplete;  // the source folder cannot be read
    return CopyNamed(SourcePrefix(sourcePattern), names, destinationFolder);
}

CopyOutcome CopyTree(const QString& source, const QString& destination) {
    return CopyLevel(Read(source, QString()), source, destination);
}
