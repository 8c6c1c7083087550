#pragma once
// A list-family control hosted in a container window on a memory command server, with a spy
// on its events.
#include "controls/core/host.h"
#include "platform/com/dispcall.h"
#include "platform/com/picture.h"
#include "tests/support/eventspy.h"
#include "controls/qtwidget/commandserver.h"
#include <gtest/gtest.h>
#include <QDir>
#include <QTest>
#include <functional>

namespace vyr::test {

struct Hosted {
    // `setup` sets properties before the server is attached; `attach` false leaves the control
    // on its own.
    Hosted(const char* progId, QSize size, const std::function<void(controls::HostWidget&)>& setup = {},
           bool attach = true)
    {
        top.resize(size.width() + 20, size.height() + 20);
        host = new controls::HostWidget(&top);
        host->setGeometry(10, 10, size.width(), size.height());
        EXPECT_EQ(host->create(progId), S_OK);
        spy = com::make<EventSpy>();
        spy->connect(host->control());
        if (setup)
            setup(*host);
        if (attach)
            host->setCommandServer(server.get());
        top.show();
    }
    ~Hosted() { spy->disconnect(); }

    template <class C>
    C& control() const
    {
        return *dynamic_cast<C*>(vyr::controls::ControlBase::from(host->dispatch()));
    }
    QWidget* window() const { return host->controlWindow(); }
    void put(std::string_view name, const com::Variant& v) const { host->setProperty(name, v); }
    QImage shot() const { return window()->grab().toImage().convertToFormat(QImage::Format_RGB32); }

    com::ComPtr<vyr::CommandServer> server = com::make<vyr::CommandServer>();
    QWidget top;
    controls::HostWidget* host = nullptr;
    com::ComPtr<EventSpy> spy;
};

// Writes `image` as `name` into $VYR_SCREENSHOT_DIR when that is set.
inline void saveScreenshot(const QImage& image, const char* name)
{
    const QByteArray dir = qgetenv("VYR_SCREENSHOT_DIR");
    if (dir.isEmpty())
        return;
    QDir().mkpath(QString::fromLocal8Bit(dir));
    EXPECT_TRUE(image.save(QString::fromLocal8Bit(dir) + "/" + name));
}

// A bitmap picture of one colour.
inline com::ComPtr<IPictureDisp> solidPicture(QSize size, QColor color)
{
    QImage img(size, QImage::Format_RGB32);
    img.fill(color);
    com::ComPtr<IPictureDisp> pic;
    com::createPicture(img, pic.put());
    return pic;
}

} // namespace vyr::test
