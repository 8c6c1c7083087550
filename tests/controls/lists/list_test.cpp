// List and ComboBox hosted on a memory command server, driven by real mouse and key events.
#include "controls/lists/combobox.h"
#include "controls/lists/list.h"
#include "platform/gdi/syscolors.h"
#include "tests/controls/lists/hosted.h"
#include "tests/controls/lists/userinput.h"
#include <QAbstractItemView>
#include <QLineEdit>

using namespace vyr;
using namespace vyr::controls;
using com::Variant;
using test::Hosted;
using Log = std::vector<std::string>;

namespace {

Hosted bound(const char* progId, const std::function<void(HostWidget&)>& more = {})
{
    return Hosted(progId, QSize(160, 120), [&](HostWidget& h) {
        h.setProperty("Command", Variant::fromString("Objective"));
        if (more)
            more(h);
    }, false);
}

void fill(Hosted& h)
{
    auto& c = (*h.server)["Objective"];
    c.entries = {{"10x Air"}, {"20x Oil"}, {"40x Water"}, {"63x Oil"}};
    c.index = 1;
    c.text = "20x Oil";
}

QStringList shown(QListWidget* l)
{
    QStringList r;
    for (int i = 0; i < l->count(); ++i)
        r << l->item(i)->text();
    return r;
}

} // namespace

TEST(List, ShowsTheEntriesAndCurrentEntryOfItsCommand)
{
    Hosted h = bound("VyrControls.List");
    fill(h);
    h.host->setCommandServer(h.server.get());
    QListWidget* l = h.control<List>().listBox();
    EXPECT_EQ(shown(l), (QStringList{"10x Air", "20x Oil", "40x Water", "63x Oil"}));
    EXPECT_EQ(l->currentRow(), 1);
    EXPECT_TRUE(l->item(1)->isSelected());
    EXPECT_EQ(l->geometry(), h.window()->rect());
    // The server changes: the list follows.
    (*h.server)["Objective"].entries.pop_back();
    (*h.server)["Objective"].index = 0;
    h.server->notify("Objective");
    EXPECT_EQ(l->count(), 3);
    EXPECT_EQ(l->currentRow(), 0);
    // Zero entries: empty, nothing selected.
    (*h.server)["Objective"].entries.clear();
    h.server->notify("Objective");
    EXPECT_EQ(l->count(), 0);
    EXPECT_TRUE(l->selectedItems().isEmpty());
    EXPECT_TRUE(h.server->calls("SelectEntry").empty()); // refilling reports nothing
}

TEST(List, ClicksSelectAndDoubleClicksAndReturnActivate)
{
    Hosted h = bound("VyrControls.List");
    fill(h);
    h.host->setCommandServer(h.server.get());
    QListWidget* l = h.control<List>().listBox();
    h.server->log.clear();
    const QPoint third = l->visualItemRect(l->item(2)).center();
    QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, third);
    EXPECT_EQ(h.server->log, Log{"SelectEntry Objective 2"});
    // The current entry again: nothing.
    QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, third);
    EXPECT_EQ(h.server->calls("SelectEntry").size(), 1u);
    QTest::mouseDClick(l->viewport(), Qt::LeftButton, {}, third);
    EXPECT_EQ(h.server->calls("ActivateEntry"), Log{"ActivateEntry Objective 2"});
    l->setFocus();
    QTest::keyClick(l, Qt::Key_Return);
    EXPECT_EQ(h.server->calls("ActivateEntry").size(), 2u);
    // The keyboard moves the selection too.
    QTest::keyClick(l, Qt::Key_Down);
    EXPECT_EQ(h.server->calls("SelectEntry").back(), "SelectEntry Objective 3");
}

TEST(List, DesignModeAndNoServerSendNothing)
{
    Hosted h = bound("VyrControls.List");
    fill(h);
    h.host->setCommandServer(h.server.get());
    h.host->setUserMode(false);
    QListWidget* l = h.control<List>().listBox();
    h.server->log.clear();
    QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, l->visualItemRect(l->item(3)).center());
    EXPECT_TRUE(h.server->log.empty());
    h.host->setUserMode(true);
    h.host->setCommandServer(nullptr);
    EXPECT_EQ(l->count(), 0);
    EXPECT_FALSE(h.control<List>().enabledFlag());
}

TEST(List, ColoursFollowTheCommandsEnabledState)
{
    Hosted h = bound("VyrControls.List", [](HostWidget& w) {
        w.setProperty("BackColor", Variant::fromULong(0x00E0FFE0));
        w.setProperty("ForeColor", Variant::fromULong(0x00800000));
    });
    fill(h);
    h.host->setCommandServer(h.server.get());
    QListWidget* l = h.control<List>().listBox();
    EXPECT_EQ(l->palette().color(QPalette::Base), QColor(0xE0, 0xFF, 0xE0));
    EXPECT_EQ(l->palette().color(QPalette::Text), QColor(0, 0, 0x80));
    (*h.server)["Objective"].enabled = false;
    h.server->notify("Objective");
    EXPECT_EQ(l->palette().color(QPalette::Base), gdi::SysColor(gdi::COLOR_BTNFACE));
    EXPECT_FALSE(h.control<List>().enabledFlag());
    // A failing read of the enabled state disables as well.
    (*h.server)["Objective"].enabled = true;
    h.server->notify("Objective");
    EXPECT_TRUE(h.control<List>().enabledFlag());
    h.server->failing = {"GetCommandEnabled"};
    h.server->notify("Objective");
    EXPECT_FALSE(h.control<List>().enabledFlag());
}

