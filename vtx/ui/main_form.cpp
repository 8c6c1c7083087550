#include "vtx/ui/main_form.h"

#include "controls/core/host.h"
#include "vtx/model/closing.h"
#include "vtx/model/backups.h"
#include "vtx/model/store_undo.h"
#include "vtx/model/tool.h"
#include "vtx/ui/bands_panel.h"
#include "vtx/ui/changes_dialog.h"
#include "vtx/ui/diagram.h"
#include "vtx/ui/close_button.h"
#include "vtx/ui/form_position.h"
#include "vtx/ui/fw1_dialog.h"
#include "vtx/ui/new_filters.h"

#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vyr::vtx::ui {

namespace {

constexpr const char* kFormName = "VTXControlForm";
constexpr const char* kCaption = "Emission Filter & Beam Splitter Setup";

} // namespace

VTXControlForm::VTXControlForm(Session& session, MessageBoxes& boxes, FileDialog& dialog, QWidget* parent)
    : QWidget(parent), session_(session), boxes_(boxes), dialog_(dialog)
{
    setObjectName(kFormName);
    setWindowTitle(QString::fromUtf8(kCaption));

    label8_ = new QLabel(QStringLiteral("System Database:"), this);
    label8_->setObjectName("Label8");
    database_ = new QLineEdit(this);
    database_->setObjectName("Database");
    database_->setReadOnly(true);
    browse_ = new QPushButton(QStringLiteral("Browse"), this);
    browse_->setObjectName("Browse");
    connect(browse_, &QPushButton::clicked, this, &VTXControlForm::browse);

    // The light-path diagram is drawn into this box.
    beamPic_ = new QFrame(this);
    beamPic_->setObjectName("BeamPic");
    beamPic_->setFrameShape(QFrame::Panel);
    beamPic_->setFrameShadow(QFrame::Sunken);
    beamPic_->setAutoFillBackground(true);
    QPalette pal = beamPic_->palette();
    pal.setColor(QPalette::Window, Qt::white);
    beamPic_->setPalette(pal);
    beamPic_->setMinimumSize(640, 420);
    diagram_ = new BeamDiagram(beamPic_);
    auto* diagramLayout = new QVBoxLayout(beamPic_);
    diagramLayout->setContentsMargins(2, 2, 2, 2);
    diagramLayout->addWidget(diagram_);
    connect(diagram_, &BeamDiagram::edited, this, &VTXControlForm::onEdited);
    store_ = [this] { storeConfiguration(); };

    cmdStore_ = new QPushButton(QStringLiteral("Store"), this);
    cmdStore_->setObjectName("CmdStore");
    cmdStore_->setEnabled(false);
    connect(cmdStore_, &QPushButton::clicked, this, &VTXControlForm::storeConfiguration);

    cmdChanges_ = new QPushButton(QStringLiteral("Changes\u2026"), this);
    cmdChanges_->setObjectName("CmdChanges");
    cmdChanges_->setEnabled(false);
    connect(cmdChanges_, &QPushButton::clicked, this, &VTXControlForm::showChanges);

    cmdUndo_ = new QPushButton(QStringLiteral("Undo last Store"), this);
    cmdUndo_->setObjectName("CmdUndo");
    cmdUndo_->setEnabled(false);
    connect(cmdUndo_, &QPushButton::clicked, this, &VTXControlForm::undoLastStore);

    cmdBands_ = new QPushButton(QStringLiteral("Bands\u2026"), this);
    cmdBands_->setObjectName("CmdBands");
    connect(cmdBands_, &QPushButton::clicked, this, &VTXControlForm::showBands);

    cmdAddNew_ = new QPushButton(QStringLiteral("Add New"), this);
    cmdAddNew_->setObjectName("CmdAddNew");
    connect(cmdAddNew_, &QPushButton::clicked, this, &VTXControlForm::addNewFilters);

    cmdClose_ = makeCloseButton(this, cmdStore_->sizeHint().expandedTo(QSize(90, 28)), [this] { closeTool(); });

    // Said at start for a database the tool may not write: the form is then read-only.
    readOnlyNote_ = new QLabel(this);
    readOnlyNote_->setObjectName("ReadOnlyNote");
    readOnlyNote_->setWordWrap(true);
    readOnlyNote_->setStyleSheet(QStringLiteral("QLabel { color: #a00000; font-weight: bold; }"));
    readOnlyNote_->hide();

    auto* top = new QHBoxLayout;
    top->addWidget(label8_);
    top->addWidget(database_, 1);
    top->addWidget(browse_);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(cmdAddNew_);
    bottom->addWidget(cmdUndo_);
    bottom->addWidget(cmdBands_);
    bottom->addStretch(1);
    bottom->addWidget(cmdChanges_);
    bottom->addWidget(cmdStore_);
    bottom->addWidget(cmdClose_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(readOnlyNote_);
    layout->addWidget(beamPic_, 1);
    layout->addLayout(bottom);

    restorePosition();
}

VTXControlForm::~VTXControlForm() = default;

bool VTXControlForm::closeButtonIsControl() const
{
    return cmdClose_->control() != nullptr;
}

bool VTXControlForm::start(const std::string& path)
{
    database_->setText(QString::fromStdString(path));
    Session::Start result = session_.start(path);
    if (result == Session::Start::Quit) {
        closeTool();
        return false;
    }
    showDiagram(result == Session::Start::Ready);
    if (result == Session::Start::Ready && !loadDiagram())
        return false;
    applyAccess();
    browse_->setVisible(session_.launch() == Launch::Selectable);
    return true;
}

void VTXControlForm::browse()
{
    switch (session_.browse(dialog_)) {
    case Session::Pick::Unchanged:
        break;
    case Session::Pick::Refused:
        diagram_->editor().setChanged(false);   // the session cleared its flag too
        cmdStore_->setEnabled(false);
        cmdChanges_->setEnabled(false);
        break;
    case Session::Pick::Loaded:
        lastBackup_.clear();   // the backup belongs to the database that was open
        cmdUndo_->setEnabled(false);
        database_->setText(QString::fromStdString(session_.path()));
        showDiagram(true);
        reloadDiagram();
        break;
    }
}

void VTXControlForm::showDiagram(bool shown)
{
    beamPic_->setVisible(shown);
    cmdAddNew_->setEnabled(shown && writable());
    cmdBands_->setEnabled(shown);
}

bool VTXControlForm::writable() const
{
    return session_.readOnlyNote().empty();
}

void VTXControlForm::applyAccess()
{
    // A freshly loaded database: nothing to store yet; a read-only one never offers a write.
    const bool canWrite = writable();
    readOnlyNote_->setText(QString::fromStdString(session_.readOnlyNote()));
    readOnlyNote_->setVisible(!canWrite);
    diagram_->setReadOnly(!canWrite);
    cmdAddNew_->setEnabled(canWrite && beamPic_->isVisibleTo(this));
    cmdStore_->setEnabled(false);
    cmdChanges_->setEnabled(false);
    cmdUndo_->setEnabled(canWrite && !lastBackup_.empty());
}

void VTXControlForm::showBands()
{
    if (!bands_)
        bands_ = new DetectionBandsPanel(this);
    updateBands();
    bands_->show();
    bands_->raise();
}

void VTXControlForm::updateBands()
{
    if (!bands_)
        return;
    try {
        bands_->showBands(diagram_->editor().configuration(), readSpectra(session_.database()));
    } catch (const std::exception&) {
        // The catalogue cannot be read now: the panel keeps what it showed.
    }
}

bool VTXControlForm::loadDiagram()
{
    try {
        diagram_->load(session_.database(), session_.version());
    } catch (const std::exception& e) {
        // A database the diagram cannot be read from ends the tool.
        boxes_.report(e);
        endProgram();
        return false;
    }
    session_.setChanged(false);
    updateBands();
    return true;
}

void VTXControlForm::onEdited()
{
    bool changed = diagram_->editor().changed();
    session_.setChanged(changed);
    updateBands();
    if (changed && writable()) {
        cmdStore_->setEnabled(true);
        cmdChanges_->setEnabled(true);
    }
}

void VTXControlForm::storeConfiguration()
{
    store(false);
}

void VTXControlForm::showChanges()
{
    store(true);
}

void VTXControlForm::store(bool preview)
{
    if (!writable())
        return;
    cmdClose_->setProperty("Enabled", com::Variant::fromBool(false));
    QtFilterWheelDialog shown(this);
    ConfigurationEditor& editor = diagram_->editor();
    dao::Database& db = session_.database();
    try {
        // The questions and the dialog are answered with no lock held; then one short write.
        StorePlan plan = planStore(db, session_.version(), editor.configuration(), boxes_, wheel_ ? *wheel_ : shown);
        bool go = true;
        if (preview && plan.result == StoreResult::Completed) {
            std::vector<RowChange> changes = previewStore(db, session_.version(), editor.configuration(), plan);
            if (runChanges_) {
                go = runChanges_(changes);
            } else {
                ChangesDialog dialog(changes, this);
                go = dialog.exec() == QDialog::Accepted;
            }
        }
        std::string backup;
        if (go && storeKeepingUndo(db, session_.version(), editor, plan, boxes_, &backup) == StoreResult::Completed)
            lastBackup_ = backup;
    } catch (const std::exception& e) {
        boxes_.report(e);   // rolled back: nothing of the store was written
    }
    cmdClose_->setProperty("Enabled", com::Variant::fromBool(true));
    session_.setChanged(editor.changed());
    cmdStore_->setEnabled(editor.changed());
    cmdChanges_->setEnabled(editor.changed());
    cmdUndo_->setEnabled(!lastBackup_.empty());
    diagram_->refresh();
    updateBands();
}

void VTXControlForm::undoLastStore()
{
    if (lastBackup_.empty() || !writable())
        return;
    if (boxes_.show(kUndoQuestion, kDefaultCaption, Buttons::YesNo) != Answer::Yes)
        return;
    UndoAttempt attempt;
    try {
        attempt = undoStore(session_.database(), lastBackup_);
    } catch (const std::exception& e) {
        boxes_.report(e);   // rolled back: nothing was undone
        return;
    }
    switch (attempt.result) {
    case UndoResult::Undone:
        lastBackup_.clear();
        break;
    case UndoResult::NothingToUndo:
        boxes_.inform(kNothingToUndo);
        lastBackup_.clear();
        break;
    case UndoResult::Refused:
        // Only on an explicit second choice does the whole file go back, later changes and all.
        if (boxes_.show(undoRefusal(attempt.conflicts) + "\n\n" + kRestoreOffer, kDefaultCaption, Buttons::YesNo) !=
            Answer::Yes)
            return;
        if (!restoreWholeFile())
            return;
        break;
    }
    cmdUndo_->setEnabled(!lastBackup_.empty());
    reloadDiagram();
}

bool VTXControlForm::restoreWholeFile()
{
    session_.closeDatabase();
    bool restored = true;
    try {
        restoreBackup(session_.path(), lastBackup_);
        lastBackup_.clear();
    } catch (const std::exception& e) {
        boxes_.report(e);   // the database is as it was: the restore replaces it whole or not at all
        restored = false;
    }
    try {
        session_.reopen();
    } catch (const std::exception& e) {
        boxes_.report(e);
        endProgram();
        return false;
    }
    return restored;
}

void VTXControlForm::reloadDiagram()
{
    if (loadDiagram())
        applyAccess();
}

void VTXControlForm::addNewFilters()
{
    if (!writable())
        return;
    // The editor shares the open database; its new names join the diagram's menus.
    try {
        NewFilters dialog(session_.database(), diagram_->editor(), boxes_, this);
        dialog.exec();
    } catch (const std::exception& e) {
        boxes_.report(e);
    }
}

bool VTXControlForm::closeTool()
{
    if (ended_)
        return true;
    switch (decideClose(session_.changed(), boxes_)) {
    case CloseAction::Stay:
        return false;
    case CloseAction::StoreThenClose:
        if (!store_)
            return false;
        store_();
        if (session_.changed())
            return false;   // the store was refused or cancelled: the edits stay on screen
        break;
    case CloseAction::Close:
        break;
    }
    endProgram();
    return true;
}

void VTXControlForm::endProgram()
{
    if (ended_)
        return;
    ended_ = true;
    session_.closeDatabase();
    savePosition();
    emit finished();
}

void VTXControlForm::closeEvent(QCloseEvent* e)
{
    // Closing by the window frame saves the position and ends, without the question.
    endProgram();
    e->accept();
}

void VTXControlForm::bringToFront()
{
    if (isMinimized())
        showNormal();
    show();
    raise();
    activateWindow();
}

void VTXControlForm::restorePosition()
{
    restoreFormPosition(*this, kFormName);
}

void VTXControlForm::savePosition()
{
    saveFormPosition(*this, kFormName);
}

} // namespace vyr::vtx::ui
