#include "controls/values/text_edit.h"

#include "controls/values/field_rows.h"
#include "controls/values/value_window.h"
#include "platform/gdi/edge.h"
#include "platform/gdi/fill.h"
#include "platform/gdi/syscolors.h"

#include <QPainter>

namespace vyr::controls {

VyrEdit::VyrEdit() : ControlBase(classDescriptor()) {}

const ClassDescriptor& VyrEdit::classDescriptor()
{
    using C = VyrEdit;
    static const ClassDescriptor d{
        CLSID_VyrEdit,
        IID_IVyrEdit,
        DIID__DSlider,
        fieldControlRows<C>(),
        {},
        fieldControlSaveOrder(),
    };
    return d;
}

// ---------------------------------------------------------------- command server

void VyrEdit::refreshFromServer()
{
    ICommandServer* s = server();
    if (!s || !command().registered()) {
        apply(logic.unbound());
        applyShowState(true);
        return;
    }
    values::TextReading r;
    BSTR text = nullptr;
    VARIANT_BOOL enabled = VARIANT_FALSE;
    if (FAILED(s->GetText(command().cookie(), &text))) {
        r.failed = true;
    } else {
        r.text = com::utf8(text);
        SysFreeString(text);
        r.failed = FAILED(s->GetCommandEnabled(command().cookie(), &enabled));
        r.enabled = enabled != VARIANT_FALSE;
    }
    LONG visible = 1;
    if (!r.failed && FAILED(s->GetCommandVisible(command().cookie(), &visible)))
        visible = 1;
    apply(logic.refresh(r));
    applyShowState((visible & 0xFFFF) != 0);
}

void VyrEdit::apply(const values::TextRefresh& r)
{
    enabled_ = logic.enabled() ? 1 : 0;
    if (r.showText && field_)
        field_->showText(QString::fromStdString(logic.text()));
    if (r.placeField)
        placeFields();
    if (r.repaint)
        invalidate();
}

void VyrEdit::commit(values::CommitCause cause)
{
    if (!field_)
        return;
    const auto sent = logic.commit(field_->text().toStdString(), field_->isModified(), cause);
    if (cause == values::CommitCause::Return)
        field_->setModified(false);
    if (!sent || !server() || !command().registered())
        return;
    com::Bstr text(*sent);
    server()->SetText(command().cookie(), text.get());
}

// ---------------------------------------------------------------- window

void VyrEdit::onWindowCreated()
{
    field_ = new values::TextField(window());
    field_->onReturn = [this] { commit(values::CommitCause::Return); };
    field_->onFocusOut = [this] { commit(values::CommitCause::FocusLoss); };
    field_->showText(QString::fromStdString(logic.text()));
    placeFields();
}

void VyrEdit::onFocusIn()
{
    ControlBase::onFocusIn();
    if (field_)
        field_->setFocus(Qt::OtherFocusReason);
}

void VyrEdit::placeFields()
{
    if (!field_)
        return;
    const QFont font = qfont();
    field_->setFont(font);
    QPalette palette = field_->palette();
    // The field is a text field on the window background: its text takes the colour the
    // palette pairs with that background when both are system colours.
    palette.setColor(QPalette::Text, gdi::TextColorOn(textColor, 0x80000000 | gdi::COLOR_WINDOW));
    palette.setColor(QPalette::Disabled, QPalette::Base, gdi::SysColor(gdi::COLOR_BTNFACE));
    field_->setPalette(palette);
    const values::PixelRect inside = values::toPixelRect(clientRect()).shrunk(2);
    field_->setGeometry(values::toQRect(values::editBoxIn(inside, values::lineHeight(font))));
    field_->setEnabled(logic.enabled());
    field_->setVisible(true);
    invalidate();
}

void VyrEdit::onDraw(QPainter& painter, const QRect&)
{
    const QRect inside = gdi::DrawEdge(painter, clientRect(), gdi::EDGE_SUNKEN, gdi::BF_RECT);
    gdi::FillSolid(painter, inside, gdi::SysColor(logic.enabled() ? gdi::COLOR_WINDOW : gdi::COLOR_BTNFACE));
}

HRESULT createEdit(REFIID iid, void** out)
{
    auto e = com::make<VyrEdit>();
    return e->QueryInterface(iid, out);
}

} // namespace vyr::controls
