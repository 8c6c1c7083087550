#pragma once
// ComboBox: the entries of a list command in a drop-down list, optionally with an editable
// text field. Entries, current entry, text and enabled state come from the command; the
// user's choice and typed text go back to it.
#include "controls/lists/viewcontrol.h"
#include "controls/lists/entrycommand.h"
#include <QComboBox>
#include <QPointer>

namespace vyr::controls {

class ComboBox final : public lists::ViewControl {
public:
    ComboBox();
    static const ClassDescriptor& classDescriptor();

    OLE_COLOR foreColor = 0x80000008; // COLOR_WINDOWTEXT
    OLE_COLOR backColor = 0x80000005; // COLOR_WINDOW
    int editable = 0;

    const lists::EntryCommand& state() const { return entries_; }
    QComboBox* comboBox() const { return combo_; }

    // The user's actions on the drop-down.
    // A selection change on the closed drop-down (keys, wheel): SelectEntry.
    void userSelected(int index);
    // An entry chosen and confirmed in the dropped list: SelectEntry, then ActivateEntry.
    void userChose(int index);
    // Typing in the text field marks the text modified.
    void userTyped();
    // The text field lost the focus: a modified text goes to SetText.
    void userLeftField();
    // Return: the editable kind sends a modified text and selects it all; the other kind
    // activates the current entry.
    HRESULT userReturn();

    // How an entry is drawn, in the dropped list and in the closed field.
    struct EntryLook {
        QColor text, background;
    };
    EntryLook entryLook(bool selected) const;
    // Where an entry's text starts: twice a quarter of the font's average character width.
    int textIndent() const;

    void refreshFromServer() override;
    void onWindowCreated() override;
    void onResize() override;
    // Makes the drop-down of the kind `Editable` asks for (a new one only when the kind
    // differs), and gives it font, colours and layout.
    void renew();

private:
    void createComboBox();
    void showEntries();
    void sendText();

    lists::EntryCommand entries_{lists::EntryCommand::Options{true, true}};
    QPointer<QComboBox> combo_;
    unsigned shownRevision_ = ~0u;
};

HRESULT createComboBox(REFIID iid, void** out);

} // namespace vyr::controls
