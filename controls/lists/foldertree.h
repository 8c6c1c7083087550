#pragma once
// The Tree's two-level model without a window: folders from a folder command, each folder's
// items from an item command (read while the folder is made the folder command's current
// entry), and root items beside the folders; and what selecting or activating a node sends.
#include "controls/core/vyrcontrols.h"
#include <string>
#include <vector>

namespace vyr::controls::lists {

// A node: a folder (item -1), an item of a folder, or a root item (folder -1).
struct TreeNode {
    int folder = -1;
    int item = -1;
    bool root = false;
    bool operator==(const TreeNode&) const = default;
    bool valid() const { return folder >= 0 || item >= 0; }
};

struct TreeCookies {
    LONG folder = 0, item = 0, root = 0;
};

class FolderTree {
public:
    struct Folder {
        std::string text;
        std::vector<std::string> items;
        bool operator==(const Folder&) const = default;
    };

    // Reads the whole tree: the enabled state and the current entries of the three commands,
    // the folders, for each folder (made current by SelectEntry) its items, the root items;
    // then the three commands get their current entries back. Returns the node the tree's
    // selection follows afterwards (invalid for none).
    TreeNode read(ICommandServer* server, const TreeCookies& cookies);
    void clear();

    bool enabled() const { return enabled_; }
    const std::vector<Folder>& folders() const { return folders_; }
    const std::vector<std::string>& rootItems() const { return rootItems_; }
    const TreeNode& reported() const { return reported_; }
    std::string text(const TreeNode& node) const;

    // The user selected `node`: a new folder goes to the folder command, a new item (or an
    // item of the other kind) to the item or root-item command. The node is remembered.
    void select(ICommandServer* server, const TreeCookies& cookies, const TreeNode& node);
    // Double click or Return on `node`: the folder to the folder command's SelectEntry, then
    // ActivateEntry of the item or root-item command. Returns the activation's result.
    HRESULT activate(ICommandServer* server, const TreeCookies& cookies, const TreeNode& node);

private:
    bool enabled_ = false;
    std::vector<Folder> folders_;
    std::vector<std::string> rootItems_;
    TreeNode reported_;
};

} // namespace vyr::controls::lists
