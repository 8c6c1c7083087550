// RadioButtons: their own value, group exclusivity in every kind of container (a plain widget
// holding hosts, a control page, a frame's page), input through real Qt events, and
// persistence in the order of the property map.
#include "controls/buttons/radiobutton.h"
#include "controls/buttons/radiogroup.h"
#include "controls/frames/controlpage.h"
#include "tests/controls/buttons/hosted.h"
#include "tests/controls/frames/hosting.h"
#include <cstring>

using namespace vyr;
using namespace vyr::controls;
using com::ComPtr;
using com::Variant;

namespace {

RadioButton& radio(HostWidget* h) { return test::controlOf<RadioButton>(h); }

// Radios of `groups` side by side in `parent`, enabled, with captions R0, R1 ...
std::vector<HostWidget*> hostRadios(QWidget* parent, std::initializer_list<int> groups)
{
    std::vector<HostWidget*> out;
    int x = 5;
    for (int g : groups) {
        auto* h = new HostWidget(parent);
        h->setGeometry(x, 5, 60, 30);
        EXPECT_EQ(h->create("VyrControls.RadioButton"), S_OK);
        h->setProperty("Enabled", Variant::fromBool(true));
        h->setProperty("GroupNumber", Variant::fromLong(g));
        h->setProperty("Caption", Variant::fromString("R" + std::to_string(out.size())));
        h->show();
        out.push_back(h);
        x += 65;
    }
    return out;
}

std::vector<bool> values(const std::vector<HostWidget*>& hosts)
{
    std::vector<bool> v;
    for (HostWidget* h : hosts)
        v.push_back(radio(h).value());
    return v;
}

void click(HostWidget* h) { QTest::mouseClick(h->controlWindow(), Qt::LeftButton, {}, QPoint(10, 10)); }

// Another kind of control with "GroupNumber" and "Value" members, as a container may hold.
class OtherOption final : public com::Object<IDispatch> {
public:
    LONG group = 1;
    Variant value = Variant::fromBool(true);
    std::vector<std::string> puts;

    STDMETHOD(GetTypeInfoCount)(UINT* n) override { *n = 0; return S_OK; }
    STDMETHOD(GetTypeInfo)(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHOD(GetIDsOfNames)(REFIID, LPOLESTR* names, UINT, LCID, DISPID* ids) override
    {
        const std::string n = com::utf8(std::u16string_view(names[0]));
        *ids = n == "GroupNumber" ? 1 : n == "Value" ? 2 : DISPID_UNKNOWN;
        return *ids == DISPID_UNKNOWN ? DISP_E_UNKNOWNNAME : S_OK;
    }
    STDMETHOD(Invoke)(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* p, VARIANT* result, EXCEPINFO*, UINT*) override
    {
        if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
            puts.push_back((flags & DISPATCH_PROPERTYPUTREF) ? "putref" : "put");
            value = Variant(p->rgvarg[0]);
            return S_OK;
        }
        // The group number comes as text, the way a loosely typed control may answer.
        return id == 1 ? Variant::fromString(std::to_string(group)).copyTo(result) : value.copyTo(result);
    }
};

} // namespace

TEST(RadioGroup, ClickingTheThirdSwitchesTheFirstOffAndLeavesAnotherGroupAlone)
{
    QWidget top;
    top.resize(400, 60);
    auto hosts = hostRadios(&top, {1, 1, 1, 2});
    top.show();
    radio(hosts[0]).setValue(true);
    radio(hosts[3]).setValue(true);
    auto spy = com::make<test::EventSpy>();
    spy->connect(hosts[2]->control());
    click(hosts[2]);
    EXPECT_EQ(values(hosts), (std::vector<bool>{false, false, true, true}));
    EXPECT_EQ(spy->ids(), (std::vector<DISPID>{DISPID_MOUSEDOWN, DISPID_CLICK, DISPID_MOUSEUP}));

    // Through the property as well: only the one that was on is switched off.
    auto notify = com::make<test::NotifySpy>();
    notify->connect(hosts[1]->control());
    hosts[0]->setProperty("Value", Variant::fromBool(true));
    EXPECT_EQ(values(hosts), (std::vector<bool>{true, false, false, true}));
    EXPECT_TRUE(notify->changed.empty()) << "an off member is left alone";
    spy->disconnect();
}

TEST(RadioGroup, AnyControlWithGroupNumberAndValueIsSwitchedOff)
{
    auto other = com::make<OtherOption>();
    auto elsewhere = com::make<OtherOption>();
    elsewhere->group = 7;
    auto r = com::make<RadioButton>();
    r->setEnabledFlag(true);
    switchOffGroup({ComPtr<IUnknown>(static_cast<IDispatch*>(other.get())),
                    ComPtr<IUnknown>(static_cast<IDispatch*>(elsewhere.get())),
                    ComPtr<IUnknown>(static_cast<IDispatch*>(r.get()))},
                   1);
    EXPECT_EQ(other->value.toBool(), false);
    EXPECT_EQ(other->puts, std::vector<std::string>{"put"});
    EXPECT_EQ(elsewhere->value.toBool(), true);

    // A value held as an object is put by reference first, then by value.
    other->value = Variant::fromBool(true);
    auto obj = com::make<OtherOption>();
    other->value = Variant::fromDispatch(obj.get());
    other->puts.clear();
    obj->value = Variant::fromBool(true);
    // (an object converts to a boolean through its default member: Value)
    switchOffGroup({ComPtr<IUnknown>(static_cast<IDispatch*>(other.get()))}, 1);
    EXPECT_EQ(other->puts, (std::vector<std::string>{"putref", "put"}));
}

