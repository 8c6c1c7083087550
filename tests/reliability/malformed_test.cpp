// Malformed and unreachable System Databases: what vtxctl prints, its exit code, and the file
// untouched (same bytes before and after) — for the start-up checks and for a write.
#include "tests/reliability/support.h"
#include "tests/tools/runprocess.h"
#include "tests/vtx/model/support.h"

#include <functional>
#include <optional>
#include <sys/wait.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sqlite3.h>
#include <sys/stat.h>

namespace vyr::reliability {
namespace {

namespace fs = std::filesystem;
using tools::test::ProcessResult;
using tools::test::runProcess;

// Root passes every permission check: read-only cases then run vtxctl as "nobody", owning the
// files, so that only the modes stand in its way.
struct RunAs {
    bool drop = geteuid() == 0;
    uid_t uid = 65534;
    gid_t gid = 65534;
    RunAs()
    {
        if (const passwd* p = getpwnam("nobody")) {
            uid = p->pw_uid;
            gid = p->pw_gid;
        }
    }
    void own(const fs::path& p) const
    {
        if (drop && ::chown(p.c_str(), uid, gid) != 0)
            ADD_FAILURE() << "chown " << p;
    }
    ProcessResult vtxctl(const std::vector<std::string>& args, bool unprivileged) const
    {
        if (!drop || !unprivileged)
            return runProcess(VTXCTL_PROGRAM, args);
        std::vector<std::string> all{"--reuid=" + std::to_string(uid), "--regid=" + std::to_string(gid),
                                     "--clear-groups", VTXCTL_PROGRAM};
        all.insert(all.end(), args.begin(), args.end());
        return runProcess("/usr/bin/setpriv", all);
    }
};

class MalformedTest : public vtx::test::SystemDatabases {};

// Another program holding the database locked (an exclusive transaction with a change pending)
// until released. A process of its own: POSIX locks are the process's, and any close of the
// file in the test (a checksum) would drop a lock the test held itself.
class LockHolder {
public:
    void hold(const std::string& path)
    {
        int ready[2], release[2];
        if (pipe(ready) != 0 || pipe(release) != 0)
            throw std::runtime_error("pipe");
        pid_ = fork();
        if (pid_ == 0) {
            ::close(ready[0]);
            ::close(release[1]);   // else the read below never sees the test let go
            sqlite3* db = nullptr;
            sqlite3_open(path.c_str(), &db);
            const int rc = sqlite3_exec(db, "BEGIN EXCLUSIVE; UPDATE [System Versions] SET [Summary] = [Summary]",
                                        nullptr, nullptr, nullptr);
            char c = rc == SQLITE_OK ? 'y' : 'n';
            (void)!write(ready[1], &c, 1);
            (void)!read(release[0], &c, 1);   // until the test lets go
            ::_exit(0);
        }
        char c = 'n';
        (void)!read(ready[0], &c, 1);
        ::close(ready[0]);
        ::close(ready[1]);
        ::close(release[0]);
        release_ = release[1];
        if (c != 'y')
            ADD_FAILURE() << "the lock was not taken";
    }
    ~LockHolder()
    {
        if (pid_ <= 0)
            return;
        ::close(release_);   // the holder's read returns: it exits without committing
        int status = 0;
        waitpid(pid_, &status, 0);
    }

private:
    pid_t pid_ = -1;
    int release_ = -1;
};

// A copy of the demo database at `p`, changed by `sql`.
std::string demoCopy(const std::string& demo, const fs::path& p, const std::string& sql = "")
{
    fs::copy_file(demo, p);
    if (!sql.empty())
        dao::Database::open(p.string()).execute(sql);
    return p.string();
}

constexpr int kNotRun = -100;

struct Case {
    const char* name;
    // Makes the database at the path given (inside its own folder) from the demo database;
    // returns the path to use.
    std::function<std::string(const std::string& demo, const fs::path&)> make;
    int checkExit;
    const char* checkSays;   // part of what `vtxctl check` prints
    int addExit;             // kNotRun where the defect does not concern the filter catalogue
    const char* addSays;     // part of what `vtxctl filters add` prints
    bool unprivileged = false;
    // A sound SQLite file: the start compacts it before its checks refuse it, which rewrites
    // the bytes but must keep the content.
    bool compacted = false;
};

TEST_F(MalformedTest, EachIsReportedAndLeftUntouched)
{
    const RunAs as;
    std::optional<LockHolder> holder;
    const std::vector<Case> cases = {
        {"not a database",
         [](const std::string&, const fs::path& p) { std::ofstream(p) << std::string(5000, 'x'); return p.string(); },
         1, "is not a database file", 1, "is not a database file"},
        {"zero length",
         [](const std::string&, const fs::path& p) { std::ofstream{p}; return p.string(); },
         1, "Cannot find the table [System Versions]", 1, "Cannot find the table [Potential Filters]"},
        {"truncated",
         [](const std::string& demo, const fs::path& p) {
             demoCopy(demo, p);
             fs::resize_file(p, fs::file_size(p) / 2);
             return p.string();
         },
         1, "is damaged", 1, "is damaged"},
        {"missing table",
         [](const std::string& demo, const fs::path& p) { return demoCopy(demo, p, "DROP TABLE [Available Systems]; VACUUM"); },
         1, "Cannot find the table [Available Systems]", kNotRun, "", false, true},
        {"missing column",
         [](const std::string& demo, const fs::path& p) { return demoCopy(demo, p, "ALTER TABLE [System Versions] DROP COLUMN [Version Name]; VACUUM"); },
         1, "no field [Version Name] in [System Versions]", kNotRun, "", false, true},
        {"wrong column type",
         [](const std::string& demo, const fs::path& p) { return demoCopy(demo, p, "UPDATE [System Versions] SET [Version Name] = X'00FF10'; VACUUM"); },
         1, "Type mismatch: '\\x00\xFF\\x10' is not a number", kNotRun, "", false, true},
        {"locked by another process",
         [&holder](const std::string& demo, const fs::path& p) {
             demoCopy(demo, p);
             holder.emplace().hold(p.string());
             return p.string();
         },
         1, "is locked by another user or program", 1, "is locked by another user or program"},
        {"read-only file",
         [&as](const std::string& demo, const fs::path& p) {
             demoCopy(demo, p);
             as.own(p.parent_path());
             as.own(p);
             fs::permissions(p, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
             return p.string();
         },
         4, "The System Database is read-only: it is shown, but nothing can be stored.", 1, "The new filters were not written and are kept", true},
        {"read-only folder",
         [&as](const std::string& demo, const fs::path& p) {
             demoCopy(demo, p);
             as.own(p.parent_path());
             as.own(p);
             fs::permissions(p.parent_path(), fs::perms::owner_read | fs::perms::owner_exec |
                                                  fs::perms::group_read | fs::perms::group_exec |
                                                  fs::perms::others_read | fs::perms::others_exec);
             return p.string();
         },
         4, "The folder of the System Database is read-only", 1, "The new filters were not written and are kept", true},
        {"a folder",
         [](const std::string&, const fs::path& p) { fs::create_directories(p); return p.string(); },
         1, "is a folder, not a database file", 1, "is a folder, not a database file"},
    };
    const std::string demo = build("demo.mdb");
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path folder = dir_ / ("case-" + std::to_string(n++));
        fs::create_directories(folder);
        const std::string path = c.make(demo, folder / "System.mdb");
        const uint64_t sum = checksumOf(path);
        const std::string content = c.compacted ? contentOf(path) : "";
        const auto files = strayFiles(folder, {});

        ProcessResult check = as.vtxctl({"check", path}, c.unprivileged);
        ProcessResult add;
        if (c.addExit != kNotRun)
            add = as.vtxctl({"filters", "add", path, "NAME=LP 600-X", "CODE=X600", "SUMMARY=long pass 600", "TYPE=LP",
                             "SPECTRAL=LP", "CUTOFF=600"},
                            c.unprivileged);
        std::cout << "| " << c.name << " | check " << check.exitCode << ": " << check.out << check.err
                  << " | add " << add.exitCode << ": " << add.out << add.err << " |\n";
        EXPECT_EQ(check.exitCode, c.checkExit) << check.out << check.err;
        EXPECT_NE((check.out + check.err).find(c.checkSays), std::string::npos) << check.out << check.err;
        if (c.addExit != kNotRun) {
            EXPECT_EQ(add.exitCode, c.addExit) << add.out << add.err;
            EXPECT_NE((add.out + add.err).find(c.addSays), std::string::npos) << add.out << add.err;
        }
        if (c.compacted)
            EXPECT_EQ(contentOf(path), content) << "the content changed";
        else
            EXPECT_EQ(checksumOf(path), sum) << "the file changed";
        EXPECT_EQ(strayFiles(folder, {}), files) << "files appeared or went";

        holder.reset();
        fs::permissions(folder, fs::perms::owner_all);
    }
}

} // namespace
} // namespace vyr::reliability
