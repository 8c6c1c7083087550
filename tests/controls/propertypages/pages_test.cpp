// The property pages and the property frame on real controls: ButtonPpg shows several objects
// one after the other and Apply writes the panel into all of them in order; the pages report
// dirty to their site and the frame's Apply follows; FramePpg lists the Frame's own display
// strings; the stock pages find colour, font and picture properties through type information
// and write them; MapPropertyToPage opens a property on its page; screenshots of each page.
#include "controls/core/host.h"
#include "controls/propertypages/colorpicker.h"
#include "controls/propertypages/controlpages.h"
#include "controls/propertypages/propertyframe.h"
#include "controls/propertypages/stockpages.h"
#include "platform/com/dispcall.h"
#include "platform/com/font.h"
#include "platform/com/picture.h"
#include <gtest/gtest.h>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <filesystem>

using namespace vyr;
using namespace vyr::controls;
using com::ComPtr;
using com::Variant;

namespace {

ComPtr<IDispatch> create(REFCLSID clsid)
{
    ComPtr<IClassFactory> f;
    ComPtr<IDispatch> d;
    EXPECT_EQ(DllGetClassObject(clsid, IID_IClassFactory, f.putVoid()), S_OK);
    EXPECT_EQ(f->CreateInstance(nullptr, IID_IDispatch, d.putVoid()), S_OK);
    return d;
}

template <class Page>
ComPtr<Page> page(REFCLSID clsid)
{
    ComPtr<IPropertyPage> p;
    ComPtr<IClassFactory> f;
    EXPECT_EQ(DllGetClassObject(clsid, IID_IClassFactory, f.putVoid()), S_OK);
    EXPECT_EQ(f->CreateInstance(nullptr, IID_IPropertyPage, p.putVoid()), S_OK);
    return ComPtr<Page>(dynamic_cast<Page*>(p.get()));
}

Variant get(IDispatch* d, const char* name)
{
    Variant v;
    EXPECT_EQ(com::getProperty(d, name, v), S_OK) << name;
    return v;
}

struct SiteSpy : com::Object<IPropertyPageSite> {
    std::vector<DWORD> status;
    STDMETHOD(OnStatusChange)(DWORD flags) override { status.push_back(flags); return S_OK; }
    STDMETHOD(GetLocaleID)(LCID* l) override { *l = 0; return S_OK; }
    STDMETHOD(GetPageContainer)(IUnknown**) override { return E_NOTIMPL; }
    STDMETHOD(TranslateAccelerator)(MSG*) override { return S_FALSE; }
};

template <class W>
W* child(QWidget* w, const char* name)
{
    W* c = w->findChild<W*>(QString::fromUtf8(name));
    EXPECT_TRUE(c) << name;
    return c;
}

void shoot(QWidget* w, const char* name)
{
    w->show();
    QApplication::processEvents();
    EXPECT_TRUE(w->grab().save(QString::fromStdString(std::string(VYR_SOURCE_DIR) + "/docs/screenshots/" + name)));
}

} // namespace

