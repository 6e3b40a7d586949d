#include "ui/command_report.h"

#include "platform/message_box.h"

using namespace platform;

CommandReport::CommandReport(QString title, Prompt prompt) : title_(std::move(title)), prompt_(std::move(prompt)) {}

bool CommandReport::Step(const std::function<void()>& step) {
    for (;;) {
        try {
            step();
            return true;
        } catch (const VbError& e) {
            Beep();
            switch (MsgBox(prompt_(e), vbAbortRetryIgnoreExclamation, title_)) {
            case vbRetry: continue;
            case vbIgnore: return true;
            default: return false;
            }
        }
    }
}
