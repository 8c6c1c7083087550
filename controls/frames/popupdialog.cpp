#include "controls/frames/popupdialog.h"
#include "controls/core/draw/drawing.h"
#include "controls/core/properties.h"
#include "controls/frames/dragwatch.h"
#include "controls/frames/pagedform.h"
#include "controls/frames/popupregistry.h"
#include "platform/gdi/edge.h"
#include "platform/gdi/fill.h"
#include "platform/gdi/syscolors.h"
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
#include <QWindow>
#include <algorithm>

namespace vyr::controls {

using com::Variant;

namespace {

RECT toRect(const QRect& r) { return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()}; }
QRect toQRect(const RECT& r) { return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top); }

// `w`'s rectangle in the coordinates of its top-level window, with that window.
frames::WindowArea areaInWindow(const QWidget* w)
{
    const QWidget* top = w->window();
    return {top, toRect(QRect(w->mapTo(top, QPoint(0, 0)), w->size()))};
}

std::optional<frames::PopupMode> chosenMode; // set by choosePopupMode

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

// The popup window: either a top-level window owned by the button's window (it stays with it,
// above it, and not above other applications), or, given `overlayOn`, a child widget lying over
// that top-level window's other children. It draws a sizing border of its own so that it shows
// over a face of the same colour and can be resized wherever the window system lets an
// application start a resize, and by following the mouse elsewhere. While the popup's layout
// is open for editing the border resizes it, and a press inside moves it with the mouse, Shift
// and the arrow keys move it by a pixel; with the layout locked the border is plain.
class PopupWindow final : public QWidget {
public:
    PopupWindow(PopupDialog& dialog, QWidget* overlayOn)
        : QWidget(overlayOn, overlayOn ? Qt::Widget : Qt::Window | Qt::FramelessWindowHint), dialog_(&dialog)
    {
        setAttribute(Qt::WA_DeleteOnClose, false);
        setFocusPolicy(Qt::ClickFocus);
        setMouseTracking(true); // the cursor shows the border's resize directions
    }
    ~PopupWindow() override
    {
        if (dialog_)
            dialog_->popupWindowGone();
    }
    // The dialog lets go of this window (which it deletes later) and is no longer told of it.
    void detach() { dialog_ = nullptr; }

    // The page's place: inside the border.
    QRect pageRect() const { return rect().adjusted(kPopupBorder, kPopupBorder, -kPopupBorder, -kPopupBorder); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        gdi::FillSolid(p, rect(), gdi::SysColor(gdi::COLOR_BTNFACE));
        gdi::DrawEdge(p, rect(), gdi::EDGE_RAISED, gdi::BF_RECT);
    }
    void resizeEvent(QResizeEvent*) override
    {
        if (frames::ControlPage* page = dialog_->page()) {
            const QRect r = pageRect();
            page->moveWindow({r.left(), r.top(), r.left() + r.width(), r.top() + r.height()});
        }
    }
    void keyPressEvent(QKeyEvent* e) override
    {
        if (e->key() == Qt::Key_Escape) {
            dialog_->close(false);
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
        if (e->button() != Qt::LeftButton)
            return;
        const QPoint at = e->position().toPoint();
        if (const Qt::Edges edges = resizableEdgesAt(at)) {
            // The window system resizes when it can; otherwise the window follows the mouse.
            if (windowHandle() && windowHandle()->startSystemResize(edges))
                return;
            grabMouse();
            resizing_ = edges;
            last_ = e->globalPosition().toPoint();
            return;
        }
        if (!designing())
            return;
        grabMouse();
        moving_ = true;
        last_ = e->globalPosition().toPoint();
        since_.start();
    }
    void mouseMoveEvent(QMouseEvent* e) override
    {
        const QPoint now = e->globalPosition().toPoint();
        if (resizing_) {
            setGeometry(resized(geometry(), resizing_, now - last_));
            last_ = now;
            return;
        }
        if (!moving_) {
            showResizeCursor(resizableEdgesAt(e->position().toPoint()));
            return;
        }
        if (since_.elapsed() <= frames::readDragSettings().delayMs)
            return;
        move(pos() + (now - last_));
        last_ = now;
    }
    void mouseReleaseEvent(QMouseEvent*) override
    {
        if (moving_ || resizing_)
            releaseMouse();
        moving_ = false;
        resizing_ = {};
    }

    // An overlay keeps Tab and Backtab among its own children, as a window of its own does.
    bool focusNextPrevChild(bool next) override
    {
        if (isWindow())
            return QWidget::focusNextPrevChild(next);
        QWidget* from = QApplication::focusWidget();
        if (!from || !isAncestorOf(from))
            return QWidget::focusNextPrevChild(next);
        QWidget* w = from;
        for (int guard = 0; guard < 10000; ++guard) {
            w = next ? w->nextInFocusChain() : w->previousInFocusChain();
            if (!w || w == from)
                break;
            if (isAncestorOf(w) && w->isVisibleTo(this) && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus)) {
                w->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
                return true;
            }
        }
        return true; // the only tab stop: the focus stays
    }

private:
    bool designing() const { return dialog_->lockState() == std::optional<bool>(false); }

