#include "controls/propertypages/browserrows.h"
#include "controls/core/vyrcontrols.h"
#include "platform/com/bstr.h"
#include "platform/com/dispcall.h"
#include "platform/com/font.h"
#include "platform/com/picture.h"
#include <QFont>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <strings.h>

namespace vyr::controls::browser {

using com::ComPtr;

const GUID kKindPlain = IID_IUnknown;
const GUID kKindFont = IID_IFontDisp;
const GUID kKindPicture = IID_IPictureDisp;
const GUID kKindColor = IID_OLE_COLOR;
const GUID kKindCommand = IID_VYR_COMMAND;
const GUID kKindThird = com::guidOf("C89F7E8C-8E25-4480-BED4-3EF928A1861A");

namespace {


bool browsableBase(VARTYPE vt)
{
    switch (vt) {
    case VT_EMPTY: case VT_NULL: case VT_I2: case VT_I4: case VT_R4: case VT_R8: case VT_CY: case VT_DATE:
    case VT_BSTR: case VT_ERROR: case VT_BOOL: case VT_VARIANT: case VT_DECIMAL: case VT_I1: case VT_UI1:
    case VT_UI2: case VT_UI4: case VT_INT: case VT_UINT:
        return true;
    default:
        return false;
    }
}

struct TypeAttr {
    ITypeInfo* info;
    TYPEATTR* attr = nullptr;
    explicit TypeAttr(ITypeInfo* i) : info(i)
    {
        if (FAILED(info->GetTypeAttr(&attr)))
            attr = nullptr;
    }
    ~TypeAttr()
    {
        if (attr)
            info->ReleaseTypeAttr(attr);
    }
};

// What a getter's type makes of a row: its kind and, for enumerations, the enumeration's
// type information. False when a browser cannot show the type. Aliases and pointers are
// followed through their referenced types (depth-limited against cyclic descriptions).
bool classify(ITypeInfo* owner, const TYPEDESC& t, bool viaPointer, GUID& kind, ComPtr<ITypeInfo>& enumInfo,
              int depth = 0)
{
    if (depth > 8)
        return false;
    if (t.vt == VT_PTR) {
        if (viaPointer || !t.lptdesc)
            return false;
        return classify(owner, *t.lptdesc, true, kind, enumInfo, depth + 1);
    }
    if (t.vt != VT_USERDEFINED) {
        if (viaPointer)
            return false; // pointers go to fonts and pictures only
        kind = kKindPlain;
        return browsableBase(t.vt);
    }
    ComPtr<ITypeInfo> ref;
    if (FAILED(owner->GetRefTypeInfo(t.hreftype, ref.put())) || !ref)
        return false;
    TypeAttr a(ref.get());
    if (!a.attr)
        return false;
    const GUID g = a.attr->guid;
    if (viaPointer) {
        if (g != kKindFont && g != kKindPicture)
            return false;
        kind = g;
        return true;
    }
    switch (a.attr->typekind) {
    case TKIND_ENUM:
        kind = kKindPlain;
        enumInfo = ref;
        return true;
    case TKIND_ALIAS:
        if (g == kKindColor || g == kKindCommand || g == kKindThird) {
            kind = g;
            return true;
        }
        return classify(ref.get(), a.attr->tdescAlias, false, kind, enumInfo, depth + 1);
    default:
        return false;
    }
}

} // namespace

std::vector<EnumConst> enumConstants(ITypeInfo* info)
{
    std::vector<EnumConst> out;
    if (!info)
        return out;
    TypeAttr a(info);
    if (!a.attr || a.attr->typekind != TKIND_ENUM)
        return out;
    for (UINT i = 0; i < a.attr->cVars; ++i) {
        VARDESC* v = nullptr;
        if (FAILED(info->GetVarDesc(i, &v)) || !v)
            continue;
        if (v->varkind == VAR_CONST && v->lpvarValue) {
            com::Variant value(*v->lpvarValue);
            com::Bstr name, doc;
            info->GetDocumentation(v->memid, name.put(), doc.put(), nullptr, nullptr);
            if (auto n = value.toLong())
                out.push_back({doc.length() ? doc.str() : name.str(), *n});
        }
        info->ReleaseVarDesc(v);
    }
    return out;
}

void refreshValue(Row& row)
{
    com::Variant v;
    row.readOk = row.object && SUCCEEDED(com::getProperty(row.object.get(), row.id, v));
    row.value = row.readOk ? std::move(v) : com::Variant();
}

HRESULT readRows(IDispatch* object, std::vector<Row>& rows, std::vector<Row>& third)
{
    if (!object)
        return E_POINTER;
    ComPtr<ITypeInfo> info;
    HRESULT hr = object->GetTypeInfo(0, 0x0800 /* system default locale */, info.put());
    if (FAILED(hr))
        return hr;
    if (!info)
        return E_UNEXPECTED;
    {
        // A dual interface's vtable view leads to its dispatch view.
        TypeAttr a(info.get());
        if (!a.attr)
            return E_UNEXPECTED;
        if (a.attr->typekind == TKIND_INTERFACE && (a.attr->wTypeFlags & TYPEFLAG_FDUAL)) {
            HREFTYPE ref = 0;
            ComPtr<ITypeInfo> view;
            if (SUCCEEDED(info->GetRefTypeOfImplType(UINT(-1), &ref)) &&
                SUCCEEDED(info->GetRefTypeInfo(ref, view.put())) && view)
                info = view;
        }
    }
    TypeAttr a(info.get());
    if (!a.attr)
        return E_UNEXPECTED;
    std::vector<Row> found, foundThird;
    std::set<DISPID> writable;
    std::vector<FUNCDESC*> getters;
    for (UINT i = 0; i < a.attr->cFuncs; ++i) {
        FUNCDESC* f = nullptr;
        if (FAILED(info->GetFuncDesc(i, &f)) || !f)
            continue;
        if (f->invkind == INVOKE_PROPERTYPUT || f->invkind == INVOKE_PROPERTYPUTREF)
            writable.insert(f->memid);
        if (f->invkind == INVOKE_PROPERTYGET && !(f->wFuncFlags & (FUNCFLAG_FRESTRICTED | FUNCFLAG_FHIDDEN)) &&
            f->cParams == 0)
            getters.push_back(f);
        else
            info->ReleaseFuncDesc(f);
    }
    for (FUNCDESC* f : getters) {
        Row row;
        if (classify(info.get(), f->elemdescFunc.tdesc, false, row.kind, row.enumInfo)) {
            row.object = com::ComPtr<IDispatch>(object);
            row.id = f->memid;
            com::Bstr name, doc;
            info->GetDocumentation(f->memid, name.put(), doc.put(), nullptr, nullptr);
            row.name = name.str();
            row.doc = doc.str();
            row.constants = enumConstants(row.enumInfo.get());
            row.readOnly = !writable.count(f->memid);
            refreshValue(row);
            (row.kind == kKindThird ? foundThird : found).push_back(std::move(row));
        }
        info->ReleaseFuncDesc(f);
    }
    rows.insert(rows.end(), std::make_move_iterator(found.begin()), std::make_move_iterator(found.end()));
    third.insert(third.end(), std::make_move_iterator(foundThird.begin()), std::make_move_iterator(foundThird.end()));
    return S_OK;
}

std::optional<OLE_COLOR> colorValue(const com::Variant& value)
{
    const VARIANT& v = value.get();
    if (v.vt == VT_UI4 || v.vt == VT_I4)
        return OLE_COLOR(v.ulVal);
    com::Variant u;
    if (SUCCEEDED(value.changeType(VT_UI4, u)))
        return OLE_COLOR(u.get().ulVal);
    return std::nullopt;
}

std::string colorText(OLE_COLOR color)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "&H%08lX&", static_cast<unsigned long>(color));
    return buf;
}

