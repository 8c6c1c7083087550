// Undo of a Store by rows: the Store's rows go back, later changes stay; a row written since
// refuses the Undo with nothing written; a failed Store takes its backup with it.
#include "tests/vtx/model/configuration_support.h"
#include "tests/vtx/model/support.h"
#include "platform/dao/error.h"
#include "vtx/model/backups.h"
#include "vtx/model/filtercatalogue.h"
#include "vtx/model/load.h"
#include "vtx/model/store_undo.h"
#include "vtx/model/version.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace vyr::vtx {
namespace {

namespace fs = std::filesystem;

class UndoTest : public test::SystemDatabases {
protected:
    void SetUp() override
    {
        SystemDatabases::SetUp();
        path_ = build("System.mdb");
        db_ = dao::Database::open(path_);
        version_ = versionNumber(db_.openRecordset("System Versions").value("Version Name"));
        editor_.reset(loadConfiguration(db_, version_));
        before_ = snapshotTables(db_);
    }
    // NT1 taken out, the wheel's splitter kept ("Delete ?" answered No): a Store of many rows.
    StoreResult storeWithoutNt1()
    {
        editor_.setNt1(Nt1::Nothing);
        boxes_.answers = {Answer::No};
        StorePlan plan = planStore(db_, version_, editor_.configuration(), boxes_, wheel_);
        return storeKeepingUndo(db_, version_, editor_, plan, boxes_, &backup_);
    }
    // Another program's write, on a connection of its own.
    void elsewhere(const std::string& sql) { dao::Database::open(path_).execute(sql); }
    std::vector<std::string> changesSinceStart()
    {
        std::vector<std::string> out;
        for (const RowChange& c : rowChanges(before_, snapshotTables(db_)))
            out.push_back(describe(c));
        return out;
    }