    // The border's edges under `at` while the page may be resized (it may not while locked).
    Qt::Edges resizableEdgesAt(QPoint at) const
    {
        const frames::ControlPage* page = dialog_->page();
        if (!page || page->isLocked() || pageRect().contains(at) || !rect().contains(at))
            return {};
        Qt::Edges edges;
        if (at.x() < kPopupBorder)
            edges |= Qt::LeftEdge;
        if (at.x() >= width() - kPopupBorder)
            edges |= Qt::RightEdge;
        if (at.y() < kPopupBorder)
            edges |= Qt::TopEdge;
        if (at.y() >= height() - kPopupBorder)
            edges |= Qt::BottomEdge;
        return edges;
    }
    void showResizeCursor(Qt::Edges edges)
    {
        const bool h = edges & (Qt::LeftEdge | Qt::RightEdge), v = edges & (Qt::TopEdge | Qt::BottomEdge);
        const bool falling = edges == (Qt::LeftEdge | Qt::TopEdge) || edges == (Qt::RightEdge | Qt::BottomEdge);
        if (h && v)
            setCursor(falling ? Qt::SizeFDiagCursor : Qt::SizeBDiagCursor);
        else if (h)
            setCursor(Qt::SizeHorCursor);
        else if (v)
            setCursor(Qt::SizeVerCursor);
        else
            unsetCursor();
    }
    // `g` with the given edges moved by `by`, never smaller than the border around one pixel.
    static QRect resized(QRect g, Qt::Edges edges, QPoint by)
    {
        constexpr int least = 2 * kPopupBorder + 1;
        if (edges & Qt::LeftEdge)
            g.setLeft(std::min(g.left() + by.x(), g.right() + 1 - least));
        if (edges & Qt::RightEdge)
            g.setRight(std::max(g.right() + by.x(), g.left() + least - 1));
        if (edges & Qt::TopEdge)
            g.setTop(std::min(g.top() + by.y(), g.bottom() + 1 - least));
        if (edges & Qt::BottomEdge)
            g.setBottom(std::max(g.bottom() + by.y(), g.top() + least - 1));
        return g;
    }

