#include "platform/shell_link.h"

#include "platform/vb_error.h"
#include "tests/test_machine.h"

#include <QProcess>
#include <QStandardPaths>
#include <QtEndian>
#include <gtest/gtest.h>

using namespace platform;

namespace {

uint32_t U32At(const QByteArray& b, int at) { return qFromLittleEndian<uint32_t>(b.constData() + at); }
uint16_t U16At(const QByteArray& b, int at) { return qFromLittleEndian<uint16_t>(b.constData() + at); }

QString LnkInfo(const QString& file) {
    QProcess p;
    p.start(QStringLiteral("lnkinfo"), {file});
    p.waitForFinished(10000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

QString Field(const QString& report, const QString& name) {
    for (const QString& line : report.split(u'\n'))
        if (line.trimmed().startsWith(name)) return line.section(u':', 1).mid(1);
    return QStringLiteral("(missing)");
}

struct Case {
    const char* name;
    QString target;
    QString arguments;
};

const Case kCases[] = {
    {"plain", "C:\\VALPAINT.EXE", "C:\\WINDOWS\\VALDRINE\\PROFILES\\ann\\Games"},
    {"blanks, unquoted", "Z:\\home\\ann\\bin\\VALPAINT.EXE", "C:\\WINDOWS\\VALDRINE\\PROFILES\\ann\\My Old Games"},
    {"no arguments", "C:\\VALPAINT.EXE", ""},
    {"beyond ASCII", "Z:\\home\\\u00e5sa\\VALPAINT.EXE", "C:\\PROFILES\\\u00e5sa\\Spel \u4e2d"},
};

}  // namespace

TEST(ShellLink, TheHeaderAndTheStringsAreWhereTheFormatPutsThem) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        const QByteArray b = ShellLinkBytes(c.target, c.arguments);
        ASSERT_GE(b.size(), 76);
        EXPECT_EQ(U32At(b, 0), 0x4Cu);
        EXPECT_EQ(b.mid(4, 16).toHex(), "0114020000000000c000000000000046");
        const uint32_t flags = U32At(b, 20);
        EXPECT_EQ(flags & 0x02, 0x02u) << "HasLinkInfo";
        EXPECT_EQ(flags & 0x20, 0x20u) << "HasArguments";
        EXPECT_EQ(flags & 0x80, 0x80u) << "IsUnicode";
        const int info = 76;
        const uint32_t infoSize = U32At(b, info);
        EXPECT_EQ(U32At(b, info + 8), 1u) << "VolumeIDAndLocalBasePath";
        const QByteArray base = b.mid(info + int(U32At(b, info + 16)));
        EXPECT_EQ(QString::fromUtf8(base.left(base.indexOf('\0'))), c.target);
        const int args = info + int(infoSize);
        const int count = U16At(b, args);
        QString read;
        for (int i = 0; i < count; ++i) read.append(QChar(U16At(b, args + 2 + 2 * i)));
        EXPECT_EQ(read, c.arguments);
    }
}

TEST(ShellLink, LnkinfoReadsBackTheTargetAndTheArguments) {
    if (QStandardPaths::findExecutable(QStringLiteral("lnkinfo")).isEmpty()) GTEST_SKIP() << "lnkinfo is not installed";
    TestMachine m;
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        WriteShellLink(QStringLiteral("C:\\_Paint.lnk"), c.target, c.arguments);
        const QString report = LnkInfo(m.Host("drive_c/_Paint.lnk"));
        EXPECT_EQ(Field(report, "Local path"), c.target) << report.toStdString();
        if (!c.arguments.isEmpty()) EXPECT_EQ(Field(report, "Command line arguments"), c.arguments) << report.toStdString();
    }
}

TEST(ShellLink, WritingReplacesAndNeedsItsFolder) {
    TestMachine m;
    m.WriteFile("drive_c/X/_Paint.lnk", "old");
    WriteShellLink(QStringLiteral("C:\\x\\_PAINT.LNK"), "C:\\A.EXE", "b");
    EXPECT_EQ(m.ReadFile("drive_c/X/_Paint.lnk"), ShellLinkBytes("C:\\A.EXE", "b"));
    EXPECT_EQ(QDir(m.Host("drive_c/X")).entryList(QDir::Files | QDir::Hidden), QStringList{"_Paint.lnk"});
    try {
        WriteShellLink(QStringLiteral("C:\\Missing\\_Paint.lnk"), "C:\\A.EXE", "");
        ADD_FAILURE();
    } catch (const VbError& e) {
        EXPECT_EQ(e.Number(), kPathNotFound);
    }
}
