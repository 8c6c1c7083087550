#include "platform/dao/error.h"
#include "tests/vtx/model/support.h"
#include "vtx/model/compaction.h"

#include <csignal>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vyr::vtx {
namespace {

namespace fs = std::filesystem;

class CompactionTest : public test::SystemDatabases {
protected:
    // The demo with a bulky table whose rows were mostly deleted again, so compaction has
    // something to do and takes a while.
    std::string bloated(const std::string& name = "System.mdb")
    {
        std::string path = build(name);
        dao::Database db = dao::Database::open(path);
        db.execute("CREATE TABLE [Scan Log] ([N] INTEGER, [Text] TEXT);"
                   "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 4000) "
                   "INSERT INTO [Scan Log] SELECT i, printf('%.700c', 'x') FROM n;"
                   "DELETE FROM [Scan Log] WHERE [N] > 1500;");
        return path;
    }
    // A fingerprint of the content that matters: every filter placement and the log size.
    static std::string content(const std::string& path)
    {
        dao::Database db = dao::Database::open(path);
        dao::Recordset rs = db.openRecordset("Available FilterPlacement");
        std::string out;
        for (rs.moveFirst(); !rs.eof(); rs.moveNext())
            out += rs.value("ID Available").text() + rs.value("Position").text() + rs.value("ID Potential").text() + ";";
        return out + std::to_string(db.openRecordset("Scan Log").recordCount());
    }
    std::string scratch() const { return file("new.mdb"); }
};

TEST_F(CompactionTest, ReplacesTheDatabaseByASmallerEqualCopy)
{
    std::string path = bloated();
    std::string before = content(path);
    auto size = fs::file_size(path);
    std::vector<CompactionStep> steps;
    compactInPlace(path, [&](CompactionStep s) {
        if (steps.empty() || steps.back() != s)
            steps.push_back(s);
    });
    EXPECT_EQ(steps, (std::vector<CompactionStep>{CompactionStep::Copying, CompactionStep::CopyComplete,
                                                  CompactionStep::Replaced}));
    EXPECT_LT(fs::file_size(path), size / 2);
    EXPECT_EQ(content(path), before);
    EXPECT_FALSE(fs::exists(scratch()));
}

TEST_F(CompactionTest, KeepsTheFilesPermissions)
{
    std::string path = bloated();
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                              fs::perms::group_write);
    compactInPlace(path);
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::group_write);
}

TEST_F(CompactionTest, AStaleScratchBesideAnIntactDatabaseIsRemoved)
{
    std::string path = bloated();
    std::string before = content(path);
    std::ofstream(scratch()) << "half a copy";
    compactInPlace(path);
    EXPECT_FALSE(fs::exists(scratch()));
    EXPECT_EQ(content(path), before);
}

TEST_F(CompactionTest, AScratchThatIsTheOnlyCopyIsRestored)
{
    struct Row { const char* what; std::function<void(const std::string&)> spoil; };
    const Row rows[] = {
        {"missing", [](const std::string& p) { fs::remove(p); }},
        {"empty file", [](const std::string& p) { std::ofstream(p, std::ios::trunc); }},
        {"damaged", [](const std::string& p) { std::ofstream(p, std::ios::trunc) << "garbage, not a database"; }},
    };
    for (const Row& r : rows) {
        std::string path = bloated();
        std::string before = content(path);
        fs::copy_file(path, scratch());   // what an interrupted older compaction left
        r.spoil(path);
        compactInPlace(path);
        EXPECT_EQ(content(path), before) << r.what;
        EXPECT_FALSE(fs::exists(scratch())) << r.what;
        fs::remove(path);
    }
}

TEST_F(CompactionTest, NothingSoundToRestoreLeavesBothFiles)
{
    std::string path = file("System.mdb");
    std::ofstream(path) << "damaged database";
    std::ofstream(scratch()) << "damaged copy";
    EXPECT_THROW(compactInPlace(path), dao::DaoError);
    EXPECT_EQ(dao::test::readText(path), "damaged database");
    EXPECT_EQ(dao::test::readText(scratch()), "damaged copy");
    fs::remove(path);
    try {
        compactInPlace(path);
        ADD_FAILURE();
    } catch (const dao::DaoError& e) {
        EXPECT_EQ(e.description(), "Could not find file '" + path + "'");
    }
    EXPECT_TRUE(fs::exists(scratch()));
}

TEST_F(CompactionTest, ALockedDatabaseIsLeftAlone)
{
    std::string path = bloated();
    std::string bytes = dao::test::readText(path);
    std::ofstream(scratch()) << "stale";
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    try {
        compactInPlace(path);
        ADD_FAILURE();
    } catch (const dao::DaoError& e) {
        EXPECT_EQ(e.number(), dao::ErrorNumber::FileInUse) << e.description();
    }
    sqlite3_close(other);
    EXPECT_EQ(dao::test::readText(path), bytes);
    EXPECT_EQ(dao::test::readText(scratch()), "stale");
}

TEST_F(CompactionTest, ADatabaseNamedLikeTheScratchIsNotTouched)
{
    std::string path = bloated("new.mdb");
    std::string bytes = dao::test::readText(path);
    compactInPlace(path);
    EXPECT_EQ(dao::test::readText(path), bytes);
}

TEST_F(CompactionTest, ALinkIsFollowedToTheFile)
{
    fs::create_directory(file("real"));
    std::string real = bloated("real/System.mdb");
    fs::create_symlink(real, file("link.mdb"));
    std::string before = content(real);
    auto size = fs::file_size(real);
    compactInPlace(file("link.mdb"));
    EXPECT_TRUE(fs::is_symlink(file("link.mdb")));
    EXPECT_LT(fs::file_size(real), size);
    EXPECT_EQ(content(file("link.mdb")), before);
}

// The process is killed at each stage of a compaction; afterwards the database holds all its
// data, and the next start (another compaction) leaves no scratch file behind.
TEST_F(CompactionTest, AKillInTheMiddleLosesNothing)
{
    struct Row { const char* what; CompactionStep at; int nth; };
    const Row rows[] = {
        {"while copying", CompactionStep::Copying, 20},
        {"copy complete, not yet moved", CompactionStep::CopyComplete, 1},
        {"just moved", CompactionStep::Replaced, 1},
    };
    for (const Row& r : rows) {
        std::string path = bloated();
        std::string before = content(path);
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            int seen = 0;
            try {
                compactInPlace(path, [&](CompactionStep s) {
                    if (s == r.at && ++seen == r.nth)
                        ::raise(SIGKILL);
                });
            } catch (...) {
                ::_exit(2);
            }
            ::_exit(3);   // the kill never came
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL)
            << r.what << ": exit " << (WIFEXITED(status) ? WEXITSTATUS(status) : -1);
        if (r.at == CompactionStep::Copying || r.at == CompactionStep::CopyComplete)
            EXPECT_TRUE(fs::exists(scratch())) << r.what << ": the kill should leave a scratch file";
        EXPECT_EQ(content(path), before) << r.what;
        compactInPlace(path);
        EXPECT_EQ(content(path), before) << r.what;
        EXPECT_FALSE(fs::exists(scratch())) << r.what;
        fs::remove(path);
    }
}

} // namespace
} // namespace vyr::vtx
