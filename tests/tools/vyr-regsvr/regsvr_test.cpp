#include "platform/registry/regkey.h"
#include "tests/platform/registry/tempstore.h"
#include "tests/tools/runprocess.h"
#include <dlfcn.h>
#include <filesystem>
#include <fstream>

using namespace vyr::registry;
using vyr::tools::test::runProcess;

namespace {

constexpr const char* kClassKey = "CLSID\\{5C867548-3085-4476-B64E-F4F2EC37CE12}";

class RegsvrTest : public vyr::registry::test::StoreTest {
protected:
    static auto regsvr(const std::vector<std::string>& args) { return runProcess(VYR_REGSVR_EXE, args); }

    static bool registered()
    {
        RegKey k;
        return k.open(HKEY_CLASSES_ROOT, kClassKey) == ERROR_SUCCESS;
    }
};

} // namespace

TEST_F(RegsvrTest, RegistersAndUnregistersTwice)
{
    const std::string lib = VYR_TEST_SERVER;
    for (int round = 0; round < 2; ++round) {
        const auto r = regsvr({lib});
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(r.out, "DllRegisterServer in " + lib + " succeeded.\n");
        EXPECT_EQ(r.err, "");
    }
    RegKey k;
    ASSERT_EQ(k.open(HKEY_CLASSES_ROOT, kClassKey), ERROR_SUCCESS);
    std::string text;
    EXPECT_EQ(k.queryString("", text), ERROR_SUCCESS);
    EXPECT_EQ(text, "Test Server");
    RegKey server;
    ASSERT_EQ(server.open(k.get(), "InprocServer32"), ERROR_SUCCESS);
    EXPECT_EQ(server.queryString("", text), ERROR_SUCCESS);
    EXPECT_EQ(text, lib);
    std::vector<std::string> subKeys;
    ASSERT_EQ(k.subKeyNames(subKeys), ERROR_SUCCESS);
    EXPECT_EQ(subKeys, std::vector<std::string>{"InprocServer32"});
    k.close();
    server.close();

    for (int round = 0; round < 2; ++round) {
        const auto r = regsvr({"/u", lib});
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(r.out, "DllUnregisterServer in " + lib + " succeeded.\n");
        EXPECT_FALSE(registered());
    }
}

TEST_F(RegsvrTest, AFailingEntryPointReportsItsResult)
{
    setenv("VYR_TEST_SERVER_FAIL", "80004005", 1);
    const auto r = regsvr({VYR_TEST_SERVER});
    unsetenv("VYR_TEST_SERVER_FAIL");
    EXPECT_EQ(r.exitCode, 5);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("DllRegisterServer failed with error code 0x80004005."),
              std::string::npos)
        << r.err;
    EXPECT_FALSE(registered());
}

TEST_F(RegsvrTest, AnUnusableStoreMakesRegistrationFail)
{
    std::ofstream(store_.path()) << std::string(4096, 'z');
    const auto r = regsvr({VYR_TEST_SERVER});
    EXPECT_EQ(r.exitCode, 5);
    EXPECT_NE(r.err.find("0x80040201"), std::string::npos) << r.err;  // SELFREG_E_CLASS
}

TEST_F(RegsvrTest, LibrariesThatCannotServeAreRefused)
{
    struct Row { std::vector<std::string> args; int exitCode; const char* message; };
    const std::string missing = store_.dir() + "/missing.so";
    const std::string text = store_.dir() + "/text.so";
    std::ofstream(text) << "not a library";
    const Row rows[] = {
        {{missing}, 3, "failed to load"},
        {{"/u", missing}, 3, "failed to load"},
        {{VYR_NOENTRY_LIB}, 4, "entry-point DllRegisterServer was not found"},
        {{"-U", VYR_NOENTRY_LIB}, 4, "entry-point DllUnregisterServer was not found"},
        {{text}, 3, "failed to load"},
        {{}, 1, "Usage"},
        {{VYR_TEST_SERVER, VYR_NOENTRY_LIB}, 1, "Usage"},
    };
    for (const Row& row : rows) {
        const auto r = regsvr(row.args);
        EXPECT_EQ(r.exitCode, row.exitCode) << r.err;
        EXPECT_NE(r.err.find(row.message), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "");
    }
    EXPECT_FALSE(registered());
}

TEST_F(RegsvrTest, SilentRegistrationPrintsNothing)
{
    const auto r = regsvr({"/s", VYR_TEST_SERVER});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "");
    EXPECT_TRUE(registered());
}

// A server unloaded after registering (as vyr-regsvr and containers unload it) closes the
// store it opened: no descriptor of the store, its log or its index stays in the process.
TEST_F(RegsvrTest, AnUnloadedServerLeavesNoStoreOpen)
{
    namespace fs = std::filesystem;
    const auto storeFilesOpen = [&] {
        int open = 0;
        for (const auto& fd : fs::directory_iterator("/proc/self/fd")) {
            std::error_code ec;
            const std::string target = fs::read_symlink(fd.path(), ec).string();
            open += !ec && target.rfind(store_.path(), 0) == 0;
        }
        return open;
    };
    for (int round = 0; round < 3; ++round) {
        void* server = dlopen(VYR_TEST_SERVER, RTLD_NOW | RTLD_LOCAL);
        ASSERT_TRUE(server) << dlerror();
        const auto registerServer = reinterpret_cast<HRESULT (*)()>(dlsym(server, "DllRegisterServer"));
        ASSERT_TRUE(registerServer);
        EXPECT_EQ(registerServer(), S_OK);
        EXPECT_GT(storeFilesOpen(), 0) << "the server keeps its store open while loaded";
        dlclose(server);
        EXPECT_EQ(storeFilesOpen(), 0) << "round " << round;
    }
    EXPECT_TRUE(registered());
}
