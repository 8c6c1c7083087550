#pragma once
// A host's command server reduced to what the side-by-side benchmarks need: every command
// enabled and visible with state 0, list commands answered from prepared texts, and the list
// of registered clients so a benchmark can notify them all.
#include "controls/core/vyrcontrols.h"
#include "platform/com/bstr.h"
#include "platform/com/comptr.h"
#include "platform/com/object.h"
#include "controls/qtwidget/commandserver.h" // the interface traits of ICommandServer
#include <string>
#include <vector>

namespace vyr::bench {

class FixedServer final : public com::Object<ICommandServer> {
public:
    std::vector<com::ComPtr<ICommandClient>> clients;
    // Entry texts of the list commands "C0", "C1", ...; every other command has no entries.
    std::vector<std::vector<std::u16string>> columns;

    void notifyAll()
    {
        for (auto& c : clients)
            c->OnCommandStateChanged();
    }

    STDMETHOD(GetTypeInfoCount)(UINT* n) override { *n = 0; return S_OK; }
    STDMETHOD(GetTypeInfo)(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHOD(GetIDsOfNames)(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHOD(Invoke)(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override { return E_NOTIMPL; }
    STDMETHOD(HostSlot7)() override { return E_NOTIMPL; }
    STDMETHOD(HostSlot8)() override { return E_NOTIMPL; }
    // Cookie 1 for plain commands, 2 + n for the list command "Cn".
    STDMETHOD(RegisterCommand)(BSTR name, ICommandClient* client, LONG* cookie) override
    {
        clients.emplace_back(client);
        *cookie = 1;
        if (name && name[0] == u'C' && name[1]) {
            LONG n = 0;
            for (const char16_t* c = name + 1; *c; ++c) {
                if (*c < u'0' || *c > u'9')
                    return S_OK;
                n = n * 10 + (*c - u'0');
            }
            *cookie = 2 + n;
        }
        return S_OK;
    }
    STDMETHOD(UnregisterCommand)(LONG, ICommandClient* client) override
    {
        std::erase_if(clients, [&](auto& c) { return c.get() == client; });
        return S_OK;
    }
    STDMETHOD(GetCommandVisible)(LONG, LONG* visible) override { *visible = 1; return S_OK; }
    STDMETHOD(GetCommandEnabled)(LONG, VARIANT_BOOL* enabled) override { *enabled = VARIANT_TRUE; return S_OK; }
    STDMETHOD(GetCommandState)(LONG, LONG* state) override { *state = 0; return S_OK; }
    STDMETHOD(GetMinimum)(LONG, double*) override { return E_NOTIMPL; }
    STDMETHOD(GetMaximum)(LONG, double*) override { return E_NOTIMPL; }
    STDMETHOD(GetEntryCount)(LONG cookie, LONG* count) override
    {
        const auto* c = column(cookie);
        *count = c ? LONG(c->size()) : 0;
        return S_OK;
    }
    STDMETHOD(GetEntryText)(LONG cookie, LONG index, BSTR* text) override
    {
        const auto* c = column(cookie);
        if (!c || index < 0 || size_t(index) >= c->size())
            return E_INVALIDARG;
        const std::u16string& t = (*c)[size_t(index)];
        *text = SysAllocStringLen(t.data(), UINT(t.size()));
        return S_OK;
    }
    STDMETHOD(GetEntryLong)(LONG, LONG, LONG*) override { return E_NOTIMPL; }
    STDMETHOD(GetValue)(LONG, double*) override { return E_NOTIMPL; }
    STDMETHOD(GetIndex)(LONG, LONG*) override { return E_NOTIMPL; }
    STDMETHOD(GetText)(LONG, BSTR*) override { return E_NOTIMPL; }
    STDMETHOD(GetColor)(LONG, OLE_COLOR*) override { return E_NOTIMPL; }
    STDMETHOD(GetEntryState)(LONG, LONG, LONG*) override { return E_NOTIMPL; }
    STDMETHOD(GetEntryValue)(LONG, LONG, double*) override { return E_NOTIMPL; }
    STDMETHOD(ExecuteCommand)(LONG) override { return E_NOTIMPL; }
    STDMETHOD(ActivateEntry)(LONG, LONG) override { return E_NOTIMPL; }
    STDMETHOD(SelectEntry)(LONG, LONG) override { return E_NOTIMPL; }
    STDMETHOD(SetValue)(LONG, double) override { return E_NOTIMPL; }
    STDMETHOD(SetState)(LONG, LONG) override { return E_NOTIMPL; }
    STDMETHOD(SetText)(LONG, BSTR) override { return E_NOTIMPL; }
    STDMETHOD(HostSlot31)() override { return E_NOTIMPL; }
    STDMETHOD(HostSlot32)() override { return E_NOTIMPL; }
    STDMETHOD(HostSlot33)() override { return E_NOTIMPL; }
    STDMETHOD(GetObject)(LONG, IUnknown**) override { return E_NOTIMPL; }

private:
    const std::vector<std::u16string>* column(LONG cookie) const
    {
        return cookie >= 2 && size_t(cookie - 2) < columns.size() ? &columns[size_t(cookie - 2)] : nullptr;
    }
};


} // namespace vyr::bench
