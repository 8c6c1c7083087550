#pragma once
// The TimeEdit without its window: the time of day inside an OLE automation date (days as
// a double), the three two-digit fields it is edited in, their checks, the digit and
// navigation rules of the fields, the layout of the three parts and the commit.
#include "controls/values/pixel_geometry.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace vyr::values {

enum class TimeField { Hours = 0, Minutes = 1, Seconds = 2 };

struct TimeOfDay {
    long hours = 0;
    long minutes = 0;
    long seconds = 0;
};

// The time-of-day part of an OLE date, to the nearest second (a time that rounds to the
// next midnight shows as 23:59:59; a date that is not finite as 00:00:00).
TimeOfDay splitTime(double oleDate);
// The date with one part of its time replaced; the date part and the other parts are kept.
// Parts beyond their usual range carry (60 seconds are the next minute, 24 hours the next
// day), as the date arithmetic has it.
double withTimePart(double oleDate, TimeField field, long value);

// A field's text read as "%ld" would; nothing when it does not start with a number.
std::optional<long> readFieldNumber(std::string_view text);
// Hours 0 ... 24, minutes and seconds 0 ... 60.
bool fieldInRange(TimeField field, long value);
// "%02ld".
std::string fieldText(long value);

// What a typed digit does in a field.
enum class DigitAction {
    Insert,    // typed as usual
    Overwrite, // replaces the character after the caret
    Advance,   // the field is full and valid: the digit starts the next field
};
DigitAction digitAction(TimeField field, std::string_view text, int caret, bool hasSelection);

// Where an arrow key at the caret takes the focus.
enum class FieldMove { Stay, Previous, Next };
FieldMove arrowMove(TimeField field, bool left, int caret, int length, bool hasSelection);

struct TimeCommit {
    double value = 0;    // the stored value with every valid field applied
    bool allValid = true; // else: beep, write `value`, and read the command again
};
// Applies the fields' texts to `oleDate` in the order hours, minutes, seconds.
TimeCommit commitTime(double oleDate, const std::array<std::string, 3>& texts);

struct TimeEditLayout {
    std::array<PixelRect, 3> frames; // the sunken frames, client high
    std::array<PixelRect, 3> fields; // the edit fields, one line high, centred
    std::array<PixelRect, 3> labels; // the space before each frame
};
// Three equal parts; each field `digitsWidth` wide at the right end of its part, its frame
// 6 pixels wider on each side; `lineHeight` is the height of "0" plus 4.
TimeEditLayout layoutTimeEdit(const PixelRect& client, int digitsWidth, int lineHeight);

} // namespace vyr::values
