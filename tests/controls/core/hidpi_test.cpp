// Controls on high-DPI targets: 3D edges equally wide on all four sides at fractional ratios,
// and what is composed off screen (emboss masks, spectra) carries device-pixel detail at 2
// instead of logical pixels blown up into 2 x 2 blocks. Every control is drawn at 1, 1.5 and 2.
#include "controls/core/classtable.h"
#include "controls/core/host.h"
#include "controls/core/draw/drawing.h"
#include "controls/spectra/slicepaint.h"
#include "controls/values/arrow_glyph.h"
#include "controls/values/value_window.h"
#include "platform/gdi/devicepixels.h"
#include "platform/gdi/edge.h"
#include "platform/gdi/syscolors.h"
#include "controls/qtwidget/commandserver.h"
#include "tests/controls/core/hostedclass.h"
#include <QApplication>
#include <QDir>
#include <QPainter>
#include <set>
#include "tests/support/pixelblocks.h"
#include <gtest/gtest.h>

using namespace vyr;
using namespace vyr::controls;

namespace {

constexpr QRgb kMarker = 0xFFFF00FF;

// Device pixels from each side of the image's middle row and column up to the first pixel of
// `inside`: the edge's width on the left, top, right and bottom.
std::array<int, 4> edgeWidths(const QImage& image, const QRect& device, QRgb inside)
{
    const int my = device.center().y(), mx = device.center().x();
    auto run = [&](int x, int y, int stepX, int stepY) {
        int n = 0;
        while (device.contains(x, y) && (image.pixel(x, y) | 0xFF000000) != (inside | 0xFF000000))
            ++n, x += stepX, y += stepY;
        return n;
    };
    return {run(device.left(), my, 1, 0), run(mx, device.top(), 0, 1), run(device.right(), my, -1, 0),
            run(mx, device.bottom(), 0, -1)};
}

using vyr::controls::test::mixedBlocks;

QImage render(QWidget& widget, qreal dpr)
{
    QImage image((QSizeF(widget.size()) * dpr).toSize(), QImage::Format_RGB32);
    image.setDevicePixelRatio(dpr);
    image.fill(Qt::black);
    widget.render(&image);
    return image;
}

TEST(HighDpi, EdgesAreEquallyWideOnAllSidesAtFractionalRatios)
{
    for (const qreal dpr : {1.0, 1.25, 1.5, 1.75, 2.0}) {
        for (int origin = 0; origin < 4; ++origin) {
            for (const UINT edge : {gdi::EDGE_RAISED, gdi::EDGE_SUNKEN, gdi::EDGE_ETCHED}) {
                QImage image((QSizeF(40, 30) * dpr).toSize(), QImage::Format_RGB32);
                image.setDevicePixelRatio(dpr);
                image.fill(kMarker);
                const QRect logical(origin, origin + 1, 33 - origin, 25 - origin);
                {
                    QPainter p(&image);
                    gdi::DrawEdge(p, logical, edge, gdi::BF_RECT);
                }
                auto at = [dpr](int v) { return int(std::lround(v * dpr)); };
                const QRect device(QPoint(at(logical.left()), at(logical.top())),
                                   QPoint(at(logical.left() + logical.width()) - 1,
                                          at(logical.top() + logical.height()) - 1));
                const auto w = edgeWidths(image, device, kMarker);
                const int expected = int(std::lround(2 * dpr));
                for (int side = 0; side < 4; ++side)
                    EXPECT_EQ(w[size_t(side)], expected)
                        << "ratio " << dpr << ", origin " << origin << ", edge " << edge << ", side " << side;
            }
        }
    }
}

// A class hosted enabled or disabled, captioned "&Scan 1" on a command whose text is "Scan 1".
struct Hosted : test::HostedClass {
    Hosted(const ClassRow& row, vyr::CommandServer* server, bool enabled)
        : HostedClass(row, server, "&Scan 1", "Scan 1", nullptr, enabled)
    {
    }
};

TEST(HighDpi, EveryControlDrawsAtOneOneAndAHalfAndTwo)
{
    auto server = com::make<vyr::CommandServer>();
    const QByteArray dir = qgetenv("VYR_RENDER_DIR");
    int drawn = 0;
    for (const ClassRow& row : classTable()) {
        if (row.kind != ClassKind::Control || !row.create)
            continue;
        Hosted h(row, server.get(), true);
        ASSERT_TRUE(h.ok) << row.className;
        for (const qreal dpr : {1.0, 1.5, 2.0}) {
            const QImage image = render(*h.host, dpr);
            EXPECT_EQ(image.size(), (QSizeF(220, 90) * dpr).toSize());
            int painted = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    painted += image.pixel(x, y) != 0xFF000000u;
            EXPECT_GT(painted, image.width() * image.height() / 2) << row.className << " at " << dpr;
            if (!dir.isEmpty())
                image.save(QDir(QString::fromLocal8Bit(dir))
                               .filePath(QStringLiteral("scale-%1-%2.png").arg(dpr).arg(row.className)));
            ++drawn;
        }
    }
    EXPECT_GT(drawn, 60);
}

const ClassRow& classNamed(std::string_view name)
{
    for (const ClassRow& r : classTable())
        if (name == r.className)
            return r;
    throw std::runtime_error("no class");
}

TEST(HighDpi, ButtonEdgesAreEquallyWideAtOneAndAHalf)
{
    // The classic 3D light is the face colour; a palette that tells them apart shows both rings.
    QPalette palette = gdi::ClassicPalette();
    palette.setColor(QPalette::Midlight, QColor(235, 235, 235));
    QApplication::setPalette(palette);
    auto server = com::make<vyr::CommandServer>();
    Hosted h(classNamed("Button"), server.get(), true);
    h.host->setProperty("Caption", com::Variant::fromString(""));
    const QImage image = render(*h.host, 1.5);
    const QRgb face = image.pixel(image.width() / 2, image.height() / 2);
    const auto w = edgeWidths(image, image.rect(), face);
    EXPECT_EQ(w[0], 3);
    EXPECT_EQ(w[1], 3);
    EXPECT_EQ(w[2], 3);
    EXPECT_EQ(w[3], 3);
    QApplication::setPalette(gdi::ClassicPalette());
}

TEST(HighDpi, EmbossAndSpectraHaveDevicePixelDetailAtTwo)
{
    auto server = com::make<vyr::CommandServer>();
    {
        // Disabled: the caption is embossed from a mask.
        Hosted h(classNamed("Button"), server.get(), false);
        const QImage image = render(*h.host, 2.0);
        const QRect inside = QRect(QPoint(0, 0), image.size()).adjusted(12, 12, -12, -12);
        EXPECT_GT(mixedBlocks(image, inside), 20) << "the emboss mask is drawn in device pixels";
    }
    {
        Hosted h(classNamed("SpectraCtrl"), server.get(), true);
        const QImage image = render(*h.host, 2.0);
        EXPECT_GT(mixedBlocks(image, image.rect()), 50) << "the spectra are drawn in device pixels";
    }
}


// ---------------------------------------------------------------- shapes drawn in device pixels

// The smallest rectangle holding every pixel of `image` that is `colour`.
QRect extentOf(const QImage& image, QRgb colour)
{
    QRect r;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == colour)
                r |= QRect(x, y, 1, 1);
    return r;
}

