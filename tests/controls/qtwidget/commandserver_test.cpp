// vyr::CommandServer as a Qt program uses it: commands declared in code or by a JSON
// description, values set by the program reaching bound controls once per change, and every
// change a control sends arriving as the server's typed signal.
#include "controls/qtwidget/commandserver.h"
#include "controls/core/control.h"
#include "controls/qtwidget/controlwidget.h"
#include "controls/values/slider.h"
#include "platform/com/bstr.h"
#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace vyr;

namespace {

// A client that counts the server's calls back.
class CountingClient final : public com::Object<ICommandClient> {
public:
    int changes = 0;
    STDMETHOD(SetCommandServer)(ICommandServer*) override { return S_OK; }
    STDMETHOD(OnCommandStateChanged)() override
    {
        ++changes;
        return S_OK;
    }
    STDMETHOD(OnCommandStateChangedEx)() override { return OnCommandStateChanged(); }
};

LONG registerFor(CommandServer& s, const char* name, ICommandClient* client)
{
    LONG cookie = 0;
    com::Bstr text(name);
    EXPECT_EQ(s.RegisterCommand(text.get(), client, &cookie), S_OK) << name;
    return cookie;
}

} // namespace

TEST(CommandServer, ProgramChangesReachBoundClientsOncePerChange)
{
    auto server = CommandServer::create();
    server->addNumber("Gain", 0, 10, 1, "V");
    auto client = com::make<CountingClient>();
    const LONG cookie = registerFor(*server, "Gain", client.get());

    struct Step {
        const char* what;
        std::function<bool()> change;
        int told;
    };
    const Step steps[] = {
        {"new value", [&] { return server->setValue("Gain", 2.5); }, 1},
        {"same value", [&] { return server->setValue("Gain", 2.5); }, 0},
        {"disabled", [&] { return server->setEnabled("Gain", false); }, 1},
        {"still disabled", [&] { return server->setEnabled("Gain", false); }, 0},
        {"hidden", [&] { return server->setVisible("Gain", false); }, 1},
        {"new range", [&] { return server->setRange("Gain", -5, 5); }, 1},
        {"same range", [&] { return server->setRange("Gain", -5, 5); }, 0},
    };
    for (const Step& s : steps) {
        const int before = client->changes;
        EXPECT_TRUE(s.change()) << s.what;
        EXPECT_EQ(client->changes - before, s.told) << s.what;
    }
    EXPECT_FALSE(server->setRange("Gain", 5, -5)) << "a reversed range is refused";
    EXPECT_FALSE(server->setValue("Nothing", 1)) << "an unknown command is refused";

    double v = 0;
    ASSERT_EQ(server->GetValue(cookie, &v), S_OK);
    EXPECT_EQ(v, 2.5);
    VARIANT_BOOL enabled = VARIANT_TRUE;
    ASSERT_EQ(server->GetCommandEnabled(cookie, &enabled), S_OK);
    EXPECT_EQ(enabled, VARIANT_FALSE);
    BSTR unit = nullptr;
    ASSERT_EQ(server->GetText(cookie, &unit), S_OK);
    EXPECT_EQ(com::utf8(unit), "V");
    SysFreeString(unit);
}

