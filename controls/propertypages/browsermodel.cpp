#include "controls/propertypages/browsermodel.h"
#include "platform/com/dispcall.h"
#include "platform/com/font.h"
#include "platform/com/object.h"

namespace vyr::controls::browser {

using com::ComPtr;

namespace {

// What a font shows: name, size, weight, italic, underline, strikethrough, charset.
struct FontLook {
    std::u16string name;
    int64_t size = 0;
    SHORT weight = 0, charset = 0;
    BOOL italic = 0, underline = 0, strike = 0;
    bool operator==(const FontLook&) const = default;
};

bool lookOf(const VARIANT& v, FontLook& out)
{
    ComPtr<IFont> font;
    if ((v.vt != VT_DISPATCH && v.vt != VT_UNKNOWN) || !v.punkVal ||
        FAILED(v.punkVal->QueryInterface(IID_IFont, font.putVoid())) || !font)
        return false;
    BSTR name = nullptr;
    CY size{};
    const bool ok = SUCCEEDED(font->get_Name(&name)) && SUCCEEDED(font->get_Size(&size)) &&
                    SUCCEEDED(font->get_Weight(&out.weight)) && SUCCEEDED(font->get_Charset(&out.charset)) &&
                    SUCCEEDED(font->get_Italic(&out.italic)) && SUCCEEDED(font->get_Underline(&out.underline)) &&
                    SUCCEEDED(font->get_Strikethrough(&out.strike));
    out.name = name ? std::u16string(name, SysStringLen(name)) : std::u16string();
    out.size = size.int64;
    SysFreeString(name);
    out.italic = out.italic != 0;
    out.underline = out.underline != 0;
    out.strike = out.strike != 0;
    return ok;
}

// Objects agree on a value when it is equal; fonts agree when they look the same, whichever
// object holds the look.
bool sameValue(const Row& a, const Row& b)
{
    if (a.value == b.value)
        return true;
    if (a.kind != kKindFont)
        return false;
    FontLook x, y;
    return lookOf(a.value.get(), x) && lookOf(b.value.get(), y) && x == y;
}

} // namespace

// One sink serves every browsed object: OnChanged does not say who sent it, so the sink asks
// the model to refresh that dispid in each object (a cheap getter call per object).
class NotifySink : public com::Object<IPropertyNotifySink> {
public:
    explicit NotifySink(BrowserModel* model) : model_(model) {}
    void detach() { model_ = nullptr; }
    STDMETHOD(OnChanged)(DISPID id) override
    {
        if (model_)
            model_->onChanged(nullptr, id);
        return S_OK;
    }
    STDMETHOD(OnRequestEdit)(DISPID) override { return S_OK; }

private:
    BrowserModel* model_;
};

BrowserModel::BrowserModel() : sink_(com::make<NotifySink>(this)) {}

BrowserModel::~BrowserModel()
{
    clear();
    sink_->detach();
}

void BrowserModel::disconnect(Object& o)
{
    if (o.point && o.cookie)
        o.point->Unadvise(o.cookie);
    o.point.reset();
    o.cookie = 0;
}

void BrowserModel::clear()
{
    for (auto& o : objects_)
        disconnect(*o);
    objects_.clear();
    lines_.clear();
}

HRESULT BrowserModel::setDispatch(IDispatch* object)
{
    clear();
    if (!object) {
        if (changed)
            changed(DISPID_UNKNOWN);
        return S_OK;
    }
    return addDispatch(object);
}

HRESULT BrowserModel::addDispatch(IDispatch* object)
{
    if (!object)
        return E_POINTER;
    auto o = std::make_unique<Object>();
    o->dispatch = ComPtr<IDispatch>(object);
    if (HRESULT hr = readRows(object, o->rows, o->third); FAILED(hr))
        return hr;
    ComPtr<IConnectionPointContainer> cpc;
    if (SUCCEEDED(object->QueryInterface(IID_IConnectionPointContainer, cpc.putVoid())) && cpc &&
        SUCCEEDED(cpc->FindConnectionPoint(IID_IPropertyNotifySink, o->point.put())) && o->point) {
        if (FAILED(o->point->Advise(static_cast<IPropertyNotifySink*>(sink_.get()), &o->cookie)))
            o->point.reset();
    }
    objects_.push_back(std::move(o));
    rebuild();
    if (changed)
        changed(DISPID_UNKNOWN);
    return S_OK;
}

void BrowserModel::rebuild()
{
    lines_.clear();
    if (objects_.empty())
        return;
    for (const Row& first : objects_[0]->rows) {
        Line line;
        line.name = first.name;
        line.doc = first.doc;
        line.id = first.id;
        line.kind = first.kind;
        line.constants = first.constants;
        line.readOnly = first.readOnly;
        line.rows.push_back(&first);
        bool everywhere = true;
        for (size_t i = 1; i < objects_.size() && everywhere; ++i) {
            const Row* match = nullptr;
            for (const Row& r : objects_[i]->rows)
                if (r.id == first.id && r.name == first.name && r.kind == first.kind) {
                    match = &r;
                    break;
                }
            if (match) {
                line.rows.push_back(match);
                line.readOnly = line.readOnly || match->readOnly;
            } else {
                everywhere = false;
            }
        }
        if (!everywhere)
            continue;
        line.agree = true;
        for (const Row* r : line.rows)
            if (!r->readOk || !sameValue(*r, first))
                line.agree = false;
        if (line.agree)
            line.value = first.value;
        lines_.push_back(std::move(line));
    }
}

std::vector<const Row*> BrowserModel::thirdRows() const
{
    std::vector<const Row*> out;
    for (const auto& o : objects_)
        for (const Row& r : o->third)
            out.push_back(&r);
    return out;
}

int BrowserModel::lineOf(std::string_view name) const
{
    for (size_t i = 0; i < lines_.size(); ++i)
        if (lines_[i].name == name)
            return int(i);
    return -1;
}

HRESULT BrowserModel::write(size_t index, const com::Variant& value)
{
    if (index >= lines_.size())
        return E_INVALIDARG;
    const DISPID id = lines_[index].id;
    std::vector<ComPtr<IDispatch>> targets;
    for (const Row* r : lines_[index].rows)
        targets.push_back(r->object);
    HRESULT first = S_OK;
    for (auto& t : targets) {
        const HRESULT hr = com::putProperty(t.get(), id, value); // fonts and pictures by value
        if (FAILED(hr) && SUCCEEDED(first))
            first = hr;
    }
    // Objects without property notifications are read back here.
    onChanged(nullptr, id);
    return first;
}

HRESULT BrowserModel::writeText(size_t index, const std::string& text)
{
    if (index >= lines_.size())
        return E_INVALIDARG;
    const Line& line = lines_[index];
    com::Variant v;
    if (!line.rows.empty() && parseValue(*line.rows.front(), text, v))
        return write(index, v);
    return DISP_E_TYPEMISMATCH;
}

std::string BrowserModel::text(size_t index) const
{
    if (index >= lines_.size() || !lines_[index].agree || lines_[index].rows.empty())
        return {};
    return valueText(*lines_[index].rows.front(), lines_[index].value);
}

void BrowserModel::onChanged(IDispatch* object, DISPID id)
{
    for (auto& o : objects_) {
        if (object && o->dispatch.get() != object)
            continue;
        for (Row& r : o->rows)
            if (id == DISPID_UNKNOWN || r.id == id)
                refreshValue(r);
        for (Row& r : o->third)
            if (id == DISPID_UNKNOWN || r.id == id)
                refreshValue(r);
    }
    rebuild();
    if (changed)
        changed(id);
}

} // namespace vyr::controls::browser
