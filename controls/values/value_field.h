#pragma once
// The edit field of the Slider's value display and of the ValueEdit: a frameless line edit
// with centred text that commits on Return and on losing the focus when its text was
// changed, and hands the stepping keys to its control.
#include <QLineEdit>
#include <functional>

namespace vyr::values {

class ValueField final : public QLineEdit {
public:
    explicit ValueField(QWidget* parent);

    // Return or focus loss after the user changed the text.
    std::function<void()> onCommit;
    // Page Up, Page Down, Up and Down; the handler steps the value.
    std::function<void(QKeyEvent*)> onStepKey;
    std::function<void()> onFocusIn;
    std::function<void()> onFocusOut;

    // Shows `text` as the control's own (not typed): not modified, and all of it selected
    // when asked.
    void showValue(const QString& text, bool selectAll = false);

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
};

} // namespace vyr::values
