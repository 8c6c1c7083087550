// The instrument controls kept beside the frames: a PopupDialog whose popup holds a page of
// Sliders, a GrabField on the demo server's field commands, and an Objective with four entries.
#include "tools/demo/demopage.h"
#include "controls/frames/popupdialog.h"
#include <QLabel>

namespace vyr::demo {
namespace {

QWidget* buildPopups(DemoContext& ctx)
{
    auto& s = *ctx.server;
    auto* page = new QWidget;
    page->setMinimumSize(620, 240);

    // PopupDialog: a 190 x 130 popup under the button with three Sliders.
    for (const char* c : {"Popup.Gain", "Popup.Offset", "Popup.Pinhole"}) {
        s[c].minimum = 0, s[c].maximum = 100, s[c].value = 40;
    }
    s["Popup.Detector"].text = "PMT 1";
    s["Popup.Detector"].color = 0x0080C0FF;
    auto* popupHost = ctx.host(page, "VyrControls.PopupDialog", QRect(10, 10, 140, 32));
    popupHost->setProperty("Caption", com::Variant::fromString("Detector..."));
    popupHost->setProperty("Locked", com::Variant::fromBool(true));
    popupHost->setProperty("LoadOption", com::Variant::fromLong(1));
    popupHost->setProperty("PopupLeft", com::Variant::fromLong(-70));
    popupHost->setProperty("PopupTop", com::Variant::fromLong(20));
    popupHost->setProperty("PopupWidth", com::Variant::fromLong(190));
    popupHost->setProperty("PopupHeight", com::Variant::fromLong(130));
    if (auto* popup = dynamic_cast<controls::PopupDialog*>(vyr::controls::ControlBase::from(popupHost->dispatch()))) {
        // The page is filled once, while the popup is open, and kept from then on.
        popup->open();
        int y = 8;
        for (const char* c : {"Popup.Gain", "Popup.Offset", "Popup.Pinhole"}) {
            popup->page()->insertControl("VyrControls.Slider", RECT{8, y, 180, y + 36});
            controls::HostWidget* slider = popup->page()->hosts().back();
            slider->setProperty("Command", com::Variant::fromString(c));
            y += 40;
        }
        popup->close(false);
    }
    // The same with the application's text and colour on the button.
    auto* styled = ctx.host(page, "VyrControls.PopupDialog", QRect(10, 50, 140, 32));
    styled->setProperty("Command", com::Variant::fromString("Popup.Detector"));
    styled->setProperty("ButtonDisplayStyle", com::Variant::fromLong(1));

    // GrabField: a 60 x 30 field turned by 30 degrees that moves 100 either way.
    s["Scan.Field.Width"].minimum = 1, s["Scan.Field.Width"].maximum = 200, s["Scan.Field.Width"].value = 60;
    s["Scan.Field.Height"].minimum = 1, s["Scan.Field.Height"].maximum = 200, s["Scan.Field.Height"].value = 30;
    for (const char* c : {"Scan.Field.OffsetX", "Scan.Field.OffsetY"})
        s[c].minimum = -100, s[c].maximum = 100, s[c].value = 0;
    s["Scan.Field.Rotation"].value = 30;
    auto* grab = ctx.host(page, "VyrControls.GrabField", QRect(170, 10, 220, 220));
    grab->setProperty("LineWidth", com::Variant::fromLong(2));
    grab->setProperty("Command", com::Variant::fromString("Scan.Field"));

    // Objective: four entries, the third current.
    auto& obj = s["Objective"];
    obj.entries = {{"HC PL APO 10x/0.40", 10}, {"HC PL APO 20x/0.75", 20}, {"HC PL APO 40x/1.30 Oil", 40},
                   {"HC PL APO 63x/1.40 Oil", 63}};
    obj.index = 2;
    auto* objective = ctx.host(page, "VyrControls.Objective", QRect(410, 10, 200, 32));
    objective->setProperty("Caption", com::Variant::fromString("Objective"));
    objective->setProperty("Command", com::Variant::fromString("Objective"));
    return page;
}

const DemoPageRegistration reg({30, QStringLiteral("PopupDialog, GrabField and Objective"), buildPopups});

} // namespace
} // namespace vyr::demo
