#include "tests/test_machine.h"

#include "platform/machine.h"
#include "platform/user_name.h"
#include "platform/file_mutations.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

TestMachine::TestMachine(const QString& login) {
    prefix_ = QFile::encodeName(dir_.path()) + "/machine";
    platform::SetLoginForTesting(login);
    platform::ClearFaults();
    answers.onUnexpected = [](const platform::RecordedBox& box) {
        ADD_FAILURE() << "unexpected box: \"" << box.prompt.toStdString() << "\" style " << box.style << " title \""
                      << box.title.toStdString() << "\"";
    };
    Reopen();
}

TestMachine::~TestMachine() {
    platform::ClearFaults();
    platform::CloseMachine();
    platform::SetLoginForTesting(std::nullopt);
}

void TestMachine::Reopen() { platform::OpenMachineAt(prefix_, {}); }

QString TestMachine::Host(const QString& relative) const { return QFile::decodeName(prefix_) + u'/' + relative; }

QString TestMachine::HostC(const QString& belowC) const {
    return Host(QStringLiteral("drive_c/") + QString(belowC).replace(u'\\', u'/'));
}

void TestMachine::MakeDir(const QString& relative) const { ASSERT_TRUE(QDir().mkpath(Host(relative))) << relative.toStdString(); }

void TestMachine::WriteFile(const QString& relative, const QByteArray& content) const {
    QDir().mkpath(QFileInfo(Host(relative)).path());
    QFile f(Host(relative));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << relative.toStdString();
    f.write(content);
}

QByteArray TestMachine::ReadFile(const QString& relative) const {
    QFile f(Host(relative));
    if (!f.open(QIODevice::ReadOnly)) return QByteArray();
    return f.readAll();
}

bool TestMachine::Exists(const QString& relative) const { return QFileInfo::exists(Host(relative)) || QFileInfo(Host(relative)).isSymLink(); }
