#include "platform/dao/error.h"
#include "tests/vtx/model/support.h"
#include "vtx/model/checks.h"
#include "vtx/model/command_line.h"
#include "vtx/model/system_check.h"
#include "vtx/model/version.h"

namespace vyr::vtx {
namespace {

TEST(VersionRule, ReadsTheTextAsTenThousandths)
{
    struct Row { const char* text; int32_t number; bool valid; };
    for (Row r : {Row{"2.08", 20800, true}, Row{"2.07", 20700, false}, Row{"2.079", 20790, false},
                  Row{"2.1", 21000, true}, Row{"2.0800", 20800, true}, Row{"3.5", 35000, true},
                  Row{"2.07995", 20800, true}}) {
        int32_t n = versionNumber(dao::Value(r.text));
        EXPECT_EQ(n, r.number) << r.text;
        EXPECT_EQ(!versionProblem(r.text, n), r.valid) << r.text;
    }
    EXPECT_EQ(versionNumber(dao::Value(2.08)), 20800) << "a number column reads the same";
}

TEST(VersionRule, MessageNamesBothVersions)
{
    EXPECT_EQ(versionProblem("2.07", 20700).value(),
              "Current System Database version 2.07 not valid (should be at least 2.08 )!");
}

TEST(VersionRule, TextThatIsNoVersionIsAnError)
{
    for (dao::Value bad : {dao::Value("two"), dao::Value(""), dao::Value(), dao::Value("999999")})
        EXPECT_THROW(versionNumber(bad), dao::DaoError);
}

TEST(SystemCheck, RefusalsAndNotice)
{
    struct Row { const char* scan; const char* fcs; const char* id; const char* refusal; const char* notice; };
    const Row rows[] = {
        {"Scan Head SH-4", "None", "CLS 8", nullptr, nullptr},
        {"LSM veldan", "", "", "Current System Database is for VELDAN !", nullptr},
        {"VELDAN", "QUANTIRO2", "OSTRAL", "Current System Database is for VELDAN !", nullptr},
        {"none", "quantiro2 unit", "", "Current System Database is for FCS only !", nullptr},
        {"NONE", "Quantiro1", "", nullptr, nullptr},
        {"Scan Head", "Quantiro2", "", nullptr, nullptr},
        {"", "", "", nullptr, nullptr},
        {"Scan Head", "", "cls ostral 3", nullptr, "Current System Database is an Ostral !"},
        {"none", "QUANTIRO2", "Ostral", "Current System Database is for FCS only !", nullptr},
    };
    for (const Row& r : rows) {
        SystemVerdict v = checkSystem(r.scan, r.fcs, r.id);
        EXPECT_EQ(v.refusal.value_or(""), r.refusal ? r.refusal : "") << r.scan << "/" << r.fcs;
        EXPECT_EQ(v.notice.value_or(""), r.notice ? r.notice : "") << r.id;
    }
}

TEST(CommandLine, OnlyEmptyOrOneSwitch)
{
    struct Row { const char* line; Launch launch; };
    for (Row r : {Row{"", Launch::Fixed}, Row{"/S", Launch::Selectable}, Row{"/s", Launch::Selectable},
                  Row{"/X", Launch::Invalid}, Row{"/S /S", Launch::Invalid}, Row{"S", Launch::Invalid},
                  Row{" /S", Launch::Invalid}, Row{"-s", Launch::Invalid}})
        EXPECT_EQ(parseCommandLine(r.line), r.launch) << r.line;
    const char* argv[] = {"vtx", "/S", "extra"};
    EXPECT_EQ(joinArguments(1, argv), "");
    EXPECT_EQ(joinArguments(2, argv), "/S");
    EXPECT_EQ(joinArguments(3, argv), "/S extra");
}

class ChecksOnDatabases : public test::SystemDatabases {};

TEST_F(ChecksOnDatabases, MessagesCarryTheCheckCaption)
{
    struct Row { const char* fixture; bool passed; int32_t version; const char* message; };
    const Row rows[] = {
        {nullptr, true, 21000, nullptr},
        {"version-2.08.sql", true, 20800, nullptr},
        {"version-2.1.sql", true, 21000, nullptr},
        {"version-2.07.sql", false, 20700, "Current System Database version 2.07 not valid (should be at least 2.08 )!"},
        {"version-2.079.sql", false, 20790, "Current System Database version 2.079 not valid (should be at least 2.08 )!"},
        {"veldan.sql", false, 21000, "Current System Database is for VELDAN !"},
        {"fcs-only.sql", false, 21000, "Current System Database is for FCS only !"},
        {"no-scan-other-fcs.sql", true, 21000, nullptr},
        {"ostral.sql", true, 21000, "Current System Database is an Ostral !"},
    };
    int n = 0;
    for (const Row& r : rows) {
        std::string path = build("db" + std::to_string(n++) + ".mdb",
                                 r.fixture ? std::vector<std::string>{r.fixture} : std::vector<std::string>{});
        dao::Database db = dao::Database::open(path);
        test::FakeBoxes boxes;
        CheckOutcome out = runChecks(db, boxes);
        std::string label = r.fixture ? r.fixture : "demo";
        EXPECT_EQ(out.passed, r.passed) << label;
        EXPECT_EQ(out.version, r.version) << label;
        if (r.message) {
            ASSERT_EQ(boxes.shown.size(), 1u) << label;
            EXPECT_EQ(boxes.shown[0].text, r.message);
            EXPECT_EQ(boxes.shown[0].caption, "vtx.exe");
            EXPECT_EQ(boxes.shown[0].buttons, Buttons::Ok);
        } else {
            EXPECT_TRUE(boxes.shown.empty()) << label;
        }
    }
}

} // namespace
} // namespace vyr::vtx
