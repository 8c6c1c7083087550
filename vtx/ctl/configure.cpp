#include "vtx/ctl/configure.h"

#include "vtx/ctl/output.h"

#include "platform/dao/database.h"
#include "vtx/model/changes.h"
#include "vtx/model/checks.h"
#include "vtx/model/config_json.h"
#include "vtx/model/demo.h"
#include "vtx/model/access.h"
#include "vtx/model/backups.h"
#include "vtx/model/tool.h"
#include "vtx/model/load.h"
#include "vtx/model/printed_messages.h"
#include "vtx/model/session.h"
#include "vtx/model/store_undo.h"
#include "vtx/model/version.h"

#include <filesystem>
#include <iostream>

namespace vyr::vtx::ctl {

namespace {

// Prints every message; the question gets the answer the command line gave.
class ScriptedMessages : public MessageBoxes {
public:
    explicit ScriptedMessages(bool yes) : printed_(std::cout, detailsStream()), yes_(yes) {}
    Answer show(const std::string& text, const std::string& caption, Buttons buttons) override
    {
        return showDetailed(text, {}, caption, buttons);
    }
    Answer showDetailed(const std::string& text, const std::string& details, const std::string& caption,
                        Buttons buttons) override
    {
        printed_.showDetailed(text, details, caption, Buttons::Ok);
        if (buttons == Buttons::Ok)
            return Answer::Ok;
        return yes_ ? Answer::Yes : Answer::No;
    }

private:
    PrintedMessages printed_;
    bool yes_;
};

// The filter-wheel dialog with one place typed and OK pressed once; a refused place leaves the
// dialog to be closed, which counts as cancelled.
class ScriptedWheel : public FilterWheelDialog {
public:
    explicit ScriptedWheel(std::string place) : place_(std::move(place)) {}
    std::optional<int> choosePlace(dao::Database& db, MessageBoxes& boxes) override
    {
        if (place_ == "cancel")
            return std::nullopt;
        return FilterWheelChoice(db).accept(place_, boxes);
    }

private:
    std::string place_;
};

} // namespace

std::optional<StoreOptions> parseStoreOptions(const std::vector<std::string>& args)
{
    StoreOptions o;
    bool answered = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--yes" || a == "--no") {
            if (answered)
                return std::nullopt;
            answered = true;
            o.yes = a == "--yes";
        } else if (a == "--dry-run") {
            o.dryRun = true;
        } else if (a == "--fw1") {
            if (++i == args.size())
                return std::nullopt;
            o.fw1 = args[i];
        } else if (a.rfind("--", 0) == 0) {
            return std::nullopt;
        } else {
            o.changes.push_back(a);
        }
    }
    return o;
}

int show(const std::string& path)
{
    try {
        dao::Database db = dao::Database::open(path);
        int32_t version = versionNumber(db.openRecordset("System Versions").value("Version Name"));
        std::cout << configurationJson(loadConfiguration(db, version));
        return 0;
    } catch (const std::exception& e) {
        printError(e);
        return 1;
    }
}

int store(const std::string& path, const StoreOptions& o)
{
    ScriptedMessages messages(o.yes);
    Session session(messages, "");
    dao::Database own;
    dao::Database* db = nullptr;
    int32_t version = 0;
    if (o.dryRun) {
        // Opened and checked as the start-up does, but not compacted: a dry run leaves the file alone.
        try {
            own = dao::Database::open(path);
            CheckOutcome checked = runChecks(own, messages);
            if (!checked.passed)
                return 1;
            db = &own;
            version = checked.version;
        } catch (const std::exception& e) {
            messages.report(e);
            return 1;
        }
    } else {
        if (session.start(path) != Session::Start::Ready)   // compacted, opened and checked
            return 1;
        if (!session.readOnlyNote().empty()) {
            messages.inform(session.readOnlyNote());
            return 3;
        }
        db = &session.database();
        version = session.version();
    }
    try {
        ConfigurationEditor editor(loadConfiguration(*db, version));
        for (const std::string& change : o.changes) {
            std::string problem = applyChange(editor, change);
            if (!problem.empty()) {
                std::cerr << "vtxctl: " << problem << "\n";
                return 2;
            }
        }
        ScriptedWheel wheel(o.fw1);
        StorePlan plan = planStore(*db, version, editor.configuration(), messages, wheel);
        if (o.dryRun) {
            if (plan.result != StoreResult::Completed) {
                std::cout << "Store would be refused: " << plan.message << "\n";
                return 3;
            }
            for (const RowChange& c : previewStore(*db, version, editor.configuration(), plan))
                std::cout << describe(c) << "\n";
            return 0;
        }
        StoreResult r = storeKeepingUndo(*db, version, editor, plan, messages);
        return r == StoreResult::Completed ? 0 : 3;
    } catch (const std::exception& e) {
        messages.report(e);
        return 1;
    }
}

int undo(const std::string& path)
{
    PrintedMessages messages(std::cout, detailsStream());
    try {
        std::vector<std::string> backups = listBackups(path);
        if (backups.empty()) {
            messages.inform(kNothingToUndo);
            return 3;
        }
        if (std::string note = readOnlyNote(databaseAccess(path)); !note.empty()) {
            messages.inform(note);
            return 3;
        }
        dao::Database db = dao::Database::open(path);
        UndoAttempt attempt = undoStore(db, backups.back());
        switch (attempt.result) {
        case UndoResult::Undone:
            messages.inform("The last Store was undone.");
            return 0;
        case UndoResult::NothingToUndo:
            messages.inform(kNothingToUndo);
            return 3;
        case UndoResult::Refused:
            messages.inform(undoRefusal(attempt.conflicts));
            // The whole-file restore is left to an explicit command of its own.
            std::cout << "To put the whole System Database back as it was before that Store, losing every "
                         "later change: vtxctl restore "
                      << path << " " << std::filesystem::path(backups.back()).filename().string() << "\n";
            return 3;
        }
    } catch (const std::exception& e) {
        messages.report(e);
    }
    return 1;
}

int demo(const std::string& path)
{
    PrintedMessages messages(std::cout, detailsStream());
    try {
        makeDemoDatabase(path, false);
    } catch (const std::exception& e) {
        messages.report(e);
        return 1;
    }
    if (!tool::setDatabasePath(std::filesystem::absolute(path).string())) {
        messages.inform("The demo System Database was made, but the registry store could not be written.");
        return 1;
    }
    // Opened as the tool's start-up opens it.
    Session session(messages, "");
    if (session.start(path) != Session::Start::Ready)
        return 1;
    std::cout << path << "\n";
    return 0;
}

} // namespace vyr::vtx::ctl
