#include "startup/startup_sequence.h"

#include "platform/file_mutations.h"
#include "platform/settings_store.h"
#include "platform/registry.h"
#include "platform/user_name.h"
#include "platform/vb_error.h"
#include "startup/shared_state.h"
#include "tests/test_machine.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

// Records what the start-up asked of the windows, and the beeps heard at that moment.
class RecordingWindows : public StartupWindows {
public:
    explicit RecordingWindows(platform::ScriptedAnswerer& answers) : answers_(answers) {}
    void ShowLogo() override { calls.push_back("logo:" + std::to_string(answers_.Beeps())); }
    void ShowMainForm() override { calls.push_back("main"); }
    void UnloadLogo() override { calls.push_back("unload"); }
    std::vector<std::string> calls;

private:
    platform::ScriptedAnswerer& answers_;
};

void SetVersion(const QString& version) {
    platform::RegistrySetString(platform::HKEY_LOCAL_MACHINE, QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion"),
                                QStringLiteral("VersionNumber"), version);
}

void SetOption(const QString& key, const QString& text) {
    platform::SaveSetting(QStringLiteral("Valdrine"), QStringLiteral("user\\ann"), key, text);
}

QStringList Entries(const TestMachine& m, const QString& relative) {
    return QDir(m.Host(relative)).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System | QDir::Hidden, QDir::Name);
}

}  // namespace

TEST(StartupSequence, FirstStartMakesTheHomeFoldersAndNoUndoStore) {
    TestMachine m;
    SetOption(QStringLiteral("ShowLogo"), QStringLiteral("False"));
    RecordingWindows windows(m.answers);
    ASSERT_EQ(Main(windows), StartupEnd::Running);
    EXPECT_EQ(windows.calls, (std::vector<std::string>{"main"}));
    EXPECT_EQ(Entries(m, "drive_c/WINDOWS/VALDRINE"), (QStringList{"Library", "PROFILES", "Tmp"}));
    EXPECT_EQ(Entries(m, "drive_c/WINDOWS/VALDRINE/PROFILES"), QStringList{"ann"});
    EXPECT_TRUE(Entries(m, "drive_c/WINDOWS/VALDRINE/PROFILES/ann").isEmpty());
    EXPECT_TRUE(Entries(m, "drive_c/WINDOWS/VALDRINE/Tmp").isEmpty());
    EXPECT_TRUE(Entries(m, "drive_c/WINDOWS/VALDRINE/Library").isEmpty());
    EXPECT_EQ(WindowsDir, "C:\\WINDOWS");
    EXPECT_EQ(HomeDir, "C:\\WINDOWS\\VALDRINE");
    EXPECT_EQ(ProfilesDir, "C:\\WINDOWS\\VALDRINE\\PROFILES");
    EXPECT_EQ(LibraryDir, "C:\\WINDOWS\\VALDRINE\\Library");
    EXPECT_EQ(TmpDir, "C:\\WINDOWS\\VALDRINE\\Tmp");
    EXPECT_EQ(DesktopDir, "C:\\WINDOWS\\Desktop");
    EXPECT_EQ(StartMenuDir, "C:\\WINDOWS\\Start Menu");
    EXPECT_EQ(UserName, "ann");
    EXPECT_EQ(ProductTitle, "VALDRINE.");
    EXPECT_EQ(ProductVersion, "2.00");
    EXPECT_EQ(CrLf, "\r\n");
    EXPECT_EQ(UndoAvailable, 0);
    EXPECT_TRUE(m.answers.Boxes().empty());
}

// A fault on the k-th folder the start makes names that folder: the folders are made in this order.
TEST(StartupSequence, FoldersAreMadeInOrderAndAFailureNamesTheFolder) {
    const char* order[] = {"C:\\WINDOWS\\VALDRINE", "C:\\WINDOWS\\VALDRINE\\Tmp", "C:\\WINDOWS\\VALDRINE\\Library",
                           "C:\\WINDOWS\\VALDRINE\\PROFILES", "C:\\WINDOWS\\VALDRINE\\PROFILES\\ann"};
    for (int k = 1; k <= 5; ++k) {
        SCOPED_TRACE(order[k - 1]);
        TestMachine m;
        SetOption(QStringLiteral("ShowLogo"), QStringLiteral("False"));
        RecordingWindows windows(m.answers);
        m.answers.Expect(platform::vbOK);
        platform::InjectFault(k, platform::kPermissionDenied, platform::FaultRepeat::Once);
        EXPECT_EQ(Main(windows), StartupEnd::Failed);
        ASSERT_EQ(m.answers.Boxes().size(), 1u);
        const auto& box = m.answers.Boxes()[0];
        EXPECT_EQ(box.prompt, QStringLiteral("Cannot make the folder %1.\r\nPermission denied (error 70).").arg(order[k - 1]));
        EXPECT_EQ(box.style, 16);
        EXPECT_EQ(box.title, "Valdrine Manager");
        EXPECT_TRUE(windows.calls.empty());
    }
}

