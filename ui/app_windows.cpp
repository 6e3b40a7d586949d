#include "ui/app_windows.h"

#include "platform/machine.h"
#include "platform/message_box.h"
#include "platform/vb_error.h"
#include "startup/failure_text.h"
#include "ui/logo.h"
#include "ui/main_form.h"

#include <QApplication>

AppWindows::AppWindows() = default;
AppWindows::~AppWindows() = default;

void AppWindows::ShowLogo() {
    logo_ = std::make_unique<Logo>();
    logo_->show();
}

void AppWindows::ShowMainForm() {
    form_ = std::make_unique<MainForm>();
    form_->Load();
    form_->show();
}

void AppWindows::UnloadLogo() {
    if (!logo_) return;
    logo_->close();
    logo_.reset();
}

int RunValdrine(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Valdrine Manager"));
    try {
        platform::OpenMachine({{QStringLiteral("C:\\WINDOWS\\valdrine.HLP"), QStringLiteral(":/valdrine.HLP")}});
    } catch (const platform::MachineError& e) {
        platform::MsgBox(e.Message(), platform::vbCritical);
        return 1;
    }
    AppWindows windows;
    try {
        switch (Main(windows)) {
        case StartupEnd::Running: break;
        case StartupEnd::Refused: return 0;
        case StartupEnd::Failed: return 1;
        }
    } catch (const platform::VbError& e) {
        platform::MsgBox(UntrappedFailureText(e), platform::vbCritical);
        return 1;
    }
    return app.exec();
}
