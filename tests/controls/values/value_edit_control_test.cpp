// The ValueEdit hosted in a container and driven by real Qt mouse, key and focus events.
#include "controls/values/value_edit.h"
#include "platform/com/memstream.h"
#include "platform/gdi/syscolors.h"
#include "tests/controls/values/hosted.h"

#include <gtest/gtest.h>

using namespace vyr;
using namespace vyr::controls;
using com::Variant;
using test::centre;

namespace {

using HostedEdit = test::Hosted<VyrValueEdit>;
constexpr DISPID kClick = DISPID_EVENT_CLICK, kChange = DISPID_EVENT_CHANGE;
using Ids = std::vector<DISPID>;

TEST(ValueEditControl, ShowsTheServersValueFormatted)
{
    HostedEdit h("VyrControls.ValueEdit", {200, 24}, [](IDispatch* d) {
        com::putProperty(d, "UnitFactor", Variant::fromDouble(1000));
    });
    (*h.server)["Gain"].maximum = 1;
    (*h.server)["Gain"].value = 0.0026;
    h.server->notify("Gain");
    EXPECT_EQ(h.server->log, (std::vector<std::string>{"GetMinimum Gain", "GetMaximum Gain", "GetValue Gain",
                                                        "GetCommandEnabled Gain", "GetCommandVisible Gain"}));
    EXPECT_EQ(h.control().valueField()->text(), "2.6");
    EXPECT_TRUE(h.setValues().empty()) << "a value read is not written back";

    h.put("ValuePrecision", Variant::fromLong(0));
    EXPECT_EQ(h.control().valueField()->text(), "3");
}

TEST(ValueEditControl, HeldSpinButtonStepsAfter200ThenEvery80AndOnceOnRelease)
{
    HostedEdit h("VyrControls.ValueEdit", {200, 24});
    VyrValueEdit& e = h.control();
    const QPoint up = centre(e.logic.geometry().upButton);
    QTest::mousePress(h.window(), Qt::LeftButton, {}, up);
    EXPECT_TRUE(e.timerActive(200));
    e.onTimer(200);
    EXPECT_TRUE(e.timerActive(80));
    e.onTimer(80);
    QTest::mouseRelease(h.window(), Qt::LeftButton, {}, up);
    EXPECT_FALSE(e.timerActive(80));
    EXPECT_EQ(e.logic.value(), 53.0);
    EXPECT_EQ(e.valueField()->text(), "53");
    EXPECT_TRUE(e.valueField()->hasFocus());
    EXPECT_EQ(h.spy->ids(), (Ids{kClick, kChange, kClick, kChange, kClick, kChange}));
    EXPECT_EQ(h.setValues(), (std::vector<std::string>{"SetValue Gain 51", "SetValue Gain 52", "SetValue Gain 53"}));

    QTest::mouseClick(h.window(), Qt::LeftButton, {}, centre(e.logic.geometry().downButton));
    EXPECT_EQ(e.logic.value(), 52.0);
}

TEST(ValueEditControl, TypedTextIsClampedAndCommittedOnReturnOrFocusLoss)
{
    HostedEdit h("VyrControls.ValueEdit", {200, 24});
    VyrValueEdit& e = h.control();
    QLineEdit* edit = e.valueField();
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, "1000");
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(e.logic.value(), 100.0);
    EXPECT_EQ(edit->text(), "100");
    EXPECT_TRUE(h.spy->ids().empty());

    edit->selectAll();
    QTest::keyClicks(edit, "x1");
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(e.logic.value(), 100.0);
    EXPECT_EQ(edit->text(), "x1") << "unreadable text stays as typed";
    EXPECT_FALSE(edit->isModified()) << "Return clears the modified flag even when nothing was read";

    edit->selectAll();
    QTest::keyClicks(edit, "7.5");
    h.top.setFocus();
    EXPECT_EQ(e.logic.value(), 7.5);
    EXPECT_EQ(h.setValues(), (std::vector<std::string>{"SetValue Gain 100", "SetValue Gain 7.5"}));
}

