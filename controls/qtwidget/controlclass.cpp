#include "controls/qtwidget/controlclass.h"
#include "controls/core/vyrcontrols.h"
#include "platform/com/bstr.h"
#include "platform/com/font.h"
#include "platform/com/propbrowse.h"
#include <QColor>
#include <QFont>
#include <QtCore/private/qmetaobjectbuilder_p.h>
#include <mutex>

namespace vyr {

using com::ComPtr;

namespace {

// Type attributes released on scope exit.
class Attr {
public:
    explicit Attr(ITypeInfo* info) : info_(info)
    {
        if (info_ && FAILED(info_->GetTypeAttr(&attr_)))
            attr_ = nullptr;
    }
    ~Attr()
    {
        if (attr_)
            info_->ReleaseTypeAttr(attr_);
    }
    Attr(const Attr&) = delete;
    Attr& operator=(const Attr&) = delete;
    const TYPEATTR* operator->() const { return attr_; }
    explicit operator bool() const { return attr_ != nullptr; }

private:
    ITypeInfo* info_;
    TYPEATTR* attr_ = nullptr;
};

QByteArray nameOf(ITypeInfo* info, MEMBERID id)
{
    com::Bstr name;
    if (FAILED(info->GetDocumentation(id, name.put(), nullptr, nullptr, nullptr)))
        return {};
    return QByteArray::fromStdString(name.str());
}

// An enumeration constant's display string (its help string; its name is an identifier).
QByteArray displayOf(ITypeInfo* info, MEMBERID id)
{
    com::Bstr doc;
    if (FAILED(info->GetDocumentation(id, nullptr, doc.put(), nullptr, nullptr)) || doc.str().empty())
        return nameOf(info, id);
    return QByteArray::fromStdString(doc.str());
}

PropertyKind baseKind(VARTYPE vt, bool* ok)
{
    *ok = true;
    switch (vt) {
    case VT_BSTR: return PropertyKind::String;
    case VT_BOOL: return PropertyKind::Bool;
    case VT_I1: case VT_UI1: case VT_I2: case VT_UI2: case VT_I4: case VT_UI4: case VT_INT: case VT_UINT:
        return PropertyKind::Int;
    case VT_R4: case VT_R8: return PropertyKind::Double;
    default: *ok = false; return PropertyKind::String;
    }
}

// The kind of a getter's return type; false for types Qt programs get no property for.
bool kindOf(ITypeInfo* info, const TYPEDESC& type, ControlProperty& p, std::vector<ControlEnum>& enums)
{
    bool ok = false;
    if (type.vt != VT_USERDEFINED && type.vt != VT_PTR) {
        p.kind = baseKind(type.vt, &ok);
        return ok;
    }
    const TYPEDESC* t = &type;
    if (t->vt == VT_PTR)
        t = t->lptdesc;
    ComPtr<ITypeInfo> ref;
    if (!t || t->vt != VT_USERDEFINED || FAILED(info->GetRefTypeInfo(t->hreftype, ref.put())))
        return false;
    Attr a(ref.get());
    if (!a)
        return false;
    if (type.vt == VT_PTR)
        return a->guid == IID_IFontDisp && (p.kind = PropertyKind::Font, true);
    if (a->typekind == TKIND_ALIAS) {
        if (a->guid == controls::IID_OLE_COLOR) {
            p.kind = PropertyKind::Color;
            return true;
        }
        p.kind = baseKind(a->tdescAlias.vt, &ok); // VYR_COMMAND and other aliases of base types
        return ok;
    }
    if (a->typekind != TKIND_ENUM)
        return false;
    p.kind = PropertyKind::Enum;
    p.enumName = nameOf(ref.get(), MEMBERID_NIL);
    if (p.enumName.isEmpty())
        return false;
    for (const ControlEnum& e : enums)
        if (e.name == p.enumName)
            return true;
    ControlEnum e{p.enumName, {}};
    for (UINT i = 0; i < a->cVars; ++i) {
        VARDESC* v = nullptr;
        if (FAILED(ref->GetVarDesc(i, &v)))
            continue;
        if (v->varkind == VAR_CONST && v->lpvarValue)
            if (auto n = com::Variant(*v->lpvarValue).toLong())
                e.keys.emplace_back(displayOf(ref.get(), v->memid), *n);
        ref->ReleaseVarDesc(v);
    }
    enums.push_back(std::move(e));
    return true;
}

QByteArray qtTypeName(const ControlProperty& p) { return qtValueType(p, "QVariant"); }

QMetaType qtMetaType(const ControlProperty& p)
{
    switch (p.kind) {
    case PropertyKind::String: return QMetaType::fromType<QString>();
    case PropertyKind::Bool: return QMetaType::fromType<bool>();
    case PropertyKind::Int: case PropertyKind::Enum: return QMetaType::fromType<int>();
    case PropertyKind::Double: return QMetaType::fromType<double>();
    case PropertyKind::Color: return QMetaType::fromType<QColor>();
    case PropertyKind::Font: return QMetaType::fromType<QFont>();
    }
    return {};
}

const QMetaObject* buildMetaObject(const ControlClass& c, const QMetaObject* super)
{
    QMetaObjectBuilder b;
    b.setClassName(c.widgetClassName);
    b.setSuperClass(super);
    for (const ControlEnum& e : c.enums) {
        QMetaEnumBuilder eb = b.addEnumerator(e.name);
        eb.setIsScoped(false);
        for (const auto& [key, value] : e.keys)
            eb.addKey(key, value);
    }
    for (const ControlProperty& p : c.properties) {
        // An enumeration's property is declared by the enumeration's name (a meta type would
        // replace the name and the property would lose its enumerator); its meta type is set
        // to int below.
        QMetaPropertyBuilder pb = p.kind == PropertyKind::Enum ? b.addProperty(p.name, p.enumName)
                                                                : b.addProperty(p.name, qtTypeName(p), qtMetaType(p));
        pb.setReadable(true);
        pb.setWritable(p.writable);
        pb.setDesignable(p.writable);
        pb.setStored(p.writable);
        pb.setScriptable(true);
        pb.setEnumOrFlag(p.kind == PropertyKind::Enum);
    }
    QMetaObject* meta = b.toMetaObject();
    // Enumerations carry their values in a QVariant: QMetaProperty::read and write need a meta
    // type to make the value's storage, and with QVariant they hand a key or a number to the
    // widget unconverted, so that the widget itself refuses a key the enumeration lacks (and
    // says so in lastError) instead of Qt refusing it silently.
    auto** types = const_cast<const QtPrivate::QMetaTypeInterface**>(meta->d.metaTypes);
    for (size_t i = 0; i < c.properties.size(); ++i)
        if (c.properties[i].kind == PropertyKind::Enum)
            types[i] = QMetaType::fromType<QVariant>().iface();
    return meta;
}

void describeEvents(ITypeInfo* events, ControlClass& c)
{
    Attr a(events);
    if (!a)
        return;
    for (UINT i = 0; i < a->cFuncs; ++i) {
        FUNCDESC* f = nullptr;
        if (FAILED(events->GetFuncDesc(i, &f)))
            continue;
        c.events[f->memid] = QString::fromUtf8(nameOf(events, f->memid));
        std::vector<BSTR> names(size_t(f->cParams) + 1, nullptr);
        UINT count = 0;
        if (FAILED(events->GetNames(f->memid, names.data(), UINT(names.size()), &count)))
            count = 0;
        auto& params = c.eventParams[f->memid];
        for (SHORT i = 0; i < f->cParams; ++i) {
            ControlEventParam param;
            param.type = f->lprgelemdescParam[i].tdesc.vt;
            param.name = size_t(i) + 1 < count ? QByteArray::fromStdString(com::utf8(names[size_t(i) + 1]))
                                               : "arg" + QByteArray::number(i);
            params.push_back(std::move(param));
        }
        for (UINT i = 0; i < count; ++i)
            SysFreeString(names[i]);
        events->ReleaseFuncDesc(f);
    }
}

// The default source interface of a coclass.
ComPtr<ITypeInfo> defaultSource(ITypeInfo* coclass)
{
    Attr a(coclass);
    if (!a)
        return {};
    for (UINT i = 0; i < a->cImplTypes; ++i) {
        INT flags = 0;
        HREFTYPE ref = 0;
        ComPtr<ITypeInfo> info;
        if (SUCCEEDED(coclass->GetImplTypeFlags(i, &flags)) && flags == (IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE)
            && SUCCEEDED(coclass->GetRefTypeOfImplType(i, &ref)) && SUCCEEDED(coclass->GetRefTypeInfo(ref, info.put())))
            return info;
    }
    return {};
}

} // namespace

QByteArray qtValueType(const ControlProperty& p, const QByteArray& enumType)
{
    switch (p.kind) {
    case PropertyKind::String: return "QString";
    case PropertyKind::Bool: return "bool";
    case PropertyKind::Int: return "int";
    case PropertyKind::Double: return "double";
    case PropertyKind::Color: return "QColor";
    case PropertyKind::Font: return "QFont";
    case PropertyKind::Enum: return enumType;
    }
    return {};
}

int ControlEnum::valueOf(const QByteArray& key, bool* ok) const
{
    for (const auto& [k, v] : keys)
        if (k == key) {
            *ok = true;
            return v;
        }
    *ok = false;
    return 0;
}

const ControlProperty* ControlClass::property(DISPID id) const
{
    for (const ControlProperty& p : properties)
        if (p.id == id)
            return &p;
    return nullptr;
}

const ControlEnum* ControlClass::enumeration(const QByteArray& name) const
{
    for (const ControlEnum& e : enums)
        if (e.name == name)
            return &e;
    return nullptr;
}

QByteArray enumKey(const QString& display)
{
    QByteArray key;
    bool wordStart = true;
    for (QChar ch : display.trimmed()) {
        if (ch.isLetterOrNumber() && ch.unicode() < 128) {
            key += char(wordStart ? ch.toUpper().unicode() : ch.unicode());
            wordStart = false;
        } else {
            if (ch == u'_')
                key += '_';
            wordStart = true;
        }
    }
    if (!key.isEmpty() && key[0] >= '0' && key[0] <= '9')
        key.prepend('_');
    return key;
}

void useDisplayKeys(ControlClass& c, IDispatch* control)
{
    ComPtr<IPerPropertyBrowsing> browse;
    if (!control || FAILED(control->QueryInterface(IID_IPerPropertyBrowsing, browse.putVoid())) || !browse)
        return;
    std::map<QByteArray, bool> done;
    for (const ControlProperty& p : c.properties) {
        if (p.kind != PropertyKind::Enum || done[p.enumName])
            continue;
        CALPOLESTR s{};
        CADWORD k{};
        if (browse->GetPredefinedStrings(p.id, &s, &k) != S_OK)
            continue;
        done[p.enumName] = true;
        std::map<int, QByteArray> byValue;
        for (ULONG i = 0; i < s.cElems; ++i) {
            if (i < k.cElems && s.pElems[i])
                byValue.emplace(int(k.pElems[i]), enumKey(QString::fromStdU16String(s.pElems[i])));
            CoTaskMemFree(s.pElems[i]);
        }
        CoTaskMemFree(s.pElems);
        CoTaskMemFree(k.pElems);
        for (ControlEnum& e : c.enums)
            if (e.name == p.enumName)
                for (auto& [key, value] : e.keys)
                    if (auto it = byValue.find(value); it != byValue.end() && !it->second.isEmpty())
                        key = it->second;
    }
}

QByteArray widgetClassName(const char* className)
{
    QByteArray name(className);
    return name.startsWith("Vyr") ? name : "Vyr" + name;
}

ControlClass describeControl(ITypeInfo* info, ITypeInfo* events, const QByteArray& className)
{
    ControlClass c;
    c.widgetClassName = className;
    Attr a(info);
    if (!a)
        return c;
    // Setters first, so that each getter knows whether it is writable.
    std::map<MEMBERID, bool> puts;
    std::vector<FUNCDESC*> funcs;
    for (UINT i = 0; i < a->cFuncs; ++i) {
        FUNCDESC* f = nullptr;
        if (FAILED(info->GetFuncDesc(i, &f)))
            continue;
        funcs.push_back(f);
        if (f->invkind == INVOKE_PROPERTYPUT || f->invkind == INVOKE_PROPERTYPUTREF)
            puts[f->memid] = true;
    }
    for (FUNCDESC* f : funcs) {
        const bool visible = !(f->wFuncFlags & (FUNCFLAG_FHIDDEN | FUNCFLAG_FRESTRICTED));
        if (f->invkind == INVOKE_PROPERTYGET && f->cParams == 0 && visible) {
            ControlProperty p;
            p.id = f->memid;
            p.name = nameOf(info, f->memid);
            p.writable = puts.count(f->memid) != 0;
            bool seen = false;
            for (const ControlProperty& q : c.properties)
                seen = seen || q.name == p.name;
            if (!p.name.isEmpty() && !seen && kindOf(info, f->elemdescFunc.tdesc, p, c.enums))
                c.properties.push_back(std::move(p));
        }
    }
    for (FUNCDESC* f : funcs)
        info->ReleaseFuncDesc(f);
    if (events)
        describeEvents(events, c);
    return c;
}

const ControlClass* controlClass(REFCLSID clsid, IDispatch* dispatch, const QMetaObject* super)
{
    // Classes and their meta-objects live as long as the process: widgets made from them may
    // be destroyed after any static destructor has run.
    static std::mutex& lock = *new std::mutex;
    static auto& classes = *new std::map<std::string, ControlClass>; // by formatted class identifier
    std::lock_guard guard(lock);
    const std::string key = com::formatGuid(clsid);
    if (auto it = classes.find(key); it != classes.end())
        return &it->second;
    ComPtr<ITypeInfo> info;
    UINT count = 0;
    if (!dispatch || FAILED(dispatch->GetTypeInfoCount(&count)) || count == 0
        || FAILED(dispatch->GetTypeInfo(0, 0, info.put())) || !info)
        return nullptr;
    ComPtr<ITypeInfo> coclass, events;
    ComPtr<IProvideClassInfo> pci;
    if (SUCCEEDED(dispatch->QueryInterface(IID_IProvideClassInfo, pci.putVoid()))
        && SUCCEEDED(pci->GetClassInfo(coclass.put())))
        events = defaultSource(coclass.get());
    QByteArray name = coclass ? nameOf(coclass.get(), MEMBERID_NIL) : QByteArray("Control");
    ControlClass c = describeControl(info.get(), events.get(), widgetClassName(name.constData()));
    useDisplayKeys(c, dispatch);
    c.clsid = clsid;
    c.metaObject = buildMetaObject(c, super);
    return &classes.emplace(key, std::move(c)).first->second;
}

} // namespace vyr
