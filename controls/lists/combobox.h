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

    // The user's actions, as the drop-down reports them.
    void userSelected(int index);
    void userChose(int index);
    void userTyped(const QString& text);
    void userFinishedText();
    HRESULT userReturn();

    void refreshFromServer() override;
    void onWindowCreated() override;
    void onResize() override;
    // Makes the drop-down of the kind `Editable` asks for (a new one only when the kind
    // differs), and gives it font, colours and layout.
    void renew();

private:
    void createComboBox();
    void showEntries();

    lists::EntryCommand entries_{lists::EntryCommand::Options{true, true}};
    QPointer<QComboBox> combo_;
    unsigned shownRevision_ = ~0u;
};

HRESULT createComboBox(REFIID iid, void** out);

} // namespace vyr::controls
