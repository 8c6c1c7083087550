#pragma once
// The public face of libvyrcontrols.so for containers: the exported entry points, the class
// identifiers of the class table, the command server and command client interfaces, and the
// two small interfaces through which a container hosts a control in a Qt widget.
// A container needs only this header (and the COM runtime of platform/com).
#include "platform/com/dispatch.h"
#include "platform/com/unknown.h"

extern "C" {
HRESULT DllCanUnloadNow();
HRESULT DllGetClassObject(REFCLSID clsid, REFIID iid, void** out);
HRESULT DllRegisterServer();
HRESULT DllUnregisterServer();
}

namespace vyr::controls {

constexpr GUID LIBID_VYRCTRLSLib = vyr::com::guidOf("A19F6957-7884-11D0-BEF3-00400538977D");

constexpr CLSID CLSID_Button = vyr::com::guidOf("A19F6964-7884-11D0-BEF3-00400538977D");
constexpr CLSID CLSID_ButtonPpg = vyr::com::guidOf("7BBB4243-45D2-11D2-A183-0000CB751FFC");
constexpr CLSID CLSID_OptionButton = vyr::com::guidOf("B22DF756-8EF0-4F18-8BB5-B88EF811880F");
constexpr CLSID CLSID_ButtonList = vyr::com::guidOf("1C042062-CF9B-11D4-ADED-00805FC13A04");
constexpr CLSID CLSID_DisplayButton = vyr::com::guidOf("193A3823-869C-424E-B8B9-B9F0E218817C");
constexpr CLSID CLSID_DisplayOptionButton = vyr::com::guidOf("6CE30F51-B563-11D4-A811-00104B4C7EAF");
constexpr CLSID CLSID_ColorPpg = vyr::com::guidOf("75D4E703-475C-11D2-A185-0000CB751FFC");
constexpr CLSID CLSID_PictPpg = vyr::com::guidOf("E2CE4FA3-48EF-11D2-A187-0000CB751FFC");
constexpr CLSID CLSID_FontPpg = vyr::com::guidOf("AC900093-4A83-11D2-A18A-0000CB751FFC");
constexpr CLSID CLSID_RadioButton = vyr::com::guidOf("C3E35379-9120-11D3-ACC2-00805FC13A04");
constexpr CLSID CLSID_RadioButtonPpg = vyr::com::guidOf("C3E3537A-9120-11D3-ACC2-00805FC13A04");
constexpr CLSID CLSID_Frame = vyr::com::guidOf("4D5EA736-923A-11D3-A344-0000CB751FFC");
constexpr CLSID CLSID_FramePpg = vyr::com::guidOf("4D5EA738-923A-11D3-A344-0000CB751FFC");
constexpr CLSID CLSID_PropertyBrowser = vyr::com::guidOf("6E60B4FB-C47C-4C2B-9BF4-A989C6EF20AE");
constexpr CLSID CLSID_Static = vyr::com::guidOf("EC9C28C9-743A-42EB-B353-C6F0F4AACC4F");
constexpr CLSID CLSID_Display = vyr::com::guidOf("F134A1EE-2B54-4EA8-819A-879F944A9FF8");
constexpr CLSID CLSID_Slider = vyr::com::guidOf("7F43A759-269B-4E6D-BA33-760937F4E589");
constexpr CLSID CLSID_SpectraCtrl = vyr::com::guidOf("405052E0-EBE1-11D4-8D90-00C04FA9E953");
constexpr CLSID CLSID_Tree = vyr::com::guidOf("712A77B0-FDE0-11D4-8D9F-00C04FA9E953");
constexpr CLSID CLSID_SpiSlider = vyr::com::guidOf("8DEACBC0-E186-11D4-8D89-00C04FA9E953");
constexpr CLSID CLSID_List = vyr::com::guidOf("A7D9EAFA-D7B1-47BA-A434-AC8AB60E7076");
constexpr CLSID CLSID_SliceCtrl = vyr::com::guidOf("4B40A351-0822-11D5-8DA4-00C04FA9E953");
constexpr CLSID CLSID_MultiList = vyr::com::guidOf("C7F42A93-C529-11D4-8D72-00C04FA9E953");
constexpr CLSID CLSID_VyrValueEdit = vyr::com::guidOf("2E554D32-1CFA-4549-B4C4-4AA4A096668B");
constexpr CLSID CLSID_VyrTimeEdit = vyr::com::guidOf("E4EA2E20-22BC-4F44-BE8E-74D1D406607D");
constexpr CLSID CLSID_VyrEdit = vyr::com::guidOf("13E81386-2E7B-4EB6-9A6C-478752F29258");
constexpr CLSID CLSID_VyrComboBox = vyr::com::guidOf("C62BD041-01F1-4DFF-A04F-28E0E674809A");
constexpr CLSID CLSID_VyrCheckBox = vyr::com::guidOf("865495B7-16A6-4051-BF2A-997217D19667");
constexpr CLSID CLSID_Objective = vyr::com::guidOf("595F800F-A15C-42A9-AFE5-03D3FC11805D");
constexpr CLSID CLSID_PopupDialog = vyr::com::guidOf("5055DF0D-51E2-453B-B9C3-6006492D44AF");
constexpr CLSID CLSID_GrabField = vyr::com::guidOf("564CD2A3-8B8C-4A9A-A0FD-DB55DC5651A0");
constexpr CLSID CLSID_MultiPageFrame = vyr::com::guidOf("5C867548-3085-4476-B64E-F4F2EC37CE12");
// Declared by the type library but neither created nor registered by the module.
constexpr CLSID CLSID_AtlControlHostPosition = vyr::com::guidOf("A30BB631-2196-4E0E-A44F-D93D8806462E");

// Dual interfaces of the controls (their type information comes from the library's type
// library, LIBID_VYRCTRLSLib version 1.0) and their event interfaces.
constexpr IID IID_IButton = vyr::com::guidOf("176DF051-ACA9-4ED1-80A9-221B1F81BC70");
constexpr IID IID_IOptionButton = vyr::com::guidOf("68DD6EE3-C705-4D57-883C-8EFB658F74CA");
constexpr IID IID_IFrame = vyr::com::guidOf("5693C545-1C76-4991-8499-F0A9DCB5F273");
constexpr IID IID_IMultiPageFrame = vyr::com::guidOf("0BD67167-35D0-4CD8-8A14-24B6341777BC");
constexpr IID IID_ISlider = vyr::com::guidOf("AC9592CE-76CA-496D-9FDA-81D1D55190C3");
constexpr IID IID_IVyrValueEdit = vyr::com::guidOf("5C01805B-DB3E-44E7-BA86-F2AC2BD3C425");
constexpr IID IID_ISpectraCtrl = vyr::com::guidOf("4BB98F75-73AB-44B9-9940-CC4913F79BAA");
constexpr IID IID_ISliceCtrl = vyr::com::guidOf("8F798237-F366-4E8C-A8EC-2E4280E284AC");
constexpr IID IID_IVyrPropertyBrowser = vyr::com::guidOf("8C2E9B61-4D7A-4F0E-9B3C-5A1D2E7F4B10");
// The aliases of the type library: OLE_COLOR (the standard one) and VYR_COMMAND.
constexpr GUID IID_OLE_COLOR = vyr::com::guidOf("66504301-BE0F-101A-8BBB-00AA00300CAB");
constexpr GUID IID_VYR_COMMAND = vyr::com::guidOf("2B3F7A90-6C1E-4D57-A8E2-91C4B07D35F6");
constexpr IID IID_IRadioButton = vyr::com::guidOf("60F1312B-024F-4FA6-9FA8-2CE17C10EFB6");
constexpr IID IID_IDisplayButton = vyr::com::guidOf("423699B6-627A-4703-95C7-57647569CAF7");
constexpr IID IID_IDisplayOptionButton = vyr::com::guidOf("4662A891-494D-4559-96C9-2E759A5A9CE7");
constexpr IID IID_IVyrCheckBox = vyr::com::guidOf("CBF0DA33-BC5D-437A-96BB-D7B252A9F2AC");
constexpr IID IID_IButtonList = vyr::com::guidOf("6BFF524A-92C1-4BAD-A270-D028538E1C41");
constexpr IID IID_IStatic = vyr::com::guidOf("E25DE915-B3D1-4F4E-BAE0-E6ACAED7D6D3");
constexpr IID IID_IDisplay = vyr::com::guidOf("737638F4-9C59-4B30-95A2-2A8E1575072F");
constexpr IID IID_IList = vyr::com::guidOf("CAC5AA74-3142-4174-80D6-4CFBF11F9689");
constexpr IID IID_IMultiList = vyr::com::guidOf("0CA20AA7-8798-411B-9582-7869D0B075A2");
constexpr IID IID_ITree = vyr::com::guidOf("2C99A5BB-75E9-469F-A1A7-D31613B4A627");
constexpr IID IID_IVyrComboBox = vyr::com::guidOf("E60C55C7-321D-4360-B011-47C22705C881");
constexpr IID DIID__DButton = vyr::com::guidOf("620B1AF2-A1D1-455A-AFBF-3DDA383FE3A9");
constexpr IID IID_IGrabField = vyr::com::guidOf("0709D19F-757C-4EFA-A04A-4A1DE5F62DE8");
constexpr IID IID_IListButton = vyr::com::guidOf("AA6D6C16-5B2D-4A27-B1CE-FAB52C489A70");
constexpr IID IID_IPopupDialog = vyr::com::guidOf("6DE96307-7769-41E9-A92A-73A657C88009");
constexpr IID DIID__DSlider = vyr::com::guidOf("0FD66ECD-37E3-4A6E-9859-A2748EE1E340");
constexpr IID IID_ISpiSlider = vyr::com::guidOf("14EC8700-5A6D-44DD-BFE8-6A5A05454E37");
constexpr IID IID_IVyrTimeEdit = vyr::com::guidOf("6C42AAC7-8404-40BB-97CC-85A600EEEED3");
constexpr IID IID_IVyrEdit = vyr::com::guidOf("20305DD5-9CC6-4833-B9C1-F00CC18B405F");

// Events of _DButton and _DSlider.
constexpr DISPID DISPID_EVENT_CLICK = -600;
constexpr DISPID DISPID_EVENT_KEYPRESS = -603;
constexpr DISPID DISPID_EVENT_MOUSEDOWN = -605;
constexpr DISPID DISPID_EVENT_MOUSEMOVE = -606;
constexpr DISPID DISPID_EVENT_MOUSEUP = -607;
constexpr DISPID DISPID_EVENT_SCROLL = 1;
constexpr DISPID DISPID_EVENT_CHANGE = 2;

} // namespace vyr::controls

