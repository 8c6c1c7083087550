#include "tests/vtx/model/configuration_support.h"
#include "tests/vtx/model/support.h"
#include "vtx/model/backups.h"
#include "vtx/model/row_changes.h"
#include "vtx/model/tool.h"

#include <algorithm>
#include <sstream>

#include <cstdio>
#include <sys/wait.h>

namespace vyr::vtx {
namespace {

struct Outcome {
    int exit = -1;
    std::string out;
};

Outcome vtxctl(const std::string& args)
{
    Outcome r;
    std::string command = std::string(VTXCTL_PROGRAM) + " " + args + " 2>&1";
    FILE* p = ::popen(command.c_str(), "r");
    if (!p)
        return r;
    char buf[512];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0)
        r.out.append(buf, n);
    int status = ::pclose(p);
    r.exit = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

std::string shellArg(const std::string& s)
{
    return "'" + s + "'";
}

class VtxctlTest : public test::SystemDatabases {};

TEST_F(VtxctlTest, CheckPrintsWhatTheToolWouldShowAndExitsByItsVerdict)
{
    std::ofstream(file("text.mdb")) << "not a database";
    struct Row { std::string path; int exit; std::string out; };
    const std::vector<Row> rows = {
        {build("demo.mdb"), 0, ""},
        {build("ostral.mdb", {"ostral.sql"}), 0, "Current System Database is an Ostral !\n"},
        {build("old.mdb", {"version-2.079.sql"}), 1,
         "Current System Database version 2.079 not valid (should be at least 2.08 )!\n"},
        {build("veldan.mdb", {"veldan.sql"}), 1, "Current System Database is for VELDAN !\n"},
        {build("fcs.mdb", {"fcs-only.sql"}), 1, "Current System Database is for FCS only !\n"},
        {file("missing.mdb"), 1, "Could not find file '" + file("missing.mdb") + "'\n"},
        {file("text.mdb"), 1, "'" + file("text.mdb") + "' is not a database file\n"},
        {"''", 1, "Could not find file ''\n"},
    };
    for (const Row& r : rows) {
        Outcome run = vtxctl("check " + (r.path == "''" ? r.path : shellArg(r.path)));
        EXPECT_EQ(run.exit, r.exit) << r.path << "\n" << run.out;
        EXPECT_EQ(run.out, r.out) << r.path;
    }
}

TEST_F(VtxctlTest, CheckCompactsAndClearsALeftOverScratch)
{
    std::string path = build("System.mdb");
    std::ofstream(file("new.mdb")) << "left over";
    EXPECT_EQ(vtxctl("check " + shellArg(path)).exit, 0);
    EXPECT_FALSE(std::filesystem::exists(file("new.mdb")));
}

TEST_F(VtxctlTest, CreateBuildsADatabaseFromScripts)
{
    std::string target = file("made.mdb");
    Outcome made = vtxctl("create " + shellArg(target) + " " + shellArg(test::dataFile("schema.sql")) + " " +
                      shellArg(test::dataFile("demo.sql")));
    EXPECT_EQ(made.exit, 0) << made.out;
    EXPECT_EQ(vtxctl("check " + shellArg(target)).exit, 0);
    Outcome again = vtxctl("create " + shellArg(target) + " " + shellArg(test::dataFile("schema.sql")));
    EXPECT_EQ(again.exit, 1);
    EXPECT_NE(again.out.find("already exists"), std::string::npos) << again.out;
}

TEST_F(VtxctlTest, UsageErrors)
{
    for (const char* args : {"", "check", "check a b", "create x.mdb", "frobnicate x"}) {
        Outcome r = vtxctl(args);
        EXPECT_EQ(r.exit, 2) << args;
        EXPECT_NE(r.out.find("usage: vtxctl"), std::string::npos) << args;
    }
}

TEST_F(VtxctlTest, ShowPrintsTheConfigurationAsJson)
{
    Outcome run = vtxctl("show " + shellArg(build("System.mdb", {"hbo-mirror.sql"})));
    EXPECT_EQ(run.exit, 0) << run.out;
    for (const char* part : {"\"version\": \"2.10\"", "\"nt1\": \"Cube\"", "\"nt2\": \"Cube\"",
                             "\"manualMirror\": false", "\"can\": [\"CANK\", \"CANL\", \"CANM\", \"CANB\"]",
                             "\"VTX_NT2\": [\"NFT 490\", \"NFT 565\", \"HAL Mirror\"]",
                             "\"transmittedLight\": \"HAL\"", "\"reflectedLight\": \"HBO\"", "\"stand\": 1"})
        EXPECT_NE(run.out.find(part), std::string::npos) << part << "\n" << run.out;
    EXPECT_EQ(vtxctl("show " + shellArg(file("missing.mdb"))).exit, 1);
}

TEST_F(VtxctlTest, StoreAppliesChangesAnswersAsToldAndExitsByTheOutcome)
{
    std::string path = build("System.mdb");
    struct Row { std::string args; int exit; std::string out; };
    const std::vector<Row> rows = {
        {"can3=CANL", 3, "CANL isn't unique !\n"},
        {"can2=None", 3, "VTX3 alone not allowed !\n"},
        {"nt1=Nothing nt2=Nothing --yes", 0, "VTX LP680 in FW1. Delete ?\n"},
        {"nt1=Cube nt2=Cube can1=CANK can2=CANL can3=CANM can4=CANB 'VTX_EF5.1=LP 650' --fw1 cancel", 0, ""},
        {"can9=CANK", 2, "vtxctl: unknown setting can9\n"},
    };
    for (const Row& r : rows) {
        Outcome run = vtxctl("store " + shellArg(path) + " " + r.args);
        EXPECT_EQ(run.exit, r.exit) << r.args << "\n" << run.out;
        EXPECT_EQ(run.out, r.out) << r.args;
    }
    Outcome shown = vtxctl("show " + shellArg(path));
    EXPECT_NE(shown.out.find("\"VTX_EF5\": [\"LP 650\""), std::string::npos) << shown.out;

    // The splitter left the wheel above, and the wheel has free places: the dialog is not needed.
    std::string full = build("full.mdb", {"fw1-no-free.sql"});
    Outcome cancelled = vtxctl("store " + shellArg(full) + " --fw1 cancel");
    EXPECT_EQ(cancelled.exit, 3);
    EXPECT_EQ(cancelled.out, "No position for VTX LP680 selected ! No dates stored !\n");
    Outcome none = vtxctl("store " + shellArg(full) + " --fw1 1");
    EXPECT_EQ(none.exit, 3) << "place 1 is not on offer";
    EXPECT_EQ(none.out, "Incorrect Position !\nNo position for VTX LP680 selected ! No dates stored !\n");
    EXPECT_EQ(vtxctl("store " + shellArg(full) + " --fw1 6").exit, 0);
}

TEST_F(VtxctlTest, FiltersAddListAndRemoveAsTheEditorDoes)
{
    std::string db = shellArg(build("filters.mdb", {"customer-filters.sql"}));
    struct Step {
        std::string args;
        int exit;
        std::string out;
    };
    const std::vector<Step> steps = {
        {"filters list " + db, 0,
         "BP 650-710\tBand pass 650-710 nm\nLP 715 OW\tOstwell long pass 715 nm\nNFT 520 OW\tOstwell splitter 520 nm\n"},
        {"filters add " + db + " NAME='LP 600' CODE=C1 SUMMARY='Long 600' TYPE=LP SPECTRAL=LP CUTOFF=600", 0, ""},
        {"filters add " + db + " NAME='LP 600' CODE=C2 SUMMARY='Other' TYPE=LP SPECTRAL=LP CUTOFF=600", 3,
         "No new Filter Name !\n"},
        {"filters add " + db + " NAME=B CODE=C3 SUMMARY=S TYPE=BP SPECTRAL=BP LOWER=500 CENTER=abc UPPER=510", 3,
         "Wavelength value:   Type mismatch: 'abc' is not a number\n"},
        {"filters add " + db + " NAME=B CODE=C3 SUMMARY=S TYPE=BP", 3, "No Spectral Type !\n"},
        {"filters add " + db + " NAME=B CODE=C3 SUMMARY=S TYPE=XX SPECTRAL=BP", 2, "vtxctl: TYPE must be BP, LP, KP or FT\n"},
        {"filters add " + db + " NAME=B CODE=C3 SUMMARY=S TYPE=LP SPECTRAL=LP LOWER=1 CUTOFF=2", 2,
         "vtxctl: give LOWER, CENTER and UPPER or CUTOFF, not both\n"},
        {"filters remove " + db + " 'LP 715 OW'", 3, "LP 715 OW is in 'Available FilterPlacement' !\n"},
        {"filters remove " + db + " 'NFT 520 OW'", 0, ""},
        {"filters remove " + db + " 'LP 560'", 1, "vtxctl: LP 560 is not a filter added by a customer\n"},
        {"filters list " + db, 0,
         "BP 650-710\tBand pass 650-710 nm\nLP 715 OW\tOstwell long pass 715 nm\nLP 600\tLong 600\n"},
    };
    for (const Step& s : steps) {
        Outcome run = vtxctl(s.args);
        EXPECT_EQ(run.exit, s.exit) << s.args << "\n" << run.out;
        EXPECT_EQ(run.out, s.out) << s.args;
    }
    // The long pass went in with its band to 1000 and the emission type.
    dao::Database opened = dao::Database::open(file("filters.mdb"));
    dao::Recordset r = opened.openRecordset(
        "SELECT * FROM [Potential Filters] WHERE [ID Potential] = 'LP 600'", dao::RecordsetType::Snapshot);
    ASSERT_FALSE(r.eof());
    EXPECT_EQ(r.value("Type").text(), "LP-VTX");
    EXPECT_EQ(r.value("Lower Wavelength").number(), 600);
    EXPECT_EQ(r.value("Upper Wavelength").number(), 1000);
}

// Every row of every table as text.
std::string dump(const std::string& path)
{
    dao::Database db = dao::Database::open(path);
    std::string out;
    for (const auto& [table, rows] : test::allRows(db))
        for (const std::string& r : rows)
            out += table + ": " + r + "\n";
    return out;
}

std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);)
        out.push_back(l);
    return out;
}

