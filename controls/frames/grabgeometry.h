#pragma once
// The GrabField's geometry apart from its window: the rotated field, the world it can cover
// while its offset moves through its range, the one scale that fits that world into the
// control, and the shifting of the field by mouse travel, clamped to the offset ranges.
#include "controls/frames/rectops.h"
#include <array>

namespace vyr::frames {

// A value with its range as the command server reports it.
struct GrabRange {
    double min = 0, max = 0, value = 0;
};

// The five values named after the control's command.
struct GrabValues {
    GrabRange width, height, offsetX, offsetY;
    double rotation = 0; // degrees
};

struct GrabPoint {
    double x = 0, y = 0;
};

struct GrabGeometry {
    enum class State {
        Invalid,    // the values do not give a geometry (not finite): outline of the client only
        Background, // the world is less than one unit wide or high: background only
        Field,      // world frame and field
    };
    State state = State::Invalid;
    // Pixels per field unit, the same on both axes; origin: the pixel of field coordinate (0, 0).
    double factor = 0;
    GrabPoint origin;
    // The world in pixels (left, top, right, bottom).
    double worldLeft = 0, worldTop = 0, worldRight = 0, worldBottom = 0;
    // The field's corners in pixels: (-w/2, -h/2), (+w/2, -h/2), (+w/2, +h/2), (-w/2, +h/2).
    // The first two make the upper edge.
    std::array<GrabPoint, 4> corners{};
    GrabPoint centre;
    // Opposite corners fall on one pixel: the field is drawn as a cross.
    bool degenerate = false;

    // Whether the point (pixels) lies inside the rotated field.
    bool hitsField(double x, double y) const;
};

// The inner rectangle is `client` inset by (frameWidth + 1) / 2 on every side.
GrabGeometry grabGeometry(const GrabValues& v, const RECT& client, LONG frameWidth);

// Below this scale nothing moves.
constexpr double kMinGrabFactor = 1e-10;

// A shift of the field by the mouse: the press point and the offsets at the press.
class GrabShift {
public:
    // False (and nothing starts) when the scale is too small to move by.
    bool begin(const GrabGeometry& g, const GrabValues& v, GrabPoint press);
    bool active() const { return active_; }
    void end() { active_ = false; }
    // The offsets for the mouse at `at`: those at the press plus the travel divided by the
    // scale, each clamped to its range (taken as it was at the press).
    GrabPoint offsetsAt(GrabPoint at) const;

private:
    bool active_ = false;
    double factor_ = 0;
    GrabPoint press_;
    GrabRange x_, y_;
};

// `value` clamped to [min, max]; a range with min above max gives min; a NaN value gives min.
double clampToRange(double value, double min, double max);

} // namespace vyr::frames
