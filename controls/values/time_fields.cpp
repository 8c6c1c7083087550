#include "controls/values/time_fields.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <limits>

namespace vyr::values {

namespace {

constexpr long kSecondsPerDay = 86400;

long secondsOf(const TimeOfDay& t) { return t.hours * 3600 + t.minutes * 60 + t.seconds; }

} // namespace

TimeOfDay splitTime(double oleDate)
{
    if (!std::isfinite(oleDate))
        return {};
    // Negative dates count their time away from the day, like positive ones.
    const double fraction = std::fabs(oleDate - std::trunc(oleDate));
    long total = std::lround(fraction * kSecondsPerDay);
    total = std::min(total, kSecondsPerDay - 1);
    return {total / 3600, total / 60 % 60, total % 60};
}

double withTimePart(double oleDate, TimeField field, long value)
{
    if (!std::isfinite(oleDate))
        oleDate = 0;
    TimeOfDay t = splitTime(oleDate);
    switch (field) {
    case TimeField::Hours: t.hours = value; break;
    case TimeField::Minutes: t.minutes = value; break;
    case TimeField::Seconds: t.seconds = value; break;
    }
    const double day = std::trunc(oleDate);
    const double sign = oleDate < 0 ? -1.0 : 1.0;
    return day + sign * double(secondsOf(t)) / kSecondsPerDay;
}

std::optional<long> readFieldNumber(std::string_view text)
{
    size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    if (i >= text.size() || !std::isdigit(static_cast<unsigned char>(text[i])))
        return std::nullopt;
    long value = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
        // Far out of every field's range: the exact number no longer matters.
        if (value < std::numeric_limits<long>::max() / 10 - 10)
            value = value * 10 + (text[i] - '0');
    }
    return negative ? -value : value;
}

bool fieldInRange(TimeField field, long value)
{
    return value >= 0 && value <= (field == TimeField::Hours ? 24 : 60);
}

std::string fieldText(long value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%02ld", value);
    return text;
}

DigitAction digitAction(TimeField field, std::string_view text, int caret, bool hasSelection)
{
    if (hasSelection)
        return DigitAction::Insert;
    if (caret < int(text.size()))
        return DigitAction::Overwrite;
    if (field != TimeField::Seconds && text.size() >= 2) {
        const auto n = readFieldNumber(text);
        if (n && fieldInRange(field, *n))
            return DigitAction::Advance;
    }
    return DigitAction::Insert;
}

FieldMove arrowMove(TimeField field, bool left, int caret, int length, bool hasSelection)
{
    if (hasSelection)
        return FieldMove::Stay;
    if (left && caret == 0 && field != TimeField::Hours)
        return FieldMove::Previous;
    if (!left && caret >= length && field != TimeField::Seconds)
        return FieldMove::Next;
    return FieldMove::Stay;
}

TimeCommit commitTime(double oleDate, const std::array<std::string, 3>& texts)
{
    TimeCommit c{oleDate, true};
    for (int i = 0; i < 3; ++i) {
        const auto field = TimeField(i);
        const auto n = readFieldNumber(texts[size_t(i)]);
        if (n && fieldInRange(field, *n))
            c.value = withTimePart(c.value, field, *n);
        else
            c.allValid = false;
    }
    return c;
}

TimeEditLayout layoutTimeEdit(const PixelRect& client, int digitsWidth, int lineHeight)
{
    TimeEditLayout l;
    const int width = client.width() / 3;
    int previousRight = client.left;
    for (int i = 0; i < 3; ++i) {
        const int partRight = i == 2 ? client.right : client.left + (i + 1) * width;
        PixelRect field;
        field.right = partRight - 6;
        field.left = field.right - digitsWidth;
        field.top = client.top + (client.height() - lineHeight) / 2;
        field.bottom = field.top + lineHeight;
        l.fields[size_t(i)] = field;
        l.frames[size_t(i)] = {field.left - 6, client.top, partRight, client.bottom};
        l.labels[size_t(i)] = {previousRight, client.top, std::max(previousRight, field.left - 6), client.bottom};
        previousRight = partRight;
    }
    return l;
}

} // namespace vyr::values