std::string valueText(const Row& row, const com::Variant& value)
{
    if (value.isEmpty())
        return {};
    if (row.kind == kKindColor) {
        auto v = colorValue(value);
        return v ? colorText(*v) : std::string();
    }
    if (row.kind == kKindFont) {
        const VARIANT& v = value.get();
        if ((v.vt != VT_DISPATCH && v.vt != VT_UNKNOWN) || !v.punkVal)
            return "(None)";
        QFont f = com::qfontOf(v.punkVal);
        char buf[16];
        std::snprintf(buf, sizeof buf, " %g", f.pointSizeF());
        return f.family().toStdString() + buf;
    }
    if (row.kind == kKindPicture) {
        const VARIANT& v = value.get();
        return (v.vt == VT_DISPATCH || v.vt == VT_UNKNOWN) && v.punkVal ? "(Picture)" : "(None)";
    }
    if (!row.constants.empty()) {
        if (auto n = value.toLong())
            for (const EnumConst& c : row.constants)
                if (c.value == *n)
                    return c.name;
        return value.toString().value_or("");
    }
    if (value.type() == VT_BOOL)
        return value.get().boolVal ? "True" : "False";
    return value.toString().value_or("");
}

bool parseValue(const Row& row, const std::string& text, com::Variant& out)
{
    if (!row.constants.empty()) {
        for (const EnumConst& c : row.constants)
            if (strcasecmp(c.name.c_str(), text.c_str()) == 0) {
                out = com::Variant::fromLong(c.value);
                return true;
            }
    }
    if (row.kind == kKindColor) {
        std::string t = text;
        if (t.size() > 2 && (t.rfind("&H", 0) == 0 || t.rfind("&h", 0) == 0)) {
            t = t.substr(2);
            if (!t.empty() && t.back() == '&')
                t.pop_back();
            char* end = nullptr;
            const unsigned long v = std::strtoul(t.c_str(), &end, 16);
            if (t.empty() || *end || v > 0xFFFFFFFFul)
                return false;
            out = com::Variant::fromULong(uint32_t(v));
            return true;
        }
    }
    if (row.kind == kKindFont || row.kind == kKindPicture)
        return false;
    const VARTYPE vt = row.value.type();
    if (vt == VT_BOOL) {
        if (strcasecmp(text.c_str(), "True") == 0 || text == "1" || text == "-1") {
            out = com::Variant::fromBool(true);
            return true;
        }
        if (strcasecmp(text.c_str(), "False") == 0 || text == "0") {
            out = com::Variant::fromBool(false);
            return true;
        }
        return false;
    }
    com::Variant s = com::Variant::fromString(text);
    if (vt == VT_EMPTY || vt == VT_BSTR || vt == VT_VARIANT) {
        out = s;
        return true;
    }
    return SUCCEEDED(s.changeType(vt, out));
}

} // namespace vyr::controls::browser
