#pragma once
// PopupDialog: a button that opens a small popup window holding a ControlPage of further
// controls, placed relative to the button. The popup is a window of its own where the window
// system places windows as asked, and an overlay inside the button's top-level window where it
// does not (Wayland); see frames::PopupMode. The popup closes by program, by Escape, when a
// watched window goes away, or, as AutoClose says, on a mouse press elsewhere. Closing keeps or
// destroys the page's controls as LoadOption says; the page's saved form stays with the
// control while no popup exists.
#include "controls/buttons/button.h"
#include "controls/frames/controlpage.h"
#include "controls/frames/popuprules.h"
#include <QPointer>
#include <memory>
#include <optional>

namespace vyr::controls {

class PopupWindow;

// The width of the popup's sizing border; the page lies inside it.
inline constexpr int kPopupBorder = 4;

class PopupDialog final : public PushButtonBase, public IControlPageOwner, public IPageOwnerAware {
public:
    enum : DISPID {
        kLocked = 30,
        kPopupLeft = 56,
        kPopupTop = 57,
        kPopupWidth = 58,
        kPopupHeight = 59,
        kButtonDisplayStyle = 77,
        kLoadOption = 82,
        kAutoClose = 122,
    };

    PopupDialog();
    ~PopupDialog() override;
    static const ClassDescriptor& classDescriptor();

    STDMETHOD(QueryInterface)(REFIID riid, void** out) override { return ControlBase::QueryInterface(riid, out); }
    STDMETHOD_(ULONG, AddRef)() override { return ControlBase::AddRef(); }
    STDMETHOD_(ULONG, Release)() override { return ControlBase::Release(); }

    int locked = 0;
    int32_t popupLeft = -50, popupTop = -50, popupWidth = 100, popupHeight = 100;
    int32_t buttonDisplayStyle = 0;
    int32_t loadOption = 0;
    int32_t autoClose = 1;

    // Opens the popup (creating it when needed); fails when its page cannot be loaded.
    HRESULT open();
    // Closes as the load option says; keepWindow: save and unregister whatever the option.
    void close(bool keepWindow);
    bool isOpen() const;
    // The popup window and its page (null while none exists). As an overlay the popup is a
    // child of the button's top-level window, and its geometry is in that window's coordinates.
    QWidget* popupWindow() const;
    // How popups made from now on are shown: as the platform needs, unless `mode` chooses
    // (tests run the overlay on the offscreen platform); nullopt goes back to the platform's.
    static void choosePopupMode(std::optional<frames::PopupMode> mode);
    static frames::PopupMode popupMode();
    // How the current popup is shown.
    frames::PopupMode shownAs() const { return mode_; }
    frames::ControlPage* page() const { return page_.get(); }
    // The page's saved form kept while no page exists.
    const std::vector<uint8_t>& savedContent() const { return saved_; }
    // The popup's top-left relative to the button centre, as last placed.
    frames::PopupPoint offset() const { return offset_; }
    // Locked, or the lock state of the page hosting this control; empty when unknown.
    std::optional<bool> lockState() const;
    // What the application reported for ButtonDisplayStyle 1.
    const std::string& appText() const { return appText_; }
    OLE_COLOR appColor() const { return appColor_; }

    // --- IPersistStreamInit: header, property list and the page.
    STDMETHOD(Load)(IStream* stream) override;
    STDMETHOD(Save)(IStream* stream, BOOL clearDirty) override;
    STDMETHOD(SetCommandServer)(ICommandServer* server) override;
    HRESULT onWindowDestroying() override;
    // --- IControlPageOwner, for the popup page.
    STDMETHOD(IsLocked)(BOOL* locked) override;
    STDMETHOD(GetAmbientProperty)(DISPID id, VARIANT* value) override;
    STDMETHOD(OnPageChanged)(IUnknown* control) override;
    STDMETHOD(OnAmbientPropertyChange)(DISPID id) override;
    // --- IPageOwnerAware: the page hosting this control.
    STDMETHOD(SetPageOwner)(IControlPageOwner* owner) override;

    void refreshFromServer() override;
    HRESULT executeOwnCommand() override;
    void onDraw(QPainter& painter, const QRect& bounds) override;
    bool onEvent(QEvent* e) override;
    bool onKeyPress(QKeyEvent* e) override;

    // Called by the popup registry.
    void watchedWindowGone();
    void watchedWindowMoved();
    void popupGeometryChanged();
    // A left press on `target`, at `at` in the coordinates of the target's top-level window.
    void pressed(QWidget* target, QPoint at, bool clientArea);
    // Called by the popup window.
    bool escapeCloses(QWidget* focus) const;
    // The popup window is being deleted by someone else (an overlay, with its top-level
    // window): the page is saved and released, the registry entry goes.
    void popupWindowGone();

protected:
    bool ignoresPressWhileDisabled() const override { return true; }
    void onKeyDownPress() override;
    void onKeyUpRelease() override;

private:
    void* queryExtra(REFIID riid) override;
    void afterChange(DISPID id);
    HRESULT create();
    void destroyPopup();
    void place();
    // Gives the popup to the button's (current) top-level window: as its child, or as a
    // window transient for it.
    void ownByButtonsWindow();
    void follow();
    // The button's rectangle and the area the popup is clamped to, both in the coordinates the
    // popup's geometry is given in: the screen's for a window of its own, the top-level
    // window's for an overlay.
    RECT buttonRect() const;
    RECT clampArea() const;
    // Where the popup page takes keys typed in the button: its focused control, else its
    // first tab stop, else the page itself.
    QWidget* pageKeyTarget() const;

    std::unique_ptr<frames::ControlPage> page_;
    QPointer<PopupWindow> popup_;
    std::vector<uint8_t> saved_;
    frames::PopupPoint offset_{-50, -50};
    std::string appText_;
    OLE_COLOR appColor_ = 0x8000000F;
    com::ComPtr<IControlPageOwner> pageOwner_;
    frames::PopupMode mode_ = frames::PopupMode::OwnWindow;
    bool placing_ = false;
    QRect placed_; // where the popup was last put (its move and resize events then change nothing)
    std::vector<int> pageKeys_; // keys pressed in the button that the page took

    friend class PopupWindow;
};

} // namespace vyr::controls
