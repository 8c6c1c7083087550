// The PopupDialog in a container window: where the popup opens, every way it closes, what
// happens to its page's controls, its saved form, and hostile streams.
#include "controls/frames/popupdialog.h"
#include "controls/frames/popupregistry.h"
#include "platform/com/memstream.h"
#include "platform/gdi/syscolors.h"
#include "tests/controls/frames/hosting.h"
#include "tests/support/eventspy.h"
#include "controls/qtwidget/commandserver.h"
#include <QApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QTest>
#include <QWindow>
#include <cstring>
#include <gtest/gtest.h>

namespace vyr::frames::test {
namespace {

using com::Variant;
using controls::HostWidget;
using controls::PopupDialog;

// A widget that wants every key, Escape included, as an editor in the middle of input does.
class KeyHungry final : public QWidget {
public:
    using QWidget::QWidget;
    int escapes = 0;

protected:
    bool event(QEvent* e) override
    {
        if (e->type() == QEvent::ShortcutOverride) {
            e->accept();
            return true;
        }
        return QWidget::event(e);
    }
    void keyPressEvent(QKeyEvent* e) override
    {
        escapes += e->key() == Qt::Key_Escape;
        e->accept();
    }
};

class PopupTest : public testing::Test {
protected:
    std::unique_ptr<QWidget> top = std::make_unique<QWidget>();
    QWidget other;
    HostWidget* host = nullptr;
    com::ComPtr<vyr::CommandServer> server = com::make<vyr::CommandServer>();

    void SetUp() override
    {
        top->setGeometry(50, 60, 400, 300);
        host = new HostWidget(top.get());
        host->setGeometry(100, 100, 100, 40);
        ASSERT_EQ(host->create("VyrControls.PopupDialog"), S_OK);
        host->setProperty("Caption", Variant::fromString("Popup"));
        host->setCommandServer(server.get());
        top->show();
        other.setGeometry(600, 400, 100, 100);
        other.show();
    }
    void TearDown() override { flushDeletes(); }

