#include "controls/frames/controlpage.h"
#include "controls/core/host.h"
#include "controls/frames/autoarrange.h"
#include "controls/frames/dragwatch.h"
#include "controls/frames/pagewidget.h"
#include "platform/com/memstream.h"
#include <QDrag>
#include <QCoreApplication>
#include <QMimeData>
#include <QMouseEvent>

namespace vyr::frames {

using controls::HostWidget;

// The page as IControlPageOwner for the controls it hosts; outlives neither side's use because
// the page detaches it when it goes.
class PageOwnerLink final : public com::Object<IControlPageOwner> {
public:
    explicit PageOwnerLink(const ControlPage* page) : page_(page) {}
    void detach() { page_ = nullptr; }
    STDMETHOD(IsLocked)(BOOL* locked) override
    {
        if (!locked)
            return E_POINTER;
        *locked = !page_ || page_->isLocked();
        return S_OK;
    }
    // A nested holder's controls see what this page's controls see.
    STDMETHOD(GetAmbientProperty)(DISPID id, VARIANT* value) override
    {
        if (!value)
            return E_POINTER;
        if (!page_ || !page_->owner_) {
            VariantInit(value);
            return DISP_E_MEMBERNOTFOUND;
        }
        return page_->owner_->GetAmbientProperty(id, value);
    }
    STDMETHOD(OnPageChanged)(IUnknown* control) override
    {
        return page_ && page_->owner_ ? page_->owner_->OnPageChanged(control) : S_OK;
    }

private:
    const ControlPage* page_;
};

namespace {

Qt::DropAction platformDrag(QWidget* source, QMimeData* data, Qt::DropActions allowed)
{
    auto* drag = new QDrag(source);
    drag->setMimeData(data);
    return drag->exec(allowed, Qt::MoveAction);
}

DragRunner& dragRunner()
{
    static DragRunner runner = platformDrag;
    return runner;
}

QRect toQRect(const RECT& r) { return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top); }
RECT toRect(const QRect& r) { return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()}; }

// Opens the record a drag carries; on success `s` stands at the control's data, `length` bytes.
HRESULT openCarried(const QMimeData* data, com::ComPtr<com::MemoryStream>& s, ControlRecord& rec, uint32_t& length)
{
    const QByteArray bytes = data->data(kControlFormat);
    s = com::MemoryStream::create(std::vector<uint8_t>(bytes.begin(), bytes.end()));
    BlockReader all;
    HRESULT hr = all.openRest(s.get());
    if (FAILED(hr) || FAILED(hr = readControlRecord(all, s.get(), rec, length)))
        return hr;
    return S_OK;
}

com::ComPtr<INestedPage> nestedPageOf(const HostWidget* host)
{
    com::ComPtr<INestedPage> nested;
    if (host->control())
        host->control()->QueryInterface(IID_INestedPage, nested.putVoid());
    return nested;
}

} // namespace

void ControlPage::setDragRunner(DragRunner runner)
{
    dragRunner() = runner ? std::move(runner) : DragRunner(platformDrag);
}

ControlPage::ControlPage() : link_(com::make<PageOwnerLink>(this)), watch_(nullptr, [](DragWatch* w) {
    if (w)
        w->deleteLater();
}) {}

ControlPage::~ControlPage()
{
    destroyWindow();
    link_->detach();
}

// ---------------------------------------------------------------- settings

void ControlPage::setParentWidget(QWidget* parent)
{
    parent_ = parent;
    if (!widget_ || widget_->parentWidget() == parent)
        return;
    const bool shown = !widget_->isHidden();
    // Without a parent the window waits, hidden, for the next one.
    widget_->setParent(parent);
    widget_->setVisible(shown && parent);
}

void ControlPage::setOwner(IControlPageOwner* owner)
{
    owner_ = owner;
    for (HostWidget* h : hosts())
        announceOwner(h);
}

void ControlPage::passAmbients(HostWidget* h)
{
    com::Variant font;
    com::ComPtr<IFontDisp> f;
    if (owner_ && SUCCEEDED(owner_->GetAmbientProperty(DISPID_AMBIENT_FONT, font.put())) &&
        (font.type() == VT_DISPATCH || font.type() == VT_UNKNOWN) && font.get().punkVal)
        font.get().punkVal->QueryInterface(IID_IFontDisp, f.putVoid());
    if (f.get() != h->ambientFont())
        h->setAmbientFont(f.get());
}

