// StdFont: a font description (face name, size in CY points, weight, charset, style flags)
// realised as a QFont on demand. The description is what persists and compares; the QFont is
// only built for drawing, so loading a font never touches the font database.
#include "platform/com/font.h"
#include "platform/com/dispargs.h"
#include "platform/com/stdobjects.h"
#include "platform/com/streamio.h"
#include <QFont>
#include <QFontInfo>
#include <QFontMetrics>
#include <QStringDecoder>
#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>
#include <vector>

namespace vyr::com {
namespace {

// Answered only by this library's font objects, so qfontOf and IsEqual can read them directly.
constexpr IID IID_StdFontImpl = guidOf("f3011e13-36c4-48b3-95bb-8bfd01c6a0af");

constexpr SHORT FW_NORMAL = 400;
constexpr SHORT FW_BOLD = 700;
constexpr SHORT kBoldThreshold = 550; // weights above count as bold
constexpr BYTE kStreamVersion = 1;
constexpr BYTE kItalic = 0x02;
constexpr BYTE kUnderline = 0x04;
constexpr BYTE kStrikethrough = 0x08;
constexpr int64_t kMaxSize = 0xFFFFFFFF; // the stream keeps the low 32 bits of the CY
constexpr size_t kMaxNameBytes = 255;    // the stream's name length is one byte
constexpr size_t kHeaderBytes = 1 + 2 + 1 + 2 + 4 + 1;

struct FontDesc {
    std::u16string name = u"MS Sans Serif";
    int64_t size = 80000; // CY: points * 10000
    SHORT weight = FW_NORMAL;
    SHORT charset = 0;
    bool italic = false;
    bool underline = false;
    bool strikethrough = false;
    bool operator==(const FontDesc&) const = default;
};

QByteArray nameBytes(const std::u16string& name) { return QString::fromStdU16String(name).toUtf8(); }

// Names are stored as UTF-8; bytes that are not valid UTF-8 come from an 8-bit code page and
// are read as Latin-1 so that no character is lost.
std::u16string nameFromBytes(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(bytes);
    if (utf8.hasError())
        text = QString::fromLatin1(bytes);
    return text.toStdU16String();
}

// Cut at a character boundary so that the stored name stays valid UTF-8.
QByteArray truncatedName(QByteArray bytes)
{
    if (size_t(bytes.size()) <= kMaxNameBytes)
        return bytes;
    qsizetype n = kMaxNameBytes;
    while (n > 0 && (uint8_t(bytes[n]) & 0xC0) == 0x80)
        --n;
    return bytes.left(n);
}

QFont realize(const FontDesc& d, LONG ratioLogical, LONG ratioHimetric)
{
    QFont f(QString::fromStdU16String(d.name));
    f.setStyleHint(QFont::SansSerif);
    // Clamped for drawing only, so that a hostile stream cannot make the painter build
    // enormous glyphs; the description itself keeps the stored value.
    const double points = std::clamp(double(d.size) / 10000.0, 1.0, 1000.0);
    if (ratioLogical && ratioHimetric) {
        const double px = points * 2540.0 / 72.0 * double(ratioLogical) / double(ratioHimetric);
        f.setPixelSize(int(std::clamp(std::lround(px), 1L, 4000L)));
    } else {
        f.setPointSizeF(points);
    }
    f.setWeight(QFont::Weight(std::clamp<int>(d.weight ? d.weight : FW_NORMAL, 1, 1000)));
    f.setItalic(d.italic);
    f.setUnderline(d.underline);
    f.setStrikeOut(d.strikethrough);
    return f;
}

HRESULT validName(BSTR name)
{
    if (!name)
        return CTL_E_INVALIDPROPERTYVALUE;
    return size_t(nameBytes(std::u16string(name, SysStringLen(name))).size()) <= kMaxNameBytes
               ? S_OK
               : CTL_E_INVALIDPROPERTYVALUE;
}

bool validSize(int64_t cy) { return cy >= 0 && cy <= kMaxSize; }

class StdFont final : public Object<IFont, IFontDisp, IPersistStream> {
public:
    explicit StdFont(FontDesc d = {}) : desc_(std::move(d)) {}

    const FontDesc& desc() const { return desc_; }
    QFont qfont() const { return realize(desc_, ratioLogical_, ratioHimetric_); }