struct ICommandServer;

// Implemented by every control but the RadioButton.
struct ICommandClient : IUnknown {
    STDMETHOD(SetCommandServer)(ICommandServer* server) = 0;
    STDMETHOD(OnCommandStateChanged)() = 0;
    STDMETHOD(OnCommandStateChangedEx)() = 0; // same behaviour as OnCommandStateChanged
};

// Supplied by the host application. A cookie is the LONG RegisterCommand returns (0 = none).
// Slots 7, 8 and 31-33 belong to the host; they are declared so that GetObject keeps slot 34.
struct ICommandServer : IDispatch {
    STDMETHOD(HostSlot7)() = 0;
    STDMETHOD(HostSlot8)() = 0;
    STDMETHOD(RegisterCommand)(BSTR command, ICommandClient* client, LONG* cookie) = 0;
    STDMETHOD(UnregisterCommand)(LONG cookie, ICommandClient* client) = 0;
    STDMETHOD(GetCommandVisible)(LONG cookie, LONG* visible) = 0;
    STDMETHOD(GetCommandEnabled)(LONG cookie, VARIANT_BOOL* enabled) = 0;
    STDMETHOD(GetCommandState)(LONG cookie, LONG* state) = 0;
    STDMETHOD(GetMinimum)(LONG cookie, double* value) = 0;
    STDMETHOD(GetMaximum)(LONG cookie, double* value) = 0;
    STDMETHOD(GetEntryCount)(LONG cookie, LONG* count) = 0;
    STDMETHOD(GetEntryText)(LONG cookie, LONG index, BSTR* text) = 0;
    STDMETHOD(GetEntryLong)(LONG cookie, LONG index, LONG* value) = 0;
    STDMETHOD(GetValue)(LONG cookie, double* value) = 0;
    STDMETHOD(GetIndex)(LONG cookie, LONG* index) = 0;
    STDMETHOD(GetText)(LONG cookie, BSTR* text) = 0;
    STDMETHOD(GetColor)(LONG cookie, OLE_COLOR* color) = 0;
    STDMETHOD(GetEntryState)(LONG cookie, LONG index, LONG* state) = 0;
    STDMETHOD(GetEntryValue)(LONG cookie, LONG index, double* value) = 0;
    STDMETHOD(ExecuteCommand)(LONG cookie) = 0;
    STDMETHOD(ActivateEntry)(LONG cookie, LONG index) = 0;
    STDMETHOD(SelectEntry)(LONG cookie, LONG index) = 0;
    STDMETHOD(SetValue)(LONG cookie, double value) = 0;
    STDMETHOD(SetState)(LONG cookie, LONG state) = 0;
    STDMETHOD(SetText)(LONG cookie, BSTR text) = 0;
    STDMETHOD(HostSlot31)() = 0;
    STDMETHOD(HostSlot32)() = 0;
    STDMETHOD(HostSlot33)() = 0;
    STDMETHOD(GetObject)(LONG cookie, IUnknown** object) = 0;
};