TEST_F(VtxctlTest, DryRunListsExactlyWhatTheStoreThenChanges)
{
    std::string path = build("System.mdb");
    std::string args = shellArg(path) + " nt1=Nothing can4=None 'VTX_EF5.2=LP 650' reflectedLight='HAL Refl' --yes";
    std::string before = dump(path);
    Outcome dry = vtxctl("store " + args + " --dry-run");
    ASSERT_EQ(dry.exit, 0) << dry.out;
    EXPECT_EQ(dump(path), before) << "a dry run writes nothing";
    std::vector<std::string> listed = lines(dry.out);
    ASSERT_FALSE(listed.empty());
    EXPECT_EQ(listed.front(), "VTX LP680 in FW1. Delete ?");
    listed.erase(listed.begin());
    for (const char* expected : {"[Available FilterPlacement] FW1 place 2: [ID Potential] \"VTX LP680\" \u2192 \"None\"",
                                 "[Available FilterPlacement] VTX_EF5 place 2: [ID Potential] \"LP 560\" \u2192 \"LP 650\"",
                                 "[Available Lamps] HAL Refl: [Status] \"Do not use\" \u2192 \"\""})
        EXPECT_NE(std::find(listed.begin(), listed.end(), expected), listed.end()) << expected << "\n" << dry.out;

    Outcome real = vtxctl("store " + args);
    ASSERT_EQ(real.exit, 0) << real.out;
    // The rows that differ now are exactly the ones listed: one line per changed column.
    dao::Database db = dao::Database::open(path);
    std::vector<std::string> backups = listBackups(path);
    ASSERT_EQ(backups.size(), 1u) << "the store kept a backup";
    EXPECT_EQ(dump(backups.front()), before);
    dao::Database old = dao::Database::open(backups.front());
    std::vector<std::string> written;
    for (const RowChange& c : rowChanges(snapshotTables(old), snapshotTables(db)))
        written.push_back(describe(c));
    EXPECT_EQ(written, listed);
}

