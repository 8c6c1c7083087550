// The Slider hosted in a container and driven by real Qt mouse, key and focus events.
#include "controls/values/slider.h"
#include "platform/com/memstream.h"
#include "platform/com/streamio.h"
#include "platform/gdi/syscolors.h"
#include "tests/controls/values/hosted.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <cmath>

using namespace vyr;
using namespace vyr::controls;
using com::Variant;
using test::centre;

namespace {

using HostedSlider = test::Hosted<Slider>;
constexpr DISPID kClick = DISPID_EVENT_CLICK, kChange = DISPID_EVENT_CHANGE, kScroll = DISPID_EVENT_SCROLL;
using Ids = std::vector<DISPID>;

QPoint onSlot(const Slider& s, double r)
{
    const values::SliderGeometry& g = s.logic.geometry();
    const int along = g.axis.start(g.slot) + int(std::lround(r * g.slotLength()));
    const int across = (g.axis.crossStart(g.track) + g.axis.crossEnd(g.track)) / 2;
    return g.axis.vertical() ? QPoint(across, along) : QPoint(along, across);
}

TEST(SliderControl, ReadsTheCommandInOrder)
{
    HostedSlider h("VyrControls.Slider", {200, 30});
    h.server->notify("Gain");
    EXPECT_EQ(h.server->log, (std::vector<std::string>{"GetMinimum Gain", "GetMaximum Gain", "GetValue Gain",
                                                        "GetCommandEnabled Gain", "GetCommandVisible Gain"}));
    EXPECT_EQ(h.control().logic.value(), 50.0);
    EXPECT_EQ(h.control().logic.maximum(), 100.0);
}

TEST(SliderControl, DragScrollsOnChangeAndFiresClickChangeScrollOnRelease)
{
    HostedSlider h("VyrControls.Slider", {200, 30});
    Slider& s = h.control();
    QTest::mousePress(h.window(), Qt::LeftButton, {}, centre(s.logic.thumb()));
    EXPECT_TRUE(h.spy->ids().empty());

    h.dragTo(onSlot(s, 0.25));
    EXPECT_EQ(h.spy->ids(), Ids{kScroll});
    EXPECT_EQ(h.setValues(), (std::vector<std::string>{"SetValue Gain 25"})) << "sent at once";
    h.dragTo(onSlot(s, 0.25));
    EXPECT_EQ(h.spy->ids(), Ids{kScroll}) << "no change, no event";

    QTest::mouseRelease(h.window(), Qt::LeftButton, {}, onSlot(s, 0.25));
    EXPECT_EQ(h.spy->ids(), (Ids{kScroll, kClick, kChange, kScroll}));
    EXPECT_EQ((*h.server)["Gain"].value, 25.0);
}

TEST(SliderControl, HeldArrowStepsAfter200ThenEvery80AndOnceOnRelease)
{
    HostedSlider h("VyrControls.Slider", {200, 30});
    Slider& s = h.control();
    QTest::mousePress(h.window(), Qt::LeftButton, {}, centre(s.logic.geometry().upperArrow));
    EXPECT_TRUE(s.timerActive(200));
    EXPECT_EQ(s.logic.value(), 50.0);

    s.onTimer(200);
    EXPECT_EQ(s.logic.value(), 51.0);
    EXPECT_FALSE(s.timerActive(200));
    EXPECT_TRUE(s.timerActive(80));
    s.onTimer(80);
    s.onTimer(80);
    EXPECT_EQ(s.logic.value(), 53.0);

    QTest::mouseRelease(h.window(), Qt::LeftButton, {}, centre(s.logic.geometry().upperArrow));
    EXPECT_EQ(s.logic.value(), 54.0);
    EXPECT_FALSE(s.timerActive(80));
    EXPECT_EQ(h.spy->ids(), (Ids{kClick, kChange, kClick, kChange, kClick, kChange, kClick, kChange}));
    EXPECT_EQ(h.setValues(), (std::vector<std::string>{"SetValue Gain 51", "SetValue Gain 52", "SetValue Gain 53",
                                                        "SetValue Gain 54"}));
}

TEST(SliderControl, TrackClickStepsOnceOnRelease)
{
    HostedSlider h("VyrControls.Slider", {200, 30}, [](IDispatch* d) {
        com::putProperty(d, "ShiftStep", Variant::fromDouble(10));
    });
    Slider& s = h.control();
    QTest::mousePress(h.window(), Qt::LeftButton, Qt::ShiftModifier, onSlot(s, 0.9));
    EXPECT_FALSE(s.timerActive(200));
    EXPECT_EQ(s.logic.value(), 50.0);
    QTest::mouseRelease(h.window(), Qt::LeftButton, Qt::ShiftModifier, onSlot(s, 0.9));
    EXPECT_EQ(s.logic.value(), 60.0);
    EXPECT_EQ(h.spy->ids(), (Ids{kClick, kChange}));
}

TEST(SliderControl, KeysStepWithRepeatCountShiftAndCtrl)
{
    HostedSlider h("VyrControls.Slider", {200, 30}, [](IDispatch* d) {
        com::putProperty(d, "Step", Variant::fromDouble(2));
        com::putProperty(d, "ShiftStep", Variant::fromDouble(5));
        com::putProperty(d, "ControlStep", Variant::fromDouble(20));
    });
    h.window()->setFocus();
    QTest::keyClick(h.window(), Qt::Key_Right);
    EXPECT_EQ(h.control().logic.value(), 52.0);
    QTest::keyClick(h.window(), Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(h.control().logic.value(), 47.0);
    QTest::keyClick(h.window(), Qt::Key_PageDown, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(h.control().logic.value(), 27.0);
    QKeyEvent repeated(QEvent::KeyPress, Qt::Key_Up, {}, QString(), true, 3);
    QApplication::sendEvent(h.window(), &repeated);
    EXPECT_EQ(h.control().logic.value(), 33.0);
    QTest::keyClick(h.window(), Qt::Key_End);
    EXPECT_EQ(h.control().logic.value(), 100.0);
    QTest::keyClick(h.window(), Qt::Key_End);
    EXPECT_EQ(h.spy->ids().size(), 10u) << "End at the maximum changes nothing";
}

TEST(SliderControl, VerticalHasTheMinimumAtTheTop)
{
    HostedSlider h("VyrControls.Slider", {30, 200}, [](IDispatch* d) {
        com::putProperty(d, "Orientation", Variant::fromShort(1));
    });
    (*h.server)["Gain"].value = 0;
    h.server->notify("Gain");
    Slider& s = h.control();
    const QRect thumb = values::toQRect(s.logic.thumb());
    EXPECT_LT(thumb.center().y(), 40);
    EXPECT_EQ(thumb.left(), s.logic.geometry().track.left);

    QTest::mousePress(h.window(), Qt::LeftButton, {}, thumb.center());
    h.dragTo(onSlot(s, 0.75));
    QTest::mouseRelease(h.window(), Qt::LeftButton, {}, onSlot(s, 0.75));
    EXPECT_EQ(s.logic.value(), 75.0);

    h.window()->setFocus();
    QTest::keyClick(h.window(), Qt::Key_Down);
    EXPECT_EQ(s.logic.value(), 76.0) << "Down moves towards the maximum at the bottom";
}

TEST(SliderControl, TypedTextBeyondTheMaximumShowsTheMaximum)
{
    HostedSlider h("VyrControls.Slider", {260, 30}, [](IDispatch* d) {
        com::putProperty(d, "ValueDisplay", Variant::fromShort(2));
        com::putProperty(d, "ValuePrecision", Variant::fromLong(1));
    });
    QLineEdit* edit = h.control().valueField();
    ASSERT_TRUE(edit && edit->isVisible());
    EXPECT_EQ(edit->text(), "50.0");
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, "250");
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(h.control().logic.value(), 100.0);
    EXPECT_EQ(edit->text(), "100.0");
    EXPECT_EQ(h.setValues(), (std::vector<std::string>{"SetValue Gain 100"}));
    EXPECT_TRUE(h.spy->ids().empty()) << "typed values fire no events";

    edit->selectAll();
    QTest::keyClicks(edit, "abc");
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(h.control().logic.value(), 100.0) << "non-numeric text leaves the value";

    QTest::keyClick(edit, Qt::Key_Down);
    EXPECT_EQ(h.control().logic.value(), 99.0) << "Down in the field steps the slider";
    EXPECT_EQ(edit->text(), "99.0");
}

TEST(SliderControl, FocusLossCommitsTypedText)
{
    HostedSlider h("VyrControls.Slider", {260, 30}, [](IDispatch* d) {
        com::putProperty(d, "ValueDisplay", Variant::fromShort(1));
    });
    QLineEdit* edit = h.control().valueField();
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, "12.5");
    h.window()->setFocus();
    EXPECT_EQ(h.control().logic.value(), 12.5);
}

TEST(SliderControl, FailedReadDisablesAndRepaints)
{
    HostedSlider h("VyrControls.Slider", {200, 30});
    Slider& s = h.control();
    const QPoint inThumb = centre(s.logic.thumb()) + QPoint(0, 4);
    EXPECT_EQ(h.window()->grab().toImage().pixelColor(inThumb), gdi::SysColor(gdi::COLOR_BTNFACE));
    h.server->failing.insert("GetValue");
    h.server->notify("Gain");
    EXPECT_FALSE(s.logic.enabled());
    EXPECT_FALSE(h.window()->isEnabled());
    EXPECT_EQ(h.window()->grab().toImage().pixelColor(inThumb), gdi::SysColor(gdi::COLOR_3DHILIGHT));
    h.server->failing.clear();
    h.server->notify("Gain");
    EXPECT_TRUE(s.logic.enabled());
    EXPECT_TRUE(h.window()->isEnabled());
}

TEST(SliderControl, WithoutAServerTheValueIsKeptLocally)
{
    HostedSlider h("VyrControls.Slider", {200, 30}, {}, false);
    h.window()->setFocus();
    QTest::keyClick(h.window(), Qt::Key_Up);
    EXPECT_EQ(h.control().logic.value(), 2.0);
    EXPECT_EQ(h.spy->ids(), (Ids{kClick, kChange}));
    EXPECT_TRUE(h.server->log.empty());
}

TEST(SliderControl, WildServerNumbersKeepTheThumbOnTheTrack)
{
    HostedSlider h("VyrControls.Slider", {200, 30});
    Slider& s = h.control();
    const values::PixelRect& slot = s.logic.geometry().slot;
    const struct {
        double min, max, value;
    } cases[] = {{0, 100, NAN}, {0, 100, INFINITY}, {NAN, INFINITY, 3}, {5, 5, 5}, {-1e308, 1e308, 0}};
    for (const auto& c : cases) {
        (*h.server)["Gain"].minimum = c.min;
        (*h.server)["Gain"].maximum = c.max;
        (*h.server)["Gain"].value = c.value;
        h.server->notify("Gain");
        const int mid = s.logic.geometry().thumbCentre(s.logic.ratio());
        EXPECT_GE(mid, slot.left) << c.value;
        EXPECT_LE(mid, slot.right) << c.value;
        EXPECT_FALSE(std::isnan(s.logic.value()));
        h.window()->grab(); // paints without trouble
    }
}

TEST(SliderControl, ListModeTakesTheServersEntriesAndWidensTheRange)
{
    HostedSlider h("VyrControls.Slider", {200, 30}, [](IDispatch* d) {
        com::putProperty(d, "SliderMode", Variant::fromShort(2));
    });
    auto& gain = (*h.server)["Gain"];
    gain.entries = {{"", 0, 0, -5}, {"", 0, 0, 20}, {"", 0, 0, 250}};
    gain.value = 20;
    h.server->notify("Gain");
    Slider& s = h.control();
    EXPECT_EQ(s.logic.minimum(), -5.0);
    EXPECT_EQ(s.logic.maximum(), 250.0);
    EXPECT_EQ(h.server->calls("GetMinimum").size(), 0u) << "List mode reads no range";
    EXPECT_EQ(h.server->calls("GetEntryValue").size(), 3u);
    EXPECT_EQ(centre(s.logic.thumb()).x(), centre(s.logic.geometry().slot).x());

    QTest::mousePress(h.window(), Qt::LeftButton, {}, centre(s.logic.thumb()));
    h.dragTo(onSlot(s, 0.9));
    QTest::mouseRelease(h.window(), Qt::LeftButton, {}, onSlot(s, 0.9));
    EXPECT_EQ(s.logic.value(), 250.0);
}

TEST(SliderControl, ListPropertiesAreRewritten)
{
    HostedSlider h("VyrControls.Slider", {300, 30});
    IDispatch* d = h.host->dispatch();
    auto text = [d](const char* name) {
        Variant v;
        com::getProperty(d, name, v);
        return com::utf8(v.get().bstrVal);
    };
    auto notify = com::make<test::NotifySpy>();
    ASSERT_TRUE(notify->connect(h.host->control()));

    h.put("DiscreteValues", Variant::fromString("1 2 5 10 -3"));
    EXPECT_EQ(text("DiscreteValues"), "1 2 5 10 3");
    h.put("ValueButtons", Variant::fromString("min 0.5 Max"));
    EXPECT_EQ(text("ValueButtons"), "Min 0.5 Max");
    EXPECT_EQ(h.control().logic.valueButtonLabel(1), "0.5");
    notify->changed.clear();
    h.put("UnitStrings", Variant::fromString("mm, um"));
    EXPECT_EQ(text("UnitStrings"), "mm um");
    EXPECT_EQ(text("UnitFactors"), "1 1");
    EXPECT_EQ(notify->changed, (std::vector<DISPID>{44, 45})) << "a unit list reports the other too";
    h.put("UnitFactors", Variant::fromString("1;1e3"));
    EXPECT_EQ(text("UnitFactors"), "1 1000");
}

TEST(SliderControl, TheSameCommandTextRegistersAgain)
{
    HostedSlider h("VyrControls.Slider", {200, 30});
    h.put("Command", Variant::fromString("Gain"));
    ASSERT_GE(h.server->log.size(), 3u);
    EXPECT_EQ(h.server->log[0], "UnregisterCommand Gain");
    EXPECT_EQ(h.server->log[1], "RegisterCommand Gain");
    EXPECT_EQ(h.server->log[2], "GetMinimum Gain") << "and reads it again";
    EXPECT_EQ(h.server->registrations(), 1u);
}

TEST(SliderControl, UnitSelectorPicksTheShownUnit)
{
    HostedSlider h("VyrControls.Slider", {300, 30}, [](IDispatch* d) {
        com::putProperty(d, "ValueDisplay", Variant::fromShort(1));
        com::putProperty(d, "ValueEditable", Variant::fromBool(false));
        com::putProperty(d, "UnitStrings", Variant::fromString("mm um"));
        com::putProperty(d, "UnitFactors", Variant::fromString("1 1000"));
        com::putProperty(d, "UnitSelectable", Variant::fromBool(true));
    });
    Slider& s = h.control();
    ASSERT_TRUE(s.unitSelector()->isVisible());
    // The closed drop-down fills the unit field, as high as the value field beside it.
    const QRect field = values::toQRect(s.logic.geometry().unitField);
    EXPECT_EQ(s.unitSelector()->geometry(), field);
    EXPECT_EQ(s.unitSelector()->height(), values::toQRect(s.logic.geometry().valueField).height());
    EXPECT_EQ(s.unitSelector()->count(), 2);
    EXPECT_EQ(s.unitSelector()->currentIndex(), 0);
    EXPECT_EQ(s.logic.valueText(), "50.0000");
    s.unitSelector()->setCurrentIndex(1);
    emit s.unitSelector()->activated(1);
    EXPECT_EQ(s.logic.valueText(), "50000.0000");
    // A refill keeps the selection.
    h.put("UnitStrings", Variant::fromString("mm um nm"));
    EXPECT_EQ(s.unitSelector()->currentIndex(), 1);
}

TEST(SliderControl, ChildFieldsAreBuiltWhenFirstShownInTabOrder)
{
    HostedSlider h("VyrControls.Slider", {300, 30}, [](IDispatch* d) {
        com::putProperty(d, "ValueEditable", Variant::fromBool(false));
        com::putProperty(d, "UnitStrings", Variant::fromString("um mm"));
        com::putProperty(d, "UnitFactors", Variant::fromString("1000 1"));
        com::putProperty(d, "UnitSelectable", Variant::fromBool(true));
    });
    Slider& s = h.control();
    EXPECT_TRUE(h.window()->findChildren<QWidget*>().isEmpty()) << "nothing shown, nothing built";
    // The first unit is chosen as a selector would choose it, though none exists yet (the
    // automatic unit would be mm).
    EXPECT_EQ(s.logic.valueText(), "50000.0000");

    h.put("ValueDisplay", Variant::fromShort(1));
    values::UnitSelector* units = s.unitSelector();
    ASSERT_NE(units, nullptr);
    EXPECT_TRUE(units->isVisible());
    EXPECT_EQ(units->currentIndex(), 0);
    EXPECT_EQ(s.logic.valueText(), "50000.0000");
    EXPECT_EQ(s.valueField(), nullptr) << "the read-only value is drawn";

    h.put("ValueEditable", Variant::fromBool(true));
    QLineEdit* edit = s.valueField();
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->text(), "50000.0000");
    // Tab goes from the control to its value field and then to its unit selector, as when both
    // are made with the window.
    EXPECT_EQ(h.window()->nextInFocusChain(), edit);
    EXPECT_EQ(edit->nextInFocusChain(), units);

