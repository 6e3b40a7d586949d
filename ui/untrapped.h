#pragma once
#include <functional>

// Runs what a window event asked for. A failure that nothing on the way trapped ends the program
// with a box naming the failure, as the run-time would.
void Untrapped(const std::function<void()>& command);

// Closes every window and leaves the event loop.
void EndProgram(int code);
