#include "controls/values/edit_logic.h"

namespace vyr::values {

TextRefresh EditLogic::setEnabled(bool enabled)
{
    TextRefresh r;
    if (enabled != enabled_) {
        enabled_ = enabled;
        r.placeField = true;
        r.repaint = true;
    }
    return r;
}

TextRefresh EditLogic::refresh(const TextReading& reading)
{
    if (reading.failed)
        return setEnabled(false);
    TextRefresh r = setEnabled(reading.enabled);
    if (!read_ || reading.text != text_) {
        text_ = reading.text;
        r.showText = true;
        r.repaint = true;
        read_ = true;
    }
    return r;
}

TextRefresh EditLogic::unbound() { return setEnabled(false); }

std::optional<std::string> EditLogic::commit(const std::string& fieldText, bool modified, CommitCause cause)
{
    if (cause == CommitCause::Return && !modified)
        return std::nullopt;
    text_ = fieldText;
    return text_;
}

} // namespace vyr::values
