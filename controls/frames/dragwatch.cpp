#include "controls/frames/dragwatch.h"
#include "controls/core/usersettings.h"
#include <QCoreApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <charconv>

namespace vyr::frames {

namespace {

LONG profileInt(const char* name, LONG def)
{
    const std::string text = controls::UserSettings::ReadString("windows", name, "");
    LONG value = def;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size() ? value : def;
}

} // namespace

DragSettings readDragSettings()
{
    return {profileInt("DragMinDist", 2), profileInt("DragDelay", 200)};
}

DragWatch::DragWatch(const DragSettings& settings, QPoint globalPress, int64_t pressMs,
                     std::function<void(bool)> done)
    : detector_(settings, globalPress.x(), globalPress.y(), pressMs), pressMs_(pressMs), done_(std::move(done))
{
    clock_.start();
    qApp->installEventFilter(this);
    timer_ = startTimer(int(detector_.deadlineMs() - pressMs));
}

DragWatch::~DragWatch()
{
    qApp->removeEventFilter(this);
}

void DragWatch::tick()
{
    feed(DragDetector::Input::Tick, QCursor::pos(), pressMs_ + clock_.elapsed());
}

void DragWatch::timerEvent(QTimerEvent*)
{
    tick();
}

void DragWatch::feed(DragDetector::Input input, QPoint global, int64_t ms)
{
    if (detector_.state() != DragDetector::State::Waiting)
        return;
    if (detector_.feed(input, global.x(), global.y(), ms) == DragDetector::State::Waiting)
        return;
    qApp->removeEventFilter(this);
    killTimer(timer_);
    if (done_)
        done_(detector_.state() == DragDetector::State::Started);
}

bool DragWatch::eventFilter(QObject*, QEvent* event)
{
    using Input = DragDetector::Input;
    switch (event->type()) {
    case QEvent::MouseMove: {
        auto* e = static_cast<QMouseEvent*>(event);
        feed(Input::Move, e->globalPosition().toPoint(), int64_t(e->timestamp()));
        return true;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick: {
        auto* e = static_cast<QMouseEvent*>(event);
        const bool leftOrRight = e->button() == Qt::LeftButton || e->button() == Qt::RightButton;
        feed(leftOrRight ? Input::LeftOrRightButton : Input::OtherButton, e->globalPosition().toPoint(),
             int64_t(e->timestamp()));
        return true;
    }
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        auto* e = static_cast<QKeyEvent*>(event);
        const bool escape = event->type() == QEvent::KeyPress && e->key() == Qt::Key_Escape;
        feed(escape ? Input::Escape : Input::Key, QCursor::pos(), int64_t(e->timestamp()));
        return true;
    }
    case QEvent::ApplicationDeactivate:
        feed(Input::CaptureLost, QCursor::pos(), pressMs_ + clock_.elapsed());
        return false;
    default:
        return false;
    }
}

} // namespace vyr::frames
