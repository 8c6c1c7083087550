// The MultiList's table rules by plain calls on a memory command server.
#include "controls/lists/entrycommand.h"
#include "controls/lists/reporttable.h"
#include "tests/controls/lists/hostileserver.h"
#include "controls/qtwidget/commandserver.h"
#include <gtest/gtest.h>

using namespace vyr;
using namespace vyr::controls::lists;
using Log = std::vector<std::string>;

namespace {

struct Fixture {
    explicit Fixture(int columns = 3)
    {
        (*server)["Name"].entries = {{"Ch1", 0, 1}, {"Ch2", 0, 0}, {"Ch3", 0, 1}};
        (*server)["Name"].index = 1;
        (*server)["Dye"].entries = {{"FITC"}, {"Cy5"}};
        for (const char* name : {"Name", "Dye"}) {
            LONG cookie = 0;
            server->RegisterCommand(com::Bstr(name).get(), nullptr, &cookie);
            cookies.push_back(cookie);
        }
        cookies.resize(size_t(columns), 0); // the third column has no command
        table.setColumns(columns);
        server->log.clear();
    }
    ReportTable::Changes read(bool checks = true) { return table.read(server.get(), cookies, checks); }
    com::ComPtr<vyr::CommandServer> server = com::make<vyr::CommandServer>();
    std::vector<LONG> cookies;
    ReportTable table;
};

} // namespace

TEST(ReportTable, ReadsColumnsThenCurrentRowChecksAndEnabled)
{
    Fixture f;
    const auto ch = f.read();
    EXPECT_EQ(f.server->log,
              (Log{"GetEntryCount Name", "GetEntryText Name 0", "GetEntryText Name 1", "GetEntryText Name 2",
                   "GetEntryCount Dye", "GetEntryText Dye 0", "GetEntryText Dye 1", "GetIndex Name",
                   "GetEntryState Name 0", "GetEntryState Name 1", "GetEntryState Name 2", "GetCommandEnabled Name"}));
    // As many rows as the longest column; shorter columns and those without a command are empty.
    EXPECT_EQ(ch.rows, 3);
    EXPECT_EQ(f.table.cell(1, 1), "Cy5");
    EXPECT_EQ(f.table.cell(2, 1), "");
    EXPECT_EQ(f.table.cell(0, 2), "");
    EXPECT_EQ(ch.cells.size(), 9u); // every cell of a new row
    EXPECT_EQ(f.table.current(), 1);
    EXPECT_TRUE(f.table.checked(0));
    EXPECT_FALSE(f.table.checked(1));
    EXPECT_EQ(ch.checks, (std::vector<int>{0, 2}));
    EXPECT_TRUE(f.table.enabled());
}

TEST(ReportTable, RefreshReportsOnlyWhatChanged)
{
    Fixture f;
    f.read();
    auto same = f.read();
    EXPECT_TRUE(same.cells.empty());
    EXPECT_TRUE(same.checks.empty());
    EXPECT_FALSE(same.currentChanged);
    (*f.server)["Dye"].entries[0].text = "Alexa 488";
    (*f.server)["Name"].entries[1].state = 1;
    auto one = f.read();
    ASSERT_EQ(one.cells.size(), 1u);
    EXPECT_EQ(one.cells[0].row, 0);
    EXPECT_EQ(one.cells[0].column, 1);
    EXPECT_EQ(one.checks, std::vector<int>{1});
    // Rows beyond the new count go.
    (*f.server)["Name"].entries.resize(1);
    (*f.server)["Dye"].entries.resize(1);
    auto fewer = f.read();
    EXPECT_EQ(fewer.oldRows, 3);
    EXPECT_EQ(fewer.rows, 1);
    EXPECT_TRUE(fewer.cells.empty());
    EXPECT_EQ(f.table.current(), -1); // row 1 is gone
    EXPECT_TRUE(fewer.currentChanged);
    // Without check boxes no states are read.
    f.server->log.clear();
    f.read(false);
    EXPECT_TRUE(f.server->calls("GetEntryState").empty());
}

