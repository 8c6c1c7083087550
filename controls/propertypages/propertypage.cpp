#include "controls/propertypages/propertypage.h"
#include "platform/com/bstr.h"
#include <cstring>
#include <new>

namespace vyr::controls {

namespace {

LPOLESTR taskString(const std::string& text)
{
    const std::u16string w = com::utf16(text);
    auto* s = static_cast<LPOLESTR>(CoTaskMemAlloc((w.size() + 1) * sizeof(OLECHAR)));
    if (s)
        std::memcpy(s, w.c_str(), (w.size() + 1) * sizeof(OLECHAR));
    return s;
}

} // namespace

PropertyPageBase::PropertyPageBase(PageInfo info) : info_(std::move(info)) {}

PropertyPageBase::~PropertyPageBase() { delete panel_.data(); }

HRESULT PropertyPageBase::SetPageSite(IPropertyPageSite* site)
{
    site_ = com::ComPtr<IPropertyPageSite>(site);
    return S_OK;
}

HRESULT PropertyPageBase::Activate(HWND parent, LPCRECT rect, BOOL)
{
    delete panel_.data();
    panel_ = new QWidget(static_cast<QWidget*>(parent));
    panel_->setObjectName(QString::fromStdString(info_.title));
    if (rect)
        panel_->setGeometry(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top);
    else
        panel_->resize(info_.size);
    buildPanel(panel_);
    const HRESULT hr = refresh();
    panel_->show();
    return hr;
}

HRESULT PropertyPageBase::Deactivate()
{
    delete panel_.data();
    return S_OK;
}

HRESULT PropertyPageBase::GetPageInfo(PROPPAGEINFO* info)
{
    if (!info)
        return E_POINTER;
    info->cb = sizeof(PROPPAGEINFO);
    info->pszTitle = taskString(info_.title);
    info->size = {info_.size.width(), info_.size.height()};
    info->pszDocString = taskString(info_.doc);
    info->pszHelpFile = nullptr;
    info->dwHelpContext = 0;
    if (!info->pszTitle || !info->pszDocString) {
        CoTaskMemFree(info->pszTitle);
        CoTaskMemFree(info->pszDocString);
        info->pszTitle = info->pszDocString = nullptr;
        return E_OUTOFMEMORY;
    }
    return S_OK;
}

HRESULT PropertyPageBase::SetObjects(ULONG count, IUnknown** objects)
{
    if (count && !objects)
        return E_POINTER;
    std::vector<com::ComPtr<IUnknown>> held;
    try {
        held.reserve(count);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    for (ULONG i = 0; i < count; ++i)
        if (objects[i])
            held.emplace_back(objects[i]);
    objects_ = std::move(held);
    HRESULT hr = S_OK;
    if (panel_)
        hr = refresh();
    dirty_ = false;
    return hr;
}

HRESULT PropertyPageBase::refresh()
{
    showing_ = true;
    const HRESULT hr = showValues();
    showing_ = false;
    return hr;
}

HRESULT PropertyPageBase::Show(UINT cmdShow)
{
    if (!panel_)
        return E_UNEXPECTED;
    panel_->setVisible(cmdShow != SW_HIDE);
    return S_OK;
}

HRESULT PropertyPageBase::Move(LPCRECT rect)
{
    if (!rect)
        return E_POINTER;
    if (!panel_)
        return E_UNEXPECTED;
    panel_->setGeometry(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top);
    return S_OK;
}

HRESULT PropertyPageBase::Apply()
{
    const HRESULT hr = applyValues();
    if (FAILED(hr))
        return hr;
    dirty_ = false;
    if (site_)
        site_->OnStatusChange(PROPPAGESTATUS_CLEAN);
    return S_OK;
}

HRESULT PropertyPageBase::Help(LPCOLESTR helpDir)
{
    std::string path = helpDir ? com::utf8(std::u16string_view(helpDir)) : std::string();
    path += info_.help;
    // There is no help viewer on this platform: the page records what it would open.
    lastHelp_ = path;
    return S_OK;
}

HRESULT PropertyPageBase::EditProperty(DISPID id) { return panel_ ? focusProperty(id) : E_UNEXPECTED; }

void PropertyPageBase::markDirty()
{
    if (showing_ || dirty_)
        return;
    dirty_ = true;
    if (site_)
        site_->OnStatusChange(PROPPAGESTATUS_DIRTY | PROPPAGESTATUS_VALIDATE);
}

std::vector<com::ComPtr<IDispatch>> PropertyPageBase::dispatches() const
{
    std::vector<com::ComPtr<IDispatch>> out;
    for (const auto& o : objects_) {
        com::ComPtr<IDispatch> d;
        if (SUCCEEDED(o->QueryInterface(IID_IDispatch, d.putVoid())) && d)
            out.push_back(d);
    }
    return out;
}

} // namespace vyr::controls
