#pragma once
// A value control hosted in a container window, bound to command "Gain" of a memory command
// server (range 0 to 100, value 50), with an event spy on its _DSlider events.
#include "controls/core/host.h"
#include "controls/values/value_window.h"
#include "platform/com/dispcall.h"
#include "tests/support/eventspy.h"
#include "controls/qtwidget/commandserver.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <functional>

namespace vyr::test {

template <class Control>
struct Hosted {
    // `setup` sets properties before the server is attached; `withServer` false leaves the
    // control on its own; `withEvents` false for a control without an event interface.
    Hosted(const char* progId, QSize size, const std::function<void(IDispatch*)>& setup = {},
           bool withServer = true, bool withEvents = true)
    {
        (*server)["Gain"].minimum = 0;
        (*server)["Gain"].maximum = 100;
        (*server)["Gain"].value = 50;
        top.resize(size.width() + 40, size.height() + 40);
        host = new controls::HostWidget(&top);
        host->setGeometry(20, 20, size.width(), size.height());
        EXPECT_EQ(host->create(progId), S_OK);
        spy = com::make<EventSpy>();
        EXPECT_EQ(spy->connect(host->control()), withEvents);
        com::putProperty(host->dispatch(), "Command", com::Variant::fromString("Gain"));
        if (setup)
            setup(host->dispatch());
        if (withServer)
            host->setCommandServer(server.get());
        top.show();
        // Focus events reach only the widgets of the active window.
        top.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&top));
        spy->clear();
        server->log.clear();
    }
    ~Hosted() { spy->disconnect(); }

    Control& control() const { return *dynamic_cast<Control*>(vyr::controls::ControlBase::from(host->dispatch())); }
    QWidget* window() const { return host->controlWindow(); }
    void put(const char* name, const com::Variant& v) const { com::putProperty(host->dispatch(), name, v); }
    // Moves the mouse with the left button held, as a drag does.
    void dragTo(QPoint p) const
    {
        QMouseEvent move(QEvent::MouseMove, QPointF(p), window()->mapToGlobal(QPointF(p)), Qt::NoButton,
                         Qt::LeftButton, {});
        QApplication::sendEvent(window(), &move);
    }
    std::vector<std::string> setValues() const { return server->calls("SetValue"); }

    com::ComPtr<vyr::CommandServer> server = com::make<vyr::CommandServer>();
    QWidget top;
    controls::HostWidget* host = nullptr;
    com::ComPtr<EventSpy> spy;
};

inline QPoint centre(const values::PixelRect& r) { return values::toQRect(r).center(); }

} // namespace vyr::test