// With VYR_RENDER_DIR set, keeps `image` there four times enlarged, for looking at.
void keep(const QImage& image, const QString& name)
{
    const QByteArray dir = qgetenv("VYR_RENDER_DIR");
    if (dir.isEmpty())
        return;
    QImage big = image.scaled(image.size() * 4, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    big.setDevicePixelRatio(1);
    big.save(QDir(QString::fromLocal8Bit(dir)).filePath(name + QStringLiteral(".png")));
}

// Distinct spans of `colour` over the image's rows plus those over its columns: a shape drawn at
// device resolution has about `ratio` times as many as at 1, one blown up has as many.
int distinctSpans(const QImage& image, QRgb colour)
{
    std::set<std::pair<int, int>> rows, columns;
    for (int y = 0; y < image.height(); ++y) {
        int first = -1, last = -1;
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == colour)
                last = x, first = first < 0 ? x : first;
        if (first >= 0)
            rows.insert({first, last});
    }
    for (int x = 0; x < image.width(); ++x) {
        int first = -1, last = -1;
        for (int y = 0; y < image.height(); ++y)
            if (image.pixel(x, y) == colour)
                last = y, first = first < 0 ? y : first;
        if (first >= 0)
            columns.insert({first, last});
    }
    return int(rows.size() + columns.size());
}