TEST(RadioGroup, ExclusiveOnAControlPage)
{
    QWidget top;
    top.resize(400, 100);
    frames::ControlPage page;
    page.setParentWidget(&top);
    ASSERT_EQ(page.createWindow({0, 0, 400, 100}), S_OK);
    std::vector<HostWidget*> hosts;
    for (int i = 0; i < 3; ++i) {
        HostWidget* h = frames::test::insert(page, "VyrControls.RadioButton", {5 + 70 * i, 5, 65 + 70 * i, 35});
        ASSERT_NE(h, nullptr);
        h->setProperty("Enabled", Variant::fromBool(true));
        h->setProperty("GroupNumber", Variant::fromLong(i < 2 ? 3 : 4));
        hosts.push_back(h);
    }
    top.show();
    click(hosts[0]);
    click(hosts[2]);
    EXPECT_EQ(values(hosts), (std::vector<bool>{true, false, true}));
    click(hosts[1]);
    EXPECT_EQ(values(hosts), (std::vector<bool>{false, true, true}));
    // The page hands every control its server; a radio is bound to none and stays enabled.
    auto server = com::make<vyr::CommandServer>();
    page.setCommandServer(server.get());
    EXPECT_TRUE(radio(hosts[0]).enabledFlag());
    ComPtr<ICommandClient> client;
    EXPECT_EQ(hosts[0]->control()->QueryInterface(IID_ICommandClient, client.putVoid()), E_NOINTERFACE);
}

TEST(RadioGroup, ExclusiveOnAFramePageButNotAcrossPages)
{
    QWidget top;
    top.resize(500, 300);
    auto* frameHost = new HostWidget(&top);
    frameHost->setGeometry(0, 0, 400, 250);
    ASSERT_EQ(frameHost->create("VyrControls.Frame"), S_OK);
    ASSERT_EQ(frameHost->setProperty("ButtonCount", Variant::fromLong(2)), S_OK);
    Frame* frame = frames::test::frameOf(frameHost);
    top.show();
    frames::ControlPage& first = *frame->inner().page(0);
    HostWidget* a = frames::test::insert(first, "VyrControls.RadioButton", {5, 5, 60, 30});
    HostWidget* b = frames::test::insert(first, "VyrControls.RadioButton", {70, 5, 130, 30});
    frame->inner().page(1)->createWindow(first.windowRect());
    HostWidget* c = frames::test::insert(*frame->inner().page(1), "VyrControls.RadioButton", {5, 5, 60, 30});
    ASSERT_TRUE(a && b && c);
    for (HostWidget* h : {a, b, c})
        h->setProperty("Enabled", Variant::fromBool(true));
    a->setProperty("Value", Variant::fromBool(true));
    c->setProperty("Value", Variant::fromBool(true));
    b->setProperty("Value", Variant::fromBool(true));
    EXPECT_EQ(values({a, b, c}), (std::vector<bool>{false, true, true}));
}

