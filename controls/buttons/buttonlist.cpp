#include "controls/buttons/buttonlist.h"
#include "controls/buttons/button.h"
#include "controls/core/draw/drawing.h"
#include "controls/core/properties.h"
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWidget>

namespace vyr::controls {

namespace {
constexpr DISPID kStyle = 9, kOrientation = 34, kRows = 51, kColumns = 81, kDistance = 78, kUseBackColor = 60;
constexpr int kUnboundCount = 3;
// More entries than any grid can show; a server's count beyond it is cut there.
constexpr LONG kMostEntries = 4096;

const EnumNames& arrangementNames()
{
    static const EnumNames n{{"Fixed number of rows", "Fixed number of columns", "Fixed rows and fill last row",
                              "Fixed columns and fill last column", "Fixed number of rows and columns"},
                             VT_I4, {}, nullptr,
                             {"eFixedRows", "eFixedColumns", "eFixedRowsFillLast", "eFixedColumnsFillLast",
                              "eFixedRowsAndColumns"}};
    return n;
}

const EnumNames& orientationNames()
{
    static const EnumNames n{{"Horizontal", "Vertical"}, VT_I4, {}, nullptr, {"eHorizontal", "eVertical"}};
    return n;
}

RECT toRect(const QRect& r) { return RECT{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()}; }
QRect toQRect(const RECT& r) { return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top); }

using B = ButtonList;
} // namespace

ButtonList::ButtonList() : ControlBase(classDescriptor()) {}

const ClassDescriptor& ButtonList::classDescriptor()
{
    static const ClassDescriptor d{
        CLSID_ButtonList,
        IID_IButtonList,
        GUID_NULL,
        {props::command(), props::withHelp(props::font(), "Caption font"),
         props::withHelp(props::colorField<B>(DISPID_FORECOLOR, "ForeColor", [](B& b) -> OLE_COLOR& { return b.foreColor; }),
                         "Frame text color"),
         props::withHelp(props::colorField<B>(DISPID_BACKCOLOR, "BackColor", [](B& b) -> OLE_COLOR& { return b.backColor; }),
                         "Back color for buttons and interior"),
         props::shortField<B>(5, "PicturePosition", [](B& b) -> int& { return b.picturePosition; }, &itemPositionNames()),
         props::shortField<B>(6, "CaptionPosition", [](B& b) -> int& { return b.captionPosition; }, &itemPositionNames()),
         props::pictureField<B>(7, "Picture", [](B& b) -> com::ComPtr<IPictureDisp>& { return b.picture; }),
         props::pictureField<B>(8, "BackPicture", [](B& b) -> com::ComPtr<IPictureDisp>& { return b.backPicture; }),
         props::longField<B>(kRows, "ButtonRows", [](B& b) -> int32_t& { return b.layout.rows; }),
         props::longField<B>(kColumns, "ButtonColumns", [](B& b) -> int32_t& { return b.layout.columns; }),
         props::longField<B>(kDistance, "ButtonDistance", [](B& b) -> int32_t& { return b.layout.gap; }),
         props::withHelp(props::boolField<B>(kUseBackColor, "UseBackColor", [](B& b) -> int& { return b.useBackColor; }),
                         "Use back color rather than color from server"),
         props::longField<B>(kOrientation, "Orientation", [](B& b) -> int32_t& { return b.layout.orientation; },
                             &orientationNames()),
         props::longField<B>(kStyle, "Style", [](B& b) -> int32_t& { return b.layout.style; }, &arrangementNames())},
        {props::method<B>(DISPID_ABOUTBOX, "AboutBox", [](B&) { return showAboutBox(); })},
        {50, DISPID_BACKCOLOR, DISPID_FORECOLOR, DISPID_FONT, kStyle, kOrientation, 5, 6, 7, 8, kRows, kColumns,
         kDistance, kUseBackColor},
    };
    return d;
}

QRect ButtonList::cellRect(int index) const { return toQRect(layout.cell(toRect(clientRect()), index)); }

void ButtonList::onDraw(QPainter& painter, const QRect& bounds)
{
    if (draw::IsClipBoxEmpty(painter))
        return;
    painter.save();
    QRegion gaps(bounds);
    const QFont font = qfont();
    const RECT all = toRect(bounds);
    for (int i = 0; i < layout.count; ++i) {
        const RECT cell = layout.cell(all, i);
        if (isEmpty(cell))
            continue;
        const QRect r = toQRect(cell);
        const std::string caption = size_t(i) < captions.size() ? captions[size_t(i)] : std::string();
        const OLE_COLOR back = useBackColor || size_t(i) >= colors.size() ? backColor : colors[size_t(i)];
        draw::DrawButtonFace(painter, r, QRect(), draw::kStyleNormal, captionPosition, picturePosition, caption,
                             foreColor, back, &font, picture.get(), nullptr, i == current, enabledFlag(),
                             i == focusIndex, nullptr);
        gaps -= r;
    }
    // The gaps: the back colour, then the back picture tiled in line with the top-level window.
    painter.setClipRegion(gaps, Qt::IntersectClip);
    draw::FillSolid(painter, bounds, draw::ColorOf(backColor));
    std::optional<QPoint> offset;
    if (QWidget* w = window())
        offset = w->mapTo(w->window(), QPoint(0, 0));
    draw::TileBackPicture(painter, backPicture.get(), bounds, QRect(), true, offset);
    painter.restore();
}

