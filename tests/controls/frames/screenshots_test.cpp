// Renders the demo Frame as a container shows it: three pages of controls with the button bar
// on each side, and the caption and border styles side by side. With VYR_SCREENSHOT_DIR set the
// images are written there as PNG files (frame-*.png).
#include "tests/controls/frames/hosting.h"
#include "controls/qtwidget/commandserver.h"
#include <QDir>
#include <QPainter>
#include <gtest/gtest.h>

namespace vyr::frames::test {
namespace {

using com::Variant;
using controls::HostWidget;

void save(const QImage& image, const char* name)
{
    const QByteArray dir = qgetenv("VYR_SCREENSHOT_DIR");
    if (dir.isEmpty())
        return;
    QDir().mkpath(QString::fromLocal8Bit(dir));
    ASSERT_TRUE(image.save(QString::fromLocal8Bit(dir) + "/" + name));
}

QImage render(QWidget& w)
{
    QImage image(w.size(), QImage::Format_RGB32);
    image.fill(QColor(0xC0, 0xC0, 0xC0));
    w.render(&image);
    return image;
}

// The command server the hosted buttons are bound to, so that they run enabled.
ICommandServer* demoServer()
{
    static auto server = com::make<vyr::CommandServer>();
    return server.get();
}

// A button bound to a command of the demo server.
void demoButton(ControlPage& page, const std::string& caption, RECT where)
{
    HostWidget* b = insert(page, "VyrControls.Button", where);
    b->setProperty("Caption", Variant::fromString(caption));
    b->setProperty("Command", Variant::fromString("Demo." + caption));
}

// The demo Frame: three pages ("Lasers", "Detectors", "Filters") holding buttons.
HostWidget* demoFrame(QWidget* parent, const QRect& where, int align, int captionStyle, int frameStyle, bool captionTop)
{
    auto* host = new HostWidget(parent);
    host->setGeometry(where);
    EXPECT_EQ(host->create("VyrControls.Frame"), S_OK);
    host->setProperty("Caption", Variant::fromString("Light path"));
    host->setProperty("CaptionStyle", Variant::fromShort(int16_t(captionStyle)));
    host->setProperty("FrameStyle", Variant::fromShort(int16_t(frameStyle)));
    host->setProperty("CaptionTop", Variant::fromBool(captionTop));
    host->setProperty("CaptionBackColor", Variant::fromULong(0x00A06020));
    host->setProperty("CaptionTextColor", Variant::fromULong(captionStyle >= 2 && captionStyle <= 6 ? 0x00FFFFFF : 0));
    host->setProperty("ButtonAlign", Variant::fromShort(int16_t(align)));
    host->setProperty("ButtonSize", Variant::fromLong(align == 0 || align == 2 ? 70 : 28));
    host->setProperty("ButtonCount", Variant::fromLong(3));
    controls::Frame* frame = frameOf(host);
    const char* pages[] = {"Lasers", "Detectors", "Filters"};
    const char* items[3][3] = {{"405 nm", "488 nm", "561 nm"}, {"PMT 1", "PMT 2", "HyD"}, {"BP 525", "LP 570", "Mirror"}};
    for (LONG p = 0; p < 3; ++p) {
        frame->setButtonCurrent(p);
        host->setProperty("ButtonCaption", Variant::fromString(pages[p]));
        for (int i = 0; i < 3; ++i) {
            const LONG y = 8 + i * 34;
            demoButton(*frame->inner().page(p), items[p][i], {8, y, 98, y + 28});
        }
    }
    frame->setButtonCurrent(align % 3);
    host->setCommandServer(demoServer());
    return host;
}

TEST(FrameScreenshots, ButtonBarOnEachSide)
{
    QWidget form;
    form.resize(520, 420);
    form.setAutoFillBackground(true);
    const struct {
        int align, caption, frame;
        bool top;
    } kinds[] = {{1, 1, 1, true}, {0, 4, 3, false}, {2, 5, 2, false}, {3, 2, 5, false}};
    std::vector<HostWidget*> hosts;
    for (int i = 0; i < 4; ++i)
        hosts.push_back(demoFrame(&form, QRect(10 + (i % 2) * 255, 10 + (i / 2) * 205, 245, 195), kinds[i].align,
                                  kinds[i].caption, kinds[i].frame, kinds[i].top));
    form.show();
    const QImage image = render(form);
    // Every Frame shows its current page's buttons and its bar; the pages beyond stay hidden.
    for (HostWidget* h : hosts) {
        controls::Frame* f = frameOf(h);
        EXPECT_FALSE(isEmpty(f->geometry().bar));
        EXPECT_TRUE(f->inner().currentPage()->isShown());
    }
    save(image, "frame-button-bars.png");
}

TEST(FrameScreenshots, CaptionAndBorderStyles)
{
    QWidget form;
    form.resize(650, 420);
    std::vector<HostWidget*> hosts;
    for (int style = 0; style < 12; ++style) {
        auto* host = new HostWidget(&form);
        host->setGeometry(10 + (style % 4) * 160, 10 + (style / 4) * 135, 150, 125);
        ASSERT_EQ(host->create("VyrControls.Frame"), S_OK);
        host->setProperty("Caption", Variant::fromString("Style " + std::to_string(style)));
        host->setProperty("CaptionStyle", Variant::fromShort(int16_t(style)));
        host->setProperty("FrameStyle", Variant::fromShort(int16_t(style % 6)));
        host->setProperty("CaptionBackColor", Variant::fromULong(0x00C08040));
        demoButton(*frameOf(host)->inner().page(0), "frame " + std::to_string(style % 6), {10, 10, 110, 40});
        host->setCommandServer(demoServer());
        hosts.push_back(host);
    }
    form.show();
    const QImage image = render(form);
    // The banner styles fill their band with the caption's back colour.
    const RECT band = frameOf(hosts[2])->geometry().caption;
    const QPoint inBand = hosts[2]->geometry().topLeft() + QPoint(band.right - 4, band.bottom - 2);
    EXPECT_EQ(image.pixelColor(inBand), QColor(0x40, 0x80, 0xC0));
    save(image, "frame-styles.png");
}

} // namespace
} // namespace vyr::frames::test
