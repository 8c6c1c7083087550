#include "controls/frames/pagewidget.h"
#include "controls/core/host.h"
#include "controls/frames/backpicture.h"
#include "controls/frames/controlpage.h"
#include "platform/gdi/invert.h"
#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>

namespace vyr::frames {

namespace {

// Paints the drag outline with the NOT raster operation, as the rectangle and again inset by
// one pixel, over whatever the page and its controls show.
class FeedbackLayer final : public QWidget {
public:
    FeedbackLayer(const ControlPage& page, QWidget* parent) : QWidget(parent), page_(page)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        setFocusPolicy(Qt::NoFocus);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        const QRect r = page_.feedbackRect();
        if (r.isEmpty())
            return;
        QPainter p(this);
        gdi::DrawNotRect(p, r);
        gdi::DrawNotRect(p, r.adjusted(1, 1, -1, -1));
    }

private:
    const ControlPage& page_;
};

} // namespace

PageWidget::PageWidget(ControlPage& page, QWidget* parent)
    : QWidget(parent), page_(page), feedback_(new FeedbackLayer(page, this))
{
    setAcceptDrops(true);
    setFocusPolicy(Qt::NoFocus);
    feedback_->hide();
}

void PageWidget::raiseFeedback()
{
    feedback_->raise();
}

void PageWidget::feedbackMoved(const QRect& before, const QRect& after)
{
    feedback_->setGeometry(rect());
    feedback_->setVisible(!after.isEmpty());
    feedback_->raise();
    feedback_->update(before);
    feedback_->update(after);
}

void PageWidget::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    paintBackground(p, this, rect(), page_.backColor(), page_.backPicture(), page_.alignTopLevel());
}

void PageWidget::resizeEvent(QResizeEvent*)
{
    feedback_->setGeometry(rect());
}

void PageWidget::focusInEvent(QFocusEvent* e)
{
    page_.passFocus(e->reason() == Qt::BacktabFocusReason);
}

bool PageWidget::dragOver(QDropEvent* e)
{
    if (!page_.acceptsDrag(e->mimeData())) {
        e->ignore();
        return false;
    }
    e->setDropAction(page_.effectFor(e->possibleActions(), e->modifiers()));
    e->accept();
    return true;
}

void PageWidget::dragEnterEvent(QDragEnterEvent* e)
{
    if (!dragOver(e))
        return;
    page_.enterDrag(e->mimeData());
    page_.showFeedback(e->position().toPoint(), e->mimeData());
}

void PageWidget::dragMoveEvent(QDragMoveEvent* e)
{
    if (dragOver(e))
        page_.showFeedback(e->position().toPoint(), e->mimeData());
}

void PageWidget::dragLeaveEvent(QDragLeaveEvent*) { page_.hideFeedback(); }

void PageWidget::dropEvent(QDropEvent* e)
{
    if (!page_.acceptsDrag(e->mimeData())) {
        page_.hideFeedback();
        e->setDropAction(Qt::IgnoreAction);
        e->ignore();
        return;
    }
    const Qt::DropAction effect = page_.effectFor(e->possibleActions(), e->modifiers());
    const QPoint at = e->position().toPoint();
    if (e->mimeData() == page_.ownDrag_ && effect == Qt::MoveAction) {
        // Moved within the page: the control only changes place, and the source keeps it.
        page_.showFeedback(at, e->mimeData());
        if (page_.dragged_)
            page_.dragged_->setGeometry(page_.feedback_);
        page_.hideFeedback();
        e->setDropAction(Qt::IgnoreAction);
        e->accept();
        update();
        return;
    }
    page_.hideFeedback();
    if (FAILED(page_.dropRecord(e->mimeData(), at))) {
        e->setDropAction(Qt::IgnoreAction);
        e->ignore();
        return;
    }
    e->setDropAction(effect);
    e->accept();
}

bool PageWidget::eventFilter(QObject* watched, QEvent* e)
{
    // A hosted control may rebuild its window; the new one is watched as well.
    if (e->type() == QEvent::ChildAdded && qobject_cast<controls::HostWidget*>(watched)) {
        if (auto* child = qobject_cast<QWidget*>(static_cast<QChildEvent*>(e)->child()))
            child->installEventFilter(this);
        return false;
    }
    if (e->type() != QEvent::MouseButtonPress)
        return false;
    auto* me = static_cast<QMouseEvent*>(e);
    auto* w = qobject_cast<QWidget*>(watched);
    if (me->button() != Qt::LeftButton || !w || page_.isLocked() || page_.replaying_)
        return false;
    // The press lands on a host window or on the control window inside it.
    auto* host = qobject_cast<controls::HostWidget*>(w);
    if (!host)
        host = qobject_cast<controls::HostWidget*>(w->parentWidget());
    if (!host || host->parentWidget() != this)
        return false;
    const QPoint grab = w->mapTo(host, me->position().toPoint());
    page_.pressOnHost(host, grab, me->globalPosition().toPoint(), int64_t(me->timestamp()), w, me->position().toPoint(),
                      me->modifiers());
    return true;
}

} // namespace vyr::frames
