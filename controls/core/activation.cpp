// How a control meets its widget: in a window of its own (IVyrControl), or without one in
// the container's widget (IVyrWindowlessControl). Both paths hand events to `deliver`, so a
// control sees the same events in the same order either way.
#include "controls/core/accessible.h"
#include "controls/core/control.h"
#include "controls/core/controlwindow.h"
#include <QKeyEvent>
#include <QPainter>
#include <QTimerEvent>
#include <unordered_map>

namespace vyr::controls {

using com::ComPtr;

namespace {
// The widget each activated control lives in.
std::unordered_map<const QObject*, ControlBase*>& living()
{
    static std::unordered_map<const QObject*, ControlBase*> map;
    return map;
}
} // namespace

ControlBase* ControlBase::ofWidget(const QObject* widget)
{
    const auto it = living().find(widget);
    return it == living().end() ? nullptr : it->second;
}

void ControlBase::forgetWidget(const QObject* widget) { living().erase(widget); }

void ControlBase::activated()
{
    living()[window()] = this;
    installAccessibleFactory();
    applyEnabled(enabled_ || !isRunMode());
    onWindowCreated();
}

// ---------------------------------------------------------------- in a window of its own

HRESULT ControlBase::CreateControlWindow(void* parentWidget, const RECT* rect, void** out)
{
    if (window_ || windowless_)
        return E_UNEXPECTED;
    window_ = new ControlWindow(*this, static_cast<QWidget*>(parentWidget));
    if (rect)
        window_->setGeometry(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top);
    window_->setVisible(shown_ != 0);
    activated();
    if (out)
        *out = window_.data();
    return S_OK;
}

HRESULT ControlBase::GetControlWindow(void** out)
{
    if (!out)
        return E_POINTER;
    *out = window();
    return *out ? S_OK : E_FAIL;
}

HRESULT ControlBase::DestroyControlWindow()
{
    if (windowless_)
        return InPlaceDeactivate();
    const HRESULT kept = window_ ? onWindowDestroying() : S_OK;
    timers_.clear();
    delete window_.data(); // the window leaves `living` as it goes
    window_ = nullptr;
    return kept;
}

// ---------------------------------------------------------------- in the container's widget

HRESULT ControlBase::InPlaceActivate(IVyrWindowlessSite* site)
{
    if (!site)
        return E_POINTER;
    if (window_ || windowless_)
        return E_UNEXPECTED;
    void* widget = nullptr;
    if (FAILED(site->GetWindow(&widget)) || !widget)
        return E_FAIL;
    surface_ = static_cast<QWidget*>(widget);
    windowless_ = site;
    surface_->setFocusPolicy(Qt::StrongFocus);
    if (!shown_)
        site->ShowObject(FALSE);
    activated();
    return S_OK;
}

HRESULT ControlBase::InPlaceDeactivate()
{
    if (!windowless_)
        return S_FALSE;
    const HRESULT kept = onWindowDestroying();
    for (const auto& [id, qtId] : timers_) {
        if (surface_)
            surface_->killTimer(qtId);
    }
    timers_.clear();
    living().erase(surface_.data());
    forgetAccessible(surface_.data());
    if (QWidget* w = surface_.data()) {
        // What the control placed in the widget goes with it; the widget is the container's.
        qDeleteAll(w->findChildren<QWidget*>(Qt::FindDirectChildrenOnly));
        w->setFocusProxy(nullptr);
        w->setFocusPolicy(Qt::NoFocus);
        w->setMouseTracking(false);
        w->unsetCursor();
        w->setAttribute(Qt::WA_OpaquePaintEvent, false);
    }
    const ComPtr<IVyrWindowlessSite> site = std::move(windowless_);
    site->EnableObject(TRUE);
    site->ShowObject(TRUE);
    site->SetCapture(FALSE);
    surface_ = nullptr;
    capture_ = false;
    return FAILED(kept) ? kept : S_OK;
}

HRESULT ControlBase::Draw(void* painter, const RECT* bounds)
{
    if (!painter || !bounds)
        return E_POINTER;
    onDraw(*static_cast<QPainter*>(painter),
           QRect(bounds->left, bounds->top, bounds->right - bounds->left, bounds->bottom - bounds->top));
    return S_OK;
}

HRESULT ControlBase::OnWindowEvent(void* event)
{
    if (!event)
        return E_POINTER;
    return windowless_ && deliver(static_cast<QEvent*>(event)) ? S_OK : S_FALSE;
}

// ---------------------------------------------------------------- either way

QWidget* ControlBase::window() const { return window_ ? window_.data() : surface_.data(); }

QRect ControlBase::clientRect() const
{
    const QWidget* w = window();
    return w ? w->rect() : QRect();
}

void ControlBase::takeFocus()
{
    if (windowless_) {
        if (windowless_->GetFocus() != S_OK)
            windowless_->SetFocus(TRUE);
    } else if (window_ && !window_->hasFocus()) {
        window_->setFocus(Qt::MouseFocusReason);
    }
}

void ControlBase::captureMouse(bool capture)
{
    capture_ = capture;
    if (windowless_)
        windowless_->SetCapture(capture ? TRUE : FALSE);
}

void ControlBase::setCursorShape(Qt::CursorShape shape)
{
    if (windowless_)
        windowless_->SetCursor(LONG(shape));
    else if (window_)
        window_->setCursor(shape);
}

bool ControlBase::moveFocus(bool next)
{
    if (windowless_)
        return windowless_->MoveFocus(next ? TRUE : FALSE) == S_OK;
    return window_ && window_->moveFocus(next);
}

void ControlBase::reactivateWindow()
{
    if (windowless_) {
        const ComPtr<IVyrWindowlessSite> site = windowless_;
        const bool focus = site->GetFocus() == S_OK;
        InPlaceDeactivate();
        InPlaceActivate(site.get());
        if (focus)
            takeFocus();
        return;
    }
    QWidget* w = window_.data();
    if (!w)
        return;
    QWidget* parent = w->parentWidget();
    const QRect g = w->geometry();
    const bool focus = w->hasFocus();
    DestroyControlWindow();
    const RECT r{g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
    CreateControlWindow(parent, &r, nullptr);
    if (focus)
        takeFocus();
}

bool ControlBase::deliver(QEvent* e)
{
    if (onEvent(e))
        return true;
    const bool run = isRunMode();
    switch (e->type()) {
    case QEvent::PaletteChange:
        onPaletteChange();
        return false;
    case QEvent::MouseButtonPress:
        if (run)
            onMousePress(static_cast<QMouseEvent*>(e));
        return true;
    case QEvent::MouseButtonRelease:
        if (run)
            onMouseRelease(static_cast<QMouseEvent*>(e));
        return true;
    case QEvent::MouseMove:
        if (run)
            onMouseMove(static_cast<QMouseEvent*>(e));
        return true;
    case QEvent::MouseButtonDblClick:
        if (run)
            onMouseDoubleClick(static_cast<QMouseEvent*>(e));
        return true;
    case QEvent::KeyPress: {
        auto* k = static_cast<QKeyEvent*>(e);
        // Tab and Backtab without Ctrl or Alt move the focus first; only a key that could not
        // move it reaches the control.
        if (!(k->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            const bool back = k->key() == Qt::Key_Backtab ||
                              (k->key() == Qt::Key_Tab && (k->modifiers() & Qt::ShiftModifier));
            if ((back || k->key() == Qt::Key_Tab) && moveFocus(!back))
                return true;
        }
        if (run && onKeyPress(k))
            return true;
        k->ignore();
        return false;
    }
    case QEvent::KeyRelease:
        if (run && onKeyRelease(static_cast<QKeyEvent*>(e)))
            return true;
        e->ignore();
        return false;
    case QEvent::FocusIn:
        onFocusIn();
        return true;
    case QEvent::FocusOut:
        onFocusOut();
        return true;
    case QEvent::Resize:
        onResize();
        return false;
    case QEvent::Timer: {
        const int qtId = static_cast<QTimerEvent*>(e)->timerId();
        for (const auto& [id, timer] : timers_) {
            if (timer == qtId) {
                onTimer(id);
                return true;
            }
        }
        return false;
    }
    default: return false;
    }
}

} // namespace vyr::controls
