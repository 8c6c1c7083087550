// Buttons hosted in a container window, driven by real Qt mouse and key events.
#include "controls/buttons/button.h"
#include "controls/core/host.h"
#include "platform/com/dispcall.h"
#include "tests/support/eventspy.h"
#include "controls/qtwidget/commandserver.h"
#include <QTest>
#include <gtest/gtest.h>

using namespace vyr;
using namespace vyr::controls;
using com::ComPtr;
using com::Variant;

namespace {

constexpr DISPID kDown = DISPID_MOUSEDOWN, kUp = DISPID_MOUSEUP, kClick = DISPID_CLICK, kMove = DISPID_MOUSEMOVE;

// A hosted button bound to command "Go" on a memory server, with an event spy.
struct Hosted {
    explicit Hosted(const char* progId)
    {
        top.resize(200, 100);
        host = new HostWidget(&top);
        host->setGeometry(10, 10, 120, 40);
        EXPECT_EQ(host->create(progId), S_OK);
        spy = com::make<test::EventSpy>();
        EXPECT_TRUE(spy->connect(host->control()));
        host->setProperty("Command", Variant::fromString("Go"));
        host->setCommandServer(server.get());
        top.show();
        QApplication::setActiveWindow(&top);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&top));
        window()->setFocus();
    }
    ~Hosted() { spy->disconnect(); }
    QWidget* window() const { return host->controlWindow(); }
    FaceControl& face() const { return *dynamic_cast<FaceControl*>(vyr::controls::ControlBase::from(host->dispatch())); }

    ComPtr<vyr::CommandServer> server = com::make<vyr::CommandServer>();
    QWidget top;
    HostWidget* host;
    ComPtr<test::EventSpy> spy;
};

} // namespace

TEST(ButtonInput, PressAndReleaseInsideFireInOrderAndExecuteOnRelease)
{
    Hosted h("VyrControls.Button");
    const QPoint inside(30, 20);
    QTest::mousePress(h.window(), Qt::LeftButton, Qt::ShiftModifier, inside);
    EXPECT_EQ(h.spy->ids(), (std::vector<DISPID>{kDown, kClick}));
    EXPECT_EQ(h.face().face.pressed, 1);
    EXPECT_EQ((*h.server)["Go"].executed, 0);
    const auto& down = h.spy->events[0].args;
    ASSERT_EQ(down.size(), 4u);
    EXPECT_EQ(down[0].toLong(), 1);
    EXPECT_EQ(down[1].toLong(), 1) << "shift state bit 0";
    EXPECT_EQ(down[2].toLong(), 30);
    EXPECT_EQ(down[3].toLong(), 20);

    QTest::mouseRelease(h.window(), Qt::LeftButton, Qt::NoModifier, inside);
    EXPECT_EQ(h.spy->ids(), (std::vector<DISPID>{kDown, kClick, kUp, kClick}));
    EXPECT_EQ(h.face().face.pressed, 0);
    EXPECT_EQ((*h.server)["Go"].executed, 1);
    EXPECT_TRUE(h.window()->hasFocus());
}