TEST(ReportTable, TextsBeyondAsciiCompareAsTheServerSendsThem)
{
    Fixture f;
    // Two-byte, three-byte and four-byte (surrogate pair) characters.
    (*f.server)["Name"].entries = {{"\u00b5m"}, {"\u2013 edge"}, {"\U0001d706 = 488"}};
    f.read();
    EXPECT_EQ(f.table.cell(2, 0), "\U0001d706 = 488");
    EXPECT_EQ(f.table.text(0, 0), QString::fromUtf8("\u00b5m")) << "what the view shows";
    EXPECT_TRUE(f.read().cells.empty()) << "unchanged texts replace nothing";
    (*f.server)["Name"].entries[1].text = "\u2014 edge"; // one character differs
    const auto ch = f.read();
    ASSERT_EQ(ch.cells.size(), 1u);
    EXPECT_EQ(ch.cells[0].row, 1);
    EXPECT_EQ(f.table.cell(1, 0), "\u2014 edge");
}

TEST(ReportTable, AShorterColumnEmptiesTheCellsBelowItsLastEntry)
{
    Fixture f;
    f.read();
    (*f.server)["Dye"].entries.resize(1); // "Cy5" goes; the first column keeps three rows
    const auto ch = f.read();
    EXPECT_EQ(ch.rows, 3);
    EXPECT_EQ(f.table.cell(1, 1), "");
    ASSERT_EQ(ch.cells.size(), 1u);
    EXPECT_EQ(ch.cells[0].row, 1);
    EXPECT_EQ(ch.cells[0].column, 1);
    EXPECT_TRUE(f.read().cells.empty()) << "an empty cell stays unchanged";
    // Growing again reports the new rows' cells, every column's.
    (*f.server)["Name"].entries.push_back({"Ch4"});
    const auto grown = f.read();
    EXPECT_EQ(grown.rows, 4);
    EXPECT_EQ(grown.cells.size(), 3u);
    EXPECT_EQ(f.table.cell(3, 0), "Ch4");
}

TEST(ReportTable, FailedReadsKeepWhatTheyDidNotReach)
{
    Fixture f;
    f.read();
    f.server->failing = {"GetEntryText"};
    auto ch = f.read();
    EXPECT_EQ(ch.rows, 3);
    EXPECT_EQ(f.table.cell(2, 0), "Ch3");
    EXPECT_EQ(f.table.cell(1, 1), "Cy5");
    f.server->failing = {"GetIndex", "GetCommandEnabled", "GetEntryState"};
    f.read();
    EXPECT_EQ(f.table.current(), -1);
    EXPECT_FALSE(f.table.enabled());
    EXPECT_TRUE(f.table.checked(0)); // marks kept
}

TEST(ReportTable, UserActionsGoToTheFirstColumnsCommand)
{
    Fixture f;
    f.read();
    f.server->log.clear();
    EXPECT_FALSE(f.table.select(f.server.get(), f.cookies[0], 1)); // current already
    EXPECT_FALSE(f.table.select(f.server.get(), f.cookies[0], 7));
    EXPECT_TRUE(f.table.select(f.server.get(), f.cookies[0], 2));
    EXPECT_EQ(f.table.activate(f.server.get(), f.cookies[0]), S_OK);
    f.table.check(f.server.get(), f.cookies[0], 0, false);
    EXPECT_TRUE(f.table.edit(f.server.get(), f.cookies[0], "Channel 1"));
    EXPECT_EQ(f.server->log, (Log{"SelectEntry Name 2", "ActivateEntry Name 2", "SelectEntry Name 0",
                                  "SetState Name 0", "SetText Name Channel 1"}));
    EXPECT_EQ(f.table.cell(0, 0), "Channel 1");
    EXPECT_FALSE(f.table.checked(0));
}

TEST(ReportTable, HostileCountsAreBounded)
{
    auto hostile = com::make<test::HostileServer>();
    ReportTable t;
    t.setColumns(2);
    hostile->count = 0x7FFFFFFF;
    hostile->index = -7;
    const auto ch = t.read(hostile.get(), {1, 2}, true);
    EXPECT_EQ(ch.rows, kMaxEntries);
    EXPECT_EQ(hostile->textReads, 2 * long(kMaxEntries));
    EXPECT_EQ(t.current(), -1);
    EXPECT_TRUE(t.checked(0)); // any non-zero state is a mark
    hostile->count = -1;
    EXPECT_EQ(t.read(hostile.get(), {1, 2}, true).rows, 0);
}