QImage blank(QSize logical, qreal dpr, QRgb fill = 0xFFFFFFFF)
{
    QImage image = gdi::imageAtScale(logical, dpr, QImage::Format_RGB32);
    image.fill(fill);
    return image;
}

TEST(HighDpi, ArrowGlyphsStepByDevicePixels)
{
    struct Case {
        const char* name;
        values::PixelRect button;
        values::GlyphShape shape;
    };
    const values::Axis across{values::Orientation::Horizontal}, down{values::Orientation::Vertical};
    const Case cases[] = {
        {"slider lower", {3, 5, 20, 30},
         [&](const values::PixelRect& b) { return values::sliderArrowGlyph(b, across, true); }},
        {"slider upper, vertical", {3, 5, 28, 22},
         [&](const values::PixelRect& b) { return values::sliderArrowGlyph(b, down, false); }},
        {"spin up", {2, 4, 27, 14}, [](const values::PixelRect& b) { return values::spinArrowGlyph(b, true); }},
        {"spin down", {2, 4, 27, 14}, [](const values::PixelRect& b) { return values::spinArrowGlyph(b, false); }},
    };
    for (const Case& c : cases) {
        QRect atOne;
        int spansAtOne = 0;
        for (const qreal dpr : {1.0, 1.5, 2.0}) {
            for (const QPoint offset : {QPoint(), QPoint(1, 1)}) {
                QImage image = blank({32, 36}, dpr);
                {
                    QPainter p(&image);
                    values::drawGlyph(p, c.button, c.shape, Qt::black, offset);
                }
                const QRect e = extentOf(image, 0xFF000000);
                ASSERT_FALSE(e.isEmpty()) << c.name;
                if (dpr == 1.0) {
                    // At 1 the drawing is the logical lines, pixel for pixel.
                    QRect lines;
                    for (const values::GlyphLine& l : c.shape(c.button))
                        lines |= QRect(QPoint(l.a.x, l.a.y), QPoint(l.b.x, l.b.y));
                    EXPECT_EQ(e, lines.translated(offset)) << c.name;
                    if (offset.isNull())
                        atOne = e, spansAtOne = distinctSpans(image, 0xFF000000);
                    continue;
                }
                // The glyph keeps its logical size and place within a device pixel or two, and
                // the offset moves it by whole logical pixels' worth of device pixels.
                const QRectF expected(QPointF(atOne.topLeft() + offset) * dpr, QSizeF(atOne.size()) * dpr);
                EXPECT_NEAR(e.left(), expected.left(), 2) << c.name << " at " << dpr;
                EXPECT_NEAR(e.top(), expected.top(), 2) << c.name << " at " << dpr;
                EXPECT_NEAR(e.width(), expected.width(), dpr + 1.5) << c.name << " at " << dpr;
                EXPECT_NEAR(e.height(), expected.height(), dpr + 1.5) << c.name << " at " << dpr;
                keep(image, QStringLiteral("glyph-%1-%2-%3").arg(c.name).arg(dpr).arg(offset.x()));
                if (dpr == 2.0)
                    EXPECT_GE(distinctSpans(image, 0xFF000000), 2 * spansAtOne - 2)
                        << c.name << ": the steps are device pixels, not 2 x 2 blocks";
            }
        }
    }
}

