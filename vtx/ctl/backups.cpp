#include "vtx/ctl/backups.h"

#include "vtx/ctl/output.h"

#include "platform/dao/database.h"
#include "vtx/model/backups.h"
#include "vtx/model/row_changes.h"

#include <filesystem>
#include <iostream>

namespace vyr::vtx::ctl {

namespace {

TableSnapshot snapshotOf(const std::string& path)
{
    dao::Database db = dao::Database::open(path);
    return snapshotTables(db);
}

} // namespace

int listBackupChanges(const std::string& path)
{
    try {
        std::vector<std::string> backups = listBackups(path);
        if (backups.empty())
            return 0;
        TableSnapshot next = snapshotOf(path);
        // Read newest first, each compared with the state that followed it.
        std::vector<std::vector<RowChange>> changes(backups.size());
        for (size_t i = backups.size(); i-- > 0;) {
            TableSnapshot backup = snapshotOf(backups[i]);
            changes[i] = rowChanges(backup, next);
            next = std::move(backup);
        }
        for (size_t i = 0; i < backups.size(); ++i) {
            std::cout << std::filesystem::path(backups[i]).filename().string() << "  (" << changes[i].size()
                      << (changes[i].size() == 1 ? " change" : " changes") << " after it)\n";
            for (const RowChange& c : changes[i])
                std::cout << "    " << describe(c) << "\n";
        }
        return 0;
    } catch (const std::exception& e) {
        printError(e);
        return 1;
    }
}

int restore(const std::string& path, const std::string& backup)
{
    try {
        restoreBackup(path, backup);
        return 0;
    } catch (const std::exception& e) {
        printError(e);
        return 1;
    }
}

} // namespace vyr::vtx::ctl
