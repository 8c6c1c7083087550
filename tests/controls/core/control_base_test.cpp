// The shared rules of the control base, exercised on a Button and an OptionButton: the
// property-change protocol, per-property browsing, connection points and the command binding.
#include "controls/buttons/button.h"
#include "platform/com/dispcall.h"
#include "tests/support/eventspy.h"
#include "controls/qtwidget/commandserver.h"
#include <gtest/gtest.h>

using namespace vyr;
using namespace vyr::controls;
using com::ComPtr;
using com::Variant;

namespace {

ComPtr<Button> makeButton() { return com::make<Button>(); }

std::vector<std::string> predefined(IPerPropertyBrowsing* b, DISPID id, std::vector<DWORD>* cookies = nullptr)
{
    CALPOLESTR s{};
    CADWORD c{};
    std::vector<std::string> r;
    if (b->GetPredefinedStrings(id, &s, &c) != S_OK)
        return r;
    for (ULONG i = 0; i < s.cElems; ++i) {
        r.push_back(com::utf8(std::u16string_view(s.pElems[i])));
        if (cookies)
            cookies->push_back(c.pElems[i]);
        CoTaskMemFree(s.pElems[i]);
    }
    CoTaskMemFree(s.pElems);
    CoTaskMemFree(c.pElems);
    return r;
}

} // namespace

TEST(PropertyProtocol, EqualValueChangesNothingAndNewValueNotifiesOnce)
{
    auto b = makeButton();
    test::NotifySpy* spy = new test::NotifySpy;
    ComPtr<test::NotifySpy> spyRef = ComPtr<test::NotifySpy>::attach(spy);
    ASSERT_TRUE(spy->connect(b->unknown()));

    EXPECT_EQ(com::putProperty(b.get(), "CaptionPosition", Variant::fromShort(4)), S_OK);
    EXPECT_TRUE(spy->changed.empty());
    EXPECT_EQ(b->IsDirty(), S_FALSE);

    EXPECT_EQ(com::putProperty(b.get(), "CaptionPosition", Variant::fromShort(7)), S_OK);
    EXPECT_EQ(spy->changed, std::vector<DISPID>{6});
    EXPECT_EQ(b->IsDirty(), S_OK);

    // Booleans compare as 0/1: True given as any non-zero value is the same value.
    com::putProperty(b.get(), "Enabled", Variant::fromBool(true));
    spy->changed.clear();
    com::putProperty(b.get(), "Enabled", Variant::fromShort(1));
    EXPECT_TRUE(spy->changed.empty());

    // Positions are stored without range checks.
    EXPECT_EQ(com::putProperty(b.get(), "PicturePosition", Variant::fromShort(42)), S_OK);
    EXPECT_EQ(b->face.picturePosition, 42);
}

