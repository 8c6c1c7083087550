#include "platform/dao/database.h"
#include "platform/dao/error.h"
#include "tests/platform/dao/scratch.h"

#include <sqlite3.h>

namespace vyr::dao {
namespace {

using test::ScratchDir;

class DatabaseTest : public ScratchDir {};

ErrorNumber openError(const std::string& path, std::string* description)
{
    try {
        Database::open(path);
    } catch (const DaoError& e) {
        *description = e.description();
        return e.number();
    }
    return ErrorNumber(0);
}

TEST_F(DatabaseTest, OpenRefusesWhatIsNoUsableDatabase)
{
    std::ofstream(file("notes.mdb")) << "This is a text file, not a database, and long enough to have a header.";
    std::filesystem::create_directory(file("folder.mdb"));
    struct Row { std::string path; ErrorNumber number; std::string mention; };
    for (const Row& r : {Row{file("missing.mdb"), ErrorNumber::FileNotFound, "missing.mdb"},
                         Row{"", ErrorNumber::FileNotFound, "Could not find file ''"},
                         Row{file("notes.mdb"), ErrorNumber::NotADatabase, "notes.mdb' is not a database"},
                         Row{file("folder.mdb"), ErrorNumber::NotADatabase, "folder"}}) {
        std::string description;
        EXPECT_EQ(openError(r.path, &description), r.number) << r.path;
        EXPECT_NE(description.find(r.mention), std::string::npos) << description;
    }
    EXPECT_FALSE(std::filesystem::exists(file("missing.mdb"))) << "open must not create a file";
    EXPECT_EQ(test::readText(file("notes.mdb")).substr(0, 9), "This is a");
}

TEST_F(DatabaseTest, OpenReportsADatabaseLockedByAnotherConnection)
{
    std::string path = makeDb("locked.mdb", "CREATE TABLE t (x); INSERT INTO t VALUES (1);");
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "PRAGMA locking_mode = EXCLUSIVE; BEGIN EXCLUSIVE;", nullptr, nullptr, nullptr), SQLITE_OK);
    std::string description;
    EXPECT_EQ(openError(path, &description), ErrorNumber::FileInUse);
    EXPECT_NE(description.find("locked"), std::string::npos) << description;
    sqlite3_close(other);
    EXPECT_NO_THROW(Database::open(path));
}

TEST_F(DatabaseTest, CreateRefusesAnExistingFile)
{
    std::string path = makeDb("a.mdb", "CREATE TABLE t (x); INSERT INTO t VALUES (7);");
    EXPECT_THROW(Database::create(path), DaoError);
    Database db = Database::open(path);
    EXPECT_EQ(db.openRecordset("t").recordCount(), 1);
}

TEST_F(DatabaseTest, TableDefsNameTheUserTables)
{
    Database db = Database::open(makeDemo());
    std::vector<std::string> names;
    for (const TableDef& t : db.tableDefs())
        names.push_back(t.name);
    EXPECT_EQ(names.size(), 14u);
    EXPECT_NE(std::find(names.begin(), names.end(), "Favourite Filters"), names.end());
    for (const std::string& n : names)
        EXPECT_NE(n.rfind("sqlite_", 0), 0u) << n;
}

// Every statement the tool runs, verbatim, against the demo database.
TEST_F(DatabaseTest, TheToolsStatementsRunAsWritten)
{
    Database db = Database::open(makeDemo());
    struct Row { std::string sql; int rows; };
    const Row rows[] = {
        {"SELECT * FROM [Available FilterPlacement] WHERE [ID Available] = 'FW1' AND [ID Potential] = 'VTX LP680'", 1},
        {"SELECT * FROM [Available FilterPlacement] WHERE [ID Available] = 'FW1' AND [ID Potential] = 'None' AND [Not Include] = False", 2},
        {"SELECT * FROM [Available FilterPlacement] WHERE [ID Available] = 'FW1'AND [Not Include] = False ", 5},
        {"SELECT * FROM [Available FilterPlacement] WHERE [ID Available] = 'VTX_NT1'", 4},
        {"SELECT * FROM [Available FilterPlacement] WHERE [ID Available] = 'VTX_NT2'", 3},
        {"SELECT * FROM [Available FilterPlacement] WHERE [ID Available] = '" + std::string("VTX_EF7") + "'", 3},
        {"SELECT * FROM [Potential Filters] WHERE [ID Potential] = 'VTX LP680'", 1},
        {"SELECT * FROM [Potential Filters] WHERE [ID Potential] = 'VTX LP700'", 0},
        {"SELECT * FROM [Potential Filters] WHERE [ID Potential] = 'HAL Mirror'", 0},
        {"SELECT * FROM [Favourite Filters] WHERE [ID Potential] = 'VTX LP680'", 1},
        {"SELECT * FROM [Potential Filters] WHERE [Type] = 'FT'", 9},
        {"SELECT * FROM [Potential Filters] WHERE [Type] = 'BP-VTX'", 5},
        {"SELECT * FROM [Potential Filters] WHERE [Type] = 'LP-VTX'", 3},
        {"SELECT * FROM [Potential Filters] WHERE [Type] = 'KP-VTX'", 2},
        {"SELECT * FROM [Available Point Detectors] WHERE [ID Available] = 'VTX_Pmt8'", 1},
        {"SELECT * FROM [Available FilterSets] WHERE [ID Available] = 'VTX_NT2'", 1},
        {"SELECT * FROM [Available Dios] WHERE [ID Available] = 'REG730'", 1},
        {"SELECT * FROM [Available Lamps] WHERE [ID Available] = 'HAL Refl'", 1},
        {"SELECT * FROM [Available Shutters] WHERE [ID Available] = 'Transmission Mirror'", 1},
    };
    for (const Row& r : rows) {
        Recordset rs = db.openRecordset(r.sql, RecordsetType::Snapshot);
        EXPECT_EQ(rs.recordCount(), r.rows) << r.sql;
    }
}

