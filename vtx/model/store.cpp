#include "vtx/model/store.h"

#include "vtx/model/keys.h"
#include "vtx/model/rows.h"
#include "vtx/model/transaction.h"
#include "vtx/model/version.h"

namespace vyr::vtx {

namespace {

constexpr const char* kSets = "Available FilterSets";
constexpr const char* kInterfaces = "Available Interfaces";
constexpr const char* kLp680InWheel =
    "SELECT * FROM [Available FilterPlacement] WHERE [ID Available] = 'FW1' AND [ID Potential] = 'VTX LP680'";
constexpr const char* kFreeWheelPlaces =
    "SELECT * FROM [Available FilterPlacement] WHERE [ID Available] = 'FW1' AND [ID Potential] = 'None' AND [Not Include] = False";

// The Store steps on one configuration copy; returns the refusal message, or nothing.
class Storing {
public:
    Storing(dao::Database& db, int32_t version, Configuration c, MessageBoxes& boxes, FilterWheelDialog& wheel)
        : db_(db), version_(version), c_(std::move(c)), boxes_(boxes), wheel_(wheel)
    {
    }

    StoreResult run();
    const Configuration& configuration() const { return c_; }

private:
    std::string& can(int n) { return c_.channel(n).can; }
    bool none(int n) { return can(n) == kNone; }
    bool placeSplitterInWheel();   // false: the dialog was cancelled
    void placeFirstFreeNotAtOne();
    void renameLp700(const std::string& table, bool withSpectralType);
    std::optional<std::string> combinationProblem();
    std::optional<std::string> uniquenessProblem();
    void writeChannels();
    void writeHolders();
    void writeLamps();

