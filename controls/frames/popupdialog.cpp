#include "controls/frames/popupdialog.h"
#include "controls/core/draw/drawing.h"
#include "controls/core/properties.h"
#include "controls/frames/dragwatch.h"
#include "controls/frames/pagedform.h"
#include "controls/frames/popupregistry.h"
#include "platform/com/bstr.h"
#include "platform/com/memstream.h"
#include "controls/core/host.h"
#include <QApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

namespace vyr::controls {

using com::Variant;

namespace {

RECT toRect(const QRect& r) { return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()}; }
QRect toQRect(const RECT& r) { return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top); }

const EnumNames& displayStyleNames()
{
    static const EnumNames n{{"Use text and color properties", "Display text and color fom application"}, VT_I4, {},
                             nullptr, {"eOwnTextAndColor", "eServerTextAndColor"}};
    return n;
}
const EnumNames& loadOptionNames()
{
    static const EnumNames n{{"Load if visible; Destroy if invisible", "Load if visible and keep", "Preload"}, VT_I4, {},
                             nullptr, {"eLoadVisibleDestroyInvisible", "eLoadVisibleKeep", "ePreload"}};
    return n;
}
const EnumNames& autoCloseNames()
{
    static const EnumNames n{
        {"No automatic close", "mouse button pressed in parent window", "mouse button pressed in any window"}, VT_I4, {},
        nullptr, {"eNoAutoClose", "eCloseOnParentClick", "eCloseOnAnyClick"}};
    return n;
}

// Whether the widget with the focus asks for Escape itself (as an editor in the middle of an
// input does): it accepts the shortcut override.
bool wantsEscape(QWidget* focus)
{
    if (!focus)
        return false;
    QKeyEvent probe(QEvent::ShortcutOverride, Qt::Key_Escape, Qt::NoModifier);
    probe.ignore();
    QCoreApplication::sendEvent(focus, &probe);
    return probe.isAccepted();
}

} // namespace

// The popup window: a top-level tool window with a sizing border that holds the page. It can be
// moved with the mouse or Shift and the arrow keys while the popup's layout is open for editing.
class PopupWindow final : public QWidget {
public:
    explicit PopupWindow(PopupDialog& dialog)
        : QWidget(nullptr, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowStaysOnTopHint), dialog_(dialog)
    {
        setAttribute(Qt::WA_DeleteOnClose, false);
        setFocusPolicy(Qt::ClickFocus);
    }

protected:
    void resizeEvent(QResizeEvent*) override
    {
        if (frames::ControlPage* page = dialog_.page())
            page->moveWindow({0, 0, width(), height()});
    }
    void keyPressEvent(QKeyEvent* e) override
    {
        if (e->key() == Qt::Key_Escape) {
            dialog_.close(false);
            return;
        }
        if (designing() && (e->modifiers() & Qt::ShiftModifier)) {
            const QPoint step = e->key() == Qt::Key_Left    ? QPoint(-1, 0)
                                : e->key() == Qt::Key_Up    ? QPoint(0, -1)
                                : e->key() == Qt::Key_Right ? QPoint(1, 0)
                                : e->key() == Qt::Key_Down  ? QPoint(0, 1)
                                                            : QPoint();
            if (!step.isNull()) {
                move(pos() + step);
                return;
            }
        }
        QWidget::keyPressEvent(e);
    }
    void mousePressEvent(QMouseEvent* e) override
    {
        if (e->button() != Qt::LeftButton || !designing())
            return;
        grabMouse();
        moving_ = true;
        last_ = e->globalPosition().toPoint();
        since_.start();
    }
    void mouseMoveEvent(QMouseEvent* e) override
    {
        if (!moving_ || since_.elapsed() <= frames::readDragSettings().delayMs)
            return;
        const QPoint now = e->globalPosition().toPoint();
        move(pos() + (now - last_));
        last_ = now;
    }
    void mouseReleaseEvent(QMouseEvent*) override
    {
        if (moving_)
            releaseMouse();
        moving_ = false;
    }

private:
    bool designing() const { return dialog_.lockState() == std::optional<bool>(false); }

