#include "tests/vtx/model/support.h"
#include "vtx/model/bands.h"
#include "vtx/model/load.h"
#include "vtx/model/version.h"

#include <gtest/gtest.h>

namespace vyr::vtx {
namespace {

class BandsTest : public test::SystemDatabases {
protected:
    void SetUp() override
    {
        SystemDatabases::SetUp();
        db_ = dao::Database::open(build("System.mdb"));
        config_ = loadConfiguration(db_, versionNumber(db_.openRecordset("System Versions").value("Version Name")));
        catalogue_ = readSpectra(db_);
    }
    dao::Database db_;
    Configuration config_;
    SpectrumCatalogue catalogue_;
};

TEST_F(BandsTest, EachTypeGivesItsBand)
{
    struct Row { const char* filter; double from, to; };
    for (const Row& r : {Row{"BP 505-550", 505, 550}, Row{"LP 560", 560, 1000}, Row{"KP 600", 200, 600}}) {
        auto b = passBand(2, r.filter, catalogue_);
        ASSERT_TRUE(b) << r.filter;
        EXPECT_EQ(b->from, r.from) << r.filter;
        EXPECT_EQ(b->to, r.to) << r.filter;
        EXPECT_EQ(b->channel, 2);
    }
    for (const char* none : {"None", "Plate", "unknown filter"})
        EXPECT_FALSE(passBand(1, none, catalogue_)) << none;
    // A catalogue row with its edges the wrong way round, or a wavelength that is no number.
    catalogue_["Odd"] = {"BP", 600, std::nullopt, 500};
    EXPECT_FALSE(passBand(1, "Odd", catalogue_));
}

TEST_F(BandsTest, TheDemoShowsFourChannelsAndBothSplittersEdges)
{
    DetectionBands b = detectionBands(config_, catalogue_);
    std::vector<std::pair<int, std::string>> bands;
    for (const PassBand& p : b.bands)
        bands.emplace_back(p.channel, p.filter);
    ASSERT_EQ(bands.size(), 4u);
    EXPECT_EQ(bands[0].second, config_.placements.at("VTX_EF5").front());
    std::vector<double> edges;
    for (const SplitterEdge& e : b.edges)
        edges.push_back(e.wavelength);
    EXPECT_EQ(edges, (std::vector<double>{490, 565, 545, 635})) << "NT2's places, then NT1's; plates and mirrors have none";

    // NT1 "Nothing" drops channels 2 and 3 and NT1's edges.
    config_.nt1 = Nt1::Nothing;
    b = detectionBands(config_, catalogue_);
    ASSERT_EQ(b.bands.size(), 2u);
    EXPECT_EQ(b.bands[0].channel, 1);
    EXPECT_EQ(b.bands[1].channel, 4);
    EXPECT_EQ(b.edges.size(), 2u);
}

TEST(LaserLines, ParsedLeniently)
{
    EXPECT_EQ(parseLaserLines("633, 488;405  488 x 1200 -5 561.5 nan"), (std::vector<double>{405, 488, 561.5, 633}));
    EXPECT_TRUE(parseLaserLines("").empty());
    EXPECT_EQ(formatLaserLines({405, 561.5}), "405 561.5");
}

} // namespace
} // namespace vyr::vtx
