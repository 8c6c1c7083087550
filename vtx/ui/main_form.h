#pragma once
// VTXControlForm, the tool's main window: the System Database path with Browse, the place of
// the light-path diagram (BeamPic), and the Store and Close buttons. Close is a Button
// control of the control library, created through its class factory.
#include "vtx/model/filterwheel.h"
#include "vtx/model/row_changes.h"
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
class DetectionBandsPanel;

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
    // Store (CmdStore): writes the diagram's configuration, keeping a backup of the database
    // first; the filter-wheel dialog is asked through `wheel` when given, else shown as FW1Frm.
    void storeConfiguration();
    // "Changes…": asks Store's questions, then lists the row changes Store would make; its
    // Store button stores them with those answers.
    void showChanges();
    // "Bands…": the detection-band panel, kept up to date with the diagram while open.
    void showBands();
    DetectionBandsPanel* bandsPanel() const { return bands_; }
    // "Undo last Store": gives the rows this window's last store changed their earlier values
    // back and reloads. When rows changed since, nothing is written; the rows are named and the
    // whole-file restore of that store's backup is offered as a second choice.
    void undoLastStore();
    // The dialog "Changes…" opens is shown by this function; tests replace it. True: store.
    using ChangesRunner = std::function<bool(const std::vector<RowChange>&)>;
    void setChangesRunner(ChangesRunner run) { runChanges_ = std::move(run); }
    void setFilterWheelDialog(FilterWheelDialog* wheel) { wheel_ = wheel; }
    bool closeButtonIsControl() const;
    // CmdAddNew: the filter catalogue editor, modal, on the open database.
    void addNewFilters();

signals:
    void finished();   // the program is to end

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    bool writable() const;
    // The buttons and the diagram as a freshly loaded database has them, read-only or not.
    void applyAccess();
    void reloadDiagram();
    bool restoreWholeFile();   // false when the database was not replaced
    void restorePosition();
    void savePosition();
    void endProgram();
    void showDiagram(bool shown);
    bool loadDiagram();
    void onEdited();
    // Asks (plan), optionally shows the changes, then writes.
    void store(bool preview);
    void updateBands();

    Session& session_;
    MessageBoxes& boxes_;
    FileDialog& dialog_;
    std::function<void()> store_;
    QLabel* label8_ = nullptr;
    QLabel* readOnlyNote_ = nullptr;
    QLineEdit* database_ = nullptr;
    QPushButton* browse_ = nullptr;
    QFrame* beamPic_ = nullptr;
    BeamDiagram* diagram_ = nullptr;
    FilterWheelDialog* wheel_ = nullptr;
    QPushButton* cmdStore_ = nullptr;
    QPushButton* cmdAddNew_ = nullptr;
    QPushButton* cmdChanges_ = nullptr;
    QPushButton* cmdUndo_ = nullptr;
    QPushButton* cmdBands_ = nullptr;
    DetectionBandsPanel* bands_ = nullptr;
    ChangesRunner runChanges_;
    std::string lastBackup_;   // taken by this window's last completed store
    controls::HostWidget* cmdClose_ = nullptr;
    bool ended_ = false;
};

} // namespace vyr::vtx::ui
