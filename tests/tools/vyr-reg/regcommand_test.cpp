#include "platform/registry/regkey.h"
#include "tests/platform/registry/tempstore.h"
#include "tools/vyr-reg/regcommand.h"
#include <sqlite3.h>
#include <fstream>
#include <iterator>
#include <sstream>

using namespace vyr::registry;

namespace {

struct Outcome {
    int exitCode;
    std::string out;
    std::string err;
};

class RegCommandTest : public vyr::registry::test::StoreTest {
protected:
    static Outcome reg(const std::vector<std::string>& args, const std::string& input = "")
    {
        std::istringstream in(input);
        std::ostringstream out, err;
        const int code = vyr::tools::runReg(args, in, out, err);
        return {code, out.str(), err.str()};
    }
    static std::string value(const char* key, const char* name)
    {
        RegKey k;
        DWORD type = 0;
        std::vector<BYTE> data;
        if (k.open(HKEY_CURRENT_USER, key) || k.queryValue(name, type, data))
            return "<missing>";
        return std::to_string(type) + ":" + std::string(data.begin(), data.end());
    }
};

constexpr const char* kDone = "The operation completed successfully.\n";
constexpr const char* kNotFound =
    "ERROR: The system was unable to find the specified registry key or value.\n";

} // namespace

TEST_F(RegCommandTest, AddsAndQueriesValuesOfEachType)
{
    const std::string form = "HKCU\\Software\\Halvern\\VTX\\NewFilters";
    EXPECT_EQ(reg({"add", form, "/v", "Top", "/t", "REG_DWORD", "/d", "0x14"}).out, kDone);
    EXPECT_EQ(reg({"ADD", form, "/v", "Left", "/t", "reg_none", "/d", "0CFEFFFF"}).exitCode, 0);
    EXPECT_EQ(reg({"add", form, "/ve", "/d", "filters"}).exitCode, 0);
    EXPECT_EQ(reg({"add", form, "-v", "Blob", "-t", "REG_BINARY", "-d", "00ff"}).exitCode, 0);
    EXPECT_EQ(reg({"add", form, "/v", "Count", "/t", "REG_DWORD", "/d", "4294967295"}).exitCode, 0);

    const Outcome q = reg({"query", "hkey_current_user\\software\\halvern\\vtx\\newfilters"});
    EXPECT_EQ(q.exitCode, 0);
    EXPECT_EQ(q.out,
              "\nHKEY_CURRENT_USER\\software\\halvern\\vtx\\newfilters\n"
              "    Top    REG_DWORD    0x14\n"
              "    Left    REG_NONE    0CFEFFFF\n"
              "    (Default)    REG_SZ    filters\n"
              "    Blob    REG_BINARY    00FF\n"
              "    Count    REG_DWORD    0xffffffff\n\n");
    EXPECT_EQ(reg({"query", form, "/v", "Left"}).out,
              "\nHKEY_CURRENT_USER\\Software\\Halvern\\VTX\\NewFilters\n"
              "    Left    REG_NONE    0CFEFFFF\n\n");
    EXPECT_EQ(reg({"query", "HKCU\\Software\\Halvern\\VTX"}).out,
              "\nHKEY_CURRENT_USER\\Software\\Halvern\\VTX\n\n"
              "HKEY_CURRENT_USER\\Software\\Halvern\\VTX\\NewFilters\n");
    EXPECT_EQ(value("Software\\Halvern\\VTX\\NewFilters", "Left"),
              std::string("0:\x0C\xFE\xFF\xFF", 6));
    EXPECT_EQ(value("Software\\Halvern\\VTX\\NewFilters", ""), std::string("1:filters\0", 10));
}

TEST_F(RegCommandTest, RecursiveQueryListsEveryKeyBelow)
{
    reg({"add", "HKLM\\SOFTWARE\\Halvern\\CP\\Database", "/v", "Path", "/d", "/data/sys.mdb"});
    EXPECT_EQ(reg({"query", "HKLM\\SOFTWARE\\Halvern", "/s"}).out,
              "\nHKEY_LOCAL_MACHINE\\SOFTWARE\\Halvern\n\n"
              "HKEY_LOCAL_MACHINE\\SOFTWARE\\Halvern\\CP\n\n"
              "HKEY_LOCAL_MACHINE\\SOFTWARE\\Halvern\\CP\\Database\n"
              "    Path    REG_SZ    /data/sys.mdb\n\n");
}

