#pragma once
// Property rows of the controls built around child fields. The font row lays the fields out
// again after a put (the fields take the font and their height follows it); the TimeEdit and
// the Edit share their whole table: Command, Font, TextColor, BackColor.
#include "controls/core/properties.h"

#include <vector>

namespace vyr::controls {

// `Font`, then `after` on the control.
template <class C>
PropertyDesc fontThen(void (C::*after)())
{
    PropertyDesc p = props::font();
    p.put = [put = p.put, after](ControlBase& b, const VARIANT& v, PutKind kind) {
        const HRESULT hr = put(b, v, kind);
        (static_cast<C&>(b).*after)();
        return hr;
    };
    return p;
}

// The table of a control with `textColor`, `backColor` and `placeFields()`.
template <class C>
std::vector<PropertyDesc> fieldControlRows()
{
    return {
        props::command(),
        fontThen<C>(&C::placeFields),
        props::colorField<C>(DISPID_FORECOLOR, "TextColor", [](C& c) -> OLE_COLOR& { return c.textColor; },
                             [](C& c) { c.placeFields(); }),
        props::colorField<C>(DISPID_BACKCOLOR, "BackColor", [](C& c) -> OLE_COLOR& { return c.backColor; }),
    };
}
// Saved in the order of the table.
inline std::vector<DISPID> fieldControlSaveOrder() { return {50, DISPID_FONT, DISPID_FORECOLOR, DISPID_BACKCOLOR}; }

} // namespace vyr::controls
