#include "controls/core/controlwindow.h"
#include "controls/core/accessible.h"
#include "controls/core/control.h"
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

namespace vyr::controls {

ControlWindow::ControlWindow(ControlBase& control, QWidget* parent) : QWidget(parent), control_(control)
{
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(false);
    installAccessibleFactory();
}

bool ControlWindow::event(QEvent* e)
{
    if (control_.onEvent(e))
        return true;
    if (e->type() == QEvent::PaletteChange)
        control_.onPaletteChange();
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

void ControlWindow::mousePressEvent(QMouseEvent* e)
{
    if (control_.isRunMode())
        control_.onMousePress(e);
}

void ControlWindow::mouseReleaseEvent(QMouseEvent* e)
{
    if (control_.isRunMode())
        control_.onMouseRelease(e);
}

void ControlWindow::mouseMoveEvent(QMouseEvent* e)
{
    if (control_.isRunMode())
        control_.onMouseMove(e);
}

void ControlWindow::mouseDoubleClickEvent(QMouseEvent* e)
{
    if (control_.isRunMode())
        control_.onMouseDoubleClick(e);
}

void ControlWindow::keyPressEvent(QKeyEvent* e)
{
    if (control_.isRunMode() && control_.onKeyPress(e))
        return;
    QWidget::keyPressEvent(e);
}

void ControlWindow::keyReleaseEvent(QKeyEvent* e)
{
    if (control_.isRunMode() && control_.onKeyRelease(e))
        return;
    QWidget::keyReleaseEvent(e);
}

void ControlWindow::focusInEvent(QFocusEvent*) { control_.onFocusIn(); }
void ControlWindow::focusOutEvent(QFocusEvent*) { control_.onFocusOut(); }
void ControlWindow::resizeEvent(QResizeEvent*) { control_.onResize(); }

void ControlWindow::timerEvent(QTimerEvent* e)
{
    for (const auto& [id, qtId] : control_.timers_) {
        if (qtId == e->timerId()) {
            control_.onTimer(id);
            return;
        }
    }
}

} // namespace vyr::controls
