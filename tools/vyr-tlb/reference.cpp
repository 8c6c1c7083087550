#include "tools/vyr-tlb/reference.h"
#include "platform/com/bstr.h"
#include "platform/com/comptr.h"
#include "platform/com/dispcall.h"
#include "platform/com/guid.h"
#include "platform/com/typelibtext.h"
#include "platform/com/variant.h"
#include <set>
#include <sstream>
#include <vector>

namespace vyr::tlb {

using com::Bstr;
using com::ComPtr;

namespace {

struct Doc {
    std::string name, help;
};

Doc docOf(ITypeInfo* info, MEMBERID id)
{
    Bstr name, help;
    if (FAILED(info->GetDocumentation(id, name.put(), help.put(), nullptr, nullptr)))
        return {};
    return {name.str(), help.str()};
}

// Markdown table cells keep their text on one line and their pipes escaped.
std::string cell(const std::string& s)
{
    std::string out;
    for (char c : s)
        out += c == '|' ? std::string("\\|") : c == '\n' ? std::string(" ") : std::string(1, c);
    return out;
}

class TypeAttr {
public:
    explicit TypeAttr(ITypeInfo* info) : info_(info)
    {
        if (FAILED(info->GetTypeAttr(&attr_)))
            attr_ = nullptr;
    }
    ~TypeAttr()
    {
        if (attr_)
            info_->ReleaseTypeAttr(attr_);
    }
    TypeAttr(const TypeAttr&) = delete;
    TypeAttr& operator=(const TypeAttr&) = delete;
    const TYPEATTR* operator->() const { return attr_; }
    explicit operator bool() const { return attr_; }

private:
    ITypeInfo* info_;
    TYPEATTR* attr_ = nullptr;
};

// "Normal = 0, Logarithmic = 1" for an enumeration type, "" for any other type.
std::string enumNames(ITypeInfo* info, const TYPEDESC& type)
{
    const TYPEDESC* t = type.vt == VT_PTR ? type.lptdesc : &type;
    ComPtr<ITypeInfo> ref;
    if (!t || t->vt != VT_USERDEFINED || FAILED(info->GetRefTypeInfo(t->hreftype, ref.put())))
        return {};
    TypeAttr a(ref.get());
    if (!a || a->typekind != TKIND_ENUM)
        return {};
    std::string out;
    for (UINT i = 0; i < a->cVars; ++i) {
        VARDESC* v = nullptr;
        if (FAILED(ref->GetVarDesc(i, &v)))
            continue;
        const Doc d = docOf(ref.get(), v->memid);
        const auto value = v->lpvarValue ? com::Variant(*v->lpvarValue).toLong() : std::nullopt;
        out += (out.empty() ? "" : ", ") + d.name + " = " + std::to_string(value.value_or(0));
        if (!d.help.empty() && d.help != d.name)
            out += " (\"" + d.help + "\")";
        ref->ReleaseVarDesc(v);
    }
    return out;
}

struct Property {
    MEMBERID id = 0;
    std::string name, type, help, names, access;
};

// A property's value as the reference shows it: a key of its enumeration, a colour in hex, a
// quoted text; objects (fonts, pictures) by kind only.
std::string valueText(IDispatch* object, const Property& p)
{
    if (!object || p.access.find("get") == std::string::npos)
        return {};
    com::Variant v;
    if (FAILED(com::getProperty(object, p.id, v)))
        return "–";
    const VARIANT& raw = v.get();
    switch (v.type()) {
    case VT_BSTR: return "\"" + v.toString().value_or("") + "\"";
    case VT_BOOL: return raw.boolVal ? "True" : "False";
    case VT_R4: case VT_R8: {
        char buf[40];
        std::snprintf(buf, sizeof buf, "%g", v.toDouble().value_or(0));
        return buf;
    }
    case VT_DISPATCH: case VT_UNKNOWN: return raw.punkVal ? "(" + p.type + ")" : "(none)";
    case VT_EMPTY: return "(empty)";
    default: break;
    }
    const long n = v.toLong().value_or(0);
    if (p.type == "OLE_COLOR") {
        char buf[16];
        std::snprintf(buf, sizeof buf, "0x%08lX", static_cast<unsigned long>(uint32_t(n)));
        return buf;
    }
    // "Normal = 0, Logarithmic = 1": the key of the value.
    const std::string needle = " = " + std::to_string(n);
    for (size_t at = 0; (at = p.names.find(needle, at)) != std::string::npos; at += needle.size()) {
        const size_t end = at + needle.size();
        if (end == p.names.size() || p.names[end] == ',' || p.names[end] == ' ') {
            const size_t start = p.names.rfind(", ", at);
            return p.names.substr(start == std::string::npos ? 0 : start + 2, at - (start == std::string::npos ? 0 : start + 2));
        }
    }
    return std::to_string(n);
}

void describeInterface(std::ostringstream& page, ITypeInfo* info, IDispatch* object)
{
    TypeAttr a(info);
    if (!a)
        return;
    std::vector<Property> props;
    std::vector<std::string> methods;
    auto propertyOf = [&](MEMBERID id) -> Property& {
        for (Property& p : props)
            if (p.id == id)
                return p;
        props.push_back({id, {}, {}, {}, {}, {}});
        return props.back();
    };
    for (UINT i = 0; i < a->cFuncs; ++i) {
        FUNCDESC* f = nullptr;
        if (FAILED(info->GetFuncDesc(i, &f)))
            continue;
        const Doc d = docOf(info, f->memid);
        if (f->invkind == INVOKE_FUNC) {
            std::vector<BSTR> names(size_t(f->cParams) + 1, nullptr);
            UINT count = 0;
            if (FAILED(info->GetNames(f->memid, names.data(), UINT(names.size()), &count)))
                count = 0;
            std::string sig = "| " + std::to_string(f->memid) + " | `" + com::typeDescText(info, f->elemdescFunc.tdesc) +
                              " " + d.name + "(";
            for (SHORT p = 0; p < f->cParams; ++p)
                sig += (p ? ", " : "") + com::typeDescText(info, f->lprgelemdescParam[p].tdesc) + " " +
                       (size_t(p) + 1 < count ? com::utf8(names[size_t(p) + 1]) : "arg" + std::to_string(p));
            for (UINT n = 0; n < count; ++n)
                SysFreeString(names[n]);
            methods.push_back(sig + ")` | " + cell(d.help) + " |");
        } else {
            Property& p = propertyOf(f->memid);
            p.name = d.name;
            if (p.help.empty())
                p.help = d.help;
            const TYPEDESC& t = f->invkind == INVOKE_PROPERTYGET ? f->elemdescFunc.tdesc
                                                                 : f->lprgelemdescParam[f->cParams - 1].tdesc;
            if (p.type.empty())
                p.type = com::typeDescText(info, t);
            if (p.names.empty())
                p.names = enumNames(info, t);
            const char* access = f->invkind == INVOKE_PROPERTYGET ? "get" : f->invkind == INVOKE_PROPERTYPUT ? "put" : "putref";
            p.access += (p.access.empty() ? "" : ", ") + std::string(access);
            if (f->wFuncFlags & FUNCFLAG_FHIDDEN && p.access.find("hidden") == std::string::npos)
                p.access += ", hidden";
        }
        info->ReleaseFuncDesc(f);
    }
    page << "## Properties\n\n";
    if (props.empty())
        page << "None.\n\n";
    else {
        page << "| Name | DISPID | Type | Access | Default | Help | Values |\n|---|---|---|---|---|---|---|\n";
        for (const Property& p : props)
            page << "| " << p.name << " | " << p.id << " | `" << p.type << "` | " << p.access << " | "
                 << cell(valueText(object, p)) << " | " << cell(p.help) << " | " << cell(p.names) << " |\n";
        page << "\n";
    }
    page << "## Methods\n\n";
    if (methods.empty())
        page << "None.\n\n";
    else {
        page << "| DISPID | Declaration | Help |\n|---|---|---|\n";
        for (const std::string& m : methods)
            page << m << "\n";
        page << "\n";
    }
}

void describeEvents(std::ostringstream& page, ITypeInfo* info)
{
    page << "## Events\n\n";
    if (!info) {
        page << "None.\n\n";
        return;
    }
    TypeAttr a(info);
    if (!a || a->cFuncs == 0) {
        page << "None.\n\n";
        return;
    }
    page << "Event interface `" << docOf(info, MEMBERID_NIL).name << "`.\n\n| DISPID | Event |\n|---|---|\n";
    for (UINT i = 0; i < a->cFuncs; ++i) {
        FUNCDESC* f = nullptr;
        if (FAILED(info->GetFuncDesc(i, &f)))
            continue;
        std::vector<BSTR> names(size_t(f->cParams) + 1, nullptr);
        UINT count = 0;
        if (FAILED(info->GetNames(f->memid, names.data(), UINT(names.size()), &count)))
            count = 0;
        std::string sig = docOf(info, f->memid).name + "(";
        for (SHORT p = 0; p < f->cParams; ++p)
            sig += (p ? ", " : "") + com::typeDescText(info, f->lprgelemdescParam[p].tdesc) + " " +
                   (size_t(p) + 1 < count ? com::utf8(names[size_t(p) + 1]) : "arg" + std::to_string(p));
        for (UINT n = 0; n < count; ++n)
            SysFreeString(names[n]);
        page << "| " << f->memid << " | `" << sig << ")` |\n";
        info->ReleaseFuncDesc(f);
    }
    page << "\n";
}

} // namespace

std::map<std::string, std::string> referencePages(ITypeLib* lib, const ClassSources& sources)
{
    std::map<std::string, std::string> pages;
    std::ostringstream index;
    index << "# Control reference\n\nGenerated by `vyr-tlb --reference` from the type library "
             "`VYRCTRLSLib`; do not edit (regenerate instead).\n\n| Class | ProgID | Description |\n|---|---|---|\n";
    for (UINT i = 0; i < lib->GetTypeInfoCount(); ++i) {
        ComPtr<ITypeInfo> coclass;
        if (FAILED(lib->GetTypeInfo(i, coclass.put())))
            continue;
        TypeAttr a(coclass.get());
        if (!a || a->typekind != TKIND_COCLASS)
            continue;
        const Doc d = docOf(coclass.get(), MEMBERID_NIL);
        const std::string progId = sources.progIdOf ? sources.progIdOf(a->guid) : std::string();
        ComPtr<IDispatch> object = ComPtr<IDispatch>::attach(sources.create ? sources.create(a->guid) : nullptr);
        std::ostringstream page;
        page << "# " << d.name << "\n\n";
        if (!d.help.empty())
            page << d.help << ".\n\n";
        page << "- CLSID: `" << com::formatGuid(a->guid) << "`\n- ProgID: " << (progId.empty() ? "none (not created by the library)" : "`" + progId + "`")
             << "\n";
        if (progId.rfind("VyrControls.", 0) == 0)
            page << "- Qt class: `" << (d.name.rfind("Vyr", 0) == 0 ? d.name : "Vyr" + d.name) << "` in `<vyr/vyrwidgets.h>`\n";
        page << "\n";
        if (const std::string shot = sources.screenshot ? sources.screenshot(a->guid, d.name) : std::string();
            !shot.empty())
            page << "![" << d.name << "](" << shot << ")\n\n";
        ComPtr<ITypeInfo> dispatch, events;
        for (UINT k = 0; k < a->cImplTypes; ++k) {
            INT flags = 0;
            HREFTYPE ref = 0;
            ComPtr<ITypeInfo> impl;
            if (FAILED(coclass->GetImplTypeFlags(k, &flags)) || FAILED(coclass->GetRefTypeOfImplType(k, &ref))
                || FAILED(coclass->GetRefTypeInfo(ref, impl.put())))
                continue;
            if ((flags & IMPLTYPEFLAG_FDEFAULT) && (flags & IMPLTYPEFLAG_FSOURCE))
                events = impl;
            else if ((flags & IMPLTYPEFLAG_FDEFAULT) && !dispatch)
                dispatch = impl;
        }
        ComPtr<ISpecifyPropertyPages> specify;
        CAUUID ids{};
        if (object && SUCCEEDED(object->QueryInterface(IID_ISpecifyPropertyPages, specify.putVoid())) && specify
            && SUCCEEDED(specify->GetPages(&ids))) {
            std::string list;
            for (ULONG k = 0; k < ids.cElems; ++k) {
                const std::string name = sources.nameOf ? sources.nameOf(ids.pElems[k]) : std::string();
                list += (k ? ", " : "") + (name.empty() ? com::formatGuid(ids.pElems[k]) : name);
            }
            CoTaskMemFree(ids.pElems);
            page << "- Property pages: " << (list.empty() ? "none" : list) << "\n\n";
        }
        if (dispatch) {
            page << "Dispatch interface `" << docOf(dispatch.get(), MEMBERID_NIL).name << "`";
            page << (object ? "; defaults are the values of a new object." : ".") << "\n\n";
            describeInterface(page, dispatch.get(), object.get());
        }
        describeEvents(page, events.get());
        pages[d.name + ".md"] = page.str();
        index << "| [" << d.name << "](" << d.name << ".md) | " << (progId.empty() ? "" : "`" + progId + "`") << " | "
              << cell(d.help) << " |\n";
    }
    pages["README.md"] = index.str();
    return pages;
}

} // namespace vyr::tlb
