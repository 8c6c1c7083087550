#include "controls/lists/tree.h"
#include "controls/core/properties.h"
#include "controls/lists/viewsupport.h"
#include "platform/gdi/syscolors.h"
#include <QPainter>

namespace vyr::controls {

using com::Variant;
using lists::TreeNode;

namespace {

constexpr DISPID kCommandFolder = 108, kCommandItem = 109, kCommandRootItem = 116, kFolderPictureClosed = 110,
                 kFolderPictureOpened = 111, kItemPicture = 112;
constexpr int kFolderRole = Qt::UserRole, kItemRole = Qt::UserRole + 1, kRootRole = Qt::UserRole + 2;

void renewTree(Tree& t) { t.renew(); }

PropertyDesc bindingRow(DISPID id, const char* name, CommandBinding Tree::*binding)
{
    PropertyDesc p{id, name, PropType::Command, nullptr, nullptr, nullptr};
    p.get = [binding](ControlBase& b) { return Variant::fromString((static_cast<Tree&>(b).*binding).text()); };
    p.put = [binding, id](ControlBase& b, const VARIANT& v, PutKind) {
        Tree& t = static_cast<Tree&>(b);
        const std::string text = com::utf8(v.bstrVal);
        if (text == (t.*binding).text())
            return S_OK;
        (t.*binding).setText(text);
        t.reregister();
        t.changed(id);
        return S_OK;
    };
    return p;
}

// Replaces a node's text only when it differs; returns whether it did.
bool setTextIfChanged(QTreeWidgetItem* item, const std::string& text)
{
    const QString t = QString::fromStdString(text);
    if (item->text(0) == t)
        return false;
    item->setText(0, t);
    return true;
}

void setNode(QTreeWidgetItem* item, const TreeNode& n)
{
    item->setData(0, kFolderRole, n.folder);
    item->setData(0, kItemRole, n.item);
    item->setData(0, kRootRole, n.root);
}

// Icons do not compare as values: an unchanged one is told by its cache key.
void setIcon(QTreeWidgetItem* item, const QIcon& icon)
{
    if (item->icon(0).cacheKey() != icon.cacheKey())
        item->setIcon(0, icon);
}

// The tree view with lines: dotted lines join each node to its parent's line and to its
// siblings, also at the top level, and a node with children has a box with + or -.
class LinedTree final : public QTreeWidget {
public:
    using QTreeWidget::QTreeWidget;

protected:
    void drawBranches(QPainter* p, const QRect& rect, const QModelIndex& index) const override
    {
        const QColor line = gdi::SysColor(gdi::COLOR_BTNSHADOW);
        const int indent = indentation();
        const int cy = rect.top() + rect.height() / 2;
        auto dotsDown = [&](int x, int from, int to) {
            for (int y = from + ((from + x) & 1); y <= to; y += 2)
                p->fillRect(x, y, 1, 1, line);
        };
        auto dotsAcross = [&](int y, int from, int to) {
            for (int x = from + ((from + y) & 1); x <= to; x += 2)
                p->fillRect(x, y, 1, 1, line);
        };
        auto hasNext = [](const QModelIndex& i) { return i.sibling(i.row() + 1, 0).isValid(); };
        int depth = 0;
        for (QModelIndex a = index.parent(); a.isValid(); a = a.parent())
            ++depth;
        // The node's own level: up to its parent or previous sibling, on to the next sibling.
        const int cx = rect.left() + depth * indent + indent / 2;
        const bool first = index.row() == 0 && !index.parent().isValid();
        dotsDown(cx, first ? cy : rect.top(), hasNext(index) ? rect.bottom() : cy);
        dotsAcross(cy, cx, cx + indent / 2);
        // The levels above: a line passes where an ancestor has a sibling below.
        int level = depth - 1;
        for (QModelIndex a = index.parent(); a.isValid(); a = a.parent(), --level)
            if (hasNext(a))
                dotsDown(rect.left() + level * indent + indent / 2, rect.top(), rect.bottom());
        if (!model()->hasChildren(index))
            return;
        const QRect box(cx - 4, cy - 4, 9, 9);
        p->fillRect(box, palette().color(QPalette::Base));
        p->setPen(line);
        p->drawRect(box.adjusted(0, 0, -1, -1));
        p->setPen(palette().color(QPalette::Text));
        p->drawLine(cx - 2, cy, cx + 2, cy);
        if (!isExpanded(index))
            p->drawLine(cx, cy - 2, cx, cy + 2);
    }
};

} // namespace

Tree::Tree() : ViewControl(classDescriptor())
{
    addBinding(itemCommand);
    addBinding(rootItemCommand);
}

const ClassDescriptor& Tree::classDescriptor()
{
    using C = Tree;
    using namespace props;
    using Pic = com::ComPtr<IPictureDisp>;
    static const ClassDescriptor d{
        CLSID_Tree,
        IID_ITree,
        GUID_NULL,
        {
            props::command(kCommandFolder, "CommandFolder"),
            bindingRow(kCommandItem, "CommandItem", &Tree::itemCommand),
            bindingRow(kCommandRootItem, "CommandRootItem", &Tree::rootItemCommand),
            lists::withAfter(props::font(), [](ControlBase& b) { static_cast<C&>(b).renew(); }),
            colorField<C>(DISPID_FORECOLOR, "ForeColor", [](C& c) -> OLE_COLOR& { return c.foreColor; }, renewTree),
            colorField<C>(DISPID_BACKCOLOR, "BackColor", [](C& c) -> OLE_COLOR& { return c.backColor; }, renewTree),
            pictureField<C>(kFolderPictureClosed, "FolderPictureClosed", [](C& c) -> Pic& { return c.folderPictureClosed; },
                            renewTree),
            pictureField<C>(kFolderPictureOpened, "FolderPictureOpened", [](C& c) -> Pic& { return c.folderPictureOpened; },
                            renewTree),
            pictureField<C>(kItemPicture, "ItemPicture", [](C& c) -> Pic& { return c.itemPicture; }, renewTree),
        },
        {method<C>(DISPID_ABOUTBOX, "AboutBox", [](C&) { return S_OK; })},
        {kCommandFolder, kCommandItem, kCommandRootItem, DISPID_FONT, DISPID_FORECOLOR, DISPID_BACKCOLOR,
         kFolderPictureClosed, kFolderPictureOpened, kItemPicture},
    };
    return d;
}

lists::TreeCookies Tree::cookies() const
{
    return {const_cast<Tree*>(this)->command().cookie(), itemCommand.cookie(), rootItemCommand.cookie()};
}

TreeNode Tree::nodeOf(const QTreeWidgetItem* item)
{
    if (!item)
        return {};
    return {item->data(0, kFolderRole).toInt(), item->data(0, kItemRole).toInt(), item->data(0, kRootRole).toBool()};
}

void Tree::refreshFromServer()
{
    if (refilling_)
        return; // the refill's own SelectEntry calls report back; it reads everything anyway
    refilling_ = true;
    const lists::TreeCookies c = cookies();
    TreeNode selected;
    if (server() && (c.folder || c.item || c.root))
        selected = tree_.read(server(), c);
    else
        tree_.clear();
    refilling_ = false;
    const int enabled = tree_.enabled() ? 1 : 0;
    if (enabled != enabled_) {
        enabled_ = enabled;
        invalidate();
    }
    applyShowState(true);
    showTree(selected);
}

void Tree::showTree(const TreeNode& selected)
{
    if (!view_)
        return;
    refilling_ = true;
    const QSignalBlocker block(view_);
    const auto& folders = tree_.folders();
    const auto& roots = tree_.rootItems();
    const int top = int(folders.size() + roots.size());
    while (view_->topLevelItemCount() > top)
        delete view_->takeTopLevelItem(view_->topLevelItemCount() - 1);
    auto topItem = [&](int i) {
        if (QTreeWidgetItem* item = view_->topLevelItem(i))
            return item;
        auto* item = new QTreeWidgetItem;
        view_->addTopLevelItem(item);
        return item;
    };
    QTreeWidgetItem* selectedItem = nullptr;
    for (size_t f = 0; f < folders.size(); ++f) {
        QTreeWidgetItem* node = topItem(int(f));
        // A folder whose text changed loses its old items before they are filled again.
        if (setTextIfChanged(node, folders[f].text) || nodeOf(node).root)
            qDeleteAll(node->takeChildren());
        setNode(node, {int(f), -1, false});
        const auto& items = folders[f].items;
        while (node->childCount() > int(items.size()))
            delete node->takeChild(node->childCount() - 1);
        for (size_t i = 0; i < items.size(); ++i) {
            QTreeWidgetItem* child = node->child(int(i));
            if (!child)
                child = new QTreeWidgetItem(node);
            setTextIfChanged(child, items[i]);
            setNode(child, {int(f), int(i), false});
        }
        if (!selected.root && selected.folder == int(f))
            selectedItem = selected.item >= 0 ? node->child(selected.item) : node;
    }
    for (size_t r = 0; r < roots.size(); ++r) {
        QTreeWidgetItem* node = topItem(int(folders.size() + r));
        qDeleteAll(node->takeChildren());
        setTextIfChanged(node, roots[r]);
        setNode(node, {-1, int(r), true});
        if (selected.root && selected.item == int(r))
            selectedItem = node;
    }
    if (selectedItem) {
        if (view_->currentItem() != selectedItem)
            view_->setCurrentItem(selectedItem);
        view_->scrollToItem(selectedItem);
    } else if (view_->currentItem()) {
        view_->setCurrentItem(nullptr);
        view_->clearSelection();
    }
    updateIcons();
    lists::applyViewColors(view_, foreColor, backColor, tree_.enabled());
    refilling_ = false;
}

void Tree::buildImages()
{
    images_.clear();
    view_->setIconSize(QSize());
    IPictureDisp* pics[] = {folderPictureClosed.get(), folderPictureOpened.get(), itemPicture.get()};
    for (IPictureDisp* p : pics) {
        const SHORT type = com::pictureType(p);
        if (type != PICTYPE_BITMAP && type != PICTYPE_ICON)
            return;
    }
    // The first picture's size gives the images' size.
    com::ComPtr<IPicture> first;
    OLE_XSIZE_HIMETRIC w = 0;
    OLE_YSIZE_HIMETRIC h = 0;
    if (SUCCEEDED(pics[0]->QueryInterface(IID_IPicture, first.putVoid()))) {
        first->get_Width(&w);
        first->get_Height(&h);
    }
    for (IPictureDisp* p : pics)
        images_.push_back(QIcon(QPixmap::fromImage(com::qimageOf(p))));
    view_->setIconSize(QSize(int(w / com::kHimetricPerPixel), int(h / com::kHimetricPerPixel)));
}

void Tree::updateIcons()
{
    if (!view_)
        return;
    const QTreeWidgetItem* current = view_->currentItem();
    for (int i = 0; i < view_->topLevelItemCount(); ++i) {
        QTreeWidgetItem* node = view_->topLevelItem(i);
        const bool root = nodeOf(node).root;
        setIcon(node, hasImages() ? images_[root ? 2 : (node == current ? 1 : 0)] : QIcon());
        for (int c = 0; c < node->childCount(); ++c)
            setIcon(node->child(c), hasImages() ? images_[2] : QIcon());
    }
}

void Tree::renew()
{
    if (view_) {
        view_->setFont(qfont());
        buildImages();
        const QSignalBlocker block(view_);
        updateIcons();
        lists::applyViewColors(view_, foreColor, backColor, tree_.enabled());
    }
}

void Tree::userSelected(QTreeWidgetItem* item)
{
    if (refilling_ || !item || !isRunMode())
        return;
    tree_.select(server(), cookies(), nodeOf(item));
    const QSignalBlocker block(view_);
    updateIcons();
}

HRESULT Tree::userActivated(QTreeWidgetItem* item)
{
    if (refilling_ || !item || !isRunMode())
        return E_FAIL;
    return tree_.activate(server(), cookies(), nodeOf(item));
}

void Tree::onWindowCreated()
{
    view_ = new LinedTree(window());
    view_->setHeaderHidden(true);
    view_->setRootIsDecorated(true);
    view_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    view_->setExpandsOnDoubleClick(false);
    // A node the user selected; the current node alone, which Qt sets when the focus comes
    // in, is no choice.
    QObject::connect(view_, &QTreeWidget::itemSelectionChanged, view_, [this] {
        const QList<QTreeWidgetItem*> selected = view_->selectedItems();
        if (!selected.isEmpty())
            userSelected(selected.first());
    });
    QObject::connect(view_, &QTreeWidget::itemDoubleClicked, view_, [this](QTreeWidgetItem* item) {
        if (item == view_->currentItem())
            userActivated(item);
    });
    adoptView(view_, [this] { return userActivated(view_->currentItem()); });
    renew();
    showTree(tree_.reported());
}

HRESULT createTree(REFIID iid, void** out)
{
    auto c = com::make<Tree>();
    return c->QueryInterface(iid, out);
}

} // namespace vyr::controls
