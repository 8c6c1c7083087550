#include "controls/values/time_edit.h"

#include "controls/values/field_rows.h"
#include "controls/core/valuechange.h"
#include "controls/values/value_window.h"
#include "platform/gdi/edge.h"
#include "platform/gdi/fill.h"
#include "platform/gdi/syscolors.h"
#include "platform/gdi/text.h"

#include <QFocusEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>

namespace vyr::controls {

using values::TimeField;

namespace {

// The labels of the three fields.
const char* const kLabels[3] = {"hh", "mm", "ss"};

} // namespace

// ---------------------------------------------------------------- the fields

TimeFieldEdit::TimeFieldEdit(VyrTimeEdit& owner, TimeField field, QWidget* parent)
    : QLineEdit(parent), owner_(owner), field_(field)
{
    setFrame(false);
    setAlignment(Qt::AlignCenter);
    setAccessiblePart(this, field == TimeField::Hours     ? QStringLiteral("hours")
                            : field == TimeField::Minutes ? QStringLiteral("minutes")
                                                          : QStringLiteral("seconds"));
    if (field == TimeField::Seconds)
        setMaxLength(2);
}

bool TimeFieldEdit::event(QEvent* e)
{
    // Tab and Shift+Tab move between the fields; only the last (first) one lets the focus go.
    if (e->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(e);
        if (k->key() == Qt::Key_Tab && !(k->modifiers() & Qt::ShiftModifier) && owner_.focusField(int(field_) + 1))
            return true;
        if ((k->key() == Qt::Key_Backtab || (k->key() == Qt::Key_Tab && (k->modifiers() & Qt::ShiftModifier))) &&
            owner_.focusField(int(field_) - 1))
            return true;
    }
    return QLineEdit::event(e);
}

void TimeFieldEdit::keyPressEvent(QKeyEvent* e)
{
    if (!owner_.fieldKey(*this, e))
        QLineEdit::keyPressEvent(e);
}

void TimeFieldEdit::focusInEvent(QFocusEvent* e)
{
    QLineEdit::focusInEvent(e);
    selectAll();
}

// ---------------------------------------------------------------- the control

VyrTimeEdit::VyrTimeEdit() : ControlBase(classDescriptor()) {}

const ClassDescriptor& VyrTimeEdit::classDescriptor()
{
    using C = VyrTimeEdit;
    static const ClassDescriptor d{
        CLSID_VyrTimeEdit,
        IID_IVyrTimeEdit,
        DIID__DSlider,
        fieldControlRows<C>(),
        {},
        fieldControlSaveOrder(),
    };
    return d;
}

void VyrTimeEdit::refreshFromServer()
{
    ICommandServer* s = server();
    if (!s || !command().registered()) {
        refreshUnbound();
        placeFields();
        return;
    }
    double v = 0;
    VARIANT_BOOL enabled = VARIANT_FALSE;
    if (FAILED(s->GetValue(command().cookie(), &v)) || FAILED(s->GetCommandEnabled(command().cookie(), &enabled))) {
        if (enabled_) {
            enabled_ = 0;
            placeFields();
            invalidate();
        }
        return;
    }
    LONG visible = 1;
    if (FAILED(s->GetCommandVisible(command().cookie(), &visible)))
        visible = 1;
    const int enabledNow = enabled ? 1 : 0;
    const bool moved = !read_ || valueDiffers(value_, v);
    value_ = v;
    read_ = true;
    // Every read shows the command's value: a text typed and left without Return is dropped,
    // so that a later Return cannot write it.
    showValue();
    if (enabledNow != enabled_) {
        enabled_ = enabledNow;
        placeFields();
    }
    if (moved || enabledNow != enabled_)
        invalidate();
    applyShowState((visible & 0xFFFF) != 0);
}

void VyrTimeEdit::showValue()
{
    const values::TimeOfDay t = values::splitTime(value_);
    const long parts[3] = {t.hours, t.minutes, t.seconds};
    for (int i = 0; i < 3; ++i) {
        if (TimeFieldEdit* f = fields_[size_t(i)]) {
            f->setText(QString::fromStdString(values::fieldText(parts[i])));
            f->selectAll();
            f->setModified(false);
        }
    }
}

void VyrTimeEdit::commit()
{
    bool modified = false;
    std::array<std::string, 3> texts;
    for (int i = 0; i < 3; ++i) {
        if (TimeFieldEdit* f = fields_[size_t(i)]) {
            modified = modified || f->isModified();
            texts[size_t(i)] = f->text().toStdString();
        }
    }
    if (!modified)
        return;
    for (TimeFieldEdit* f : fields_)
        if (f)
            f->setModified(false);
    const values::TimeCommit c = values::commitTime(value_, texts);
    value_ = c.value;
    ICommandServer* s = server();
    const bool bound = s && command().registered();
    if (bound)
        s->SetValue(command().cookie(), value_);
    // Parts beyond their range have carried: the fields show the value as it now stands.
    showValue();
    if (!c.allValid) {
        messageBeep();
        // The fields show the command's value again.
        read_ = false;
        if (bound)
            refreshFromServer();
    }
    invalidate();
}

bool VyrTimeEdit::focusField(int index)
{
    if (index < 0 || index > 2 || !fields_[size_t(index)])
        return false;
    fields_[size_t(index)]->setFocus(Qt::TabFocusReason);
    fields_[size_t(index)]->selectAll();
    return true;
}

bool VyrTimeEdit::fieldKey(TimeFieldEdit& f, QKeyEvent* e)
{
    const int index = int(f.field());
    switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        commit();
        return true;
    case Qt::Key_Escape:
        return true; // kept from the dialog
    case Qt::Key_Left:
    case Qt::Key_Right: {
        const bool left = e->key() == Qt::Key_Left;
        const auto move = values::arrowMove(f.field(), left, f.cursorPosition(), int(f.text().size()),
                                            f.hasSelectedText());
        if (move == values::FieldMove::Stay)
            return false;
        TimeFieldEdit* next = fields_[size_t(index + (left ? -1 : 1))];
        if (!next)
            return false;
        next->setFocus(Qt::OtherFocusReason);
        next->deselect();
        next->setCursorPosition(left ? int(next->text().size()) : 0);
        return true;
    }
    default:
        break;
    }
    const QString typed = e->text();
    if (typed.size() != 1 || !typed[0].isDigit() || (e->modifiers() & Qt::ControlModifier))
        return false;
    switch (values::digitAction(f.field(), f.text().toStdString(), f.cursorPosition(), f.hasSelectedText())) {
    case values::DigitAction::Insert:
        return false;
    case values::DigitAction::Overwrite: {
        const int at = f.cursorPosition();
        f.setSelection(at, 1);
        f.insert(typed); // marks the field modified
        return true;
    }
    case values::DigitAction::Advance: {
        TimeFieldEdit* next = fields_[size_t(index + 1)];
        if (!next)
            return false;
        next->setFocus(Qt::OtherFocusReason);
        next->selectAll();
        next->insert(typed);
        return true;
    }
    }
    return false;
}

