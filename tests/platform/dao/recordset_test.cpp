#include "platform/dao/database.h"
#include "platform/dao/error.h"
#include "tests/platform/dao/scratch.h"

namespace vyr::dao {
namespace {

class RecordsetTest : public test::ScratchDir {
protected:
    void SetUp() override
    {
        ScratchDir::SetUp();
        path_ = makeDb("r.mdb", R"(
            CREATE TABLE [Available Lamps] ([ID Available] TEXT PRIMARY KEY, [Status] TEXT, [Watt] INTEGER,
                                            [Spare] BOOLEAN NOT NULL DEFAULT 0);
            INSERT INTO [Available Lamps] VALUES ('HAL', '', 100, 0), ('HAL Refl', 'Do not use', NULL, 1),
                                                 ('HBO', NULL, 50, 0);)");
        db_ = Database::open(path_);
    }
    std::vector<std::string> keys()
    {
        Database other = Database::open(path_);   // what another connection sees
        Recordset rs = other.openRecordset("[Available Lamps]");
        std::vector<std::string> out;
        if (rs.recordCount() > 0)
            for (rs.moveFirst(); !rs.eof(); rs.moveNext())
                out.push_back(rs.value("ID Available").text() + "=" +
                              (rs.value("Status").isNull() ? "<null>" : rs.value("Status").text()));
        return out;
    }
    std::string path_;
    Database db_;
};

TEST_F(RecordsetTest, ReadsNullTextNumberAndBoolean)
{
    Recordset rs = db_.openRecordset("Available Lamps");
    EXPECT_EQ(rs.type(), RecordsetType::Table);
    EXPECT_EQ(rs.recordCount(), 3);
    rs.moveFirst();
    EXPECT_TRUE(rs.value("Status").isText(""));
    EXPECT_EQ(rs.value("Watt").number(), 100);
    EXPECT_EQ(rs.value("Spare").kind(), Value::Kind::Boolean);
    rs.moveNext();
    EXPECT_TRUE(rs.value("[status]").isText("Do not use")) << "field names ignore case and brackets";
    EXPECT_TRUE(rs.value("Watt").isNull());
    EXPECT_TRUE(rs.value("Spare").boolean());
    rs.moveNext();
    EXPECT_TRUE(rs.value("Status").isNull());
    rs.moveNext();
    EXPECT_TRUE(rs.eof());
    EXPECT_THROW(rs.value("Status"), DaoError);
    EXPECT_THROW(rs.moveNext(), DaoError);
}

TEST_F(RecordsetTest, UnknownFieldIsNamed)
{
    Recordset rs = db_.openRecordset("Available Lamps");
    rs.moveFirst();
    try {
        rs.value("Control");
        ADD_FAILURE();
    } catch (const DaoError& e) {
        EXPECT_EQ(e.number(), ErrorNumber::ItemNotFound);
        EXPECT_NE(e.description().find("[Control]"), std::string::npos) << e.description();
    }
}

TEST_F(RecordsetTest, UpdateWritesAtOnce)
{
    Recordset rs = db_.openRecordset("Available Lamps");
    rs.moveFirst();
    rs.moveNext();
    rs.edit();
    rs.setValue("Status", "");
    EXPECT_TRUE(rs.value("Status").isText("")) << "the edit buffer is read back";
    EXPECT_EQ(keys()[1], "HAL Refl=Do not use") << "nothing written before Update";
    rs.update();
    EXPECT_EQ(keys()[1], "HAL Refl=");
    EXPECT_TRUE(rs.value("Status").isText(""));
}

TEST_F(RecordsetTest, WritesNeedEditOrAddNew)
{
    Recordset rs = db_.openRecordset("Available Lamps");
    rs.moveFirst();
    EXPECT_THROW(rs.setValue("Status", "x"), DaoError);
    EXPECT_THROW(rs.update(), DaoError);
    rs.edit();
    rs.setValue("Status", "x");
    rs.cancelUpdate();
    EXPECT_THROW(rs.update(), DaoError);
    EXPECT_EQ(keys()[0], "HAL=");
}

TEST_F(RecordsetTest, AddNewKeepsTheCurrentRowAndAppends)
{
    Recordset rs = db_.openRecordset("Available Lamps");
    rs.moveFirst();
    rs.moveNext();
    rs.addNew();
    EXPECT_TRUE(rs.value("Status").isNull());
    rs.setValue("ID Available", "LED");
    rs.setValue("Status", "Do not use");
    rs.setValue("Spare", true);
    rs.update();
    EXPECT_TRUE(rs.value("ID Available").isText("HAL Refl"));
    EXPECT_EQ(rs.recordCount(), 4);
    EXPECT_EQ(keys().back(), "LED=Do not use");
    rs.moveNext();
    rs.moveNext();
    EXPECT_TRUE(rs.value("Spare").boolean());
}

TEST_F(RecordsetTest, DeleteLeavesTheNextRowForMoveNext)
{
    Recordset rs = db_.openRecordset("Available Lamps");
    rs.moveFirst();
    rs.remove();
    EXPECT_THROW(rs.value("Status"), DaoError);
    EXPECT_FALSE(rs.eof());
    rs.moveNext();
    EXPECT_TRUE(rs.value("ID Available").isText("HAL Refl"));
    EXPECT_EQ(rs.recordCount(), 2);
    EXPECT_EQ(keys(), (std::vector<std::string>{"HAL Refl=Do not use", "HBO=<null>"}));
}

TEST_F(RecordsetTest, AConstraintViolationIsReportedAndChangesNothing)
{
    Recordset rs = db_.openRecordset("Available Lamps");
    rs.moveFirst();
    rs.addNew();
    rs.setValue("ID Available", "HBO");   // the key exists
    try {
        rs.update();
        ADD_FAILURE();
    } catch (const DaoError& e) {
        EXPECT_NE(e.description().find("UNIQUE"), std::string::npos) << e.description();
    }
    EXPECT_EQ(keys().size(), 3u);
}

TEST_F(RecordsetTest, EmptyTable)
{
    db_.execute("CREATE TABLE [System Versions] ([Version Name] TEXT)");
    Recordset rs = db_.openRecordset("System Versions");
    EXPECT_TRUE(rs.eof());
    EXPECT_EQ(rs.recordCount(), 0);
    try {
        rs.moveFirst();
        ADD_FAILURE();
    } catch (const DaoError& e) {
        EXPECT_EQ(e.number(), ErrorNumber::NoCurrentRecord);
        EXPECT_EQ(e.description(), "No current record");
    }
    rs.addNew();
    rs.setValue("Version Name", "2.08");
    rs.update();
    EXPECT_TRUE(rs.eof()) << "adding a row does not move off the end";
    rs.moveFirst();
    EXPECT_TRUE(rs.value("Version Name").isText("2.08"));
}

TEST_F(RecordsetTest, TableNamesIgnoreCase)
{
    db_.execute("CREATE TABLE [Available DIOs] ([ID Available] TEXT); INSERT INTO [Available DIOs] VALUES ('REG530');");
    EXPECT_EQ(db_.openRecordset("Available Dios").recordCount(), 1);
    Recordset snap = db_.openRecordset("SELECT * FROM [Available Dios] WHERE [ID Available] = 'REG530'",
                                       RecordsetType::Snapshot);
    EXPECT_EQ(snap.recordCount(), 1);
}

TEST_F(RecordsetTest, ARowDeletedElsewhereIsReported)
{
    Recordset rs = db_.openRecordset("Available Lamps");
    rs.moveFirst();
    rs.moveNext();
    Database::open(path_).execute("DELETE FROM [Available Lamps] WHERE [ID Available] = 'HAL Refl'");
    EXPECT_THROW(rs.value("Status"), DaoError);
}

} // namespace
} // namespace vyr::dao
