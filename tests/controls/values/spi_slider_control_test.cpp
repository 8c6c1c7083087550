// The SpiSlider hosted in a container, bound to five commands of a memory command server and
// driven by real Qt mouse and key events.
#include "controls/values/spi_slider.h"
#include "controls/core/host.h"
#include "platform/com/memstream.h"
#include "platform/com/streamio.h"
#include "platform/gdi/syscolors.h"
#include "tests/support/eventspy.h"
#include "controls/qtwidget/commandserver.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <QToolTip>

using namespace vyr;
using namespace vyr::controls;
using com::ComPtr;
using com::Variant;
using values::SpiThumb;

namespace {

using Log = std::vector<std::string>;

// Band "Low" 20 .. "High" 40 on 0 .. 100, step 1, band colour red, veto "Allowed".
struct HostedSpi {
    explicit HostedSpi(bool attach = true)
    {
        auto& low = (*server)["Low"];
        low.minimum = 0;
        low.maximum = 100;
        low.value = 20;
        (*server)["High"].value = 40;
        (*server)["Allowed"].index = 1;
        (*server)["Colour"].color = 0x000000FF;
        (*server)["Step"].value = 1;
        top.resize(272, 70);
        host = new HostWidget(&top);
        host->setGeometry(20, 20, 232, 30);
        EXPECT_EQ(host->create("VyrControls.SpiSlider"), S_OK);
        for (auto [name, command] : {std::pair{"CommandLeft", "Low"}, {"CommandRight", "High"},
                                     {"CommandAllowed", "Allowed"}, {"CommandColor", "Colour"},
                                     {"CommandStepSize", "Step"}})
            host->setProperty(name, Variant::fromString(command));
        if (attach)
            host->setCommandServer(server.get());
        top.show();
        QApplication::setActiveWindow(&top);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&top));
        server->log.clear();
    }
    SpiSlider& control() const { return *dynamic_cast<SpiSlider*>(vyr::controls::ControlBase::from(host->dispatch())); }
    QWidget* window() const { return host->controlWindow(); }
    QImage shot() const { return window()->grab().toImage().convertToFormat(QImage::Format_RGB32); }
    void dragTo(QPoint p) const
    {
        QMouseEvent move(QEvent::MouseMove, QPointF(p), window()->mapToGlobal(QPointF(p)), Qt::NoButton,
                         Qt::LeftButton, {});
        QApplication::sendEvent(window(), &move);
    }
    double low() const { return (*server)["Low"].value; }
    double high() const { return (*server)["High"].value; }

    ComPtr<vyr::CommandServer> server = com::make<vyr::CommandServer>();
    QWidget top;
    HostWidget* host = nullptr;
};

QPoint centre(const values::PixelRect& r) { return QPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2); }
QPoint grip(const SpiSlider& s)
{
    const values::SpiGeometry& g = s.logic.geometry();
    return QPoint((g.lowerThumb.right + g.upperThumb.left) / 2, 15);
}

TEST(SpiSliderControl, RegistersFiveCommandsInOrderAndReadsThem)
{
    HostedSpi h(false);
    h.host->setCommandServer(h.server.get());
    EXPECT_EQ(h.server->log, (Log{"RegisterCommand Low", "RegisterCommand High", "RegisterCommand Allowed",
                                  "RegisterCommand Colour", "RegisterCommand Step", "GetMinimum Low",
                                  "GetMaximum Low", "GetValue Low", "GetValue High", "GetCommandEnabled Low",
                                  "GetCommandVisible Low", "GetColor Colour", "GetValue Step"}));
    const SpiSlider& s = h.control();
    EXPECT_EQ(s.logic.lower(), 20);
    EXPECT_EQ(s.logic.upper(), 40);
    EXPECT_EQ(s.logic.bandColor(), 0x000000FFu);
    EXPECT_EQ(s.logic.pressValue(SpiThumb::Upper), 40);
    EXPECT_TRUE(s.enabledFlag());

    // Without the step command the step is 0; without the colour command the band is button face.
    h.host->setProperty("CommandStepSize", Variant::fromString(""));
    h.host->setProperty("CommandColor", Variant::fromString(""));
    EXPECT_EQ(s.logic.step(), 0);
    EXPECT_EQ(s.logic.bandColor(), 0x8000000Fu);
}

