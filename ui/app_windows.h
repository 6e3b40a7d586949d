#pragma once
// The windows the start-up shows, and the program's run from the first line to the event loop.
#include "startup/startup_sequence.h"

#include <memory>

class Logo;
class MainForm;

class AppWindows : public StartupWindows {
public:
    AppWindows();
    ~AppWindows() override;
    void ShowLogo() override;
    void ShowMainForm() override;
    void UnloadLogo() override;

    MainForm* Form() const { return form_.get(); }
    Logo* Splash() const { return logo_.get(); }

private:
    std::unique_ptr<Logo> logo_;
    std::unique_ptr<MainForm> form_;
};

// Opens the machine, runs the start-up and then the windows until the program ends.
int RunValdrine(int argc, char** argv);
