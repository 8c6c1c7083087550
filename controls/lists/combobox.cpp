#include "controls/lists/combobox.h"
#include "controls/core/properties.h"
#include "controls/lists/viewsupport.h"
#include <QAbstractItemView>
#include <QLineEdit>
#include <QTimer>

namespace vyr::controls {

namespace {

constexpr DISPID kEditable = 72;
constexpr int kVisibleItems = 10;

void renewCombo(ComboBox& c) { c.renew(); }

// A drop-down that tells a choice confirmed in its dropped list (the list closes, then the
// entry is reported activated at once) from a change made on the closed drop-down.
class DropDown final : public QComboBox {
public:
    using QComboBox::QComboBox;
    bool closingWithChoice() const { return closing_; }
    void hidePopup() override
    {
        closing_ = true;
        QComboBox::hidePopup();
        QTimer::singleShot(0, this, [this] { closing_ = false; });
    }

private:
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
}

void ComboBox::userSelected(int index) { entries_.select(server(), command().cookie(), index); }

void ComboBox::userChose(int index)
{
    userSelected(index);
    entries_.activate(server(), command().cookie(), index);
}

void ComboBox::userTyped(const QString& text) { entries_.edit(text.toStdString()); }

void ComboBox::userFinishedText() { entries_.commitText(server(), command().cookie()); }

HRESULT ComboBox::userReturn()
{
    if (editable && combo_ && combo_->lineEdit()) {
        userFinishedText();
        combo_->lineEdit()->selectAll();
        return S_OK;
    }
    return entries_.activate(server(), command().cookie(), combo_ ? combo_->currentIndex() : entries_.current());
}

void ComboBox::createComboBox()
{
    delete combo_.data();
    auto* dropDown = new DropDown(window());
    combo_ = dropDown;
    combo_->setEditable(editable != 0);
    combo_->setInsertPolicy(QComboBox::NoInsert);
    combo_->setMaxVisibleItems(kVisibleItems);
    QObject::connect(combo_, &QComboBox::currentIndexChanged, combo_, [this](int i) {
        if (isRunMode())
            userSelected(i);
    });
    QObject::connect(combo_, &QComboBox::activated, combo_, [this, dropDown](int i) {
        if (!isRunMode())
            return;
        if (dropDown->closingWithChoice())
            userChose(i);
        else
            userSelected(i);
    });
    if (QLineEdit* edit = combo_->lineEdit()) {
        QObject::connect(edit, &QLineEdit::textEdited, combo_, [this](const QString& t) {
            if (isRunMode())
                userTyped(t);
        });
        QObject::connect(edit, &QLineEdit::editingFinished, combo_, [this] {
            if (isRunMode())
                userFinishedText();
        });
    }
    // Return: in the text field it sends the text; on the list it activates the current entry.
    adoptView(combo_, [this] { return userReturn(); }, combo_->lineEdit() ? static_cast<QWidget*>(combo_->lineEdit()) : combo_);
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
