#include "vtx/model/rows.h"

#include <cmath>

namespace vyr::vtx::rows {

namespace {

std::string keySql(const std::string& table, const std::string& key)
{
    return "SELECT * FROM [" + table + "] WHERE [ID Available] = '" + key + "'";
}

// Keys are fixed names of the tool or names read from the database; a quote in one must not
// end the literal.
std::string quoted(const std::string& s)
{
    std::string out;
    for (char c : s) {
        out += c;
        if (c == '\'')
            out += '\'';
    }
    return out;
}

} // namespace

std::string text(const dao::Recordset& r, const std::string& column)
{
    dao::Value v = r.value(column);
    return v.isNull() ? std::string() : v.text();
}

std::optional<std::string> field(dao::Database& db, const std::string& table, const std::string& key,
                                 const std::string& column)
{
    dao::Recordset r = db.openRecordset(keySql(table, quoted(key)), dao::RecordsetType::Snapshot);
    if (r.eof())
        return std::nullopt;
    return text(r, column);
}

std::optional<std::string> status(dao::Database& db, const std::string& table, const std::string& key)
{
    return field(db, table, key, "Status");
}

bool exists(dao::Database& db, const std::string& sql)
{
    return !db.openRecordset(sql, dao::RecordsetType::Snapshot).eof();
}

bool write(dao::Database& db, const std::string& table, const std::string& key,
           const std::vector<std::pair<std::string, dao::Value>>& values)
{
    dao::Recordset r = db.openRecordsetWhere(table, "ID Available", key);
    if (r.eof())
        return false;
    r.edit();
    for (const auto& [column, value] : values)
        r.setValue(column, value);
    r.update();
    return true;
}

void setStatusText(dao::Database& db, const std::string& table, const std::string& key, const std::string& s)
{
    write(db, table, key, {{"Status", dao::Value(s)}});
}

void setStatus(dao::Database& db, const std::string& table, const std::string& key, const std::string& can)
{
    setStatusText(db, table, key, can == "None" ? kDoNotUse : "");
}

void inUse(dao::Database& db, const std::string& table, const std::string& key)
{
    setStatusText(db, table, key, "");
}

void doNotUse(dao::Database& db, const std::string& table, const std::string& key)
{
    setStatusText(db, table, key, kDoNotUse);
}

void setDioControl(dao::Database& db, const std::string& key, const std::string& can)
{
    write(db, "Available DIOs", key, {{"Control", dao::Value(can)}});
}

void setDacControl(dao::Database& db, const std::string& key, const std::string& can)
{
    write(db, "Available DACs", key, {{"Control Voltage", dao::Value(can)}});
}

void setHolderControl(dao::Database& db, const std::string& key, const std::string& can)
{
    write(db, "Available FilterSets", key, {{"Control Position", dao::Value(can)}});
}

void setPlacement(dao::Database& db, const std::string& holder, const std::vector<std::string>& names)
{
    // The holder's rows are read once; place by place, the first row at that place is written.
    dao::Recordset r = db.openRecordsetWhere("Available FilterPlacement", "ID Available", holder);
    std::vector<dao::Value> positions;
    for (; !r.eof(); r.moveNext())
        positions.push_back(r.value("Position"));
    for (size_t n = 1; n <= names.size(); ++n) {
        for (size_t i = 0; i < positions.size(); ++i) {
            if (positions[i].isNull() || positions[i].number() != double(n))
                continue;
            r.moveFirst();
            for (size_t k = 0; k < i; ++k)
                r.moveNext();
            r.edit();
            r.setValue("ID Potential", dao::Value(names[n - 1]));
            r.update();
            break;
        }
    }
}

void setDetectorType(dao::Database& db, DetectorMode mode)
{
    bool vtx = mode == DetectorMode::Vtx;
    write(db, "Available Point Detectors", "PmtD", {{"Detector Type", dao::Value(vtx ? "VTX" : "Transmission")}});
    write(db, "Available Interfaces", "CANK",
          {{"Version", dao::Value(vtx ? "PKFC_V2.05" : "PKLD_V1.02")},
           {"Summary", dao::Value(vtx ? "CAN Node VTX1" : "CAN Node Transmission")}});
}

std::vector<Place> places(dao::Database& db, const std::string& sql)
{
    std::vector<Place> out;
    dao::Recordset r = db.openRecordset(sql, dao::RecordsetType::Snapshot);
    for (; !r.eof(); r.moveNext()) {
        dao::Value pos = r.value("Position");
        double p = pos.isNull() ? 0 : pos.number();
        out.push_back({std::isfinite(p) && p >= 1 && p <= 1e6 ? int(p) : 0, text(r, "ID Potential")});
    }
    return out;
}

std::string holderSql(const std::string& holder)
{
    return "SELECT * FROM [Available FilterPlacement] WHERE [ID Available] = '" + quoted(holder) + "'";
}

} // namespace vyr::vtx::rows
