#pragma once
// One-pixel lines on whole device pixels. A painter on a high-DPI target scales every logical
// pixel by the device pixel ratio; at fractional ratios (1.25, 1.5) a logical one-pixel line
// then covers one or two device pixels depending on where it falls, so the sides of a 3D edge
// come out unequal. While a DevicePixels lives, the painter draws in device pixels; a line k
// logical pixels in from a rectangle's side is drawn round(k * ratio) device pixels in from that
// side's rounded position, so every side of an edge has the same width. At ratio 1 this is the
// logical drawing, pixel for pixel.
#include <QImage>
#include <QRect>
#include <QTransform>

class QPainter;

namespace vyr::gdi {

// The device pixels per logical pixel of what `painter` draws (its device pixel ratio times any
// scaling of its own), 1 for a transform that rotates or shears: the resolution at which an
// image composed for this painter is made.
qreal deviceScale(const QPainter& painter);

// An image of `size` logical pixels at `scale` device pixels each, for composing off screen.
QImage imageAtScale(const QSize& size, qreal scale, QImage::Format format);

class DevicePixels {
public:
    explicit DevicePixels(QPainter& painter);
    ~DevicePixels();
    DevicePixels(const DevicePixels&) = delete;
    DevicePixels& operator=(const DevicePixels&) = delete;

    // False when the painter's transform rotates or shears: the painter is then left as it was
    // and drawing stays logical.
    bool active() const { return active_; }
    // The device rectangle of a logical one, its sides rounded to whole device pixels.
    QRect map(const QRect& logical) const;
    // The device length of k logical pixels along x and y.
    int dx(int k) const;
    int dy(int k) const;
    // The ratio along x (1 when inactive).
    double ratio() const { return sx_; }

private:
    QPainter& painter_;
    QTransform toDevice_;
    double sx_ = 1, sy_ = 1;
    bool active_ = false;
};

} // namespace vyr::gdi