constexpr IID IID_ICommandClient = vyr::com::guidOf("33AF1BCD-E92D-4977-8733-750E7297D39F");
constexpr IID IID_ICommandServer = vyr::com::guidOf("C3FA603E-6EBB-4D66-978D-F22BA7346114");

// A command server may also answer, through QueryInterface, what a command is called for the
// user ("Detector gain"): a control without a caption of its own is announced to screen readers
// by it. ICommandServer stays as it was first published.
struct ICommandLabel : IUnknown {
    // The label of the command registered under `cookie`; S_FALSE with an empty string when
    // the command has none.
    STDMETHOD(GetCommandLabel)(LONG cookie, BSTR* label) = 0;
};

constexpr IID IID_ICommandLabel = vyr::com::guidOf("52FFC763-FB97-449E-957B-333FB7758EA1");

// The container's side of hosting: ambient properties and notifications.
struct IVyrSite : IUnknown {
    // Ambient properties by their standard dispids (user mode -709, UI dead -710, font -703 ...).
    STDMETHOD(GetAmbientProperty)(DISPID id, VARIANT* value) = 0;
    // The control's keyboard information (its mnemonic) changed.
    STDMETHOD(OnControlInfoChanged)() = 0;
    // The control's window gained (TRUE) or lost the focus.
    STDMETHOD(OnFocus)(BOOL gotFocus) = 0;
};

