#include "platform/settings_store.h"

#include "platform/registry.h"

namespace platform {

namespace {

// The section goes into the path as it is, so "user\ann" is the key "ann" inside the key "user".
// An empty application or section leaves an empty name in the path, which the registry refuses.
QString SettingsKey(const QString& application, const QString& section) {
    return QStringLiteral("Software\\VB and VBA Program Settings\\") + application + u'\\' + section;
}

}  // namespace

QString GetSetting(const QString& application, const QString& section, const QString& key,
                   const QString& defaultText) {
    return RegistryGetString(HKEY_CURRENT_USER, SettingsKey(application, section), key).value_or(defaultText);
}

void SaveSetting(const QString& application, const QString& section, const QString& key, const QString& text) {
    RegistrySetString(HKEY_CURRENT_USER, SettingsKey(application, section), key, text);
}

}  // namespace platform
