// The spectra display with laser lines and filter and dye curves, and a slice display with
// four channels.
#include "tools/demo/demopage.h"
#include "controls/spectra/curveshapes.h"
#include "controls/spectra/curvesource.h"

namespace vyr::demo {
namespace {

QWidget* buildSpectra(DemoContext& ctx)
{
    auto& s = *ctx.server;
    auto& centre = s["Spectra.Centre"];
    centre.enabled = true;
    centre.minimum = 350;
    centre.maximum = 750;
    centre.value = 530;
    s["Spectra.Width"].value = 160;
    s["Spectra.Lasers"].entries = {{"405", 0, 0, 405}, {"488", 0, 0, 488}, {"561", 0, 0, 561}, {"633", 0, 0, 633}};
    auto curves = com::make<spectra::CurveSource>();
    curves->addCurve(0x00FFFFFF, spectra::bandPassCurve(500, 550));
    curves->addCurve(0x000000C0, spectra::dyeCurve(520, 14));
    curves->addCurve(0x00C00000, spectra::dyeCurve(590, 18));
    s["Spectra.Curves"].object = com::ComPtr<IUnknown>(curves->unknown());
    s["Slice.Channels"].entries = {{"Ch1", 0xC00000, 0, 1.2}, {"Ch2", 0x00A000, 0, 2.5},
                                   {"Ch3", 0x0000C0, 0, 0.8}, {"Ch4", 0x808000, 0, 1.6}};
    auto& distance = s["Slice.Distance"];
    distance.minimum = 0;
    distance.maximum = 8;
    distance.value = 1.5;

    auto* page = new QWidget;
    page->setMinimumSize(1040, 170);
    auto* spectra = ctx.host(page, "VyrControls.SpectraCtrl", QRect(10, 10, 640, 150));
    spectra->setProperty("Command", com::Variant::fromString("Spectra.Centre"));
    spectra->setProperty("CommandWidth", com::Variant::fromString("Spectra.Width"));
    spectra->setProperty("CommandSpectra", com::Variant::fromString("Spectra.Curves"));
    spectra->setProperty("CommandLaserLines", com::Variant::fromString("Spectra.Lasers"));
    spectra->setProperty("ShowSpectra", com::Variant::fromLong(1));
    spectra->setProperty("RainbowHeight", com::Variant::fromShort(24));

    auto* slice = ctx.host(page, "VyrControls.SliceCtrl", QRect(670, 10, 360, 150));
    slice->setProperty("CommandChannels", com::Variant::fromString("Slice.Channels"));
    slice->setProperty("CommandDistance", com::Variant::fromString("Slice.Distance"));
    slice->setProperty("LineDistance", com::Variant::fromLong(6));
    return page;
}

const DemoPageRegistration reg({30, QStringLiteral("SpectraCtrl and SliceCtrl"), buildSpectra});

} // namespace
} // namespace vyr::demo
