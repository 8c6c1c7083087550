#include "controls/values/value_edit.h"

#include "controls/values/value_pieces.h"
#include "controls/values/value_window.h"
#include "platform/gdi/edge.h"
#include "platform/gdi/fill.h"
#include "platform/gdi/syscolors.h"
#include "platform/gdi/text.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace vyr::controls {

using values::ValueEditPress;

namespace {

void relayoutAfter(VyrValueEdit& e) { e.relayout(); }
void reformatAfter(VyrValueEdit& e) { e.showValueText(); }

} // namespace

VyrValueEdit::VyrValueEdit() : ValueControl(classDescriptor()) {}

const ClassDescriptor& VyrValueEdit::classDescriptor()
{
    static const ClassDescriptor d{
        CLSID_VyrValueEdit,
        IID_IVyrValueEdit,
        DIID__DSlider,
        {
            props::command(),
            props::withHelp(props::doubleField<VyrValueEdit>(40, "Step",
                                [](VyrValueEdit& e) -> double& { return e.logic.properties().step; }),
                            "Spin button step"),
            props::boolField<VyrValueEdit, bool>(54, "Buttons",
                [](VyrValueEdit& e) -> bool& { return e.logic.properties().spinButtons; }, relayoutAfter),
            relayingFont<VyrValueEdit>(),
            props::colorField<VyrValueEdit>(DISPID_FORECOLOR, "TextColor",
                [](VyrValueEdit& e) -> OLE_COLOR& { return e.textColor; }),
            props::colorField<VyrValueEdit>(DISPID_BACKCOLOR, "BackColor",
                [](VyrValueEdit& e) -> OLE_COLOR& { return e.backColor; }),
            // Takes effect with the next change of the value.
            props::doubleField<VyrValueEdit>(55, "UnitFactor",
                [](VyrValueEdit& e) -> double& { return e.logic.properties().unitFactor; }),
            props::longField<VyrValueEdit>(69, "ValuePrecision",
                [](VyrValueEdit& e) -> int32_t& { return e.logic.properties().valuePrecision; }, nullptr,
                reformatAfter),
            props::withHelp(listText<VyrValueEdit>(46, "ValueButtons", &values::ValueEditLogic::valueButtonsText,
                                                   &values::ValueEditLogic::setValueButtonsText, relayoutAfter),
                            "Value button strings separated by space characters"),
            props::longField<VyrValueEdit>(47, "ValueButtonWidth",
                [](VyrValueEdit& e) -> int32_t& { return e.logic.properties().valueButtonWidth; }, nullptr,
                relayoutAfter),
        },
        {},
        // Saved in the order of the property table.
        {50, 40, 54, DISPID_FONT, DISPID_FORECOLOR, DISPID_BACKCOLOR, 55, 69, 46, 47},
    };
    return d;
}

// ---------------------------------------------------------------- input

void VyrValueEdit::applyToChildren(const values::ValueEffects& fx, bool)
{
    if (fx.relayout)
        placeEdit();
    if (edit_ && fx.fieldText)
        edit_->showValue(QString::fromStdString(*fx.fieldText), true);
    if (edit_ && fx.focusEdit)
        edit_->setFocus(Qt::MouseFocusReason);
}

void VyrValueEdit::onFocusIn()
{
    ControlBase::onFocusIn();
    // The edit field takes the keys.
    if (edit_)
        edit_->setFocus(Qt::OtherFocusReason);
}

void VyrValueEdit::onFocusOut()
{
    // Focus moving into the own edit field is not a loss of focus for the control.
    if (edit_ && edit_->hasFocus())
        return ControlBase::onFocusOut();
    act(values::FocusLoss{});
    ControlBase::onFocusOut();
}

// ---------------------------------------------------------------- window and edit field

void VyrValueEdit::onWindowCreated()
{
    edit_ = new values::ValueField(window());
    edit_->onCommit = [this] { act(values::CommitText{edit_->text().toStdString()}); };
    edit_->onStepKey = [this](QKeyEvent* e) {
        if (const auto key = values::valueKeyOf(e->key()))
            act(values::KeyStroke{*key, e->count()});
    };
    edit_->onFocusOut = [this] {
        if (window() && !window()->hasFocus())
            act(values::FocusLoss{});
    };
    relayout();
    showValueText();
}

void VyrValueEdit::relayout()
{
    logic.relayout(values::toPixelRect(clientRect()));
    placeEdit();
    invalidate();
}

void VyrValueEdit::placeEdit()
{
    if (!edit_)
        return;
    const QFont font = qfont();
    edit_->setFont(font);
    edit_->setGeometry(values::toQRect(logic.geometry().editBox(values::lineHeight(font))));
    edit_->setEnabled(logic.enabled());
    edit_->setVisible(true);
}

void VyrValueEdit::showValueText()
{
    if (edit_)
        edit_->showValue(QString::fromStdString(logic.text()), true);
}

// ---------------------------------------------------------------- painting

void VyrValueEdit::onDraw(QPainter& painter, const QRect& bounds)
{
    const values::ValueEditGeometry& g = logic.geometry();
    const bool enabled = logic.enabled();
    painter.setFont(qfont());
    gdi::FillSolid(painter, bounds, gdi::ColorOf(backColor));

    values::drawEditFrame(painter, values::toQRect(g.editArea), enabled);

    for (const bool up : {true, false}) {
        const values::PixelRect& button = up ? g.upButton : g.downButton;
        if (button.isEmpty())
            continue;
        const bool pressed = logic.press() == (up ? ValueEditPress::UpButton : ValueEditPress::DownButton);
        values::drawSpinButton(painter, values::toQRect(button), up, pressed, enabled);
    }

    painter.setPen(gdi::ColorOf(textColor));
    for (size_t i = 0; i < g.valueButtons.size(); ++i) {
        const bool pressed = logic.pressedButton() == int(i);
        QRect r = values::toQRect(g.valueButtons[i]);
        gdi::FillSolid(painter, r, gdi::SysColor(gdi::COLOR_BTNFACE));
        gdi::DrawEdge(painter, r, pressed ? gdi::EDGE_SUNKEN : gdi::EDGE_RAISED, gdi::BF_RECT);
        if (pressed)
            r.translate(1, 1);
        gdi::DrawText(painter, QString::fromStdString(logic.valueButtonLabel(i)), r,
                      gdi::DT_CENTER | gdi::DT_VCENTER | gdi::DT_SINGLELINE | gdi::DT_NOPREFIX);
    }
}

HRESULT createValueEdit(REFIID iid, void** out)
{
    auto e = com::make<VyrValueEdit>();
    return e->QueryInterface(iid, out);
}

} // namespace vyr::controls
