// The list command's rules by plain calls on a memory command server: what is read in which
// order, what a failure leaves, and what the user's actions send.
#include "controls/lists/entrycommand.h"
#include "tests/controls/lists/hostileserver.h"
#include "controls/qtwidget/commandserver.h"
#include <gtest/gtest.h>

using namespace vyr;
using namespace vyr::controls::lists;
using Log = std::vector<std::string>;

namespace {

struct Fixture {
    Fixture()
    {
        auto& c = (*server)["Objective"];
        c.entries = {{"10x"}, {"20x"}, {"63x"}};
        c.index = 1;
        c.text = "20x oil";
        server->RegisterCommand(com::Bstr("Objective").get(), nullptr, &cookie);
        server->log.clear();
    }
    vyr::CommandServer::Command& cmd() { return (*server)["Objective"]; }
    com::ComPtr<vyr::CommandServer> server = com::make<vyr::CommandServer>();
    LONG cookie = 0;
};

} // namespace

TEST(EntryCommand, ListReadsEnabledEntriesAndIndexInOrder)
{
    Fixture f;
    EntryCommand e;
    e.read(f.server.get(), f.cookie);
    EXPECT_EQ(f.server->log, (Log{"GetCommandEnabled Objective", "GetEntryCount Objective", "GetEntryText Objective 0",
                                  "GetEntryText Objective 1", "GetEntryText Objective 2", "GetIndex Objective"}));
    EXPECT_TRUE(e.enabled());
    EXPECT_EQ(e.entries(), (std::vector<std::string>{"10x", "20x", "63x"}));
    EXPECT_EQ(e.current(), 1);
}

TEST(EntryCommand, ComboBoxAlsoReadsVisibleAndText)
{
    Fixture f;
    EntryCommand e({true, true});
    f.cmd().visible = 0x10000; // only the low 16 bits count
    e.read(f.server.get(), f.cookie);
    EXPECT_EQ(f.server->log,
              (Log{"GetCommandEnabled Objective", "GetCommandVisible Objective", "GetEntryCount Objective",
                   "GetEntryText Objective 0", "GetEntryText Objective 1", "GetEntryText Objective 2",
                   "GetIndex Objective", "GetText Objective"}));
    EXPECT_FALSE(e.visible());
    EXPECT_EQ(e.text(), "20x oil");
    // Without a readable text the current entry's text stands in.
    f.server->failing = {"GetText"};
    e.read(f.server.get(), f.cookie);
    EXPECT_EQ(e.text(), "20x");
    f.server->failing = {"GetText", "GetIndex"};
    e.read(f.server.get(), f.cookie);
    EXPECT_EQ(e.current(), -1);
    EXPECT_EQ(e.text(), "");
}

TEST(EntryCommand, FailuresKeepWhatWasRead)
{
    Fixture f;
    EntryCommand e;
    e.read(f.server.get(), f.cookie);
    // A failed enabled read disables, and reading goes on.
    f.server->failing = {"GetCommandEnabled"};
    e.read(f.server.get(), f.cookie);
    EXPECT_FALSE(e.enabled());
    EXPECT_EQ(e.entries().size(), 3u);
    // A failing text read stops the refill where it failed.
    f.server->failing = {"GetEntryText"};
    f.server->log.clear();
    e.read(f.server.get(), f.cookie);
    EXPECT_TRUE(e.entries().empty());
    EXPECT_EQ(e.current(), -1);
    EXPECT_TRUE(f.server->calls("GetIndex").empty());
    // An index outside the entries selects nothing.
    f.server->failing.clear();
    f.cmd().index = 3;
    e.read(f.server.get(), f.cookie);
    EXPECT_EQ(e.current(), -1);
    f.cmd().index = -2;
    e.read(f.server.get(), f.cookie);
    EXPECT_EQ(e.current(), -1);
}

TEST(EntryCommand, EntriesChangeOnlyWhenTheTextsDo)
{
    Fixture f;
    EntryCommand e;
    e.read(f.server.get(), f.cookie);
    const unsigned r = e.revision();
    f.cmd().index = 2;
    e.read(f.server.get(), f.cookie);
    EXPECT_EQ(e.revision(), r);
    f.cmd().entries[2].text = "100x";
    e.read(f.server.get(), f.cookie);
    EXPECT_NE(e.revision(), r);
    e.unbind();
    EXPECT_TRUE(e.entries().empty());
    EXPECT_FALSE(e.enabled());
}

TEST(EntryCommand, SelectSendsOnlyANewValidIndex)
{
    Fixture f;
    EntryCommand e;
    e.read(f.server.get(), f.cookie);
    f.server->log.clear();
    EXPECT_FALSE(e.select(f.server.get(), f.cookie, 1)); // already current
    EXPECT_FALSE(e.select(f.server.get(), f.cookie, 3));
    EXPECT_FALSE(e.select(f.server.get(), f.cookie, -1));
    EXPECT_FALSE(e.select(nullptr, f.cookie, 2));
    EXPECT_TRUE(f.server->log.empty());
    EXPECT_TRUE(e.select(f.server.get(), f.cookie, 2));
    EXPECT_EQ(f.server->log, Log{"SelectEntry Objective 2"});
    EXPECT_EQ(e.current(), 2);
    EXPECT_EQ(e.activate(f.server.get(), f.cookie, 0), S_OK);
    EXPECT_EQ(e.activate(f.server.get(), f.cookie, 5), E_INVALIDARG);
    EXPECT_EQ(e.activate(nullptr, 0, 0), E_FAIL);
    EXPECT_EQ(f.server->calls("ActivateEntry"), Log{"ActivateEntry Objective 0"});
}

TEST(EntryCommand, TypedTextGoesOnceWhenCommitted)
{
    Fixture f;
    EntryCommand e({false, true});
    e.read(f.server.get(), f.cookie);
    f.server->log.clear();
    EXPECT_FALSE(e.commitText(f.server.get(), f.cookie, "unchanged"));
    e.edit();
    EXPECT_TRUE(e.modified());
    EXPECT_TRUE(e.commitText(f.server.get(), f.cookie, "40x"));
    EXPECT_EQ(e.text(), "40x");
    EXPECT_FALSE(e.commitText(f.server.get(), f.cookie, "40x"));
    // An entry shown in the field replaces what was typed.
    e.edit();
    e.takeEntryText(1);
    EXPECT_FALSE(e.modified());
    EXPECT_EQ(e.text(), e.entries()[1]);
    EXPECT_EQ(f.server->log, Log{"SetText Objective 40x"});
}

TEST(EntryCommand, HostileCountsAndTextsAreBounded)
{
    auto hostile = com::make<test::HostileServer>();
    EntryCommand e({true, true});
    hostile->count = -5;
    e.read(hostile.get(), 1);
    EXPECT_TRUE(e.entries().empty());
    hostile->count = 0x7FFFFFFF;
    hostile->index = 0x7FFFFFFF;
    e.read(hostile.get(), 1);
    EXPECT_EQ(e.entries().size(), size_t(kMaxEntries));
    EXPECT_EQ(hostile->textReads, kMaxEntries);
    EXPECT_EQ(e.entries()[0], ""); // a null text reads as empty
    EXPECT_EQ(e.current(), -1);
    EXPECT_EQ(e.text(), "");
}
