#pragma once
// ButtonList: a grid of equal buttons, one per entry of the command's list on the command
// server. The current entry is drawn pushed in; clicking a button (or Enter/Space on the
// focused one) asks the server to select its entry. The grid comes from ButtonListLayout.
#include "controls/buttons/buttonlistlayout.h"
#include "controls/core/control.h"

namespace vyr::controls {

class ButtonList final : public ControlBase {
public:
    ButtonList();
    static const ClassDescriptor& classDescriptor();

    ButtonListLayout layout;
    OLE_COLOR foreColor = 0x80000008; // COLOR_WINDOWTEXT
    OLE_COLOR backColor = 0x8000000F; // COLOR_BTNFACE
    int picturePosition = 4;
    int captionPosition = 4;
    int useBackColor = 1;
    com::ComPtr<IPictureDisp> picture;
    com::ComPtr<IPictureDisp> backPicture;

    int current = -1;    // the selected entry, drawn pushed in
    int focusIndex = -1; // the keyboard-focused button
    std::vector<std::string> captions;
    std::vector<OLE_COLOR> colors;

    // The cell of button i in the window's client area.
    QRect cellRect(int index) const;
    // Makes `index` the current entry and selects it on the server (nothing when it already is).
    void choose(int index);

    void onDraw(QPainter& painter, const QRect& bounds) override;
    void refreshFromServer() override;
    void onWindowCreated() override;
    void onMousePress(QMouseEvent* e) override;
    bool onKeyPress(QKeyEvent* e) override;
    void onFocusIn() override;
    void onFocusOut() override;
    bool onEvent(QEvent* e) override;

private:
    Qt::FocusReason focusReason_ = Qt::OtherFocusReason;
};

} // namespace vyr::controls