TEST(CommandServer, ControlChangesArriveAsTypedSignals)
{
    auto server = CommandServer::create();
    server->addNumber("Gain", 0, 10, 1);
    server->addList("Filter", {"LP 500", "BP 525"});
    server->addText("Name");
    server->addState("Shutter");
    server->addAction("Start");
    auto a = com::make<CountingClient>();
    auto b = com::make<CountingClient>();
    const LONG gain = registerFor(*server, "Gain", a.get());
    registerFor(*server, "Gain", b.get());
    const LONG filter = registerFor(*server, "Filter", a.get());
    const LONG name = registerFor(*server, "Name", a.get());
    const LONG shutter = registerFor(*server, "Shutter", a.get());
    const LONG start = registerFor(*server, "Start", a.get());

    QSignalSpy values(server.get(), &CommandServer::valueChanged);
    QSignalSpy selected(server.get(), &CommandServer::entrySelected);
    QSignalSpy activated(server.get(), &CommandServer::entryActivated);
    QSignalSpy texts(server.get(), &CommandServer::textChanged);
    QSignalSpy states(server.get(), &CommandServer::stateChanged);
    QSignalSpy executed(server.get(), &CommandServer::commandExecuted);

    EXPECT_EQ(server->SetValue(gain, 7.5), S_OK);
    ASSERT_EQ(values.count(), 1);
    EXPECT_EQ(values[0][0].toString(), "Gain");
    EXPECT_EQ(values[0][1].toDouble(), 7.5);
    EXPECT_EQ(server->value("Gain"), 7.5);
    EXPECT_EQ(b->changes, 1) << "the other control of the command is told";

    EXPECT_EQ(server->SelectEntry(filter, 1), S_OK);
    EXPECT_EQ(server->ActivateEntry(filter, 1), S_OK);
    com::Bstr text("Probe 4");
    EXPECT_EQ(server->SetText(name, text.get()), S_OK);
    EXPECT_EQ(server->SetState(shutter, 1), S_OK);
    EXPECT_EQ(server->ExecuteCommand(start), S_OK);
    ASSERT_EQ(selected.count(), 1);
    EXPECT_EQ(selected[0][1].toInt(), 1);
    EXPECT_EQ(server->index("Filter"), 1);
    ASSERT_EQ(activated.count(), 1);
    ASSERT_EQ(texts.count(), 1);
    EXPECT_EQ(texts[0][1].toString(), "Probe 4");
    ASSERT_EQ(states.count(), 1);
    EXPECT_EQ(states[0][1].toInt(), 1);
    ASSERT_EQ(executed.count(), 1);
    EXPECT_EQ(executed[0][0].toString(), "Start");

    // A failed execution beeps in the control and is no execution for the program.
    (*server)["Start"].executeResult = E_FAIL;
    EXPECT_EQ(server->ExecuteCommand(start), E_FAIL);
    EXPECT_EQ(executed.count(), 1);
    // A cookie the server never gave answers every operation with failure.
    double v = 0;
    EXPECT_EQ(server->GetValue(999, &v), E_FAIL);
    EXPECT_EQ(server->SetValue(999, 1), E_FAIL);
    EXPECT_EQ(values.count(), 1);
}

TEST(CommandServer, DescriptionsAddCommandsOrChangeNothing)
{
    auto server = CommandServer::create();
    QString error;
    ASSERT_TRUE(server->loadDescription(R"({"commands": [
        {"name": "Gain", "kind": "number", "minimum": 1, "maximum": 8, "value": 2, "unit": "dB"},
        {"name": "Filter", "kind": "list", "entries": ["LP 500", {"text": "BP 525", "state": 1}], "index": 1},
        {"name": "Laser", "kind": "color", "color": "#ff0000", "visible": false},
        {"name": "Start", "enabled": false}]})",
                                        &error))
        << error.toStdString();
    EXPECT_EQ(server->commandNames(), (QStringList{"Filter", "Gain", "Laser", "Start"}));
    EXPECT_EQ((*server)["Gain"].maximum, 8);
    EXPECT_EQ((*server)["Gain"].unit, "dB");
    EXPECT_EQ((*server)["Filter"].entries.at(1).state, 1);
    EXPECT_EQ((*server)["Filter"].index, 1);
    EXPECT_EQ((*server)["Laser"].color, 0x0000FFu);
    EXPECT_EQ((*server)["Laser"].visible, 0);
    EXPECT_EQ((*server)["Start"].kind, CommandServer::Kind::Action);
    EXPECT_FALSE(server->isEnabled("Start"));

    const char* bad[] = {
        "{",                                                                   // not JSON
        R"({"command": []})",                                                  // no commands array
        R"({"commands": [{"kind": "number"}]})",                               // no name
        R"({"commands": [{"name": "X"}, {"name": "Y", "kind": "slider"}]})",   // unknown kind
        R"({"commands": [{"name": "X", "kind": "color", "color": "nocolour"}]})",
        R"({"commands": [{"name": "X", "kind": "number", "minimum": 3, "maximum": 1}]})",
    };
    for (const char* text : bad) {
        QString why;
        EXPECT_FALSE(server->loadDescription(text, &why)) << text;
        EXPECT_FALSE(why.isEmpty()) << text;
        EXPECT_FALSE(server->contains("X")) << "a refused description adds nothing: " << text;
    }
    EXPECT_FALSE(server->loadDescriptionFile("/nonexistent/commands.json", &error));
}

