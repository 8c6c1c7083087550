#pragma once
// GrabField: a rotated rectangular field inside the whole area over which it can be shifted.
// Size, offset and rotation are values of five commands named after `Command` (".Width",
// ".Height", ".OffsetX", ".OffsetY", ".Rotation"); dragging with the mouse writes new offsets.
#include "controls/core/control.h"
#include "controls/frames/grabgeometry.h"

namespace vyr::controls {

class GrabField final : public ControlBase {
public:
    GrabField();
    static const ClassDescriptor& classDescriptor();

    OLE_COLOR backColor = 0x8000000F;
    int32_t lineWidth = 1;
    OLE_COLOR lineColor = 0x000000FF;
    OLE_COLOR upperLineColor = 0x00FF0000;
    int32_t frameWidth = 1;
    OLE_COLOR frameColor = 0x00000000;

    const std::string& commandName() const { return name_; }
    HRESULT setCommandName(const std::string& name);
    const frames::GrabValues& values() const { return values_; }
    frames::GrabGeometry geometry() const;

    void refreshFromServer() override;
    void describe(AccessFacts& facts) const override;
    void onDraw(QPainter& painter, const QRect& bounds) override;
    void onWindowCreated() override;
    void onMousePress(QMouseEvent* e) override;
    void onMouseMove(QMouseEvent* e) override;
    void onMouseRelease(QMouseEvent* e) override;

private:
    enum Part { Width, Height, OffsetX, OffsetY, Rotation, kParts };
    bool readServer();

    std::string name_;
    CommandBinding parts_[kParts];
    frames::GrabValues values_;
    frames::GrabShift shift_;
};

} // namespace vyr::controls
