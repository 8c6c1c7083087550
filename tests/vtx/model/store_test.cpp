#include "tests/vtx/model/configuration_support.h"
#include "tests/vtx/model/support.h"
#include "platform/dao/error.h"
#include "vtx/model/load.h"
#include "vtx/model/rows.h"
#include "vtx/model/store.h"
#include "vtx/model/version.h"

#include <gtest/gtest.h>
#include <functional>

namespace vyr::vtx {
namespace {

using test::allRows;
using test::changedRows;

class StoreTest : public test::SystemDatabases {
protected:
    void open(const std::vector<std::string>& fixtures = {})
    {
        db_ = dao::Database::open(build("System.mdb", fixtures));
        version_ = versionNumber(db_.openRecordset("System Versions").value("Version Name"));
        editor_.reset(loadConfiguration(db_, version_));
        before_ = allRows(db_);
    }
    StoreResult store() { return storeConfiguration(db_, version_, editor_, boxes_, wheel_); }
    std::string status(const char* table, const char* key) { return rows::status(db_, table, key).value_or("<missing>"); }
    std::string place(const char* holder, int n)
    {
        for (const rows::Place& p : rows::places(db_, rows::holderSql(holder)))
            if (p.position == n)
                return p.name;
        return "<missing>";
    }
    // A refusal or cancel: its message, the database exactly as before, the edits kept.
    void expectNothingStored(StoreResult r, StoreResult expected, const std::string& message)
    {
        EXPECT_EQ(r, expected);
        ASSERT_FALSE(boxes_.texts().empty());
        EXPECT_EQ(boxes_.texts().back(), message);
        EXPECT_EQ(allRows(db_), before_);
        EXPECT_TRUE(editor_.changed());
    }

