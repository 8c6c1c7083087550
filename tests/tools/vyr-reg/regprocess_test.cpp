// vyr-reg run as a program, as scripts run it.
#include "platform/registry/regkey.h"
#include "tests/platform/registry/tempstore.h"
#include "tests/tools/runprocess.h"

using namespace vyr::registry;
using vyr::tools::test::runProcess;

using RegProcessTest = vyr::registry::test::StoreTest;

TEST_F(RegProcessTest, ExitCodesAndStreams)
{
    const auto added = runProcess(VYR_REG_EXE, {"add", "HKLM\\SOFTWARE\\Halvern\\CP\\Database",
                                                "/v", "Path", "/d", "/srv/System.mdb"});
    EXPECT_EQ(added.exitCode, 0) << added.err;
    const auto exported = runProcess(VYR_REG_EXE, {"export", "HKLM\\SOFTWARE\\Halvern\\CP"});
    EXPECT_EQ(exported.exitCode, 0);
    EXPECT_EQ(exported.out, "Windows Registry Editor Version 5.00\n\n"
                            "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Halvern\\CP]\n\n"
                            "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Halvern\\CP\\Database]\n"
                            "\"Path\"=\"/srv/System.mdb\"\n\n");
    const auto missing = runProcess(VYR_REG_EXE, {"query", "HKLM\\SOFTWARE\\Nobody"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.out, "");
    EXPECT_NE(missing.err.find("unable to find"), std::string::npos);
}

TEST_F(RegProcessTest, ToolRunsAtTheSameTimeLoseNothing)
{
    constexpr int kRuns = 25;
    std::vector<pid_t> children;
    for (char tag : {'a', 'b'}) {
        const pid_t pid = fork();
        if (pid == 0) {
            bool ok = true;
            for (int i = 0; i < kRuns; ++i)
                ok &= runProcess(VYR_REG_EXE, {"add", "HKCU\\Race\\" + std::string(1, tag) +
                                                          std::to_string(i),
                                               "/v", "Index", "/t", "REG_DWORD", "/d",
                                               std::to_string(i)})
                          .exitCode == 0;
            _exit(ok ? 0 : 1);
        }
        children.push_back(pid);
    }
    for (pid_t pid : children) {
        int status = 0;
        waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    RegKey race;
    std::vector<std::string> names;
    ASSERT_EQ(race.open(HKEY_CURRENT_USER, "Race"), ERROR_SUCCESS);
    ASSERT_EQ(race.subKeyNames(names), ERROR_SUCCESS);
    EXPECT_EQ(names.size(), 2u * kRuns);
}
