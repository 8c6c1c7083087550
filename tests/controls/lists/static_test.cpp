// Static hosted on a memory command server: what it reads, the alternative picture while the
// command's state is set, visibility, the frame and the caption it draws, persistence.
#include "controls/lists/static.h"
#include "platform/com/memstream.h"
#include "tests/controls/lists/hosted.h"

using namespace vyr;
using namespace vyr::controls;
using com::Variant;
using test::Hosted;

namespace {

constexpr OLE_COLOR kBack = 0x00FFFF00; // cyan (0x00BBGGRR)
const QRgb kBackRgb = qRgb(0, 255, 255);

Hosted label(bool attach = true, const std::function<void(HostWidget&)>& more = {})
{
    return Hosted("VyrControls.Static", QSize(120, 60), [&](HostWidget& h) {
        h.setProperty("Command", Variant::fromString("Lamp"));
        h.setProperty("BackColor", Variant::fromULong(kBack));
        if (more)
            more(h);
    }, attach);
}

bool anyPixelOtherThan(const QImage& img, const QRect& r, QRgb color)
{
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (img.pixel(x, y) != color)
                return true;
    return false;
}

} // namespace

TEST(Static, NewLabelShowsItsCaptionCentredWithoutFrame)
{
    Hosted h("VyrControls.Static", QSize(120, 60), [](HostWidget& w) {
        w.setProperty("BackColor", Variant::fromULong(kBack));
    }, false);
    EXPECT_EQ(h.host->property("Caption").toString(), "Label");
    const QImage img = h.shot();
    // No frame: the corners carry the back colour; text lies around the middle only.
    EXPECT_EQ(img.pixel(0, 0), kBackRgb);
    EXPECT_EQ(img.pixel(119, 59), kBackRgb);
    EXPECT_TRUE(anyPixelOtherThan(img, QRect(40, 20, 40, 20), kBackRgb));
    EXPECT_FALSE(anyPixelOtherThan(img, QRect(0, 0, 25, 60), kBackRgb));
    EXPECT_FALSE(anyPixelOtherThan(img, QRect(95, 0, 25, 60), kBackRgb));
}

TEST(Static, ReadsVisibleAndStateAfterRegistering)
{
    Hosted h = label(false);
    h.server->log.clear();
    h.host->setCommandServer(h.server.get());
    EXPECT_EQ(h.server->log, (std::vector<std::string>{"RegisterCommand Lamp", "GetCommandVisible Lamp",
                                                        "GetCommandState Lamp"}));
    // A label never disables itself, and never executes its command.
    (*h.server)["Lamp"].enabled = false;
    h.server->notify("Lamp");
    EXPECT_TRUE(h.window()->isEnabled());
    EXPECT_TRUE(h.server->calls("ExecuteCommand").empty());
}

TEST(Static, CheckedStateShowsTheCheckedPictureOrElseThePicture)
{
    auto red = test::solidPicture(QSize(10, 10), Qt::red);
    auto blue = test::solidPicture(QSize(10, 10), Qt::blue);
    Hosted h = label(true, [&](HostWidget& w) {
        w.setProperty("Caption", Variant::fromString(""));
        w.setProperty("Picture", Variant::fromDispatch(red.get()));
    });
    const QPoint mid(60, 30);
    EXPECT_EQ(h.shot().pixel(mid), qRgb(255, 0, 0));
    (*h.server)["Lamp"].state = 1;
    h.server->notify("Lamp");
    EXPECT_TRUE(h.control<Static>().checked());
    // No checked picture yet: the picture stays.
    EXPECT_EQ(h.shot().pixel(mid), qRgb(255, 0, 0));
    h.put("CheckedPicture", Variant::fromDispatch(blue.get()));
    EXPECT_EQ(h.shot().pixel(mid), qRgb(0, 0, 255));
    // Only the low 16 bits count.
    (*h.server)["Lamp"].state = 0x10000;
    h.server->notify("Lamp");
    EXPECT_EQ(h.shot().pixel(mid), qRgb(255, 0, 0));
}

