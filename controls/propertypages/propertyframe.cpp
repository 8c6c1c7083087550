#include "controls/propertypages/propertyframe.h"
#include "controls/core/vyrcontrols.h"
#include "controls/propertypages/propertypage.h"
#include "platform/com/bstr.h"
#include "platform/com/typeinfo.h"
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace vyr::controls {

namespace {

class FrameSite : public com::Object<IPropertyPageSite> {
public:
    FrameSite(PropertyFrame* frame, int index) : frame_(frame), index_(index) {}
    void detach() { frame_ = nullptr; }
    STDMETHOD(OnStatusChange)(DWORD flags) override
    {
        if (frame_)
            frame_->statusChanged(index_, flags);
        return S_OK;
    }
    STDMETHOD(GetLocaleID)(LCID* lcid) override
    {
        if (!lcid)
            return E_POINTER;
        *lcid = 0x0800;
        return S_OK;
    }
    STDMETHOD(GetPageContainer)(IUnknown** container) override
    {
        if (container)
            *container = nullptr;
        return E_NOTIMPL;
    }
    STDMETHOD(TranslateAccelerator)(MSG*) override { return S_FALSE; }

private:
    PropertyFrame* frame_;
    int index_;
};

com::ComPtr<IPropertyPage> createPageObject(REFCLSID clsid)
{
    com::ComPtr<IClassFactory> factory;
    com::ComPtr<IPropertyPage> page;
    if (SUCCEEDED(DllGetClassObject(clsid, IID_IClassFactory, factory.putVoid())) && factory)
        factory->CreateInstance(nullptr, IID_IPropertyPage, page.putVoid());
    return page;
}

} // namespace

PropertyFrame::PropertyFrame(QWidget* parent, const QString& caption, const std::vector<IUnknown*>& objects,
                             const std::vector<CLSID>& pages)
    : QDialog(parent)
{
    setWindowTitle(caption);
    for (IUnknown* o : objects)
        if (o)
            objects_.emplace_back(o);
    std::vector<IUnknown*> raw;
    for (auto& o : objects_)
        raw.push_back(o.get());

    auto* layout = new QVBoxLayout(this);
    tabs_ = new QTabWidget(this);
    layout->addWidget(tabs_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Apply, this);
    ok_ = buttons->button(QDialogButtonBox::Ok);
    apply_ = buttons->button(QDialogButtonBox::Apply);
    apply_->setEnabled(false);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(apply_, &QPushButton::clicked, this, [this] { apply(); });

    QSize largest(0, 0);
    for (const CLSID& clsid : pages) {
        com::ComPtr<IPropertyPage> page = createPageObject(clsid);
        if (!page)
            continue;
        PROPPAGEINFO info{};
        info.cb = sizeof info;
        QString title = QStringLiteral("Page");
        if (SUCCEEDED(page->GetPageInfo(&info))) {
            if (info.pszTitle)
                title = QString::fromStdU16String(info.pszTitle);
            largest = largest.expandedTo(QSize(info.size.cx, info.size.cy));
            CoTaskMemFree(info.pszTitle);
            CoTaskMemFree(info.pszDocString);
            CoTaskMemFree(info.pszHelpFile);
        }
        const int index = int(pages_.size());
        auto site = com::make<FrameSite>(this, index);
        page->SetPageSite(site.get());
        if (FAILED(page->SetObjects(ULONG(raw.size()), raw.data())))
            continue;
        auto* holder = new QWidget(tabs_);
        tabs_->addTab(holder, title);
        pages_.push_back({clsid, page, com::ComPtr<IPropertyPageSite>(site.get()), false});
        const RECT r{0, 0, std::max(info.size.cx, 10), std::max(info.size.cy, 10)};
        page->Activate(holder, &r, TRUE);
    }
    for (int i = 0; i < tabs_->count(); ++i)
        tabs_->widget(i)->setMinimumSize(largest);
}

PropertyFrame::~PropertyFrame()
{
    for (Page& p : pages_) {
        static_cast<FrameSite*>(p.site.get())->detach();
        p.page->Deactivate();
        p.page->SetObjects(0, nullptr);
        p.page->SetPageSite(nullptr);
    }
}

void PropertyFrame::statusChanged(int page, DWORD flags)
{
    if (page < 0 || page >= int(pages_.size()))
        return;
    if (flags & PROPPAGESTATUS_DIRTY)
        pages_[size_t(page)].dirty = true;
    if (flags & PROPPAGESTATUS_CLEAN)
        pages_[size_t(page)].dirty = false;
    updateApply();
}

void PropertyFrame::updateApply()
{
    bool any = false;
    for (const Page& p : pages_)
        any = any || p.page->IsPageDirty() == S_OK;
    apply_->setEnabled(any);
}

HRESULT PropertyFrame::apply()
{
    HRESULT first = S_OK;
    for (Page& p : pages_)
        if (p.page->IsPageDirty() == S_OK) {
            const HRESULT hr = p.page->Apply();
            if (FAILED(hr) && SUCCEEDED(first))
                first = hr;
        }
    updateApply();
    return first;
}

void PropertyFrame::accept()
{
    if (SUCCEEDED(apply()))
        QDialog::accept();
}

bool PropertyFrame::editProperty(DISPID id)
{
    if (objects_.empty())
        return false;
    com::ComPtr<IPerPropertyBrowsing> browse;
    CLSID target = GUID_NULL;
    if (FAILED(objects_.front()->QueryInterface(IID_IPerPropertyBrowsing, browse.putVoid())) || !browse ||
        browse->MapPropertyToPage(id, &target) != S_OK)
        return false;
    for (size_t i = 0; i < pages_.size(); ++i)
        if (pages_[i].clsid == target) {
            tabs_->setCurrentIndex(int(i));
            com::ComPtr<IPropertyPage2> page2;
            if (SUCCEEDED(pages_[i].page->QueryInterface(IID_IPropertyPage2, page2.putVoid())) && page2)
                page2->EditProperty(id);
            return true;
        }
    return false;
}

std::vector<CLSID> commonPages(const std::vector<IUnknown*>& objects)
{
    std::vector<CLSID> out;
    bool first = true;
    for (IUnknown* o : objects) {
        std::vector<CLSID> mine;
        com::ComPtr<ISpecifyPropertyPages> spp;
        CAUUID pages{};
        if (o && SUCCEEDED(o->QueryInterface(IID_ISpecifyPropertyPages, spp.putVoid())) && spp &&
            SUCCEEDED(spp->GetPages(&pages))) {
            mine.assign(pages.pElems, pages.pElems + pages.cElems);
            CoTaskMemFree(pages.pElems);
        }
        if (first)
            out = mine;
        else
            out.erase(std::remove_if(out.begin(), out.end(),
                                     [&](const CLSID& c) { return std::find(mine.begin(), mine.end(), c) == mine.end(); }),
                      out.end());
        first = false;
    }
    return out;
}

HRESULT showPropertyFrame(QWidget* parent, const QString& caption, const std::vector<IUnknown*>& objects, DISPID edit)
{
    const std::vector<CLSID> pages = commonPages(objects);
    if (pages.empty())
        return S_FALSE;
    PropertyFrame frame(parent, caption, objects, pages);
    if (edit != DISPID_UNKNOWN)
        frame.editProperty(edit);
    frame.exec();
    return S_OK;
}

} // namespace vyr::controls
