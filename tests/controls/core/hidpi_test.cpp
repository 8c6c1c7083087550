// Controls on high-DPI targets: 3D edges equally wide on all four sides at fractional ratios,
// and what is composed off screen (emboss masks, spectra) carries device-pixel detail at 2
// instead of logical pixels blown up into 2 x 2 blocks. Every control is drawn at 1, 1.5 and 2.
#include "controls/core/classtable.h"
#include "controls/core/host.h"
#include "platform/gdi/edge.h"
#include "platform/gdi/syscolors.h"
#include "controls/qtwidget/commandserver.h"
#include <QApplication>
#include <QDir>
#include <QPainter>
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

// Aligned 2 x 2 device-pixel blocks inside `area` whose four pixels are not all alike.
int mixedBlocks(const QImage& image, const QRect& area)
{
    int n = 0;
    for (int y = area.top() & ~1; y + 1 <= area.bottom(); y += 2)
        for (int x = area.left() & ~1; x + 1 <= area.right(); x += 2) {
            const QRgb a = image.pixel(x, y);
            n += image.pixel(x + 1, y) != a || image.pixel(x, y + 1) != a || image.pixel(x + 1, y + 1) != a;
        }
    return n;
}

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

struct Hosted {
    QWidget top;
    HostWidget* host = new HostWidget(&top);
    bool ok = false;
    Hosted(const ClassRow& row, vyr::CommandServer* server, bool enabled)
    {
        top.resize(240, 110);
        host->setGeometry(10, 10, 220, 90);
        ok = SUCCEEDED(host->create(row.progId));
        if (!ok)
            return;
        (*server)["Shared"].enabled = enabled;
        (*server)["Shared"].text = "Scan 1";
        host->setProperty("Caption", com::Variant::fromString("&Scan 1"));
        host->setProperty("Command", com::Variant::fromString("Shared"));
        host->setProperty("Enabled", com::Variant::fromBool(true));
        host->setCommandServer(server);
        top.show();
        QApplication::processEvents();
    }
    ~Hosted()
    {
        if (ok)
            host->setCommandServer(nullptr);
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

} // namespace
