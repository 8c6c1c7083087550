#include "vtx/model/demo.h"

#include "platform/dao/error.h"
#include "vtx/model/sql_script.h"

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace vyr::vtx {

namespace fs = std::filesystem;

namespace {

std::string programFolder()
{
    std::error_code ec;
    fs::path self = fs::read_symlink("/proc/self/exe", ec);
    return ec ? std::string(".") : self.parent_path().string();
}

} // namespace

std::string dataFolder()
{
    if (const char* dir = std::getenv("VTX_DATA_DIR"); dir && *dir)
        return dir;
    return (fs::path(programFolder()).parent_path() / "share" / "vtx").string();
}

std::string demoDatabasePath()
{
    fs::path base;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg == '/')
        base = xdg;
    else if (const char* home = std::getenv("HOME"); home && *home)
        base = fs::path(home) / ".local" / "share";
    else
        base = ".";
    return (base / "vtx" / "demo" / "System.mdb").string();
}

void makeDemoDatabase(const std::string& path, bool replace)
{
    std::error_code ec;
    if (fs::exists(path, ec) && !replace)
        throw dao::DaoError(dao::ErrorNumber::AlreadyExists, "The database '" + path + "' already exists");
    fs::path target(path);
    if (target.has_parent_path()) {
        fs::create_directories(target.parent_path(), ec);
        if (ec)
            throw dao::DaoError(dao::ErrorNumber::IoError,
                                "Cannot create the folder '" + target.parent_path().string() + "': " + ec.message());
    }
    const fs::path data(dataFolder());
    const std::string fresh = path + ".demo";
    fs::remove(fresh, ec);
    createDatabaseFromScripts(fresh, {(data / "schema.sql").string(), (data / "demo.sql").string()});
    fs::rename(fresh, path, ec);
    if (ec) {
        fs::remove(fresh, ec);
        throw dao::DaoError(dao::ErrorNumber::IoError, "Cannot put the demo database at '" + path + "'");
    }
}

} // namespace vyr::vtx
