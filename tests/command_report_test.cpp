#include "ui/command_report.h"

#include "tests/test_machine.h"

#include <gtest/gtest.h>

using namespace platform;

// A step that fails its first `failures` runs; the report answers from `answers`.
TEST(CommandReport, AnswersActOnTheFailedStep) {
    struct Case {
        const char* name;
        int failures;
        std::vector<int> answers;
        bool goesOn;
        int runs;
    } cases[] = {
        {"no failure", 0, {}, true, 1},
        {"retry then success", 1, {vbRetry}, true, 2},
        {"retry twice", 2, {vbRetry, vbRetry}, true, 3},
        {"ignore", 3, {vbIgnore}, true, 1},
        {"abort", 3, {vbAbort}, false, 1},
        {"retry then abort", 3, {vbRetry, vbAbort}, false, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestMachine m;
        for (int a : c.answers) m.answers.Expect(a);
        CommandReport report(QStringLiteral("Trouble."), [](const VbError& e) { return "On X\r\n" + e.Description(); });
        int runs = 0;
        const bool goesOn = report.Step([&] {
            if (runs++ < c.failures) Raise(kPermissionDenied);
        });
        EXPECT_EQ(goesOn, c.goesOn);
        EXPECT_EQ(runs, c.runs);
        EXPECT_EQ(m.answers.Beeps(), int(c.answers.size()));
        ASSERT_EQ(m.answers.Boxes().size(), c.answers.size());
        for (const RecordedBox& box : m.answers.Boxes()) {
            EXPECT_EQ(box.prompt, "On X\r\nPermission denied");
            EXPECT_EQ(box.style, 50);
            EXPECT_EQ(box.title, "Trouble.");
        }
    }
}
