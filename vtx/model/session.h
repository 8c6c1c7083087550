#pragma once
// The tool's program-wide state and its start-up: the command line, the one open System
// Database shared by all forms, its version, and the path the main form shows. Start and
// Browse compact, open and check a database; the window acts on what they return.
#include "platform/dao/database.h"
#include "vtx/model/command_line.h"
#include "vtx/model/compaction.h"
#include "vtx/model/messages.h"

#include <cstdint>
#include <string>

namespace vyr::vtx {

class Session {
public:
    Session(MessageBoxes& boxes, std::string commandLine, CompactionObserver observe = {});

    enum class Start {
        Ready,        // the database is open and checked: load the diagram
        Restricted,   // refused by a check with a non-empty command line: show no diagram
        Quit,         // close the tool (as Close does)
    };
    // Refuses a bad command line first, then compacts, opens and checks the database at
    // `path`. Every failure has shown its message.
    Start start(const std::string& path);

    enum class Pick {
        Unchanged,   // cancelled, or the pick could not be opened: all stays as it was
        Refused,     // the pick failed a check: the previous database and path stay
        Loaded,      // the pick is now the open database: load the diagram
    };
    Pick browse(FileDialog& dialog);

    Launch launch() const { return launch_; }
    const std::string& commandLine() const { return commandLine_; }
    const std::string& path() const { return path_; }   // what the Database box shows
    dao::Database& database() { return db_; }
    int32_t version() const { return version_; }
    bool changed() const { return changed_; }
    // Why the open database cannot be written (a read-only file or folder); empty when it can.
    // Such a database is opened as it is, without compaction, and the form shows it read-only.
    const std::string& readOnlyNote() const { return readOnlyNote_; }
    void setChanged(bool changed) { changed_ = changed; }
    void closeDatabase() { db_.close(); }
    // Opens the database at path() again, as it is (after a restore replaced the file under the
    // closed connection). Throws dao::DaoError when it cannot be opened.
    void reopen() { db_ = dao::Database::open(path_); }

private:
    // Compaction (unless `path` is the open database itself), then the open.
    dao::Database openCompacted(const std::string& path);

    MessageBoxes& boxes_;
    std::string commandLine_;
    Launch launch_;
    CompactionObserver observe_;
    std::string path_;
    dao::Database db_;
    int32_t version_ = 0;
    bool changed_ = false;
    std::string readOnlyNote_;
};

} // namespace vyr::vtx
