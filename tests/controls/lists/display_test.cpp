// Display hosted on a memory command server: what it reads in each mode, the number format,
// the fallback text, the colour and picture modes on pixels, the table with its scroll bars,
// and screenshots of every mode.
#include "controls/lists/display.h"
#include "tests/controls/lists/hosted.h"
#include <QPainter>
#include <QScrollBar>

using namespace vyr;
using namespace vyr::controls;
using com::Variant;
using test::Hosted;
using DisplayCtrl = vyr::controls::Display; // not the X11 Display

namespace {

constexpr OLE_COLOR kBack = 0x00FFFFFF;

Hosted display(int type, const std::function<void(HostWidget&)>& more = {}, QSize size = QSize(160, 60))
{
    return Hosted("VyrControls.Display", size, [&](HostWidget& h) {
        h.setProperty("Command", Variant::fromString("Power"));
        h.setProperty("BackColor", Variant::fromULong(kBack));
        h.setProperty("CommandType", Variant::fromLong(type));
        if (more)
            more(h);
    }, false);
}

void attach(Hosted& h) { h.host->setCommandServer(h.server.get()); }

int countPixels(const QImage& img, QRgb color)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += img.pixel(x, y) == color;
    return n;
}

} // namespace

TEST(DisplayControl, WithoutServerShowsDisplay)
{
    Hosted h = display(DisplayCtrl::String);
    EXPECT_EQ(h.control<DisplayCtrl>().text(), "Display");
    (*h.server)["Power"].text = "12 mW";
    attach(h);
    EXPECT_EQ(h.control<DisplayCtrl>().text(), "12 mW");
    h.host->setCommandServer(nullptr);
    EXPECT_EQ(h.control<DisplayCtrl>().text(), "Display");
}

TEST(DisplayControl, ReadsInOrderForEachKindOfText)
{
    Hosted h = display(DisplayCtrl::PictureViaInterface);
    attach(h);
    EXPECT_EQ(h.server->log, (std::vector<std::string>{"RegisterCommand Power", "GetObject Power",
                                                        "GetCommandVisible Power", "GetText Power", "GetColor Power"}));
    h.server->log.clear();
    h.put("CommandType", Variant::fromLong(DisplayCtrl::String));
    h.server->log.clear();
    h.put("ShowDoubles", Variant::fromBool(true));
    EXPECT_EQ(h.server->log, (std::vector<std::string>{"GetCommandVisible Power", "GetValue Power", "GetColor Power"}));
}

TEST(DisplayControl, NumbersUseThePrecision)
{
    Hosted h = display(DisplayCtrl::String, [](HostWidget& w) { w.setProperty("ShowDoubles", Variant::fromBool(true)); });
    (*h.server)["Power"].value = 2.5;
    attach(h);
    EXPECT_EQ(h.control<DisplayCtrl>().text(), "2.500");
    h.put("Precision", Variant::fromShort(0));
    EXPECT_EQ(h.control<DisplayCtrl>().text(), "2");
    h.put("Precision", Variant::fromShort(-1)); // printf's default, 6 digits
    EXPECT_EQ(h.control<DisplayCtrl>().text(), "2.500000");
}

TEST(DisplayControl, FailedReadsFallBack)
{
    Hosted h = display(DisplayCtrl::StringBackColor);
    (*h.server)["Power"].text = "on";
    (*h.server)["Power"].color = 0x0000FF;
    attach(h);
    EXPECT_EQ(h.control<DisplayCtrl>().serverColor(), 0x0000FFu);
    h.server->failing = {"GetText", "GetColor"};
    (*h.server)["Power"].color = 0x00FF00;
    h.server->notify("Power");
    EXPECT_EQ(h.control<DisplayCtrl>().text(), "Display");
    EXPECT_EQ(h.control<DisplayCtrl>().serverColor(), 0x0000FFu); // the colour is kept
    h.server->failing = {"GetCommandVisible"};
    h.server->notify("Power");
    EXPECT_TRUE(h.window()->isVisible());
    (*h.server)["Power"].visible = 0;
    h.server->failing.clear();
    h.server->notify("Power");
    EXPECT_FALSE(h.window()->isVisible());
}

TEST(DisplayControl, BackColorModeShowsOnlyTheServerColour)
{
    Hosted h = display(DisplayCtrl::BackColor);
    (*h.server)["Power"].text = "hidden text";
    (*h.server)["Power"].color = 0x00FF0000; // blue
    attach(h);
    const QImage img = h.shot();
    EXPECT_EQ(countPixels(img, qRgb(0, 0, 255)), img.width() * img.height());
}

TEST(DisplayControl, PictureColorModeRecoloursTheRedParts)
{
    QImage bmp(20, 10, QImage::Format_RGB32);
    bmp.fill(Qt::white);
    QPainter(&bmp).fillRect(0, 0, 10, 10, Qt::red);
    com::ComPtr<IPictureDisp> pic;
    ASSERT_EQ(com::createPicture(bmp, pic.put()), S_OK);
    Hosted h = display(DisplayCtrl::PictureColor, [&](HostWidget& w) { w.setProperty("Picture", Variant::fromDispatch(pic.get())); });
    (*h.server)["Power"].color = 0x0000C000; // green
    attach(h);
    const QImage img = h.shot();
    // The picture is centred: its red half at x 70..79, its white half at 80..89.
    EXPECT_EQ(img.pixel(74, 30), qRgb(0, 192, 0));
    EXPECT_EQ(img.pixel(85, 30), qRgb(255, 255, 255));
    EXPECT_EQ(countPixels(img, qRgb(255, 0, 0)), 0);
}

