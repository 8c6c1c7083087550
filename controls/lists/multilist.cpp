#include "controls/lists/multilist.h"
#include "controls/core/properties.h"
#include "controls/lists/viewsupport.h"
#include "platform/com/streamio.h"
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStyledItemDelegate>

namespace vyr::controls {

using com::Variant;

namespace {

constexpr DISPID kCurrentColumn = 70, kNumberOfColumns = 71, kEditable = 72, kColumnWidth = 73,
                 kColumnTitleText = 74, kCheckBox = 79, kSelectable = 126;

const EnumNames& noYesNames()
{
    static const EnumNames n{{"no", "yes"}, VT_I4, {}, nullptr, {"eNo", "eYes"}};
    return n;
}

void renewList(MultiList& m) { m.renew(); }

// The in-place edit: only the first cell of the host's current row is edited, its end goes to
// the control, and Tab ends it where it is, as Return does, instead of editing the next row.
class FirstColumnEditing final : public QStyledItemDelegate {
public:
    FirstColumnEditing(MultiList& owner, QObject* parent) : QStyledItemDelegate(parent), owner_(owner) {}
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        if (index.column() != 0 || index.row() != owner_.table().current())
            return nullptr;
        return QStyledItemDelegate::createEditor(parent, option, index);
    }
    void setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex&) const override
    {
        if (auto* line = qobject_cast<QLineEdit*>(editor); line && owner_.isRunMode())
            owner_.userEdited(line->text().toStdString());
    }

protected:
    bool eventFilter(QObject* object, QEvent* e) override
    {
        auto* editor = qobject_cast<QWidget*>(object);
        if (editor && e->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(e)->key();
            if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
                emit commitData(editor);
                emit closeEditor(editor, QAbstractItemDelegate::NoHint);
                return true;
            }
        }
        return QStyledItemDelegate::eventFilter(object, e);
    }

private:
    MultiList& owner_;
};

PropertyDesc shortRow(DISPID id, const char* name, int (*get)(MultiList&), HRESULT (*put)(MultiList&, int),
                      const EnumNames* names = nullptr)
{
    PropertyDesc p{id, name, PropType::Short, nullptr, nullptr, names};
    p.get = [get](ControlBase& b) { return Variant::fromShort(int16_t(get(static_cast<MultiList&>(b)))); };
    p.put = [put](ControlBase& b, const VARIANT& v, PutKind) { return put(static_cast<MultiList&>(b), v.iVal); };
    return p;
}

PropertyDesc stringRow(DISPID id, const char* name, std::string (*get)(MultiList&),
                       HRESULT (*put)(MultiList&, const std::string&))
{
    PropertyDesc p{id, name, PropType::String, nullptr, nullptr, nullptr};
    p.get = [get](ControlBase& b) { return Variant::fromString(get(static_cast<MultiList&>(b))); };
    p.put = [put](ControlBase& b, const VARIANT& v, PutKind) { return put(static_cast<MultiList&>(b), com::utf8(v.bstrVal)); };
    return p;
}

} // namespace

MultiList::MultiList() : ViewControl(classDescriptor()) {}