// ---------------------------------------------------------------- window

void VyrTimeEdit::onWindowCreated()
{
    for (int i = 0; i < 3; ++i)
        fields_[size_t(i)] = new TimeFieldEdit(*this, TimeField(i), window());
    showValue();
    placeFields();
}

void VyrTimeEdit::onFocusIn()
{
    ControlBase::onFocusIn();
    // The first field takes the focus, the last one when Shift+Tab brought it.
    const bool backwards = QGuiApplication::keyboardModifiers() & Qt::ShiftModifier;
    focusField(backwards ? 2 : 0);
}

values::TimeEditLayout VyrTimeEdit::layout()
{
    const QFont font = qfont();
    const int digits = gdi::TextExtent(font, QStringLiteral("00")).width() + 4;
    const int line = gdi::TextExtent(font, QStringLiteral("0")).height() + 4;
    return values::layoutTimeEdit(values::toPixelRect(clientRect()), digits, line);
}

void VyrTimeEdit::placeFields()
{
    if (!window())
        return;
    const values::TimeEditLayout l = layout();
    const QFont font = qfont();
    for (int i = 0; i < 3; ++i) {
        TimeFieldEdit* f = fields_[size_t(i)];
        if (!f)
            continue;
        f->setFont(font);
        // A disabled field shows the frame's button face, as its frame's inside does.
        QPalette palette = f->palette();
        palette.setColor(QPalette::Disabled, QPalette::Base, gdi::SysColor(gdi::COLOR_BTNFACE));
        f->setPalette(palette);
        f->setGeometry(values::toQRect(l.fields[size_t(i)]));
        f->setEnabled(enabled_ != 0);
        f->setVisible(true);
    }
    invalidate();
}

void VyrTimeEdit::onDraw(QPainter& painter, const QRect& bounds)
{
    const values::TimeEditLayout l = layout();
    gdi::FillSolid(painter, bounds, gdi::ColorOf(backColor));
    painter.setFont(qfont());
    for (int i = 0; i < 3; ++i) {
        const QRect inside = gdi::DrawEdge(painter, values::toQRect(l.frames[size_t(i)]), gdi::EDGE_SUNKEN,
                                           gdi::BF_RECT);
        gdi::FillSolid(painter, inside, gdi::SysColor(enabled_ ? gdi::COLOR_WINDOW : gdi::COLOR_BTNFACE));
        painter.setPen(gdi::ColorOf(textColor));
        QRect label = values::toQRect(l.labels[size_t(i)]);
        gdi::DrawText(painter, QString::fromLatin1(kLabels[i]), label,
                      gdi::DT_CENTER | gdi::DT_VCENTER | gdi::DT_SINGLELINE | gdi::DT_NOPREFIX);
    }
}

HRESULT createTimeEdit(REFIID iid, void** out)
{
    auto t = com::make<VyrTimeEdit>();
    return t->QueryInterface(iid, out);
}

} // namespace vyr::controls
