// Inside a transaction the connection keeps the rows a filtered look-up found, and logs the
// rows its recordsets write. What that could get wrong: a look-up of several texts that
// differs from single look-ups, a kept look-up that misses a row added or a key rewritten
// since, a row written through another recordset read stale, and a log that misses or
// repeats a row, or claims to be complete where a trigger wrote too.
#include "platform/dao/database.h"
#include "tests/platform/dao/scratch.h"

#include <functional>

namespace vyr::dao {
namespace {

class FoundRowsTest : public test::ScratchDir {
protected:
    void SetUp() override
    {
        ScratchDir::SetUp();
        path_ = makeDb("f.db", "CREATE TABLE T (K TEXT, V TEXT);"
                               "INSERT INTO T VALUES ('a', 'a1'), ('b', 'b1'), ('a', 'a2'), ('c', 'c1'), ('b', 'b2');");
        db_ = Database::open(path_);
    }
    std::vector<std::string> values(Recordset r)
    {
        std::vector<std::string> out;
        for (; !r.eof(); r.moveNext())
            out.push_back(r.value("V").text());
        return out;
    }
    std::string path_;
    Database db_;
};

TEST_F(FoundRowsTest, SeveralTextsFindWhatSingleLookUpsFindInTableOrder)
{
    for (bool inTransaction : {false, true}) {
        SCOPED_TRACE(inTransaction ? "in a transaction" : "autocommit");
        if (inTransaction)
            db_.execute("BEGIN");
        for (RecordsetType type : {RecordsetType::Table, RecordsetType::Snapshot})
            EXPECT_EQ(values(db_.openRecordsetWhere("T", "K", std::vector<std::string>{"b", "a", "x", "a"}, type)),
                      (std::vector<std::string>{"a1", "b1", "a2", "b2"}));
        // The texts found together are kept one by one.
        EXPECT_EQ(values(db_.openRecordsetWhere("T", "K", "a")), (std::vector<std::string>{"a1", "a2"}));
        EXPECT_EQ(values(db_.openRecordsetWhere("T", "K", "x")), std::vector<std::string>{});
    }
    db_.execute("ROLLBACK");
}

TEST_F(FoundRowsTest, KeptLookUpsFollowTheWritesOfTheTransaction)
{
    db_.execute("BEGIN");
    EXPECT_EQ(values(db_.openRecordsetWhere("T", "K", std::vector<std::string>{"a", "b"})).size(), 4u);
    // A value written through one recordset is read back through the next look-up.
    Recordset first = db_.openRecordsetWhere("T", "K", "a");
    first.edit();
    first.setValue("V", Value("a1 edited"));
    first.update();
    EXPECT_EQ(values(db_.openRecordsetWhere("T", "K", "a")), (std::vector<std::string>{"a1 edited", "a2"}));
    // A key rewritten moves its row from one look-up to the other.
    Recordset moved = db_.openRecordsetWhere("T", "K", "b");
    moved.edit();
    moved.setValue("K", Value("a"));
    moved.update();
    EXPECT_EQ(values(db_.openRecordsetWhere("T", "K", "a")), (std::vector<std::string>{"a1 edited", "b1", "a2"}));
    EXPECT_EQ(values(db_.openRecordsetWhere("T", "K", "b")), std::vector<std::string>{"b2"});
    // A row added is found; a row deleted is not.
    Recordset added = db_.openRecordsetWhere("T", "K", "b");
    added.addNew();
    added.setValue("K", Value("b"));
    added.setValue("V", Value("b3"));
    added.update();
    EXPECT_EQ(values(db_.openRecordsetWhere("T", "K", "b")), (std::vector<std::string>{"b2", "b3"}));
    Recordset gone = db_.openRecordsetWhere("T", "K", "a");
    gone.remove();
    EXPECT_EQ(values(db_.openRecordsetWhere("T", "K", "a")), (std::vector<std::string>{"b1", "a2"}));
    // SQL run by execute may change anything: what is found afterwards is read again.
    db_.execute("UPDATE T SET V = 'by SQL' WHERE V = 'a2'");
    EXPECT_EQ(values(db_.openRecordsetWhere("T", "K", "a")), (std::vector<std::string>{"b1", "by SQL"}));
    db_.execute("COMMIT");
    EXPECT_EQ(values(db_.openRecordsetWhere("T", "K", "a")), (std::vector<std::string>{"b1", "by SQL"}));
}

// Rows a snapshot read before the transaction are taken only while nothing changed the file.
TEST_F(FoundRowsTest, RowsReadBeforeATransactionAreReadAgainWhenTheFileChangedMeanwhile)
{
    const std::vector<std::string> ab{"a", "b"};
    struct Case {
        const char* name;
        std::function<void()> meanwhile;
        std::vector<std::string> a;
    };
    const std::vector<Case> cases{
        {"nothing", [] {}, {"a1", "a2"}},
        {"another connection", [&] { Database::open(path_).execute("UPDATE T SET V = 'other' WHERE V = 'a1'"); }, {"other", "a2"}},
        {"SQL of this one", [&] { db_.execute("UPDATE T SET V = 'sql' WHERE V = 'a2'"); }, {"a1", "sql"}},
        {"a recordset of this one", [&] {
             Recordset r = db_.openRecordsetWhere("T", "K", "a");
             r.edit();
             r.setValue("V", Value("own"));
             r.update();
         }, {"own", "a2"}},
        {"a row added elsewhere", [&] { Database::open(path_).execute("INSERT INTO T VALUES ('a', 'a3')"); }, {"a1", "a2", "a3"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        db_.execute("DELETE FROM T WHERE K = 'a'; INSERT INTO T (rowid, K, V) VALUES (1, 'a', 'a1'), (3, 'a', 'a2')");
        EXPECT_EQ(values(db_.openRecordsetWhere("T", "K", ab, RecordsetType::Snapshot)).size(), 4u);
        c.meanwhile();
        db_.execute("BEGIN IMMEDIATE");
        EXPECT_EQ(values(db_.openRecordsetWhere("T", "K", ab)).size(), c.a.size() + 2);
        EXPECT_EQ(values(db_.openRecordsetWhere("T", "K", "a")), c.a);
        db_.execute("COMMIT");
    }
}

TEST_F(FoundRowsTest, TheRowLogHoldsEachWrittenRowOnceWithItsEarlierValues)
{
    db_.execute("BEGIN");
    ASSERT_TRUE(db_.startRowLog());
    Recordset a = db_.openRecordsetWhere("T", "K", "a");
    for (const char* v : {"x", "y"}) {   // written twice: logged once, with what it held first
        a.edit();
        a.setValue("V", Value(v));
        a.update();
    }
    Recordset c = db_.openRecordsetWhere("T", "K", "c");
    c.remove();
    c.addNew();
    c.setValue("K", Value("d"));
    c.update();
    RowLog log = db_.takeRowLog();
    EXPECT_TRUE(log.complete);
    ASSERT_EQ(log.tables.size(), 1u);
    const RowLog::Table& t = log.tables.at("T");
    EXPECT_EQ(t.columns, (std::vector<std::string>{"K", "V"}));
    ASSERT_EQ(t.before.size(), 3u);
    EXPECT_EQ(t.before.at(1), (std::vector<Value>{Value("a"), Value("a1")}));
    EXPECT_EQ(t.before.at(4), (std::vector<Value>{Value("c"), Value("c1")}));
    EXPECT_FALSE(t.before.at(6).has_value()) << "the row added";
    // SQL run by execute is not in the log: the log says so.
    ASSERT_TRUE(db_.startRowLog());
    db_.execute("UPDATE T SET V = 'z'");
    EXPECT_FALSE(db_.takeRowLog().complete);
    db_.execute("ROLLBACK");
    // A trigger writes rows no recordset sees: no log is kept.
    db_.execute("CREATE TRIGGER copy AFTER UPDATE ON T BEGIN UPDATE T SET V = 'copied' WHERE K = 'c'; END");
    EXPECT_FALSE(db_.startRowLog());
    EXPECT_FALSE(db_.takeRowLog().complete);
}

} // namespace
} // namespace vyr::dao
