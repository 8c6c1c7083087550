#pragma once
// A command server that answers list reads with what a broken or hostile host might: any
// entry count (negative, huge), null texts for every index, any current index. Everything
// else succeeds with nothing in it. It counts the entry-text reads so tests can bound the work.
#include "controls/core/vyrcontrols.h"
#include "platform/com/object.h"

#include "controls/qtwidget/commandserver.h" // declares ICommandServer for com::Object

namespace vyr::test {

class HostileServer final : public com::Object<ICommandServer> {
public:
    LONG count = 0;
    LONG index = 0;
    long textReads = 0;

    STDMETHOD(GetTypeInfoCount)(UINT* n) override { *n = 0; return S_OK; }
    STDMETHOD(GetTypeInfo)(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHOD(GetIDsOfNames)(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHOD(Invoke)(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override { return E_NOTIMPL; }
    STDMETHOD(HostSlot7)() override { return E_NOTIMPL; }
    STDMETHOD(HostSlot8)() override { return E_NOTIMPL; }
    STDMETHOD(RegisterCommand)(BSTR, ICommandClient*, LONG* cookie) override { *cookie = ++cookies_; return S_OK; }
    STDMETHOD(UnregisterCommand)(LONG, ICommandClient*) override { return S_OK; }
    STDMETHOD(GetCommandVisible)(LONG, LONG* v) override { *v = 1; return S_OK; }
    STDMETHOD(GetCommandEnabled)(LONG, VARIANT_BOOL* v) override { *v = VARIANT_TRUE; return S_OK; }
    STDMETHOD(GetCommandState)(LONG, LONG* v) override { *v = 0; return S_OK; }
    STDMETHOD(GetMinimum)(LONG, double* v) override { *v = 0; return S_OK; }
    STDMETHOD(GetMaximum)(LONG, double* v) override { *v = 0; return S_OK; }
    STDMETHOD(GetEntryCount)(LONG, LONG* v) override { *v = count; return S_OK; }
    STDMETHOD(GetEntryText)(LONG, LONG, BSTR* v) override { ++textReads; *v = nullptr; return S_OK; }
    STDMETHOD(GetEntryLong)(LONG, LONG, LONG* v) override { *v = 0; return S_OK; }
    STDMETHOD(GetValue)(LONG, double* v) override { *v = 0; return S_OK; }
    STDMETHOD(GetIndex)(LONG, LONG* v) override { *v = index; return S_OK; }
    STDMETHOD(GetText)(LONG, BSTR* v) override { *v = nullptr; return S_OK; }
    STDMETHOD(GetColor)(LONG, OLE_COLOR* v) override { *v = 0; return S_OK; }
    STDMETHOD(GetEntryState)(LONG, LONG, LONG* v) override { *v = -1; return S_OK; }
    STDMETHOD(GetEntryValue)(LONG, LONG, double* v) override { *v = 0; return S_OK; }
    STDMETHOD(ExecuteCommand)(LONG) override { return S_OK; }
    STDMETHOD(ActivateEntry)(LONG, LONG) override { return S_OK; }
    STDMETHOD(SelectEntry)(LONG, LONG) override { return S_OK; }
    STDMETHOD(SetValue)(LONG, double) override { return S_OK; }
    STDMETHOD(SetState)(LONG, LONG) override { return S_OK; }
    STDMETHOD(SetText)(LONG, BSTR) override { return S_OK; }
    STDMETHOD(HostSlot31)() override { return E_NOTIMPL; }
    STDMETHOD(HostSlot32)() override { return E_NOTIMPL; }
    STDMETHOD(HostSlot33)() override { return E_NOTIMPL; }
    STDMETHOD(GetObject)(LONG, IUnknown** v) override { *v = nullptr; return S_OK; }

private:
    LONG cookies_ = 0;
};

} // namespace vyr::test
