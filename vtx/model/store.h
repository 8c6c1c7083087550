#pragma once
// Store: writes the configuration into the System Database.
//
// It runs in two phases so that no database lock is held while the user thinks. First it asks:
// Store's question and the filter-wheel dialog are answered and the refusals checked, reading
// only. Then it writes, in one short transaction, with the answers given; when the rows the
// answers were based on (the filter wheel's places) changed meanwhile, it refuses and writes
// nothing. A completed store commits; a refusal, a cancelled dialog or a database error leaves
// the database exactly as before and the form keeps its unsaved changes.
#include "platform/dao/database.h"
#include "vtx/model/editor.h"
#include "vtx/model/filterwheel.h"
#include "vtx/model/messages.h"
#include "vtx/model/row_changes.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vyr::vtx {

enum class StoreResult {
    Completed,
    Refused,     // a refusal message of Store
    Cancelled,   // the filter-wheel dialog was cancelled
    Outdated,    // another program changed the filter wheel while Store waited for an answer
};

inline constexpr const char* kOutdatedMessage =
    "FW1 was changed by another program while Store waited for your answer. Nothing was stored; "
    "please check and Store again.";

// What the user answered, and what the answers were based on.
struct StorePlan {
    StoreResult result = StoreResult::Completed;   // Completed: ready to write
    std::string message;                            // the refusal or cancel message shown
    bool deleteWheelSplitter = false;               // "VTX LP680 in FW1. Delete ?" answered Yes
    std::optional<int> wheelPlace;                  // the place chosen in the filter-wheel dialog
    std::vector<std::string> wheelRows;             // FW1's places as read before asking
};

// What Store will do about the filter-wheel splitter, for a configuration on this database.
enum class WheelStep {
    Nothing,        // no question, no dialog
    AskToDelete,    // "VTX LP680 in FW1. Delete ?"
    ChoosePlace,    // the filter-wheel dialog: fewer than two free places
};
WheelStep wheelStep(dao::Database& db, int32_t version, const Configuration& c);

// Store's refusals of steps 7 to 9 that this configuration meets, in their order (Store
// shows the first); each with the channels (1 to 4) or the splitter position it is about.
struct StoreRefusal {
    std::string message;
    std::vector<int> channels;
    int splitter = 0;   // 1 for NT1, 2 for NT2, 0 none
};
std::vector<StoreRefusal> storeRefusals(const Configuration& c);

// The asking phase: questions, dialog and refusals in Store's order, each shown through
// `boxes`. Reads the database; writes nothing and holds no lock.
StorePlan planStore(dao::Database& db, int32_t version, const Configuration& c, MessageBoxes& boxes,
                    FilterWheelDialog& wheel);

// The writing phase for a plan whose result is Completed, in one transaction. Outdated (after
// showing kOutdatedMessage) when FW1 is no longer as the plan read it. On Completed the editor
// takes the stored state and its changed flag is cleared; otherwise it is left as it was.
// A database error rolls back and propagates as dao::DaoError. `beforeWrite` runs inside the
// transaction just before the first write, when nobody else can write (the backup is taken
// there); an exception from it ends the store with nothing written.
// `afterWrite`, when given, receives the row changes the store made, still inside the
// transaction (they are kept for Undo there); an exception from it rolls the store back.
using BeforeWrite = std::function<void()>;
using AfterWrite = std::function<void(const std::vector<RowChange>&)>;
StoreResult writeStore(dao::Database& db, int32_t version, ConfigurationEditor& editor, const StorePlan& plan,
                       MessageBoxes& boxes, const BeforeWrite& beforeWrite = {}, const AfterWrite& afterWrite = {});

// Both phases, as the Store button runs them.
StoreResult storeConfiguration(dao::Database& db, int32_t version, ConfigurationEditor& editor,
                               MessageBoxes& boxes, FilterWheelDialog& wheel, const BeforeWrite& beforeWrite = {});

// The row changes writeStore would make for `plan`, found by writing them in a transaction that
// is then rolled back: the database is left as it was. Nothing for a plan that is not Completed.
std::vector<RowChange> previewStore(dao::Database& db, int32_t version, const Configuration& c,
                                    const StorePlan& plan);

} // namespace vyr::vtx
