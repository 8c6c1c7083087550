#include "platform/gdi/raster.h"
#include <QPainter>
#include <gtest/gtest.h>

using namespace vyr::gdi;

TEST(Raster, MonoMaskMarksBackgroundColoursAsOne)
{
    QImage source(4, 2, QImage::Format_RGB32);
    source.fill(qRgb(212, 208, 200));
    source.setPixel(1, 0, qRgb(0, 0, 0));
    source.setPixel(2, 1, qRgb(255, 255, 255));
    source.setPixel(3, 1, qRgb(212, 208, 201));
    const QImage mask = MonoMask(source, QRect(1, 0, 4, 2), {QColor(212, 208, 200), QColor(255, 255, 255)});
    ASSERT_EQ(mask.format(), QImage::Format_Mono);
    ASSERT_EQ(mask.size(), QSize(4, 2));
    EXPECT_EQ(mask.color(1), qRgb(255, 255, 255));
    EXPECT_EQ(mask.pixelIndex(0, 0), 0); // black
    EXPECT_EQ(mask.pixelIndex(1, 0), 1); // face
    EXPECT_EQ(mask.pixelIndex(1, 1), 1); // white is background too
    EXPECT_EQ(mask.pixelIndex(2, 1), 0); // one step off the face colour
    EXPECT_EQ(mask.pixelIndex(3, 0), 1); // beyond the source
}

TEST(Raster, BrushGoesWhereTheMaskIsZero)
{
    QImage mask(3, 1, QImage::Format_Mono);
    mask.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    mask.setPixel(0, 0, 0);
    mask.setPixel(1, 0, 1);
    mask.setPixel(2, 0, 0);
    QImage target(5, 2, QImage::Format_RGB32);
    target.fill(qRgb(1, 2, 3));
    QPainter p(&target);
    p.setCompositionMode(QPainter::RasterOp_NotDestination);
    BlitMaskWithBrush(p, 1, 1, mask, QColor(128, 128, 128));
    EXPECT_EQ(p.compositionMode(), QPainter::RasterOp_NotDestination);
    p.end();
    EXPECT_EQ(target.pixel(1, 1), qRgb(128, 128, 128));
    EXPECT_EQ(target.pixel(2, 1), qRgb(1, 2, 3));
    EXPECT_EQ(target.pixel(3, 1), qRgb(128, 128, 128));
    EXPECT_EQ(target.pixel(0, 1), qRgb(1, 2, 3));
    EXPECT_EQ(target.pixel(1, 0), qRgb(1, 2, 3));
}
