// The SpectraCtrl hosted in a container window on a memory command server: the reads and
// writes of the command binding, scrolling by buttons, keys and dragging, persistence,
// browsing and the drawn band.
#include "controls/core/host.h"
#include "controls/spectra/curvesource.h"
#include "controls/spectra/spectractrl.h"
#include "controls/spectra/wavelengthcolor.h"
#include "platform/com/memstream.h"
#include "platform/gdi/plaindrawing.h"
#include "platform/gdi/syscolors.h"
#include "tests/support/eventspy.h"
#include "controls/qtwidget/commandserver.h"
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>
#include <limits>
#include <random>

using namespace vyr;
using namespace vyr::controls;
using com::ComPtr;
using com::Variant;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// A spectra display bound to "Centre" (axis 400..700, centre 500), "Width" (60 nm),
// "Spectra" (two curves) and "Lasers" (488 and 561 nm).
struct Hosted {
    explicit Hosted(bool attach = true)
    {
        auto& centre = (*server)["Centre"];
        centre.minimum = 400;
        centre.maximum = 700;
        centre.value = 500;
        (*server)["Width"].value = 60;
        curves = com::make<spectra::CurveSource>();
        curves->addCurve(0x0000FF, {{450, 0}, {500, 1}, {550, 0}});
        curves->addCurve(0x00FF00, {{480, 2}, {520, 2}});
        (*server)["Spectra"].object = ComPtr<IUnknown>(curves->unknown());
        (*server)["Lasers"].entries = {{"488", 0, 0, 488.0}, {"561", 0, 0, 561.0}};

        top.resize(520, 160);
        host = new HostWidget(&top);
        host->setGeometry(10, 10, 500, 130);
        EXPECT_EQ(host->create("VyrControls.SpectraCtrl"), S_OK);
        ctrl = dynamic_cast<SpectraCtrl*>(vyr::controls::ControlBase::from(host->dispatch()));
        host->setProperty("Command", Variant::fromString("Centre"));
        host->setProperty("CommandWidth", Variant::fromString("Width"));
        host->setProperty("CommandSpectra", Variant::fromString("Spectra"));
        host->setProperty("CommandLaserLines", Variant::fromString("Lasers"));
        if (attach)
            host->setCommandServer(server.get());
        top.show();
        QApplication::setActiveWindow(&top);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&top));
        window()->setFocus();
    }
    QWidget* window() const { return host->controlWindow(); }
    QImage shot() const { return window()->grab().toImage().convertToFormat(QImage::Format_RGB32); }
    double writtenCentre() const { return (*server)["Centre"].value; }

    ComPtr<vyr::CommandServer> server = com::make<vyr::CommandServer>();
    ComPtr<spectra::CurveSource> curves;
    QWidget top;
    HostWidget* host = nullptr;
    SpectraCtrl* ctrl = nullptr;
};

TEST(SpectraCtrl, AttachingRegistersInOrderAndReadsEverything)
{
    Hosted h(false);
    h.server->log.clear();
    h.host->setCommandServer(h.server.get());
    const std::vector<std::string> expected = {
        "RegisterCommand Centre", "RegisterCommand Width", "RegisterCommand Spectra", "RegisterCommand Lasers",
        "GetMinimum Centre", "GetMaximum Centre", "GetValue Centre", "GetValue Width",
        "GetCommandEnabled Centre", "GetCommandVisible Centre", "GetObject Spectra",
        "GetEntryCount Lasers", "GetEntryValue Lasers 0", "GetEntryValue Lasers 1",
    };
    ASSERT_GE(h.server->log.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(h.server->log.begin(), h.server->log.begin() + long(expected.size())), expected);
    EXPECT_EQ(h.ctrl->axis().lo, 400);
    EXPECT_EQ(h.ctrl->axis().hi, 700);
    EXPECT_EQ(h.ctrl->axis().width, 60);
    EXPECT_EQ(h.ctrl->laserLines(), (std::vector<double>{488, 561}));
    ASSERT_EQ(h.ctrl->curves().size(), 2u);
    EXPECT_TRUE(h.ctrl->enabledFlag());
    EXPECT_TRUE(h.ctrl->leftButton()->isEnabled());
}

