#pragma once
// Painting the spectra display from what its plain classes worked out: background, scale,
// laser labels, the visible part of the band bitmap with the curves over it, the frame and
// the focus rectangle. The control calls it on every paint; the benchmark and the
// screenshots call it directly.
#include "controls/spectra/bandimage.h"
#include "controls/spectra/curveplot.h"
#include "controls/spectra/spectralayout.h"
#include "controls/spectra/spectrascale.h"
#include <QColor>
#include <QFont>
#include <QImage>

class QPainter;

namespace vyr::spectra {

struct SpectraScene {
    SpectraLayout layout;
    WavelengthMap map;
    // The band bitmap of `map` composed at the painter's device scale; null or empty for none.
    const QImage* band = nullptr;
    BandLook look;
    QColor backColor;
    QColor textColor;
    QFont font;
    ScaleSpacing spacing;
    const std::vector<double>* laserLines = nullptr;
    const std::vector<Curve>* curves = nullptr; // drawn when not null
    CurvePlotCache* plotCache = nullptr;        // keeps the plots of `curves` between paints
    CurveDrawMode drawMode = ePolyline;
    ColorOf colorOf;
    bool focused = false;
};

void paintSpectra(QPainter& painter, const SpectraScene& scene);

} // namespace vyr::spectra
