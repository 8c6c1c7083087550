#include "platform/dao/compact.h"
#include "platform/dao/database.h"
#include "platform/dao/error.h"
#include "platform/dao/writer_lock.h"
#include "tests/platform/dao/scratch.h"

namespace vyr::dao {
namespace {

class CompactTest : public test::ScratchDir {
protected:
    std::string makeBloated()
    {
        std::string path = makeDb("big.mdb", "CREATE TABLE t (k INTEGER, v TEXT); CREATE TABLE u (w);");
        Database db = Database::open(path);
        db.execute("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 3000) "
                   "INSERT INTO t SELECT i, printf('%.500c', 'x') FROM n;");
        db.execute("DELETE FROM t WHERE k > 100; INSERT INTO u VALUES (NULL);");
        return path;
    }
};

TEST_F(CompactTest, WritesASmallerCopyWithTheSameRows)
{
    std::string src = makeBloated();
    std::string before = test::readText(src);
    compactDatabase(src, file("new.mdb"));
    EXPECT_LT(std::filesystem::file_size(file("new.mdb")), std::filesystem::file_size(src) / 4);
    EXPECT_EQ(test::readText(src), before) << "the source is untouched";
    Database copy = Database::open(file("new.mdb"));
    EXPECT_EQ(copy.openRecordset("t").recordCount(), 100);
    Recordset u = copy.openRecordset("u");
    u.moveFirst();
    EXPECT_TRUE(u.value("w").isNull());
}

TEST_F(CompactTest, RefusesAnExistingDestination)
{
    std::string src = makeBloated();
    std::ofstream(file("new.mdb")) << "keep me";
    try {
        compactDatabase(src, file("new.mdb"));
        ADD_FAILURE();
    } catch (const DaoError& e) {
        EXPECT_EQ(e.number(), ErrorNumber::AlreadyExists);
    }
    EXPECT_EQ(test::readText(file("new.mdb")), "keep me");
}

TEST_F(CompactTest, FailuresLeaveNoDestination)
{
    std::ofstream(file("text.mdb")) << "no database here, just some words";
    EXPECT_THROW(compactDatabase(file("missing.mdb"), file("a.mdb")), DaoError);
    EXPECT_THROW(compactDatabase(file("text.mdb"), file("b.mdb")), DaoError);
    std::string src = makeBloated();
    int calls = 0;
    EXPECT_THROW(compactDatabase(src, file("c.mdb"), [&] { return ++calls < 3; }), DaoError);
    EXPECT_EQ(calls, 3);
    for (const char* name : {"a.mdb", "b.mdb", "c.mdb"})
        EXPECT_FALSE(std::filesystem::exists(file(name))) << name;
}

TEST_F(CompactTest, WriterLockKeepsOtherWritersOut)
{
    std::string src = makeBloated();
    Database other = Database::open(src);
    {
        WriterLock lock(src);
        EXPECT_THROW(other.execute("INSERT INTO u VALUES (1)"), DaoError);
        EXPECT_EQ(other.openRecordset("u").recordCount(), 1) << "reading goes on";
        EXPECT_THROW(WriterLock{src}, DaoError);
        compactDatabase(src, file("new.mdb"));
    }
    EXPECT_NO_THROW(other.execute("INSERT INTO u VALUES (1)"));
}

} // namespace
} // namespace vyr::dao
