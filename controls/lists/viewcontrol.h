#pragma once
// The base of the controls whose window one Qt view covers (List, ComboBox, MultiList, Tree):
// the view follows the window's size and takes its focus, and Return in it activates.
#include "controls/core/control.h"
#include <QPointer>
#include <functional>

namespace vyr::controls::lists {

class ViewControl : public ControlBase {
public:
    using ControlBase::ControlBase;

    void onDraw(QPainter&, const QRect&) override {} // the view paints itself
    void onResize() override;
    bool onEvent(QEvent* e) override;
    void onPaletteChange() override;

protected:
    // Makes `view` the child covering the window. Return pressed in `keySource` (the view when
    // null) while it has the focus runs `activate` in run mode; when that succeeded the key
    // stays there, so a dialog around does not act on it too.
    void adoptView(QWidget* view, std::function<HRESULT()> activate, QWidget* keySource = nullptr);
    QWidget* childView() const { return childView_; }

private:
    QPointer<QWidget> childView_;
};

} // namespace vyr::controls::lists
