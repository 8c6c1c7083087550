#include "platform/registry/registry.h"
#include "platform/registry/regkey.h"
#include "tests/platform/registry/tempstore.h"
#include <string>
#include <vector>

using namespace vyr::registry;
using vyr::registry::test::StoreTest;

namespace {

constexpr const char* kClassKey = "CLSID\\{A19F6964-7884-11D0-BEF3-00400538977D}";

bool keyExists(HKEY root, const char* path)
{
    HKEY h = nullptr;
    const LONG r = RegOpenKeyEx(root, path, 0, KEY_READ, &h);
    RegCloseKey(h);
    return r == ERROR_SUCCESS;
}

std::vector<std::string> subKeys(HKEY root, const char* path)
{
    RegKey k;
    std::vector<std::string> names;
    EXPECT_EQ(k.open(root, path), ERROR_SUCCESS);
    EXPECT_EQ(k.subKeyNames(names), ERROR_SUCCESS);
    return names;
}

// The layout a control class registers, written the way the registration writes it.
void registerClass(HKEY classesRoot)
{
    HKEY k = nullptr;
    ASSERT_EQ(RegCreateKey(classesRoot, kClassKey, &k), ERROR_SUCCESS);
    const char* entries[][2] = {
        {"", "Button Control"},           {"ProgID", "VyrControls.Button.1"},
        {"InprocServer32", "/x/lib.so"},  {"ToolboxBitmap32", "/x/lib.so, 1"},
        {"MiscStatus", "0"},              {"MiscStatus\\1", "135569"},
        {"Control", "0"},                 {"Version", "1.0"},
        {"Insertable", ""},
    };
    for (auto& [sub, value] : entries)
        ASSERT_EQ(RegSetValue(k, sub, REG_SZ, value, 0), ERROR_SUCCESS) << sub;
    HKEY server = nullptr;
    ASSERT_EQ(RegOpenKeyEx(k, "InprocServer32", 0, KEY_SET_VALUE, &server), ERROR_SUCCESS);
    const char model[] = "Apartment";
    ASSERT_EQ(RegSetValueEx(server, "ThreadingModel", 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(model), sizeof model),
              ERROR_SUCCESS);
    RegCloseKey(server);
    RegCloseKey(k);
}

// Recursive delete as the control server's removal does it: open the key, delete subkey 0
// until enumeration fails, then delete the key itself if enumeration ended normally.
LONG recursiveDelete(HKEY parent, const std::string& name)
{
    HKEY k = nullptr;
    LONG r = RegOpenKeyEx(parent, name.c_str(), 0, KEY_READ | KEY_WRITE, &k);
    if (r != ERROR_SUCCESS)
        return r;
    char sub[256];
    while ((r = RegEnumKey(k, 0, sub, sizeof sub)) == ERROR_SUCCESS)
        if ((r = recursiveDelete(k, sub)) != ERROR_SUCCESS)
            break;
    RegCloseKey(k);
    if (r == ERROR_NO_MORE_ITEMS || r == ERROR_BADKEY)
        r = RegDeleteKey(parent, name.c_str());
    return r;
}
bool removed(LONG r) { return r == ERROR_SUCCESS || r == ERROR_FILE_NOT_FOUND || r == ERROR_BADKEY; }

} // namespace

TEST_F(StoreTest, KeyNamesAreCaseInsensitiveAndCasePreserving)
{
    HKEY a = nullptr, b = nullptr;
    DWORD disposition = 0;
    ASSERT_EQ(RegCreateKeyEx(HKEY_LOCAL_MACHINE, "SOFTWARE\\Halvern\\CP\\Database", 0, nullptr,
                             REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &a, &disposition),
              ERROR_SUCCESS);
    EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
    ASSERT_EQ(RegCreateKeyEx(HKEY_LOCAL_MACHINE, "software\\HALVERN\\cp\\database\\", 0, nullptr,
                             REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &b, &disposition),
              ERROR_SUCCESS);
    EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);
    const char path[] = "C:\\System.mdb";
    ASSERT_EQ(RegSetValueEx(a, "Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(path),
                            sizeof path),
              ERROR_SUCCESS);
    char got[32];
    DWORD size = sizeof got;
    EXPECT_EQ(RegQueryValueEx(b, "PATH", nullptr, nullptr, reinterpret_cast<BYTE*>(got), &size),
              ERROR_SUCCESS);
    EXPECT_STREQ(got, path);
    RegCloseKey(a);
    RegCloseKey(b);
    EXPECT_EQ(subKeys(HKEY_LOCAL_MACHINE, "Software"), std::vector<std::string>{"Halvern"});
    EXPECT_EQ(subKeys(HKEY_LOCAL_MACHINE, ""), std::vector<std::string>{"SOFTWARE"});
}

