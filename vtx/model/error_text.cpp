#include "vtx/model/error_text.h"

#include "vtx/model/messages.h"

#include <array>

namespace vyr::vtx {

namespace {

bool startsWith(const std::string& s, const std::string& prefix)
{
    return s.rfind(prefix, 0) == 0;
}

// "no such table: X" → "X", for the name of what the engine could not find.
std::string afterColon(const std::string& engine, const std::string& prefix)
{
    size_t at = engine.find(prefix);
    return at == std::string::npos ? std::string() : engine.substr(at + prefix.size());
}

} // namespace

ErrorText errorText(const std::string& description)
{
    ErrorText out{description, {}};
    // The database layer appends what it was doing in parentheses: the statement ("in "…""),
    // or the step ("opening …", "binding …").
    for (const char* marker : {" (in \"", " (opening ", " (binding "}) {
        size_t at = description.find(marker);
        if (at != std::string::npos && description.back() == ')') {
            out.message = description.substr(0, at);
            out.details = description.substr(at + 2, description.size() - at - 3);
            break;
        }
    }
    // "Cannot find the table in "SQL": no such table: X" names the table the way the table
    // lookup by name does.
    for (const auto& [lead, engine, noun] : std::array<std::array<const char*, 3>, 2>{
             {{"Cannot find the table in \"", "no such table: ", "table"},
              {"Cannot find the column in \"", "no such column: ", "column"}}}) {
        if (startsWith(description, lead)) {
            std::string name = afterColon(description, engine);
            out.message = std::string("Cannot find the ") + noun + (name.empty() ? "" : " [" + name + "]");
            out.details = description.substr(std::string(lead).size() - 4);
            return out;
        }
    }
    // "Cannot read or write 'P': engine words" keeps the first part.
    const std::string io = "Cannot read or write '";
    if (startsWith(out.message, io)) {
        size_t end = out.message.rfind("': ");
        if (end != std::string::npos && end >= io.size()) {
            std::string engine = out.message.substr(end + 3);
            out.details = out.details.empty() ? engine : engine + "; " + out.details;
            out.message.resize(end + 1);
        }
    }
    // A statement the engine refused for another reason: "in "SQL": engine words".
    if (startsWith(description, "in \"")) {
        out.message = "The System Database could not be read or written";
        out.details = description;
    }
    return out;
}

ErrorText errorText(const std::exception& e)
{
    return errorText(std::string(e.what()));
}

void MessageBoxes::report(const std::exception& e, const std::string& caption)
{
    ErrorText t = errorText(e);
    showDetailed(t.message, t.details, caption, Buttons::Ok);
}

} // namespace vyr::vtx
