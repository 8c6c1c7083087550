#include "controls/propertypages/propertybrowser.h"
#include "controls/core/classtable.h"
#include "controls/core/properties.h"
#include "controls/propertypages/colorpicker.h"
#include "controls/propertypages/propertyframe.h"
#include "platform/gdi/syscolors.h"
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWidget>

namespace vyr::controls {

using browser::Line;

namespace {

constexpr DISPID kSetDispatch = 1;
constexpr DISPID kAddDispatch = 2;
constexpr DISPID kIsPointInClientArea = 3;
constexpr int kMargin = 3;

PropertyBrowser& self(ControlBase& b) { return static_cast<PropertyBrowser&>(b); }

// The methods receive their arguments checked and converted to the declared types by the
// control base (reversed, as in every DISPPARAMS): an object is a VT_DISPATCH (null for none),
// the out flag a VT_BYREF|VT_BOOL with a place to write to.
IDispatch* objectArg(const DISPPARAMS* p) { return p->rgvarg[0].pdispVal; }

HRESULT callSetDispatch(ControlBase& b, DISPPARAMS* p, VARIANT*) { return self(b).setDispatch(objectArg(p)); }

HRESULT callAddDispatch(ControlBase& b, DISPPARAMS* p, VARIANT*) { return self(b).addDispatch(objectArg(p)); }

// IsPointInClientArea(out inClientArea, x, y).
HRESULT callIsPointInClientArea(ControlBase& b, DISPPARAMS* p, VARIANT*)
{
    const bool inside = self(b).isPointInClientArea(p->rgvarg[1].lVal, p->rgvarg[0].lVal);
    *static_cast<VARIANT_BOOL*>(p->rgvarg[2].byref) = inside ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

// Forwards the key presses of a child widget to a handler.
class KeyFilter : public QObject {
public:
    KeyFilter(QObject* parent, std::function<bool(QKeyEvent*)> f) : QObject(parent), f_(std::move(f)) {}
    bool eventFilter(QObject*, QEvent* e) override
    {
        return e->type() == QEvent::KeyPress && f_(static_cast<QKeyEvent*>(e));
    }

private:
    std::function<bool(QKeyEvent*)> f_;
};

bool isBoolLine(const Line& l)
{
    return l.kind == browser::kKindPlain && l.constants.empty() && !l.rows.empty() &&
           l.rows.front()->value.type() == VT_BOOL;
}

} // namespace

PropertyBrowser::PropertyBrowser() : ControlBase(classDescriptor())
{
    // The browser has no Enabled property: its window always takes input.
    enabled_ = 1;
    command().setText("CommandList");
    model_.changed = [this](DISPID id) { modelChanged(id); };
}

PropertyBrowser::~PropertyBrowser()
{
    model_.changed = nullptr;
    destroyChildren();
}

const ClassDescriptor& PropertyBrowser::classDescriptor()
{
    static const ClassDescriptor d{
        CLSID_PropertyBrowser,
        IID_IVyrPropertyBrowser,
        GUID_NULL,
        {props::colorField<PropertyBrowser>(DISPID_FORECOLOR, "ForeColor",
                                            [](PropertyBrowser& b) -> OLE_COLOR& { return b.foreColor; }),
         props::colorField<PropertyBrowser>(DISPID_BACKCOLOR, "BackColor",
                                            [](PropertyBrowser& b) -> OLE_COLOR& { return b.backColor; }),
         props::font()},
        {MethodDesc{kSetDispatch, "SetDispatch", callSetDispatch, {{"object", PropType::Object}}, std::nullopt,
                    "Browse this object only (none: empty the browser)"},
         MethodDesc{kAddDispatch, "AddDispatch", callAddDispatch, {{"object", PropType::Object}}, std::nullopt,
                    "Browse this object too"},
         MethodDesc{kIsPointInClientArea, "IsPointInClientArea", callIsPointInClientArea,
                    {{"inClientArea", PropType::Bool, true}, {"x", PropType::Long}, {"y", PropType::Long}}, std::nullopt,
                    "Whether the point lies in the browser's client area"}},
        {DISPID_FORECOLOR, DISPID_BACKCOLOR, DISPID_FONT},
        "IVyrPropertyBrowser",
        slotList({{kSetDispatch, "call"},
                  {kAddDispatch, "call"},
                  {kIsPointInClientArea, "call"},
                  {DISPID_FORECOLOR, "get/put"},
                  {DISPID_BACKCOLOR, "get/put"},
                  {DISPID_FONT, "get/putref/put"}}),
    };
    return d;
}

// ---------------------------------------------------------------- objects

HRESULT PropertyBrowser::setDispatch(IDispatch* object)
{
    cancelEdit();
    selected_ = -1;
    return model_.setDispatch(object);
}

HRESULT PropertyBrowser::addDispatch(IDispatch* object)
{
    if (!object)
        return E_POINTER;
    cancelEdit();
    return model_.addDispatch(object);
}

bool PropertyBrowser::isPointInClientArea(int x, int y) const
{
    QWidget* w = window();
    if (!w)
        return false;
    QRect client = w->rect();
    if (scroll_ && scroll_->isVisible())
        client.setRight(scroll_->geometry().left() - 1);
    return client.contains(x, y);
}

void PropertyBrowser::modelChanged(DISPID id)
{
    const int count = int(model_.lines().size());
    if (selected_ >= count)
        selected_ = count - 1;
    if (editLine_ >= 0) {
        // The line under edit may have moved or gone; refresh its editor when its value changed.
        const int now = model_.lineOf(editName_);
        if (now < 0) {
            cancelEdit();
        } else {
            editLine_ = now;
            const Line& l = model_.lines()[size_t(now)];
            if (edit_ && (id == DISPID_UNKNOWN || id == l.id) && !edit_->isModified())
                edit_->setText(QString::fromStdString(model_.text(size_t(now))));
        }
    }
    layOut();
    invalidate();
}

void PropertyBrowser::refreshFromServer()
{
    // The "CommandList" registration carries no enabled or visible state for the browser.
    enabled_ = 1;
    applyShowState(true);
}

// ---------------------------------------------------------------- geometry

int PropertyBrowser::rowHeight() { return QFontMetrics(qfont()).height() + 4; }

int PropertyBrowser::topLine() const { return scroll_ && scroll_->isVisible() ? scroll_->value() : 0; }

int PropertyBrowser::visibleLines()
{
    const QRect r = clientRect();
    return std::max(1, r.height() / rowHeight());
}

QRect PropertyBrowser::lineRect(int line)
{
    QRect r = clientRect();
    if (scroll_ && scroll_->isVisible())
        r.setRight(scroll_->geometry().left() - 1);
    const int h = rowHeight();
    return QRect(r.left(), r.top() + (line - topLine()) * h, r.width(), h);
}

QRect PropertyBrowser::valueRect(int line)
{
    QRect r = lineRect(line);
    r.setLeft(r.left() + r.width() * 2 / 5 + 1);
    return r;
}

int PropertyBrowser::lineAt(QPoint p)
{
    const int h = rowHeight();
    const int line = topLine() + p.y() / h;
    if (p.y() < 0 || line < 0 || line >= int(model_.lines().size()) || !isPointInClientArea(p.x(), p.y()))
        return -1;
    return line;
}

void PropertyBrowser::layOut()
{
    QWidget* w = window();
    if (!w || !scroll_)
        return;
    const int count = int(model_.lines().size());
    const int fit = std::max(1, w->height() / rowHeight());
    const int sw = scroll_->sizeHint().width();
    scroll_->setGeometry(w->width() - sw, 0, sw, w->height());
    scroll_->setRange(0, std::max(0, count - fit));
    scroll_->setPageStep(fit);
    scroll_->setVisible(count > fit);
    if (editLine_ >= 0 && edit_)
        edit_->setGeometry(valueRect(editLine_).adjusted(1, 1, 0, -1));
}

void PropertyBrowser::ensureVisible(int line)
{
    if (!scroll_ || line < 0)
        return;
    const int fit = visibleLines();
    if (line < scroll_->value())
        scroll_->setValue(line);
    else if (line >= scroll_->value() + fit)
        scroll_->setValue(line - fit + 1);
}

// ---------------------------------------------------------------- drawing

void PropertyBrowser::onDraw(QPainter& p, const QRect& bounds)
{
    const QColor back = gdi::ColorOf(backColor);
    const QColor fore = gdi::ColorOf(foreColor);
    p.fillRect(bounds, back);
    p.setFont(qfont());
    const QFontMetrics fm(p.font());
    const int count = int(model_.lines().size());
    const int first = topLine();
    const int last = std::min(count, first + visibleLines() + 1);
    const QColor grid = gdi::SysColor(gdi::COLOR_BTNSHADOW);
    for (int i = first; i < last; ++i) {
        const Line& l = model_.lines()[size_t(i)];
        const QRect row = lineRect(i);
        const QRect value = valueRect(i);
        QRect name(row.left(), row.top(), value.left() - row.left() - 1, row.height());
        if (i == selected_) {
            p.fillRect(name, gdi::SysColor(gdi::COLOR_HIGHLIGHT));
            p.setPen(gdi::SysColor(gdi::COLOR_HIGHLIGHTTEXT));
        } else {
            p.setPen(fore);
        }
        p.drawText(name.adjusted(kMargin, 0, -kMargin, 0), Qt::AlignLeft | Qt::AlignVCenter,
                   fm.elidedText(QString::fromStdString(l.name), Qt::ElideRight, name.width() - 2 * kMargin));
        p.fillRect(value, gdi::SysColor(gdi::COLOR_WINDOW));
        const QString text = QString::fromStdString(model_.text(size_t(i)));
        QRect textRect = value.adjusted(kMargin, 0, -kMargin, 0);
        if (l.kind == browser::kKindColor && l.agree) {
            // The swatch: a square of the text height after the margin, vertically centred.
            const int side = fm.height();
            const QRect swatch(value.left() + kMargin, value.top() + (value.height() - side) / 2, side, side);
            p.fillRect(swatch, gdi::ColorOf(browser::colorValue(l.value).value_or(0)));
            p.setPen(Qt::black);
            p.drawRect(swatch.adjusted(0, 0, -1, -1));
            textRect.setLeft(swatch.right() + 1 + kMargin);
        }
        p.setPen(l.readOnly ? gdi::SysColor(gdi::COLOR_GRAYTEXT) : gdi::SysColor(gdi::COLOR_WINDOWTEXT));
        p.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter, fm.elidedText(text, Qt::ElideRight, textRect.width()));
        p.setPen(grid);
        p.drawLine(row.left(), row.bottom(), row.right(), row.bottom());
        p.drawLine(value.left() - 1, row.top(), value.left() - 1, row.bottom());
    }
}

// ---------------------------------------------------------------- window

void PropertyBrowser::onWindowCreated()
{
    QWidget* w = window();
    w->setFocusPolicy(Qt::StrongFocus);
    scroll_ = new QScrollBar(Qt::Vertical, w);
    scroll_->setObjectName(QStringLiteral("scroll101"));
    QObject::connect(scroll_, &QScrollBar::valueChanged, w, [this] {
        layOut();
        invalidate();
    });
    edit_ = new QLineEdit(w);
    edit_->setObjectName(QStringLiteral("edit102"));
    edit_->setFrame(false);
    edit_->setFont(qfont());
    edit_->hide();
    edit_->installEventFilter(new KeyFilter(edit_, [this](QKeyEvent* e) { return editKey(e); }));

    choices_ = new QListWidget(w);
    choices_->setWindowFlags(Qt::Popup);
    choices_->setObjectName(QStringLiteral("choices"));
    choices_->setFont(qfont());
    choices_->setStyleSheet(QStringLiteral("QListWidget { background: %1; }")
                                .arg(gdi::SysColor(gdi::COLOR_WINDOW).name()));
    auto pickChoice = [this](QListWidgetItem* item) {
        choices_->hide();
        choose(com::Variant::fromLong(item->data(Qt::UserRole).toInt()));
    };
    QObject::connect(choices_, &QListWidget::itemClicked, w, pickChoice);
    QObject::connect(choices_, &QListWidget::itemActivated, w, pickChoice);

    picker_ = new browser::ColorPicker(w);
    picker_->setFont(qfont());
    QObject::connect(picker_, &browser::ColorPicker::picked, w, [this](OLE_COLOR c) {
        picker_->hide();
        choose(com::Variant::fromULong(c));
    });
    layOut();
}

void PropertyBrowser::destroyChildren()
{
    delete choices_.data();
    delete picker_.data();
}

HRESULT PropertyBrowser::onWindowDestroying()
{
    cancelEdit();
    destroyChildren();
    return S_OK;
}

void PropertyBrowser::onResize() { layOut(); }

bool PropertyBrowser::onEvent(QEvent* e)
{
    if (e->type() == QEvent::Wheel && scroll_ && scroll_->isVisible()) {
        QCoreApplication::sendEvent(scroll_, e);
        return true;
    }
    return false;
}

// ---------------------------------------------------------------- selection and editing

void PropertyBrowser::select(int line)
{
    const int count = int(model_.lines().size());
    if (count == 0)
        return;
    line = std::clamp(line, 0, count - 1);
    if (line != selected_) {
        selected_ = line;
        ensureVisible(line);
        invalidate();
    }
}

bool PropertyBrowser::editing() const { return editLine_ >= 0 && edit_ && edit_->isVisible(); }

bool PropertyBrowser::beginEdit(int line)
{
    cancelEdit();
    if (line < 0 || line >= int(model_.lines().size()) || !window())
        return false;
    select(line);
    const Line& l = model_.lines()[size_t(line)];
    if (l.readOnly)
        return false;
    if (l.kind == browser::kKindFont || l.kind == browser::kKindPicture) {
        // Fonts and pictures are edited on their stock page, in the property frame.
        std::vector<IUnknown*> objects;
        for (const browser::Row* r : l.rows)
            objects.push_back(r->object.get());
        auto* frame = new PropertyFrame(window(), QString::fromStdString(l.name), objects, commonPages(objects));
        frame->setObjectName(QStringLiteral("propertyFrame"));
        frame->setAttribute(Qt::WA_DeleteOnClose);
        if (!frame->editProperty(l.id)) {
            delete frame;
            return false;
        }
        frame->open();
        return true;
    }
    const QRect value = valueRect(line);
    const QPoint below = window()->mapToGlobal(value.bottomLeft() + QPoint(0, 1));
    if (l.kind == browser::kKindColor) {
        picker_->open(l.agree ? browser::colorValue(l.value).value_or(0xFFFFFFFFu) : 0xFFFFFFFFu);
        picker_->move(below);
        picker_->show();
        picker_->setFocus();
        return true;
    }
    if (!l.constants.empty() || isBoolLine(l)) {
        choices_->clear();
        const std::vector<browser::EnumConst> items =
            l.constants.empty() ? std::vector<browser::EnumConst>{{"False", 0}, {"True", -1}} : l.constants;
        const auto current = l.agree ? l.value.toLong() : std::nullopt;
        for (const auto& c : items) {
            auto* item = new QListWidgetItem(QString::fromStdString(c.name), choices_);
            item->setData(Qt::UserRole, c.value);
            if (current && (*current == c.value || (isBoolLine(l) && (*current != 0) == (c.value != 0))))
                choices_->setCurrentItem(item);
        }
        const int h = std::min(int(items.size()), 10) * choices_->sizeHintForRow(0) + 4;
        choices_->setGeometry(QRect(below, QSize(value.width(), h)));
        choices_->show();
        choices_->setFocus();
        return true;
    }
    editLine_ = line;
    editName_ = l.name;
    edit_->setText(QString::fromStdString(model_.text(size_t(line))));
    edit_->setModified(false);
    edit_->setGeometry(value.adjusted(1, 1, 0, -1));
    edit_->show();
    edit_->setFocus();
    edit_->selectAll();
    return true;
}

bool PropertyBrowser::commitEdit()
{
    if (!editing())
        return false;
    const int line = editLine_;
    const std::string text = edit_->text().toStdString();
    const HRESULT hr = model_.writeText(size_t(line), text);
    if (FAILED(hr)) {
        messageBeep();
        return false;
    }
    cancelEdit();
    return true;
}

void PropertyBrowser::cancelEdit()
{
    editLine_ = -1;
    editName_.clear();
    if (edit_ && edit_->isVisible()) {
        edit_->hide();
        if (QWidget* w = window())
            w->setFocus();
    }
    if (choices_)
        choices_->hide();
    if (picker_)
        picker_->hide();
}

void PropertyBrowser::choose(const com::Variant& value)
{
    if (selected_ < 0 || selected_ >= int(model_.lines().size()))
        return;
    com::Variant v = value;
    const Line& l = model_.lines()[size_t(selected_)];
    if (isBoolLine(l))
        v = com::Variant::fromBool(value.toLong().value_or(0) != 0);
    if (FAILED(model_.write(size_t(selected_), v)))
        messageBeep();
    if (QWidget* w = window())
        w->setFocus();
}

bool PropertyBrowser::editKey(QKeyEvent* e)
{
    const int line = editLine_;
    switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: commitEdit(); return true;
    case Qt::Key_Escape: cancelEdit(); return true;
    case Qt::Key_Tab:
    case Qt::Key_Down:
        if (commitEdit())
            select(line + 1);
        return true;
    case Qt::Key_Backtab:
    case Qt::Key_Up:
        if (commitEdit())
            select(line - 1);
        return true;
    default: return false;
    }
}

