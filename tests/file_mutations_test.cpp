// The gate every change of the disk passes: the generation and the fault injector.
#include "platform/file_mutations.h"
#include "platform/file_services.h"
#include "platform/qpro.h"
#include "platform/vb_error.h"
#include "tests/test_machine.h"

#include <gtest/gtest.h>

#include <functional>

using platform::FaultRepeat;

namespace {

// The number a call raised; 0 when it raised nothing.
int ErrorOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const platform::VbError& e) {
        return e.Number();
    }
    return 0;
}

class FileMutationsTest : public ::testing::Test {
protected:
    void SetUp() override {
        machine.WriteFile("drive_c/F/a.txt", "alpha");
        machine.MakeDir("drive_c/F/Empty");
    }
    QString Folder(int i) const { return QStringLiteral("C:\\F\\D%1").arg(i); }
    bool Made(int i) const { return machine.Exists(QStringLiteral("drive_c/F/D%1").arg(i)); }
    TestMachine machine;
};

TEST_F(FileMutationsTest, FailsTheChosenChangeOnce) {
    platform::InjectFault(2, platform::kPermissionDenied, FaultRepeat::Once);
    const int errors[] = {ErrorOf([&] { platform::MkDir(Folder(1)); }), ErrorOf([&] { platform::MkDir(Folder(2)); }),
                          ErrorOf([&] { platform::MkDir(Folder(3)); }), ErrorOf([&] { platform::MkDir(Folder(4)); })};
    EXPECT_EQ(errors[0], 0);
    EXPECT_EQ(errors[1], 70);
    EXPECT_EQ(errors[2], 0);
    EXPECT_EQ(errors[3], 0);
    EXPECT_TRUE(Made(1));
    EXPECT_FALSE(Made(2)) << "the failing change does nothing";
    EXPECT_TRUE(Made(3));
    EXPECT_EQ(platform::MutationsSinceReset(), 4);
}

TEST_F(FileMutationsTest, FailsFromTheChosenChangeOn) {
    platform::InjectFault(2, platform::kDiskFull, FaultRepeat::FromThenOn);
    EXPECT_EQ(ErrorOf([&] { platform::MkDir(Folder(1)); }), 0);
    for (int i = 2; i <= 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(ErrorOf([&] { platform::MkDir(Folder(i)); }), 61);
        EXPECT_FALSE(Made(i));
    }
    platform::ClearFaults();
    EXPECT_EQ(platform::MutationsSinceReset(), 0);
    EXPECT_EQ(ErrorOf([&] { platform::MkDir(Folder(5)); }), 0);
    EXPECT_TRUE(Made(5));
}

TEST_F(FileMutationsTest, AnotherInjectionStartsCountingAgain) {
    platform::MkDir(Folder(1));
    platform::MkDir(Folder(2));
    platform::InjectFault(1, platform::kDeviceIoError, FaultRepeat::Once);
    EXPECT_EQ(platform::MutationsSinceReset(), 0);
    EXPECT_EQ(ErrorOf([&] { platform::MkDir(Folder(3)); }), 57);
    EXPECT_EQ(ErrorOf([&] { platform::MkDir(Folder(4)); }), 0);
}

TEST_F(FileMutationsTest, EveryChangingServicePassesTheGate) {
    struct Case {
        const char* name;
        std::function<void()> call;
        std::function<bool()> untouched;
    };
    const Case cases[] = {
        {"MkDir", [] { platform::MkDir("C:\\F\\New"); }, [&] { return !machine.Exists("drive_c/F/New"); }},
        {"RmDir", [] { platform::RmDir("C:\\F\\Empty"); }, [&] { return machine.Exists("drive_c/F/Empty"); }},
        {"Name", [] { platform::Name("C:\\F\\a.txt", "C:\\F\\b.txt"); }, [&] { return machine.Exists("drive_c/F/a.txt"); }},
        {"FileCopy", [] { platform::FileCopy("C:\\F\\a.txt", "C:\\F\\b.txt"); }, [&] { return !machine.Exists("drive_c/F/b.txt"); }},
        {"Kill", [] { platform::Kill("C:\\F\\a.txt"); }, [&] { return machine.Exists("drive_c/F/a.txt"); }},
        {"WriteLine", [] { platform::WriteLine("C:\\F\\a.txt", "new"); }, [&] { return machine.ReadFile("drive_c/F/a.txt") == "alpha"; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const uint64_t generation = platform::MutationGeneration();
        platform::InjectFault(1, platform::kPermissionDenied, FaultRepeat::Once);
        EXPECT_EQ(ErrorOf(c.call), 70);
        EXPECT_TRUE(c.untouched());
        EXPECT_EQ(platform::MutationsSinceReset(), 1);
        EXPECT_GT(platform::MutationGeneration(), generation);
    }
}

TEST_F(FileMutationsTest, ReadingPassesNoGate) {
    platform::InjectFault(1, platform::kPermissionDenied, FaultRepeat::FromThenOn);
    const uint64_t generation = platform::MutationGeneration();
    EXPECT_EQ(platform::Dir("C:\\F\\a.txt"), "a.txt");
    EXPECT_EQ(platform::ReadLine("C:\\F\\a.txt"), "alpha");
    EXPECT_EQ(platform::FCount("C:\\F\\*.*"), 1);
    EXPECT_EQ(platform::DCount("C:\\F\\*.*"), 2);
    EXPECT_EQ(platform::MutationsSinceReset(), 0);
    EXPECT_EQ(platform::MutationGeneration(), generation);
}

}  // namespace