TEST(SpectraCtrl, BothNotificationEntriesReadAgain)
{
    Hosted h;
    (*h.server)["Centre"].value = 550;
    h.ctrl->OnCommandStateChanged();
    EXPECT_EQ(h.ctrl->axis().centre, 550);
    (*h.server)["Lasers"].entries.push_back({"633", 0, 0, 633.0});
    h.ctrl->OnCommandStateChangedEx();
    EXPECT_EQ(h.ctrl->laserLines().size(), 3u);
    EXPECT_TRUE(h.ctrl->band().isNull()); // discarded: rebuilt on the next paint
    h.window()->repaint();
    EXPECT_FALSE(h.ctrl->band().isNull());
}

TEST(SpectraCtrl, NotificationsRebuildTheBandOnlyWhenWhatItShowsChanged)
{
    Hosted h;
    h.window()->repaint();
    const qint64 built = h.ctrl->band().cacheKey();
    ASSERT_FALSE(h.ctrl->band().isNull());
    (*h.server)["Centre"].value = 560; // scrolling shows another part of the same band
    h.ctrl->OnCommandStateChanged();
    h.ctrl->OnCommandStateChangedEx();
    h.window()->repaint();
    EXPECT_EQ(h.ctrl->band().cacheKey(), built);

    (*h.server)["Width"].value = 80;
    h.ctrl->OnCommandStateChanged();
    h.window()->repaint();
    EXPECT_NE(h.ctrl->band().cacheKey(), built);
}

TEST(SpectraCtrl, FailedReadDisablesAndKeepsTheLastValues)
{
    Hosted h;
    (*h.server)["Centre"].value = 600;
    h.server->failing.insert("GetValue");
    h.server->notify("Centre");
    EXPECT_FALSE(h.ctrl->enabledFlag());
    EXPECT_EQ(h.ctrl->axis().centre, 500);
    EXPECT_FALSE(h.ctrl->leftButton()->isEnabled());
    h.server->failing.clear();
    h.server->notify("Centre");
    EXPECT_TRUE(h.ctrl->enabledFlag());
    EXPECT_EQ(h.ctrl->axis().centre, 600);
}

TEST(SpectraCtrl, WithoutTheWidthCommandNothingIsReadAndTheControlIsDisabled)
{
    Hosted h;
    h.server->log.clear();
    h.host->setProperty("CommandWidth", Variant::fromString(""));
    EXPECT_TRUE(h.server->calls("GetValue").empty());
    EXPECT_FALSE(h.ctrl->enabledFlag());
    h.host->setProperty("CommandLaserLines", Variant::fromString(""));
    h.host->setProperty("CommandWidth", Variant::fromString("Width"));
    EXPECT_TRUE(h.ctrl->laserLines().empty()); // no laser command: no laser lines
}

TEST(SpectraCtrl, ArrowButtonRepeatsThenStepsOnRelease)
{
    Hosted h;
    h.host->setProperty("SpectraStep", Variant::fromDouble(2.5));
    QPushButton* left = h.ctrl->leftButton();
    ASSERT_NE(left, nullptr);
    QTest::mousePress(left, Qt::LeftButton, {}, left->rect().center());
    EXPECT_EQ(h.ctrl->pressState(), spectra::PressState::LeftButton);
    EXPECT_TRUE(h.ctrl->timerActive(200));
    h.ctrl->onTimer(200);
    EXPECT_FALSE(h.ctrl->timerActive(200));
    EXPECT_TRUE(h.ctrl->timerActive(50));
    EXPECT_EQ(h.writtenCentre(), 497.5);
    h.ctrl->onTimer(50);
    EXPECT_EQ(h.writtenCentre(), 495);
    QTest::mouseRelease(left, Qt::LeftButton, {}, left->rect().center());
    EXPECT_FALSE(h.ctrl->timerActive(50));
    EXPECT_EQ(h.writtenCentre(), 492.5);
    EXPECT_EQ(h.server->calls("SetValue").size(), 3u);

    QPushButton* right = h.ctrl->rightButton();
    QTest::mouseClick(right, Qt::LeftButton, {}, right->rect().center());
    EXPECT_EQ(h.writtenCentre(), 495);
}

TEST(SpectraCtrl, KeysScrollAndWriteTheCentre)
{
    Hosted h;
    QTest::keyClick(h.window(), Qt::Key_Right);
    EXPECT_EQ(h.writtenCentre(), 501);
    QTest::keyClick(h.window(), Qt::Key_Home);
    EXPECT_EQ(h.writtenCentre(), 430); // lo + w/2
}