// A site that also lists the controls beside its own (asked for with QueryInterface; a site
// without it gives a control no siblings). IVyrSite stays as it was first published.
struct IVyrSite2 : IVyrSite {
    // The running controls of the container that holds this site's control (the control
    // itself included), in the container's child order: the index-th one, AddRef'ed.
    // S_FALSE with a null pointer past the last one.
    STDMETHOD(GetSibling)(ULONG index, IUnknown** control) = 0;
};

// The control's side: activation in a Qt parent widget. Widgets cross as QWidget* in void*.
struct IVyrControl : IUnknown {
    STDMETHOD(SetSite)(IVyrSite* site) = 0;
    STDMETHOD(GetSite)(IVyrSite** site) = 0;
    // Creates the control's own window as a child of `parentWidget` (a QWidget*) at `rect`.
    STDMETHOD(CreateControlWindow)(void* parentWidget, const RECT* rect, void** window) = 0;
    STDMETHOD(GetControlWindow)(void** window) = 0;
    STDMETHOD(DestroyControlWindow)() = 0;
    // The container changed an ambient property (DISPID_UNKNOWN: several).
    STDMETHOD(OnAmbientPropertyChange)(DISPID id) = 0;
    // The mnemonic character of the caption, 0 for none.
    STDMETHOD(GetMnemonic)(char* mnemonic) = 0;
    // The container saw the mnemonic's key combination.
    STDMETHOD(OnMnemonic)() = 0;
};

