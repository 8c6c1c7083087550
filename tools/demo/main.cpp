// The demo container: every built control, hosted the way an application hosts them, bound
// to the Qt command server. Without a display it renders its window to a PNG.
#include "tools/demo/demopage.h"
#include "controls/propertypages/propertyframe.h"
#include "platform/com/dispcall.h"
#include <QApplication>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QScrollArea>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdio>
#include <cstring>

using namespace vyr;

namespace vyr::demo {

std::vector<DemoPage>& demoPages()
{
    static std::vector<DemoPage> pages;
    return pages;
}

controls::HostWidget* DemoContext::host(QWidget* parent, const char* progId, const QRect& rect)
{
    auto* h = new controls::HostWidget(parent);
    h->setGeometry(rect);
    if (FAILED(h->create(progId)))
        std::fprintf(stderr, "cannot create %s\n", progId);
    h->setCommandServer(server.get());
    return h;
}

} // namespace vyr::demo

namespace {
constexpr const char* kHelp =
    "Usage: vyr-demo\n"
    "Show every control of the library, hosted the way an application hosts them and bound\n"
    "to the Qt command server. The frames page saves its first frame's layout to\n"
    "out/demo-layout.vyr (in the current folder) and loads the second frame from it.\n"
    "\n"
    "Options:\n"
    "  -h, --help  print this help and exit\n"
    "\n"
    "Without a display (or with QT_QPA_PLATFORM=offscreen) the window is rendered to a PNG\n"
    "file whose path is printed.\n"
    "\n"
    "Environment:\n"
    "  VYR_DEMO_PNG  the PNG file written without a display (default out/demo.png)\n";

// The property browser beside the controls: it browses whichever control was clicked last,
// and "Properties..." opens the property frame for that control.
class BrowserPanel : public QWidget {
public:
    explicit BrowserPanel(demo::DemoContext& ctx)
    {
        auto* layout = new QVBoxLayout(this);
        browser_ = new controls::HostWidget(this);
        browser_->setMinimumSize(280, 420);
        browser_->create("VyrControls.PropertyBrowser");
        browser_->setUserMode(true);
        layout->addWidget(browser_, 1);
        auto* properties = new QPushButton(QStringLiteral("Properties\u2026"), this);
        layout->addWidget(properties);
        connect(properties, &QPushButton::clicked, this, [this] {
            if (!current_ || !current_->control())
                return;
            controls::showPropertyFrame(window(), QStringLiteral("Properties"), {current_->control()});
        });
        (void)ctx;
        qApp->installEventFilter(this);
    }
    // Browse the control of `host`.
    void browse(controls::HostWidget* host)
    {
        if (host == current_ || host == browser_ || !host->dispatch())
            return;
        current_ = host;
        com::callMethod(browser_->dispatch(), "SetDispatch", {com::Variant::fromDispatch(host->dispatch())});
    }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (e->type() == QEvent::MouseButtonPress)
            for (QObject* o = watched; o; o = o->parent())
                if (auto* host = qobject_cast<controls::HostWidget*>(o)) {
                    if (!isAncestorOf(host))
                        browse(host);
                    break;
                }
        return false;
    }

private:
    controls::HostWidget* browser_ = nullptr;
    QPointer<controls::HostWidget> current_;
};

bool haveDisplay()
{
    const QString platform = QGuiApplication::platformName();
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}
} // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(kHelp, stdout);
        return 0;
    }
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    demo::DemoContext ctx{com::make<vyr::CommandServer>()};
    ctx.server->autoNotify = true;

    auto* content = new QWidget;
    auto* layout = new QVBoxLayout(content);
    auto pages = demo::demoPages();
    std::sort(pages.begin(), pages.end(), [](const auto& a, const auto& b) { return a.order < b.order; });
    for (const demo::DemoPage& page : pages) {
        auto* box = new QGroupBox(page.title);
        auto* boxLayout = new QVBoxLayout(box);
        boxLayout->addWidget(page.build(ctx));
        layout->addWidget(box);
    }
    layout->addStretch();

    QWidget window;
    window.setWindowTitle(QStringLiteral("Vyr controls demo"));
    auto* scroll = new QScrollArea(&window);
    scroll->setWidget(content);
    scroll->setWidgetResizable(true);
    auto* panel = new BrowserPanel(ctx);
    auto* split = new QHBoxLayout(&window);
    split->addWidget(scroll, 1);
    split->addWidget(panel);
    content->adjustSize();
    window.resize(content->sizeHint().width() + 30 + 300, std::min(content->sizeHint().height() + 10, 1000));
    window.show();
    // Start on the first hosted control.
    if (auto* first = content->findChild<controls::HostWidget*>())
        panel->browse(first);

    if (haveDisplay())
        return app.exec();

    // No display: activate (so the focus shows), let the controls paint, and write the whole
    // content to a PNG.
    QApplication::setActiveWindow(&window);
    app.processEvents();
    const QString path = qEnvironmentVariable("VYR_DEMO_PNG", QDir::current().filePath(QStringLiteral("out/demo.png")));
    QDir().mkpath(QFileInfo(path).absolutePath());
    const QString besideBrowser = QString(path).replace(QStringLiteral(".png"), QStringLiteral("-browser.png"));
    window.grab().save(besideBrowser);
    if (!content->grab().save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return 1;
    }
    std::printf("%s\n", qPrintable(QFileInfo(path).absoluteFilePath()));
    return 0;
}
