// CheckBox: the mark follows the server's state only; clicks ask the server to execute.
#include "controls/buttons/checkbox.h"
#include "tests/controls/buttons/hosted.h"
#include <QCheckBox>
#include <QStyle>
#include <QStyleOptionButton>

using namespace vyr;
using namespace vyr::controls;
using com::ComPtr;
using com::Variant;
using test::HostedButton;

namespace {
QPoint boxCentre(QCheckBox* box)
{
    QStyleOptionButton opt;
    opt.initFrom(box);
    return box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &opt, box).center();
}
} // namespace

TEST(CheckBox, AClickExecutesButTheMarkWaitsForTheServer)
{
    HostedButton<CheckBox> h("VyrControls.CheckBox", QSize(140, 24));
    h.put("Caption", Variant::fromString("Laser"));
    QCheckBox* box = h.control().box();
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->isEnabled());
    QTest::mouseClick(box, Qt::LeftButton, {}, boxCentre(box));
    EXPECT_EQ(h.go().executed, 1);
    EXPECT_FALSE(box->isChecked()) << "not until the server reports the new state";
    EXPECT_EQ(h.spy->ids(), (std::vector<DISPID>{DISPID_CLICK, DISPID_EVENT_CHANGE}));
    h.go().state = 1;
    h.server->notify("Go");
    EXPECT_TRUE(box->isChecked());
    EXPECT_TRUE(h.control().checked());

    // Space on the focused box clicks as well.
    h.window()->setFocus();
    QTest::keyClick(box, Qt::Key_Space);
    EXPECT_EQ(h.go().executed, 2);
    EXPECT_TRUE(box->isChecked());
}

TEST(CheckBox, WithoutServerDisabledAndDesignModeTakesNoClick)
{
    HostedButton<CheckBox> h("VyrControls.CheckBox", QSize(140, 24), false);
    QCheckBox* box = h.control().box();
    EXPECT_FALSE(box->isEnabled()) << "greyed without a server";
    h.put("Caption", Variant::fromString("&Alone"));
    EXPECT_EQ(box->text(), "&Alone") << "the caption reaches the box without a server too";
    h.put("Command", Variant::fromString("Go"));
    h.host->setCommandServer(h.server.get());
    ASSERT_TRUE(box->isEnabled());
    h.host->setUserMode(false);
    QTest::mouseClick(box, Qt::LeftButton, {}, boxCentre(box));
    EXPECT_EQ(h.go().executed, 0);
    EXPECT_TRUE(h.spy->events.empty());
    h.go().enabled = false;
    h.host->setUserMode(true);
    h.server->notify("Go");
    EXPECT_FALSE(box->isEnabled());
    h.go().visible = 0;
    h.server->notify("Go");
    EXPECT_FALSE(h.window()->isVisible());
}

TEST(CheckBox, CaptionLeftOnlyForPositionOne)
{
    HostedButton<CheckBox> h("VyrControls.CheckBox", QSize(140, 24));
    h.put("Caption", Variant::fromString("Left text"));
    QCheckBox* box = h.control().box();
    const int rightSide = boxCentre(box).x();
    h.put("CaptionPosition", Variant::fromLong(1));
    EXPECT_EQ(box->layoutDirection(), Qt::RightToLeft);
    EXPECT_GT(boxCentre(box).x(), rightSide) << "the box moves right of the text";
    for (LONG other : {0, 2, -1}) {
        h.put("CaptionPosition", Variant::fromLong(other));
        EXPECT_EQ(box->layoutDirection(), Qt::LeftToRight) << other;
    }
    BSTR text = nullptr;
    ComPtr<IPerPropertyBrowsing> browse;
    h.host->control()->QueryInterface(IID_IPerPropertyBrowsing, browse.putVoid());
    h.put("CaptionPosition", Variant::fromLong(1));
    ASSERT_EQ(browse->GetDisplayString(6, &text), S_OK);
    EXPECT_EQ(com::utf8(text), "Left");
    SysFreeString(text);
}

TEST(CheckBox, SaveOrderRoundTripAndHostileStreams)
{
    HostedButton<CheckBox> h("VyrControls.CheckBox", QSize(140, 24));
    h.put("Caption", Variant::fromString("&Shutter"));
    h.put("CaptionPosition", Variant::fromLong(1));
    h.put("BackColor", Variant::fromULong(0x123456));
    h.put("ForeColor", Variant::fromULong(0x654321));
    EXPECT_EQ(h.control().descriptor().saveOrder,
              (std::vector<DISPID>{50, DISPID_CAPTION, 6, DISPID_BACKCOLOR, DISPID_FORECOLOR, DISPID_FONT}));
    const auto bytes = test::savedBytes(h.host->control());
    auto copy = com::make<CheckBox>();
    ASSERT_EQ(test::loadInto(*copy, bytes), S_OK);
    EXPECT_EQ(copy->commandText(), "Go");
    EXPECT_EQ(copy->captionText(), "&Shutter");
    EXPECT_EQ(copy->captionPosition, 1);
    EXPECT_EQ(copy->backColor, 0x123456u);
    EXPECT_EQ(copy->foreColor, 0x654321u);
    EXPECT_EQ(test::savedBytes(static_cast<IDispatch*>(copy.get())), bytes);

    for (size_t n : {size_t(3), size_t(24), size_t(31), bytes.size() - 1}) {
        auto part = com::make<CheckBox>();
        EXPECT_TRUE(FAILED(test::loadInto(*part, std::vector<uint8_t>(bytes.begin(), bytes.begin() + long(n))))) << n;
    }
}
