// Every control of the class table hosted twice, once drawn in its host's widget and once in
// a window of its own: the two must look the same, send the same calls and events for the
// same input, and save the same bytes.
#include "controls/core/classtable.h"
#include "controls/core/host.h"
#include "controls/qtwidget/commandserver.h"
#include "platform/com/memstream.h"
#include "tests/controls/core/hostedclass.h"
#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

using namespace vyr;
using namespace vyr::controls;
using Activation = HostWidget::Activation;

namespace {

// What one hosting showed, sent and saved for the same input.
struct Hosting {
    bool windowless = false;
    bool ownWindow = false;
    int widgets = 0;
    QImage before, after;
    std::vector<std::string> calls, events;
    std::vector<uint8_t> saved;
};

Hosting host(const ClassRow& row, Activation activation)
{
    CommandServer server;
    test::HostedClass hosted(row, &server, "&Start", "Text", nullptr, true, activation);
    Hosting r;
    if (!hosted.ok)
        return r;
    HostWidget* h = hosted.host;
    QApplication::setActiveWindow(&hosted.top);
    QApplication::processEvents();
    QObject::connect(h, &HostWidget::controlEvent, [&r](int id, const QList<QVariant>& args) {
        std::string e = std::to_string(id);
        for (const QVariant& a : args)
            e += " " + a.toString().toStdString();
        r.events.push_back(e);
    });
    server.log.clear();
    r.windowless = h->isWindowless();
    r.ownWindow = h->controlWindow() != h;
    r.widgets = int(h->findChildren<QWidget*>().size()) + 1;
    r.before = hosted.shot();
    // Presses where a real one lands: on the deepest widget under the point.
    for (QPoint p : {QPoint(110, 45), QPoint(5, 5), QPoint(200, 80)}) {
        QWidget* target = h->childAt(p) ? h->childAt(p) : h;
        QTest::mouseClick(target, Qt::LeftButton, {}, target->mapFrom(h, p));
        QApplication::processEvents();
    }
    for (Qt::Key k : {Qt::Key_Right, Qt::Key_Space, Qt::Key_Up, Qt::Key_Escape}) {
        if (QWidget* focus = hosted.top.focusWidget())
            QTest::keyClick(focus, k);
        QApplication::processEvents();
    }
    r.calls = server.log;
    r.after = hosted.shot();
    auto s = com::MemoryStream::create();
    h->save(s.get(), false);
    r.saved = s->bytes();
    return r;
}

} // namespace

TEST(Activation, EveryClassLooksActsAndSavesTheSameWithAndWithoutAWindowOfItsOwn)
{
    int compared = 0;
    for (const ClassRow& row : classTable()) {
        if (row.kind != ClassKind::Control || !row.create)
            continue;
        SCOPED_TRACE(row.className);
        const Hosting windowless = host(row, Activation::Windowless);
        const Hosting windowed = host(row, Activation::Window);
        EXPECT_TRUE(windowless.windowless);
        EXPECT_FALSE(windowless.ownWindow);
        EXPECT_FALSE(windowed.windowless);
        EXPECT_TRUE(windowed.ownWindow);
        // The window of its own is the only widget the windowless control does without.
        EXPECT_EQ(windowless.widgets + 1, windowed.widgets);
        EXPECT_TRUE(windowless.before == windowed.before);
        EXPECT_EQ(windowless.calls, windowed.calls);
        EXPECT_EQ(windowless.events, windowed.events);
        EXPECT_TRUE(windowless.after == windowed.after);
        EXPECT_EQ(windowless.saved, windowed.saved);
        ++compared;
    }
    EXPECT_GE(compared, 25);
}

// A host used again for another class leaves nothing of the first control behind: its Qt
// children, focus policy and cursor go with it.
TEST(Activation, AHostUsedAgainKeepsNothingOfItsFormerControl)
{
    QWidget top;
    auto* host = new HostWidget(&top);
    host->setActivation(Activation::Windowless);
    host->setGeometry(0, 0, 200, 60);
    top.show();
    ASSERT_EQ(host->create("VyrControls.ValueEdit"), S_OK);
    EXPECT_FALSE(host->findChildren<QWidget*>().isEmpty()); // its field
    EXPECT_EQ(host->focusPolicy(), Qt::StrongFocus);
    host->setProperty("Visible", com::Variant::fromBool(false));
    ASSERT_EQ(host->create("VyrControls.Static"), S_OK);
    EXPECT_TRUE(host->findChildren<QWidget*>().isEmpty());
    EXPECT_TRUE(host->isVisible());
    host->destroyControl();
    EXPECT_EQ(host->focusPolicy(), Qt::NoFocus);
    EXPECT_FALSE(host->testAttribute(Qt::WA_SetCursor));
}

// A container hides a control the server hides, and a container's hide wins over the
// control's show.
TEST(Activation, TheControlAndItsContainerBothDecideWhetherItShows)
{
    QWidget top;
    auto* host = new HostWidget(&top);
    host->setActivation(Activation::Windowless);
    host->setGeometry(0, 0, 100, 30);
    CommandServer server;
    server["Shared"];
    ASSERT_EQ(host->create("VyrControls.Button"), S_OK);
    host->setProperty("Command", com::Variant::fromString("Shared"));
    host->setCommandServer(&server);
    host->show();
    top.show();
    EXPECT_TRUE(host->isVisible());
    server.setVisible("Shared", false);
    EXPECT_FALSE(host->isVisible());
    host->show(); // the container's show does not override the server
    EXPECT_FALSE(host->isVisible());
    server.setVisible("Shared", true);
    EXPECT_TRUE(host->isVisible());
    host->hide();
    server.notify("Shared");
    EXPECT_FALSE(host->isVisible());
    host->setCommandServer(nullptr);
}