    PopupDialog* dialog_;
    bool moving_ = false;
    Qt::Edges resizing_;
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

void PopupDialog::choosePopupMode(std::optional<frames::PopupMode> mode) { chosenMode = mode; }

frames::PopupMode PopupDialog::popupMode()
{
    return chosenMode ? *chosenMode : frames::popupModeFor(QGuiApplication::platformName().toStdString());
}

RECT PopupDialog::buttonRect() const
{
    QWidget* w = window();
    if (!w)
        return {};
    if (mode_ == frames::PopupMode::Overlay)
        return areaInWindow(w).rect;
    return toRect(QRect(w->mapToGlobal(QPoint(0, 0)), w->size()));
}

RECT PopupDialog::clampArea() const
{
    QWidget* w = window();
    if (mode_ == frames::PopupMode::Overlay)
        return w ? toRect(w->window()->rect()) : RECT{};
    const QScreen* screen = w && w->screen() ? w->screen() : QGuiApplication::primaryScreen();
    return screen ? toRect(screen->geometry()) : RECT{0, 0, 1 << 16, 1 << 16};
}

void PopupDialog::place()
{
    if (!popup_ || !window())
        return;
    const RECT r = frames::placePopup(buttonRect(), popupLeft, popupTop, popupWidth, popupHeight, clampArea(), offset_);
    placing_ = true;
    placed_ = toQRect(r);
    popup_->setGeometry(placed_);
    placing_ = false;
}

void PopupDialog::follow()
{
    if (!popup_ || !window())
        return;
    const frames::PopupPoint c = frames::buttonCentre(buttonRect());
    placing_ = true;
    // The client rectangle is placed, as at opening (move() would place the frame).
    placed_ = QRect(QPoint(c.x + offset_.x, c.y + offset_.y), popup_->size());
    popup_->setGeometry(placed_);
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
    mode_ = popupMode();
    popup_ = new PopupWindow(*this, mode_ == frames::PopupMode::Overlay ? button->window() : nullptr);
    if (mode_ == frames::PopupMode::OwnWindow)
        popup_->winId();
    ownByButtonsWindow();
    place();
    page_->setParentWidget(popup_);
    const QRect inside = popup_->pageRect();
    HRESULT hr = page_->createWindow(
        {inside.left(), inside.top(), inside.left() + inside.width(), inside.top() + inside.height()});
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

void PopupDialog::ownByButtonsWindow()
{
    QWidget* button = window();
    if (!popup_ || !button)
        return;
    QWidget* top = button->window();
    if (mode_ == frames::PopupMode::Overlay) {
        // The button's window's child, over the window's other children.
        if (popup_->parentWidget() != top)
            popup_->setParent(top);
        return;
    }
    // Owned by the button's window: the window system keeps it with that window.
    top->winId();
    if (popup_->windowHandle() && popup_->windowHandle()->transientParent() != top->windowHandle())
        popup_->windowHandle()->setTransientParent(top->windowHandle());
}

HRESULT PopupDialog::open()
{
    if (!popup_ || !page_) {
        HRESULT hr = create();
        if (FAILED(hr))
            return hr;
    } else if (QWidget* button = window()) {
        // A kept popup: the button may have gone into another window since it was made (a
        // form built before it is shown), and the popup goes with it.
        ownByButtonsWindow();
        PopupRegistry::instance().add(this, popup_, button);
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
        popup_->detach();
        popup_->hide();
        popup_->deleteLater();
    }
    popup_ = nullptr;
}

void PopupDialog::popupWindowGone()
{
    // Whatever the page cannot save now is lost with its window; the rest is kept.
    popup_ = nullptr;
    if (page_) {
        auto s = com::MemoryStream::create();
        if (SUCCEEDED(page_->save(s.get())))
            saved_ = s->bytes();
        page_->destroyWindow();
        page_.reset();
    }
    PopupRegistry::instance().remove(this);
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
    // Where the popup was put: the events of that placing change nothing (they may arrive
    // later, from the window system).
    const QRect g = popup_->geometry();
    if (g == placed_)
        return;
    placed_ = g;
    const frames::PopupPoint c = frames::buttonCentre(buttonRect());
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

void PopupDialog::pressed(QWidget* target, QPoint at, bool clientArea)
{
    if (!popup_ || !target)
        return;
    // Which window was pressed and where inside it decide; screen positions are not known
    // everywhere (Wayland gives none of other windows).
    const frames::WindowPoint press{target->window(), at.x(), at.y()};
    QWidget* button = window();
    frames::PopupPress p;
    p.inWatched = clientArea && PopupRegistry::instance().inWatched(this, target);
    p.onButton = button && (target == button || button->isAncestorOf(target) || frames::liesIn(press, areaInWindow(button)));
    p.popupVisible = popup_->isVisible();
    p.insidePopup = target == popup_ || popup_->isAncestorOf(target) || frames::liesIn(press, areaInWindow(popup_));
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
    if ((e->type() == QEvent::KeyPress || e->type() == QEvent::KeyRelease) && isOpen() && page_) {
        auto* k = static_cast<QKeyEvent*>(e);
        // Tab from the button goes into the open popup's page.
        if (k->key() == Qt::Key_Tab || k->key() == Qt::Key_Backtab) {
            if (e->type() == QEvent::KeyPress) {
                popup_->activateWindow();
                page_->passFocus(k->key() == Qt::Key_Backtab || (k->modifiers() & Qt::ShiftModifier));
            }
            return true;
        }
        // Escape is the button's (it closes); every other key goes to the page first.
        if (k->key() == Qt::Key_Escape)
            return false;
        const auto taken = std::find(pageKeys_.begin(), pageKeys_.end(), k->key());
        if (e->type() == QEvent::KeyRelease && taken == pageKeys_.end())
            return false;
        QWidget* target = pageKeyTarget();
        if (!target)
            return false;
        QKeyEvent copy(k->type(), k->key(), k->modifiers(), k->nativeScanCode(), k->nativeVirtualKey(),
                       k->nativeModifiers(), k->text(), k->isAutoRepeat(), ushort(k->count()));
        QCoreApplication::sendEvent(target, &copy);
        if (e->type() == QEvent::KeyRelease) {
            pageKeys_.erase(taken);
            return true;
        }
        if (!copy.isAccepted())
            return false;
        pageKeys_.push_back(k->key());
        return true;
    }
    return false;
}

QWidget* PopupDialog::pageKeyTarget() const
{
    QWidget* pageWidget = page_ ? page_->widget() : nullptr;
    if (!pageWidget)
        return nullptr;
    if (QWidget* f = popup_->focusWidget(); f && pageWidget->isAncestorOf(f))
        return f;
    if (QWidget* w = page_->tabStop(false))
        return w;
    return pageWidget;
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

HRESULT PopupDialog::onWindowDestroying()
{
    close(true);
    destroyPopup();
    PopupRegistry::instance().remove(this);
    return S_OK;
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