void ControlPage::ambientChanged(DISPID id)
{
    if (id != DISPID_AMBIENT_FONT && id != DISPID_UNKNOWN)
        return;
    for (HostWidget* h : hosts())
        passAmbients(h);
}

void ControlPage::setCommandServer(ICommandServer* server)
{
    server_ = server;
    for (HostWidget* h : hosts())
        h->setCommandServer(server);
}

void ControlPage::setBackColor(OLE_COLOR color)
{
    backColor_ = color;
    if (widget_)
        widget_->repaint();
}

void ControlPage::setBackPicture(IPictureDisp* picture)
{
    backPicture_ = picture;
    if (widget_)
        widget_->repaint();
}

void ControlPage::setAlignTopLevel(bool align)
{
    alignTopLevel_ = align;
    if (widget_)
        widget_->update();
}

void ControlPage::setLocked(bool locked)
{
    if (userMode_ != locked)
        setUserMode(locked);
    locked_ = locked;
}

bool ControlPage::isLocked() const
{
    BOOL ownerLocked = TRUE;
    return locked_ || !owner_ || FAILED(owner_->IsLocked(&ownerLocked)) || ownerLocked;
}

void ControlPage::setUserMode(bool on)
{
    userMode_ = on;
    for (HostWidget* h : hosts())
        h->setUserMode(on);
    if (owner_)
        owner_->OnPageChanged(nullptr);
}

// ---------------------------------------------------------------- hosted controls

QWidget* ControlPage::widget() const { return widget_; }

std::vector<HostWidget*> ControlPage::hosts() const
{
    std::vector<HostWidget*> out;
    for (const QPointer<HostWidget>& h : hosts_) {
        if (h)
            out.push_back(h);
    }
    return out;
}

std::vector<HostWidget*> ControlPage::reachable() const
{
    std::vector<HostWidget*> out;
    for (HostWidget* h : hosts()) {
        if (h->control())
            out.push_back(h);
    }
    return out;
}

void ControlPage::prepare(HostWidget* h)
{
    if (server_)
        h->setCommandServer(server_.get());
    announceOwner(h);
    h->installEventFilter(widget_);
    if (QWidget* w = h->controlWindow())
        w->installEventFilter(widget_);
}

void ControlPage::announceOwner(HostWidget* h)
{
    com::ComPtr<IPageOwnerAware> aware;
    if (h->control() && SUCCEEDED(h->control()->QueryInterface(IID_IPageOwnerAware, aware.putVoid())))
        aware->SetPageOwner(link_.get());
}

HRESULT ControlPage::host(const std::string& classId, const RECT& rect, IStream* data, HostWidget** out)
{
    if (!widget_)
        return E_FAIL;
    auto* h = new HostWidget(widget_);
    h->setUserMode(userMode_);
    passAmbients(h); // before creation, so that the control's first look at the font sees it
    h->setGeometry(toQRect(rect));
    // The control is created and activated first, then loaded: a control holding pages of
    // its own so creates their controls while loading, and reports their faults.
    HRESULT hr = h->create(classId);
    if (FAILED(hr)) {
        delete h;
        return hr;
    }
    prepare(h);
    hosts_.push_back(h);
    h->show();
    widget_->raiseFeedback();
    widget_->update();
    if (out)
        *out = h;
    if (owner_)
        owner_->OnPageChanged(h->control());
    // A control whose data fails to load stays, with what it did load, like those before it.
    return data ? h->load(data) : S_OK;
}

HRESULT ControlPage::insertControl(const std::string& classId, const RECT& rect)
{
    return host(classId, rect, nullptr, nullptr);
}

HRESULT ControlPage::forwardDispatch(IDispatch* object, bool add)
{
    for (HostWidget* h : hosts()) {
        com::ComPtr<IVyrPropertyBrowser> browser;
        if (h->control() && SUCCEEDED(h->control()->QueryInterface(controls::IID_IVyrPropertyBrowser, browser.putVoid())))
            add ? browser->AddDispatch(object) : browser->SetDispatch(object);
        else if (com::ComPtr<INestedPage> nested = nestedPageOf(h))
            add ? nested->AddDispatch(object) : nested->ForwardDispatch(object);
    }
    return S_OK;
}

void ControlPage::pointTest(LONG x, LONG y, bool& onControl, bool& inClient) const
{
    onControl = inClient = false;
    for (HostWidget* h : hosts()) {
        if (!h->isVisible() || !h->geometry().contains(x, y))
            continue;
        onControl = true;
        const QWidget* w = h->controlWindow();
        inClient = w && (w == h || w->geometry().translated(h->pos()).contains(x, y));
        return;
    }
}