TEST(ButtonPpg, ShowsTheLastObjectAndApplyWritesThePanelIntoEveryObject)
{
    auto a = create(CLSID_Button), b = create(CLSID_Button);
    com::putProperty(a.get(), "Caption", Variant::fromString("First"));
    com::putProperty(b.get(), "Caption", Variant::fromString("Second"));
    com::putProperty(b.get(), "CaptionPosition", Variant::fromShort(2));
    com::putProperty(a.get(), "PictureEnable", Variant::fromBool(false));
    auto p = page<ButtonPpg>(CLSID_ButtonPpg);
    ASSERT_TRUE(p);
    auto site = com::make<SiteSpy>();
    p->SetPageSite(site.get());
    IUnknown* objects[] = {a.get(), b.get()};
    ASSERT_EQ(p->SetObjects(2, objects), S_OK);
    QWidget parent;
    RECT r{0, 0, 375, 180};
    ASSERT_EQ(p->Activate(&parent, &r, TRUE), S_OK);
    EXPECT_TRUE(site->status.empty()); // showing values is no change
    EXPECT_EQ(p->IsPageDirty(), S_FALSE);
    auto* caption = static_cast<QLineEdit*>(p->control(404));
    auto* pos = static_cast<QComboBox*>(p->control(406));
    auto* picture = static_cast<QCheckBox*>(p->control(401));
    ASSERT_TRUE(caption && pos && picture);
    EXPECT_EQ(caption->text(), "Second");
    ASSERT_EQ(pos->count(), 9);
    EXPECT_EQ(pos->itemText(0), "LeftTop");
    EXPECT_EQ(pos->itemText(8), "RightBottom");
    EXPECT_EQ(pos->currentIndex(), 2);
    EXPECT_TRUE(picture->isChecked()); // the second object's value stays on view

    QTest::keyClicks(caption, "!");
    pos->setCurrentIndex(8);
    // Dirty is reported once, with validation.
    ASSERT_EQ(site->status.size(), 1u);
    EXPECT_EQ(site->status[0], PROPPAGESTATUS_DIRTY | PROPPAGESTATUS_VALIDATE);
    EXPECT_EQ(p->IsPageDirty(), S_OK);
    ASSERT_EQ(p->Apply(), S_OK);
    EXPECT_EQ(p->IsPageDirty(), S_FALSE);
    for (IDispatch* d : {a.get(), b.get()}) {
        EXPECT_EQ(get(d, "Caption").toString(), "Second!");
        EXPECT_EQ(get(d, "CaptionPosition").toLong(), 8);
        EXPECT_EQ(get(d, "PictureEnable").toBool(), true);
    }
    EXPECT_EQ(p->SetObjects(1, nullptr), E_POINTER);
    EXPECT_EQ(p->EditProperty(6), S_OK);
    EXPECT_EQ(p->EditProperty(12345), E_NOTIMPL);
    p->Help(u"/usr/share/help/");
    EXPECT_EQ(p->lastHelp(), "/usr/share/help/Button Property Page");
    p->Deactivate();
    EXPECT_EQ(p->Show(SW_SHOW), E_UNEXPECTED);
}

TEST(RadioButtonPpg, EditsTheSharedPropertiesOfAnyObjectByDispid)
{
    auto b = create(CLSID_Button);
    com::putProperty(b.get(), "Caption", Variant::fromString("Shared"));
    auto p = page<RadioButtonPpg>(CLSID_RadioButtonPpg);
    IUnknown* objects[] = {b.get()};
    ASSERT_EQ(p->SetObjects(1, objects), S_OK);
    QWidget parent;
    ASSERT_EQ(p->Activate(&parent, nullptr, TRUE), S_OK);
    EXPECT_EQ(static_cast<QLineEdit*>(p->control(404))->text(), "Shared");
    auto* style = static_cast<QComboBox*>(p->control(412));
    ASSERT_EQ(style->count(), 3);
    EXPECT_EQ(style->itemText(2), "Rhomb");
    static_cast<QLineEdit*>(p->control(446))->setText("not a number");
    static_cast<QCheckBox*>(p->control(407))->setChecked(true);
    static_cast<QComboBox*>(p->control(405))->setCurrentIndex(3);
    // Value and GroupNumber are not the Button's: Apply writes the rest.
    EXPECT_EQ(p->Apply(), S_OK);
    EXPECT_EQ(get(b.get(), "PicturePosition").toLong(), 3);
    EXPECT_EQ(get(b.get(), "Enabled").toBool(), true);
}

