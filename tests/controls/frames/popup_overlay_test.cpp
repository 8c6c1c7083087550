// The PopupDialog's popup shown as an overlay inside the button's top-level window, as it is
// where the platform cannot place windows (Wayland). Presses go in through the window system
// layer (QTest on the QWindow), as the compositor delivers them: to a window, at a position in
// that window.
#include "controls/frames/popupdialog.h"
#include "controls/frames/popupregistry.h"
#include "platform/com/memstream.h"
#include "platform/gdi/syscolors.h"
#include "tests/controls/frames/hosting.h"
#include "controls/qtwidget/commandserver.h"
#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

namespace vyr::frames::test {
namespace {

using com::Variant;
using controls::HostWidget;
using controls::PopupDialog;

QRgb sys(int index) { return gdi::SysColor(index).rgb(); }

class OverlayTest : public testing::Test {
protected:
    std::unique_ptr<QWidget> top = std::make_unique<QWidget>();
    QWidget other;
    HostWidget* host = nullptr;
    com::ComPtr<vyr::CommandServer> server = com::make<vyr::CommandServer>();

    void SetUp() override
    {
        PopupDialog::choosePopupMode(PopupMode::Overlay);
        top->setGeometry(50, 60, 400, 300);
        host = new HostWidget(top.get());
        host->setGeometry(100, 100, 100, 40);
        ASSERT_EQ(host->create("VyrControls.PopupDialog"), S_OK);
        host->setCommandServer(server.get());
        // Locked, so that AutoClose applies.
        ASSERT_EQ(host->setProperty("Locked", Variant::fromBool(true)), S_OK);
        for (const char* c : {"Gain", "Offset"})
            (*server)[c].minimum = 0, (*server)[c].maximum = 100, (*server)[c].value = 50;
        top->show();
        other.setGeometry(600, 400, 300, 300);
        other.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(top.get()));
    }
    void TearDown() override
    {
        PopupDialog::choosePopupMode(std::nullopt);
        top.reset();
        flushDeletes();
    }

