// Buttons in their states: normal, pressed, focused, disabled, with a picture, and an option
// button that follows its command's state.
#include "tools/demo/demopage.h"
#include "platform/com/picture.h"
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

namespace vyr::demo {
namespace {

com::ComPtr<IPictureDisp> demoPicture()
{
    QImage img(24, 24, QImage::Format_RGB32);
    img.fill(QColor(192, 192, 192)); // the transparency key: shows the face beneath
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(0, 128, 0));
    p.setPen(Qt::NoPen);
    p.drawEllipse(3, 3, 18, 18);
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygon({QPoint(9, 7), QPoint(17, 12), QPoint(9, 17)}));
    p.end();
    com::ComPtr<IPictureDisp> pic;
    com::createPicture(img, pic.put());
    return pic;
}

QWidget* buildButtons(DemoContext& ctx)
{
    auto& s = *ctx.server;
    for (const char* c : {"Scan.Start", "Scan.Pressed", "Scan.Focused", "Scan.Picture"})
        s[c].enabled = true;
    s["Scan.Disabled"].enabled = false;
    s["Laser.Shutter"].enabled = true;
    s["Laser.Shutter"].state = 1;
    s.onExecute = [](const std::string& name, vyr::CommandServer::Command& c) {
        if (name == "Laser.Shutter")
            c.state = !c.state;
    };

    auto* page = new QWidget;
    page->setMinimumSize(760, 110);
    struct Item {
        const char* progId;
        const char* caption;
        const char* command;
        const char* label;
    };
    const Item items[] = {
        {"VyrControls.Button", "&Start", "Scan.Start", "normal"},
        {"VyrControls.Button", "Pressed", "Scan.Pressed", "pressed"},
        {"VyrControls.Button", "Focused", "Scan.Focused", "focused"},
        {"VyrControls.Button", "Disabled", "Scan.Disabled", "disabled"},
        {"VyrControls.Button", "Run", "Scan.Picture", "with a picture"},
        {"VyrControls.OptionButton", "Shutter", "Laser.Shutter", "option, set"},
    };
    int x = 10;
    std::vector<controls::HostWidget*> hosts;
    for (const Item& it : items) {
        auto* h = ctx.host(page, it.progId, QRect(x, 10, 110, 60));
        h->setProperty("Caption", com::Variant::fromString(it.caption));
        h->setProperty("Command", com::Variant::fromString(it.command));
        auto* label = new QLabel(QString::fromUtf8(it.label), page);
        label->setGeometry(x, 75, 110, 20);
        label->setAlignment(Qt::AlignCenter);
        hosts.push_back(h);
        x += 125;
    }
    hosts[4]->setProperty("Picture", com::Variant::fromDispatch(demoPicture().get()));
    hosts[4]->setProperty("PicturePosition", com::Variant::fromShort(3));
    hosts[4]->setProperty("CaptionPosition", com::Variant::fromShort(5));
    // Hold the second button down and give the third the focus, as a user would.
    if (QWidget* w = hosts[1]->controlWindow()) {
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(20, 20), QPointF(20, 20), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(w, &press);
    }
    // Focus can go to a widget only once it is shown: give it when the event loop runs.
    if (QWidget* w = hosts[2]->controlWindow())
        QTimer::singleShot(0, w, [w] { w->setFocus(); });
    return page;
}

const DemoPageRegistration reg({10, QStringLiteral("Button and OptionButton"), buildButtons});

} // namespace
} // namespace vyr::demo
