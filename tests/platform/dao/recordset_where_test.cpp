// A Table recordset of the rows one column names: the same rows, in the same order, as a walk
// of the whole table that compares the column's text exactly, and writes through it that the
// rest of the connection reads back, inside a transaction and outside one.
#include "platform/dao/database.h"
#include "platform/dao/error.h"
#include "tests/platform/dao/scratch.h"

namespace vyr::dao {
namespace {

class RecordsetWhereTest : public test::ScratchDir {
protected:
    // [K] has no type of its own, so that a number and its text can both be stored.
    std::string makeKeys()
    {
        return makeDb("keys.db", "CREATE TABLE T (K, V TEXT);"
                                 "INSERT INTO T VALUES ('a', 'first'), ('A', 'upper'), (1, 'number'),"
                                 " ('1', 'text one'), ('a ', 'blank'), (NULL, 'null'), ('a', 'second');");
    }
};

std::vector<std::string> valuesOf(Recordset r)
{
    std::vector<std::string> out;
    for (; !r.eof(); r.moveNext())
        out.push_back(r.value("V").text());
    return out;
}

std::vector<std::string> scanned(Database& db, const std::string& key)
{
    std::vector<std::string> out;
    for (Recordset r = db.openRecordset("T"); !r.eof(); r.moveNext())
        if (r.value("K").isText(key))
            out.push_back(r.value("V").text());
    return out;
}

TEST_F(RecordsetWhereTest, FindsExactlyTheRowsAWalkFindsInTableOrder)
{
    Database db = Database::open(makeKeys());
    const struct {
        std::string key;
        std::vector<std::string> values;
    } cases[] = {
        {"a", {"first", "second"}}, {"A", {"upper"}}, {"1", {"text one"}}, {"a ", {"blank"}}, {"b", {}},
    };
    for (bool inTransaction : {false, true}) {
        if (inTransaction) {
            db.execute("BEGIN");
            db.openRecordset("T");   // the connection now keeps the table's rows
        }
        for (const auto& c : cases) {
            SCOPED_TRACE(c.key + (inTransaction ? " in a transaction" : ""));
            EXPECT_EQ(valuesOf(db.openRecordsetWhere("[T]", "[K]", c.key)), c.values);
            EXPECT_EQ(scanned(db, c.key), c.values);
        }
    }
    db.execute("ROLLBACK");
}

TEST_F(RecordsetWhereTest, WritesThroughItAreReadBackEverywhere)
{
    Database db = Database::open(makeKeys());
    for (bool inTransaction : {false, true}) {
        SCOPED_TRACE(inTransaction ? "in a transaction" : "autocommit");
        if (inTransaction) {
            db.execute("BEGIN");
            EXPECT_EQ(db.openRecordset("T").recordCount(), 7);   // kept from here on
        }
        Recordset r = db.openRecordsetWhere("T", "K", "a");
        r.edit();
        r.setValue("V", Value("edited"));
        r.update();
        EXPECT_EQ(r.value("V").text(), "edited");
        Recordset added = db.openRecordsetWhere("T", "K", "new");
        ASSERT_TRUE(added.eof());
        added.addNew();
        added.setValue("K", Value("new"));
        added.setValue("V", Value("added"));
        added.update();
        EXPECT_EQ(scanned(db, "a"), (std::vector<std::string>{"edited", "second"}));
        EXPECT_EQ(scanned(db, "new"), std::vector<std::string>{"added"});
        EXPECT_EQ(valuesOf(db.openRecordsetWhere("T", "K", "new")), std::vector<std::string>{"added"});
        Recordset gone = db.openRecordsetWhere("T", "K", "new");
        gone.remove();
        EXPECT_TRUE(scanned(db, "new").empty());
        EXPECT_EQ(db.openRecordset("T").recordCount(), 7);
        // Put the edited row back for the second round.
        Recordset back = db.openRecordsetWhere("T", "K", "a");
        back.edit();
        back.setValue("V", Value("first"));
        back.update();
    }
    db.execute("COMMIT");
    EXPECT_EQ(scanned(db, "a"), (std::vector<std::string>{"first", "second"}));
}

TEST_F(RecordsetWhereTest, MissingTableOrColumnIsAnError)
{
    Database db = Database::open(makeKeys());
    try {
        db.openRecordsetWhere("Nothing", "K", "a");
        FAIL() << "no error";
    } catch (const DaoError& e) {
        EXPECT_EQ(e.number(), ErrorNumber::TableNotFound);
    }
    try {
        db.openRecordsetWhere("T", "Missing", "a");
        FAIL() << "no error";
    } catch (const DaoError& e) {
        EXPECT_EQ(e.number(), ErrorNumber::ItemNotFound);
    }
}

} // namespace
} // namespace vyr::dao
