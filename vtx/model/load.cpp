#include "vtx/model/load.h"

#include "vtx/model/keys.h"
#include "vtx/model/rows.h"
#include "vtx/model/version.h"

namespace vyr::vtx {

namespace {

using rows::kDoNotUse;

bool notUsed(const std::optional<std::string>& status)
{
    return status && *status == kDoNotUse;
}

std::string lastLetter(const std::string& can)
{
    return can.empty() ? std::string() : can.substr(can.size() - 1);
}

// The channel's CAN from its digital I/O row: "None" when the row is not used, its [Control]
// otherwise (a Null status counts as in use).
void readDio(dao::Database& db, Channel& ch, int n)
{
    const char* key = keys::kDios[size_t(n - 1)];
    auto dio = rows::status(db, "Available Dios", key);
    if (!dio) {
        ch.dioMissing = true;
        return;
    }
    if (*dio == kDoNotUse) {
        ch.can = kNone;
        return;
    }
    ch.can = rows::field(db, "Available Dios", key, "Control").value_or("");
    ch.letter = lastLetter(ch.can);
    ch.letterShown = !ch.can.empty();
    ch.fill = ch.can.empty() ? Fill::NoCan : Fill::Can;
}

// Every channel is read from this database alone: nothing of the configuration shown before
// carries over. A missing digital I/O row leaves the channel without a CAN (empty), which the
// form marks and Store refuses.
void loadChannels(dao::Database& db, Configuration& c)
{
    c.channels = {};
    Channel& first = c.channel(1);
    bool detectorUsed = !notUsed(rows::status(db, "Available Point Detectors", "PmtD"));
    bool transmission = detectorUsed && notUsed(rows::status(db, "Available FilterSets", "VTX_EF5"));
    if (transmission) {
        first.can = "CANK";
        first.letter = "K";
        first.letterShown = true;
        first.fill = Fill::Transmission;
    } else {
        readDio(db, first, 1);
        if (!detectorUsed)
            first.fill = Fill::NoCan;   // a detector that is not used stays light grey
    }
    for (int n = 2; n <= 4; ++n) {
        Channel& ch = c.channel(n);
        std::string pmt = "VTX_Pmt" + std::to_string(n + 4);
        if (notUsed(rows::status(db, "Available Point Detectors", pmt)))
            ch.can = kNone;
        else
            readDio(db, ch, n);
    }
}

void loadLamps(dao::Database& db, Configuration& c)
{
    auto inUse = [&](const char* key) {
        auto s = rows::status(db, "Available Lamps", key);
        return s && *s != kDoNotUse;
    };
    c.transmittedLight = inUse("HAL") ? 1 : 0;
    if (inUse("HAL Refl"))
        c.reflectedLight = 1;
    else
        c.reflectedLight = inUse("HBO") ? 2 : 0;
}

void loadPositions(dao::Database& db, Configuration& c)
{
    auto shutter = rows::status(db, "Available Shutters", "Transmission Mirror");
    if (notUsed(shutter)) {
        c.nt2 = notUsed(rows::status(db, "Available FilterSets", "VTX_NT2")) ? Nt2::Nothing : Nt2::Cube;
        c.manualMirror = false;
    } else {
        c.nt2 = Nt2::Mirror;
        c.manualMirror = shutter && *shutter == "Dummy";
    }
    c.nt1 = notUsed(rows::status(db, "Available FilterSets", "VTX_NT1")) ? Nt1::Nothing : Nt1::Cube;
}

std::vector<std::string> placeList(dao::Database& db, const std::string& holder, int places, bool emptyAsNone)
{
    std::vector<std::string> list;
    for (const rows::Place& p : rows::places(db, rows::holderSql(holder))) {
        if (p.position < 1 || p.position > places)
            continue;
        if (list.size() < size_t(p.position))
            list.resize(size_t(p.position), kNone);
        list[size_t(p.position - 1)] = p.name;
    }
    if (list.empty() && emptyAsNone)
        list.push_back(kNone);
    return list;
}

void loadPlacements(dao::Database& db, Configuration& c)
{
    c.placements.clear();
    std::vector<std::string> nt2 = placeList(db, "VTX_NT2", 3, false);
    if (nt2.size() >= 3 && nt2[2] == "HBO Mirror")
        nt2[2] = kHalMirror;
    c.placements["VTX_NT2"] = nt2;
    c.placements["VTX_NT1"] = placeList(db, "VTX_NT1", 4, false);
    for (int n = 1; n <= 4; ++n)
        c.placements[emissionHolder(n)] = placeList(db, emissionHolder(n), 3, true);
}

std::vector<std::string> catalogue(dao::Database& db, const char* type)
{
    std::vector<std::string> out;
    dao::Recordset r = db.openRecordset(std::string("SELECT * FROM [Potential Filters] WHERE [Type] = '") + type + "'",
                                        dao::RecordsetType::Snapshot);
    for (; !r.eof(); r.moveNext())
        out.push_back(rows::text(r, "ID Potential"));
    return out;
}

int standKind(const std::string& stand)
{
    if (stand == "Marvolan3q" || stand == "Tressivo410K")
        return 1;
    return stand == "FS" ? 2 : 0;
}

} // namespace

Configuration loadConfiguration(dao::Database& db, int32_t version)
{
    Configuration c;
    {
        dao::Recordset v = db.openRecordset("System Versions");
        c.versionText = v.eof() ? std::string() : rows::text(v, "Version Name");
    }
    loadChannels(db, c);
    loadLamps(db, c);
    loadPositions(db, c);
    loadPlacements(db, c);
    c.splitters = catalogue(db, "FT");
    c.emissionFilters.clear();
    for (const char* type : {"BP-VTX", "LP-VTX", "KP-VTX"}) {
        std::vector<std::string> part = catalogue(db, type);
        c.emissionFilters.insert(c.emissionFilters.end(), part.begin(), part.end());
    }
    {
        dao::Recordset s = db.openRecordset("Available Systems");
        c.stand = s.eof() ? 0 : standKind(rows::text(s, "ID Stand"));
    }
    c.lp680Text = kLp680;
    if (version > kMinimumVersion &&
        !rows::exists(db, "SELECT * FROM [Available FilterPlacement] WHERE [ID Available] = 'FW1' AND [ID Potential] = 'VTX LP680'"))
        c.lp680Text.clear();
    return c;
}

} // namespace vyr::vtx
