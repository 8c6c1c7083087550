// Dragging a hosted Button with the real mouse on a real X server (run by under_xvfb.sh).
// xdotool moves the server's pointer and presses its button through the server's test
// extension, so the press, the drag detection, Qt's X11 drag and drop and the drop all run as
// they do for a user's hand: the test delivers no event itself. It only watches: a timer reads
// the target page's outline (and the screen's pixels) while the drag runs, then lets go.
#include "tests/controls/frames/hosting.h"
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <gtest/gtest.h>

namespace vyr::frames::test {
namespace {

using com::Variant;
using controls::HostWidget;

struct DragRow {
    const char* name;
    bool toSecondFrame; // else within the Button's own page
    QPoint drop;        // in the target page's coordinates
    bool ctrl = false;  // held from half way on: a copy
    bool apart = false; // the second Frame in a top-level window of its own
};

void PrintTo(const DragRow& r, std::ostream* os) { *os << r.name; }

QColor inverted(QColor c) { return QColor(255 - c.red(), 255 - c.green(), 255 - c.blue()); }

// What the server shows of `w`'s area (its global rectangle), read back from the root window.
QImage onScreen(const QWidget* w)
{
    const QRect g(w->mapToGlobal(QPoint(0, 0)), w->size());
    const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0, g.x(), g.y(), g.width(), g.height());
    return shot.toImage().convertToFormat(QImage::Format_RGB32);
}

// Whether the screen shows `w` as it paints itself.
bool shownAsPainted(QWidget* w) { return onScreen(w) == w->grab().toImage().convertToFormat(QImage::Format_RGB32); }

struct OutlineCheck {
    bool shown = false;
    std::string detail; // what differs where it does not show
};

// Checks points of the outline that must be inverted on screen, and one inside that must not.
// All lie left of the grab point, away from anything Qt draws at the cursor.
OutlineCheck outlineOnScreen(const QImage& before, const QImage& now, const QRect& outline)
{
    OutlineCheck out{true, {}};
    const auto expect = [&](QPoint p, QColor want) {
        const QColor got = now.pixelColor(p);
        if (got != want) {
            out.shown = false;
            out.detail += " (" + std::to_string(p.x()) + "," + std::to_string(p.y()) + ") is " +
                          got.name().toStdString() + " not " + want.name().toStdString() + ";";
        }
    };
    const int middle = outline.center().y();
    for (const QPoint p : {outline.topLeft(), outline.topLeft() + QPoint(1, 1), QPoint(outline.left(), middle),
                           QPoint(outline.left() + 1, middle), outline.bottomLeft()})
        expect(p, inverted(before.pixelColor(p)));
    expect(outline.topLeft() + QPoint(2, 2), before.pixelColor(outline.topLeft() + QPoint(2, 2)));
    return out;
}

// Starts xdotool with `commands`; the process ends by itself and goes with `parent`.
QProcess* xdotool(QObject* parent, const QStringList& commands)
{
    auto* p = new QProcess(parent);
    p->setProcessChannelMode(QProcess::ForwardedChannels);
    p->start("xdotool", commands);
    return p;
}

bool ended(const QProcess* p) { return p && p->state() == QProcess::NotRunning; }

// Two unlocked Frames side by side in one top-level window (or the second one in a window below
// it), a Button on the first one's page.
class X11DragTest : public testing::TestWithParam<DragRow> {
protected:
    QWidget top;
    QWidget below;
    HostWidget* first = nullptr;
    HostWidget* second = nullptr;
    HostWidget* button = nullptr;

    void SetUp() override
    {
        ASSERT_EQ(QGuiApplication::platformName(), "xcb");
        top.setWindowTitle("page drag");
        top.setGeometry(40, 40, 660, 280);
        below.setGeometry(40, 360, 330, 280);
        const bool apart = GetParam().apart;
        first = hostFrame(&top, QRect(10, 10, 300, 250));
        second = apart ? hostFrame(&below, QRect(10, 10, 300, 250)) : hostFrame(&top, QRect(340, 10, 300, 250));
        button = insert(page(first), "VyrControls.Button", {10, 10, 90, 40});
        ASSERT_NE(button, nullptr);
        button->setProperty("Caption", Variant::fromString("Drag me"));
        top.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&top, 10000));
        if (apart) {
            below.show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(&below, 10000));
        }
    }

    static HostWidget* hostFrame(QWidget* window, const QRect& where)
    {
        auto* h = new HostWidget(window);
        h->setGeometry(where);
        EXPECT_EQ(h->create("VyrControls.Frame"), S_OK);
        EXPECT_EQ(h->setProperty("Locked", Variant::fromBool(false)), S_OK);
        return h;
    }
    static ControlPage& page(HostWidget* frameHost) { return *frameOf(frameHost)->inner().currentPage(); }
};

