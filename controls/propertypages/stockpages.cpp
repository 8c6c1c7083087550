#include "controls/propertypages/stockpages.h"
#include "controls/propertypages/colorpicker.h"
#include "platform/com/font.h"
#include "platform/com/picture.h"
#include <QCheckBox>
#include <QFileDialog>
#include <QFontComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace vyr::controls {

namespace {
constexpr QSize kStockSize(420, 230);
}

StockPage::StockPage(PageInfo info, const GUID& kind) : PropertyPageBase(std::move(info)), kind_(kind) {}

void StockPage::buildPanel(QWidget* panel)
{
    auto* layout = new QHBoxLayout(panel);
    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel(QStringLiteral("Properties:"), panel));
    list_ = new QListWidget(panel);
    list_->setObjectName(QStringLiteral("properties"));
    list_->setMaximumWidth(150);
    left->addWidget(list_);
    layout->addLayout(left);
    auto* area = new QWidget(panel);
    layout->addWidget(area, 1);
    buildEditor(area);
    QObject::connect(list_, &QListWidget::currentRowChanged, panel, [this] { selectionChanged(); });
}

HRESULT StockPage::showValues()
{
    pending_.clear();
    model_.clear();
    for (const auto& d : dispatches())
        model_.addDispatch(d.get()); // an object without type information adds nothing
    lines_.clear();
    if (!list_)
        return S_OK;
    const QString was = list_->currentItem() ? list_->currentItem()->text() : QString();
    list_->clear();
    for (size_t i = 0; i < model_.lines().size(); ++i)
        if (model_.lines()[i].kind == kind_ && !model_.lines()[i].readOnly) {
            lines_.push_back(i);
            list_->addItem(QString::fromStdString(model_.lines()[i].name));
        }
    const auto found = list_->findItems(was, Qt::MatchExactly);
    list_->setCurrentRow(found.isEmpty() ? (list_->count() ? 0 : -1) : list_->row(found.front()));
    selectionChanged();
    return S_OK;
}

int StockPage::selectedLine() const
{
    const int row = list_ ? list_->currentRow() : -1;
    return row >= 0 && row < int(lines_.size()) ? int(lines_[size_t(row)]) : -1;
}

com::Variant StockPage::currentValue() const
{
    const int line = selectedLine();
    if (line < 0)
        return {};
    const browser::Line& l = model_.lines()[size_t(line)];
    auto it = pending_.find(l.id);
    return it != pending_.end() ? it->second : l.value;
}

void StockPage::selectionChanged()
{
    if (selectedLine() < 0)
        return;
    const bool was = showingFlag_;
    showingFlag_ = true;
    showValue(currentValue());
    showingFlag_ = was;
}

void StockPage::edited(const com::Variant& value)
{
    const int line = selectedLine();
    if (line < 0 || showingFlag_ || showing())
        return;
    pending_[model_.lines()[size_t(line)].id] = value;
    markDirty();
}

std::vector<std::string> StockPage::propertyNames() const
{
    std::vector<std::string> out;
    for (size_t i : lines_)
        out.push_back(model_.lines()[i].name);
    return out;
}

bool StockPage::selectProperty(const std::string& name)
{
    for (size_t r = 0; r < lines_.size(); ++r)
        if (model_.lines()[lines_[r]].name == name) {
            list_->setCurrentRow(int(r));
            return true;
        }
    return false;
}

HRESULT StockPage::applyValues()
{
    HRESULT first = S_OK;
    const auto pending = pending_;
    for (const auto& [id, value] : pending) {
        for (size_t i = 0; i < model_.lines().size(); ++i)
            if (model_.lines()[i].id == id) {
                const HRESULT hr = model_.write(i, value);
                if (FAILED(hr) && SUCCEEDED(first))
                    first = hr;
                break;
            }
    }
    pending_.clear();
    return first;
}

HRESULT StockPage::focusProperty(DISPID id)
{
    for (size_t r = 0; r < lines_.size(); ++r)
        if (model_.lines()[lines_[r]].id == id) {
            list_->setCurrentRow(int(r));
            list_->setFocus();
            return S_OK;
        }
    return E_NOTIMPL;
}

// ---------------------------------------------------------------- ColorPpg

ColorPpg::ColorPpg() : StockPage({"Colors", "Color Property Page", "Color Property Page", kStockSize}, browser::kKindColor) {}

void ColorPpg::buildEditor(QWidget* area)
{
    auto* layout = new QVBoxLayout(area);
    layout->addWidget(new QLabel(QStringLiteral("Color set: palette and system colors"), area));
    picker_ = new browser::ColorPicker(area, true);
    picker_->setMinimumSize(picker_->size());
    layout->addWidget(picker_);
    layout->addStretch(1);
    QObject::connect(picker_, &browser::ColorPicker::picked, area, [this](OLE_COLOR c) {
        edited(com::Variant::fromULong(c));
        picker_->open(c);
    });
}

void ColorPpg::showValue(const com::Variant& value) { picker_->open(browser::colorValue(value).value_or(0xFFFFFFFFu)); }

// ---------------------------------------------------------------- FontPpg

FontPpg::FontPpg() : StockPage({"Fonts", "Font Property Page", "Font Property Page", kStockSize}, browser::kKindFont) {}

