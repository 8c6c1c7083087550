#pragma once
// vyr::CommandServer: the command server of a Qt program. It implements ICommandServer over
// values the application owns: named commands, each an action, a state, a number with its
// range and unit, a list of entries, a text, a colour or an object, with enabled and visible
// flags, and a label the user knows the command by. The application sets values and flags through the setters (every control bound to the
// command is told once per change) and hears every change a control sends as a typed signal.
//
//     auto server = vyr::CommandServer::create();
//     server->addNumber("Gain", 0, 10, 1, "V");
//     QObject::connect(server.get(), &vyr::CommandServer::valueChanged,
//                      [](const QString& command, double value) { ... });
//     slider->setCommandServer(server.get());
//
// The server is a COM object counted by references (the controls hold it), not owned by a
// QObject parent. Its plain members (commands, log, failing) let a test script it directly.
#include "controls/core/vyrcontrols.h"
#include "platform/com/object.h"
#include <QColor>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

VYR_DECLARE_INTERFACE(ICommandServer, IID_ICommandServer, IDispatch)
VYR_DECLARE_INTERFACE(ICommandLabel, IID_ICommandLabel, IUnknown)

namespace vyr {

class CommandServer final : public QObject, public com::Object<ICommandServer, ICommandLabel> {
    Q_OBJECT
public:
    // What a command holds; the controls bound to it read the fields their kind uses.
    enum class Kind { Action, State, Number, List, Text, Color, Object };
    Q_ENUM(Kind)

    struct Entry {
        std::string text;
        LONG number = 0;   // GetEntryLong (a colour for slices)
        LONG state = 0;    // GetEntryState
        double value = 0;  // GetEntryValue
    };

    struct Command {
        Kind kind = Kind::Action;
        bool enabled = true;
        LONG visible = 1;
        LONG state = 0;
        double minimum = 0, maximum = 100, value = 0;
        std::string unit;   // a number's unit; GetText answers it when no text is set
        LONG index = 0;
        std::string text;
        std::string label; // what screen readers call a control bound to it that has no caption
        OLE_COLOR color = 0;
        std::vector<Entry> entries;
        com::ComPtr<IUnknown> object;
        HRESULT executeResult = S_OK;
        int executed = 0;
    };

    CommandServer();
    ~CommandServer() override;
    // A server for an application: bound controls are told after every change a control
    // sends, so that two controls of one command stay in step.
    static com::ComPtr<CommandServer> create();

    // Adds (or redefines) a command; its clients read it again.
    Command& addCommand(const QString& name, Kind kind);
    void addAction(const QString& name);
    void addState(const QString& name, int state = 0);
    void addNumber(const QString& name, double minimum, double maximum, double value, const QString& unit = {});
    void addList(const QString& name, const QStringList& entries, int index = 0);
    void addText(const QString& name, const QString& text = {});
    void addColor(const QString& name, const QColor& color);
    void addObject(const QString& name, IUnknown* object);
    bool contains(const QString& name) const;
    QStringList commandNames() const;

    // Adds the commands of a JSON description (see loadDescriptionFile); false and `error`
    // set when it is not one, in which case nothing is added.
    bool loadDescription(const QByteArray& json, QString* error = nullptr);
    // The same from a file or a Qt resource (":/commands.json"):
    //   {"commands": [{"name": "Gain", "kind": "number", "minimum": 0, "maximum": 10,
    //                  "value": 1, "unit": "V"},
    //                 {"name": "Filter", "kind": "list", "entries": ["LP 500", "BP 525"]},
    //                 {"name": "Start", "kind": "action", "enabled": false}]}
    // Kinds: action, state, number, list, text, color ("#rrggbb"), object; every command may
    // carry "enabled", "visible" and "label" ("Detector gain").
    bool loadDescriptionFile(const QString& path, QString* error = nullptr);

    // The application's side: each setter that changes something tells the bound controls
    // once; an unknown command is refused (false).
    bool setEnabled(const QString& name, bool enabled);
    bool setVisible(const QString& name, bool visible);
    bool setState(const QString& name, int state);
    bool setValue(const QString& name, double value);
    bool setRange(const QString& name, double minimum, double maximum);
    bool setIndex(const QString& name, int index);
    bool setEntries(const QString& name, const QStringList& texts);
    bool setEntryState(const QString& name, int index, int state);
    bool setText(const QString& name, const QString& text);
    bool setColor(const QString& name, const QColor& color);
    bool setObject(const QString& name, IUnknown* object);
    bool setLabel(const QString& name, const QString& label);
    // Reads; an unknown command gives the default.
    double value(const QString& name) const;
    int state(const QString& name) const;
    int index(const QString& name) const;
    QString text(const QString& name) const;
    bool isEnabled(const QString& name) const;