const ClassDescriptor& MultiList::classDescriptor()
{
    using C = MultiList;
    using namespace props;
    static const ClassDescriptor d{
        CLSID_MultiList,
        IID_IMultiList,
        DIID__DButton,
        {
            shortRow(kNumberOfColumns, "NumberOfColumns", [](C& c) { return int(c.columns_.size()); },
                     [](C& c, int n) { return c.setNumberOfColumns(n); }),
            shortRow(kCurrentColumn, "CurrentColumn", [](C& c) { return c.currentColumn_; },
                     [](C& c, int n) { return c.setCurrentColumn(n); }),
            [] {
                PropertyDesc p = stringRow(
                    50, "Command",
                    [](C& c) { return c.columns_.empty() ? std::string() : c.columns_[size_t(c.currentColumn_)].command.text(); },
                    [](C& c, const std::string& t) { return c.setColumnCommand(t); });
                p.type = PropType::Command;
                return p;
            }(),
            shortRow(kColumnWidth, "ColumnWidth", [](C& c) { return c.columnWidth(); },
                     [](C& c, int w) { return c.setColumnWidth(w); }),
            stringRow(kColumnTitleText, "ColumnTitleText",
                      [](C& c) { return c.columns_.empty() ? std::string() : c.columns_[size_t(c.currentColumn_)].title; },
                      [](C& c, const std::string& t) { return c.setColumnTitle(t); }),
            longField<C>(kEditable, "Editable", [](C& c) -> int32_t& { return c.editable; }, &noYesNames(), renewList),
            longField<C>(kCheckBox, "CheckBox", [](C& c) -> int32_t& { return c.checkBox; }, &noYesNames(), renewList),
            longField<C>(kSelectable, "Selectable", [](C& c) -> int32_t& { return c.selectable; }, &noYesNames(),
                         renewList),
            lists::withAfter(props::font(), [](ControlBase& b) { static_cast<C&>(b).renew(); }),
            colorField<C>(DISPID_FORECOLOR, "ForeColor", [](C& c) -> OLE_COLOR& { return c.foreColor; }, renewList),
            colorField<C>(DISPID_BACKCOLOR, "BackColor", [](C& c) -> OLE_COLOR& { return c.backColor; }, renewList),
        },
        {method<C>(DISPID_ABOUTBOX, "AboutBox", [](C&) { return S_OK; })},
        {kNumberOfColumns, kEditable, kCheckBox, kSelectable, DISPID_FONT, DISPID_FORECOLOR, DISPID_BACKCOLOR},
    };
    return d;
}

// ---------------------------------------------------------------- columns

HRESULT MultiList::setNumberOfColumns(int count)
{
    if (count < 0 || count > kMaxColumns)
        return E_INVALIDARG;
    if (count == int(columns_.size()))
        return S_OK;
    com::ComPtr<ICommandClient> self(static_cast<ICommandClient*>(this));
    while (int(columns_.size()) > count) {
        if (server())
            columns_.back().command.unregister(server(), self.get());
        columns_.pop_back();
    }
    columns_.resize(size_t(count));
    table_.setColumns(count);
    if (currentColumn_ >= count)
        currentColumn_ = 0;
    applyColumns();
    refreshFromServer();
    changed(kNumberOfColumns);
    return S_OK;
}

HRESULT MultiList::setCurrentColumn(int column)
{
    if (column < 0 || column >= int(columns_.size()))
        return E_INVALIDARG;
    return assign(currentColumn_, column, kCurrentColumn);
}

HRESULT MultiList::setColumnCommand(const std::string& text)
{
    if (columns_.empty())
        return E_INVALIDARG;
    Column& col = columns_[size_t(currentColumn_)];
    if (col.command.text() == text)
        return S_OK;
    col.command.setText(text);
    SetCommandServer(server()); // registers every column's command again
    changed(50);
    return S_OK;
}

int MultiList::columnWidth() const
{
    if (columns_.empty())
        return 0;
    if (view_)
        return view_->columnWidth(currentColumn_);
    return columns_[size_t(currentColumn_)].width;
}

HRESULT MultiList::setColumnWidth(int width)
{
    if (columns_.empty())
        return E_INVALIDARG;
    Column& col = columns_[size_t(currentColumn_)];
    // Compared with the width shown, which the user may have dragged away from the stored one.
    const bool same = columnWidth() == width;
    col.width = width;
    if (same)
        return S_OK;
    if (view_)
        view_->setColumnWidth(currentColumn_, width);
    changed(kColumnWidth);
    return S_OK;
}

