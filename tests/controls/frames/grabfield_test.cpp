// The GrabField on a memory command server: the five commands named after Command, dragging
// the field with real mouse events at several rotations, degenerate values, and its drawing.
#include "controls/frames/grabfield.h"
#include "platform/com/memstream.h"
#include "tests/controls/frames/hosting.h"
#include "controls/qtwidget/commandserver.h"
#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>

namespace vyr::frames::test {
namespace {

using com::Variant;
using controls::GrabField;
using controls::HostWidget;

class GrabFieldTest : public testing::Test {
protected:
    QWidget top;
    HostWidget* host = nullptr;
    com::ComPtr<vyr::CommandServer> server = com::make<vyr::CommandServer>();

    void SetUp() override
    {
        // A 40 x 20 field that moves 80 either way on both axes.
        setRange("F.Width", 0, 100, 40);
        setRange("F.Height", 0, 100, 20);
        setRange("F.OffsetX", -80, 80, 0);
        setRange("F.OffsetY", -80, 80, 0);
        setRange("F.Rotation", 0, 360, 0);
        server->autoNotify = true;
        top.resize(250, 250);
        host = new HostWidget(&top);
        host->setGeometry(10, 10, 210, 210);
        ASSERT_EQ(host->create("VyrControls.GrabField"), S_OK);
        ASSERT_EQ(host->setProperty("Command", Variant::fromString("F")), S_OK);
        host->setCommandServer(server.get());
        top.show();
    }

    void setRange(const std::string& name, double min, double max, double value)
    {
        auto& c = (*server)[name];
        c.minimum = min, c.maximum = max, c.value = value;
    }
    GrabField& field() { return *dynamic_cast<GrabField*>(controlOf(host)); }
    QWidget* window() { return host->controlWindow(); }

