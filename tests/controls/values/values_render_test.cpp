// Pixels of painted Sliders and ValueEdits at points taken from their own geometry. With
// VYR_PNG_DIR set, each configuration is also written there as a PNG to look at; with
// VYR_PNG_ZOOM=n as well, a copy magnified n times beside it.
#include "controls/values/arrow_glyph.h"
#include "controls/values/slider.h"
#include "controls/values/value_edit.h"
#include "platform/gdi/syscolors.h"
#include "tests/controls/values/hosted.h"

#include <gtest/gtest.h>

#include <QImage>

using namespace vyr;
using namespace vyr::controls;
using com::Variant;

namespace {

QImage grabAndKeep(QWidget* w, const char* name)
{
    QImage image = w->grab().toImage();
    if (const char* dir = std::getenv("VYR_PNG_DIR")) {
        image.save(QString("%1/%2.png").arg(dir, name));
        if (const int zoom = qEnvironmentVariableIntValue("VYR_PNG_ZOOM"); zoom > 1)
            image.scaled(image.size() * zoom).save(QString("%1/%2@%3x.png").arg(dir, name).arg(zoom));
    }
    return image;
}

using Setup = std::function<void(IDispatch*)>;

struct SliderCase {
    const char* name;
    QSize size;
    Setup setup;
    bool enabled;
};

TEST(ValuesRender, SliderConfigurations)
{
    const SliderCase cases[] = {
        {"slider_plain", {220, 30}, {}, true},
        {"slider_wide_value_units", {360, 30},
         [](IDispatch* d) {
             com::putProperty(d, "SliderSlotWidth", Variant::fromShort(1));
             com::putProperty(d, "ValueDisplay", Variant::fromShort(2));
             com::putProperty(d, "ValuePrecision", Variant::fromLong(1));
             com::putProperty(d, "ValueDisplayWidth", Variant::fromLong(50));
             com::putProperty(d, "UnitStrings", Variant::fromString("mm um"));
             com::putProperty(d, "UnitFactors", Variant::fromString("1 1000"));
             com::putProperty(d, "ValueButtons", Variant::fromString("Min 25 Max"));
             com::putProperty(d, "ValueButtonPosition", Variant::fromShort(1));
         },
         true},
        {"slider_left_selectable_readonly", {360, 30},
         [](IDispatch* d) {
             com::putProperty(d, "ValueDisplay", Variant::fromShort(1));
             com::putProperty(d, "ValueEditable", Variant::fromBool(false));
             com::putProperty(d, "ValuePrecision", Variant::fromLong(0));
             com::putProperty(d, "UnitStrings", Variant::fromString("s ms"));
             com::putProperty(d, "UnitFactors", Variant::fromString("1 1000"));
             com::putProperty(d, "UnitSelectable", Variant::fromBool(true));
             com::putProperty(d, "UnitDisplayWidth", Variant::fromLong(50));
         },
         true},
        {"slider_vertical_value_buttons", {60, 260},
         [](IDispatch* d) {
             com::putProperty(d, "Orientation", Variant::fromShort(1));
             com::putProperty(d, "ValueDisplay", Variant::fromShort(1));
             com::putProperty(d, "ValuePrecision", Variant::fromLong(0));
             com::putProperty(d, "ValueButtons", Variant::fromString("0 Max"));
             com::putProperty(d, "UnitStrings", Variant::fromString("V"));
         },
         true},
        {"slider_disabled", {220, 30}, [](IDispatch* d) { com::putProperty(d, "ValueDisplay", Variant::fromShort(2)); },
         false},
    };
    for (const SliderCase& c : cases) {
        SCOPED_TRACE(c.name);
        test::Hosted<Slider> h("VyrControls.Slider", c.size, c.setup);
        (*h.server)["Gain"].value = 30;
        (*h.server)["Gain"].enabled = c.enabled;
        h.server->notify("Gain");
        const Slider& s = h.control();
        const values::SliderGeometry& g = s.logic.geometry();
        const QImage image = grabAndKeep(h.window(), c.name);

        // The thumb sits where the mapping puts it, filled with the face colour when enabled.
        const QPoint thumbInside = values::toQRect(s.logic.thumb()).center() + (g.axis.vertical() ? QPoint(4, 0) : QPoint(0, 4));
        EXPECT_EQ(image.pixelColor(thumbInside),
                  gdi::SysColor(c.enabled ? gdi::COLOR_BTNFACE : gdi::COLOR_3DHILIGHT));
        // The arrow glyph's lines: black when enabled, white when not.
        const auto glyph = values::sliderArrowGlyph(g.lowerArrow, g.axis, true);
        ASSERT_FALSE(glyph.empty());
        const values::PixelPoint tip = glyph.back().a;
        EXPECT_EQ(image.pixelColor(tip.x, tip.y), c.enabled ? QColor(Qt::black) : QColor(Qt::white));
    }
}

TEST(ValuesRender, ValueEditConfigurations)
{
    const SliderCase cases[] = {
        {"valueedit_plain", {160, 24}, {}, true},
        {"valueedit_buttons_factor", {300, 24},
         [](IDispatch* d) {
             com::putProperty(d, "UnitFactor", Variant::fromDouble(1000));
             com::putProperty(d, "ValueButtons", Variant::fromString("0.001 0.01 0.05"));
         },
         true},
        {"valueedit_disabled", {160, 24}, {}, false},
    };
    for (const SliderCase& c : cases) {
        SCOPED_TRACE(c.name);
        test::Hosted<VyrValueEdit> h("VyrControls.ValueEdit", c.size, c.setup);
        (*h.server)["Gain"].value = 0.025;
        (*h.server)["Gain"].enabled = c.enabled;
        h.server->notify("Gain");
        const VyrValueEdit& e = h.control();
        const values::ValueEditGeometry& g = e.logic.geometry();
        const QImage image = grabAndKeep(h.window(), c.name);
        const auto up = values::spinArrowGlyph(g.upButton, true);
        ASSERT_FALSE(up.empty());
        EXPECT_EQ(image.pixelColor(up.front().a.x, up.front().a.y), c.enabled ? QColor(Qt::black) : QColor(Qt::white));
        // The spin column's gap shows the back colour.
        EXPECT_EQ(image.pixelColor(g.spinGap.left + 1, g.spinGap.top + 5), gdi::SysColor(gdi::COLOR_BTNFACE));
    }
}

} // namespace
