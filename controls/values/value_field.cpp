#include "controls/values/value_field.h"

#include <QKeyEvent>

namespace vyr::values {

ValueField::ValueField(QWidget* parent) : QLineEdit(parent)
{
    setFrame(false);
    setAlignment(Qt::AlignCenter);
}

void ValueField::showValue(const QString& text, bool selectAll)
{
    if (this->text() != text)
        setText(text);
    if (selectAll)
        this->selectAll();
    setModified(false);
}

void ValueField::keyPressEvent(QKeyEvent* e)
{
    switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // Swallowed here so that a dialog around the control does not take it as its default.
        e->accept();
        if (isModified() && onCommit)
            onCommit();
        // Text that did not read as a number is not committed again by the focus leaving.
        setModified(false);
        return;
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Up:
    case Qt::Key_Down:
        e->accept();
        if (onStepKey)
            onStepKey(e);
        return;
    default:
        QLineEdit::keyPressEvent(e);
    }
}

void ValueField::focusInEvent(QFocusEvent* e)
{
    QLineEdit::focusInEvent(e);
    if (onFocusIn)
        onFocusIn();
}

void ValueField::focusOutEvent(QFocusEvent* e)
{
    QLineEdit::focusOutEvent(e);
    if (isModified() && onCommit)
        onCommit();
    if (onFocusOut)
        onFocusOut();
}

} // namespace vyr::values
