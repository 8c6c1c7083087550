#include "controls/frames/grabfield.h"
#include "controls/core/draw/drawing.h"
#include "controls/core/properties.h"
#include <QMouseEvent>
#include <QPainter>
#include <QPolygonF>
#include <QWidget>

namespace vyr::controls {

using com::Variant;
using frames::GrabGeometry;

namespace {

constexpr const char* kSuffixes[] = {".Width", ".Height", ".OffsetX", ".OffsetY", ".Rotation"};

RECT toRect(const QRect& r) { return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()}; }
QPointF toQ(frames::GrabPoint p) { return {p.x, p.y}; }

QPen pen(OLE_COLOR color, int32_t width)
{
    QPen p(draw::ColorOf(color));
    p.setWidth(std::max<int32_t>(1, width));
    p.setJoinStyle(Qt::MiterJoin);
    return p;
}

} // namespace

GrabField::GrabField() : ControlBase(classDescriptor())
{
    enabled_ = 1; // no Enabled of its own: the window always takes input
    for (CommandBinding& b : parts_)
        addBinding(b);
}

const ClassDescriptor& GrabField::classDescriptor()
{
    using C = GrabField;
    static const ClassDescriptor d{
        CLSID_GrabField,
        IID_IGrabField,
        GUID_NULL,
        {
            props::colorField<C>(DISPID_BACKCOLOR, "BackColor", [](C& c) -> OLE_COLOR& { return c.backColor; }),
            props::longField<C>(63, "LineWidth", [](C& c) -> int32_t& { return c.lineWidth; }),
            props::colorField<C>(64, "LineColor", [](C& c) -> OLE_COLOR& { return c.lineColor; }),
            props::colorField<C>(65, "UpperLineColor", [](C& c) -> OLE_COLOR& { return c.upperLineColor; }),
            props::longField<C>(66, "FrameWidth", [](C& c) -> int32_t& { return c.frameWidth; }),
            props::colorField<C>(67, "FrameColor", [](C& c) -> OLE_COLOR& { return c.frameColor; }),
            [] {
                PropertyDesc p{50, "Command", PropType::Command, nullptr, nullptr, nullptr};
                p.get = [](ControlBase& b) { return Variant::fromString(static_cast<C&>(b).commandName()); };
                p.put = [](ControlBase& b, const VARIANT& v, PutKind) {
                    return static_cast<C&>(b).setCommandName(com::utf8(v.bstrVal));
                };
                return p;
            }(),
        },
        {},
        {50, DISPID_BACKCOLOR, 63, 64, 65, 66, 67},
    };
    return d;
}

HRESULT GrabField::setCommandName(const std::string& name)
{
    if (name == name_)
        return S_OK;
    name_ = name;
    // The bare name binds nothing: only the five derived commands are registered.
    for (int i = 0; i < kParts; ++i)
        parts_[i].setText(name.empty() ? std::string() : name + kSuffixes[i]);
    SetCommandServer(server());
    changed(50);
    return S_OK;
}

bool GrabField::readServer()
{
    ICommandServer* s = server();
    frames::GrabRange* ranges[] = {&values_.width, &values_.height, &values_.offsetX, &values_.offsetY};
    for (int i = 0; i < kParts; ++i) {
        const LONG cookie = parts_[i].cookie();
        if (!cookie)
            continue;
        if (i == Rotation) {
            if (FAILED(s->GetValue(cookie, &values_.rotation)))
                return false;
            continue;
        }
        frames::GrabRange& r = *ranges[i];
        if (FAILED(s->GetMinimum(cookie, &r.min)) || FAILED(s->GetMaximum(cookie, &r.max)) ||
            FAILED(s->GetValue(cookie, &r.value)))
            return false;
    }
    return true;
}

void GrabField::refreshFromServer()
{
    values_ = {};
    if (server())
        readServer(); // a failing query stops here; what was read stays
    invalidate();
}

GrabGeometry GrabField::geometry() const { return frames::grabGeometry(values_, toRect(clientRect()), frameWidth); }

void GrabField::onDraw(QPainter& painter, const QRect& bounds)
{
    painter.fillRect(bounds, draw::ColorOf(backColor));
    const GrabGeometry g = frames::grabGeometry(values_, toRect(bounds), frameWidth);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBrush(Qt::NoBrush);
    if (g.state == GrabGeometry::State::Invalid) {
        painter.setPen(pen(frameColor, 1));
        painter.drawRect(bounds.adjusted(0, 0, -1, -1));
        return;
    }
    if (g.state == GrabGeometry::State::Background)
        return;
    if (frameWidth > 0) {
        painter.setPen(pen(frameColor, frameWidth));
        painter.drawRect(QRectF(QPointF(g.worldLeft, g.worldTop), QPointF(g.worldRight, g.worldBottom)));
    }
    painter.setPen(pen(lineColor, lineWidth));
    if (g.degenerate) {
        painter.drawLine(QPointF(g.worldLeft, g.centre.y), QPointF(g.worldRight, g.centre.y));
        painter.drawLine(QPointF(g.centre.x, g.worldTop), QPointF(g.centre.x, g.worldBottom));
        return;
    }
    QPolygonF field;
    for (const frames::GrabPoint& p : g.corners)
        field << toQ(p);
    painter.drawPolygon(field);
    painter.setPen(pen(upperLineColor, lineWidth));
    painter.drawLine(toQ(g.corners[0]), toQ(g.corners[1]));
}

void GrabField::onWindowCreated()
{
    window()->setMouseTracking(true); // the cursor shows where the field can be grabbed
}

void GrabField::onMousePress(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton)
        return;
    captureMouse(true);
    const QPointF p = e->position();
    shift_.begin(geometry(), values_, {p.x(), p.y()});
}

void GrabField::onMouseMove(QMouseEvent* e)
{
    const QPointF p = e->position();
    if (!hasCapture()) {
        window()->setCursor(geometry().hitsField(p.x(), p.y()) ? Qt::SizeAllCursor : Qt::ArrowCursor);
        return;
    }
    if (!shift_.active())
        return;
    const frames::GrabPoint to = shift_.offsetsAt({p.x(), p.y()});
    values_.offsetX.value = to.x;
    values_.offsetY.value = to.y;
    invalidate();
    ICommandServer* s = server();
    if (!s)
        return;
    if (parts_[OffsetX].registered())
        s->SetValue(parts_[OffsetX].cookie(), to.x);
    if (parts_[OffsetY].registered())
        s->SetValue(parts_[OffsetY].cookie(), to.y);
}

void GrabField::onMouseRelease(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton || !hasCapture())
        return;
    captureMouse(false);
    shift_.end();
}

HRESULT createGrabField(REFIID iid, void** out)
{
    auto c = com::make<GrabField>();
    return c->QueryInterface(iid, out);
}

} // namespace vyr::controls
