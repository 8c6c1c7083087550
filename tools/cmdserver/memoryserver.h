#pragma once
// An in-memory command server, as a host application provides one: named commands with
// their state, values and list entries. The demo container runs on it and the control tests
// script it: every call is logged in order, failures can be injected per operation, and
// clients are notified on demand or, with `autoNotify`, after every change a client makes.
#include "controls/core/vyrcontrols.h"
#include "platform/com/object.h"
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

VYR_DECLARE_INTERFACE(ICommandServer, IID_ICommandServer, IDispatch)

namespace vyr::cmdserver {

struct Entry {
    std::string text;
    LONG number = 0;   // GetEntryLong
    LONG state = 0;    // GetEntryState
    double value = 0;  // GetEntryValue
};

struct Command {
    bool enabled = true;
    LONG visible = 1;
    LONG state = 0;
    double minimum = 0, maximum = 100, value = 0;
    LONG index = 0;
    std::string text;
    OLE_COLOR color = 0;
    std::vector<Entry> entries;
    com::ComPtr<IUnknown> object;
    HRESULT executeResult = S_OK;
    int executed = 0;
};

class MemoryCommandServer final : public com::Object<ICommandServer> {
public:
    std::map<std::string, Command> commands;
    // Operation names ("GetValue", "RegisterCommand", ...) that fail with E_FAIL.
    std::set<std::string> failing;
    // Every call, e.g. "RegisterCommand Cmd", "SetValue Cmd 3.5", "GetCommandEnabled Cmd".
    std::vector<std::string> log;
    // Notify the command's clients after SetValue, SetState, SetText, SelectEntry and
    // ExecuteCommand, the way a host reports the change back.
    bool autoNotify = false;
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

private:
    // The command of a cookie for an operation, logging the call; null when it must fail.
    Command* begin(const char* op, LONG cookie, const std::string& detail = {});
    const Entry* entry(Command* c, LONG index);
    HRESULT changedBy(LONG cookie);

    struct Client {
        std::string command;
        com::ComPtr<ICommandClient> client;
    };
    std::map<LONG, Client> clients_;
    LONG nextCookie_ = 1;
};

} // namespace vyr::cmdserver
