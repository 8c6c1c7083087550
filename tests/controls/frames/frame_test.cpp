#include "controls/frames/pageform.h"
#include "platform/com/memstream.h"
#include "platform/gdi/syscolors.h"
#include "tests/controls/frames/hosting.h"
#include "tests/controls/frames/rects.h"
#include "tests/support/eventspy.h"
#include "controls/qtwidget/commandserver.h"
#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

namespace vyr::frames::test {
namespace {

using com::Variant;
using controls::Frame;
using controls::HostWidget;

QPoint centre(const RECT& r) { return QPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2); }

class FrameTest : public testing::Test {
protected:
    QWidget top;
    HostWidget* host = nullptr;
    Frame* frame = nullptr;

    void SetUp() override
    {
        top.resize(640, 480);
        host = new HostWidget(&top);
        host->setGeometry(0, 0, 400, 300);
        ASSERT_EQ(host->create("VyrControls.Frame"), S_OK);
        frame = frameOf(host);
        ASSERT_NE(frame, nullptr);
        top.show();
    }

    ControlPage& page(LONG i) { return *frame->inner().page(i); }
    LONG longProperty(const char* name) { return host->property(name).toLong().value_or(-99); }

    // A Frame with three pages: Buttons, a MultiPageFrame and another Frame on page 0, a
    // Button on page 1, page 2 never shown.
    void buildNestedLayout()
    {
        ASSERT_EQ(host->setProperty("ButtonCount", Variant::fromLong(3)), S_OK);
        ASSERT_EQ(host->setProperty("Caption", Variant::fromString("Outer")), S_OK);
        ASSERT_EQ(host->setProperty("CaptionStyle", Variant::fromShort(5)), S_OK);
        ASSERT_EQ(host->setProperty("ButtonAlign", Variant::fromShort(0)), S_OK);
        ASSERT_EQ(host->setProperty("ButtonCaption", Variant::fromString("One")), S_OK);
        HostWidget* b = insert(page(0), "VyrControls.Button", {10, 10, 90, 40});
        ASSERT_NE(b, nullptr);
        b->setProperty("Caption", Variant::fromString("First"));
        HostWidget* setHost = insert(page(0), "Vyr.MultiPageFrame", {10, 50, 150, 150});
        ASSERT_NE(setHost, nullptr);
        controls::MultiPageFrame* set = pageSetOf(setHost);
        ASSERT_EQ(set->setPageCount(2), S_OK);
        insert(*set->page(0), "VyrControls.Button", {5, 5, 60, 25})->setProperty("Caption", Variant::fromString("Inner"));
        HostWidget* nestedHost = insert(page(0), "VyrControls.Frame", {160, 10, 300, 150});
        ASSERT_NE(nestedHost, nullptr);
        nestedHost->setProperty("Caption", Variant::fromString("Nested"));
        nestedHost->setProperty("ButtonCount", Variant::fromLong(2));
        Frame* nested = frameOf(nestedHost);
        insert(*nested->inner().page(0), "VyrControls.OptionButton", {4, 4, 50, 30});
        ASSERT_EQ(frame->setButtonCurrent(1), S_OK);
        host->setProperty("ButtonCaption", Variant::fromString("Two"));
        insert(page(1), "VyrControls.Button", {20, 20, 120, 50})->setProperty("Caption", Variant::fromString("Second"));
    }

