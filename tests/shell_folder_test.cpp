#include "startup/shell_folder.h"

#include "tests/test_machine.h"

#include <gtest/gtest.h>

namespace {

// Loads the hives as written, without the machine set-up adding the values it misses.
void LoadHives(TestMachine& m) { platform::LoadRegistry(m.Prefix() + "/system.reg", m.Prefix() + "/users/ann.reg"); }

// The user's hive with the given lines under Shell Folders, and the system hive with its own.
void WriteHives(TestMachine& m, const QByteArray& userValues, const QByteArray& systemValues = {}) {
    const QByteArray key = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders]\r\n";
    m.WriteFile("users/ann.reg", "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\" + key + userValues);
    m.WriteFile("system.reg", "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion]\r\n"
                              "\"VersionNumber\"=\"4.00.950\"\r\n\r\n[HKEY_LOCAL_MACHINE\\" + key + systemValues);
    LoadHives(m);
}

struct Case {
    const char* name;
    QByteArray userValues;
    QByteArray systemValues;
    QString desktop;
};

}  // namespace

TEST(ShellFolder, ReadsTheUsersValue) {
    const QString longPath = QStringLiteral("C:\\") + QString(300, u'x');
    const Case cases[] = {
        {"plain path", "\"Desktop\"=\"C:\\\\WINDOWS\\\\Desktop\"\r\n", {}, "C:\\WINDOWS\\Desktop"},
        {"four spaces cut", "\"Desktop\"=\"C:\\\\My    Desk\"\r\n", {}, "C:\\My"},
        {"one space kept", "\"Desktop\"=\"C:\\\\A B\"\r\n", {}, "C:\\A B"},
        {"two spaces kept", "\"Desktop\"=\"C:\\\\A  B\"\r\n", {}, "C:\\A  B"},
        {"three spaces kept", "\"Desktop\"=\"C:\\\\A   B\"\r\n", {}, "C:\\A   B"},
        {"name in other case", "\"DESKTOP\"=\"D:\\\\d\"\r\n", {}, "D:\\d"},
        {"empty value", "\"Desktop\"=\"\"\r\n", {}, ""},
        {"expandable string", "\"Desktop\"=hex(2):43,00,3a,00,5c,00,00,00\r\n", {}, ""},
        {"dword", "\"Desktop\"=dword:00000001\r\n", {}, ""},
        {"machine only", "\"Start Menu\"=\"C:\\\\S\"\r\n", "\"Desktop\"=\"C:\\\\M\"\r\n", ""},
        {"255 characters and more taken whole", "\"Desktop\"=\"" + longPath.toUtf8().replace("\\", "\\\\") + "\"\r\n", {}, longPath},
        {"not ASCII", "\"Desktop\"=\"Z:\\\\home\\\\\xc3\xa5sa\\\\Skrivbord\"\r\n", {}, QStringLiteral("Z:\\home\\\u00e5sa\\Skrivbord")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestMachine m;
        WriteHives(m, c.userValues, c.systemValues);
        EXPECT_EQ(ShellFolder(QStringLiteral("Desktop")), c.desktop);
    }
}

TEST(ShellFolder, AMissingKeyGivesEmpty) {
    TestMachine m;
    m.WriteFile("users/ann.reg", "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Other]\r\n\"Desktop\"=\"C:\\\\x\"\r\n");
    LoadHives(m);
    EXPECT_EQ(ShellFolder(QStringLiteral("Desktop")), "");
}

TEST(ShellFolder, QueryStringValueWritesOnlyOnSuccess) {
    TestMachine m;
    WriteHives(m, "\"Desktop\"=\"C:\\\\D\"\r\n\"Bin\"=hex:01,02\r\n");
    platform::HKEY key = 0;
    ASSERT_EQ(platform::RegOpenKeyA(platform::HKEY_CURRENT_USER,
                                    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", &key),
              platform::ERROR_SUCCESS);
    QString value = QStringLiteral("untouched");
    EXPECT_FALSE(QueryStringValue(key, QStringLiteral("Bin"), value));
    EXPECT_FALSE(QueryStringValue(key, QStringLiteral("Missing"), value));
    EXPECT_EQ(value, "untouched");
    EXPECT_TRUE(QueryStringValue(key, QStringLiteral("Desktop"), value));
    EXPECT_EQ(value, "C:\\D");
    platform::RegCloseKey(key);
}