TEST(SpiSliderControl, CommandPutsAlwaysRegisterAgain)
{
    HostedSpi h;
    auto spy = com::make<test::NotifySpy>();
    ASSERT_TRUE(spy->connect(h.host->control()));
    h.host->setProperty("CommandLeft", Variant::fromString("Low"));
    h.host->setProperty("CommandRight", Variant::fromString("High"));
    EXPECT_EQ(h.server->calls("RegisterCommand").size(), 10u) << "the same texts register all five again";
    EXPECT_EQ(h.server->registrations(), 5u);
    EXPECT_EQ(spy->changed, (std::vector<DISPID>{83, 84}));
    h.host->setProperty("ScaleSmall", Variant::fromShort(0)); // equal: nothing
    EXPECT_EQ(spy->changed.size(), 2u);
}

TEST(SpiSliderControl, DraggingTheLowerThumbPastTheUpperPushesItAlong)
{
    HostedSpi h;
    SpiSlider& s = h.control();
    const QPoint from = centre(s.logic.geometry().lowerThumb);
    QTest::mousePress(h.window(), Qt::LeftButton, {}, from);
    EXPECT_EQ(s.logic.press(), values::SpiPress::Lower);
    h.dragTo(from + QPoint(2 * 10, 0));
    EXPECT_EQ(h.low(), 30) << "written at once";
    h.dragTo(from + QPoint(2 * 45, 0));
    EXPECT_EQ(h.low(), 65);
    EXPECT_EQ(h.high(), 65);
    QTest::mouseRelease(h.window(), Qt::LeftButton, {}, from + QPoint(2 * 45, 0));
    EXPECT_EQ(s.logic.press(), values::SpiPress::None);
    EXPECT_FALSE(s.hasCapture());
}

TEST(SpiSliderControl, DraggingTheBandKeepsItsWidthAndClamps)
{
    HostedSpi h;
    SpiSlider& s = h.control();
    const QPoint g = grip(s);
    QTest::mousePress(h.window(), Qt::LeftButton, {}, g);
    EXPECT_EQ(h.window()->cursor().shape(), Qt::SizeHorCursor);
    h.dragTo(g + QPoint(2 * 15, 0));
    EXPECT_EQ(h.low(), 35);
    EXPECT_EQ(h.high(), 55);
    h.dragTo(g + QPoint(2 * 300, 0));
    EXPECT_EQ(h.low(), 80);
    EXPECT_EQ(h.high(), 100);
    h.dragTo(g - QPoint(2 * 300, 0));
    EXPECT_EQ(h.low(), 0);
    EXPECT_EQ(h.high(), 20);
    QTest::mouseRelease(h.window(), Qt::LeftButton, {}, g);
}

TEST(SpiSliderControl, AVetoPutsTheThumbsBack)
{
    HostedSpi h;
    SpiSlider& s = h.control();
    (*h.server)["Allowed"].index = 0;
    const QPoint g = grip(s);
    QTest::mousePress(h.window(), Qt::LeftButton, {}, g);
    h.dragTo(g + QPoint(2 * 15, 0));
    EXPECT_EQ(h.window()->cursor().shape(), Qt::ForbiddenCursor);
    EXPECT_EQ(h.low(), 35);
    QTest::mouseRelease(h.window(), Qt::LeftButton, {}, g + QPoint(2 * 15, 0));
    EXPECT_EQ(h.low(), 20);
    EXPECT_EQ(h.high(), 40);
    EXPECT_EQ(s.logic.lower(), 20);

    h.window()->setFocus();
    QTest::keyClick(h.window(), Qt::Key_End);
    EXPECT_EQ(h.low(), 20);
    EXPECT_EQ(h.high(), 40);
    EXPECT_EQ(h.window()->cursor().shape(), Qt::ForbiddenCursor);
    EXPECT_FALSE(h.server->calls("GetIndex Allowed").empty());

    (*h.server)["Allowed"].index = 1;
    QTest::keyClick(h.window(), Qt::Key_End);
    EXPECT_EQ(h.low(), 80);
    EXPECT_EQ(h.high(), 100);
    QTest::keyClick(h.window(), Qt::Key_Left, Qt::ControlModifier);
    EXPECT_EQ(h.low(), 79);
    EXPECT_EQ(h.high(), 100);
    QTest::keyClick(h.window(), Qt::Key_Home, Qt::ShiftModifier);
    EXPECT_EQ(h.low(), 0);
    EXPECT_EQ(h.high(), 0);
}

