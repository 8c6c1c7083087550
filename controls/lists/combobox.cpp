#include "controls/lists/combobox.h"
#include "controls/core/properties.h"
#include "controls/lists/viewsupport.h"
#include "platform/gdi/fill.h"
#include "platform/gdi/invert.h"
#include "platform/gdi/syscolors.h"
#include <QAbstractItemView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QStylePainter>
#include <QTimer>

namespace vyr::controls {

namespace {

constexpr DISPID kEditable = 72;
constexpr int kVisibleItems = 10;

void renewCombo(ComboBox& c) { c.renew(); }

void drawEntry(QPainter& p, const ComboBox& c, const QRect& r, const QString& text, bool selected, bool focused)
{
    const ComboBox::EntryLook look = c.entryLook(selected);
    gdi::FillSolid(p, r, look.background);
    p.setPen(look.text);
    p.drawText(r.adjusted(c.textIndent(), 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
    if (focused)
        gdi::DrawFocusRect(p, r);
}

// The entries of the dropped list, drawn by the control's rule, one text line high.
class EntryDrawing final : public QStyledItemDelegate {
public:
    EntryDrawing(ComboBox& owner, QObject* parent) : QStyledItemDelegate(parent), owner_(owner) {}
    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        p->save();
        p->setFont(option.font);
        drawEntry(*p, owner_, option.rect, index.data().toString(), option.state & QStyle::State_Selected,
                  option.state & QStyle::State_HasFocus);
        p->restore();
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const QFontMetrics fm(option.font);
        return {fm.horizontalAdvance(index.data().toString()) + 2 * owner_.textIndent(), fm.height()};
    }

private:
    ComboBox& owner_;
};

// The drop-down. What the host hears of is decided here, from the user's own input: keys and
// the wheel on the closed drop-down change the selection, a choice confirmed in the dropped
// list is the one reported while that list closes, and the text field sends its text on
// Return and when the focus leaves it. The selection and text changes Qt makes on its own
// (matching a typed text against the entries when editing ends) reach nobody.
class DropDown final : public QComboBox {
public:
    DropDown(ComboBox& owner, QWidget* parent) : QComboBox(parent), owner_(owner) {}

    void hidePopup() override
    {
        closing_ = true; // an entry chosen in the list is reported right after this
        QComboBox::hidePopup();
        QTimer::singleShot(0, this, [this] { closing_ = false; });
    }
    bool closingWithChoice() const { return closing_; }
    void showPopup() override
    {
        QComboBox::showPopup();
        // About ten entries show, however long the list and whatever the style makes of it.
        QWidget* popup = view()->window();
        const int rows = std::min(count(), maxVisibleItems());
        const int rowHeight = view()->sizeHintForRow(0);
        if (rows <= 0 || rowHeight <= 0)
            return;
        const int wanted = rows * rowHeight + popup->height() - view()->viewport()->height();
        if (popup->height() > wanted) {
            popup->resize(popup->width(), wanted);
            view()->scrollTo(view()->currentIndex());
        }
    }

protected:
    void keyPressEvent(QKeyEvent* e) override
    {
        closing_ = false;
        if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
            // Taken in the text field; the other kind passes it on when activation failed.
            if (!owner_.isRunMode() || (FAILED(owner_.userReturn()) && !isEditable()))
                e->ignore();
            return;
        }
        const int before = currentIndex();
        QComboBox::keyPressEvent(e);
        reportSelection(before);
    }
    void wheelEvent(QWheelEvent* e) override
    {
        closing_ = false;
        const int before = currentIndex();
        QComboBox::wheelEvent(e);
        reportSelection(before);
    }
    void focusOutEvent(QFocusEvent* e) override
    {
        // Dropping the list moves the focus into it for a while: the field keeps its text.
        const bool dropping = e->reason() == Qt::PopupFocusReason || view()->isVisible();
        if (isEditable() && !dropping && owner_.isRunMode())
            owner_.userLeftField();
        QComboBox::focusOutEvent(e);
    }
    void paintEvent(QPaintEvent* e) override
    {
        if (isEditable()) {
            QComboBox::paintEvent(e); // the text field draws itself
            return;
        }
        // The closed field shows the current entry as the list draws it.
        QStylePainter p(this);
        QStyleOptionComboBox opt;
        initStyleOption(&opt);
        const QString text = opt.currentText;
        opt.currentText.clear();
        opt.currentIcon = QIcon();
        p.drawComplexControl(QStyle::CC_ComboBox, opt);
        const QRect field = style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, this);
        p.setFont(font());
        drawEntry(p, owner_, field, text, hasFocus(), hasFocus());
    }

private:
    void reportSelection(int before)
    {
        if (currentIndex() != before && owner_.isRunMode())
            owner_.userSelected(currentIndex());
    }

    ComboBox& owner_;
    bool closing_ = false;
};

} // namespace

ComboBox::ComboBox() : ViewControl(classDescriptor()) {}