HRESULT MultiList::setColumnTitle(const std::string& title)
{
    if (columns_.empty())
        return E_INVALIDARG;
    Column& col = columns_[size_t(currentColumn_)];
    if (col.title == title)
        return S_OK;
    col.title = title;
    if (view_) {
        view_->headerItem()->setText(currentColumn_, QString::fromStdString(title));
        // A title wider than the column widens it.
        const int wanted = view_->header()->fontMetrics().horizontalAdvance(QString::fromStdString(title)) + 15;
        if (wanted > col.width) {
            col.width = wanted;
            view_->setColumnWidth(currentColumn_, wanted);
            changed(kColumnWidth);
        }
    }
    changed(kColumnTitleText);
    return S_OK;
}

void MultiList::applyColumns()
{
    if (!view_)
        return;
    view_->setColumnCount(std::max<int>(1, int(columns_.size())));
    QStringList titles;
    for (const Column& c : columns_)
        titles << QString::fromStdString(c.title);
    view_->setHeaderLabels(titles);
    view_->header()->setVisible(!columns_.empty());
    for (size_t i = 0; i < columns_.size(); ++i)
        view_->setColumnWidth(int(i), columns_[i].width > 0 ? columns_[i].width : kShownWidth);
}

// ---------------------------------------------------------------- browsing

namespace {
std::string columnName(int column) { return "Column " + std::to_string(column + 1); }
} // namespace

HRESULT MultiList::GetDisplayString(DISPID id, BSTR* text)
{
    if (id != kCurrentColumn)
        return ControlBase::GetDisplayString(id, text);
    if (!text)
        return E_POINTER;
    *text = columns_.empty() ? nullptr : com::Bstr(columnName(currentColumn_)).detach();
    return columns_.empty() ? S_FALSE : S_OK;
}

HRESULT MultiList::GetPredefinedStrings(DISPID id, CALPOLESTR* strings, CADWORD* cookies)
{
    if (id != kCurrentColumn)
        return ControlBase::GetPredefinedStrings(id, strings, cookies);
    if (!strings || !cookies)
        return E_POINTER;
    const size_t n = columns_.size();
    strings->pElems = static_cast<LPOLESTR*>(CoTaskMemAlloc(n * sizeof(LPOLESTR)));
    cookies->pElems = static_cast<DWORD*>(CoTaskMemAlloc(n * sizeof(DWORD)));
    for (size_t i = 0; i < n; ++i) {
        const std::u16string name = com::utf16(columnName(int(i)));
        strings->pElems[i] = static_cast<LPOLESTR>(CoTaskMemAlloc((name.size() + 1) * sizeof(OLECHAR)));
        std::copy(name.c_str(), name.c_str() + name.size() + 1, strings->pElems[i]);
        cookies->pElems[i] = DWORD(i);
    }
    strings->cElems = cookies->cElems = ULONG(n);
    return S_OK;
}

HRESULT MultiList::GetPredefinedValue(DISPID id, DWORD cookie, VARIANT* value)
{
    if (id != kCurrentColumn)
        return ControlBase::GetPredefinedValue(id, cookie, value);
    if (!value)
        return E_POINTER;
    if (cookie >= columns_.size())
        return E_INVALIDARG;
    VariantInit(value);
    value->vt = VT_I2;
    value->iVal = SHORT(cookie);
    return S_OK;
}

// ---------------------------------------------------------------- server

HRESULT MultiList::SetCommandServer(ICommandServer* newServer)
{
    com::ComPtr<ICommandClient> self(static_cast<ICommandClient*>(this));
    HRESULT result = S_OK;
    if (server())
        for (Column& c : columns_)
            if (HRESULT hr = c.command.unregister(server(), self.get()); FAILED(hr))
                result = hr; // that registration stays
    if (FAILED(result)) {
        refreshFromServer(); // the old server and registrations stay
        return result;
    }
    for (Column& c : columns_)
        c.command.registerWith(newServer, self.get());
    return ControlBase::SetCommandServer(newServer); // holds the server and reads
}

LONG MultiList::firstCookie() const { return columns_.empty() ? 0 : columns_[0].command.cookie(); }

