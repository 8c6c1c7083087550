#include "controls/frames/controlrecord.h"
#include "controls/frames/popupdialog.h"
#include "platform/com/memstream.h"
#include "tests/controls/frames/hosting.h"
#include "tests/controls/frames/rects.h"
#include <QTest>
#include <gtest/gtest.h>

namespace vyr::frames::test {
namespace {

using com::Variant;
using controls::Frame;
using controls::HostWidget;

// Two unlocked Frames side by side; the first holds one Button on its page.
class PageDragTest : public testing::Test {
public:
    QWidget top;
    HostWidget* first = nullptr;
    HostWidget* second = nullptr;
    HostWidget* button = nullptr;
    int drags = 0;
    std::function<Qt::DropAction(QMimeData*)> onDrag; // what the "platform" does with the drag

    void SetUp() override
    {
        top.resize(700, 300);
        first = hostFrame(QRect(0, 0, 300, 250));
        second = hostFrame(QRect(320, 0, 300, 250));
        button = insert(page(first), "VyrControls.Button", {10, 10, 90, 40});
        ASSERT_NE(button, nullptr);
        button->setProperty("Caption", Variant::fromString("Drag me"));
        top.show();
        ControlPage::setDragRunner([this](QWidget*, QMimeData* data, Qt::DropActions allowed) {
            ++drags;
            EXPECT_EQ(allowed, Qt::CopyAction | Qt::MoveAction);
            const Qt::DropAction effect = onDrag ? onDrag(data) : Qt::IgnoreAction;
            delete data;
            return effect;
        });
    }
    void TearDown() override { ControlPage::setDragRunner(nullptr); }

    HostWidget* hostFrame(const QRect& where)
    {
        auto* h = new HostWidget(&top);
        h->setGeometry(where);
        EXPECT_EQ(h->create("VyrControls.Frame"), S_OK);
        EXPECT_EQ(h->setProperty("Locked", Variant::fromBool(false)), S_OK);
        return h;
    }
    static ControlPage& page(HostWidget* frameHost) { return *frameOf(frameHost)->inner().currentPage(); }