// Statement 3 lists the filter wheel in the order its rows were written, not by position.
TEST_F(DatabaseTest, SnapshotsListRowsInTableOrder)
{
    std::filesystem::path data = std::filesystem::path(VYR_SOURCE_DIR) / "vtx" / "data";
    Database db = Database::open(makeDb("order.mdb", test::readText(data / "schema.sql") + R"(
        INSERT INTO [Available FilterPlacement] VALUES ('FW1', 3, 'C', 0), ('FW1', 1, 'A', 0),
            ('VTX_NT1', 1, 'X', 0), ('FW1', 2, 'B', 1), ('FW1', 5, 'E', 0);)"));
    Recordset rs = db.openRecordset(
        "SELECT * FROM [Available FilterPlacement] WHERE [ID Available] = 'FW1'AND [Not Include] = False ",
        RecordsetType::Snapshot);
    std::string seen;
    for (rs.moveFirst(); !rs.eof(); rs.moveNext())
        seen += rs.value("ID Potential").text();
    EXPECT_EQ(seen, "CAE");
}

TEST_F(DatabaseTest, MissingTablesAndColumnsAreNamedInTheError)
{
    Database db = Database::open(makeDb("x.mdb", "CREATE TABLE [Available Lamps] ([ID Available] TEXT, [Status] TEXT);"));
    try {
        db.openRecordset("System Versions");
        ADD_FAILURE();
    } catch (const DaoError& e) {
        EXPECT_EQ(e.number(), ErrorNumber::TableNotFound);
        EXPECT_NE(e.description().find("System Versions"), std::string::npos) << e.description();
    }
    try {
        db.openRecordset("SELECT * FROM [Available Shutters] WHERE [ID Available] = 'x'", RecordsetType::Snapshot);
        ADD_FAILURE();
    } catch (const DaoError& e) {
        EXPECT_EQ(e.number(), ErrorNumber::TableNotFound);
        EXPECT_NE(e.description().find("Available Shutters"), std::string::npos) << e.description();
    }
    try {
        db.openRecordset("SELECT * FROM [Available Lamps] WHERE [Summary] = 'x'", RecordsetType::Snapshot);
        ADD_FAILURE();
    } catch (const DaoError& e) {
        EXPECT_NE(e.description().find("Summary"), std::string::npos) << e.description();
    }
}

TEST_F(DatabaseTest, SnapshotsOnlyRead)
{
    Database db = Database::open(makeDb("ro.mdb", "CREATE TABLE t (x); INSERT INTO t VALUES (1), (2);"));
    EXPECT_THROW(db.openRecordset("DELETE FROM t", RecordsetType::Snapshot), DaoError);
    EXPECT_THROW(db.openRecordset("SELECT * FROM t; DELETE FROM t", RecordsetType::Snapshot), DaoError);
    EXPECT_EQ(db.openRecordset("t").recordCount(), 2);
    Recordset snap = db.openRecordset("t", RecordsetType::Snapshot);
    EXPECT_THROW(snap.edit(), DaoError);
    EXPECT_THROW(snap.addNew(), DaoError);
    EXPECT_THROW(snap.remove(), DaoError);
    EXPECT_THROW(db.openRecordset("t", RecordsetType::Dynaset), DaoError);
}

TEST_F(DatabaseTest, ClosingTheDatabaseInvalidatesItsRecordsets)
{
    Database db = Database::open(makeDb("c.mdb", "CREATE TABLE t (x); INSERT INTO t VALUES (1);"));
    Recordset rs = db.openRecordset("t");
    db.close();
    db.close();
    EXPECT_FALSE(db.isOpen());
    EXPECT_THROW(rs.value("x"), DaoError);
    EXPECT_THROW(db.openRecordset("t"), DaoError);
}

} // namespace
} // namespace vyr::dao
