#pragma once
// The host's side of command binding, as small as a host can make it: named commands with an
// enabled flag, a state, a value and a text. Controls register their command strings here,
// read the state, write the user's changes and ask for their command to be executed; every
// change is reported back to the command's clients, the way a host confirms it.
#include <vyr/vyrcontrols.h>
#include <vyr/com/comptr.h>
#include <vyr/com/object.h>
#include <map>
#include <string>

VYR_DECLARE_INTERFACE(ICommandServer, IID_ICommandServer, IDispatch)

class CommandServer final : public vyr::com::Object<ICommandServer> {
public:
    struct Command {
        bool enabled = true;
        LONG state = 0;
        double minimum = 0, maximum = 100, value = 0;
        std::string text;
        int executed = 0;
    };

    // Every command a control registered, by name.
    const std::map<std::string, Command>& commands() const { return commands_; }

    // IDispatch: the command server is driven through its vtable only.
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
    // No command of this host has list entries.
    STDMETHOD(GetEntryCount)(LONG cookie, LONG* count) override;
    STDMETHOD(GetEntryText)(LONG, LONG, BSTR*) override { return E_INVALIDARG; }
    STDMETHOD(GetEntryLong)(LONG, LONG, LONG*) override { return E_INVALIDARG; }
    STDMETHOD(GetValue)(LONG cookie, double* value) override;
    STDMETHOD(GetIndex)(LONG cookie, LONG* index) override;
    STDMETHOD(GetText)(LONG cookie, BSTR* text) override;
    STDMETHOD(GetColor)(LONG cookie, OLE_COLOR* color) override;
    STDMETHOD(GetEntryState)(LONG, LONG, LONG*) override { return E_INVALIDARG; }
    STDMETHOD(GetEntryValue)(LONG, LONG, double*) override { return E_INVALIDARG; }
    STDMETHOD(ExecuteCommand)(LONG cookie) override;
    STDMETHOD(ActivateEntry)(LONG, LONG) override { return E_INVALIDARG; }
    STDMETHOD(SelectEntry)(LONG, LONG) override { return E_INVALIDARG; }
    STDMETHOD(SetValue)(LONG cookie, double value) override;
    STDMETHOD(SetState)(LONG cookie, LONG state) override;
    STDMETHOD(SetText)(LONG cookie, BSTR text) override;
    STDMETHOD(HostSlot31)() override { return E_NOTIMPL; }
    STDMETHOD(HostSlot32)() override { return E_NOTIMPL; }
    STDMETHOD(HostSlot33)() override { return E_NOTIMPL; }
    STDMETHOD(GetObject)(LONG, IUnknown** object) override;

private:
    struct Registration {
        std::string command;
        vyr::com::ComPtr<ICommandClient> client;
    };
    // The command a cookie stands for; null for an unknown cookie.
    Command* find(LONG cookie);
    // Tells every client of the cookie's command to read its state again.
    HRESULT changed(LONG cookie);

    // A getter: `get` of the cookie's command into `out`.
    template <class T, class Get>
    HRESULT read(LONG cookie, T* out, Get get)
    {
        Command* c = find(cookie);
        if (!out || !c)
            return E_INVALIDARG;
        *out = get(*c);
        return S_OK;
    }
    // A setter: `apply` to the cookie's command, then tell its clients.
    template <class Apply>
    HRESULT change(LONG cookie, Apply apply)
    {
        Command* c = find(cookie);
        if (!c)
            return E_INVALIDARG;
        apply(*c);
        return changed(cookie);
    }

    std::map<std::string, Command> commands_;
    std::map<LONG, Registration> registrations_;
    LONG nextCookie_ = 1;
};
