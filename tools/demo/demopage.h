#pragma once
// The demo container shows one group of controls per page, bound to one Qt command
// server. A page registers itself with a static DemoPageRegistration in its own file.
#include "controls/core/host.h"
#include "controls/qtwidget/commandserver.h"
#include <QString>
#include <functional>
#include <vector>

namespace vyr::demo {

struct DemoContext {
    com::ComPtr<vyr::CommandServer> server;
    // Creates a hosted control at `rect` inside `parent`, bound to the demo server, in run mode.
    controls::HostWidget* host(QWidget* parent, const char* progId, const QRect& rect);
};

struct DemoPage {
    int order;
    QString title;
    std::function<QWidget*(DemoContext&)> build;
};

std::vector<DemoPage>& demoPages();

struct DemoPageRegistration {
    explicit DemoPageRegistration(DemoPage page) { demoPages().push_back(std::move(page)); }
};

} // namespace vyr::demo