QWidget* ControlPage::tabStop(bool backwards) const
{
    std::vector<HostWidget*> all = hosts();
    if (backwards)
        std::reverse(all.begin(), all.end());
    for (HostWidget* h : all) {
        QWidget* w = h->controlWindow();
        if (w && w->isVisibleTo(widget_) && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus))
            return w;
    }
    return nullptr;
}

void ControlPage::passFocus(bool backwards)
{
    if (QWidget* w = tabStop(backwards))
        w->setFocus(backwards ? Qt::BacktabFocusReason : Qt::TabFocusReason);
}

// ---------------------------------------------------------------- PageSlot

bool ControlPage::hasWindow() const { return widget_ != nullptr; }

HRESULT ControlPage::createWindow(const RECT& rect)
{
    if (widget_)
        return S_OK;
    if (!parent_)
        return E_FAIL;
    rect_ = rect;
    widget_ = new PageWidget(*this, parent_);
    widget_->setGeometry(toQRect(rect));
    widget_->show();
    return store_.loadCache(*this, dragControls_);
}

void ControlPage::destroyWindow()
{
    if (!widget_)
        return;
    watch_.reset();
    rect_ = toRect(widget_->geometry());
    // The page may be switched away from inside one of its own controls' handlers: the window
    // and its controls go once that handler has returned.
    widget_->hide();
    widget_->deleteLater();
    widget_ = nullptr;
    hosts_.clear();
    dragged_ = nullptr;
    feedback_ = QRect();
}

void ControlPage::setShown(bool shown)
{
    if (widget_)
        widget_->setVisible(shown);
}

bool ControlPage::isShown() const { return widget_ && !widget_->isHidden(); }

RECT ControlPage::windowRect() const { return widget_ ? toRect(widget_->geometry()) : rect_; }

void ControlPage::moveWindow(const RECT& rect)
{
    rect_ = rect;
    if (widget_)
        widget_->setGeometry(toQRect(rect));
}

void ControlPage::arrange(LONG mode, LONG distance)
{
    if (!widget_ || !isLocked())
        return;
    const std::vector<HostWidget*> all = hosts();
    std::vector<ArrangeItem> items;
    for (HostWidget* h : all) {
        const QWidget* w = h->controlWindow();
        items.push_back({toRect(h->geometry()), bool(nestedPageOf(h)), !h->isHidden() && !(w && w->isHidden())});
    }
    Arrangement placed;
    if (!autoArrange(mode, distance, items, placed))
        return;
    for (size_t i = 0; i < all.size(); ++i) {
        if (all[i]->geometry() != toQRect(placed.rects[i]))
            all[i]->setGeometry(toQRect(placed.rects[i]));
    }
    if (!parent_)
        return;
    // A parent that is a hosted control's window is sized through its host.
    QWidget* target = parent_;
    if (auto* h = qobject_cast<HostWidget*>(parent_->parentWidget()); h && h->controlWindow() == parent_)
        target = h;
    if (mode == LONG(ArrangeMode::Vertical))
        target->resize(target->width(), placed.parentExtent);
    else
        target->resize(placed.parentExtent, target->height());
}

HRESULT ControlPage::save(IStream* s)
{
    saving_ = reachable();
    const HRESULT hr = store_.save(s, widget_ ? static_cast<HostedControls*>(this) : nullptr, dragControls_);
    saving_.clear();
    return hr;
}

HRESULT ControlPage::load(IStream* s, uint64_t limit)
{
    return store_.load(s, limit, widget_ ? static_cast<HostedControls*>(this) : nullptr, dragControls_);
}

// ---------------------------------------------------------------- HostedControls

size_t ControlPage::count() const { return saving_.size(); }

ControlRecord ControlPage::record(size_t index) const
{
    const HostWidget* h = saving_[index];
    return {h->classId(), toRect(h->geometry())};
}

HRESULT ControlPage::save(size_t index, IStream* s)
{
    return saving_[index]->save(s, false);
}

HRESULT ControlPage::create(const ControlRecord& record, IStream* data, uint32_t)
{
    const std::string text = com::formatGuid(record.clsid);
    if (text.size() != 38)
        return E_UNEXPECTED;
    return host(text, record.rect, data, nullptr);
}

// ---------------------------------------------------------------- dragging