TEST(FramePpg, ListsTheFramesDisplayStringsAndWritesThemBack)
{
    auto f = create(CLSID_Frame);
    com::putProperty(f.get(), "Caption", Variant::fromString("Group"));
    com::putProperty(f.get(), "FrameStyle", Variant::fromShort(3));
    auto p = page<FramePpg>(CLSID_FramePpg);
    IUnknown* objects[] = {f.get()};
    ASSERT_EQ(p->SetObjects(1, objects), S_OK);
    QWidget parent;
    ASSERT_EQ(p->Activate(&parent, nullptr, TRUE), S_OK);
    auto* frameStyle = static_cast<QComboBox*>(p->control(426));
    EXPECT_EQ(frameStyle->currentText(), "Sunken");
    EXPECT_GE(static_cast<QComboBox*>(p->control(427))->count(), 2);
    EXPECT_EQ(static_cast<QComboBox*>(p->control(428))->itemText(1), "Opaque");
    frameStyle->setCurrentIndex(frameStyle->findText("Raised"));
    static_cast<QCheckBox*>(p->control(410))->setChecked(true);
    static_cast<QLineEdit*>(p->control(404))->setText("Renamed");
    ASSERT_EQ(p->Apply(), S_OK);
    EXPECT_EQ(get(f.get(), "FrameStyle").toLong(), 2);
    EXPECT_EQ(get(f.get(), "CaptionTop").toBool(), true);
    EXPECT_EQ(get(f.get(), "Caption").toString(), "Renamed");
}

TEST(PropertyFrame, OpensTheCommonPagesAndAppliesWhatIsDirty)
{
    auto a = create(CLSID_Button), b = create(CLSID_Button);
    std::vector<IUnknown*> objects{a.get(), b.get()};
    const std::vector<CLSID> pages = commonPages(objects);
    ASSERT_FALSE(pages.empty());
    EXPECT_EQ(pages.front(), CLSID_ButtonPpg);
    PropertyFrame frame(nullptr, QStringLiteral("Buttons"), objects, pages);
    ASSERT_EQ(frame.pageCount(), int(pages.size()));
    EXPECT_EQ(frame.tabs()->tabText(0), "General");
    EXPECT_FALSE(frame.applyButton()->isEnabled());
    auto* ppg = dynamic_cast<ButtonPpg*>(frame.page(0));
    ASSERT_TRUE(ppg);
    static_cast<QLineEdit*>(ppg->control(404))->setText("From frame");
    EXPECT_TRUE(frame.applyButton()->isEnabled());
    frame.applyButton()->click();
    EXPECT_FALSE(frame.applyButton()->isEnabled());
    EXPECT_EQ(get(a.get(), "Caption").toString(), "From frame");
    EXPECT_EQ(get(b.get(), "Caption").toString(), "From frame");

    // A property opens on its own page.
    ASSERT_TRUE(frame.editProperty(DISPID_BACKCOLOR));
    EXPECT_EQ(frame.pageClass(frame.tabs()->currentIndex()), CLSID_ColorPpg);
    EXPECT_FALSE(frame.editProperty(9999));
    // A Button and a Slider share no page of their own.
    auto slider = create(CLSID_Slider);
    const auto mixed = commonPages({a.get(), slider.get()});
    EXPECT_EQ(std::find(mixed.begin(), mixed.end(), CLSID_ButtonPpg), mixed.end());
}

