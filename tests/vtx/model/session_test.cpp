#include "platform/dao/error.h"
#include "tests/vtx/model/support.h"
#include "vtx/model/closing.h"
#include "vtx/model/session.h"

#include <sqlite3.h>

namespace vyr::vtx {
namespace {

namespace fs = std::filesystem;
using test::FakeBoxes;
using test::FakeDialog;

class SessionTest : public test::SystemDatabases {};

TEST_F(SessionTest, StartsOnTheDemo)
{
    std::string path = build("System.mdb");
    std::ofstream(file("new.mdb")) << "left over";
    FakeBoxes boxes;
    Session s(boxes, "");
    EXPECT_EQ(s.start(path), Session::Start::Ready);
    EXPECT_TRUE(boxes.shown.empty()) << boxes.shown[0].text;
    EXPECT_EQ(s.path(), path);
    EXPECT_EQ(s.version(), 21000);
    EXPECT_TRUE(s.database().isOpen());
    EXPECT_FALSE(s.changed());
    EXPECT_FALSE(fs::exists(file("new.mdb")));
}

TEST_F(SessionTest, ACommandLineOtherThanTheSwitchIsRefusedBeforeTheDatabaseIsTouched)
{
    std::string path = build("System.mdb");
    std::string bytes = dao::test::readText(path);
    for (const char* line : {"/X", "/S /S", "s"}) {
        FakeBoxes boxes;
        Session s(boxes, line);
        EXPECT_EQ(s.start(path), Session::Start::Quit) << line;
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(boxes.shown[0].text, "Invalid command line argument");
        EXPECT_EQ(boxes.shown[0].caption, kDefaultCaption);
        EXPECT_FALSE(s.database().isOpen());
        EXPECT_EQ(dao::test::readText(path), bytes);
    }
}

// A refused database ends the tool when it was started without a switch, and leaves it
// open without a diagram with "/S" or "/s".
TEST_F(SessionTest, RefusalStopsOrCarriesOnByCommandLine)
{
    struct Row { const char* fixture; const char* message; };
    const Row rows[] = {
        {"version-2.07.sql", "Current System Database version 2.07 not valid (should be at least 2.08 )!"},
        {"veldan.sql", "Current System Database is for VELDAN !"},
        {"fcs-only.sql", "Current System Database is for FCS only !"},
    };
    int n = 0;
    for (const Row& r : rows) {
        std::string path = build("db" + std::to_string(n++) + ".mdb", {r.fixture});
        for (const char* line : {"", "/S", "/s"}) {
            FakeBoxes boxes;
            Session s(boxes, line);
            Session::Start want = *line ? Session::Start::Restricted : Session::Start::Quit;
            EXPECT_EQ(s.start(path), want) << r.fixture << " '" << line << "'";
            EXPECT_EQ(boxes.texts(), std::vector<std::string>{r.message});
        }
    }
    FakeBoxes boxes;
    Session s(boxes, "");
    EXPECT_EQ(s.start(build("ostral.mdb", {"ostral.sql"})), Session::Start::Ready);
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{"Current System Database is an Ostral !"});
}

// Bad input: one message with the error's description, the tool ends, and nothing is lost.
TEST_F(SessionTest, BadInputGetsItsMessageAndLosesNothing)
{
    std::ofstream(file("text.mdb")) << "Minutes of the service visit, not a database.";
    struct Row { std::string path; std::string mention; };
    const std::vector<Row> rows = {
        {file("missing.mdb"), "Could not find file"},
        {"", "Could not find file ''"},
        {file("text.mdb"), "is not a database"},
        {build("a.mdb", {"no-systems-table.sql"}), "Available Systems"},
        {build("b.mdb", {"no-fcs-column.sql"}), "ID FCS Unit"},
        {build("c.mdb", {"versions-empty.sql"}), "No current record"},
        {build("d.mdb", {"version-text.sql"}), "two point eight"},
        {build("e.mdb", {"version-null.sql"}), "Null"},
    };
    for (const Row& r : rows) {
        std::string before = fs::exists(r.path) ? dao::test::readText(r.path) : "";
        FakeBoxes boxes;
        Session s(boxes, "");
        EXPECT_EQ(s.start(r.path), Session::Start::Quit) << r.path;
        ASSERT_EQ(boxes.shown.size(), 1u) << r.path;
        EXPECT_NE(boxes.shown[0].text.find(r.mention), std::string::npos) << boxes.shown[0].text;
        EXPECT_EQ(boxes.shown[0].caption, kDefaultCaption);
        if (!before.empty()) {
            s.closeDatabase();
            // A database may have been compacted, but its content is the same.
            if (r.path != file("text.mdb"))
                EXPECT_EQ(dao::Database::open(r.path).tableDefs().size(),
                          r.mention == "Available Systems" ? 13u : 14u);
            else
                EXPECT_EQ(dao::test::readText(r.path), before);
        }
    }
}

TEST_F(SessionTest, ALockedDatabaseIsReported)
{
    std::string path = build("System.mdb");
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    FakeBoxes boxes;
    Session s(boxes, "");
    EXPECT_EQ(s.start(path), Session::Start::Quit);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_NE(boxes.shown[0].text.find("locked"), std::string::npos) << boxes.shown[0].text;
    sqlite3_close(other);
}

class BrowseTest : public SessionTest {
protected:
    void SetUp() override
    {
        SessionTest::SetUp();
        first_ = build("first.mdb");
        ASSERT_EQ(session_.start(first_), Session::Start::Ready);
    }
    std::string firstVersion()
    {
        dao::Recordset rs = session_.database().openRecordset("System Versions");
        rs.moveFirst();
        return rs.value("Version Name").text();
    }
    FakeBoxes boxes_;
    FakeDialog dialog_;
    Session session_{boxes_, "/S"};
    std::string first_;
};

TEST_F(BrowseTest, CancelChangesNothing)
{
    dialog_.answer = "";
    EXPECT_EQ(session_.browse(dialog_), Session::Pick::Unchanged);
    EXPECT_EQ(dialog_.offered, std::vector<std::string>{first_}) << "the dialog starts at the current path";
    EXPECT_EQ(session_.path(), first_);
    EXPECT_TRUE(boxes_.shown.empty());
}

TEST_F(BrowseTest, APickThatPassesBecomesTheDatabase)
{
    dialog_.answer = build("second.mdb", {"version-2.08.sql"});
    std::ofstream(file("new.mdb")) << "stale";
    EXPECT_EQ(session_.browse(dialog_), Session::Pick::Loaded);
    EXPECT_EQ(session_.path(), dialog_.answer);
    EXPECT_EQ(session_.database().path(), dialog_.answer);
    EXPECT_EQ(session_.version(), 20800);
    EXPECT_FALSE(fs::exists(file("new.mdb")));
}

TEST_F(BrowseTest, AFailedPickKeepsThePreviousDatabaseAndPath)
{
    std::ofstream(file("text.mdb")) << "not a database at all";
    struct Row { std::string pick; Session::Pick result; std::string message; };
    const std::vector<Row> rows = {
        {build("old.mdb", {"version-2.07.sql"}), Session::Pick::Refused,
         "Current System Database version 2.07 not valid (should be at least 2.08 )!"},
        {build("veldan.mdb", {"veldan.sql"}), Session::Pick::Refused, "Current System Database is for VELDAN !"},
        {file("text.mdb"), Session::Pick::Unchanged, "'" + file("text.mdb") + "' is not a database file"},
        {build("nover.mdb", {"versions-empty.sql"}), Session::Pick::Unchanged, "No current record"},
    };
    for (const Row& r : rows) {
        boxes_.shown.clear();
        session_.setChanged(true);
        dialog_.answer = r.pick;
        EXPECT_EQ(session_.browse(dialog_), r.result) << r.pick;
        EXPECT_EQ(boxes_.texts(), std::vector<std::string>{r.message});
        EXPECT_EQ(session_.path(), first_);
        EXPECT_EQ(session_.database().path(), first_);
        EXPECT_EQ(firstVersion(), "2.10") << "the previous database is still open and usable";
        // A pick refused by a check clears the flag with Store disabled; one that could not be
        // opened changes nothing.
        EXPECT_EQ(session_.changed(), r.result == Session::Pick::Unchanged) << r.pick;
    }
}

TEST_F(BrowseTest, PickingTheOpenDatabaseAgainKeepsItUsable)
{
    dao::Recordset held = session_.database().openRecordset("Available Lamps");
    dialog_.answer = first_;
    EXPECT_EQ(session_.browse(dialog_), Session::Pick::Loaded);
    session_.database().execute("UPDATE [Available Lamps] SET [Status] = 'Do not use' WHERE [ID Available] = 'HAL'");
    dao::Database other = dao::Database::open(first_);
    dao::Recordset rs = other.openRecordset("SELECT * FROM [Available Lamps] WHERE [ID Available] = 'HAL'",
                                            dao::RecordsetType::Snapshot);
    EXPECT_TRUE(rs.value("Status").isText("Do not use")) << "the write reached the file";
}

TEST(Closing, AsksOnlyWhenSomethingChanged)
{
    struct Row { bool changed; std::optional<Answer> answer; CloseAction action; };
    for (Row r : {Row{false, std::nullopt, CloseAction::Close}, Row{true, Answer::Yes, CloseAction::StoreThenClose},
                  Row{true, Answer::No, CloseAction::Close}, Row{true, Answer::Cancel, CloseAction::Stay}}) {
        FakeBoxes boxes;
        if (r.answer)
            boxes.answers.push_back(*r.answer);
        EXPECT_EQ(decideClose(r.changed, boxes), r.action);
        ASSERT_EQ(boxes.shown.size(), r.changed ? 1u : 0u);
        if (r.changed) {
            EXPECT_EQ(boxes.shown[0].text, "Do you want to save the changes you made?");
            EXPECT_EQ(boxes.shown[0].buttons, Buttons::YesNoCancel);
        }
    }
}

} // namespace
} // namespace vyr::vtx
