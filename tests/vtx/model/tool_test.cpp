#include "vtx/model/tool.h"

#include "platform/registry/regkey.h"
#include "tests/vtx/model/support.h"

namespace vyr::vtx::tool {
namespace {

namespace test = vyr::vtx::test;

class ToolTest : public test::SystemDatabasesAndRegistry {
protected:
    void setPath(const std::string& text)
    {
        registry::RegKey key;
        ASSERT_EQ(key.create(HKEY_LOCAL_MACHINE, kDatabaseKey), ERROR_SUCCESS);
        ASSERT_EQ(key.setString(kDatabaseValue, text), ERROR_SUCCESS);
    }
};

TEST_F(ToolTest, DatabasePathComesBackWhole)
{
    EXPECT_EQ(databasePath(), "") << "no key yet";
    std::string longPath = "/srv/instrument";
    while (longPath.size() < 600)
        longPath += "/a rather long folder name";
    longPath += "/System.mdb";
    setPath(longPath);
    EXPECT_EQ(databasePath(), longPath);
    setPath("/data/System.mdb");
    EXPECT_EQ(readString(kDatabaseKey, "Path"), "/data/System.mdb");
    EXPECT_EQ(readString(kDatabaseKey, "Other"), "");
    EXPECT_EQ(readString("SOFTWARE\\Nobody", "Path"), "");
}

TEST_F(ToolTest, NumbersAreWrittenUntypedAndReadBack)
{
    EXPECT_EQ(readNumber("\\VTX\\NewFilters", "Left"), 0) << "missing key";
    EXPECT_FALSE(ensureKey("\\VTX\\NewFilters")) << "created now";
    EXPECT_TRUE(ensureKey("\\VTX\\NewFilters")) << "existed";
    EXPECT_EQ(readNumber("\\VTX\\NewFilters", "Left"), 0) << "missing value";
    writeNumber("\\VTX\\NewFilters", "Left", -500);
    EXPECT_EQ(readNumber("\\VTX\\NewFilters", "Left"), -500);

    registry::RegKey key;
    ASSERT_EQ(key.open(HKEY_CURRENT_USER, "Software\\Halvern\\VTX\\NewFilters"), ERROR_SUCCESS);
    DWORD type = 99;
    std::vector<BYTE> data;
    ASSERT_EQ(key.queryValue("Left", type, data), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_NONE);
    EXPECT_EQ(data, (std::vector<BYTE>{0x0C, 0xFE, 0xFF, 0xFF}));
}

TEST_F(ToolTest, NumbersOfAnyDeclaredTypeAreRead)
{
    registry::RegKey key;
    ASSERT_EQ(key.create(HKEY_CURRENT_USER, "Software\\Halvern\\VTX\\X"), ERROR_SUCCESS);
    key.setDword("Dword", 1234);
    key.setValue("Long", REG_BINARY, {1, 2, 3, 4, 5});
    EXPECT_EQ(readNumber("\\VTX\\X", "Dword"), 1234);
    EXPECT_EQ(readNumber("\\VTX\\X", "Long"), 0) << "more than 4 bytes do not fit";
}

TEST_F(ToolTest, WriteNumberNeedsTheKey)
{
    writeNumber("\\VTX\\Nowhere", "Left", 7);
    EXPECT_EQ(readNumber("\\VTX\\Nowhere", "Left"), 0);
}

TEST(ToolClamp, KeepsTheFormReachable)
{
    struct Row { Position in; Position out; };
    const int32_t w = 19200, h = 14400;
    for (Row r : {Row{{0, 0}, {0, 0}}, Row{{-500, 1}, {0, 1}}, Row{{1, -3}, {1, 0}},
                  Row{{18200, 13400}, {18200, 13400}}, Row{{18201, 99999}, {18200, 13400}},
                  Row{{5000, 4000}, {5000, 4000}}})
        EXPECT_EQ(clampToScreen(r.in, w, h), r.out) << r.in.left << "," << r.in.top;
}

TEST_F(ToolTest, PositionsRoundTripThroughTheRegistry)
{
    EXPECT_EQ(restorePosition("VTXControlForm", 19200, 14400), (Position{0, 0})) << "first run";
    savePosition("VTXControlForm", 1234.5, 600.4);
    EXPECT_EQ(restorePosition("VTXControlForm", 19200, 14400), (Position{1234, 600}));
    savePosition("VTXControlForm", -500, 30000);
    EXPECT_EQ(restorePosition("VTXControlForm", 19200, 14400), (Position{0, 13400}));
    EXPECT_EQ(restorePosition("NewFilters", 19200, 14400), (Position{0, 0})) << "each form has its own key";
}

TEST(ToolCombo, SelectsByExactText)
{
    std::vector<std::string> list{"BP 505-550", "LP 560", "lp 560"};
    EXPECT_EQ(comboIndexFor(list, "LP 560", -1), 1);
    EXPECT_EQ(comboIndexFor(list, "lp 560", -1), 2);
    EXPECT_EQ(comboIndexFor(list, "KP 685", 2), 0) << "no match: the first entry";
    EXPECT_EQ(comboIndexFor({}, "LP 560", -1), -1) << "an empty list stays without selection";
}

} // namespace
} // namespace vyr::vtx::tool
