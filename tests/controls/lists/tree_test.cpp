// Tree hosted on a folder command server: the refill and what it selects, the quiet refill,
// the reports of a selected folder, item and root item, activation, the image list.
#include "controls/lists/tree.h"
#include "tests/controls/lists/folderserver.h"
#include "tests/controls/lists/hosted.h"
#include "tests/controls/lists/hostileserver.h"

using namespace vyr;
using test::Hosted;
using namespace vyr::controls;
using com::Variant;
using Log = std::vector<std::string>;

namespace {

struct TreeHost {
    TreeHost()
    {
        server->folders = {{"Lasers", {"405", "488"}}, {"Filters", {"BP 525/50", "LP 590", "SP 700"}}};
        server->roots = {"Transmission"};
        server->index = {{"Folders", 1}, {"Items", 2}, {"Roots", -1}};
        top.resize(260, 220);
        host = new HostWidget(&top);
        host->setGeometry(10, 10, 240, 200);
        EXPECT_EQ(host->create("VyrControls.Tree"), S_OK);
        host->setProperty("CommandFolder", Variant::fromString("Folders"));
        host->setProperty("CommandItem", Variant::fromString("Items"));
        host->setProperty("CommandRootItem", Variant::fromString("Roots"));
        host->setCommandServer(server.get());
        top.show();
        view()->expandAll();
        server->log.clear();
    }
    Tree& tree() const { return *dynamic_cast<Tree*>(vyr::controls::ControlBase::from(host->dispatch())); }
    QTreeWidget* view() const { return tree().view(); }

    com::ComPtr<test::FolderServer> server = com::make<test::FolderServer>();
    QWidget top;
    HostWidget* host = nullptr;
};

QStringList texts(QTreeWidgetItem* node)
{
    QStringList r;
    for (int i = 0; i < node->childCount(); ++i)
        r << node->child(i)->text(0);
    return r;
}

} // namespace

TEST(Tree, RefillReadsEveryFolderAndRestoresTheCurrentEntries)
{
    TreeHost t;
    t.server->notify();
    EXPECT_EQ(t.server->log,
              (Log{"GetCommandEnabled Folders", "GetIndex Folders", "GetIndex Items", "GetIndex Roots",
                   "GetEntryCount Folders", "SelectEntry Folders 0", "GetEntryCount Items", "SelectEntry Folders 1",
                   "GetEntryCount Items", "GetEntryCount Roots", "SelectEntry Folders 1", "SelectEntry Items 2"}));
    QTreeWidget* v = t.view();
    ASSERT_EQ(v->topLevelItemCount(), 3);
    EXPECT_EQ(v->topLevelItem(0)->text(0), "Lasers");
    EXPECT_EQ(texts(v->topLevelItem(0)), (QStringList{"405", "488"}));
    EXPECT_EQ(texts(v->topLevelItem(1)), (QStringList{"BP 525/50", "LP 590", "SP 700"}));
    EXPECT_EQ(v->topLevelItem(2)->text(0), "Transmission");
    EXPECT_EQ(v->topLevelItem(2)->childCount(), 0);
    // The selection follows the commands' current entries: item 2 of folder 1.
    EXPECT_EQ(v->currentItem(), v->topLevelItem(1)->child(2));
}

TEST(Tree, RefillAfterAFolderChangeStaysQuietAndKeepsUnchangedNodes)
{
    TreeHost t;
    QTreeWidget* v = t.view();
    QTreeWidgetItem* lasers = v->topLevelItem(0);
    QTreeWidgetItem* firstLaser = lasers->child(0);
    int changes = 0;
    QObject::connect(v->model(), &QAbstractItemModel::dataChanged, [&] { ++changes; });
    t.server->notify(); // the same texts
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(v->currentItem(), v->topLevelItem(1)->child(2));
    // A folder gains an item and another is renamed; the host reports every SelectEntry back.
    t.server->notifyOnSelect = true;
    t.server->folders[0].second.push_back("561");
    t.server->folders[1].first = "Emission filters";
    t.server->log.clear();
    t.server->notify();
    EXPECT_EQ(v->topLevelItem(0), lasers);
    EXPECT_EQ(lasers->child(0), firstLaser);
    EXPECT_EQ(texts(lasers), (QStringList{"405", "488", "561"}));
    EXPECT_EQ(v->topLevelItem(1)->text(0), "Emission filters");
    EXPECT_EQ(texts(v->topLevelItem(1)), (QStringList{"BP 525/50", "LP 590", "SP 700"}));
    // The refill's own selection reports nothing back: only its SelectEntry calls appear.
    for (const std::string& call : t.server->calls("SelectEntry"))
        EXPECT_TRUE(call == "SelectEntry Folders 0" || call == "SelectEntry Folders 1" || call == "SelectEntry Items 2")
            << call;
    EXPECT_TRUE(t.server->calls("ActivateEntry").empty());
    // Surplus nodes go.
    t.server->notifyOnSelect = false;
    t.server->folders.pop_back();
    t.server->roots.clear();
    t.server->notify();
    EXPECT_EQ(v->topLevelItemCount(), 1);
}

