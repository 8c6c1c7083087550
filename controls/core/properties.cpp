#include "controls/core/properties.h"

namespace vyr::controls::props {

PropertyDesc command(DISPID id, const char* name)
{
    PropertyDesc p{id, name, PropType::Command, nullptr, nullptr, nullptr};
    p.help = "Command to execute if button is pressed";
    p.get = [](ControlBase& b) { return com::Variant::fromString(b.commandText()); };
    p.put = [id](ControlBase& b, const VARIANT& v, PutKind) { return b.setCommandText(com::utf8(v.bstrVal), id); };
    return p;
}

PropertyDesc caption(DISPID id, const char* name)
{
    PropertyDesc p{id, name, PropType::String, nullptr, nullptr, nullptr};
    p.get = [](ControlBase& b) { return com::Variant::fromString(b.captionText()); };
    p.put = [id](ControlBase& b, const VARIANT& v, PutKind) { return b.setCaptionText(com::utf8(v.bstrVal), id); };
    return p;
}

PropertyDesc enabled(DISPID id, const char* name)
{
    PropertyDesc p{id, name, PropType::Bool, nullptr, nullptr, &boolNames()};
    p.get = [](ControlBase& b) { return com::Variant::fromBool(b.enabledFlag()); };
    p.put = [id](ControlBase& b, const VARIANT& v, PutKind) { return b.setEnabledFlag(v.boolVal != 0, id); };
    return p;
}

PropertyDesc font(DISPID id, const char* name)
{
    PropertyDesc p{id, name, PropType::Font, nullptr, nullptr, nullptr};
    p.get = [](ControlBase& b) {
        com::ComPtr<IFontDisp> f;
        b.getFont(f.put());
        return com::Variant::fromDispatch(f.get());
    };
    p.put = [id](ControlBase& b, const VARIANT& v, PutKind kind) {
        com::ComPtr<IFontDisp> f;
        if (v.pdispVal && FAILED(v.pdispVal->QueryInterface(IID_IFontDisp, f.putVoid())))
            return DISP_E_TYPEMISMATCH;
        return b.putFont(f.get(), kind, id);
    };
    return p;
}

} // namespace vyr::controls::props
