// The registry calls of the personality over the two hives in the fixtures (system.reg, user.reg).
#include "platform/registry.h"
#include "tests/host_tree.h"
#include "platform/vb_error.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string_view>

using namespace platform;
using namespace std::string_view_literals;

namespace {

QByteArray FixtureText(const char* name) {
    return Contents(QStringLiteral(VALDRINE_FIXTURES "/registry/") + QLatin1String(name));
}

QStringList Entries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

std::string CaseName(const char* name) { return name; }

// Each test has its own machine folder: system.reg and users/ann.reg, copies of the fixtures unless
// the test says otherwise.
class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
    void TearDown() override { UnloadRegistry(); }

    QString SystemPath() const { return dir_.filePath("system.reg"); }
    QString UserPath() const { return dir_.filePath("users/ann.reg"); }
    void LoadFixtures() {
        Put(SystemPath(), FixtureText("system.reg"));
        Put(UserPath(), FixtureText("user.reg"));
        Load();
    }
    void Load() { LoadRegistry(QFile::encodeName(SystemPath()), QFile::encodeName(UserPath())); }

    QTemporaryDir dir_;
};

// ---------------------------------------------------------------------------------------------------

struct OpenCase {
    const char* name;
    HKEY root;
    const char* subKey;
    int32_t expected;
};
void PrintTo(const OpenCase& c, std::ostream* os) { *os << c.name; }

class RegistryOpen : public RegistryTest, public ::testing::WithParamInterface<OpenCase> {};

TEST_P(RegistryOpen, OpensExistingKeysOnly) {
    LoadFixtures();
    HKEY key = 0xdeadbeef;
    ASSERT_EQ(RegOpenKeyA(GetParam().root, GetParam().subKey, &key), GetParam().expected);
    if (GetParam().expected != ERROR_SUCCESS) return;
    EXPECT_NE(key, 0u);
    EXPECT_NE(key, HKEY_CURRENT_USER);
    EXPECT_NE(key, HKEY_LOCAL_MACHINE);
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
}

const OpenCase kOpens[] = {
    {"AsSpelled", HKEY_CURRENT_USER, "Software\\Valdrine", ERROR_SUCCESS},
    {"OtherCase", HKEY_CURRENT_USER, "SOFTWARE\\valdrine", ERROR_SUCCESS},
    // What the program passes: the text of a Windows string, its NUL included.
    {"TrailingNul", HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders\0",
     ERROR_SUCCESS},
    {"TextAfterNulIgnored", HKEY_CURRENT_USER, "Software\\Valdrine\0\\Missing", ERROR_SUCCESS},
    {"TrailingBackslash", HKEY_CURRENT_USER, "Software\\Valdrine\\", ERROR_SUCCESS},
    {"KeyWithoutOwnSection", HKEY_CURRENT_USER, "Software\\Microsoft\\Windows", ERROR_SUCCESS},
    {"RootKeyItself", HKEY_LOCAL_MACHINE, "", ERROR_SUCCESS},
    {"NullSubKey", HKEY_LOCAL_MACHINE, nullptr, ERROR_SUCCESS},
    {"Missing", HKEY_CURRENT_USER, "Software\\Nowhere", ERROR_FILE_NOT_FOUND},
    {"BeginningOfAName", HKEY_CURRENT_USER, "Software\\Valdr", ERROR_FILE_NOT_FOUND},
    {"BelowAValue", HKEY_CURRENT_USER, "Software\\Valdrine\\Owner", ERROR_FILE_NOT_FOUND},
    {"EmptyName", HKEY_CURRENT_USER, "Software\\\\Valdrine", ERROR_FILE_NOT_FOUND},
    {"UserKeyUnderMachine", HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer",
     ERROR_FILE_NOT_FOUND},
    {"SettingsKeyUnderMachine", HKEY_LOCAL_MACHINE, "Software\\VB and VBA Program Settings", ERROR_FILE_NOT_FOUND},
    {"NotARoot", 0x80000000u, "Software", ERROR_INVALID_HANDLE},
    {"ZeroRoot", 0, "Software", ERROR_INVALID_HANDLE},
};

