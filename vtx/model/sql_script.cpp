#include "vtx/model/sql_script.h"

#include "platform/dao/database.h"
#include "platform/dao/error.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace vyr::vtx {

namespace fs = std::filesystem;
using dao::DaoError;
using dao::ErrorNumber;

namespace {

std::string readScript(const std::string& file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw DaoError(ErrorNumber::FileNotFound, "Could not read the SQL script '" + file + "'");
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace

void createDatabaseFromScripts(const std::string& path, const std::vector<std::string>& scripts)
{
    std::error_code ec;
    if (fs::exists(path, ec))
        throw DaoError(ErrorNumber::AlreadyExists, "The database '" + path + "' already exists");
    std::string building = path + ".building";
    fs::remove(building, ec);
    try {
        dao::Database db = dao::Database::create(building);
        for (const std::string& script : scripts) {
            try {
                db.execute(readScript(script));
            } catch (const DaoError& e) {
                throw DaoError(e.number(), script + ": " + e.description());
            }
        }
        db.close();
        fs::rename(building, path);
    } catch (...) {
        fs::remove(building, ec);
        throw;
    }
}

} // namespace vyr::vtx