    PopupDialog& dialog_;
    bool moving_ = false;
    QPoint last_;
    QElapsedTimer since_;
};

PopupDialog::PopupDialog() : PushButtonBase(classDescriptor())
{
    face.executeOnRelease = 1;
    enabled_ = 1; // usable until a registered command says otherwise
}

PopupDialog::~PopupDialog()
{
    PopupRegistry::instance().remove(this);
    destroyPopup();
}

const ClassDescriptor& PopupDialog::classDescriptor()
{
    using C = PopupDialog;
    static const ClassDescriptor d{
        CLSID_PopupDialog,
        IID_IPopupDialog,
        DIID__DButton,
        {
            props::command(),
            props::boolField<C>(kLocked, "Locked", [](C& c) -> int& { return c.locked; },
                                [](C& c) { c.afterChange(kLocked); }),
            props::caption(),
            props::font(),
            foreColorProperty(),
            backColorProperty(),
            pictureProperty(),
            backPictureProperty(),
            captionPositionProperty(),
            picturePositionProperty(),
            props::longField<C>(kPopupLeft, "PopupLeft", [](C& c) -> int32_t& { return c.popupLeft; }, nullptr,
                                [](C& c) { c.afterChange(kPopupLeft); }),
            props::longField<C>(kPopupTop, "PopupTop", [](C& c) -> int32_t& { return c.popupTop; }, nullptr,
                                [](C& c) { c.afterChange(kPopupTop); }),
            props::longField<C>(kPopupWidth, "PopupWidth", [](C& c) -> int32_t& { return c.popupWidth; }, nullptr,
                                [](C& c) { c.afterChange(kPopupWidth); }),
            props::longField<C>(kPopupHeight, "PopupHeight", [](C& c) -> int32_t& { return c.popupHeight; }, nullptr,
                                [](C& c) { c.afterChange(kPopupHeight); }),
            props::longField<C>(kButtonDisplayStyle, "ButtonDisplayStyle",
                                [](C& c) -> int32_t& { return c.buttonDisplayStyle; }, &displayStyleNames(),
                                [](C& c) { c.refreshFromServer(); }),
            props::longField<C>(kLoadOption, "LoadOption", [](C& c) -> int32_t& { return c.loadOption; },
                                &loadOptionNames()),
            props::longField<C>(kAutoClose, "AutoClose", [](C& c) -> int32_t& { return c.autoClose; },
                                &autoCloseNames()),
            styleBrowseEntry(),
        },
        {},
        {50, DISPID_CAPTION, DISPID_BACKCOLOR, DISPID_FORECOLOR, 5, 6, 7, 8, DISPID_FONT, kPopupLeft, kPopupTop,
         kPopupWidth, kPopupHeight, kButtonDisplayStyle, kLoadOption, kAutoClose},
    };
    return d;
}

void* PopupDialog::queryExtra(REFIID riid)
{
    if (riid == IID_IControlPageOwner)
        return static_cast<IControlPageOwner*>(this);
    if (riid == IID_IPageOwnerAware)
        return static_cast<IPageOwnerAware*>(this);
    return ControlBase::queryExtra(riid);
}

void PopupDialog::afterChange(DISPID id)
{
    if (id == kLocked) {
        if (page_)
            page_->setLocked(locked != 0);
        return;
    }
    // A position property: an open popup moves at once.
    if (isOpen())
        place();
}

// ---------------------------------------------------------------- lock state

std::optional<bool> PopupDialog::lockState() const
{
    if (locked)
        return true;
    BOOL ownerLocked = FALSE;
    if (pageOwner_ && SUCCEEDED(pageOwner_->IsLocked(&ownerLocked)))
        return ownerLocked != FALSE;
    return std::nullopt;
}

HRESULT PopupDialog::IsLocked(BOOL* out)
{
    if (!out)
        return E_POINTER;
    // Unknown counts as locked: nothing is dragged out of a popup whose state nobody knows.
    *out = lockState().value_or(true) ? TRUE : FALSE;
    return S_OK;
}