    // IFont
    STDMETHOD(get_Name)(BSTR* name) override
    {
        if (!name)
            return E_POINTER;
        *name = SysAllocStringLen(desc_.name.data(), UINT(desc_.name.size()));
        return *name ? S_OK : E_OUTOFMEMORY;
    }
    STDMETHOD(put_Name)(BSTR name) override
    {
        if (HRESULT hr = validName(name); FAILED(hr))
            return hr;
        FontDesc d = desc_;
        d.name.assign(name, SysStringLen(name));
        return change(std::move(d));
    }
    STDMETHOD(get_Size)(CY* size) override { return disp::writeOut(size, CY{desc_.size}); }
    STDMETHOD(put_Size)(CY size) override
    {
        if (!validSize(size.int64))
            return CTL_E_INVALIDPROPERTYVALUE;
        return set(&FontDesc::size, size.int64);
    }
    STDMETHOD(get_Bold)(BOOL* bold) override { return disp::writeOut(bold, BOOL(desc_.weight > kBoldThreshold)); }
    STDMETHOD(put_Bold)(BOOL bold) override { return set(&FontDesc::weight, bold ? FW_BOLD : FW_NORMAL); }
    STDMETHOD(get_Italic)(BOOL* italic) override { return disp::writeOut(italic, BOOL(desc_.italic)); }
    STDMETHOD(put_Italic)(BOOL italic) override { return set(&FontDesc::italic, italic != 0); }
    STDMETHOD(get_Underline)(BOOL* underline) override { return disp::writeOut(underline, BOOL(desc_.underline)); }
    STDMETHOD(put_Underline)(BOOL underline) override { return set(&FontDesc::underline, underline != 0); }
    STDMETHOD(get_Strikethrough)(BOOL* strike) override { return disp::writeOut(strike, BOOL(desc_.strikethrough)); }
    STDMETHOD(put_Strikethrough)(BOOL strike) override { return set(&FontDesc::strikethrough, strike != 0); }
    STDMETHOD(get_Weight)(SHORT* weight) override { return disp::writeOut(weight, desc_.weight); }
    STDMETHOD(put_Weight)(SHORT weight) override { return set(&FontDesc::weight, weight); }
    STDMETHOD(get_Charset)(SHORT* charset) override { return disp::writeOut(charset, desc_.charset); }
    STDMETHOD(put_Charset)(SHORT charset) override { return set(&FontDesc::charset, charset); }
    STDMETHOD(get_hFont)(HFONT* font) override
    {
        if (!font)
            return E_POINTER;
        if (!handle_)
            handle_ = std::make_shared<QFont>(qfont());
        *font = reinterpret_cast<HFONT>(handle_.get());
        return S_OK;
    }
    STDMETHOD(Clone)(IFont** clone) override
    {
        if (!clone)
            return E_POINTER;
        auto c = make<StdFont>(desc_);
        c->ratioLogical_ = ratioLogical_;
        c->ratioHimetric_ = ratioHimetric_;
        *clone = static_cast<IFont*>(c.detach());
        return S_OK;
    }
    STDMETHOD(IsEqual)(IFont* other) override;
    STDMETHOD(SetRatio)(LONG logical, LONG himetric) override
    {
        if (logical <= 0 || himetric <= 0)
            return E_INVALIDARG;
        ratioLogical_ = logical;
        ratioHimetric_ = himetric;
        handle_.reset();
        return S_OK;
    }
    STDMETHOD(QueryTextMetrics)(TEXTMETRICOLE* tm) override;
    STDMETHOD(AddRefHfont)(HFONT font) override
    {
        if (auto* lent = findLent(font)) {
            ++lent->second;
            return S_OK;
        }
        if (!font || !handle_ || font != reinterpret_cast<HFONT>(handle_.get()))
            return E_INVALIDARG;
        lent_.emplace_back(handle_, 1);
        return S_OK;
    }
    STDMETHOD(ReleaseHfont)(HFONT font) override
    {
        auto* lent = findLent(font);
        if (!lent)
            return E_INVALIDARG;
        if (--lent->second == 0)
            lent_.erase(lent_.begin() + (lent - lent_.data()));
        return S_OK;
    }
    STDMETHOD(SetHdc)(HDC dc) override
    {
        dc_ = dc;
        return S_OK;
    }

