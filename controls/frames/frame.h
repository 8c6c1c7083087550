#pragma once
// Frame: a captioned, bordered area that groups controls. With two or more buttons its button
// bar shows one button per page and the interior shows the page of the pressed button, so a
// Frame doubles as a tabbed container. The pages belong to a MultiPageFrame that lives inside
// the Frame's window; the button bar is the Frame's own.
#include "controls/core/commandbinding.h"
#include "controls/frames/buttondata.h"
#include "controls/frames/buttonrules.h"
#include "controls/frames/framegeometry.h"
#include "controls/frames/multipageframe.h"

namespace vyr::controls {


class Frame final : public PageHolder {
public:
    // Dispatch identifiers of IFrame.
    enum : DISPID {
        kLocked = 30,
        kCaptionBackColor = 15,
        kCaptionStyle = 12,
        kFrameStyle = 13,
        kBackPicture = 8,
        kBackPictureTopLevelAlign = 61,
        kDragControls = 52,
        kButtonCount = 18,
        kButtonTextColor = 33,
        kButtonSize = 31,
        kButtonAlign = 32,
        kButtonRows = 51,
        kButtonFont = 25,
        kButtonPicturePosition = 21,
        kButtonCaptionPosition = 22,
        kCaptionTop = 11,
        kBackStyle = 14,
        kCaptionStartColor = 16,
        kCaptionEndColor = 17,
        kButtonCurrent = 19,
        kLoadOption = 82,
        kButtonCaption = 20,
        kButtonCommand = 62,
        kButtonPicture = 23,
        kButtonBackPicture = 24,
    };

    Frame();
    ~Frame() override;
    static const ClassDescriptor& classDescriptor();

    MultiPageFrame& inner() { return *inner_; }
    // Geometry as the current properties and window size give it.
    frames::FrameGeometry geometry();
    LONG buttonCount() const { return buttonCount_; }
    LONG buttonRows() const { return buttonRows_; }
    LONG buttonCurrent() const { return inner_->pageSet().current(); }
    int focusedButton() const { return focusedButton_; }
    const frames::ButtonState& buttonState(LONG index) const { return buttons_[size_t(index)]->state; }
    const frames::ButtonData& buttonData(LONG index) const { return buttons_[size_t(index)]->data; }

    HRESULT setButtonCount(LONG n);
    HRESULT setButtonCurrent(LONG index);

    // --- IPersistStreamInit: header, property list, per page the button and the page.
    STDMETHOD(Load)(IStream* stream) override;
    STDMETHOD(Save)(IStream* stream, BOOL clearDirty) override;

    STDMETHOD(SetCommandServer)(ICommandServer* server) override;
    HRESULT onWindowDestroying() override;

    // --- INestedPage, answered by the inner set.
    STDMETHOD(SetPageOwner)(IControlPageOwner* owner) override;
    STDMETHOD(PointTest)(LONG x, LONG y, BOOL* onControl, BOOL* inClient) override;
    STDMETHOD(ForwardDispatch)(IDispatch* object) override { return inner_->ForwardDispatch(object); }
    STDMETHOD(AddDispatch)(IDispatch* object) override { return inner_->AddDispatch(object); }
    STDMETHOD(InsertControl)(BSTR classId, LONG x, LONG y, LONG width, LONG height) override;
    STDMETHOD(GetDragControls)(BOOL* drag) override { return inner_->GetDragControls(drag); }

    // --- IControlPageOwner, for the inner set: locked when the page hosting this Frame is.
    STDMETHOD(IsLocked)(BOOL* locked) override;

    void onDraw(QPainter& painter, const QRect& bounds) override;
    void refreshFromServer() override;
    void passAmbientChange(DISPID id) override { inner_->OnAmbientPropertyChange(id); }
    void onWindowCreated() override;
    void onResize() override { layOut(); }
    void onMousePress(QMouseEvent* e) override;
    void onMouseRelease(QMouseEvent* e) override;
    void onMouseMove(QMouseEvent* e) override;
    bool onKeyPress(QKeyEvent* e) override;
    void onFocusIn() override;
    void onFocusOut() override;
    // The button bar is a page tab list; pressing a tab shows its page as a click would.
    void describe(AccessFacts& facts) const override;
    bool activateAccessibleItem(int index) override;

private:
    struct Button {
        frames::ButtonData data; // its command text lives in `command`
        CommandBinding command;
        frames::ButtonState state;
    };

    // The one routine every property change runs through, after the value was stored.
    void propertyChanged(DISPID id);
    // What a change needs beyond marking dirty and notifying.
    void afterChange(DISPID id);
    void notify(std::initializer_list<DISPID> ids);
    void syncButtons();
    Button* current();
    void layOut();
    // Rebuilds the window (for the new background mode), keeping the pages and their controls.
    void reactivate();
    HRESULT putButtonFont(IFontDisp* font, PutKind kind);
    IFontDisp* buttonFontRef();

    com::ComPtr<MultiPageFrame> inner_;
    com::ComPtr<IControlPageOwner> pageOwner_;
    std::vector<std::unique_ptr<Button>> buttons_; // one per inner page
    int captionStyle_ = 4;
    int frameStyle_ = 3;
    OLE_COLOR captionTextColor_ = 0x80000012;
    OLE_COLOR captionBackColor_ = 0x8000000F;
    int alignTopLevel_ = 0;
    LONG buttonCount_ = 0;
    OLE_COLOR buttonTextColor_ = 0x80000012;
    LONG buttonSize_ = 50;
    int buttonAlign_ = 1;
    LONG buttonRows_ = 1;
    com::ComPtr<IFontDisp> buttonFont_;
    int buttonPicturePosition_ = 1;
    int buttonCaptionPosition_ = 7;
    int captionTop_ = 0;
    int backStyle_ = 1;
    OLE_COLOR captionStartColor_ = 0x8000000F;
    OLE_COLOR captionEndColor_ = 0x8000000F;
    int focusedButton_ = -1;
    int focusedBeforeBlur_ = -1;
    bool reactivating_ = false;

    friend struct FrameAccess;
};

} // namespace vyr::controls
