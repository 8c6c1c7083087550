#include "controls/core/draw/drawing.h"
#include "platform/gdi/text.h"
#include <QPainter>

namespace vyr::controls::draw {
namespace {

using namespace gdi;

// Caption formats: tab expansion with the high byte 0x01 as tab size; left, centred, right.
constexpr UINT kFormatLeft = 0x1C0;
constexpr UINT kFormatCentre = 0x1C1;
constexpr UINT kFormatRight = 0x1C2;

enum class Place { Start, Centre, End };

Place columnOf(int position)
{
    switch (position) {
    case 0: case 3: case 6: return Place::Start;
    case 2: case 5: case 8: return Place::End;
    default: return Place::Centre;
    }
}

Place rowOf(int position)
{
    if (position >= 0 && position <= 2)
        return Place::Start;
    if (position >= 6 && position <= 8)
        return Place::End;
    return Place::Centre;
}

// Places a box of `size` on one axis of [lo, hi).
int placed(Place p, int lo, int hi, int size)
{
    switch (p) {
    case Place::Start: return lo;
    case Place::End: return hi - size;
    default: return (lo + hi - size) / 2;
    }
}

} // namespace

bool DrawCaptionText(QPainter& painter, const std::string& text, const QFont* font, const QRect& rect,
                     int position, OLE_COLOR colour, int style, bool pressed, bool enabled, bool multiLine)
{
    QString caption = QString::fromUtf8(text.data(), qsizetype(text.size()));
    caption.replace(QStringLiteral("\\n"), QStringLiteral("\r\n"));

    painter.save();
    if (font)
        painter.setFont(*font);
    const UINT wrap = multiLine ? DT_WORDBREAK : 0;
    QRect box(0, 0, rect.width(), 0);
    DrawText(painter, caption, box, DT_CALCRECT | wrap);
    box.setSize(box.size() + QSize(kCaptionGrowth, kCaptionGrowth));

    const int l = rect.left(), t = rect.top(), r = l + rect.width(), b = t + rect.height();
    const Place column = columnOf(position);
    box.moveTo(placed(column, l, r, box.width()), placed(rowOf(position), t, b, box.height()));
    const UINT format = (column == Place::Start ? kFormatLeft : column == Place::End ? kFormatRight : kFormatCentre) | wrap;

    QRect textRect = (rect & box).adjusted(kFaceInset, kFaceInset, -kFaceInset, -kFaceInset);
    if (pressed)
        textRect.translate(1, 1);
    painter.setBackgroundMode(Qt::TransparentMode);
    if ((style == kStyleCircle || style == kStyleRhomb) && !enabled) {
        painter.setPen(QColor(255, 255, 255));
        DrawText(painter, caption, textRect, format);
        textRect.translate(1, 1);
    }
    painter.setPen(ColorOf(colour));
    const bool drawn = DrawText(painter, caption, textRect, format) > 0;
    painter.restore();
    return drawn;
}

} // namespace vyr::controls::draw