    // IDispatch (IFontDisp)
    STDMETHOD(GetTypeInfoCount)(UINT* count) override { return disp::writeOut(count, UINT(0)); }
    STDMETHOD(GetTypeInfo)(UINT, LCID, ITypeInfo** info) override { return disp::noTypeInfo(info); }
    STDMETHOD(GetIDsOfNames)(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override
    {
        return disp::idsOfNames({{u"Name", DISPID_FONT_NAME},
                                 {u"Size", DISPID_FONT_SIZE},
                                 {u"Bold", DISPID_FONT_BOLD},
                                 {u"Italic", DISPID_FONT_ITALIC},
                                 {u"Underline", DISPID_FONT_UNDER},
                                 {u"Strikethrough", DISPID_FONT_STRIKE},
                                 {u"Weight", DISPID_FONT_WEIGHT},
                                 {u"Charset", DISPID_FONT_CHARSET}},
                                names, count, ids);
    }
    STDMETHOD(Invoke)(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO*, UINT* argErr) override;

    // IPersistStream
    STDMETHOD(GetClassID)(CLSID* clsid) override { return disp::writeOut(clsid, CLSID_StdFont); }
    STDMETHOD(IsDirty)() override { return dirty_ ? S_OK : S_FALSE; }
    STDMETHOD(Load)(IStream* stream) override;
    STDMETHOD(Save)(IStream* stream, BOOL clearDirty) override;
    STDMETHOD(GetSizeMax)(ULARGE_INTEGER* size) override
    {
        return disp::writeOut(size, ULARGE_INTEGER{kHeaderBytes + size_t(truncatedName(nameBytes(desc_.name)).size())});
    }

protected:
    void* queryExtra(REFIID riid) override { return riid == IID_StdFontImpl ? static_cast<IFont*>(this) : nullptr; }

private:
    template <class T>
    HRESULT set(T FontDesc::*field, T value)
    {
        FontDesc d = desc_;
        d.*field = value;
        return change(std::move(d));
    }
    // A new description invalidates the realised font; handles lent out stay alive.
    HRESULT change(FontDesc d)
    {
        if (d == desc_)
            return S_OK;
        desc_ = std::move(d);
        handle_.reset();
        dirty_ = true;
        return S_OK;
    }
    std::pair<std::shared_ptr<QFont>, int>* findLent(HFONT font)
    {
        for (auto& l : lent_)
            if (font && reinterpret_cast<HFONT>(l.first.get()) == font)
                return &l;
        return nullptr;
    }
    HRESULT getProperty(DISPID id, Variant& out);
    HRESULT putProperty(DISPID id, const DISPPARAMS* params, UINT* argErr);

    FontDesc desc_;
    LONG ratioLogical_ = 0;
    LONG ratioHimetric_ = 0;
    bool dirty_ = false;
    std::shared_ptr<QFont> handle_;                             // the font behind get_hFont
    std::vector<std::pair<std::shared_ptr<QFont>, int>> lent_; // handles kept by AddRefHfont
    HDC dc_ = nullptr;
};

StdFont* ownFont(IUnknown* unk)
{
    IFont* own = nullptr;
    if (!unk || FAILED(unk->QueryInterface(IID_StdFontImpl, reinterpret_cast<void**>(&own))))
        return nullptr;
    own->Release(); // the caller holds `unk`, which keeps the object alive
    return static_cast<StdFont*>(own);
}

// The description of any IFont: ours directly, a foreign one through its properties.
std::optional<FontDesc> describe(IUnknown* unk)
{
    if (StdFont* own = ownFont(unk))
        return own->desc();
    ComPtr<IFont> f;
    if (!unk || FAILED(unk->QueryInterface(IID_IFont, f.putVoid())) || !f)
        return std::nullopt;
    FontDesc d;
    Bstr name;
    CY size{};
    BOOL italic = 0, underline = 0, strike = 0;
    if (FAILED(f->get_Name(name.put())) || FAILED(f->get_Size(&size)) || FAILED(f->get_Weight(&d.weight)) ||
        FAILED(f->get_Charset(&d.charset)) || FAILED(f->get_Italic(&italic)) ||
        FAILED(f->get_Underline(&underline)) || FAILED(f->get_Strikethrough(&strike)))
        return std::nullopt;
    d.name.assign(name.get() ? name.get() : u"", name.length());
    d.size = size.int64;
    d.italic = italic != 0;
    d.underline = underline != 0;
    d.strikethrough = strike != 0;
    return d;
}

HRESULT StdFont::IsEqual(IFont* other)
{
    if (!other)
        return E_POINTER;
    const auto d = describe(other);
    return d && *d == desc_ ? S_OK : S_FALSE;
}

HRESULT StdFont::QueryTextMetrics(TEXTMETRICOLE* tm)
{
    if (!tm)
        return E_POINTER;
    const QFont f = qfont();
    const QFontMetrics m(f);
    const QFontInfo info(f);
    *tm = {};
    tm->tmHeight = m.height();
    tm->tmAscent = m.ascent();
    tm->tmDescent = m.descent();
    tm->tmInternalLeading = std::max(0, m.height() - info.pixelSize());
    tm->tmExternalLeading = std::max(0, m.leading());
    tm->tmAveCharWidth = m.averageCharWidth();
    tm->tmMaxCharWidth = m.maxWidth();
    tm->tmWeight = desc_.weight;
    tm->tmDigitizedAspectX = tm->tmDigitizedAspectY = 96;
    tm->tmFirstChar = u' ';
    tm->tmLastChar = 0xFFFC;
    tm->tmDefaultChar = u'?';
    tm->tmBreakChar = u' ';
    tm->tmItalic = desc_.italic;
    tm->tmUnderlined = desc_.underline;
    tm->tmStruckOut = desc_.strikethrough;
    // Bit 0 set means variable pitch; outline fonts (0x06) are all Qt draws with.
    tm->tmPitchAndFamily = BYTE((info.fixedPitch() ? 0 : 0x01) | 0x06);
    tm->tmCharSet = BYTE(desc_.charset);
    return S_OK;
}

HRESULT StdFont::getProperty(DISPID id, Variant& out)
{
    switch (id) {
    case DISPID_FONT_NAME: {
        VARIANT* v = out.put();
        v->vt = VT_BSTR;
        return get_Name(&v->bstrVal);
    }
    case DISPID_FONT_SIZE: {
        VARIANT* v = out.put();
        v->vt = VT_CY;
        v->cyVal.int64 = desc_.size;
        return S_OK;
    }
    case DISPID_FONT_BOLD: out = Variant::fromBool(desc_.weight > kBoldThreshold); return S_OK;
    case DISPID_FONT_ITALIC: out = Variant::fromBool(desc_.italic); return S_OK;
    case DISPID_FONT_UNDER: out = Variant::fromBool(desc_.underline); return S_OK;
    case DISPID_FONT_STRIKE: out = Variant::fromBool(desc_.strikethrough); return S_OK;
    case DISPID_FONT_WEIGHT: out = Variant::fromShort(desc_.weight); return S_OK;
    case DISPID_FONT_CHARSET: out = Variant::fromShort(desc_.charset); return S_OK;
    default: return DISP_E_MEMBERNOTFOUND;
    }
}

HRESULT StdFont::putProperty(DISPID id, const DISPPARAMS* params, UINT* argErr)
{
    VARTYPE vt;
    switch (id) {
    case DISPID_FONT_NAME: vt = VT_BSTR; break;
    case DISPID_FONT_SIZE: vt = VT_CY; break;
    case DISPID_FONT_WEIGHT: case DISPID_FONT_CHARSET: vt = VT_I2; break;
    case DISPID_FONT_BOLD: case DISPID_FONT_ITALIC: case DISPID_FONT_UNDER: case DISPID_FONT_STRIKE:
        vt = VT_BOOL;
        break;
    default: return DISP_E_MEMBERNOTFOUND;
    }
    Variant value;
    if (HRESULT hr = disp::putValue(params, vt, value, argErr); FAILED(hr))
        return hr;
    const VARIANT& v = value.get();
    switch (id) {
    case DISPID_FONT_NAME: return put_Name(v.bstrVal);
    case DISPID_FONT_SIZE: return put_Size(v.cyVal);
    case DISPID_FONT_WEIGHT: return put_Weight(v.iVal);
    case DISPID_FONT_CHARSET: return put_Charset(v.iVal);
    case DISPID_FONT_BOLD: return put_Bold(v.boolVal != 0);
    case DISPID_FONT_ITALIC: return put_Italic(v.boolVal != 0);
    case DISPID_FONT_UNDER: return put_Underline(v.boolVal != 0);
    default: return put_Strikethrough(v.boolVal != 0);
    }
}

HRESULT StdFont::Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                        UINT* argErr)
{
    if (riid != GUID_NULL)
        return DISP_E_UNKNOWNINTERFACE;
    switch (disp::accessOf(flags, params)) {
    case disp::Access::Get: {
        Variant v;
        if (HRESULT hr = getProperty(id, v); FAILED(hr))
            return hr;
        return result ? v.copyTo(result) : S_OK;
    }
    case disp::Access::Put: return putProperty(id, params, argErr);
    default: return DISP_E_BADPARAMCOUNT;
    }
}

// Stream layout: version byte 1, charset (2 bytes), style flags (1 byte), weight (2 bytes),
// size as the low 32 bits of the CY (4 bytes), name length (1 byte), name bytes.
HRESULT StdFont::Load(IStream* stream)
{
    if (!stream)
        return E_POINTER;
    uint8_t head[kHeaderBytes];
    HRESULT hr = readExact(stream, head, sizeof head);
    if (FAILED(hr))
        return hr;
    if (head[0] != kStreamVersion)
        return E_FAIL;
    QByteArray name(head[10], '\0');
    if (FAILED(hr = readExact(stream, name.data(), ULONG(name.size()))))
        return hr;
    FontDesc d;
    d.charset = SHORT(head[1] | head[2] << 8);
    d.italic = head[3] & kItalic;
    d.underline = head[3] & kUnderline;
    d.strikethrough = head[3] & kStrikethrough;
    d.weight = SHORT(head[4] | head[5] << 8);
    d.size = int64_t(uint32_t(head[6]) | uint32_t(head[7]) << 8 | uint32_t(head[8]) << 16 | uint32_t(head[9]) << 24);
    d.name = nameFromBytes(name);
    desc_ = std::move(d);
    handle_.reset();
    dirty_ = false;
    return S_OK;
}

HRESULT StdFont::Save(IStream* stream, BOOL clearDirty)
{
    if (!stream)
        return E_POINTER;
    const QByteArray name = truncatedName(nameBytes(desc_.name));
    const uint32_t size = uint32_t(desc_.size);
    const BYTE flags = BYTE((desc_.italic ? kItalic : 0) | (desc_.underline ? kUnderline : 0) |
                            (desc_.strikethrough ? kStrikethrough : 0));
    std::vector<uint8_t> out = {kStreamVersion,
                                uint8_t(desc_.charset), uint8_t(uint16_t(desc_.charset) >> 8),
                                flags,
                                uint8_t(desc_.weight), uint8_t(uint16_t(desc_.weight) >> 8),
                                uint8_t(size), uint8_t(size >> 8), uint8_t(size >> 16), uint8_t(size >> 24),
                                uint8_t(name.size())};
    out.insert(out.end(), name.begin(), name.end());
    const HRESULT hr = writeAll(stream, out.data(), ULONG(out.size()));
    if (SUCCEEDED(hr) && clearDirty)
        dirty_ = false;
    return hr;
}

HRESULT newFont(FontDesc d, IFontDisp** out)
{
    if (!out)
        return E_POINTER;
    *out = make<StdFont>(std::move(d)).detach();
    return S_OK;
}

} // namespace

HRESULT newStdFont(REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    return make<StdFont>()->QueryInterface(iid, out);
}

HRESULT createFont(const QFont& font, IFontDisp** out)
{
    FontDesc d;
    d.name = font.family().toStdU16String();
    const double points = font.pointSizeF() > 0 ? font.pointSizeF() : font.pixelSize() * 72.0 / 96.0;
    d.size = points >= 0 && points * 10000.0 <= double(kMaxSize) ? std::llround(points * 10000.0) : -1;
    d.weight = SHORT(font.weight());
    d.italic = font.italic();
    d.underline = font.underline();
    d.strikethrough = font.strikeOut();
    if (size_t(nameBytes(d.name).size()) > kMaxNameBytes || !validSize(d.size)) {
        if (out)
            *out = nullptr;
        return CTL_E_INVALIDPROPERTYVALUE;
    }
    return newFont(std::move(d), out);
}

HRESULT createFont(std::string_view name, double points, IFontDisp** out)
{
    FontDesc d;
    d.name = utf16(name);
    const bool sizeOk = points >= 0 && points * 10000.0 <= double(kMaxSize);
    d.size = sizeOk ? std::llround(points * 10000.0) : 0;
    if (name.size() > kMaxNameBytes || !sizeOk) {
        if (out)
            *out = nullptr;
        return CTL_E_INVALIDPROPERTYVALUE;
    }
    return newFont(std::move(d), out);
}

QFont qfontOf(IUnknown* font)
{
    if (StdFont* own = ownFont(font))
        return own->qfont();
    if (const auto d = describe(font))
        return realize(*d, 0, 0);
    return QFont();
}

QFont qfontOf(HFONT font) { return font ? *reinterpret_cast<const QFont*>(font) : QFont(); }
QFont qfontOf(std::nullptr_t) { return QFont(); }

} // namespace vyr::com