TEST(StartupSequence, ALeftoverUndoStoreIsRemovedWithEverythingInIt) {
    TestMachine m;
    m.WriteFile("drive_c/WINDOWS/VALDRINE/Tmp/UNDO/desk/a.lnk", "a");
    m.WriteFile("drive_c/WINDOWS/VALDRINE/Tmp/UNDO/profile/x/y/b.lnk", "b");
    m.WriteFile("drive_c/WINDOWS/VALDRINE/Tmp/UNDO/undomark.fil", "C:\\x\r\n");
    m.WriteFile("drive_c/WINDOWS/VALDRINE/Tmp/keep.txt", "k");
    RecordingWindows windows(m.answers);
    ASSERT_EQ(Main(windows), StartupEnd::Running);
    EXPECT_EQ(Entries(m, "drive_c/WINDOWS/VALDRINE/Tmp"), QStringList{"keep.txt"});
}

TEST(StartupSequence, AnUndoStoreThatCannotBeDeletedEndsTheStart) {
    TestMachine m;
    m.WriteFile("drive_c/WINDOWS/VALDRINE/Tmp/UNDO/desk/a.lnk", "a");
    m.MakeDir("drive_c/WINDOWS/VALDRINE/Library");
    m.MakeDir("drive_c/WINDOWS/VALDRINE/PROFILES/ann");
    RecordingWindows windows(m.answers);
    m.answers.Expect(platform::vbOK);
    platform::InjectFault(1, platform::kPermissionDenied, platform::FaultRepeat::FromThenOn);
    EXPECT_EQ(Main(windows), StartupEnd::Failed);
    ASSERT_EQ(m.answers.Boxes().size(), 1u);
    EXPECT_EQ(m.answers.Boxes()[0].prompt,
              "Cannot delete the undo information left in C:\\WINDOWS\\VALDRINE\\Tmp\\undo.\r\nPermission denied (error 70).");
    EXPECT_TRUE(m.Exists("drive_c/WINDOWS/VALDRINE/Tmp/UNDO/desk/a.lnk"));
    EXPECT_EQ(windows.calls, (std::vector<std::string>{"logo:0", "unload"}));
}

TEST(StartupSequence, ASecondUserGetsANewLibraryBesideTheFirst) {
    TestMachine m(QStringLiteral("ann"));
    {
        RecordingWindows windows(m.answers);
        ASSERT_EQ(Main(windows), StartupEnd::Running);
    }
    m.MakeDir("drive_c/WINDOWS/VALDRINE/PROFILES/ann/Games");
    platform::SetLoginForTesting(QStringLiteral("bob"));
    m.Reopen();
    RecordingWindows windows(m.answers);
    ASSERT_EQ(Main(windows), StartupEnd::Running);
    EXPECT_EQ(UserName, "bob");
    EXPECT_EQ(Entries(m, "drive_c/WINDOWS/VALDRINE/PROFILES"), (QStringList{"ann", "bob"}));
    EXPECT_EQ(Entries(m, "drive_c/WINDOWS/VALDRINE/PROFILES/ann"), QStringList{"Games"});
    EXPECT_TRUE(Entries(m, "drive_c/WINDOWS/VALDRINE/PROFILES/bob").isEmpty());
}

TEST(StartupSequence, UserNames) {
    struct Case {
        const char* login;
        const char* userName;
    } cases[] = {
        {"", "NoUser"},
        {"ann", "ann"},
        {"abcdefghijklmnopqrs", "abcdefghijklmnopqrs"},               // 19: fits the buffer with its NUL
        {"abcdefghijklmnopqrst", "abcdefghijklmnopqrst"},             // 20: does not, read again whole
        {"a-rather-long-login-name-of-40-chars-xyz", "a-rather-long-login-name-of-40-chars-xyz"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.login);
        TestMachine m(QString::fromUtf8(c.login));
        RecordingWindows windows(m.answers);
        ASSERT_EQ(Main(windows), StartupEnd::Running);
        EXPECT_EQ(UserName, QString::fromUtf8(c.userName));
        EXPECT_TRUE(m.Exists(QStringLiteral("drive_c/WINDOWS/VALDRINE/PROFILES/") + c.userName));
    }
}

