// ButtonList as a control: the grid follows the server's list, clicks and keys select entries.
#include "controls/buttons/buttonlist.h"
#include "tests/controls/buttons/hosted.h"

using namespace vyr;
using namespace vyr::controls;
using com::Variant;

namespace {

struct Listed : test::HostedButton<ButtonList> {
    Listed() : HostedButton("VyrControls.ButtonList", QSize(300, 100), false)
    {
        for (const char* t : {"Low", "Mid", "High", "Max", "Off"})
            go().entries.push_back({t, LONG(0x0000FF), 0, 0});
        go().index = 1;
        put("Command", Variant::fromString("Go"));
        put("ButtonRows", Variant::fromLong(2));
        host->setCommandServer(server.get());
        server->log.clear();
    }
    QPoint centreOf(int i) const { return control().cellRect(i).center(); }
    std::vector<std::string> selects() const { return server->calls("SelectEntry"); }
};

} // namespace

TEST(ButtonList, ReadsIndexEntriesAndColoursFromTheServer)
{
    Listed l;
    EXPECT_EQ(l.control().layout.count, 5);
    EXPECT_EQ(l.control().current, 1);
    EXPECT_EQ(l.control().captions, (std::vector<std::string>{"Low", "Mid", "High", "Max", "Off"}));
    EXPECT_EQ(l.control().colors[4], 0x0000FFu);
    // 5 buttons in 2 rows: 3 columns, the last cell empty.
    EXPECT_EQ(l.control().cellRect(2), QRect(200, 0, 100, 50));
    EXPECT_TRUE(l.control().cellRect(5).isEmpty());

    // Per-button colours only without UseBackColor.
    l.put("BackColor", Variant::fromULong(0x00FF00));
    const QPoint inButton0 = l.control().cellRect(0).topLeft() + QPoint(5, 5);
    EXPECT_EQ(l.grab().pixelColor(inButton0), QColor(0, 255, 0));
    l.put("UseBackColor", Variant::fromBool(false));
    EXPECT_EQ(l.grab().pixelColor(inButton0), QColor(255, 0, 0));

    // A failing count empties the list.
    l.server->failing.insert("GetEntryCount");
    l.server->notify("Go");
    EXPECT_EQ(l.control().layout.count, 0);
    EXPECT_TRUE(l.control().captions.empty());
}

TEST(ButtonList, ClickingSelectsOnTheServerAndTheCurrentOneSendsNothing)
{
    Listed l;
    QTest::mouseClick(l.window(), Qt::LeftButton, {}, l.centreOf(3));
    EXPECT_EQ(l.selects(), std::vector<std::string>{"SelectEntry Go 3"});
    EXPECT_EQ(l.control().current, 3);
    EXPECT_EQ(l.control().focusIndex, 3);
    QTest::mouseClick(l.window(), Qt::LeftButton, {}, l.centreOf(3));
    EXPECT_EQ(l.selects().size(), 1u);
    // The empty cell and design mode hit nothing.
    QTest::mouseClick(l.window(), Qt::LeftButton, {}, QPoint(250, 75));
    l.host->setUserMode(false);
    QTest::mouseClick(l.window(), Qt::LeftButton, {}, l.centreOf(0));
    EXPECT_EQ(l.selects().size(), 1u);
    EXPECT_EQ(l.control().current, 3);
}

TEST(ButtonList, TabWalksTheButtonsAndEnterSelects)
{
    Listed l;
    QWidget before(&l.top), after(&l.top);
    for (QWidget* w : {&before, &after}) {
        w->setFocusPolicy(Qt::TabFocus);
        w->show();
    }
    QWidget::setTabOrder(&before, l.window());
    QWidget::setTabOrder(l.window(), &after);
    before.setFocus();
    QTest::keyClick(&before, Qt::Key_Tab);
    ASSERT_TRUE(l.window()->hasFocus());
    EXPECT_EQ(l.control().focusIndex, 0);
    QTest::keyClick(l.window(), Qt::Key_Tab);
    QTest::keyClick(l.window(), Qt::Key_Tab);
    EXPECT_EQ(l.control().focusIndex, 2);
    QTest::keyClick(l.window(), Qt::Key_Return);
    EXPECT_EQ(l.selects(), std::vector<std::string>{"SelectEntry Go 2"});
    QTest::keyClick(l.window(), Qt::Key_Backtab);
    EXPECT_EQ(l.control().focusIndex, 1);
    QTest::keyClick(l.window(), Qt::Key_Space);
    EXPECT_EQ(l.control().current, 1);
    for (int i = 0; i < 4; ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_TRUE(after.hasFocus()) << "Tab on the last button leaves the control";
    EXPECT_EQ(l.control().focusIndex, -1);
}

TEST(ButtonList, WithoutServerThreeEmptyEnabledButtons)
{
    test::HostedButton<ButtonList> h("VyrControls.ButtonList", QSize(300, 40), false);
    EXPECT_EQ(h.control().layout.count, 3);
    EXPECT_TRUE(h.control().enabledFlag());
    QTest::mouseClick(h.window(), Qt::LeftButton, {}, QPoint(250, 20));
    EXPECT_EQ(h.control().current, 2) << "chosen locally, nothing to send";
}

TEST(ButtonList, SaveOrderRoundTripBrowsingAndHostileStreams)
{
    Listed l;
    l.put("Style", Variant::fromLong(3));
    l.put("Orientation", Variant::fromLong(1));
    l.put("ButtonColumns", Variant::fromLong(2));
    l.put("ButtonDistance", Variant::fromLong(4));
    l.put("UseBackColor", Variant::fromBool(false));
    l.put("CaptionPosition", Variant::fromShort(7));
    EXPECT_EQ(l.control().descriptor().saveOrder,
              (std::vector<DISPID>{50, DISPID_BACKCOLOR, DISPID_FORECOLOR, DISPID_FONT, 9, 34, 5, 6, 7, 8, 51, 81, 78,
                                   60}));
    const auto bytes = test::savedBytes(l.host->control());
    auto copy = com::make<ButtonList>();
    ASSERT_EQ(test::loadInto(*copy, bytes), S_OK);
    EXPECT_EQ(copy->layout.style, 3);
    EXPECT_EQ(copy->layout.orientation, 1);
    EXPECT_EQ(copy->layout.rows, 2);
    EXPECT_EQ(copy->layout.columns, 2);
    EXPECT_EQ(copy->layout.gap, 4);
    EXPECT_EQ(copy->useBackColor, 0);
    EXPECT_EQ(copy->captionPosition, 7);
    EXPECT_EQ(test::savedBytes(static_cast<IDispatch*>(copy.get())), bytes);

    com::ComPtr<IPerPropertyBrowsing> browse;
    l.host->control()->QueryInterface(IID_IPerPropertyBrowsing, browse.putVoid());
    BSTR text = nullptr;
    ASSERT_EQ(browse->GetDisplayString(9, &text), S_OK);
    EXPECT_EQ(com::utf8(text), "Fixed columns and fill last column");
    SysFreeString(text);
    ASSERT_EQ(browse->GetDisplayString(34, &text), S_OK);
    EXPECT_EQ(com::utf8(text), "Vertical");
    SysFreeString(text);

    for (size_t n : {size_t(10), size_t(27), bytes.size() / 2}) {
        auto part = com::make<ButtonList>();
        EXPECT_TRUE(FAILED(test::loadInto(*part, std::vector<uint8_t>(bytes.begin(), bytes.begin() + long(n))))) << n;
    }
}
