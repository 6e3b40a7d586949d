#pragma once
// DOS wildcards, matched without regard to case: "*" any run, "?" one character. "*.*" matches
// every name, one without a dot too; "*.lnk" matches names whose extension is "lnk".
#include <QString>

namespace platform {

bool HasWildcards(const QString& pattern);
bool DosMatch(const QString& pattern, const QString& name);

}  // namespace platform
