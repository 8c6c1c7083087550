#include "vtx/ui/fw1_dialog.h"

#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>

namespace vyr::vtx::ui {

FW1Frm::FW1Frm(dao::Database& db, MessageBoxes& boxes, QWidget* parent)
    : QDialog(parent), choice_(std::make_unique<FilterWheelChoice>(db)), boxes_(boxes)
{
    setObjectName("FW1Frm");
    setWindowTitle(QStringLiteral("FW1"));
    setModal(true);

    auto* picture = new QLabel(QStringLiteral("FW1  \u25CE  VTX LP680"), this);
    picture->setObjectName("PicBeamSplitter");
    picture->setFrameShape(QFrame::Box);
    picture->setAlignment(Qt::AlignCenter);
    picture->setMinimumSize(160, 60);
    picture->setCursor(Qt::PointingHandCursor);
    picture->installEventFilter(this);
    picture_ = picture;

    auto* label1 = new QLabel(QStringLiteral("No free Position in FW1 !"), this);
    label1->setObjectName("Label1");
    auto* label3 = new QLabel(QStringLiteral("Position:"), this);
    label3->setObjectName("Label3");
    posTxt_ = new QLineEdit(this);
    posTxt_->setObjectName("PosTxt");
    auto* okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setObjectName("CmdOK");
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName("Command2");
    connect(okButton, &QPushButton::clicked, this, &FW1Frm::ok);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    menu_ = new QMenu(this);
    menu_->setObjectName("FW1Mnu");
    const auto& items = choice_->items();
    for (size_t k = 0; k < items.size(); ++k) {
        QAction* a = menu_->addAction(QString::fromStdString(items[k]));
        a->setObjectName(QStringLiteral("MnuItem%1").arg(k));
        connect(a, &QAction::triggered, this, [this, k] { posTxt_->setText(QString::fromStdString(choice_->positionText(k))); });
    }

    auto* grid = new QGridLayout(this);
    grid->addWidget(picture, 0, 0, 1, 3);
    grid->addWidget(label1, 1, 0, 1, 3);
    grid->addWidget(label3, 2, 0);
    grid->addWidget(posTxt_, 2, 1, 1, 2);
    grid->addWidget(okButton, 3, 1);
    grid->addWidget(cancel, 3, 2);
}

FW1Frm::~FW1Frm() = default;

bool FW1Frm::eventFilter(QObject* o, QEvent* e)
{
    if (o == picture_ && e->type() == QEvent::MouseButtonPress) {
        menu_->popup(static_cast<QMouseEvent*>(e)->globalPosition().toPoint());
        return true;
    }
    return QDialog::eventFilter(o, e);
}

void FW1Frm::ok()
{
    if (auto place = choice_->accept(posTxt_->text().trimmed().toStdString(), boxes_)) {
        chosen_ = place;
        accept();
    }
}

std::optional<int> QtFilterWheelDialog::choosePlace(dao::Database& db, MessageBoxes& boxes)
{
    FW1Frm dialog(db, boxes, parent_);
    dialog.exec();
    return dialog.chosen();
}

} // namespace vyr::vtx::ui
