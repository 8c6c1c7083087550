// DisplayButton and DisplayOptionButton: caption and face colour from the command server.
#include "controls/buttons/displaybutton.h"
#include "tests/controls/buttons/hosted.h"

using namespace vyr;
using namespace vyr::controls;
using com::Variant;
using test::HostedButton;

namespace {
constexpr OLE_COLOR kRed = 0x0000FF, kGreen = 0x00FF00;
// A point of the face away from its edge and caption.
const QPoint kFacePoint(6, 6);
} // namespace

TEST(DisplayButton, FaceTakesTheServerColourUntilUseBackColorIsSet)
{
    HostedButton<DisplayButton> h("VyrControls.DisplayButton");
    h.put("BackColor", Variant::fromULong(kGreen));
    h.put("UseBackColor", Variant::fromBool(false));
    h.go().color = kRed;
    h.go().text = "42 mW";
    h.server->notify("Go");
    EXPECT_EQ(h.grab().pixelColor(kFacePoint), QColor(255, 0, 0));
    EXPECT_EQ(h.control().captionText(), "42 mW");

    h.put("UseBackColor", Variant::fromBool(true));
    EXPECT_EQ(h.grab().pixelColor(kFacePoint), QColor(0, 255, 0)) << "switching shows BackColor at once";
    // The server's caption is no property: a refresh does not count as a change to save.
    test::savedBytes(h.host->control());
    h.go().text = "43 mW";
    h.server->notify("Go");
    EXPECT_EQ(h.control().captionText(), "43 mW");
    EXPECT_FALSE(h.control().isDirty());
    HRESULT hr = S_OK;
    h.host->property("Caption", &hr);
    EXPECT_TRUE(FAILED(hr)) << "no Caption member";
}

TEST(DisplayButton, AServerWithoutTextLeavesDisplayAndDetachingClearsAndDisables)
{
    HostedButton<DisplayButton> h("VyrControls.DisplayButton");
    h.server->failing.insert("GetText");
    h.server->notify("Go");
    EXPECT_EQ(h.control().captionText(), kDisplayDefaultCaption);
    EXPECT_TRUE(h.control().enabledFlag());

    h.host->setCommandServer(nullptr);
    EXPECT_EQ(h.control().captionText(), "");
    EXPECT_FALSE(h.control().enabledFlag());
    EXPECT_FALSE(h.window()->isEnabled());
}

TEST(DisplayButton, ClicksExecuteOnReleaseAndHiddenByTheServer)
{
    HostedButton<DisplayButton> h("VyrControls.DisplayButton");
    QTest::mousePress(h.window(), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(h.go().executed, 0);
    QTest::mouseRelease(h.window(), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(h.go().executed, 1);
    EXPECT_EQ(h.spy->ids(), (std::vector<DISPID>{DISPID_MOUSEDOWN, DISPID_CLICK, DISPID_MOUSEUP, DISPID_CLICK}));
    h.window()->setFocus();
    QTest::keyClick(h.window(), Qt::Key_Return);
    EXPECT_EQ(h.go().executed, 2);

    h.go().visible = 0;
    h.server->notify("Go");
    EXPECT_FALSE(h.window()->isVisible());
}

TEST(DisplayOptionButton, ShowsTheStatePushedInAndExecutesOnPress)
{
    HostedButton<DisplayOptionButton> h("VyrControls.DisplayOptionButton");
    h.server->onExecute = [](const std::string&, vyr::CommandServer::Command& c) {
        c.state = !c.state;
        c.text = c.state ? "On" : "Off";
    };
    QTest::mousePress(h.window(), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(h.go().executed, 1);
    EXPECT_EQ(h.control().captionText(), "On") << "refreshed after executing";
    QTest::mouseRelease(h.window(), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(h.control().face.pressed, 1);

    h.go().state = 0;
    h.server->notify("Go");
    EXPECT_EQ(h.control().face.pressed, 0);
    h.go().state = 1;
    h.server->notify("Go");
    EXPECT_EQ(h.control().face.pressed, 1) << "a state set on the server draws pushed in";
}

TEST(DisplayPersistence, SaveOrderAndRoundTrip)
{
    for (const char* progId : {"VyrControls.DisplayButton", "VyrControls.DisplayOptionButton"}) {
        HostedButton<ControlBase> h(progId);
        h.put("BackColor", Variant::fromULong(kGreen));
        h.put("ForeColor", Variant::fromULong(kRed));
        h.put("PicturePosition", Variant::fromShort(2));
        h.put("CaptionPosition", Variant::fromShort(6));
        h.put("UseBackColor", Variant::fromBool(false));
        const auto bytes = test::savedBytes(h.host->control());
        EXPECT_EQ(h.control().descriptor().saveOrder,
                  (std::vector<DISPID>{50, DISPID_BACKCOLOR, DISPID_FORECOLOR, 5, 6, 7, 8, DISPID_FONT, 60}));

        HostWidget other;
        auto stream = com::MemoryStream::create(bytes);
        ASSERT_EQ(other.createAndLoad(progId, stream.get()), S_OK) << progId;
        EXPECT_EQ(other.property("Command").toString(), "Go");
        EXPECT_EQ(other.property("BackColor").toLong(), int32_t(kGreen));
        EXPECT_EQ(other.property("ForeColor").toLong(), int32_t(kRed));
        EXPECT_EQ(other.property("PicturePosition").toLong(), 2);
        EXPECT_EQ(other.property("CaptionPosition").toLong(), 6);
        EXPECT_EQ(other.property("UseBackColor").toBool(), false);
        EXPECT_EQ(test::savedBytes(other.control()), bytes);

        std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + 30);
        HostWidget broken;
        auto s2 = com::MemoryStream::create(cut);
        EXPECT_TRUE(FAILED(broken.createAndLoad(progId, s2.get())));
    }
}
