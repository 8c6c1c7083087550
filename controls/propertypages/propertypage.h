#pragma once
// PropertyPageBase: the shared part of every property page. It holds the objects a frame
// hands it (replaced as a whole by SetObjects), its panel widget inside the frame's parent,
// the dirty flag and the page site; a page class builds its panel, shows the objects' values
// and applies the panel's values.
#include "platform/com/object.h"
#include "platform/com/proppage.h"
#include <QPointer>
#include <QSize>
#include <QWidget>
#include <string>
#include <vector>

VYR_DECLARE_INTERFACE(IPropertyPageSite, IID_IPropertyPageSite, IUnknown)
VYR_DECLARE_INTERFACE(IPropertyPage, IID_IPropertyPage, IUnknown)
VYR_DECLARE_INTERFACE(IPropertyPage2, IID_IPropertyPage2, IPropertyPage)

namespace vyr::controls {

struct PageInfo {
    std::string title;
    std::string doc;  // the documentation string
    std::string help; // appended to the help path by Help
    QSize size;       // pixels
};

class PropertyPageBase : public com::Object<IPropertyPage2> {
public:
    explicit PropertyPageBase(PageInfo info);
    ~PropertyPageBase() override;

    STDMETHOD(SetPageSite)(IPropertyPageSite* site) override;
    STDMETHOD(Activate)(HWND parent, LPCRECT rect, BOOL modal) override;
    STDMETHOD(Deactivate)() override;
    STDMETHOD(GetPageInfo)(PROPPAGEINFO* info) override;
    STDMETHOD(SetObjects)(ULONG count, IUnknown** objects) override;
    STDMETHOD(Show)(UINT cmdShow) override;
    STDMETHOD(Move)(LPCRECT rect) override;
    STDMETHOD(IsPageDirty)() override { return dirty_ ? S_OK : S_FALSE; }
    STDMETHOD(Apply)() override;
    STDMETHOD(Help)(LPCOLESTR helpDir) override;
    STDMETHOD(TranslateAccelerator)(MSG*) override { return S_FALSE; }
    STDMETHOD(EditProperty)(DISPID id) override;

    QWidget* panel() const { return panel_; }
    size_t objectCount() const { return objects_.size(); }
    // The help path Help was last asked for (empty: none).
    const std::string& lastHelp() const { return lastHelp_; }

protected:
    // Builds the panel's controls (the panel is already created with its size).
    virtual void buildPanel(QWidget* panel) = 0;
    // Puts the objects' values into the panel; E_UNEXPECTED when a panel control fails.
    virtual HRESULT showValues() = 0;
    // Writes the panel's values into every object.
    virtual HRESULT applyValues() = 0;
    // Puts the focus on the panel control of a property; E_NOTIMPL when the page has none.
    virtual HRESULT focusProperty(DISPID) { return E_NOTIMPL; }

    // A panel control changed: marks the page dirty (once) and tells the site it is dirty and
    // needs validation. Ignored while values are being shown.
    void markDirty();
    // The objects as IDispatch (objects without it are left out).
    std::vector<com::ComPtr<IDispatch>> dispatches() const;
    HRESULT refresh();
    bool showing() const { return showing_; }

private:
    PageInfo info_;
    std::vector<com::ComPtr<IUnknown>> objects_;
    com::ComPtr<IPropertyPageSite> site_;
    QPointer<QWidget> panel_;
    bool dirty_ = false;
    bool showing_ = false;
    std::string lastHelp_;
};

// Wraps a page object into a creation function's answer.
template <class Page>
HRESULT createPage(REFIID iid, void** out)
{
    auto p = com::make<Page>();
    return p->QueryInterface(iid, out);
}

} // namespace vyr::controls
