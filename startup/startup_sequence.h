#pragma once
// The program's start: version check, user, options, folders, shell folders, then the windows.

// The windows the start shows, so this layer names no window class.
class StartupWindows {
public:
    virtual ~StartupWindows() = default;
    virtual void ShowLogo() = 0;
    virtual void ShowMainForm() = 0;
    virtual void UnloadLogo() = 0;
};

enum class StartupEnd { Running, Refused, Failed };

StartupEnd Main(StartupWindows& windows);
