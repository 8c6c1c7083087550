#include "platform/registry/registry.h"
#include "platform/registry/regkey.h"
#include "tests/platform/registry/tempstore.h"
#include <cstring>
#include <vector>

using namespace vyr::registry;
using vyr::registry::test::StoreTest;

namespace {

std::vector<BYTE> bytes(std::initializer_list<int> v) { return {v.begin(), v.end()}; }
std::vector<BYTE> text(const char* s, bool withNul)
{
    return {reinterpret_cast<const BYTE*>(s),
            reinterpret_cast<const BYTE*>(s) + std::strlen(s) + (withNul ? 1 : 0)};
}

class ValueTest : public StoreTest {
protected:
    void SetUp() override
    {
        ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, "Software\\Halvern\\VTX\\Form", 0, nullptr,
                                 REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key_,
                                 nullptr),
                  ERROR_SUCCESS);
    }
    void TearDown() override { RegCloseKey(key_); }

    LONG set(const char* name, DWORD type, const std::vector<BYTE>& data)
    {
        return RegSetValueEx(key_, name, 0, type, data.data(), DWORD(data.size()));
    }

    HKEY key_ = nullptr;
};

} // namespace

TEST_F(ValueTest, EveryTypeRoundTripsByteForByte)
{
    std::vector<BYTE> big(100000);
    for (size_t i = 0; i < big.size(); ++i)
        big[i] = BYTE(i * 7);
    struct Row { const char* name; DWORD type; std::vector<BYTE> data; };
    const std::vector<Row> rows = {
        {"Path", REG_SZ, text("C:\\Data\\System.mdb", true)},
        {"NoNul", REG_SZ, text("text without its NUL", false)},
        {"EmptySz", REG_SZ, {}},
        {"Expand", REG_EXPAND_SZ, text("%HOME%/x", true)},
        {"Blob", REG_BINARY, bytes({0, 1, 0, 255, 0})},
        {"Count", REG_DWORD, bytes({10, 0, 0, 0})},
        {"Left", REG_NONE, bytes({0x0C, 0xFE, 0xFF, 0xFF})},  // -500 as the tool writes it
        {"Nothing", REG_NONE, {}},
        {"Wide", REG_QWORD, bytes({1, 2, 3, 4, 5, 6, 7, 8})},
        {"Odd", 0x12345, bytes({9})},
        {"Big", REG_BINARY, big},
    };
    for (const Row& r : rows)
        ASSERT_EQ(set(r.name, r.type, r.data), ERROR_SUCCESS) << r.name;
    for (const Row& r : rows) {
        DWORD type = 999, size = 0;
        ASSERT_EQ(RegQueryValueEx(key_, r.name, nullptr, &type, nullptr, &size), ERROR_SUCCESS);
        EXPECT_EQ(type, r.type) << r.name;
        ASSERT_EQ(size, r.data.size()) << r.name;
        std::vector<BYTE> got(size + 3, 0xAA);
        DWORD capacity = DWORD(got.size());
        ASSERT_EQ(RegQueryValueEx(key_, r.name, nullptr, &type, got.data(), &capacity),
                  ERROR_SUCCESS);
        EXPECT_EQ(capacity, r.data.size()) << r.name;
        EXPECT_TRUE(std::equal(r.data.begin(), r.data.end(), got.begin())) << r.name;
        EXPECT_EQ(got[size], 0xAA) << r.name << ": wrote past the value";
    }
}

