// MultiList hosted on a memory command server: columns and their commands, the refresh that
// replaces only changed cells, the user's actions through real events, persistence of the
// column block.
#include "controls/lists/multilist.h"
#include "platform/com/memstream.h"
#include "tests/controls/lists/hosted.h"
#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>

using namespace vyr;
using namespace vyr::controls;
using com::Variant;
using test::Hosted;
using Log = std::vector<std::string>;

namespace {

// Columns "C0" ... with rows "r,c"; column 0 is "C0".
void fillColumns(vyr::CommandServer& s, int columns, int rows)
{
    for (int c = 0; c < columns; ++c) {
        auto& cmd = s["C" + std::to_string(c)];
        cmd.entries.clear();
        for (int r = 0; r < rows; ++r)
            cmd.entries.push_back({std::to_string(r) + "," + std::to_string(c)});
    }
}

std::unique_ptr<Hosted> table(int columns, int rows, QSize size = QSize(300, 200), bool checkBox = false)
{
    auto hp = std::make_unique<Hosted>("VyrControls.MultiList", size, [&](HostWidget& w) {
        w.setProperty("NumberOfColumns", Variant::fromShort(int16_t(columns)));
        if (checkBox)
            w.setProperty("CheckBox", Variant::fromLong(1));
        for (int c = 0; c < columns; ++c) {
            w.setProperty("CurrentColumn", Variant::fromShort(int16_t(c)));
            w.setProperty("Command", Variant::fromString("C" + std::to_string(c)));
            w.setProperty("ColumnTitleText", Variant::fromString("Column " + std::to_string(c)));
            w.setProperty("ColumnWidth", Variant::fromShort(60));
        }
    }, false);
    fillColumns(*hp->server, columns, rows);
    hp->host->setCommandServer(hp->server.get());
    return hp;
}

QTreeWidget* view(const Hosted& h) { return h.control<MultiList>().view(); }

} // namespace

TEST(MultiList, FillsEveryColumnFromItsCommand)
{
    auto hp = table(3, 4);
    Hosted& h = *hp;
    (*h.server)["C2"].entries.resize(2); // a shorter column
    h.server->notify("C0");
    QTreeWidget* v = view(h);
    ASSERT_EQ(v->topLevelItemCount(), 4);
    EXPECT_EQ(v->columnCount(), 3);
    EXPECT_EQ(v->topLevelItem(3)->text(1), "3,1");
    EXPECT_EQ(v->topLevelItem(3)->text(2), "");
    EXPECT_EQ(v->headerItem()->text(1), "Column 1");
    EXPECT_EQ(v->columnWidth(1), 60);
    EXPECT_EQ(h.server->registrations(), 3u);
}

TEST(MultiList, ColumnCountIsCheckedAndShrinkingUnregisters)
{
    auto hp = table(3, 2);
    Hosted& h = *hp;
    EXPECT_EQ(h.host->setProperty("NumberOfColumns", Variant::fromShort(1001)), E_INVALIDARG);
    EXPECT_EQ(h.host->setProperty("CurrentColumn", Variant::fromShort(3)), E_INVALIDARG);
    h.put("CurrentColumn", Variant::fromShort(2));
    h.put("NumberOfColumns", Variant::fromShort(2));
    EXPECT_EQ(h.host->property("CurrentColumn").toLong(), 0);
    EXPECT_EQ(h.server->registrations(), 2u);
    EXPECT_EQ(h.server->calls("UnregisterCommand").back(), "UnregisterCommand C2");
    h.put("NumberOfColumns", Variant::fromShort(0));
    EXPECT_EQ(view(h)->topLevelItemCount(), 0);
    EXPECT_EQ(h.server->registrations(), 0u);
}

TEST(MultiList, FailedUnregisterKeepsTheOldServerAndRegistrations)
{
    auto hp = table(2, 3);
    Hosted& h = *hp;
    auto other = com::make<vyr::CommandServer>();
    h.server->failing = {"UnregisterCommand"};
    EXPECT_EQ(h.host->setCommandServer(other.get()), E_FAIL);
    EXPECT_EQ(other->registrations(), 0u);
    EXPECT_EQ(h.server->registrations(), 2u);
    h.server->failing.clear();
    EXPECT_EQ(h.host->setCommandServer(other.get()), S_OK);
    EXPECT_EQ(other->registrations(), 2u);
    EXPECT_EQ(h.server->registrations(), 0u);
}

TEST(MultiList, OneChangedCellOfAThousandRowsReplacesOneCell)
{
    auto hp = table(5, 1000);
    Hosted& h = *hp;
    QTreeWidget* v = view(h);
    (*h.server)["C0"].index = 500;
    h.server->notify("C0");
    ASSERT_EQ(v->currentItem(), v->topLevelItem(500));
    v->verticalScrollBar()->setValue(v->verticalScrollBar()->value() + 3); // the row stays in view
    const int scroll = v->verticalScrollBar()->value();
    int changes = 0;
    QObject::connect(v->model(), &QAbstractItemModel::dataChanged, [&] { ++changes; });
    int structural = 0;
    QObject::connect(v->model(), &QAbstractItemModel::rowsRemoved, [&] { ++structural; });
    QObject::connect(v->model(), &QAbstractItemModel::rowsInserted, [&] { ++structural; });

    h.server->notify("C0"); // nothing changed
    EXPECT_EQ(changes, 0);
    (*h.server)["C3"].entries[700].text = "changed";
    h.server->notify("C3");
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(structural, 0);
    EXPECT_EQ(v->topLevelItem(700)->text(3), "changed");
    EXPECT_EQ(v->currentItem(), v->topLevelItem(500));
    EXPECT_TRUE(v->topLevelItem(500)->isSelected());
    EXPECT_EQ(v->verticalScrollBar()->value(), scroll);
    EXPECT_TRUE(h.server->calls("SelectEntry").empty());
}