void MultiList::refreshFromServer()
{
    std::vector<LONG> cookies;
    for (const Column& c : columns_)
        cookies.push_back(c.command.cookie());
    const bool any = std::any_of(cookies.begin(), cookies.end(), [](LONG c) { return c != 0; });
    lists::ReportTable::Changes changes =
        server() && any ? table_.read(server(), cookies, checkBox != 0) : table_.clear();
    const int enabled = table_.enabled() ? 1 : 0;
    if (enabled != enabled_) {
        enabled_ = enabled;
        invalidate();
    }
    applyShowState(true);
    apply(changes);
}

void MultiList::apply(const lists::ReportTable::Changes& ch)
{
    if (!view_)
        return;
    refilling_ = true;
    const QSignalBlocker block(view_);
    const Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsEnabled | (editable ? Qt::ItemIsEditable : Qt::NoItemFlags) |
                                (checkBox ? Qt::ItemIsUserCheckable : Qt::NoItemFlags);
    // Rows beyond the count go; new rows come with their texts.
    const int shown = view_->topLevelItemCount();
    if (ch.rows == 0 && shown > 0) {
        view_->clear();
    } else {
        for (int r = shown - 1; r >= ch.rows; --r)
            delete view_->takeTopLevelItem(r);
    }
    const int kept = std::min(shown, ch.rows);
    if (ch.rows > kept) {
        QList<QTreeWidgetItem*> added;
        added.reserve(ch.rows - kept);
        for (int r = kept; r < ch.rows; ++r) {
            auto* item = new QTreeWidgetItem;
            // Last column first: the item makes room for all its columns at once.
            for (int c = table_.columns() - 1; c >= 0; --c)
                if (const QString& text = table_.text(r, c); !text.isEmpty())
                    item->setText(c, text);
            item->setFlags(flags);
            if (checkBox)
                item->setCheckState(0, table_.checked(r) ? Qt::Checked : Qt::Unchecked);
            added << item;
        }
        view_->addTopLevelItems(added);
    }
    // Only the cells that changed are replaced.
    for (const auto& cell : ch.cells)
        if (cell.row < kept)
            view_->topLevelItem(cell.row)->setText(cell.column, table_.text(cell.row, cell.column));
    if (checkBox)
        for (int r : ch.checks)
            if (r < kept)
                view_->topLevelItem(r)->setCheckState(0, table_.checked(r) ? Qt::Checked : Qt::Unchecked);
    // The current row is selected, focused and scrolled into view.
    if (QTreeWidgetItem* item = table_.current() >= 0 ? view_->topLevelItem(table_.current()) : nullptr) {
        if (view_->currentItem() != item)
            view_->setCurrentItem(item);
        if (!item->isSelected()) // also where the user cannot select rows
            view_->selectionModel()->select(view_->currentIndex(),
                                            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        view_->scrollToItem(item);
    } else if (view_->currentItem()) {
        view_->setCurrentItem(nullptr);
        view_->clearSelection();
    }
    view_->setEnabled(table_.enabled());
    lists::applyViewColors(view_, foreColor, backColor, table_.enabled());
    refilling_ = false;
}

void MultiList::renew()
{
    if (view_) {
        view_->setFont(qfont());
        view_->setEditTriggers(editable ? QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                                              QAbstractItemView::SelectedClicked
                                        : QAbstractItemView::NoEditTriggers);
        view_->setSelectionMode(selectable ? QAbstractItemView::SingleSelection : QAbstractItemView::NoSelection);
        // Flags and check boxes of every row follow the new settings.
        const QSignalBlocker block(view_);
        const Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsEnabled |
                                    (editable ? Qt::ItemIsEditable : Qt::NoItemFlags) |
                                    (checkBox ? Qt::ItemIsUserCheckable : Qt::NoItemFlags);
        for (int r = 0; r < view_->topLevelItemCount(); ++r) {
            QTreeWidgetItem* item = view_->topLevelItem(r);
            item->setFlags(flags);
            if (checkBox)
                item->setCheckState(0, table_.checked(r) ? Qt::Checked : Qt::Unchecked);
            else
                item->setData(0, Qt::CheckStateRole, QVariant());
        }
    }
    refreshFromServer();
}

// ---------------------------------------------------------------- user actions

void MultiList::userSelected(int row) { table_.select(server(), firstCookie(), row); }

HRESULT MultiList::userActivated() { return table_.activate(server(), firstCookie()); }

void MultiList::userChecked(int row, bool on) { table_.check(server(), firstCookie(), row, on); }

void MultiList::userEdited(const std::string& text)
{
    const int row = table_.current();
    if (!table_.edit(server(), firstCookie(), text) || !view_)
        return;
    if (QTreeWidgetItem* item = view_->topLevelItem(row)) {
        refilling_ = true;
        item->setText(0, table_.text(row, 0));
        refilling_ = false;
    }
}

void MultiList::onWindowCreated()
{
    view_ = new QTreeWidget(window());
    view_->setRootIsDecorated(false);
    view_->header()->setStretchLastSection(false); // every column as wide as its width says
    view_->setUniformRowHeights(true);
    view_->setItemsExpandable(false);
    view_->setAllColumnsShowFocus(true);
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    view_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    view_->setItemDelegate(new FirstColumnEditing(*this, view_));
    // A row the user selected; the current row alone (Qt sets one when the focus comes in, and
    // clicks move it when rows cannot be selected) is no choice.
    QObject::connect(view_, &QTreeWidget::itemSelectionChanged, view_, [this] {
        const QList<QTreeWidgetItem*> selected = view_->selectedItems();
        if (!refilling_ && !selected.isEmpty() && isRunMode())
            userSelected(view_->indexOfTopLevelItem(selected.first()));
    });
    QObject::connect(view_, &QTreeWidget::itemChanged, view_, [this](QTreeWidgetItem* item, int column) {
        if (refilling_ || column != 0 || !isRunMode() || !checkBox)
            return;
        const int row = view_->indexOfTopLevelItem(item);
        const bool on = item->checkState(0) == Qt::Checked;
        if (on != table_.checked(row))
            userChecked(row, on);
    });
    applyColumns();
    adoptView(view_, [this] { return userActivated(); });
    renew();
}

// ---------------------------------------------------------------- persistence

HRESULT MultiList::Save(IStream* stream, BOOL clearDirty)
{
    HRESULT hr = ControlBase::Save(stream, FALSE);
    for (size_t i = 0; SUCCEEDED(hr) && i < columns_.size(); ++i) {
        const Column& c = columns_[i];
        const int16_t width = int16_t(view_ ? view_->columnWidth(int(i)) : c.width);
        for (const Variant& v : {Variant::fromString(c.title), Variant::fromBool(c.flag != 0),
                                 Variant::fromString(c.command.text()), Variant::fromShort(width)})
            if (SUCCEEDED(hr))
                hr = com::writeVariant(stream, v.get());
    }
    if (SUCCEEDED(hr) && clearDirty)
        this->clearDirty();
    return hr;
}

HRESULT MultiList::Load(IStream* stream)
{
    HRESULT hr = ControlBase::Load(stream);
    if (FAILED(hr))
        return hr;
    for (Column& c : columns_) {
        Variant title, flag, command, width;
        if (FAILED(hr = com::readVariant(stream, title.put())) || FAILED(hr = com::readVariant(stream, flag.put())) ||
            FAILED(hr = com::readVariant(stream, command.put())) || FAILED(hr = com::readVariant(stream, width.put())))
            break;
        c.title = title.toString().value_or("");
        c.flag = flag.toBool().value_or(false) ? 1 : 0;
        c.command.setText(command.toString().value_or(""));
        c.width = int16_t(width.toLong().value_or(0));
    }
    applyColumns();
    SetCommandServer(server());
    return hr;
}

HRESULT createMultiList(REFIID iid, void** out)
{
    auto c = com::make<MultiList>();
    return c->QueryInterface(iid, out);
}

} // namespace vyr::controls