// Windowless activation: the container gives the control no window of its own. The control
// draws into the container's widget with the container's painter, receives that widget's
// events through the site, and asks the site for what a window would give it. The site is
// the control's IVyrSite object answering QueryInterface for this interface.
struct IVyrWindowlessSite : IUnknown {
    // The container's widget (a QWidget*) the control draws into and places its Qt children
    // in; its whole rectangle is the control's.
    STDMETHOD(GetWindow)(void** widget) = 0;
    // Repaint `rect` of the control (null: all of it).
    STDMETHOD(InvalidateRect)(const RECT* rect) = 0;
    // Mouse capture: S_OK from GetCapture while the control holds it, else S_FALSE.
    STDMETHOD(SetCapture)(BOOL capture) = 0;
    STDMETHOD(GetCapture)() = 0;
    // Keyboard focus: SetFocus(TRUE) takes it, FALSE gives it back to the container.
    // GetFocus answers S_OK while the control has it, else S_FALSE.
    STDMETHOD(SetFocus)(BOOL focus) = 0;
    STDMETHOD(GetFocus)() = 0;
    // Moves the focus to the next (TRUE) or previous control of the container's Tab order:
    // S_OK when it moved, S_FALSE when there was nowhere to go.
    STDMETHOD(MoveFocus)(BOOL next) = 0;
    // The mouse cursor over the control, a Qt::CursorShape.
    STDMETHOD(SetCursor)(LONG shape) = 0;
    // Shows or hides the control, enables or disables its input.
    STDMETHOD(ShowObject)(BOOL shown) = 0;
    STDMETHOD(EnableObject)(BOOL enabled) = 0;
};

// The control's side of windowless activation (asked for with QueryInterface; a control
// without it is activated in a window of its own through IVyrControl).
struct IVyrWindowlessControl : IUnknown {
    // Activates the control in the site's widget; its IVyrControl site must be set first.
    STDMETHOD(InPlaceActivate)(IVyrWindowlessSite* site) = 0;
    // Removes what the control placed in the site's widget; the site may host another.
    STDMETHOD(InPlaceDeactivate)() = 0;
    // Paints the control with `painter` (a QPainter* on the site's widget, clipped to what
    // needs painting) into `bounds`.
    STDMETHOD(Draw)(void* painter, const RECT* bounds) = 0;
    // An event of the site's widget (a QEvent*) other than its paint events, before the widget
    // handles it itself: S_OK when the control used it, S_FALSE when the widget goes on.
    STDMETHOD(OnWindowEvent)(void* event) = 0;
};

// The property browser's own members, which a control page passes SetDispatch and
// AddDispatch on to.
struct IVyrPropertyBrowser : IDispatch {
    STDMETHOD(SetDispatch)(IDispatch* object) = 0;
    STDMETHOD(AddDispatch)(IDispatch* object) = 0;
    STDMETHOD(IsPointInClientArea)(VARIANT_BOOL* inClientArea, LONG x, LONG y) = 0;
};

