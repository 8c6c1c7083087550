#include "platform/com/typelibtext.h"
#include "platform/com/bstr.h"
#include "platform/com/comptr.h"
#include <sstream>
#include <strings.h>

namespace vyr::com {

namespace {

std::string nameOfType(ITypeInfo* info)
{
    Bstr name;
    if (!info || FAILED(info->GetDocumentation(MEMBERID_NIL, name.put(), nullptr, nullptr, nullptr)))
        return "?";
    return name.str();
}

std::string quoted(const std::string& s)
{
    std::string out = "\"";
    for (char c : s) {
        if (c == '"' || c == '\\')
            out += '\\';
        out += c;
    }
    return out + "\"";
}

std::string baseName(VARTYPE vt)
{
    switch (vt) {
    case VT_EMPTY: return "VARIANT";
    case VT_I2: return "short";
    case VT_I4: return "long";
    case VT_R4: return "float";
    case VT_R8: return "double";
    case VT_CY: return "CURRENCY";
    case VT_DATE: return "DATE";
    case VT_BSTR: return "BSTR";
    case VT_DISPATCH: return "IDispatch*";
    case VT_ERROR: return "SCODE";
    case VT_BOOL: return "VARIANT_BOOL";
    case VT_VARIANT: return "VARIANT";
    case VT_UNKNOWN: return "IUnknown*";
    case VT_I1: return "char";
    case VT_UI1: return "unsigned char";
    case VT_UI2: return "unsigned short";
    case VT_UI4: return "unsigned long";
    case VT_INT: return "int";
    case VT_UINT: return "unsigned int";
    case VT_VOID: return "void";
    case VT_HRESULT: return "HRESULT";
    default: return "VARTYPE(" + std::to_string(vt) + ")";
    }
}

std::string memberAttributes(ITypeInfo* info, const FUNCDESC& f)
{
    std::ostringstream a;
    a << "id(" << f.memid << ")";
    if (f.invkind == INVOKE_PROPERTYGET)
        a << ", propget";
    else if (f.invkind == INVOKE_PROPERTYPUT)
        a << ", propput";
    else if (f.invkind == INVOKE_PROPERTYPUTREF)
        a << ", propputref";
    if (f.wFuncFlags & FUNCFLAG_FBINDABLE)
        a << ", bindable";
    if (f.wFuncFlags & FUNCFLAG_FHIDDEN)
        a << ", hidden";
    if (f.wFuncFlags & FUNCFLAG_FRESTRICTED)
        a << ", restricted";
    Bstr doc;
    if (SUCCEEDED(info->GetDocumentation(f.memid, nullptr, doc.put(), nullptr, nullptr)) && !doc.str().empty())
        a << ", helpstring(" << quoted(doc.str()) << ")";
    return a.str();
}

void listFunctions(std::ostringstream& out, ITypeInfo* info, const TYPEATTR& attr)
{
    for (UINT i = 0; i < attr.cFuncs; ++i) {
        FUNCDESC* f = nullptr;
        if (FAILED(info->GetFuncDesc(i, &f)))
            continue;
        BSTR names[32] = {};
        UINT count = 0;
        info->GetNames(f->memid, names, 32, &count);
        std::string name = count ? utf8(names[0]) : "?";
        out << "        [" << memberAttributes(info, *f) << "] " << typeDescText(info, f->elemdescFunc.tdesc) << " "
            << name << "(";
        for (SHORT p = 0; p < f->cParams; ++p) {
            const ELEMDESC& e = f->lprgelemdescParam[p];
            if (p)
                out << ", ";
            const USHORT pf = e.paramdesc.wParamFlags;
            if (pf & PARAMFLAG_FRETVAL)
                out << "[out, retval] ";
            else if (pf & PARAMFLAG_FOUT)
                out << "[out] ";
            const std::string pname = UINT(p + 1) < count ? utf8(names[p + 1]) : (pf & PARAMFLAG_FRETVAL ? "retval" : "value");
            out << typeDescText(info, e.tdesc) << " " << pname;
        }
        out << ");\n";
        for (UINT n = 0; n < count; ++n)
            SysFreeString(names[n]);
        info->ReleaseFuncDesc(f);
    }
}

} // namespace

std::string typeDescText(ITypeInfo* info, const TYPEDESC& t)
{
    if (t.vt == VT_PTR)
        return t.lptdesc ? typeDescText(info, *t.lptdesc) + "*" : "void*";
    if (t.vt == VT_USERDEFINED) {
        ComPtr<ITypeInfo> ref;
        if (!info || FAILED(info->GetRefTypeInfo(t.hreftype, ref.put())))
            return "?";
        return nameOfType(ref.get());
    }
    return baseName(t.vt);
}

std::string typeInfoText(ITypeInfo* info)
{
    if (!info)
        return {};
    TYPEATTR* attr = nullptr;
    if (FAILED(info->GetTypeAttr(&attr)))
        return {};
    std::ostringstream out;
    const std::string name = nameOfType(info);
    Bstr doc;
    info->GetDocumentation(MEMBERID_NIL, nullptr, doc.put(), nullptr, nullptr);
    std::string attrs = attr->guid != GUID_NULL ? "uuid(" + formatGuid(attr->guid).substr(1, 36) + ")" : "";
    auto add = [&](const std::string& a) { attrs += (attrs.empty() ? "" : ", ") + a; };
    if (attr->wTypeFlags & TYPEFLAG_FDUAL)
        add("dual");
    if (attr->wTypeFlags & TYPEFLAG_FHIDDEN)
        add("hidden");
    if (attr->wTypeFlags & TYPEFLAG_FCONTROL)
        add("control");
    if (!doc.str().empty())
        add("helpstring(" + quoted(doc.str()) + ")");
    const std::string head = attrs.empty() ? "    " : "    [" + attrs + "]\n    ";
    switch (attr->typekind) {
    case TKIND_ALIAS:
        out << head << "typedef " << typeDescText(info, attr->tdescAlias) << " " << name << ";\n";
        break;
    case TKIND_ENUM:
        out << head << "typedef enum " << name << " {\n";
        for (UINT i = 0; i < attr->cVars; ++i) {
            VARDESC* v = nullptr;
            if (FAILED(info->GetVarDesc(i, &v)))
                continue;
            BSTR n = nullptr;
            UINT c = 0;
            info->GetNames(v->memid, &n, 1, &c);
            out << "        " << (c ? utf8(n) : "?") << " = " << (v->lpvarValue ? v->lpvarValue->lVal : 0)
                << (i + 1 < attr->cVars ? "," : "") << "\n";
            SysFreeString(n);
            info->ReleaseVarDesc(v);
        }
        out << "    } " << name << ";\n";
        break;
    case TKIND_DISPATCH:
    case TKIND_INTERFACE:
        out << head << (attr->typekind == TKIND_DISPATCH ? "dispinterface " : "interface ") << name << " {\n";
        listFunctions(out, info, *attr);
        out << "    };\n";
        break;
    case TKIND_COCLASS:
        out << head << "coclass " << name << " {\n";
        for (UINT i = 0; i < attr->cImplTypes; ++i) {
            HREFTYPE ref = 0;
            INT flags = 0;
            ComPtr<ITypeInfo> impl;
            if (FAILED(info->GetRefTypeOfImplType(i, &ref)) || FAILED(info->GetRefTypeInfo(ref, impl.put())))
                continue;
            info->GetImplTypeFlags(i, &flags);
            std::string f = (flags & IMPLTYPEFLAG_FDEFAULT) ? "default" : "";
            if (flags & IMPLTYPEFLAG_FSOURCE)
                f += f.empty() ? "source" : ", source";
            out << "        " << (f.empty() ? "" : "[" + f + "] ") << "dispinterface " << nameOfType(impl.get()) << ";\n";
        }
        out << "    };\n";
        break;
    default:
        out << head << "/* " << name << ": type kind " << attr->typekind << " */\n";
        break;
    }
    info->ReleaseTypeAttr(attr);
    return out.str();
}

std::string typeLibText(ITypeLib* lib, const std::vector<std::string>& only)
{
    if (!lib)
        return {};
    auto wanted = [&](const std::string& n) {
        if (only.empty())
            return true;
        for (const std::string& o : only)
            if (strcasecmp(o.c_str(), n.c_str()) == 0)
                return true;
        return false;
    };
    // A coclass asked for brings the interfaces it implements.
    std::vector<std::string> names = only;
    for (UINT i = 0, n = lib->GetTypeInfoCount(); i < n && !only.empty(); ++i) {
        ComPtr<ITypeInfo> info;
        TYPEKIND kind{};
        if (FAILED(lib->GetTypeInfoType(i, &kind)) || kind != TKIND_COCLASS || FAILED(lib->GetTypeInfo(i, info.put())) ||
            !wanted(nameOfType(info.get())))
            continue;
        for (UINT k = 0;; ++k) {
            HREFTYPE ref = 0;
            ComPtr<ITypeInfo> impl;
            if (FAILED(info->GetRefTypeOfImplType(k, &ref)) || FAILED(info->GetRefTypeInfo(ref, impl.put())))
                break;
            names.push_back(nameOfType(impl.get()));
        }
    }
    auto selected = [&](const std::string& n) {
        if (only.empty())
            return true;
        for (const std::string& o : names)
            if (strcasecmp(o.c_str(), n.c_str()) == 0)
                return true;
        return false;
    };
    std::ostringstream out;
    TLIBATTR* la = nullptr;
    Bstr name, doc;
    lib->GetDocumentation(-1, name.put(), doc.put(), nullptr, nullptr);
    if (SUCCEEDED(lib->GetLibAttr(&la))) {
        out << "[uuid(" << formatGuid(la->guid).substr(1, 36) << "), version(" << la->wMajorVerNum << "."
            << la->wMinorVerNum << ")";
        if (!doc.str().empty())
            out << ", helpstring(" << quoted(doc.str()) << ")";
        out << "]\n";
        lib->ReleaseTLibAttr(la);
    }
    out << "library " << name.str() << "\n{\n";
    bool first = true;
    for (UINT i = 0, n = lib->GetTypeInfoCount(); i < n; ++i) {
        ComPtr<ITypeInfo> info;
        if (FAILED(lib->GetTypeInfo(i, info.put())) || !selected(nameOfType(info.get())))
            continue;
        out << (first ? "" : "\n") << typeInfoText(info.get());
        first = false;
    }
    out << "};\n";
    return out.str();
}

} // namespace vyr::com
