#pragma once
#include "platform/registry.h"

#include <QString>

// The user's shell folder of that name ("Desktop", "Start Menu") from HKCU\...\Shell Folders;
// "" when the registry does not give it as a REG_SZ.
QString ShellFolder(const QString& name);

// Reads a REG_SZ value with the two-call protocol; value is written only on success.
bool QueryStringValue(platform::HKEY key, const QString& valueName, QString& value);
