// vyr-container: a container of the Vyr controls, built against the installed library only.
// It loads a layout file, hosts its control (a Frame brings the controls of its pages along),
// binds it to the container's command server, and saves the layout back when it ends.
//
//   vyr-container LAYOUT [--save FILE] [--png FILE]
//
// With a display the window stays open until it is closed; without one (or with
// QT_QPA_PLATFORM=offscreen) the controls are laid out and painted once and the program ends.
#include "commandserver.h"
#include "layoutfile.h"
#include "site.h"
#include <QApplication>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr const char* kHelp =
    "Usage: vyr-container LAYOUT [--save FILE] [--png FILE]\n"
    "Load the control of the layout file LAYOUT, host it, bind it to a command server, and\n"
    "save the layout back to LAYOUT (or to FILE with --save) when the window closes.\n"
    "  --png FILE  render the hosted control to FILE (PNG) before saving\n";

struct Options {
    std::string layout, save, png;
};

bool parse(int argc, char** argv, Options& o)
{
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if ((a == "--save" || a == "--png") && i + 1 < argc)
            (a == "--save" ? o.save : o.png) = argv[++i];
        else if (o.layout.empty() && !a.empty() && a[0] != '-')
            o.layout = a;
        else
            return false;
    }
    if (o.save.empty())
        o.save = o.layout;
    return !o.layout.empty();
}

bool haveDisplay()
{
    const QString platform = QGuiApplication::platformName();
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

} // namespace

int main(int argc, char** argv)
{
    Options options;
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(kHelp, stdout);
        return 0;
    }
    if (!parse(argc, argv, options)) {
        std::fputs(kHelp, stderr);
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    // 1. The layout: the library's class factory creates its control, which loads itself.
    vyr::com::ComPtr<IUnknown> control;
    std::string error;
    if (FAILED(loadLayout(options.layout, control, error))) {
        std::fprintf(stderr, "vyr-container: %s\n", error.c_str());
        return 1;
    }

    // 2. Hosting: the control's window becomes a child of ours.
    ControlHost window;
    window.setWindowTitle(QStringLiteral("Vyr container - %1").arg(QString::fromStdString(options.layout)));
    window.resize(420, 260);
    if (HRESULT hr = window.host(control.get()); FAILED(hr)) {
        std::fprintf(stderr, "vyr-container: cannot host the control (0x%08X)\n", unsigned(hr));
        return 1;
    }

    // 3. Command binding: the control (and every control it hosts) registers its commands.
    auto server = vyr::com::make<CommandServer>();
    if (auto client = control.as<ICommandClient>(IID_ICommandClient))
        client->SetCommandServer(server.get());

    window.show();
    if (haveDisplay()) {
        app.exec();
    } else {
        QApplication::setActiveWindow(&window);
        app.processEvents();
    }
    if (!options.png.empty() && !window.grab().save(QString::fromStdString(options.png))) {
        std::fprintf(stderr, "vyr-container: cannot write %s\n", options.png.c_str());
        return 1;
    }
    for (const auto& [name, command] : server->commands())
        std::printf("command %s\n", name.c_str());

    // 4. The layout goes back to its file, then the control lets go of the server and window.
    const bool saved = SUCCEEDED(saveLayout(options.save, control.get(), error));
    if (!saved)
        std::fprintf(stderr, "vyr-container: %s\n", error.c_str());
    if (auto client = control.as<ICommandClient>(IID_ICommandClient))
        client->SetCommandServer(nullptr);
    window.release();
    return saved ? 0 : 1;
}
