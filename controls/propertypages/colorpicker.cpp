#include "controls/propertypages/colorpicker.h"
#include "controls/core/usersettings.h"
#include "platform/gdi/syscolors.h"
#include <QColorDialog>
#include <QKeyEvent>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <cstdio>

namespace vyr::controls::browser {

namespace {

constexpr const char* kSection = "Property Browser";
constexpr int kCell = 18;
constexpr int kGrid = 8;
constexpr int kCustomFirst = 48;

// Six rows of the fixed palette, 0x00BBGGRR.
constexpr OLE_COLOR kPalette[48] = {
    0xFFFFFF, 0xC0C0C0, 0x808080, 0x404040, 0x000000, 0x0000FF, 0x000080, 0x004080,
    0x8080FF, 0x0080FF, 0x00FFFF, 0x00FF80, 0x00FF00, 0x008000, 0x408000, 0x808000,
    0xFFFF00, 0xFF8000, 0xFF0000, 0x800000, 0x800080, 0xFF0080, 0xFF00FF, 0x8000FF,
    0xC0C0FF, 0x80C0FF, 0x80FFFF, 0x80FF80, 0xC0FFC0, 0xFFFF80, 0xFFC080, 0xFF80C0,
    0x000040, 0x004040, 0x004000, 0x404000, 0x400000, 0x400040, 0x202020, 0x606060,
    0xE0E0E0, 0x0040C0, 0x40C0FF, 0xC0FF40, 0xC08040, 0xC04080, 0x8040C0, 0xA0A0A0,
};

std::string keyName(int index)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "CustomColor %d", index + 1);
    return buf;
}

} // namespace

CustomColors loadCustomColors()
{
    CustomColors c{};
    for (int i = 0; i < 16; ++i)
        c[size_t(i)] = UserSettings::ReadHex(kSection, keyName(i).c_str(), 0xFFFFFF, 0, 0xFFFFFF);
    return c;
}

void saveCustomColor(int index, OLE_COLOR color)
{
    if (index >= 0 && index < 16)
        UserSettings::WriteHex(kSection, keyName(index).c_str(), color & 0xFFFFFF);
}

OLE_COLOR gridColor(int cell, const CustomColors& custom)
{
    if (cell < 0 || cell >= 64)
        return 0;
    return cell < kCustomFirst ? kPalette[cell] : custom[size_t(cell - kCustomFirst)];
}

ColorPicker::ColorPicker(QWidget* owner, bool embedded) : QWidget(owner, embedded ? Qt::Widget : Qt::Popup)
{
    setObjectName(QStringLiteral("colorPicker"));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, gdi::SysColor(gdi::COLOR_WINDOW));
    setPalette(pal);
    list_ = new QListWidget(this);
    for (int i = 0; i < gdi::kSysColorCount; ++i)
        if (const char* name = gdi::SysColorName(i)) {
            auto* item = new QListWidgetItem(QString::fromUtf8(name), list_);
            item->setData(Qt::UserRole, i);
            QPixmap swatch(12, 12);
            swatch.fill(gdi::SysColor(i));
            item->setIcon(QIcon(swatch));
        }
    const int gridSide = kGrid * kCell + 4;
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list_->setGeometry(gridSide + 4, 2, 190, gridSide - 4);
    resize(gridSide + 198, gridSide);
    connect(list_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { chooseSystem(item->data(Qt::UserRole).toInt()); });
    connect(list_, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { chooseSystem(item->data(Qt::UserRole).toInt()); });
}

void ColorPicker::open(OLE_COLOR current)
{
    custom_ = loadCustomColors();
    cell_ = -1;
    list_->clearSelection();
    list_->setCurrentItem(nullptr);
    if (current & 0x80000000u) {
        const int index = int(current & 0xFFFF);
        for (int i = 0; i < list_->count(); ++i)
            if (list_->item(i)->data(Qt::UserRole).toInt() == index) {
                list_->setCurrentRow(i);
                list_->scrollToItem(list_->item(i));
            }
    } else {
        for (int c = 0; c < 64 && cell_ < 0; ++c)
            if (gridColor(c, custom_) == current)
                cell_ = c;
    }
    update();
}

int ColorPicker::selectedSystemColor() const
{
    QListWidgetItem* item = list_->currentItem();
    return item && item->isSelected() ? item->data(Qt::UserRole).toInt() : -1;
}

void ColorPicker::setCustomColor(int index, OLE_COLOR color)
{
    if (index < 0 || index >= 16)
        return;
    custom_[size_t(index)] = color & 0xFFFFFF;
    saveCustomColor(index, color);
    cell_ = kCustomFirst + index;
    update();
}

QRect ColorPicker::cellRect(int cell) const
{
    return QRect(2 + (cell % kGrid) * kCell, 2 + (cell / kGrid) * kCell, kCell, kCell);
}

int ColorPicker::cellAt(QPoint p) const
{
    for (int c = 0; c < 64; ++c)
        if (cellRect(c).contains(p))
            return c;
    return -1;
}

void ColorPicker::chooseCell(int cell)
{
    if (cell < 0 || cell >= 64)
        return;
    cell_ = cell;
    update();
    emit picked(gridColor(cell, custom_));
}

void ColorPicker::chooseSystem(int index) { emit picked(0x80000000u | OLE_COLOR(index)); }

void ColorPicker::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setPen(Qt::gray);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    for (int c = 0; c < 64; ++c) {
        const QRect r = cellRect(c).adjusted(2, 2, -2, -2);
        p.fillRect(r, gdi::ColorOf(gridColor(c, custom_)));
        p.setPen(c == cell_ ? Qt::black : Qt::darkGray);
        p.drawRect(r.adjusted(0, 0, -1, -1));
        if (c == cell_)
            p.drawRect(cellRect(c).adjusted(0, 0, -1, -1));
    }
    // A rule above the custom rows.
    p.setPen(Qt::darkGray);
    const int y = cellRect(kCustomFirst).top();
    p.drawLine(2, y, 2 + kGrid * kCell, y);
}

void ColorPicker::mousePressEvent(QMouseEvent* e)
{
    const int cell = cellAt(e->position().toPoint());
    if (cell < 0) {
        if (isWindow() && !rect().contains(e->position().toPoint()))
            hide();
        return;
    }
    // Right button on a custom cell: define that custom colour.
    if (e->button() == Qt::RightButton && cell >= kCustomFirst) {
        const QColor c = QColorDialog::getColor(gdi::ColorOf(gridColor(cell, custom_)), this);
        if (c.isValid())
            setCustomColor(cell - kCustomFirst, gdi::toColorRef(c));
        return;
    }
    chooseCell(cell);
}

void ColorPicker::mouseDoubleClickEvent(QMouseEvent* e) { mousePressEvent(e); }

void ColorPicker::keyPressEvent(QKeyEvent* e)
{
    int c = cell_ < 0 ? 0 : cell_;
    switch (e->key()) {
    case Qt::Key_Left: c = (c + 63) % 64; break;
    case Qt::Key_Right: c = (c + 1) % 64; break;
    case Qt::Key_Up: c = (c + 56) % 64; break;
    case Qt::Key_Down: c = (c + 8) % 64; break;
    case Qt::Key_Return:
    case Qt::Key_Enter: chooseCell(c); return;
    case Qt::Key_Escape:
        if (isWindow())
            hide();
        return;
    default: QWidget::keyPressEvent(e); return;
    }
    cell_ = c;
    update();
}

} // namespace vyr::controls::browser
