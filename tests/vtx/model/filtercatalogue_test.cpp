#include "tests/vtx/model/configuration_support.h"
#include "tests/vtx/model/support.h"
#include "vtx/model/filtercatalogue.h"
#include "vtx/model/load.h"
#include "vtx/model/rows.h"
#include "vtx/model/version.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace vyr::vtx {
namespace {

using test::allRows;

// A filter no row of the demo database shares a name, number or summary with.
FilterEntry fresh(const std::string& type = "BP")
{
    FilterEntry e;
    e.name = "New " + type;
    e.code = "NC-" + type;
    e.summary = "New filter " + type;
    e.producer = "Ostwell Optics";
    e.type = type;
    e.spectral = type == "FT" ? "LP" : type;
    if (type == "BP") {
        e.lower = "500";
        e.center = "520";
        e.upper = "540";
    } else if (type != "FT") {
        e.cutOff = "600";
    }
    return e;
}

class FilterCatalogueTest : public test::SystemDatabases {
protected:
    void open(const std::vector<std::string>& fixtures = {"customer-filters.sql"})
    {
        db_ = dao::Database::open(build("System.mdb", fixtures));
        int32_t version = versionNumber(db_.openRecordset("System Versions").value("Version Name"));
        editor_.reset(loadConfiguration(db_, version));
        catalogue_.emplace(db_, &editor_);
        catalogue_->load();
    }
    // Column values of the [Potential Filters] row `name`, Null as "<null>".
    std::vector<std::string> row(const std::string& name)
    {
        dao::Recordset r = db_.openRecordset("Potential Filters");
        for (; !r.eof(); r.moveNext()) {
            if (rows::text(r, "ID Potential") != name)
                continue;
            std::vector<std::string> out;
            for (const char* f : {"Type", "Spectral Type", "Producer", "Halvern Code No", "Lower Wavelength",
                                  "Center Wavelength", "Upper Wavelength", "Customer Added"}) {
                dao::Value v = r.value(f);
                out.push_back(v.isNull() ? "<null>" : v.text());
            }
            return out;
        }
        return {};
    }
    std::vector<std::string> listedNames() const
    {
        std::vector<std::string> out;
        for (const ListedFilter& f : catalogue_->listed())
            out.push_back(f.name);
        return out;
    }