TEST(Static, FollowsTheVisibleStateAndStaysShownWhenReadsFail)
{
    Hosted h = label();
    (*h.server)["Lamp"].visible = 0;
    h.server->notify("Lamp");
    EXPECT_FALSE(h.window()->isVisible());
    h.server->failing = {"GetCommandVisible", "GetCommandState"};
    (*h.server)["Lamp"].state = 1;
    h.server->notify("Lamp");
    EXPECT_TRUE(h.window()->isVisible());
    EXPECT_FALSE(h.control<Static>().checked());
    h.host->setCommandServer(nullptr);
    EXPECT_TRUE(h.window()->isVisible());
}

TEST(Static, DoubleFrameLeavesAFourPixelBorder)
{
    Hosted h = label(false, [](HostWidget& w) {
        w.setProperty("Caption", Variant::fromString(""));
        w.setProperty("FrameStyle", Variant::fromShort(4));
    });
    const QImage img = h.shot();
    for (int i = 0; i < 4; ++i)
        EXPECT_NE(img.pixel(i, 30), kBackRgb) << i;
    EXPECT_EQ(img.pixel(4, 30), kBackRgb);
    EXPECT_EQ(img.pixel(115, 55), kBackRgb);
    EXPECT_NE(img.pixel(116, 55), kBackRgb);
    // A caption at the left top starts inside the border.
    h.put("Caption", Variant::fromString("X"));
    h.put("CaptionPosition", Variant::fromShort(0));
    const QImage withText = h.shot();
    EXPECT_FALSE(anyPixelOtherThan(withText, QRect(4, 4, 2, 2), kBackRgb));
    EXPECT_TRUE(anyPixelOtherThan(withText, QRect(6, 6, 12, 14), kBackRgb));
}

TEST(Static, MnemonicFiresClick)
{
    Hosted h = label(true, [](HostWidget& w) { w.setProperty("Caption", Variant::fromString("&Lamp")); });
    com::ComPtr<IVyrControl> vc;
    ASSERT_EQ(h.host->control()->QueryInterface(IID_IVyrControl, vc.putVoid()), S_OK);
    char m = 0;
    vc->GetMnemonic(&m);
    EXPECT_EQ(m, 'L');
    vc->OnMnemonic();
    EXPECT_EQ(h.spy->ids(), std::vector<DISPID>{DISPID_EVENT_CLICK});
}

TEST(Static, SavedPropertiesLoadBack)
{
    auto red = test::solidPicture(QSize(4, 4), Qt::red);
    Hosted h = label(false, [&](HostWidget& w) {
        w.setProperty("Caption", Variant::fromString("Gain\\nhigh"));
        w.setProperty("TextColor", Variant::fromULong(0x000000FF));
        w.setProperty("CheckedPicture", Variant::fromDispatch(red.get()));
        w.setProperty("PicturePosition", Variant::fromShort(8));
        w.setProperty("FrameStyle", Variant::fromShort(5));
    });
    auto stream = com::MemoryStream::create();
    ASSERT_EQ(h.host->save(stream.get()), S_OK);
    stream->Seek({0}, STREAM_SEEK_SET, nullptr);
    HostWidget copy;
    ASSERT_EQ(copy.createAndLoad("VyrControls.Static", stream.get()), S_OK);
    for (const char* name : {"Command", "Caption", "TextColor", "BackColor", "PicturePosition", "CaptionPosition",
                             "FrameStyle"})
        EXPECT_EQ(copy.property(name).toString(), h.host->property(name).toString()) << name;
    auto* loaded = dynamic_cast<Static*>(vyr::controls::ControlBase::from(copy.dispatch()));
    EXPECT_EQ(com::qimageOf(loaded->checkedPicture.get()).pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_FALSE(loaded->picture);
}
