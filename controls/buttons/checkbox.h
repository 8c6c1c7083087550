#pragma once
// CheckBox: shows the on/off state of a command as a native-looking check box and asks the
// server to execute the command when the user clicks it. The mark never toggles by itself: it
// always shows the state the server reports.
#include "controls/core/control.h"
#include <QPointer>

class QCheckBox;

namespace vyr::controls {

class CheckBox final : public ControlBase {
public:
    CheckBox();
    static const ClassDescriptor& classDescriptor();

    int captionPosition = 0; // 1: the text left of the box; any other value: right of it
    OLE_COLOR foreColor = 0x80000012;
    OLE_COLOR backColor = 0x8000000F;
    bool checked() const { return checked_; }
    QCheckBox* box() const;

    void onDraw(QPainter& painter, const QRect& bounds) override;
    void refreshFromServer() override;
    void onWindowCreated() override;
    void onResize() override;
    void onFocusIn() override;

    // The user clicked the box: execute the command (E_FAIL without server or registration).
    HRESULT userClick();
    // The box draws the mnemonic and answers it itself; the container adds no shortcut.
    STDMETHOD(GetMnemonic)(char* mnemonic) override;

    // Applies caption, font, colours, text side and state to the box.
    void applyToBox();
    void onPaletteChange() override { applyToBox(); }

private:
    QPointer<QCheckBox> box_;
    bool checked_ = false;
};

} // namespace vyr::controls