TEST_F(RegCommandTest, OverwritingAsksUnlessForced)
{
    const char* key = "HKCU\\Settings";
    ASSERT_EQ(reg({"add", key, "/v", "Name", "/d", "one"}).exitCode, 0);
    const Outcome no = reg({"add", key, "/v", "Name", "/d", "two"}, "n\n");
    EXPECT_EQ(no.exitCode, 1);
    EXPECT_EQ(no.out, "Value Name exists, overwrite (Yes/No)? "
                      "The operation was cancelled by the user.\n");
    EXPECT_EQ(reg({"add", key, "/v", "Name", "/d", "two"}).exitCode, 1);  // no answer at all
    EXPECT_EQ(value("Settings", "Name"), std::string("1:one\0", 6));
    EXPECT_EQ(reg({"add", key, "/v", "Name", "/d", "two"}, "Yes\n").exitCode, 0);
    EXPECT_EQ(value("Settings", "Name"), std::string("1:two\0", 6));
    EXPECT_EQ(reg({"add", key, "/v", "Name", "/d", "three", "/f"}).exitCode, 0);
    EXPECT_EQ(value("Settings", "Name"), std::string("1:three\0", 8));
}

TEST_F(RegCommandTest, BadDataIsRefusedBeforeAnythingIsWritten)
{
    const std::vector<std::vector<std::string>> rows = {
        {"/t", "REG_DWORD", "/d", "abc"},
        {"/t", "REG_DWORD", "/d", "4294967296"},
        {"/t", "REG_DWORD", "/d", "-1"},
        {"/t", "REG_DWORD", "/d", "0x"},
        {"/t", "REG_BINARY", "/d", "abc"},
        {"/t", "REG_NONE", "/d", "zz"},
        {"/t", "REG_MULTI_SZ", "/d", "a"},
    };
    for (const auto& row : rows) {
        std::vector<std::string> args{"add", "HKCU\\New", "/v", "x"};
        args.insert(args.end(), row.begin(), row.end());
        const Outcome r = reg(args);
        EXPECT_EQ(r.exitCode, 1) << row[1] << " " << row[3];
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find("ERROR"), std::string::npos);
    }
    EXPECT_FALSE(std::filesystem::exists(store_.path()));
}

TEST_F(RegCommandTest, DeletesKeysAndValues)
{
    reg({"add", "HKCR\\CLSID\\{X}\\InprocServer32", "/v", "ThreadingModel", "/d", "Apartment"});
    reg({"add", "HKCR\\CLSID\\{X}", "/v", "A", "/d", "1"});
    reg({"add", "HKCR\\CLSID\\{X}", "/v", "B", "/d", "2"});

    EXPECT_EQ(reg({"delete", "HKCR\\CLSID\\{X}", "/v", "A", "/f"}).out, kDone);
    EXPECT_EQ(reg({"delete", "HKCR\\CLSID\\{X}", "/v", "A", "/f"}).err, kNotFound);
    EXPECT_EQ(reg({"delete", "HKCR\\CLSID\\{X}", "/va"}, "y\n").exitCode, 0);
    EXPECT_EQ(reg({"query", "HKCR\\CLSID\\{X}", "/v", "B"}).exitCode, 1);

    const Outcome keep = reg({"delete", "HKCR\\CLSID\\{x}"}, "no\n");
    EXPECT_EQ(keep.exitCode, 1);
    EXPECT_EQ(reg({"query", "HKCR\\CLSID\\{X}\\InprocServer32"}).exitCode, 0);
    const Outcome gone = reg({"delete", "HKCR\\CLSID\\{x}"}, "y\n");
    EXPECT_EQ(gone.exitCode, 0);
    EXPECT_EQ(gone.out, "Permanently delete the registry key HKEY_CLASSES_ROOT\\CLSID\\{x} "
                        "(Yes/No)? The operation completed successfully.\n");
    EXPECT_EQ(reg({"query", "HKCR\\CLSID"}).out, "\nHKEY_CLASSES_ROOT\\CLSID\n\n");
    EXPECT_EQ(reg({"delete", "HKCR\\CLSID\\{X}", "/f"}).err, kNotFound);
    EXPECT_EQ(reg({"delete", "HKCR", "/f"}).exitCode, 1);
    EXPECT_EQ(reg({"query", "HKCR\\CLSID"}).exitCode, 0);
}

