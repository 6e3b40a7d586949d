#include "startup/user_settings.h"

#include "platform/settings_store.h"
#include "startup/shared_state.h"
#include "tests/test_machine.h"

#include <gtest/gtest.h>

TEST(UserSettings, BothOptionsStartOnAndNothingIsWritten) {
    TestMachine m;
    const QByteArray before = m.ReadFile("users/ann.reg");
    UserName = QStringLiteral("ann");
    ReadOptions();
    EXPECT_TRUE(CheckSave);
    EXPECT_TRUE(ShowLogo);
    EXPECT_EQ(m.ReadFile("users/ann.reg"), before);
}

TEST(UserSettings, SwitchingWritesTheKeysAndReadsBackThroughOtherSpellings) {
    TestMachine m;
    UserName = QStringLiteral("ann");
    ReadOptions();
    EXPECT_FALSE(SwitchOption(UserOption::ShowLogo));
    EXPECT_EQ(platform::GetSetting("VALDRINE", "User\\ann", "ShowLogo", "x"), "False");
    EXPECT_FALSE(SwitchOption(UserOption::QuerySave));
    EXPECT_TRUE(SwitchOption(UserOption::QuerySave));
    EXPECT_EQ(platform::GetSetting("Valdrine", "user\\ann", "CheckSave", "x"), "True");
    // The keys keep the spelling they were written with.
    const QByteArray hive = m.ReadFile("users/ann.reg");
    EXPECT_TRUE(hive.contains("\"showlogo\"=\"False\"")) << hive.constData();
    EXPECT_TRUE(hive.contains("\"checksave\"=\"True\"")) << hive.constData();
    m.Reopen();
    ReadOptions();
    EXPECT_TRUE(CheckSave);
    EXPECT_FALSE(ShowLogo);
}

TEST(UserSettings, EachUserHasASectionOfItsOwn) {
    TestMachine m;
    UserName = QStringLiteral("ann");
    ReadOptions();
    SwitchOption(UserOption::QuerySave);  // ann: off
    UserName = QStringLiteral("bob");
    ReadOptions();
    EXPECT_TRUE(CheckSave);
    UserName = QStringLiteral("ann");
    ReadOptions();
    EXPECT_FALSE(CheckSave);
}