TEST(MultiList, RowsBeyondTheCountAreDeletedAndTheCurrentRowScrolledIntoView)
{
    auto hp = table(2, 200, QSize(300, 120));
    Hosted& h = *hp;
    QTreeWidget* v = view(h);
    (*h.server)["C0"].index = 150;
    h.server->notify("C0");
    EXPECT_EQ(v->currentItem(), v->topLevelItem(150));
    EXPECT_TRUE(v->viewport()->rect().intersects(v->visualItemRect(v->topLevelItem(150))));
    fillColumns(*h.server, 2, 20);
    h.server->notify("C0");
    EXPECT_EQ(v->topLevelItemCount(), 20);
    EXPECT_EQ(v->currentItem(), nullptr);
}

TEST(MultiList, UserActionsReachTheFirstColumnsCommand)
{
    auto hp = table(2, 5, QSize(300, 200), true);
    Hosted& h = *hp;
    h.put("Editable", Variant::fromLong(1));
    QTreeWidget* v = view(h);
    h.server->log.clear();
    QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, v->visualItemRect(v->topLevelItem(3)).center());
    EXPECT_EQ(h.server->log, Log{"SelectEntry C0 3"});
    v->setFocus();
    QTest::keyClick(v, Qt::Key_Return);
    EXPECT_EQ(h.server->calls("ActivateEntry"), Log{"ActivateEntry C0 3"});
    // The check box of row 1, as a click on it sets it.
    h.server->log.clear();
    v->topLevelItem(1)->setCheckState(0, Qt::Checked);
    EXPECT_EQ(h.server->log, (Log{"SelectEntry C0 1", "SetState C0 1"}));
    // An in-place edit of the first cell of the current row.
    h.server->log.clear();
    v->edit(v->model()->index(1, 0));
    auto* editor = v->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->setText("renamed");
    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(h.server->log, Log{"SetText C0 renamed"});
    EXPECT_EQ(v->topLevelItem(1)->text(0), "renamed");
    EXPECT_EQ(h.control<MultiList>().table().cell(1, 0), "renamed");
    // Only the first column is edited in place.
    EXPECT_EQ(v->itemDelegate()->createEditor(v->viewport(), {}, v->model()->index(1, 1)), nullptr);
}

TEST(MultiList, ChecksAndEnabledStateComeFromTheFirstColumn)
{
    auto hp = table(2, 3, QSize(300, 200), true);
    Hosted& h = *hp;
    (*h.server)["C0"].entries[2].state = 1;
    h.server->notify("C0");
    QTreeWidget* v = view(h);
    EXPECT_EQ(v->topLevelItem(2)->checkState(0), Qt::Checked);
    EXPECT_EQ(v->topLevelItem(1)->checkState(0), Qt::Unchecked);
    (*h.server)["C0"].enabled = false;
    h.server->notify("C0");
    EXPECT_FALSE(v->isEnabled());
    h.put("CheckBox", Variant::fromLong(0));
    EXPECT_FALSE(v->topLevelItem(2)->data(0, Qt::CheckStateRole).isValid());
}

TEST(MultiList, ColumnBlockIsSavedAndLoadedBack)
{
    auto hp = table(3, 2);
    Hosted& h = *hp;
    h.put("CurrentColumn", Variant::fromShort(1));
    h.put("ColumnWidth", Variant::fromShort(90));
    auto stream = com::MemoryStream::create();
    ASSERT_EQ(h.host->save(stream.get()), S_OK);
    stream->Seek({0}, STREAM_SEEK_SET, nullptr);
    HostWidget copy;
    ASSERT_EQ(copy.createAndLoad("VyrControls.MultiList", stream.get()), S_OK);
    auto* loaded = dynamic_cast<MultiList*>(vyr::controls::ControlBase::from(copy.dispatch()));
    ASSERT_EQ(loaded->columns().size(), 3u);
    EXPECT_EQ(loaded->columns()[2].command.text(), "C2");
    EXPECT_EQ(loaded->columns()[1].title, "Column 1");
    EXPECT_EQ(loaded->columns()[1].width, 90);
    EXPECT_EQ(loaded->view()->columnWidth(1), 90);
    // A truncated column block fails with the read's error and keeps what it read.
    auto bytes = stream->bytes();
    bytes.resize(bytes.size() - 10);
    auto cut = com::MemoryStream::create(bytes);
    HostWidget broken;
    EXPECT_EQ(broken.createAndLoad("VyrControls.MultiList", cut.get()), STG_E_READFAULT);
}