    dao::Database& db_;
    int32_t version_;
    Configuration c_;
    MessageBoxes& boxes_;
    FilterWheelDialog& wheel_;
    bool wheelFlag_ = false;
};

StoreResult Storing::run()
{
    if (c_.nt1 == Nt1::Nothing) {
        for (const char* k : {"VTX_EF6", "VTX_EF7", "VTX_NT1"})
            rows::doNotUse(db_, kSets, k);
        can(2) = can(3) = kNone;
    }
    if (c_.nt2 == Nt2::Nothing) {
        for (const char* k : {"VTX_EF5", "VTX_EF8", "VTX_NT2"})
            rows::doNotUse(db_, kSets, k);
        can(1) = can(4) = kNone;
    }
    bool nt1Cube = c_.nt1 == Nt1::Cube;
    bool nt2Cube = c_.nt2 == Nt2::Cube;
    bool notNeeded = (!nt1Cube && !nt2Cube) || (version_ > kMinimumVersion && nt2Cube && !nt1Cube);
    if (notNeeded) {
        if (c_.stand == 2) {
            rows::doNotUse(db_, kSets, "FW1");
            rows::doNotUse(db_, kInterfaces, "CANH");
        }
        if (rows::exists(db_, kLp680InWheel) &&
            boxes_.show("VTX LP680 in FW1. Delete ?", kDefaultCaption, Buttons::YesNo) == Answer::Yes) {
            c_.lp680Text.clear();
            dao::Recordset r = db_.openRecordset("Available FilterPlacement");
            for (; !r.eof(); r.moveNext()) {
                if (r.value("ID Available").isText("FW1") && r.value("ID Potential").isText(kLp680)) {
                    r.edit();
                    r.setValue("ID Potential", dao::Value(kNone));
                    r.update();
                    break;
                }
            }
        }
    } else {
        wheelFlag_ = true;
        if (!rows::exists(db_, kLp680InWheel) && !placeSplitterInWheel()) {
            boxes_.inform("No position for VTX LP680 selected ! No dates stored !");
            return StoreResult::Cancelled;
        }
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
        if (none(1)) {
            boxes_.inform("CAN for Transmission not available !");
            return StoreResult::Refused;
        }
        rows::inUse(db_, "Available Shutters", "Transmission Mirror");
        if (c_.stand == 1)
            rows::inUse(db_, kSets, "Transmission Mirror");
        for (const char* k : {"VTX_EF5", "VTX_EF8", "VTX_NT2"})
            rows::doNotUse(db_, kSets, k);
        can(4) = kNone;
        if (c_.manualMirror)
            rows::setStatusText(db_, "Available Shutters", "Transmission Mirror", "Dummy");
    } else {
        rows::doNotUse(db_, "Available Shutters", "Transmission Mirror");
        if (c_.stand == 1)
            rows::doNotUse(db_, kSets, "Transmission Mirror");
    }
    if (auto problem = combinationProblem()) {
        boxes_.inform(*problem);
        return StoreResult::Refused;
    }
    for (const char* node : keys::kCanNodes)
        rows::doNotUse(db_, kInterfaces, node);
    if (auto problem = uniquenessProblem()) {
        boxes_.inform(*problem);
        return StoreResult::Refused;
    }
    writeChannels();
    writeHolders();
    if (version_ > kMinimumVersion) {
        dao::Recordset s = db_.openRecordset("Available Systems");
        if (!s.eof()) {
            s.edit();
            s.setValue("VTX", dao::Value(wheelFlag_));
            s.update();
        }
    }
    writeLamps();
    return StoreResult::Completed;
}

bool Storing::placeSplitterInWheel()
{
    size_t free = rows::places(db_, kFreeWheelPlaces).size();
    if (free < 2) {
        if (!wheel_.choosePlace(db_, boxes_))
            return false;
    } else {
        placeFirstFreeNotAtOne();
    }
    c_.lp680Text = kLp680;
    if (free >= 1 && c_.stand == 2 && version_ == kMinimumVersion) {
        rows::setStatusText(db_, kSets, "FW1", "Dummy");
        rows::setStatusText(db_, kInterfaces, "CANH", "Dummy");
    }
    return true;
}

void Storing::placeFirstFreeNotAtOne()
{
    // Place 1 of the wheel is its open position; the splitter goes to a free place after it.
    dao::Recordset r = db_.openRecordset("Available FilterPlacement");
    for (; !r.eof(); r.moveNext()) {
        dao::Value pos = r.value("Position");
        dao::Value notInclude = r.value("Not Include");
        if (r.value("ID Available").isText("FW1") && r.value("ID Potential").isText(kNone) && !pos.isNull() &&
            pos.number() != 1 && !(notInclude.isNull() ? false : notInclude.boolean())) {
            r.edit();
            r.setValue("ID Potential", dao::Value(kLp680));
            r.update();
            return;
        }
    }
}

void Storing::renameLp700(const std::string& table, bool withSpectralType)
{
    std::string select = "SELECT * FROM [" + table + "] WHERE [ID Potential] = '";
    if (rows::exists(db_, select + "VTX LP680'") || !rows::exists(db_, select + "VTX LP700'"))
        return;
    dao::Recordset r = db_.openRecordset(table);
    for (; !r.eof(); r.moveNext()) {
        if (!r.value("ID Potential").isText("VTX LP700"))
            continue;
        r.edit();
        r.setValue("ID Potential", dao::Value(kLp680));
        r.setValue("Type", dao::Value("FW1"));
        if (withSpectralType)
            r.setValue("Spectral Type", dao::Value("LP"));
        r.update();
        return;
    }
}

std::optional<std::string> Storing::combinationProblem()
{
    if (c_.nt2 == Nt2::Cube && none(1) && none(4))
        return "No CAN for VTX_NT2 !";
    if (c_.nt1 == Nt1::Cube && none(2) && none(3))
        return "No CAN for VTX_NT1 !";
    if (none(2) && !none(3))
        return "VTX3 alone not allowed !";
    if (none(1) && !none(4))
        return "VTX4 alone not allowed !";
    return std::nullopt;
}

std::optional<std::string> Storing::uniquenessProblem()
{
    std::array<std::string, 4> label;
    for (int n = 1; n <= 4; ++n) {
        if (none(n))
            c_.channel(n).letter = "N" + std::to_string(n);
        label[size_t(n - 1)] = c_.channel(n).letter;
    }
    for (int a = 0; a < 4; ++a)
        for (int b = a + 1; b < 4; ++b)
            if (label[size_t(a)] == label[size_t(b)])
                return c_.channels[size_t(a)].can + " isn't unique !";
    return std::nullopt;
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
        if (!rows::exists(db_, "SELECT * FROM [Potential Filters] WHERE [ID Potential] = 'HAL Mirror'")) {
            dao::Recordset r = db_.openRecordset("Potential Filters");
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

} // namespace

StoreResult storeConfiguration(dao::Database& db, int32_t version, ConfigurationEditor& editor,
                               MessageBoxes& boxes, FilterWheelDialog& wheel)
{
    Transaction transaction(db);
    Storing storing(db, version, editor.configuration(), boxes, wheel);
    StoreResult result = storing.run();
    if (result != StoreResult::Completed)
        return result;   // the transaction rolls back: the database is as it was
    transaction.commit();
    editor.stored(storing.configuration());
    return result;
}

} // namespace vyr::vtx