TEST(SpiSliderControl, ServerChangesMoveTheThumbsAndAFailedReadDisables)
{
    HostedSpi h;
    SpiSlider& s = h.control();
    (*h.server)["High"].value = 70;
    h.server->notify("High");
    EXPECT_EQ(s.logic.upper(), 70);
    EXPECT_EQ(s.logic.pressValue(SpiThumb::Upper), 40) << "only the first read sets the press values";

    h.server->failing.insert("GetColor");
    h.server->notify("Low");
    EXPECT_FALSE(s.enabledFlag());
    EXPECT_FALSE(s.logic.enabled());
    h.server->failing.clear();
    h.server->notify("Low");
    EXPECT_TRUE(s.enabledFlag());

    // Only while both value commands are registered are values written.
    h.host->setProperty("CommandRight", Variant::fromString(""));
    h.server->log.clear();
    h.window()->setFocus();
    QTest::keyClick(h.window(), Qt::Key_Right);
    EXPECT_TRUE(h.server->calls("SetValue").empty());
}

TEST(SpiSliderControl, PaintsTheBandInItsColourAndTheThumbs)
{
    HostedSpi h;
    h.host->setProperty("SliderSlotWidth", Variant::fromShort(1));
    SpiSlider& s = h.control();
    const QImage img = h.shot();
    const values::SpiGeometry& g = s.logic.geometry();
    const QPoint band = centre(g.band);
    EXPECT_EQ(img.pixel(band), qRgb(255, 0, 0));
    EXPECT_EQ(img.pixel(centre(g.lowerThumb)), gdi::SysColor(gdi::COLOR_BTNFACE).rgb());
    EXPECT_EQ(img.pixel(g.lowerThumb.right - 1, 2), qRgb(0, 0, 0)) << "the line above the thumb";
    EXPECT_NE(img.pixel(g.slot.left + 2, band.y()), qRgb(255, 0, 0)) << "no colour outside the band";

    // Disabled by the server: the thumbs are drawn in the highlight colour.
    (*h.server)["Low"].enabled = false;
    h.server->notify("Low");
    h.host->setUserMode(false); // design mode keeps the window enabled for the grab
    EXPECT_EQ(h.shot().pixel(centre(g.lowerThumb)), gdi::SysColor(gdi::COLOR_3DHIGHLIGHT).rgb());
}

TEST(SpiSliderControl, ScalesDrawTicksInTheScaleColour)
{
    HostedSpi h;
    h.host->setProperty("ScaleSmall", Variant::fromShort(10));
    h.host->setProperty("ScaleMiddle", Variant::fromShort(50));
    h.host->setProperty("ScaleColor", Variant::fromULong(0x0000FF00));
    const SpiSlider& s = h.control();
    const auto ticks = s.logic.ticks();
    ASSERT_EQ(ticks.size(), 11u);
    const QImage img = h.shot();
    const values::SpiGeometry& g = s.logic.geometry();
    EXPECT_EQ(img.pixel(ticks[0].x, g.slot.top - 1), qRgb(0, 255, 0));
    EXPECT_EQ(img.pixel(ticks[0].x, g.slot.bottom), qRgb(0, 255, 0));
}

TEST(SpiSliderControl, PersistsInItsPropertyMapOrder)
{
    HostedSpi h;
    h.host->setProperty("ScaleSmall", Variant::fromShort(2));
    h.host->setProperty("ScaleLarge", Variant::fromShort(20));
    h.host->setProperty("AdvancedMode", Variant::fromLong(1));
    h.host->setProperty("ToolTip", Variant::fromLong(1));
    h.host->setProperty("ToolTipPrecision", Variant::fromShort(3));
    h.host->setProperty("ScaleColor", Variant::fromULong(0x00112233));
    auto stream = com::MemoryStream::create();
    ASSERT_EQ(h.host->save(stream.get()), S_OK);

    // The records follow the map: read the dispids back from the stream.
    stream->Seek({0}, STREAM_SEEK_SET, nullptr);
    uint32_t version = 0, count = 0;
    GUID iid;
    ASSERT_EQ(com::readValue(stream.get(), version), S_OK);
    ASSERT_EQ(com::readGuid(stream.get(), iid), S_OK);
    ASSERT_EQ(com::readValue(stream.get(), count), S_OK);
    ASSERT_EQ(count, SpiSlider::propertyMap().size());
    for (const MapEntry& e : SpiSlider::propertyMap()) {
        DISPID id = 0;
        Variant v;
        ASSERT_EQ(com::readValue(stream.get(), id), S_OK);
        ASSERT_EQ(com::readVariant(stream.get(), v.put()), S_OK);
        EXPECT_EQ(id, e.id) << e.name;
        EXPECT_EQ(h.host->property(e.name).toString(), v.toString()) << e.name;
    }

    stream->Seek({0}, STREAM_SEEK_SET, nullptr);
    HostWidget other;
    ASSERT_EQ(other.createAndLoad("VyrControls.SpiSlider", stream.get()), S_OK);
    for (const MapEntry& e : SpiSlider::propertyMap())
        EXPECT_EQ(other.property(e.name).toString(), h.host->property(e.name).toString()) << e.name;
}