    PopupDialog& popup() { return *dynamic_cast<PopupDialog*>(controlOf(host)); }
    QWidget* button() { return host->controlWindow(); }
    // A click at `at` in `w`, delivered to w's window: the widget under the mouse takes it.
    static void clickIn(QWidget* w, QPoint at)
    {
        QWidget* win = w->window();
        QTest::mouseClick(win->windowHandle(), Qt::LeftButton, {}, w->mapTo(win, at));
    }
    void openByClick() { clickIn(button(), button()->rect().center()); }
    HostWidget* addSlider(const char* command, RECT rect)
    {
        HostWidget* s = insert(*popup().page(), "VyrControls.Slider", rect);
        EXPECT_NE(s, nullptr);
        if (s)
            s->setProperty("Command", Variant::fromString(command));
        return s;
    }
};

TEST_F(OverlayTest, OpensWhereTheRulesPutItInsideTheButtonsWindow)
{
    struct Row {
        const char* name;
        QRect button;
        int left, top, width, height;
        QRect expected; // in the top-level window's coordinates
    };
    for (const Row& r : {
             Row{"centred on the button", {100, 100, 100, 40}, -50, -50, 100, 100, {100, 70, 100, 100}},
             Row{"below the button", {100, 100, 100, 40}, -70, 30, 140, 80, {80, 150, 140, 80}},
             Row{"moved up from the window's bottom", {100, 250, 100, 40}, -50, -50, 100, 100, {100, 200, 100, 100}},
             Row{"moved left from the window's right", {330, 100, 60, 40}, -50, -50, 100, 100, {300, 70, 100, 100}},
             Row{"moved in from the top-left", {0, 0, 40, 20}, -50, -50, 100, 100, {0, 0, 100, 100}},
             Row{"wider than the window", {100, 100, 100, 40}, -50, -50, 500, 100, {0, 70, 500, 100}},
         }) {
        SCOPED_TRACE(r.name);
        host->setGeometry(r.button);
        host->setProperty("PopupLeft", Variant::fromLong(r.left));
        host->setProperty("PopupTop", Variant::fromLong(r.top));
        host->setProperty("PopupWidth", Variant::fromLong(r.width));
        host->setProperty("PopupHeight", Variant::fromLong(r.height));
        QApplication::processEvents();
        openByClick();
        ASSERT_TRUE(popup().isOpen());
        QWidget* w = popup().popupWindow();
        EXPECT_EQ(popup().shownAs(), PopupMode::Overlay);
        EXPECT_FALSE(w->isWindow());
        EXPECT_EQ(w->parentWidget(), top.get()); // owned by the button's window
        EXPECT_EQ(w->geometry(), r.expected);
        const QPoint centre = button()->mapTo(top.get(), QPoint(button()->width() / 2, button()->height() / 2));
        EXPECT_EQ(popup().offset().x, r.expected.left() - centre.x());
        EXPECT_EQ(popup().offset().y, r.expected.top() - centre.y());
        // The window shows the popup's sizing border there, over everything else in it.
        const QImage img = top->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QRect g = r.expected.intersected(top->rect());
        const int midY = g.center().y();
        if (r.expected.left() >= 0 && r.expected.right() < top->width()) {
            EXPECT_EQ(img.pixel(g.left(), midY), sys(gdi::COLOR_3DLIGHT));
            EXPECT_EQ(img.pixel(g.left() + 1, midY), sys(gdi::COLOR_BTNHIGHLIGHT));
            EXPECT_EQ(img.pixel(g.right(), midY), sys(gdi::COLOR_3DDKSHADOW));
        }
        EXPECT_EQ(img.pixel(g.center().x(), g.bottom()), sys(gdi::COLOR_3DDKSHADOW));
        popup().close(false);
        EXPECT_FALSE(popup().isOpen());
    }
}

TEST_F(OverlayTest, AutoCloseDecidesByThePressedWindowAndThePlaceInIt)
{
    // The popup lies below the button: (100, 150)-(200, 250) in the window.
    host->setProperty("PopupTop", Variant::fromLong(30));
    enum Where { OutsideInTheWindow, OnTheButton, OnThePage, OnTheBorder, OtherWindow, OtherWindowUnderThePopup };
    struct Row {
        int autoClose;
        Where where;
        bool closes;
    };
    const char* names[] = {"outside, same window", "button", "page", "border", "other window",
                           "other window, at the popup's window-relative place"};
    for (const Row& r : {
             Row{0, OutsideInTheWindow, false}, Row{0, OtherWindow, false},
             Row{1, OutsideInTheWindow, true}, Row{1, OnTheButton, false}, Row{1, OnThePage, false},
             Row{1, OnTheBorder, false}, Row{1, OtherWindow, false}, Row{1, OtherWindowUnderThePopup, false},
             Row{2, OutsideInTheWindow, true}, Row{2, OnThePage, false}, Row{2, OnTheBorder, false},
             Row{2, OtherWindow, true}, Row{2, OtherWindowUnderThePopup, true},
         }) {
        SCOPED_TRACE(testing::Message() << "AutoClose " << r.autoClose << ", " << names[r.where]);
        ASSERT_EQ(host->setProperty("AutoClose", Variant::fromLong(r.autoClose)), S_OK);
        if (!popup().isOpen())
            openByClick();
        ASSERT_TRUE(popup().isOpen());
        ASSERT_EQ(popup().popupWindow()->geometry(), QRect(100, 150, 100, 100));
        switch (r.where) {
        case OutsideInTheWindow: clickIn(top.get(), QPoint(5, 5)); break;
        case OnTheButton: clickIn(button(), QPoint(10, 10)); break;
        case OnThePage: clickIn(popup().page()->widget(), QPoint(40, 40)); break;
        case OnTheBorder: clickIn(popup().popupWindow(), QPoint(1, 50)); break;
        case OtherWindow: clickIn(&other, QPoint(5, 5)); break;
        case OtherWindowUnderThePopup: clickIn(&other, QPoint(150, 200)); break;
        }
        EXPECT_EQ(popup().isOpen(), !r.closes);
    }
}

TEST_F(OverlayTest, TabStaysInThePopupAndEscapeClosesIt)
{
    top->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(top.get()));
    host->setProperty("PopupTop", Variant::fromLong(30));
    openByClick();
    HostWidget* gain = addSlider("Gain", {5, 5, 90, 35});
    HostWidget* offset = addSlider("Offset", {5, 45, 90, 75});
    ASSERT_TRUE(gain && offset);
    button()->setFocus();
    // Tab from the button goes into the page, then round its controls, never out of it.
    QTest::keyClick(button(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), gain->controlWindow());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), offset->controlWindow());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), gain->controlWindow());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget(), offset->controlWindow());
    // The focused control takes its keys.
    server->log.clear();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
    EXPECT_EQ(server->calls("SetValue"), std::vector<std::string>{"SetValue Offset 51"});
    // Escape in a page control reaches the popup, which closes.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_FALSE(popup().isOpen());
}

