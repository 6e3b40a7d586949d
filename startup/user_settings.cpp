#include "startup/user_settings.h"

#include "platform/settings_store.h"
#include "startup/shared_state.h"

using platform::GetSetting;
using platform::SaveSetting;

QString UserSection() { return QStringLiteral("user\\") + UserName; }

static bool IsTrue(const QString& text) { return text == QLatin1String("True"); }
static QString TextOf(bool flag) { return flag ? QStringLiteral("True") : QStringLiteral("False"); }

void ReadOptions() {
    CheckSave = IsTrue(GetSetting(kSettingsApp, UserSection(), QStringLiteral("checksave"), QStringLiteral("True")));
    ShowLogo = IsTrue(GetSetting(kSettingsApp, UserSection(), QStringLiteral("ShowLogo"), QStringLiteral("True")));
}

bool SwitchOption(UserOption option) {
    bool& flag = option == UserOption::QuerySave ? CheckSave : ShowLogo;
    flag = !flag;
    SaveSetting(kSettingsApp, UserSection(),
                option == UserOption::QuerySave ? QStringLiteral("checksave") : QStringLiteral("showlogo"), TextOf(flag));
    return flag;
}
