#include "controls/values/slider.h"

#include "controls/values/value_pieces.h"
#include "controls/values/value_window.h"
#include "platform/gdi/edge.h"
#include "platform/gdi/fill.h"
#include "platform/gdi/invert.h"
#include "platform/gdi/syscolors.h"
#include "platform/gdi/text.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace vyr::controls {

using values::SliderLogic;
using values::SliderPress;

namespace {

const EnumNames kOrientationNames{{"Horizontal", "Vertical"}, VT_I2, {}, "Orientation", {"eHorizontal", "eVertical"}};
const EnumNames kSlotWidthNames{{"Small", "Wide"}, VT_I2, {}, "SlotWidth", {"eSlotSmall", "eSlotWide"}};
const EnumNames kValueDisplayNames{{"None", "Left", "Right"}, VT_I2, {}, "ValueDisplay",
                                    {"eValueNone", "eValueLeft", "eValueRight"}};
const EnumNames kButtonPositionNames{{"Left", "Right"}, VT_I2, {}, "ValueButtonPosition",
                                      {"eButtonLeft", "eButtonRight"}};
const EnumNames kModeNames{{"Normal", "Logarithmic", "List"}, VT_I2, {}, "SliderMode",
                            {"eModeNormal", "eModeLogarithmic", "eModeList"}};

void relayoutAfter(Slider& s) { s.relayout(); }
void modeAfter(Slider& s) { s.modeChanged(); }
void unitsAfter(Slider& s) { s.unitsChanged(); }

} // namespace

Slider::Slider() : ValueControl(classDescriptor()) {}

const ClassDescriptor& Slider::classDescriptor()
{
    static const ClassDescriptor d{
        CLSID_Slider,
        IID_ISlider,
        DIID__DSlider,
        {
            props::command(),
            props::shortField<Slider, int16_t>(34, "Orientation",
                [](Slider& s) -> int16_t& { return s.logic.properties().orientation; }, &kOrientationNames,
                relayoutAfter),
            props::doubleField<Slider>(40, "Step", [](Slider& s) -> double& { return s.logic.properties().step; }),
            props::doubleField<Slider>(41, "ShiftStep",
                [](Slider& s) -> double& { return s.logic.properties().shiftStep; }),
            props::doubleField<Slider>(42, "ControlStep",
                [](Slider& s) -> double& { return s.logic.properties().controlStep; }),
            props::withHelp(listText<Slider>(53, "DiscreteValues", &SliderLogic::discreteValuesText,
                                             &SliderLogic::setDiscreteValuesText, relayoutAfter),
                            "List of values for slider ticks separated by space characters"),
            props::boolField<Slider, bool>(43, "Buttons",
                [](Slider& s) -> bool& { return s.logic.properties().arrowButtons; }, relayoutAfter),
            relayingFont<Slider>(),
            props::colorField<Slider>(DISPID_FORECOLOR, "TextColor", [](Slider& s) -> OLE_COLOR& { return s.textColor; }),
            props::colorField<Slider>(DISPID_BACKCOLOR, "BackColor", [](Slider& s) -> OLE_COLOR& { return s.backColor; }),
            props::shortField<Slider, values::SlotWidth>(49, "SliderSlotWidth",
                [](Slider& s) -> values::SlotWidth& { return s.logic.properties().slotWidth; }, &kSlotWidthNames,
                relayoutAfter),
            props::shortField<Slider, values::ValueDisplay>(35, "ValueDisplay",
                [](Slider& s) -> values::ValueDisplay& { return s.logic.properties().valueDisplay; },
                &kValueDisplayNames, relayoutAfter),
            props::longField<Slider>(36, "ValueDisplayWidth",
                [](Slider& s) -> int32_t& { return s.logic.properties().valueDisplayWidth; }, nullptr, relayoutAfter),
            props::boolField<Slider, bool>(37, "ValueEditable",
                [](Slider& s) -> bool& { return s.logic.properties().valueEditable; }, relayoutAfter),
            props::longField<Slider>(69, "ValuePrecision",
                [](Slider& s) -> int32_t& { return s.logic.properties().valuePrecision; }, nullptr, relayoutAfter),
            props::withHelp(listText<Slider>(44, "UnitStrings", &SliderLogic::unitStringsText,
                                             &SliderLogic::setUnitStrings, unitsAfter, 45),
                            "Unit strings separated by space characters"),
            props::withHelp(listText<Slider>(45, "UnitFactors", &SliderLogic::unitFactorsText,
                                             &SliderLogic::setUnitFactors, unitsAfter, 44),
                            "Unit factors separated by space characters"),
            props::longField<Slider>(38, "UnitDisplayWidth",
                [](Slider& s) -> int32_t& { return s.logic.properties().unitDisplayWidth; }, nullptr, relayoutAfter),
            props::boolField<Slider, bool>(39, "UnitSelectable",
                [](Slider& s) -> bool& { return s.logic.properties().unitSelectable; }, unitsAfter),
            props::withHelp(listText<Slider>(46, "ValueButtons", &SliderLogic::valueButtonsText,
                                             &SliderLogic::setValueButtonsText, relayoutAfter),
                            "Value button strings separated by space characters"),
            props::shortField<Slider, values::ButtonSide>(68, "ValueButtonPosition",
                [](Slider& s) -> values::ButtonSide& { return s.logic.properties().valueButtonSide; },
                &kButtonPositionNames, relayoutAfter),
            props::longField<Slider>(47, "ValueButtonWidth",
                [](Slider& s) -> int32_t& { return s.logic.properties().valueButtonWidth; }, nullptr, relayoutAfter),
            props::shortField<Slider, values::SliderMode>(48, "SliderMode",
                [](Slider& s) -> values::SliderMode& { return s.logic.properties().mode; }, &kModeNames, modeAfter),
        },
        {},
        // Saved in the order of the property table.
        {50, 34, 40, 41, 42, 53, 43, DISPID_FONT, DISPID_FORECOLOR, DISPID_BACKCOLOR, 49, 35, 36, 37, 69, 44, 45, 38,
         39, 46, 68, 47, 48},
    };
    return d;
}

