#pragma once
// Watches the application's mouse and key events after a press on a hosted control until the
// press turns into a drag or is given up, and hands them to a DragDetector. The events are
// taken out of the normal delivery while it waits, as a captured drag loop would.
#include "controls/frames/dragdetect.h"
#include <QElapsedTimer>
#include <QObject>
#include <QPoint>
#include <functional>

namespace vyr::frames {

// The profile values "DragMinDist" and "DragDelay" of section "windows" (per-user settings),
// with the defaults 2 and 200 when absent or not a number.
DragSettings readDragSettings();

class DragWatch final : public QObject {
public:
    // `pressMs` is the press event's timestamp; `done` runs once with the outcome.
    DragWatch(const DragSettings& settings, QPoint globalPress, int64_t pressMs, std::function<void(bool started)> done);
    ~DragWatch() override;

    DragDetector::State state() const { return detector_.state(); }
    // A tick as the timer gives it: time passed since the press without a message.
    void tick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    void feed(DragDetector::Input input, QPoint global, int64_t ms);

    DragDetector detector_;
    int64_t pressMs_;
    QElapsedTimer clock_;
    int timer_ = 0;
    std::function<void(bool)> done_;
};

} // namespace vyr::frames
