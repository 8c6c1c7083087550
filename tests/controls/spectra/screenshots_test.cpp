// Renders the two displays as a container shows them: the SpectraCtrl in its three display
// modes and a SliceCtrl with four channels. With VYR_SCREENSHOT_DIR set the images are
// written there as PNG files (spectra-*.png, slice-*.png); a fourth SpectraCtrl without the
// colour band shows its laser lines over the whole curve area.
#include "controls/core/host.h"
#include "controls/spectra/curveshapes.h"
#include "controls/spectra/curvesource.h"
#include "controls/qtwidget/commandserver.h"
#include <QDir>
#include <gtest/gtest.h>

using namespace vyr;
using namespace vyr::controls;
using com::ComPtr;
using com::Variant;

namespace {

void save(const QImage& image, const char* name)
{
    const QByteArray dir = qgetenv("VYR_SCREENSHOT_DIR");
    if (dir.isEmpty())
        return;
    QDir().mkpath(QString::fromLocal8Bit(dir));
    EXPECT_TRUE(image.save(QString::fromLocal8Bit(dir) + "/" + name));
}

TEST(Screenshots, SpectraCtrlInItsThreeDisplayModes)
{
    auto server = com::make<vyr::CommandServer>();
    auto& centre = (*server)["Centre"];
    centre.minimum = 350;
    centre.maximum = 750;
    centre.value = 530;
    (*server)["Width"].value = 160;
    (*server)["Lasers"].entries = {{"405", 0, 0, 405}, {"488", 0, 0, 488}, {"561", 0, 0, 561}, {"633", 0, 0, 633}};
    auto curves = com::make<spectra::CurveSource>();
    curves->addCurve(0x00FFFFFF, spectra::bandPassCurve(500, 550));
    curves->addCurve(0x000000C0, spectra::dyeCurve(520, 14));
    curves->addCurve(0x00C00000, spectra::dyeCurve(590, 18));
    (*server)["Spectra"].object = ComPtr<IUnknown>(curves->unknown());

    // The three modes with the colour band, then "curve above spectra" without it: the laser
    // lines run over the whole height.
    const char* files[] = {"spectra-above.png", "spectra-below.png", "spectra-in.png", "spectra-nocolours.png"};
    for (int shot = 0; shot < 4; ++shot) {
        const int mode = shot % 3;
        HostWidget host;
        host.resize(640, 150);
        ASSERT_EQ(host.create("VyrControls.SpectraCtrl"), S_OK);
        host.setProperty("Command", Variant::fromString("Centre"));
        host.setProperty("CommandWidth", Variant::fromString("Width"));
        host.setProperty("CommandSpectra", Variant::fromString("Spectra"));
        host.setProperty("CommandLaserLines", Variant::fromString("Lasers"));
        host.setProperty("ShowSpectra", Variant::fromLong(shot < 3 ? 1 : 0));
        host.setProperty("LaserLineColor", Variant::fromULong(shot < 3 ? 0x00FFFFFF : 0x00008000));
        host.setProperty("CurveDisplayMode", Variant::fromLong(mode));
        host.setProperty("RainbowHeight", Variant::fromShort(24));
        host.setProperty("CurveDrawMode", Variant::fromLong(mode == 2 ? 1 : 0));
        host.setCommandServer(server.get());
        host.show();
        const QImage image = host.grab().toImage();
        ASSERT_FALSE(image.isNull());
        save(image, files[shot]);
    }
}

TEST(Screenshots, SliceCtrlWithFourChannels)
{
    auto server = com::make<vyr::CommandServer>();
    (*server)["Channels"].entries = {{"Ch1", 0xC00000, 0, 1.2}, {"Ch2", 0x00A000, 0, 2.5},
                                     {"Ch3", 0x0000C0, 0, 0.8}, {"Ch4", 0x808000, 0, 1.6}};
    auto& d = (*server)["Distance"];
    d.minimum = 0;
    d.maximum = 8;
    d.value = 1.5;
    HostWidget host;
    host.resize(360, 200);
    ASSERT_EQ(host.create("VyrControls.SliceCtrl"), S_OK);
    host.setProperty("CommandChannels", Variant::fromString("Channels"));
    host.setProperty("CommandDistance", Variant::fromString("Distance"));
    host.setProperty("LineDistance", Variant::fromLong(6));
    host.setCommandServer(server.get());
    host.show();
    const QImage image = host.grab().toImage();
    ASSERT_FALSE(image.isNull());
    save(image, "slice-four-channels.png");
}

} // namespace
