// GetSetting and SaveSetting over the user hive.
#include "platform/settings_store.h"
#include "tests/host_tree.h"

#include "platform/registry.h"
#include "platform/vb_error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace platform;

namespace {

std::string CaseName(const char* name) { return name; }

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
    void TearDown() override { UnloadRegistry(); }

    QString UserPath() const { return dir_.filePath("users/ann.reg"); }
    void Load() { LoadRegistry(QFile::encodeName(dir_.filePath("system.reg")), QFile::encodeName(UserPath())); }

    QTemporaryDir dir_;
};

TEST_F(SettingsTest, SaveWritesTheVbSettingsKey) {
    Load();
    SaveSetting("Valdrine", "Startup", "ShowLogo", "1");
    EXPECT_EQ(Contents(UserPath()), "REGEDIT4\r\n"
                                    "\r\n"
                                    "[HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\Valdrine\\Startup]\r\n"
                                    "\"ShowLogo\"=\"1\"\r\n");
}

TEST_F(SettingsTest, NestedSectionIsAKeyInsideAKey) {
    Load();
    SaveSetting("Valdrine", "user\\ann", "Theme", "dark");
    HKEY key = 0;
    EXPECT_EQ(RegOpenKeyA(HKEY_CURRENT_USER, "Software\\VB and VBA Program Settings\\Valdrine\\user", &key),
              ERROR_SUCCESS);
    EXPECT_EQ(RegistryGetString(HKEY_CURRENT_USER, "Software\\VB and VBA Program Settings\\Valdrine\\user\\ann",
                                "Theme"),
              QStringLiteral("dark"));
    EXPECT_EQ(GetSetting("Valdrine", "user", "Theme", "none"), QStringLiteral("none"));
}

struct SpellingCase {
    const char* name;
    const char* savedApplication;
    const char* savedSection;
    const char* savedKey;
    const char* readApplication;
    const char* readSection;
    const char* readKey;
};
void PrintTo(const SpellingCase& c, std::ostream* os) { *os << c.name; }

class SettingsSpelling : public SettingsTest, public ::testing::WithParamInterface<SpellingCase> {};

TEST_P(SettingsSpelling, ReadsWhatWasSavedUnderAnySpelling) {
    const SpellingCase& c = GetParam();
    Load();
    SaveSetting(c.savedApplication, c.savedSection, c.savedKey, "saved");
    EXPECT_EQ(GetSetting(c.readApplication, c.readSection, c.readKey, "default"), QStringLiteral("saved"));
    // and again after the hive has been read back from its file
    UnloadRegistry();
    Load();
    EXPECT_EQ(GetSetting(c.readApplication, c.readSection, c.readKey, "default"), QStringLiteral("saved"));
    // A second save under the other spelling replaces the value instead of adding one.
    SaveSetting(c.readApplication, c.readSection, c.readKey, "again");
    EXPECT_EQ(GetSetting(c.savedApplication, c.savedSection, c.savedKey), QStringLiteral("again"));
    EXPECT_EQ(Contents(UserPath()).count("\"="), 1) << Contents(UserPath()).toStdString();
}

const SpellingCase kSpellings[] = {
    {"SameSpelling", "Valdrine", "Startup", "ShowLogo", "Valdrine", "Startup", "ShowLogo"},
    {"KeyInOtherCase", "Valdrine", "Startup", "showlogo", "Valdrine", "Startup", "ShowLogo"},
    {"SectionInOtherCase", "Valdrine", "startup", "ShowLogo", "Valdrine", "STARTUP", "ShowLogo"},
    {"ApplicationInOtherCase", "VALDRINE", "Startup", "ShowLogo", "valdrine", "Startup", "ShowLogo"},
    {"NestedSectionInOtherCase", "Valdrine", "user\\ann", "Theme", "Valdrine", "User\\ANN", "theme"},
    {"NonAsciiNames", "Valdrine", "Größe", "Äpfel", "Valdrine", "GRÖßE", "äpfel"},
};

INSTANTIATE_TEST_SUITE_P(Settings, SettingsSpelling, ::testing::ValuesIn(kSpellings),
                         [](const auto& info) { return CaseName(info.param.name); });

struct DefaultCase {
    const char* name;
    const char* section;
    const char* key;
    const char* expected;
};
void PrintTo(const DefaultCase& c, std::ostream* os) { *os << c.name; }

class SettingsDefault : public SettingsTest, public ::testing::WithParamInterface<DefaultCase> {};

TEST_P(SettingsDefault, GivesTheDefaultUnlessAStringIsStored) {
    Put(UserPath(), "REGEDIT4\r\n"
                    "\r\n"
                    "[HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\Valdrine\\Window]\r\n"
                    "\"Left\"=\"120\"\r\n"
                    "\"Top\"=dword:00000078\r\n"
                    "\"Path\"=hex(2):43,00,3a,00,00,00\r\n"
                    "\"Note\"=hex(1):61,00,0d,00,0a,00,62,00,00,00\r\n");
    Load();
    EXPECT_EQ(GetSetting("Valdrine", GetParam().section, GetParam().key, "default"),
              QString::fromUtf8(GetParam().expected));
}

const DefaultCase kDefaults[] = {
    {"StoredString", "Window", "Left", "120"},
    {"MissingValue", "Window", "Width", "default"},
    {"MissingSection", "Toolbar", "Left", "default"},
    {"SectionIsAPrefix", "Win", "Left", "default"},
    {"DwordValue", "Window", "Top", "default"},
    {"ExpandStringValue", "Window", "Path", "default"},
    {"StringWrittenInHex", "Window", "Note", "a\r\nb"},
    {"EmptySection", "", "Left", "default"},
};

INSTANTIATE_TEST_SUITE_P(Settings, SettingsDefault, ::testing::ValuesIn(kDefaults),
                         [](const auto& info) { return CaseName(info.param.name); });

TEST_F(SettingsTest, DefaultIsEmptyWhenNotGiven) {
    Load();
    EXPECT_EQ(GetSetting("Valdrine", "Startup", "ShowLogo"), QString());
}

TEST_F(SettingsTest, MultiLineTextSurvivesAReload) {
    Load();
    const QString text = QStringLiteral("first line\r\nsecond \"line\"\\");
    SaveSetting("Valdrine", "Notes", "Text", text);
    UnloadRegistry();
    Load();
    EXPECT_EQ(GetSetting("Valdrine", "Notes", "Text"), text);
}

// An empty name would leave "...\Valdrine\" in the hive, a key the hive could not be read back with.
TEST_F(SettingsTest, EmptySectionIsRefused) {
    Load();
    try {
        SaveSetting("Valdrine", "", "ShowLogo", "1");
        FAIL() << "saved";
    } catch (const VbError& e) {
        EXPECT_EQ(e.Number(), kInvalidProcedureCall);
    }
    EXPECT_FALSE(QFileInfo::exists(UserPath()));
}

}  // namespace
