#include "vtx/ui/close_button.h"

#include "controls/core/host.h"
#include "controls/core/vyrcontrols.h"
#include "platform/com/guid.h"

#include <memory>

namespace vyr::vtx::ui {

controls::HostWidget* makeCloseButton(QWidget* parent, QSize size, std::function<void()> onClose)
{
    auto* b = new controls::HostWidget(parent);
    b->setObjectName("CmdClose");
    b->setFixedSize(size);
    if (SUCCEEDED(b->create(com::formatGuid(controls::CLSID_Button)))) {
        b->setProperty("Caption", com::Variant::fromString("Close"));
        b->setProperty("Enabled", com::Variant::fromBool(true));
    }
    // The Button fires Click on the press and again on a release inside it; Close acts once,
    // on the release (or on a keyboard click, which fires only one). A press released outside
    // the button closes nothing.
    auto last = std::make_shared<int>(0);
    QObject::connect(b, &controls::HostWidget::controlEvent, b,
                     [last, onClose = std::move(onClose)](int dispid, const QList<QVariant>&) {
                         bool pressClick = dispid == controls::DISPID_EVENT_CLICK && *last == controls::DISPID_EVENT_MOUSEDOWN;
                         *last = dispid;
                         if (dispid == controls::DISPID_EVENT_CLICK && !pressClick)
                             onClose();
                     });
    return b;
}

} // namespace vyr::vtx::ui
