#pragma once
// Painting the slice display from its geometry: background, hatched and framed bars (upper
// bars first, then lower ones), then the labels.
#include "controls/spectra/slicegeometry.h"
#include <QColor>
#include <QFont>
#include <functional>

class QPainter;

namespace vyr::spectra {

struct SliceScene {
    QRect client;
    SliceGeometry geometry;
    std::vector<QColor> channelColors; // one per bar pair
    QColor backColor;
    QColor textColor;
    QFont font;
    int lineDistance = 10;
};

void paintSlice(QPainter& painter, const SliceScene& scene);

} // namespace vyr::spectra