TEST_F(VtxctlTest, ARefusedStoresDryRunSaysWhy)
{
    std::string path = build("System.mdb");
    std::string before = dump(path);
    Outcome dry = vtxctl("store " + shellArg(path) + " can2=None --dry-run");
    EXPECT_EQ(dry.exit, 3);
    EXPECT_EQ(dry.out, "VTX3 alone not allowed !\nStore would be refused: VTX3 alone not allowed !\n");
    Outcome cancelled = vtxctl("store " + shellArg(build("full.mdb", {"fw1-no-free.sql"})) + " --dry-run");
    EXPECT_EQ(cancelled.exit, 3);
    EXPECT_NE(cancelled.out.find("Store would be refused: No position for VTX LP680 selected ! No dates stored !"),
              std::string::npos) << cancelled.out;
    EXPECT_EQ(dump(path), before);
}

TEST_F(VtxctlTest, BackupsListWhatChangedAfterEachAndRestorePutsOneBack)
{
    std::string path = build("System.mdb");
    std::string original = dump(path);
    ASSERT_EQ(vtxctl("store " + shellArg(path) + " reflectedLight=None").exit, 0);
    std::string afterFirst = dump(path);
    ASSERT_EQ(vtxctl("store " + shellArg(path) + " transmittedLight=None").exit, 0);

    Outcome listed = vtxctl("backups " + shellArg(path));
    ASSERT_EQ(listed.exit, 0) << listed.out;
    std::vector<std::string> out = lines(listed.out);
    std::vector<std::string> names;
    for (const std::string& l : out)
        if (l.rfind("    ", 0) != 0)
            names.push_back(l.substr(0, l.find("  (")));
    ASSERT_EQ(names.size(), 2u) << listed.out;
    EXPECT_EQ(names[0], std::filesystem::path(listBackups(path)[0]).filename().string());
    EXPECT_NE(listed.out.find("    [Available Lamps] HBO: [Status] \"\" \u2192 \"Do not use\""), std::string::npos) << listed.out;
    EXPECT_NE(listed.out.find("    [Available Lamps] HAL: [Status] \"\" \u2192 \"Do not use\""), std::string::npos) << listed.out;
    EXPECT_LT(listed.out.find("HBO: [Status]"), listed.out.find("HAL: [Status]")) << "oldest first";

    std::string afterSecond = dump(path);
    Outcome restored = vtxctl("restore " + shellArg(path) + " " + shellArg(names[0]));
    EXPECT_EQ(restored.exit, 0) << restored.out;
    EXPECT_EQ(dump(path), original);
    EXPECT_EQ(vtxctl("restore " + shellArg(path) + " nothing.bak").exit, 1);
    EXPECT_EQ(dump(path), original);
    std::vector<std::string> kept = listBackups(path);
    ASSERT_EQ(kept.size(), 3u);
    EXPECT_EQ(dump(kept[1]), afterFirst);
    EXPECT_EQ(dump(kept[2]), afterSecond) << "the state before the restore was kept";
}

