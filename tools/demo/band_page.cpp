// The band slider, the time editor and the text editor on demo commands: an emission band
// with scales, tool tips and a veto command, a free-dragging one, a clock and a name.
#include "tools/demo/demopage.h"
#include <QDateTime>
#include <QLabel>

namespace vyr::demo {
namespace {

QWidget* buildBand(DemoContext& ctx)
{
    auto& s = *ctx.server;
    auto& low = s["Emission.Low"];
    low.enabled = true;
    low.minimum = 400;
    low.maximum = 750;
    low.value = 500;
    s["Emission.High"].value = 550;
    s["Emission.Colour"].color = 0x0000C000; // green
    s["Emission.Step"].value = 5;
    s["Emission.Allowed"].index = 1; // 0 would veto every setting
    auto& pinhole = s["Pinhole.Low"];
    pinhole.enabled = true;
    pinhole.minimum = 0;
    pinhole.maximum = 10;
    pinhole.value = 2;
    s["Pinhole.High"].value = 6;
    s["Pinhole.Step"].value = 0.5;
    // Today at 09:30:00 as an OLE date (days since 1899-12-30).
    const QDateTime nine(QDate::currentDate(), QTime(9, 30, 0));
    s["Clock.Start"].value = QDate(1899, 12, 30).daysTo(nine.date()) + 9.5 / 24;
    s["Clock.Start"].enabled = true;
    s["Sample.Name"].text = "Specimen 12";
    s["Sample.Name"].enabled = true;
    s["Sample.Locked"].text = "read only";
    s["Sample.Locked"].enabled = false;
    s.autoNotify = true;

    auto* page = new QWidget;
    page->setMinimumSize(760, 300);
    using com::Variant;
    struct Item {
        const char* progId;
        QRect rect;
        const char* label;
        std::vector<std::pair<const char*, Variant>> props;
    };
    const Item items[] = {
        {"VyrControls.SpiSlider", {10, 10, 460, 40}, "band 400 to 750 nm, step 5, scales and tool tips",
         {{"CommandLeft", Variant::fromString("Emission.Low")}, {"CommandRight", Variant::fromString("Emission.High")},
          {"CommandColor", Variant::fromString("Emission.Colour")},
          {"CommandStepSize", Variant::fromString("Emission.Step")},
          {"CommandAllowed", Variant::fromString("Emission.Allowed")}, {"ScaleSmall", Variant::fromShort(10)},
          {"ScaleMiddle", Variant::fromShort(50)}, {"ScaleLarge", Variant::fromShort(100)},
          {"ScaleColor", Variant::fromULong(0x00404040)}, {"SliderSlotWidth", Variant::fromShort(1)},
          {"ToolTip", Variant::fromLong(1)}}},
        {"VyrControls.SpiSlider", {10, 80, 460, 30}, "advanced mode: free dragging, whole steps on release",
         {{"CommandLeft", Variant::fromString("Pinhole.Low")}, {"CommandRight", Variant::fromString("Pinhole.High")},
          {"CommandStepSize", Variant::fromString("Pinhole.Step")}, {"AdvancedMode", Variant::fromLong(1)},
          {"ToolTip", Variant::fromLong(1)}, {"ToolTipPrecision", Variant::fromShort(2)}}},
        {"VyrControls.TimeEdit", {10, 140, 180, 26}, "time of day of a date command",
         {{"Command", Variant::fromString("Clock.Start")}}},
        {"VyrControls.Edit", {10, 200, 220, 24}, "text command", {{"Command", Variant::fromString("Sample.Name")}}},
        {"VyrControls.Edit", {260, 200, 220, 24}, "text command, disabled",
         {{"Command", Variant::fromString("Sample.Locked")}}},
    };
    for (const Item& it : items) {
        auto* h = ctx.host(page, it.progId, it.rect);
        for (const auto& [name, value] : it.props)
            h->setProperty(name, value);
        auto* label = new QLabel(QString::fromUtf8(it.label), page);
        label->setGeometry(it.rect.left(), it.rect.bottom() + 2, 400, 16);
    }
    return page;
}

const DemoPageRegistration reg({45, QStringLiteral("SpiSlider, TimeEdit and Edit"), buildBand});

} // namespace
} // namespace vyr::demo
