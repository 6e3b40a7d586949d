#pragma once
#include <QString>
#include <cstdint>

// Makes destinationFolder\linkName.lnk, a shortcut that runs target with arguments, replacing one
// of that name. The shortcut is written where it belongs in one step: nothing of it passes through
// the Start Menu's Programs folder. False when it could not be made.
bool MakeShortcut(const QString& destinationFolder, const QString& target, const QString& arguments, const QString& linkName);
