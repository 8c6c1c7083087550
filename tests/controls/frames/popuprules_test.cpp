#include "controls/frames/popuprules.h"
#include <gtest/gtest.h>

namespace vyr::frames {
namespace {

const RECT kDesktop{0, 0, 1024, 768};

TEST(PopupPlacement, CentredOnTheButtonByDefault)
{
    PopupPoint offset{};
    const RECT r = placePopup({100, 100, 200, 140}, -50, -50, 100, 100, kDesktop, offset);
    EXPECT_TRUE(sameRect(r, {100, 70, 200, 170}));
    EXPECT_EQ(offset.x, -50);
    EXPECT_EQ(offset.y, -50);
}

TEST(PopupPlacement, ClampedToTheDesktop)
{
    struct Row {
        const char* name;
        RECT button;
        RECT expected;
        PopupPoint offset;
    };
    for (const Row& r : {
             Row{"below the bottom", {100, 740, 200, 760}, {100, 668, 200, 768}, {-50, -82}},
             Row{"beyond the right", {990, 100, 1020, 140}, {924, 70, 1024, 170}, {-81, -50}},
             Row{"above the top", {100, 0, 200, 20}, {100, 0, 200, 100}, {-50, -10}},
             Row{"left of the left", {0, 100, 20, 140}, {0, 70, 100, 170}, {-10, -50}},
             Row{"in a corner", {1000, 750, 1024, 768}, {924, 668, 1024, 768}, {-88, -91}},
         }) {
        SCOPED_TRACE(r.name);
        PopupPoint offset{};
        const RECT got = placePopup(r.button, -50, -50, 100, 100, kDesktop, offset);
        EXPECT_TRUE(sameRect(got, r.expected)) << got.left << "," << got.top << " " << got.right << "," << got.bottom;
        EXPECT_EQ(offset.x, r.offset.x);
        EXPECT_EQ(offset.y, r.offset.y);
    }
    // Larger than the desktop: the top-left wins, as the top and left are clamped last.
    PopupPoint offset{};
    const RECT big = placePopup({500, 300, 600, 340}, -50, -50, 2000, 1000, kDesktop, offset);
    EXPECT_EQ(big.left, 0);
    EXPECT_EQ(big.top, 0);
}

TEST(PopupPlacement, HostileValuesStayBounded)
{
    PopupPoint offset{};
    const RECT r = placePopup({100, 100, 200, 140}, INT32_MAX, INT32_MIN, INT32_MAX, -5, kDesktop, offset);
    // No overflow: the far-off popup ends up clamped to the top-left, a negative height is none.
    EXPECT_EQ(r.left, kDesktop.left);
    EXPECT_EQ(r.top, kDesktop.top);
    EXPECT_EQ(r.bottom, r.top);
    EXPECT_GT(r.right, r.left);
}

TEST(PopupPress, WhichPressesClose)
{
    PopupPress base;
    base.inWatched = true;
    base.popupVisible = true;
    base.locked = true;
    EXPECT_TRUE(pressCloses(1, base));
    EXPECT_TRUE(pressCloses(2, base));
    EXPECT_FALSE(pressCloses(0, base));

    PopupPress elsewhere = base;
    elsewhere.inWatched = false; // another top-level window
    EXPECT_FALSE(pressCloses(1, elsewhere));
    EXPECT_TRUE(pressCloses(2, elsewhere));

    for (auto change : {+[](PopupPress& p) { p.onButton = true; }, +[](PopupPress& p) { p.popupVisible = false; },
                        +[](PopupPress& p) { p.insidePopup = true; }, +[](PopupPress& p) { p.locked.reset(); }}) {
        PopupPress p = base;
        change(p);
        EXPECT_FALSE(pressCloses(2, p));
    }
    // Unlocked: a press on a hosted control edits the layout and keeps the popup; one
    // elsewhere closes it.
    PopupPress design = base;
    design.locked = false;
    EXPECT_TRUE(pressCloses(2, design));
    design.onHostedControl = true;
    EXPECT_FALSE(pressCloses(2, design));
    design.locked = true;
    EXPECT_TRUE(pressCloses(2, design));
}

TEST(PopupMode, AnOverlayWhereThePlatformCannotPlaceWindows)
{
    for (const char* name : {"wayland", "wayland-egl", "wayland-brcm"})
        EXPECT_EQ(popupModeFor(name), PopupMode::Overlay) << name;
    for (const char* name : {"xcb", "offscreen", "minimal", "", "way"})
        EXPECT_EQ(popupModeFor(name), PopupMode::OwnWindow) << name;
}

TEST(PopupPress, PositionsCountOnlyWithinTheirOwnWindow)
{
    const int mainWindow = 0, otherWindow = 0;
    const WindowArea popup{&mainWindow, {100, 70, 200, 170}};
    struct Row {
        const char* name;
        WindowPoint press;
        bool inside;
    };
    for (const Row& r : {
             Row{"inside", {&mainWindow, 150, 100}, true},
             Row{"top-left corner", {&mainWindow, 100, 70}, true},
             Row{"right edge (exclusive)", {&mainWindow, 200, 100}, false},
             Row{"bottom edge (exclusive)", {&mainWindow, 150, 170}, false},
             Row{"outside", {&mainWindow, 5, 5}, false},
             // The same coordinates in another window: window-relative positions coincide
             // there, the windows do not.
             Row{"same place, other window", {&otherWindow, 150, 100}, false},
             Row{"no window", {nullptr, 150, 100}, false},
         }) {
        EXPECT_EQ(liesIn(r.press, popup), r.inside) << r.name;
    }
    EXPECT_FALSE(liesIn({nullptr, 0, 0}, WindowArea{nullptr, {0, 0, 10, 10}}));
}

} // namespace
} // namespace vyr::frames
