#pragma once
// The folder of System Databases the fault and kill tests work in, with the fault VFS
// installed for the test and disarmed after it.
#include "tests/reliability/faultvfs.h"
#include "tests/reliability/operations.h"
#include "tests/reliability/support.h"
#include "tests/vtx/model/support.h"
#include "vtx/model/backups.h"
#include "vtx/model/undo.h"

namespace vyr::reliability {

class FaultVfsDatabases : public vtx::test::SystemDatabases {
protected:
    void SetUp() override
    {
        SystemDatabases::SetUp();
        installFaultVfs();
    }
    void TearDown() override
    {
        disarmFault();
        SystemDatabases::TearDown();
    }

    // A database just after a Store, with that Store's backup and row changes: `path` is the
    // database, `backup` the backup's file name. undoBeside lays the two beside a copy.
    struct Stored {
        std::string path;
        std::string backup;
    };
    Stored storedDatabase()
    {
        const std::filesystem::path folder = dir_ / "stored";
        std::filesystem::create_directories(folder);
        const std::string path = (folder / "db").string();
        copyFile(build("System.mdb"), path);
        Result r = storeConfiguration(path);
        EXPECT_TRUE(r.ok) << r.message;
        const std::vector<std::string> backups = vtx::listBackups(path);
        EXPECT_EQ(backups.size(), 1u);
        return {path, backups.empty() ? "" : std::filesystem::path(backups.back()).filename().string()};
    }
    static void undoBeside(const Stored& s, const std::string& copy)
    {
        const std::filesystem::path from = std::filesystem::path(s.path).parent_path() / s.backup;
        const std::filesystem::path to = std::filesystem::path(copy).parent_path() / s.backup;
        copyFile(from.string(), to.string());
        copyFile(vtx::undoFile(from.string()), vtx::undoFile(to.string()));
    }
};

} // namespace vyr::reliability
