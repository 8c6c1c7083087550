#include "tests/vtx/model/support.h"

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

} // namespace
} // namespace vyr::vtx
