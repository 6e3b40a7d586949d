#include "platform/machine.h"
#include "tests/host_tree.h"

#include "platform/registry.h"
#include "platform/user_name.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

class MachineTest : public ::testing::Test {
protected:
    void SetUp() override { platform::SetLoginForTesting(QStringLiteral("ann")); }
    void TearDown() override {
        platform::CloseMachine();
        platform::SetLoginForTesting(std::nullopt);
    }
    QString P(const QString& relative) const { return dir.path() + QStringLiteral("/m/") + relative; }
    QByteArray Prefix() const { return QFile::encodeName(dir.path() + QStringLiteral("/m")); }
    QTemporaryDir dir;
};

const std::vector<platform::ShippedFile> kHelp = {{QStringLiteral("C:\\WINDOWS\\valdrine.HLP"), QStringLiteral(":/valdrine.HLP")}};

}  // namespace

TEST_F(MachineTest, AFirstOpenSetsTheMachineUp) {
    platform::OpenMachineAt(Prefix(), kHelp);
    for (const char* folder : {"drive_c/WINDOWS/Desktop", "drive_c/WINDOWS/Start Menu/Programs", "dosdevices", "users"})
        EXPECT_TRUE(QFileInfo(P(folder)).isDir()) << folder;
    EXPECT_EQ(Contents(P("drive_c/WINDOWS/valdrine.HLP")), Contents(":/valdrine.HLP"));
    EXPECT_EQ(platform::RegistryGetString(platform::HKEY_LOCAL_MACHINE, "software\\microsoft\\windows\\currentversion", "versionnumber"),
              QString("4.00.950"));
    const QString shell = QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders");
    EXPECT_EQ(platform::RegistryGetString(platform::HKEY_CURRENT_USER, shell, "Desktop"), QString("C:\\WINDOWS\\Desktop"));
    EXPECT_EQ(platform::RegistryGetString(platform::HKEY_CURRENT_USER, shell, "Start Menu"), QString("C:\\WINDOWS\\Start Menu"));
    EXPECT_TRUE(QFile::exists(P("system.reg")));
    EXPECT_TRUE(QFile::exists(P("users/ann.reg")));
    EXPECT_TRUE(Contents(P("system.reg")).startsWith("REGEDIT4\r\n"));
}

TEST_F(MachineTest, OpeningAgainAddsOnlyWhatIsMissing) {
    Put(P("drive_c/windows/valdrine.hlp"), "my own help");
    Put(P("users/ann.reg"), "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders]\r\n"
                              "\"Desktop\"=\"Z:\\\\home\\\\ann\\\\Desktop\"\r\n");
    platform::OpenMachineAt(Prefix(), kHelp);
    EXPECT_EQ(Contents(P("drive_c/windows/valdrine.hlp")), "my own help");
    EXPECT_FALSE(QFileInfo::exists(P("drive_c/WINDOWS"))) << "a Windows folder in another case is the same folder";
    EXPECT_TRUE(QFileInfo(P("drive_c/windows/Desktop")).isDir());
    const QString shell = QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders");
    EXPECT_EQ(platform::RegistryGetString(platform::HKEY_CURRENT_USER, shell, "Desktop"), QString("Z:\\home\\ann\\Desktop"));
    EXPECT_EQ(platform::RegistryGetString(platform::HKEY_CURRENT_USER, shell, "Start Menu"), QString("C:\\WINDOWS\\Start Menu"));
    const QByteArray user = Contents(P("users/ann.reg"));
    platform::OpenMachineAt(Prefix(), kHelp);
    EXPECT_EQ(Contents(P("users/ann.reg")), user) << "nothing missing, nothing written";
}

TEST_F(MachineTest, AHiveThatCannotBeReadIsReportedAndLeftAlone) {
    const QByteArray broken = "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software]\r\n\"ok\"=\"1\"\r\nthis is not a value\r\n";
    Put(P("system.reg"), broken);
    try {
        platform::OpenMachineAt(Prefix(), kHelp);
        FAIL() << "opened a machine with a broken hive";
    } catch (const platform::MachineError& e) {
        EXPECT_TRUE(e.Message().contains(P("system.reg"))) << e.Message().toStdString();
        EXPECT_TRUE(e.Message().contains("line 5")) << e.Message().toStdString();
    }
    EXPECT_EQ(Contents(P("system.reg")), broken);
    EXPECT_FALSE(QFileInfo::exists(P("drive_c"))) << "nothing is created after a hive fails";
    EXPECT_FALSE(QFileInfo::exists(P("users/ann.reg")));
}

TEST_F(MachineTest, APrefixThatCannotBeMadeIsNamed) {
    Put(dir.path() + "/file", "x");
    const QByteArray underFile = QFile::encodeName(dir.path() + "/file/m");
    try {
        platform::OpenMachineAt(underFile, kHelp);
        FAIL();
    } catch (const platform::MachineError& e) {
        EXPECT_TRUE(e.Message().contains(dir.path() + "/file/m")) << e.Message().toStdString();
    }
}

TEST_F(MachineTest, APrefixThatCannotBeWrittenIsNamed) {
    if (geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
    QDir().mkpath(P(""));
    chmod(Prefix().constData(), 0555);
    try {
        platform::OpenMachineAt(Prefix(), kHelp);
        ADD_FAILURE();
    } catch (const platform::MachineError& e) {
        EXPECT_TRUE(e.Message().contains(P("").chopped(1))) << e.Message().toStdString();
    }
    chmod(Prefix().constData(), 0755);
}
