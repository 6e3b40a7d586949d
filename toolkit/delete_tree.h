#pragma once
#include <QString>

// Deletes folder with everything below it: child trees in listing order, depth first, then the
// folder's own files, then the folder. A link is deleted as a link. The first failure is raised;
// what was deleted before it stays deleted. A folder that is missing, or is a file or a link, is
// error 76 and nothing is deleted.
void DeleteTree(const QString& folder);
