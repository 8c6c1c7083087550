#include "commandserver.h"
#include <vyr/com/bstr.h>
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
    return read(cookie, visible, [](const Command&) { return LONG(1); });
}

HRESULT CommandServer::GetCommandEnabled(LONG cookie, VARIANT_BOOL* enabled)
{
    return read(cookie, enabled, [](const Command& c) { return c.enabled ? VARIANT_TRUE : VARIANT_FALSE; });
}

HRESULT CommandServer::GetCommandState(LONG cookie, LONG* state)
{
    return read(cookie, state, [](const Command& c) { return c.state; });
}

HRESULT CommandServer::GetMinimum(LONG cookie, double* value)
{
    return read(cookie, value, [](const Command& c) { return c.minimum; });
}

HRESULT CommandServer::GetMaximum(LONG cookie, double* value)
{
    return read(cookie, value, [](const Command& c) { return c.maximum; });
}

HRESULT CommandServer::GetEntryCount(LONG cookie, LONG* count)
{
    return read(cookie, count, [](const Command&) { return LONG(0); });
}

HRESULT CommandServer::GetValue(LONG cookie, double* value)
{
    return read(cookie, value, [](const Command& c) { return c.value; });
}

HRESULT CommandServer::GetIndex(LONG cookie, LONG* index)
{
    return read(cookie, index, [](const Command&) { return LONG(-1); });
}

HRESULT CommandServer::GetText(LONG cookie, BSTR* text)
{
    return read(cookie, text, [](const Command& c) { return vyr::com::Bstr(c.text).detach(); });
}

HRESULT CommandServer::GetColor(LONG cookie, OLE_COLOR* color)
{
    return read(cookie, color, [](const Command&) { return OLE_COLOR(0); });
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
    return change(cookie, [&](Command& c) { c.value = value; });
}

HRESULT CommandServer::SetState(LONG cookie, LONG state)
{
    return change(cookie, [&](Command& c) { c.state = state; });
}

HRESULT CommandServer::SetText(LONG cookie, BSTR text)
{
    return change(cookie, [&](Command& c) { c.text = vyr::com::utf8(text); });
}

HRESULT CommandServer::GetObject(LONG, IUnknown** object)
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    return E_NOTIMPL;
}
