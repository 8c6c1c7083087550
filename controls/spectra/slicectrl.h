#pragma once
// SliceCtrl: per channel of a list command two hatched bars as thick as the channel's value,
// apart by the value of a distance command, with the channel's name and value below. A
// display without input: everything comes from the command server.
#include "controls/core/control.h"
#include "controls/spectra/slicegeometry.h"

namespace vyr::controls {


class SliceCtrl final : public ControlBase {
public:
    SliceCtrl();
    static const ClassDescriptor& classDescriptor();

    // Properties (CommandChannels is the base's main binding).
    CommandBinding distanceCommand;
    OLE_COLOR textColor = 0x80000012;
    OLE_COLOR backColor = 0x8000000F;
    int32_t lineDistance = 10;
    int wlPrecision = 1;

    const std::vector<spectra::SliceChannel>& channels() const { return channels_; }
    const spectra::SliceDistance& distance() const { return distance_; }
    spectra::SliceGeometry geometry();

    void reregister() { SetCommandServer(server()); }

    void onDraw(QPainter& painter, const QRect& bounds) override;
    void refreshFromServer() override;

private:
    bool readServer();

    spectra::SliceDistance distance_;
    std::vector<spectra::SliceChannel> channels_;
};

HRESULT createSliceCtrl(REFIID iid, void** out);

} // namespace vyr::controls