void ButtonList::choose(int index)
{
    if (index < 0 || index == current)
        return;
    current = index;
    invalidate();
    if (server() && command().registered())
        server()->SelectEntry(command().cookie(), index);
}

void ButtonList::onMousePress(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton)
        return;
    const QPoint p = e->position().toPoint();
    if (noPosition(p))
        return;
    const int index = layout.hit(toRect(clientRect()), p.x(), p.y());
    if (index < 0)
        return;
    choose(index);
    focusIndex = index;
    invalidate();
}

bool ButtonList::onKeyPress(QKeyEvent* e)
{
    if (!isPressKey(e))
        return false;
    if (focusIndex >= 0)
        choose(focusIndex);
    return true;
}

bool ButtonList::onEvent(QEvent* e)
{
    if (e->type() == QEvent::FocusIn) {
        focusReason_ = static_cast<QFocusEvent*>(e)->reason();
        return false;
    }
    if (e->type() != QEvent::KeyPress || !isRunMode())
        return false;
    auto* k = static_cast<QKeyEvent*>(e);
    // Tab walks the buttons; at either end it moves on to the next control.
    if (k->key() == Qt::Key_Backtab || (k->key() == Qt::Key_Tab && (k->modifiers() & Qt::ShiftModifier))) {
        if (focusIndex > 0) {
            --focusIndex;
            invalidate();
            return true;
        }
    } else if (k->key() == Qt::Key_Tab) {
        if (focusIndex < layout.count - 1) {
            ++focusIndex;
            invalidate();
            return true;
        }
    }
    return false;
}

void ButtonList::onFocusIn()
{
    if (focusReason_ == Qt::TabFocusReason)
        focusIndex = layout.count > 0 ? 0 : -1;
    else if (focusReason_ == Qt::BacktabFocusReason)
        focusIndex = layout.count - 1;
    focusReason_ = Qt::OtherFocusReason;
    ControlBase::onFocusIn();
}

void ButtonList::onFocusOut()
{
    focusIndex = -1;
    ControlBase::onFocusOut();
}

void ButtonList::onWindowCreated()
{
    if (!server())
        refreshFromServer();
}

void ButtonList::refreshFromServer()
{
    ICommandServer* s = server();
    if (!s || !command().registered()) {
        if (!enabled_) {
            layout.count = kUnboundCount;
            captions.clear();
            colors.clear();
            enabled_ = 1;
            invalidate();
        }
        applyShowState(true);
        return;
    }
    const LONG cookie = command().cookie();
    bool changedAny = false;
    LONG index = current;
    if (SUCCEEDED(s->GetIndex(cookie, &index)) && index != current) {
        current = int(index);
        changedAny = true;
    }
    LONG n = 0;
    if (FAILED(s->GetEntryCount(cookie, &n)) || n < 0)
        n = 0;
    n = std::min(n, kMostEntries);
    std::vector<std::string> texts(static_cast<size_t>(n));
    std::vector<OLE_COLOR> entryColors(size_t(n), backColor);
    for (LONG i = 0; i < n; ++i) {
        BSTR t = nullptr;
        if (SUCCEEDED(s->GetEntryText(cookie, i, &t)) && t)
            texts[size_t(i)] = com::utf8(t);
        SysFreeString(t);
        if (LONG c = 0; SUCCEEDED(s->GetEntryLong(cookie, i, &c)))
            entryColors[size_t(i)] = OLE_COLOR(c);
    }
    if (n != layout.count || texts != captions || entryColors != colors) {
        layout.count = int32_t(n);
        captions = std::move(texts);
        colors = std::move(entryColors);
        changedAny = true;
    }
    int enabledNow = 0;
    bool visible = true;
    readCommandState(enabledNow, visible);
    if (enabledNow != enabled_ || changedAny) {
        enabled_ = enabledNow;
        if (focusIndex >= layout.count)
            focusIndex = layout.count - 1;
        invalidate();
    }
    applyShowState(visible);
}

HRESULT createButtonList(REFIID iid, void** out)
{
    auto b = com::make<ButtonList>();
    return b->QueryInterface(iid, out);
}

} // namespace vyr::controls
