#pragma once
// The error report every command shows for a failing step: a beep, then an Abort/Retry/Ignore box
// with the command's title and a prompt made from the failure. Retry runs the step again, Ignore
// goes on with the next step, Abort ends the command (the caller jumps to its last step).
#include "platform/vb_error.h"

#include <QString>
#include <functional>

class CommandReport {
public:
    using Prompt = std::function<QString(const platform::VbError&)>;
    CommandReport(QString title, Prompt prompt);
    // The prompt of the reports that show the failure's description alone.
    static QString Description(const platform::VbError& error) { return error.Description(); }

    // True when the step ran or the user ignored its failure; false once the user answered Abort.
    bool Step(const std::function<void()>& step);

private:
    QString title_;
    Prompt prompt_;
};