const ClassDescriptor& ComboBox::classDescriptor()
{
    using C = ComboBox;
    using namespace props;
    static const ClassDescriptor d{
        CLSID_VyrComboBox,
        IID_IVyrComboBox,
        GUID_NULL,
        {
            props::command(),
            lists::withAfter(props::font(), [](ControlBase& b) { static_cast<C&>(b).renew(); }),
            colorField<C>(DISPID_FORECOLOR, "ForeColor", [](C& c) -> OLE_COLOR& { return c.foreColor; }, renewCombo),
            colorField<C>(DISPID_BACKCOLOR, "BackColor", [](C& c) -> OLE_COLOR& { return c.backColor; }, renewCombo),
            boolField<C>(kEditable, "Editable", [](C& c) -> int& { return c.editable; }, renewCombo),
        },
        {method<C>(DISPID_ABOUTBOX, "AboutBox", [](C&) { return S_OK; })},
        {50, DISPID_FONT, DISPID_FORECOLOR, DISPID_BACKCOLOR, kEditable},
    };
    return d;
}

void ComboBox::refreshFromServer()
{
    if (server() && command().registered())
        entries_.read(server(), command().cookie());
    else
        entries_.unbind();
    const int enabled = entries_.enabled() ? 1 : 0;
    if (enabled != enabled_) {
        enabled_ = enabled;
        invalidate();
    }
    applyShowState(entries_.visible());
    showEntries();
}

void ComboBox::showEntries()
{
    if (!combo_)
        return;
    const QSignalBlocker block(combo_);
    if (shownRevision_ != entries_.revision()) {
        shownRevision_ = entries_.revision();
        combo_->clear();
        QStringList texts;
        for (const std::string& e : entries_.entries())
            texts << QString::fromStdString(e);
        combo_->addItems(texts);
    }
    combo_->setCurrentIndex(entries_.current());
    if (combo_->lineEdit()) {
        const QSignalBlocker blockEdit(combo_->lineEdit());
        combo_->lineEdit()->setText(QString::fromStdString(entries_.text()));
    }
    lists::applyViewColors(combo_, foreColor, backColor, entries_.enabled());
    lists::applyViewColors(combo_->view(), foreColor, backColor, entries_.enabled());
    combo_->setEnabled(entries_.enabled());
    combo_->update();
}

ComboBox::EntryLook ComboBox::entryLook(bool selected) const
{
    if (!entries_.enabled())
        return {gdi::ColorOf(foreColor), gdi::SysColor(gdi::COLOR_BTNFACE)};
    if (selected)
        return {gdi::SysColor(gdi::COLOR_HIGHLIGHTTEXT), gdi::SysColor(gdi::COLOR_HIGHLIGHT)};
    return {gdi::ColorOf(foreColor), gdi::ColorOf(backColor)};
}

int ComboBox::textIndent() const
{
    const QFont font = combo_ ? combo_->font() : QFont();
    return 2 * (QFontMetrics(font).averageCharWidth() / 4);
}

void ComboBox::userSelected(int index)
{
    if (entries_.select(server(), command().cookie(), index) && editable)
        entries_.takeEntryText(index); // the field shows the entry now
}

void ComboBox::userChose(int index)
{
    userSelected(index);
    if (editable)
        entries_.takeEntryText(index);
    entries_.activate(server(), command().cookie(), index);
}

void ComboBox::userTyped() { entries_.edit(); }

void ComboBox::sendText()
{
    if (combo_ && combo_->lineEdit())
        entries_.commitText(server(), command().cookie(), combo_->lineEdit()->text().toStdString());
}

void ComboBox::userLeftField() { sendText(); }

HRESULT ComboBox::userReturn()
{
    if (editable && combo_ && combo_->lineEdit()) {
        sendText();
        if (combo_ && combo_->lineEdit()) // a host that notified may have renewed the field
            combo_->lineEdit()->selectAll();
        return S_OK;
    }
    return entries_.activate(server(), command().cookie(), combo_ ? combo_->currentIndex() : entries_.current());
}

void ComboBox::createComboBox()
{
    delete combo_.data();
    auto* dropDown = new DropDown(*this, window());
    combo_ = dropDown;
    combo_->setEditable(editable != 0);
    combo_->setInsertPolicy(QComboBox::NoInsert);
    // No completion: a typed text stays as typed, and Qt picks no entry matching it.
    if (combo_->isEditable())
        combo_->setCompleter(nullptr);
    combo_->setMaxVisibleItems(kVisibleItems);
    combo_->setItemDelegate(new EntryDrawing(*this, combo_));
    QObject::connect(combo_, &QComboBox::activated, combo_, [this, dropDown](int i) {
        if (isRunMode() && dropDown->closingWithChoice())
            userChose(i);
    });
    if (QLineEdit* edit = combo_->lineEdit())
        QObject::connect(edit, &QLineEdit::textEdited, combo_, [this] {
            if (isRunMode())
                userTyped();
        });
    // Return is the drop-down's own (see DropDown); the view only follows the window.
    adoptView(combo_, [] { return E_NOTIMPL; });
    shownRevision_ = ~0u;
}

void ComboBox::renew()
{
    if (!window())
        return;
    if (!combo_ || combo_->isEditable() != (editable != 0))
        createComboBox();
    combo_->setFont(qfont());
    onResize();
    showEntries();
}

void ComboBox::onWindowCreated() { renew(); }

void ComboBox::onResize()
{
    if (combo_)
        combo_->setGeometry(0, 0, clientRect().width(), std::max(clientRect().height(), combo_->sizeHint().height()));
}

HRESULT createComboBox(REFIID iid, void** out)
{
    auto c = com::make<ComboBox>();
    return c->QueryInterface(iid, out);
}

} // namespace vyr::controls