TEST(PropertyProtocol, GetterWithoutResultFailsAndUnknownMembersAreReported)
{
    auto b = makeButton();
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    EXPECT_EQ(b->Invoke(DISPID_CAPTION, GUID_NULL, 0, DISPATCH_PROPERTYGET, &none, nullptr, nullptr, nullptr), E_FAIL);
    Variant v;
    EXPECT_EQ(com::getProperty(b.get(), DISPID(777), v), DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(com::dispidOf(b.get(), "NoSuchThing"), DISPID_UNKNOWN);
    EXPECT_EQ(com::dispidOf(b.get(), "picturePOSITION"), 5);
    // Style browses but is not a member of the dispatch interface.
    EXPECT_EQ(com::dispidOf(b.get(), "Style"), DISPID_UNKNOWN);
    EXPECT_EQ(com::putProperty(b.get(), "Caption", Variant::fromUnknown(nullptr)), DISP_E_TYPEMISMATCH);
}

TEST(PropertyProtocol, CaptionSetsTheMnemonic)
{
    auto b = makeButton();
    com::putProperty(b.get(), "Caption", Variant::fromString("Sta&rt"));
    char m = 0;
    b->GetMnemonic(&m);
    EXPECT_EQ(m, 'r');
    com::putProperty(b.get(), "Caption", Variant::fromString("Start"));
    b->GetMnemonic(&m);
    EXPECT_EQ(m, 0);
}

TEST(PerPropertyBrowsing, SharedEnumerationsWithCookiesEqualToValues)
{
    auto b = makeButton();
    std::vector<DWORD> cookies;
    EXPECT_EQ(predefined(b.get(), 4, &cookies), (std::vector<std::string>{"False", "True"}));
    EXPECT_EQ(cookies, (std::vector<DWORD>{0, 1}));
    auto positions = predefined(b.get(), 5);
    ASSERT_EQ(positions.size(), 9u);
    EXPECT_EQ(positions.front(), "LeftTop");
    EXPECT_EQ(positions.back(), "RightBottom");
    EXPECT_EQ(predefined(b.get(), 9), (std::vector<std::string>{"Normal", "Circle", "Rhomb"}));

    CALPOLESTR s{};
    CADWORD c{};
    EXPECT_EQ(b->GetPredefinedStrings(DISPID_CAPTION, &s, &c), S_FALSE);

    VARIANT v;
    VariantInit(&v);
    ASSERT_EQ(b->GetPredefinedValue(4, 1, &v), S_OK);
    EXPECT_EQ(v.vt, VT_I2);
    ASSERT_EQ(b->GetPredefinedValue(6, 8, &v), S_OK);
    EXPECT_EQ(v.vt, VT_I4);
    EXPECT_EQ(v.lVal, 8);

    BSTR text = nullptr;
    ASSERT_EQ(b->GetDisplayString(4, &text), S_OK);
    EXPECT_EQ(com::utf8(text), "True");
    SysFreeString(text);
    com::putProperty(b.get(), "CaptionPosition", Variant::fromShort(2));
    ASSERT_EQ(b->GetDisplayString(6, &text), S_OK);
    EXPECT_EQ(com::utf8(text), "RightTop");
    SysFreeString(text);
    com::putProperty(b.get(), "CaptionPosition", Variant::fromShort(12));
    EXPECT_EQ(b->GetDisplayString(6, &text), S_FALSE);
}

TEST(ConnectionPoints, EventsReachEverySinkInConnectionOrderAndUnadviseStops)
{
    auto b = makeButton();
    ComPtr<IConnectionPointContainer> cpc;
    ASSERT_EQ(b->QueryInterface(IID_IConnectionPointContainer, cpc.putVoid()), S_OK);
    ComPtr<IConnectionPoint> point;
    ASSERT_EQ(cpc->FindConnectionPoint(DIID__DButton, point.put()), S_OK);
    ComPtr<IConnectionPoint> none;
    EXPECT_EQ(cpc->FindConnectionPoint(IID_IStream, none.put()), CONNECT_E_NOCONNECTION);

    auto first = com::make<test::EventSpy>();
    auto second = com::make<test::EventSpy>();
    ASSERT_TRUE(first->connect(b->unknown()));
    ASSERT_TRUE(second->connect(b->unknown()));

    ComPtr<IEnumConnections> en;
    ASSERT_EQ(point->EnumConnections(en.put()), S_OK);
    CONNECTDATA data[3]{};
    ULONG fetched = 0;
    EXPECT_EQ(en->Next(3, data, &fetched), S_FALSE);
    EXPECT_EQ(fetched, 2u);
    for (ULONG i = 0; i < fetched; ++i)
        data[i].pUnk->Release();

    b->fire(DISPID_CLICK);
    EXPECT_EQ(first->ids(), std::vector<DISPID>{DISPID_CLICK});
    EXPECT_EQ(second->ids(), std::vector<DISPID>{DISPID_CLICK});
    first->disconnect();
    b->fire(DISPID_CLICK);
    EXPECT_EQ(first->events.size(), 1u);
    EXPECT_EQ(second->events.size(), 2u);
    EXPECT_EQ(point->Unadvise(9999), CONNECT_E_NOCONNECTION);
    second->disconnect();
}

TEST(CommandBinding, RegistersReadsAndReRegistersOnCommandChange)
{
    auto server = com::make<vyr::CommandServer>();
    (*server)["Scan.Start"].enabled = true;
    auto b = makeButton();

    // An empty command never registers: attached, the button is disabled but shown.
    com::putProperty(b.get(), "Enabled", Variant::fromBool(true));
    EXPECT_EQ(b->SetCommandServer(server.get()), S_OK);
    EXPECT_EQ(server->registrations(), 0u);
    EXPECT_FALSE(b->enabledFlag());
    EXPECT_TRUE(b->shownFlag());

    com::putProperty(b.get(), "Command", Variant::fromString("Scan.Start"));
    EXPECT_EQ(server->log, (std::vector<std::string>{"RegisterCommand Scan.Start", "GetCommandEnabled Scan.Start",
                                                     "GetCommandVisible Scan.Start"}));
    EXPECT_TRUE(b->enabledFlag());

    server->log.clear();
    com::putProperty(b.get(), "Command", Variant::fromString("Scan.Stop"));
    ASSERT_GE(server->log.size(), 2u);
    EXPECT_EQ(server->log[0], "UnregisterCommand Scan.Start");
    EXPECT_EQ(server->log[1], "RegisterCommand Scan.Stop");
    EXPECT_EQ(server->registrations(), 1u);

    // The server reports a change: the control reads again.
    (*server)["Scan.Stop"].enabled = false;
    (*server)["Scan.Stop"].visible = 0;
    server->notify("Scan.Stop");
    EXPECT_FALSE(b->enabledFlag());
    EXPECT_FALSE(b->shownFlag());

    // A failing unregistration keeps the old registration.
    server->failing.insert("UnregisterCommand");
    EXPECT_EQ(b->SetCommandServer(nullptr), E_FAIL);
    EXPECT_EQ(server->registrations(), 1u);
    server->failing.clear();
    EXPECT_EQ(b->SetCommandServer(nullptr), S_OK);
    EXPECT_EQ(server->registrations(), 0u);
    EXPECT_FALSE(b->enabledFlag());
}

TEST(CommandBinding, ExecutingWithoutServerOrWithFailureBeeps)
{
    auto server = com::make<vyr::CommandServer>();
    auto b = makeButton();
    const int beeps = beepCount();
    EXPECT_EQ(b->executeOwnCommand(), E_FAIL);
    EXPECT_EQ(beepCount(), beeps + 1);

    com::putProperty(b.get(), "Command", Variant::fromString("Bad"));
    b->SetCommandServer(server.get());
    (*server)["Bad"].executeResult = E_ACCESSDENIED;
    EXPECT_EQ(b->executeOwnCommand(), E_ACCESSDENIED);
    EXPECT_EQ(beepCount(), beeps + 2);
    (*server)["Bad"].executeResult = S_OK;
    EXPECT_EQ(b->executeOwnCommand(), S_OK);
    EXPECT_EQ(beepCount(), beeps + 2);
    EXPECT_EQ((*server)["Bad"].executed, 2);
    b->SetCommandServer(nullptr);   // the server holds the button while it is bound
}

TEST(ModuleLock, LiveObjectsHoldTheModule)
{
    const HRESULT before = DllCanUnloadNow();
    {
        auto b = makeButton();
        EXPECT_EQ(DllCanUnloadNow(), S_FALSE);
    }
    EXPECT_EQ(DllCanUnloadNow(), before);
}
