// The property browser hosted in a window: editing by keyboard and mouse through the edit
// field, the choice list and the colour picker, live update of a browsed Slider, custom
// colours across openings of the picker, scrolling, a control page passing SetDispatch and
// AddDispatch on, and a screenshot with the colour drop-down open.
#include "controls/core/host.h"
#include "controls/core/usersettings.h"
#include "controls/frames/frame.h"
#include "controls/propertypages/colorpicker.h"
#include "controls/propertypages/propertybrowser.h"
#include "controls/propertypages/propertyframe.h"
#include <QTabWidget>
#include "platform/com/dispcall.h"
#include <gtest/gtest.h>
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QScrollBar>
#include <QTest>
#include <cstdlib>
#include <filesystem>

using namespace vyr;
using namespace vyr::controls;
using com::Variant;

namespace {

class BrowserWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = std::filesystem::temp_directory_path() / ("vyr-browser-" + std::to_string(getpid()));
        std::filesystem::create_directories(dir_);
        setenv("VYR_REGISTRY", (dir_ / "registry.db").c_str(), 1);
        top.resize(700, 320);
        browserHost = new HostWidget(&top);
        browserHost->setGeometry(10, 10, 260, 300);
        ASSERT_EQ(browserHost->create("VyrControls.PropertyBrowser"), S_OK);
        browserHost->setUserMode(true);
        browser = dynamic_cast<PropertyBrowser*>(vyr::controls::ControlBase::from(browserHost->dispatch()));
        ASSERT_TRUE(browser);
        for (int i = 0; i < 2; ++i) {
            subjects[i] = new HostWidget(&top);
            subjects[i]->setGeometry(300 + i * 130, 10, 120, 40);
        }
        top.show();
        top.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&top));
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    int line(const char* name) const { return browser->model().lineOf(name); }
    void key(Qt::Key k, QWidget* w = nullptr) { QTest::keyClick(w ? w : browserHost->controlWindow(), k); }

    std::filesystem::path dir_;
    QWidget top;
    HostWidget* browserHost = nullptr;
    HostWidget* subjects[2] = {};
    PropertyBrowser* browser = nullptr;
};

} // namespace

TEST_F(BrowserWindow, ChoosingSliderModeByNameChangesTheSliderAndItsChangesComeBack)
{
    ASSERT_EQ(subjects[0]->create("VyrControls.Slider"), S_OK);
    ASSERT_EQ(browser->setDispatch(subjects[0]->dispatch()), S_OK);
    const int mode = line("SliderMode");
    ASSERT_GE(mode, 0);
    ASSERT_TRUE(browser->beginEdit(mode));
    QListWidget* list = browser->choiceList();
    ASSERT_TRUE(list->isVisible());
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->currentItem()->text(), "Normal");
    list->setCurrentRow(2);
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_FALSE(list->isVisible());
    EXPECT_EQ(subjects[0]->property("SliderMode").toLong(), 2);
    EXPECT_EQ(browser->model().text(size_t(line("SliderMode"))), "List");

    // A change through the Slider's own dispatch interface refreshes the row.
    subjects[0]->setProperty("SliderMode", Variant::fromShort(1));
    EXPECT_EQ(browser->model().text(size_t(line("SliderMode"))), "Logarithmic");
}

TEST_F(BrowserWindow, TypingACaptionWritesEveryBrowsedButton)
{
    for (int i = 0; i < 2; ++i) {
        ASSERT_EQ(subjects[i]->create("VyrControls.Button"), S_OK);
        subjects[i]->setProperty("Caption", Variant::fromString(i ? "Two" : "One"));
    }
    ASSERT_EQ(browser->setDispatch(subjects[0]->dispatch()), S_OK);
    ASSERT_EQ(browser->addDispatch(subjects[1]->dispatch()), S_OK);
    const int caption = line("Caption");
    browser->select(caption);
    key(Qt::Key_Return);
    QLineEdit* edit = browser->editField();
    ASSERT_TRUE(edit->isVisible());
    EXPECT_EQ(edit->text(), ""); // the objects disagree
    QTest::keyClicks(edit, "Both");
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_FALSE(edit->isVisible());
    EXPECT_EQ(subjects[0]->property("Caption").toString(), "Both");
    EXPECT_EQ(subjects[1]->property("Caption").toString(), "Both");

    // Escape leaves the value; a bad value beeps and keeps the field open.
    browser->select(caption);
    key(Qt::Key_Return);
    QTest::keyClicks(edit, "Nope");
    QTest::keyClick(edit, Qt::Key_Escape);
    EXPECT_EQ(subjects[0]->property("Caption").toString(), "Both");
    ASSERT_TRUE(browser->beginEdit(line("BackColor")));
    browser->cancelEdit();
    const int pos = line("CaptionPosition");
    ASSERT_TRUE(browser->beginEdit(pos));
    EXPECT_TRUE(browser->choiceList()->isVisible()); // enumerations choose from a list
    browser->cancelEdit();
}