    // Hidden again, they stay and are only hidden.
    h.put("ValueDisplay", Variant::fromShort(0));
    EXPECT_EQ(s.valueField(), edit);
    EXPECT_FALSE(edit->isVisible());
    EXPECT_FALSE(units->isVisible());
}

TEST(SliderControl, UnitChoiceSurvivesARefillWhileItIsAnEntry)
{
    struct Case {
        int kept;
        size_t count;
        int chosen;
    };
    for (const Case c : {Case{-1, 0, -1}, Case{2, 0, -1}, Case{-1, 3, 0}, Case{1, 3, 1}, Case{3, 3, 0}})
        EXPECT_EQ(values::keptSelection(c.kept, c.count), c.chosen) << c.kept << " of " << c.count;
}

TEST(SliderControl, BrowsesItsEnumerations)
{
    HostedSlider h("VyrControls.Slider", {200, 30});
    com::ComPtr<IPerPropertyBrowsing> b;
    ASSERT_EQ(h.host->control()->QueryInterface(IID_IPerPropertyBrowsing, b.putVoid()), S_OK);
    const std::pair<DISPID, std::vector<std::string>> cases[] = {
        {34, {"Horizontal", "Vertical"}},
        {49, {"Small", "Wide"}},
        {35, {"None", "Left", "Right"}},
        {68, {"Left", "Right"}},
        {48, {"Normal", "Logarithmic", "List"}},
        {43, {"False", "True"}},
        {39, {"False", "True"}},
    };
    for (const auto& [id, names] : cases) {
        CALPOLESTR strings{};
        CADWORD cookies{};
        ASSERT_EQ(b->GetPredefinedStrings(id, &strings, &cookies), S_OK) << id;
        std::vector<std::string> got;
        for (ULONG i = 0; i < strings.cElems; ++i) {
            got.push_back(com::utf8(std::u16string_view(strings.pElems[i])));
            EXPECT_EQ(cookies.pElems[i], i);
            CoTaskMemFree(strings.pElems[i]);
        }
        CoTaskMemFree(strings.pElems);
        CoTaskMemFree(cookies.pElems);
        EXPECT_EQ(got, names) << id;
    }
    h.put("SliderMode", Variant::fromShort(1));
    BSTR shown = nullptr;
    ASSERT_EQ(b->GetDisplayString(48, &shown), S_OK);
    EXPECT_EQ(com::utf8(shown), "Logarithmic");
    SysFreeString(shown);
}

