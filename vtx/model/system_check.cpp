#include "vtx/model/system_check.h"

#include <cctype>

namespace vyr::vtx {

namespace {

bool containsWord(std::string text, const std::string& upperWord)
{
    for (char& ch : text)
        ch = char(std::toupper(static_cast<unsigned char>(ch)));
    return text.find(upperWord) != std::string::npos;
}

} // namespace

SystemVerdict checkSystem(const std::string& scanUnit, const std::string& fcsUnit, const std::string& idAvailable)
{
    SystemVerdict v;
    if (containsWord(scanUnit, "VELDAN")) {
        v.refusal = "Current System Database is for VELDAN !";
        return v;
    }
    if (containsWord(scanUnit, "NONE") && containsWord(fcsUnit, "QUANTIRO2")) {
        v.refusal = "Current System Database is for FCS only !";
        return v;
    }
    if (containsWord(idAvailable, "OSTRAL"))
        v.notice = "Current System Database is an Ostral !";
    return v;
}

} // namespace vyr::vtx
