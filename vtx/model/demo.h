#pragma once
// The demo System Database that comes with the tool: built from the schema and demo data the
// package installs (share/vtx beside the programs' folder), kept in the user's data folder,
// and named in the registry store as the System Database.
#include <string>

namespace vyr::vtx {

// The folder of schema.sql and demo.sql: $VTX_DATA_DIR when set, else share/vtx next to the
// running program's folder (<prefix>/bin/../share/vtx; the build tree has the same layout).
std::string dataFolder();

// $XDG_DATA_HOME/vtx/demo/System.mdb, or ~/.local/share/vtx/demo/System.mdb.
std::string demoDatabasePath();

// Builds the demo database at `path` (its folder is created). An existing file is replaced
// when `replace` is set, else refused. Throws dao::DaoError; a failed build leaves `path` as
// it was.
void makeDemoDatabase(const std::string& path, bool replace);

} // namespace vyr::vtx
