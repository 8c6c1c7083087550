#include "controls/spectra/slicectrl.h"
#include "controls/core/properties.h"
#include "controls/core/valuechange.h"
#include "controls/spectra/slicepaint.h"
#include "platform/gdi/devicepixels.h"
#include "platform/gdi/syscolors.h"
#include <QPainter>
#include <cmath>

namespace vyr::controls {

using com::Variant;
using namespace vyr::spectra;

namespace {


// Channels beyond this many are not read.
constexpr LONG kMaxChannels = 1024;

PropertyDesc channelsRow()
{
    PropertyDesc p{113, "CommandChannels", PropType::Command, nullptr, nullptr, nullptr};
    p.get = [](ControlBase& b) { return Variant::fromString(b.commandText()); };
    // Registers the new text together with the distance command.
    p.put = [](ControlBase& b, const VARIANT& v, PutKind) { return b.setCommandText(com::utf8(v.bstrVal), 113); };
    return p;
}

} // namespace

SliceCtrl::SliceCtrl() : ControlBase(classDescriptor()) { addBinding(distanceCommand); }

const ClassDescriptor& SliceCtrl::classDescriptor()
{
    using C = SliceCtrl;
    static const ClassDescriptor d{
        CLSID_SliceCtrl,
        IID_ISliceCtrl,
        GUID_NULL,
        {
            channelsRow(),
            [] {
                PropertyDesc p{114, "CommandDistance", PropType::Command, nullptr, nullptr, nullptr};
                p.get = [](ControlBase& b) { return Variant::fromString(static_cast<C&>(b).distanceCommand.text()); };
                p.put = [](ControlBase& b, const VARIANT& v, PutKind) {
                    C& c = static_cast<C&>(b);
                    const std::string text = com::utf8(v.bstrVal);
                    if (text == c.distanceCommand.text())
                        return S_OK;
                    c.distanceCommand.setText(text);
                    c.reregister();
                    c.changed(114);
                    return S_OK;
                };
                return p;
            }(),
            props::font(),
            props::colorField<C>(DISPID_FORECOLOR, "TextColor", [](C& c) -> OLE_COLOR& { return c.textColor; }),
            props::colorField<C>(DISPID_BACKCOLOR, "BackColor", [](C& c) -> OLE_COLOR& { return c.backColor; }),
            props::longField<C>(115, "LineDistance", [](C& c) -> int32_t& { return c.lineDistance; }),
            props::shortField<C>(121, "WLPrecision", [](C& c) -> int& { return c.wlPrecision; }),
        },
        {},
        {113, 114, DISPID_FONT, DISPID_FORECOLOR, DISPID_BACKCOLOR, 115, 121},
    };
    return d;
}

SliceGeometry SliceCtrl::geometry()
{
    return layoutSlice(clientRect(), distance_, channels_, wlPrecision, measureWith(QFontMetrics(qfont())));
}

bool SliceCtrl::readServer()
{
    ICommandServer* s = server();
    const LONG ch = command().cookie();
    const LONG dist = distanceCommand.cookie();
    VARIANT_BOOL enabled = VARIANT_FALSE;
    LONG visible = 1;
    SliceDistance d;
    LONG count = 0;
    if (FAILED(s->GetCommandEnabled(ch, &enabled)) || FAILED(s->GetCommandVisible(ch, &visible)) ||
        FAILED(s->GetMinimum(dist, &d.min)) || FAILED(s->GetMaximum(dist, &d.max)) ||
        FAILED(s->GetValue(dist, &d.value)) || FAILED(s->GetEntryCount(ch, &count)))
        return false;
    std::vector<SliceChannel> read(size_t(std::clamp(count, 0, kMaxChannels)));
    for (size_t i = 0; i < read.size(); ++i) {
        LONG color = 0;
        com::Bstr name;
        if (FAILED(s->GetEntryLong(ch, LONG(i), &color)) || FAILED(s->GetEntryValue(ch, LONG(i), &read[i].value)) ||
            FAILED(s->GetEntryText(ch, LONG(i), name.put())))
            return false;
        read[i].color = color;
        read[i].name = name.str();
    }

    bool same = (enabled ? 1 : 0) == enabled_ && !valueDiffers(d.min, distance_.min) && !valueDiffers(d.max, distance_.max) &&
                !valueDiffers(d.value, distance_.value) && read.size() == channels_.size();
    for (size_t i = 0; same && i < read.size(); ++i)
        same = read[i].color == channels_[i].color && !valueDiffers(read[i].value, channels_[i].value) &&
               read[i].name == channels_[i].name;
    enabled_ = enabled ? 1 : 0;
    distance_ = d;
    channels_ = std::move(read);
    applyShowState((visible & 0xFFFF) != 0);
    if (!same)
        invalidate();
    return true;
}

void SliceCtrl::refreshFromServer()
{
    if (server() && command().registered() && distanceCommand.registered()) {
        if (!readServer()) {
            enabled_ = 0;
            invalidate();
        }
        return;
    }
    if (enabled_) {
        enabled_ = 0;
        invalidate();
    }
    applyShowState(true);
}

void SliceCtrl::onDraw(QPainter& painter, const QRect&)
{
    const QRect client = clientRect();
    if (client.isEmpty())
        return;
    SliceScene scene;
    scene.client = client;
    scene.font = qfont();
    scene.geometry = layoutSlice(client, distance_, channels_, wlPrecision, measureWith(QFontMetrics(scene.font)));
    for (const SliceChannel& c : channels_)
        scene.channelColors.push_back(gdi::ColorOf(OLE_COLOR(c.color)));
    scene.backColor = gdi::ColorOf(backColor);
    scene.textColor = gdi::ColorOf(textColor);
    scene.lineDistance = lineDistance;
    // At the target's resolution, so curves and lines are drawn in its device pixels.
    QImage off = gdi::imageAtScale(client.size(), gdi::deviceScale(painter), QImage::Format_RGB32);
    {
        QPainter p(&off);
        paintSlice(p, scene);
    }
    painter.drawImage(QRectF(client), off);
}

HRESULT createSliceCtrl(REFIID iid, void** out)
{
    auto c = com::make<SliceCtrl>();
    return c->QueryInterface(iid, out);
}

} // namespace vyr::controls
