#include "platform/gdi/devicepixels.h"
#include <QPainter>
#include <cmath>

namespace vyr::gdi {

qreal deviceScale(const QPainter& painter)
{
    const QTransform t = painter.deviceTransform();
    if (t.type() > QTransform::TxScale || t.m11() <= 0)
        return 1.0;
    return t.m11();
}

QImage imageAtScale(const QSize& size, qreal scale, QImage::Format format)
{
    QImage image((QSizeF(size) * scale).toSize(), format);
    image.setDevicePixelRatio(scale);
    return image;
}

DevicePixels::DevicePixels(QPainter& painter) : painter_(painter), toDevice_(painter.deviceTransform())
{
    if (toDevice_.type() > QTransform::TxScale || toDevice_.m11() <= 0 || toDevice_.m22() <= 0)
        return;
    sx_ = toDevice_.m11();
    sy_ = toDevice_.m22();
    active_ = true;
    painter_.save();
    // World * (the rest) = device transform, so this world transform leaves only the identity.
    painter_.setWorldTransform(toDevice_.inverted() * painter_.worldTransform());
}

DevicePixels::~DevicePixels()
{
    if (active_)
        painter_.restore();
}

QRect DevicePixels::map(const QRect& logical) const
{
    if (!active_)
        return logical;
    const QPointF a = toDevice_.map(QPointF(logical.left(), logical.top()));
    const QPointF b = toDevice_.map(QPointF(logical.left() + logical.width(), logical.top() + logical.height()));
    const int l = int(std::lround(a.x())), t = int(std::lround(a.y()));
    return QRect(l, t, int(std::lround(b.x())) - l, int(std::lround(b.y())) - t);
}

int DevicePixels::dx(int k) const { return int(std::lround(k * sx_)); }
int DevicePixels::dy(int k) const { return int(std::lround(k * sy_)); }

} // namespace vyr::gdi