    std::unique_ptr<HostWidget> loadedCopy(const std::vector<uint8_t>& bytes, HRESULT* hr = nullptr)
    {
        auto other = std::make_unique<HostWidget>(&top);
        other->setGeometry(0, 0, 400, 300);
        auto s = com::MemoryStream::create(bytes);
        const HRESULT r = other->createAndLoad("VyrControls.Frame", s.get());
        if (hr)
            *hr = r;
        return other;
    }
};

// Shows every page once, so that all of them have windows, and returns to `current`.
void visitAll(Frame& f, LONG current)
{
    for (LONG i = 0; i < f.inner().pageSet().count(); ++i)
        f.setButtonCurrent(i);
    f.setButtonCurrent(current);
}

TEST_F(FrameTest, NestedLayoutLoadsBackToTheSameControlsPropertiesAndRectangles)
{
    buildNestedLayout();
    const auto bytes = saved(*host);
    ASSERT_FALSE(bytes.empty());

    HRESULT hr = E_FAIL;
    auto other = loadedCopy(bytes, &hr);
    ASSERT_EQ(hr, S_OK);
    Frame* copy = frameOf(other.get());
    for (const char* name : {"ButtonCount", "CaptionStyle", "ButtonAlign", "ButtonCurrent", "ButtonSize"})
        EXPECT_EQ(other->property(name).toLong(), host->property(name).toLong()) << name;
    EXPECT_EQ(other->property("Caption").toString(), "Outer");
    EXPECT_EQ(other->property("ButtonCaption").toString(), "Two");

    visitAll(*frame, 1);
    visitAll(*copy, 1);
    const std::string original = describe(frame->inner());
    EXPECT_EQ(describe(copy->inner()), original);
    EXPECT_NE(original.find("'Inner'"), std::string::npos) << original;
    EXPECT_NE(original.find("'Nested'"), std::string::npos) << original;
    EXPECT_EQ(tie(copy->inner().page(1)->windowRect()), tie(copy->geometry().page));
}

TEST_F(FrameTest, PagesNeverShownSaveTheirCachedDataUnchanged)
{
    buildNestedLayout();
    const auto bytes = saved(*host);
    auto other = loadedCopy(bytes);
    Frame* copy = frameOf(other.get());
    // Only the current page was shown; pages 0 and 2 still hold what was loaded.
    EXPECT_FALSE(copy->inner().page(0)->hasWindow());
    EXPECT_TRUE(copy->inner().page(1)->hasWindow());
    EXPECT_EQ(saved(*other), bytes);
}

// The outer block of a stream grown by `extra` bytes at its end, as a newer writer might add.
std::vector<uint8_t> withTrailingBlock(std::vector<uint8_t> bytes)
{
    const std::vector<uint8_t> extra{12, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8};
    bytes.insert(bytes.end(), extra.begin(), extra.end());
    uint32_t length = 0;
    std::memcpy(&length, bytes.data(), 4);
    length += uint32_t(extra.size());
    std::memcpy(bytes.data(), &length, 4);
    return bytes;
}

TEST_F(FrameTest, ANewerWritersLongerStreamLoads)
{
    buildNestedLayout();
    const auto bytes = saved(*host);
    HRESULT hr = E_FAIL;
    auto other = loadedCopy(withTrailingBlock(bytes), &hr);
    ASSERT_EQ(hr, S_OK);
    visitAll(*frame, 1);
    visitAll(*frameOf(other.get()), 1);
    EXPECT_EQ(describe(frameOf(other.get())->inner()), describe(frame->inner()));
}

TEST_F(FrameTest, AHeaderCountOfOneLoadsNoPages)
{
    insert(page(0), "VyrControls.Button", {1, 1, 50, 20});
    auto bytes = saved(*host);
    ASSERT_GT(bytes.size(), 12u);
    // Outer length, header length, then the header's count (ButtonCount + 1).
    int32_t count = 0;
    std::memcpy(&count, bytes.data() + 8, 4);
    EXPECT_EQ(count, 2); // a Frame whose ButtonCount was never set still saves its page
    count = 1;
    std::memcpy(bytes.data() + 8, &count, 4);
    HRESULT hr = E_FAIL;
    auto other = loadedCopy(bytes, &hr);
    ASSERT_EQ(hr, S_OK);
    EXPECT_TRUE(frameOf(other.get())->inner().page(0)->hosts().empty());
}

TEST_F(FrameTest, LoadOptionZeroRecreatesAPageFromWhatWasSavedAtTheSwitch)
{
    ASSERT_EQ(host->setProperty("LoadOption", Variant::fromLong(0)), S_OK);
    ASSERT_EQ(host->setProperty("ButtonCount", Variant::fromLong(2)), S_OK);
    HostWidget* b = insert(page(0), "VyrControls.Button", {10, 10, 90, 40});
    b->setProperty("Caption", Variant::fromString("A"));
    b->setProperty("Caption", Variant::fromString("B"));
    ASSERT_EQ(frame->setButtonCurrent(1), S_OK);
    flushDeletes();
    EXPECT_FALSE(page(0).hasWindow());
    ASSERT_EQ(frame->setButtonCurrent(0), S_OK);
    ASSERT_EQ(page(0).hosts().size(), 1u);
    EXPECT_EQ(page(0).hosts()[0]->property("Caption").toString(), "B");
    EXPECT_FALSE(page(1).hasWindow());
}

TEST_F(FrameTest, LoadOptionTwoCreatesEveryPageAtOnce)
{
    ASSERT_EQ(host->setProperty("LoadOption", Variant::fromLong(2)), S_OK);
    ASSERT_EQ(host->setProperty("ButtonCount", Variant::fromLong(4)), S_OK);
    for (LONG i = 0; i < 4; ++i)
        EXPECT_TRUE(page(i).hasWindow()) << i;
    EXPECT_TRUE(page(0).isShown());
    EXPECT_FALSE(page(3).isShown());
    EXPECT_EQ(host->setProperty("LoadOption", Variant::fromLong(3)), E_INVALIDARG);
}

TEST_F(FrameTest, CountAndRowsSetters)
{
    const struct {
        const char* name;
        LONG value;
        LONG count, rows;
    } steps[] = {
        {"ButtonCount", 0, 1, 1},  {"ButtonCount", 3, 3, 1}, {"ButtonRows", 0, 3, 1}, {"ButtonRows", 5, 3, 3},
        {"ButtonRows", 2, 3, 2},   {"ButtonCount", 1, 1, 1}, {"ButtonCount", -4, 1, 1},
    };
    for (const auto& s : steps) {
        ASSERT_EQ(host->setProperty(s.name, Variant::fromLong(s.value)), S_OK) << s.name << " " << s.value;
        EXPECT_EQ(longProperty("ButtonCount"), s.count) << s.name << " " << s.value;
        EXPECT_EQ(longProperty("ButtonRows"), s.rows) << s.name << " " << s.value;
        EXPECT_EQ(frame->inner().pageSet().count(), s.count);
    }
    EXPECT_EQ(host->setProperty("ButtonCount", Variant::fromLong(kMaxPages + 1)), E_INVALIDARG);
}

// A page added to the inner page set without its button (C++ code that goes round ButtonCount)
// is refused as current instead of reading past the button list.
TEST_F(FrameTest, APageWithoutItsButtonIsNotMadeCurrent)
{
    const LONG pages = frame->inner().pageSet().count();
    const LONG current = longProperty("ButtonCurrent");
    ASSERT_EQ(frame->inner().setPageCount(pages + 1), S_OK);
    EXPECT_TRUE(FAILED(frame->setButtonCurrent(pages)));
    EXPECT_EQ(longProperty("ButtonCurrent"), current);
}

TEST_F(FrameTest, ChangeNotificationsAndTheirOrder)
{
    auto spy = com::make<vyr::test::NotifySpy>();
    ASSERT_TRUE(spy->connect(host->control()));
    host->setProperty("Caption", Variant::fromString("Same"));
    host->setProperty("Caption", Variant::fromString("Same"));
    host->setProperty("FrameStyle", Variant::fromShort(3)); // the default: nothing happens
    EXPECT_EQ(spy->changed, (std::vector<DISPID>{DISPID_CAPTION}));
    spy->changed.clear();
    host->setProperty("ButtonCount", Variant::fromLong(2));
    EXPECT_EQ(spy->changed, (std::vector<DISPID>{Frame::kButtonCurrent, Frame::kButtonRows, Frame::kButtonPicture,
                                                 Frame::kButtonBackPicture, Frame::kButtonCaption,
                                                 Frame::kButtonCommand, Frame::kDragControls, Frame::kButtonCount}));
    spy->changed.clear();
    host->setProperty("BackColor", Variant::fromULong(0x123456));
    EXPECT_EQ(spy->changed, (std::vector<DISPID>{DISPID_BACKCOLOR}));
    EXPECT_EQ(frame->inner().page(0)->backColor(), 0x123456u);
}

TEST_F(FrameTest, ButtonCurrentRules)
{
    ASSERT_EQ(host->setProperty("ButtonCount", Variant::fromLong(3)), S_OK);
    EXPECT_EQ(host->setProperty("ButtonCurrent", Variant::fromLong(3)), E_FAIL);
    EXPECT_EQ(host->setProperty("ButtonCurrent", Variant::fromLong(-1)), E_FAIL);
    EXPECT_EQ(host->setProperty("ButtonCurrent", Variant::fromLong(2)), S_OK);
    EXPECT_TRUE(page(2).isShown());
    EXPECT_FALSE(page(0).isShown());
    // The button properties belong to the current button.
    host->setProperty("ButtonCaption", Variant::fromString("Third"));
    host->setProperty("ButtonCurrent", Variant::fromLong(0));
    EXPECT_EQ(host->property("ButtonCaption").toString(), "");
    EXPECT_EQ(frame->buttonData(2).caption, "Third");
}

TEST_F(FrameTest, HostedMultiPageFrameCountAndCurrent)
{
    HostWidget setHost(&top);
    setHost.resize(200, 100);
    ASSERT_EQ(setHost.create("Vyr.MultiPageFrame"), S_OK);
    EXPECT_EQ(setHost.property("PageCount").toLong(), 1);
    ASSERT_EQ(setHost.setProperty("PageCount", Variant::fromLong(0)), S_OK);
    EXPECT_EQ(setHost.property("PageCount").toLong(), 1);
    ASSERT_EQ(setHost.setProperty("PageCount", Variant::fromLong(4)), S_OK);
    ASSERT_EQ(setHost.setProperty("PageCurrent", Variant::fromLong(3)), S_OK);
    ASSERT_EQ(setHost.setProperty("PageCount", Variant::fromLong(2)), S_OK);
    EXPECT_EQ(setHost.property("PageCurrent").toLong(), 1);
    EXPECT_EQ(setHost.setProperty("PageCurrent", Variant::fromLong(2)), E_FAIL);
    // The rectangle of the current page.
    ASSERT_EQ(setHost.setProperty("Left", Variant::fromLong(7)), S_OK);
    ASSERT_EQ(setHost.setProperty("Height", Variant::fromLong(33)), S_OK);
    EXPECT_EQ(pageSetOf(&setHost)->currentPage()->widget()->geometry(), QRect(7, 0, 200, 33));
}

TEST_F(FrameTest, TwoButtonsOnTopSplitTheBarAndAClickSwitchesThePage)
{
    host->resize(200, 150);
    host->setProperty("FrameStyle", Variant::fromShort(0));
    host->setProperty("CaptionStyle", Variant::fromShort(0));
    host->setProperty("ButtonCount", Variant::fromLong(2));
    const frames::FrameGeometry g = frame->geometry();
    EXPECT_EQ(tie(g.buttons[0]), tie(RECT{0, 0, 100, 50}));
    EXPECT_EQ(tie(g.buttons[1]), tie(RECT{100, 0, 200, 50}));
    EXPECT_EQ(tie(page(0).windowRect()), tie(RECT{0, 50, 200, 150}));

    QTest::mouseClick(host->controlWindow(), Qt::LeftButton, {}, centre(g.buttons[1]));
    EXPECT_EQ(frame->buttonCurrent(), 1);
    EXPECT_EQ(frame->focusedButton(), 1);
    EXPECT_TRUE(page(1).isShown());
    EXPECT_EQ(tie(page(1).windowRect()), tie(RECT{0, 50, 200, 150}));

    // In design mode the bar ignores the mouse.
    host->setUserMode(false);
    QTest::mouseClick(host->controlWindow(), Qt::LeftButton, {}, centre(g.buttons[0]));
    EXPECT_EQ(frame->buttonCurrent(), 1);
}

TEST_F(FrameTest, KeyboardMakesTheFocusedButtonCurrent)
{
    host->setProperty("ButtonCount", Variant::fromLong(3));
    QTest::mouseClick(host->controlWindow(), Qt::LeftButton, {}, centre(frame->geometry().buttons[2]));
    ASSERT_EQ(frame->buttonCurrent(), 2);
    frame->setButtonCurrent(0);
    QTest::keyClick(host->controlWindow(), Qt::Key_Space);
    EXPECT_EQ(frame->buttonCurrent(), 2);
}

TEST_F(FrameTest, ButtonsFollowTheirCommandsWithTheNearestVisibleAndSetRule)
{
    auto server = com::make<vyr::CommandServer>();
    host->setProperty("ButtonCount", Variant::fromLong(4));
    const char* commands[] = {"Tab0", "Tab1", "Tab2", "Tab3"};
    for (LONG i = 0; i < 4; ++i) {
        frame->setButtonCurrent(i);
        host->setProperty("ButtonCommand", Variant::fromString(commands[i]));
        (*server)[commands[i]].state = 1;
    }
    frame->setButtonCurrent(1);
    ASSERT_EQ(host->setCommandServer(server.get()), S_OK);
    EXPECT_EQ(server->registrations(), 4u);
    EXPECT_EQ(frame->buttonCurrent(), 1);

    // The current button is no longer set: distance 1 after it comes first.
    (*server)["Tab1"].state = 0;
    server->notify("Tab1");
    EXPECT_EQ(frame->buttonCurrent(), 2);
    // Hidden: the next after is not set, so the one before wins; the hidden button takes no place.
    (*server)["Tab3"].state = 0;
    (*server)["Tab2"].visible = 0;
    server->notify("Tab2");
    EXPECT_EQ(frame->buttonCurrent(), 0);
    EXPECT_TRUE(isEmpty(frame->geometry().buttons[2]));

    // In run mode a disabled button cannot become current.
    (*server)["Tab3"].enabled = false;
    server->notify("Tab3");
    EXPECT_EQ(frame->setButtonCurrent(3), E_FAIL);
    host->setUserMode(false);
    EXPECT_EQ(frame->setButtonCurrent(3), S_OK);
}

TEST_F(FrameTest, HostedControlsGetTheFramesCommandServer)
{
    auto server = com::make<vyr::CommandServer>();
    host->setProperty("ButtonCount", Variant::fromLong(2));
    insert(page(0), "VyrControls.Button", {1, 1, 40, 20})->setProperty("Command", Variant::fromString("Early"));
    ASSERT_EQ(host->setCommandServer(server.get()), S_OK);
    HostWidget* late = insert(page(0), "VyrControls.Button", {1, 30, 40, 50});
    late->setProperty("Command", Variant::fromString("Late"));
    frame->setButtonCurrent(1); // a page created after the server came
    insert(page(1), "VyrControls.Button", {1, 1, 40, 20})->setProperty("Command", Variant::fromString("Other"));
    const auto registered = server->calls("RegisterCommand");
    for (const char* name : {"Early", "Late", "Other"})
        EXPECT_NE(std::find(registered.begin(), registered.end(), std::string("RegisterCommand ") + name),
                  registered.end())
            << name;
    EXPECT_TRUE(late->controlWindow()->isEnabled());
}

TEST_F(FrameTest, ChangingBackStyleRebuildsTheWindowAndKeepsThePages)
{
    host->setProperty("ButtonCount", Variant::fromLong(2));
    insert(page(0), "VyrControls.Button", {10, 10, 90, 40})->setProperty("Caption", Variant::fromString("Kept"));
    QPointer<QWidget> before = host->controlWindow();
    ASSERT_EQ(host->setProperty("BackStyle", Variant::fromShort(0)), S_OK);
    QWidget* after = host->controlWindow();
    ASSERT_NE(after, nullptr);
    // A window of its own is rebuilt; without one the Frame was activated again in its host.
    EXPECT_EQ(before.isNull(), !host->isWindowless());
    ASSERT_EQ(page(0).hosts().size(), 1u);
    EXPECT_EQ(page(0).widget()->parentWidget(), after);
    EXPECT_EQ(page(0).hosts()[0]->property("Caption").toString(), "Kept");
    // Opaque again: another rebuild; later changes of an opaque Frame only repaint.
    host->setProperty("BackStyle", Variant::fromShort(1));
    QPointer<QWidget> opaque = host->controlWindow();
    host->setProperty("CaptionTextColor", Variant::fromULong(0x0000FF));
    EXPECT_FALSE(opaque.isNull());
}

TEST_F(FrameTest, DeactivationKeepsThePagesForSaveAndTheNextWindow)
{
    host->setProperty("ButtonCount", Variant::fromLong(3));
    insert(page(0), "VyrControls.Button", {10, 10, 90, 40})->setProperty("Caption", Variant::fromString("Kept"));
    ASSERT_EQ(frame->setButtonCurrent(1), S_OK);
    insert(page(1), "VyrControls.Button", {20, 20, 120, 50})->setProperty("Caption", Variant::fromString("Also"));
    auto before = com::MemoryStream::create();
    ASSERT_EQ(host->save(before.get()), S_OK);

    // The window goes (the container deactivates the control) and the data stays.
    ASSERT_EQ(frame->DestroyControlWindow(), S_OK);
    QApplication::processEvents();
    auto during = com::MemoryStream::create();
    ASSERT_EQ(host->save(during.get()), S_OK);
    EXPECT_EQ(during->bytes(), before->bytes());
    EXPECT_EQ(longProperty("ButtonCount"), 3);

    // A new window shows the pages with their controls again.
    const RECT r{0, 0, 400, 300};
    ASSERT_EQ(frame->CreateControlWindow(host, &r, nullptr), S_OK);
    EXPECT_EQ(frame->inner().pageSet().count(), 3);
    ASSERT_EQ(page(1).hosts().size(), 1u);
    EXPECT_EQ(page(1).hosts()[0]->property("Caption").toString(), "Also");
    ASSERT_EQ(frame->setButtonCurrent(0), S_OK);
    ASSERT_EQ(page(0).hosts().size(), 1u);
    EXPECT_EQ(page(0).hosts()[0]->property("Caption").toString(), "Kept");
}

TEST_F(FrameTest, VerticalAutoArrangeStacksNestedPagesAndSizesTheParent)
{
    HostWidget setHost(&top);
    setHost.setGeometry(0, 0, 300, 400);
    ASSERT_EQ(setHost.create("Vyr.MultiPageFrame"), S_OK);
    ControlPage& p = *pageSetOf(&setHost)->currentPage();
    HostWidget* tall = insert(p, "VyrControls.Frame", {40, 200, 140, 250});
    HostWidget* button = insert(p, "VyrControls.Button", {200, 5, 280, 30});
    HostWidget* low = insert(p, "VyrControls.Frame", {0, 0, 100, 30});
    ASSERT_TRUE(tall && button && low);
    ASSERT_EQ(setHost.setProperty("AutoFrameArrange", Variant::fromLong(1)), S_OK);
    EXPECT_EQ(tall->geometry(), QRect(10, 10, 100, 50));
    EXPECT_EQ(low->geometry(), QRect(10, 70, 100, 30));
    EXPECT_EQ(button->geometry(), QRect(200, 5, 80, 25)); // not a nested page: stays
    EXPECT_EQ(setHost.height(), 110);

    // Unlocked (design behaviour) nothing is arranged.
    setHost.setProperty("Locked", Variant::fromBool(false));
    tall->move(50, 50);
    setHost.setProperty("AutoArrangeFrameDistance", Variant::fromLong(4));
    EXPECT_EQ(tall->pos(), QPoint(50, 50));
}

TEST_F(FrameTest, NestedPageInterfaceReachesTheCurrentPage)
{
    com::ComPtr<INestedPage> nested;
    ASSERT_EQ(host->control()->QueryInterface(IID_INestedPage, nested.putVoid()), S_OK);
    com::Bstr button("VyrControls.Button");
    ASSERT_EQ(nested->InsertControl(button.get(), 10, 10, 80, 30), S_OK);
    ASSERT_EQ(page(0).hosts().size(), 1u);
    EXPECT_EQ(page(0).hosts()[0]->geometry(), QRect(10, 10, 80, 30));
    EXPECT_EQ(nested->InsertControl(com::Bstr("No.Such.Control").get(), 0, 0, 5, 5), REGDB_E_CLASSNOTREG);

    // Points in the Frame's client coordinates; the page sits inside the border and caption.
    const QPoint origin = page(0).widget()->pos();
    BOOL onControl = FALSE, inClient = FALSE;
    ASSERT_EQ(nested->PointTest(origin.x() + 20, origin.y() + 20, &onControl, &inClient), S_OK);
    EXPECT_TRUE(onControl && inClient);
    ASSERT_EQ(nested->PointTest(origin.x() + 5, origin.y() + 5, &onControl, &inClient), S_OK);
    EXPECT_FALSE(onControl || inClient);

    BOOL drag = TRUE;
    ASSERT_EQ(nested->GetDragControls(&drag), S_OK);
    EXPECT_FALSE(drag);
}

TEST_F(FrameTest, ThePageWindowPassesTheFocusOn)
{
    // Unlocked, the buttons are in design behaviour and so enabled without a command server.
    host->setProperty("Locked", Variant::fromBool(false));
    HostWidget* a = insert(page(0), "VyrControls.Button", {1, 1, 40, 20});
    HostWidget* b = insert(page(0), "VyrControls.Button", {1, 30, 40, 50});
    QApplication::setActiveWindow(&top);
    page(0).widget()->setFocus(Qt::TabFocusReason);
    EXPECT_TRUE(a->controlWindow()->hasFocus());
    page(0).widget()->setFocus(Qt::BacktabFocusReason);
    EXPECT_TRUE(b->controlWindow()->hasFocus());
}

// ---------------------------------------------------------------- painting

QImage rendered(HostWidget& h)
{
    QImage image(h.size(), QImage::Format_RGB32);
    image.fill(Qt::magenta);
    h.controlWindow()->render(&image);
    return image;
}

TEST_F(FrameTest, BorderAndCaptionStylesOnPixels)
{
    host->resize(200, 120);
    host->setProperty("Caption", Variant::fromString("Title"));
    host->setProperty("CaptionStyle", Variant::fromShort(2));
    host->setProperty("CaptionBackColor", Variant::fromULong(0x00FF0000)); // blue
    host->setProperty("FrameStyle", Variant::fromShort(3));
    const frames::FrameGeometry g = frame->geometry();
    QImage img = rendered(*host);
    // A sunken border: shadow on the outer top-left, highlight on the outer bottom-right.
    EXPECT_EQ(img.pixelColor(0, 50), gdi::SysColor(gdi::COLOR_BTNSHADOW));
    EXPECT_EQ(img.pixelColor(199, 50), gdi::SysColor(gdi::COLOR_BTNHIGHLIGHT));
    // The banner is filled with the caption's back colour, right of the text.
    EXPECT_EQ(img.pixelColor(g.caption.right - 3, g.caption.bottom - 1), QColor(0, 0, 255));

    host->setProperty("FrameStyle", Variant::fromShort(0));
    img = rendered(*host);
    EXPECT_EQ(img.pixelColor(0, 50), gdi::SysColor(gdi::COLOR_BTNFACE));
}

TEST_F(FrameTest, NormalCaptionOnTheBorderBlanksTheLine)
{
    host->resize(200, 120);
    host->setProperty("Caption", Variant::fromString("WWWWWWWW"));
    host->setProperty("CaptionStyle", Variant::fromShort(1));
    host->setProperty("FrameStyle", Variant::fromShort(1));
    host->setProperty("BackColor", Variant::fromULong(0x0000FF00)); // green
    host->setProperty("CaptionTop", Variant::fromBool(true));
    const frames::FrameGeometry g = frame->geometry();
    const QImage img = rendered(*host);
    // Where the etched line runs under the leading blanks of the caption, the caption's
    // background covers it; further right the line shows.
    const int lineY = g.frame.top;
    EXPECT_EQ(img.pixelColor(g.caption.left + 2, lineY), QColor(0, 255, 0));
    EXPECT_EQ(img.pixelColor(g.caption.right - 2, lineY), gdi::SysColor(gdi::COLOR_BTNSHADOW));
}

// ---------------------------------------------------------------- bad input

TEST_F(FrameTest, BadStreamsFailClearlyAndKeepWhatWasCreated)
{
    host->setProperty("ButtonCount", Variant::fromLong(2));
    insert(page(0), "VyrControls.Button", {1, 1, 40, 20});
    insert(page(0), "VyrControls.Button", {1, 30, 40, 50});
    const auto bytes = saved(*host);

    HRESULT hr = S_OK;
    loadedCopy(std::vector<uint8_t>(bytes.begin(), bytes.begin() + bytes.size() / 2), &hr);
    EXPECT_TRUE(FAILED(hr));

    // The second control's class identifier made unknown: the first one stays.
    auto broken = bytes;
    const auto id = com::guidBytes(controls::CLSID_Button);
    auto first = std::search(broken.begin(), broken.end(), id.begin(), id.end());
    auto second = std::search(first + 1, broken.end(), id.begin(), id.end());
    ASSERT_NE(second, broken.end());
    second[15] ^= 0x5A;
    QWidget holder;
    auto* f = com::make<Frame>().detach();
    const RECT r{0, 0, 300, 200};
    ASSERT_EQ(f->CreateControlWindow(&holder, &r, nullptr), S_OK);
    auto in = com::MemoryStream::create(broken);
    EXPECT_EQ(f->Load(in.get()), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(f->inner().page(0)->hosts().size(), 1u);
    f->Release();

    // A version above 1 in the property list.
    auto newer = bytes;
    // After the outer length, the header block (12 bytes) and the property block's length.
    std::memcpy(newer.data() + 20, "\x02\0\0\0", 4);
    loadedCopy(newer, &hr);
    EXPECT_EQ(hr, E_FAIL);
}

TEST_F(FrameTest, DeepNestingStopsWithAClearError)
{
    // Frames inside frames, one level deeper than loading allows.
    HostWidget* level = host;
    for (int i = 0; i <= kMaxNesting; ++i) {
        level = insert(*frameOf(level)->inner().page(0), "VyrControls.Frame", {2, 2, 380, 280});
        ASSERT_NE(level, nullptr) << i;
    }
    const auto bytes = saved(*host);
    HostWidget other(&top);
    other.resize(400, 300);
    ASSERT_EQ(other.create("VyrControls.Frame"), S_OK);
    auto in = com::MemoryStream::create(bytes);
    EXPECT_EQ(other.load(in.get()), kNestedTooDeep);
    // Every level up to the limit was created.
    int depth = 0;
    for (HostWidget* h = &other; frameOf(h) && !frameOf(h)->inner().page(0)->hosts().empty(); ++depth)
        h = frameOf(h)->inner().page(0)->hosts()[0];
    EXPECT_EQ(depth, kMaxNesting);
}

} // namespace
} // namespace vyr::frames::test
