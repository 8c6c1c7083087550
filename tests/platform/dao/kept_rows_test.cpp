// Inside a transaction a connection keeps the rows of the tables it has read. Whatever a
// program does there, it must read what it would read without them: the same walk of
// recordsets, edits, new and deleted rows and SQL run in between, made once inside a
// transaction and once row by row in autocommit mode, reads the same values.
#include "platform/dao/database.h"
#include "platform/dao/error.h"
#include "tests/platform/dao/scratch.h"

#include <random>

namespace vyr::dao {
namespace {

class KeptRowsTest : public test::ScratchDir {};

std::string cell(const Value& v)
{
    switch (v.kind()) {
    case Value::Kind::Null: return "null";
    case Value::Kind::Boolean: return v.boolean() ? "true" : "false";
    case Value::Kind::Number: return "n" + std::to_string(v.number());
    case Value::Kind::Text: return "'" + v.text() + "'";
    }
    return "?";
}

// A seeded walk over the tables of a database: every row read goes into the returned log.
std::vector<std::string> walk(Database& db, unsigned seed)
{
    std::mt19937 rng(seed);
    std::vector<std::string> tables;
    for (const TableDef& t : db.tableDefs())
        tables.push_back(t.name);
    std::vector<std::string> log;
    for (int step = 0; step < 120; ++step) {
        const std::string& table = tables[rng() % tables.size()];
        Recordset rs = db.openRecordset(table);
        const std::vector<std::string> fields = rs.fieldNames();
        log.push_back(table + " rows " + std::to_string(rs.recordCount()));
        int written = 0;
        for (; !rs.eof(); rs.moveNext()) {
            std::string row;
            for (const std::string& f : fields)
                row += cell(rs.value(f)) + "|";
            log.push_back(row);
            const unsigned what = rng() % 40;
            if (written > 2)
                continue;
            if (what == 0) {   // change a text field to a value that marks this step
                for (const std::string& f : fields)
                    if (rs.value(f).kind() == Value::Kind::Text) {
                        rs.edit();
                        rs.setValue(f, Value(rs.value(f).text() + "#" + std::to_string(step)));
                        rs.update();
                        log.push_back("after edit " + cell(rs.value(f)));
                        ++written;
                        break;
                    }
            } else if (what == 1 && rs.recordCount() > 3) {
                rs.remove();
                ++written;
                log.push_back("deleted");
            } else if (what == 2) {   // a copy of the row, its texts marked; a refusal is logged
                std::vector<Value> copy;
                for (const std::string& f : fields)
                    copy.push_back(rs.value(f));
                rs.addNew();
                for (size_t i = 0; i < fields.size(); ++i)
                    if (copy[i].kind() == Value::Kind::Text)
                        rs.setValue(fields[i], Value(copy[i].text() + "+" + std::to_string(step)));
                try {
                    rs.update();
                    log.push_back("added");
                } catch (const DaoError& e) {
                    rs.cancelUpdate();
                    log.push_back(std::string("refused ") + e.what());
                }
                ++written;
            }
        }
        if (rng() % 10 == 0) {   // SQL run beside the recordsets
            db.execute("UPDATE [Available Lamps] SET [Status] = 'Dummy' WHERE rowid = " + std::to_string(rng() % 4 + 1));
            log.push_back("executed");
        }
    }
    return log;
}

TEST_F(KeptRowsTest, AWalkInsideATransactionReadsWhatItReadsOutside)
{
    for (unsigned seed : {1u, 2u, 3u, 4u}) {
        Database inside = Database::open(makeDemo("in" + std::to_string(seed) + ".mdb"));
        Database outside = Database::open(makeDemo("out" + std::to_string(seed) + ".mdb"));
        inside.execute("BEGIN IMMEDIATE");
        const std::vector<std::string> a = walk(inside, seed);
        inside.execute("COMMIT");
        const std::vector<std::string> b = walk(outside, seed);
        ASSERT_EQ(a.size(), b.size()) << "seed " << seed;
        for (size_t i = 0; i < a.size(); ++i)
            ASSERT_EQ(a[i], b[i]) << "seed " << seed << ", line " << i;
        // And what was committed is the same too.
        EXPECT_EQ(walk(inside, seed + 100), walk(outside, seed + 100)) << "seed " << seed;
    }
}

TEST_F(KeptRowsTest, ATriggerChangingOtherRowsIsSeen)
{
    Database db = Database::open(makeDb("t.mdb", "CREATE TABLE [Lamps] ([ID] TEXT, [Watt] INTEGER);"
                                                  "INSERT INTO [Lamps] VALUES ('HAL', 100), ('HBO', 50);"
                                                  "CREATE TRIGGER [Pair] AFTER UPDATE OF [Watt] ON [Lamps] "
                                                  "WHEN NEW.[ID] = 'HAL' BEGIN "
                                                  "UPDATE [Lamps] SET [Watt] = NEW.[Watt] / 2 WHERE [ID] = 'HBO'; END;"));
    db.execute("BEGIN");
    Recordset a = db.openRecordset("Lamps");
    Recordset b = db.openRecordset("Lamps");
    b.moveNext();
    EXPECT_EQ(b.value("Watt").number(), 50);
    a.edit();
    a.setValue("Watt", Value(300.0));
    a.update();
    b.moveFirst();
    b.moveNext();
    EXPECT_EQ(b.value("Watt").number(), 150);
    Recordset c = db.openRecordset("Lamps");
    c.moveNext();
    EXPECT_EQ(c.value("Watt").number(), 150);
    db.execute("COMMIT");
}

TEST_F(KeptRowsTest, RowsAreReadAgainOnceTheTransactionEnds)
{
    const std::string path = makeDb("r.mdb", "CREATE TABLE [Lamps] ([ID] TEXT, [Watt] INTEGER);"
                                             "INSERT INTO [Lamps] VALUES ('HAL', 100), ('HBO', 50);");
    Database db = Database::open(path);
    db.execute("BEGIN");
    Recordset rs = db.openRecordset("Lamps");
    EXPECT_EQ(rs.value("Watt").number(), 100);
    db.execute("COMMIT");
    {
        Database other = Database::open(path);
        other.execute("UPDATE [Lamps] SET [Watt] = 120 WHERE [ID] = 'HAL'; DELETE FROM [Lamps] WHERE [ID] = 'HBO'");
    }
    db.execute("BEGIN");
    rs.moveFirst();
    EXPECT_EQ(rs.value("Watt").number(), 120);
    rs.moveNext();
    try {
        rs.value("Watt");
        FAIL() << "the row was deleted by another connection";
    } catch (const DaoError& e) {
        EXPECT_EQ(e.number(), ErrorNumber::RecordDeleted);
    }
    EXPECT_EQ(db.openRecordset("Lamps").recordCount(), 1);
    db.execute("ROLLBACK");
}

TEST_F(KeptRowsTest, ATableRemadeInTheTransactionShowsItsNewColumns)
{
    Database db = Database::open(makeDb("c.mdb", "CREATE TABLE [Lamps] ([ID] TEXT);"
                                                  "INSERT INTO [Lamps] VALUES ('HAL');"));
    db.execute("BEGIN");
    EXPECT_EQ(db.openRecordset("lamps").fieldNames().size(), 1u);
    db.execute("ALTER TABLE [Lamps] ADD COLUMN [Watt] INTEGER DEFAULT 7");
    Recordset rs = db.openRecordset("Lamps");
    EXPECT_EQ(rs.value("Watt").number(), 7);
    db.execute("DROP TABLE [Lamps]");
    EXPECT_THROW(db.openRecordset("LAMPS"), DaoError);
    db.execute("COMMIT");
}

} // namespace
} // namespace vyr::dao
