#include "controls/core/typelibrary.h"
#include "controls/core/classtable.h"
#include "controls/core/control.h"
#include "controls/core/vyrcontrols.h"
#include <map>
#include <cctype>
#include <cstring>
#include <mutex>

namespace vyr::controls {

using com::typelib::Const;
using com::typelib::Func;
using com::typelib::Impl;
using com::typelib::Library;
using com::typelib::Param;
using com::typelib::Type;
using com::typelib::TypeEntry;

namespace {

constexpr const char* kOleColor = "OLE_COLOR";
constexpr const char* kCommand = "VYR_COMMAND";
constexpr const char* kFontDisp = "Font";
constexpr const char* kPictureDisp = "Picture";

// The event interfaces the controls fire: dispatch-only, described once for every control
// that names them.
struct EventMember {
    DISPID id;
    const char* name;
    bool mouseArgs;
};

void addEventInterface(Library& lib, const IID& iid, const char* name, std::initializer_list<EventMember> members)
{
    TypeEntry e;
    e.kind = TKIND_DISPATCH;
    e.guid = iid;
    e.name = name;
    e.flags = TYPEFLAG_FHIDDEN;
    for (const EventMember& m : members) {
        Func f;
        f.id = m.id;
        f.name = m.name;
        if (m.mouseArgs)
            f.params = {{"nButton", Type::base(VT_I2)},
                        {"nShiftState", Type::base(VT_I2)},
                        {"x", Type::base(VT_I4)},
                        {"y", Type::base(VT_I4)}};
        e.funcs.push_back(std::move(f));
    }
    lib.types.push_back(std::move(e));
}

Library buildCommonTypes()
{
    Library lib;
    lib.guid = LIBID_VYRCTRLSLib;
    lib.name = kTypeLibName;
    lib.doc = "Vyr Controls";
    lib.major = 1;
    lib.minor = 0;
    TypeEntry color;
    color.kind = TKIND_ALIAS;
    color.guid = IID_OLE_COLOR;
    color.name = kOleColor;
    color.alias = Type::base(VT_UI4);
    lib.types.push_back(color);
    TypeEntry command;
    command.kind = TKIND_ALIAS;
    command.guid = IID_VYR_COMMAND;
    command.name = kCommand;
    command.doc = "Command of the host application";
    command.alias = Type::base(VT_BSTR);
    lib.types.push_back(command);
    // The standard font and picture dispatch interfaces that font and picture properties
    // point to.
    TypeEntry font;
    font.kind = TKIND_DISPATCH;
    font.guid = IID_IFontDisp;
    font.name = kFontDisp;
    lib.types.push_back(font);
    TypeEntry picture;
    picture.kind = TKIND_DISPATCH;
    picture.guid = IID_IPictureDisp;
    picture.name = kPictureDisp;
    lib.types.push_back(picture);
    addEventInterface(lib, DIID__DButton, "_DButton",
                      {{DISPID_EVENT_CLICK, "Click", false},
                       {DISPID_EVENT_MOUSEDOWN, "MouseDown", true},
                       {DISPID_EVENT_MOUSEUP, "MouseUp", true},
                       {DISPID_EVENT_MOUSEMOVE, "MouseMove", true}});
    addEventInterface(lib, DIID__DSlider, "_DSlider",
                      {{DISPID_EVENT_CLICK, "Click", false},
                       {DISPID_EVENT_KEYPRESS, "KeyPress", false},
                       {DISPID_EVENT_SCROLL, "Scroll", false},
                       {DISPID_EVENT_CHANGE, "Change", false}});
    return lib;
}

std::string trimmed(std::string s)
{
    while (!s.empty() && s.back() == ' ')
        s.pop_back();
    return s;
}

// An identifier for a constant without one of its own: "e", the type's name and the display
// string's letters and digits, so that it is unique across the library.
std::string constantName(const char* typeName, const std::string& display)
{
    std::string out = std::string("e") + typeName;
    bool upper = true;
    for (char c : display) {
        if (std::isalnum(static_cast<unsigned char>(c))) {
            out += upper ? char(std::toupper(static_cast<unsigned char>(c))) : c;
            upper = false;
        } else {
            upper = true;
        }
    }
    return out;
}

// The enumeration type of `names`, added to the library on first use. Its constants are
// identifiers; the display strings a browser shows are their help strings.
int enumType(Library& lib, const EnumNames& names)
{
    if (int i = lib.indexOf(names.typeName); i >= 0)
        return i;
    TypeEntry e;
    e.kind = TKIND_ENUM;
    e.name = names.typeName;
    for (size_t i = 0; i < names.names.size(); ++i) {
        Const c;
        c.name = i < names.constants.size() ? names.constants[i] : constantName(names.typeName, names.names[i]);
        c.value = names.valueAt(i);
        c.doc = trimmed(names.names[i]);
        e.consts.push_back(std::move(c));
    }
    lib.types.push_back(std::move(e));
    return int(lib.types.size() - 1);
}

Type typeOf(Library& lib, PropType t, const EnumNames* names)
{
    if (names && names->typeName && (t == PropType::Short || t == PropType::Long))
        return Type::user(enumType(lib, *names));
    switch (t) {
    case PropType::Bool: return Type::base(VT_BOOL);
    case PropType::Short: return Type::base(VT_I2);
    case PropType::Long: return Type::base(VT_I4);
    case PropType::Color: return Type::user(lib.indexOf(kOleColor));
    case PropType::Double: return Type::base(VT_R8);
    case PropType::String: return Type::base(VT_BSTR);
    case PropType::Command: return Type::user(lib.indexOf(kCommand));
    case PropType::Font: return Type::pointer(Type::user(lib.indexOf(kFontDisp)));
    case PropType::Picture: return Type::pointer(Type::user(lib.indexOf(kPictureDisp)));
    case PropType::Object: return Type::base(VT_DISPATCH);
    }
    return Type::base(VT_VARIANT);
}

Func memberFunc(Library& lib, const ClassDescriptor& d, const Slot& s)
{
    Func f;
    f.id = s.id;
    if (s.access == Access::Call) {
        const MethodDesc* m = d.method(s.id);
        f.name = m->name;
        f.doc = m->help;
        f.kind = INVOKE_FUNC;
        for (const MethodParam& p : m->params) {
            const Type t = typeOf(lib, p.type, nullptr);
            f.params.push_back({p.name, p.out ? Type::pointer(t) : t, p.out ? PARAMFLAG_FOUT : PARAMFLAG_FIN});
        }
        if (m->result)
            f.result = typeOf(lib, *m->result, nullptr);
        return f;
    }
    const PropertyDesc* p = d.property(s.id);
    f.name = p->name;
    f.doc = p->help;
    f.flags = FUNCFLAG_FBINDABLE | (p->hidden ? FUNCFLAG_FHIDDEN : 0);
    const Type t = typeOf(lib, p->type, p->names);
    if (s.access == Access::Get) {
        f.kind = INVOKE_PROPERTYGET;
        f.result = t;
    } else {
        f.kind = s.access == Access::PutRef ? INVOKE_PROPERTYPUTREF : INVOKE_PROPERTYPUT;
        f.params = {{"value", t}};
    }
    return f;
}

// True when the slot names a member the descriptor has, with an access it supports.
bool slotValid(const ClassDescriptor& d, const Slot& s)
{
    if (s.access == Access::Call)
        return d.method(s.id) != nullptr;
    const PropertyDesc* p = d.property(s.id);
    if (!p || !p->dispatchable)
        return false;
    return s.access == Access::Get ? bool(p->get) : bool(p->put);
}

struct Built {
    std::shared_ptr<const Library> lib;
    com::ComPtr<ITypeLib> typeLib;
    std::map<GUID, ClassTypeInfo, bool (*)(const GUID&, const GUID&)> classes{
        [](const GUID& a, const GUID& b) { return std::memcmp(&a, &b, sizeof a) < 0; }};
};

const Built& built()
{
    static const Built b = [] {
        Built out;
        auto lib = std::make_shared<Library>(buildCommonTypes());
        std::vector<std::pair<CLSID, std::string>> described;
        for (const ClassRow& row : classTable()) {
            if (!row.create)
                continue;
            com::ComPtr<IUnknown> obj;
            if (FAILED(row.create(IID_IUnknown, obj.putVoid())) || !obj)
                continue;
            auto* control = dynamic_cast<ControlBase*>(obj.get());
            if (!control)
                continue;
            describeClass(*lib, row.className, control->descriptor());
            described.emplace_back(row.clsid, lib->types[lib->types.size() - 2].name);
        }
        // Declared by the library, neither created nor registered by the module: containers
        // see that it cannot be created.
        TypeEntry host;
        host.kind = TKIND_COCLASS;
        host.guid = CLSID_AtlControlHostPosition;
        host.name = "AtlControlHostPosition";
        lib->types.push_back(std::move(host));
        out.lib = lib;
        if (FAILED(com::typelib::createTypeLib(lib, out.typeLib.put())))
            return out;
        for (const auto& [clsid, ifaceName] : described) {
            ClassTypeInfo info;
            out.typeLib->GetTypeInfoOfGuid(clsid, info.coclass.put());
            const int index = lib->indexOf(ifaceName);
            if (index < 0 || FAILED(out.typeLib->GetTypeInfo(UINT(index), info.dispatch.put())))
                continue;
            HREFTYPE view = 0;
            com::ComPtr<ITypeInfo> vtableView;
            if (SUCCEEDED(info.dispatch->GetRefTypeOfImplType(UINT(-1), &view)) &&
                SUCCEEDED(info.dispatch->GetRefTypeInfo(view, vtableView.put())))
                com::DualLayout::build(vtableView.get(), info.layout);
            out.classes.emplace(clsid, std::move(info));
        }
        return out;
    }();
    return b;
}

} // namespace

void describeClass(Library& lib, const char* className, const ClassDescriptor& d)
{
    TypeEntry iface;
    iface.kind = TKIND_DISPATCH;
    iface.guid = d.dispatchIid;
    iface.name = d.interfaceName.empty() ? std::string("I") + className : d.interfaceName;
    iface.doc = std::string(className) + " Control";
    iface.flags = TYPEFLAG_FDUAL | TYPEFLAG_FDISPATCHABLE | TYPEFLAG_FOLEAUTOMATION;
    for (const Slot& s : d.slotOrder())
        if (slotValid(d, s))
            iface.funcs.push_back(memberFunc(lib, d, s));
    lib.types.push_back(std::move(iface));
    const int ifaceIndex = int(lib.types.size() - 1);

    TypeEntry coclass;
    coclass.kind = TKIND_COCLASS;
    coclass.guid = d.clsid;
    coclass.name = className;
    coclass.flags = TYPEFLAG_FCANCREATE | TYPEFLAG_FCONTROL;
    coclass.impls.push_back({ifaceIndex, IMPLTYPEFLAG_FDEFAULT});
    for (size_t i = 0; d.eventIid != GUID_NULL && i < lib.types.size(); ++i)
        if (lib.types[i].guid == d.eventIid)
            coclass.impls.push_back({int(i), IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE});
    lib.types.push_back(std::move(coclass));
}

HRESULT controlsTypeLib(ITypeLib** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    const Built& b = built();
    if (!b.typeLib)
        return TYPE_E_INVALIDSTATE;
    return b.typeLib.copyTo(out);
}

const Library& controlsLibrary() { return *built().lib; }

const ClassTypeInfo* classTypeInfo(REFCLSID clsid)
{
    const Built& b = built();
    auto it = b.classes.find(clsid);
    return it == b.classes.end() ? nullptr : &it->second;
}

} // namespace vyr::controls

extern "C" __attribute__((visibility("default"))) HRESULT VyrLoadTypeLib(ITypeLib** out)
{
    return vyr::controls::controlsTypeLib(out);
}
