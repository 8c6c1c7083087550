#include "mainwindow.h"
#include <QStatusBar>
#include <cstdio>

MainWindow::MainWindow(vyr::CommandServer* server, QWidget* parent) : QMainWindow(parent), server_(server)
{
    ui.setupUi(this);
    // The filter frame's page buttons: a caption each, which is also what a screen reader
    // announces for the page tab. ButtonCaption is the caption of the ButtonCurrent page.
    const QStringList pages = {tr("&Emission"), tr("E&xcitation"), tr("&Beam splitter")};
    for (int i = int(pages.size()) - 1; i >= 0; --i) {
        ui.filters->setButtonCurrent(i);
        ui.filters->setButtonCaption(pages[i]);
    }
    // Every control of the form works on the program's commands.
    for (vyr::ControlWidget* control : findChildren<vyr::ControlWidget*>())
        control->setCommandServer(server);

    // What the user changes arrives as the server's signals; the program acts on them.
    connect(server, &vyr::CommandServer::valueChanged, this, [this](const QString& command, double value) {
        report(QStringLiteral("valueChanged %1 %2").arg(command).arg(value));
    });
    connect(server, &vyr::CommandServer::entrySelected, this, [this](const QString& command, int index) {
        report(QStringLiteral("entrySelected %1 %2").arg(command).arg(index));
    });
    connect(server, &vyr::CommandServer::commandExecuted, this, [this](const QString& command) {
        report(QStringLiteral("commandExecuted %1").arg(command));
        // Start enables Stop and disables itself; Stop the other way round.
        const bool running = command == QLatin1String("Start");
        server_->setEnabled(QStringLiteral("Start"), !running);
        server_->setEnabled(QStringLiteral("Stop"), running);
    });
    // The typed signals of the generated classes.
    connect(ui.start, &VyrButton::clicked, this, [this] { statusBar()->showMessage(tr("Start clicked")); });
}

void MainWindow::report(const QString& line)
{
    statusBar()->showMessage(line);
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}
