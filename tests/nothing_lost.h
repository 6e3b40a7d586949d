#pragma once
// The proof that a command loses nothing: every file (its name and content) that was on the
// Desktop or in the library before is, afterwards, on the Desktop, in the undo store or in the
// library. A command is run with a fault at its 1st, 2nd, ... change until it runs clear of it.
#include "tests/test_machine.h"

#include <QByteArray>
#include <functional>
#include <set>
#include <utility>

using Held = std::set<std::pair<QByteArray, QByteArray>>;  // (file name, content)

// The files below a folder of the machine ("drive_c/WINDOWS/Desktop"), links as their targets.
Held FilesBelow(const TestMachine& m, const QString& relative);
Held DesktopAndLibrary(const TestMachine& m);
Held DesktopStoreAndLibrary(const TestMachine& m);

enum class Answer { Abort, Retry, Ignore };

struct FaultRun {
    int fault;       // the change that failed
    Answer answer;   // what every report was answered
    bool reached;    // the command made that many changes
};

// For each answer, and for N = 1, 2, ... until the command no longer reaches change N: a new
// machine made by setUp, the program started, a fault at change N with error 70, every report
// answered so, every question answered Yes. check runs after each command with the files held
// before; it asserts what must hold.
// prepare runs on the started program before the files are counted and the fault is set.
void ForEachFault(const std::function<void(TestMachine&)>& setUp,
                  const std::function<void(class MainForm&, TestMachine&)>& prepare,
                  const std::function<void(class MainForm&, TestMachine&)>& command,
                  const std::function<void(class MainForm&, TestMachine&, const Held& before, const FaultRun&)>& check);
void ForEachFault(const std::function<void(TestMachine&)>& setUp,
                  const std::function<void(class MainForm&, TestMachine&)>& command,
                  const std::function<void(class MainForm&, TestMachine&, const Held& before, const FaultRun&)>& check);
