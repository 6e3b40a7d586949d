#include "tests/nothing_lost.h"

#include "platform/file_mutations.h"
#include "platform/vb_error.h"
#include "tests/host_tree.h"
#include "tests/started_program.h"

#include <gtest/gtest.h>

Held FilesBelow(const TestMachine& m, const QString& relative) {
    Held held;
    for (const auto& [path, what] : Tree(QFile::encodeName(m.Host(relative)))) {
        if (what == "dir") continue;
        held.insert({path.mid(path.lastIndexOf('/') + 1), what});
    }
    return held;
}

static Held Union(std::initializer_list<Held> parts) {
    Held all;
    for (const Held& p : parts) all.insert(p.begin(), p.end());
    return all;
}

Held DesktopAndLibrary(const TestMachine& m) {
    return Union({FilesBelow(m, "drive_c/WINDOWS/Desktop"), FilesBelow(m, "drive_c/WINDOWS/VALDRINE/PROFILES")});
}

Held DesktopStoreAndLibrary(const TestMachine& m) {
    return Union({DesktopAndLibrary(m), FilesBelow(m, "drive_c/WINDOWS/VALDRINE/Tmp/UNDO")});
}

void ForEachFault(const std::function<void(TestMachine&)>& setUp, const std::function<void(MainForm&, TestMachine&)>& command,
                  const std::function<void(MainForm&, TestMachine&, const Held&, const FaultRun&)>& check) {
    ForEachFault(setUp, [](MainForm&, TestMachine&) {}, command, check);
}

void ForEachFault(const std::function<void(TestMachine&)>& setUp, const std::function<void(MainForm&, TestMachine&)>& prepare,
                  const std::function<void(MainForm&, TestMachine&)>& command,
                  const std::function<void(MainForm&, TestMachine&, const Held&, const FaultRun&)>& check) {
    for (Answer answer : {Answer::Abort, Answer::Retry, Answer::Ignore}) {
        for (int n = 1;; ++n) {
            SCOPED_TRACE(testing::Message() << "fault at change " << n << ", answer "
                                            << (answer == Answer::Abort ? "Abort" : answer == Answer::Retry ? "Retry" : "Ignore"));
            TestMachine m;
            setUp(m);
            StartedProgram p(m);
            prepare(p.Form(), m);
            const Held before = DesktopStoreAndLibrary(m);
            m.answers.fallback = [answer](const platform::RecordedBox& box) -> int {
                if (box.style == platform::vbAbortRetryIgnoreExclamation)
                    return answer == Answer::Abort ? platform::vbAbort : answer == Answer::Retry ? platform::vbRetry : platform::vbIgnore;
                return box.style == platform::vbYesNoQuestion ? platform::vbYes : platform::vbOK;
            };
            platform::InjectFault(n, platform::kPermissionDenied, platform::FaultRepeat::Once);
            command(p.Form(), m);
            const bool reached = platform::MutationsSinceReset() >= n;
            platform::ClearFaults();
            check(p.Form(), m, before, {n, answer, reached});
            if (!reached || n > 200) break;
        }
    }
}
