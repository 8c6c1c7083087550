#include "controls/lists/list.h"
#include "controls/core/properties.h"
#include "controls/lists/viewsupport.h"

namespace vyr::controls {

namespace {

void relook(List& l) { l.applyLook(); }

} // namespace

List::List() : ViewControl(classDescriptor()) {}

const ClassDescriptor& List::classDescriptor()
{
    using C = List;
    using namespace props;
    static const ClassDescriptor d{
        CLSID_List,
        IID_IList,
        DIID__DButton,
        {
            props::command(),
            lists::withAfter(props::font(), [](ControlBase& b) { static_cast<C&>(b).applyLook(); }),
            colorField<C>(DISPID_FORECOLOR, "ForeColor", [](C& c) -> OLE_COLOR& { return c.foreColor; }, relook),
            colorField<C>(DISPID_BACKCOLOR, "BackColor", [](C& c) -> OLE_COLOR& { return c.backColor; }, relook),
        },
        {method<C>(DISPID_ABOUTBOX, "AboutBox", [](C&) { return S_OK; })},
        {50, DISPID_FONT, DISPID_FORECOLOR, DISPID_BACKCOLOR},
    };
    return d;
}

void List::refreshFromServer()
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
    applyShowState(true);
    showEntries();
}

void List::showEntries()
{
    if (!list_)
        return;
    const QSignalBlocker block(list_);
    if (shownRevision_ != entries_.revision()) {
        shownRevision_ = entries_.revision();
        list_->clear();
        QStringList texts;
        for (const std::string& e : entries_.entries())
            texts << QString::fromStdString(e);
        list_->addItems(texts);
    }
    list_->setCurrentRow(entries_.current(), QItemSelectionModel::ClearAndSelect);
    if (entries_.current() < 0)
        list_->clearSelection();
    applyLook();
}

void List::applyLook()
{
    if (!list_)
        return;
    list_->setFont(qfont());
    lists::applyViewColors(list_, foreColor, backColor, entries_.enabled());
}

void List::userSelected(int row) { entries_.select(server(), command().cookie(), row); }

HRESULT List::userActivated()
{
    return entries_.activate(server(), command().cookie(), list_ ? list_->currentRow() : entries_.current());
}

void List::onWindowCreated()
{
    list_ = new QListWidget(window());
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // A row the user selected (a click, a key); the current row alone, which Qt sets when the
    // focus comes in, is no choice.
    QObject::connect(list_, &QListWidget::itemSelectionChanged, list_, [this] {
        const QList<QListWidgetItem*> selected = list_->selectedItems();
        if (isRunMode() && !selected.isEmpty())
            userSelected(list_->row(selected.first()));
    });
    QObject::connect(list_, &QListWidget::itemDoubleClicked, list_, [this](QListWidgetItem*) {
        if (isRunMode())
            userActivated();
    });
    adoptView(list_, [this] { return userActivated(); });
    shownRevision_ = ~0u;
    showEntries();
}

HRESULT createList(REFIID iid, void** out)
{
    auto c = com::make<List>();
    return c->QueryInterface(iid, out);
}

} // namespace vyr::controls
