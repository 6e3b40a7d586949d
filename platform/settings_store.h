#pragma once
// The per-user application settings store, where VB keeps GetSetting/SaveSetting entries:
// HKCU\Software\VB and VBA Program Settings\<application>\<section>, value <key>. A section holding
// a backslash ("user\ann") is a nested key. Names are matched without regard to case.
#include <QString>

namespace platform {

QString GetSetting(const QString& application, const QString& section, const QString& key,
                   const QString& defaultText = QString());
void SaveSetting(const QString& application, const QString& section, const QString& key, const QString& text);

}  // namespace platform