TEST(ValueEditControl, KeysInTheFieldStep)
{
    HostedEdit h("VyrControls.ValueEdit", {200, 24}, [](IDispatch* d) {
        com::putProperty(d, "Step", Variant::fromDouble(0.5));
    });
    QLineEdit* edit = h.control().valueField();
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Up);
    QTest::keyClick(edit, Qt::Key_PageUp);
    EXPECT_EQ(h.control().logic.value(), 51.0);
    QTest::keyClick(edit, Qt::Key_Down);
    EXPECT_EQ(h.control().logic.value(), 50.5);
    EXPECT_EQ(edit->text(), "50.5");
    EXPECT_EQ(h.spy->ids().size(), 6u);
}

TEST(ValueEditControl, ValueButtonsSetTheirNumber)
{
    HostedEdit h("VyrControls.ValueEdit", {260, 24}, [](IDispatch* d) {
        com::putProperty(d, "ValueButtons", Variant::fromString("1 2,5 x10"));
    });
    Variant text;
    com::getProperty(h.host->dispatch(), "ValueButtons", text);
    EXPECT_EQ(com::utf8(text.get().bstrVal), "1 2 5 10");
    VyrValueEdit& e = h.control();
    ASSERT_EQ(e.logic.geometry().valueButtons.size(), 4u);
    QTest::mouseClick(h.window(), Qt::LeftButton, {}, centre(e.logic.geometry().valueButtons[3]));
    EXPECT_EQ(e.logic.value(), 10.0);
    EXPECT_EQ(h.spy->ids(), (Ids{kClick, kChange}));
    EXPECT_EQ(e.logic.pressedButton(), -1);
}

TEST(ValueEditControl, FailedReadDisablesTheField)
{
    HostedEdit h("VyrControls.ValueEdit", {200, 24});
    h.server->failing.insert("GetMaximum");
    h.server->notify("Gain");
    EXPECT_FALSE(h.control().logic.enabled());
    EXPECT_FALSE(h.control().valueField()->isEnabled());
    const QPoint inside = values::toQRect(h.control().logic.geometry().editArea).topLeft() + QPoint(3, 3);
    EXPECT_EQ(h.window()->grab().toImage().pixelColor(inside), gdi::SysColor(gdi::COLOR_BTNFACE));
}

TEST(ValueEditControl, WithoutAServerTheValueIsKeptLocally)
{
    HostedEdit h("VyrControls.ValueEdit", {200, 24}, {}, false);
    QTest::mouseClick(h.window(), Qt::LeftButton, {}, centre(h.control().logic.geometry().upButton));
    EXPECT_EQ(h.control().logic.value(), 2.0);
    EXPECT_EQ(h.spy->ids(), (Ids{kClick, kChange}));
}

TEST(ValueEditControl, SavesInTableOrderAndLoadsBack)
{
    auto a = com::make<VyrValueEdit>();
    com::putProperty(a.get(), "Command", Variant::fromString("Gain"));
    com::putProperty(a.get(), "Step", Variant::fromDouble(0.1));
    com::putProperty(a.get(), "Buttons", Variant::fromBool(false));
    com::putProperty(a.get(), "UnitFactor", Variant::fromDouble(1000));
    com::putProperty(a.get(), "ValuePrecision", Variant::fromLong(2));
    com::putProperty(a.get(), "ValueButtons", Variant::fromString("1 2"));
    com::putProperty(a.get(), "ValueButtonWidth", Variant::fromLong(40));
    auto stream = com::MemoryStream::create();
    ASSERT_EQ(a->Save(stream.get(), TRUE), S_OK);
    auto b = com::make<VyrValueEdit>();
    stream->Seek({0}, STREAM_SEEK_SET, nullptr);
    ASSERT_EQ(b->Load(stream.get()), S_OK);
    EXPECT_EQ(b->commandText(), "Gain");
    EXPECT_EQ(b->logic.properties().step, 0.1);
    EXPECT_FALSE(b->logic.properties().spinButtons);
    EXPECT_EQ(b->logic.properties().unitFactor, 1000.0);
    EXPECT_EQ(b->logic.properties().valuePrecision, 2);
    EXPECT_EQ(b->logic.valueButtonsText(), "1 2");
    EXPECT_EQ(b->logic.properties().valueButtonWidth, 40);
    EXPECT_EQ(b->descriptor().saveOrder, (std::vector<DISPID>{50, 40, 54, -512, -513, -501, 55, 69, 46, 47}));
}

} // namespace