    PopupDialog& popup() { return *dynamic_cast<PopupDialog*>(controlOf(host)); }
    QWidget* button() { return host->controlWindow(); }
    void click() { QTest::mouseClick(button(), Qt::LeftButton, {}, QPoint(50, 20)); }
    // A Slider on the open popup's page, with a value to recognise it by.
    HostWidget* addSlider(const char* command)
    {
        HostWidget* s = insert(*popup().page(), "VyrControls.Slider", {5, 5, 90, 35});
        EXPECT_NE(s, nullptr);
        if (s)
            s->setProperty("Command", Variant::fromString(command));
        return s;
    }
    std::vector<uint8_t> saved(IUnknown* control)
    {
        com::ComPtr<IPersistStreamInit> p;
        control->QueryInterface(IID_IPersistStreamInit, p.putVoid());
        auto s = com::MemoryStream::create();
        EXPECT_EQ(p->Save(s.get(), FALSE), S_OK);
        return s->bytes();
    }
};

TEST_F(PopupTest, OpensCentredOnTheButton)
{
    click();
    ASSERT_TRUE(popup().isOpen());
    const QPoint b = button()->mapToGlobal(QPoint(0, 0)); // (150, 160) on the desktop
    EXPECT_EQ(popup().popupWindow()->geometry(), QRect(b.x(), b.y() - 30, 100, 100));
    // The page fills the popup inside its sizing border.
    EXPECT_EQ(popup().page()->widget()->geometry(), QRect(4, 4, 92, 92));
    // A position property moves the open popup at once.
    ASSERT_EQ(host->setProperty("PopupLeft", Variant::fromLong(10)), S_OK);
    EXPECT_EQ(popup().popupWindow()->geometry().x(), b.x() + 50 + 10);
}

TEST_F(PopupTest, NearTheScreenEdgeItMovesInside)
{
    const QRect screen = button()->screen()->geometry();
    top->move(screen.right() - 250, screen.bottom() - 140); // the button's centre 20 px from the bottom
    QApplication::processEvents();
    const int centreY = button()->mapToGlobal(QPoint(0, 0)).y() + 20;
    ASSERT_GT(centreY + 50, screen.bottom() + 1); // centred, the popup would reach below the screen
    click();
    const QRect g = popup().popupWindow()->geometry();
    EXPECT_EQ(g.bottom(), screen.bottom());
    EXPECT_EQ(g.height(), 100);
    EXPECT_EQ(popup().offset().y, g.top() - centreY);
}

TEST_F(PopupTest, LoadOptionZeroRecreatesTheControlsAtEveryOpening)
{
    click();
    HostWidget* slider = addSlider("Gain");
    ASSERT_NE(slider, nullptr);
    popup().close(false);
    EXPECT_FALSE(popup().isOpen());
    EXPECT_EQ(popup().page(), nullptr); // the controls went with the page
    EXPECT_FALSE(popup().savedContent().empty());
    EXPECT_FALSE(controls::PopupRegistry::instance().contains(&popup()));
    click();
    ASSERT_NE(popup().page(), nullptr);
    ASSERT_EQ(popup().page()->hosts().size(), 1u);
    EXPECT_EQ(popup().page()->hosts()[0]->property("Command").toString().value_or(""), "Gain");
    EXPECT_EQ(popup().page()->hosts()[0]->classId(), controls::CLSID_Slider);
}

TEST_F(PopupTest, LoadOptionOneKeepsTheControls)
{
    ASSERT_EQ(host->setProperty("LoadOption", Variant::fromLong(1)), S_OK);
    click();
    QPointer<HostWidget> slider = addSlider("Gain");
    popup().close(false);
    flushDeletes();
    EXPECT_FALSE(popup().isOpen());
    EXPECT_TRUE(slider);
    EXPECT_TRUE(controls::PopupRegistry::instance().contains(&popup()));
    click();
    EXPECT_TRUE(popup().isOpen());
    EXPECT_EQ(popup().page()->hosts()[0], slider.data());
}

TEST_F(PopupTest, EscapeClosesUnlessTheFocusWantsAllKeys)
{
    click();
    ASSERT_TRUE(popup().isOpen());
    QTest::keyClick(button(), Qt::Key_Escape);
    EXPECT_FALSE(popup().isOpen());

    click();
    auto* editor = new KeyHungry(popup().page()->widget());
    editor->setGeometry(0, 0, 50, 20);
    editor->show();
    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(editor, &esc);
    EXPECT_EQ(editor->escapes, 1);
    EXPECT_TRUE(popup().isOpen());
    // A page control that leaves Escape alone: the popup window closes.
    QKeyEvent esc2(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    esc2.ignore();
    QApplication::sendEvent(popup().popupWindow(), &esc2);
    EXPECT_FALSE(popup().isOpen());
}

TEST_F(PopupTest, AutoCloseFollowsTheLockState)
{
    click();
    // Not hosted in a page and not Locked: the lock state is unknown, presses keep it open.
    EXPECT_FALSE(popup().lockState().has_value());
    QTest::mouseClick(top.get(), Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseClick(&other, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(popup().isOpen());

    ASSERT_EQ(host->setProperty("Locked", Variant::fromBool(true)), S_OK);
    // AutoClose 1: another top-level window does not count; the button's own window does.
    QTest::mouseClick(&other, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(popup().isOpen());
    QTest::mouseClick(button(), Qt::LeftButton, {}, QPoint(5, 5)); // the button itself: opens again
    EXPECT_TRUE(popup().isOpen());
    QTest::mouseClick(popup().page()->widget(), Qt::LeftButton, {}, QPoint(5, 5)); // inside the popup
    EXPECT_TRUE(popup().isOpen());
    QTest::mouseClick(top.get(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_FALSE(popup().isOpen());

    // AutoClose 2: every press counts; 0: none.
    ASSERT_EQ(host->setProperty("AutoClose", Variant::fromLong(2)), S_OK);
    click();
    QTest::mouseClick(&other, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_FALSE(popup().isOpen());
    ASSERT_EQ(host->setProperty("AutoClose", Variant::fromLong(0)), S_OK);
    click();
    QTest::mouseClick(top.get(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(popup().isOpen());
}

TEST_F(PopupTest, FollowsTheWindowAndClosesWhenItGoes)
{
    click();
    addSlider("Gain");
    const QPoint before = popup().popupWindow()->geometry().topLeft();
    top->move(top->pos() + QPoint(30, 20));
    QApplication::processEvents();
    EXPECT_EQ(popup().popupWindow()->geometry().topLeft(), before + QPoint(30, 20));
    // The user moves the popup: its place becomes the position properties.
    popup().popupWindow()->move(popup().popupWindow()->pos() + QPoint(7, -3));
    QApplication::processEvents();
    EXPECT_EQ(host->property("PopupLeft").toLong().value_or(0), -43);
    EXPECT_EQ(host->property("PopupTop").toLong().value_or(0), -53);

    // The container's window goes: the popup saves its page and leaves the registry.
    com::ComPtr<IUnknown> keep(host->control());
    PopupDialog* p = &popup();
    top.reset();
    flushDeletes();
    EXPECT_FALSE(controls::PopupRegistry::instance().contains(p));
    EXPECT_FALSE(controls::PopupRegistry::instance().filtering());
    EXPECT_EQ(p->popupWindow(), nullptr);
    EXPECT_FALSE(p->savedContent().empty());
}

TEST_F(PopupTest, ThePressExecutesTheCommandThenOpens)
{
    host->setProperty("Command", Variant::fromString("Open"));
    server->log.clear();
    click();
    EXPECT_EQ(server->calls("ExecuteCommand"), (std::vector<std::string>{"ExecuteCommand Open"}));
    EXPECT_TRUE(popup().isOpen());
}

TEST_F(PopupTest, ButtonDisplayStyleShowsTheApplicationsTextAndColour)
{
    host->setProperty("Command", Variant::fromString("Laser"));
    (*server)["Laser"].text = "488 nm";
    (*server)["Laser"].color = 0x0000FF00;
    ASSERT_EQ(host->setProperty("ButtonDisplayStyle", Variant::fromLong(1)), S_OK);
    EXPECT_EQ(popup().appText(), "488 nm");
    QImage img(button()->size(), QImage::Format_RGB32);
    button()->render(&img);
    EXPECT_EQ(img.pixelColor(10, 20), QColor(0, 255, 0));
    // A failing colour read keeps the colour.
    server->failing = {"GetColor"};
    (*server)["Laser"].text = "561 nm";
    server->notify("Laser");
    EXPECT_EQ(popup().appText(), "561 nm");
    EXPECT_EQ(popup().appColor(), 0x0000FF00u);
}

TEST_F(PopupTest, SavesAndLoadsByteForByte)
{
    // Never opened: version 1, and a copy saves the same bytes.
    host->setProperty("PopupWidth", Variant::fromLong(180));
    const std::vector<uint8_t> empty = saved(host->control());
    int32_t version = 0;
    std::memcpy(&version, empty.data() + 8, 4);
    EXPECT_EQ(version, 1);

    click();
    addSlider("Gain");
    popup().close(false);
    const std::vector<uint8_t> bytes = saved(host->control());
    std::memcpy(&version, bytes.data() + 8, 4);
    EXPECT_EQ(version, 2);

    HostWidget copy(top.get());
    copy.setGeometry(0, 0, 80, 30);
    auto in = com::MemoryStream::create(bytes);
    ASSERT_EQ(copy.createAndLoad("VyrControls.PopupDialog", in.get()), S_OK);
    EXPECT_EQ(copy.property("PopupWidth").toLong().value_or(0), 180);
    EXPECT_EQ(saved(copy.control()), bytes); // never opened: the page saved unchanged
    auto* loaded = dynamic_cast<PopupDialog*>(controlOf(&copy));
    ASSERT_EQ(loaded->open(), S_OK);
    ASSERT_EQ(loaded->page()->hosts().size(), 1u);
    EXPECT_EQ(loaded->page()->hosts()[0]->property("Command").toString().value_or(""), "Gain");
    loaded->close(false);
    EXPECT_EQ(saved(copy.control()), bytes);
}

TEST_F(PopupTest, HostileStreamsFailCleanly)
{
    click();
    addSlider("Gain");
    popup().close(false);
    const std::vector<uint8_t> good = saved(host->control());
    for (size_t n = 0; n < good.size(); ++n) {
        HostWidget copy;
        auto in = com::MemoryStream::create(std::vector<uint8_t>(good.begin(), good.begin() + long(n)));
        const HRESULT hr = copy.createAndLoad("VyrControls.PopupDialog", in.get());
        ASSERT_TRUE(FAILED(hr)) << n;
    }
    // A page whose control count runs past its block; a block length beyond the stream.
    std::vector<uint8_t> bad = good;
    const size_t pageStart = bad.size() - (popup().savedContent().size());
    int32_t huge = 0x7FFFFFF0;
    std::memcpy(bad.data() + pageStart + 4, &huge, 4);
    HostWidget copy;
    auto in = com::MemoryStream::create(bad);
    EXPECT_TRUE(FAILED(copy.createAndLoad("VyrControls.PopupDialog", in.get())));
    bad = good;
    std::memcpy(bad.data(), &huge, 4);
    in = com::MemoryStream::create(bad);
    EXPECT_TRUE(FAILED(copy.createAndLoad("VyrControls.PopupDialog", in.get())));
}

QRgb sys(int index) { return gdi::SysColor(index).rgb(); }

TEST_F(PopupTest, ThePopupIsOwnedByTheButtonsWindowAndFramedByASizingBorder)
{
    click();
    QWidget* w = popup().popupWindow();
    ASSERT_TRUE(w && w->windowHandle());
    EXPECT_EQ(w->windowHandle()->transientParent(), top->windowHandle());
    EXPECT_FALSE(w->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_NE(w->windowType(), Qt::Tool);
    // Empty, the popup shows its raised border around a face of the button-face colour.
    const QImage img = w->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(img.pixel(0, 50), sys(gdi::COLOR_3DLIGHT));
    EXPECT_EQ(img.pixel(1, 50), sys(gdi::COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(img.pixel(99, 50), sys(gdi::COLOR_3DDKSHADOW));
    EXPECT_EQ(img.pixel(98, 50), sys(gdi::COLOR_BTNSHADOW));
    EXPECT_EQ(img.pixel(50, 99), sys(gdi::COLOR_3DDKSHADOW));
    EXPECT_EQ(img.pixel(50, 50), sys(gdi::COLOR_BTNFACE));

    // In run mode the page is locked: the border does not resize.
    QTest::mousePress(w, Qt::LeftButton, {}, QPoint(98, 98));
    QTest::mouseMove(w, QPoint(118, 108));
    QTest::mouseRelease(w, Qt::LeftButton, {}, QPoint(118, 108));
    EXPECT_EQ(w->size(), QSize(100, 100));
    EXPECT_EQ(host->property("PopupWidth").toLong().value_or(0), 100);
}

TEST_F(PopupTest, KeysTypedInTheButtonReachThePageFirst)
{
    click();
    HostWidget* slider = addSlider("Gain");
    ASSERT_NE(slider, nullptr);
    (*server)["Gain"].value = 50;
    server->notify("Gain");
    server->log.clear();
    struct Case { Qt::Key key; const char* call; };
    for (const Case c : {Case{Qt::Key_Right, "SetValue Gain 51"}, Case{Qt::Key_PageUp, "SetValue Gain 52"},
                         Case{Qt::Key_Down, "SetValue Gain 51"}, Case{Qt::Key_End, "SetValue Gain 100"},
                         Case{Qt::Key_Home, "SetValue Gain 0"}}) {
        server->log.clear();
        QTest::keyClick(button(), c.key);
        EXPECT_EQ(server->calls("SetValue"), std::vector<std::string>{c.call}) << c.call;
        EXPECT_TRUE(popup().isOpen());
    }
    // Escape stays the button's: it closes.
    QTest::keyClick(button(), Qt::Key_Escape);
    EXPECT_FALSE(popup().isOpen());
}

TEST_F(PopupTest, APressInAnotherWindowClosesWhereverThatWindowLies)
{
    ASSERT_EQ(host->setProperty("Locked", Variant::fromBool(true)), S_OK);
    ASSERT_EQ(host->setProperty("AutoClose", Variant::fromLong(2)), S_OK);
    click();
    ASSERT_TRUE(popup().isOpen());
    // Another window lying under the popup: the press is in that window, not in the popup.
    other.setGeometry(popup().popupWindow()->geometry());
    QApplication::processEvents();
    QTest::mouseClick(&other, Qt::LeftButton, {}, QPoint(50, 50));
    EXPECT_FALSE(popup().isOpen());
    // A press in the popup's own window keeps it, wherever the other window is.
    click();
    QTest::mouseClick(popup().popupWindow(), Qt::LeftButton, {}, QPoint(1, 1));
    EXPECT_TRUE(popup().isOpen());
}

// A PopupDialog on the page of an unlocked Frame: the layout is being edited.
class PopupOnFrameTest : public testing::Test {
protected:
    QWidget top;
    HostWidget* frame = nullptr;
    HostWidget* host = nullptr;
    int drags = 0;

    void SetUp() override
    {
        top.setGeometry(50, 60, 400, 300);
        frame = new HostWidget(&top);
        frame->setGeometry(10, 10, 380, 280);
        ASSERT_EQ(frame->create("VyrControls.Frame"), S_OK);
        ASSERT_EQ(frame->setProperty("Locked", Variant::fromBool(false)), S_OK);
        host = insert(*frameOf(frame)->inner().currentPage(), "VyrControls.PopupDialog", {100, 100, 200, 140});
        ASSERT_NE(host, nullptr);
        top.show();
        ControlPage::setDragRunner([this](QWidget*, QMimeData* data, Qt::DropActions) {
            ++drags;
            delete data;
            return Qt::IgnoreAction;
        });
    }
    void TearDown() override
    {
        ControlPage::setDragRunner(nullptr);
        if (PopupDialog* p = dynamic_cast<PopupDialog*>(controlOf(host)))
            p->close(true);
        flushDeletes();
    }
    PopupDialog& popup() { return *dynamic_cast<PopupDialog*>(controlOf(host)); }
    QWidget* button() { return host->controlWindow(); }
};

TEST_F(PopupOnFrameTest, APressOnTheButtonOpensThePopupAfterTheDragDetection)
{
    ASSERT_EQ(popup().lockState(), std::optional<bool>(false));
    // Held still past the drag delay, the press drags the control instead.
    QTest::mousePress(button(), Qt::LeftButton, {}, QPoint(20, 10));
    QTRY_COMPARE_WITH_TIMEOUT(drags, 1, 1000);
    QTest::mouseRelease(button(), Qt::LeftButton, {}, QPoint(20, 10));
    EXPECT_FALSE(popup().isOpen());
    // A click that starts no drag opens the popup.
    QTest::mouseClick(button(), Qt::LeftButton, {}, QPoint(20, 10));
    EXPECT_EQ(drags, 1);
    ASSERT_TRUE(popup().isOpen());
    // Empty, it still shows over the Frame: its border is not the face colour.
    const QImage img = popup().popupWindow()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_NE(img.pixel(99, 99), sys(gdi::COLOR_BTNFACE));
}

TEST_F(PopupOnFrameTest, ResizingThePopupBySItsBorderSetsItsSize)
{
    QTest::mouseClick(button(), Qt::LeftButton, {}, QPoint(20, 10));
    ASSERT_TRUE(popup().isOpen());
    auto notes = com::make<vyr::test::NotifySpy>();
    ASSERT_TRUE(notes->connect(host->control()));
    QWidget* w = popup().popupWindow();
    const QPoint topLeft = w->pos();
    // The bottom-right corner, then the left edge.
    QTest::mousePress(w, Qt::LeftButton, {}, QPoint(98, 98));
    QTest::mouseMove(w, QPoint(118, 108));
    QTest::mouseRelease(w, Qt::LeftButton, {}, QPoint(118, 108));
    QApplication::processEvents();
    EXPECT_EQ(w->size(), QSize(120, 110));
    EXPECT_EQ(w->pos(), topLeft);
    EXPECT_EQ(host->property("PopupWidth").toLong().value_or(0), 120);
    EXPECT_EQ(host->property("PopupHeight").toLong().value_or(0), 110);
    EXPECT_EQ(notes->changed, (std::vector<DISPID>{PopupDialog::kPopupWidth, PopupDialog::kPopupHeight}));
    EXPECT_EQ(popup().page()->widget()->geometry(), QRect(4, 4, 112, 102));

    notes->changed.clear();
    QTest::mousePress(w, Qt::LeftButton, {}, QPoint(1, 50));
    QTest::mouseMove(w, QPoint(-9, 50));
    QTest::mouseRelease(w, Qt::LeftButton, {}, QPoint(-9, 50));
    QApplication::processEvents();
    EXPECT_EQ(w->geometry(), QRect(topLeft - QPoint(10, 0), QSize(130, 110)));
    EXPECT_EQ(host->property("PopupWidth").toLong().value_or(0), 130);
    EXPECT_EQ(host->property("PopupLeft").toLong().value_or(0), -60);
    EXPECT_EQ(notes->changed, (std::vector<DISPID>{PopupDialog::kPopupLeft, PopupDialog::kPopupWidth}));
}

} // namespace
} // namespace vyr::frames::test
