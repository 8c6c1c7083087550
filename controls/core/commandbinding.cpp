#include "controls/core/commandbinding.h"
#include "platform/com/bstr.h"

namespace vyr::controls {

HRESULT CommandBinding::unregister(ICommandServer* server, ICommandClient* client)
{
    if (!server || !cookie_)
        return S_OK;
    HRESULT hr = server->UnregisterCommand(cookie_, client);
    if (FAILED(hr))
        return hr;
    cookie_ = 0;
    return S_OK;
}

HRESULT CommandBinding::registerWith(ICommandServer* server, ICommandClient* client)
{
    if (!server || text_.empty())
        return S_OK;
    com::Bstr text(text_);
    LONG cookie = 0;
    HRESULT hr = server->RegisterCommand(text.get(), client, &cookie);
    if (SUCCEEDED(hr))
        cookie_ = cookie;
    return hr;
}

} // namespace vyr::controls