TEST(SpiSliderControl, ToolTipsShowTheValuesAndFollowADrag)
{
    HostedSpi h;
    SpiSlider& s = h.control();
    const auto ask = [&](QPoint at) {
        QHelpEvent e(QEvent::ToolTip, at, h.window()->mapToGlobal(at));
        QApplication::sendEvent(h.window(), &e);
    };
    ask(centre(s.logic.geometry().upperThumb));
    EXPECT_FALSE(QToolTip::isVisible()) << "no tool tips unless asked for";

    h.host->setProperty("ToolTip", Variant::fromLong(1));
    h.host->setProperty("ToolTipPrecision", Variant::fromShort(1));
    ask(centre(s.logic.geometry().upperThumb));
    EXPECT_EQ(QToolTip::text(), "40.0");
    ask(grip(s));
    EXPECT_EQ(QToolTip::text(), "20.0 ... 40.0");

    const QPoint from = centre(s.logic.geometry().lowerThumb);
    QTest::mousePress(h.window(), Qt::LeftButton, {}, from);
    h.dragTo(from + QPoint(2 * 5, 0));
    EXPECT_EQ(QToolTip::text(), "25.0") << "the tip follows the dragged thumb";
    QTest::mouseRelease(h.window(), Qt::LeftButton, {}, from + QPoint(2 * 5, 0));

    h.host->setProperty("ToolTip", Variant::fromLong(0));
    EXPECT_FALSE(QToolTip::isVisible());
}

TEST(SpiSliderControl, ToolTipsShowInAnInactiveWindowToo)
{
    HostedSpi h;
    SpiSlider& s = h.control();
    h.host->setProperty("ToolTip", Variant::fromLong(1));
    QWidget other;
    other.setGeometry(400, 300, 50, 50);
    other.show();
    QApplication::setActiveWindow(&other);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    ASSERT_FALSE(h.window()->isActiveWindow());
    QToolTip::hideText();
    const QPoint at = centre(s.logic.geometry().upperThumb);
    QTest::mouseMove(h.window(), at - QPoint(1, 0));
    QTest::mouseMove(h.window(), at);
    QTRY_VERIFY_WITH_TIMEOUT(QToolTip::isVisible(), 3000);
    EXPECT_EQ(QToolTip::text(), "40");
    QToolTip::hideText();
}

TEST(SpiSliderControl, AKeyStepUpdatesTheShownTip)
{
    HostedSpi h;
    SpiSlider& s = h.control();
    h.host->setProperty("ToolTip", Variant::fromLong(1));
    const QPoint at = grip(s);
    QHelpEvent e(QEvent::ToolTip, at, h.window()->mapToGlobal(at));
    QApplication::sendEvent(h.window(), &e);
    ASSERT_TRUE(QToolTip::isVisible());
    ASSERT_EQ(QToolTip::text(), "20 ... 40");
    h.window()->setFocus();
    h.server->log.clear();
    QTest::keyClick(h.window(), Qt::Key_Right);
    EXPECT_EQ(h.server->calls("SetValue"), (Log{"SetValue High 41", "SetValue Low 21"}));
    EXPECT_TRUE(QToolTip::isVisible()) << "the tip stays, with the new values";
    EXPECT_EQ(QToolTip::text(), "21 ... 41");
    QToolTip::hideText();
}

TEST(SpiSliderControl, EnumeratedPropertiesBrowse)
{
    HostedSpi h;
    ComPtr<IPerPropertyBrowsing> browse;
    ASSERT_EQ(h.host->control()->QueryInterface(IID_IPerPropertyBrowsing, browse.putVoid()), S_OK);
    BSTR text = nullptr;
    ASSERT_EQ(browse->GetDisplayString(103, &text), S_OK);
    EXPECT_EQ(com::utf8(text), "no");
    SysFreeString(text);
    h.host->setProperty("SliderSlotWidth", Variant::fromShort(1));
    ASSERT_EQ(browse->GetDisplayString(49, &text), S_OK);
    EXPECT_EQ(com::utf8(text), "Wide");
    SysFreeString(text);
}

} // namespace