TEST_F(BrowserWindow, KeyboardMovesTheSelectionAndTabMovesAfterAnEdit)
{
    ASSERT_EQ(subjects[0]->create("VyrControls.Button"), S_OK);
    ASSERT_EQ(browser->setDispatch(subjects[0]->dispatch()), S_OK);
    browser->select(0);
    key(Qt::Key_Down);
    key(Qt::Key_Down);
    EXPECT_EQ(browser->selected(), 2);
    key(Qt::Key_Up);
    EXPECT_EQ(browser->selected(), 1);
    key(Qt::Key_End);
    EXPECT_EQ(browser->selected(), int(browser->model().lines().size()) - 1);
    const int caption = line("Caption");
    ASSERT_TRUE(browser->beginEdit(caption));
    QTest::keyClicks(browser->editField(), "Tabbed");
    QTest::keyClick(browser->editField(), Qt::Key_Tab);
    EXPECT_EQ(subjects[0]->property("Caption").toString(), "Tabbed");
    EXPECT_EQ(browser->selected(), caption + 1);

    // A click on the selected line's value opens the editor.
    const QRect v = browser->valueRect(caption);
    QTest::mouseClick(browserHost->controlWindow(), Qt::LeftButton, {}, v.center());
    QTest::mouseClick(browserHost->controlWindow(), Qt::LeftButton, {}, v.center());
    EXPECT_TRUE(browser->editing());
}

TEST_F(BrowserWindow, ColourPickerWritesColoursAndKeepsCustomColours)
{
    ASSERT_EQ(subjects[0]->create("VyrControls.Button"), S_OK);
    ASSERT_EQ(browser->setDispatch(subjects[0]->dispatch()), S_OK);
    const int back = line("BackColor");
    ASSERT_TRUE(browser->beginEdit(back));
    browser::ColorPicker* picker = browser->colorPicker();
    ASSERT_TRUE(picker->isVisible());
    // The default 0x8000000F is a system colour: the list selects it.
    EXPECT_EQ(picker->selectedSystemColor(), 15);
    EXPECT_EQ(picker->selectedCell(), -1);
    QTest::mouseClick(picker, Qt::LeftButton, {}, picker->cellRect(5).center());
    EXPECT_FALSE(picker->isVisible());
    EXPECT_EQ(subjects[0]->property("BackColor").toLong(), 0x0000FF);
    EXPECT_EQ(browser->model().text(size_t(back)), "&H000000FF&");

    // A custom colour survives closing and reopening the picker (it lives in the store).
    ASSERT_TRUE(browser->beginEdit(back));
    EXPECT_EQ(picker->selectedCell(), 5);
    picker->setCustomColor(3, 0x336699);
    browser->cancelEdit();
    ASSERT_TRUE(browser->beginEdit(back));
    EXPECT_EQ(picker->customColors()[3], 0x336699u);
    EXPECT_EQ(UserSettings::ReadString("Property Browser", "CustomColor 4", ""), "336699");
    picker->chooseCell(48 + 3);
    EXPECT_EQ(subjects[0]->property("BackColor").toLong(), 0x336699);
    ASSERT_TRUE(browser->beginEdit(back));
    EXPECT_EQ(picker->selectedCell(), 51);
    picker->chooseSystem(5);
    EXPECT_EQ(subjects[0]->property("BackColor").get().ulVal, 0x80000005u);
}

TEST_F(BrowserWindow, FontsAndPicturesOpenTheirStockPageInThePropertyFrame)
{
    ASSERT_EQ(subjects[0]->create("VyrControls.Button"), S_OK);
    ASSERT_EQ(browser->setDispatch(subjects[0]->dispatch()), S_OK);
    ASSERT_TRUE(browser->beginEdit(line("Picture")));
    auto* frame = browserHost->controlWindow()->findChild<PropertyFrame*>(QStringLiteral("propertyFrame"));
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->pageClass(frame->tabs()->currentIndex()), CLSID_PictPpg);
    delete frame;
    ASSERT_TRUE(browser->beginEdit(line("Font")));
    frame = browserHost->controlWindow()->findChild<PropertyFrame*>(QStringLiteral("propertyFrame"));
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->pageClass(frame->tabs()->currentIndex()), CLSID_FontPpg);
    frame->reject();
}

