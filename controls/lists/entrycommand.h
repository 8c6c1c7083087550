#pragma once
// The command-server side of a list command, without a window: what the List and the ComboBox
// read (enabled state, entries, current entry, text) and what a user's choice sends back.
// The controls only mirror what this holds and pass it the user's actions.
#include "controls/core/vyrcontrols.h"
#include <string>
#include <vector>

namespace vyr::controls::lists {

// Entries beyond this many are not read, whatever count a server reports.
constexpr LONG kMaxEntries = 100000;

// Reads the entry count (negative counts as 0, capped at kMaxEntries) and then each text in
// order into `texts` (a null text reads as ""). Stops at the first failing read and returns
// false; `texts` then holds the entries read before it.
bool readEntryTexts(ICommandServer* server, LONG cookie, std::vector<std::string>& texts);

class EntryCommand {
public:
    // What a read fetches besides enabled state, entries and current index.
    struct Options {
        bool visible = false; // GetCommandVisible after the enabled state
        bool text = false;    // GetText after the current index
    };
    EntryCommand() = default;
    explicit EntryCommand(Options options) : options_(options) {}

    // Reads in order: enabled (a failure clears it), [visible], count and texts, current index
    // (-1 when the read fails or gives an index outside the entries), [text: the current
    // entry's text when it cannot be read]. A failing count or text read stops the reading:
    // the entries read so far stay and the rest of the read is skipped.
    void read(ICommandServer* server, LONG cookie);
    // No server or no registration: disabled, shown, no entries, no current entry, no text.
    void unbind();

    bool enabled() const { return enabled_; }
    bool visible() const { return visible_; }
    const std::vector<std::string>& entries() const { return entries_; }
    int current() const { return current_; }
    const std::string& text() const { return text_; }
    bool modified() const { return modified_; }
    // Grows whenever the entries change, so that a view refills only then.
    unsigned revision() const { return revision_; }

    // The user selected `index`: a valid index other than the current one becomes current and
    // goes to SelectEntry. Returns whether it was sent.
    bool select(ICommandServer* server, LONG cookie, int index);
    // The user activated `index` (double click, Return): ActivateEntry. Fails without a
    // server or registration and for an index outside the entries.
    HRESULT activate(ICommandServer* server, LONG cookie, int index);
    // The user typed into the text: it is held as modified.
    void edit() { modified_ = true; }
    // The text field shows entry `index` in place of what was typed: not modified.
    void takeEntryText(int index);
    // With the text modified: `windowText` (what the field shows) goes to SetText and the
    // modified mark is cleared. Returns whether it sent.
    bool commitText(ICommandServer* server, LONG cookie, std::string windowText);

private:
    Options options_;
    bool enabled_ = false;
    bool visible_ = true;
    std::vector<std::string> entries_;
    int current_ = -1;
    std::string text_;
    bool modified_ = false;
    unsigned revision_ = 0;
};

} // namespace vyr::controls::lists