    std::string path_, backup_;
    dao::Database db_;
    int32_t version_ = 0;
    ConfigurationEditor editor_;
    test::FakeBoxes boxes_;
    test::FakeWheel wheel_;
    TableSnapshot before_;
};

TEST_F(UndoTest, PutsTheStoresRowsBackAndKeepsWhatChangedSince)
{
    ASSERT_EQ(storeWithoutNt1(), StoreResult::Completed);
    ASSERT_GT(changesSinceStart().size(), 5u);
    ASSERT_TRUE(readUndo(backup_).has_value());

    // After the Store: a filter added in the catalogue editor, and a column of a row the Store
    // did not write changed by another program.
    FilterCatalogue catalogue(db_);
    catalogue.load();
    FilterEntry entry;
    entry.name = "LP 600-X";
    entry.code = "X600";
    entry.summary = "long pass 600";
    entry.type = "LP";
    entry.spectral = "LP";
    entry.cutOff = "600";
    ASSERT_TRUE(catalogue.apply(entry, boxes_));
    ASSERT_TRUE(catalogue.writePending(boxes_));
    elsewhere("UPDATE [Potential Filters] SET [Summary] = 'recoated 2026' WHERE [ID Potential] = 'NFT 545'");

    UndoAttempt undo = undoStore(db_, backup_);
    EXPECT_EQ(undo.result, UndoResult::Undone);
    EXPECT_TRUE(undo.conflicts.empty());
    // Exactly the two later changes remain.
    std::vector<std::string> left = changesSinceStart();
    EXPECT_NE(std::find(left.begin(), left.end(),
                        "[Potential Filters] NFT 545: [Summary] \"Secondary splitter, edge 545 nm\" \u2192 \"recoated 2026\""),
              left.end())
        << ::testing::PrintToString(left);
    for (const std::string& c : left)
        EXPECT_TRUE(c.find("LP 600-X") != std::string::npos || c.find("NFT 545") != std::string::npos) << c;
    EXPECT_EQ(loadConfiguration(db_, version_).nt1, Nt1::Cube) << "the form loads as before the Store";
    EXPECT_TRUE(fs::exists(backup_)) << "the backup stays for a whole-file restore";
    EXPECT_EQ(undoStore(db_, backup_).result, UndoResult::NothingToUndo) << "undone once";
}

TEST_F(UndoTest, ARowWrittenSinceRefusesAndWritesNothing)
{
    ASSERT_EQ(storeWithoutNt1(), StoreResult::Completed);
    elsewhere("UPDATE [Available FilterSets] SET [Status] = 'Dummy' WHERE [ID Available] = 'VTX_NT1'");
    test::TableRows stored = test::allRows(db_);

    UndoAttempt undo = undoStore(db_, backup_);
    EXPECT_EQ(undo.result, UndoResult::Refused);
    ASSERT_EQ(undo.conflicts.size(), 1u);
    EXPECT_EQ(describe(undo.conflicts.front()),
              "[Available FilterSets] VTX_NT1: [Status] Store wrote \"Do not use\", now \"Dummy\"");
    EXPECT_EQ(test::allRows(db_), stored) << "nothing was written";
    EXPECT_NE(undoRefusal(undo.conflicts).find("Nothing was undone."), std::string::npos);
    EXPECT_TRUE(readUndo(backup_).has_value()) << "still there for another try";

    // A row the Store wrote that another program removed is named too.
    elsewhere("DELETE FROM [Available DACs] WHERE [ID Available] = 'DAC621'");
    undo = undoStore(db_, backup_);
    ASSERT_EQ(undo.result, UndoResult::Refused);
    ASSERT_EQ(undo.conflicts.size(), 3u);
    EXPECT_EQ(describe(undo.conflicts[1]).substr(0, 30), "[Available DACs] DAC621: [Cont");
    EXPECT_NE(describe(undo.conflicts[1]).find("now (no row)"), std::string::npos);
}

TEST_F(UndoTest, ARowTheStoreAddedGoesAgainUnlessItWasFilledSince)
{
    // The demo stored as loaded adds only the halogen mirror to the catalogue.
    const std::string select = "SELECT * FROM [Potential Filters] WHERE [ID Potential] = 'HAL Mirror'";
    auto storeAsLoaded = [&] {
        StorePlan plan = planStore(db_, version_, editor_.configuration(), boxes_, wheel_);
        return storeKeepingUndo(db_, version_, editor_, plan, boxes_, &backup_);
    };
    ASSERT_EQ(storeAsLoaded(), StoreResult::Completed);
    ASSERT_FALSE(db_.openRecordset(select, dao::RecordsetType::Snapshot).eof());
    EXPECT_EQ(undoStore(db_, backup_).result, UndoResult::Undone);
    EXPECT_TRUE(db_.openRecordset(select, dao::RecordsetType::Snapshot).eof());
    EXPECT_TRUE(changesSinceStart().empty());

    ASSERT_EQ(storeAsLoaded(), StoreResult::Completed);
    elsewhere("UPDATE [Potential Filters] SET [Producer] = 'Halvern' WHERE [ID Potential] = 'HAL Mirror'");
    UndoAttempt undo = undoStore(db_, backup_);
    ASSERT_EQ(undo.result, UndoResult::Refused);
    ASSERT_EQ(undo.conflicts.size(), 1u);
    EXPECT_EQ(describe(undo.conflicts.front()),
              "[Potential Filters] HAL Mirror: [Producer] Store wrote Null, now \"Halvern\"");
    EXPECT_FALSE(db_.openRecordset(select, dao::RecordsetType::Snapshot).eof()) << "the row stays";
}

TEST_F(UndoTest, TheKeptChangesReadBackAsWritten)
{
    const std::vector<RowChange> changes = {
        {"Available Lamps", "HAL", "Status", dao::Value(""), dao::Value("Do not use")},
        {"Potential Filters", "a\tb\\c", "Summary", dao::Value("line\none"), dao::Value()},
        {"Available Systems", "CLS 8 VTX", "VTX", dao::Value(true), dao::Value(false)},
        {"Potential Filters", "LP 600", "Lower Wavelength", std::nullopt, dao::Value(600.25)},
        {"Potential Filters", "KP 500", "Upper Wavelength", dao::Value(1e-7), std::nullopt},
    };
    std::string backup = file("System.mdb.20260101-000000-000.bak");
    saveUndo(backup, changes);
    EXPECT_EQ(readUndo(backup), changes);
    std::ofstream(undoFile(backup), std::ios::app) << "cut short\tline\n";
    EXPECT_FALSE(readUndo(backup).has_value()) << "a damaged list is no list";
}

TEST_F(UndoTest, AFailedStoreRemovesItsBackupAndKeepsTheOthers)
{
    for (int i = 0; i < int(kKeptBackups); ++i)
        keepBackup(path_);
    std::vector<std::string> kept = listBackups(path_);
    ASSERT_EQ(kept.size(), kKeptBackups);
    // The lamps are Store's last write: the engine refuses it after the backup was made.
    db_.execute("CREATE TRIGGER [no lamps] BEFORE UPDATE ON [Available Lamps] BEGIN SELECT RAISE(ABORT, 'lamps are locked'); END");
    test::TableRows before = test::allRows(db_);
    EXPECT_THROW(storeWithoutNt1(), dao::DaoError);
    EXPECT_EQ(listBackups(path_), kept) << "no backup of the failed Store, none pushed out";
    EXPECT_EQ(test::allRows(db_), before);
    for (const auto& e : fs::directory_iterator(dir_))
        EXPECT_EQ(e.path().string().find(".undo"), std::string::npos) << e.path();
}

} // namespace
} // namespace vyr::vtx