// The Frame's dual interface in its slot order, for containers that call it directly.
struct IFrame : IDispatch {
    STDMETHOD(get_Locked)(VARIANT_BOOL* value) = 0;
    STDMETHOD(put_Locked)(VARIANT_BOOL value) = 0;
    STDMETHOD(get_Command)(BSTR* value) = 0;
    STDMETHOD(put_Command)(BSTR value) = 0;
    STDMETHOD(put_Caption)(BSTR value) = 0;
    STDMETHOD(get_Caption)(BSTR* value) = 0;
    STDMETHOD(get_CaptionFont)(IDispatch** value) = 0;
    STDMETHOD(putref_CaptionFont)(IDispatch* value) = 0;
    STDMETHOD(put_CaptionFont)(IDispatch* value) = 0;
    STDMETHOD(get_CaptionTextColor)(OLE_COLOR* value) = 0;
    STDMETHOD(put_CaptionTextColor)(OLE_COLOR value) = 0;
    STDMETHOD(get_CaptionBackColor)(OLE_COLOR* value) = 0;
    STDMETHOD(put_CaptionBackColor)(OLE_COLOR value) = 0;
    STDMETHOD(get_CaptionStyle)(LONG* value) = 0;
    STDMETHOD(put_CaptionStyle)(LONG value) = 0;
    STDMETHOD(get_FrameStyle)(LONG* value) = 0;
    STDMETHOD(put_FrameStyle)(LONG value) = 0;
    STDMETHOD(get_BackColor)(OLE_COLOR* value) = 0;
    STDMETHOD(put_BackColor)(OLE_COLOR value) = 0;
    STDMETHOD(get_BackPicture)(IDispatch** value) = 0;
    STDMETHOD(putref_BackPicture)(IDispatch* value) = 0;
    STDMETHOD(put_BackPicture)(IDispatch* value) = 0;
    STDMETHOD(get_BackPictureTopLevelAlign)(VARIANT_BOOL* value) = 0;
    STDMETHOD(put_BackPictureTopLevelAlign)(VARIANT_BOOL value) = 0;
    STDMETHOD(get_ButtonCount)(LONG* value) = 0;
    STDMETHOD(put_ButtonCount)(LONG value) = 0;
    STDMETHOD(get_ButtonRows)(LONG* value) = 0;
    STDMETHOD(put_ButtonRows)(LONG value) = 0;
    STDMETHOD(get_ButtonSize)(LONG* value) = 0;
    STDMETHOD(put_ButtonSize)(LONG value) = 0;
    STDMETHOD(get_ButtonCommand)(BSTR* value) = 0;
    STDMETHOD(put_ButtonCommand)(BSTR value) = 0;
    STDMETHOD(get_ButtonCaption)(BSTR* value) = 0;
    STDMETHOD(put_ButtonCaption)(BSTR value) = 0;
    STDMETHOD(get_ButtonTextColor)(OLE_COLOR* value) = 0;
    STDMETHOD(put_ButtonTextColor)(OLE_COLOR value) = 0;
    STDMETHOD(get_ButtonAlign)(LONG* value) = 0;
    STDMETHOD(put_ButtonAlign)(LONG value) = 0;
    STDMETHOD(get_ButtonFont)(IDispatch** value) = 0;
    STDMETHOD(putref_ButtonFont)(IDispatch* value) = 0;
    STDMETHOD(put_ButtonFont)(IDispatch* value) = 0;
    STDMETHOD(get_ButtonPicture)(IDispatch** value) = 0;
    STDMETHOD(putref_ButtonPicture)(IDispatch* value) = 0;
    STDMETHOD(put_ButtonPicture)(IDispatch* value) = 0;
    STDMETHOD(get_ButtonBackPicture)(IDispatch** value) = 0;
    STDMETHOD(putref_ButtonBackPicture)(IDispatch* value) = 0;
    STDMETHOD(put_ButtonBackPicture)(IDispatch* value) = 0;
    STDMETHOD(get_ButtonPicturePosition)(LONG* value) = 0;
    STDMETHOD(put_ButtonPicturePosition)(LONG value) = 0;
    STDMETHOD(get_ButtonCaptionPosition)(LONG* value) = 0;
    STDMETHOD(put_ButtonCaptionPosition)(LONG value) = 0;
    STDMETHOD(get_DragControls)(VARIANT_BOOL* value) = 0;
    STDMETHOD(put_DragControls)(VARIANT_BOOL value) = 0;
    STDMETHOD(get_ButtonCurrent)(LONG* value) = 0;
    STDMETHOD(put_ButtonCurrent)(LONG value) = 0;
    STDMETHOD(get_CaptionTop)(VARIANT_BOOL* value) = 0;
    STDMETHOD(put_CaptionTop)(VARIANT_BOOL value) = 0;
    STDMETHOD(get_BackStyle)(LONG* value) = 0;
    STDMETHOD(put_BackStyle)(LONG value) = 0;
    STDMETHOD(get_CaptionStartColor)(OLE_COLOR* value) = 0;
    STDMETHOD(put_CaptionStartColor)(OLE_COLOR value) = 0;
    STDMETHOD(get_CaptionEndColor)(OLE_COLOR* value) = 0;
    STDMETHOD(put_CaptionEndColor)(OLE_COLOR value) = 0;
    STDMETHOD(get_LoadOption)(LONG* value) = 0;
    STDMETHOD(put_LoadOption)(LONG value) = 0;
    STDMETHOD(AboutBox)() = 0;
};

constexpr IID IID_IVyrSite = vyr::com::guidOf("C68B771E-FF5A-46DE-BB5E-4D39A627EF8D");
constexpr IID IID_IVyrSite2 = vyr::com::guidOf("B43E0291-4059-487D-ABEF-68664754D5AC");
constexpr IID IID_IVyrControl = vyr::com::guidOf("90523E19-DE6F-41F7-BDBC-19B041C074A0");
constexpr IID IID_IVyrWindowlessSite = vyr::com::guidOf("178B30F4-3621-45C8-A54D-285BD3E23D47");
constexpr IID IID_IVyrWindowlessControl = vyr::com::guidOf("53EAB2EE-18D7-4B63-9C46-2B7E5D59D525");