// The label a command is known by, asked for the way a control asks: through QueryInterface
// for ICommandLabel with the cookie it registered under.
TEST(CommandServer, LabelsAreAnsweredByCookie)
{
    auto server = CommandServer::create();
    ASSERT_TRUE(server->loadDescription(R"({"commands": [
        {"name": "Gain", "kind": "number", "label": "Detector gain"}, {"name": "Start"}]})"));
    auto client = com::make<CountingClient>();
    const LONG gain = registerFor(*server, "Gain", client.get());
    const LONG start = registerFor(*server, "Start", client.get());
    com::ComPtr<ICommandServer> asServer(server.get());
    const auto labels = asServer.as<ICommandLabel>(IID_ICommandLabel);
    ASSERT_TRUE(labels);

    com::Bstr label;
    EXPECT_EQ(labels->GetCommandLabel(gain, label.put()), S_OK);
    EXPECT_EQ(label.str(), "Detector gain");
    EXPECT_EQ(labels->GetCommandLabel(start, label.put()), S_FALSE) << "no label";
    EXPECT_EQ(label.str(), "");
    EXPECT_EQ(labels->GetCommandLabel(start + gain + 100, label.put()), E_FAIL) << "no such cookie";
    EXPECT_EQ(labels->GetCommandLabel(gain, nullptr), E_POINTER);

    const int before = client->changes;
    EXPECT_TRUE(server->setLabel("Start", "Start the scan"));
    EXPECT_EQ(client->changes, before + 1) << "the command's client is told once";
    EXPECT_TRUE(server->setLabel("Start", "Start the scan"));
    EXPECT_EQ(client->changes, before + 1) << "the same label tells nobody";
    EXPECT_FALSE(server->setLabel("Stop", "Stop")) << "unknown command";
    EXPECT_EQ(labels->GetCommandLabel(start, label.put()), S_OK);
    EXPECT_EQ(label.str(), "Start the scan");
}

TEST(CommandServer, DeclaredOnlyServersRefuseUnknownCommands)
{
    auto server = CommandServer::create();
    server->addAction("Start");
    server->declaredOnly = true;
    auto client = com::make<CountingClient>();
    LONG cookie = -1;
    com::Bstr unknown("Stop");
    EXPECT_EQ(server->RegisterCommand(unknown.get(), client.get(), &cookie), DISP_E_UNKNOWNNAME);
    EXPECT_EQ(cookie, 0);
    EXPECT_FALSE(server->contains("Stop"));
    EXPECT_NE(registerFor(*server, "Start", client.get()), 0);
}

TEST(CommandServer, ASliderFollowsTheProgramAndReportsTheUser)
{
    auto server = CommandServer::create();
    server->addNumber("Gain", 0, 10, 3);
    ControlWidget slider("VyrControls.Slider");
    ASSERT_TRUE(slider.hasControl());
    ASSERT_TRUE(slider.setProperty("Command", QStringLiteral("Gain")));
    ASSERT_EQ(slider.setCommandServer(server.get()), S_OK);
    auto& control = *dynamic_cast<controls::Slider*>(vyr::controls::ControlBase::from(slider.dispatch()));
    EXPECT_EQ(control.logic.value(), 3);
    ASSERT_TRUE(server->setValue("Gain", 6));
    EXPECT_EQ(control.logic.value(), 6) << "a value set through the server moves the slider";
}
