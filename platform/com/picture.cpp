// StdPicture: a bitmap or icon held as a QImage, with the file bytes it was loaded from.
#include "platform/com/picture.h"
#include "platform/com/dispargs.h"
#include "platform/com/stdobjects.h"
#include "platform/com/streamio.h"
#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <algorithm>
#include <atomic>
#include <cstring>
#include <optional>

namespace vyr::com {
namespace {

// Answered only by this library's picture objects, so qimageOf can read their pixels.
constexpr IID IID_StdPictureImpl = guidOf("51b82bc5-be5c-46bc-8a99-2451cf0b44f0");

constexpr uint8_t kTag[4] = {'l', 't', 0, 0};
constexpr uint32_t kMaxFileBytes = 64u << 20;
constexpr int kMaxSide = 16384;
constexpr int kMaxImageMegabytes = 64;
constexpr int kMaxIconEntries = 64; // entries of an icon file looked at for the 32-pixel image
constexpr int kIconSize = 32;       // the system icon size preferred from an icon file

OLE_HANDLE newHandle()
{
    static std::atomic<OLE_HANDLE> next{1};
    OLE_HANDLE h = next++;
    return h ? h : next++; // 0 means "no picture"
}

const char* formatOf(const QByteArray& b)
{
    if (b.startsWith("BM"))
        return "bmp";
    if (b.startsWith("\x89PNG\r\n\x1a\n"))
        return "png";
    if (b.size() >= 6 && b[0] == 0 && b[1] == 0 && b[2] == 1 && b[3] == 0)
        return "ico";
    return nullptr;
}

// Pixels in one of two formats, so that drawing code meets no palettes or odd depths.
QImage normalised(const QImage& image)
{
    return image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
}

struct Decoded {
    QImage image;
    SHORT type;
};

std::optional<QImage> readAt(QImageReader& reader, int index)
{
    if (index > 0 && !reader.jumpToImage(index))
        return std::nullopt;
    QImage image;
    if (!reader.read(&image) || image.width() > kMaxSide || image.height() > kMaxSide)
        return std::nullopt;
    return image;
}

std::optional<Decoded> decode(const QByteArray& bytes)
{
    const char* format = formatOf(bytes);
    if (!format)
        return std::nullopt;
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    reader.setAllocationLimit(kMaxImageMegabytes);
    reader.setAutoTransform(false);
    if (std::strcmp(format, "ico") != 0) {
        const QSize size = reader.size();
        if (size.isValid() && (size.width() > kMaxSide || size.height() > kMaxSide))
            return std::nullopt;
        auto image = readAt(reader, 0);
        if (!image || image->isNull())
            return std::nullopt;
        return Decoded{normalised(*image), PICTYPE_BITMAP};
    }
    // An icon file holds several sizes: take the system icon size when present, else the first.
    std::optional<QImage> chosen;
    const int count = std::min(reader.imageCount(), kMaxIconEntries);
    for (int i = 0; i < std::max(count, 1); ++i) {
        auto image = readAt(reader, i);
        if (!image || image->isNull())
            continue;
        if (!chosen)
            chosen = image;
        if (image->size() == QSize(kIconSize, kIconSize)) {
            chosen = image;
            break;
        }
    }
    if (!chosen)
        return std::nullopt;
    return Decoded{normalised(*chosen), PICTYPE_ICON};
}

QByteArray encode(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    return writer.write(image) ? bytes : QByteArray();
}

class StdPicture final : public Object<IPicture, IPictureDisp, IPersistStream> {
public:
    StdPicture() = default;
    StdPicture(SHORT type, QImage image, QByteArray file)
    {
        set(type, std::move(image), std::move(file));
    }

    const QImage& image() const { return image_; }