TEST_P(X11DragTest, TheRealMouseDragsTheButtonWithItsOutlineToTheDropPoint)
{
    const DragRow& row = GetParam();
    ControlPage& source = page(first);
    ControlPage& target = page(row.toSecondFrame ? second : first);
    const QPoint grab = button->rect().center();
    const QRect expected(row.drop - grab, button->size());
    const QPoint from = button->mapToGlobal(grab);
    const QPoint to = target.widget()->mapToGlobal(row.drop);
    std::printf("%s: button centre at (%d, %d) on screen, drop point (%d, %d)\n", row.name, from.x(), from.y(), to.x(),
                to.y());
    std::fflush(stdout);
    ASSERT_TRUE(QTest::qWaitFor([&] { return shownAsPainted(target.widget()); }, 5000));
    const QImage before = onScreen(target.widget());

    // Press on the button's centre and move to the drop point in steps, holding the button.
    QStringList press{"mousemove", QString::number(from.x()), QString::number(from.y())};
    press << "sleep" << "0.1" << "mousedown" << "1" << "sleep" << "0.05";
    constexpr int steps = 12;
    for (int i = 1; i <= steps; ++i) {
        if (row.ctrl && i == steps / 2)
            press << "keydown" << "ctrl";
        const QPoint p = from + (to - from) * i / steps;
        press << "mousemove" << QString::number(p.x()) << QString::number(p.y()) << "sleep" << "0.02";
    }
    QProcess* pressing = xdotool(&top, press);
    ASSERT_TRUE(pressing->waitForStarted(5000));

    // While the drag runs (inside Qt's drag loop), watch the target and let go once the outline
    // shows where the button will land, or after a while whatever it shows.
    QRect seen;
    OutlineCheck screen;
    QProcess* releasing = nullptr;
    QElapsedTimer clock;
    clock.start();
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (releasing)
            return;
        if (!target.feedbackRect().isEmpty())
            seen = target.feedbackRect();
        const bool there = ended(pressing) && seen == expected;
        if (there)
            screen = outlineOnScreen(before, onScreen(target.widget()), expected);
        if ((there && screen.shown) || clock.elapsed() > 5000) {
            releasing = xdotool(&top, {"mouseup", "1", "keyup", "ctrl"});
            watch.stop();
        }
    });
    watch.start(10);

    const auto landed = [&] {
        if (!ended(releasing))
            return false;
        const auto only = [&](const ControlPage& p) {
            return p.hosts().size() == 1 && p.hosts()[0]->geometry() == expected;
        };
        return only(target) && (!row.toSecondFrame || source.hosts().size() == (row.ctrl ? 1u : 0u));
    };
    const bool done = QTest::qWaitFor(landed, 10000);
    flushDeletes();
    std::printf("%s: landed %lld ms after xdotool started\n", row.name, static_cast<long long>(clock.elapsed()));

    EXPECT_EQ(seen, expected) << "the target page's outline during the drag";
    EXPECT_TRUE(screen.shown) << "the outline on screen:" << screen.detail;
    ASSERT_TRUE(done) << "the button did not land";
    EXPECT_TRUE(target.feedbackRect().isEmpty());
    if (row.toSecondFrame) {
        // Moved, the button left its page; copied, it stayed where it was.
        ASSERT_EQ(source.hosts().size(), row.ctrl ? 1u : 0u);
        if (row.ctrl)
            EXPECT_EQ(source.hosts()[0]->geometry(), QRect(10, 10, 80, 30));
        ASSERT_EQ(target.hosts().size(), 1u);
        EXPECT_EQ(target.hosts()[0]->property("Caption").toString(), "Drag me");
        EXPECT_FALSE(target.hosts()[0]->userMode()); // in the target page's design behaviour
    } else {
        ASSERT_EQ(source.hosts().size(), 1u);
        EXPECT_EQ(source.hosts()[0], button);
        EXPECT_TRUE(page(second).hosts().empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Drops, X11DragTest,
                         testing::Values(DragRow{"ToTheOtherFrame", true, QPoint(150, 120)},
                                         DragRow{"WithinItsOwnPage", false, QPoint(200, 150)},
                                         DragRow{"CopiedToTheOtherFrameWithCtrl", true, QPoint(150, 120), true},
                                         DragRow{"ToAFrameInAnotherWindow", true, QPoint(150, 120), false, true}),
                         [](const testing::TestParamInfo<DragRow>& info) { return std::string(info.param.name); });

} // namespace
} // namespace vyr::frames::test
