// Renders the three face shapes and the flat face in the normal, pressed, focused and disabled
// states, with a caption and a picture, into one PNG: render_faces out.png
#include "controls/core/draw/drawing.h"
#include "platform/gdi/edge.h"
#include "platform/gdi/invert.h"
#include "platform/gdi/text.h"
#include <QGuiApplication>
#include <QPainter>

using namespace vyr;
using namespace vyr::controls::draw;

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString out = argc > 1 ? argv[1] : "faces.png";

    // A small picture: a blue square with a key-coloured hole and a red bar.
    QImage glyph(16, 16, QImage::Format_RGB32);
    glyph.fill(qRgb(30, 60, 200));
    for (int i = 5; i < 11; ++i)
        for (int j = 5; j < 11; ++j)
            glyph.setPixel(i, j, 0xFFC0C0C0);
    for (int i = 0; i < 16; ++i)
        glyph.setPixel(i, 14, qRgb(220, 30, 30));
    com::ComPtr<IPictureDisp> picture;
    com::createPicture(glyph, picture.put());
    QImage tile(8, 8, QImage::Format_RGB32);
    tile.fill(qRgb(230, 225, 200));
    tile.setPixel(0, 0, qRgb(180, 170, 140));
    com::ComPtr<IPictureDisp> back;
    com::createPicture(tile, back.put());

    const int w = 120, h = 56, gap = 10;
    QImage sheet(gap + 4 * (w + gap), gap + 5 * (h + gap), QImage::Format_RGB32);
    sheet.fill(gdi::SysColor(gdi::COLOR_BTNFACE));
    QPainter p(&sheet);
    QFont font("DejaVu Sans");
    font.setPixelSize(11);
    const char* captions[] = {"&Normal", "Circle", "Rhomb", "Flat"};
    for (int style = 0; style < 4; ++style)
        for (int state = 0; state < 4; ++state) {
            const QRect bounds(gap + state * (w + gap), gap + style * (h + gap), style == 0 || style == 3 ? w : h, h);
            const bool pressed = state == 1, focused = state == 2, enabled = state != 3;
            DrawButtonFace(p, bounds, QRect(), style, style == 0 ? 7 : 4, style == 0 ? 1 : 4, captions[style],
                           0x80000012, style == 3 ? 0x80000018 : 0x8000000F, &font, picture.get(),
                           style == 3 ? back.get() : nullptr, pressed, enabled, focused, nullptr);
        }
    // The last row: a two-line caption, a back picture tiled under a Normal face, and the gdi
    // pieces (etched and bump edges, a NOT rectangle drawn once).
    const int y = gap + 4 * (h + gap);
    DrawButtonFace(p, QRect(gap, y, w, h), QRect(), 0, 4, 4, "Two\\nlines", 0x80000012, 0x8000000F, &font, nullptr,
                   back.get(), false, true, false, nullptr);
    gdi::DrawEdge(p, QRect(gap + (w + gap), y, w, h), gdi::EDGE_ETCHED, gdi::BF_RECT);
    gdi::DrawEdge(p, QRect(gap + 2 * (w + gap), y, w, h), gdi::EDGE_BUMP, gdi::BF_RECT | gdi::BF_MIDDLE);
    gdi::DrawNotRect(p, QRect(gap + 3 * (w + gap), y, w, h));
    gdi::DrawNotRect(p, QRect(gap + 3 * (w + gap) + 1, y + 1, w - 2, h - 2));
    p.end();
    return sheet.scaled(sheet.size() * 2, Qt::IgnoreAspectRatio, Qt::FastTransformation).save(out) ? 0 : 1;
}
