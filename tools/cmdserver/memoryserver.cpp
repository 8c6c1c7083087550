#include "tools/cmdserver/memoryserver.h"
#include "platform/com/bstr.h"
#include <cstdio>

VYR_DECLARE_INTERFACE(ICommandClient, IID_ICommandClient, IUnknown)

namespace vyr::cmdserver {

namespace {
std::string number(double v)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.10g", v);
    return buf;
}
} // namespace

void MemoryCommandServer::notify(const std::string& name)
{
    std::vector<com::ComPtr<ICommandClient>> targets;
    for (auto& [cookie, c] : clients_)
        if (c.command == name)
            targets.push_back(c.client);
    for (auto& t : targets)
        t->OnCommandStateChanged();
}

std::string MemoryCommandServer::commandOf(LONG cookie) const
{
    auto it = clients_.find(cookie);
    return it == clients_.end() ? std::string() : it->second.command;
}

std::vector<std::string> MemoryCommandServer::calls(const std::string& prefix) const
{
    std::vector<std::string> r;
    for (const auto& l : log)
        if (l.compare(0, prefix.size(), prefix) == 0)
            r.push_back(l);
    return r;
}

HRESULT MemoryCommandServer::changedBy(LONG cookie)
{
    if (autoNotify)
        notify(commandOf(cookie));
    return S_OK;
}

HRESULT MemoryCommandServer::GetTypeInfoCount(UINT* n)
{
    if (n)
        *n = 0;
    return S_OK;
}

Command* MemoryCommandServer::begin(const char* op, LONG cookie, const std::string& detail)
{
    const std::string name = commandOf(cookie);
    log.push_back(std::string(op) + " " + name + (detail.empty() ? "" : " " + detail));
    if (failing.count(op) || name.empty())
        return nullptr;
    return &commands[name];
}

const Entry* MemoryCommandServer::entry(Command* c, LONG index)
{
    if (!c || index < 0 || size_t(index) >= c->entries.size())
        return nullptr;
    return &c->entries[size_t(index)];
}

HRESULT MemoryCommandServer::RegisterCommand(BSTR command, ICommandClient* client, LONG* cookie)
{
    const std::string name = com::utf8(command);
    log.push_back("RegisterCommand " + name);
    if (!cookie)
        return E_POINTER;
    if (failing.count("RegisterCommand"))
        return E_FAIL;
    *cookie = nextCookie_++;
    clients_[*cookie] = {name, client};
    commands[name]; // known from now on
    return S_OK;
}

HRESULT MemoryCommandServer::UnregisterCommand(LONG cookie, ICommandClient*)
{
    log.push_back("UnregisterCommand " + commandOf(cookie));
    if (failing.count("UnregisterCommand"))
        return E_FAIL;
    return clients_.erase(cookie) ? S_OK : E_INVALIDARG;
}

#define SERVER_GET(op, field)                                                                                           \
    if (!out)                                                                                                         \
        return E_POINTER;                                                                                             \
    Command* c = begin(op, cookie);                                                                               \
    if (!c)                                                                                                           \
        return E_FAIL;                                                                                                \
    *out = c->field;                                                                                                  \
    return S_OK;

HRESULT MemoryCommandServer::GetCommandVisible(LONG cookie, LONG* out) { SERVER_GET("GetCommandVisible", visible) }
HRESULT MemoryCommandServer::GetCommandState(LONG cookie, LONG* out) { SERVER_GET("GetCommandState", state) }
HRESULT MemoryCommandServer::GetMinimum(LONG cookie, double* out) { SERVER_GET("GetMinimum", minimum) }
HRESULT MemoryCommandServer::GetMaximum(LONG cookie, double* out) { SERVER_GET("GetMaximum", maximum) }
HRESULT MemoryCommandServer::GetValue(LONG cookie, double* out) { SERVER_GET("GetValue", value) }
HRESULT MemoryCommandServer::GetIndex(LONG cookie, LONG* out) { SERVER_GET("GetIndex", index) }
HRESULT MemoryCommandServer::GetColor(LONG cookie, OLE_COLOR* out) { SERVER_GET("GetColor", color) }
#undef SERVER_GET

