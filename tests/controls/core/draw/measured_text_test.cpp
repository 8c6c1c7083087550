// Text widths are measured once per font, resolution and text and reused by later paints.
// Each face and caption here is drawn after many others (widths already known, some of them
// for look-alike fonts and texts) and compared pixel for pixel with the same drawing made on a
// thread of its own, where nothing has been measured yet.
#include "platform/gdi/text.h"
#include "tests/controls/core/draw/draw_test_support.h"
#include <gtest/gtest.h>
#include <functional>
#include <thread>

namespace vyr::controls::draw {
namespace {

using test::canvas;

QImage onFreshThread(const std::function<QImage()>& draw)
{
    QImage out;
    std::thread([&] { out = draw(); }).join();
    return out;
}

QFont font(int pixels, bool bold = false, bool italic = false)
{
    QFont f("DejaVu Sans");
    f.setPixelSize(pixels);
    f.setBold(bold);
    f.setItalic(italic);
    return f;
}

QImage face(int style, const std::string& caption, const QFont& f, QSize size)
{
    QImage image = canvas(size.width(), size.height());
    QPainter p(&image);
    DrawButtonFace(p, image.rect(), QRect(), style, 4, 1, caption, 0x80000012, 0x8000000F, &f, nullptr, nullptr,
                   false, true, false, nullptr);
    return image;
}

QImage text(const QString& s, const QFont& f, int width, UINT format, int dpm = 0)
{
    QImage image = canvas(220, 120);
    if (dpm) {
        image.setDotsPerMeterX(dpm);
        image.setDotsPerMeterY(dpm);
    }
    QPainter p(&image);
    p.setFont(f);
    p.setPen(Qt::black);
    QRect r(3, 2, width, 110);
    gdi::DrawText(p, s, r, format);
    return image;
}

TEST(MeasuredText, FacesDrawnAgainMatchAFirstDrawing)
{
    struct Case {
        int style;
        std::string caption;
        QFont font;
        QSize size;
    };
    const std::vector<Case> cases = {
        {kStyleNormal, "&Caption", font(11), {100, 40}},
        {kStyleNormal, "&Caption", font(11, true), {100, 40}},     // same text, bold
        {kStyleNormal, "&Caption", font(12), {100, 40}},           // same text, larger
        {kStyleNormal, "Caption", font(11), {100, 40}},            // same font, no mnemonic
        {kStyleCircle, "Two words\\nand a line", font(11), {90, 60}},
        {kStyleRhomb, "W&ide && wrapped caption text", font(10, false, true), {70, 70}},
        {kStyleFlat, "A\tB", font(11), {80, 30}},
    };
    for (int round = 0; round < 3; ++round)
        for (const Case& c : cases) {
            const QImage warm = face(c.style, c.caption, c.font, c.size);
            EXPECT_EQ(warm, onFreshThread([&] { return face(c.style, c.caption, c.font, c.size); }))
                << c.caption << " round " << round;
        }
}

TEST(MeasuredText, WrappedTextAtEveryWidthMatchesAFirstDrawing)
{
    const QString s = "The quick &brown fox\tjumps over the lazy dog";
    for (int width = 20; width <= 200; width += 9)
        for (UINT format : {gdi::DT_WORDBREAK, gdi::DT_WORDBREAK | gdi::DT_CENTER | gdi::DT_EXPANDTABS,
                                 gdi::DT_SINGLELINE | gdi::DT_RIGHT}) {
            const QImage warm = text(s, font(11), width, format);
            EXPECT_EQ(warm, onFreshThread([&] { return text(s, font(11), width, format); }))
                << "width " << width << " format " << format;
        }
}

TEST(MeasuredText, AnotherResolutionIsMeasuredForItself)
{
    const QString s = "Resolution &check";
    // 9 pt at 96 and at 192 dots per inch: the second is twice as wide.
    const QImage screen = text(s, QFont("DejaVu Sans", 9), 200, gdi::DT_CENTER);
    const QImage high = text(s, QFont("DejaVu Sans", 9), 200, gdi::DT_CENTER, 7559);
    EXPECT_EQ(high, onFreshThread([&] { return text(s, QFont("DejaVu Sans", 9), 200, gdi::DT_CENTER, 7559); }));
    EXPECT_NE(high, screen);
    EXPECT_EQ(text(s, QFont("DejaVu Sans", 9), 200, gdi::DT_CENTER),
              onFreshThread([&] { return text(s, QFont("DejaVu Sans", 9), 200, gdi::DT_CENTER); }));
}

} // namespace
} // namespace vyr::controls::draw
