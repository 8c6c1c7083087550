#include "controls/frames/grabfield.h"
#include "controls/core/draw/drawing.h"
#include "platform/gdi/devicepixels.h"
#include "platform/gdi/fill.h"
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

// An aliased pen of odd width w at ratio 1 covers the w pixels centred half a pixel right and
// down of its line; of even width, the w pixels centred on it. At other ratios the pen is w *
// ratio device pixels wide and follows the same rule in device pixels, which puts it up to a
// device pixel off the pixels it covers at 1. The logical shift that moves it back:
qreal alignment(int32_t width, qreal ratio)
{
    const qreal logical = width % 2 ? 0.5 : 0.0;
    const long device = std::lround(width * ratio);
    return logical - (device % 2 ? 0.5 / ratio : 0.0);
}

// The world frame at ratios other than 1: the band each side covers at 1 (from `width` / 2 before
// the side, half a pixel further for odd widths), filled on whole device pixels.
void frameInDevicePixels(QPainter& painter, const QRectF& world, int32_t width, const QColor& color)
{
    const QTransform toDevice = painter.deviceTransform();
    const qreal before = width / 2.0 - (width % 2 ? 0.5 : 0.0);
    const auto snap = [&](qreal x, qreal y) {
        const QPointF d = toDevice.map(QPointF(x, y));
        return QPoint(int(std::lround(d.x())), int(std::lround(d.y())));
    };
    // Outer and inner corners of the frame, in device pixels.
    const QPoint o1 = snap(world.left() - before, world.top() - before);
    const QPoint o2 = snap(world.right() - before + width, world.bottom() - before + width);
    const QPoint i1 = snap(world.left() - before + width, world.top() - before + width);
    const QPoint i2 = snap(world.right() - before, world.bottom() - before);
    gdi::DevicePixels device(painter);
    if (!device.active()) {
        QPen p(color, width);
        p.setJoinStyle(Qt::MiterJoin);
        painter.setPen(p);
        painter.drawRect(world);
        return;
    }
    const auto fill = [&](QPoint a, QPoint b) {
        if (b.x() > a.x() && b.y() > a.y())
            gdi::FillSolid(painter, QRect(a, QSize(b.x() - a.x(), b.y() - a.y())), color);
    };
    const int innerTop = std::min(std::max(i1.y(), o1.y()), o2.y());
    const int innerBottom = std::max(std::min(i2.y(), o2.y()), innerTop);
    fill(o1, QPoint(o2.x(), innerTop));                                            // top
    fill(QPoint(o1.x(), innerBottom), o2);                                         // bottom
    fill(QPoint(o1.x(), innerTop), QPoint(std::min(i1.x(), o2.x()), innerBottom)); // left
    fill(QPoint(std::max(i2.x(), o1.x()), innerTop), QPoint(o2.x(), innerBottom)); // right
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

// Its commands are parts of one name ("Scan.Field" binds "Scan.FieldWidth" ...): the field is
// called by that name.
void GrabField::describe(AccessFacts& facts) const
{
    ControlBase::describe(facts);
    if (facts.name.isEmpty())
        facts.name = readableCommand(name_);
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
    const qreal ratio = gdi::deviceScale(painter);
    const QTransform base = painter.worldTransform();
    const auto usePen = [&](OLE_COLOR color, int32_t width) {
        painter.setPen(pen(color, width));
        const qreal s = alignment(std::max<int32_t>(1, width), ratio);
        painter.setWorldTransform(QTransform::fromTranslate(s, s) * base);
    };
    if (g.state == GrabGeometry::State::Invalid) {
        usePen(frameColor, 1);
        painter.drawRect(bounds.adjusted(0, 0, -1, -1));
        painter.setWorldTransform(base);
        return;
    }
    if (g.state == GrabGeometry::State::Background)
        return;
    if (frameWidth > 0) {
        const QRectF world(QPointF(g.worldLeft, g.worldTop), QPointF(g.worldRight, g.worldBottom));
        if (ratio == 1.0) {
            painter.setPen(pen(frameColor, frameWidth));
            painter.drawRect(world);
        } else {
            frameInDevicePixels(painter, world, frameWidth, draw::ColorOf(frameColor));
        }
    }
    usePen(lineColor, lineWidth);
    if (g.degenerate) {
        painter.drawLine(QPointF(g.worldLeft, g.centre.y), QPointF(g.worldRight, g.centre.y));
        painter.drawLine(QPointF(g.centre.x, g.worldTop), QPointF(g.centre.x, g.worldBottom));
        painter.setWorldTransform(base);
        return;
    }
    QPolygonF field;
    for (const frames::GrabPoint& p : g.corners)
        field << toQ(p);
    painter.drawPolygon(field);
    usePen(upperLineColor, lineWidth);
    painter.drawLine(toQ(g.corners[0]), toQ(g.corners[1]));
    painter.setWorldTransform(base);
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
