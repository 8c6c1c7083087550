#include "controls/buttons/checkbox.h"
#include "controls/buttons/button.h"
#include "controls/core/properties.h"
#include "platform/gdi/syscolors.h"
#include <QCheckBox>
#include <QPainter>

namespace vyr::controls {

namespace {
// A check box that leaves its mark to the control (the server's state decides it) and takes
// no input while the control is in design mode.
class ServerCheckBox final : public QCheckBox {
public:
    ServerCheckBox(CheckBox& control, QWidget* parent) : QCheckBox(parent), control_(control) {}

protected:
    void nextCheckState() override {}
    bool hitButton(const QPoint& p) const override { return control_.isRunMode() && QCheckBox::hitButton(p); }
    void keyPressEvent(QKeyEvent* e) override
    {
        if (control_.isRunMode())
            QCheckBox::keyPressEvent(e);
    }

private:
    CheckBox& control_;
};

const EnumNames& textSideNames()
{
    static const EnumNames n{{"Right", "Left"}, VT_I4, {}, nullptr, {"eTextRight", "eTextLeft"}};
    return n;
}

constexpr DISPID kCaptionPosition = 6;

// A shared property whose change is also passed on to the box.
PropertyDesc appliedToBox(PropertyDesc p)
{
    p.put = [put = p.put](ControlBase& b, const VARIANT& v, PutKind kind) {
        const HRESULT hr = put(b, v, kind);
        static_cast<CheckBox&>(b).applyToBox();
        return hr;
    };
    return p;
}
} // namespace

CheckBox::CheckBox() : ControlBase(classDescriptor()) {}

QCheckBox* CheckBox::box() const { return box_.data(); }

const ClassDescriptor& CheckBox::classDescriptor()
{
    static const ClassDescriptor d{
        CLSID_VyrCheckBox,
        IID_IVyrCheckBox,
        DIID__DSlider,
        {appliedToBox(props::withHelp(props::command(), "Command to execute if selection has changed")), appliedToBox(props::caption()), appliedToBox(props::font()),
         props::longField<CheckBox>(kCaptionPosition, "CaptionPosition",
                                    [](CheckBox& c) -> int& { return c.captionPosition; }, &textSideNames(),
                                    [](CheckBox& c) { c.applyToBox(); }),
         props::colorField<CheckBox>(DISPID_FORECOLOR, "ForeColor", [](CheckBox& c) -> OLE_COLOR& { return c.foreColor; },
                                     [](CheckBox& c) { c.applyToBox(); }),
         props::colorField<CheckBox>(DISPID_BACKCOLOR, "BackColor", [](CheckBox& c) -> OLE_COLOR& { return c.backColor; },
                                     [](CheckBox& c) { c.applyToBox(); })},
        {props::method<CheckBox>(DISPID_ABOUTBOX, "AboutBox", [](CheckBox&) { return showAboutBox(); })},
        {50, DISPID_CAPTION, kCaptionPosition, DISPID_BACKCOLOR, DISPID_FORECOLOR, DISPID_FONT},
    };
    return d;
}

void CheckBox::onWindowCreated()
{
    box_ = new ServerCheckBox(*this, window());
    box_->setGeometry(clientRect());
    box_->setAutoFillBackground(true);
    QObject::connect(box_.data(), &QCheckBox::clicked, box_.data(), [this] {
        if (isRunMode())
            userClick();
    });
    window()->setFocusProxy(box_);
    applyToBox();
    box_->show();
}

void CheckBox::onResize()
{
    if (box_)
        box_->setGeometry(clientRect());
}

void CheckBox::onFocusIn()
{
    ControlBase::onFocusIn();
    if (box_)
        box_->setFocus();
}

void CheckBox::applyToBox()
{
    if (!box_)
        return;
    box_->setText(QString::fromStdString(captionText()));
    box_->setFont(qfont());
    box_->setLayoutDirection(captionPosition == 1 ? Qt::RightToLeft : Qt::LeftToRight);
    QPalette pal = box_->palette();
    // A button's background role is Button; the box is to fill with BackColor, set as Window.
    box_->setBackgroundRole(QPalette::Window);
    pal.setColor(QPalette::Window, gdi::ColorOf(backColor));
    // The disabled group keeps the style's greyed text.
    for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive})
        pal.setColor(g, QPalette::WindowText, gdi::ColorOf(foreColor));
    box_->setPalette(pal);
    box_->setChecked(checked_);
    box_->setEnabled(enabledFlag());
    box_->update();
}

void CheckBox::onDraw(QPainter& painter, const QRect& bounds)
{
    // The box covers the window; this shows only before it exists.
    painter.fillRect(bounds, gdi::ColorOf(backColor));
}

HRESULT CheckBox::GetMnemonic(char* mnemonic)
{
    if (!mnemonic)
        return E_POINTER;
    *mnemonic = 0;
    return S_OK;
}

HRESULT CheckBox::userClick()
{
    ICommandServer* s = server();
    if (!s || !command().registered())
        return E_FAIL;
    fire(DISPID_CLICK);
    fire(DISPID_EVENT_CHANGE);
    return s->ExecuteCommand(command().cookie());
}

void CheckBox::refreshFromServer()
{
    ICommandServer* s = server();
    bool visible = true;
    if (s && command().registered()) {
        // Enabled, state, visible: the order the box's hosts expect the reads in. A failing
        // read keeps what was held (visible: shown).
        const LONG cookie = command().cookie();
        VARIANT_BOOL en = enabled_ ? VARIANT_TRUE : VARIANT_FALSE;
        LONG state = checked_ ? 1 : 0;
        LONG shown = 1;
        s->GetCommandEnabled(cookie, &en);
        s->GetCommandState(cookie, &state);
        s->GetCommandVisible(cookie, &shown);
        enabled_ = en ? 1 : 0;
        checked_ = (state & 0xFFFF) != 0;
        visible = (shown & 0xFFFF) != 0;
    } else {
        enabled_ = 0;
    }
    applyToBox();
    invalidate();
    applyShowState(visible);
}

HRESULT createCheckBox(REFIID iid, void** out)
{
    auto c = com::make<CheckBox>();
    return c->QueryInterface(iid, out);
}

} // namespace vyr::controls