void ControlPage::pressOnHost(HostWidget* h, QPoint grab, QPoint global, int64_t ms, QWidget* pressed, QPoint at,
                              Qt::KeyboardModifiers modifiers)
{
    dragged_ = h;
    grab_ = grab;
    feedback_ = QRect();
    QPointer<QWidget> target = pressed;
    watch_.reset(new DragWatch(readDragSettings(), global, ms, [this, target, at, modifiers](bool started) {
        if (started) {
            runDrag();
        } else if (target && !isLocked()) {
            // No drag: the control gets the press it was pressed with.
            QMouseEvent press(QEvent::MouseButtonPress, at, target->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                              modifiers);
            replaying_ = true;
            QCoreApplication::sendEvent(target, &press);
            replaying_ = false;
        }
        watch_.reset();
    }));
}

void ControlPage::runDrag()
{
    if (!dragged_ || !widget_)
        return;
    QPointer<HostWidget> dragged = dragged_;
    auto s = com::MemoryStream::create();
    const ControlRecord rec{dragged->classId(), dragRect(toRect(dragged->geometry()), grab_.x(), grab_.y())};
    if (FAILED(writeControlRecord(s.get(), rec, [&](IStream* d) { return dragged->save(d, false); })))
        return;
    auto* data = new QMimeData;
    data->setData(kControlFormat, QByteArray(reinterpret_cast<const char*>(s->bytes().data()), qsizetype(s->bytes().size())));
    ownDrag_ = data;
    const Qt::DropAction effect = dragRunner()(widget_, data, Qt::CopyAction | Qt::MoveAction);
    ownDrag_ = nullptr;
    hideFeedback();
    // Moved elsewhere: the control now lives where it was dropped, unless this page keeps
    // what is dragged away from it.
    if (effect == Qt::MoveAction && !dragControls_ && dragged) {
        hosts_.erase(std::remove(hosts_.begin(), hosts_.end(), dragged), hosts_.end());
        dragged->hide();
        dragged->deleteLater();
    }
}

bool ControlPage::acceptsDrag(const QMimeData* data) const
{
    return data && !isLocked() && data->hasFormat(kControlFormat);
}

Qt::DropAction ControlPage::effectFor(Qt::DropActions possible, Qt::KeyboardModifiers modifiers) const
{
    return !(possible & Qt::MoveAction) || (modifiers & Qt::ControlModifier) ? Qt::CopyAction : Qt::MoveAction;
}

void ControlPage::enterDrag(const QMimeData* data)
{
    carried_ = QRect();
    if (data == ownDrag_)
        return;
    ControlRecord rec;
    uint32_t length = 0;
    com::ComPtr<com::MemoryStream> s;
    if (FAILED(openCarried(data, s, rec, length)))
        return;
    // Only an outline a page can hold is shown; the record's data is not needed for it.
    const int64_t w = int64_t(rec.rect.right) - rec.rect.left;
    const int64_t h = int64_t(rec.rect.bottom) - rec.rect.top;
    const auto fits = [](int64_t v) { return v >= -QWIDGETSIZE_MAX && v <= QWIDGETSIZE_MAX; };
    if (w > 0 && h > 0 && fits(rec.rect.left) && fits(rec.rect.top) && fits(w) && fits(h))
        carried_ = QRect(rec.rect.left, rec.rect.top, int(w), int(h));
}

void ControlPage::showFeedback(QPoint mouse, const QMimeData* data)
{
    if (!widget_)
        return;
    QRect outline = carried_;
    if (data == ownDrag_) {
        if (!dragged_)
            return;
        outline = QRect(-grab_, dragged_->size());
    }
    if (outline.isEmpty())
        return;
    const QRect before = feedback_;
    feedback_ = outline.translated(mouse);
    widget_->feedbackMoved(before, feedback_);
}

void ControlPage::hideFeedback()
{
    carried_ = QRect();
    const QRect before = feedback_;
    feedback_ = QRect();
    if (widget_ && !before.isEmpty())
        widget_->feedbackMoved(before, feedback_);
}

HRESULT ControlPage::dropRecord(const QMimeData* data, QPoint at)
{
    com::ComPtr<com::MemoryStream> s;
    ControlRecord rec;
    uint32_t length = 0;
    HRESULT hr = openCarried(data, s, rec, length);
    if (FAILED(hr))
        return hr;
    rec.rect = moved(rec.rect, at.x(), at.y());
    if (FAILED(hr = create(rec, s.get(), length)))
        return hr;
    widget_->window()->activateWindow();
    return S_OK;
}

} // namespace vyr::frames
