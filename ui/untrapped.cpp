#include "ui/untrapped.h"

#include "platform/message_box.h"
#include "platform/vb_error.h"
#include "startup/failure_text.h"

#include <QApplication>

void EndProgram(int code) {
    QApplication::closeAllWindows();
    QCoreApplication::exit(code);
}

void Untrapped(const std::function<void()>& command) {
    try {
        command();
    } catch (const platform::VbError& e) {
        platform::MsgBox(UntrappedFailureText(e), platform::vbCritical);
        EndProgram(1);
    }
}