HRESULT PopupDialog::GetAmbientProperty(DISPID id, VARIANT* value)
{
    if (!value)
        return E_POINTER;
    com::ComPtr<IVyrSite> site;
    if (SUCCEEDED(GetSite(site.put())) && site)
        return site->GetAmbientProperty(id, value);
    VariantInit(value);
    return DISP_E_MEMBERNOTFOUND;
}

HRESULT PopupDialog::OnPageChanged(IUnknown*)
{
    com::ComPtr<IVyrSite> site;
    if (SUCCEEDED(GetSite(site.put())) && site)
        return site->OnControlInfoChanged();
    return S_OK;
}

HRESULT PopupDialog::OnAmbientPropertyChange(DISPID id)
{
    const HRESULT hr = ControlBase::OnAmbientPropertyChange(id);
    if (page_)
        page_->ambientChanged(id);
    return hr;
}

HRESULT PopupDialog::SetPageOwner(IControlPageOwner* owner)
{
    pageOwner_ = owner;
    return S_OK;
}

// ---------------------------------------------------------------- opening and closing

QWidget* PopupDialog::popupWindow() const { return popup_; }

bool PopupDialog::isOpen() const { return popup_ && popup_->isVisible(); }

RECT PopupDialog::buttonRect() const
{
    QWidget* w = window();
    if (!w)
        return {};
    return toRect(QRect(w->mapToGlobal(QPoint(0, 0)), w->size()));
}

void PopupDialog::place()
{
    QWidget* w = window();
    if (!popup_ || !w)
        return;
    const QScreen* screen = w->screen() ? w->screen() : QGuiApplication::primaryScreen();
    const RECT desktop = screen ? toRect(screen->geometry()) : RECT{0, 0, 1 << 16, 1 << 16};
    const RECT r = frames::placePopup(buttonRect(), popupLeft, popupTop, popupWidth, popupHeight, desktop, offset_);
    placing_ = true;
    popup_->setGeometry(toQRect(r));
    placing_ = false;
}

void PopupDialog::follow()
{
    if (!popup_ || !window())
        return;
    const frames::PopupPoint c = frames::buttonCentre(buttonRect());
    placing_ = true;
    // The client rectangle is placed, as at opening (move() would place the frame).
    popup_->setGeometry(QRect(QPoint(c.x + offset_.x, c.y + offset_.y), popup_->size()));
    placing_ = false;
}

HRESULT PopupDialog::create()
{
    QWidget* button = window();
    if (!button)
        return E_FAIL;
    page_ = std::make_unique<frames::ControlPage>();
    page_->setOwner(this);
    page_->setLocked(locked != 0);
    page_->setCommandServer(server());
    popup_ = new PopupWindow(*this);
    place();
    page_->setParentWidget(popup_);
    HRESULT hr = page_->createWindow({0, 0, popup_->width(), popup_->height()});
    // In run mode the page runs its controls; in design mode its layout is open for editing.
    page_->setLocked(isRunMode());
    PopupRegistry::instance().add(this, popup_, button);
    if (SUCCEEDED(hr) && !saved_.empty()) {
        auto s = com::MemoryStream::create(saved_);
        hr = page_->load(s.get(), saved_.size());
    }
    if (FAILED(hr)) {
        destroyPopup();
        PopupRegistry::instance().remove(this);
        return hr;
    }
    return S_OK;
}

HRESULT PopupDialog::open()
{
    if (!popup_ || !page_) {
        HRESULT hr = create();
        if (FAILED(hr))
            return hr;
    }
    place();
    popup_->show();
    popup_->raise();
    return S_OK;
}

void PopupDialog::destroyPopup()
{
    if (page_)
        page_->destroyWindow();
    page_.reset();
    if (popup_) {
        popup_->hide();
        popup_->deleteLater();
    }
    popup_ = nullptr;
}