// ---------------------------------------------------------------- command server

values::ReadPlan Slider::readPlan() const
{
    // List mode reads the entries instead of the range.
    const bool list = logic.properties().mode == values::SliderMode::List;
    return {!list, list};
}

void Slider::modeChanged()
{
    logic.modeChanged();
    if (server() && command().registered())
        refreshFromServer();
    relayout();
}

// ---------------------------------------------------------------- input

void Slider::applyToChildren(const values::ValueEffects& fx, bool committed)
{
    if (fx.relayout)
        placeChildren();
    if (fx.repaint)
        showValueText(committed);
}

void Slider::onMouseMove(QMouseEvent* e)
{
    if (logic.press() == SliderPress::Dragging)
        act(values::MouseMove{values::pointOf(e)});
}

void Slider::onFocusOut()
{
    act(values::FocusLoss{});
    ControlBase::onFocusOut();
}

// ---------------------------------------------------------------- window and children

void Slider::onWindowCreated()
{
    unitChoice_ = -1; // as a new selector starts
    unitsChanged();
}

void Slider::makeValueField()
{
    edit_ = new values::ValueField(window());
    edit_->onCommit = [this] { act(values::CommitText{edit_->text().toStdString()}); };
    edit_->onStepKey = [this](QKeyEvent* e) {
        if (const auto key = values::valueKeyOf(e->key())) {
            act(values::KeyStroke{*key, e->count(), values::modifiersOf(e->modifiers())});
            showValueText(true);
        }
    };
    // Tab reaches it right after the control, as if it had been made with the window.
    QWidget::setTabOrder(window(), edit_);
}

void Slider::makeUnitSelector()
{
    units_ = new values::UnitSelector(window());
    QObject::connect(units_, &QComboBox::activated, units_, [this](int index) {
        logic.selectUnit(index);
        showValueText(true);
        invalidate();
    });
    QWidget::setTabOrder(edit_ ? static_cast<QWidget*>(edit_) : window(), units_);
    unitChoice_ = units_->refill(unitNames()); // the choice made without it
}

std::vector<std::string> Slider::unitNames() const
{
    std::vector<std::string> names;
    for (const values::Unit& u : logic.units())
        names.push_back(u.name);
    return names;
}

void Slider::relayout()
{
    logic.relayout(values::toPixelRect(clientRect()), values::lineHeight(qfont()));
    placeChildren();
    invalidate();
}

void Slider::unitsChanged()
{
    if (window()) {
        unitChoice_ = units_ ? units_->refill(unitNames()) : values::keptSelection(unitChoice_, logic.units().size());
        logic.selectUnit(unitChoice_);
    }
    relayout();
}

