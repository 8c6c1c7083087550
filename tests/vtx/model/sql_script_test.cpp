#include "platform/dao/error.h"
#include "tests/vtx/model/support.h"

#include <set>

namespace vyr::vtx {
namespace {

class SqlScriptTest : public test::SystemDatabases {};

std::set<std::string> column(dao::Database& db, const std::string& table, const std::string& field)
{
    std::set<std::string> out;
    dao::Recordset rs = db.openRecordset(table);
    if (rs.recordCount() > 0)
        for (rs.moveFirst(); !rs.eof(); rs.moveNext())
            out.insert(rs.value(field).text());
    return out;
}

// Every key the tool looks up is there, so the demo describes a whole detector module.
TEST_F(SqlScriptTest, TheDemoHoldsEveryKeyTheToolUses)
{
    dao::Database db = dao::Database::open(build("demo.mdb"));
    const std::map<std::string, std::vector<std::string>> keys = {
        {"Available Point Detectors", {"PmtD", "VTX_Pmt6", "VTX_Pmt7", "VTX_Pmt8"}},
        {"Available DIOs", {"REG530", "REG630", "REG730", "REG830"}},
        {"Available DACs", {"DAC511", "DAC611", "DAC711", "DAC811", "DAC521", "DAC621", "DAC721", "DAC821"}},
        {"Available High Voltage Supplies", {"HVSupply5", "HVSupply6", "HVSupply7", "HVSupply8"}},
        {"Available Integrators", {"IntegratorD", "Integrator6", "Integrator7", "Integrator8"}},
        {"Available Interfaces", {"CANA", "CANB", "CANH", "CANK", "CANL", "CANM"}},
        {"Available Lamps", {"HAL", "HAL Refl", "HBO"}},
        {"Available Shutters", {"Transmission Mirror"}},
        {"Available FilterSets",
         {"VTX_EF5", "VTX_EF6", "VTX_EF7", "VTX_EF8", "VTX_NT1", "VTX_NT2", "FW1", "Transmission Mirror"}},
    };
    for (const auto& [table, wanted] : keys) {
        std::set<std::string> have = column(db, table, "ID Available");
        for (const std::string& k : wanted)
            EXPECT_TRUE(have.count(k)) << table << " lacks " << k;
    }
    // Every holder has places, and every placed filter is in the catalogue.
    std::set<std::string> holders = column(db, "Available FilterPlacement", "ID Available");
    for (const char* h : {"VTX_EF5", "VTX_EF6", "VTX_EF7", "VTX_EF8", "VTX_NT1", "VTX_NT2", "FW1"})
        EXPECT_TRUE(holders.count(h)) << h;
    std::set<std::string> catalogue = column(db, "Potential Filters", "ID Potential");
    for (const std::string& placed : column(db, "Available FilterPlacement", "ID Potential"))
        EXPECT_TRUE(placed == "None" || catalogue.count(placed)) << placed;
    std::set<std::string> types = column(db, "Potential Filters", "Type");
    for (const char* t : {"FT", "BP-VTX", "LP-VTX", "KP-VTX", "FW1"})
        EXPECT_TRUE(types.count(t)) << t;
}

TEST_F(SqlScriptTest, AFailingScriptLeavesNoDatabase)
{
    std::ofstream(file("bad.sql")) << "CREATE TABLE t (x); INSERT INTO nowhere VALUES (1);";
    try {
        createDatabaseFromScripts(file("x.mdb"), {test::dataFile("schema.sql"), file("bad.sql")});
        ADD_FAILURE();
    } catch (const dao::DaoError& e) {
        EXPECT_NE(e.description().find("bad.sql"), std::string::npos) << e.description();
    }
    EXPECT_THROW(createDatabaseFromScripts(file("y.mdb"), {file("missing.sql")}), dao::DaoError);
    for (const auto& entry : std::filesystem::directory_iterator(dir_))
        EXPECT_EQ(entry.path().extension(), ".sql") << entry.path();
}

} // namespace
} // namespace vyr::vtx