TEST_F(StoreTest, EnumeratesSubkeysInNameOrderUntilNoMoreItems)
{
    for (const char* name : {"Zeta", "alpha", "_under", "Beta", "MiscStatus"}) {
        HKEY k = nullptr;
        ASSERT_EQ(RegCreateKey(HKEY_CLASSES_ROOT, (std::string("Order\\") + name).c_str(), &k),
                  ERROR_SUCCESS);
        RegCloseKey(k);
    }
    EXPECT_EQ(subKeys(HKEY_CLASSES_ROOT, "Order"),
              (std::vector<std::string>{"alpha", "Beta", "MiscStatus", "Zeta", "_under"}));

    HKEY k = nullptr;
    ASSERT_EQ(RegOpenKey(HKEY_CLASSES_ROOT, "Order", &k), ERROR_SUCCESS);
    char name[16];
    DWORD size = 5;  // "alpha" needs 6 with its NUL
    EXPECT_EQ(RegEnumKeyEx(k, 0, name, &size, nullptr, nullptr, nullptr, nullptr),
              ERROR_MORE_DATA);
    EXPECT_EQ(size, 6u);
    FILETIME written{};
    size = sizeof name;
    EXPECT_EQ(RegEnumKeyEx(k, 4, name, &size, nullptr, nullptr, nullptr, &written),
              ERROR_SUCCESS);
    EXPECT_STREQ(name, "_under");
    EXPECT_GT(written.dwHighDateTime, 0x01D00000u);  // a time after 2015
    EXPECT_EQ(RegEnumKey(k, 5, name, sizeof name), ERROR_NO_MORE_ITEMS);
    EXPECT_EQ(RegEnumKey(k, 1000, name, sizeof name), ERROR_NO_MORE_ITEMS);
    DWORD count = 0, longest = 0, values = 7;
    EXPECT_EQ(RegQueryInfoKey(k, nullptr, nullptr, nullptr, &count, &longest, nullptr, &values,
                              nullptr, nullptr, nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(count, 5u);
    EXPECT_EQ(longest, 10u);
    EXPECT_EQ(values, 0u);
    RegCloseKey(k);
}

TEST_F(StoreTest, SetValueCreatesTheSubkeyAndQueryValueReadsItsDefault)
{
    ASSERT_EQ(RegSetValue(HKEY_CLASSES_ROOT, "VyrControls.Button\\CurVer", REG_SZ,
                          "VyrControls.Button.1", 0),
              ERROR_SUCCESS);
    char buf[64];
    LONG size = sizeof buf;
    ASSERT_EQ(RegQueryValue(HKEY_CLASSES_ROOT, "vyrcontrols.button\\curver", buf, &size),
              ERROR_SUCCESS);
    EXPECT_STREQ(buf, "VyrControls.Button.1");
    EXPECT_EQ(size, 21);
    // The stored value carries its NUL, as RegSetValue writes it.
    HKEY k = nullptr;
    ASSERT_EQ(RegOpenKey(HKEY_CLASSES_ROOT, "VyrControls.Button\\CurVer", &k), ERROR_SUCCESS);
    DWORD type = 0, bytes = 0;
    ASSERT_EQ(RegQueryValueEx(k, nullptr, nullptr, &type, nullptr, &bytes), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(bytes, 21u);
    RegCloseKey(k);
    // A key without a default value reads as "", a missing key as not found.
    size = sizeof buf;
    ASSERT_EQ(RegQueryValue(HKEY_CLASSES_ROOT, "VyrControls.Button", buf, &size), ERROR_SUCCESS);
    EXPECT_STREQ(buf, "");
    EXPECT_EQ(size, 1);
    EXPECT_EQ(RegQueryValue(HKEY_CLASSES_ROOT, "Nope", buf, &size), ERROR_FILE_NOT_FOUND);
    size = 3;
    EXPECT_EQ(RegQueryValue(HKEY_CLASSES_ROOT, "VyrControls.Button\\CurVer", buf, &size),
              ERROR_MORE_DATA);
    EXPECT_EQ(size, 21);
}

TEST_F(StoreTest, BadPathsAndHandles)
{
    HKEY k = nullptr;
    EXPECT_EQ(RegCreateKey(HKEY_CURRENT_USER, "\\Software", &k), ERROR_BAD_PATHNAME);
    EXPECT_EQ(RegCreateKey(HKEY_CURRENT_USER, "Software\\\\Halvern", &k), ERROR_BAD_PATHNAME);
    EXPECT_EQ(RegCreateKey(HKEY_CURRENT_USER, std::string(256, 'x').c_str(), &k),
              ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegOpenKey(HKEY_CURRENT_USER, std::string(256, 'x').c_str(), &k),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(k, nullptr);
    EXPECT_EQ(RegOpenKey(HKEY_CURRENT_USER, "Software", nullptr), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, "Software", 0, nullptr, 1, KEY_ALL_ACCESS,
                             nullptr, &k, nullptr),
              ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegOpenKey(reinterpret_cast<HKEY>(uintptr_t{12345}), "x", &k),
              ERROR_INVALID_HANDLE);
    ASSERT_EQ(RegCreateKey(HKEY_CURRENT_USER, "Software", &k), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(k), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(k), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegCloseKey(HKEY_CURRENT_USER), ERROR_SUCCESS);
    // An empty subkey of a predefined key gives that key back.
    ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "", 0, KEY_READ, &k), ERROR_SUCCESS);
    EXPECT_EQ(k, HKEY_CURRENT_USER);
}

TEST_F(StoreTest, AccessRightsOfTheHandleAreEnforced)
{
    HKEY write = nullptr, read = nullptr, sub = nullptr;
    ASSERT_EQ(RegCreateKey(HKEY_CURRENT_USER, "software\\Halvern", &write), ERROR_SUCCESS);
    RegCloseKey(write);
    // Reading the settings root: "Vyr" cannot be created through a read-only handle.
    ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "software", 0, KEY_READ, &read), ERROR_SUCCESS);
    EXPECT_EQ(RegCreateKeyEx(read, "Halvern\\Vyr", 0, nullptr, 0, KEY_READ, nullptr, &sub,
                             nullptr),
              ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegCreateKeyEx(read, "Halvern", 0, nullptr, 0, KEY_READ, nullptr, &sub, nullptr),
              ERROR_SUCCESS);  // an existing key only opens
    const BYTE one = 1;
    EXPECT_EQ(RegSetValueEx(sub, "x", 0, REG_BINARY, &one, 1), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegDeleteValue(sub, "x"), ERROR_ACCESS_DENIED);
    RegCloseKey(sub);
    RegCloseKey(read);

    ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "software", 0,
                           KEY_READ | KEY_SET_VALUE | KEY_CREATE_SUB_KEY, &write),
              ERROR_SUCCESS);
    EXPECT_EQ(RegCreateKeyEx(write, "Halvern\\Vyr", 0, nullptr, 0, KEY_SET_VALUE, nullptr, &sub,
                             nullptr),
              ERROR_SUCCESS);
    DWORD size = 0;
    EXPECT_EQ(RegSetValueEx(sub, "x", 0, REG_BINARY, &one, 1), ERROR_SUCCESS);
    EXPECT_EQ(RegQueryValueEx(sub, "x", nullptr, nullptr, nullptr, &size), ERROR_ACCESS_DENIED);
    char name[8];
    EXPECT_EQ(RegEnumKey(sub, 0, name, sizeof name), ERROR_ACCESS_DENIED);
    RegCloseKey(sub);
    RegCloseKey(write);
}