TEST_F(VtxctlTest, AChannelWithoutItsDioRowIsReportedMissingAndNotStored)
{
    std::string path = build("System.mdb", {"missing-dio-2.sql"});
    std::string before = dump(path);
    const std::string problem = "No CAN for VTX 2: REG630 is missing from Available DIOs !";
    Outcome shown = vtxctl("show " + shellArg(path));
    EXPECT_EQ(shown.exit, 0);
    EXPECT_NE(shown.out.find("\"can\": [\"CANK\", null, \"CANM\", \"CANB\"]"), std::string::npos) << shown.out;
    EXPECT_NE(shown.out.find(problem), std::string::npos) << shown.out;

    Outcome dry = vtxctl("store " + shellArg(path) + " --dry-run");
    EXPECT_EQ(dry.exit, 3);
    EXPECT_EQ(dry.out, problem + "\nStore would be refused: " + problem + "\n");
    EXPECT_EQ(dry.out.find("\u2192 \"\""), std::string::npos) << "no empty control name";
    EXPECT_EQ(vtxctl("store " + shellArg(path)).exit, 3);
    EXPECT_EQ(dump(path), before);
    EXPECT_TRUE(listBackups(path).empty()) << "a refused Store keeps no backup";
}

TEST_F(VtxctlTest, UndoPutsTheLastStoresRowsBackOrNamesWhatChangedSince)
{
    std::string path = build("System.mdb");
    std::string original = dump(path);
    EXPECT_EQ(vtxctl("undo " + shellArg(path)).out, "There is no Store to undo.\n");
    ASSERT_EQ(vtxctl("store " + shellArg(path) + " reflectedLight=None").exit, 0);
    Outcome undone = vtxctl("undo " + shellArg(path));
    EXPECT_EQ(undone.exit, 0) << undone.out;
    EXPECT_EQ(undone.out, "The last Store was undone.\n");
    Outcome again = vtxctl("undo " + shellArg(path));
    EXPECT_EQ(again.exit, 3);
    EXPECT_EQ(again.out, "There is no Store to undo.\n");

    // Another program writes a row the Store wrote: refused, nothing written, the row named.
    ASSERT_EQ(vtxctl("store " + shellArg(path) + " reflectedLight=None").exit, 0);
    dao::Database::open(path).execute("UPDATE [Available Lamps] SET [Status] = 'Dummy' WHERE [ID Available] = 'HBO'");
    std::string stored = dump(path);
    Outcome refused = vtxctl("undo " + shellArg(path));
    EXPECT_EQ(refused.exit, 3);
    EXPECT_NE(refused.out.find("[Available Lamps] HBO: [Status] Store wrote \"Do not use\", now \"Dummy\""),
              std::string::npos) << refused.out;
    EXPECT_NE(refused.out.find("Nothing was undone."), std::string::npos);
    EXPECT_NE(refused.out.find("vtxctl restore " + path + " " +
                               std::filesystem::path(listBackups(path).back()).filename().string()),
              std::string::npos) << refused.out;
    EXPECT_EQ(dump(path), stored);
}

