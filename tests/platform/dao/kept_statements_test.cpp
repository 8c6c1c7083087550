// A connection keeps its compiled statements. What a kept statement could get wrong when the
// database changes under it: the columns of a table, a table that is gone, the rows another
// connection wrote, a second recordset reading the same table at the same time, and the file
// staying open after Close.
#include "platform/dao/database.h"
#include "platform/dao/error.h"
#include "tests/platform/dao/scratch.h"

namespace vyr::dao {
namespace {

class KeptStatementsTest : public test::ScratchDir {
protected:
    void SetUp() override
    {
        ScratchDir::SetUp();
        path_ = makeDb("k.mdb", "CREATE TABLE [Lamps] ([ID] TEXT, [Watt] INTEGER);"
                                "INSERT INTO [Lamps] VALUES ('HAL', 100), ('HBO', 50);");
        db_ = Database::open(path_);
    }
    std::vector<std::string> snapshotIds(Database& db)
    {
        std::vector<std::string> ids;
        Recordset rs = db.openRecordset("SELECT * FROM [Lamps] ORDER BY rowid", RecordsetType::Snapshot);
        for (; !rs.eof(); rs.moveNext())
            ids.push_back(rs.value("ID").text());
        return ids;
    }
    std::string path_;
    Database db_;
};

TEST_F(KeptStatementsTest, ATableRebuiltWithOtherColumnsShowsTheNewOnes)
{
    const std::vector<std::string> before = {"ID", "Watt"};
    EXPECT_EQ(db_.openRecordset("Lamps").fieldNames(), before);
    EXPECT_EQ(db_.openRecordset("Lamps", RecordsetType::Snapshot).fieldNames(), before);
    // Once through this connection, once through another one.
    db_.execute("DROP TABLE [Lamps]; CREATE TABLE [Lamps] ([ID] TEXT, [Status] TEXT, [Watt] INTEGER);"
                "INSERT INTO [Lamps] VALUES ('HAL', 'Dummy', 100);");
    const std::vector<std::string> after = {"ID", "Status", "Watt"};
    EXPECT_EQ(db_.openRecordset("Lamps").fieldNames(), after);
    EXPECT_EQ(db_.openRecordset("Lamps", RecordsetType::Snapshot).fieldNames(), after);
    Recordset rs = db_.openRecordset("Lamps");
    rs.moveFirst();
    EXPECT_TRUE(rs.value("Status").isText("Dummy"));
    {
        Database other = Database::open(path_);
        other.execute("ALTER TABLE [Lamps] ADD COLUMN [Spare] TEXT DEFAULT 'no'");
    }
    Recordset again = db_.openRecordset("Lamps");
    EXPECT_EQ(again.fieldNames().size(), 4u);
    again.moveFirst();
    EXPECT_TRUE(again.value("Spare").isText("no"));
    EXPECT_EQ(db_.openRecordset("SELECT * FROM [Lamps]", RecordsetType::Snapshot).fieldNames().size(), 4u);
}

TEST_F(KeptStatementsTest, ATableDroppedByAnotherConnectionIsNotFound)
{
    EXPECT_EQ(snapshotIds(db_).size(), 2u);
    {
        Database other = Database::open(path_);
        other.execute("DROP TABLE [Lamps]");
    }
    try {
        snapshotIds(db_);
        FAIL() << "the table is gone";
    } catch (const DaoError& e) {
        EXPECT_EQ(e.number(), ErrorNumber::TableNotFound) << e.what();
    }
    EXPECT_THROW(db_.openRecordset("Lamps"), DaoError);
}

TEST_F(KeptStatementsTest, RowsWrittenElsewhereAreReadAgain)
{
    EXPECT_EQ(snapshotIds(db_), (std::vector<std::string>{"HAL", "HBO"}));
    Database other = Database::open(path_);
    Recordset w = other.openRecordset("Lamps");
    w.moveFirst();
    w.edit();
    w.setValue("ID", Value("HAL Refl"));
    w.update();
    EXPECT_EQ(snapshotIds(db_), (std::vector<std::string>{"HAL Refl", "HBO"}));
    Recordset r = db_.openRecordset("Lamps");
    r.moveFirst();
    EXPECT_TRUE(r.value("ID").isText("HAL Refl"));
    w.remove();
    EXPECT_EQ(db_.openRecordset("Lamps").recordCount(), 1);
    EXPECT_EQ(snapshotIds(db_), (std::vector<std::string>{"HBO"}));
}

TEST_F(KeptStatementsTest, TwoRecordsetsOfOneTableWalkApart)
{
    Recordset a = db_.openRecordset("Lamps");
    Recordset b = db_.openRecordset("Lamps");
    a.moveFirst();
    b.moveFirst();
    b.moveNext();
    EXPECT_TRUE(a.value("ID").isText("HAL"));
    EXPECT_TRUE(b.value("ID").isText("HBO"));
    a.edit();
    a.setValue("Watt", Value(150.0));
    b.edit();
    b.setValue("Watt", Value(60.0));
    a.update();
    b.update();
    EXPECT_EQ(db_.openRecordset("SELECT Watt FROM Lamps ORDER BY rowid", RecordsetType::Snapshot).recordCount(), 2);
    Recordset check = db_.openRecordset("SELECT Watt FROM Lamps ORDER BY rowid", RecordsetType::Snapshot);
    EXPECT_EQ(check.value("Watt").number(), 150);
    check.moveNext();
    EXPECT_EQ(check.value("Watt").number(), 60);
}

TEST_F(KeptStatementsTest, ManyDifferentStatementsStayCorrect)
{
    // More texts than a connection keeps: older ones are let go and compiled again.
    for (int round = 0; round < 2; ++round)
        for (int i = 0; i < 300; ++i) {
            Recordset rs = db_.openRecordset("SELECT " + std::to_string(i) + " AS n, ID FROM Lamps ORDER BY rowid",
                                             RecordsetType::Snapshot);
            ASSERT_EQ(rs.value("n").number(), i);
            ASSERT_TRUE(rs.value("ID").isText("HAL"));
        }
}

TEST_F(KeptStatementsTest, CloseLetsTheFileGo)
{
    snapshotIds(db_);
    db_.openRecordset("Lamps").moveFirst();
    db_.close();
    // Another connection can take the exclusive lock a kept statement would block.
    Database other = Database::open(path_);
    other.execute("BEGIN EXCLUSIVE; DROP TABLE [Lamps]; COMMIT;");
    EXPECT_TRUE(other.tableDefs().empty());
}

} // namespace
} // namespace vyr::dao
