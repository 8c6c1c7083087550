#pragma once
// The control's own window, for containers that activate it in one: a QWidget that hands
// its events to the control and lets it paint.
#include <QWidget>

namespace vyr::controls {

class ControlBase;

class ControlWindow final : public QWidget {
public:
    ControlWindow(ControlBase& control, QWidget* parent);
    ~ControlWindow() override;
    ControlBase& control() const { return control_; }
    // Moves the focus along the Tab order, as Tab does; false when it stayed.
    bool moveFocus(bool next) { return focusNextPrevChild(next); }

protected:
    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;

private:
    ControlBase& control_;
};

} // namespace vyr::controls
