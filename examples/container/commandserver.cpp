#include "commandserver.h"
#include "platform/com/bstr.h"
#include <cstdio>
#include <vector>

VYR_DECLARE_INTERFACE(ICommandClient, IID_ICommandClient, IUnknown)

using vyr::com::ComPtr;

CommandServer::Command* CommandServer::find(LONG cookie)
{
    auto it = registrations_.find(cookie);
    return it == registrations_.end() ? nullptr : &commands_[it->second.command];
}

HRESULT CommandServer::changed(LONG cookie)
{
    const std::string name = registrations_.at(cookie).command;
    // A client may unregister while it is told: call a copy of the list.
    std::vector<ComPtr<ICommandClient>> clients;
    for (const auto& [c, r] : registrations_)
        if (r.command == name)
            clients.push_back(r.client);
    for (const auto& client : clients)
        client->OnCommandStateChanged();
    return S_OK;
}

HRESULT CommandServer::GetTypeInfoCount(UINT* n)
{
    if (!n)
        return E_POINTER;
    *n = 0;
    return S_OK;
}

HRESULT CommandServer::RegisterCommand(BSTR command, ICommandClient* client, LONG* cookie)
{
    if (!cookie || !client || SysStringLen(command) == 0)
        return E_INVALIDARG;
    const std::string name = vyr::com::utf8(command);
    commands_[name];
    *cookie = nextCookie_++;
    registrations_[*cookie] = {name, ComPtr<ICommandClient>(client)};
    return S_OK;
}

HRESULT CommandServer::UnregisterCommand(LONG cookie, ICommandClient*)
{
    return registrations_.erase(cookie) ? S_OK : E_INVALIDARG;
}

HRESULT CommandServer::GetCommandVisible(LONG cookie, LONG* visible)
{
    if (!visible || !find(cookie))
        return E_INVALIDARG;
    *visible = 1;
    return S_OK;
}

HRESULT CommandServer::GetCommandEnabled(LONG cookie, VARIANT_BOOL* enabled)
{
    Command* c = find(cookie);
    if (!enabled || !c)
        return E_INVALIDARG;
    *enabled = c->enabled ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

HRESULT CommandServer::GetCommandState(LONG cookie, LONG* state)
{
    Command* c = find(cookie);
    if (!state || !c)
        return E_INVALIDARG;
    *state = c->state;
    return S_OK;
}

HRESULT CommandServer::GetMinimum(LONG cookie, double* value)
{
    Command* c = find(cookie);
    if (!value || !c)
        return E_INVALIDARG;
    *value = c->minimum;
    return S_OK;
}

HRESULT CommandServer::GetMaximum(LONG cookie, double* value)
{
    Command* c = find(cookie);
    if (!value || !c)
        return E_INVALIDARG;
    *value = c->maximum;
    return S_OK;
}

HRESULT CommandServer::GetEntryCount(LONG cookie, LONG* count)
{
    if (!count || !find(cookie))
        return E_INVALIDARG;
    *count = 0;
    return S_OK;
}

HRESULT CommandServer::GetValue(LONG cookie, double* value)
{
    Command* c = find(cookie);
    if (!value || !c)
        return E_INVALIDARG;
    *value = c->value;
    return S_OK;
}

HRESULT CommandServer::GetIndex(LONG cookie, LONG* index)
{
    if (!index || !find(cookie))
        return E_INVALIDARG;
    *index = -1;
    return S_OK;
}

HRESULT CommandServer::GetText(LONG cookie, BSTR* text)
{
    Command* c = find(cookie);
    if (!text || !c)
        return E_INVALIDARG;
    *text = vyr::com::Bstr(c->text).detach();
    return S_OK;
}

HRESULT CommandServer::GetColor(LONG cookie, OLE_COLOR* color)
{
    if (!color || !find(cookie))
        return E_INVALIDARG;
    *color = 0;
    return S_OK;
}

HRESULT CommandServer::ExecuteCommand(LONG cookie)
{
    Command* c = find(cookie);
    if (!c)
        return E_INVALIDARG;
    ++c->executed;
    std::printf("executed %s\n", registrations_.at(cookie).command.c_str());
    std::fflush(stdout);
    return changed(cookie);
}

HRESULT CommandServer::SetValue(LONG cookie, double value)
{
    Command* c = find(cookie);
    if (!c)
        return E_INVALIDARG;
    c->value = value;
    return changed(cookie);
}

HRESULT CommandServer::SetState(LONG cookie, LONG state)
{
    Command* c = find(cookie);
    if (!c)
        return E_INVALIDARG;
    c->state = state;
    return changed(cookie);
}

HRESULT CommandServer::SetText(LONG cookie, BSTR text)
{
    Command* c = find(cookie);
    if (!c)
        return E_INVALIDARG;
    c->text = vyr::com::utf8(text);
    return changed(cookie);
}

HRESULT CommandServer::GetObject(LONG, IUnknown** object)
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    return E_NOTIMPL;
}
