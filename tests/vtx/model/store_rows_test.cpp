// What Store writes, row for row, on the demo database and on one grown around it: every
// changed row, the preview, the row changes kept for Undo and a second Store after the first,
// compared with the results recorded in tests/fixtures/vtx/store-golden. Any change in how
// Store finds and writes its rows must leave these exactly as they are. (VYR_WRITE_GOLDEN=1
// records them anew.)
#include "bench/support/grown_database.h"
#include "tests/vtx/model/configuration_support.h"
#include "tests/vtx/model/support.h"
#include "vtx/model/load.h"
#include "vtx/model/store_undo.h"
#include "vtx/model/version.h"

#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <sstream>

namespace vyr::vtx {
namespace {

struct Scenario {
    const char* name;
    std::vector<std::string> fixtures;
    std::string sql;   // run on the grown database before it is loaded
    std::function<void(ConfigurationEditor&)> edit;
    Answer answer = Answer::No;
    std::string wheelPlace = "cancel";
};

const std::vector<Scenario>& scenarios()
{
    static const std::vector<Scenario> all{
        {"demo", {}, "", [](ConfigurationEditor&) {}},
        {"both-nothing-delete", {}, "", [](ConfigurationEditor& e) { e.setNt1(Nt1::Nothing); e.setNt2(Nt2::Nothing); }, Answer::Yes},
        {"mirror-manual-hbo", {}, "",
         [](ConfigurationEditor& e) { e.setNt2(Nt2::Mirror); e.setManualMirror(true); e.setLight(LightSide::Reflected, 2); }},
        {"dialog-place", {"fw1-no-free.sql"}, "",
         [](ConfigurationEditor& e) {
             e.setPlacement("VTX_EF6", 1, "LP 560");
             e.setPlacement("VTX_NT1", 4, "Plate");
             e.setLight(LightSide::Reflected, 1);
         },
         Answer::No, "4"},
        {"two-free", {"fw1-two-free-first-at-1.sql"}, "", [](ConfigurationEditor& e) { e.setCan(3, "None"); e.setLight(LightSide::Transmitted, 0); }},
        {"fs-208-place", {"fw1-without-splitter.sql", "version-2.08.sql"}, "UPDATE [Available Systems] SET [ID Stand] = 'FS'",
         [](ConfigurationEditor& e) { e.setNt1(Nt1::Nothing); }},
        {"rename-lp700", {}, "UPDATE [Potential Filters] SET [ID Potential] = 'VTX LP700' WHERE [ID Potential] = 'VTX LP680';"
                             "UPDATE [Favourite Filters] SET [ID Potential] = 'VTX LP700' WHERE [ID Potential] = 'VTX LP680';"
                             "UPDATE [Available Systems] SET [ID Stand] = 'FS'",
         [](ConfigurationEditor& e) { e.setCan(4, "None"); e.setCan(1, "None"); e.setNt2(Nt2::Nothing); }},
    };
    return all;
}

std::string golden(const std::string& name)
{
    return (std::filesystem::path(VYR_SOURCE_DIR) / "tests" / "fixtures" / "vtx" / "store-golden" / (name + ".txt"))
        .string();
}

class StoreRowsTest : public test::SystemDatabases, public ::testing::WithParamInterface<int> {
protected:
    // The record of one scenario: what the preview listed, the undo file, the rows the Store
    // changed and those a second Store changed, and every table's row count.
    std::string record(const Scenario& s, int scale)
    {
        std::string path = build(std::string(s.name) + ".mdb", s.fixtures);
        bench::growDatabase(path, scale);
        if (!s.sql.empty())
            dao::Database::open(path).execute(s.sql);
        dao::Database db = dao::Database::open(path);
        int32_t version = versionNumber(db.openRecordset("System Versions").value("Version Name"));
        ConfigurationEditor editor(loadConfiguration(db, version));
        s.edit(editor);
        test::FakeBoxes boxes;
        boxes.answers = {s.answer};
        test::FakeWheel wheel(s.wheelPlace);
        test::TableRows before = test::allRows(db);
        StorePlan plan = planStore(db, version, editor.configuration(), boxes, wheel);
        EXPECT_EQ(plan.result, StoreResult::Completed) << plan.message;

        std::ostringstream out;
        out << "# preview\n";
        for (const RowChange& c : previewStore(db, version, editor.configuration(), plan))
            out << describe(c) << "\n";
        EXPECT_EQ(test::allRows(db), before) << "the preview writes nothing";
        std::string backup;
        EXPECT_EQ(storeKeepingUndo(db, version, editor, plan, boxes, &backup), StoreResult::Completed);
        out << "# undo\n";
        std::ifstream undo(undoFile(backup), std::ios::binary);
        out << undo.rdbuf();
        test::TableRows first = test::allRows(db);
        out << "# rows\n";
        for (const std::string& line : test::changedRows(before, first))
            out << line << "\n";
        EXPECT_EQ(storeConfiguration(db, version, editor, boxes, wheel), StoreResult::Completed);
        out << "# second store\n";
        for (const std::string& line : test::changedRows(first, test::allRows(db)))
            out << line << "\n";
        out << "# counts\n";
        for (const auto& [table, rows] : test::allRows(db))
            out << table << ": " << rows.size() << "\n";
        return out.str();
    }
};

TEST_P(StoreRowsTest, StoreWritesExactlyTheRecordedRows)
{
    const int scale = GetParam();
    for (const Scenario& s : scenarios()) {
        SCOPED_TRACE(s.name);
        const std::string name = std::string(s.name) + "-x" + std::to_string(scale);
        const std::string got = record(s, scale);
        if (std::getenv("VYR_WRITE_GOLDEN")) {
            std::ofstream(golden(name), std::ios::binary) << got;
            continue;
        }
        std::ifstream in(golden(name), std::ios::binary);
        ASSERT_TRUE(in) << "no record " << golden(name);
        std::stringstream want;
        want << in.rdbuf();
        EXPECT_EQ(got, want.str()) << name;
    }
}

// The demo database as it comes, and grown ten times around the rows Store edits.
INSTANTIATE_TEST_SUITE_P(Scales, StoreRowsTest, ::testing::Values(1, 10));

} // namespace
} // namespace vyr::vtx
