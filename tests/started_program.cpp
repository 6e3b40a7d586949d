#include "tests/started_program.h"

#include "platform/settings_store.h"
#include "platform/user_name.h"

#include <QApplication>
#include <gtest/gtest.h>

StartedProgram::StartedProgram(TestMachine& machine, Splash splash) : windows_(std::make_unique<AppWindows>()) {
    (void)machine;
    const QString login = platform::HostLogin();
    if (splash == Splash::Off)
        platform::SaveSetting(QStringLiteral("Valdrine"), QStringLiteral("user\\") + (login.isEmpty() ? QStringLiteral("NoUser") : login),
                              QStringLiteral("ShowLogo"), QStringLiteral("False"));
    end_ = Main(*windows_);
    EXPECT_EQ(end_, StartupEnd::Running);
}

StartedProgram::~StartedProgram() {
    QApplication::closeAllWindows();
    windows_.reset();
}
