#pragma once
// ControlBase: the shared rules of every control, implemented once. Reference counting and
// QueryInterface, IDispatch from the class descriptor, the property-change protocol,
// connection points for events and property notifications, per-property browsing, the
// PropertyList stream, the command binding, the run-mode gate, mnemonics, focus, timers and
// the control's own window. A control's class holds only its members, defaults, drawing and
// input handling.
#include "controls/core/accessible.h"
#include "controls/core/commandbinding.h"
#include "controls/core/connectionpoint.h"
#include "controls/core/descriptor.h"
#include "controls/core/vyrcontrols.h"
#include "platform/com/font.h"
#include "platform/com/object.h"
#include "platform/com/picture.h"
#include "platform/com/typeinfo.h"
#include "platform/com/vtablecall.h"
#include <QPointer>
#include <QtCore/qnamespace.h>
#include <QRect>
#include <map>

class QPainter;
class QWidget;
class QMouseEvent;
class QKeyEvent;
class QEvent;

VYR_DECLARE_INTERFACE(ICommandClient, IID_ICommandClient, IUnknown)
VYR_DECLARE_INTERFACE(IVyrControl, IID_IVyrControl, IUnknown)
VYR_DECLARE_INTERFACE(IVyrWindowlessControl, IID_IVyrWindowlessControl, IUnknown)
VYR_DECLARE_INTERFACE(IVyrWindowlessSite, IID_IVyrWindowlessSite, IUnknown)
VYR_DECLARE_INTERFACE(IProvideClassInfo, IID_IProvideClassInfo, IUnknown)
VYR_DECLARE_INTERFACE(IProvideClassInfo2, IID_IProvideClassInfo2, IProvideClassInfo)
VYR_DECLARE_INTERFACE(ISpecifyPropertyPages, IID_ISpecifyPropertyPages, IUnknown)