void Slider::placeChildren()
{
    if (!window())
        return;
    const values::SliderGeometry& g = logic.geometry();
    const values::SliderProperties& p = logic.properties();
    const bool display = g.valid && (p.valueDisplay == values::ValueDisplay::Left ||
                                     p.valueDisplay == values::ValueDisplay::Right);
    const bool showEdit = display && p.valueEditable;
    const bool showUnits = display && p.unitSelectable && !logic.units().empty();
    if (showEdit && !edit_)
        makeValueField();
    if (showUnits && !units_)
        makeUnitSelector();
    if (!edit_ && !units_)
        return;
    const QFont font = qfont();
    if (edit_) {
        edit_->setFont(font);
        edit_->setGeometry(values::toQRect(g.editBox(values::lineHeight(font))));
        edit_->setEnabled(logic.enabled());
        edit_->setVisible(showEdit);
        showValueText(false);
    }
    if (units_) {
        units_->setFont(font);
        // The closed drop-down, frame included, covers the unit field; its selection field
        // inside the 6-pixel frame is the field's height less 6.
        units_->setGeometry(values::toQRect(g.unitField));
        units_->setEnabled(logic.enabled());
        units_->setVisible(showUnits);
    }
}

void Slider::showValueText(bool evenIfTyped)
{
    // Text the user is typing stays until it is committed.
    if (edit_ && (evenIfTyped || !edit_->isModified()))
        edit_->showValue(QString::fromStdString(logic.valueText()));
}

// ---------------------------------------------------------------- painting

void Slider::onDraw(QPainter& painter, const QRect&)
{
    const values::SliderGeometry& g = logic.geometry();
    if (!g.valid)
        return; // an unknown orientation draws nothing
    const values::SliderProperties& p = logic.properties();
    const bool enabled = logic.enabled();
    const QColor back = gdi::ColorOf(backColor);
    const QColor text = gdi::ColorOf(textColor);
    painter.setFont(qfont());

    gdi::FillSolid(painter, values::toQRect(g.inner), back);
    values::drawSliderSlot(painter, values::toQRect(g.slot));
    const bool dragging = logic.press() == SliderPress::Dragging;
    values::drawSliderThumb(painter, values::toQRect(logic.thumb()), enabled && !dragging);
    if (p.arrowButtons) {
        values::drawSliderArrow(painter, values::toQRect(g.lowerArrow), g.axis, true,
                                logic.press() == SliderPress::LowerArrow, enabled);
        values::drawSliderArrow(painter, values::toQRect(g.upperArrow), g.axis, false,
                                logic.press() == SliderPress::UpperArrow, enabled);
    }

    const bool display = p.valueDisplay == values::ValueDisplay::Left || p.valueDisplay == values::ValueDisplay::Right;
    if (display) {
        const QRect field = values::toQRect(g.valueField);
        if (p.valueEditable) {
            const QRect inside = gdi::DrawEdge(painter, field, gdi::EDGE_SUNKEN, gdi::BF_RECT);
            gdi::FillSolid(painter, inside, gdi::SysColor(enabled ? gdi::COLOR_WINDOW : gdi::COLOR_BTNFACE));
        } else {
            painter.setPen(text);
            painter.setBackground(back);
            painter.setBackgroundMode(Qt::OpaqueMode);
            QRect r = field;
            gdi::DrawText(painter, QString::fromStdString(logic.valueText()), r,
                          gdi::DT_CENTER | gdi::DT_VCENTER | gdi::DT_SINGLELINE | gdi::DT_NOPREFIX);
            painter.setBackgroundMode(Qt::TransparentMode);
        }
        if (!logic.units().empty() && !p.unitSelectable) {
            painter.setPen(text);
            QRect r = values::toQRect(g.unitField);
            gdi::DrawText(painter, QString::fromStdString(logic.units()[logic.shownUnit()].name), r,
                          gdi::DT_VCENTER | gdi::DT_SINGLELINE | gdi::DT_NOPREFIX);
        }
        for (size_t i = 0; i < g.valueButtons.size(); ++i) {
            const bool pressed = logic.pressedButton() == int(i);
            QRect r = values::toQRect(g.valueButtons[i]);
            gdi::FillSolid(painter, r, gdi::SysColor(gdi::COLOR_BTNFACE));
            gdi::DrawEdge(painter, r, pressed ? gdi::EDGE_SUNKEN : gdi::EDGE_RAISED, gdi::BF_RECT);
            if (pressed)
                r.translate(1, 1);
            painter.setPen(text);
            gdi::DrawText(painter, QString::fromStdString(logic.valueButtonLabel(i)), r,
                          gdi::DT_CENTER | gdi::DT_VCENTER | gdi::DT_SINGLELINE | gdi::DT_NOPREFIX);
        }
    }
    if (focused())
        gdi::DrawFocusRect(painter, values::toQRect(g.inner));
}

HRESULT createSlider(REFIID iid, void** out)
{
    auto s = com::make<Slider>();
    return s->QueryInterface(iid, out);
}

} // namespace vyr::controls
