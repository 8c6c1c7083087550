#pragma once
// The Edit control's field: a frameless line edit that reports Return (swallowed, so that a
// dialog around the control does not take it) and the focus leaving it.
#include <QLineEdit>
#include <functional>

namespace vyr::values {

class TextField final : public QLineEdit {
public:
    explicit TextField(QWidget* parent);

    std::function<void()> onReturn;
    std::function<void()> onFocusOut;

    // Shows the command's text: all of it selected, not modified.
    void showText(const QString& text);

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
};

} // namespace vyr::values
