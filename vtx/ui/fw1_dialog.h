#pragma once
// FW1Frm: the modal dialog in which the user picks the filter-wheel place for "VTX LP680".
// OK accepts a place (checked by FilterWheelChoice), which Store then writes; every other way
// of closing it is a cancel.
#include "vtx/model/filterwheel.h"

#include <QDialog>
#include <memory>

class QLineEdit;
class QMenu;

namespace vyr::vtx::ui {

class FW1Frm : public QDialog {
    Q_OBJECT
public:
    FW1Frm(dao::Database& db, MessageBoxes& boxes, QWidget* parent = nullptr);
    ~FW1Frm() override;

    std::optional<int> chosen() const { return chosen_; }
    QMenu* menu() const { return menu_; }   // FW1Mnu
    void ok();                              // CmdOK

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    std::unique_ptr<FilterWheelChoice> choice_;
    MessageBoxes& boxes_;
    QLineEdit* posTxt_ = nullptr;
    QMenu* menu_ = nullptr;
    QWidget* picture_ = nullptr;
    std::optional<int> chosen_;
};

// Store's filter-wheel dialog as a real modal window.
class QtFilterWheelDialog : public FilterWheelDialog {
public:
    explicit QtFilterWheelDialog(QWidget* parent = nullptr) : parent_(parent) {}
    std::optional<int> choosePlace(dao::Database& db, MessageBoxes& boxes) override;

private:
    QWidget* parent_;
};

} // namespace vyr::vtx::ui
