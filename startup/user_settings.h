#pragma once
// The three per-user settings, in the store under application "Valdrine", section
// "user\" + UserName. The store matches names without regard to case, so the spellings below
// reach the same entries as the ones written.
#include <QString>

inline const QString kSettingsApp = QStringLiteral("Valdrine");

QString UserSection();  // "user\" + UserName

// Reads "checksave" and "ShowLogo" (default "True") into CheckSave and ShowLogo: true exactly when
// the text is "True".
void ReadOptions();

enum class UserOption { QuerySave, ShowLogo };
// Flips the option, saves "True" or "False" under its key and returns the new flag.
bool SwitchOption(UserOption option);
