#include "tests/started_program.h"

#include "platform/settings_store.h"
#include "platform/user_name.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

StartedProgram::StartedProgram(TestMachine& machine, Splash splash) : windows_(std::make_unique<AppWindows>()) {
    (void)machine;
    const QString login = platform::HostLogin();
    if (splash == Splash::Off)
        platform::SaveSetting(QStringLiteral("Valdrine"), QStringLiteral("user\\") + (login.isEmpty() ? QStringLiteral("NoUser") : login),
                              QStringLiteral("ShowLogo"), QStringLiteral("False"));
    end_ = Main(*windows_);
    EXPECT_EQ(end_, StartupEnd::Running);
    // Keys typed in a test reach the focused widget of the active window, as the user's do.
    if (MainForm* form = windows_->Form()) {
        QApplication::setActiveWindow(form);
        QTest::qWaitForWindowActive(form, 1000);
    }
}

StartedProgram::~StartedProgram() {
    QApplication::closeAllWindows();
    windows_.reset();
}
