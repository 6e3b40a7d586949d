#pragma once
// The program started on a test machine, as a user starts it, with its windows.
#include "startup/startup_sequence.h"
#include "tests/test_machine.h"
#include "ui/app_windows.h"
#include "ui/main_form.h"

#include <memory>

enum class Splash { Off, AsStored };

class StartedProgram {
public:
    // Splash::Off stores "ShowLogo" = "False" first, so no splash and no beep come in the way.
    explicit StartedProgram(TestMachine& machine, Splash splash = Splash::Off);
    ~StartedProgram();
    MainForm& Form() const { return *windows_->Form(); }
    StartupEnd End() const { return end_; }

private:
    std::unique_ptr<AppWindows> windows_;
    StartupEnd end_;
};
