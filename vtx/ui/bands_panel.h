#pragma once
// "Detection Bands": a SpectraCtrl of the control library showing, per detector channel in its
// colour, the pass band of the emission filter in front of it, and the splitters' edges, with
// laser lines the user can set (remembered under the user's registry key). The panel is the
// control's host: it serves the control's commands and hands it the curves through the
// curve-source interface, as the instrument's application does.
#include "controls/spectra/curvesource.h"
#include "vtx/model/bands.h"

#include <QDialog>
#include <array>

class QLineEdit;

namespace vyr { class CommandServer; }
namespace vyr::controls { class HostWidget; }

namespace vyr::vtx::ui {

// The channels' colours (0x00BBGGRR) and the splitter edges' grey.
inline constexpr std::array<OLE_COLOR, 4> kChannelColours{0x00E07000, 0x0000A000, 0x000060F0, 0x00B000B0};
inline constexpr OLE_COLOR kEdgeColour = 0x00808080;

class DetectionBandsPanel : public QDialog {
    Q_OBJECT
public:
    explicit DetectionBandsPanel(QWidget* parent = nullptr);
    ~DetectionBandsPanel() override;

    // Shows the bands of `c` with the wavelengths of `catalogue`.
    void showBands(const Configuration& c, const SpectrumCatalogue& catalogue);
    // The laser lines in the text box: applied, remembered and shown.
    void applyLaserLines();

    controls::HostWidget* spectra() const { return spectra_; }
    QLineEdit* laserEdit() const { return lasers_; }
    ICurveSource* curveSource() const;
    const DetectionBands& bands() const { return bands_; }

private:
    com::ComPtr<vyr::CommandServer> server_;
    com::ComPtr<spectra::CurveSource> curves_;
    controls::HostWidget* spectra_ = nullptr;
    QLineEdit* lasers_ = nullptr;
    DetectionBands bands_;
};

// The registry value that keeps the laser lines: HKEY_CURRENT_USER\Software\Halvern\VTX\Bands,
// "LaserLines", text such as "405 488 561 633".
std::vector<double> rememberedLaserLines();
void rememberLaserLines(const std::vector<double>& lines);

} // namespace vyr::vtx::ui