TEST(StockPages, EditAFramesColoursAndFontsAndAButtonsPictureThroughTheFrame)
{
    auto f = create(CLSID_Frame);
    auto btn = create(CLSID_Button);
    {
        std::vector<IUnknown*> objects{f.get()};
        PropertyFrame frame(nullptr, QStringLiteral("Frame"), objects, commonPages(objects));
        ColorPpg* colors = nullptr;
        FontPpg* fonts = nullptr;
        for (int i = 0; i < frame.pageCount(); ++i) {
            colors = colors ? colors : dynamic_cast<ColorPpg*>(frame.page(i));
            fonts = fonts ? fonts : dynamic_cast<FontPpg*>(frame.page(i));
        }
        ASSERT_TRUE(colors && fonts);
        const auto names = colors->propertyNames();
        EXPECT_NE(std::find(names.begin(), names.end(), "CaptionBackColor"), names.end());
        EXPECT_NE(std::find(names.begin(), names.end(), "BackColor"), names.end());
        ASSERT_TRUE(colors->selectProperty("CaptionBackColor"));
        colors->picker()->chooseCell(5);
        EXPECT_TRUE(frame.applyButton()->isEnabled());
        ASSERT_TRUE(colors->selectProperty("BackColor"));
        colors->picker()->chooseSystem(5);

        const auto fontNames = fonts->propertyNames();
        ASSERT_FALSE(fontNames.empty());
        ASSERT_TRUE(fonts->selectProperty("CaptionFont"));
        QFont big = fonts->editedFont();
        big.setPointSize(19);
        big.setBold(true);
        big.setItalic(true);
        fonts->setFont(big);
        EXPECT_EQ(frame.apply(), S_OK);
    }
    EXPECT_EQ(get(f.get(), "CaptionBackColor").toLong(), 0x0000FF);
    EXPECT_EQ(get(f.get(), "BackColor").get().ulVal, 0x80000005u);
    const Variant font = get(f.get(), "CaptionFont");
    ASSERT_EQ(font.type(), VT_DISPATCH);
    const QFont applied = com::qfontOf(font.get().pdispVal);
    EXPECT_EQ(int(applied.pointSizeF() + 0.5), 19);
    EXPECT_TRUE(applied.bold());
    EXPECT_TRUE(applied.italic());

    // The picture page on a Button.
    const auto png = std::filesystem::temp_directory_path() / ("vyr-pict-" + std::to_string(getpid()) + ".png");
    QImage img(24, 16, QImage::Format_RGB32);
    img.fill(Qt::green);
    ASSERT_TRUE(img.save(QString::fromStdString(png.string())));
    auto pict = page<PictPpg>(CLSID_PictPpg);
    IUnknown* one[] = {btn.get()};
    ASSERT_EQ(pict->SetObjects(1, one), S_OK);
    QWidget parent;
    ASSERT_EQ(pict->Activate(&parent, nullptr, TRUE), S_OK);
    ASSERT_TRUE(pict->selectProperty("Picture"));
    EXPECT_FALSE(pict->loadFile("/nonexistent/picture.png"));
    ASSERT_TRUE(pict->loadFile(QString::fromStdString(png.string())));
    ASSERT_EQ(pict->Apply(), S_OK);
    Variant picture = get(btn.get(), "Picture");
    ASSERT_EQ(picture.type(), VT_DISPATCH);
    EXPECT_EQ(com::qimageOf(picture.get().pdispVal).size(), QSize(24, 16));
    pict->clearPicture();
    ASSERT_EQ(pict->Apply(), S_OK);
    picture = get(btn.get(), "Picture");
    EXPECT_TRUE(picture.type() != VT_DISPATCH || !picture.get().pdispVal);
    std::filesystem::remove(png);
}

TEST(PropertyFrame, ScreenshotsOfEachPage)
{
    auto f = create(CLSID_Frame);
    com::putProperty(f.get(), "Caption", Variant::fromString("Detector"));
    auto b = create(CLSID_Button);
    com::putProperty(b.get(), "Caption", Variant::fromString("Start"));
    {
        std::vector<IUnknown*> objects{b.get()};
        PropertyFrame frame(nullptr, QStringLiteral("Button Properties"), objects, commonPages(objects));
        const char* files[] = {"page-button.png", "page-colors.png", "page-pictures.png", "page-fonts.png"};
        for (int i = 0; i < frame.pageCount() && i < 4; ++i) {
            frame.tabs()->setCurrentIndex(i);
            const CLSID c = frame.pageClass(i);
            const char* name = c == CLSID_ButtonPpg ? files[0] : c == CLSID_ColorPpg ? files[1]
                             : c == CLSID_PictPpg ? files[2] : files[3];
            shoot(&frame, name);
        }
    }
    std::vector<IUnknown*> objects{f.get()};
    PropertyFrame frame(nullptr, QStringLiteral("Frame Properties"), objects, commonPages(objects));
    shoot(&frame, "page-frame.png");
    auto radio = page<RadioButtonPpg>(CLSID_RadioButtonPpg);
    IUnknown* one[] = {b.get()};
    radio->SetObjects(1, one);
    QWidget holder;
    holder.resize(440, 180);
    radio->Activate(&holder, nullptr, TRUE);
    shoot(&holder, "page-radiobutton.png");
}