    dao::Database db_;
    ConfigurationEditor editor_;
    std::optional<FilterCatalogue> catalogue_;
    test::FakeBoxes boxes_;
};

bool contains(const std::vector<std::string>& list, const std::string& s)
{
    return std::find(list.begin(), list.end(), s) != list.end();
}

TEST_F(FilterCatalogueTest, ListsOnlyCustomerAddedRowsInTableOrder)
{
    open();
    EXPECT_EQ(catalogue_->listed(), (std::vector<ListedFilter>{{"BP 650-710", "Band pass 650-710 nm"},
                                                               {"LP 715 OW", "Ostwell long pass 715 nm"},
                                                               {"NFT 520 OW", "Ostwell splitter 520 nm"}}));
}

TEST_F(FilterCatalogueTest, ClosingWritesEachTypeWithItsWavelengthsAndVtxType)
{
    struct Case {
        FilterEntry entry;
        std::vector<std::string> written;   // Type … Customer Added as in row()
    };
    FilterEntry lp = fresh("LP");
    FilterEntry kp = fresh("KP");
    kp.cutOff = "500";
    FilterEntry equal = fresh("BP");
    equal.lower = equal.center = equal.upper = "500";
    FilterEntry ft = fresh("FT");
    const std::vector<Case> cases = {
        {lp, {"LP-VTX", "LP", "Ostwell Optics", "NC-LP", "600", "<null>", "1000", "True"}},
        {kp, {"KP-VTX", "KP", "Ostwell Optics", "NC-KP", "200", "<null>", "500", "True"}},
        {equal, {"BP-VTX", "BP", "Ostwell Optics", "NC-BP", "500", "500", "500", "True"}},
        {ft, {"FT", "LP", "Ostwell Optics", "NC-FT", "<null>", "<null>", "<null>", "True"}},
    };
    open();
    for (const Case& c : cases)
        EXPECT_TRUE(catalogue_->apply(c.entry, boxes_)) << c.entry.name << ": " << boxes_.texts().back();
    // Nothing is written before Close.
    for (const Case& c : cases)
        EXPECT_TRUE(row(c.entry.name).empty()) << c.entry.name;
    EXPECT_TRUE(catalogue_->writePending(boxes_));
    EXPECT_TRUE(boxes_.shown.empty());
    EXPECT_FALSE(catalogue_->hasPending());
    for (const Case& c : cases)
        EXPECT_EQ(row(c.entry.name), c.written) << c.entry.name;
    // Splitters join the splitter list, the rest the emission list, at the end.
    EXPECT_EQ(editor_.configuration().splitters.back(), "New FT");
    const auto& emission = editor_.configuration().emissionFilters;
    EXPECT_EQ(std::vector<std::string>(emission.end() - 3, emission.end()),
              (std::vector<std::string>{"New LP", "New KP", "New BP"}));
    EXPECT_FALSE(editor_.changed());
}

TEST_F(FilterCatalogueTest, AddedFilterIsOfferedByTheFilterMenusAtOnce)
{
    open();
    ASSERT_TRUE(catalogue_->apply(fresh("LP"), boxes_));
    ASSERT_TRUE(catalogue_->apply(fresh("FT"), boxes_));
    ASSERT_TRUE(catalogue_->writePending(boxes_));
    EXPECT_TRUE(contains(editor_.filterMenu(db_, "VTX_EF5").selection, "New LP"));
    EXPECT_FALSE(contains(editor_.filterMenu(db_, "VTX_EF5").selection, "New FT"));
    EXPECT_TRUE(contains(editor_.filterMenu(db_, "VTX_NT1").selection, "New FT"));
    editor_.setPlacement("VTX_EF5", 3, "New LP");
    EXPECT_EQ(editor_.configuration().placements.at("VTX_EF5")[2], "New LP");
}

TEST_F(FilterCatalogueTest, ValidationRefusesInItsOrderAndKeepsNothing)
{
    using Change = std::function<void(FilterEntry&)>;
    struct Case {
        std::string type;
        Change change;
        std::string message;
    };
    const std::vector<Case> cases = {
        // Each earlier test wins over every later one that would also fail.
        {"BP", [](FilterEntry& e) { e.name = ""; e.code = ""; e.lower = ""; }, "No Filter Name !"},
        {"BP", [](FilterEntry& e) { e.code = ""; e.summary = ""; }, "No Series Number !"},
        {"BP", [](FilterEntry& e) { e.summary = ""; e.spectral = ""; }, "No Summary !"},
        {"BP", [](FilterEntry& e) { e.name = "BP 500-530"; e.code = "4463-31-0530"; }, "No new Filter Name !"},
        {"BP", [](FilterEntry& e) { e.code = "4463-31-0530"; e.summary = "Long pass 505 nm"; }, "No new Series Number !"},
        {"BP", [](FilterEntry& e) { e.summary = "Ostwell splitter 520 nm"; e.spectral = ""; }, "No new Summary !"},
        {"BP", [](FilterEntry& e) { e.spectral = ""; e.lower = ""; }, "No Spectral Type !"},
        {"LP", [](FilterEntry& e) { e.cutOff = ""; }, "No Cut Off Wavelength !"},
        {"KP", [](FilterEntry& e) { e.cutOff = "0"; }, "No correct value for Cut Off Wavelength !"},
        {"LP", [](FilterEntry& e) { e.cutOff = "-5"; }, "No correct value for Cut Off Wavelength !"},
        {"KP", [](FilterEntry& e) { e.cutOff = "6OO"; }, "Wavelength value:   Type mismatch: '6OO' is not a number"},
        {"BP", [](FilterEntry& e) { e.lower = ""; e.center = ""; }, "No Lower Wavelength !"},
        {"BP", [](FilterEntry& e) { e.lower = "0"; e.center = ""; }, "No correct value for Lower Wavelength !"},
        {"BP", [](FilterEntry& e) { e.lower = "nm"; }, "Wavelength value:   Type mismatch: 'nm' is not a number"},
        {"BP", [](FilterEntry& e) { e.center = ""; e.upper = ""; }, "No Center Wavelength !"},
        {"BP", [](FilterEntry& e) { e.center = "0"; }, "No correct value for Center Wavelength !"},
        {"BP", [](FilterEntry& e) { e.center = "5x"; }, "Wavelength value:   Type mismatch: '5x' is not a number"},
        {"BP", [](FilterEntry& e) { e.upper = ""; }, "No Upper Wavelength !"},
        {"BP", [](FilterEntry& e) { e.upper = "0.5"; }, "No correct value for Upper Wavelength !"},
        {"BP", [](FilterEntry& e) { e.upper = "?"; }, "Wavelength value:   Type mismatch: '?' is not a number"},
        {"BP", [](FilterEntry& e) { e.lower = "530"; e.upper = "520"; }, "Lower Wavelength greater then Center Wavelength !"},
        {"BP", [](FilterEntry& e) { e.upper = "519.5"; }, "Center Wavelength greater then Upper Wavelength !"},
    };
    open();
    test::TableRows before = allRows(db_);
    for (const Case& c : cases) {
        FilterEntry e = fresh(c.type);
        c.change(e);
        boxes_.shown.clear();
        EXPECT_FALSE(catalogue_->apply(e, boxes_)) << c.message;
        ASSERT_EQ(boxes_.shown.size(), 1u) << c.message;
        EXPECT_EQ(boxes_.shown[0].text, c.message);
        EXPECT_EQ(boxes_.shown[0].buttons, Buttons::Ok);
    }
    EXPECT_FALSE(catalogue_->hasPending());
    EXPECT_EQ(catalogue_->listed().size(), 3u);
    EXPECT_TRUE(catalogue_->writePending(boxes_));
    EXPECT_EQ(allRows(db_), before);
}

TEST_F(FilterCatalogueTest, PendingRecordsCountAsTakenUntilClose)
{
    open();
    FilterEntry first = fresh("LP");
    ASSERT_TRUE(catalogue_->apply(first, boxes_));
    const std::vector<std::pair<std::function<void(FilterEntry&)>, std::string>> again = {
        {[](FilterEntry&) {}, "No new Filter Name !"},
        {[](FilterEntry& e) { e.name = "Other"; }, "No new Series Number !"},
        {[](FilterEntry& e) { e.name = "Other"; e.code = "Other"; }, "No new Summary !"},
    };
    for (const auto& [change, message] : again) {
        FilterEntry e = first;
        change(e);
        EXPECT_FALSE(catalogue_->apply(e, boxes_));
        EXPECT_EQ(boxes_.texts().back(), message);
    }
    EXPECT_EQ(catalogue_->pending().size(), 1u);
    EXPECT_EQ(listedNames().back(), "New LP");
}

TEST_F(FilterCatalogueTest, SelectionFillsTheBoxesFromThePendingRecordOrTheRow)
{
    open();
    FilterEntry kp = fresh("KP");
    ASSERT_TRUE(catalogue_->apply(kp, boxes_));
    EXPECT_EQ(catalogue_->entryFor("New KP"), kp);

    FilterEntry lp;
    lp.name = "LP 715 OW";
    lp.code = "OW-LP715";
    lp.summary = "Ostwell long pass 715 nm";
    lp.producer = "Ostwell Optics";
    lp.type = "LP";   // the row's "LP-VTX" as the type box offers it
    lp.spectral = "LP";
    lp.cutOff = "715";
    EXPECT_EQ(catalogue_->entryFor("LP 715 OW"), lp);

    std::optional<FilterEntry> band = catalogue_->entryFor("BP 650-710");
    ASSERT_TRUE(band);
    EXPECT_EQ(band->type, "BP");
    EXPECT_EQ(std::vector<std::string>({band->lower, band->center, band->upper, band->cutOff}),
              (std::vector<std::string>{"650", "680", "710", ""}));
    EXPECT_FALSE(catalogue_->entryFor("Nothing of that name"));
}

TEST_F(FilterCatalogueTest, RemoveRefusesAPlacedFilterAndWritesNothingForAPendingOne)
{
    open();
    test::TableRows before = allRows(db_);
    EXPECT_EQ(catalogue_->remove("LP 715 OW", boxes_), FilterCatalogue::Removal::Refused);
    EXPECT_EQ(boxes_.texts(), std::vector<std::string>{"LP 715 OW is in 'Available FilterPlacement' !"});
    EXPECT_TRUE(contains(listedNames(), "LP 715 OW"));

    ASSERT_TRUE(catalogue_->apply(fresh("BP"), boxes_));
    EXPECT_EQ(catalogue_->remove("New BP", boxes_), FilterCatalogue::Removal::DroppedPending);
    EXPECT_FALSE(catalogue_->hasPending());
    EXPECT_FALSE(contains(listedNames(), "New BP"));
    EXPECT_EQ(allRows(db_), before);

    // A Halvern filter is no customer's to remove.
    EXPECT_EQ(catalogue_->remove("LP 560", boxes_), FilterCatalogue::Removal::NotListed);
    EXPECT_EQ(allRows(db_), before);
}

TEST_F(FilterCatalogueTest, RemoveDeletesAnUnplacedRowAndTakesItOffTheMenus)
{
    open();
    ASSERT_TRUE(contains(editor_.configuration().splitters, "NFT 520 OW"));
    ASSERT_TRUE(contains(editor_.configuration().emissionFilters, "BP 650-710"));
    EXPECT_EQ(catalogue_->remove("NFT 520 OW", boxes_), FilterCatalogue::Removal::Deleted);
    EXPECT_EQ(catalogue_->remove("BP 650-710", boxes_), FilterCatalogue::Removal::Deleted);
    EXPECT_TRUE(boxes_.shown.empty());
    EXPECT_TRUE(row("NFT 520 OW").empty());
    EXPECT_TRUE(row("BP 650-710").empty());
    EXPECT_FALSE(contains(editor_.configuration().splitters, "NFT 520 OW"));
    EXPECT_FALSE(contains(editor_.configuration().emissionFilters, "BP 650-710"));
    EXPECT_EQ(listedNames(), std::vector<std::string>{"LP 715 OW"});
}

TEST_F(FilterCatalogueTest, AFailedCloseWritesNoneAndKeepsAllPending)
{
    open();
    ASSERT_TRUE(catalogue_->apply(fresh("BP"), boxes_));
    ASSERT_TRUE(catalogue_->apply(fresh("LP"), boxes_));
    // Another program takes the second name after Apply: its row cannot be added.
    db_.execute("INSERT INTO [Potential Filters] ([ID Potential]) VALUES ('New LP')");
    test::TableRows before = allRows(db_);
    EXPECT_FALSE(catalogue_->writePending(boxes_));
    ASSERT_EQ(boxes_.shown.size(), 1u);
    EXPECT_TRUE(boxes_.shown[0].text.starts_with("The new filters were not written and are kept: "))
        << boxes_.shown[0].text;
    EXPECT_EQ(allRows(db_), before);
    EXPECT_EQ(catalogue_->pending().size(), 2u);
    EXPECT_FALSE(contains(editor_.configuration().emissionFilters, "New BP"));

    // Once the clash is gone, the next Close writes both.
    db_.execute("DELETE FROM [Potential Filters] WHERE [ID Potential] = 'New LP'");
    EXPECT_TRUE(catalogue_->writePending(boxes_));
    EXPECT_EQ(row("New BP").at(0), "BP-VTX");
    EXPECT_EQ(row("New LP").at(0), "LP-VTX");
}

} // namespace
} // namespace vyr::vtx
