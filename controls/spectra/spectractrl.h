#pragma once
// SpectraCtrl: a window onto the wavelength axis with the colour band, laser lines, a scale
// and curves, scrolled by arrow buttons, keys and dragging. The centre, axis and width come
// from the command server; the plain classes of this folder do the arithmetic.
#include "controls/core/control.h"
#include "controls/spectra/bandimage.h"
#include "controls/spectra/curveplot.h"
#include "controls/spectra/spectralayout.h"
#include "controls/spectra/spectrascale.h"
#include "controls/spectra/spectrascroll.h"
#include <QImage>
#include <QPointer>

class QPushButton;

namespace vyr::controls {


class SpectraCtrl final : public ControlBase {
public:
    SpectraCtrl();
    ~SpectraCtrl() override;
    static const ClassDescriptor& classDescriptor();

    // Properties (Command is the base's main binding: the centre and the axis).
    CommandBinding widthCommand;
    CommandBinding laserLinesCommand;
    CommandBinding spectraCommand;
    double spectraStep = 1.0;
    OLE_COLOR textColor = 0x80000012;
    OLE_COLOR backColor = 0x8000000F;
    int32_t showSpectra = 0;
    int32_t curveDisplayMode = spectra::eCurveInSpectra;
    int scaleSmall = 1;
    int scaleMiddle = 5;
    int scaleLarge = 10;
    int32_t withButtons = 1;
    int rainbowHeight = 10;
    int32_t curveDrawMode = spectra::ePolyline;
    OLE_COLOR laserLineColor = 0x00FFFFFF;
    int32_t showLaserLines = 1;
    int32_t showCurve = 1;

    // What the command server supplied.
    const spectra::SpectraAxis& axis() const { return axis_; }
    const std::vector<double>& laserLines() const { return lasers_; }
    const std::vector<spectra::Curve>& curves() const { return curves_; }
    spectra::PressState pressState() const { return scroller_.state(); }

    // Geometry of the current window size and font; painting and hit-testing read it.
    spectra::SpectraLayout layout();
    spectra::WavelengthMap map();
    // The band bitmap as last built (null before the first paint or after a discard).
    const QImage& band() const { return band_; }
    QPushButton* leftButton() const { return left_; }
    QPushButton* rightButton() const { return right_; }

    // Property changes that need more than a repaint.
    void reregister() { SetCommandServer(server()); }
    void discardBand();
    void updateButtons();

    // --- ControlBase
    void onDraw(QPainter& painter, const QRect& bounds) override;
    void refreshFromServer() override;
    HRESULT STDMETHODCALLTYPE OnCommandStateChanged() override;
    HRESULT STDMETHODCALLTYPE OnCommandStateChangedEx() override;
    void onMousePress(QMouseEvent* e) override;
    void onMouseRelease(QMouseEvent* e) override;
    void onMouseMove(QMouseEvent* e) override;
    bool onKeyPress(QKeyEvent* e) override;
    void onFocusOut() override;
    void onResize() override;
    void onWindowCreated() override;
    void onTimer(int id) override;
    // The band's colours are system colours: it is drawn again.
    void onPaletteChange() override
    {
        bandDirty_ = true;
        invalidate();
    }

private:
    spectra::BandLook look() const;
    // Sends one input through the scroller and carries out its effect.
    void scroll(spectra::ScrollInput::Kind kind, int value = 0);
    // Reads everything bound; false when a read failed.
    bool readServer();
    void placeButtons();
    void updateCursor(const QPoint& pos);

    spectra::SpectraAxis axis_;
    std::vector<double> lasers_;
    std::vector<spectra::Curve> curves_;
    spectra::CurvePlotCache plots_; // the curves mapped and reduced for the last geometry
    spectra::SpectraScroller scroller_;
    QImage band_;
    bool bandDirty_ = true;
    QImage off_; // the client-sized off-screen image
    QPointer<QPushButton> left_;
    QPointer<QPushButton> right_;
};

HRESULT createSpectraCtrl(REFIID iid, void** out);

} // namespace vyr::controls
