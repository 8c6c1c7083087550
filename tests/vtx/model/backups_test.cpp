#include "platform/dao/error.h"
#include "tests/vtx/model/configuration_support.h"
#include "tests/vtx/model/support.h"
#include "vtx/model/backups.h"
#include "vtx/model/load.h"
#include "vtx/model/store.h"
#include "vtx/model/version.h"

#include <csignal>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vyr::vtx {
namespace {

namespace fs = std::filesystem;

class BackupsTest : public test::SystemDatabases {
protected:
    // Every row of every table, and the schema: what "equal in content" means.
    static std::string content(const std::string& path)
    {
        dao::Database db = dao::Database::open(path);
        std::string out;
        for (const auto& [table, rows] : test::allRows(db)) {
            out += table + "\n";
            for (const std::string& r : rows)
                out += "  " + r + "\n";
        }
        dao::Recordset schema = db.openRecordset("SELECT sql FROM sqlite_master ORDER BY name", dao::RecordsetType::Snapshot);
        for (; !schema.eof(); schema.moveNext())
            out += schema.value("sql").isNull() ? std::string() : schema.value("sql").text() + "\n";
        return out;
    }
    static void change(const std::string& path, const std::string& sql)
    {
        dao::Database db = dao::Database::open(path);
        db.execute(sql);
    }
};

TEST_F(BackupsTest, KeepsTheNewestTenNamedByTime)
{
    std::string db = build("System.mdb");
    std::vector<std::string> made;
    for (int i = 0; i < 12; ++i)
        made.push_back(keepBackup(db));
    std::vector<std::string> kept = listBackups(db);
    ASSERT_EQ(kept.size(), kKeptBackups);
    EXPECT_EQ(kept.front(), made[2]) << "the two oldest went";
    EXPECT_EQ(kept.back(), made.back());
    EXPECT_TRUE(std::is_sorted(kept.begin(), kept.end()));
    EXPECT_EQ(content(kept.back()), content(db));
    // Only its own copies count: another database's and other files in the folder are left.
    std::string other = build("Other.mdb");
    keepBackup(other);
    std::ofstream(db + ".notes.bak") << "x";
    EXPECT_EQ(listBackups(db).size(), kKeptBackups);
    EXPECT_EQ(listBackups(other).size(), 1u);
}

TEST_F(BackupsTest, RestoreBringsBackTheBackupsContentAndCanItselfBeUndone)
{
    std::string db = build("System.mdb");
    std::string backup = keepBackup(db);
    std::string original = content(db);
    change(db, "UPDATE [Available Lamps] SET [Status] = 'Do not use'; DELETE FROM [Potential Filters] WHERE [Type] = 'FT'");
    std::string edited = content(db);
    ASSERT_NE(edited, original);

    restoreBackup(db, fs::path(backup).filename().string());   // the name as the listing shows it
    EXPECT_EQ(content(db), original);
    std::vector<std::string> kept = listBackups(db);
    ASSERT_EQ(kept.size(), 2u);
    EXPECT_EQ(content(kept.back()), edited) << "the state before the restore was kept";
    restoreBackup(db, kept.back());
    EXPECT_EQ(content(db), edited);
}

TEST_F(BackupsTest, ABadBackupLeavesTheDatabaseAsItWas)
{
    std::string db = build("System.mdb");
    std::string before = content(db);
    std::ofstream(file("System.mdb.20260101-000000-000.bak")) << "not a database";
    EXPECT_THROW(restoreBackup(db, file("System.mdb.20260101-000000-000.bak")), dao::DaoError);
    EXPECT_THROW(restoreBackup(db, file("missing.bak")), dao::DaoError);
    EXPECT_EQ(content(db), before);
    EXPECT_FALSE(fs::exists(scratchPath(db)));
}

// The process is killed at each stage of a restore: the database is then either the old one
// or the restored one, and the next start leaves no scratch file.
TEST_F(BackupsTest, AKillDuringRestoreLeavesTheOldOrTheRestoredDatabase)
{
    struct Row { const char* what; CompactionStep at; bool restored; };
    const Row rows[] = {
        {"while copying", CompactionStep::Copying, false},
        {"copy complete, not yet moved", CompactionStep::CopyComplete, false},
        {"just moved", CompactionStep::Replaced, true},
    };
    for (const Row& r : rows) {
        std::string db = build(std::string("System-") + std::to_string(int(r.at)) + ".mdb");
        std::string backup = keepBackup(db);
        std::string original = content(db);
        change(db, "UPDATE [Available DIOs] SET [Control] = 'CANX'");
        std::string edited = content(db);
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            try {
                restoreBackup(db, backup, [&](CompactionStep s) {
                    if (s == r.at)
                        ::raise(SIGKILL);
                });
            } catch (...) {
                ::_exit(2);
            }
            ::_exit(3);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << r.what;
        EXPECT_EQ(content(db), r.restored ? original : edited) << r.what;
        compactInPlace(db);   // the next start
        EXPECT_EQ(content(db), r.restored ? original : edited) << r.what;
        EXPECT_FALSE(fs::exists(scratchPath(db))) << r.what;
    }
}

TEST_F(BackupsTest, StoreKeepsABackupOnlyWhenItWrites)
{
    std::string path = build("System.mdb");
    dao::Database db = dao::Database::open(path);
    int32_t version = versionNumber(db.openRecordset("System Versions").value("Version Name"));
    ConfigurationEditor editor(loadConfiguration(db, version));
    std::string before = content(path);
    test::FakeBoxes boxes;
    test::FakeWheel wheel;
    auto backup = [&] { keepBackup(path); };

    editor.setCan(3, "CANL");   // refused: "CANL isn't unique !"
    EXPECT_EQ(storeConfiguration(db, version, editor, boxes, wheel, backup), StoreResult::Refused);
    EXPECT_TRUE(listBackups(path).empty());

    editor.setCan(3, "CANM");
    editor.setLight(LightSide::Reflected, 0);
    EXPECT_EQ(storeConfiguration(db, version, editor, boxes, wheel, backup), StoreResult::Completed);
    ASSERT_EQ(listBackups(path).size(), 1u);
    EXPECT_EQ(content(listBackups(path).front()), before) << "the state just before the store";
    EXPECT_NE(content(path), before);
}

} // namespace
} // namespace vyr::vtx
