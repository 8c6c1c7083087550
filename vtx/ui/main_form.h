#pragma once
// VTXControlForm, the tool's main window: the System Database path with Browse, the place of
// the light-path diagram (BeamPic), and the Store and Close buttons. Close is a Button
// control of the control library, created through its class factory.
#include "vtx/model/filterwheel.h"
#include "vtx/model/session.h"

#include <QWidget>
#include <functional>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vyr::controls { class HostWidget; }

namespace vyr::vtx::ui {

class BeamDiagram;

class VTXControlForm : public QWidget {
    Q_OBJECT
public:
    VTXControlForm(Session& session, MessageBoxes& boxes, FileDialog& dialog, QWidget* parent = nullptr);
    ~VTXControlForm() override;

    // Runs the start-up on the database at `path`. False when the tool is to end (the form
    // has then closed the database and saved its position, as Close does).
    bool start(const std::string& path);

    // Close: asks about unsaved changes, then closes the database, saves the position and
    // ends the program (returns false when the user cancelled).
    bool closeTool();
    void browse();
    void bringToFront();

    // Writes the configuration; supplied by the configuration form. Without it a Close that
    // would store stays open instead of dropping the changes.
    void setStore(std::function<void()> store) { store_ = std::move(store); }

    controls::HostWidget* closeButton() const { return cmdClose_; }
    BeamDiagram* diagram() const { return diagram_; }
    // Store (CmdStore): writes the diagram's configuration; the filter-wheel dialog is asked
    // through `wheel` when given, else shown as FW1Frm.
    void storeConfiguration();
    void setFilterWheelDialog(FilterWheelDialog* wheel) { wheel_ = wheel; }
    bool closeButtonIsControl() const;
    // CmdAddNew: the filter catalogue editor, modal, on the open database.
    void addNewFilters();

signals:
    void finished();   // the program is to end

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    void restorePosition();
    void savePosition();
    void endProgram();
    void showDiagram(bool shown);
    bool loadDiagram();
    void onEdited();

    Session& session_;
    MessageBoxes& boxes_;
    FileDialog& dialog_;
    std::function<void()> store_;
    QLabel* label8_ = nullptr;
    QLineEdit* database_ = nullptr;
    QPushButton* browse_ = nullptr;
    QFrame* beamPic_ = nullptr;
    BeamDiagram* diagram_ = nullptr;
    FilterWheelDialog* wheel_ = nullptr;
    QPushButton* cmdStore_ = nullptr;
    QPushButton* cmdAddNew_ = nullptr;
    controls::HostWidget* cmdClose_ = nullptr;
    bool ended_ = false;
};

} // namespace vyr::vtx::ui