TEST(ComboBoxControl, ShowsEntriesCurrentEntryAndText)
{
    Hosted h = bound("VyrControls.ComboBox");
    fill(h);
    h.host->setCommandServer(h.server.get());
    QComboBox* c = h.control<ComboBox>().comboBox();
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->count(), 4);
    EXPECT_EQ(c->currentIndex(), 1);
    EXPECT_FALSE(c->isEditable());
    (*h.server)["Objective"].visible = 0;
    h.server->notify("Objective");
    EXPECT_FALSE(h.window()->isVisible());
}

TEST(ComboBoxControl, ChoosingSelectsThenActivates)
{
    Hosted h = bound("VyrControls.ComboBox");
    fill(h);
    h.host->setCommandServer(h.server.get());
    QComboBox* c = h.control<ComboBox>().comboBox();
    h.server->log.clear();
    // Choosing an entry in the dropped list.
    c->showPopup();
    QAbstractItemView* v = c->view();
    QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, v->visualRect(v->model()->index(3, 0)).center());
    EXPECT_EQ(h.server->log, (Log{"SelectEntry Objective 3", "ActivateEntry Objective 3"}));
    // The keyboard on the closed drop-down changes the selection only.
    QApplication::processEvents();
    h.server->log.clear();
    c->setFocus();
    QTest::keyClick(c, Qt::Key_Up);
    EXPECT_EQ(h.server->log, Log{"SelectEntry Objective 2"});
    // A cancelled choice sends nothing.
    c->showPopup();
    QTest::keyClick(c->view(), Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_EQ(h.server->log, Log{"SelectEntry Objective 2"});
    QTest::keyClick(c, Qt::Key_Return);
    EXPECT_EQ(h.server->calls("ActivateEntry").back(), "ActivateEntry Objective 2");
}

TEST(ComboBoxControl, EditableSendsTypedTextOnReturnAndFocusLoss)
{
    Hosted h = bound("VyrControls.ComboBox", [](HostWidget& w) { w.setProperty("Editable", Variant::fromBool(true)); });
    fill(h);
    h.host->setCommandServer(h.server.get());
    ASSERT_TRUE(test::activate(h.top));
    QComboBox* c = h.control<ComboBox>().comboBox();
    ASSERT_TRUE(c->isEditable());
    EXPECT_EQ(c->lineEdit()->text(), "20x Oil");
    h.server->log.clear();
    c->clearFocus();
    c->setFocus(Qt::TabFocusReason); // all of the text selected
    test::type("25x");
    EXPECT_TRUE(h.control<ComboBox>().state().modified());
    test::key(Qt::Key_Return);
    EXPECT_EQ(h.server->calls("SetText"), Log{"SetText Objective 25x"});
    EXPECT_FALSE(h.control<ComboBox>().state().modified());
    EXPECT_EQ(c->lineEdit()->selectedText(), "25x");
    // Typing again and leaving the field sends once more.
    test::key(Qt::Key_End);
    test::type("!");
    QWidget other(&h.top);
    other.setFocusPolicy(Qt::StrongFocus);
    other.show();
    other.setFocus();
    QApplication::processEvents();
    EXPECT_EQ(h.server->calls("SetText").back(), "SetText Objective 25x!");
    EXPECT_EQ(h.server->calls("SetText").size(), 2u);
}

TEST(ComboBoxControl, EditableRecreatesTheDropDownOnlyWhenTheKindChanges)
{
    Hosted h = bound("VyrControls.ComboBox");
    fill(h);
    h.host->setCommandServer(h.server.get());
    QComboBox* first = h.control<ComboBox>().comboBox();
    h.put("ForeColor", Variant::fromULong(0x000000FF));
    EXPECT_EQ(h.control<ComboBox>().comboBox(), first);
    h.put("Editable", Variant::fromBool(true));
    QComboBox* editable = h.control<ComboBox>().comboBox();
    EXPECT_TRUE(editable->isEditable());
    EXPECT_EQ(editable->count(), 4); // refilled
    EXPECT_EQ(editable->currentIndex(), 1);
    h.put("Editable", Variant::fromBool(true));
    EXPECT_EQ(h.control<ComboBox>().comboBox(), editable);
    h.put("Editable", Variant::fromBool(false));
    EXPECT_FALSE(h.control<ComboBox>().comboBox()->isEditable());
}
