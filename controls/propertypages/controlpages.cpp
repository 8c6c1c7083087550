#include "controls/propertypages/controlpages.h"
#include "platform/com/dispcall.h"
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace vyr::controls {

namespace {

// 250 x 110 dialog units of an 8-point dialog font, widened for this platform's wider font.
constexpr QSize kPanelSize(440, 180);

QString idName(int id) { return QString::number(id); }

com::Variant boolValue(bool on)
{
    // A check box writes 1 or 0.
    com::Variant v = com::Variant::fromBool(on);
    VARIANT* raw = v.put();
    raw->vt = VT_BOOL;
    raw->boolVal = on ? 1 : 0;
    return v;
}

const EnumNames& radioStyleNames() { return buttonStyleNames(); }

} // namespace

ControlPropertyPage::ControlPropertyPage(const PanelSpec& spec) : PropertyPageBase(spec.info), spec_(spec) {}

QWidget* ControlPropertyPage::control(int controlId) const
{
    return panel() ? panel()->findChild<QWidget*>(idName(controlId)) : nullptr;
}

void ControlPropertyPage::buildPanel(QWidget* panel)
{
    auto* outer = new QVBoxLayout(panel);
    auto* grid = new QGridLayout;
    outer->addLayout(grid);
    int row = 0, checkRow = 0;
    for (const PanelField& f : spec_.fields) {
        QWidget* w = nullptr;
        switch (f.kind) {
        case PanelField::Edit:
        case PanelField::Number: {
            auto* e = new QLineEdit(panel);
            if (f.kind == PanelField::Number)
                e->setInputMethodHints(Qt::ImhDigitsOnly);
            QObject::connect(e, &QLineEdit::textChanged, panel, [this] { markDirty(); });
            w = e;
            break;
        }
        case PanelField::Check: {
            auto* c = new QCheckBox(QString::fromUtf8(f.text), panel);
            QObject::connect(c, &QCheckBox::clicked, panel, [this] { markDirty(); });
            QObject::connect(c, &QCheckBox::stateChanged, panel, [this] { markDirty(); });
            w = c;
            break;
        }
        case PanelField::List: {
            auto* l = new QComboBox(panel);
            QObject::connect(l, &QComboBox::currentIndexChanged, panel, [this] { markDirty(); });
            w = l;
            break;
        }
        }
        w->setObjectName(idName(f.controlId));
        if (f.kind == PanelField::Check) {
            grid->addWidget(w, checkRow++, 2);
        } else {
            grid->addWidget(new QLabel(QString::fromUtf8(f.text), panel), row, 0);
            grid->addWidget(w, row++, 1);
        }
    }
    // The check boxes keep their full texts; the edit and the lists give way.
    grid->setColumnStretch(1, 1);
    grid->setColumnMinimumWidth(2, 215);
    outer->addStretch(1);
    // The framed strip at the bottom with the control's name.
    auto* strip = new QFrame(panel);
    strip->setFrameStyle(QFrame::Box | QFrame::Sunken);
    auto* stripLayout = new QHBoxLayout(strip);
    stripLayout->setContentsMargins(4, 2, 4, 2);
    stripLayout->addWidget(new QLabel(QString::fromStdString(spec_.info.help), strip));
    outer->addWidget(strip);
}

void ControlPropertyPage::fillList(QComboBox* list, const PanelField& f, IDispatch* object)
{
    list->clear();
    if (f.names) {
        for (size_t i = 0; i < f.names->names.size(); ++i)
            list->addItem(QString::fromStdString(f.names->names[i]), f.names->valueAt(i));
        return;
    }
    // The object's own display strings, cookie = value.
    com::ComPtr<IPerPropertyBrowsing> browse;
    if (FAILED(object->QueryInterface(IID_IPerPropertyBrowsing, browse.putVoid())) || !browse)
        return;
    CALPOLESTR s{};
    CADWORD c{};
    if (browse->GetPredefinedStrings(f.dispid, &s, &c) != S_OK)
        return;
    for (ULONG k = 0; k < s.cElems; ++k) {
        if (k < c.cElems)
            list->addItem(QString::fromStdU16String(s.pElems[k] ? s.pElems[k] : u"").trimmed(), int(c.pElems[k]));
        CoTaskMemFree(s.pElems[k]);
    }
    CoTaskMemFree(s.pElems);
    CoTaskMemFree(c.pElems);
}

HRESULT ControlPropertyPage::showField(const PanelField& f, IDispatch* object)
{
    QWidget* w = control(f.controlId);
    if (!w)
        return E_UNEXPECTED;
    // Lists of fixed names are filled whatever the object answers.
    if (f.kind == PanelField::List && f.names && static_cast<QComboBox*>(w)->count() == 0)
        fillList(static_cast<QComboBox*>(w), f, object);
    com::Variant v;
    if (FAILED(com::getProperty(object, f.dispid, v)))
        return S_OK; // a property the object lacks keeps the panel as it is
    switch (f.kind) {
    case PanelField::Edit:
        static_cast<QLineEdit*>(w)->setText(QString::fromStdString(v.toString().value_or("")));
        break;
    case PanelField::Number:
        static_cast<QLineEdit*>(w)->setText(QString::number(v.toLong().value_or(0)));
        break;
    case PanelField::Check:
        static_cast<QCheckBox*>(w)->setChecked(v.toLong().value_or(0) != 0);
        break;
    case PanelField::List: {
        auto* list = static_cast<QComboBox*>(w);
        if (!f.names)
            fillList(list, f, object);
        const int at = list->findData(v.toLong().value_or(-1));
        if (at < 0 && list->count() == 0)
            return E_UNEXPECTED;
        list->setCurrentIndex(at);
        break;
    }
    }
    return S_OK;
}

HRESULT ControlPropertyPage::showValues()
{
    for (const auto& d : dispatches())
        for (const PanelField& f : spec_.fields)
            if (HRESULT hr = showField(f, d.get()); FAILED(hr))
                return hr;
    return S_OK;
}

HRESULT ControlPropertyPage::applyField(const PanelField& f, IDispatch* object)
{
    QWidget* w = control(f.controlId);
    if (!w)
        return E_UNEXPECTED;
    com::Variant v;
    switch (f.kind) {
    case PanelField::Edit: v = com::Variant::fromString(static_cast<QLineEdit*>(w)->text().toStdString()); break;
    case PanelField::Number: {
        bool ok = false;
        const int n = static_cast<QLineEdit*>(w)->text().trimmed().toInt(&ok);
        if (!ok)
            return S_OK; // only a number is written
        v = com::Variant::fromLong(n);
        break;
    }
    case PanelField::Check: v = boolValue(static_cast<QCheckBox*>(w)->isChecked()); break;
    case PanelField::List: {
        auto* list = static_cast<QComboBox*>(w);
        if (list->currentIndex() < 0)
            return S_OK;
        v = com::Variant::fromLong(list->currentData().toInt());
        break;
    }
    }
    return com::putProperty(object, f.dispid, v);
}

HRESULT ControlPropertyPage::applyValues()
{
    HRESULT first = S_OK;
    for (const auto& d : dispatches())
        for (int id : spec_.applyOrder)
            for (const PanelField& f : spec_.fields)
                if (f.controlId == id) {
                    const HRESULT hr = applyField(f, d.get());
                    // A property an object lacks is not an error of the page.
                    if (FAILED(hr) && hr != DISP_E_MEMBERNOTFOUND && SUCCEEDED(first))
                        first = hr;
                }
    return first;
}

HRESULT ControlPropertyPage::focusProperty(DISPID id)
{
    for (const PanelField& f : spec_.fields)
        if (f.dispid == id)
            if (QWidget* w = control(f.controlId)) {
                w->setFocus();
                return S_OK;
            }
    return E_NOTIMPL;
}

// ---------------------------------------------------------------- the three pages

const PanelSpec& ButtonPpg::spec()
{
    static const PanelSpec s{
        {"General", " ", "Button Property Page", kPanelSize},
        {{404, PanelField::Edit, "Caption", DISPID_CAPTION},
         {401, PanelField::Check, "Picture enable -Position", 4},
         {402, PanelField::Check, "Caption enable -Position", 3},
         {407, PanelField::Check, "Enabled", DISPID_ENABLED},
         {405, PanelField::List, "Picture position", 5, &itemPositionNames()},
         {406, PanelField::List, "Caption position", 6, &itemPositionNames()}},
        {404, 401, 402, 407, 405, 406},
    };
    return s;
}
ButtonPpg::ButtonPpg() : ControlPropertyPage(spec()) {}

const PanelSpec& RadioButtonPpg::spec()
{
    static const PanelSpec s{
        {"General", "Radio Button Property Page", "Radio Button Property Page", kPanelSize},
        {{404, PanelField::Edit, "Caption", DISPID_CAPTION},
         {401, PanelField::Check, "Picture enable  -Position", 4},
         {402, PanelField::Check, "Caption enable -Position", 3},
         {407, PanelField::Check, "Enabled", DISPID_ENABLED},
         {408, PanelField::Check, "Value", 0},
         {446, PanelField::Number, "Group", 10},
         {405, PanelField::List, "Picture position", 5, &itemPositionNames()},
         {406, PanelField::List, "Caption position", 6, &itemPositionNames()},
         {412, PanelField::List, "Style", 9, &radioStyleNames()}},
        {404, 401, 402, 407, 408, 405, 406, 412, 446},
    };
    return s;
}
RadioButtonPpg::RadioButtonPpg() : ControlPropertyPage(spec()) {}

const PanelSpec& FramePpg::spec()
{
    // The Frame's dispids; the lists take the Frame's own display strings. The picture
    // option the Frame has is the alignment of its back picture to the top-level window.
    static const PanelSpec s{
        {"General", "Frame Property Page", "Frame Property Page", kPanelSize},
        {{404, PanelField::Edit, "Caption", DISPID_CAPTION},
         {426, PanelField::List, "Frame style", 13},
         {427, PanelField::List, "Caption style", 12},
         {428, PanelField::List, "Back style", 14},
         {409, PanelField::Check, "Picture zoom", 61},
         {410, PanelField::Check, "Caption top", 11}},
        {404, 426, 427, 428, 409, 410},
    };
    return s;
}
FramePpg::FramePpg() : ControlPropertyPage(spec()) {}

HRESULT createButtonPpg(REFIID iid, void** out) { return createPage<ButtonPpg>(iid, out); }
HRESULT createRadioButtonPpg(REFIID iid, void** out) { return createPage<RadioButtonPpg>(iid, out); }
HRESULT createFramePpg(REFIID iid, void** out) { return createPage<FramePpg>(iid, out); }

} // namespace vyr::controls
