// What a page tells its owner and passes on from it: new controls and changed ambients reach the
// owner, the container's font reaches controls inside (nested) pages, and controls that want
// their page are told which one hosts them.
#include "controls/frames/popupdialog.h"
#include "platform/com/font.h"
#include "tests/controls/frames/hosting.h"
#include <QApplication>
#include <gtest/gtest.h>

namespace vyr::frames::test {
namespace {

using com::Variant;
using controls::HostWidget;

// An owner that records what its page tells it and hands out a font as ambient.
class RecordingOwner final : public com::Object<IControlPageOwner> {
public:
    std::vector<IUnknown*> changes;
    com::ComPtr<IFontDisp> font;
    STDMETHOD(IsLocked)(BOOL* locked) override { *locked = TRUE; return S_OK; }
    STDMETHOD(GetAmbientProperty)(DISPID id, VARIANT* value) override
    {
        VariantInit(value);
        if (id != DISPID_AMBIENT_FONT || !font)
            return DISP_E_MEMBERNOTFOUND;
        return Variant::fromDispatch(font.get()).copyTo(value);
    }
    STDMETHOD(OnPageChanged)(IUnknown* control) override { changes.push_back(control); return S_OK; }
};

com::ComPtr<IFontDisp> font(const char* name, double points)
{
    com::ComPtr<IFontDisp> f;
    EXPECT_EQ(com::createFont(name, points, f.put()), S_OK);
    return f;
}

double pointsOf(HostWidget* h) { return controlOf(h)->qfont().pointSizeF(); }

TEST(PageOwner, HearsOfNewControlsAndAmbientChanges)
{
    QWidget parent;
    auto owner = com::make<RecordingOwner>();
    owner->font = font("DejaVu Sans", 17);
    ControlPage page;
    page.setOwner(owner.get());
    page.setParentWidget(&parent);
    ASSERT_EQ(page.createWindow({0, 0, 200, 100}), S_OK);
    HostWidget* b = insert(page, "VyrControls.Button", {0, 0, 80, 30});
    ASSERT_NE(b, nullptr);
    ASSERT_EQ(owner->changes.size(), 1u);
    EXPECT_EQ(owner->changes[0], b->control());
    // The owner's font is the new control's font from the start.
    EXPECT_EQ(pointsOf(b), 17);
    page.setUserMode(false);
    ASSERT_EQ(owner->changes.size(), 2u);
    EXPECT_EQ(owner->changes[1], nullptr);
    owner->font = font("DejaVu Sans", 9);
    page.ambientChanged(DISPID_AMBIENT_FONT);
    EXPECT_EQ(pointsOf(b), 9);
    page.destroyWindow();
    flushDeletes();
}

class FrameFontTest : public testing::Test {
protected:
    QWidget top;
    HostWidget* host = nullptr;
    controls::Frame* frame = nullptr;
    void SetUp() override
    {
        top.resize(500, 400);
        host = new HostWidget(&top);
        host->setGeometry(0, 0, 480, 380);
        ASSERT_EQ(host->create("VyrControls.Frame"), S_OK);
        frame = frameOf(host);
        top.show();
    }
    void TearDown() override { flushDeletes(); }
};

TEST_F(FrameFontTest, TheContainersFontReachesButtonsInsidePages)
{
    HostWidget* b = insert(*frame->inner().page(0), "VyrControls.Button", {10, 10, 100, 40});
    HostWidget* nestedHost = insert(*frame->inner().page(0), "VyrControls.Frame", {120, 10, 400, 300});
    controls::Frame* nested = frameOf(nestedHost);
    HostWidget* deep = insert(*nested->inner().page(0), "VyrControls.Button", {5, 5, 90, 35});
    HostWidget* own = insert(*frame->inner().page(0), "VyrControls.Button", {10, 50, 100, 80});
    own->setProperty("Font", Variant::fromDispatch(font("DejaVu Sans", 6).get()));
    // Drawn once with the font it has now.
    QApplication::processEvents();
    (void)b->controlWindow()->grab();
    const double before = pointsOf(b);

    host->setAmbientFont(font("DejaVu Serif", 23).get());
    EXPECT_EQ(pointsOf(b), 23);
    EXPECT_NE(before, 23);
    EXPECT_EQ(controlOf(b)->qfont().family(), QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(pointsOf(deep), 23); // through a nested Frame as well
    EXPECT_EQ(pointsOf(own), 6);   // a Font set as a property stays
    // A control hosted later starts with it.
    HostWidget* later = insert(*frame->inner().page(0), "VyrControls.Button", {10, 90, 100, 120});
    EXPECT_EQ(pointsOf(later), 23);
}

TEST_F(FrameFontTest, APopupDialogOnAPageKnowsItsLockState)
{
    HostWidget* p = insert(*frame->inner().page(0), "VyrControls.PopupDialog", {10, 10, 100, 40});
    auto* popup = dynamic_cast<controls::PopupDialog*>(controlOf(p));
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->lockState(), std::optional<bool>(true)); // a Frame starts locked
    ASSERT_EQ(host->setProperty("Locked", Variant::fromBool(false)), S_OK);
    EXPECT_EQ(popup->lockState(), std::optional<bool>(false));
}

} // namespace
} // namespace vyr::frames::test