TEST(StartupSequence, TheSplashShowsOnlyWhenShowLogoReadsTrue) {
    struct Case {
        const char* stored;  // nullptr: never stored
        bool splash;
    } cases[] = {{nullptr, true}, {"True", true}, {"False", false}, {"true", false}, {"", false}, {"TRUE", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored ? c.stored : "(missing)");
        TestMachine m;
        if (c.stored) SetOption(QStringLiteral("showlogo"), QString::fromUtf8(c.stored));
        RecordingWindows windows(m.answers);
        ASSERT_EQ(Main(windows), StartupEnd::Running);
        EXPECT_EQ(ShowLogo, c.splash);
        if (c.splash) {
            // The beep sounds right after the splash is shown; the splash goes once the main window is up.
            EXPECT_EQ(windows.calls, (std::vector<std::string>{"logo:0", "main", "unload"}));
            EXPECT_EQ(m.answers.Beeps(), 1);
        } else {
            EXPECT_EQ(windows.calls, (std::vector<std::string>{"main"}));
            EXPECT_EQ(m.answers.Beeps(), 0);
        }
    }
}

TEST(StartupSequence, QuerySaveReadsTrueOnlyForTrue) {
    for (const char* stored : {"True", "False", "true", "yes"}) {
        SCOPED_TRACE(stored);
        TestMachine m;
        SetOption(QStringLiteral("CHECKSAVE"), QString::fromUtf8(stored));
        RecordingWindows windows(m.answers);
        ASSERT_EQ(Main(windows), StartupEnd::Running);
        EXPECT_EQ(CheckSave, QByteArray(stored) == "True");
    }
}

TEST(StartupSequence, VersionsBelowFourAreRefusedTouchingNothing) {
    struct Case {
        const char* version;
        StartupEnd end;
    } cases[] = {{"3.95", StartupEnd::Refused}, {"3.10", StartupEnd::Refused}, {"4.00.950", StartupEnd::Running},
                 {"4.10.1998", StartupEnd::Running}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.version);
        TestMachine m;
        SetVersion(QString::fromUtf8(c.version));
        const QByteArray userHive = m.ReadFile("users/ann.reg");
        RecordingWindows windows(m.answers);
        if (c.end == StartupEnd::Refused) m.answers.Expect(platform::vbOK);
        EXPECT_EQ(Main(windows), c.end);
        if (c.end == StartupEnd::Refused) {
            ASSERT_EQ(m.answers.Boxes().size(), 1u);
            EXPECT_EQ(m.answers.Boxes()[0].prompt, "Sorry This Aplications Needs Windows 95");
            EXPECT_EQ(m.answers.Boxes()[0].style, 16);
            EXPECT_EQ(m.answers.Boxes()[0].title, "Valdrine Manager");
            EXPECT_FALSE(m.Exists("drive_c/WINDOWS/VALDRINE"));
            EXPECT_EQ(m.ReadFile("users/ann.reg"), userHive);
            EXPECT_TRUE(windows.calls.empty());
            EXPECT_EQ(m.answers.Beeps(), 0);
        } else {
            EXPECT_TRUE(m.Exists("drive_c/WINDOWS/VALDRINE/PROFILES/ann"));
        }
    }
}

TEST(StartupSequence, AFileNamedValdrineCountsAsPresentAndEndsTheStart) {
    TestMachine m;
    m.WriteFile("drive_c/WINDOWS/VALDRINE", "not a folder");
    SetOption(QStringLiteral("ShowLogo"), QStringLiteral("False"));
    RecordingWindows windows(m.answers);
    m.answers.Expect(platform::vbOK);
    EXPECT_EQ(Main(windows), StartupEnd::Failed);
    ASSERT_EQ(m.answers.Boxes().size(), 1u);
    EXPECT_EQ(m.answers.Boxes()[0].prompt, "Cannot make the folder C:\\WINDOWS\\VALDRINE\\Tmp.\r\nPath not found (error 76).");
    EXPECT_EQ(m.ReadFile("drive_c/WINDOWS/VALDRINE"), "not a folder");
}

TEST(StartupSequence, HomeFoldersAreFoundInAnyCase) {
    TestMachine m;
    m.MakeDir("drive_c/WINDOWS/valdrine/profiles/ANN/Games");
    m.MakeDir("drive_c/WINDOWS/valdrine/tmp/Undo/desk");
    m.MakeDir("drive_c/WINDOWS/valdrine/library");
    RecordingWindows windows(m.answers);
    ASSERT_EQ(Main(windows), StartupEnd::Running);
    EXPECT_EQ(Entries(m, "drive_c/WINDOWS"), (QStringList{"Desktop", "Start Menu", "valdrine"}));
    EXPECT_EQ(Entries(m, "drive_c/WINDOWS/valdrine"), (QStringList{"library", "profiles", "tmp"}));
    EXPECT_EQ(Entries(m, "drive_c/WINDOWS/valdrine/profiles"), QStringList{"ANN"});
    EXPECT_TRUE(Entries(m, "drive_c/WINDOWS/valdrine/tmp").isEmpty());
}
