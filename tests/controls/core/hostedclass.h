#pragma once
// One control of the class table hosted in a window and bound to the command "Shared" of a
// command server, for the tests that render every class.
#include "controls/core/classtable.h"
#include "controls/core/host.h"
#include "controls/qtwidget/commandserver.h"
#include <QApplication>
#include <QWidget>

namespace vyr::controls::test {

struct HostedClass {
    QWidget top;
    HostWidget* host = new HostWidget(&top);
    bool ok = false;

    // `caption` is the Caption, `serverText` the command's text and `enabled` its state; a
    // non-null `text` is also the Text property (for the controls that have one).
    HostedClass(const ClassRow& row, CommandServer* server, const char* caption, const char* serverText,
                const char* text = nullptr, bool enabled = true,
                HostWidget::Activation activation = HostWidget::defaultActivation())
    {
        top.resize(240, 110);
        host->setGeometry(10, 10, 220, 90);
        host->setActivation(activation);
        ok = SUCCEEDED(host->create(row.progId));
        if (!ok)
            return;
        (*server)["Shared"].enabled = enabled;
        (*server)["Shared"].text = serverText;
        host->setProperty("Caption", com::Variant::fromString(caption));
        if (text)
            host->setProperty("Text", com::Variant::fromString(text));
        host->setProperty("Command", com::Variant::fromString("Shared"));
        host->setProperty("Enabled", com::Variant::fromBool(true));
        host->setCommandServer(server);
        top.show();
        QApplication::processEvents();
    }
    ~HostedClass()
    {
        if (ok)
            host->setCommandServer(nullptr);
    }
    QImage shot() { return host->grab().toImage().convertToFormat(QImage::Format_RGB32); }
};

} // namespace vyr::controls::test