TEST(SliderControl, SavesInTablePropertyOrderAndLoadsBack)
{
    auto a = com::make<Slider>();
    com::putProperty(a.get(), "Command", Variant::fromString("Gain"));
    com::putProperty(a.get(), "Orientation", Variant::fromShort(1));
    com::putProperty(a.get(), "Step", Variant::fromDouble(0.25));
    com::putProperty(a.get(), "DiscreteValues", Variant::fromString("1 2 5"));
    com::putProperty(a.get(), "ValueDisplay", Variant::fromShort(2));
    com::putProperty(a.get(), "ValuePrecision", Variant::fromLong(2));
    com::putProperty(a.get(), "UnitStrings", Variant::fromString("s ms"));
    com::putProperty(a.get(), "UnitFactors", Variant::fromString("1 1000"));
    com::putProperty(a.get(), "ValueButtons", Variant::fromString("Min 3 Max"));
    com::putProperty(a.get(), "SliderMode", Variant::fromShort(1));
    com::putProperty(a.get(), "BackColor", Variant::fromULong(0x00102030));
    auto stream = com::MemoryStream::create();
    ASSERT_EQ(a->Save(stream.get(), TRUE), S_OK);

    stream->Seek({0}, STREAM_SEEK_SET, nullptr);
    uint32_t version = 0, count = 0;
    GUID iid{};
    com::readValue(stream.get(), version);
    com::readGuid(stream.get(), iid);
    com::readValue(stream.get(), count);
    std::vector<DISPID> order;
    for (uint32_t i = 0; i < count; ++i) {
        DISPID id = 0;
        Variant v;
        ASSERT_EQ(com::readValue(stream.get(), id), S_OK);
        ASSERT_EQ(com::readVariant(stream.get(), v.put()), S_OK);
        order.push_back(id);
    }
    EXPECT_EQ(version, 1u);
    EXPECT_EQ(order, (std::vector<DISPID>{50, 34, 40, 41, 42, 53, 43, -512, -513, -501, 49, 35, 36, 37, 69, 44, 45,
                                          38, 39, 46, 68, 47, 48}));

    auto b = com::make<Slider>();
    stream->Seek({0}, STREAM_SEEK_SET, nullptr);
    ASSERT_EQ(b->Load(stream.get()), S_OK);
    EXPECT_EQ(b->commandText(), "Gain");
    EXPECT_EQ(b->logic.properties().orientation, 1);
    EXPECT_EQ(b->logic.properties().step, 0.25);
    EXPECT_EQ(b->logic.discreteValuesText(), "1 2 5");
    EXPECT_EQ(b->logic.properties().valueDisplay, values::ValueDisplay::Right);
    EXPECT_EQ(b->logic.properties().valuePrecision, 2);
    EXPECT_EQ(b->logic.unitStringsText(), "s ms");
    EXPECT_EQ(b->logic.unitFactorsText(), "1 1000");
    EXPECT_EQ(b->logic.valueButtonsText(), "Min 3 Max");
    EXPECT_EQ(b->logic.properties().mode, values::SliderMode::Logarithmic);
    EXPECT_EQ(b->backColor, 0x00102030u);
}

TEST(SliderControl, DesignModeIgnoresInput)
{
    HostedSlider h("VyrControls.Slider", {200, 30});
    h.host->setUserMode(false);
    QTest::mouseClick(h.window(), Qt::LeftButton, {}, centre(h.control().logic.geometry().upperArrow));
    EXPECT_EQ(h.control().logic.value(), 50.0);
    EXPECT_TRUE(h.spy->ids().empty());
}

} // namespace
