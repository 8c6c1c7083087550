// The SliceCtrl hosted on a memory command server: the reads in order, failures, persistence
// and the drawn bars.
#include "controls/core/host.h"
#include "controls/spectra/slicectrl.h"
#include "platform/com/memstream.h"
#include "platform/gdi/syscolors.h"
#include "controls/qtwidget/commandserver.h"
#include <QTest>
#include <gtest/gtest.h>

using namespace vyr;
using namespace vyr::controls;
using com::ComPtr;
using com::Variant;

namespace {

const QRgb kBack = gdi::SysColor(15).rgb(); // COLOR_BTNFACE, the default BackColor

// Four channels of thickness 2, 4, 0 and 1.5 µm on the distance range 0..20, distance 6.
struct Hosted {
    explicit Hosted(bool attach = true)
    {
        (*server)["Channels"].entries = {{"Ch1", 0x0000FF, 0, 2.0}, {"Ch2", 0x00C000, 0, 4.0},
                                         {"Ch3", 0xFF0000, 0, 0.0}, {"Ch4", 0x008080, 0, 1.5}};
        auto& d = (*server)["Distance"];
        d.minimum = 0;
        d.maximum = 20;
        d.value = 6;
        top.resize(420, 240);
        host = new HostWidget(&top);
        host->setGeometry(10, 10, 400, 220);
        EXPECT_EQ(host->create("VyrControls.SliceCtrl"), S_OK);
        ctrl = dynamic_cast<SliceCtrl*>(vyr::controls::ControlBase::from(host->dispatch()));
        host->setProperty("CommandChannels", Variant::fromString("Channels"));
        host->setProperty("CommandDistance", Variant::fromString("Distance"));
        if (attach)
            host->setCommandServer(server.get());
        top.show();
    }
    QImage shot() const { return host->controlWindow()->grab().toImage().convertToFormat(QImage::Format_RGB32); }