void FontPpg::buildEditor(QWidget* area)
{
    auto* layout = new QVBoxLayout(area);
    family_ = new QFontComboBox(area);
    family_->setObjectName(QStringLiteral("family"));
    size_ = new QSpinBox(area);
    size_->setObjectName(QStringLiteral("size"));
    size_->setRange(1, 200);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("Font:"), area));
    row->addWidget(family_, 1);
    row->addWidget(new QLabel(QStringLiteral("Size:"), area));
    row->addWidget(size_);
    layout->addLayout(row);
    auto* effects = new QHBoxLayout;
    bold_ = new QCheckBox(QStringLiteral("Bold"), area);
    italic_ = new QCheckBox(QStringLiteral("Italic"), area);
    underline_ = new QCheckBox(QStringLiteral("Underline"), area);
    strike_ = new QCheckBox(QStringLiteral("Strikeout"), area);
    for (QCheckBox* c : {bold_, italic_, underline_, strike_}) {
        c->setObjectName(c->text().toLower());
        effects->addWidget(c);
        QObject::connect(c, &QCheckBox::toggled, area, [this] { changed(); });
    }
    layout->addLayout(effects);
    sample_ = new QLabel(QStringLiteral("AaBbYyZz"), area);
    sample_->setObjectName(QStringLiteral("sample"));
    sample_->setFrameStyle(QFrame::Box | QFrame::Sunken);
    sample_->setAlignment(Qt::AlignCenter);
    sample_->setMinimumHeight(60);
    layout->addWidget(sample_, 1);
    QObject::connect(family_, &QFontComboBox::currentFontChanged, area, [this] { changed(); });
    QObject::connect(size_, &QSpinBox::valueChanged, area, [this] { changed(); });
}

QFont FontPpg::editedFont() const
{
    QFont f(family_->currentFont().family());
    f.setPointSize(size_->value());
    f.setBold(bold_->isChecked());
    f.setItalic(italic_->isChecked());
    f.setUnderline(underline_->isChecked());
    f.setStrikeOut(strike_->isChecked());
    return f;
}

void FontPpg::setFont(const QFont& font)
{
    updating_ = true;
    family_->setCurrentFont(font);
    size_->setValue(std::max(1, int(font.pointSizeF() + 0.5)));
    bold_->setChecked(font.bold());
    italic_->setChecked(font.italic());
    underline_->setChecked(font.underline());
    strike_->setChecked(font.strikeOut());
    updating_ = false;
    changed();
}

void FontPpg::changed()
{
    if (updating_)
        return;
    const QFont f = editedFont();
    sample_->setFont(f);
    com::ComPtr<IFontDisp> font;
    if (SUCCEEDED(com::createFont(f, font.put())))
        edited(com::Variant::fromDispatch(font.get()));
}

void FontPpg::showValue(const com::Variant& value)
{
    const VARIANT& v = value.get();
    const bool has = (v.vt == VT_DISPATCH || v.vt == VT_UNKNOWN) && v.punkVal;
    setFont(has ? com::qfontOf(v.punkVal) : com::qfontOf(nullptr));
}

// ---------------------------------------------------------------- PictPpg

PictPpg::PictPpg() : StockPage({"Pictures", "Picture Property Page", "Picture Property Page", kStockSize}, browser::kKindPicture) {}

void PictPpg::buildEditor(QWidget* area)
{
    auto* layout = new QVBoxLayout(area);
    auto* buttons = new QHBoxLayout;
    auto* browse = new QPushButton(QStringLiteral("&Browse..."), area);
    auto* clear = new QPushButton(QStringLiteral("&Clear"), area);
    browse->setObjectName(QStringLiteral("browse"));
    clear->setObjectName(QStringLiteral("clear"));
    buttons->addWidget(browse);
    buttons->addWidget(clear);
    buttons->addStretch(1);
    layout->addLayout(buttons);
    preview_ = new QLabel(area);
    preview_->setObjectName(QStringLiteral("preview"));
    preview_->setFrameStyle(QFrame::Box | QFrame::Sunken);
    preview_->setAlignment(Qt::AlignCenter);
    preview_->setMinimumSize(160, 120);
    layout->addWidget(preview_, 1);
    QObject::connect(browse, &QPushButton::clicked, area, [this, area] {
        const QString path = QFileDialog::getOpenFileName(area, QStringLiteral("Load Picture"), QString(),
                                                          QStringLiteral("Pictures (*.png *.bmp *.jpg *.gif *.ico)"));
        if (!path.isEmpty())
            loadFile(path);
    });
    QObject::connect(clear, &QPushButton::clicked, area, [this] { clearPicture(); });
}

bool PictPpg::loadFile(const QString& path)
{
    QImage image(path);
    com::ComPtr<IPictureDisp> pic;
    if (image.isNull() || FAILED(com::createPicture(image, pic.put())))
        return false;
    showValue(com::Variant::fromDispatch(pic.get()));
    edited(com::Variant::fromDispatch(pic.get()));
    return true;
}

void PictPpg::clearPicture()
{
    showValue(com::Variant());
    edited(com::Variant::fromDispatch(nullptr));
}

void PictPpg::showValue(const com::Variant& value)
{
    const VARIANT& v = value.get();
    const QImage image = (v.vt == VT_DISPATCH || v.vt == VT_UNKNOWN) && v.punkVal ? com::qimageOf(v.punkVal) : QImage();
    if (image.isNull()) {
        preview_->setPixmap({});
        preview_->setText(QStringLiteral("(None)"));
    } else {
        preview_->setPixmap(QPixmap::fromImage(image.scaled(preview_->minimumSize(), Qt::KeepAspectRatio)));
    }
}

HRESULT createColorPpg(REFIID iid, void** out) { return createPage<ColorPpg>(iid, out); }
HRESULT createFontPpg(REFIID iid, void** out) { return createPage<FontPpg>(iid, out); }
HRESULT createPictPpg(REFIID iid, void** out) { return createPage<PictPpg>(iid, out); }

} // namespace vyr::controls