TEST(RadioInput, DisabledUntilEnabledIsSet)
{
    test::HostedButton<RadioButton> h("VyrControls.RadioButton", QSize(80, 30), false);
    QTest::mouseClick(h.window(), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_FALSE(h.control().value());
    EXPECT_TRUE(h.spy->events.empty());
    h.put("Enabled", Variant::fromBool(true));
    QTest::mouseClick(h.window(), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_TRUE(h.control().value());
}

TEST(RadioInput, AClickOnAnOnButtonFiresButChangesNothingAndKeysOnlyCheck)
{
    test::HostedButton<RadioButton> h("VyrControls.RadioButton", QSize(80, 30), false);
    h.put("Enabled", Variant::fromBool(true));
    h.window()->setFocus();
    ASSERT_TRUE(h.control().focused());
    QTest::keyClick(h.window(), Qt::Key_Space);
    EXPECT_TRUE(h.control().value());
    EXPECT_EQ(h.spy->ids(), std::vector<DISPID>{DISPID_CLICK});

    h.spy->clear();
    auto notify = com::make<test::NotifySpy>();
    notify->connect(h.host->control());
    QTest::keyClick(h.window(), Qt::Key_Return);
    EXPECT_TRUE(h.spy->events.empty()) << "Enter on a button that is on does nothing";
    QTest::mouseClick(h.window(), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(h.spy->ids(), (std::vector<DISPID>{DISPID_MOUSEDOWN, DISPID_CLICK, DISPID_MOUSEUP}));
    EXPECT_TRUE(notify->changed.empty());

    // Losing the focus keeps the value (and the pushed-in face).
    h.window()->clearFocus();
    EXPECT_TRUE(h.control().value());
    EXPECT_EQ(h.control().face.pressed, 1);

    // Design mode: no input.
    h.put("Value", Variant::fromBool(false));
    h.host->setUserMode(false);
    QTest::mouseClick(h.window(), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_FALSE(h.control().value());
}

TEST(RadioInput, MnemonicChecksOnlyWhenEnabled)
{
    test::HostedButton<RadioButton> h("VyrControls.RadioButton", QSize(80, 30), false);
    h.put("Caption", Variant::fromString("&Red"));
    QTest::keyClick(&h.top, Qt::Key_R, Qt::AltModifier);
    EXPECT_FALSE(h.control().value());
    h.put("Enabled", Variant::fromBool(true));
    QTest::keyClick(&h.top, Qt::Key_R, Qt::AltModifier);
    EXPECT_TRUE(h.control().value());
    EXPECT_EQ(h.spy->ids(), std::vector<DISPID>{DISPID_CLICK});
}

TEST(RadioPersistence, SavesInTheOrderOfItsPropertyMapAndLoadsEveryProperty)
{
    const auto& map = RadioButton::propertyMap();
    ASSERT_EQ(map.size(), 14u);
    EXPECT_EQ(RadioButton::classDescriptor().saveOrder.size(), map.size());
    for (size_t i = 0; i < map.size(); ++i)
        EXPECT_EQ(RadioButton::classDescriptor().saveOrder[i], map[i].id) << map[i].name;
    EXPECT_STREQ(map[5].name, "FrontColor");
    EXPECT_EQ(map[5].page, CLSID_ColorPpg);
    EXPECT_EQ(map[13].page, CLSID_FontPpg);

    auto r = com::make<RadioButton>();
    ComPtr<IDispatch> d(static_cast<IDispatch*>(r.get()));
    com::putProperty(d.get(), "Enabled", Variant::fromBool(true));
    com::putProperty(d.get(), "Value", Variant::fromBool(true));
    com::putProperty(d.get(), "GroupNumber", Variant::fromLong(42));
    com::putProperty(d.get(), "Caption", Variant::fromString("&Blue"));
    com::putProperty(d.get(), "Style", Variant::fromShort(2));
    com::putProperty(d.get(), "ForeColor", Variant::fromULong(0x0000FF));
    com::putProperty(d.get(), "BackColor", Variant::fromULong(0x00FF00));
    com::putProperty(d.get(), "CaptionEnable", Variant::fromBool(false));
    com::putProperty(d.get(), "PicturePosition", Variant::fromShort(8));
    com::putProperty(d.get(), "CaptionPosition", Variant::fromShort(1));
    const std::vector<uint8_t> bytes = test::savedBytes(static_cast<IDispatch*>(r.get()));
    // Header, count, then the first record: Value (dispid 0) as VT_BOOL true.
    uint32_t count = 0;
    std::memcpy(&count, bytes.data() + 20, 4);
    EXPECT_EQ(count, 14u);
    int32_t first = -1;
    uint16_t vt = 0;
    std::memcpy(&first, bytes.data() + 24, 4);
    std::memcpy(&vt, bytes.data() + 28, 2);
    EXPECT_EQ(first, 0);
    EXPECT_EQ(vt, VT_BOOL);

    auto copy = com::make<RadioButton>();
    ASSERT_EQ(test::loadInto(*copy, bytes), S_OK);
    EXPECT_EQ(test::savedBytes(static_cast<IDispatch*>(copy.get())), bytes);
    EXPECT_TRUE(copy->value());
    EXPECT_EQ(copy->groupNumber(), 42);
    EXPECT_EQ(copy->face.style, 2);
    EXPECT_EQ(copy->captionText(), "&Blue");
    EXPECT_TRUE(copy->enabledFlag());
}

TEST(RadioPersistence, HostileStreamsGiveAnErrorAndKeepWhatLoaded)
{
    auto r = com::make<RadioButton>();
    com::putProperty(static_cast<IDispatch*>(r.get()), "GroupNumber", Variant::fromLong(5));
    std::vector<uint8_t> bytes = test::savedBytes(static_cast<IDispatch*>(r.get()));

    auto truncated = com::make<RadioButton>();
    std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + 40);
    EXPECT_TRUE(FAILED(test::loadInto(*truncated, cut)));

    std::vector<uint8_t> huge = bytes;
    const uint32_t many = 0x7FFFFFFF;
    std::memcpy(huge.data() + 20, &many, 4);
    auto h = com::make<RadioButton>();
    EXPECT_TRUE(FAILED(test::loadInto(*h, huge))) << "the stream ends long before the count";
    EXPECT_EQ(h->groupNumber(), 5) << "what came before the end stays";

    std::vector<uint8_t> newer = bytes;
    newer[0] = 2;
    auto n = com::make<RadioButton>();
    EXPECT_EQ(test::loadInto(*n, newer), E_FAIL);
    EXPECT_EQ(n->groupNumber(), 0);
}