    dao::Database db_;
    int32_t version_ = 0;
    ConfigurationEditor editor_;
    test::FakeBoxes boxes_;
    test::FakeWheel wheel_;
    test::TableRows before_;
};

TEST_F(StoreTest, StoringTheDemoUnchangedWritesTheSameRowsAndLoadsTheSameDiagram)
{
    open();
    Configuration loaded = editor_.configuration();
    EXPECT_EQ(store(), StoreResult::Completed);
    EXPECT_TRUE(boxes_.shown.empty());
    // NT2 as a cube needs the halogen mirror in the catalogue; nothing else changes.
    EXPECT_EQ(changedRows(before_, allRows(db_)),
              std::vector<std::string>{"Potential Filters: HAL Mirror|FT|<null>|HAL Mirror|<null>|<null>|<null>|<null>|<null>|False|"});
    loaded.splitters.push_back("HAL Mirror");
    EXPECT_EQ(loadConfiguration(db_, version_), loaded);
}

TEST_F(StoreTest, BothPositionsNothingAsksAboutTheWheelSplitterAndRetiresEveryHolder)
{
    open();
    editor_.setNt1(Nt1::Nothing);
    editor_.setNt2(Nt2::Nothing);
    boxes_.answers = {Answer::Yes};
    EXPECT_EQ(store(), StoreResult::Completed);
    ASSERT_EQ(boxes_.shown.size(), 1u);
    EXPECT_EQ(boxes_.shown[0].text, "VTX LP680 in FW1. Delete ?");
    EXPECT_EQ(boxes_.shown[0].buttons, Buttons::YesNo);
    for (const char* k : {"VTX_EF5", "VTX_EF6", "VTX_EF7", "VTX_EF8", "VTX_NT1", "VTX_NT2"})
        EXPECT_EQ(status("Available FilterSets", k), "Do not use") << k;
    for (const char* k : {"REG530", "REG630", "REG730", "REG830"})
        EXPECT_EQ(status("Available DIOs", k), "Do not use") << k;
    EXPECT_EQ(place("FW1", 2), "None");
    EXPECT_EQ(status("Available Interfaces", "CANK"), "Do not use");
    EXPECT_EQ(*rows::field(db_, "Available Point Detectors", "PmtD", "Detector Type"), "Transmission");
    EXPECT_FALSE(editor_.changed());
    EXPECT_EQ(editor_.configuration().lp680Text, "");
    // The diagram after a reload matches what was stored.
    Configuration again = loadConfiguration(db_, version_);
    EXPECT_EQ(again.nt1, Nt1::Nothing);
    EXPECT_EQ(again.nt2, Nt2::Nothing);
}

TEST_F(StoreTest, RefusalsLeaveTheDatabaseExactlyAsItWas)
{
    struct Row { std::vector<std::pair<int, const char*>> cans; Nt2 nt2; std::string message; };
    std::vector<Row> table{
        {{{2, "None"}}, Nt2::Cube, "VTX3 alone not allowed !"},
        {{{3, "CANL"}}, Nt2::Cube, "CANL isn't unique !"},
        {{{1, "None"}}, Nt2::Cube, "VTX4 alone not allowed !"},
        {{{2, "None"}, {3, "None"}}, Nt2::Cube, "No CAN for VTX_NT1 !"},
        {{{1, "None"}, {4, "None"}}, Nt2::Cube, "No CAN for VTX_NT2 !"},
        {{{1, "None"}}, Nt2::Mirror, "CAN for Transmission not available !"},
    };
    for (const Row& r : table) {
        SCOPED_TRACE(r.message);
        TearDown();
        SetUp();
        boxes_.shown.clear();
        open();
        editor_.setNt2(r.nt2);
        for (auto [n, can] : r.cans)
            editor_.setCan(n, can);
        Configuration edited = editor_.configuration();
        expectNothingStored(store(), StoreResult::Refused, r.message);
        EXPECT_EQ(editor_.configuration(), edited) << "the form keeps what the user chose";
    }
}

TEST_F(StoreTest, Version208PlacesTheSplitterForNt2AloneWhereLaterVersionsOfferToDeleteIt)
{
    open({"fw1-without-splitter.sql", "version-2.08.sql"});
    editor_.setNt1(Nt1::Nothing);
    EXPECT_EQ(store(), StoreResult::Completed);
    EXPECT_TRUE(boxes_.shown.empty());
    EXPECT_EQ(place("FW1", 2), "VTX LP680") << "the first free place after place 1";
    EXPECT_EQ(editor_.configuration().lp680Text, "VTX LP680");

    TearDown();
    SetUp();
    open();   // 2.10 with the splitter in the wheel
    editor_.setNt1(Nt1::Nothing);
    boxes_.answers = {Answer::No};
    EXPECT_EQ(store(), StoreResult::Completed);
    EXPECT_EQ(boxes_.texts(), std::vector<std::string>{"VTX LP680 in FW1. Delete ?"});
    EXPECT_EQ(place("FW1", 2), "VTX LP680") << "answered No";
    EXPECT_EQ(*rows::field(db_, "Available Systems", "CLS 8 VTX", "VTX"), "False");
}

TEST_F(StoreTest, TwoFreeWheelPlacesWithTheFirstAtPlace1UseTheSecond)
{
    open({"fw1-two-free-first-at-1.sql"});
    EXPECT_EQ(store(), StoreResult::Completed);
    EXPECT_EQ(wheel_.shown, 0);
    EXPECT_EQ(place("FW1", 1), "None");
    EXPECT_EQ(place("FW1", 4), "VTX LP680");
    EXPECT_EQ(*rows::field(db_, "Available Systems", "CLS 8 VTX", "VTX"), "True");
}

TEST_F(StoreTest, NoFreeWheelPlaceAsksTheDialog)
{
    open({"fw1-no-free.sql"});
    editor_.setChanged(true);
    expectNothingStored(store(), StoreResult::Cancelled, "No position for VTX LP680 selected ! No dates stored !");
    EXPECT_EQ(wheel_.shown, 1);

    boxes_.shown.clear();
    wheel_.place = "4";
    EXPECT_EQ(store(), StoreResult::Completed);
    EXPECT_EQ(place("FW1", 4), "VTX LP680") << "the chosen filter is replaced";
    EXPECT_TRUE(boxes_.shown.empty());
    EXPECT_FALSE(editor_.changed());
}

TEST_F(StoreTest, TheWheelDialogRefusesEmptyWrongAndNonePlaces)
{
    open({"fw1-without-splitter.sql"});
    FilterWheelChoice choice(db_);
    ASSERT_EQ(choice.items().size(), 5u) << "five places on offer, place 1 is not";
    EXPECT_EQ(choice.items()[0], "2   None") << "numbered by the place itself";
    EXPECT_EQ(choice.items()[1], "3   FT 488/543");
    EXPECT_EQ(choice.positionText(1), "3");
    struct Row { std::string typed; std::string message; };
    for (const Row& r : std::vector<Row>{{"", "No position select !"}, {"0", "Incorrect Position !"},
                                         {"1", "Incorrect Position !"}, {"7", "Incorrect Position !"},
                                         {"x", "Incorrect Position !"},
                                         {"4", "Position is None for QSX-Mode !"}}) {
        EXPECT_FALSE(choice.accept(r.typed, boxes_)) << r.typed;
        EXPECT_EQ(boxes_.texts().back(), r.message) << r.typed;
    }
    EXPECT_EQ(choice.accept("3", boxes_), 3);
    EXPECT_EQ(allRows(db_), before_) << "the dialog only chooses; Store writes";
}

TEST_F(StoreTest, ADatabaseErrorRollsBackEverything)
{
    open();
    editor_.setCan(4, "None");
    editor_.setNt2(Nt2::Mirror);
    db_.execute("DROP TABLE [Available Lamps]");
    before_ = allRows(db_);
    EXPECT_THROW(store(), dao::DaoError);
    EXPECT_EQ(allRows(db_), before_);
    EXPECT_TRUE(editor_.changed());
}

TEST_F(StoreTest, TheReflectedHalogenLampIsKeyedWithItsBlank)
{
    open();
    editor_.setLight(LightSide::Reflected, 1);
    EXPECT_EQ(store(), StoreResult::Completed);
    EXPECT_EQ(status("Available Lamps", "HAL Refl"), "");
    EXPECT_EQ(status("Available Lamps", "HBO"), "Do not use");
    editor_.setLight(LightSide::Reflected, 2);
    EXPECT_EQ(store(), StoreResult::Completed);
    EXPECT_EQ(status("Available Lamps", "HAL Refl"), "Do not use");
    EXPECT_EQ(status("Available Lamps", "HBO"), "");
}

// Message boxes that run `whileOpen` while a question waits for its answer.
class ThinkingBoxes : public test::FakeBoxes {
public:
    Answer show(const std::string& text, const std::string& caption, Buttons buttons) override
    {
        if (buttons != Buttons::Ok && whileOpen)
            whileOpen();
        return FakeBoxes::show(text, caption, buttons);
    }
    std::function<void()> whileOpen;
};

class StoreWhileTheUserThinksTest : public StoreTest {
protected:
    // What the instrument software does meanwhile, on a connection of its own. A lock held
    // by the store would make it fail with "locked" after the busy timeout.
    void otherProgramWrites(const std::string& sql)
    {
        dao::Database other = dao::Database::open(db_.path());
        other.execute(sql);
    }
};

TEST_F(StoreWhileTheUserThinksTest, AnOpenDialogOrQuestionDoesNotBlockAnotherWriter)
{
    open({"fw1-no-free.sql"});
    wheel_.place = "4";
    wheel_.whileOpen = [&] {
        EXPECT_NO_THROW(otherProgramWrites("UPDATE [Available Lamps] SET [Summary] = 'written meanwhile' WHERE [ID Available] = 'HBO'"));
    };
    EXPECT_EQ(store(), StoreResult::Completed);
    EXPECT_EQ(wheel_.shown, 1);
    EXPECT_EQ(place("FW1", 4), "VTX LP680");
    EXPECT_EQ(*rows::field(db_, "Available Lamps", "HBO", "Summary"), "written meanwhile");

    // The same for Store's question: both positions "Nothing" with the splitter in the wheel.
    TearDown();
    SetUp();
    open();
    ThinkingBoxes boxes;
    boxes.answers = {Answer::Yes};
    boxes.whileOpen = [&] {
        EXPECT_NO_THROW(otherProgramWrites("UPDATE [Available Lamps] SET [Summary] = 'meanwhile' WHERE [ID Available] = 'HAL'"));
    };
    editor_.setNt1(Nt1::Nothing);
    editor_.setNt2(Nt2::Nothing);
    EXPECT_EQ(storeConfiguration(db_, version_, editor_, boxes, wheel_), StoreResult::Completed);
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{"VTX LP680 in FW1. Delete ?"});
    EXPECT_EQ(place("FW1", 2), "None");
    EXPECT_EQ(*rows::field(db_, "Available Lamps", "HAL", "Summary"), "meanwhile");
}

TEST_F(StoreWhileTheUserThinksTest, AWheelChangedMeanwhileRefusesTheStoreAndWritesNothing)
{
    open({"fw1-no-free.sql"});
    editor_.setLight(LightSide::Reflected, 1);   // something Store would write
    wheel_.place = "4";
    test::TableRows afterOther;
    wheel_.whileOpen = [&] {
        otherProgramWrites("UPDATE [Available FilterPlacement] SET [ID Potential] = 'FT 561' WHERE [ID Available] = 'FW1' AND [Position] = 6");
        afterOther = allRows(db_);
    };
    EXPECT_EQ(store(), StoreResult::Outdated);
    EXPECT_EQ(boxes_.texts().back(), kOutdatedMessage);
    EXPECT_EQ(allRows(db_), afterOther) << "only the other program's change";
    EXPECT_TRUE(editor_.changed());
    EXPECT_EQ(editor_.configuration().reflectedLight, 1);

    // Answered No to the question while the splitter was moved: refused as well.
    TearDown();
    SetUp();
    open();
    ThinkingBoxes boxes;
    boxes.answers = {Answer::No};
    boxes.whileOpen = [&] {
        otherProgramWrites("UPDATE [Available FilterPlacement] SET [ID Potential] = 'VTX LP680' WHERE [ID Available] = 'FW1' AND [Position] = 6");
        afterOther = allRows(db_);
    };
    editor_.setNt1(Nt1::Nothing);
    editor_.setNt2(Nt2::Nothing);
    EXPECT_EQ(storeConfiguration(db_, version_, editor_, boxes, wheel_), StoreResult::Outdated);
    EXPECT_EQ(allRows(db_), afterOther);
}

TEST_F(StoreWhileTheUserThinksTest, TheQuestionComesBeforeARefusalAsStoreAlwaysAsked)
{
    open();
    editor_.setNt1(Nt1::Nothing);
    editor_.setNt2(Nt2::Mirror);
    editor_.setCan(1, "None");
    boxes_.answers = {Answer::Yes};
    EXPECT_EQ(store(), StoreResult::Refused);
    EXPECT_EQ(boxes_.texts(), (std::vector<std::string>{"VTX LP680 in FW1. Delete ?", "CAN for Transmission not available !"}));
    EXPECT_EQ(allRows(db_), before_);
}

// The dry run lists exactly what the store then writes, and writes nothing itself.
TEST_F(StoreTest, ThePreviewListsExactlyTheRowsTheStoreChanges)
{
    struct Row {
        const char* name;
        std::vector<std::string> fixtures;
        std::function<void(ConfigurationEditor&)> edit;
        std::string wheelPlace;
        Answer answer;
    };
    std::vector<Row> table{
        {"unchanged demo", {}, [](ConfigurationEditor&) {}, "cancel", Answer::No},
        {"both nothing, splitter deleted", {}, [](ConfigurationEditor& e) { e.setNt1(Nt1::Nothing); e.setNt2(Nt2::Nothing); }, "cancel", Answer::Yes},
        {"mirror, manual", {}, [](ConfigurationEditor& e) { e.setNt2(Nt2::Mirror); e.setManualMirror(true); }, "cancel", Answer::No},
        {"dialog place, filters", {"fw1-no-free.sql"}, [](ConfigurationEditor& e) { e.setPlacement("VTX_EF6", 1, "LP 560"); e.setLight(LightSide::Reflected, 1); }, "4", Answer::No},
    };
    for (const Row& r : table) {
        SCOPED_TRACE(r.name);
        TearDown();
        SetUp();
        boxes_.shown.clear();
        open(r.fixtures);
        r.edit(editor_);
        wheel_.place = r.wheelPlace;
        boxes_.answers = {r.answer};
        StorePlan plan = planStore(db_, version_, editor_.configuration(), boxes_, wheel_);
        ASSERT_EQ(plan.result, StoreResult::Completed);
        std::vector<RowChange> preview = previewStore(db_, version_, editor_.configuration(), plan);
        EXPECT_EQ(allRows(db_), before_) << "the preview wrote nothing";
        TableSnapshot snapBefore = snapshotTables(db_);
        ASSERT_EQ(writeStore(db_, version_, editor_, plan, boxes_), StoreResult::Completed);
        EXPECT_EQ(rowChanges(snapBefore, snapshotTables(db_)), preview);
        EXPECT_EQ(preview.empty(), allRows(db_) == before_);
    }
}

TEST_F(StoreTest, RowChangesNameTableKeyColumnAndBothValues)
{
    open();
    editor_.setCan(4, "None");
    editor_.setCan(1, "None");
    editor_.setNt2(Nt2::Nothing);
    StorePlan plan = planStore(db_, version_, editor_.configuration(), boxes_, wheel_);
    std::vector<std::string> lines;
    for (const RowChange& c : previewStore(db_, version_, editor_.configuration(), plan))
        lines.push_back(describe(c));
    auto has = [&](const std::string& line) { return std::find(lines.begin(), lines.end(), line) != lines.end(); };
    EXPECT_TRUE(has("[Available FilterSets] VTX_EF5: [Status] \"\" \u2192 \"Do not use\""));
    EXPECT_TRUE(has("[Available DIOs] REG830: [Control] \"CANB\" \u2192 \"None\""));
    EXPECT_TRUE(has("[Available Point Detectors] PmtD: [Detector Type] \"VTX\" \u2192 \"Transmission\""));
    EXPECT_FALSE(has("[Available FilterSets] VTX_EF6: [Status] \"\" \u2192 \"Do not use\"")) << "NT1 stays";

    // A row that appears lists the columns it fills; a missing row shows as such.
    TableSnapshot a = snapshotTables(db_);
    db_.execute("INSERT INTO [Potential Filters] ([ID Potential], [Type]) VALUES ('X 1', 'FT')");
    db_.execute("DELETE FROM [Available Lamps] WHERE [ID Available] = 'HAL'");
    std::vector<RowChange> changes = rowChanges(a, snapshotTables(db_));
    std::vector<std::string> texts;
    for (const RowChange& c : changes)
        texts.push_back(describe(c));
    EXPECT_NE(std::find(texts.begin(), texts.end(), "[Potential Filters] X 1: [Type] (no row) \u2192 \"FT\""), texts.end());
    EXPECT_NE(std::find(texts.begin(), texts.end(), "[Available Lamps] HAL: [ID Available] \"HAL\" \u2192 (row removed)"), texts.end());
}

} // namespace
} // namespace vyr::vtx