TEST(SpectraCtrl, DraggingTheBandWritesOnlyOnRelease)
{
    Hosted h;
    const spectra::SpectraLayout l = h.ctrl->layout();
    const QPoint start = l.band.center();
    const int dx = l.area.width() / 6; // a sixth of the area: 10 nm
    h.server->log.clear();
    QTest::mousePress(h.window(), Qt::LeftButton, {}, start);
    EXPECT_EQ(h.ctrl->pressState(), spectra::PressState::Dragging);
    QMouseEvent move(QEvent::MouseMove, QPointF(start.x() - dx, start.y()), QPointF(), Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(h.window(), &move);
    EXPECT_NEAR(h.ctrl->axis().centre, 500 + 60.0 * dx / l.area.width(), 1e-9);
    EXPECT_TRUE(h.server->calls("SetValue").empty());
    EXPECT_EQ(h.window()->cursor().shape(), Qt::OpenHandCursor);
    QTest::mouseRelease(h.window(), Qt::LeftButton, {}, QPoint(start.x() - dx, start.y()));
    ASSERT_EQ(h.server->calls("SetValue").size(), 1u);
    EXPECT_NEAR(h.writtenCentre(), 500 + 60.0 * dx / l.area.width(), 1e-9);
}

TEST(SpectraCtrl, PropertyPutsFollowTheProtocol)
{
    Hosted h;
    auto spy = com::make<test::NotifySpy>();
    ASSERT_TRUE(spy->connect(h.host->control()));
    h.host->setProperty("ScaleSmall", Variant::fromShort(1)); // equal: nothing
    h.host->setProperty("ShowCurve", Variant::fromLong(1));
    EXPECT_TRUE(spy->changed.empty());
    h.host->setProperty("CommandSpectra", Variant::fromString("Spectra")); // strings always apply
    EXPECT_EQ(spy->changed, std::vector<DISPID>{120});
    h.host->setProperty("WithButtons", Variant::fromLong(0));
    EXPECT_EQ(h.ctrl->leftButton(), nullptr);
    EXPECT_EQ(h.ctrl->layout().band, h.ctrl->layout().area);
    h.host->setProperty("WithButtons", Variant::fromLong(1));
    EXPECT_NE(h.ctrl->leftButton(), nullptr);
    EXPECT_EQ(spy->changed, (std::vector<DISPID>{120, 100, 100}));
}

TEST(SpectraCtrl, SavedPropertiesLoadBack)
{
    Hosted h;
    h.host->setProperty("ShowSpectra", Variant::fromLong(1));
    h.host->setProperty("CurveDisplayMode", Variant::fromLong(0));
    h.host->setProperty("CurveDrawMode", Variant::fromLong(1));
    h.host->setProperty("SpectraStep", Variant::fromDouble(0.25));
    h.host->setProperty("RainbowHeight", Variant::fromShort(17));
    h.host->setProperty("LaserLineColor", Variant::fromULong(0x00123456));
    auto stream = com::MemoryStream::create();
    ASSERT_EQ(h.host->save(stream.get()), S_OK);
    stream->Seek({0}, STREAM_SEEK_SET, nullptr);

    HostWidget other;
    ASSERT_EQ(other.createAndLoad("VyrControls.SpectraCtrl", stream.get()), S_OK);
    for (const char* name : {"Command", "CommandWidth", "CommandSpectra", "CommandLaserLines", "ShowSpectra",
                             "CurveDisplayMode", "CurveDrawMode", "SpectraStep", "RainbowHeight", "LaserLineColor",
                             "ScaleLarge", "WithButtons", "ShowCurve"})
        EXPECT_EQ(other.property(name).toString(), h.host->property(name).toString()) << name;
}

TEST(SpectraCtrl, EnumeratedPropertiesBrowseWithTheirTexts)
{
    Hosted h;
    ComPtr<IPerPropertyBrowsing> browse;
    ASSERT_EQ(h.host->control()->QueryInterface(IID_IPerPropertyBrowsing, browse.putVoid()), S_OK);
    const auto strings = [&](DISPID id) {
        CALPOLESTR s{};
        CADWORD c{};
        std::vector<std::string> out;
        if (browse->GetPredefinedStrings(id, &s, &c) != S_OK)
            return out;
        for (ULONG i = 0; i < s.cElems; ++i) {
            out.push_back(com::utf8(std::u16string_view(s.pElems[i])) + "=" + std::to_string(c.pElems[i]));
            CoTaskMemFree(s.pElems[i]);
        }
        CoTaskMemFree(s.pElems);
        CoTaskMemFree(c.pElems);
        return out;
    };
    EXPECT_EQ(strings(95), (std::vector<std::string>{"curve above spectra=0", "curve below spectra=1",
                                                     "curve in spectra=2"}));
    EXPECT_EQ(strings(104), (std::vector<std::string>{"Polyline=0", "Spline=1", "Point=2"}));
    for (DISPID id : {94, 100, 106, 107})
        EXPECT_EQ(strings(id), (std::vector<std::string>{"no=0", "yes=1"})) << id;
    com::Bstr text;
    EXPECT_EQ(browse->GetDisplayString(94, text.put()), S_OK);
    EXPECT_EQ(text.str(), "no");
}

// The screen x of a wavelength in the band and the rows of the band area.
int screenX(SpectraCtrl& c, double nm)
{
    const spectra::WavelengthMap m = c.map();
    return c.layout().area.left() + m.bandColumn(nm) - m.bandOffset();
}

TEST(SpectraCtrl, BandShowsWavelengthColoursAndLaserLines)
{
    Hosted h;
    h.host->setProperty("ShowSpectra", Variant::fromLong(1));
    h.host->setProperty("ShowCurve", Variant::fromLong(0));
    h.host->setProperty("LaserLineColor", Variant::fromULong(0x00FF00FF)); // magenta
    const QImage img = h.shot();
    const spectra::SpectraLayout l = h.ctrl->layout();
    const int row = l.area.center().y();
    EXPECT_EQ(img.pixel(screenX(*h.ctrl, 488), row), qRgb(255, 0, 255));
    const int x510 = screenX(*h.ctrl, 510);
    EXPECT_EQ(img.pixel(x510, row), spectra::wavelengthRgb(h.ctrl->map().columnWavelength(
                                        x510 - l.area.left() + h.ctrl->map().bandOffset())));
    EXPECT_EQ(img.pixel(l.area.left() + l.area.width() / 2, l.area.top()), qRgb(0, 0, 0)); // the frame
}

TEST(SpectraCtrl, LaserLinesShowWithTheDefaultLook)
{
    // ShowSpectra 0 and ShowLaserLinesInSpectra 1: no colours, but the laser lines.
    Hosted h;
    h.host->setProperty("ShowCurve", Variant::fromLong(0));
    h.host->setProperty("LaserLineColor", Variant::fromULong(0x00FF00FF));
    const QImage img = h.shot();
    const int row = h.ctrl->layout().area.center().y();
    EXPECT_EQ(img.pixel(screenX(*h.ctrl, 488), row), qRgb(255, 0, 255));
    EXPECT_EQ(img.pixel(screenX(*h.ctrl, 510), row), gdi::SysColor(15).rgb());
}

TEST(SpectraCtrl, WithoutColoursLaserLinesRunOverTheWholeCurveArea)
{
    for (long mode : {0L, 1L, 2L}) {
        Hosted h;
        h.host->setProperty("ShowCurve", Variant::fromLong(0));
        h.host->setProperty("LaserLineColor", Variant::fromULong(0x00FF00FF));
        h.host->setProperty("CurveDisplayMode", Variant::fromLong(mode));
        const QImage img = h.shot();
        const QRect area = h.ctrl->layout().area;
        const int x = screenX(*h.ctrl, 488);
        // Inside the black frame around the area, from its first row to its last.
        for (int y = area.top() + 1; y < area.bottom(); ++y)
            ASSERT_EQ(img.pixel(x, y), qRgb(255, 0, 255)) << "mode " << mode << " row " << y;
        EXPECT_EQ(img.pixel(screenX(*h.ctrl, 510), area.top() + 2), gdi::SysColor(15).rgb());
    }
}

TEST(SpectraCtrl, CurvesAreDrawnInTheirColour)
{
    Hosted h;
    h.host->setProperty("ShowSpectra", Variant::fromLong(0));
    h.host->setProperty("CurveDrawMode", Variant::fromLong(2)); // points
    const QImage img = h.shot();
    const spectra::SpectraLayout l = h.ctrl->layout();
    // The first curve's top at (500, 1) lands on the frame's first row below the top.
    EXPECT_EQ(img.pixel(screenX(*h.ctrl, 500), l.area.top() + 1), qRgb(255, 0, 0));
}

TEST(SpectraCtrl, DenseCurvesLookTheSameDrawnFromTheirPlotsAndPlainly)
{
    // Noisy curves of many points per pixel column, one of them running back and forth; each
    // scroll position is drawn from the kept plots and then with every point drawn afresh.
    Hosted h;
    h.host->setProperty("ShowSpectra", Variant::fromLong(1));
    h.host->setProperty("CurveDisplayMode", Variant::fromLong(0));
    h.curves->clear();
    std::mt19937 rng(3);
    std::uniform_real_distribution<double> value(0, 1);
    std::vector<spectra::CurvePoint> dense, zigzag;
    for (int i = 0; i < 60'000; ++i)
        dense.push_back({380 + 340.0 * i / 59'999, value(rng)});
    for (int i = 0; i < 2'000; ++i)
        zigzag.push_back({i % 2 ? 420 + i * 0.1 : 690 - i * 0.1, value(rng)});
    h.curves->addCurve(0x00C000, dense);
    h.curves->addCurve(0xC00000, zigzag);
    for (const long mode : {0L, 2L}) {
        h.host->setProperty("CurveDrawMode", Variant::fromLong(mode));
        for (const double centre : {430.0, 500.0, 612.5, 670.0}) {
            (*h.server)["Centre"].value = centre;
            h.server->notify("Spectra");
            const QImage kept = h.shot();
            QImage plain;
            {
                gdi::PlainDrawing off;
                plain = h.shot();
            }
            EXPECT_EQ(kept, plain) << "mode " << mode << ", centre " << centre;
        }
    }
    // New data replace the kept plots.
    const QImage before = h.shot();
    h.curves->clear();
    h.curves->addCurve(0x00C000, {{400, 0}, {700, 1}});
    h.server->notify("Spectra");
    EXPECT_NE(h.shot(), before);
}

TEST(SpectraCtrl, DegenerateServerValuesNeverBreakDrawingOrScrolling)
{
    // Without a usable axis or window the band area stays in the background colour; a NaN
    // centre starts at the axis minimum and a window too narrow to build is widened.
    struct Case { double lo, hi, centre, width; bool band; };
    for (const Case c : {Case{500, 500, 500, 60, false}, Case{400, 700, 500, 0, false},
                         Case{kNaN, 700, 500, 60, false}, Case{400, 700, 500, kNaN, false},
                         Case{400, 700, kNaN, 60, true}, Case{400, 700, 500, 1e-12, true}}) {
        Hosted h;
        h.host->setProperty("ShowSpectra", Variant::fromLong(1));
        h.host->setProperty("ShowLaserLinesInSpectra", Variant::fromLong(0));
        auto& centre = (*h.server)["Centre"];
        centre.minimum = c.lo;
        centre.maximum = c.hi;
        centre.value = c.centre;
        (*h.server)["Width"].value = c.width;
        h.server->notify("Centre");
        const QPoint middle = h.ctrl->layout().band.center();
        const QRgb back = h.shot().pixel(middle);
        EXPECT_EQ(back == gdi::SysColor(15).rgb(), !c.band) << c.lo << " " << c.hi << " " << c.centre << " " << c.width;
        QTest::keyClick(h.window(), Qt::Key_End);
        QTest::mousePress(h.window(), Qt::LeftButton, {}, middle);
        QMouseEvent move(QEvent::MouseMove, QPointF(middle.x() - 30, middle.y()), QPointF(), Qt::NoButton,
                         Qt::LeftButton, {});
        QApplication::sendEvent(h.window(), &move);
        QTest::mouseRelease(h.window(), Qt::LeftButton, {}, middle + QPoint(-30, 0));
        EXPECT_FALSE(h.shot().isNull());
        if (!c.band)
            EXPECT_TRUE(h.server->calls("SetValue").empty()); // nothing to scroll on
    }
}

} // namespace