INSTANTIATE_TEST_SUITE_P(Registry, RegistryOpen, ::testing::ValuesIn(kOpens),
                         [](const auto& info) { return CaseName(info.param.name); });

// ---------------------------------------------------------------------------------------------------

struct QueryCase {
    const char* name;
    HKEY root;
    const char* key;
    const char* value;  // nullptr for the default value
    uint32_t type;
    std::string_view data;
};
void PrintTo(const QueryCase& c, std::ostream* os) { *os << c.name; }

class RegistryQuery : public RegistryTest, public ::testing::WithParamInterface<QueryCase> {};

TEST_P(RegistryQuery, GivesTypeAndAnsiData) {
    const QueryCase& c = GetParam();
    LoadFixtures();
    HKEY key = 0;
    ASSERT_EQ(RegOpenKeyA(c.root, c.key, &key), ERROR_SUCCESS);
    uint32_t type = 99;
    uint32_t size = 0;
    ASSERT_EQ(RegQueryValueExA(key, c.value, nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, c.type);
    ASSERT_EQ(size, c.data.size());
    std::string buffer(size + 8, '\x7f');
    type = 99;
    uint32_t room = uint32_t(buffer.size());
    ASSERT_EQ(RegQueryValueExA(key, c.value, nullptr, &type, reinterpret_cast<unsigned char*>(buffer.data()), &room),
              ERROR_SUCCESS);
    EXPECT_EQ(type, c.type);
    EXPECT_EQ(room, c.data.size());
    EXPECT_EQ(std::string_view(buffer).substr(0, room), c.data);
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
}

const char kShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

const QueryCase kQueries[] = {
    {"StringWithItsNul", HKEY_CURRENT_USER, kShellFolders, "Desktop", REG_SZ, "C:\\Windows\\Desktop\0"sv},
    {"StringInUtf8", HKEY_CURRENT_USER, kShellFolders, "Personal", REG_SZ, "C:\\Eigene Dateien\\M\xc3\xbcller\0"sv},
    {"ValueNameInOtherCase", HKEY_CURRENT_USER, kShellFolders, "PERSONAL", REG_SZ,
     "C:\\Eigene Dateien\\M\xc3\xbcller\0"sv},
    {"DefaultByNull", HKEY_CURRENT_USER, kShellFolders, nullptr, REG_SZ, "default text\0"sv},
    {"DefaultByEmptyName", HKEY_CURRENT_USER, kShellFolders, "", REG_SZ, "default text\0"sv},
    {"EscapedQuotes", HKEY_CURRENT_USER, "Software\\Valdrine", "Quoted", REG_SZ, "say \"hi\"\0"sv},
    {"LineBreakString", HKEY_CURRENT_USER, "Software\\Valdrine", "Notes", REG_SZ, "line 1\r\nline 2\0"sv},
    {"UserHiveOwner", HKEY_CURRENT_USER, "Software\\Valdrine", "Owner", REG_SZ, "user\0"sv},
    {"MachineHiveOwner", HKEY_LOCAL_MACHINE, "Software\\Valdrine", "Owner", REG_SZ, "machine\0"sv},
    {"ExpandString", HKEY_LOCAL_MACHINE, "Software\\Valdrine", "Temp", REG_EXPAND_SZ, "%TEMP%\\x\0"sv},
    {"LongExpandString", HKEY_LOCAL_MACHINE, "Software\\Valdrine", "Path", REG_EXPAND_SZ,
     "%SystemRoot%\\System32;%SystemRoot%;%ProgramFiles%\\Valdrine\0"sv},
    {"MultiString", HKEY_LOCAL_MACHINE, "Software\\Valdrine", "List", REG_MULTI_SZ, "a\0b\0\0"sv},
    {"DwordLittleEndian", HKEY_LOCAL_MACHINE, "Software\\Valdrine", "Version", REG_DWORD, "\x02\x01\0\0"sv},
    {"Binary", HKEY_LOCAL_MACHINE, "Software\\Valdrine", "Blob", REG_BINARY, "\xde\xad\xbe\xef"sv},
    {"WrappedBinary", HKEY_CURRENT_USER, "Software\\Valdrine", "Window", REG_BINARY,
     "@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_`abcdefghijklmnopqrstuvwxyz{"sv},
    {"NoBytes", HKEY_LOCAL_MACHINE, "Software\\Valdrine", "Nothing", REG_NONE, ""sv},
    {"ValueOfTheRootKey", HKEY_LOCAL_MACHINE, "", "AtRoot", REG_SZ, "root value\0"sv},
};

INSTANTIATE_TEST_SUITE_P(Registry, RegistryQuery, ::testing::ValuesIn(kQueries),
                         [](const auto& info) { return CaseName(info.param.name); });

struct MissingValueCase {
    const char* name;
    const char* key;
    const char* value;
};
void PrintTo(const MissingValueCase& c, std::ostream* os) { *os << c.name; }

class RegistryMissingValue : public RegistryTest, public ::testing::WithParamInterface<MissingValueCase> {};

TEST_P(RegistryMissingValue, IsFileNotFound) {
    LoadFixtures();
    HKEY key = 0;
    ASSERT_EQ(RegOpenKeyA(HKEY_CURRENT_USER, GetParam().key, &key), ERROR_SUCCESS);
    uint32_t type = 0;
    uint32_t size = 0;
    EXPECT_EQ(RegQueryValueExA(key, GetParam().value, nullptr, &type, nullptr, &size), ERROR_FILE_NOT_FOUND);
}

const MissingValueCase kMissingValues[] = {
    {"OtherName", "Software\\Valdrine", "Nobody"},
    {"DefaultNeverSet", "Software\\Valdrine", nullptr},
    {"KeyWithoutOwnSection", "Software\\Microsoft", "Desktop"},
    {"ValueOfASubKey", "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer", "Desktop"},
    {"MachineValueInUserHive", "Software\\Valdrine", "Version"},
};

INSTANTIATE_TEST_SUITE_P(Registry, RegistryMissingValue, ::testing::ValuesIn(kMissingValues),
                         [](const auto& info) { return CaseName(info.param.name); });

TEST_F(RegistryTest, SmallBufferGivesMoreDataAndTheSizeNeeded) {
    LoadFixtures();
    HKEY key = 0;
    ASSERT_EQ(RegOpenKeyA(HKEY_CURRENT_USER, kShellFolders, &key), ERROR_SUCCESS);
    const std::string_view expected = "C:\\Eigene Dateien\\M\xc3\xbcller\0"sv;
    unsigned char buffer[64] = {};
    for (uint32_t room : {0u, 1u, uint32_t(expected.size() - 1)}) {
        uint32_t size = room;
        uint32_t type = 0;
        EXPECT_EQ(RegQueryValueExA(key, "Personal", nullptr, &type, buffer, &size), ERROR_MORE_DATA) << room;
        EXPECT_EQ(size, expected.size()) << room;
        EXPECT_EQ(type, REG_SZ) << room;
    }
    uint32_t size = uint32_t(expected.size());
    ASSERT_EQ(RegQueryValueExA(key, "Personal", nullptr, nullptr, buffer, &size), ERROR_SUCCESS);
    EXPECT_EQ(std::string_view(reinterpret_cast<char*>(buffer), size), expected);
}

TEST_F(RegistryTest, ClosedHandleIsInvalid) {
    LoadFixtures();
    HKEY first = 0;
    HKEY second = 0;
    ASSERT_EQ(RegOpenKeyA(HKEY_CURRENT_USER, "Software\\Valdrine", &first), ERROR_SUCCESS);
    ASSERT_EQ(RegOpenKeyA(HKEY_CURRENT_USER, "Software\\Valdrine", &second), ERROR_SUCCESS);
    EXPECT_NE(first, second);
    ASSERT_EQ(RegCloseKey(first), ERROR_SUCCESS);
    uint32_t size = 0;
    EXPECT_EQ(RegQueryValueExA(first, "Owner", nullptr, nullptr, nullptr, &size), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegCloseKey(first), ERROR_INVALID_HANDLE);
    HKEY sub = 0;
    EXPECT_EQ(RegOpenKeyA(first, "", &sub), ERROR_INVALID_HANDLE);
    // The other handle to the same key is not affected, and a new one is not the closed number.
    EXPECT_EQ(RegQueryValueExA(second, "Owner", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
    HKEY third = 0;
    ASSERT_EQ(RegOpenKeyA(HKEY_CURRENT_USER, "Software", &third), ERROR_SUCCESS);
    EXPECT_NE(third, first);
}

TEST_F(RegistryTest, HandlesDoNotOutliveTheLoadedRegistry) {
    LoadFixtures();
    HKEY key = 0;
    ASSERT_EQ(RegOpenKeyA(HKEY_CURRENT_USER, "Software\\Valdrine", &key), ERROR_SUCCESS);
    Load();
    uint32_t size = 0;
    EXPECT_EQ(RegQueryValueExA(key, "Owner", nullptr, nullptr, nullptr, &size), ERROR_INVALID_HANDLE);
}

TEST_F(RegistryTest, OpensBelowAnOpenKey) {
    LoadFixtures();
    HKEY software = 0;
    HKEY valdrine = 0;
    ASSERT_EQ(RegOpenKeyA(HKEY_LOCAL_MACHINE, "software", &software), ERROR_SUCCESS);
    ASSERT_EQ(RegOpenKeyA(software, "VALDRINE\0"sv.data(), &valdrine), ERROR_SUCCESS);
    char owner[16] = {};
    uint32_t size = sizeof owner;
    ASSERT_EQ(RegQueryValueExA(valdrine, "Owner", nullptr, nullptr, reinterpret_cast<unsigned char*>(owner), &size),
              ERROR_SUCCESS);
    EXPECT_STREQ(owner, "machine");
    HKEY missing = 0;
    EXPECT_EQ(RegOpenKeyA(software, "Microsoft\\Windows\\CurrentVersion\\Explorer", &missing), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryTest, BadArgumentsAreInvalidParameter) {
    LoadFixtures();
    HKEY key = 0;
    ASSERT_EQ(RegOpenKeyA(HKEY_LOCAL_MACHINE, "Software\\Valdrine", &key), ERROR_SUCCESS);
    uint32_t reserved = 0;
    uint32_t size = 0;
    unsigned char buffer[8];
    EXPECT_EQ(RegQueryValueExA(key, "Blob", &reserved, nullptr, nullptr, &size), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegQueryValueExA(key, "Blob", nullptr, nullptr, buffer, nullptr), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegOpenKeyA(HKEY_LOCAL_MACHINE, "Software", nullptr), ERROR_INVALID_PARAMETER);
}

TEST_F(RegistryTest, GetStringAnswersOnlyStrings) {
    LoadFixtures();
    EXPECT_EQ(RegistryGetString(HKEY_LOCAL_MACHINE, "SOFTWARE\\valdrine", "owner"), QStringLiteral("machine"));
    EXPECT_EQ(RegistryGetString(HKEY_CURRENT_USER, "Software\\Valdrine", "Owner"), QStringLiteral("user"));
    EXPECT_EQ(RegistryGetString(HKEY_CURRENT_USER, "Software\\Valdrine", "Notes"), QStringLiteral("line 1\r\nline 2"));
    EXPECT_EQ(RegistryGetString(HKEY_LOCAL_MACHINE, "Software\\Valdrine", "Version"), std::nullopt);
    EXPECT_EQ(RegistryGetString(HKEY_LOCAL_MACHINE, "Software\\Valdrine", "Temp"), std::nullopt);
    EXPECT_EQ(RegistryGetString(HKEY_LOCAL_MACHINE, "Software\\Valdrine", "Missing"), std::nullopt);
}

// ---------------------------------------------------------------------------------------------------

TEST_F(RegistryTest, FirstSetStringCreatesTheUserHiveAndItsFolder) {
    Load();
    EXPECT_FALSE(QFileInfo::exists(dir_.filePath("users")));
    RegistrySetString(HKEY_CURRENT_USER, "Software\\Valdrine\\Window", "Left", "120");
    EXPECT_EQ(Contents(UserPath()), "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Valdrine\\Window]\r\n"
                                    "\"Left\"=\"120\"\r\n");
    EXPECT_EQ(Entries(dir_.filePath("users")), QStringList{"ann.reg"});
    EXPECT_EQ(Entries(dir_.path()), QStringList{"users"});  // the system hive is not written
    EXPECT_EQ(RegistryGetString(HKEY_CURRENT_USER, "software\\valdrine\\window", "LEFT"), QStringLiteral("120"));
    HKEY key = 0;
    EXPECT_EQ(RegOpenKeyA(HKEY_CURRENT_USER, "Software\\Valdrine", &key), ERROR_SUCCESS);
}

TEST_F(RegistryTest, SetStringRewritesOnlyItsHive) {
    LoadFixtures();
    const QByteArray user = Contents(UserPath());
    RegistrySetString(HKEY_LOCAL_MACHINE, "SOFTWARE\\VALDRINE", "VERSION", "2");
    EXPECT_EQ(Contents(UserPath()), user);
    QByteArray system = FixtureText("system.reg");
    system.replace("\"Version\"=dword:00000102\r\n", "\"Version\"=\"2\"\r\n");
    EXPECT_EQ(Contents(SystemPath()), system);
    EXPECT_EQ(Entries(dir_.path()), (QStringList{"system.reg", "users"}));
    EXPECT_EQ(Entries(dir_.filePath("users")), QStringList{"ann.reg"});
    EXPECT_EQ(RegistryGetString(HKEY_LOCAL_MACHINE, "Software\\Valdrine", "Version"), QStringLiteral("2"));
    EXPECT_EQ(RegistryGetString(HKEY_CURRENT_USER, "Software\\Valdrine", "Version"), std::nullopt);
}

TEST_F(RegistryTest, SetStringIsReadBackAfterReload) {
    LoadFixtures();
    RegistrySetString(HKEY_CURRENT_USER, "Software\\Valdrine", "Owner", "Ann \"the\" Müller\\");
    RegistrySetString(HKEY_CURRENT_USER, "Software\\Valdrine\\New", "", "default");
    UnloadRegistry();
    EXPECT_EQ(RegistryGetString(HKEY_CURRENT_USER, "Software\\Valdrine", "Owner"), std::nullopt);
    Load();
    EXPECT_EQ(RegistryGetString(HKEY_CURRENT_USER, "Software\\Valdrine", "Owner"),
              QStringLiteral("Ann \"the\" Müller\\"));
    EXPECT_EQ(RegistryGetString(HKEY_CURRENT_USER, "Software\\Valdrine\\New", ""), QStringLiteral("default"));
}

struct RefusedSetCase {
    const char* name;
    HKEY root;
    const char* key;
    const char* value;
};
void PrintTo(const RefusedSetCase& c, std::ostream* os) { *os << c.name; }

class RegistryRefusedSet : public RegistryTest, public ::testing::WithParamInterface<RefusedSetCase> {};

// A name the hive file cannot hold would make the hive unreadable at the next start.
TEST_P(RegistryRefusedSet, RaisesInvalidProcedureCallAndWritesNothing) {
    LoadFixtures();
    const QByteArray user = Contents(UserPath());
    try {
        RegistrySetString(GetParam().root, GetParam().key, GetParam().value, "x");
        FAIL() << "set";
    } catch (const VbError& e) {
        EXPECT_EQ(e.Number(), kInvalidProcedureCall);
    }
    EXPECT_EQ(Contents(UserPath()), user);
}

const RefusedSetCase kRefusedSets[] = {
    {"EmptyKeyName", HKEY_CURRENT_USER, "Software\\\\Valdrine", "x"},
    {"TrailingBackslash", HKEY_CURRENT_USER, "Software\\Valdrine\\", "x"},
    {"LineBreakInKey", HKEY_CURRENT_USER, "Software\\Val\ndrine", "x"},
    {"LineBreakInValueName", HKEY_CURRENT_USER, "Software\\Valdrine", "x\r\ny"},
    {"NotARoot", 0x80000000u, "Software", "x"},
};

INSTANTIATE_TEST_SUITE_P(Registry, RegistryRefusedSet, ::testing::ValuesIn(kRefusedSets),
                         [](const auto& info) { return CaseName(info.param.name); });

TEST_F(RegistryTest, FailedWriteRaisesAndChangesNothing) {
    Load();
    Put(dir_.filePath("users"), "a file where the folder should be");
    try {
        RegistrySetString(HKEY_CURRENT_USER, "Software\\Valdrine", "Owner", "ann");
        FAIL() << "written";
    } catch (const VbError& e) {
        EXPECT_EQ(e.Number(), kPathNotFound);
        EXPECT_EQ(e.Detail(), UserPath());
    }
    EXPECT_EQ(RegistryGetString(HKEY_CURRENT_USER, "Software\\Valdrine", "Owner"), std::nullopt);
    HKEY key = 0;
    EXPECT_EQ(RegOpenKeyA(HKEY_CURRENT_USER, "Software", &key), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(Entries(dir_.path()), QStringList{"users"});
}

// ---------------------------------------------------------------------------------------------------

struct BrokenCase {
    const char* name;
    enum { System, User } broken;
};
void PrintTo(const BrokenCase& c, std::ostream* os) { *os << c.name; }

class RegistryBrokenHive : public RegistryTest, public ::testing::WithParamInterface<BrokenCase> {};

TEST_P(RegistryBrokenHive, LoadsNeitherHiveAndLeavesTheFileAlone) {
    const bool systemBroken = GetParam().broken == BrokenCase::System;
    QByteArray broken = FixtureText(systemBroken ? "system.reg" : "user.reg");
    const qsizetype at = broken.indexOf("\"Owner\"=");
    ASSERT_GT(at, 0);
    broken.insert(at, "\"Half\"=hex:01,0g\r\n");
    const int line = int(broken.left(at).count('\n')) + 1;
    Put(SystemPath(), systemBroken ? broken : FixtureText("system.reg"));
    Put(UserPath(), systemBroken ? FixtureText("user.reg") : broken);
    const QString brokenPath = systemBroken ? SystemPath() : UserPath();
    try {
        Load();
        FAIL() << "loaded";
    } catch (const HiveError& e) {
        EXPECT_EQ(e.File(), brokenPath);
        EXPECT_EQ(e.Line(), line);
        EXPECT_EQ(e.Text(), QStringLiteral("\"Half\"=hex:01,0g"));
    }
    EXPECT_EQ(RegistryGetString(HKEY_LOCAL_MACHINE, "Software\\Valdrine", "Owner"), std::nullopt);
    EXPECT_EQ(RegistryGetString(HKEY_CURRENT_USER, "Software\\Valdrine", "Owner"), std::nullopt);
    HKEY key = 0;
    EXPECT_EQ(RegOpenKeyA(systemBroken ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE, "Software\\Valdrine", &key),
              ERROR_FILE_NOT_FOUND);
    EXPECT_THROW(RegistrySetString(systemBroken ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER, "Software", "x", "1"),
                 VbError);
    EXPECT_EQ(Contents(brokenPath), broken);
}

const BrokenCase kBroken[] = {{"SystemHive", BrokenCase::System}, {"UserHive", BrokenCase::User}};

INSTANTIATE_TEST_SUITE_P(Registry, RegistryBrokenHive, ::testing::ValuesIn(kBroken),
                         [](const auto& info) { return CaseName(info.param.name); });

}  // namespace