TEST_F(RegCommandTest, ExportsToStandardOutputOrFailsWithoutOutput)
{
    reg({"add", "HKCU\\Software\\Halvern\\Vyr\\Property Browser", "/v", "CustomColor 1", "/d",
         "ff8000"});
    const Outcome r = reg({"export", "HKCU\\Software\\Halvern"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out,
              "Windows Registry Editor Version 5.00\n\n"
              "[HKEY_CURRENT_USER\\Software\\Halvern]\n\n"
              "[HKEY_CURRENT_USER\\Software\\Halvern\\Vyr]\n\n"
              "[HKEY_CURRENT_USER\\Software\\Halvern\\Vyr\\Property Browser]\n"
              "\"CustomColor 1\"=\"ff8000\"\n\n");
    const Outcome missing = reg({"export", "HKCU\\Software\\Nobody"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.out, "");
    EXPECT_EQ(missing.err, kNotFound);
}

TEST_F(RegCommandTest, ADamagedStoreIsReportedAndLeftAlone)
{
    const std::string junk(5000, '\x7f');
    std::ofstream(store_.path(), std::ios::binary) << junk;
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"query", "HKCU\\Software"}, {"add", "HKCU\\Software", "/v", "x", "/d", "1"},
             {"export", "HKCU"}, {"delete", "HKCU\\Software", "/f"}}) {
        const Outcome r = reg(args);
        EXPECT_EQ(r.exitCode, 1) << args[0];
        EXPECT_EQ(r.out, "") << args[0];
        EXPECT_EQ(r.err, "ERROR: The registry store " + store_.path() +
                             " is damaged or not a registry store.\n")
            << args[0];
    }
    std::ifstream in(store_.path(), std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), junk);
}

TEST_F(RegCommandTest, RejectsBadCommandLines)
{
    const std::vector<std::vector<std::string>> rows = {
        {},
        {"query"},
        {"frob", "HKCU"},
        {"query", "HKXX\\Software"},
        {"query", "Software"},
        {"query", "\\\\machine\\HKLM\\Software"},
        {"query", "HKCU", "/v"},
        {"query", "HKCU", "/v", "a", "/ve"},
        {"query", "HKCU", "/v", "a", "/v", "b"},
        {"query", "HKCU", "/f"},
        {"add", "HKCU", "/s"},
        {"delete", "HKCU", "/t", "REG_SZ"},
        {"export", "HKCU", "/f"},
        {"export", "HKCU", "extra"},
    };
    for (const auto& args : rows) {
        const Outcome r = reg(args);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.err, "ERROR: Invalid syntax.\nType \"vyr-reg /?\" for usage.\n");
    }
    const Outcome help = reg({"/?"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("vyr-reg export KEY"), std::string::npos);
}

TEST_F(RegCommandTest, ABranchDeeperThanAnyStoreMakesIsRefused)
{
    ASSERT_EQ(reg({"add", "HKCU\\Top"}).exitCode, 0);
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(store_.path().c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db,
                           "WITH RECURSIVE c(i) AS (SELECT 1000 UNION ALL SELECT i + 1 FROM c "
                           "WHERE i < 1600) INSERT INTO keys(id, parent, name, folded) SELECT i, "
                           "CASE WHEN i = 1000 THEN (SELECT id FROM keys WHERE name = 'Top') "
                           "ELSE i - 1 END, 'k', 'K' FROM c",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);
    const Outcome r = reg({"export", "HKCU\\Top"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("damaged"), std::string::npos);
}