// Device pixels of each colour along the middle row from the left side in: the widths of the
// rings of a round or diamond edge.
std::vector<std::pair<QRgb, int>> runsFromLeft(const QImage& image, int y, QRgb background)
{
    std::vector<std::pair<QRgb, int>> runs;
    for (int x = 0; x < image.width() / 2; ++x) {
        const QRgb c = image.pixel(x, y);
        if (runs.empty() && c == background)
            continue;
        if (c == background)
            break;
        if (!runs.empty() && runs.back().first == c)
            ++runs.back().second;
        else
            runs.push_back({c, 1});
    }
    return runs;
}

TEST(HighDpi, RoundAndDiamondEdgesAreDrawnInDevicePixels)
{
    QPalette palette = gdi::ClassicPalette();
    palette.setColor(QPalette::Midlight, QColor(235, 235, 235));
    QApplication::setPalette(palette);
    constexpr QRgb kBack = 0xFF00FF00;
    const QRect square(4, 4, 30, 30);
    for (const bool round : {false, true}) {
        for (const bool pressed : {false, true}) {
            const char* name = round ? "circle" : "rhomb";
            for (const qreal dpr : {1.5, 2.0}) {
                QImage image = blank({40, 40}, dpr, kBack);
                {
                    QPainter p(&image);
                    if (round)
                        draw::DrawCircleEdge(p, square, pressed);
                    else
                        draw::DrawRhombEdge(p, square, pressed);
                }
                keep(image, QStringLiteral("%1-%2-%3").arg(name).arg(dpr).arg(pressed));
                // Two rings, each as wide as one logical pixel in device pixels.
                const int y = int(std::lround((square.top() + square.height() / 2) * dpr));
                const auto runs = runsFromLeft(image, y, kBack);
                ASSERT_GE(runs.size(), 2u) << name << " at " << dpr;
                const int ring = int(std::lround(dpr));
                EXPECT_GE(runs[0].second + runs[1].second, 2 * ring - 1) << name << " at " << dpr;
                if (round) {
                    // The band has no holes: from the left side in, every row has at least as many
                    // edge pixels as the band is wide across the middle row.
                    const double cy = (square.top() + square.height() / 2) * dpr, r = square.height() / 2 * dpr;
                    int holed = 0;
                    for (int row = int(cy - 0.85 * r); row <= int(cy + 0.85 * r); ++row) {
                        const auto edge = runsFromLeft(image, row, kBack);
                        int n = 0;
                        for (const auto& run : edge)
                            n += run.second;
                        holed += n < 2 * ring - 1;
                    }
                    EXPECT_EQ(holed, 0) << name << " at " << dpr << (pressed ? ", pressed" : "");
                }
                if (dpr == 2.0) {
                    EXPECT_GT(mixedBlocks(image, image.rect()), 20) << name << ": slopes step by device pixels";
                    EXPECT_EQ(runs[0].second, 2) << name;
                }
            }
        }
    }
    QApplication::setPalette(gdi::ClassicPalette());
}

