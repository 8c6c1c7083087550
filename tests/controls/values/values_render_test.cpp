// Pixels of painted Sliders and ValueEdits at points taken from their own geometry. With
// VYR_PNG_DIR set, each configuration is also written there as a PNG to look at; with
// VYR_PNG_ZOOM=n as well, a copy magnified n times beside it.
#include "controls/values/arrow_glyph.h"
#include "controls/values/slider.h"
#include "controls/values/spi_slider.h"
#include "controls/values/text_edit.h"
#include "controls/values/time_edit.h"
#include "controls/values/value_edit.h"
#include "controls/values/value_pieces.h"
#include "controls/values/value_window.h"
#include "platform/gdi/edge.h"
#include "platform/gdi/fill.h"
#include "platform/gdi/syscolors.h"
#include "tests/controls/values/hosted.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

using namespace vyr;
using namespace vyr::controls;
using com::Variant;

namespace {

void keep(const QImage& image, const char* name)
{
    if (const char* dir = std::getenv("VYR_PNG_DIR")) {
        image.save(QString("%1/%2.png").arg(dir, name));
        if (const int zoom = qEnvironmentVariableIntValue("VYR_PNG_ZOOM"); zoom > 1)
            image.scaled(image.size() * zoom).save(QString("%1/%2@%3x.png").arg(dir, name).arg(zoom));
    }
}

QImage grabAndKeep(QWidget* w, const char* name)
{
    QImage image = w->grab().toImage();
    keep(image, name);
    return image;
}

// The images one under the other, 4 pixels apart, kept as one more PNG.
void keepStacked(const std::vector<QImage>& images, const char* name)
{
    if (!std::getenv("VYR_PNG_DIR") || images.empty())
        return;
    int width = 0, height = -4;
    for (const QImage& i : images) {
        width = std::max(width, i.width());
        height += i.height() + 4;
    }
    QImage stacked(width, height, QImage::Format_RGB32);
    stacked.fill(Qt::white);
    QPainter p(&stacked);
    int y = 0;
    for (const QImage& i : images) {
        p.drawImage(0, y, i);
        y += i.height() + 4;
    }
    p.end();
    keep(stacked, name);
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

TEST(ValuesRender, SpiSliderConfigurations)
{
    const SliderCase cases[] = {
        {"spislider_plain", {240, 30}, {}, true},
        {"spislider_wide_scales", {320, 44},
         [](IDispatch* d) {
             com::putProperty(d, "SliderSlotWidth", Variant::fromShort(1));
             com::putProperty(d, "ScaleSmall", Variant::fromShort(5));
             com::putProperty(d, "ScaleMiddle", Variant::fromShort(10));
             com::putProperty(d, "ScaleLarge", Variant::fromShort(50));
         },
         true},
        {"spislider_disabled", {240, 30}, {}, false},
    };
    std::vector<QImage> shots;
    for (const SliderCase& c : cases) {
        SCOPED_TRACE(c.name);
        test::Hosted<SpiSlider> h("VyrControls.SpiSlider", c.size, [&c](IDispatch* d) {
            com::putProperty(d, "CommandLeft", Variant::fromString("Gain"));
            com::putProperty(d, "CommandRight", Variant::fromString("Upper"));
            com::putProperty(d, "CommandColor", Variant::fromString("Colour"));
            com::putProperty(d, "CommandStepSize", Variant::fromString("Step"));
            if (c.setup)
                c.setup(d);
        }, true, false);
        (*h.server)["Gain"].value = 30;
        (*h.server)["Gain"].enabled = c.enabled;
        (*h.server)["Upper"].value = 70;
        (*h.server)["Colour"].color = 0x0000C000;
        (*h.server)["Step"].value = 1;
        h.server->notify("Gain");
        const SpiSlider& s = h.control();
        const values::SpiGeometry& g = s.logic.geometry();
        const QImage image = grabAndKeep(h.window(), c.name);
        shots.push_back(image);
        EXPECT_EQ(image.pixelColor(test::centre(g.band)), QColor(0, 0xC0, 0));
        EXPECT_EQ(image.pixelColor(test::centre(g.upperThumb)),
                  gdi::SysColor(c.enabled ? gdi::COLOR_BTNFACE : gdi::COLOR_3DHIGHLIGHT));
    }
    keepStacked(shots, "spislider_states");
}

TEST(ValuesRender, TimeEditAndEditConfigurations)
{
    std::vector<QImage> shots;
    for (const bool enabled : {true, false}) {
        test::Hosted<VyrTimeEdit> t("VyrControls.TimeEdit", {150, 24});
        (*t.server)["Gain"].value = 45356.0 + (9 * 3600 + 30 * 60 + 5) / 86400.0;
        (*t.server)["Gain"].enabled = enabled;
        t.server->notify("Gain");
        QImage image = grabAndKeep(t.window(), enabled ? "timeedit" : "timeedit_disabled");
        shots.push_back(image);
        const values::TimeEditLayout l = t.control().layout();
        EXPECT_EQ(image.pixelColor(l.frames[1].left + 3, l.frames[1].top + 3),
                  gdi::SysColor(enabled ? gdi::COLOR_WINDOW : gdi::COLOR_BTNFACE));
        EXPECT_EQ(t.control().field(values::TimeField::Minutes)->text(), "30");

        test::Hosted<VyrEdit> e("VyrControls.Edit", {160, 24});
        (*e.server)["Gain"].text = "Specimen 12";
        (*e.server)["Gain"].enabled = enabled;
        e.server->notify("Gain");
        image = grabAndKeep(e.window(), enabled ? "edit" : "edit_disabled");
        shots.push_back(image);
        EXPECT_EQ(image.pixelColor(3, 3), gdi::SysColor(enabled ? gdi::COLOR_WINDOW : gdi::COLOR_BTNFACE));
    }
    keepStacked(shots, "timeedit_edit_states");
}

} // namespace

namespace {

// The pieces drawn in place, with the drawing primitives themselves: what a copy must equal.
void drawArrowInPlace(QPainter& p, const QRect& r, values::Axis axis, bool lower, bool pressed, bool enabled)
{
    gdi::FillSolid(p, r, gdi::SysColor(gdi::COLOR_BTNFACE));
    gdi::DrawEdge(p, r, gdi::EDGE_RAISED, gdi::BF_RECT | (pressed ? gdi::BF_FLAT : 0));
    values::drawGlyph(
        p, values::toPixelRect(r), [=](const values::PixelRect& b) { return values::sliderArrowGlyph(b, axis, lower); },
        values::arrowGlyphColor(enabled), pressed ? QPoint(1, 1) : QPoint());
}

void drawSpinInPlace(QPainter& p, const QRect& r, bool up, bool pressed, bool enabled)
{
    gdi::FillSolid(p, r, gdi::SysColor(gdi::COLOR_BTNFACE));
    gdi::DrawEdge(p, r, pressed ? gdi::EDGE_SUNKEN : gdi::EDGE_RAISED, gdi::BF_RECT);
    values::drawGlyph(
        p, values::toPixelRect(r), [=](const values::PixelRect& b) { return values::spinArrowGlyph(b, up); },
        values::arrowGlyphColor(enabled), pressed ? QPoint(1, 1) : QPoint());
}

QImage painted(const std::function<void(QPainter&)>& draw)
{
    QImage image(60, 60, QImage::Format_RGB32);
    image.fill(QColor(12, 140, 70)); // shows through where a piece draws nothing
    QPainter p(&image);
    draw(p);
    return image;
}

} // namespace

TEST(ValuesRender, RepeatedPiecesCopyTheirPixelsExactly)
{
    using values::Axis;
    const Axis across{values::Orientation::Horizontal}, down{values::Orientation::Vertical};
    // Offsets of every parity (the glyphs halve and quarter their extents) and two sizes.
    for (const QPoint at : {QPoint(0, 0), QPoint(1, 3), QPoint(6, 5), QPoint(13, 2)})
        for (const QSize size : {QSize(16, 26), QSize(25, 13)})
            for (const bool pressed : {false, true})
                for (const bool enabled : {true, false}) {
                    const QRect r(at, size);
                    SCOPED_TRACE(testing::Message() << "at " << at.x() << "," << at.y() << " size " << size.width()
                                                    << "x" << size.height() << " pressed " << pressed << " enabled "
                                                    << enabled);
                    for (const Axis axis : {across, down})
                        for (const bool lower : {true, false}) {
                            const QImage copied = painted([&](QPainter& p) {
                                values::drawSliderArrow(p, r, axis, lower, pressed, enabled); // composes
                                values::drawSliderArrow(p, r, axis, lower, pressed, enabled); // copies
                            });
                            EXPECT_EQ(copied, painted([&](QPainter& p) {
                                          drawArrowInPlace(p, r, axis, lower, pressed, enabled);
                                      }));
                        }
                    for (const bool up : {true, false})
                        EXPECT_EQ(painted([&](QPainter& p) { values::drawSpinButton(p, r, up, pressed, enabled); }),
                                  painted([&](QPainter& p) { drawSpinInPlace(p, r, up, pressed, enabled); }));
                    EXPECT_EQ(painted([&](QPainter& p) { values::drawSliderThumb(p, r, enabled); }),
                              painted([&](QPainter& p) {
                                  const QRect inside = gdi::DrawEdge(p, r, gdi::EDGE_RAISED, gdi::BF_RECT);
                                  gdi::FillSolid(p, inside,
                                                 gdi::SysColor(enabled ? gdi::COLOR_BTNFACE : gdi::COLOR_3DHILIGHT));
                              }));
                    // The slot leaves its inside as it was.
                    EXPECT_EQ(painted([&](QPainter& p) { values::drawSliderSlot(p, r); }),
                              painted([&](QPainter& p) { gdi::DrawEdge(p, r, gdi::EDGE_SUNKEN, gdi::BF_RECT); }));
                }
}

TEST(ValuesRender, RepeatedPiecesFollowThePalette)
{
    const QRect r(2, 2, 16, 26);
    const QPoint face(8, 20); // inside the edge, beside the glyph
    EXPECT_EQ(painted([&](QPainter& p) { values::drawSliderArrow(p, r, {}, true, false, true); }).pixelColor(face),
              gdi::SysColor(gdi::COLOR_BTNFACE));
    const QPalette before = QApplication::palette();
    QPalette changed = before;
    changed.setColor(QPalette::Button, QColor(200, 30, 30));
    QApplication::setPalette(changed);
    EXPECT_EQ(painted([&](QPainter& p) { values::drawSliderArrow(p, r, {}, true, false, true); }).pixelColor(face),
              QColor(200, 30, 30));
    QApplication::setPalette(before);
    EXPECT_EQ(painted([&](QPainter& p) { values::drawSliderArrow(p, r, {}, true, false, true); }).pixelColor(face),
              gdi::SysColor(gdi::COLOR_BTNFACE));
}