TEST(DisplayControl, ServerPictureIsShown)
{
    auto pic = test::solidPicture(QSize(12, 12), QColor(200, 0, 200));
    Hosted h = display(DisplayCtrl::PictureViaInterface);
    (*h.server)["Power"].object = com::ComPtr<IUnknown>(pic.get());
    attach(h);
    EXPECT_EQ(h.shot().pixel(80, 30), qRgb(200, 0, 200));
    // A server object that is no picture is not held.
    auto other = com::make<vyr::CommandServer>();
    (*h.server)["Power"].object = com::ComPtr<IUnknown>(static_cast<ICommandServer*>(other.get()));
    h.server->notify("Power");
    EXPECT_EQ(h.control<DisplayCtrl>().serverPicture(), nullptr);
}

TEST(DisplayControl, TableLargerThanTheControlShowsScrollBars)
{
    std::string text;
    for (int r = 0; r < 30; ++r)
        text += "row " + std::to_string(r) + "\tcolumn two\tcolumn three\tfour\n";
    Hosted h = display(DisplayCtrl::Table, [](HostWidget& w) {
        w.setProperty("VerticalScrollBar", Variant::fromBool(true));
        w.setProperty("HorzScrollBar", Variant::fromBool(true));
    }, QSize(160, 100));
    (*h.server)["Power"].text = text;
    attach(h);
    const DisplayCtrl& d = h.control<DisplayCtrl>();
    EXPECT_EQ(d.table().rows, 31);
    EXPECT_EQ(d.table().columns, 4);
    ASSERT_TRUE(d.verticalBar()->isVisible());
    ASSERT_TRUE(d.horizontalBar()->isVisible());
    EXPECT_EQ(d.verticalBar()->maximum(), d.tableLayout().vMax);
    EXPECT_GT(d.verticalBar()->maximum(), 0);
    // The bars meet at the corner: the horizontal one stops where the vertical one begins.
    EXPECT_EQ(d.horizontalBar()->geometry().right() + 1, d.verticalBar()->geometry().left());
    // Scrolling moves the table.
    const QImage before = h.shot();
    d.verticalBar()->setValue(3);
    EXPECT_NE(h.shot(), before);
    // A new text starts again at the top.
    (*h.server)["Power"].text = text + "x";
    h.server->notify("Power");
    EXPECT_EQ(d.verticalBar()->value(), 0);
    // Without permission no bars.
    h.put("VerticalScrollBar", Variant::fromBool(false));
    h.put("HorzScrollBar", Variant::fromBool(false));
    EXPECT_FALSE(d.verticalBar()->isVisible());
    EXPECT_FALSE(d.horizontalBar()->isVisible());
    // Other modes hide them.
    h.put("VerticalScrollBar", Variant::fromBool(true));
    h.put("CommandType", Variant::fromLong(DisplayCtrl::String));
    EXPECT_FALSE(d.verticalBar()->isVisible());
}

TEST(DisplayControl, HugeTableTextIsDrawnWithBoundedWork)
{
    Hosted h = display(DisplayCtrl::Table, [](HostWidget& w) { w.setProperty("VerticalScrollBar", Variant::fromBool(true)); });
    (*h.server)["Power"].text = std::string(200000, '\n') + std::string(20000, '\t') + "end";
    attach(h);
    EXPECT_EQ(h.control<DisplayCtrl>().table().rows, 200001);
    h.control<DisplayCtrl>().verticalBar()->setValue(h.control<DisplayCtrl>().verticalBar()->maximum());
    EXPECT_FALSE(h.shot().isNull());
}

TEST(DisplayControl, EveryModeRendered)
{
    QImage bmp(24, 24, QImage::Format_RGB32);
    bmp.fill(Qt::white);
    QPainter(&bmp).fillRect(4, 4, 16, 16, Qt::red);
    com::ComPtr<IPictureDisp> pic;
    com::createPicture(bmp, pic.put());
    auto serverPic = test::solidPicture(QSize(24, 24), QColor(60, 120, 200));
    const char* files[] = {"display-string.png", "display-string-backcolor.png", "display-string-picturecolor.png",
                           "display-backcolor.png", "display-picturecolor.png", "display-table.png",
                           "display-picture.png"};
    QImage sheet(7 * 170, 110, QImage::Format_RGB32);
    sheet.fill(Qt::white);
    for (int type = 0; type <= 6; ++type) {
        Hosted h = display(type, [&](HostWidget& w) {
            w.setProperty("Picture", Variant::fromDispatch(pic.get()));
            w.setProperty("PicturePosition", Variant::fromShort(3));
            w.setProperty("FrameStyle", Variant::fromShort(3));
            w.setProperty("VerticalScrollBar", Variant::fromBool(true));
            w.setProperty("HorzScrollBar", Variant::fromBool(true));
            w.setProperty("BackColor", Variant::fromULong(0x8000000F));
        }, QSize(160, 100));
        (*h.server)["Power"].text = type == DisplayCtrl::Table
                                        ? "Laser\tPower\tLine\n405 nm\t2.5 mW\tUV\n488 nm\t10 mW\tblue\n561 nm\t5 mW\t"
                                          "yellow\n633 nm\t1 mW\tred\n730 nm\t0 mW\tIR\n"
                                        : "12.5 mW";
        (*h.server)["Power"].color = 0x0000A0FF;
        (*h.server)["Power"].object = com::ComPtr<IUnknown>(serverPic.get());
        attach(h);
        const QImage img = h.shot();
        EXPECT_EQ(img.size(), QSize(160, 100));
        test::saveScreenshot(img, files[type]);
        QPainter(&sheet).drawImage(type * 170 + 5, 5, img);
    }
    test::saveScreenshot(sheet, "display-modes.png");
}
