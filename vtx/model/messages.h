#pragma once
// Message boxes as the tool's logic sees them: a text, a caption and the buttons to offer.
// The window answers with real message boxes; tests and the command-line companion answer
// with their own implementations.
#include <exception>
#include <string>

namespace vyr::vtx {

// The caption of message boxes that give none of their own, and that of the database checks.
inline constexpr const char* kDefaultCaption = "vtx";
inline constexpr const char* kCheckCaption = "vtx.exe";

enum class Buttons { Ok, YesNo, YesNoCancel };
enum class Answer { Ok, Yes, No, Cancel };

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    virtual Answer show(const std::string& text, const std::string& caption, Buttons buttons) = 0;
    // The same with details that the message leaves out (SQL text, the engine's words); shown
    // on request. Boxes that cannot show details show the text alone.
    virtual Answer showDetailed(const std::string& text, const std::string& details, const std::string& caption,
                                Buttons buttons)
    {
        (void)details;
        return show(text, caption, buttons);
    }

    void inform(const std::string& text, const std::string& caption = kDefaultCaption)
    {
        show(text, caption, Buttons::Ok);
    }
    // A failure: its message in the tool's words, the rest as details (error_text.h).
    void report(const std::exception& e, const std::string& caption = kDefaultCaption);
};

// The open-file dialog for picking a System Database: offers "*.mdb" files, accepts only a file
// that exists, starts at `currentPath`. Empty when the user cancels or the dialog fails.
class FileDialog {
public:
    virtual ~FileDialog() = default;
    virtual std::string pickDatabase(const std::string& currentPath) = 0;
};

} // namespace vyr::vtx