    // IPicture
    STDMETHOD(get_Handle)(OLE_HANDLE* handle) override { return disp::writeOut(handle, handle_); }
    STDMETHOD(get_hPal)(OLE_HANDLE* palette) override { return disp::writeOut(palette, palette_); }
    STDMETHOD(get_Type)(SHORT* type) override { return disp::writeOut(type, type_); }
    STDMETHOD(get_Width)(OLE_XSIZE_HIMETRIC* width) override { return disp::writeOut(width, image_.width() * kHimetricPerPixel); }
    STDMETHOD(get_Height)(OLE_YSIZE_HIMETRIC* height) override
    {
        return disp::writeOut(height, image_.height() * kHimetricPerPixel);
    }
    STDMETHOD(Render)(HDC dc, LONG x, LONG y, LONG cx, LONG cy, OLE_XPOS_HIMETRIC xSrc, OLE_YPOS_HIMETRIC ySrc,
                      OLE_XSIZE_HIMETRIC cxSrc, OLE_YSIZE_HIMETRIC cySrc, LPCRECT bounds) override;
    STDMETHOD(set_hPal)(OLE_HANDLE palette) override
    {
        palette_ = palette;
        return S_OK;
    }
    STDMETHOD(get_CurDC)(HDC* dc) override { return disp::writeOut(dc, selected_); }
    STDMETHOD(SelectPicture)(HDC dcIn, HDC* dcOut, OLE_HANDLE* bitmapOut) override;
    STDMETHOD(get_KeepOriginalFormat)(BOOL* keep) override { return disp::writeOut(keep, keepOriginal_); }
    STDMETHOD(put_KeepOriginalFormat)(BOOL keep) override
    {
        keepOriginal_ = keep ? TRUE : FALSE;
        return S_OK;
    }
    STDMETHOD(PictureChanged)() override
    {
        file_.clear();
        if (hasContent())
            handle_ = newHandle();
        dirty_ = true;
        return S_OK;
    }
    STDMETHOD(SaveAsFile)(IStream* stream, BOOL, LONG* size) override
    {
        if (!stream)
            return E_POINTER;
        if (!hasContent())
            return E_FAIL;
        const QByteArray bytes = fileBytes();
        if (bytes.isEmpty())
            return E_FAIL;
        HRESULT hr = writeAll(stream, bytes.constData(), ULONG(bytes.size()));
        if (SUCCEEDED(hr) && size)
            *size = LONG(bytes.size());
        return hr;
    }
    STDMETHOD(get_Attributes)(DWORD* attributes) override
    {
        const bool transparent = type_ == PICTYPE_ICON || (hasContent() && image_.hasAlphaChannel());
        return disp::writeOut(attributes, transparent ? PICTURE_TRANSPARENT : DWORD(0));
    }