    // When true (as create() sets it), the clients of a command are told after every change a
    // control sends through SetValue, SetState, SetText, SelectEntry and ExecuteCommand.
    bool autoNotify = false;
    // When true, RegisterCommand refuses a name that was not added (the control stays
    // disabled); otherwise a registered name becomes a command with default values.
    bool declaredOnly = false;
    // The commands by name, for direct scripting.
    std::map<std::string, Command> commands;
    // Operation names ("GetValue", "RegisterCommand", ...) that fail with E_FAIL.
    std::set<std::string> failing;
    // Every call, e.g. "RegisterCommand Cmd", "SetValue Cmd 3.5", "GetCommandEnabled Cmd".
    std::vector<std::string> log;
    // Called for ExecuteCommand before its result is returned (e.g. to toggle a state).
    std::function<void(const std::string& name, Command& command)> onExecute;

    Command& operator[](const std::string& name) { return commands[name]; }
    // Calls OnCommandStateChanged on every client registered for `name`.
    void notify(const std::string& name);
    // The command registered under a cookie ("" when none).
    std::string commandOf(LONG cookie) const;
    size_t registrations() const { return clients_.size(); }
    // Log lines starting with `prefix`.
    std::vector<std::string> calls(const std::string& prefix) const;

    STDMETHOD(GetTypeInfoCount)(UINT* n) override;
    STDMETHOD(GetTypeInfo)(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHOD(GetIDsOfNames)(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHOD(Invoke)(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override { return E_NOTIMPL; }
    STDMETHOD(HostSlot7)() override { return E_NOTIMPL; }
    STDMETHOD(HostSlot8)() override { return E_NOTIMPL; }
    STDMETHOD(RegisterCommand)(BSTR command, ICommandClient* client, LONG* cookie) override;
    STDMETHOD(UnregisterCommand)(LONG cookie, ICommandClient* client) override;
    STDMETHOD(GetCommandVisible)(LONG cookie, LONG* visible) override;
    STDMETHOD(GetCommandEnabled)(LONG cookie, VARIANT_BOOL* enabled) override;
    STDMETHOD(GetCommandState)(LONG cookie, LONG* state) override;
    STDMETHOD(GetMinimum)(LONG cookie, double* value) override;
    STDMETHOD(GetMaximum)(LONG cookie, double* value) override;
    STDMETHOD(GetEntryCount)(LONG cookie, LONG* count) override;
    STDMETHOD(GetEntryText)(LONG cookie, LONG index, BSTR* text) override;
    STDMETHOD(GetEntryLong)(LONG cookie, LONG index, LONG* value) override;
    STDMETHOD(GetValue)(LONG cookie, double* value) override;
    STDMETHOD(GetIndex)(LONG cookie, LONG* index) override;
    STDMETHOD(GetText)(LONG cookie, BSTR* text) override;
    STDMETHOD(GetColor)(LONG cookie, OLE_COLOR* color) override;
    STDMETHOD(GetEntryState)(LONG cookie, LONG index, LONG* state) override;
    STDMETHOD(GetEntryValue)(LONG cookie, LONG index, double* value) override;
    STDMETHOD(ExecuteCommand)(LONG cookie) override;
    STDMETHOD(ActivateEntry)(LONG cookie, LONG index) override;
    STDMETHOD(SelectEntry)(LONG cookie, LONG index) override;
    STDMETHOD(SetValue)(LONG cookie, double value) override;
    STDMETHOD(SetState)(LONG cookie, LONG state) override;
    STDMETHOD(SetText)(LONG cookie, BSTR text) override;
    STDMETHOD(HostSlot31)() override { return E_NOTIMPL; }
    STDMETHOD(HostSlot32)() override { return E_NOTIMPL; }
    STDMETHOD(HostSlot33)() override { return E_NOTIMPL; }
    STDMETHOD(GetObject)(LONG cookie, IUnknown** object) override;
    // Not logged: assistive technology asks for it whenever it reads a control.
    STDMETHOD(GetCommandLabel)(LONG cookie, BSTR* label) override;

signals:
    // A change a control sent, after the server stored it.
    void valueChanged(const QString& command, double value);
    void stateChanged(const QString& command, int state);
    void textChanged(const QString& command, const QString& text);
    void entrySelected(const QString& command, int index);
    void entryActivated(const QString& command, int index);
    void commandExecuted(const QString& command);

private:
    // The command of a cookie for an operation, logging the call; null when it must fail.
    Command* begin(const char* op, LONG cookie, const std::string& detail = {});
    const Entry* entry(Command* c, LONG index);
    HRESULT changedBy(LONG cookie);
    Command* find(const QString& name);
    const Command* find(const QString& name) const;
    // Tells the clients of `name` when `changed`; the setters' common end.
    bool changed(const QString& name, bool changed);

    struct Client {
        std::string command;
        com::ComPtr<ICommandClient> client;
    };
    std::map<LONG, Client> clients_;
    LONG nextCookie_ = 1;
};

} // namespace vyr