void PopupDialog::close(bool keepWindow)
{
    if (!popup_ || !page_)
        return;
    if (loadOption != 0 && !keepWindow) {
        popup_->hide();
        return;
    }
    auto s = com::MemoryStream::create();
    if (FAILED(page_->save(s.get()))) {
        popup_->hide(); // nothing is lost: the controls stay
        return;
    }
    saved_ = s->bytes();
    // The popup window goes with its page; so do the page's controls.
    destroyPopup();
    PopupRegistry::instance().remove(this);
}

// ---------------------------------------------------------------- the registry's reports

void PopupDialog::watchedWindowGone() { close(true); }

void PopupDialog::watchedWindowMoved()
{
    if (!placing_)
        follow();
}

void PopupDialog::popupGeometryChanged()
{
    if (placing_ || !popup_ || !window() || !popup_->isVisible())
        return;
    const frames::PopupPoint c = frames::buttonCentre(buttonRect());
    const QRect g = popup_->geometry();
    offset_ = {g.x() - c.x, g.y() - c.y};
    // Moved or resized by the user: the new place and size become the properties.
    const std::pair<int32_t*, DISPID> now[] = {{&popupLeft, kPopupLeft}, {&popupTop, kPopupTop},
                                               {&popupWidth, kPopupWidth}, {&popupHeight, kPopupHeight}};
    const int32_t values[] = {offset_.x, offset_.y, g.width(), g.height()};
    for (size_t i = 0; i < 4; ++i) {
        if (*now[i].first != values[i]) {
            *now[i].first = values[i];
            changed(now[i].second);
        }
    }
}

void PopupDialog::pressed(QWidget* target, QPoint global, bool clientArea)
{
    if (!popup_ || !target)
        return;
    QWidget* button = window();
    frames::PopupPress p;
    p.inWatched = clientArea && PopupRegistry::instance().inWatched(this, target);
    p.onButton = button && (target == button || button->isAncestorOf(target));
    p.popupVisible = popup_->isVisible();
    p.insidePopup = target == popup_ || popup_->isAncestorOf(target) || popup_->geometry().contains(global);
    p.locked = lockState();
    p.onHostedControl = qobject_cast<HostWidget*>(target) ||
                        (target->parentWidget() && qobject_cast<HostWidget*>(target->parentWidget()));
    if (frames::pressCloses(autoClose, p))
        close(false);
}

bool PopupDialog::escapeCloses(QWidget* focus) const { return isOpen() && !wantsEscape(focus); }

// ---------------------------------------------------------------- button

HRESULT PopupDialog::executeOwnCommand()
{
    if (server() && command().registered())
        server()->ExecuteCommand(command().cookie());
    return open();
}

void PopupDialog::onKeyDownPress() { setPressed(true); }

void PopupDialog::onKeyUpRelease()
{
    setPressed(false);
    fire(DISPID_CLICK);
    executeOwnCommand();
}

bool PopupDialog::onEvent(QEvent* e)
{
    // Design time: a press on the button opens the popup (input is otherwise off).
    if (e->type() == QEvent::MouseButtonPress && lockState() == std::optional<bool>(false) && !isRunMode()) {
        if (static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton && !isOpen())
            open();
        return false;
    }
    // Tab from the button goes into the open popup's page.
    if (e->type() == QEvent::KeyPress && isOpen() && page_) {
        auto* k = static_cast<QKeyEvent*>(e);
        if (k->key() == Qt::Key_Tab || k->key() == Qt::Key_Backtab) {
            popup_->activateWindow();
            page_->passFocus(k->key() == Qt::Key_Backtab || (k->modifiers() & Qt::ShiftModifier));
            return true;
        }
    }
    return false;
}

bool PopupDialog::onKeyPress(QKeyEvent* e)
{
    if (e->key() == Qt::Key_Escape && escapeCloses(QApplication::focusWidget())) {
        close(false);
        return true;
    }
    return PushButtonBase::onKeyPress(e);
}

