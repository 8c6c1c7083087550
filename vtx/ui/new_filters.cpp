#include "vtx/ui/new_filters.h"

#include "controls/core/host.h"
#include "controls/core/vyrcontrols.h"
#include "platform/com/guid.h"
#include "vtx/model/tool.h"
#include "vtx/ui/close_button.h"
#include "vtx/ui/form_position.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace vyr::vtx::ui {

namespace {

constexpr const char* kFormName = "NewFilters";

QString q(const std::string& s)
{
    return QString::fromStdString(s);
}

std::string s(const QString& text)
{
    return text.toStdString();
}

// A group box: a Frame control with the group's widgets laid out over it, below its caption.
controls::HostWidget* frame(const char* name, const char* caption, QWidget* parent)
{
    auto* f = new controls::HostWidget(parent);
    f->setObjectName(name);
    if (SUCCEEDED(f->create(com::formatGuid(controls::CLSID_Frame))))
        f->setProperty("Caption", com::Variant::fromString(caption));
    return f;
}

} // namespace

NewFilters::NewFilters(dao::Database& db, ConfigurationEditor& editor, MessageBoxes& boxes, QWidget* parent)
    : QDialog(parent), catalogue_(db, &editor), boxes_(boxes)
{
    setObjectName(kFormName);
    setWindowTitle(QStringLiteral("Add New Filter & Splitters"));
    setModal(true);

    frame2_ = frame("Frame2", "New VTX Filters", this);
    lvObj_ = new QTreeWidget(frame2_);
    lvObj_->setObjectName("LVObj");
    lvObj_->setRootIsDecorated(false);
    lvObj_->setColumnCount(2);
    lvObj_->setHeaderLabels({QStringLiteral("ID Potential"), QStringLiteral("Summary")});
    lvObj_->header()->resizeSection(0, 130);
    connect(lvObj_, &QTreeWidget::itemSelectionChanged, this, &NewFilters::selectionChanged);
    cmdDel_ = new QPushButton(QStringLiteral("Remove"), frame2_);
    cmdDel_->setObjectName("CmdDel");
    cmdDel_->setEnabled(false);
    connect(cmdDel_, &QPushButton::clicked, this, &NewFilters::removeSelected);
    auto* l2 = new QVBoxLayout(frame2_);
    l2->setContentsMargins(10, 26, 10, 10);
    l2->addWidget(lvObj_, 1);
    l2->addWidget(cmdDel_, 0, Qt::AlignRight);

    frame1_ = frame("Frame1", "VTX Filter Description", this);
    auto* g = new QGridLayout(frame1_);
    g->setContentsMargins(10, 26, 10, 10);
    auto label = [&](const char* text, int row, int col) {
        auto* l = new QLabel(QString::fromUtf8(text), frame1_);
        g->addWidget(l, row, col);
        return l;
    };
    label("Name", 0, 0);
    filterName_ = box("FilterName", frame1_);
    g->addWidget(filterName_, 0, 1, 1, 3);
    label("Series Number", 1, 0);
    code_ = box("Code", frame1_);
    g->addWidget(code_, 1, 1, 1, 3);
    label("Summary", 2, 0);
    summary_ = box("Summary", frame1_);
    g->addWidget(summary_, 2, 1, 1, 3);
    label("Producer", 3, 0);
    producer_ = box("Producer", frame1_);
    producer_->setText(kHalvern);
    producer_->setEnabled(false);
    g->addWidget(producer_, 3, 1, 1, 2);
    check1_ = new QCheckBox(QStringLiteral("Non Halvern"), frame1_);
    check1_->setObjectName("Check1");
    connect(check1_, &QCheckBox::toggled, this, &NewFilters::nonHalvernToggled);
    g->addWidget(check1_, 3, 3);
    label("Type", 4, 0);
    cmbType_ = new QComboBox(frame1_);
    cmbType_->setObjectName("CmbType");
    for (const char* t : kFilterTypes)
        cmbType_->addItem(t);
    g->addWidget(cmbType_, 4, 1);
    label("Spectral Type", 4, 2);
    cmbSpectral_ = new QComboBox(frame1_);
    cmbSpectral_->setObjectName("CmbSpectral");
    for (const char* t : kSpectralTypes)
        cmbSpectral_->addItem(t);
    g->addWidget(cmbSpectral_, 4, 3);
    wavelengthLabels_[0] = label("Lower Wavelength", 5, 0);
    lower_ = box("Lower", frame1_);
    g->addWidget(lower_, 5, 1);
    wavelengthLabels_[1] = label("Center Wavelength", 6, 0);
    center_ = box("Center", frame1_);
    g->addWidget(center_, 6, 1);
    wavelengthLabels_[2] = label("Upper Wavelength", 7, 0);
    upper_ = box("Upper", frame1_);
    g->addWidget(upper_, 7, 1);
    wavelengthLabels_[3] = label("Cut Off Wavelength", 5, 2);
    cutOff_ = box("Cut_Off", frame1_);
    g->addWidget(cutOff_, 5, 3);
    cmdApply_ = new QPushButton(QStringLiteral("Apply"), frame1_);
    cmdApply_->setObjectName("CmdApply");
    cmdApply_->setAutoDefault(false);
    connect(cmdApply_, &QPushButton::clicked, this, &NewFilters::apply);
    cmdReset_ = new QPushButton(QStringLiteral("Clear"), frame1_);
    cmdReset_->setObjectName("CmdReset");
    cmdReset_->setAutoDefault(false);
    cmdReset_->setEnabled(false);
    connect(cmdReset_, &QPushButton::clicked, this, &NewFilters::clearForm);
    g->addWidget(cmdApply_, 7, 2);
    g->addWidget(cmdReset_, 7, 3);
    cmdDel_->setAutoDefault(false);
    connect(cmbType_, &QComboBox::currentIndexChanged, this, &NewFilters::typeChanged);

    cmdClose_ = makeCloseButton(this, QSize(90, 28), [this] { closeDialog(); });

    auto* top = new QHBoxLayout;
    top->addWidget(frame2_, 2);
    top->addWidget(frame1_, 3);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(cmdClose_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(bottom);
    resize(820, 330);

    // Load: the list of customer-added filters, both combo boxes at their first entry.
    restorePosition();
    catalogue_.load();
    refreshList();
    cmbType_->setCurrentIndex(0);
    cmbSpectral_->setCurrentIndex(0);
    typeChanged();
}

NewFilters::~NewFilters() = default;

QLineEdit* NewFilters::box(const char* name, QWidget* parent)
{
    auto* b = new QLineEdit(parent);
    b->setObjectName(name);
    b->installEventFilter(this);
    return b;
}

FilterEntry NewFilters::entry() const
{
    FilterEntry e;
    e.name = s(filterName_->text());
    e.code = s(code_->text());
    e.summary = s(summary_->text());
    e.lower = s(lower_->text());
    e.center = s(center_->text());
    e.upper = s(upper_->text());
    e.cutOff = s(cutOff_->text());
    e.producer = s(producer_->text());
    e.type = s(cmbType_->currentText());
    e.spectral = s(cmbSpectral_->currentText());
    return e;
}

void NewFilters::typeChanged()
{
    WavelengthBoxes w = wavelengthBoxes(s(cmbType_->currentText()));
    std::array<QLineEdit*, 3> band{lower_, center_, upper_};
    for (size_t i = 0; i < band.size(); ++i) {
        if (!w.band)
            band[i]->clear();
        band[i]->setEnabled(w.band);
        wavelengthLabels_[i]->setEnabled(w.band);
    }
    if (!w.cutOff)
        cutOff_->clear();
    cutOff_->setEnabled(w.cutOff);
    wavelengthLabels_[3]->setEnabled(w.cutOff);
}

void NewFilters::nonHalvernToggled(bool checked)
{
    producer_->setEnabled(checked);
    if (filling_)
        return;
    producer_->setText(checked ? QString() : QString(kHalvern));
}

bool NewFilters::eventFilter(QObject* watched, QEvent* e)
{
    if (e->type() == QEvent::KeyPress) {
        int key = static_cast<QKeyEvent*>(e)->key();
        auto* box = qobject_cast<QLineEdit*>(watched);
        if (box && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
            enterPressed(box);
            return true;
        }
    }
    return QDialog::eventFilter(watched, e);
}

void NewFilters::enterPressed(QLineEdit* from)
{
    QWidget* next = nullptr;
    std::string type = s(cmbType_->currentText());
    if (from == filterName_)
        next = code_;
    else if (from == code_)
        next = summary_;
    else if (from == summary_)
        next = type == "BP" ? lower_ : (type == "LP" || type == "KP") ? static_cast<QWidget*>(cutOff_) : nullptr;
    else if (from == lower_)
        next = center_;
    else if (from == center_)
        next = upper_;
    else if (from == upper_ || from == cutOff_)
        next = cmdApply_;
    if (next)
        next->setFocus();
    if (!from->text().isEmpty())
        cmdReset_->setEnabled(true);
    else if (filterName_->text().isEmpty() && code_->text().isEmpty() && summary_->text().isEmpty())
        cmdReset_->setEnabled(false);
}

void NewFilters::apply()
{
    cmdReset_->setEnabled(true);
    FilterEntry e = entry();
    if (catalogue_.apply(e, boxes_))
        refreshList(e.name);
}

void NewFilters::refreshList(const std::string& select)
{
    filling_ = true;
    lvObj_->clear();
    for (const ListedFilter& f : catalogue_.listed()) {
        auto* item = new QTreeWidgetItem(lvObj_, {q(f.name), q(f.summary)});
        if (f.name == select)
            lvObj_->setCurrentItem(item);
    }
    filling_ = false;
    cmdDel_->setEnabled(lvObj_->currentItem() != nullptr);
}

void NewFilters::selectionChanged()
{
    if (filling_)
        return;
    QTreeWidgetItem* item = lvObj_->currentItem();
    if (!item)
        return;
    cmdDel_->setEnabled(true);
    cmdReset_->setEnabled(true);
    if (auto e = catalogue_.entryFor(s(item->text(0))))
        fill(*e);
}

void NewFilters::fill(const FilterEntry& e)
{
    filling_ = true;
    check1_->setChecked(e.producer != kHalvern);
    producer_->setText(q(e.producer));
    filterName_->setText(q(e.name));
    code_->setText(q(e.code));
    summary_->setText(q(e.summary));
    std::vector<std::string> types(kFilterTypes.begin(), kFilterTypes.end());
    cmbType_->setCurrentIndex(tool::comboIndexFor(types, e.type, cmbType_->currentIndex()));
    typeChanged();
    int spectral = cmbSpectral_->findText(q(e.spectral));
    if (spectral >= 0)
        cmbSpectral_->setCurrentIndex(spectral);
    lower_->setText(q(e.lower));
    center_->setText(q(e.center));
    upper_->setText(q(e.upper));
    cutOff_->setText(q(e.cutOff));
    filling_ = false;
}

void NewFilters::removeSelected()
{
    QTreeWidgetItem* item = lvObj_->currentItem();
    if (!item)
        return;
    if (catalogue_.remove(s(item->text(0)), boxes_) == FilterCatalogue::Removal::Refused)
        return;
    refreshList();
    if (lvObj_->topLevelItemCount() == 0) {
        cmdDel_->setEnabled(false);
    } else {
        lvObj_->setCurrentItem(lvObj_->topLevelItem(0));
        lvObj_->setFocus();
    }
}

void NewFilters::clearForm()
{
    filling_ = true;
    check1_->setChecked(false);
    filling_ = false;
    producer_->setText(kHalvern);
    for (QLineEdit* b : {filterName_, code_, summary_, lower_, center_, upper_, cutOff_})
        b->clear();
    typeChanged();
    cmdReset_->setEnabled(false);
    filterName_->setFocus();
}

void NewFilters::closeDialog()
{
    // Pending records that could not be written stay, and so does the dialog.
    if (catalogue_.hasPending() && !catalogue_.writePending(boxes_))
        return;
    bool listed = false;
    for (const ListedFilter& f : catalogue_.listed())
        listed |= f.name == s(filterName_->text());
    if (!listed)
        clearForm();
    savePosition();
    hide();
    accept();
}

void NewFilters::reject()
{
    // Escape and the window frame close as Close does, so that no applied record is lost.
    closeDialog();
}
void NewFilters::restorePosition()
{
    restoreFormPosition(*this, kFormName);
}

void NewFilters::savePosition()
{
    saveFormPosition(*this, kFormName);
}

} // namespace vyr::vtx::ui