    // Presses on the button 10 pixels right and 5 down of its corner and moves out of the
    // no-drag square, which starts the drag.
    void dragButton()
    {
        QWidget* w = button->controlWindow();
        QTest::mousePress(w, Qt::LeftButton, {}, QPoint(10, 5));
        QTest::mouseMove(w, QPoint(20, 5));
        QTest::mouseRelease(w, Qt::LeftButton, {}, QPoint(20, 5));
    }
};

TEST_F(PageDragTest, AShortPressInsideTheSquareStartsNoDrag)
{
    QWidget* w = button->controlWindow();
    QTest::mousePress(w, Qt::LeftButton, {}, QPoint(10, 5));
    QTest::mouseMove(w, QPoint(12, 3));
    QTest::mouseRelease(w, Qt::LeftButton, {}, QPoint(12, 3), 50);
    QTest::qWait(260); // the delay has passed, but the press was given up
    EXPECT_EQ(drags, 0);
}

TEST_F(PageDragTest, AHeldPressStartsADrag)
{
    QTest::mousePress(button->controlWindow(), Qt::LeftButton, {}, QPoint(10, 5));
    EXPECT_EQ(drags, 0);
    QTRY_COMPARE_WITH_TIMEOUT(drags, 1, 1000);
    QTest::mouseRelease(button->controlWindow(), Qt::LeftButton, {}, QPoint(10, 5));
}

TEST_F(PageDragTest, EscapeCancels)
{
    QWidget* w = button->controlWindow();
    QTest::mousePress(w, Qt::LeftButton, {}, QPoint(10, 5));
    QTest::keyClick(w, Qt::Key_Escape);
    QTest::mouseMove(w, QPoint(40, 5));
    QTest::qWait(260);
    EXPECT_EQ(drags, 0);
}

TEST_F(PageDragTest, TheDragCarriesTheControlRelativeToTheGrabPoint)
{
    QByteArray carried;
    onDrag = [&](QMimeData* data) {
        carried = data->data(kControlFormat);
        return Qt::IgnoreAction;
    };
    dragButton();
    ASSERT_EQ(drags, 1);
    auto s = com::MemoryStream::create(std::vector<uint8_t>(carried.begin(), carried.end()));
    BlockReader all;
    ASSERT_EQ(all.openRest(s.get()), S_OK);
    ControlRecord rec;
    uint32_t length = 0;
    ASSERT_EQ(readControlRecord(all, s.get(), rec, length), S_OK);
    EXPECT_EQ(rec.clsid, controls::CLSID_Button);
    EXPECT_EQ(tie(rec.rect), tie(RECT{-10, -5, 70, 25}));
    EXPECT_EQ(length, all.left());
    // Nothing was dropped anywhere: the control stays.
    EXPECT_EQ(page(first).hosts().size(), 1u);
}

TEST_F(PageDragTest, DropOnTheOwnPageMovesWithoutCtrlAndCopiesWithCtrl)
{
    QWidget* target = page(first).widget();
    onDrag = [&](QMimeData* data) {
        return deliverDrop(target, QPoint(150, 100), data, Qt::CopyAction | Qt::MoveAction, Qt::NoModifier);
    };
    dragButton();
    flushDeletes();
    ASSERT_EQ(page(first).hosts().size(), 1u);
    EXPECT_EQ(page(first).hosts()[0], button);
    EXPECT_EQ(button->geometry(), QRect(140, 95, 80, 30));

    onDrag = [&](QMimeData* data) {
        return deliverDrop(target, QPoint(200, 180), data, Qt::CopyAction | Qt::MoveAction, Qt::ControlModifier);
    };
    dragButton();
    flushDeletes();
    const auto hosts = page(first).hosts();
    ASSERT_EQ(hosts.size(), 2u);
    EXPECT_EQ(hosts[0]->geometry(), QRect(140, 95, 80, 30));
    EXPECT_EQ(hosts[1]->geometry(), QRect(190, 175, 80, 30));
    EXPECT_EQ(hosts[1]->property("Caption").toString(), "Drag me");
    // The copy lives in the page's design behaviour like the original.
    EXPECT_FALSE(hosts[1]->userMode());
}

TEST_F(PageDragTest, AMoveToAnotherFrameTakesTheControlAlong)
{
    QWidget* target = page(second).widget();
    onDrag = [&](QMimeData* data) {
        return deliverDrop(target, QPoint(50, 60), data, Qt::CopyAction | Qt::MoveAction, Qt::NoModifier);
    };
    dragButton();
    flushDeletes();
    EXPECT_TRUE(page(first).hosts().empty());
    ASSERT_EQ(page(second).hosts().size(), 1u);
    EXPECT_EQ(page(second).hosts()[0]->geometry(), QRect(40, 55, 80, 30));
    EXPECT_EQ(page(second).hosts()[0]->property("Caption").toString(), "Drag me");
}

TEST_F(PageDragTest, DragControlsKeepsTheOriginalOnAMove)
{
    ASSERT_EQ(first->setProperty("DragControls", Variant::fromBool(true)), S_OK);
    QWidget* target = page(second).widget();
    onDrag = [&](QMimeData* data) {
        return deliverDrop(target, QPoint(50, 60), data, Qt::MoveAction, Qt::NoModifier);
    };
    dragButton();
    flushDeletes();
    EXPECT_EQ(page(first).hosts().size(), 1u);
    EXPECT_EQ(page(second).hosts().size(), 1u);
}

TEST_F(PageDragTest, OnlyCopyAllowedCopies)
{
    QMimeData data;
    data.setData(kControlFormat, QByteArray());
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(page(second).widget(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    EXPECT_EQ(enter.dropAction(), Qt::CopyAction);
}

TEST_F(PageDragTest, ALockedPageNeitherStartsNorAcceptsADrag)
{
    ASSERT_EQ(second->setProperty("Locked", Variant::fromBool(true)), S_OK);
    QByteArray carried;
    onDrag = [&](QMimeData* data) {
        carried = data->data(kControlFormat);
        return deliverDrop(page(second).widget(), QPoint(50, 60), data, Qt::CopyAction | Qt::MoveAction, Qt::NoModifier);
    };
    dragButton();
    ASSERT_EQ(drags, 1);
    EXPECT_TRUE(page(second).hosts().empty());
    EXPECT_EQ(page(first).hosts().size(), 1u);

    // Locked, the button runs: a press is the button's own and starts nothing.
    ASSERT_EQ(first->setProperty("Locked", Variant::fromBool(true)), S_OK);
    EXPECT_TRUE(button->userMode());
    QWidget* w = button->controlWindow();
    QTest::mousePress(w, Qt::LeftButton, {}, QPoint(10, 5));
    QTest::mouseMove(w, QPoint(40, 5));
    QTest::qWait(260);
    QTest::mouseRelease(w, Qt::LeftButton, {}, QPoint(40, 5));
    EXPECT_EQ(drags, 1);
}

TEST_F(PageDragTest, DataWithoutTheFormatIsRefused)
{
    QMimeData text;
    text.setText("not a control");
    EXPECT_EQ(deliverDrop(page(second).widget(), QPoint(5, 5), &text, Qt::CopyAction | Qt::MoveAction, Qt::NoModifier),
              Qt::IgnoreAction);
    // The format with bytes that are no record: refused, nothing created.
    QMimeData junk;
    junk.setData(kControlFormat, QByteArray("\x01\x02\x03", 3));
    EXPECT_EQ(deliverDrop(page(second).widget(), QPoint(5, 5), &junk, Qt::CopyAction | Qt::MoveAction, Qt::NoModifier),
              Qt::IgnoreAction);
    EXPECT_TRUE(page(second).hosts().empty());
}

TEST_F(PageDragTest, TheFeedbackOutlineIsDrawnInvertedAndGoesAway)
{
    QWidget* pageWidget = page(first).widget();
    const QImage before = pageWidget->grab().toImage();
    QImage during;
    QRect outline;
    onDrag = [&](QMimeData* data) {
        QDragEnterEvent enter(QPoint(150, 100), Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(pageWidget, &enter);
        outline = page(first).feedbackRect();
        during = pageWidget->grab().toImage();
        QDragLeaveEvent leave;
        QApplication::sendEvent(pageWidget, &leave);
        return Qt::IgnoreAction;
    };
    dragButton();
    ASSERT_EQ(outline, QRect(140, 95, 80, 30));
    const auto inverted = [](QColor c) { return QColor(255 - c.red(), 255 - c.green(), 255 - c.blue()); };
    for (const QPoint p : {outline.topLeft(), outline.topLeft() + QPoint(1, 1), outline.bottomRight(),
                           QPoint(outline.center().x(), outline.top())})
        EXPECT_EQ(during.pixelColor(p), inverted(before.pixelColor(p))) << p.x() << "," << p.y();
    // Inside the two outlines the page is untouched.
    EXPECT_EQ(during.pixelColor(outline.center()), before.pixelColor(outline.center()));
    EXPECT_TRUE(page(first).feedbackRect().isEmpty());
    EXPECT_EQ(pageWidget->grab().toImage(), before);
}


// What a page receiving a drag from elsewhere shows: the outline of the control the drag carries,
// at the mouse minus the grab point, inverted over the page, gone again on leave and on drop.
struct ForeignTarget {
    const char* name;
    // Makes ready and returns the page the drag goes to (called during the drag).
    std::function<ControlPage*(PageDragTest&)> target;
};

void PrintTo(const ForeignTarget& t, std::ostream* os) { *os << t.name; }

class ForeignDragTest : public PageDragTest, public testing::WithParamInterface<ForeignTarget> {};

QColor inverted(QColor c) { return QColor(255 - c.red(), 255 - c.green(), 255 - c.blue()); }

// Expects `during` to be `before` with the two nested outlines of `outline` inverted.
void expectOutline(const QImage& before, const QImage& during, const QRect& outline)
{
    for (const QPoint p : {outline.topLeft(), outline.topLeft() + QPoint(1, 1), outline.bottomRight(),
                           outline.bottomRight() - QPoint(1, 1), QPoint(outline.center().x(), outline.top()),
                           QPoint(outline.left(), outline.center().y())})
        EXPECT_EQ(during.pixelColor(p), inverted(before.pixelColor(p))) << p.x() << "," << p.y();
    for (const QPoint p : {outline.center(), outline.topLeft() + QPoint(2, 2), outline.topLeft() - QPoint(1, 1)})
        EXPECT_EQ(during.pixelColor(p), before.pixelColor(p)) << p.x() << "," << p.y();
}

TEST_P(ForeignDragTest, TheTargetShowsTheCarriedOutlineWhileTheDragIsOverIt)
{
    ControlPage* target = nullptr;
    QRect created;
    onDrag = [&](QMimeData* data) {
        target = GetParam().target(*this);
        QWidget* w = target->widget();
        const QImage before = w->grab().toImage();
        const Qt::DropActions allowed = Qt::CopyAction | Qt::MoveAction;

        QDragEnterEvent enter(QPoint(50, 60), allowed, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w, &enter);
        EXPECT_TRUE(enter.isAccepted());
        EXPECT_EQ(target->feedbackRect(), QRect(40, 55, 80, 30));
        expectOutline(before, w->grab().toImage(), QRect(40, 55, 80, 30));

        // Moving takes the outline along and gives back what it covered.
        QDragMoveEvent move(QPoint(120, 150), allowed, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w, &move);
        EXPECT_TRUE(move.isAccepted());
        EXPECT_EQ(target->feedbackRect(), QRect(110, 145, 80, 30));
        const QImage moved = w->grab().toImage();
        expectOutline(before, moved, QRect(110, 145, 80, 30));
        EXPECT_EQ(moved.pixelColor(40, 55), before.pixelColor(40, 55));

        QDragLeaveEvent leave;
        QApplication::sendEvent(w, &leave);
        EXPECT_TRUE(target->feedbackRect().isEmpty());
        EXPECT_EQ(w->grab().toImage(), before);

        // Back in and dropped: the control lands where the outline was, and the outline is gone.
        const Qt::DropAction effect = deliverDrop(w, QPoint(70, 80), data, allowed, Qt::NoModifier);
        EXPECT_TRUE(target->feedbackRect().isEmpty());
        if (!target->hosts().empty())
            created = target->hosts().back()->geometry();
        return effect;
    };
    dragButton();
    flushDeletes();
    ASSERT_NE(target, nullptr);
    EXPECT_EQ(created, QRect(60, 75, 80, 30));
    EXPECT_TRUE(page(first).feedbackRect().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Targets, ForeignDragTest,
    testing::Values(
        ForeignTarget{"AnotherFrame", [](PageDragTest& t) { return &t.page(t.second); }},
        // The source Frame's other page, shown while the drag runs.
        ForeignTarget{"AnotherPageOfTheSameFrame",
                      [](PageDragTest& t) {
                          EXPECT_EQ(t.first->setProperty("ButtonCount", Variant::fromLong(2)), S_OK);
                          EXPECT_EQ(t.first->setProperty("ButtonCurrent", Variant::fromLong(1)), S_OK);
                          return &t.page(t.first);
                      }},
        // A Frame nested on the other Frame's page.
        ForeignTarget{"ANestedFrame",
                      [](PageDragTest& t) {
                          HostWidget* nested = insert(t.page(t.second), "VyrControls.Frame", {10, 10, 290, 240});
                          EXPECT_NE(nested, nullptr);
                          EXPECT_EQ(nested->setProperty("Locked", Variant::fromBool(false)), S_OK);
                          return frameOf(nested)->inner().currentPage();
                      }},
        // The page of an open popup whose button sits on the other Frame's page.
        ForeignTarget{"APopupsPage",
                      [](PageDragTest& t) {
                          HostWidget* h = insert(t.page(t.second), "VyrControls.PopupDialog", {10, 200, 100, 240});
                          EXPECT_NE(h, nullptr);
                          EXPECT_EQ(h->setProperty("PopupWidth", Variant::fromLong(250)), S_OK);
                          EXPECT_EQ(h->setProperty("PopupHeight", Variant::fromLong(220)), S_OK);
                          auto* popup = dynamic_cast<controls::PopupDialog*>(controlOf(h));
                          EXPECT_EQ(popup->open(), S_OK);
                          return popup->page();
                      }}),
    [](const testing::TestParamInfo<ForeignTarget>& info) { return std::string(info.param.name); });

TEST_F(PageDragTest, AForeignDragWithoutAReadableRecordShowsNoOutline)
{
    QWidget* w = page(second).widget();
    const QImage before = w->grab().toImage();
    auto empty = com::MemoryStream::create();
    ASSERT_EQ(writeControlRecord(empty.get(), {controls::CLSID_Button, RECT{-5, -5, -5, 20}},
                                 [](IStream*) { return S_OK; }),
              S_OK);
    for (const QByteArray& bytes :
         {QByteArray("\x01\x02\x03", 3), QByteArray(reinterpret_cast<const char*>(empty->bytes().data()),
                                                     qsizetype(empty->bytes().size()))}) {
        QMimeData data;
        data.setData(kControlFormat, bytes);
        QDragEnterEvent enter(QPoint(50, 60), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w, &enter);
        QDragMoveEvent move(QPoint(60, 70), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w, &move);
        EXPECT_TRUE(page(second).feedbackRect().isEmpty());
        EXPECT_EQ(w->grab().toImage(), before);
        QDragLeaveEvent leave;
        QApplication::sendEvent(w, &leave);
    }
}

} // namespace
} // namespace vyr::frames::test