TEST_F(VtxctlTest, EngineWordsAreDetailsPrintedOnlyWhenVerbose)
{
    std::string path = build("System.mdb");
    dao::Database::open(path).execute("DROP TABLE [Available DIOs]");
    Outcome plain = vtxctl("show " + shellArg(path));
    EXPECT_EQ(plain.exit, 1);
    EXPECT_EQ(plain.out, "Cannot find the table [Available Dios]\n");
    Outcome verbose = vtxctl("--verbose show " + shellArg(path));
    EXPECT_EQ(verbose.exit, 1);
    EXPECT_NE(verbose.out.find("Cannot find the table [Available Dios]\n  details: in \"SELECT * FROM [Available Dios]"),
              std::string::npos) << verbose.out;
    EXPECT_NE(verbose.out.find("no such table: Available Dios"), std::string::npos) << verbose.out;
}

TEST_F(VtxctlTest, DemoMakesADatabaseAndNamesItInTheRegistry)
{
    test::RegistryScope registry(file("registry.db"));
    std::string path = file("demo/System.mdb");
    Outcome made = vtxctl("demo " + shellArg(path));
    ASSERT_EQ(made.exit, 0) << made.out;
    EXPECT_EQ(made.out, path + "\n");
    EXPECT_EQ(tool::databasePath(), path);
    EXPECT_EQ(vtxctl("check " + shellArg(path)).exit, 0);
    Outcome twice = vtxctl("demo " + shellArg(path));
    EXPECT_EQ(twice.exit, 1);
    EXPECT_NE(twice.out.find("already exists"), std::string::npos) << twice.out;
}

} // namespace
} // namespace vyr::vtx
