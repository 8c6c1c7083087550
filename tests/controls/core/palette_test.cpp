// Every control of the class table under the desktop's palette: faces, captions and fields take
// the palette's colours (none of the classic table's is left under another palette), caption
// text stands out from its background (contrast ratio at least 4.5:1), and a palette change
// reaches a running control as if it had been created under the new palette.
#include "controls/core/classtable.h"
#include "controls/core/host.h"
#include "platform/gdi/syscolors.h"
#include "controls/qtwidget/commandserver.h"
#include "tests/controls/core/hostedclass.h"
#include <QApplication>
#include <QDir>
#include <QPainter>
#include <gtest/gtest.h>
#include <cmath>
#include <map>

using namespace vyr;
using namespace vyr::controls;

namespace {

QPalette makePalette(QColor window, QColor windowText, QColor base, QColor text, QColor button, QColor buttonText,
                     QColor light, QColor midlight, QColor dark, QColor shadow, QColor grey)
{
    QPalette p;
    for (const auto g : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        p.setColor(g, QPalette::Window, window);
        p.setColor(g, QPalette::WindowText, g == QPalette::Disabled ? grey : windowText);
        p.setColor(g, QPalette::Base, base);
        p.setColor(g, QPalette::AlternateBase, base.lighter(115));
        p.setColor(g, QPalette::Text, g == QPalette::Disabled ? grey : text);
        p.setColor(g, QPalette::Button, button);
        p.setColor(g, QPalette::ButtonText, g == QPalette::Disabled ? grey : buttonText);
        p.setColor(g, QPalette::Light, light);
        p.setColor(g, QPalette::Midlight, midlight);
        p.setColor(g, QPalette::Dark, dark);
        p.setColor(g, QPalette::Mid, dark);
        p.setColor(g, QPalette::Shadow, shadow);
        p.setColor(g, QPalette::Highlight, QColor(42, 130, 218));
        p.setColor(g, QPalette::HighlightedText, QColor(255, 255, 255));
        p.setColor(g, QPalette::ToolTipBase, window);
        p.setColor(g, QPalette::ToolTipText, windowText);
        p.setColor(g, QPalette::Link, QColor(90, 170, 255));
    }
    return p;
}

// A dark desktop theme.
QPalette darkPalette()
{
    return makePalette({45, 45, 48}, {230, 230, 230}, {30, 30, 32}, {240, 240, 240}, {60, 62, 66}, {225, 225, 225},
                       {110, 112, 118}, {80, 82, 88}, {35, 35, 38}, {15, 15, 16}, {120, 120, 120});
}

// Light faces around dark fields: text drawn in the face's text colour on a field is unreadable
// here, so it catches text that does not take the colour its background pairs with.
QPalette mixedPalette()
{
    return makePalette({225, 225, 225}, {10, 10, 10}, {25, 30, 40}, {235, 235, 235}, {205, 208, 212}, {0, 0, 0},
                       {255, 255, 255}, {225, 225, 228}, {130, 130, 135}, {60, 60, 60}, {110, 110, 110});
}

struct PaletteCase {
    const char* name;
    QPalette palette;
};

std::vector<PaletteCase> palettes()
{
    return {{"classic", gdi::ClassicPalette()}, {"dark", darkPalette()}, {"mixed", mixedPalette()}};
}

class PaletteScope {
public:
    explicit PaletteScope(const QPalette& p)
    {
        QApplication::setPalette(p);
        QApplication::processEvents();
    }
    ~PaletteScope()
    {
        QApplication::setPalette(gdi::ClassicPalette());
        QApplication::processEvents();
    }
};

double luminance(QRgb c)
{
    auto lin = [](int v) {
        const double s = v / 255.0;
        return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * lin(qRed(c)) + 0.7152 * lin(qGreen(c)) + 0.0722 * lin(qBlue(c));
}

double contrast(QRgb a, QRgb b)
{
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QRgb dominant(const QImage& image)
{
    std::map<QRgb, int> count;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ++count[image.pixel(x, y) | 0xFF000000];
    QRgb best = 0;
    int most = -1;
    for (const auto& [c, n] : count)
        if (n > most)
            best = c, most = n;
    return best;
}

int pixelsOf(const QImage& image, QRgb colour)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += (image.pixel(x, y) | 0xFF000000) == (colour | 0xFF000000);
    return n;
}

// A hosted control, bound to a command whose text is `text`, with `text` as its caption.
struct Hosted : test::HostedClass {
    Hosted(const ClassRow& row, vyr::CommandServer* server, const char* text) : HostedClass(row, server, text, text, text) {}
};

// The classes whose window holds a text field or a view on the window background.
bool hasField(std::string_view name)
{
    return name == "VyrEdit" || name == "VyrValueEdit" || name == "VyrTimeEdit" || name == "List";
}

// Caption pixels: where the captioned shot differs from the blank one. The background is the
// blank shot's colour there; the text is the captioned pixel that stands out most from it.
std::optional<double> captionContrast(const QImage& captioned, const QImage& blank)
{
    std::map<QRgb, int> behind;
    for (int y = 0; y < blank.height(); ++y)
        for (int x = 0; x < blank.width(); ++x)
            if (captioned.pixel(x, y) != blank.pixel(x, y))
                ++behind[blank.pixel(x, y)];
    if (behind.empty())
        return std::nullopt;
    QRgb back = 0;
    int most = -1;
    for (const auto& [c, n] : behind)
        if (n > most)
            back = c, most = n;
    double best = 1;
    for (int y = 0; y < blank.height(); ++y)
        for (int x = 0; x < blank.width(); ++x)
            if (captioned.pixel(x, y) != blank.pixel(x, y) && blank.pixel(x, y) == back)
                best = std::max(best, contrast(captioned.pixel(x, y), back));
    return best;
}

void saveShot(const QImage& image, const std::string& name)
{
    const QByteArray dir = qgetenv("VYR_RENDER_DIR");
    if (!dir.isEmpty())
        image.save(QDir(QString::fromLocal8Bit(dir)).filePath(QString::fromStdString(name + ".png")));
}

// With VYR_RENDER_DIR set, the shots of one palette laid out side by side, five to a row.
void saveSheet(const std::vector<QImage>& shots, const std::string& name)
{
    if (shots.empty() || qEnvironmentVariableIsEmpty("VYR_RENDER_DIR"))
        return;
    const QSize cell = shots.front().size() + QSize(8, 8);
    const int columns = 5, rows = int(shots.size() + columns - 1) / columns;
    QImage sheet(cell.width() * columns + 8, cell.height() * rows + 8, QImage::Format_RGB32);
    sheet.fill(QApplication::palette().color(QPalette::Window));
    QPainter p(&sheet);
    for (size_t i = 0; i < shots.size(); ++i)
        p.drawImage(QPoint(8 + int(i % columns) * cell.width(), 8 + int(i / columns) * cell.height()), shots[i]);
    p.end();
    saveShot(sheet, name);
}

TEST(DesktopPalette, ClassicPaletteGivesTheClassicTable)
{
    PaletteScope scope(gdi::ClassicPalette());
    for (int i = 0; i < gdi::kSysColorCount; ++i)
        EXPECT_EQ(gdi::GetSysColor(i), gdi::ClassicSysColor(i)) << i;
}

TEST(DesktopPalette, SystemColoursComeFromThePaletteAndRgbStays)
{
    const QPalette dark = darkPalette();
    PaletteScope scope(dark);
    struct Row {
        int index;
        QColor expected;
    };
    const Row rows[] = {
        {gdi::COLOR_BTNFACE, dark.color(QPalette::Button)},
        {gdi::COLOR_WINDOW, dark.color(QPalette::Base)},
        {gdi::COLOR_WINDOWTEXT, dark.color(QPalette::Text)},
        {gdi::COLOR_BTNTEXT, dark.color(QPalette::ButtonText)},
        {gdi::COLOR_BTNHIGHLIGHT, dark.color(QPalette::Light)},
        {gdi::COLOR_3DLIGHT, dark.color(QPalette::Midlight)},
        {gdi::COLOR_BTNSHADOW, dark.color(QPalette::Dark)},
        {gdi::COLOR_3DDKSHADOW, dark.color(QPalette::Shadow)},
        {gdi::COLOR_GRAYTEXT, dark.color(QPalette::Disabled, QPalette::WindowText)},
        {gdi::COLOR_HIGHLIGHT, dark.color(QPalette::Highlight)},
        {gdi::COLOR_INFOBK, dark.color(QPalette::ToolTipBase)},
        {gdi::COLOR_MENUBAR, dark.color(QPalette::Window)},
        {gdi::COLOR_HOTLIGHT, dark.color(QPalette::Link)},
        // No palette counterpart: the classic value.
        {gdi::COLOR_ACTIVECAPTION, gdi::toQColor(gdi::ClassicSysColor(gdi::COLOR_ACTIVECAPTION))},
        {gdi::COLOR_DESKTOP, gdi::toQColor(gdi::ClassicSysColor(gdi::COLOR_DESKTOP))},
    };
    for (const Row& r : rows)
        EXPECT_EQ(gdi::SysColor(r.index), r.expected) << gdi::SysColorName(r.index);
    EXPECT_EQ(gdi::ColorOf(0x8000000F), dark.color(QPalette::Button));
    EXPECT_EQ(gdi::ColorOf(0x00C8D0D4), QColor(0xD4, 0xD0, 0xC8)) << "an RGB colour stays as given";
    // Text on a background the palette pairs with another text role takes that role.
    EXPECT_EQ(gdi::TextColorOn(0x80000012, 0x80000005), dark.color(QPalette::Text));
    EXPECT_EQ(gdi::TextColorOn(0x80000012, 0x8000000F), dark.color(QPalette::ButtonText));
    EXPECT_EQ(gdi::TextColorOn(0x000000FF, 0x80000005), QColor(255, 0, 0)) << "an RGB text colour stays";
}

TEST(DesktopPalette, EveryControlFollowsThePaletteWithReadableCaptions)
{
    auto server = com::make<vyr::CommandServer>();
    const QRgb classicFace = gdi::toQColor(gdi::ClassicSysColor(gdi::COLOR_BTNFACE)).rgb();
    int captions = 0, controls = 0;
    for (const PaletteCase& pc : palettes()) {
        PaletteScope scope(pc.palette);
        std::vector<QImage> sheet;
        std::vector<QRgb> paletteColours;
        for (int role = 0; role < QPalette::NColorRoles; ++role)
            paletteColours.push_back(pc.palette.color(QPalette::Active, QPalette::ColorRole(role)).rgb() | 0xFF000000);
        for (const ClassRow& row : classTable()) {
            if (row.kind != ClassKind::Control || !row.create)
                continue;
            const std::string where = std::string(row.className) + " under the " + pc.name + " palette";
            QImage blank, captioned;
            {
                Hosted h(row, server.get(), "");
                ASSERT_TRUE(h.ok) << where;
                blank = h.shot();
            }
            {
                Hosted h(row, server.get(), "&Scan 1");
                captioned = h.shot();
            }
            saveShot(captioned, std::string("palette-") + pc.name + "-" + row.className);
            sheet.push_back(captioned);
            ++controls;
            const QRgb face = dominant(blank);
            // A combo box's face is the style's shading of the palette's button colour.
            if (std::string_view(row.className) != "VyrComboBox")
                EXPECT_NE(std::find(paletteColours.begin(), paletteColours.end(), face), paletteColours.end())
                << where << ": the face is " << std::hex << face << ", no colour of the palette";
            if (std::string_view(pc.name) != "classic")
                EXPECT_EQ(pixelsOf(captioned, classicFace), 0) << where << ": classic face colour left";
            if (hasField(row.className))
                EXPECT_GT(pixelsOf(captioned, pc.palette.color(QPalette::Base).rgb()), 40)
                    << where << ": no field in the palette's base colour";
            if (const auto ratio = captionContrast(captioned, blank)) {
                ++captions;
                EXPECT_GE(*ratio, 4.5) << where << ": caption contrast";
            }
        }
        saveSheet(sheet, std::string("palette-") + pc.name);
    }
    EXPECT_GT(controls, 60);
    EXPECT_GT(captions, 30);
}

TEST(DesktopPalette, APaletteChangeReachesRunningControls)
{
    auto server = com::make<vyr::CommandServer>();
    for (const ClassRow& row : classTable()) {
        // The time fields lose their selection when their colours are handed again.
        if (row.kind != ClassKind::Control || !row.create || std::string_view(row.className) == "VyrTimeEdit")
            continue;
        QImage fresh, switched;
        {
            PaletteScope scope(darkPalette());
            Hosted h(row, server.get(), "&Scan 1");
            fresh = h.shot();
        }
        {
            Hosted h(row, server.get(), "&Scan 1");
            h.shot();
            PaletteScope scope(darkPalette());
            switched = h.shot();
        }
        int differing = 0;
        QPoint first;
        for (int y = 0; y < std::min(switched.height(), fresh.height()); ++y)
            for (int x = 0; x < std::min(switched.width(), fresh.width()); ++x)
                if (switched.pixel(x, y) != fresh.pixel(x, y) && differing++ == 0)
                    first = QPoint(x, y);
        EXPECT_EQ(differing, 0) << row.className << " switched to the dark palette while running: " << differing << " pixels, first at "
                                << first.x() << "," << first.y() << std::hex << " " << switched.pixel(first) << " not "
                                << fresh.pixel(first);
        if (switched != fresh) {
            saveShot(switched, std::string("switched-") + row.className);
            saveShot(fresh, std::string("fresh-") + row.className);
        }
    }
}

} // namespace
