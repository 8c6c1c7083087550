#pragma once
// Objective: a button that offers a choice among the entries the host application gives for its
// Command. Pressing it drops down a list of the entries under the button; choosing one selects it
// on the command server. With Style 1 ("Button if more than one entry") a command with fewer than
// two entries makes it a plain button.
#include "controls/buttons/button.h"
#include <QListWidget>
#include <QPointer>

namespace vyr::controls {

struct ObjectiveEntry {
    std::string text;
    LONG value = -1;
};

class Objective final : public PushButtonBase {
public:
    enum : DISPID { kStyle = 76 };
    // Entries beyond this many are not read, so that a hostile count cannot exhaust memory.
    static constexpr LONG kMaxEntries = 4096;

    Objective();
    ~Objective() override;
    static const ClassDescriptor& classDescriptor();

    int32_t style = 0;
    const std::vector<ObjectiveEntry>& entries() const { return entries_; }
    LONG current() const { return current_; }
    // Whether pressing drops the list down (rather than acting as a plain button).
    bool dropsDown() const { return !(style == 1 && entries_.size() < 2); }
    // The open drop-down list, or null.
    QListWidget* list() const { return list_; }
    void closeList();
    // Chooses an entry as the user does in the list: selects it on the server and closes the list.
    HRESULT choose(LONG index);

    void refreshFromServer() override;
    // The press: drops the list down, or runs the command as a plain button.
    HRESULT executeOwnCommand() override;
    void onDraw(QPainter& painter, const QRect& bounds) override;
    void onWindowCreated() override { refreshFromServer(); }

protected:
    bool ignoresPressWhileDisabled() const override { return true; }
    void onKeyDownPress() override;
    void onKeyUpRelease() override;

private:
    void openList();

    std::vector<ObjectiveEntry> entries_;
    LONG current_ = -1;
    QPointer<QListWidget> list_;
};

} // namespace vyr::controls