void PropertyBrowser::onMousePress(QMouseEvent* e)
{
    takeFocus();
    const int line = lineAt(e->position().toPoint());
    if (line < 0)
        return;
    const bool again = line == selected_;
    select(line);
    // A click on the value of the selected line opens its editor.
    if (again && valueRect(line).contains(e->position().toPoint()))
        beginEdit(line);
}

void PropertyBrowser::onMouseDoubleClick(QMouseEvent* e)
{
    const int line = lineAt(e->position().toPoint());
    if (line >= 0)
        beginEdit(line);
}

bool PropertyBrowser::onKeyPress(QKeyEvent* e)
{
    const int count = int(model_.lines().size());
    switch (e->key()) {
    case Qt::Key_Up: select(selected_ < 0 ? 0 : selected_ - 1); return true;
    case Qt::Key_Down: select(selected_ + 1); return true;
    case Qt::Key_PageUp: select(selected_ - visibleLines()); return true;
    case Qt::Key_PageDown: select(selected_ + visibleLines()); return true;
    case Qt::Key_Home: select(0); return true;
    case Qt::Key_End: select(count - 1); return true;
    case Qt::Key_Tab: select(selected_ + 1); return true;
    case Qt::Key_Backtab: select(selected_ - 1); return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_F2:
        if (selected_ >= 0)
            beginEdit(selected_);
        return true;
    case Qt::Key_Escape: cancelEdit(); return true;
    default: return false;
    }
}

// The browser's command is its own fixed one, not a name the user gave it: it is called by
// its class.
void PropertyBrowser::describe(AccessFacts& facts) const
{
    ControlBase::describe(facts);
    if (const ClassRow* row = findClass(CLSID_PropertyBrowser); row && facts.name.isEmpty())
        facts.name = QString::fromUtf8(row->description);
}

HRESULT createPropertyBrowser(REFIID iid, void** out)
{
    auto b = com::make<PropertyBrowser>();
    return b->QueryInterface(iid, out);
}

} // namespace vyr::controls
