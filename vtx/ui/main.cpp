// vtx: the detector configuration tool. Command line: empty, "/S" or "/s".
//
// With VTX_SNAPSHOT_PNG set in the environment (for machines without a display, together
// with QT_QPA_PLATFORM=offscreen) the tool starts as usual, renders its main window to that
// PNG file, prints the file's path and ends; messages are then printed instead of shown.
#include "vtx/model/printed_messages.h"
#include "vtx/model/session.h"
#include "vtx/model/tool.h"
#include "vtx/ui/main_form.h"
#include "vtx/ui/qt_dialogs.h"
#include "vtx/ui/single_instance.h"

#include <QApplication>
#include <QScreen>
#include <iostream>
#include <memory>

using namespace vyr::vtx;

namespace {

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
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("vtx"));
    std::string commandLine = joinArguments(argc, argv);

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

    if (!form.start(tool::databasePath()))
        return 0;
    if (!snapshotFile.isEmpty())
        return snapshot(form, snapshotFile);
    form.show();
    return app.exec();
}
