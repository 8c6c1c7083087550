#include "controls/values/text_field.h"

#include <QKeyEvent>

namespace vyr::values {

TextField::TextField(QWidget* parent) : QLineEdit(parent) { setFrame(false); }

void TextField::showText(const QString& text)
{
    if (this->text() != text)
        setText(text);
    selectAll();
    setModified(false);
}

void TextField::keyPressEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        e->accept();
        if (onReturn)
            onReturn();
        return;
    }
    QLineEdit::keyPressEvent(e);
}

void TextField::focusOutEvent(QFocusEvent* e)
{
    QLineEdit::focusOutEvent(e);
    if (onFocusOut)
        onFocusOut();
}

} // namespace vyr::values
