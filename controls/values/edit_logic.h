#pragma once
// The Edit control without its window: the command's text and enabled flag as last read,
// what a read changes, and what a commit sends.
#include <optional>
#include <string>

namespace vyr::values {

// One read of the text command; `failed` when a read failed (the rest is then not set).
struct TextReading {
    std::string text;
    bool enabled = false;
    bool failed = false;
};

struct TextRefresh {
    bool showText = false;  // put the text into the field (all selected, not modified)
    bool placeField = false; // the enabled flag changed: enable and place the field again
    bool repaint = false;
};

// How a commit came about.
enum class CommitCause { Return, FocusLoss };

class EditLogic {
public:
    const std::string& text() const { return text_; }
    bool enabled() const { return enabled_; }

    // The server's text replaces the shown one only when it changed (or on the first read):
    // a notification about something else leaves what the user is typing alone.
    TextRefresh refresh(const TextReading& reading);
    // Not bound to a server: disabled.
    TextRefresh unbound();

    // The field's text on Return (only when modified) or on focus loss (always): it becomes
    // the current text and is sent; nothing when Return found the field unmodified.
    std::optional<std::string> commit(const std::string& fieldText, bool modified, CommitCause cause);

private:
    TextRefresh setEnabled(bool enabled);

    std::string text_;
    bool enabled_ = false;
    bool read_ = false;
};

} // namespace vyr::values
