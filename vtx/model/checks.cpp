#include "vtx/model/checks.h"

#include "vtx/model/system_check.h"
#include "vtx/model/version.h"

namespace vyr::vtx {

namespace {

std::string textOrEmpty(const dao::Value& v)
{
    return v.isNull() ? std::string() : v.text();
}

} // namespace

CheckOutcome runChecks(dao::Database& db, MessageBoxes& boxes)
{
    CheckOutcome out;
    {
        dao::Recordset versions = db.openRecordset("System Versions");
        versions.moveFirst();
        dao::Value name = versions.value("Version Name");
        out.version = versionNumber(name);
        if (auto problem = versionProblem(name.text(), out.version)) {
            boxes.inform(*problem, kCheckCaption);
            return out;
        }
    }
    dao::Recordset systems = db.openRecordset("Available Systems");
    systems.moveFirst();
    SystemVerdict verdict = checkSystem(textOrEmpty(systems.value("ID Scan Unit")),
                                        textOrEmpty(systems.value("ID FCS Unit")),
                                        textOrEmpty(systems.value("ID Available")));
    if (verdict.refusal) {
        boxes.inform(*verdict.refusal, kCheckCaption);
        return out;
    }
    if (verdict.notice)
        boxes.inform(*verdict.notice, kCheckCaption);
    out.passed = true;
    return out;
}

} // namespace vyr::vtx
