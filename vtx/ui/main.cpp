// vtx: the detector configuration tool. Command line: empty, "/S" or "/s"; or "--demo", which
// makes a demo System Database in the user's data folder, names it in the registry store and
// opens it.
//
// With VTX_SNAPSHOT_PNG set in the environment (for machines without a display, together
// with QT_QPA_PLATFORM=offscreen) the tool starts as usual, renders its main window to that
// PNG file, prints the file's path and ends; messages are then printed instead of shown.
#include "vtx/model/demo.h"
#include "vtx/model/error_text.h"
#include "vtx/model/printed_messages.h"
#include "vtx/model/session.h"
#include "vtx/model/tool.h"
#include "vtx/ui/main_form.h"
#include "vtx/ui/qt_dialogs.h"
#include "vtx/ui/single_instance.h"

#include <QApplication>
#include <QScreen>
#include <cstring>
#include <iostream>
#include <memory>

using namespace vyr::vtx;

namespace {

constexpr const char* kHelp =
    "Usage: vtx [/S]\n"
    "  or:  vtx --demo\n"
    "Edit the instrument's System Database so that it describes the fitted detector module:\n"
    "beam splitters, photomultipliers, emission filters, lamps and CAN nodes.\n"
    "\n"
    "Options:\n"
    "  /S, /s      offer Browse, so that another System Database can be chosen; a database\n"
    "              that fails a check then leaves the window open instead of closing the tool\n"
    "  --demo      make a fresh demo System Database in the user's data folder\n"
    "              (~/.local/share/vtx/demo/System.mdb), name it in the registry store\n"
    "              and open it\n"
    "  -h, --help  print this help and exit\n"
    "Any other argument is refused with \"Invalid command line argument\".\n"
    "\n"
    "The System Database is the file named by the value \"Path\" of the registry key\n"
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Halvern\\CP\\Database (set it with vyr-reg add). With none\n"
    "configured, vtx says so and exits with status 1.\n"
    "\n"
    "Environment:\n"
    "  VYR_REGISTRY      the registry store file (default ~/.config/vyr/registry.db)\n"
    "  VTX_SNAPSHOT_PNG  start as usual, render the main window to this PNG file, print its\n"
    "                    path and end; messages are printed instead of shown (for machines\n"
    "                    without a display, with QT_QPA_PLATFORM=offscreen)\n";

bool isHelpSwitch(const char* arg)
{
    return std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0;
}

int snapshot(ui::VTXControlForm& form, const QString& file)
{
    form.show();
    QApplication::setActiveWindow(&form);
    QApplication::processEvents();
    // What the window shows on its screen, painted the way a display would paint it.
    QImage image = form.screen()->grabWindow(form.winId()).toImage();
    if (image.isNull())
        image = form.grab().toImage();
    bool saved = image.save(file, "PNG");
    form.close();
    if (!saved) {
        std::cerr << "vtx: cannot write " << file.toStdString() << "\n";
        return 1;
    }
    std::cout << file.toStdString() << std::endl;
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && isHelpSwitch(argv[1])) {
        std::cout << kHelp;
        return 0;
    }
    const bool demo = argc == 2 && std::strcmp(argv[1], "--demo") == 0;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("vtx"));
    std::string commandLine = demo ? std::string() : joinArguments(argc, argv);

    ui::SingleInstance guard(ui::SingleInstance::defaultName());
    if (!guard.claim())
        return 0;   // the running copy brings its window to the front

    QString snapshotFile = qEnvironmentVariable("VTX_SNAPSHOT_PNG");
    std::unique_ptr<MessageBoxes> boxes;
    if (snapshotFile.isEmpty())
        boxes = std::make_unique<ui::QtMessageBoxes>();
    else
        boxes = std::make_unique<PrintedMessages>(std::cout);
    ui::QtFileDialog dialog;
    Session session(*boxes, commandLine);
    ui::VTXControlForm form(session, *boxes, dialog);
    if (auto* qtBoxes = dynamic_cast<ui::QtMessageBoxes*>(boxes.get()))
        qtBoxes->setParent(&form);
    dialog.setParent(&form);
    QObject::connect(&guard, &ui::SingleInstance::activationRequested, &form, &ui::VTXControlForm::bringToFront);
    QObject::connect(&form, &ui::VTXControlForm::finished, &app, &QApplication::quit, Qt::QueuedConnection);

    std::string path;
    if (demo) {
        path = demoDatabasePath();
        try {
            makeDemoDatabase(path, true);
        } catch (const std::exception& e) {
            std::cerr << "vtx: " << errorText(e).message << "\n";
            return 1;
        }
        if (!tool::setDatabasePath(path)) {
            std::cerr << "vtx: the registry store cannot be written; the demo database is " << path << "\n";
            return 1;
        }
    } else {
        path = tool::databasePath();
    }
    if (path.empty() && parseCommandLine(commandLine) != Launch::Invalid) {
        // Nothing to open: say how to configure a database and how to try the demo.
        std::cerr << tool::kNotConfigured << "\n";
        if (snapshotFile.isEmpty())
            boxes->inform(tool::kNotConfigured);
        return 1;
    }
    if (!form.start(path))
        return 0;
    if (!snapshotFile.isEmpty())
        return snapshot(form, snapshotFile);
    form.show();
    return app.exec();
}
