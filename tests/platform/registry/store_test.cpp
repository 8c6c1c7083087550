#include "platform/registry/registry.h"
#include "platform/registry/regkey.h"
#include "tests/platform/registry/tempstore.h"
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>
#include <fstream>
#include <iterator>
#include <thread>

using namespace vyr::registry;
using vyr::registry::test::StoreTest;
using vyr::registry::test::TempStore;
namespace fs = std::filesystem;

namespace {

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void writeFile(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

LONG createKey(const std::string& path)
{
    HKEY k = nullptr;
    const LONG r = RegCreateKey(HKEY_CURRENT_USER, path.c_str(), &k);
    RegCloseKey(k);
    return r;
}

bool keyExists(const std::string& path)
{
    HKEY k = nullptr;
    const LONG r = RegOpenKeyEx(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &k);
    RegCloseKey(k);
    return r == ERROR_SUCCESS;
}

// Runs `work` in a child process; its exit status says whether every call succeeded.
pid_t spawnChild(const std::function<bool()>& work)
{
    const pid_t pid = fork();
    if (pid == 0)
        _exit(work() ? 0 : 1);
    return pid;
}

int waitChild(pid_t pid)
{
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

TEST_F(StoreTest, ReadingAMissingStoreSeesEmptyHivesAndCreatesNothing)
{
    HKEY k = nullptr;
    char name[16];
    EXPECT_EQ(RegOpenKey(HKEY_CURRENT_USER, "Software", &k), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegEnumKey(HKEY_LOCAL_MACHINE, 0, name, sizeof name), ERROR_NO_MORE_ITEMS);
    EXPECT_EQ(RegDeleteKey(HKEY_CURRENT_USER, "Software"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegDeleteValue(HKEY_CURRENT_USER, "x"), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(fs::exists(store_.path()));

    EXPECT_EQ(createKey("Software"), ERROR_SUCCESS);
    EXPECT_TRUE(fs::exists(store_.path()));
    EXPECT_TRUE(keyExists("SOFTWARE"));
}

TEST(StorePath, DefaultsToTheUsersConfigFolder)
{
    TempStore temp;  // a folder to stand in for the configuration home
    unsetenv("VYR_REGISTRY");
    const char* oldXdg = std::getenv("XDG_CONFIG_HOME");
    const std::string saved = oldXdg ? oldXdg : "";
    setenv("XDG_CONFIG_HOME", temp.dir().c_str(), 1);

    EXPECT_EQ(storePath(), temp.dir() + "/vyr/registry.db");
    EXPECT_EQ(createKey("Software\\Halvern"), ERROR_SUCCESS);
    EXPECT_TRUE(fs::exists(temp.dir() + "/vyr/registry.db"));

    setenv("XDG_CONFIG_HOME", "relative/is/ignored", 1);
    setenv("HOME", temp.dir().c_str(), 1);
    EXPECT_EQ(storePath(), temp.dir() + "/.config/vyr/registry.db");
    if (oldXdg)
        setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
    else
        unsetenv("XDG_CONFIG_HOME");
}

TEST_F(StoreTest, AFileThatIsNotAStoreGivesAnErrorAndStaysUntouched)
{
    const std::string garbage(8192, 'x');
    writeFile(store_.path(), "garbage, not a database" + garbage);
    const std::string before = readFile(store_.path());
    HKEY k = nullptr;
    char name[16];
    DWORD size = 0;
    EXPECT_EQ(createKey("Software"), ERROR_REGISTRY_CORRUPT);
    EXPECT_EQ(RegOpenKey(HKEY_CURRENT_USER, "Software", &k), ERROR_REGISTRY_CORRUPT);
    EXPECT_EQ(RegEnumKey(HKEY_CURRENT_USER, 0, name, sizeof name), ERROR_REGISTRY_CORRUPT);
    EXPECT_EQ(RegQueryValueEx(HKEY_CURRENT_USER, "x", nullptr, nullptr, nullptr, &size),
              ERROR_REGISTRY_CORRUPT);
    EXPECT_EQ(RegSetValue(HKEY_CURRENT_USER, "a", REG_SZ, "b", 1), ERROR_REGISTRY_CORRUPT);
    EXPECT_EQ(readFile(store_.path()), before);
}

TEST_F(StoreTest, AnotherSqliteDatabaseIsNotTakenOver)
{
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(store_.path().c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "CREATE TABLE Filters(Name TEXT)", nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);
    const std::string before = readFile(store_.path());
    EXPECT_EQ(createKey("Software"), ERROR_REGISTRY_CORRUPT);
    EXPECT_EQ(RegOpenKey(HKEY_CURRENT_USER, "Software", nullptr), ERROR_INVALID_PARAMETER);
    HKEY k = nullptr;
    EXPECT_EQ(RegOpenKey(HKEY_CURRENT_USER, "Software", &k), ERROR_REGISTRY_CORRUPT);
    EXPECT_EQ(readFile(store_.path()), before);
}

TEST_F(StoreTest, AnEmptyFileBecomesAStore)
{
    writeFile(store_.path(), "");
    EXPECT_FALSE(keyExists("Software"));
    EXPECT_EQ(createKey("Software"), ERROR_SUCCESS);
    EXPECT_TRUE(keyExists("Software"));
}

TEST_F(StoreTest, AStoreThatCannotBeOpenedGivesIoFailed)
{
    fs::create_directory(store_.path());  // a folder where the file should be
    HKEY k = nullptr;
    EXPECT_EQ(createKey("Software"), ERROR_REGISTRY_IO_FAILED);
    EXPECT_EQ(RegOpenKey(HKEY_CURRENT_USER, "Software", &k), ERROR_REGISTRY_IO_FAILED);
    setenv("VYR_REGISTRY", "/proc/vyr/none/registry.db", 1);
    EXPECT_EQ(createKey("Software"), ERROR_REGISTRY_IO_FAILED);
}

TEST_F(StoreTest, AHandleStaysWithTheStoreItWasOpenedIn)
{
    HKEY first = nullptr;
    ASSERT_EQ(RegCreateKey(HKEY_CURRENT_USER, "First", &first), ERROR_SUCCESS);
    TempStore second;  // VYR_REGISTRY now names another file
    EXPECT_FALSE(keyExists("First"));
    HKEY sub = nullptr;
    ASSERT_EQ(RegCreateKey(first, "Below", &sub), ERROR_SUCCESS);
    RegCloseKey(sub);
    EXPECT_FALSE(keyExists("First\\Below"));
    EXPECT_FALSE(fs::exists(second.path()));
    RegCloseKey(first);
}

TEST_F(StoreTest, AReplacedFileIsReadAfresh)
{
    ASSERT_EQ(createKey("Old"), ERROR_SUCCESS);
    ASSERT_TRUE(keyExists("Old"));
    for (const char* suffix : {"", "-wal", "-shm"})
        fs::remove(store_.path() + suffix);
    ASSERT_EQ(createKey("New"), ERROR_SUCCESS);
    EXPECT_FALSE(keyExists("Old"));
    EXPECT_TRUE(keyExists("New"));
}

TEST_F(StoreTest, ChangesOfAnotherProcessAreSeenThroughOpenHandles)
{
    HKEY k = nullptr;
    ASSERT_EQ(RegCreateKey(HKEY_CURRENT_USER, "Shared", &k), ERROR_SUCCESS);
    char name[16];
    ASSERT_EQ(RegEnumKey(k, 0, name, sizeof name), ERROR_NO_MORE_ITEMS);

    ASSERT_EQ(waitChild(spawnChild([] {
                  return RegSetValue(HKEY_CURRENT_USER, "Shared\\Child", REG_SZ, "hi", 0) ==
                         ERROR_SUCCESS;
              })),
              0);
    ASSERT_EQ(RegEnumKey(k, 0, name, sizeof name), ERROR_SUCCESS);
    EXPECT_STREQ(name, "Child");

    ASSERT_EQ(waitChild(spawnChild([] {
                  return RegDeleteTree(HKEY_CURRENT_USER, "Shared") == ERROR_SUCCESS;
              })),
              0);
    EXPECT_EQ(RegEnumKey(k, 0, name, sizeof name), ERROR_BADKEY);
    RegCloseKey(k);
}

TEST_F(StoreTest, TwoProcessesWritingAtOnceLoseNothing)
{
    constexpr int kKeys = 150;
    ASSERT_EQ(createKey("Race"), ERROR_SUCCESS);  // the parent has a connection before fork
    const auto writer = [](char tag) {
        return [tag] {
            for (int i = 0; i < kKeys; ++i) {
                const std::string name = std::string("Race\\") + tag + std::to_string(i);
                HKEY k = nullptr;
                if (RegCreateKey(HKEY_CURRENT_USER, name.c_str(), &k) != ERROR_SUCCESS)
                    return false;
                const DWORD v = DWORD(i);
                if (RegSetValueEx(k, "Index", 0, REG_NONE, reinterpret_cast<const BYTE*>(&v), 4))
                    return false;
                RegCloseKey(k);
                // Both processes also write values of one key.
                HKEY shared = nullptr;
                if (RegOpenKey(HKEY_CURRENT_USER, "Race", &shared) ||
                    RegSetValueEx(shared, (std::string(1, tag) + std::to_string(i)).c_str(), 0,
                                  REG_DWORD, reinterpret_cast<const BYTE*>(&v), 4))
                    return false;
                RegCloseKey(shared);
            }
            return true;
        };
    };
    const pid_t a = spawnChild(writer('a'));
    const pid_t b = spawnChild(writer('b'));
    EXPECT_EQ(waitChild(a), 0);
    EXPECT_EQ(waitChild(b), 0);

    RegKey race;
    ASSERT_EQ(race.open(HKEY_CURRENT_USER, "Race"), ERROR_SUCCESS);
    std::vector<std::string> keys, values;
    ASSERT_EQ(race.subKeyNames(keys), ERROR_SUCCESS);
    ASSERT_EQ(race.valueNames(values), ERROR_SUCCESS);
    EXPECT_EQ(keys.size(), 2u * kKeys);
    EXPECT_EQ(values.size(), 2u * kKeys);
    for (char tag : {'a', 'b'})
        for (int i = 0; i < kKeys; ++i) {
            RegKey k;
            DWORD v = 0;
            ASSERT_EQ(k.open(race.get(), tag + std::to_string(i)), ERROR_SUCCESS);
            ASSERT_EQ(k.queryDword("Index", v), ERROR_SUCCESS);
            EXPECT_EQ(v, DWORD(i));
        }
}

TEST_F(StoreTest, ThreadsMayCallAtOnce)
{
    const auto work = [](int tag, bool* ok) {
        for (int i = 0; i < 50; ++i)
            *ok &= createKey("T\\" + std::to_string(tag) + "_" + std::to_string(i)) ==
                   ERROR_SUCCESS;
    };
    bool ok1 = true, ok2 = true;
    std::thread t1(work, 1, &ok1), t2(work, 2, &ok2);
    t1.join();
    t2.join();
    EXPECT_TRUE(ok1 && ok2);
    RegKey t;
    std::vector<std::string> names;
    ASSERT_EQ(t.open(HKEY_CURRENT_USER, "T"), ERROR_SUCCESS);
    ASSERT_EQ(t.subKeyNames(names), ERROR_SUCCESS);
    EXPECT_EQ(names.size(), 100u);
}

TEST_F(StoreTest, TamperedRowsGiveCorruptInsteadOfWrongAnswers)
{
    ASSERT_EQ(createKey("A\\B"), ERROR_SUCCESS);
    ASSERT_EQ(RegSetValue(HKEY_CURRENT_USER, "A", REG_SZ, "x", 0), ERROR_SUCCESS);
    const auto tamper = [&](const char* sql) {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(store_.path().c_str(), &db), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sql;
        sqlite3_close(db);
    };
    HKEY a = nullptr;
    ASSERT_EQ(RegOpenKey(HKEY_CURRENT_USER, "A", &a), ERROR_SUCCESS);
    char name[16];
    // A subkey name that could not be opened again would keep a delete-subkey-0 loop going.
    tamper("UPDATE keys SET name = 'x\\y', folded = 'X\\Y' WHERE name = 'B'");
    EXPECT_EQ(RegEnumKey(a, 0, name, sizeof name), ERROR_REGISTRY_CORRUPT);
    tamper("UPDATE keys SET name = 'B', folded = 'Q' WHERE folded = 'X\\Y'");
    EXPECT_EQ(RegEnumKey(a, 0, name, sizeof name), ERROR_REGISTRY_CORRUPT);
    // Data whose length disagrees with what was listed.
    tamper("UPDATE vals SET data = 'é'");
    char text[16];
    LONG size = sizeof text;
    EXPECT_EQ(RegQueryValue(a, nullptr, text, &size), ERROR_REGISTRY_CORRUPT);
    tamper("DROP TABLE vals");
    DWORD bytes = 0;
    EXPECT_EQ(RegQueryValueEx(a, "", nullptr, nullptr, nullptr, &bytes), ERROR_REGISTRY_CORRUPT);
    RegCloseKey(a);
}
