#include "toolkit/delete_tree.h"

#include "platform/file_services.h"
#include "platform/qpro.h"
#include "toolkit/folder_names.h"

void DeleteTree(const QString& folder) {
    for (const QString& name : SubfolderNames(folder)) DeleteTree(folder + u'\\' + name);
    const QString pattern = folder + QStringLiteral("\\*.*");
    if (platform::FCount(pattern) > 0) platform::Kill(pattern);
    platform::RmDir(folder);
}