TEST(HighDpi, SliceHatchingIsAsThickAsItsFrame)
{
    for (const bool upper : {true, false}) {
        spectra::SliceScene scene;
        scene.client = QRect(0, 0, 60, 60);
        scene.backColor = Qt::white;
        scene.textColor = Qt::black;
        scene.channelColors = {QColor(Qt::red)};
        scene.lineDistance = 6;
        (upper ? scene.geometry.upper : scene.geometry.lower) = {spectra::SliceBar{10, 10, 50, 50}};
        for (const qreal dpr : {1.0, 2.0}) {
            QImage image = blank({60, 60}, dpr);
            {
                QPainter p(&image);
                spectra::paintSlice(p, scene);
            }
            keep(image, QStringLiteral("slice-%1-%2").arg(dpr).arg(upper));
            const int w = int(std::lround(dpr));
            // The frame: its left column is w device pixels wide on the middle row.
            const int my = int(30 * dpr);
            int frame = 0;
            for (int x = int(10 * dpr); image.pixel(x, my) == 0xFFFF0000u; ++x)
                ++frame;
            EXPECT_EQ(frame, w) << "ratio " << dpr;
            // Every run of hatch pixels along an inner row is as wide as the frame.
            int runs = 0;
            for (int y = int(14 * dpr); y < int(46 * dpr); y += 7) {
                int run = 0;
                bool started = false; // a run cut by the row's start is not counted
                for (int x = int(12 * dpr); x < int(48 * dpr); ++x) {
                    if (image.pixel(x, y) == 0xFFFF0000u) {
                        run += started;
                        continue;
                    }
                    started = true;
                    if (run > 0) {
                        EXPECT_EQ(run, w) << "ratio " << dpr << ", row " << y;
                        ++runs;
                    }
                    run = 0;
                }
            }
            EXPECT_GT(runs, 10) << "ratio " << dpr;
            if (dpr == 2.0)
                EXPECT_GT(mixedBlocks(image, QRect(24, 24, 72, 72)), 20) << "diagonals step by device pixels";
        }
    }
}

// The logical pixel v whose device span [round(v * dpr), round((v + 1) * dpr)) holds device
// pixel d: the rounding every side drawn in device pixels uses.
int logicalOf(int d, qreal dpr)
{
    int v = int(d / dpr);
    while (v > 0 && std::lround(v * dpr) > d)
        --v;
    while (std::lround((v + 1) * dpr) <= d)
        ++v;
    return v;
}

TEST(HighDpi, GrabFieldFrameCoversTheSamePixelsAtEveryRatio)
{
    auto server = com::make<vyr::CommandServer>();
    auto range = [&](const char* name, double min, double max, double value) {
        auto& c = (*server)[name];
        c.minimum = min, c.maximum = max, c.value = value;
    };
    // A square world on a square window: its frame lies on whole logical pixels.
    range("F.Width", 0, 100, 40);
    range("F.Height", 0, 100, 40);
    range("F.OffsetX", -80, 80, 0);
    range("F.OffsetY", -80, 80, 0);
    range("F.Rotation", 0, 360, 0);
    QWidget top;
    top.resize(250, 250);
    auto* host = new HostWidget(&top);
    host->setGeometry(10, 10, 210, 210);
    ASSERT_EQ(host->create("VyrControls.GrabField"), S_OK);
    host->setProperty("BackColor", com::Variant::fromULong(0x00FFFFFF));
    host->setProperty("FrameColor", com::Variant::fromULong(0x000000FF)); // red
    host->setProperty("LineColor", com::Variant::fromULong(0x00FF0000));  // blue
    host->setProperty("UpperLineColor", com::Variant::fromULong(0x00FF0000));
    host->setProperty("Command", com::Variant::fromString("F"));
    host->setCommandServer(server.get());
    top.show();
    QApplication::processEvents();
    for (const int width : {1, 2, 3}) {
        host->setProperty("FrameWidth", com::Variant::fromLong(width));
        const QImage one = render(*host, 1.0);
        const QRect frameAtOne = extentOf(one, 0xFFFF0000);
        keep(one, QStringLiteral("grab-%1-1").arg(width));
        ASSERT_FALSE(frameAtOne.isEmpty()) << "width " << width;
        for (const qreal dpr : {1.5, 2.0}) {
            const QImage image = render(*host, dpr);
            keep(image, QStringLiteral("grab-%1-%2").arg(width).arg(dpr));
            // Every device pixel is red exactly where its logical pixel is red at 1.
            int wrong = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x) {
                    const QPoint logical(logicalOf(x, dpr), logicalOf(y, dpr));
                    wrong += (image.pixel(x, y) == 0xFFFF0000u) != (one.pixel(logical) == 0xFFFF0000u);
                }
            EXPECT_EQ(wrong, 0) << "width " << width << " at " << dpr;
        }
    }
    host->setCommandServer(nullptr);
}

} // namespace
