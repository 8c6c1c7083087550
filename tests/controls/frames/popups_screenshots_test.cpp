// Renders the open PopupDialog with its page of Sliders, the GrabField at several rotations and
// the Objective's open list. With VYR_SCREENSHOT_DIR set the images are written there as PNG
// files (popup-open.png, grabfield-rotations.png, objective-open.png).
#include "controls/frames/objective.h"
#include "controls/frames/popupdialog.h"
#include "tests/controls/frames/hosting.h"
#include "controls/qtwidget/commandserver.h"
#include <QDir>
#include <QListWidget>
#include <QPainter>
#include <QTest>
#include <gtest/gtest.h>

namespace vyr::frames::test {
namespace {

using com::Variant;
using controls::HostWidget;

void save(const QImage& image, const char* name)
{
    const QByteArray dir = qgetenv("VYR_SCREENSHOT_DIR");
    if (dir.isEmpty())
        return;
    QDir().mkpath(QString::fromLocal8Bit(dir));
    ASSERT_TRUE(image.save(QString::fromLocal8Bit(dir) + "/" + name));
}

// The window and a popup of it, composed as the screen shows them.
QImage compose(QWidget& window, QWidget* popup, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(0x80, 0x80, 0x80));
    QPainter p(&image);
    window.render(&p, QPoint(0, 0));
    if (popup) {
        const QPoint at = popup->mapToGlobal(QPoint(0, 0)) - window.mapToGlobal(QPoint(0, 0));
        popup->render(&p, at);
        p.setPen(Qt::black);
        p.drawRect(QRect(at, popup->size()).adjusted(-1, -1, 0, 0));
    }
    return image;
}

TEST(PopupScreenshots, OpenPopupWithSliders)
{
    auto server = com::make<vyr::CommandServer>();
    QWidget top;
    top.setGeometry(100, 100, 340, 260);
    auto* host = new HostWidget(&top);
    host->setGeometry(20, 20, 140, 32);
    ASSERT_EQ(host->create("VyrControls.PopupDialog"), S_OK);
    host->setProperty("Caption", Variant::fromString("Detector..."));
    host->setProperty("PopupLeft", Variant::fromLong(-70));
    host->setProperty("PopupTop", Variant::fromLong(20));
    host->setProperty("PopupWidth", Variant::fromLong(200));
    host->setProperty("PopupHeight", Variant::fromLong(132));
    host->setCommandServer(server.get());
    top.show();
    auto* popup = dynamic_cast<controls::PopupDialog*>(controlOf(host));
    ASSERT_EQ(popup->open(), S_OK);
    int y = 8;
    for (const char* c : {"Gain", "Offset", "Pinhole"}) {
        (*server)[c].minimum = 0, (*server)[c].maximum = 100, (*server)[c].value = 20.0 + y;
        HostWidget* s = insert(*popup->page(), "VyrControls.Slider", {8, y, 190, y + 36});
        ASSERT_NE(s, nullptr);
        s->setProperty("Command", Variant::fromString(c));
        y += 40;
    }
    QTest::qWait(20);
    const QImage image = compose(top, popup->popupWindow(), top.size());
    // The popup lies under the button, on the container.
    const QPoint at = popup->popupWindow()->mapToGlobal(QPoint(0, 0)) - top.mapToGlobal(QPoint(0, 0));
    EXPECT_EQ(at, QPoint(20, 20 + 16 + 20));
    save(image, "popup-open.png");
    popup->close(true);
    flushDeletes();
}

TEST(PopupScreenshots, EmptyPopupOverAFrame)
{
    // An empty popup over a Frame of the same face colour: its sizing border shows it.
    QWidget top;
    top.setGeometry(100, 100, 260, 200);
    auto* frame = new HostWidget(&top);
    frame->setGeometry(0, 0, 260, 200);
    ASSERT_EQ(frame->create("VyrControls.Frame"), S_OK);
    frame->setProperty("Locked", Variant::fromBool(true));
    HostWidget* host = insert(*frameOf(frame)->inner().currentPage(), "VyrControls.PopupDialog", {20, 20, 120, 50});
    ASSERT_NE(host, nullptr);
    host->setProperty("Caption", Variant::fromString("Options..."));
    host->setProperty("PopupLeft", Variant::fromLong(-30));
    host->setProperty("PopupTop", Variant::fromLong(25));
    host->setProperty("PopupWidth", Variant::fromLong(160));
    host->setProperty("PopupHeight", Variant::fromLong(110));
    top.show();
    auto* popup = dynamic_cast<controls::PopupDialog*>(controlOf(host));
    ASSERT_EQ(popup->open(), S_OK);
    QTest::qWait(20);
    QImage image(top.size(), QImage::Format_RGB32);
    QPainter p(&image);
    top.render(&p, QPoint(0, 0));
    const QPoint at = popup->popupWindow()->mapToGlobal(QPoint(0, 0)) - top.mapToGlobal(QPoint(0, 0));
    popup->popupWindow()->render(&p, at);
    p.end();
    EXPECT_NE(image.pixel(at + QPoint(159, 60)), image.pixel(at + QPoint(80, 60)));
    save(image, "popup-empty-over-frame.png");
    popup->close(true);
    flushDeletes();
}

TEST(PopupScreenshots, GrabFieldRotations)
{
    auto server = com::make<vyr::CommandServer>();
    (*server)["F.Width"].value = 60, (*server)["F.Height"].value = 30;
    for (const char* c : {"F.OffsetX", "F.OffsetY"})
        (*server)[c].minimum = -60, (*server)[c].maximum = 60, (*server)[c].value = 0;
    (*server)["F.OffsetX"].value = 25;
    QWidget top;
    top.resize(4 * 170 + 10, 180);
    std::vector<HostWidget*> fields;
    int x = 10;
    for (double degrees : {0.0, 30.0, 90.0, 180.0}) {
        const std::string cmd = "R" + std::to_string(int(degrees));
        for (const char* part : {".Width", ".Height", ".OffsetX", ".OffsetY"})
            (*server)[cmd + part] = (*server)[std::string("F") + part];
        (*server)[cmd + ".Rotation"].value = degrees;
        auto* h = new HostWidget(&top);
        h->setGeometry(x, 10, 160, 160);
        ASSERT_EQ(h->create("VyrControls.GrabField"), S_OK);
        h->setProperty("LineWidth", Variant::fromLong(2));
        h->setProperty("Command", Variant::fromString(cmd));
        h->setCommandServer(server.get());
        fields.push_back(h);
        x += 170;
    }
    top.show();
    const QImage image = compose(top, nullptr, top.size());
    save(image, "grabfield-rotations.png");
}

TEST(PopupScreenshots, ObjectiveOpenList)
{
    auto server = com::make<vyr::CommandServer>();
    auto& c = (*server)["Objective"];
    c.entries = {{"HC PL APO 10x/0.40", 10}, {"HC PL APO 20x/0.75", 20}, {"HC PL APO 40x/1.30 Oil", 40},
                 {"HC PL APO 63x/1.40 Oil", 63}};
    c.index = 2;
    QWidget top;
    top.setGeometry(100, 100, 260, 160);
    auto* host = new HostWidget(&top);
    host->setGeometry(20, 20, 200, 30);
    ASSERT_EQ(host->create("VyrControls.Objective"), S_OK);
    host->setProperty("Caption", Variant::fromString("Objective"));
    host->setProperty("Command", Variant::fromString("Objective"));
    host->setCommandServer(server.get());
    top.show();
    QTest::mouseClick(host->controlWindow(), Qt::LeftButton, {}, QPoint(100, 15));
    auto* objective = dynamic_cast<controls::Objective*>(controlOf(host));
    ASSERT_NE(objective->list(), nullptr);
    QTest::qWait(20);
    save(compose(top, objective->list(), top.size()), "objective-open.png");
    objective->closeList();
}

} // namespace
} // namespace vyr::frames::test
