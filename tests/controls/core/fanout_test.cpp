// A command notification reaches every control bound to the command. The run mode it needs
// is kept from the site's last announcement, and a notification that changes nothing leaves
// the window alone: no ambient reads, no enable or show events.
#include "controls/buttons/button.h"
#include "controls/core/host.h"
#include "controls/qtwidget/commandserver.h"
#include <QApplication>
#include <QEvent>
#include <gtest/gtest.h>

using namespace vyr;
using namespace vyr::controls;
using com::ComPtr;
using com::Variant;

VYR_DECLARE_INTERFACE(IVyrSite, IID_IVyrSite, IUnknown)

namespace {

// A site whose ambients the test sets, counting the reads.
class CountingSite final : public com::Object<IVyrSite> {
public:
    bool userMode = true;
    bool uiDead = false;
    int reads = 0;

    STDMETHOD(GetAmbientProperty)(DISPID id, VARIANT* value) override
    {
        ++reads;
        VariantInit(value);
        if (id == DISPID_AMBIENT_USERMODE)
            return Variant::fromBool(userMode).copyTo(value);
        if (id == DISPID_AMBIENT_UIDEAD)
            return Variant::fromBool(uiDead).copyTo(value);
        return DISP_E_MEMBERNOTFOUND;
    }
    STDMETHOD(OnControlInfoChanged)() override { return S_OK; }
    STDMETHOD(OnFocus)(BOOL) override { return S_OK; }
};

// Counts the window's enable and show changes.
class StateEvents : public QObject {
public:
    int enabled = 0, shown = 0;
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::EnabledChange)
            ++enabled;
        if (e->type() == QEvent::Show || e->type() == QEvent::Hide)
            ++shown;
        return false;
    }
};

struct Bound {
    Bound()
    {
        parent.resize(200, 100);
        button->SetSite(site.get());
        const RECT r{0, 0, 80, 30};
        button->CreateControlWindow(&parent, &r, nullptr);
        button->command().setText("Go");
        button->SetCommandServer(server.get());
        parent.show();
        button->window()->installEventFilter(&events);
    }
    ~Bound() { button->SetCommandServer(nullptr); }

    QWidget parent;
    ComPtr<CountingSite> site = com::make<CountingSite>();
    ComPtr<Button> button = com::make<Button>();
    ComPtr<vyr::CommandServer> server = com::make<vyr::CommandServer>();
    StateEvents events;
};

TEST(FanOut, ANotificationThatChangesNothingTouchesNeitherSiteNorWindow)
{
    Bound b;
    b.site->reads = 0;
    for (int i = 0; i < 5; ++i)
        b.server->notify("Go");
    EXPECT_EQ(b.site->reads, 0);
    EXPECT_EQ(b.events.enabled, 0);
    EXPECT_EQ(b.events.shown, 0);
    EXPECT_TRUE(b.button->window()->isEnabled());

    (*b.server)["Go"].enabled = false;
    b.server->notify("Go");
    EXPECT_FALSE(b.button->window()->isEnabled());
    EXPECT_EQ(b.events.enabled, 1);
    b.server->notify("Go");
    EXPECT_EQ(b.events.enabled, 1) << "the same state again sends nothing";
    (*b.server)["Go"].visible = 0;
    b.server->notify("Go");
    b.server->notify("Go");
    EXPECT_FALSE(b.button->window()->isVisible());
    EXPECT_EQ(b.events.shown, 1);
}

TEST(FanOut, TheRunModeFollowsTheSitesAnnouncements)
{
    Bound b;
    (*b.server)["Go"].enabled = false;
    (*b.server)["Go"].visible = 0;
    b.server->notify("Go");
    EXPECT_TRUE(b.button->isRunMode());
    EXPECT_FALSE(b.button->window()->isEnabled());

    // Design mode: shown and enabled whatever the command says, once the site says so.
    b.site->userMode = false;
    b.server->notify("Go");
    EXPECT_TRUE(b.button->isRunMode()) << "not announced yet";
    b.button->OnAmbientPropertyChange(DISPID_AMBIENT_USERMODE);
    EXPECT_FALSE(b.button->isRunMode());
    EXPECT_TRUE(b.button->window()->isVisible());
    EXPECT_TRUE(b.button->window()->isEnabled());

    b.site->userMode = true;
    b.site->uiDead = true;
    b.button->OnAmbientPropertyChange(DISPID_UNKNOWN);
    EXPECT_FALSE(b.button->isRunMode()) << "UIDead also stops the run mode";
    b.site->uiDead = false;
    b.button->OnAmbientPropertyChange(DISPID_AMBIENT_UIDEAD);
    b.server->notify("Go");
    EXPECT_TRUE(b.button->isRunMode());
    EXPECT_FALSE(b.button->window()->isEnabled());

    // A new site is asked at once; no site at all counts as running.
    auto design = com::make<CountingSite>();
    design->userMode = false;
    b.button->SetSite(design.get());
    EXPECT_FALSE(b.button->isRunMode());
    b.button->SetSite(nullptr);
    EXPECT_TRUE(b.button->isRunMode());
}

TEST(FanOut, ADisabledControlStaysDisabledWhenItsParentIsEnabledAgain)
{
    // The window's own disabled state is what is compared, not the one it inherits.
    Bound b;
    b.parent.setEnabled(false);
    (*b.server)["Go"].enabled = false;
    b.server->notify("Go");
    b.parent.setEnabled(true);
    EXPECT_FALSE(b.button->window()->isEnabled());
    (*b.server)["Go"].enabled = true;
    b.parent.setEnabled(false);
    b.server->notify("Go");
    b.parent.setEnabled(true);
    EXPECT_TRUE(b.button->window()->isEnabled());
}

TEST(FanOut, AHostedControlFollowsTheHostsUserMode)
{
    QWidget top;
    auto* host = new HostWidget(&top);
    host->resize(80, 30);
    ASSERT_EQ(host->create("VyrControls.Button"), S_OK);
    auto server = com::make<vyr::CommandServer>();
    (*server)["Go"].enabled = false;
    host->setProperty("Command", Variant::fromString("Go"));
    host->setCommandServer(server.get());
    top.show();
    EXPECT_FALSE(host->controlWindow()->isEnabled());
    host->setUserMode(false);
    EXPECT_TRUE(host->controlWindow()->isEnabled());
    host->setUserMode(true);
    EXPECT_FALSE(host->controlWindow()->isEnabled());
    host->setUiDead(true);
    EXPECT_TRUE(host->controlWindow()->isEnabled());
    host->setCommandServer(nullptr);
}

} // namespace
