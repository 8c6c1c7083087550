#include "vtx/model/store.h"

#include "vtx/model/keys.h"
#include "vtx/model/rows.h"
#include "vtx/model/transaction.h"
#include "vtx/model/version.h"

#include <array>

namespace vyr::vtx {

namespace {

constexpr const char* kSets = "Available FilterSets";
constexpr const char* kInterfaces = "Available Interfaces";
constexpr const char* kPlacement = "Available FilterPlacement";
constexpr const char* kWheel = "FW1";

// [Not Include] = False, as SQL compares it: a number 0, or a Yes/No column's No.
bool included(const dao::Value& v)
{
    return (v.kind() == dao::Value::Kind::Boolean && !v.boolean()) ||
           (v.kind() == dao::Value::Kind::Number && v.number() == 0);
}

// FW1's rows as one read gives them, in table order: whether the splitter sits in the wheel
// ("VTX LP680" at any place), the free places on offer ("None" and not left out), and the
// rows as text, which the question and the dialog were based on.
struct Wheel {
    bool splitter = false;
    size_t free = 0;
    std::vector<std::string> rows;

    // From the rows of `r` that belong to FW1.
    explicit Wheel(dao::Recordset r)
    {
        std::vector<std::string> names = r.fieldNames();
        for (; !r.eof(); r.moveNext()) {
            if (!r.value("ID Available").isText(kWheel))
                continue;
            std::string row;
            for (const std::string& n : names) {
                dao::Value v = r.value(n);
                row += (v.isNull() ? std::string("\x01") : v.text()) + '\x1f';
            }
            rows.push_back(std::move(row));
            dao::Value potential = r.value("ID Potential");
            splitter = splitter || potential.isText(kLp680);
            if (potential.isText(kNone) && included(r.value("Not Include")))
                ++free;
        }
    }
};

// FW1 and every holder whose places Store writes.
std::vector<std::string> holders()
{
    std::vector<std::string> out{kWheel, "VTX_NT1", "VTX_NT2"};
    for (int n = 1; n <= 4; ++n)
        out.push_back(emissionHolder(n));
    return out;
}

// The wheel as read now, outside a transaction, from a copy of the holders' rows read with
// one statement: while nothing changes the file, the write transaction that follows finds
// them again without reading (see dao::Database::openRecordsetWhere).
Wheel readWheel(dao::Database& db)
{
    return Wheel(db.openRecordsetWhere(kPlacement, "ID Available", holders(), dao::RecordsetType::Snapshot));
}

// Step 5's condition; otherwise step 4 offers to take the splitter out of the wheel.
bool wheelSplitterNeeded(int32_t version, const Configuration& c)
{
    bool nt1Cube = c.nt1 == Nt1::Cube, nt2Cube = c.nt2 == Nt2::Cube;
    return !((!nt1Cube && !nt2Cube) || (version > kMinimumVersion && nt2Cube && !nt1Cube));
}

WheelStep wheelStep(const Wheel& wheel, int32_t version, const Configuration& c)
{
    if (!wheelSplitterNeeded(version, c))
        return wheel.splitter ? WheelStep::AskToDelete : WheelStep::Nothing;
    return !wheel.splitter && wheel.free < 2 ? WheelStep::ChoosePlace : WheelStep::Nothing;
}

// The Store steps on one configuration copy: the asking phase, then the writing phase.
class Storing {
public:
    Storing(dao::Database& db, int32_t version, Configuration c) : db_(db), version_(version), c_(std::move(c))
    {
        // Steps 2 and 3: the channels behind a position that holds nothing lose their CAN.
        if (c_.nt1 == Nt1::Nothing)
            dropCan(2), dropCan(3);
        if (c_.nt2 == Nt2::Nothing)
            dropCan(1), dropCan(4);
    }

