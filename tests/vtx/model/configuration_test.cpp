#include "tests/vtx/model/configuration_support.h"
#include "tests/vtx/model/support.h"
#include "vtx/model/changes.h"
#include "vtx/model/config_json.h"
#include "vtx/model/load.h"
#include "vtx/model/store.h"
#include "vtx/model/version.h"

#include <gtest/gtest.h>

namespace vyr::vtx {
namespace {

class ConfigurationTest : public test::SystemDatabases {
protected:
    Configuration load(const std::vector<std::string>& fixtures)
    {
        db_ = dao::Database::open(build("System" + std::to_string(++built_) + ".mdb", fixtures));
        int32_t version = versionNumber(db_.openRecordset("System Versions").value("Version Name"));
        return loadConfiguration(db_, version);
    }
    dao::Database db_;
    int built_ = 0;
};

TEST_F(ConfigurationTest, LoadsTheDemoModule)
{
    Configuration c = load({});
    EXPECT_EQ(c.versionText, "2.10");
    EXPECT_EQ(c.nt1, Nt1::Cube);
    EXPECT_EQ(c.nt2, Nt2::Cube);
    std::vector<std::string> cans, letters;
    for (const Channel& ch : c.channels) {
        cans.push_back(ch.can);
        letters.push_back(ch.letterShown ? ch.letter : "-");
        EXPECT_EQ(ch.fill, Fill::Can);
    }
    EXPECT_EQ(cans, (std::vector<std::string>{"CANK", "CANL", "CANM", "CANB"}));
    EXPECT_EQ(letters, (std::vector<std::string>{"K", "L", "M", "B"}));
    EXPECT_EQ(c.placements.at("VTX_NT1"), (std::vector<std::string>{"NFT 545", "NFT 635", "Plate", "None"}));
    EXPECT_EQ(c.emissionFilters.front(), "BP 500-530") << "band passes first";
    EXPECT_EQ(c.emissionFilters.back(), "KP 685") << "short passes last";
    EXPECT_EQ(c.transmittedLight, 1);
    EXPECT_EQ(c.reflectedLight, 2);
    EXPECT_EQ(c.stand, 1);
    EXPECT_EQ(c.lp680Text, "VTX LP680");
}

TEST_F(ConfigurationTest, AChannelTheDatabaseNamesNoCanForIsMarkedAndRefused)
{
    struct Row {
        const char* name;
        const char* sql;
        std::string can;        // channel 2 as loaded
        const char* problem;    // what Store refuses it with; empty: nothing
    };
    const std::vector<Row> rows = {
        {"missing row", "DELETE FROM [Available DIOs] WHERE [ID Available] = 'REG630'", "",
         "No CAN for VTX 2: REG630 is missing from Available DIOs !"},
        {"empty control", "UPDATE [Available DIOs] SET [Control] = NULL WHERE [ID Available] = 'REG630'", "",
         "No CAN for VTX 2: REG630 in Available DIOs names none !"},
        {"not used", "UPDATE [Available DIOs] SET [Status] = 'Do not use' WHERE [ID Available] = 'REG630'", "None",
         ""},
        {"null status", "UPDATE [Available DIOs] SET [Status] = NULL WHERE [ID Available] = 'REG630'", "CANL", ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        db_ = dao::Database::open(build("System" + std::to_string(++built_) + ".mdb"));
        db_.execute(r.sql);
        Configuration c = loadConfiguration(db_, 21000);
        const Channel& ch = c.channel(2);
        EXPECT_EQ(ch.can, r.can);
        EXPECT_EQ(ch.showsLetter(), r.can == "CANL");
        EXPECT_EQ(ch.fill, r.can == "CANL" ? Fill::Can : Fill::NoCan);
        EXPECT_EQ(canProblem(c, 2), r.problem);
        std::vector<StoreRefusal> refusals = storeRefusals(c);
        if (*r.problem) {
            ASSERT_FALSE(refusals.empty());
            EXPECT_EQ(refusals.front().message, r.problem) << "refused before anything else";
            EXPECT_EQ(refusals.front().channels, std::vector<int>{2});
            std::string json = configurationJson(c);
            EXPECT_NE(json.find("\"can\": [\"CANK\", null, \"CANM\", \"CANB\"]"), std::string::npos) << json;
            EXPECT_NE(json.find(r.problem), std::string::npos) << json;
        }
        // Behind NT1 "Nothing" the channel loses its CAN anyway: nothing to refuse.
        c.nt1 = Nt1::Nothing;
        for (const StoreRefusal& s : storeRefusals(c))
            EXPECT_EQ(s.message.find("No CAN for VTX 2"), std::string::npos) << s.message;
    }
}

TEST_F(ConfigurationTest, EachLoadReadsTheDatabaseAlone)
{
    // Loaded after one another, each database gives what it gives on its own.
    Configuration a = load({});
    Configuration b = load({"missing-dio-2.sql"});
    db_.execute("UPDATE [Available DIOs] SET [Control] = 'CANB' WHERE [ID Available] = 'REG530';"
                "UPDATE [Available DIOs] SET [Control] = 'CANK' WHERE [ID Available] = 'REG830'");
    Configuration swapped = loadConfiguration(db_, 21000);
    EXPECT_EQ(swapped.channel(1).can, "CANB");
    EXPECT_EQ(swapped.channel(1).letter, "B");
    EXPECT_TRUE(swapped.channel(1).showsLetter());
    EXPECT_EQ(swapped.channel(2).can, "") << "nothing carried over from the database before";
    EXPECT_EQ(swapped.channel(4).can, "CANK");
    EXPECT_EQ(a.channel(2).can, "CANL");
    EXPECT_EQ(b.channel(2).can, "");
}

TEST_F(ConfigurationTest, HboMirrorAtNt2Place3ListsAsHalMirror)
{
    Configuration c = load({"hbo-mirror.sql"});
    EXPECT_EQ(c.placements.at("VTX_NT2"), (std::vector<std::string>{"NFT 490", "NFT 565", "HAL Mirror"}));
}

TEST_F(ConfigurationTest, WithoutTheSplitterInTheWheelALaterVersionShowsNoSplitterText)
{
    EXPECT_EQ(load({"fw1-without-splitter.sql"}).lp680Text, "");
    EXPECT_EQ(load({"fw1-without-splitter.sql", "version-2.08.sql"}).lp680Text, "VTX LP680");
}

TEST_F(ConfigurationTest, OnlyRealChangesSetTheChangedFlag)
{
    ConfigurationEditor e(load({}));
    e.setCan(2, "CANL");
    e.setNt1(Nt1::Cube);
    e.setPlacement("VTX_EF5", 1, "BP 505-550");
    e.setLight(LightSide::Reflected, 2);
    EXPECT_FALSE(e.changed());
    e.setCan(2, "CANB");
    EXPECT_TRUE(e.changed());
    EXPECT_EQ(e.configuration().channel(2).letter, "B");

    ConfigurationEditor f(load({}));
    f.setPlacement("VTX_EF5", 3, "LP 650");
    EXPECT_TRUE(f.changed());
    EXPECT_EQ(f.configuration().placements.at("VTX_EF5")[2], "LP 650");
}

TEST_F(ConfigurationTest, MenusTickTheCurrentEntry)
{
    ConfigurationEditor e(load({}));
    std::vector<MenuEntry> can = e.canMenu(3);
    ASSERT_EQ(can.size(), 5u);
    EXPECT_EQ(can[0].caption, "None");
    for (const MenuEntry& m : can)
        EXPECT_EQ(m.checked, m.caption == "CANM") << m.caption;

    std::vector<MenuEntry> refl = e.openLightMenu(LightSide::Reflected);
    EXPECT_TRUE(e.changed()) << "opening a light menu for a new side counts as a change";
    ASSERT_EQ(refl.size(), 3u);
    EXPECT_TRUE(refl[2].checked && refl[2].caption == "HBO");

    FilterMenu nt2 = e.filterMenu(db_, "VTX_NT2");
    EXPECT_EQ(nt2.items[0].value_or(""), "Pos 1:   NFT 490");
    EXPECT_FALSE(nt2.items[3].has_value()) << "NT2 has three places";
    EXPECT_EQ(nt2.selection.front(), "None");
    EXPECT_EQ(nt2.selection.size(), 1 + e.configuration().splitters.size());
    FilterMenu ef = e.filterMenu(db_, "VTX_EF6");
    EXPECT_EQ(ef.items[2].value_or(""), "BP 500-530");
    EXPECT_EQ(ef.selection.size(), 1 + e.configuration().emissionFilters.size());
}

TEST_F(ConfigurationTest, CankOnChannel1WithTheMirrorIsThePlainTransmissionDetector)
{
    ConfigurationEditor e(load({}));
    e.setNt2(Nt2::Mirror);
    e.setCan(1, "CANB");
    e.setCan(1, "CANK");
    const Configuration& c = e.configuration();
    EXPECT_EQ(c.channel(1).fill, Fill::Transmission);
    EXPECT_EQ(unsigned(c.channel(1).fill), 16777215u);
    EXPECT_EQ(c.channelName(1), "Transmission");
    EXPECT_FALSE(c.channelShown(4));
    e.setNt2(Nt2::Cube);
    EXPECT_EQ(e.configuration().channelName(1), "VTX 1");
}

TEST_F(ConfigurationTest, ScriptedChangesAreCheckedBeforeTheyApply)
{
    ConfigurationEditor e(load({}));
    struct Row { const char* change; bool ok; };
    for (const Row& r : std::vector<Row>{{"nt1=Nothing", true}, {"nt2=Mirror", true}, {"can1=CANK", true},
                                         {"VTX_EF5.2=LP 650", true}, {"VTX_NT1.4=Plate", true},
                                         {"VTX_EF5.4=LP 650", false}, {"VTX_EF5.1=NFT 490", false},
                                         {"VTX_EF9.1=None", false}, {"can5=CANK", false}, {"nt1=cube", false},
                                         {"reflectedLight=HAL Refl", true}, {"stand=2", false}, {"nt1", false}})
        EXPECT_EQ(applyChange(e, r.change).empty(), r.ok) << r.change;
    EXPECT_EQ(e.configuration().nt2, Nt2::Mirror);
    EXPECT_EQ(e.configuration().reflectedLight, 1);
    EXPECT_TRUE(e.configuration().transmissionDetector());
}

TEST_F(ConfigurationTest, TheFillSaysWhetherAChannelHasACan)
{
    // An unused channel-1 detector stays light grey even though its I/O names a CAN.
    Configuration c = load({"pmtd-not-used.sql"});
    EXPECT_EQ(c.channel(1).fill, Fill::NoCan);
    EXPECT_EQ(c.channel(1).can, "CANK");

    ConfigurationEditor e(load({}));
    e.setCan(1, "None");
    e.setNt2(Nt2::Nothing);
    e.setNt2(Nt2::Cube);
    EXPECT_EQ(e.configuration().channel(1).fill, Fill::NoCan);
    EXPECT_FALSE(e.configuration().channel(1).showsLetter());
    e.setCan(1, "CANB");
    EXPECT_EQ(e.configuration().channel(1).fill, Fill::Can);
    EXPECT_TRUE(e.configuration().channel(1).showsLetter());

    // A letter left over in the label never shows without a CAN.
    Channel ch{"None", "N2", true, Fill::Can, false};
    EXPECT_FALSE(ch.showsLetter());
}

} // namespace
} // namespace vyr::vtx
