#include "platform/shell_execute.h"

#include "platform/vb_error.h"
#include "tests/test_machine.h"

#include <gtest/gtest.h>

using namespace platform;

TEST(ShellExecute, TheExplorerOpensItsFolderAndNothingElseRuns) {
    TestMachine m;
    m.MakeDir("drive_c/WINDOWS/VALDRINE/PROFILES/ann/My Games");
    QStringList opened;
    bool canStart = true;
    SetFolderOpenerForTesting([&](const QString& folder) {
        opened << folder;
        return canStart;
    });
    struct Case {
        const char* name;
        QString line;
        int error;  // 0: opens
        QString host;
    } cases[] = {
        {"a folder with blanks", "C:\\WINDOWS\\explorer.exe C:\\WINDOWS\\VALDRINE\\PROFILES\\ann\\My Games", 0,
         m.HostC("WINDOWS\\VALDRINE\\PROFILES\\ann\\My Games")},
        {"another case", "c:\\windows\\EXPLORER.EXE c:\\windows\\valdrine\\profiles\\ANN", 0, m.HostC("WINDOWS\\VALDRINE\\PROFILES\\ann")},
        {"a folder that is not there", "C:\\WINDOWS\\explorer.exe C:\\Nowhere", kPathNotFound, ""},
        {"another program", "C:\\WINDOWS\\notepad.exe C:\\x.txt", kFileNotFound, ""},
        {"explorer's name as a prefix", "C:\\WINDOWS\\explorer.exe2 C:\\", kFileNotFound, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        opened.clear();
        try {
            Shell(c.line, vbNormalFocus);
            EXPECT_EQ(c.error, 0);
            EXPECT_EQ(opened, QStringList{c.host});
        } catch (const VbError& e) {
            EXPECT_EQ(e.Number(), c.error);
            EXPECT_TRUE(opened.isEmpty());
        }
    }
    canStart = false;
    EXPECT_THROW(Shell("C:\\WINDOWS\\explorer.exe C:\\WINDOWS", vbNormalFocus), VbError);
    SetFolderOpenerForTesting(nullptr);
}
