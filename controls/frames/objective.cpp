#include "controls/frames/objective.h"
#include "controls/core/draw/drawing.h"
#include "controls/core/properties.h"
#include "platform/com/bstr.h"
#include <QApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QMouseEvent>
#include <QScreen>

namespace vyr::controls {

namespace {

const EnumNames& styleNames()
{
    static const EnumNames n{{"Button", "Button if more than one entry"}, VT_I4, {}, nullptr,
                             {"eAlwaysButton", "eButtonIfSeveral"}};
    return n;
}

// The drop-down window: a list that closes on Escape, on a click elsewhere (as every popup
// window does) and when an entry is chosen.
class EntryList final : public QListWidget {
public:
    EntryList(Objective& owner, QWidget* parent) : QListWidget(parent), owner_(owner)
    {
        setWindowFlags(Qt::Popup);
        setAttribute(Qt::WA_DeleteOnClose);
        setUniformItemSizes(true);
        setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        connect(this, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) { owner_.choose(row(item)); });
        // A press anywhere else in the application closes the list, whichever window it lands on.
        qApp->installEventFilter(this);
    }
    ~EntryList() override { qApp->removeEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (e->type() != QEvent::MouseButtonPress && e->type() != QEvent::NonClientAreaMouseButtonPress)
            return false;
        // While the list is the open popup, presses elsewhere are delivered to it: tell them by
        // their place on the screen.
        const QPoint at = static_cast<QMouseEvent*>(e)->globalPosition().toPoint();
        if (!qobject_cast<QWidget*>(watched) || !isVisible() || QRect(mapToGlobal(QPoint(0, 0)), size()).contains(at))
            return false;
        close();
        // A press on the button closes the list without opening it again.
        QWidget* button = owner_.window();
        return button && QRect(button->mapToGlobal(QPoint(0, 0)), button->size()).contains(at);
    }
    void keyPressEvent(QKeyEvent* e) override
    {
        if (e->key() == Qt::Key_Escape) {
            close();
            return;
        }
        if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && currentRow() >= 0) {
            owner_.choose(currentRow());
            return;
        }
        QListWidget::keyPressEvent(e);
    }

private:
    Objective& owner_;
};

} // namespace

Objective::Objective() : PushButtonBase(classDescriptor()) { face.executeOnRelease = 1; }

Objective::~Objective() { closeList(); }

const ClassDescriptor& Objective::classDescriptor()
{
    using C = Objective;
    static const ClassDescriptor d{
        CLSID_Objective,
        IID_IListButton,
        DIID__DButton,
        {props::command(), props::caption(), props::font(), foreColorProperty(), backColorProperty(),
         pictureProperty(), backPictureProperty(), captionPositionProperty(), picturePositionProperty(),
         props::enabled(), pictureEnableProperty(), captionEnableProperty(),
         props::longField<C>(kStyle, "Style", [](C& c) -> int32_t& { return c.style; }, &styleNames())},
        {props::method<C>(DISPID_DOCLICK, "DoClick", [](C& c) { return c.doClick(); }),
         props::method<C>(DISPID_ABOUTBOX, "AboutBox", [](C&) { return showAboutBox(); })},
        {50, DISPID_ENABLED, DISPID_CAPTION, DISPID_BACKCOLOR, DISPID_FORECOLOR, 4, 3, 5, 6, 7, 8, DISPID_FONT, kStyle},
        "IListButton", // its members' order is the descriptor's
    };
    return d;
}

void Objective::refreshFromServer()
{
    ICommandServer* s = server();
    if (!s || !command().registered()) {
        refreshUnbound();
        return;
    }
    const LONG cookie = command().cookie();
    entries_.clear();
    current_ = -1;
    LONG visible = 1;
    VARIANT_BOOL enabled = enabled_ ? VARIANT_TRUE : VARIANT_FALSE;
    s->GetCommandVisible(cookie, &visible);
    s->GetCommandEnabled(cookie, &enabled);
    enabled_ = enabled ? 1 : 0;
    LONG count = 0;
    if (window() && SUCCEEDED(s->GetEntryCount(cookie, &count))) {
        bool complete = true;
        for (LONG i = 0; i < std::min(count, kMaxEntries); ++i) {
            com::Bstr text;
            if (FAILED(s->GetEntryText(cookie, i, text.put()))) {
                complete = false;
                break;
            }
            ObjectiveEntry e{text.str(), -1};
            if (FAILED(s->GetEntryLong(cookie, i, &e.value)))
                e.value = -1;
            entries_.push_back(std::move(e));
        }
        if (complete && FAILED(s->GetIndex(cookie, &current_)))
            current_ = -1;
    }
    invalidate();
    applyShowState((visible & 0xFFFF) != 0);
}

HRESULT Objective::executeOwnCommand()
{
    if (!dropsDown())
        return PushButtonBase::executeOwnCommand(); // a plain button runs its command
    openList();
    return S_OK;
}

void Objective::openList()
{
    QWidget* w = window();
    if (!w || list_)
        return;
    auto* list = new EntryList(*this, w);
    list_ = list;
    list->setFont(qfont());
    QPalette pal = list->palette();
    pal.setColor(QPalette::Base, draw::ColorOf(face.backColor));
    pal.setColor(QPalette::Text, draw::ColorOf(face.foreColor));
    list->setPalette(pal);
    for (const ObjectiveEntry& e : entries_)
        list->addItem(QString::fromStdString(e.text));
    if (current_ >= 0 && current_ < list->count())
        list->setCurrentRow(current_);
    // Under the button, at least as wide, as high as the rows need up to a screen's third.
    const int rows = std::max(1, list->count());
    const int rowHeight = std::max(list->sizeHintForRow(0), QFontMetrics(list->font()).height() + 2);
    int height = rows * rowHeight + 2 * list->frameWidth();
    const QRect screen = w->screen() ? w->screen()->availableGeometry() : QRect(0, 0, 1024, 768);
    height = std::min(height, std::max(rowHeight * 3, screen.height() / 3));
    QPoint at = w->mapToGlobal(QPoint(0, w->height()));
    if (at.y() + height > screen.bottom() + 1)
        at.setY(w->mapToGlobal(QPoint(0, 0)).y() - height); // no room below: above the button
    list->setGeometry(QRect(at, QSize(std::max(w->width(), list->sizeHintForColumn(0) + 8), height)));
    list->show();
    list->setFocus();
}

void Objective::closeList()
{
    if (list_)
        list_->close();
}

HRESULT Objective::choose(LONG index)
{
    if (index < 0 || size_t(index) >= entries_.size())
        return E_INVALIDARG;
    closeList();
    ICommandServer* s = server();
    if (!s || !command().registered())
        return E_FAIL;
    return s->SelectEntry(command().cookie(), index);
}

void Objective::onKeyDownPress() { setPressed(true); }

void Objective::onKeyUpRelease()
{
    setPressed(false);
    fire(DISPID_CLICK);
    executeOwnCommand();
}

void Objective::onDraw(QPainter& painter, const QRect& bounds)
{
    // The single-entry face of Style 1 keeps its caption in the centre, wherever CaptionPosition
    // puts it otherwise.
    if (style == 1 && entries_.size() < 2 && enabledFlag()) {
        const int held = face.captionPosition;
        face.captionPosition = 4;
        FaceControl::onDraw(painter, bounds);
        face.captionPosition = held;
        return;
    }
    FaceControl::onDraw(painter, bounds);
}

HRESULT createObjective(REFIID iid, void** out)
{
    auto c = com::make<Objective>();
    return c->QueryInterface(iid, out);
}

} // namespace vyr::controls
