#include "vtx/ctl/configure.h"

#include "platform/dao/database.h"
#include "vtx/model/backups.h"
#include "vtx/model/changes.h"
#include "vtx/model/checks.h"
#include "vtx/model/config_json.h"
#include "vtx/model/load.h"
#include "vtx/model/printed_messages.h"
#include "vtx/model/session.h"
#include "vtx/model/store.h"
#include "vtx/model/version.h"

#include <iostream>

namespace vyr::vtx::ctl {

namespace {

// Prints every message; the question gets the answer the command line gave.
class ScriptedMessages : public MessageBoxes {
public:
    explicit ScriptedMessages(bool yes) : printed_(std::cout), yes_(yes) {}
    Answer show(const std::string& text, const std::string& caption, Buttons buttons) override
    {
        printed_.show(text, caption, Buttons::Ok);
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
        std::cerr << e.what() << "\n";
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
            messages.inform(e.what());
            return 1;
        }
    } else {
        if (session.start(path) != Session::Start::Ready)   // compacted, opened and checked
            return 1;
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
        StoreResult r = writeStore(*db, version, editor, plan, messages, [&] { keepBackup(path); });
        return r == StoreResult::Completed ? 0 : 3;
    } catch (const std::exception& e) {
        messages.inform(e.what());
        return 1;
    }
}

} // namespace vyr::vtx::ctl
