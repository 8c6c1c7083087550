#pragma once
// "Changes…": the row changes Store would make, one a line, with Store and Close. Store
// accepts the dialog; Close, Escape and the window frame reject it.
#include "vtx/model/row_changes.h"

#include <QDialog>
#include <vector>

class QListWidget;
class QPushButton;

namespace vyr::vtx::ui {

class ChangesDialog : public QDialog {
    Q_OBJECT
public:
    ChangesDialog(const std::vector<RowChange>& changes, QWidget* parent = nullptr);
    QListWidget* list() const { return list_; }
    QPushButton* storeButton() const { return store_; }

private:
    QListWidget* list_ = nullptr;
    QPushButton* store_ = nullptr;
};

} // namespace vyr::vtx::ui