    ComPtr<vyr::CommandServer> server = com::make<vyr::CommandServer>();
    QWidget top;
    HostWidget* host = nullptr;
    SliceCtrl* ctrl = nullptr;
};

TEST(SliceCtrl, RegistersThenReadsInOrder)
{
    Hosted h(false);
    h.server->log.clear();
    h.host->setCommandServer(h.server.get());
    std::vector<std::string> expected = {
        "RegisterCommand Channels", "RegisterCommand Distance", "GetCommandEnabled Channels",
        "GetCommandVisible Channels", "GetMinimum Distance", "GetMaximum Distance", "GetValue Distance",
        "GetEntryCount Channels",
    };
    for (int i = 0; i < 4; ++i)
        for (const char* op : {"GetEntryLong", "GetEntryValue", "GetEntryText"})
            expected.push_back(std::string(op) + " Channels " + std::to_string(i));
    EXPECT_EQ(h.server->log, expected);
    ASSERT_EQ(h.ctrl->channels().size(), 4u);
    EXPECT_EQ(h.ctrl->channels()[1].name, "Ch2");
    EXPECT_EQ(h.ctrl->channels()[1].value, 4.0);
    EXPECT_EQ(h.ctrl->channels()[1].color, 0x00C000);
    EXPECT_EQ(h.ctrl->distance().value, 6.0);
    EXPECT_TRUE(h.ctrl->enabledFlag());
}

TEST(SliceCtrl, FailedReadDisablesAndKeepsTheChannels)
{
    Hosted h;
    (*h.server)["Channels"].entries[0].value = 9;
    h.server->failing.insert("GetEntryText");
    h.server->notify("Channels");
    EXPECT_FALSE(h.ctrl->enabledFlag());
    EXPECT_EQ(h.ctrl->channels()[0].value, 2.0);
    h.server->failing.clear();
    h.server->notify("Distance");
    EXPECT_EQ(h.ctrl->channels()[0].value, 9.0);
}

TEST(SliceCtrl, OneCommandAloneReadsNothing)
{
    Hosted h(false);
    h.host->setProperty("CommandDistance", Variant::fromString(""));
    h.server->log.clear();
    h.host->setCommandServer(h.server.get());
    EXPECT_EQ(h.server->log, std::vector<std::string>{"RegisterCommand Channels"});
    EXPECT_FALSE(h.ctrl->enabledFlag());
    EXPECT_TRUE(h.host->controlWindow()->isVisible());
}

TEST(SliceCtrl, BarsAreFramedAndHatchedInTheChannelColour)
{
    Hosted h;
    const QImage img = h.shot();
    const spectra::SliceGeometry g = h.ctrl->geometry();
    ASSERT_EQ(g.upper.size(), 4u);
    const spectra::SliceBar& up = g.upper[1]; // Ch2, green
    const spectra::SliceBar& low = g.lower[1];
    EXPECT_EQ(img.pixel(up.left, up.top), qRgb(0, 0xC0, 0));
    EXPECT_EQ(img.pixel(up.right - 1, up.bottom - 1), qRgb(0, 0xC0, 0));
    EXPECT_EQ(img.pixel(low.left + (low.right - low.left) / 2, low.bottom - 1), qRgb(0, 0xC0, 0));
    EXPECT_LT(up.bottom, low.top); // 6 µm apart
    // The upper bars slant one way, the lower the other: check the hatch pixels.
    const int spacing = h.ctrl->lineDistance;
    for (const auto& [bar, rising] : {std::pair{up, true}, std::pair{low, false}}) {
        for (const QLine& l : spectra::hatchLines(bar, spacing, rising, QRect(QPoint(0, 0), img.size())))
            EXPECT_EQ(img.pixel(l.p1()), qRgb(0, 0xC0, 0));
    }
    // The flat bars of Ch3 are single lines.
    EXPECT_EQ(img.pixel(g.upper[2].left + 3, g.upper[2].top), qRgb(0, 0, 0xFF));
    // Between the bars and outside them: background.
    EXPECT_EQ(img.pixel(up.left + 1, (up.bottom + low.top) / 2), kBack);
}

TEST(SliceCtrl, NoChannelsDrawOnlyTheBackground)
{
    Hosted h;
    (*h.server)["Channels"].entries.clear();
    h.server->notify("Channels");
    const QImage img = h.shot();
    for (int y = 0; y < img.height(); y += 7)
        for (int x = 0; x < img.width(); x += 7)
            ASSERT_EQ(img.pixel(x, y), kBack) << x << "," << y;
}

TEST(SliceCtrl, EqualDistanceBoundsDrawFlatBarsOnTheMiddle)
{
    Hosted h;
    auto& d = (*h.server)["Distance"];
    d.minimum = d.maximum = 5;
    h.server->notify("Distance");
    const spectra::SliceGeometry g = h.ctrl->geometry();
    EXPECT_EQ(g.upper[0].top, g.middle);
    EXPECT_EQ(g.upper[0].bottom, g.middle);
    EXPECT_FALSE(h.shot().isNull());
}

TEST(SliceCtrl, SavedPropertiesLoadBack)
{
    Hosted h;
    h.host->setProperty("LineDistance", Variant::fromLong(4));
    h.host->setProperty("WLPrecision", Variant::fromShort(3));
    h.host->setProperty("TextColor", Variant::fromULong(0x00102030));
    auto stream = com::MemoryStream::create();
    ASSERT_EQ(h.host->save(stream.get()), S_OK);
    stream->Seek({0}, STREAM_SEEK_SET, nullptr);
    HostWidget other;
    ASSERT_EQ(other.createAndLoad("VyrControls.SliceCtrl", stream.get()), S_OK);
    for (const char* name : {"CommandChannels", "CommandDistance", "LineDistance", "WLPrecision", "TextColor", "BackColor"})
        EXPECT_EQ(other.property(name).toString(), h.host->property(name).toString()) << name;
}

} // namespace
