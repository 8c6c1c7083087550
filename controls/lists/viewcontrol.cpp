#include "controls/lists/viewcontrol.h"
#include "controls/lists/viewsupport.h"
#include <QKeyEvent>
#include <QWidget>

namespace vyr::controls::lists {

namespace {

class ReturnFilter final : public QObject {
public:
    ReturnFilter(ControlBase& control, std::function<HRESULT()> activate, QObject* parent)
        : QObject(parent), control_(control), activate_(std::move(activate))
    {
    }
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (e->type() != QEvent::KeyPress && e->type() != QEvent::ShortcutOverride)
            return false;
        // Only a key pressed in the view itself: one that an in-place editor did not take
        // passes up to the view too, and ends the edit rather than activating.
        auto* keys = static_cast<QWidget*>(watched);
        if (keys->window()->focusWidget() != keys)
            return false;
        auto* k = static_cast<QKeyEvent*>(e);
        if (k->key() != Qt::Key_Return && k->key() != Qt::Key_Enter)
            return false;
        if (e->type() == QEvent::ShortcutOverride) {
            k->accept(); // the key comes to the view first, not to a shortcut
            return true;
        }
        return control_.isRunMode() && SUCCEEDED(activate_());
    }

private:
    ControlBase& control_;
    std::function<HRESULT()> activate_;
};

} // namespace

void ViewControl::adoptView(QWidget* view, std::function<HRESULT()> activate, QWidget* keySource)
{
    childView_ = view;
    QWidget* keys = keySource ? keySource : view;
    keys->installEventFilter(new ReturnFilter(*this, std::move(activate), keys));
    onResize();
    view->show();
}

void ViewControl::onPaletteChange()
{
    ControlBase::onPaletteChange();
    lists::reapplyViewColors(window());
}

void ViewControl::onResize()
{
    if (childView_)
        childView_->setGeometry(clientRect());
}

bool ViewControl::onEvent(QEvent* e)
{
    if (e->type() == QEvent::FocusIn && childView_)
        childView_->setFocus();
    return false;
}

} // namespace vyr::controls::lists
