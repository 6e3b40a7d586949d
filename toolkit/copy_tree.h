#pragma once
#include <QString>

enum class CopyOutcome { Complete, Incomplete };

// Copies the files that match sourcePattern ("C:\A\*.*") into destinationFolder ("C:\X", "C:\X\"
// or a drive "A:") under their own names, replacing files of those names. Never raises: it stops
// at the first file that cannot be copied and answers Incomplete.
CopyOutcome CopyFiles(const QString& sourcePattern, const QString& destinationFolder);

// Makes destination a copy of the tree under source: destination first, then the subfolder trees
// in listing order, then source's own files. Files the destination has and the source lacks stay.
// A folder that cannot be made is raised; files that could not be copied answer Incomplete, and so
// does a source folder that cannot be read (nothing is made for it).
// Copying a folder into its own subtree copies the tree as it was: nothing this copy made is
// copied again.
CopyOutcome CopyTree(const QString& source, const QString& destination);
