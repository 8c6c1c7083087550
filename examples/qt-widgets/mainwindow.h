#pragma once
// The example's main window: the Designer form mainwindow.ui, its controls bound to one
// command server whose signals the window shows in its status bar (and prints, one a line).
#include "ui_mainwindow.h"
#include <vyr/commandserver.h>
#include <QMainWindow>

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(vyr::CommandServer* server, QWidget* parent = nullptr);
    Ui::MainWindow ui;

private:
    void report(const QString& line);
    vyr::com::ComPtr<vyr::CommandServer> server_;
};
