#include "controls/core/controlwindow.h"
#include "controls/core/control.h"
#include <QPaintEvent>
#include <QPainter>

namespace vyr::controls {

ControlWindow::ControlWindow(ControlBase& control, QWidget* parent) : QWidget(parent), control_(control)
{
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(false);
}

ControlWindow::~ControlWindow() { ControlBase::forgetWidget(this); }

bool ControlWindow::event(QEvent* e)
{
    if (e->type() != QEvent::Paint && control_.deliver(e))
        return true;
    return QWidget::event(e);
}

void ControlWindow::paintEvent(QPaintEvent* e)
{
    if (e->region().isEmpty())
        return; // nothing to update
    QPainter p(this);
    p.setClipRegion(e->region());
    control_.onDraw(p, rect());
}

} // namespace vyr::controls