HRESULT MemoryCommandServer::GetCommandEnabled(LONG cookie, VARIANT_BOOL* out)
{
    if (!out)
        return E_POINTER;
    Command* c = begin("GetCommandEnabled", cookie);
    if (!c)
        return E_FAIL;
    *out = c->enabled ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

HRESULT MemoryCommandServer::GetEntryCount(LONG cookie, LONG* out)
{
    if (!out)
        return E_POINTER;
    Command* c = begin("GetEntryCount", cookie);
    if (!c)
        return E_FAIL;
    *out = LONG(c->entries.size());
    return S_OK;
}

HRESULT MemoryCommandServer::GetText(LONG cookie, BSTR* out)
{
    if (!out)
        return E_POINTER;
    Command* c = begin("GetText", cookie);
    if (!c)
        return E_FAIL;
    *out = com::Bstr(c->text).detach();
    return S_OK;
}

#define SERVER_ENTRY(op, expr)                                                                                          \
    if (!out)                                                                                                         \
        return E_POINTER;                                                                                             \
    const Entry* e = entry(begin(op, cookie, std::to_string(index)), index);                                      \
    if (!e)                                                                                                           \
        return E_FAIL;                                                                                                \
    *out = expr;                                                                                                      \
    return S_OK;

HRESULT MemoryCommandServer::GetEntryText(LONG cookie, LONG index, BSTR* out) { SERVER_ENTRY("GetEntryText", com::Bstr(e->text).detach()) }
HRESULT MemoryCommandServer::GetEntryLong(LONG cookie, LONG index, LONG* out) { SERVER_ENTRY("GetEntryLong", e->number) }
HRESULT MemoryCommandServer::GetEntryState(LONG cookie, LONG index, LONG* out) { SERVER_ENTRY("GetEntryState", e->state) }
HRESULT MemoryCommandServer::GetEntryValue(LONG cookie, LONG index, double* out) { SERVER_ENTRY("GetEntryValue", e->value) }
#undef SERVER_ENTRY

HRESULT MemoryCommandServer::ExecuteCommand(LONG cookie)
{
    Command* c = begin("ExecuteCommand", cookie);
    if (!c)
        return E_FAIL;
    ++c->executed;
    if (onExecute)
        onExecute(commandOf(cookie), *c);
    const HRESULT hr = c->executeResult;
    changedBy(cookie);
    return hr;
}

HRESULT MemoryCommandServer::ActivateEntry(LONG cookie, LONG index)
{
    return begin("ActivateEntry", cookie, std::to_string(index)) ? S_OK : E_FAIL;
}

HRESULT MemoryCommandServer::SelectEntry(LONG cookie, LONG index)
{
    Command* c = begin("SelectEntry", cookie, std::to_string(index));
    if (!c)
        return E_FAIL;
    c->index = index;
    return changedBy(cookie);
}

HRESULT MemoryCommandServer::SetValue(LONG cookie, double value)
{
    Command* c = begin("SetValue", cookie, number(value));
    if (!c)
        return E_FAIL;
    c->value = value;
    return changedBy(cookie);
}

HRESULT MemoryCommandServer::SetState(LONG cookie, LONG state)
{
    Command* c = begin("SetState", cookie, std::to_string(state));
    if (!c)
        return E_FAIL;
    c->state = state;
    return changedBy(cookie);
}

HRESULT MemoryCommandServer::SetText(LONG cookie, BSTR text)
{
    Command* c = begin("SetText", cookie, com::utf8(text));
    if (!c)
        return E_FAIL;
    c->text = com::utf8(text);
    return changedBy(cookie);
}

HRESULT MemoryCommandServer::GetObject(LONG cookie, IUnknown** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    Command* c = begin("GetObject", cookie);
    if (!c)
        return E_FAIL;
    return c->object.copyTo(out);
}

} // namespace vyr::cmdserver
