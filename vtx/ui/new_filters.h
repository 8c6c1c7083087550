#pragma once
// NewFilters ("Add New Filter & Splitters"): the modal dialog of the filter catalogue editor.
// It shows the FilterCatalogue's list and the description boxes and forwards every button to
// it; the two group boxes are Frame controls and Close is a Button control of the control
// library. It works on the program's one open database.
#include "vtx/model/filtercatalogue.h"

#include <QDialog>
#include <array>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace vyr::controls { class HostWidget; }

namespace vyr::vtx::ui {

class NewFilters : public QDialog {
    Q_OBJECT
public:
    NewFilters(dao::Database& db, ConfigurationEditor& editor, MessageBoxes& boxes, QWidget* parent = nullptr);
    ~NewFilters() override;

    FilterCatalogue& catalogue() { return catalogue_; }
    FilterEntry entry() const;   // what the boxes hold
    QTreeWidget* list() const { return lvObj_; }
    controls::HostWidget* closeButton() const { return cmdClose_; }

    void apply();        // CmdApply
    void removeSelected();   // CmdDel
    void clearForm();    // CmdReset
    void closeDialog();  // CmdClose
    void reject() override;   // Escape and the window frame: as Close

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    QLineEdit* box(const char* name, QWidget* parent);
    void typeChanged();
    void nonHalvernToggled(bool checked);
    void selectionChanged();
    void fill(const FilterEntry& e);
    void refreshList(const std::string& select = {});
    void enterPressed(QLineEdit* from);
    void restorePosition();
    void savePosition();

    FilterCatalogue catalogue_;
    MessageBoxes& boxes_;
    controls::HostWidget* frame1_ = nullptr;
    controls::HostWidget* frame2_ = nullptr;
    QTreeWidget* lvObj_ = nullptr;
    QPushButton* cmdDel_ = nullptr;
    QLineEdit* filterName_ = nullptr;
    QLineEdit* code_ = nullptr;
    QLineEdit* summary_ = nullptr;
    QLineEdit* producer_ = nullptr;
    QCheckBox* check1_ = nullptr;
    QComboBox* cmbType_ = nullptr;
    QComboBox* cmbSpectral_ = nullptr;
    QLineEdit* lower_ = nullptr;
    QLineEdit* center_ = nullptr;
    QLineEdit* upper_ = nullptr;
    QLineEdit* cutOff_ = nullptr;
    std::array<QLabel*, 4> wavelengthLabels_{};   // lower, centre, upper, cut-off
    QPushButton* cmdApply_ = nullptr;
    QPushButton* cmdReset_ = nullptr;
    controls::HostWidget* cmdClose_ = nullptr;
    bool filling_ = false;
};

} // namespace vyr::vtx::ui
