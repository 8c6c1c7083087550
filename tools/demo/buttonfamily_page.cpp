// The rest of the button family: display buttons showing the server's text and colour, radio
// buttons in two groups and three shapes, check boxes with the text on either side, and a
// button list choosing a laser line.
#include "tools/demo/demopage.h"
#include <QLabel>

namespace vyr::demo {
namespace {

using com::Variant;

QWidget* buildButtonFamily(DemoContext& ctx)
{
    auto& s = *ctx.server;
    s["Laser.Power"].text = "42 mW";
    s["Laser.Power"].color = 0x0000C0;
    s["Detector.Gate"].text = "Gate closed";
    s["Detector.Gate"].color = 0x00A000;
    s["Laser.On"].state = 1;
    s["Scan.Average"].state = 0;
    for (const char* t : {"405 nm", "488 nm", "561 nm", "633 nm", "Off"})
        s["Laser.Line"].entries.push_back({t, LONG(0x80000000 | 15), 0, 0});
    s["Laser.Line"].index = 1;
    // Check boxes and the gate toggle their state when executed; the gate also relabels itself.
    s.onExecute = [previous = s.onExecute](const std::string& name, vyr::CommandServer::Command& c) {
        if (previous)
            previous(name, c);
        if (name == "Laser.On" || name == "Scan.Average" || name == "Detector.Gate")
            c.state = !c.state;
        if (name == "Detector.Gate")
            c.text = c.state ? "Gate open" : "Gate closed";
    };

    auto* page = new QWidget;
    page->setMinimumSize(760, 200);
    auto label = [page](const char* text, QRect where) {
        auto* l = new QLabel(QString::fromUtf8(text), page);
        l->setGeometry(where);
        l->setAlignment(Qt::AlignCenter);
    };

    auto* power = ctx.host(page, "VyrControls.DisplayButton", QRect(10, 10, 130, 40));
    power->setProperty("Command", Variant::fromString("Laser.Power"));
    power->setProperty("UseBackColor", Variant::fromBool(false));
    power->setProperty("ForeColor", Variant::fromULong(0xFFFFFF));
    label("display (server colour)", QRect(0, 52, 150, 18));
    auto* gate = ctx.host(page, "VyrControls.DisplayOptionButton", QRect(160, 10, 130, 40));
    gate->setProperty("Command", Variant::fromString("Detector.Gate"));
    gate->setProperty("UseBackColor", Variant::fromBool(false));
    label("display option", QRect(160, 52, 130, 18));

    // Radio buttons are bound to no server: they are hosted on their own.
    struct Radio {
        const char* caption;
        int group;
        int style;
        bool on;
        bool enabled;
    };
    const Radio radios[] = {{"&Fast", 1, 0, true, true},   {"&Slow", 1, 0, false, true}, {"Circle", 2, 1, false, true},
                            {"Rhomb", 2, 2, true, true},   {"Disabled", 1, 0, false, false}};
    int x = 310;
    for (const Radio& r : radios) {
        auto* h = new controls::HostWidget(page);
        const int w = r.style ? 56 : 80;
        h->setGeometry(x, 10, w, 40);
        h->create("VyrControls.RadioButton");
        h->setProperty("Caption", Variant::fromString(r.caption));
        h->setProperty("GroupNumber", Variant::fromLong(r.group));
        h->setProperty("Style", Variant::fromShort(int16_t(r.style)));
        h->setProperty("Enabled", Variant::fromBool(r.enabled));
        h->setProperty("Value", Variant::fromBool(r.on));
        x += w + 6;
    }
    label("radio buttons: group 1 (rectangles), group 2 (circle, rhomb)", QRect(310, 52, 440, 18));

    auto* on = ctx.host(page, "VyrControls.CheckBox", QRect(10, 80, 150, 24));
    on->setProperty("Caption", Variant::fromString("Laser &on"));
    on->setProperty("Command", Variant::fromString("Laser.On"));
    auto* average = ctx.host(page, "VyrControls.CheckBox", QRect(170, 80, 150, 24));
    average->setProperty("Caption", Variant::fromString("Average"));
    average->setProperty("CaptionPosition", Variant::fromLong(1));
    average->setProperty("Command", Variant::fromString("Scan.Average"));
    label("check boxes (text right, text left)", QRect(0, 106, 330, 18));

    auto* lines = ctx.host(page, "VyrControls.ButtonList", QRect(340, 80, 410, 90));
    lines->setProperty("ButtonRows", Variant::fromLong(2));
    lines->setProperty("Style", Variant::fromLong(2));
    lines->setProperty("ButtonDistance", Variant::fromLong(4));
    lines->setProperty("Command", Variant::fromString("Laser.Line"));
    label("button list, fixed rows and fill last row", QRect(340, 172, 410, 18));
    return page;
}

const DemoPageRegistration reg({11, QStringLiteral("DisplayButton, RadioButton, CheckBox and ButtonList"),
                                buildButtonFamily});

} // namespace
} // namespace vyr::demo
