// The PopupDialog on Qt's wayland platform, as a client of a real compositor (run by
// under_weston.sh). The headless compositor has no input devices, so mouse and key input is
// synthesised at the platform layer (QTest mouse clicks on the QWindow and QWindowSystemInterface key events):
// it enters where the compositor's events would, as a window and a position in that window.
#include "controls/core/host.h"
#include "controls/frames/controlpage.h"
#include "controls/frames/popupdialog.h"
#include "platform/gdi/syscolors.h"
#include "controls/qtwidget/commandserver.h"
#include <QApplication>
#include <QGuiApplication>
#include <QTest>
#include <qpa/qwindowsysteminterface.h>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>

namespace vyr::frames::test {
namespace {

using com::Variant;
using controls::HostWidget;
using controls::PopupDialog;

QRgb sys(int index) { return gdi::SysColor(index).rgb(); }

class WaylandPopupTest : public testing::Test {
protected:
    std::unique_ptr<QWidget> top = std::make_unique<QWidget>();
    QWidget other;
    HostWidget* host = nullptr;
    com::ComPtr<vyr::CommandServer> server = com::make<vyr::CommandServer>();

    void SetUp() override
    {
        ASSERT_TRUE(QGuiApplication::platformName().startsWith("wayland")) << QGuiApplication::platformName().toStdString();
        top->resize(400, 300);
        top->setWindowTitle("popup test");
        host = new HostWidget(top.get());
        host->setGeometry(100, 100, 100, 40);
        ASSERT_EQ(host->create("VyrControls.PopupDialog"), S_OK);
        host->setProperty("Caption", Variant::fromString("Popup"));
        host->setCommandServer(server.get());
        ASSERT_EQ(host->setProperty("Locked", Variant::fromBool(true)), S_OK);
        (*server)["Gain"].minimum = 0, (*server)["Gain"].maximum = 100, (*server)["Gain"].value = 50;
        top->show();
        other.resize(300, 300);
        other.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(top.get(), 10000));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&other, 10000));
    }

    PopupDialog& popup() { return *dynamic_cast<PopupDialog*>(controls::ControlBase::from(host->dispatch())); }
    QWidget* button() { return host->controlWindow(); }
    static void clickIn(QWidget* w, QPoint at)
    {
        QWidget* win = w->window();
        QTest::mouseClick(win->windowHandle(), Qt::LeftButton, {}, w->mapTo(win, at));
    }
    void openByClick() { clickIn(button(), button()->rect().center()); }
    // A key pressed and released at `window`, as the compositor's keyboard focus would send it.
    // (QTest's QWindow key functions pass their delay on as the repeat count.)
    static void keyAt(QWindow* window, Qt::Key key)
    {
        using Sys = QWindowSystemInterface;
        Sys::handleKeyEvent<Sys::SynchronousDelivery>(window, QEvent::KeyPress, key, Qt::NoModifier);
        Sys::handleKeyEvent<Sys::SynchronousDelivery>(window, QEvent::KeyRelease, key, Qt::NoModifier);
    }
};

TEST_F(WaylandPopupTest, AClickOpensItWhereTheRulesPutItInTheButtonsWindow)
{
    EXPECT_EQ(PopupDialog::popupMode(), PopupMode::Overlay);
    struct Row {
        const char* name;
        QRect button;
        int popupTop;
        QRect expected; // in the top-level window's coordinates
    };
    for (const Row& r : {Row{"centred on the button", {100, 100, 100, 40}, -50, {100, 70, 100, 100}},
                         Row{"under the button", {100, 100, 100, 40}, 30, {100, 150, 100, 100}},
                         Row{"held inside the window's bottom", {100, 250, 100, 40}, -50, {100, 200, 100, 100}}}) {
        SCOPED_TRACE(r.name);
        host->setGeometry(r.button);
        host->setProperty("PopupTop", Variant::fromLong(r.popupTop));
        QApplication::processEvents();
        openByClick();
        ASSERT_TRUE(popup().isOpen());
        QWidget* w = popup().popupWindow();
        EXPECT_FALSE(w->isWindow());
        EXPECT_EQ(w->window(), top.get()); // owned by the button's window, inside it
        EXPECT_EQ(w->geometry(), r.expected);
        const QImage img = top->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QPoint mid = r.expected.center();
        EXPECT_EQ(img.pixel(r.expected.left(), mid.y()), sys(gdi::COLOR_3DLIGHT));
        EXPECT_EQ(img.pixel(r.expected.right(), mid.y()), sys(gdi::COLOR_3DDKSHADOW));
        EXPECT_EQ(img.pixel(mid.x(), r.expected.bottom()), sys(gdi::COLOR_3DDKSHADOW));
        popup().close(false);
    }
}

TEST_F(WaylandPopupTest, APressOutsideClosesWithAutoCloseOneAndNotWithZero)
{
    host->setProperty("PopupTop", Variant::fromLong(30)); // (100, 150)-(200, 250)
    host->setProperty("AutoClose", Variant::fromLong(1));
    openByClick();
    ASSERT_TRUE(popup().isOpen());
    clickIn(popup().popupWindow(), QPoint(50, 50)); // inside
    EXPECT_TRUE(popup().isOpen());
    // Another window, at the place the popup has in its own: window-relative positions
    // coincide, the windows do not.
    clickIn(&other, QPoint(150, 200));
    EXPECT_TRUE(popup().isOpen());
    clickIn(top.get(), QPoint(5, 5));
    EXPECT_FALSE(popup().isOpen());

    host->setProperty("AutoClose", Variant::fromLong(0));
    openByClick();
    clickIn(top.get(), QPoint(5, 5));
    clickIn(top.get(), QPoint(390, 290));
    EXPECT_TRUE(popup().isOpen());
    popup().close(false);
}

TEST_F(WaylandPopupTest, KeysReachThePageAndEscapeCloses)
{
    host->setProperty("PopupTop", Variant::fromLong(30));
    openByClick();
    popup().page()->insertControl("VyrControls.Slider", RECT{5, 5, 90, 35});
    HostWidget* slider = popup().page()->hosts().back();
    slider->setProperty("Command", Variant::fromString("Gain"));
    button()->setFocus();
    QWindow* window = top->windowHandle();
    // Keys enter at the window, as the compositor's would, and reach its focus widget.
    keyAt(window, Qt::Key_Tab);
    EXPECT_EQ(top->focusWidget(), slider->controlWindow());
    server->log.clear();
    keyAt(window, Qt::Key_Right);
    EXPECT_EQ(server->calls("SetValue"), std::vector<std::string>{"SetValue Gain 51"});
    keyAt(window, Qt::Key_Escape);
    EXPECT_FALSE(popup().isOpen());
}

} // namespace
} // namespace vyr::frames::test

// The widget tests' entry point (the classic palette, the platform from QT_QPA_PLATFORM), but
// one that leaves without tearing the application down: Qt 6.4's wayland plugin now and then
// deadlocks in its display's destructor, which waits for an event thread blocked reading the
// connection. The tests' own objects are gone by then.
int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    QApplication::setPalette(vyr::gdi::ClassicPalette());
    const int rc = RUN_ALL_TESTS();
    std::fflush(nullptr);
    std::_Exit(rc);
}
