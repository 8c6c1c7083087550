#pragma once
// One command string bound to the host's command server and the cookie it was registered
// under (0 = not registered).
#include "controls/core/vyrcontrols.h"
#include <string>

namespace vyr::controls {

class CommandBinding {
public:
    const std::string& text() const { return text_; }
    void setText(std::string text) { text_ = std::move(text); }
    LONG cookie() const { return cookie_; }
    bool registered() const { return cookie_ != 0; }

    // Unregisters from `server` (when a cookie is held). On failure the old registration
    // stays and the error is returned.
    HRESULT unregister(ICommandServer* server, ICommandClient* client);
    // Registers a non-empty text with `server`; an empty text or a null server binds nothing.
    HRESULT registerWith(ICommandServer* server, ICommandClient* client);

private:
    std::string text_;
    LONG cookie_ = 0;
};

} // namespace vyr::controls