TEST_F(StoreTest, DeleteKeyRefusesSubkeysHivesAndMissingKeys)
{
    HKEY k = nullptr;
    ASSERT_EQ(RegCreateKey(HKEY_CLASSES_ROOT, "A\\B", &k), ERROR_SUCCESS);
    RegCloseKey(k);
    EXPECT_EQ(RegDeleteKey(HKEY_CLASSES_ROOT, "A"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegDeleteKey(HKEY_CLASSES_ROOT, "A\\Missing"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegDeleteKey(HKEY_CLASSES_ROOT, "Missing\\B"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegDeleteKey(HKEY_CLASSES_ROOT, ""), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegDeleteKey(HKEY_CLASSES_ROOT, "a\\b"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteKey(HKEY_CLASSES_ROOT, "A"), ERROR_SUCCESS);
    EXPECT_FALSE(keyExists(HKEY_CLASSES_ROOT, "A"));
}

TEST_F(StoreTest, HandleOfADeletedKeyFailsWithBadKeyEvenAfterRecreation)
{
    HKEY k = nullptr, again = nullptr, child = nullptr;
    ASSERT_EQ(RegCreateKey(HKEY_CURRENT_USER, "Gone", &k), ERROR_SUCCESS);
    ASSERT_EQ(RegDeleteKey(k, nullptr), ERROR_SUCCESS);  // the handle's own key
    const BYTE one = 1;
    char name[8];
    EXPECT_EQ(RegSetValueEx(k, "x", 0, REG_BINARY, &one, 1), ERROR_BADKEY);
    EXPECT_EQ(RegEnumKey(k, 0, name, sizeof name), ERROR_BADKEY);
    EXPECT_EQ(RegCreateKey(k, "Child", &child), ERROR_BADKEY);
    ASSERT_EQ(RegCreateKey(HKEY_CURRENT_USER, "Gone", &again), ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueEx(k, "x", 0, REG_BINARY, &one, 1), ERROR_BADKEY);
    EXPECT_EQ(RegCloseKey(k), ERROR_SUCCESS);
    RegCloseKey(again);
}

TEST_F(StoreTest, RecursiveDeleteOfAClassRegistrationRemovesEverythingTwice)
{
    registerClass(HKEY_CLASSES_ROOT);
    HKEY other = nullptr;
    ASSERT_EQ(RegCreateKey(HKEY_CLASSES_ROOT, "CLSID\\{OTHER}", &other), ERROR_SUCCESS);
    RegCloseKey(other);
    EXPECT_EQ(subKeys(HKEY_CLASSES_ROOT, kClassKey),
              (std::vector<std::string>{"Control", "InprocServer32", "Insertable", "MiscStatus",
                                        "ProgID", "ToolboxBitmap32", "Version"}));

    EXPECT_EQ(recursiveDelete(HKEY_CLASSES_ROOT, kClassKey), ERROR_SUCCESS);
    EXPECT_FALSE(keyExists(HKEY_CLASSES_ROOT, kClassKey));
    EXPECT_TRUE(keyExists(HKEY_CLASSES_ROOT, "CLSID\\{OTHER}"));
    // Unregistering again: the key counts as removed.
    EXPECT_EQ(recursiveDelete(HKEY_CLASSES_ROOT, kClassKey), ERROR_FILE_NOT_FOUND);
}

TEST_F(StoreTest, RecursiveDeleteOfAKeyDeletedMeanwhileCountsAsRemoved)
{
    registerClass(HKEY_CLASSES_ROOT);
    HKEY k = nullptr;
    ASSERT_EQ(RegOpenKeyEx(HKEY_CLASSES_ROOT, kClassKey, 0, KEY_READ, &k), ERROR_SUCCESS);
    ASSERT_EQ(RegDeleteTree(HKEY_CLASSES_ROOT, kClassKey), ERROR_SUCCESS);  // someone else
    char sub[64];
    LONG r = RegEnumKey(k, 0, sub, sizeof sub);
    EXPECT_EQ(r, ERROR_BADKEY);
    if (r == ERROR_NO_MORE_ITEMS || r == ERROR_BADKEY)
        r = RegDeleteKey(HKEY_CLASSES_ROOT, kClassKey);
    EXPECT_TRUE(removed(r)) << r;
    RegCloseKey(k);
}

TEST_F(StoreTest, DeleteTreeRemovesABranchOrEmptiesAKey)
{
    registerClass(HKEY_CLASSES_ROOT);
    HKEY clsid = nullptr;
    ASSERT_EQ(RegOpenKey(HKEY_CLASSES_ROOT, "CLSID", &clsid), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteTree(clsid, "{a19f6964-7884-11d0-bef3-00400538977d}"), ERROR_SUCCESS);
    EXPECT_EQ(subKeys(HKEY_CLASSES_ROOT, "CLSID"), std::vector<std::string>{});
    EXPECT_EQ(RegDeleteTree(clsid, "{a19f6964-7884-11d0-bef3-00400538977d}"),
              ERROR_FILE_NOT_FOUND);

    registerClass(HKEY_CLASSES_ROOT);
    HKEY cls = nullptr;
    ASSERT_EQ(RegOpenKey(HKEY_CLASSES_ROOT, kClassKey, &cls), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteTree(cls, nullptr), ERROR_SUCCESS);
    DWORD subs = 9, values = 9;
    EXPECT_EQ(RegQueryInfoKey(cls, nullptr, nullptr, nullptr, &subs, nullptr, nullptr, &values,
                              nullptr, nullptr, nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(subs, 0u);
    EXPECT_EQ(values, 0u);
    RegCloseKey(cls);
    RegCloseKey(clsid);
}
