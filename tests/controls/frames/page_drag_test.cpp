#include "controls/frames/controlrecord.h"
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
protected:
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

} // namespace
} // namespace vyr::frames::test
