#pragma once
// MultiPageFrame: a set of ControlPages of which one is shown at a time, attached to a parent
// window given by its owner (the Frame's window, or its own window when a container hosts it).
// Its property list is taken from the property map; its stream holds the pages as well.
#include "controls/frames/controlpage.h"
#include "controls/frames/pageholder.h"
#include "controls/frames/pageset.h"

namespace vyr::controls {


class MultiPageFrame final : public PageHolder {
public:
    MultiPageFrame();
    ~MultiPageFrame() override;
    static const ClassDescriptor& classDescriptor();

    // Pages live in `parent` (null: detached, every page's controls are saved and released;
    // a page that cannot be saved keeps its window, outside the parent, and its failure is
    // returned). `owner` is asked whether dragging is locked; it outlives the attachment.
    HRESULT attach(IControlPageOwner* owner, QWidget* parent);
    QWidget* parentWidget() const { return parent_; }

    frames::PageSet& pageSet() { return pages_; }
    frames::ControlPage* page(LONG index) const;
    frames::ControlPage* currentPage() const { return page(pages_.current()); }

    // Property setters with their side effects; each notifies its change.
    HRESULT setLocked(bool locked);
    bool locked() const { return locked_; }
    HRESULT setPageCount(LONG n);
    HRESULT setPageCurrent(LONG index);
    HRESULT setDragControls(bool drag);
    bool dragControls() const;
    HRESULT setBackColor(OLE_COLOR color);
    OLE_COLOR backColor() const { return backColor_; }
    HRESULT setBackPicture(IPictureDisp* picture, PutKind kind);
    IPictureDisp* backPicture() const { return backPicture_.get(); }
    void setAlignTopLevel(bool align);
    HRESULT setLoadOption(LONG option) { return pages_.setLoadOption(option); }

    // --- IPersistStreamInit: header, property list, pages.
    STDMETHOD(Load)(IStream* stream) override;
    STDMETHOD(Save)(IStream* stream, BOOL clearDirty) override;

    // --- ICommandClient: the server goes on to every hosted control.
    STDMETHOD(SetCommandServer)(ICommandServer* server) override;
    HRESULT onWindowDestroying() override;

    // --- INestedPage
    STDMETHOD(SetPageOwner)(IControlPageOwner* owner) override;
    STDMETHOD(PointTest)(LONG x, LONG y, BOOL* onControl, BOOL* inClient) override;
    STDMETHOD(ForwardDispatch)(IDispatch* object) override;
    STDMETHOD(AddDispatch)(IDispatch* object) override;
    STDMETHOD(InsertControl)(BSTR classId, LONG x, LONG y, LONG width, LONG height) override;
    STDMETHOD(GetDragControls)(BOOL* drag) override;

    // --- IControlPageOwner, for the pages: locked by the own flag or by the owner.
    STDMETHOD(IsLocked)(BOOL* locked) override;

    void onDraw(QPainter& painter, const QRect& bounds) override;
    void refreshFromServer() override {}

protected:
    IControlPageOwner* upstream() const override { return owner_; }
    void passAmbientChange(DISPID id) override;

public:
    void onWindowCreated() override;
    void onResize() override;

private:
    std::unique_ptr<frames::PageSlot> makePage();
    template <class F>
    void eachPage(F f)
    {
        for (LONG i = 0; i < pages_.count(); ++i)
            f(*page(i));
    }

    frames::PageSet pages_;
    QPointer<QWidget> parent_;
    IControlPageOwner* owner_ = nullptr;
    com::ComPtr<IControlPageOwner> pageOwner_; // the page hosting this set, when one does
    bool locked_ = true;
    OLE_COLOR backColor_ = 0x8000000F;
    com::ComPtr<IPictureDisp> backPicture_;
    bool alignTopLevel_ = false;
};

} // namespace vyr::controls