TEST_F(ValueTest, SmallBufferGivesMoreDataAndTheNeededSize)
{
    ASSERT_EQ(set("Path", REG_SZ, text("0123456789", true)), ERROR_SUCCESS);
    BYTE buf[4] = {7, 7, 7, 7};
    DWORD size = sizeof buf, type = 0;
    EXPECT_EQ(RegQueryValueEx(key_, "Path", nullptr, &type, buf, &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, 11u);
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(RegQueryValueEx(key_, "Path", nullptr, nullptr, buf, nullptr),
              ERROR_INVALID_PARAMETER);
    // Reading a value that is not there, with the tool's 4-byte number buffer.
    DWORD number = 0;
    size = 4;
    EXPECT_EQ(RegQueryValueEx(key_, "Top", nullptr, nullptr, reinterpret_cast<BYTE*>(&number),
                              &size),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(number, 0u);
}

TEST_F(ValueTest, NullAndEmptyNameAreTheDefaultValue)
{
    ASSERT_EQ(set(nullptr, REG_SZ, text("Button Control", true)), ERROR_SUCCESS);
    char buf[32];
    DWORD size = sizeof buf;
    ASSERT_EQ(RegQueryValueEx(key_, "", nullptr, nullptr, reinterpret_cast<BYTE*>(buf), &size),
              ERROR_SUCCESS);
    EXPECT_STREQ(buf, "Button Control");
    LONG textSize = sizeof buf;
    ASSERT_EQ(RegQueryValue(key_, nullptr, buf, &textSize), ERROR_SUCCESS);
    EXPECT_STREQ(buf, "Button Control");
    EXPECT_EQ(RegDeleteValue(key_, ""), ERROR_SUCCESS);
    EXPECT_EQ(RegQueryValueEx(key_, nullptr, nullptr, nullptr, nullptr, &size),
              ERROR_FILE_NOT_FOUND);
}

TEST_F(ValueTest, NamesAreCaseInsensitiveAndKeepTheirFirstSpellingAndPlace)
{
    ASSERT_EQ(set("Left", REG_NONE, bytes({1, 0, 0, 0})), ERROR_SUCCESS);
    ASSERT_EQ(set("Top", REG_NONE, bytes({2, 0, 0, 0})), ERROR_SUCCESS);
    ASSERT_EQ(set("LEFT", REG_DWORD, bytes({3, 0, 0, 0})), ERROR_SUCCESS);

    RegKey k(key_);
    DWORD v = 0;
    EXPECT_EQ(k.queryDword("left", v), ERROR_SUCCESS);
    EXPECT_EQ(v, 3u);
    std::vector<std::string> names;
    ASSERT_EQ(k.valueNames(names), ERROR_SUCCESS);
    EXPECT_EQ(names, (std::vector<std::string>{"Left", "Top"}));
    EXPECT_EQ(k.deleteValue("tOP"), ERROR_SUCCESS);
    EXPECT_EQ(k.deleteValue("Top"), ERROR_FILE_NOT_FOUND);
    key_ = k.release();
}

TEST_F(ValueTest, EnumeratesValuesByIndex)
{
    ASSERT_EQ(set("B", REG_SZ, text("bee", true)), ERROR_SUCCESS);
    ASSERT_EQ(set(nullptr, REG_SZ, text("default", true)), ERROR_SUCCESS);
    ASSERT_EQ(set("A", REG_DWORD, bytes({5, 0, 0, 0})), ERROR_SUCCESS);

    struct Row { const char* name; DWORD type; size_t size; };
    const Row want[] = {{"B", REG_SZ, 4}, {"", REG_SZ, 8}, {"A", REG_DWORD, 4}};
    for (DWORD i = 0; i < 3; ++i) {
        char name[8];
        DWORD nameSize = sizeof name, type = 0, size = 0;
        ASSERT_EQ(RegEnumValue(key_, i, name, &nameSize, nullptr, &type, nullptr, &size),
                  ERROR_SUCCESS);
        EXPECT_STREQ(name, want[i].name);
        EXPECT_EQ(nameSize, std::strlen(want[i].name));
        EXPECT_EQ(type, want[i].type);
        EXPECT_EQ(size, want[i].size);
    }
    char name[8];
    DWORD nameSize = sizeof name;
    EXPECT_EQ(RegEnumValue(key_, 3, name, &nameSize, nullptr, nullptr, nullptr, nullptr),
              ERROR_NO_MORE_ITEMS);
    // Too small a buffer for the name or the data.
    nameSize = 1;
    EXPECT_EQ(RegEnumValue(key_, 0, name, &nameSize, nullptr, nullptr, nullptr, nullptr),
              ERROR_MORE_DATA);
    EXPECT_EQ(nameSize, 2u);
    BYTE data[2];
    DWORD size = sizeof data;
    nameSize = sizeof name;
    EXPECT_EQ(RegEnumValue(key_, 1, name, &nameSize, nullptr, nullptr, data, &size),
              ERROR_MORE_DATA);
    EXPECT_EQ(size, 8u);
}

TEST_F(ValueTest, TypedHelpersRejectOtherTypes)
{
    RegKey k(key_);
    ASSERT_EQ(k.setString("Name", "Halvern"), ERROR_SUCCESS);
    ASSERT_EQ(k.setDword("Number", 0xA0B0C0D0), ERROR_SUCCESS);
    std::string s;
    DWORD d = 0;
    EXPECT_EQ(k.queryString("Name", s), ERROR_SUCCESS);
    EXPECT_EQ(s, "Halvern");
    EXPECT_EQ(k.queryDword("Number", d), ERROR_SUCCESS);
    EXPECT_EQ(d, 0xA0B0C0D0u);
    EXPECT_EQ(k.queryString("Number", s), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(k.queryDword("Name", d), ERROR_INVALID_PARAMETER);
    key_ = k.release();
}

TEST_F(ValueTest, RejectsBadArguments)
{
    EXPECT_EQ(RegSetValueEx(key_, "x", 0, REG_BINARY, nullptr, 4), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegSetValueEx(key_, "x", 0, REG_BINARY, nullptr, 0), ERROR_SUCCESS);
    const std::string longName(16384, 'n');
    const BYTE b = 1;
    EXPECT_EQ(RegSetValueEx(key_, longName.c_str(), 0, REG_BINARY, &b, 1),
              ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegSetValueEx(reinterpret_cast<HKEY>(uintptr_t{0x4242}), "x", 0, REG_BINARY, &b, 1),
              ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegSetValueEx(nullptr, "x", 0, REG_BINARY, &b, 1), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegSetValue(key_, "Sub", REG_DWORD, "1", 1), ERROR_INVALID_PARAMETER);
}
