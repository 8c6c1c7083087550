#include "vtx/model/printed_messages.h"

namespace vyr::vtx {

Answer PrintedMessages::show(const std::string& text, const std::string& caption, Buttons buttons)
{
    // A text may hold line breaks; each line of output is one message.
    std::string line = text;
    for (char& ch : line)
        if (ch == '\n' || ch == '\r')
            ch = ' ';
    out_ << line << std::endl;
    switch (buttons) {
    case Buttons::Ok: return Answer::Ok;
    case Buttons::YesNo: return Answer::No;
    case Buttons::YesNoCancel: return Answer::Cancel;
    }
    return Answer::Ok;
}

Answer PrintedMessages::showDetailed(const std::string& text, const std::string& details,
                                     const std::string& caption, Buttons buttons)
{
    Answer a = show(text, caption, buttons);
    if (details_ && !details.empty())
        *details_ << "  details: " << details << std::endl;
    return a;
}

} // namespace vyr::vtx
