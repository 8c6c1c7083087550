#pragma once
// List: the entries of a list command in a single-selection list box. Entries, current entry
// and enabled state come from the command; the user's selection and activation go back to it.
#include "controls/lists/viewcontrol.h"
#include "controls/lists/entrycommand.h"
#include <QListWidget>
#include <QPointer>

namespace vyr::controls {

class List final : public lists::ViewControl {
public:
    List();
    static const ClassDescriptor& classDescriptor();

    OLE_COLOR foreColor = 0x80000008; // COLOR_WINDOWTEXT
    OLE_COLOR backColor = 0x80000005; // COLOR_WINDOW

    const lists::EntryCommand& state() const { return entries_; }
    QListWidget* listBox() const { return list_; }

    // The user's actions, as the list box reports them.
    void userSelected(int row);
    HRESULT userActivated();

    void refreshFromServer() override;
    void onWindowCreated() override;
    void applyLook();

private:
    void showEntries();

    lists::EntryCommand entries_;
    QPointer<QListWidget> list_;
    unsigned shownRevision_ = ~0u;
};

HRESULT createList(REFIID iid, void** out);

} // namespace vyr::controls
