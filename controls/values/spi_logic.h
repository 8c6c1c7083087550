#pragma once
// The band slider without its window: two values on one axis, the rules that keep them in
// order (thumbs never cross, the band keeps its width when it moves), snapping to the step,
// the press-state machine for dragging and the keys. Every input goes through act(); the
// command server is reached through an SpiPort, so that tests can stand in for it.
#include "controls/values/spi_geometry.h"
#include "controls/values/value_actions.h"

#include <cstdint>
#include <optional>
#include <string>
#include <variant>

namespace vyr::values {

// The plain properties the logic reads; the control's property table writes them.
struct SpiProperties {
    int scaleSmall = 0;
    int scaleMiddle = 0;
    int scaleLarge = 0;
    int32_t advancedMode = 0; // free dragging, the band width snapped on release
    SlotWidth slotWidth = SlotWidth::Small;
    int32_t toolTip = 0;
    int toolTipPrecision = 0;
};

// The command server as the logic uses it.
class SpiPort {
public:
    virtual ~SpiPort() = default;
    // A changed value of a thumb, for its command.
    virtual void write(SpiThumb thumb, double value) = 0;
    // Whether a command is there to veto a setting, and its answer for the current one.
    virtual bool hasVeto() const = 0;
    virtual bool allowed() = 0;
};

// One read of the bound commands.
struct SpiReading {
    double minimum = 1.0;
    double maximum = 100.0;
    double lower = 1.0;
    double upper = 100.0;
    bool enabled = false;
    uint32_t bandColor = 0x8000000F; // an OLE colour
    double step = 0.0;               // 0 without a step command
};

enum class SpiPress { None = 0, Lower = 1, Upper = 2, Band = 3 };
enum class SpiCursor { Arrow, Resize, NotAllowed };
// Tool-tip tools: the lower thumb, the upper thumb, the band.
enum class SpiTool { Lower = 0, Upper = 1, Band = 2 };

using SpiAction = std::variant<MousePress, MouseMove, MouseRelease, KeyStroke, FocusLoss>;

struct SpiEffects {
    bool repaint = false;
    CaptureChange capture = CaptureChange::None;
    std::optional<SpiCursor> cursor;
    bool tipsMoved = false; // the tool rectangles or texts changed
};

class SpiSliderLogic {
public:
    SpiProperties& properties() { return props_; }
    const SpiProperties& properties() const { return props_; }

    // Values and range; 1 and 100 until the first read.
    double lower() const { return lower_; }
    double upper() const { return upper_; }
    double value(SpiThumb t) const { return t == SpiThumb::Lower ? lower_ : upper_; }
    double minimum() const { return min_; }
    double maximum() const { return max_; }
    double step() const { return step_; }
    bool enabled() const { return enabled_; }
    uint32_t bandColor() const { return bandColor_; }
    // The values the thumbs had when the current press began.
    double pressValue(SpiThumb t) const { return t == SpiThumb::Lower ? pressLower_ : pressUpper_; }

    // A read from the command server; true when what is shown changed.
    bool refresh(const SpiReading& reading);
    // A read that failed: no longer enabled; true when that changed.
    bool readFailed();

    void relayout(const PixelRect& client);
    // The geometry for the current values.
    const SpiGeometry& geometry() const { return geometry_; }
    std::vector<SpiTick> ticks() const;

    // Snaps x to the step grid: step 0 leaves x as it is (no step command, nothing to snap
    // to), as does a step below 1e-50.
    double snap(double x) const;

    // Sets a thumb by the band rules: near an end it goes to the end; the thumbs never cross
    // (the other one is pushed along, or the value held back); a change is written.
    void set(SpiThumb thumb, double v, SpiPort& port);

    SpiEffects act(const SpiAction& action, SpiPort& port);
    SpiPress press() const { return press_; }

    // The cursor for a pointer at `at` (no press: the resize cursor between the thumbs).
    SpiCursor cursorAt(PixelPoint at) const;
    // The tool under `at` (the dragged one while a press is active); none outside them.
    std::optional<SpiTool> toolAt(PixelPoint at) const;
    PixelRect toolRect(SpiTool tool) const;
    std::string toolText(SpiTool tool) const;

private:
    SpiEffects onPress(PixelPoint at);
    SpiEffects onMove(PixelPoint at, SpiPort& port);
    SpiEffects onRelease(SpiPort& port);
    SpiEffects onKey(const KeyStroke& key, SpiPort& port);
    // Moves the band to start at newLower, keeping its width inside the range.
    void moveBand(double newLower, SpiPort& port);
    // Sets both values, in an order in which the thumbs never push each other.
    void setBoth(double lower, double upper, SpiPort& port);
    void placeThumbs();
    double tolerance() const;
    double keyStep() const;

    SpiProperties props_;
    double lower_ = 1.0;
    double upper_ = 100.0;
    double pressLower_ = 1.0;
    double pressUpper_ = 100.0;
    double min_ = 1.0;
    double max_ = 100.0;
    double step_ = 1.0;
    uint32_t bandColor_ = 0x8000000F;
    bool enabled_ = true;
    bool read_ = false;

    PixelRect client_;
    SpiGeometry geometry_;
    SpiPress press_ = SpiPress::None;
    int offsetLower_ = 0; // pointer minus thumb centre at the press
    int offsetUpper_ = 0;
};

} // namespace vyr::values
