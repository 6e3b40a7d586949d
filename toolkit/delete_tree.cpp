#include "toolkit/delete_tree.h"

#include "platform/file_services.h"
#include "platform/qpro.h"
#include "platform/vb_error.h"
#include "toolkit/folder_names.h"

namespace {

void DeleteFolder(const QString& folder) {
    for (const QString& name : SubfolderNames(folder)) DeleteFolder(folder + u'\\' + name);
    const QString pattern = folder + QStringLiteral("\\*.*");
    if (platform::FCount(pattern) > 0) platform::Kill(pattern);
    platform::RmDir(folder);
}

}  // namespace

void DeleteTree(const QString& folder) {
    // A link to a folder is a file here; listing through it would delete what it points at
    // ("C:\Group" linked to the user's own folder). Below the top, the listing already keeps links
    // among the files.
    if (!platform::Dir(folder).isEmpty()) platform::Raise(platform::kPathNotFound, folder);
    DeleteFolder(folder);
}