TEST_F(OverlayTest, FollowsTheButtonAndTakesTheUsersPlace)
{
    host->setProperty("PopupTop", Variant::fromLong(30));
    openByClick();
    QWidget* w = popup().popupWindow();
    ASSERT_EQ(w->pos(), QPoint(100, 150));
    host->move(host->pos() + QPoint(20, 10));
    QApplication::processEvents();
    EXPECT_EQ(w->pos(), QPoint(120, 160));
    // Moved by the user: the place relative to the button's centre becomes the properties.
    w->move(w->pos() + QPoint(7, -3));
    QApplication::processEvents();
    EXPECT_EQ(host->property("PopupLeft").toLong().value_or(0), -43);
    EXPECT_EQ(host->property("PopupTop").toLong().value_or(0), 27);
    // Placed by the rules (clamped into the window), the popup changes no property.
    host->setProperty("PopupTop", Variant::fromLong(200));
    QApplication::processEvents();
    EXPECT_EQ(w->geometry().bottom(), top->height() - 1);
    EXPECT_EQ(host->property("PopupTop").toLong().value_or(0), 200);
}

TEST_F(OverlayTest, TheWindowGoingKeepsThePagesControls)
{
    openByClick();
    addSlider("Gain", {5, 5, 90, 35});
    com::ComPtr<IUnknown> keep(host->control());
    PopupDialog* p = &popup();
    top.reset(); // the popup goes with it, as its child
    flushDeletes();
    EXPECT_EQ(p->popupWindow(), nullptr);
    EXPECT_EQ(p->page(), nullptr);
    EXPECT_FALSE(controls::PopupRegistry::instance().contains(p));
    EXPECT_FALSE(controls::PopupRegistry::instance().filtering());
    // The saved control comes back in a copy opened elsewhere.
    com::ComPtr<IPersistStreamInit> persist;
    ASSERT_EQ(keep->QueryInterface(IID_IPersistStreamInit, persist.putVoid()), S_OK);
    auto s = com::MemoryStream::create();
    ASSERT_EQ(persist->Save(s.get(), FALSE), S_OK);
    QWidget window;
    window.resize(300, 300);
    HostWidget copy(&window);
    copy.setGeometry(10, 10, 80, 30);
    auto in = com::MemoryStream::create(s->bytes());
    ASSERT_EQ(copy.createAndLoad("VyrControls.PopupDialog", in.get()), S_OK);
    window.show();
    auto* loaded = dynamic_cast<PopupDialog*>(controlOf(&copy));
    ASSERT_EQ(loaded->open(), S_OK);
    ASSERT_EQ(loaded->page()->hosts().size(), 1u);
    EXPECT_EQ(loaded->page()->hosts()[0]->property("Command").toString().value_or(""), "Gain");
    loaded->close(true);
}

TEST_F(OverlayTest, AKeptPopupGoesWithTheButtonIntoItsNewWindow)
{
    // A form filled before it is shown: the popup is made while the form is a window of its
    // own, then the form goes into the application's window.
    auto* form = new QWidget;
    form->resize(300, 200);
    auto* formHost = new HostWidget(form);
    formHost->setGeometry(20, 20, 100, 40);
    ASSERT_EQ(formHost->create("VyrControls.PopupDialog"), S_OK);
    formHost->setProperty("Locked", Variant::fromBool(true));
    formHost->setProperty("LoadOption", Variant::fromLong(1));
    formHost->setProperty("PopupTop", Variant::fromLong(30));
    auto* p = dynamic_cast<PopupDialog*>(controlOf(formHost));
    ASSERT_EQ(p->open(), S_OK);
    p->close(false);
    form->setParent(top.get());
    form->move(150, 50);
    form->show();
    QApplication::processEvents();
    clickIn(formHost->controlWindow(), QPoint(50, 20));
    ASSERT_TRUE(p->isOpen());
    EXPECT_EQ(p->popupWindow()->parentWidget(), top.get());
    EXPECT_EQ(p->popupWindow()->geometry(), QRect(170, 120, 100, 100)); // centre (220, 90) in the window
    // Presses anywhere in the new window count for AutoClose 1.
    clickIn(top.get(), QPoint(5, 5));
    EXPECT_FALSE(p->isOpen());
}

} // namespace
} // namespace vyr::frames::test