TEST(ButtonInput, ReleaseOutsideFiresNothingAndExecutesNothing)
{
    Hosted h("VyrControls.Button");
    QTest::mousePress(h.window(), Qt::LeftButton, {}, QPoint(5, 5));
    QMouseEvent out(QEvent::MouseMove, QPointF(300, 5), QPointF(300, 5), Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(h.window(), &out);
    EXPECT_EQ(h.face().face.pressed, 0) << "dragged out: drawn raised";
    QMouseEvent back(QEvent::MouseMove, QPointF(6, 6), QPointF(6, 6), Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(h.window(), &back);
    EXPECT_EQ(h.face().face.pressed, 1) << "dragged back: pushed again";
    QTest::mouseRelease(h.window(), Qt::LeftButton, {}, QPoint(300, 5));
    EXPECT_EQ(h.spy->ids(), (std::vector<DISPID>{kDown, kClick, kMove, kMove}));
    EXPECT_EQ((*h.server)["Go"].executed, 0);
}

TEST(ButtonInput, DesignModeIgnoresInput)
{
    Hosted h("VyrControls.Button");
    h.host->setUserMode(false);
    QTest::mouseClick(h.window(), Qt::LeftButton, {}, QPoint(10, 10));
    QTest::keyClick(h.window(), Qt::Key_Space);
    EXPECT_TRUE(h.spy->events.empty());
    EXPECT_EQ((*h.server)["Go"].executed, 0);
    EXPECT_EQ(h.host->call("DoClick"), E_FAIL);
}

TEST(ButtonInput, KeysPushTheFocusedButtonAndRunTheCommandOnKeyUp)
{
    Hosted h("VyrControls.Button");
    h.window()->setFocus();
    ASSERT_TRUE(h.face().focused());
    QTest::keyPress(h.window(), Qt::Key_Space);
    EXPECT_EQ(h.face().face.pressed, 1);
    EXPECT_EQ((*h.server)["Go"].executed, 0);
    QTest::keyRelease(h.window(), Qt::Key_Space);
    EXPECT_EQ(h.face().face.pressed, 0);
    EXPECT_EQ(h.spy->ids(), std::vector<DISPID>{kClick});
    EXPECT_EQ((*h.server)["Go"].executed, 1);
    QTest::keyClick(h.window(), Qt::Key_Return);
    EXPECT_EQ((*h.server)["Go"].executed, 2);
}

TEST(ButtonInput, FailedExecutionBeepsAfterTheClicks)
{
    Hosted h("VyrControls.Button");
    (*h.server)["Go"].executeResult = E_FAIL;
    const int beeps = beepCount();
    QTest::mouseClick(h.window(), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(h.spy->ids(), (std::vector<DISPID>{kDown, kClick, kUp, kClick}));
    EXPECT_EQ(beepCount(), beeps + 1);
}

TEST(ButtonInput, DisabledByServerIgnoresPressAndLosingFocusReleases)
{
    Hosted h("VyrControls.Button");
    (*h.server)["Go"].enabled = false;
    h.server->notify("Go");
    EXPECT_FALSE(h.window()->isEnabled());
    QTest::mouseClick(h.window(), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_TRUE(h.spy->events.empty());

    (*h.server)["Go"].enabled = true;
    h.server->notify("Go");
    h.window()->setFocus();
    QTest::mousePress(h.window(), Qt::LeftButton, {}, QPoint(10, 10));
    h.window()->clearFocus();
    EXPECT_EQ(h.face().face.pressed, 0);
    EXPECT_FALSE(h.face().hasCapture());
}

TEST(ButtonInput, HiddenByServerUnlessInDesignMode)
{
    Hosted h("VyrControls.Button");
    (*h.server)["Go"].visible = 0;
    h.server->notify("Go");
    EXPECT_FALSE(h.window()->isVisible());
    h.host->setUserMode(false);
    EXPECT_TRUE(h.window()->isVisible());
}

TEST(OptionButtonInput, PressExecutesAtOnceAndTheServerStateShowsPushed)
{
    Hosted h("VyrControls.OptionButton");
    h.server->onExecute = [](const std::string&, vyr::CommandServer::Command& c) { c.state = !c.state; };
    QTest::mousePress(h.window(), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ((*h.server)["Go"].executed, 1);
    EXPECT_EQ(h.spy->ids(), (std::vector<DISPID>{kDown, kClick}));
    QTest::mouseRelease(h.window(), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ((*h.server)["Go"].executed, 1);
    EXPECT_EQ(h.face().face.pressed, 1) << "the option is set now and stays pushed in";

    // The key pushes on key-down but executes only on key-up.
    QTest::keyPress(h.window(), Qt::Key_Space);
    EXPECT_EQ((*h.server)["Go"].executed, 1);
    QTest::keyRelease(h.window(), Qt::Key_Space);
    EXPECT_EQ((*h.server)["Go"].executed, 2);
    EXPECT_EQ(h.face().face.pressed, 0);

    // A state set on the server draws pushed in without user input.
    (*h.server)["Go"].state = 1;
    h.server->notify("Go");
    EXPECT_EQ(h.face().face.pressed, 1);
}
