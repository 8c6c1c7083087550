#pragma once
// A button-family control hosted in a container window, optionally bound to command "Go" of a
// memory command server, with an event spy on its events.
#include "controls/core/control.h"
#include "controls/core/host.h"
#include "platform/com/dispcall.h"
#include "platform/com/memstream.h"
#include "tests/support/eventspy.h"
#include "controls/qtwidget/commandserver.h"
#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

namespace vyr::test {

template <class Control>
Control& controlOf(const controls::HostWidget* host)
{
    return *dynamic_cast<Control*>(static_cast<controls::ControlBase*>(static_cast<IDispatch*>(host->control())));
}

template <class Control>
struct HostedButton {
    HostedButton(const char* progId, QSize size = QSize(120, 40), bool bind = true)
    {
        top.resize(size.width() + 40, size.height() + 40);
        host = new controls::HostWidget(&top);
        host->setGeometry(20, 20, size.width(), size.height());
        EXPECT_EQ(host->create(progId), S_OK);
        spy = com::make<EventSpy>();
        spy->connect(host->control());
        if (bind) {
            put("Command", com::Variant::fromString("Go"));
            host->setCommandServer(server.get());
        }
        top.show();
        top.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&top));
        spy->clear();
    }
    ~HostedButton() { spy->disconnect(); }

    Control& control() const { return controlOf<Control>(host); }
    QWidget* window() const { return host->controlWindow(); }
    HRESULT put(const char* name, const com::Variant& v) const { return com::putProperty(host->dispatch(), name, v); }
    com::Variant get(const char* name) const { return host->property(name); }
    vyr::CommandServer::Command& go() const { return (*server)["Go"]; }
    // The control's window as it paints now.
    QImage grab() const { return window()->grab().toImage(); }

    com::ComPtr<vyr::CommandServer> server = com::make<vyr::CommandServer>();
    QWidget top;
    controls::HostWidget* host = nullptr;
    com::ComPtr<EventSpy> spy;
};

// The bytes a control saves, and a control of the same class loaded from them.
inline std::vector<uint8_t> savedBytes(IUnknown* control)
{
    com::ComPtr<IPersistStreamInit> p;
    control->QueryInterface(IID_IPersistStreamInit, p.putVoid());
    auto s = com::MemoryStream::create();
    EXPECT_EQ(p->Save(s.get(), TRUE), S_OK);
    return s->bytes();
}

template <class Control>
HRESULT loadInto(Control& c, const std::vector<uint8_t>& bytes)
{
    auto s = com::MemoryStream::create(bytes);
    return c.Load(s.get());
}

} // namespace vyr::test
