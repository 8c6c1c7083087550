#pragma once
// The colour picker of the property browser: an 8 x 8 grid whose first six rows are a fixed
// palette and whose last two rows are the 16 custom colours of the settings store, beside the
// system colours by name. Custom colours are read from the store each time the picker opens
// and written back when one changes.
#include "platform/com/types.h"
#include <QWidget>
#include <array>

class QListWidget;

namespace vyr::controls::browser {

using CustomColors = std::array<OLE_COLOR, 16>;
// Section "Property Browser", values "CustomColor 1" ... "CustomColor 16" as "%lx"; white
// when missing, clamped to 0..0xFFFFFF.
CustomColors loadCustomColors();
void saveCustomColor(int index, OLE_COLOR color);

// The colour of grid cell `cell` (0..63) with the given custom colours.
OLE_COLOR gridColor(int cell, const CustomColors& custom);

class ColorPicker : public QWidget {
    Q_OBJECT
public:
    // A drop-down owned by `owner`, or (embedded) a child panel of it.
    explicit ColorPicker(QWidget* owner, bool embedded = false);

    // Loads the custom colours and selects `current`: a system colour in the list, any other
    // colour in the grid when a cell holds it.
    void open(OLE_COLOR current);
    int selectedCell() const { return cell_; }
    int selectedSystemColor() const; // -1 when none
    const CustomColors& customColors() const { return custom_; }
    // Stores a custom colour (cell 48 + index) and selects it.
    void setCustomColor(int index, OLE_COLOR color);
    QRect cellRect(int cell) const;
    QListWidget* systemList() const { return list_; }

    // Choose the grid cell / the system colour (as a click does).
    void chooseCell(int cell);
    void chooseSystem(int index);

signals:
    void picked(OLE_COLOR color);

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    int cellAt(QPoint p) const;
    CustomColors custom_{};
    int cell_ = -1;
    QListWidget* list_ = nullptr;
};

} // namespace vyr::controls::browser
