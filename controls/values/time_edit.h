#pragma once
// The TimeEdit control: the time of day of a command's date value in three two-digit
// fields "hh", "mm" and "ss". The rules live in time_fields.h; this class reads the command,
// hosts the three fields, routes their keys and writes the whole value back.
#include "controls/core/control.h"
#include "controls/values/time_fields.h"

#include <QLineEdit>
#include <QPointer>
#include <array>

namespace vyr::controls {

class VyrTimeEdit;

// One of the three fields: its keys go through the control's rules first.
class TimeFieldEdit final : public QLineEdit {
public:
    TimeFieldEdit(VyrTimeEdit& owner, values::TimeField field, QWidget* parent);
    values::TimeField field() const { return field_; }

protected:
    bool event(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;

private:
    VyrTimeEdit& owner_;
    values::TimeField field_;
};

class VyrTimeEdit final : public ControlBase {
public:
    VyrTimeEdit();
    static const ClassDescriptor& classDescriptor();

    OLE_COLOR textColor = 0x80000012;
    OLE_COLOR backColor = 0x8000000F;
    // The command's date value; -1 before the first read.
    double value() const { return value_; }
    TimeFieldEdit* field(values::TimeField f) const { return fields_[size_t(f)]; }
    values::TimeEditLayout layout();
    void placeFields();

    // Return in a field: commits when any field was changed, then clears the changed marks.
    void commit();
    // The key rules of the fields; true when the key was taken.
    bool fieldKey(TimeFieldEdit& field, QKeyEvent* e);
    // Moves the focus to a neighbouring field, all of its text selected; false at the ends.
    bool focusField(int index);

    void onDraw(QPainter& painter, const QRect& bounds) override;
    void refreshFromServer() override;
    void onFocusIn() override;
    void onResize() override { placeFields(); }
    void onWindowCreated() override;

private:
    void showValue();

    double value_ = -1.0;
    bool read_ = false;
    std::array<QPointer<TimeFieldEdit>, 3> fields_;
};

HRESULT createTimeEdit(REFIID iid, void** out);

} // namespace vyr::controls
