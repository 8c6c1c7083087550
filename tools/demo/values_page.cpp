// Sliders and ValueEdits on demo commands: a plain one with value buttons, a logarithmic
// one, a list one with selectable units, a vertical one, and value edits with a unit factor.
#include "tools/demo/demopage.h"
#include <QLabel>

namespace vyr::demo {
namespace {

QWidget* buildValues(DemoContext& ctx)
{
    auto& s = *ctx.server;
    auto range = [&s](const char* name, double min, double max, double value) {
        s[name].enabled = true;
        s[name].minimum = min;
        s[name].maximum = max;
        s[name].value = value;
    };
    range("Detector.Gain", 0, 100, 40);
    range("Scan.Exposure", 0, 999, 30);
    range("Pinhole.Size", 0, 100, 1);
    s["Pinhole.Size"].entries = {{"", 0, 0, 0.25}, {"", 0, 0, 0.5}, {"", 0, 0, 1}, {"", 0, 0, 2}, {"", 0, 0, 5}};
    range("Stage.Offset", -50, 50, 0);
    range("Scan.Dwell", 1e-6, 1e-3, 4e-6);
    range("Scan.Zoom", 1, 8, 2);
    s["Scan.Zoom"].enabled = false;
    s.autoNotify = true;

    auto* page = new QWidget;
    page->setMinimumSize(760, 300);
    struct Item {
        const char* progId;
        QRect rect;
        const char* label;
        std::vector<std::pair<const char*, com::Variant>> props;
    };
    using com::Variant;
    const Item items[] = {
        {"VyrControls.Slider", {10, 10, 420, 30}, "normal, value field and value buttons",
         {{"Command", Variant::fromString("Detector.Gain")}, {"ValueDisplay", Variant::fromShort(2)},
          {"ValuePrecision", Variant::fromLong(1)}, {"ValueButtons", Variant::fromString("Min 50 Max")},
          {"ValueButtonPosition", Variant::fromShort(1)}}},
        {"VyrControls.Slider", {10, 70, 420, 30}, "logarithmic 0 to 999",
         {{"Command", Variant::fromString("Scan.Exposure")}, {"SliderMode", Variant::fromShort(1)},
          {"ValueDisplay", Variant::fromShort(1)}, {"ValuePrecision", Variant::fromLong(0)},
          {"SliderSlotWidth", Variant::fromShort(1)}}},
        {"VyrControls.Slider", {10, 130, 420, 30}, "list with selectable units",
         {{"Command", Variant::fromString("Pinhole.Size")}, {"SliderMode", Variant::fromShort(2)},
          {"ValueDisplay", Variant::fromShort(2)}, {"ValuePrecision", Variant::fromLong(2)},
          {"UnitStrings", Variant::fromString("AU mAU")}, {"UnitFactors", Variant::fromString("1 1000")},
          {"UnitSelectable", Variant::fromBool(true)}, {"UnitDisplayWidth", Variant::fromLong(50)}}},
        {"VyrControls.Slider", {460, 10, 60, 260}, "vertical",
         {{"Command", Variant::fromString("Stage.Offset")}, {"Orientation", Variant::fromShort(1)},
          {"ValueDisplay", Variant::fromShort(1)}, {"ValuePrecision", Variant::fromLong(0)},
          {"UnitStrings", Variant::fromString("um")}, {"ValueButtons", Variant::fromString("0")}}},
        {"VyrControls.ValueEdit", {10, 190, 300, 24}, "value edit, microseconds shown for seconds",
         {{"Command", Variant::fromString("Scan.Dwell")}, {"UnitFactor", Variant::fromDouble(1e6)},
          {"ValuePrecision", Variant::fromLong(2)}, {"Step", Variant::fromDouble(5e-7)},
          {"ValueButtons", Variant::fromString("0.000002 0.00001 0.0001")}}},
        {"VyrControls.ValueEdit", {10, 250, 160, 24}, "value edit, disabled",
         {{"Command", Variant::fromString("Scan.Zoom")}}},
    };
    for (const Item& it : items) {
        auto* h = ctx.host(page, it.progId, it.rect);
        for (const auto& [name, value] : it.props)
            h->setProperty(name, value);
        auto* label = new QLabel(QString::fromUtf8(it.label), page);
        label->setGeometry(it.rect.left(), it.rect.bottom() + 2, 300, 16);
    }
    return page;
}

const DemoPageRegistration reg({40, QStringLiteral("Slider and ValueEdit"), buildValues});

} // namespace
} // namespace vyr::demo