TEST_F(BrowserWindow, PaintsAColourSwatchAndScrollsLongLists)
{
    ASSERT_EQ(subjects[0]->create("VyrControls.Button"), S_OK);
    subjects[0]->setProperty("BackColor", Variant::fromULong(0x0000FF));
    ASSERT_EQ(browser->setDispatch(subjects[0]->dispatch()), S_OK);
    browserHost->setGeometry(10, 10, 260, 120);
    QApplication::processEvents();
    QWidget* w = browserHost->controlWindow();
    const int back = line("BackColor");
    browser->select(back);
    const QImage img = w->grab().toImage();
    const QRect value = browser->valueRect(back);
    const int side = QFontMetrics(browser->qfont()).height();
    const QPoint inSwatch(value.left() + 3 + side / 2, value.center().y());
    EXPECT_EQ(img.pixelColor(inSwatch), QColor(255, 0, 0));

    // More lines than fit: the scroll bar shows and follows the selection.
    EXPECT_TRUE(browser->scrollBar()->isVisible());
    key(Qt::Key_End);
    EXPECT_GT(browser->topLine(), 0);
    VARIANT_BOOL inside = VARIANT_FALSE;
    com::ComPtr<IVyrPropertyBrowser> itf;
    ASSERT_EQ(browserHost->control()->QueryInterface(IID_IVyrPropertyBrowser, itf.putVoid()), S_OK);
    EXPECT_EQ(itf->IsPointInClientArea(&inside, 5, 5), S_OK);
    EXPECT_EQ(inside, VARIANT_TRUE);
    EXPECT_EQ(itf->IsPointInClientArea(&inside, w->width() - 2, 5), S_OK);
    EXPECT_EQ(inside, VARIANT_FALSE); // on the scroll bar
    EXPECT_EQ(itf->IsPointInClientArea(&inside, 5, 500), S_OK);
    EXPECT_EQ(inside, VARIANT_FALSE);
}

TEST_F(BrowserWindow, AControlPagePassesSetDispatchAndAddDispatchOn)
{
    HostWidget frameHost(&top);
    frameHost.setGeometry(0, 0, 300, 300);
    ASSERT_EQ(frameHost.create("VyrControls.Frame"), S_OK);
    auto* frame = dynamic_cast<Frame*>(vyr::controls::ControlBase::from(frameHost.dispatch()));
    ASSERT_TRUE(frame);
    frames::ControlPage& page = *frame->inner().page(0);
    ASSERT_EQ(page.insertControl("VyrControls.PropertyBrowser", {10, 10, 200, 200}), S_OK);
    ASSERT_EQ(page.hosts().size(), 1u);
    auto* inner = dynamic_cast<PropertyBrowser*>(vyr::controls::ControlBase::from(page.hosts()[0]->dispatch()));
    ASSERT_TRUE(inner);
    ASSERT_EQ(subjects[0]->create("VyrControls.Button"), S_OK);
    ASSERT_EQ(subjects[1]->create("VyrControls.Slider"), S_OK);
    EXPECT_EQ(frame->ForwardDispatch(subjects[0]->dispatch()), S_OK);
    EXPECT_EQ(inner->model().objectCount(), 1u);
    EXPECT_EQ(frame->AddDispatch(subjects[1]->dispatch()), S_OK);
    EXPECT_EQ(inner->model().objectCount(), 2u);
    EXPECT_EQ(frame->ForwardDispatch(nullptr), S_OK);
    EXPECT_EQ(inner->model().objectCount(), 0u);
}

TEST_F(BrowserWindow, ScreenshotWithTheColourDropDownOpen)
{
    ASSERT_EQ(subjects[0]->create("VyrControls.Button"), S_OK);
    subjects[0]->setProperty("Caption", Variant::fromString("Start"));
    subjects[0]->setProperty("ForeColor", Variant::fromULong(0x0000C0));
    ASSERT_EQ(browser->setDispatch(subjects[0]->dispatch()), S_OK);
    browser::saveCustomColor(0, 0x336699);
    ASSERT_TRUE(browser->beginEdit(line("ForeColor")));
    QApplication::processEvents();
    browser::ColorPicker* picker = browser->colorPicker();
    // Compose the browser and its drop-down as the screen shows them.
    QWidget* w = browserHost->controlWindow();
    const QPoint at = picker->mapToGlobal(QPoint()) - w->mapToGlobal(QPoint());
    QImage shot(std::max(w->width(), at.x() + picker->width()), std::max(w->height(), at.y() + picker->height()),
                QImage::Format_RGB32);
    shot.fill(Qt::white);
    QPainter p(&shot);
    p.drawPixmap(0, 0, w->grab());
    p.drawPixmap(at, picker->grab());
    p.end();
    const std::string path = std::string(VYR_SOURCE_DIR) + "/docs/screenshots/propertybrowser.png";
    EXPECT_TRUE(shot.save(QString::fromStdString(path)));
}
