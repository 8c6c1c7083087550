// Cost of one face repaint (composed off-screen and copied) in the common shapes and states,
// and of the text and tiling steps it is made of.
#include "controls/core/draw/drawing.h"
#include "platform/gdi/text.h"
#include <QGuiApplication>
#include <QPainter>
#include <benchmark/benchmark.h>

using namespace vyr;
using namespace vyr::controls::draw;

namespace {

com::ComPtr<IPictureDisp> picture(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(qRgb(30, 60, 200));
    image.setPixel(w / 2, h / 2, 0xFFC0C0C0);
    com::ComPtr<IPictureDisp> p;
    com::createPicture(image, p.put());
    return p;
}

void face(benchmark::State& state, int style, bool enabled, bool withBackPicture)
{
    QImage target(200, 60, QImage::Format_RGB32);
    QPainter p(&target);
    QFont font("DejaVu Sans");
    font.setPixelSize(11);
    const auto pic = picture(16, 16);
    const auto back = picture(8, 8);
    for (auto _ : state)
        DrawButtonFace(p, QRect(0, 0, 100, 40), QRect(), style, 7, 1, "&Caption", 0x80000012, 0x8000000F, &font,
                       pic.get(), withBackPicture ? back.get() : nullptr, false, enabled, true, nullptr);
}

void BM_FaceNormal(benchmark::State& s) { face(s, kStyleNormal, true, false); }
void BM_FaceNormalDisabled(benchmark::State& s) { face(s, kStyleNormal, false, false); }
void BM_FaceCircle(benchmark::State& s) { face(s, kStyleCircle, true, false); }
void BM_FaceRhomb(benchmark::State& s) { face(s, kStyleRhomb, true, false); }
void BM_FaceFlatTiled(benchmark::State& s) { face(s, kStyleFlat, true, true); }

void BM_DrawTextWrapped(benchmark::State& state)
{
    QImage target(300, 200, QImage::Format_RGB32);
    QPainter p(&target);
    const QString text = "The quick brown fox jumps over the lazy dog, &twice, and then once more.";
    for (auto _ : state) {
        QRect r(0, 0, 120, 0);
        benchmark::DoNotOptimize(gdi::DrawText(p, text, r, gdi::DT_WORDBREAK | gdi::DT_CALCRECT));
        gdi::DrawText(p, text, r, gdi::DT_WORDBREAK);
    }
}

void BM_TileLargeArea(benchmark::State& state)
{
    QImage target(800, 600, QImage::Format_RGB32);
    QPainter p(&target);
    const auto tile = picture(8, 8);
    for (auto _ : state)
        TileBackPicture(p, tile.get(), QRect(0, 0, 800, 600), QRect(), true, QPoint(13, 7));
}

} // namespace

BENCHMARK(BM_FaceNormal);
BENCHMARK(BM_FaceNormalDisabled);
BENCHMARK(BM_FaceCircle);
BENCHMARK(BM_FaceRhomb);
BENCHMARK(BM_FaceFlatTiled);
BENCHMARK(BM_DrawTextWrapped);
BENCHMARK(BM_TileLargeArea);
