#pragma once
// PropertyFrame: the dialog a container opens to edit one or several objects through their
// property pages: one tab per page (titled from the page's information), OK, Cancel and
// Apply, Apply enabled while a page reports itself dirty. The pages are created by class
// identifier through the library's class factories.
#include "platform/com/comptr.h"
#include "platform/com/proppage.h"
#include <QDialog>
#include <vector>

class QPushButton;
class QTabWidget;

namespace vyr::controls {

class PropertyFrame : public QDialog {
public:
    PropertyFrame(QWidget* parent, const QString& caption, const std::vector<IUnknown*>& objects,
                  const std::vector<CLSID>& pages);
    ~PropertyFrame() override;

    int pageCount() const { return int(pages_.size()); }
    IPropertyPage* page(int i) const { return pages_[size_t(i)].page.get(); }
    CLSID pageClass(int i) const { return pages_[size_t(i)].clsid; }
    QTabWidget* tabs() const { return tabs_; }
    QPushButton* applyButton() const { return apply_; }
    QPushButton* okButton() const { return ok_; }

    // Applies every dirty page; the first failure is returned.
    HRESULT apply();
    // Shows the page that edits the property (from the first object's MapPropertyToPage) and
    // asks it to focus that property. False when no page of the frame edits it.
    bool editProperty(DISPID id);

    // Called by a page's site.
    void statusChanged(int page, DWORD flags);

protected:
    void accept() override;

private:
    struct Page {
        CLSID clsid;
        com::ComPtr<IPropertyPage> page;
        com::ComPtr<IPropertyPageSite> site;
        bool dirty = false;
    };
    void updateApply();
    std::vector<com::ComPtr<IUnknown>> objects_;
    std::vector<Page> pages_;
    QTabWidget* tabs_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* apply_ = nullptr;
};

// The pages every one of the objects names through ISpecifyPropertyPages, in the first
// object's order.
std::vector<CLSID> commonPages(const std::vector<IUnknown*>& objects);

// Opens the frame modally for the objects' common pages (with `edit` other than
// DISPID_UNKNOWN, on that property's page). S_FALSE when the objects name no page.
HRESULT showPropertyFrame(QWidget* parent, const QString& caption, const std::vector<IUnknown*>& objects,
                          DISPID edit = DISPID_UNKNOWN);

} // namespace vyr::controls