    StorePlan ask(MessageBoxes& boxes, FilterWheelDialog& wheel);
    // Inside the write transaction, before anything is written: the rows of FW1 and of every
    // holder whose places Store writes, found with one look-up and kept by the connection for
    // the writes that follow; FW1's rows as the wheel.
    Wheel holderRows();
    void write(const StorePlan& plan);
    const Configuration& configuration() const { return c_; }

private:
    std::string& can(int n) { return c_.channel(n).can; }
    bool none(int n) { return can(n) == kNone; }
    // The channel has no CAN from now on: no letter, light grey.
    void dropCan(int n)
    {
        Channel& ch = c_.channel(n);
        ch.can = kNone;
        ch.letterShown = false;
        ch.fill = Fill::NoCan;
    }
    bool wheelSplitterNotNeeded() const { return !wheelSplitterNeeded(version_, c_); }
    std::optional<std::string> refusal();
    void placeSplitterInWheel(const StorePlan& plan, size_t free);
    void writePlace(int position);
    void renameLp700(const std::string& table, bool withSpectralType);
    void writeChannels();
    void writeHolders();
    void writeLamps();

    dao::Database& db_;
    int32_t version_;
    Configuration c_;
};

StorePlan Storing::ask(MessageBoxes& boxes, FilterWheelDialog& wheel)
{
    StorePlan plan;
    Wheel now = readWheel(db_);
    plan.wheelRows = now.rows;
    auto stop = [&](StoreResult result, std::string message) {
        boxes.inform(message);
        plan.result = result;
        plan.message = std::move(message);
        return plan;
    };
    switch (wheelStep(now, version_, c_)) {
    case WheelStep::AskToDelete:
        plan.deleteWheelSplitter =
            boxes.show("VTX LP680 in FW1. Delete ?", kDefaultCaption, Buttons::YesNo) == Answer::Yes;
        break;
    case WheelStep::ChoosePlace:
        plan.wheelPlace = wheel.choosePlace(db_, boxes);
        if (!plan.wheelPlace)
            return stop(StoreResult::Cancelled, "No position for VTX LP680 selected ! No dates stored !");
        break;
    case WheelStep::Nothing:
        break;
    }
    if (auto problem = refusal())
        return stop(StoreResult::Refused, *problem);
    return plan;
}

Wheel Storing::holderRows()
{
    return Wheel(db_.openRecordsetWhere(kPlacement, "ID Available", holders()));
}

std::optional<std::string> Storing::refusal()
{
    std::vector<StoreRefusal> all = storeRefusals(c_);
    if (all.empty())
        return std::nullopt;
    return all.front().message;
}

void Storing::write(const StorePlan& plan)
{
    if (c_.nt1 == Nt1::Nothing)
        for (const char* k : {"VTX_EF6", "VTX_EF7", "VTX_NT1"})
            rows::doNotUse(db_, kSets, k);
    if (c_.nt2 == Nt2::Nothing)
        for (const char* k : {"VTX_EF5", "VTX_EF8", "VTX_NT2"})
            rows::doNotUse(db_, kSets, k);
    bool wheelFlag = !wheelSplitterNotNeeded();
    if (!wheelFlag) {
        if (c_.stand == 2) {
            rows::doNotUse(db_, kSets, "FW1");
            rows::doNotUse(db_, kInterfaces, "CANH");
        }
        if (plan.deleteWheelSplitter) {
            c_.lp680Text.clear();
            dao::Recordset r = db_.openRecordsetWhere(kPlacement, "ID Available", kWheel);
            for (; !r.eof(); r.moveNext()) {
                if (r.value("ID Potential").isText(kLp680)) {
                    r.edit();
                    r.setValue("ID Potential", dao::Value(kNone));
                    r.update();
                    break;
                }
            }
        }
    } else {
        Wheel wheel(db_.openRecordsetWhere(kPlacement, "ID Available", kWheel));
        if (!wheel.splitter)
            placeSplitterInWheel(plan, wheel.free);
        renameLp700("Potential Filters", true);
        bool favourites = false;
        for (const dao::TableDef& t : db_.tableDefs())
            favourites = favourites || t.name == "Favourite Filters";
        if (favourites)
            renameLp700("Favourite Filters", false);
        if (c_.stand == 2) {
            rows::doNotUse(db_, kInterfaces, "CANH");
            rows::write(db_, kSets, "FW1", {{"Status", dao::Value("Dummy")}, {"Control Position", dao::Value(kNone)}});
        }
    }

    if (c_.nt2 == Nt2::Mirror) {
        rows::inUse(db_, "Available Shutters", "Transmission Mirror");
        if (c_.stand == 1)
            rows::inUse(db_, kSets, "Transmission Mirror");
        for (const char* k : {"VTX_EF5", "VTX_EF8", "VTX_NT2"})
            rows::doNotUse(db_, kSets, k);
        dropCan(4);
        if (c_.manualMirror)
            rows::setStatusText(db_, "Available Shutters", "Transmission Mirror", "Dummy");
    } else {
        rows::doNotUse(db_, "Available Shutters", "Transmission Mirror");
        if (c_.stand == 1)
            rows::doNotUse(db_, kSets, "Transmission Mirror");
    }
    for (const char* node : keys::kCanNodes)
        rows::doNotUse(db_, kInterfaces, node);
    writeChannels();
    writeHolders();
    if (version_ > kMinimumVersion) {
        dao::Recordset s = db_.openFirstRow("Available Systems");
        if (!s.eof()) {
            s.edit();
            s.setValue("VTX", dao::Value(wheelFlag));
            s.update();
        }
    }
    writeLamps();
}

void Storing::placeSplitterInWheel(const StorePlan& plan, size_t free)
{
    if (plan.wheelPlace) {
        writePlace(*plan.wheelPlace);
    } else {
        // Place 1 of the wheel is its open position; the splitter goes to a free place after it.
        dao::Recordset r = db_.openRecordsetWhere(kPlacement, "ID Available", kWheel);
        for (; !r.eof(); r.moveNext()) {
            dao::Value pos = r.value("Position");
            dao::Value notInclude = r.value("Not Include");
            if (r.value("ID Potential").isText(kNone) && !pos.isNull() &&
                pos.number() != 1 && !(notInclude.isNull() ? false : notInclude.boolean())) {
                r.edit();
                r.setValue("ID Potential", dao::Value(kLp680));
                r.update();
                break;
            }
        }
    }
    c_.lp680Text = kLp680;
    if (free >= 1 && c_.stand == 2 && version_ == kMinimumVersion) {
        rows::setStatusText(db_, kSets, "FW1", "Dummy");
        rows::setStatusText(db_, kInterfaces, "CANH", "Dummy");
    }
}

// The dialog's choice: the first FW1 row at that place gets the splitter.
void Storing::writePlace(int position)
{
    dao::Recordset r = db_.openRecordsetWhere(kPlacement, "ID Available", kWheel);
    for (; !r.eof(); r.moveNext()) {
        dao::Value pos = r.value("Position");
        if (!pos.isNull() && pos.number() == double(position)) {
            r.edit();
            r.setValue("ID Potential", dao::Value(kLp680));
            r.update();
            return;
        }
    }
}

void Storing::renameLp700(const std::string& table, bool withSpectralType)
{
    // Both names in one look-up: nothing to do when the catalogue has "VTX LP680" already;
    // else the first "VTX LP700" in table order is renamed.
    dao::Recordset r = db_.openRecordsetWhere(table, "ID Potential", std::vector<std::string>{kLp680, "VTX LP700"});
    std::optional<size_t> lp700;
    size_t i = 0;
    for (; !r.eof(); r.moveNext(), ++i) {
        if (r.value("ID Potential").isText(kLp680))
            return;
        if (!lp700)
            lp700 = i;
    }
    if (!lp700)
        return;
    r.moveFirst();
    for (size_t k = 0; k < *lp700; ++k)
        r.moveNext();
    r.edit();
    r.setValue("ID Potential", dao::Value(kLp680));
    r.setValue("Type", dao::Value("FW1"));
    if (withSpectralType)
        r.setValue("Spectral Type", dao::Value("LP"));
    r.update();
}

void Storing::writeChannels()
{
    for (int n = 1; n <= 4; ++n) {
        const std::string c = can(n);
        size_t i = size_t(n - 1);
        if (c != kNone)
            rows::inUse(db_, kInterfaces, c);
        rows::setStatus(db_, "Available DIOs", keys::kDios[i], c);
        rows::setDioControl(db_, keys::kDios[i], c);
        for (const char* dac : {keys::kFirstDacs[i], keys::kSecondDacs[i]}) {
            rows::setStatus(db_, "Available DACs", dac, c);
            rows::setDacControl(db_, dac, c);
        }
        rows::setStatus(db_, "Available High Voltage Supplies", "HVSupply" + std::to_string(n + 4), c);
        rows::setStatus(db_, kSets, emissionHolder(n), c);
    }
    rows::setStatus(db_, "Available Integrators", "IntegratorD", can(1));
    rows::setStatus(db_, "Available Point Detectors", "PmtD", can(1));
    for (int n = 2; n <= 4; ++n) {
        rows::setStatus(db_, "Available Integrators", "Integrator" + std::to_string(n + 4), can(n));
        rows::setStatus(db_, "Available Point Detectors", "VTX_Pmt" + std::to_string(n + 4), can(n));
    }
}

void Storing::writeHolders()
{
    if (c_.nt2 == Nt2::Cube) {
        if (dao::Recordset r = db_.openRecordsetWhere("Potential Filters", "ID Potential", kHalMirror); r.eof()) {
            r.addNew();
            r.setValue("ID Potential", dao::Value(kHalMirror));
            r.setValue("Type", dao::Value("FT"));
            r.setValue("Summary", dao::Value(kHalMirror));
            r.update();
        }
        rows::setHolderControl(db_, "VTX_NT2", none(1) ? can(4) : can(1));
        for (const char* k : {"VTX_NT2", "VTX_EF5", "VTX_EF8"})
            rows::inUse(db_, kSets, k);
        if (!none(1))
            rows::setDetectorType(db_, rows::DetectorMode::Vtx);
        for (const char* k : {"VTX_EF5", "VTX_EF8", "VTX_NT2"})
            rows::setPlacement(db_, k, c_.placements[k]);
    } else {
        rows::doNotUse(db_, kSets, "VTX_EF5");
        rows::doNotUse(db_, kSets, "VTX_EF8");
        rows::setDetectorType(db_, rows::DetectorMode::Transmission);
    }
    if (c_.nt1 == Nt1::Cube) {
        rows::setHolderControl(db_, "VTX_NT1", none(2) ? can(3) : can(2));
        for (const char* k : {"VTX_NT1", "VTX_EF6", "VTX_EF7"})
            rows::inUse(db_, kSets, k);
        for (const char* k : {"VTX_EF6", "VTX_EF7", "VTX_NT1"})
            rows::setPlacement(db_, k, c_.placements[k]);
    }
}

void Storing::writeLamps()
{
    constexpr const char* lamps = "Available Lamps";
    rows::setStatusText(db_, lamps, "HAL", c_.transmittedLight == 1 ? "" : rows::kDoNotUse);
    switch (c_.reflectedLight) {
    case 1:
        rows::inUse(db_, lamps, "HAL Refl");
        rows::doNotUse(db_, lamps, "HBO");
        break;
    case 2:
        rows::doNotUse(db_, lamps, "HAL Refl");
        rows::inUse(db_, lamps, "HBO");
        rows::inUse(db_, kInterfaces, "CANA");
        break;
    default:
        rows::doNotUse(db_, lamps, "HAL Refl");
        rows::doNotUse(db_, lamps, "HBO");
        break;
    }
}

// The row changes `write` makes, inside the caller's transaction: from the rows it wrote, as
// the connection logged them; where the connection cannot see every row a write changes
// (triggers), by comparing every table before and after.
std::vector<RowChange> writtenRows(dao::Database& db, const std::function<void()>& write)
{
    if (!db.startRowLog()) {
        TableSnapshot before = snapshotTables(db);
        write();
        return rowChanges(before, snapshotTables(db));
    }
    try {
        write();
    } catch (...) {
        db.takeRowLog();
        throw;
    }
    return loggedRowChanges(db, db.takeRowLog());
}

} // namespace

WheelStep wheelStep(dao::Database& db, int32_t version, const Configuration& c)
{
    return wheelStep(readWheel(db), version, c);
}

std::vector<StoreRefusal> storeRefusals(const Configuration& c)
{
    // The CANs as Store sees them by step 8: steps 2 and 3 take them from the channels of an
    // empty position, step 7 channel 4's with the mirror.
    std::array<std::string, 4> can;
    for (int n = 1; n <= 4; ++n)
        can[size_t(n - 1)] = c.channel(n).can;
    if (c.nt1 == Nt1::Nothing)
        can[1] = can[2] = kNone;
    if (c.nt2 == Nt2::Nothing)
        can[0] = can[3] = kNone;
    std::vector<StoreRefusal> out;
    // A channel the database names no CAN for is refused first: Store would write an empty
    // control name. The later checks count it as having none. (With the mirror, channel 4
    // loses its CAN anyway.)
    for (int n = 1; n <= 4; ++n) {
        if (can[size_t(n - 1)].empty() && !(n == 4 && c.nt2 == Nt2::Mirror)) {
            out.push_back({canProblem(c, n), {n}, 0});
            can[size_t(n - 1)] = kNone;
        }
    }
    bool mirrorWithoutCan = c.nt2 == Nt2::Mirror && can[0] == kNone;
    if (c.nt2 == Nt2::Mirror)
        can[3] = kNone;
    auto none = [&](int n) { return can[size_t(n - 1)] == kNone; };

    if (mirrorWithoutCan)
        out.push_back({"CAN for Transmission not available !", {1}, 0});
    if (c.nt2 == Nt2::Cube && none(1) && none(4))
        out.push_back({"No CAN for VTX_NT2 !", {}, 2});
    if (c.nt1 == Nt1::Cube && none(2) && none(3))
        out.push_back({"No CAN for VTX_NT1 !", {}, 1});
    if (none(2) && !none(3))
        out.push_back({"VTX3 alone not allowed !", {3}, 0});
    if (none(1) && !none(4))
        out.push_back({"VTX4 alone not allowed !", {4}, 0});
    // Each channel's label: the last letter of its CAN, or "N" and the channel for none.
    std::array<std::string, 4> label;
    for (int n = 1; n <= 4; ++n) {
        const std::string& k = can[size_t(n - 1)];
        label[size_t(n - 1)] = none(n) ? "N" + std::to_string(n) : k.substr(k.empty() ? 0 : k.size() - 1);
    }
    for (int a = 1; a <= 4; ++a)
        for (int b = a + 1; b <= 4; ++b)
            if (label[size_t(a - 1)] == label[size_t(b - 1)])
                out.push_back({can[size_t(a - 1)] + " isn't unique !", {a, b}, 0});
    return out;
}

StorePlan planStore(dao::Database& db, int32_t version, const Configuration& c, MessageBoxes& boxes,
                    FilterWheelDialog& wheel)
{
    return Storing(db, version, c).ask(boxes, wheel);
}

StoreResult writeStore(dao::Database& db, int32_t version, ConfigurationEditor& editor, const StorePlan& plan,
                       MessageBoxes& boxes, const BeforeWrite& beforeWrite, const AfterWrite& afterWrite)
{
    if (plan.result != StoreResult::Completed)
        return plan.result;
    Storing storing(db, version, editor.configuration());
    {
        Transaction transaction(db);
        if (storing.holderRows().rows != plan.wheelRows) {
            boxes.inform(kOutdatedMessage);
            return StoreResult::Outdated;   // rolled back: nothing was written
        }
        if (beforeWrite)
            beforeWrite();
        if (afterWrite)
            afterWrite(writtenRows(db, [&] { storing.write(plan); }));
        else
            storing.write(plan);
        transaction.commit();
    }
    editor.stored(storing.configuration());
    return StoreResult::Completed;
}

StoreResult storeConfiguration(dao::Database& db, int32_t version, ConfigurationEditor& editor,
                               MessageBoxes& boxes, FilterWheelDialog& wheel, const BeforeWrite& beforeWrite)
{
    StorePlan plan = planStore(db, version, editor.configuration(), boxes, wheel);
    return writeStore(db, version, editor, plan, boxes, beforeWrite);
}

std::vector<RowChange> previewStore(dao::Database& db, int32_t version, const Configuration& c,
                                    const StorePlan& plan)
{
    if (plan.result != StoreResult::Completed)
        return {};
    Transaction transaction(db);   // never committed: rolled back when it goes
    Storing storing(db, version, c);
    return writtenRows(db, [&] { storing.write(plan); });
}

} // namespace vyr::vtx