namespace vyr::controls {

class ControlWindow;

// Whether a setter call came from the program (a container, a load) or from the user.
enum class Origin { Program, User };

class ControlBase : public com::Object<IDispatch, IPersistStreamInit, IConnectionPointContainer,
                                       IPerPropertyBrowsing, ICommandClient, IVyrControl, IVyrWindowlessControl,
                                       IProvideClassInfo2, ISpecifyPropertyPages> {
public:
    explicit ControlBase(const ClassDescriptor& descriptor);
    ~ControlBase() override;

    const ClassDescriptor& descriptor() const { return desc_; }

    // The control behind any of its interface pointers; null for an object that is not one
    // of the library's controls. Borrowed: valid while the caller holds `object`.
    static ControlBase* from(IUnknown* object);
    // The control living in `widget` (its own window, or the container's widget it was
    // activated in without one); null for any other widget.
    static ControlBase* ofWidget(const QObject* widget);

    // IDispatch is answered with the dual interface's pointer.
    STDMETHOD(QueryInterface)(REFIID riid, void** out) override;

    // --- IDispatch
    STDMETHOD(GetTypeInfoCount)(UINT* count) override;
    STDMETHOD(GetTypeInfo)(UINT index, LCID lcid, ITypeInfo** info) override;
    STDMETHOD(GetIDsOfNames)(REFIID riid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override;
    STDMETHOD(Invoke)(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO* excep, UINT* argErr) override;

    // --- IPersistStreamInit
    STDMETHOD(GetClassID)(CLSID* clsid) override;
    STDMETHOD(IsDirty)() override { return dirty_ ? S_OK : S_FALSE; }
    STDMETHOD(Load)(IStream* stream) override;
    STDMETHOD(Save)(IStream* stream, BOOL clearDirty) override;
    STDMETHOD(GetSizeMax)(ULARGE_INTEGER* size) override;
    STDMETHOD(InitNew)() override { return S_OK; }

    // --- IConnectionPointContainer
    STDMETHOD(EnumConnectionPoints)(IEnumConnectionPoints** points) override;
    STDMETHOD(FindConnectionPoint)(REFIID riid, IConnectionPoint** point) override;

    // --- IPerPropertyBrowsing
    STDMETHOD(GetDisplayString)(DISPID id, BSTR* text) override;
    STDMETHOD(MapPropertyToPage)(DISPID id, CLSID* page) override;
    STDMETHOD(GetPredefinedStrings)(DISPID id, CALPOLESTR* strings, CADWORD* cookies) override;
    STDMETHOD(GetPredefinedValue)(DISPID id, DWORD cookie, VARIANT* value) override;

    // --- IProvideClassInfo2
    STDMETHOD(GetClassInfo)(ITypeInfo** info) override;
    STDMETHOD(GetGUID)(DWORD kind, GUID* guid) override;

    // --- ISpecifyPropertyPages
    STDMETHOD(GetPages)(CAUUID* pages) override;
    // The page that edits a property (GUID_NULL: none); false for an unknown dispid.
    bool pageOf(DISPID id, CLSID& page) const;

    // --- ICommandClient
    STDMETHOD(SetCommandServer)(ICommandServer* server) override;
    STDMETHOD(OnCommandStateChanged)() override;
    STDMETHOD(OnCommandStateChangedEx)() override { return OnCommandStateChanged(); }

    // --- IVyrControl
    STDMETHOD(SetSite)(IVyrSite* site) override;
    STDMETHOD(GetSite)(IVyrSite** site) override { return site_.copyTo(site); }
    STDMETHOD(CreateControlWindow)(void* parentWidget, const RECT* rect, void** window) override;
    STDMETHOD(GetControlWindow)(void** window) override;
    STDMETHOD(DestroyControlWindow)() override;
    STDMETHOD(OnAmbientPropertyChange)(DISPID id) override;
    STDMETHOD(GetMnemonic)(char* mnemonic) override;
    STDMETHOD(OnMnemonic)() override;

    // --- IVyrWindowlessControl
    STDMETHOD(InPlaceActivate)(IVyrWindowlessSite* site) override;
    STDMETHOD(InPlaceDeactivate)() override;
    STDMETHOD(Draw)(void* painter, const RECT* bounds) override;
    STDMETHOD(OnWindowEvent)(void* event) override;

    // The control's share of one event of the widget it lives in, its own window's or the
    // container's: true when the event is used up. Paint events are not among them.
    bool deliver(QEvent* e);

    // --- The per-control operations, in this order after onDraw.
    virtual void onDraw(QPainter& painter, const QRect& bounds) = 0;
    // Reads the bound commands' state from the server; the base reads enabled and visible.
    virtual void refreshFromServer();
    // Executes the control's own command; controls without one answer E_NOTIMPL.
    virtual HRESULT executeOwnCommand();
    // One step of the property exchange: load (set dispid's value) or save (report the
    // index-th persisted property). The base walks the descriptor's save order.
    virtual HRESULT exchangeProperty(bool load, bool* more, int index, DISPID* id, VARIANT* value);

    // --- Shared state the descriptor accessors reach.
    // The run-mode gate: ambient UserMode true and UIDead not true. Without a site a
    // control counts as running. Read from the site when it is set and when the host
    // announces an ambient change, and kept in between.
    bool isRunMode() const { return runMode_; }
    ICommandServer* server() const { return server_.get(); }
    CommandBinding& command() { return command_; }
    const std::string& commandText() const { return command_.text(); }
    HRESULT setCommandText(const std::string& text, DISPID id);
    bool enabledFlag() const { return enabled_ != 0; }
    // Window shown by the server's visible state.
    bool shownFlag() const { return shown_ != 0; }
    bool focused() const { return focused_; }
    bool isDirty() const { return dirty_; }
    void clearDirty() { dirty_ = false; }
    // Stops the notify-and-repaint part of the change protocol (changes are still stored).
    void setRedrawFrozen(bool frozen) { frozen_ = frozen; }

    // The property-change protocol: equal value - nothing; else store, run `after`, mark
    // dirty, notify the sinks and repaint. Returns S_OK either way.
    template <class T, class After = std::nullptr_t>
    HRESULT assign(T& field, const T& value, DISPID id, After after = nullptr)
    {
        if (field == value)
            return S_OK;
        field = value;
        if constexpr (!std::is_same_v<After, std::nullptr_t>)
            after();
        changed(id);
        return S_OK;
    }
    // Mark dirty, notify OnChanged(id) and request a repaint, unless redraw is frozen.
    void changed(DISPID id);
    void invalidate();

    // Caption with its '&' mnemonic.
    const std::string& captionText() const { return caption_; }
    HRESULT setCaptionText(const std::string& text, DISPID id = DISPID_CAPTION);
    char mnemonic() const { return mnemonic_; }

    // Enabled as a property: stored as 0/1, also written by the command server.
    HRESULT setEnabledFlag(bool enabled, DISPID id = DISPID_ENABLED);

    // Font and pictures: counted references; by value stores a copy.
    HRESULT getFont(IFontDisp** out);
    HRESULT putFont(IFontDisp* font, PutKind kind, DISPID id = DISPID_FONT);
    IFontDisp* fontRef() const { return font_.get(); }
    QFont qfont(); // the font to draw with (ambient or default when none is set)
    static HRESULT putPicture(com::ComPtr<IPictureDisp>& slot, IPictureDisp* pic, PutKind kind);
    // Stores a font in `slot`: by reference the object itself, by value a clone (a font that
    // cannot be cloned leaves the slot empty).
    static void storeFont(com::ComPtr<IFontDisp>& slot, IFontDisp* font, PutKind kind);

    // Events to every connected sink, in connection order; failures ignored.
    void fire(DISPID id, std::initializer_list<com::Variant> args = {});
    // The _DButton mouse events with the shift state read from the keyboard now.
    void fireMouse(DISPID id, int16_t button, int32_t x, int32_t y, Qt::KeyboardModifiers modifiers);
    // nShiftState: bit 0 Shift, bit 1 Ctrl, bit 2 Alt.
    static int16_t shiftState(Qt::KeyboardModifiers modifiers);

    // Timers whose identifier is their interval.
    void setTimer(int id);
    void killTimer(int id);
    bool timerActive(int id) const;
    virtual void onTimer(int id) {}

    // The widget the control lives in once activated: its own window, or the container's
    // widget when activated without one.
    QWidget* window() const;
    bool isWindowless() const { return windowless_.get() != nullptr; }
    QRect clientRect() const;
    // Take the focus for the control.
    void takeFocus();
    void captureMouse(bool capture);
    bool hasCapture() const { return capture_; }
    void setCursorShape(Qt::CursorShape shape);
    // Builds the control's presence in its widget again (a new window, or deactivation and
    // activation in the same site), keeping the geometry and the focus.
    void reactivateWindow();

    // Input, delivered only in run mode. Return true when handled.
    virtual void onMousePress(QMouseEvent*) {}
    virtual void onMouseRelease(QMouseEvent*) {}
    virtual void onMouseMove(QMouseEvent*) {}
    virtual void onMouseDoubleClick(QMouseEvent* e) { onMousePress(e); }
    virtual bool onKeyPress(QKeyEvent*) { return false; }
    virtual bool onKeyRelease(QKeyEvent*) { return false; }
    // Focus changes arrive in every mode.
    virtual void onFocusIn();
    virtual void onFocusOut();
    virtual void onResize() {}
    // After the window exists (child widgets can be created here).
    virtual void onWindowCreated() {}
    // Before the control leaves its widget (its window is destroyed, or it is deactivated in
    // the container's widget); a failure is reported once the control has left.
    virtual HRESULT onWindowDestroying() { return S_OK; }
    // Any other event of the window; return true when handled.
    virtual bool onEvent(QEvent*) { return false; }
    // The window's palette changed (the desktop's theme): system colours now translate to
    // other colours. The base repaints; controls that hand colours to Qt children hand them
    // again.
    virtual void onPaletteChange() { invalidate(); }

    // What the control tells assistive technology, read afresh each time. The base gives the
    // role of the class, the caption as name, the mnemonic and the enabled state; controls add
    // what they show (checked, value, text, the parts they draw).
    virtual void describe(AccessFacts& facts) const;
    // The facts with a name in every case: where describe names nothing (no caption, no text
    // shown), the first of the control's commands that has a spoken form (the main command
    // first), else the description of the control's class.
    AccessFacts accessFacts() const;
    // What the user knows a command by: the label the command server gives it, else the
    // command string in words; empty for an empty string.
    QString spokenCommand(const CommandBinding& binding) const;
    // An action asked for through accessibility, carried out as the matching user input
    // would be; false when the control has no such action.
    virtual bool accessibleAction(AccessAction) { return false; }
    // The press of one of the parts listed in AccessFacts::items.
    virtual bool activateAccessibleItem(int) { return false; }

    // Reads an ambient property from the site.
    bool ambient(DISPID id, com::Variant& value) const;

protected:
    // Show or hide the window as the server's visible state and the mode say; enable it.
    void applyShowState(bool visible);
    // Reads the main command's enabled and visible state; a failing read keeps `enabled` as
    // held and leaves the control shown.
    void readCommandState(int& enabled, bool& visible) const;
    // The state without a server or registration: disabled (repaint on change) and shown.
    void refreshUnbound();
    // Connection point for the control's events.
    ConnectionPoint& events() { return events_; }
    ConnectionPoint& propertySinks() { return notify_; }

    // Button-like controls keep `enabled` inside their face: the base reads it here.
    int enabled_ = 0;
    int shown_ = 1;
    bool focused_ = false;

protected:
    // The control's own interface; a derived class answers its other interfaces first.
    void* queryExtra(REFIID riid) override;

private:
    friend class ControlWindow;
    // Asked for by `from` only; never handed to containers.
    static constexpr IID kSelfIid = com::guidOf("E66033A7-3419-49A7-892C-76163053D3DE");
    HRESULT putProperty(const PropertyDesc& p, const VARIANT& value, PutKind kind);
    // Asks the site for the two ambients the run mode depends on.
    bool readRunMode() const;
    // Enables or disables the window unless it already is (compared before touching it).
    void applyEnabled(bool enable);
    // What activation gives the control either way: the show and enabled state, the
    // accessibility of the widget, the control's own children.
    void activated();
    // Tab and Backtab move the focus before the key reaches the control, as a window does.
    bool moveFocus(bool next);
    // A widget the control lived in is gone.
    static void forgetWidget(const QObject* widget);

    const ClassDescriptor& desc_;
    com::DualInterface dual_; // the control's own interface, bound on first request
    com::ComPtr<IVyrSite> site_;
    com::ComPtr<ICommandServer> server_;
    CommandBinding command_;
    std::vector<CommandBinding*> bindings_;
    ConnectionPoint events_;
    ConnectionPoint notify_;
    com::ComPtr<IFontDisp> font_;
    bool fontTaken_ = false; // font_ was taken from the ambient (or the default), not set
    std::string caption_;
    char mnemonic_ = 0;
    bool mnemonicUnannounced_ = false; // changed while the container could not be told
    bool dirty_ = false;
    bool frozen_ = false;
    bool capture_ = false;
    bool runMode_ = true;
    QPointer<ControlWindow> window_;
    // Windowless activation: the container's widget and its site.
    QPointer<QWidget> surface_;
    com::ComPtr<IVyrWindowlessSite> windowless_;
    std::map<int, int> timers_; // our identifier -> Qt timer id

protected:
    // Further command bindings of a control (the base binds `command()`); each is registered
    // and unregistered together with the main one.
    void addBinding(CommandBinding& binding) { bindings_.push_back(&binding); }
    const std::vector<CommandBinding*>& bindings() const { return bindings_; }
};

// Beeps (MessageBeep(0xFFFFFFFF)); counted so that tests can see it.
void messageBeep();
int beepCount();

} // namespace vyr::controls
