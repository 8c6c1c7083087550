#include "controls/lists/display.h"
#include "controls/core/draw/drawing.h"
#include "controls/core/properties.h"
#include "controls/lists/labelframe.h"
#include "controls/lists/recolor.h"
#include "controls/values/number_text.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/gdi/text.h"
#include <QPainter>
#include <QScrollBar>

namespace vyr::controls {

namespace {

constexpr DISPID kCommandType = 92, kPicture = 7, kBackPicture = 8, kCaptionPosition = 6, kPicturePosition = 5,
                 kFrameStyle = 13, kUseBackColor = 60, kShowDoubles = 117, kPrecision = 118, kTabWidth = 119,
                 kVerticalScrollBar = 124, kHorzScrollBar = 125;
constexpr const char* kNoText = "Display";

const EnumNames& commandTypeNames()
{
    static const EnumNames n{{"String", "String + Back Color", "String + Picture Color", "Back Color", "Picture Color",
                              "Table", "Picture via Interface"},
                             VT_I4, {}, nullptr,
                             {"eString", "eStringBackColor", "eStringPictureColor", "eBackColor", "ePictureColor",
                              "eTable", "ePictureViaInterface"}};
    return n;
}

// These properties change what is read from the server: read again at once.
void reread(Display& d) { d.refreshFromServer(); }

} // namespace

Display::Display() : ControlBase(classDescriptor())
{
    enabled_ = 1; // a display never disables itself
}

const ClassDescriptor& Display::classDescriptor()
{
    using C = Display;
    using namespace props;
    using Pic = com::ComPtr<IPictureDisp>;
    static const ClassDescriptor d{
        CLSID_Display,
        IID_IDisplay,
        DIID__DButton,
        {
            props::command(),
            longField<C>(kCommandType, "CommandType", [](C& c) -> int32_t& { return c.commandType; },
                         &commandTypeNames(), reread),
            props::font(),
            colorField<C>(DISPID_FORECOLOR, "TextColor", [](C& c) -> OLE_COLOR& { return c.textColor; }),
            colorField<C>(DISPID_BACKCOLOR, "BackColor", [](C& c) -> OLE_COLOR& { return c.backColor; }),
            boolField<C>(kUseBackColor, "UseBackColor", [](C& c) -> int& { return c.useBackColor; }),
            pictureField<C>(kPicture, "Picture", [](C& c) -> Pic& { return c.picture; }),
            pictureField<C>(kBackPicture, "BackPicture", [](C& c) -> Pic& { return c.backPicture; }),
            shortField<C>(kCaptionPosition, "CaptionPosition", [](C& c) -> int& { return c.captionPosition; },
                          &itemPositionNames()),
            shortField<C>(kPicturePosition, "PicturePosition", [](C& c) -> int& { return c.picturePosition; },
                          &itemPositionNames()),
            shortField<C>(kFrameStyle, "FrameStyle", [](C& c) -> int& { return c.frameStyle; },
                          &lists::frameStyleNames()),
            boolField<C>(kShowDoubles, "ShowDoubles", [](C& c) -> int& { return c.showDoubles; }, reread),
            shortField<C>(kPrecision, "Precision", [](C& c) -> int& { return c.precision; }, nullptr, reread),
            shortField<C>(kTabWidth, "TabWidth", [](C& c) -> int& { return c.tabWidth; }, nullptr, reread),
            boolField<C>(kVerticalScrollBar, "VerticalScrollBar", [](C& c) -> int& { return c.verticalScrollBar; },
                         reread),
            boolField<C>(kHorzScrollBar, "HorzScrollBar", [](C& c) -> int& { return c.horzScrollBar; }, reread),
        },
        {},
        {50, DISPID_FONT, DISPID_FORECOLOR, DISPID_BACKCOLOR, kBackPicture, kCaptionPosition, kFrameStyle,
         kUseBackColor, kCommandType, kPicturePosition, kPicture, kShowDoubles, kPrecision, kTabWidth,
         kVerticalScrollBar, kHorzScrollBar},
    };
    return d;
}

void Display::readServer(bool& visible)
{
    ICommandServer* s = server();
    const LONG cookie = command().cookie();
    serverPicture_.reset();
    if (commandType == PictureViaInterface) {
        com::ComPtr<IUnknown> object;
        if (SUCCEEDED(s->GetObject(cookie, object.put())) && object)
            object->QueryInterface(IID_IPictureDisp, serverPicture_.putVoid());
        invalidate();
    }
    LONG shown = 1;
    s->GetCommandVisible(cookie, &shown);
    visible = (shown & 0xFFFF) != 0;

    std::string text = kNoText;
    if (showDoubles) {
        double v = 0;
        if (SUCCEEDED(s->GetValue(cookie, &v)))
            text = values::formatFixed(v, precision);
    } else {
        com::Bstr b;
        if (SUCCEEDED(s->GetText(cookie, b.put())))
            text = b.str();
    }
    OLE_COLOR color = serverColor_;
    if (FAILED(s->GetColor(cookie, &color)))
        color = serverColor_;
    if (text != text_ || color != serverColor_) {
        text_ = text;
        serverColor_ = color;
        invalidate();
    }
}

void Display::refreshFromServer()
{
    bool visible = true;
    if (server() && command().registered()) {
        readServer(visible);
    } else {
        serverPicture_.reset();
        if (text_ != kNoText) {
            text_ = kNoText;
            invalidate();
        }
    }
    if (commandType == Table) {
        table_ = lists::parseTable(text_);
        relayoutTable(true);
    } else {
        table_ = {};
        if (hBar_)
            hBar_->hide();
        if (vBar_)
            vBar_->hide();
    }
    applyShowState(visible);
}

void Display::onWindowCreated()
{
    hBar_ = new QScrollBar(Qt::Horizontal, window());
    vBar_ = new QScrollBar(Qt::Vertical, window());
    for (QScrollBar* bar : {hBar_.data(), vBar_.data()}) {
        bar->hide();
        bar->setSingleStep(1);
        QObject::connect(bar, &QScrollBar::valueChanged, window(), [this] { invalidate(); });
    }
    if (commandType == Table)
        relayoutTable(true);
}

void Display::onResize()
{
    if (commandType == Table)
        relayoutTable(false);
}

void Display::relayoutTable(bool reset)
{
    const QFont f = qfont();
    const QSize s = gdi::TextExtent(f, QStringLiteral("S"));
    lists::TableInput in;
    in.bounds = clientRect();
    in.rows = table_.rows;
    in.charWidth = s.width();
    in.charHeight = s.height();
    in.rowHeight = gdi::TextExtent(f, QString::fromUtf8(table_.cell(0, 0)).left(1)).height();
    if (in.rowHeight <= 0)
        in.rowHeight = s.height();
    in.tabWidth = tabWidth;
    in.horizontalAllowed = horzScrollBar != 0;
    in.verticalAllowed = verticalScrollBar != 0;
    in.hBarHeight = gdi::GetSystemMetrics(gdi::SM_CYHSCROLL);
    in.vBarWidth = gdi::GetSystemMetrics(gdi::SM_CXVSCROLL);
    in.columnWidths.assign(size_t(table_.columns), 0);
    for (const auto& row : table_.cells)
        for (size_t c = 0; c < row.size(); ++c)
            if (!row[c].empty())
                in.columnWidths[c] = std::max(in.columnWidths[c], gdi::TextExtent(f, QString::fromUtf8(row[c])).width());
    layout_ = lists::layoutTable(in);

    if (!hBar_ || !vBar_)
        return;
    const QRect client = clientRect();
    const int barH = in.hBarHeight, barW = in.vBarWidth;
    const auto setUp = [&](QScrollBar* bar, bool shown, int max, int page, const QRect& where) {
        const QSignalBlocker block(bar);
        if (reset)
            bar->setValue(0);
        bar->setRange(0, shown ? max : 0);
        bar->setPageStep(page);
        bar->setGeometry(where);
        bar->setVisible(shown);
    };
    setUp(hBar_, layout_.hBar, layout_.hMax, layout_.hPage,
          QRect(0, client.height() - barH, client.width() - (layout_.vBar ? barW : 0), barH));
    setUp(vBar_, layout_.vBar, layout_.vMax, layout_.vPage,
          QRect(client.width() - barW, 0, barW, client.height() - (layout_.hBar ? barH : 0)));
    invalidate();
}

void Display::drawTable(QPainter& p)
{
    const QRect work = layout_.work;
    if (work.isEmpty())
        return;
    const int dx = (hBar_ && layout_.hBar ? hBar_->value() : 0) * layout_.step;
    const int dy = (vBar_ && layout_.vBar ? vBar_->value() : 0) * layout_.step;
    p.save();
    p.setClipRect(work, Qt::IntersectClip);
    draw::FillSolid(p, work, draw::ColorOf(backColor));
    p.setFont(qfont());
    p.setPen(gdi::TextColorOn(textColor, backColor));
    p.setBackgroundMode(Qt::TransparentMode);
    const int h = layout_.rowHeight;
    // Only the rows that reach the working rectangle are drawn.
    const int first = std::max(0, dy / (h + 2));
    for (int r = first; r < table_.rows; ++r) {
        const int y = work.top() - dy + r * (h + 2);
        if (y > work.bottom())
            break;
        int x = work.left() - dx;
        const auto& row = table_.cells[size_t(r)];
        for (size_t c = 0; c < row.size() && x <= work.right(); ++c) {
            const int width = c < layout_.columnWidths.size() ? layout_.columnWidths[c] : 0;
            if (!row[c].empty() && x + width >= work.left()) {
                QRect cell(x, y, std::max(width, 1), h);
                gdi::DrawText(p, QString::fromUtf8(row[c]), cell, 0x1C0);
            }
            x += width + layout_.gap;
        }
    }
    p.restore();
    if (layout_.hBar && layout_.vBar) {
        const QRect client = clientRect();
        const int barH = gdi::GetSystemMetrics(gdi::SM_CYHSCROLL), barW = gdi::GetSystemMetrics(gdi::SM_CXVSCROLL);
        draw::FillSolid(p, QRect(client.width() - barW, client.height() - barH, barW, barH), draw::ColorOf(backColor));
    }
}

void Display::onDraw(QPainter& p, const QRect& bounds)
{
    if (draw::IsClipBoxEmpty(p))
        return;
    p.save();
    p.setClipRect(bounds, Qt::IntersectClip);
    const QRect inner = lists::drawLabelFrame(p, bounds, frameStyle);
    const OLE_COLOR fill = (commandType == StringBackColor || commandType == BackColor) ? serverColor_ : backColor;
    lists::fillLabelBackground(p, window(), inner, fill, backPicture.get());

    IPictureDisp* shown = serverPicture_ ? serverPicture_.get() : picture.get();
    com::ComPtr<IPictureDisp> recolored;
    if (commandType == StringPictureColor || commandType == PictureColor) {
        shown = nullptr;
        if (com::pictureType(picture.get()) == PICTYPE_BITMAP &&
            SUCCEEDED(com::createPicture(lists::recolorRed(com::qimageOf(picture.get()), draw::ColorOf(serverColor_)),
                                         recolored.put())))
            shown = recolored.get();
    }
    if (commandType != Table)
        draw::PlacePicture(p, shown, inner, QRect(), picturePosition, false, false);

    if (commandType == String || commandType == StringBackColor || commandType == StringPictureColor) {
        const QFont f = qfont();
        const OLE_COLOR text = gdi::toColorRef(gdi::TextColorOn(textColor, fill));
        draw::DrawCaptionText(p, text_, &f, inner, captionPosition, text, draw::kStyleNormal, false, true, true);
    } else if (commandType == Table) {
        drawTable(p);
    }
    p.restore();
}

void Display::describe(AccessFacts& facts) const
{
    ControlBase::describe(facts);
    facts.name = spokenCaption(text_);
    facts.text = QString::fromStdString(text_);
    facts.hasText = true;
}

HRESULT createDisplay(REFIID iid, void** out)
{
    auto c = com::make<Display>();
    return c->QueryInterface(iid, out);
}

} // namespace vyr::controls
