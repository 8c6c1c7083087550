#pragma once
// The control's own window: a QWidget that hands paint, input, focus, resize and timer
// events to its control. Input reaches the control only in run mode.
#include <QWidget>

namespace vyr::controls {

class ControlBase;

class ControlWindow final : public QWidget {
public:
    ControlWindow(ControlBase& control, QWidget* parent);
    ControlBase& control() const { return control_; }

protected:
    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void timerEvent(QTimerEvent* e) override;

private:
    ControlBase& control_;
};

} // namespace vyr::controls
