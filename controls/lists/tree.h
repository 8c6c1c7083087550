#pragma once
// Tree: a two-level tree from three list commands: folders, the items of the current folder,
// and root items beside the folders. Selecting or activating a node is reported to them.
#include "controls/lists/viewcontrol.h"
#include "controls/lists/foldertree.h"
#include <QPointer>
#include <QTreeWidget>

namespace vyr::controls {

class Tree final : public lists::ViewControl {
public:
    Tree();
    static const ClassDescriptor& classDescriptor();

    CommandBinding itemCommand, rootItemCommand; // the folder command is the base's own
    OLE_COLOR foreColor = 0x80000008;
    OLE_COLOR backColor = 0x80000005;
    com::ComPtr<IPictureDisp> folderPictureClosed, folderPictureOpened, itemPicture;

    const lists::FolderTree& tree() const { return tree_; }
    QTreeWidget* view() const { return view_; }
    // The three pictures as icons, when all three are bitmaps or icons; else none.
    bool hasImages() const { return images_.size() == 3; }
    static lists::TreeNode nodeOf(const QTreeWidgetItem* item);

    void renew();
    void reregister() { SetCommandServer(server()); }
    void userSelected(QTreeWidgetItem* item);
    HRESULT userActivated(QTreeWidgetItem* item);

    void refreshFromServer() override;
    void onWindowCreated() override;

private:
    lists::TreeCookies cookies() const;
    void showTree(const lists::TreeNode& selected);
    void updateIcons();
    void buildImages();

    lists::FolderTree tree_;
    QPointer<QTreeWidget> view_;
    std::vector<QIcon> images_;
    bool refilling_ = false;
};

HRESULT createTree(REFIID iid, void** out);

} // namespace vyr::controls
