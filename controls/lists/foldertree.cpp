#include "controls/lists/foldertree.h"
#include "controls/lists/entrycommand.h"

namespace vyr::controls::lists {

namespace {

LONG currentOf(ICommandServer* server, LONG cookie)
{
    LONG index = -1;
    if (!cookie || FAILED(server->GetIndex(cookie, &index)))
        return -1;
    return index;
}

} // namespace

TreeNode FolderTree::read(ICommandServer* server, const TreeCookies& c)
{
    VARIANT_BOOL en = VARIANT_FALSE;
    enabled_ = c.folder && SUCCEEDED(server->GetCommandEnabled(c.folder, &en)) && en;
    const LONG oldFolder = currentOf(server, c.folder);
    const LONG oldItem = currentOf(server, c.item);
    const LONG oldRoot = currentOf(server, c.root);

    std::vector<std::string> texts;
    folders_.clear();
    if (c.folder) {
        readEntryTexts(server, c.folder, texts);
        for (size_t i = 0; i < texts.size(); ++i) {
            Folder f{texts[i], {}};
            if (c.item && SUCCEEDED(server->SelectEntry(c.folder, LONG(i))))
                readEntryTexts(server, c.item, f.items);
            folders_.push_back(std::move(f));
        }
    }
    rootItems_.clear();
    if (c.root)
        readEntryTexts(server, c.root, rootItems_);

    // The commands get their current entries back.
    if (c.folder && oldFolder >= 0)
        server->SelectEntry(c.folder, oldFolder);
    if (c.item && oldItem >= 0)
        server->SelectEntry(c.item, oldItem);
    if (c.root && oldRoot >= 0)
        server->SelectEntry(c.root, oldRoot);

    // The tree's selection follows them.
    TreeNode node;
    if (reported_.root && oldRoot >= 0 && oldRoot < LONG(rootItems_.size())) {
        node = {-1, int(oldRoot), true};
    } else if (oldFolder >= 0 && oldFolder < LONG(folders_.size())) {
        node.folder = int(oldFolder);
        if (oldItem >= 0 && oldItem < LONG(folders_[size_t(oldFolder)].items.size()))
            node.item = int(oldItem);
    } else if (oldRoot >= 0 && oldRoot < LONG(rootItems_.size())) {
        node = {-1, int(oldRoot), true};
    }
    reported_ = node;
    return node;
}

void FolderTree::clear()
{
    enabled_ = false;
    folders_.clear();
    rootItems_.clear();
    reported_ = {};
}

std::string FolderTree::text(const TreeNode& n) const
{
    if (n.root)
        return n.item >= 0 && n.item < int(rootItems_.size()) ? rootItems_[size_t(n.item)] : std::string();
    if (n.folder < 0 || n.folder >= int(folders_.size()))
        return {};
    const Folder& f = folders_[size_t(n.folder)];
    if (n.item < 0)
        return f.text;
    return n.item < int(f.items.size()) ? f.items[size_t(n.item)] : std::string();
}

void FolderTree::select(ICommandServer* server, const TreeCookies& c, const TreeNode& node)
{
    const TreeNode last = reported_;
    reported_ = node;
    if (!server)
        return;
    if (node.folder != last.folder && node.folder >= 0 && c.folder)
        server->SelectEntry(c.folder, node.folder);
    if ((node.item != last.item || node.root != last.root) && node.item >= 0) {
        const LONG cookie = node.root ? c.root : c.item;
        if (cookie)
            server->SelectEntry(cookie, node.item);
    }
}

HRESULT FolderTree::activate(ICommandServer* server, const TreeCookies& c, const TreeNode& node)
{
    reported_ = node;
    if (!server)
        return E_FAIL;
    if (node.folder >= 0 && c.folder)
        server->SelectEntry(c.folder, node.folder);
    const LONG cookie = node.root ? c.root : c.item;
    if (node.item < 0 || !cookie)
        return E_FAIL;
    return server->ActivateEntry(cookie, node.item);
}

} // namespace vyr::controls::lists
