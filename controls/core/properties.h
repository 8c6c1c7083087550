#pragma once
// Builders of PropertyDesc rows for the common property shapes. A field property is bound by
// a function that returns a reference to the stored field; its setter follows the change
// protocol of ControlBase::assign (compare, store, optional after-step, notify, repaint).
//
//   props::boolField<Button>(4, "PictureEnable", [](Button& b) -> int& { return b.face.pictureEnable; })
#include "controls/core/control.h"
#include <type_traits>

namespace vyr::controls::props {

// Shared properties kept by the control base.
PropertyDesc command(DISPID id = 50, const char* name = "Command");
PropertyDesc caption(DISPID id = DISPID_CAPTION, const char* name = "Caption");
PropertyDesc enabled(DISPID id = DISPID_ENABLED, const char* name = "Enabled");
PropertyDesc font(DISPID id = DISPID_FONT, const char* name = "Font");

template <class C, class T>
using Field = T& (*)(C&);
// Called after a field was changed, before notification.
template <class C>
using After = void (*)(C&);

template <class C, class T, class Read, class Make>
PropertyDesc field(DISPID id, const char* name, PropType type, std::type_identity_t<Field<C, T>> f, Read read, Make make, After<C> after,
                   const EnumNames* names)
{
    PropertyDesc p{id, name, type, nullptr, nullptr, names};
    p.get = [f, make](ControlBase& b) { return make(f(static_cast<C&>(b))); };
    p.put = [f, read, after, id](ControlBase& b, const VARIANT& v, PutKind) {
        C& c = static_cast<C&>(b);
        if (after)
            return b.assign(f(c), T(read(v)), id, [&] { after(c); });
        return b.assign(f(c), T(read(v)), id);
    };
    return p;
}

template <class C, class T = int>
PropertyDesc boolField(DISPID id, const char* name, std::type_identity_t<Field<C, T>> f, After<C> after = nullptr)
{
    return field<C, T>(id, name, PropType::Bool, f, [](const VARIANT& v) { return v.boolVal ? 1 : 0; },
                       [](const T& x) { return com::Variant::fromBool(x != 0); }, after, &boolNames());
}

template <class C, class T = int>
PropertyDesc shortField(DISPID id, const char* name, std::type_identity_t<Field<C, T>> f, const EnumNames* names = nullptr,
                        After<C> after = nullptr)
{
    return field<C, T>(id, name, PropType::Short, f, [](const VARIANT& v) { return v.iVal; },
                       [](const T& x) { return com::Variant::fromShort(int16_t(x)); }, after, names);
}

template <class C, class T = int32_t>
PropertyDesc longField(DISPID id, const char* name, std::type_identity_t<Field<C, T>> f, const EnumNames* names = nullptr,
                       After<C> after = nullptr)
{
    return field<C, T>(id, name, PropType::Long, f, [](const VARIANT& v) { return v.lVal; },
                       [](const T& x) { return com::Variant::fromLong(int32_t(x)); }, after, names);
}

template <class C>
PropertyDesc colorField(DISPID id, const char* name, Field<C, OLE_COLOR> f, After<C> after = nullptr)
{
    return field<C, OLE_COLOR>(id, name, PropType::Color, f, [](const VARIANT& v) { return v.ulVal; },
                               [](const OLE_COLOR& x) { return com::Variant::fromULong(x); }, after, nullptr);
}

template <class C>
PropertyDesc doubleField(DISPID id, const char* name, Field<C, double> f, After<C> after = nullptr)
{
    return field<C, double>(id, name, PropType::Double, f, [](const VARIANT& v) { return v.dblVal; },
                            [](const double& x) { return com::Variant::fromDouble(x); }, after, nullptr);
}

template <class C>
PropertyDesc stringField(DISPID id, const char* name, Field<C, std::string> f, After<C> after = nullptr)
{
    return field<C, std::string>(id, name, PropType::String, f,
                                 [](const VARIANT& v) { return com::utf8(v.bstrVal); },
                                 [](const std::string& x) { return com::Variant::fromString(x); }, after, nullptr);
}

// A picture: get hands out the held object; put by value stores a copy, by reference the
// object itself; no comparison.
template <class C>
PropertyDesc pictureField(DISPID id, const char* name, Field<C, com::ComPtr<IPictureDisp>> f,
                          After<C> after = nullptr)
{
    PropertyDesc p{id, name, PropType::Picture, nullptr, nullptr, nullptr};
    p.get = [f](ControlBase& b) { return com::Variant::fromDispatch(f(static_cast<C&>(b)).get()); };
    p.put = [f, after, id](ControlBase& b, const VARIANT& v, PutKind kind) {
        C& c = static_cast<C&>(b);
        com::ComPtr<IPictureDisp> pic;
        if (v.pdispVal && FAILED(v.pdispVal->QueryInterface(IID_IPictureDisp, pic.putVoid())))
            return DISP_E_TYPEMISMATCH;
        HRESULT hr = ControlBase::putPicture(f(c), pic.get(), kind);
        if (after)
            after(c);
        b.changed(id);
        return hr;
    };
    return p;
}

// A property that only browses (no dispatch access), e.g. a face style no interface exposes.
template <class C, class T = int>
PropertyDesc browseOnly(DISPID id, const char* name, std::type_identity_t<Field<C, T>> f, const EnumNames* names)
{
    PropertyDesc p{id, name, PropType::Short, nullptr, nullptr, names, false};
    p.get = [f](ControlBase& b) { return com::Variant::fromShort(int16_t(f(static_cast<C&>(b)))); };
    return p;
}

// A row with its help string (the type information's documentation of the member).
inline PropertyDesc withHelp(PropertyDesc p, const char* help)
{
    p.help = help;
    return p;
}

// A method without arguments.
template <class C>
MethodDesc method(DISPID id, const char* name, HRESULT (*call)(C&))
{
    return {id, name, [call](ControlBase& b, DISPPARAMS*, VARIANT*) { return call(static_cast<C&>(b)); }};
}

} // namespace vyr::controls::props