    void mouse(QEvent::Type type, QPointF at, Qt::MouseButtons held)
    {
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent e(type, at, window()->mapToGlobal(at), button, held, {});
        QApplication::sendEvent(window(), &e);
    }
    void drag(QPointF from, QPointF to)
    {
        mouse(QEvent::MouseButtonPress, from, Qt::LeftButton);
        mouse(QEvent::MouseMove, (from + to) / 2, Qt::LeftButton);
        mouse(QEvent::MouseMove, to, Qt::LeftButton);
        mouse(QEvent::MouseButtonRelease, to, Qt::NoButton);
    }
    QImage image()
    {
        QImage img(window()->size(), QImage::Format_RGB32);
        window()->render(&img);
        return img;
    }
};

TEST_F(GrabFieldTest, RegistersTheFiveCommandsAndReadsThem)
{
    std::vector<std::string> registered = server->calls("RegisterCommand");
    EXPECT_EQ(registered, (std::vector<std::string>{"RegisterCommand F.Width", "RegisterCommand F.Height",
                                                    "RegisterCommand F.OffsetX", "RegisterCommand F.OffsetY",
                                                    "RegisterCommand F.Rotation"}));
    EXPECT_EQ(field().values().width.value, 40);
    EXPECT_EQ(field().values().offsetY.min, -80);
    // The rotation is read by value only.
    server->log.clear();
    server->notify("F.Rotation");
    EXPECT_TRUE(server->calls("GetMinimum F.Rotation").empty());
    EXPECT_EQ(server->calls("GetValue F.Rotation").size(), 1u);
    // A new Command unregisters the old names and registers the new ones.
    server->log.clear();
    ASSERT_EQ(host->setProperty("Command", Variant::fromString("G")), S_OK);
    EXPECT_EQ(server->calls("UnregisterCommand").size(), 5u);
    EXPECT_EQ(server->calls("RegisterCommand G.").size(), 5u);
    EXPECT_EQ(field().values().width.value, 0); // no such commands: all values cleared
}

TEST_F(GrabFieldTest, AFailingReadKeepsWhatWasRead)
{
    server->failing = {"GetMaximum"};
    server->notify("F.Width");
    EXPECT_EQ(field().values().width.min, 0);
    EXPECT_EQ(field().values().width.value, 0); // cleared, and the refresh stopped at Width
    EXPECT_EQ(field().values().height.value, 0);
    server->failing.clear();
    server->notify("F.Width");
    EXPECT_EQ(field().values().height.value, 20);
}

TEST_F(GrabFieldTest, DraggingWritesTheOffsetsAtEveryRotation)
{
    // World extents (field bounding box plus 160 of travel) give the scale into 208 x 208.
    struct Row {
        double degrees;
        double worldW, worldH;
    };
    const double c30 = std::cos(M_PI / 6), s30 = std::sin(M_PI / 6);
    for (const Row& r : {Row{0, 200, 180}, Row{30, 2 * (20 * c30 + 10 * s30) + 160, 2 * (20 * s30 + 10 * c30) + 160},
                         Row{90, 180, 200}, Row{180, 200, 180}}) {
        SCOPED_TRACE(r.degrees);
        setRange("F.OffsetX", -80, 80, 0);
        setRange("F.OffsetY", -80, 80, 0);
        (*server)["F.Rotation"].value = r.degrees;
        server->notify("F.Rotation");
        const double factor = 208 / std::max(r.worldW, r.worldH);
        const frames::GrabGeometry g = field().geometry();
        ASSERT_NEAR(g.factor, factor, 1e-9);
        server->log.clear();
        const QPointF from(g.centre.x, g.centre.y);
        drag(from, from + QPointF(30, -12));
        ASSERT_EQ(server->calls("SetValue F.OffsetX").size(), 2u);
        EXPECT_NEAR((*server)["F.OffsetX"].value, 30 / factor, 1e-9);
        EXPECT_NEAR((*server)["F.OffsetY"].value, -12 / factor, 1e-9);
        // Far beyond the range: the field stops at its limits and stays inside the world.
        const frames::GrabGeometry moved = field().geometry();
        drag(QPointF(moved.centre.x, moved.centre.y), QPointF(moved.centre.x + 900, moved.centre.y + 900));
        EXPECT_EQ((*server)["F.OffsetX"].value, 80);
        EXPECT_EQ((*server)["F.OffsetY"].value, 80);
        const frames::GrabGeometry end = field().geometry();
        for (const frames::GrabPoint& p : end.corners) {
            EXPECT_LE(p.x, end.worldRight + 1e-9);
            EXPECT_LE(p.y, end.worldBottom + 1e-9);
            EXPECT_LE(p.x, 209.0 + 1e-9);
        }
    }
}

TEST_F(GrabFieldTest, OnlyWhileTheButtonIsHeld)
{
    server->log.clear();
    mouse(QEvent::MouseMove, QPointF(100, 100), Qt::NoButton);
    mouse(QEvent::MouseButtonPress, QPointF(100, 100), Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, QPointF(100, 100), Qt::NoButton);
    mouse(QEvent::MouseMove, QPointF(150, 150), Qt::NoButton);
    EXPECT_TRUE(server->calls("SetValue").empty());
    // Design mode: no input at all.
    host->setUserMode(false);
    drag(QPointF(100, 100), QPointF(150, 150));
    EXPECT_TRUE(server->calls("SetValue").empty());
}

TEST_F(GrabFieldTest, DegenerateValuesWriteNothingWild)
{
    // NaN from the server: no geometry, the client outline is drawn, a drag writes nothing.
    (*server)["F.OffsetX"].value = NAN;
    server->notify("F.OffsetX");
    field().frameColor = 0x0000FF00;
    QImage img = image();
    EXPECT_EQ(img.pixelColor(0, 0), QColor(0, 255, 0));
    EXPECT_EQ(img.pixelColor(105, 209), QColor(0, 255, 0));
    server->log.clear();
    drag(QPointF(100, 100), QPointF(140, 120));
    EXPECT_TRUE(server->calls("SetValue").empty());

    // A field wider than its area (the host reports a range whose minimum lies above its
    // maximum): the offset holds at the minimum.
    setRange("F.OffsetX", 10, -10, 0);
    server->notify("F.OffsetX");
    server->log.clear();
    drag(QPointF(100, 100), QPointF(180, 100));
    EXPECT_EQ((*server)["F.OffsetX"].value, 10);

    // Nothing to show: background only, and nothing moves.
    setRange("F.Width", 0, 0, 0);
    setRange("F.Height", 0, 0, 0);
    setRange("F.OffsetX", 0, 0, 0);
    setRange("F.OffsetY", 0, 0, 0);
    server->notify("F.Width");
    server->log.clear();
    drag(QPointF(100, 100), QPointF(180, 100));
    EXPECT_TRUE(server->calls("SetValue").empty());
    img = image();
    const QColor back = img.pixelColor(0, 0);
    for (int y = 0; y < img.height(); y += 7)
        for (int x = 0; x < img.width(); x += 7)
            ASSERT_EQ(img.pixelColor(x, y), back) << x << "," << y;
}

TEST_F(GrabFieldTest, DrawsTheUpperEdgeInItsOwnColour)
{
    ASSERT_EQ(host->setProperty("LineWidth", Variant::fromLong(3)), S_OK);
    const frames::GrabGeometry g = field().geometry();
    QImage img = image();
    const QPoint upper(int((g.corners[0].x + g.corners[1].x) / 2), int((g.corners[0].y + g.corners[1].y) / 2));
    const QPoint lower(int((g.corners[2].x + g.corners[3].x) / 2), int((g.corners[2].y + g.corners[3].y) / 2));
    EXPECT_EQ(img.pixelColor(upper), QColor(0, 0, 255));
    EXPECT_EQ(img.pixelColor(lower), QColor(255, 0, 0));
    EXPECT_EQ(img.pixelColor(int(g.centre.x), int(g.centre.y)), img.pixelColor(3, 3)); // not filled
    // Turned upside down, the upper edge is at the bottom.
    (*server)["F.Rotation"].value = 180;
    server->notify("F.Rotation");
    img = image();
    EXPECT_EQ(img.pixelColor(lower), QColor(0, 0, 255));

    // A field of no size is a cross through its centre, spanning the world.
    setRange("F.Width", 0, 0, 0);
    setRange("F.Height", 0, 0, 0);
    server->notify("F.Width");
    const frames::GrabGeometry cross = field().geometry();
    ASSERT_TRUE(cross.degenerate);
    img = image();
    EXPECT_EQ(img.pixelColor(int(cross.worldLeft) + 4, int(cross.centre.y)), QColor(255, 0, 0));
    EXPECT_EQ(img.pixelColor(int(cross.centre.x), int(cross.worldBottom) - 4), QColor(255, 0, 0));
}

TEST_F(GrabFieldTest, SavesItsPropertiesInOrder)
{
    ASSERT_EQ(host->setProperty("FrameWidth", Variant::fromLong(4)), S_OK);
    ASSERT_EQ(host->setProperty("LineColor", Variant::fromULong(0x00123456)), S_OK);
    auto s = com::MemoryStream::create();
    ASSERT_EQ(host->save(s.get()), S_OK);
    HostWidget copy;
    auto in = com::MemoryStream::create(s->bytes());
    ASSERT_EQ(copy.createAndLoad("VyrControls.GrabField", in.get()), S_OK);
    EXPECT_EQ(copy.property("Command").toString().value_or(""), "F");
    EXPECT_EQ(copy.property("FrameWidth").toLong().value_or(0), 4);
    EXPECT_EQ(copy.property("LineColor").toLong().value_or(0), 0x00123456);
    EXPECT_EQ(copy.property("UpperLineColor").toLong().value_or(0), 0x00FF0000);
    // Command first, then BackColor, LineWidth, LineColor, UpperLineColor, FrameWidth, FrameColor.
    const std::vector<uint8_t>& b = s->bytes();
    ASSERT_GE(b.size(), 32u);
    int32_t firstId = 0;
    std::memcpy(&firstId, b.data() + 24, 4);
    EXPECT_EQ(firstId, 50);
}

} // namespace
} // namespace vyr::frames::test
