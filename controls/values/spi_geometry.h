#pragma once
// Where the band slider's parts lie for a client rectangle and two values: the inner
// rectangle, the slot, each thumb's travel and rectangle, the band between the thumbs, and
// the ticks of its scales. Painting and hit-testing both read one SpiGeometry.
#include "controls/values/pixel_geometry.h"
#include "controls/values/slider_layout.h"

#include <vector>

namespace vyr::values {

enum class SpiThumb { Lower = 0, Upper = 1 };

// Thumbs are 14 pixels wide; each travels the slot less the other thumb's width.
constexpr int kSpiThumbWidth = 14;

// The horizontal span a thumb's centre runs along.
struct Travel {
    int left = 0;
    int right = 0;
    int width() const { return right - left; }
};

struct SpiGeometry {
    PixelRect inner; // the client less 2 on each side, at least 30 x 14
    PixelRect slot;
    Travel lowerTravel;
    Travel upperTravel;
    PixelRect lowerThumb;
    PixelRect upperThumb;
    // Between the thumbs' inner edges, inside the slot's outer line (empty when the thumbs
    // touch).
    PixelRect band;

    const Travel& travel(SpiThumb t) const { return t == SpiThumb::Lower ? lowerTravel : upperTravel; }
    const PixelRect& thumb(SpiThumb t) const { return t == SpiThumb::Lower ? lowerThumb : upperThumb; }
};

// Relative position of v in [min, max]: 0.5 when the ends are (almost) equal; otherwise
// as computed, so that a value off the range lies off the travel.
double spiRatio(double v, double minimum, double maximum);

// The slot and the travels for a client rectangle.
SpiGeometry layoutSpiFrame(const PixelRect& client, SlotWidth slot);
// The thumbs and the band for two values, on a frame from layoutSpiFrame.
void placeSpiThumbs(SpiGeometry& g, double lower, double upper, double minimum, double maximum);

// The value a thumb's centre at x stands for, before snapping: (max - min) x the relative
// position along its travel (not clamped; a travel without width counts as 1 wide).
double spiOffsetValue(const Travel& travel, int x, double minimum, double maximum);

// One scale tick: drawn at x from `top` down to the slot and from the slot down `bottom`
// pixels.
struct SpiTick {
    int x = 0;
    int above = 0; // length in the gap above the slot
    int below = 0; // length in the gap below the slot
};

struct SpiScale {
    int small = 0;
    int middle = 0;
    int large = 0;
    // The scales show only when both the small and the middle spacing are set.
    bool shown() const { return small != 0 && middle != 0; }
};

// A level with more ticks than this is left out (it would be a solid comb).
constexpr long long kMaxSpiTicks = 65536;

// The ticks of all three levels at values 0, s, 2s ... up to the maximum (those below the
// minimum left out); where a coarser level has a tick the finer one has none.
std::vector<SpiTick> planSpiTicks(const SpiGeometry& g, const SpiScale& scale, double minimum, double maximum);

} // namespace vyr::values