TEST(Tree, SelectingReportsFolderItemAndRootItem)
{
    TreeHost t;
    QTreeWidget* v = t.view();
    // An item in the other folder: the folder, then the item.
    QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, v->visualItemRect(v->topLevelItem(0)->child(1)).center());
    EXPECT_EQ(t.server->log, (Log{"SelectEntry Folders 0", "SelectEntry Items 1"}));
    // Another item in the same folder: the item only.
    t.server->log.clear();
    QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, v->visualItemRect(v->topLevelItem(0)->child(0)).center());
    EXPECT_EQ(t.server->log, Log{"SelectEntry Items 0"});
    // A root item: its own command.
    t.server->log.clear();
    QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, v->visualItemRect(v->topLevelItem(2)).center());
    EXPECT_EQ(t.server->log, Log{"SelectEntry Roots 0"});
}

TEST(Tree, DoubleClickAndReturnActivate)
{
    TreeHost t;
    QTreeWidget* v = t.view();
    // Double click on the selected node: the folder, then the item's activation.
    const QPoint item = v->visualItemRect(v->topLevelItem(1)->child(1)).center();
    QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, item);
    t.server->log.clear();
    QTest::mouseDClick(v->viewport(), Qt::LeftButton, {}, item);
    EXPECT_EQ(t.server->log, (Log{"SelectEntry Folders 1", "ActivateEntry Items 1"}));
    // Return on a root item.
    v->setCurrentItem(v->topLevelItem(2));
    t.server->log.clear();
    v->setFocus();
    QTest::keyClick(v, Qt::Key_Return);
    EXPECT_EQ(t.server->log, Log{"ActivateEntry Roots 0"});
}

TEST(Tree, ImagesOnlyWithAllThreePictures)
{
    TreeHost t;
    auto closed = test::solidPicture(QSize(16, 16), Qt::yellow);
    auto opened = test::solidPicture(QSize(16, 16), Qt::green);
    auto item = test::solidPicture(QSize(16, 16), Qt::blue);
    t.host->setProperty("FolderPictureClosed", Variant::fromDispatch(closed.get()));
    t.host->setProperty("ItemPicture", Variant::fromDispatch(item.get()));
    EXPECT_FALSE(t.tree().hasImages());
    EXPECT_TRUE(t.view()->topLevelItem(0)->icon(0).isNull());
    t.host->setProperty("FolderPictureOpened", Variant::fromDispatch(opened.get()));
    ASSERT_TRUE(t.tree().hasImages());
    EXPECT_EQ(t.view()->iconSize(), QSize(16, 16));
    auto colourOf = [](const QIcon& icon) { return icon.pixmap(16, 16).toImage().pixel(8, 8); };
    EXPECT_EQ(colourOf(t.view()->topLevelItem(0)->icon(0)), qRgb(255, 255, 0));
    EXPECT_EQ(colourOf(t.view()->topLevelItem(0)->child(0)->icon(0)), qRgb(0, 0, 255));
    EXPECT_EQ(colourOf(t.view()->topLevelItem(2)->icon(0)), qRgb(0, 0, 255));
    t.view()->setCurrentItem(t.view()->topLevelItem(0));
    EXPECT_EQ(colourOf(t.view()->topLevelItem(0)->icon(0)), qRgb(0, 255, 0));
}

TEST(Tree, HostileCountsAreBounded)
{
    auto hostile = com::make<test::HostileServer>();
    hostile->count = 300;
    Hosted h("VyrControls.Tree", QSize(200, 150), [](HostWidget& w) {
        w.setProperty("CommandFolder", Variant::fromString("F"));
        w.setProperty("CommandItem", Variant::fromString("I"));
    }, false);
    h.host->setCommandServer(hostile.get());
    EXPECT_EQ(h.control<Tree>().view()->topLevelItemCount(), 300);
    EXPECT_EQ(hostile->textReads, 300 + 300 * 300);
}