void PopupDialog::refreshFromServer()
{
    ICommandServer* s = server();
    if (!s || !command().registered()) {
        // Without a command the button only opens its popup, and so stays usable.
        if (!enabled_) {
            enabled_ = 1;
            invalidate();
        }
        applyShowState(true);
        return;
    }
    PushButtonBase::refreshFromServer();
    if (buttonDisplayStyle != 1)
        return;
    const LONG cookie = command().cookie();
    com::Bstr text;
    std::string nowText = appText_;
    if (SUCCEEDED(s->GetText(cookie, text.put())))
        nowText = text.str();
    OLE_COLOR nowColor = appColor_;
    s->GetColor(cookie, &nowColor); // a failing read keeps the colour
    if (nowText != appText_ || nowColor != appColor_) {
        appText_ = nowText;
        appColor_ = nowColor;
        invalidate();
    }
}

void PopupDialog::onDraw(QPainter& painter, const QRect& bounds)
{
    if (buttonDisplayStyle != 1) {
        FaceControl::onDraw(painter, bounds);
        return;
    }
    // The application's text on the application's colour, in place of Caption and BackColor.
    if (draw::IsClipBoxEmpty(painter))
        return;
    const QFont font = qfont();
    bool dirty = isDirty();
    draw::DrawButtonFace(painter, bounds, painter.clipBoundingRect().toAlignedRect(), face.style, face.captionPosition,
                         face.picturePosition, appText_, face.foreColor, appColor_, &font,
                         face.pictureEnable ? face.picture.get() : nullptr, face.backPicture.get(), face.pressed != 0,
                         enabledFlag(), focused(), &dirty);
}

// ---------------------------------------------------------------- persistence and life

HRESULT PopupDialog::SetCommandServer(ICommandServer* s)
{
    const HRESULT hr = ControlBase::SetCommandServer(s);
    if (page_)
        page_->setCommandServer(s);
    return hr;
}

HRESULT PopupDialog::DestroyControlWindow()
{
    close(true);
    destroyPopup();
    PopupRegistry::instance().remove(this);
    return ControlBase::DestroyControlWindow();
}

HRESULT PopupDialog::Save(IStream* stream, BOOL clearDirty)
{
    const bool withPage = page_ || !saved_.empty();
    HRESULT hr = frames::savePaged(
        stream, withPage ? 1 : 0, [this](IStream* s) { return ControlBase::Save(s, FALSE); },
        [this](IStream* s, int32_t) {
            if (page_)
                return page_->save(s);
            return com::writeAll(s, saved_.data(), ULONG(saved_.size()));
        });
    if (SUCCEEDED(hr) && clearDirty)
        this->clearDirty();
    return hr;
}

HRESULT PopupDialog::Load(IStream* stream)
{
    std::vector<uint8_t> content;
    bool hasPage = false;
    HRESULT hr = frames::loadPaged(
        stream, [this](IStream* s, const frames::BlockReader&) { return ControlBase::Load(s); },
        [] { return int64_t(2); },
        [&](IStream* s, int32_t, const frames::BlockReader& block) {
            // The page's form is kept as it stands, once it is known to be one.
            uint64_t start = 0, length = 0;
            HRESULT h = frames::streamPosition(s, start);
            if (FAILED(h) || FAILED(h = frames::measurePage(s, block.end(), length)))
                return h;
            if (FAILED(h = frames::seekTo(s, start)))
                return h;
            content.resize(size_t(length));
            hasPage = true;
            return com::readExact(s, content.data(), ULONG(content.size()));
        });
    if (FAILED(hr))
        return hr;
    // A popup open now shows the old content: it goes, and the loaded page takes its place.
    destroyPopup();
    PopupRegistry::instance().remove(this);
    saved_ = hasPage ? std::move(content) : std::vector<uint8_t>();
    clearDirty();
    return S_OK;
}

HRESULT createPopupDialog(REFIID iid, void** out)
{
    auto c = com::make<PopupDialog>();
    return c->QueryInterface(iid, out);
}

} // namespace vyr::controls
