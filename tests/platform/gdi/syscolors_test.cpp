#include "platform/gdi/fill.h"
#include "platform/gdi/syscolors.h"
#include "platform/gdi/sysmetrics.h"
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

using namespace vyr::gdi;

TEST(SysColors, ClassicSchemeValues)
{
    struct Row {
        int index;
        COLORREF rgb;
    };
    for (const Row r : {Row{COLOR_BTNFACE, RGB(212, 208, 200)}, Row{COLOR_BTNSHADOW, RGB(128, 128, 128)},
                        Row{COLOR_BTNTEXT, RGB(0, 0, 0)}, Row{COLOR_BTNHIGHLIGHT, RGB(255, 255, 255)},
                        Row{COLOR_3DDKSHADOW, RGB(64, 64, 64)}, Row{COLOR_3DLIGHT, RGB(212, 208, 200)},
                        Row{COLOR_WINDOW, RGB(255, 255, 255)}, Row{COLOR_WINDOWTEXT, RGB(0, 0, 0)},
                        Row{COLOR_HIGHLIGHT, RGB(10, 36, 106)}, Row{COLOR_GRAYTEXT, RGB(128, 128, 128)},
                        Row{COLOR_INFOBK, RGB(255, 255, 225)}, Row{COLOR_MENUBAR, RGB(212, 208, 200)}})
        EXPECT_EQ(GetSysColor(r.index), r.rgb) << r.index;
    EXPECT_EQ(GetSysColor(-1), 0u);
    EXPECT_EQ(GetSysColor(31), 0u);
    EXPECT_STREQ(SysColorName(COLOR_BTNFACE), "Button Face");
    EXPECT_EQ(SysColorName(25), nullptr);
    EXPECT_EQ(SysColorName(31), nullptr);
    EXPECT_EQ(SysColor(COLOR_HIGHLIGHT), QColor(10, 36, 106));
}

TEST(SysColors, OleColourTranslation)
{
    struct Row {
        OLE_COLOR in;
        HRESULT hr;
        COLORREF out;
    };
    const Row rows[] = {
        {0x00123456, S_OK, 0x123456},                 // plain 0x00BBGGRR
        {0x02123456, S_OK, 0x123456},                 // palette-relative, no palette
        {0x8000000F, S_OK, RGB(212, 208, 200)},       // COLOR_BTNFACE
        {0x80000012, S_OK, RGB(0, 0, 0)},             // COLOR_BTNTEXT
        {0x80000018, S_OK, RGB(255, 255, 225)},       // COLOR_INFOBK
        {0x8000001E, S_OK, RGB(212, 208, 200)},       // COLOR_MENUBAR, the last index
        {0x8000001F, E_INVALIDARG, 0xDEADBE},         // one past the table
        {0x80FFFFFF, E_INVALIDARG, 0xDEADBE},
        {0x01000005, E_INVALIDARG, 0xDEADBE},         // palette index: no palette here
        {0x40000000, E_INVALIDARG, 0xDEADBE},
        {0xFF000000, E_INVALIDARG, 0xDEADBE},
    };
    for (const Row& r : rows) {
        COLORREF out = 0xDEADBE;
        EXPECT_EQ(TranslateColor(r.in, &out), r.hr) << std::hex << r.in;
        EXPECT_EQ(out, r.out) << std::hex << r.in;
    }
    EXPECT_EQ(TranslateColor(0, nullptr), E_POINTER);
    EXPECT_EQ(ColorOf(0x000000FF), QColor(255, 0, 0));
    EXPECT_EQ(ColorOf(0x80000063), QColor(0, 0, 0)) << "an untranslatable colour draws black";
}

TEST(SysMetrics, IconAndEdgeSizes)
{
    EXPECT_EQ(GetSystemMetrics(SM_CXICON), 32);
    EXPECT_EQ(GetSystemMetrics(SM_CYICON), 32);
    EXPECT_EQ(GetSystemMetrics(SM_CXEDGE), 2);
    EXPECT_EQ(GetSystemMetrics(9999), 0);
}

TEST(FillSolid, ReplacesPixelsWhateverTheCompositionMode)
{
    QImage image(4, 4, QImage::Format_ARGB32_Premultiplied);
    image.fill(qRgb(10, 20, 30));
    QPainter p(&image);
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    FillSolid(p, QRect(1, 1, 2, 2), QColor(200, 100, 50, 40)); // the alpha of the colour is not used
    EXPECT_EQ(p.compositionMode(), QPainter::RasterOp_SourceXorDestination);
    p.end();
    EXPECT_EQ(image.pixel(1, 1), qRgb(200, 100, 50));
    EXPECT_EQ(image.pixel(2, 2), qRgb(200, 100, 50));
    EXPECT_EQ(image.pixel(0, 0), qRgb(10, 20, 30));
    EXPECT_EQ(image.pixel(3, 1), qRgb(10, 20, 30));
}