    // IDispatch (IPictureDisp)
    STDMETHOD(GetTypeInfoCount)(UINT* count) override { return disp::writeOut(count, UINT(0)); }
    STDMETHOD(GetTypeInfo)(UINT, LCID, ITypeInfo** info) override { return disp::noTypeInfo(info); }
    STDMETHOD(GetIDsOfNames)(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override
    {
        return disp::idsOfNames({{u"Handle", DISPID_PICT_HANDLE},
                                 {u"hPal", DISPID_PICT_HPAL},
                                 {u"Type", DISPID_PICT_TYPE},
                                 {u"Width", DISPID_PICT_WIDTH},
                                 {u"Height", DISPID_PICT_HEIGHT}},
                                names, count, ids);
    }
    STDMETHOD(Invoke)(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO*, UINT* argErr) override;

    // IPersistStream
    STDMETHOD(GetClassID)(CLSID* clsid) override { return disp::writeOut(clsid, CLSID_StdPicture); }
    STDMETHOD(IsDirty)() override { return dirty_ ? S_OK : S_FALSE; }
    STDMETHOD(Load)(IStream* stream) override;
    STDMETHOD(Save)(IStream* stream, BOOL clearDirty) override;
    STDMETHOD(GetSizeMax)(ULARGE_INTEGER* size) override
    {
        return disp::writeOut(size, ULARGE_INTEGER{sizeof kTag + 4 + uint64_t(hasContent() ? fileBytes().size() : 0)});
    }

protected:
    void* queryExtra(REFIID riid) override
    {
        return riid == IID_StdPictureImpl ? static_cast<IPicture*>(this) : nullptr;
    }

private:
    bool hasContent() const { return type_ == PICTYPE_BITMAP || type_ == PICTYPE_ICON; }
    void set(SHORT type, QImage image, QByteArray file)
    {
        type_ = type;
        image_ = std::move(image);
        file_ = std::move(file);
        handle_ = hasContent() ? newHandle() : 0;
    }
    // The bytes Save and SaveAsFile write: the loaded file, or the pixels encoded afresh.
    QByteArray fileBytes() const
    {
        if (!file_.isEmpty() && (keepOriginal_ || type_ == PICTYPE_ICON))
            return file_;
        return encode(image_, type_ == PICTYPE_ICON ? "ico" : "bmp");
    }

    SHORT type_ = PICTYPE_UNINITIALIZED;
    QImage image_;
    QByteArray file_; // the bytes the picture was loaded from; empty when made from pixels
    OLE_HANDLE handle_ = 0;
    OLE_HANDLE palette_ = 0;
    BOOL keepOriginal_ = TRUE;
    bool dirty_ = false;
    // The painter SelectPicture bound to the pixels. It must be deselected before either the
    // painter or the picture goes, as a Windows DC must.
    HDC selected_ = nullptr;
};

// The source rectangle is in HIMETRIC with y growing upwards from the picture's bottom edge, so
// the usual call passes ySrc = height and cySrc = -height to draw the picture upright. Negative
// extents on either side mirror the image.
HRESULT StdPicture::Render(HDC dc, LONG x, LONG y, LONG cx, LONG cy, OLE_XPOS_HIMETRIC xSrc,
                           OLE_YPOS_HIMETRIC ySrc, OLE_XSIZE_HIMETRIC cxSrc, OLE_YSIZE_HIMETRIC cySrc, LPCRECT)
{
    auto* painter = reinterpret_cast<QPainter*>(dc);
    if (!painter || cx == 0 || cy == 0 || cxSrc == 0 || cySrc == 0)
        return E_INVALIDARG;
    if (!painter->isActive())
        return E_FAIL;
    if (!hasContent() || image_.isNull())
        return S_OK;
    const double w = image_.width(), h = image_.height();
    const double W = w * kHimetricPerPixel, H = h * kHimetricPerPixel;
    const double sx0 = xSrc * w / W, sx1 = (double(xSrc) + cxSrc) * w / W;
    const double sy0 = (H - ySrc) * h / H, sy1 = (H - ySrc - double(cySrc)) * h / H;
    const bool mirrorX = (sx1 < sx0) != (cx < 0);
    const bool mirrorY = (sy1 < sy0) != (cy < 0);
    const QRectF src(QPointF(std::min(sx0, sx1), std::min(sy0, sy1)), QPointF(std::max(sx0, sx1), std::max(sy0, sy1)));
    const QRectF dest(QPointF(std::min(x, x + cx), std::min(y, y + cy)), QSizeF(std::abs(cx), std::abs(cy)));
    // Only the part of the source that lies on the image is drawn, at its place in `dest`.
    const QRectF part = src & QRectF(0, 0, w, h);
    if (part.isEmpty())
        return S_OK;
    const double kx = dest.width() / src.width(), ky = dest.height() / src.height();
    const QRectF target(dest.left() + (part.left() - src.left()) * kx, dest.top() + (part.top() - src.top()) * ky,
                        part.width() * kx, part.height() * ky);
    painter->save();
    painter->translate(dest.center());
    painter->scale(mirrorX ? -1 : 1, mirrorY ? -1 : 1);
    painter->translate(-dest.center());
    painter->drawImage(target, image_, part);
    painter->restore();
    return S_OK;
}

// Binds a painter to the bitmap's pixels so that it draws into the picture (the way a memory DC
// is selected), or with a null HDC releases the painter bound before.
HRESULT StdPicture::SelectPicture(HDC dcIn, HDC* dcOut, OLE_HANDLE* bitmapOut)
{
    if (type_ != PICTYPE_BITMAP)
        return E_FAIL;
    auto* painter = reinterpret_cast<QPainter*>(dcIn);
    if (painter && painter->isActive())
        return E_INVALIDARG;
    if (dcOut)
        *dcOut = selected_;
    if (auto* previous = reinterpret_cast<QPainter*>(selected_); previous && previous->device() == &image_)
        previous->end();
    selected_ = nullptr;
    if (painter) {
        if (!painter->begin(&image_))
            return E_FAIL;
        selected_ = dcIn;
        PictureChanged();
    }
    if (bitmapOut)
        *bitmapOut = handle_;
    return S_OK;
}

HRESULT StdPicture::Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                           EXCEPINFO*, UINT* argErr)
{
    if (riid != GUID_NULL)
        return DISP_E_UNKNOWNINTERFACE;
    const auto access = disp::accessOf(flags, params);
    if (access == disp::Access::Invalid)
        return DISP_E_BADPARAMCOUNT;
    if (access == disp::Access::Put) {
        if (id != DISPID_PICT_HPAL)
            return DISP_E_MEMBERNOTFOUND; // the others are read-only
        Variant v;
        if (HRESULT hr = disp::putValue(params, VT_I4, v, argErr); FAILED(hr))
            return hr;
        return set_hPal(OLE_HANDLE(v.get().lVal));
    }
    Variant v;
    switch (id) {
    case DISPID_PICT_HANDLE: v = Variant::fromLong(LONG(handle_)); break;
    case DISPID_PICT_HPAL: v = Variant::fromLong(LONG(palette_)); break;
    case DISPID_PICT_TYPE: v = Variant::fromShort(type_); break;
    case DISPID_PICT_WIDTH: v = Variant::fromLong(image_.width() * kHimetricPerPixel); break;
    case DISPID_PICT_HEIGHT: v = Variant::fromLong(image_.height() * kHimetricPerPixel); break;
    default: return DISP_E_MEMBERNOTFOUND;
    }
    return result ? v.copyTo(result) : S_OK;
}

HRESULT StdPicture::Load(IStream* stream)
{
    if (!stream)
        return E_POINTER;
    uint8_t head[8];
    HRESULT hr = readExact(stream, head, sizeof head);
    if (FAILED(hr))
        return hr;
    if (std::memcmp(head, kTag, sizeof kTag) != 0)
        return CTL_E_INVALIDPICTURE;
    const uint32_t size = uint32_t(head[4]) | uint32_t(head[5]) << 8 | uint32_t(head[6]) << 16 | uint32_t(head[7]) << 24;
    if (size > remainingBytes(stream))
        return STG_E_READFAULT;
    if (size > kMaxFileBytes)
        return CTL_E_INVALIDPICTURE;
    QByteArray bytes(qsizetype(size), '\0');
    if (FAILED(hr = readExact(stream, bytes.data(), size)))
        return hr;
    if (size == 0) {
        set(PICTYPE_NONE, QImage(), QByteArray());
    } else {
        auto decoded = decode(bytes);
        if (!decoded)
            return CTL_E_INVALIDPICTURE;
        set(decoded->type, std::move(decoded->image), std::move(bytes));
    }
    dirty_ = false;
    return S_OK;
}

HRESULT StdPicture::Save(IStream* stream, BOOL clearDirty)
{
    if (!stream)
        return E_POINTER;
    const QByteArray bytes = hasContent() ? fileBytes() : QByteArray();
    if (hasContent() && bytes.isEmpty())
        return E_FAIL; // the pixels could not be encoded
    const uint32_t size = uint32_t(bytes.size());
    QByteArray out(reinterpret_cast<const char*>(kTag), sizeof kTag);
    for (int i = 0; i < 4; ++i)
        out.append(char(size >> (8 * i)));
    out.append(bytes);
    const HRESULT hr = writeAll(stream, out.constData(), ULONG(out.size()));
    if (SUCCEEDED(hr) && clearDirty)
        dirty_ = false;
    return hr;
}

StdPicture* ownPicture(IUnknown* unk)
{
    IPicture* own = nullptr;
    if (!unk || FAILED(unk->QueryInterface(IID_StdPictureImpl, reinterpret_cast<void**>(&own))))
        return nullptr;
    own->Release(); // the caller holds `unk`, which keeps the object alive
    return static_cast<StdPicture*>(own);
}

HRESULT newPicture(IPictureDisp** out, SHORT type, QImage image, QByteArray file)
{
    *out = make<StdPicture>(type, std::move(image), std::move(file)).detach();
    return S_OK;
}

} // namespace

HRESULT newStdPicture(REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    return make<StdPicture>()->QueryInterface(iid, out);
}

HRESULT loadPictureBytes(const uint8_t* data, size_t size, IPictureDisp** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (!data || size == 0 || size > kMaxFileBytes)
        return CTL_E_INVALIDPICTURE;
    QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    auto decoded = decode(bytes);
    if (!decoded)
        return CTL_E_INVALIDPICTURE;
    return newPicture(out, decoded->type, std::move(decoded->image), std::move(bytes));
}

HRESULT loadPictureFile(const std::string& path, IPictureDisp** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    QFile file(QString::fromStdString(path));
    if (!file.exists())
        return STG_E_FILENOTFOUND;
    if (!file.open(QIODevice::ReadOnly))
        return E_ACCESSDENIED;
    if (file.size() > qint64(kMaxFileBytes))
        return CTL_E_INVALIDPICTURE;
    const QByteArray bytes = file.readAll();
    return loadPictureBytes(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size()), out);
}

HRESULT createPicture(const QImage& image, IPictureDisp** out)
{
    if (!out)
        return E_POINTER;
    if (image.isNull())
        return newPicture(out, PICTYPE_NONE, QImage(), QByteArray());
    return newPicture(out, PICTYPE_BITMAP, normalised(image), QByteArray());
}

QImage qimageOf(IUnknown* picture)
{
    const StdPicture* own = ownPicture(picture);
    return own ? own->image() : QImage();
}

SHORT pictureType(IUnknown* picture)
{
    ComPtr<IPicture> p;
    SHORT type = PICTYPE_NONE;
    if (picture && SUCCEEDED(picture->QueryInterface(IID_IPicture, p.putVoid())) && p && FAILED(p->get_Type(&type)))
        type = PICTYPE_NONE;
    return type;
}

} // namespace vyr::com
