#pragma once
// A command server for the Tree: "Folders" lists folders, "Items" lists the items of the
// folder that is the folder command's current entry, "Roots" the root items. Every call is
// logged as "Op Command [argument]".
#include "controls/qtwidget/commandserver.h" // declares ICommandServer for com::Object
#include "platform/com/bstr.h"
#include <map>

namespace vyr::test {

class FolderServer final : public com::Object<ICommandServer> {
public:
    std::vector<std::pair<std::string, std::vector<std::string>>> folders;
    std::vector<std::string> roots;
    std::map<std::string, LONG> index{{"Folders", -1}, {"Items", -1}, {"Roots", -1}};
    bool enabled = true;
    std::vector<std::string> log;

    // Reports a change of `command` to its clients.
    void notify(const std::string& command = "Folders")
    {
        std::vector<com::ComPtr<ICommandClient>> targets;
        for (auto& [cookie, c] : clients_)
            if (c.first == command)
                targets.push_back(c.second);
        for (auto& t : targets)
            t->OnCommandStateChanged();
    }
    std::vector<std::string> calls(const std::string& prefix) const
    {
        std::vector<std::string> r;
        for (const auto& l : log)
            if (l.rfind(prefix, 0) == 0)
                r.push_back(l);
        return r;
    }

    STDMETHOD(GetTypeInfoCount)(UINT* n) override { *n = 0; return S_OK; }
    STDMETHOD(GetTypeInfo)(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHOD(GetIDsOfNames)(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHOD(Invoke)(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override { return E_NOTIMPL; }
    STDMETHOD(HostSlot7)() override { return E_NOTIMPL; }
    STDMETHOD(HostSlot8)() override { return E_NOTIMPL; }
    STDMETHOD(RegisterCommand)(BSTR name, ICommandClient* client, LONG* cookie) override
    {
        *cookie = ++next_;
        clients_[*cookie] = {com::utf8(name), com::ComPtr<ICommandClient>(client)};
        log.push_back("RegisterCommand " + com::utf8(name));
        return S_OK;
    }
    STDMETHOD(UnregisterCommand)(LONG cookie, ICommandClient*) override { return clients_.erase(cookie) ? S_OK : E_FAIL; }
    STDMETHOD(GetCommandVisible)(LONG, LONG* v) override { *v = 1; return S_OK; }
    STDMETHOD(GetCommandEnabled)(LONG c, VARIANT_BOOL* v) override
    {
        log.push_back("GetCommandEnabled " + name(c));
        *v = enabled ? VARIANT_TRUE : VARIANT_FALSE;
        return S_OK;
    }
    STDMETHOD(GetCommandState)(LONG, LONG*) override { return E_NOTIMPL; }
    STDMETHOD(GetMinimum)(LONG, double*) override { return E_NOTIMPL; }
    STDMETHOD(GetMaximum)(LONG, double*) override { return E_NOTIMPL; }
    STDMETHOD(GetEntryCount)(LONG c, LONG* v) override
    {
        log.push_back("GetEntryCount " + name(c));
        *v = LONG(entries(c).size());
        return S_OK;
    }
    STDMETHOD(GetEntryText)(LONG c, LONG i, BSTR* v) override
    {
        const auto e = entries(c);
        if (i < 0 || i >= LONG(e.size()))
            return E_INVALIDARG;
        *v = com::Bstr(e[size_t(i)]).detach();
        return S_OK;
    }
    STDMETHOD(GetEntryLong)(LONG, LONG, LONG*) override { return E_NOTIMPL; }
    STDMETHOD(GetValue)(LONG, double*) override { return E_NOTIMPL; }
    STDMETHOD(GetIndex)(LONG c, LONG* v) override
    {
        log.push_back("GetIndex " + name(c));
        *v = index[name(c)];
        return S_OK;
    }
    STDMETHOD(GetText)(LONG, BSTR*) override { return E_NOTIMPL; }
    STDMETHOD(GetColor)(LONG, OLE_COLOR*) override { return E_NOTIMPL; }
    STDMETHOD(GetEntryState)(LONG, LONG, LONG*) override { return E_NOTIMPL; }
    STDMETHOD(GetEntryValue)(LONG, LONG, double*) override { return E_NOTIMPL; }
    STDMETHOD(ExecuteCommand)(LONG) override { return E_NOTIMPL; }
    STDMETHOD(ActivateEntry)(LONG c, LONG i) override
    {
        log.push_back("ActivateEntry " + name(c) + " " + std::to_string(i));
        return S_OK;
    }
    STDMETHOD(SelectEntry)(LONG c, LONG i) override
    {
        log.push_back("SelectEntry " + name(c) + " " + std::to_string(i));
        index[name(c)] = i;
        if (notifyOnSelect)
            notify(); // a host that reports every change back at once
        return S_OK;
    }
    STDMETHOD(SetValue)(LONG, double) override { return E_NOTIMPL; }
    STDMETHOD(SetState)(LONG, LONG) override { return E_NOTIMPL; }
    STDMETHOD(SetText)(LONG, BSTR) override { return E_NOTIMPL; }
    STDMETHOD(HostSlot31)() override { return E_NOTIMPL; }
    STDMETHOD(HostSlot32)() override { return E_NOTIMPL; }
    STDMETHOD(HostSlot33)() override { return E_NOTIMPL; }
    STDMETHOD(GetObject)(LONG, IUnknown**) override { return E_NOTIMPL; }

    bool notifyOnSelect = false;

private:
    std::string name(LONG cookie) const
    {
        auto it = clients_.find(cookie);
        return it == clients_.end() ? std::string() : it->second.first;
    }
    std::vector<std::string> entries(LONG cookie)
    {
        const std::string n = name(cookie);
        if (n == "Folders") {
            std::vector<std::string> r;
            for (auto& f : folders)
                r.push_back(f.first);
            return r;
        }
        if (n == "Items") {
            const LONG f = index["Folders"];
            return f >= 0 && f < LONG(folders.size()) ? folders[size_t(f)].second : std::vector<std::string>{};
        }
        return n == "Roots" ? roots : std::vector<std::string>{};
    }
    std::map<LONG, std::pair<std::string, com::ComPtr<ICommandClient>>> clients_;
    LONG next_ = 0;
};

} // namespace vyr::test
