#include "vtx/ui/changes_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace vyr::vtx::ui {

ChangesDialog::ChangesDialog(const std::vector<RowChange>& changes, QWidget* parent) : QDialog(parent)
{
    setObjectName("ChangesDialog");
    setWindowTitle(QStringLiteral("Changes"));
    setModal(true);
    auto* caption = new QLabel(changes.empty() ? QStringLiteral("Store would change no row.")
                                               : QStringLiteral("Store would make these %1 changes:").arg(changes.size()),
                               this);
    list_ = new QListWidget(this);
    list_->setObjectName("ChangeList");
    for (const RowChange& c : changes)
        list_->addItem(QString::fromStdString(describe(c)));
    list_->setMinimumSize(620, 300);
    store_ = new QPushButton(QStringLiteral("Store"), this);
    store_->setObjectName("CmdStore");
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName("CmdClose");
    close->setDefault(true);
    connect(store_, &QPushButton::clicked, this, &QDialog::accept);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(store_);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(caption);
    layout->addWidget(list_, 1);
    layout->addLayout(buttons);
}

} // namespace vyr::vtx::ui
