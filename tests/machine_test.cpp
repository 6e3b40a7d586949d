#include "platform/machine.h"

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

QByteArray Read(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void Write(const QString& path, const QByteArray& data) {
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(data);
}

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
    EXPECT_EQ(Read(P("drive_c/WINDOWS/valdrine.HLP")), Read(":/valdrine.HLP"));
    EXPECT_EQ(platform::RegistryGetString(platform::HKEY_LOCAL_MACHINE, "software\\microsoft\\windows\\currentversion", "versionnumber"),
              QString("4.00.950"));
    const QString shell = QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders");
    EXPECT_EQ(platform::RegistryGetString(platform::HKEY_CURRENT_USER, shell, "Desktop"), QString("C:\\WINDOWS\\Desktop"));
    EXPECT_EQ(platform::RegistryGetString(platform::HKEY_CURRENT_USER, shell, "Start Menu"), QString("C:\\WINDOWS\\Start Menu"));
    EXPECT_TRUE(QFile::exists(P("system.reg")));
    EXPECT_TRUE(QFile::exists(P("users/ann.reg")));
    EXPECT_TRUE(Read(P("system.reg")).startsWith("REGEDIT4\r\n"));
}

TEST_F(MachineTest, OpeningAgainAddsOnlyWhatIsMissing) {
    Write(P("drive_c/windows/valdrine.hlp"), "my own help");
    Write(P("users/ann.reg"), "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders]\r\n"
                              "\"Desktop\"=\"Z:\\\\home\\\\ann\\\\Desktop\"\r\n");
    platform::OpenMachineAt(Prefix(), kHelp);
    EXPECT_EQ(Read(P("drive_c/windows/valdrine.hlp")), "my own help");
    EXPECT_FALSE(QFileInfo::exists(P("drive_c/WINDOWS"))) << "a Windows folder in another case is the same folder";
    EXPECT_TRUE(QFileInfo(P("drive_c/windows/Desktop")).isDir());
    const QString shell = QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders");
    EXPECT_EQ(platform::RegistryGetString(platform::HKEY_CURRENT_USER, shell, "Desktop"), QString("Z:\\home\\ann\\Desktop"));
    EXPECT_EQ(platform::RegistryGetString(platform::HKEY_CURRENT_USER, shell, "Start Menu"), QString("C:\\WINDOWS\\Start Menu"));
    const QByteArray user = Read(P("users/ann.reg"));
    platform::OpenMachineAt(Prefix(), kHelp);
    EXPECT_EQ(Read(P("users/ann.reg")), user) << "nothing missing, nothing written";
}

TEST_F(MachineTest, AHiveThatCannotBeReadIsReportedAndLeftAlone) {
    const QByteArray broken = "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software]\r\n\"ok\"=\"1\"\r\nthis is not a value\r\n";
    Write(P("system.reg"), broken);
    try {
        platform::OpenMachineAt(Prefix(), kHelp);
        FAIL() << "opened a machine with a broken hive";
    } catch (const platform::MachineError& e) {
        EXPECT_TRUE(e.Message().contains(P("system.reg"))) << e.Message().toStdString();
        EXPECT_TRUE(e.Message().contains("line 5")) << e.Message().toStdString();
    }
    EXPECT_EQ(Read(P("system.reg")), broken);
    EXPECT_FALSE(QFileInfo::exists(P("drive_c"))) << "nothing is created after a hive fails";
    EXPECT_FALSE(QFileInfo::exists(P("users/ann.reg")));
}

TEST_F(MachineTest, APrefixThatCannotBeMadeIsNamed) {
    Write(dir.path() + "/file", "x");
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
