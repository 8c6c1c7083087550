// What the host hears when a user drives the list controls with real mouse and key input: a
// table of user actions with the server calls each must send, run against List, MultiList
// and both kinds of ComboBox, with a host that stays quiet and with one that reports every
// change back at once; the same for the Tree; and the faults where Qt's own signals
// (completion, end-of-edit matching, an editor's Return and Tab) used to reach the host.
#include "controls/lists/combobox.h"
#include "controls/lists/list.h"
#include "controls/lists/multilist.h"
#include "controls/lists/tree.h"
#include "platform/gdi/syscolors.h"
#include "tests/controls/lists/folderserver.h"
#include "tests/controls/lists/hosted.h"
#include "tests/controls/lists/userinput.h"
#include <QAbstractItemView>
#include <QHeaderView>
#include <QLineEdit>
#include <map>
#include <optional>

using namespace vyr;
using namespace vyr::controls;
using com::Variant;
using test::Hosted;
using Log = std::vector<std::string>;

namespace {

enum class Kind { List, MultiList, Combo, ComboEdit };
const char* const kKindNames[] = {"List", "MultiList", "ComboBox", "editable ComboBox"};

// A list control on "Objective" (four entries, the second current) in an active window with
// a field beside it for the focus to go to.
struct Bench {
    Bench(Kind kind, bool autoNotify, bool editable = false) : kind(kind)
    {
        const char* progIds[] = {"VyrControls.List", "VyrControls.MultiList", "VyrControls.ComboBox",
                                 "VyrControls.ComboBox"};
        hosted = std::make_unique<Hosted>(progIds[int(kind)], QSize(160, kind >= Kind::Combo ? 24 : 120),
                                          [&](HostWidget& h) {
                                              if (kind == Kind::MultiList) {
                                                  h.setProperty("NumberOfColumns", Variant::fromShort(1));
                                                  h.setProperty("ColumnWidth", Variant::fromShort(120));
                                                  h.setProperty("Editable", Variant::fromLong(editable));
                                              }
                                              if (kind == Kind::ComboEdit)
                                                  h.setProperty("Editable", Variant::fromBool(true));
                                              h.setProperty("Command", Variant::fromString("Objective"));
                                          },
                                          false);
        auto& c = server()["Objective"];
        c.entries = {{"10x Air"}, {"20x Oil"}, {"40x Water"}, {"63x Oil"}};
        c.index = 1;
        c.text = "20x Oil";
        hosted->top.resize(220, 200);
        other = new QLineEdit(&hosted->top);
        other->setGeometry(10, 170, 100, 20);
        other->show();
        hosted->host->setCommandServer(hosted->server.get());
        EXPECT_TRUE(test::activate(hosted->top));
        leave();
        focusControl(); // as Tab brings it: a text field has all of its text selected
        server().autoNotify = autoNotify;
        server().log.clear();
    }
    ~Bench()
    {
        if (QWidget* popup = QApplication::activePopupWidget())
            popup->close();
    }

    vyr::CommandServer& server() const { return *hosted->server; }
    // The widget that takes the keys: the list, the table, the drop-down.
    QWidget* keys() const
    {
        switch (kind) {
        case Kind::List: return hosted->control<List>().listBox();
        case Kind::MultiList: return hosted->control<MultiList>().view();
        default: return hosted->control<ComboBox>().comboBox();
        }
    }
    void focusControl() const { keys()->setFocus(Qt::TabFocusReason); }
    // Where entry `i` is shown, and in which widget.
    std::pair<QWidget*, QPoint> entry(int i) const
    {
        if (kind == Kind::List) {
            QListWidget* l = hosted->control<List>().listBox();
            return {l->viewport(), l->visualItemRect(l->item(i)).center()};
        }
        if (kind == Kind::MultiList) {
            QTreeWidget* v = hosted->control<MultiList>().view();
            return {v->viewport(), v->visualItemRect(v->topLevelItem(i)).center()};
        }
        QAbstractItemView* v = hosted->control<ComboBox>().comboBox()->view();
        return {v->viewport(), v->visualRect(v->model()->index(i, 0)).center()};
    }
    void clickEntry(int i) const
    {
        if (kind >= Kind::Combo)
            drop();
        auto [w, at] = entry(i);
        test::click(w, at);
    }
    // Drops the list with a click on the drop-down's arrow.
    void drop() const
    {
        QComboBox* c = hosted->control<ComboBox>().comboBox();
        test::click(c, QPoint(c->width() - 6, c->height() / 2));
        EXPECT_TRUE(c->view()->isVisible());
    }
    void leave() const
    {
        other->setFocus(Qt::MouseFocusReason);
        QApplication::processEvents();
    }
    // The calls a user's action sends (the reads a notification brings are left out).
    Log sent() const
    {
        Log r;
        for (const std::string& l : server().log)
            for (const char* op : {"SelectEntry ", "ActivateEntry ", "SetText ", "SetState "})
                if (l.rfind(op, 0) == 0)
                    r.push_back(l);
        return r;
    }

    Kind kind;
    std::unique_ptr<Hosted> hosted;
    QLineEdit* other = nullptr;
};

struct ActionRow {
    const char* action;
    std::function<void(Bench&)> run;
    // Per kind: the calls expected, or none where the action does not apply.
    std::map<Kind, Log> expected;
};

const std::vector<ActionRow>& actionTable()
{
    using K = Kind;
    static const std::vector<ActionRow> rows = {
        {"click on another entry", [](Bench& b) { b.clickEntry(2); },
         {{K::List, {"SelectEntry Objective 2"}},
          {K::MultiList, {"SelectEntry Objective 2"}},
          {K::Combo, {"SelectEntry Objective 2", "ActivateEntry Objective 2"}},
          {K::ComboEdit, {"SelectEntry Objective 2", "ActivateEntry Objective 2"}}}},
        {"click on the current entry", [](Bench& b) { b.clickEntry(1); },
         {{K::List, {}}, {K::MultiList, {}}, {K::Combo, {"ActivateEntry Objective 1"}},
          {K::ComboEdit, {"ActivateEntry Objective 1"}}}},
        {"double click on another entry",
         [](Bench& b) {
             auto [w, at] = b.entry(2);
             test::doubleClick(w, at);
         },
         {{K::List, {"SelectEntry Objective 2", "ActivateEntry Objective 2"}},
          {K::MultiList, {"SelectEntry Objective 2"}}}},
        {"Down", [](Bench& b) { test::key(Qt::Key_Down); },
         {{K::List, {"SelectEntry Objective 2"}},
          {K::MultiList, {"SelectEntry Objective 2"}},
          {K::Combo, {"SelectEntry Objective 2"}},
          {K::ComboEdit, {"SelectEntry Objective 2"}}}},
        {"Return", [](Bench& b) { test::key(Qt::Key_Return); },
         {{K::List, {"ActivateEntry Objective 1"}},
          {K::MultiList, {"ActivateEntry Objective 1"}},
          {K::Combo, {"ActivateEntry Objective 1"}},
          {K::ComboEdit, {}}}},
        // "6" starts "63x Oil": the lists search for it, the text field keeps it as typed.
        {"type 6, Return",
         [](Bench& b) {
             test::type("6");
             test::key(Qt::Key_Return);
         },
         {{K::List, {"SelectEntry Objective 3", "ActivateEntry Objective 3"}},
          {K::MultiList, {"SelectEntry Objective 3", "ActivateEntry Objective 3"}},
          {K::Combo, {"SelectEntry Objective 3", "ActivateEntry Objective 3"}},
          {K::ComboEdit, {"SetText Objective 6"}}}},
        {"type 6, leave",
         [](Bench& b) {
             test::type("6");
             b.leave();
         },
         {{K::List, {"SelectEntry Objective 3"}},
          {K::MultiList, {"SelectEntry Objective 3"}},
          {K::Combo, {"SelectEntry Objective 3"}},
          {K::ComboEdit, {"SetText Objective 6"}}}},
        // A typed text that equals another entry's is still a text, not a choice.
        {"type another entry's text, leave",
         [](Bench& b) {
             test::type("63x Oil");
             b.leave();
         },
         {{K::ComboEdit, {"SetText Objective 63x Oil"}}}},
        {"type, Return, leave",
         [](Bench& b) {
             test::type("25x");
             test::key(Qt::Key_Return);
             b.leave();
         },
         {{K::ComboEdit, {"SetText Objective 25x"}}}},
        {"leave", [](Bench& b) { b.leave(); },
         {{K::List, {}}, {K::MultiList, {}}, {K::Combo, {}}, {K::ComboEdit, {}}}},
        {"drop the list, cancel",
         [](Bench& b) {
             b.drop();
             test::key(Qt::Key_Down);
             test::key(Qt::Key_Escape);
         },
         {{K::Combo, {}}, {K::ComboEdit, {}}}},
        {"type another entry's text, drop the list, cancel, leave",
         [](Bench& b) {
             test::type("63x Oil");
             b.drop();
             test::key(Qt::Key_Escape);
             b.leave();
         },
         {{K::ComboEdit, {"SetText Objective 63x Oil"}}}},
        {"drop the list with F4, Down, Return",
         [](Bench& b) {
             test::key(Qt::Key_F4);
             test::key(Qt::Key_Down);
             test::key(Qt::Key_Return);
         },
         {{K::Combo, {"SelectEntry Objective 2", "ActivateEntry Objective 2"}},
          {K::ComboEdit, {"SelectEntry Objective 2", "ActivateEntry Objective 2"}}}},
    };
    return rows;
}

} // namespace

TEST(ListUserActions, EveryActionSendsWhatTheUserDid)
{
    for (const ActionRow& row : actionTable()) {
        for (const auto& [kind, expected] : row.expected) {
            for (bool notifying : {false, true}) {
                Bench b(kind, notifying);
                row.run(b);
                EXPECT_EQ(b.sent(), expected)
                    << kKindNames[int(kind)] << ": " << row.action << (notifying ? " (host notifies)" : "");
            }
        }
    }
}

TEST(ListUserActions, FocusComingInChoosesNothing)
{
    for (Kind kind : {Kind::List, Kind::MultiList, Kind::Combo, Kind::ComboEdit}) {
        Bench b(kind, false);
        b.server()["Objective"].index = -1;
        b.server().notify("Objective");
        b.leave();
        b.server().log.clear();
        b.focusControl();
        QApplication::processEvents();
        EXPECT_EQ(b.sent(), Log{}) << kKindNames[int(kind)];
    }
}

// ---------------------------------------------------------------- ComboBox, editable kind

TEST(ComboBoxUserActions, TypingShowsWhatWasTypedWithoutCompletion)
{
    Bench b(Kind::ComboEdit, false);
    QLineEdit* edit = b.hosted->control<ComboBox>().comboBox()->lineEdit();
    test::type("6");
    EXPECT_EQ(edit->text(), "6");
    EXPECT_TRUE(b.hosted->control<ComboBox>().state().modified());
    test::key(Qt::Key_Return);
    EXPECT_EQ(b.sent(), Log{"SetText Objective 6"});
    EXPECT_EQ(edit->selectedText(), "6");
    EXPECT_FALSE(b.hosted->control<ComboBox>().state().modified());
    // Return again: nothing modified, nothing sent.
    test::key(Qt::Key_Return);
    EXPECT_EQ(b.sent(), Log{"SetText Objective 6"});
}

TEST(ComboBoxUserActions, ANotifyingHostGetsTheTypedTextWhenTheFieldIsLeft)
{
    Bench b(Kind::ComboEdit, true);
    test::type("63x oil");
    b.leave();
    EXPECT_EQ(b.sent(), Log{"SetText Objective 63x oil"});
    EXPECT_EQ(b.server()["Objective"].text, "63x oil");
    EXPECT_EQ(b.hosted->control<ComboBox>().comboBox()->lineEdit()->text(), "63x oil");
}

TEST(ComboBoxUserActions, AChoiceInTheListShowsTheEntryAndIsNoTypedText)
{
    Bench b(Kind::ComboEdit, false);
    test::type("typed");
    b.clickEntry(3);
    EXPECT_EQ(b.hosted->control<ComboBox>().comboBox()->lineEdit()->text(), "63x Oil");
    b.leave();
    EXPECT_EQ(b.sent(), (Log{"SelectEntry Objective 3", "ActivateEntry Objective 3"}));
}

TEST(ComboBoxUserActions, ReturnOnTheListKindPassesOnWhenActivationFails)
{
    Bench b(Kind::Combo, false);
    b.server().failing = {"ActivateEntry"};
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(b.keys(), &press);
    EXPECT_FALSE(press.isAccepted()); // the dialog may act on it
    b.server().failing.clear();
    QKeyEvent again(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(b.keys(), &again);
    EXPECT_TRUE(again.isAccepted());
}

TEST(ComboBoxLook, ClosedFieldAndListFollowTheEntryColours)
{
    Bench b(Kind::Combo, false);
    b.hosted->put("BackColor", Variant::fromULong(0x00E0FFE0));
    b.hosted->put("ForeColor", Variant::fromULong(0x00800000));
    b.leave(); // no focus: the closed field is not drawn selected
    ComboBox& c = b.hosted->control<ComboBox>();
    QComboBox* combo = c.comboBox();
    QStyleOptionComboBox opt;
    opt.initFrom(combo);
    opt.editable = false;
    const QRect field = combo->style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, combo);
    QImage shot = combo->grab().toImage().convertToFormat(QImage::Format_RGB32);
    test::saveScreenshot(shot, "combobox-enabled.png");
    EXPECT_EQ(QColor(shot.pixel(field.right() - 2, field.top() + 2)), QColor(0xE0, 0xFF, 0xE0));
    bool text = false; // some of the text's pixels, which are smoothed at their edges
    for (int y = field.top(); y < field.bottom(); ++y)
        for (int x = field.left(); x < field.right(); ++x) {
            const QColor p(shot.pixel(x, y));
            text = text || (p.red() < 0x40 && p.green() < 0x40 && p.blue() > 0x60);
        }
    EXPECT_TRUE(text) << "the entry's text in ForeColor";
    // Disabled: ForeColor on the button face, and the drop-down is disabled.
    b.server()["Objective"].enabled = false;
    b.server().notify("Objective");
    EXPECT_FALSE(combo->isEnabled());
    shot = combo->grab().toImage().convertToFormat(QImage::Format_RGB32);
    test::saveScreenshot(shot, "combobox-disabled.png");
    EXPECT_EQ(QColor(shot.pixel(field.right() - 2, field.top() + 2)), gdi::SysColor(gdi::COLOR_BTNFACE));
    // The dropped list: about ten entries show.
    b.server()["Objective"].enabled = true;
    for (int i = 0; i < 16; ++i)
        b.server()["Objective"].entries.push_back({"Entry " + std::to_string(i)});
    b.server().notify("Objective");
    b.drop();
    QAbstractItemView* v = combo->view();
    const int rowHeight = v->visualRect(v->model()->index(0, 0)).height();
    EXPECT_EQ(rowHeight, QFontMetrics(combo->font()).height());
    EXPECT_NEAR(double(v->viewport()->height()) / rowHeight, 10.0, 1.0);
    QImage list = v->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    test::saveScreenshot(list, "combobox-dropped.png");
    const QRect unselected = v->visualRect(v->model()->index(5, 0));
    EXPECT_EQ(QColor(list.pixel(unselected.right() - 2, unselected.center().y())), QColor(0xE0, 0xFF, 0xE0));
    const QRect selected = v->visualRect(v->currentIndex());
    EXPECT_EQ(QColor(list.pixel(selected.right() - 2, selected.center().y())), gdi::SysColor(gdi::COLOR_HIGHLIGHT));
}

TEST(ComboBoxLook, TheEditableFieldFollowsTheEntryColoursToo)
{
    Bench b(Kind::ComboEdit, false);
    b.hosted->put("BackColor", Variant::fromULong(0x00E0FFE0));
    b.leave();
    QLineEdit* edit = b.hosted->control<ComboBox>().comboBox()->lineEdit();
    auto inside = [&] {
        const QImage shot = edit->grab().toImage().convertToFormat(QImage::Format_RGB32);
        return QColor(shot.pixel(shot.width() - 3, 2));
    };
    EXPECT_EQ(inside(), QColor(0xE0, 0xFF, 0xE0));
    b.server()["Objective"].enabled = false;
    b.server().notify("Objective");
    EXPECT_FALSE(edit->isEnabled());
    EXPECT_EQ(inside(), gdi::SysColor(gdi::COLOR_BTNFACE));
}

// ---------------------------------------------------------------- MultiList

namespace {

// Starts the in-place edit of the current row with F2 and types `text` over its cell.
QLineEdit* editCurrentRow(Bench& b, const QString& text)
{
    test::key(Qt::Key_F2);
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    EXPECT_NE(editor, nullptr) << "an editor opened";
    if (!editor)
        return nullptr;
    editor->selectAll();
    test::type(text);
    return editor;
}

} // namespace

TEST(MultiListUserActions, ReturnAndTabInTheEditorSendTheTextOnly)
{
    for (Qt::Key end : {Qt::Key_Return, Qt::Key_Tab, Qt::Key_Backtab}) {
        for (bool notifying : {false, true}) {
            Bench b(Kind::MultiList, notifying, true);
            QTreeWidget* v = b.hosted->control<MultiList>().view();
            ASSERT_TRUE(editCurrentRow(b, "renamed"));
            test::key(end);
            EXPECT_EQ(b.sent(), Log{"SetText Objective renamed"}) << end << " " << notifying;
            EXPECT_EQ(v->currentItem(), v->topLevelItem(1));
            EXPECT_EQ(QApplication::focusWidget(), v) << "no editor on another row";
            EXPECT_EQ(v->topLevelItem(1)->text(0), notifying ? "20x Oil" : "renamed")
                << "a host that notifies shows its own entry";
        }
    }
}

TEST(MultiListUserActions, EscapeAndFocusLossEndTheEdit)
{
    Bench b(Kind::MultiList, false, true);
    ASSERT_TRUE(editCurrentRow(b, "dropped"));
    test::key(Qt::Key_Escape);
    EXPECT_EQ(b.sent(), Log{});
    ASSERT_TRUE(editCurrentRow(b, "kept"));
    b.leave();
    EXPECT_EQ(b.sent(), Log{"SetText Objective kept"});
    // Only the host's current row is edited: its SetText names no row.
    b.focusControl();
    QTreeWidget* v = b.hosted->control<MultiList>().view();
    v->setCurrentItem(v->topLevelItem(3), 0, QItemSelectionModel::NoUpdate);
    test::key(Qt::Key_F2);
    EXPECT_EQ(QApplication::focusWidget(), v);
}

TEST(MultiListUserActions, RowsThatCannotBeSelectedSendNoSelection)
{
    Bench b(Kind::MultiList, false);
    b.hosted->put("Selectable", Variant::fromLong(0));
    b.hosted->put("CheckBox", Variant::fromLong(1));
    QTreeWidget* v = b.hosted->control<MultiList>().view();
    b.server().log.clear();
    b.clickEntry(3);
    test::key(Qt::Key_Up);
    EXPECT_EQ(b.sent(), Log{});
    EXPECT_TRUE(v->topLevelItem(1)->isSelected()) << "the host's current row stays marked";
    EXPECT_FALSE(v->topLevelItem(3)->isSelected());
    // A check mark still names its row before its state.
    QStyleOptionViewItem opt;
    opt.initFrom(v);
    opt.rect = v->visualItemRect(v->topLevelItem(3));
    opt.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
    const QRect check = v->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &opt, v);
    test::click(v->viewport(), check.center());
    EXPECT_EQ(b.sent(), (Log{"SelectEntry Objective 3", "SetState Objective 1"}));
}

TEST(MultiListBrowsing, CurrentColumnBrowsesAsColumnNames)
{
    auto hosted = std::make_unique<Hosted>("VyrControls.MultiList", QSize(200, 100), [](HostWidget& h) {
        h.setProperty("NumberOfColumns", Variant::fromShort(3));
        h.setProperty("CurrentColumn", Variant::fromShort(2));
    });
    com::ComPtr<IPerPropertyBrowsing> browse;
    ASSERT_EQ(hosted->host->dispatch()->QueryInterface(IID_IPerPropertyBrowsing, browse.putVoid()), S_OK);
    CALPOLESTR strings{};
    CADWORD cookies{};
    ASSERT_EQ(browse->GetPredefinedStrings(70, &strings, &cookies), S_OK);
    std::vector<std::string> names;
    for (ULONG i = 0; i < strings.cElems; ++i) {
        names.push_back(com::utf8(std::u16string_view(strings.pElems[i])));
        EXPECT_EQ(cookies.pElems[i], i);
        CoTaskMemFree(strings.pElems[i]);
    }
    CoTaskMemFree(strings.pElems);
    CoTaskMemFree(cookies.pElems);
    EXPECT_EQ(names, (std::vector<std::string>{"Column 1", "Column 2", "Column 3"}));
    com::Bstr shown;
    EXPECT_EQ(browse->GetDisplayString(70, shown.put()), S_OK);
    EXPECT_EQ(shown.str(), "Column 3");
    Variant v;
    EXPECT_EQ(browse->GetPredefinedValue(70, 1, v.put()), S_OK);
    EXPECT_EQ(v.get().vt, VT_I2);
    EXPECT_EQ(v.get().iVal, 1);
    EXPECT_EQ(browse->GetPredefinedValue(70, 3, v.put()), E_INVALIDARG);
}

TEST(MultiListColumns, AWidthPutAfterTheUserDraggedTheHeaderApplies)
{
    Bench b(Kind::MultiList, false);
    QTreeWidget* v = b.hosted->control<MultiList>().view();
    ASSERT_EQ(v->columnWidth(0), 120);
    // The user drags the column's right edge 40 pixels to the left.
    QHeaderView* header = v->header();
    const QPoint edge(header->sectionViewportPosition(0) + 119, header->height() / 2);
    QTest::mousePress(header->viewport(), Qt::LeftButton, {}, edge);
    QTest::mouseMove(header->viewport(), edge - QPoint(20, 0));
    QTest::mouseMove(header->viewport(), edge - QPoint(40, 0));
    QTest::mouseRelease(header->viewport(), Qt::LeftButton, {}, edge - QPoint(40, 0));
    ASSERT_EQ(v->columnWidth(0), 80);
    EXPECT_EQ(b.hosted->host->property("ColumnWidth").toLong(), 80);
    b.hosted->put("ColumnWidth", Variant::fromShort(120));
    EXPECT_EQ(v->columnWidth(0), 120);
}

// ---------------------------------------------------------------- Tree

namespace {

struct TreeBench {
    TreeBench()
    {
        server->folders = {{"Lasers", {"405", "488"}}, {"Filters", {"BP 525/50", "LP 590", "SP 700"}}};
        server->roots = {"Transmission"};
        server->index = {{"Folders", 1}, {"Items", 2}, {"Roots", -1}};
        top.resize(280, 240);
        host = new HostWidget(&top);
        host->setGeometry(10, 10, 240, 200);
        EXPECT_EQ(host->create("VyrControls.Tree"), S_OK);
        host->setProperty("CommandFolder", Variant::fromString("Folders"));
        host->setProperty("CommandItem", Variant::fromString("Items"));
        host->setProperty("CommandRootItem", Variant::fromString("Roots"));
        host->setCommandServer(server.get());
        other = new QLineEdit(&top);
        other->setGeometry(10, 215, 100, 20);
        EXPECT_TRUE(test::activate(top));
        view()->expandAll();
        view()->setFocus(Qt::TabFocusReason);
        server->log.clear();
    }
    QTreeWidget* view() const { return dynamic_cast<Tree*>(vyr::controls::ControlBase::from(host->dispatch()))->view(); }
    QPoint at(QTreeWidgetItem* item) const { return view()->visualItemRect(item).center(); }
    Log sent() const
    {
        Log r;
        for (const std::string& l : server->log)
            if (l.rfind("SelectEntry ", 0) == 0 || l.rfind("ActivateEntry ", 0) == 0)
                r.push_back(l);
        return r;
    }

    com::ComPtr<test::FolderServer> server = com::make<test::FolderServer>();
    QWidget top;
    HostWidget* host = nullptr;
    QLineEdit* other = nullptr;
};

} // namespace

TEST(TreeUserActions, EveryActionSendsWhatTheUserDid)
{
    struct Row {
        const char* action;
        std::function<void(TreeBench&)> run;
        Log expected;
    };
    const std::vector<Row> rows = {
        {"click on another item of the folder",
         [](TreeBench& t) { test::click(t.view()->viewport(), t.at(t.view()->topLevelItem(1)->child(0))); },
         {"SelectEntry Items 0"}},
        {"click on an item of another folder",
         [](TreeBench& t) { test::click(t.view()->viewport(), t.at(t.view()->topLevelItem(0)->child(1))); },
         {"SelectEntry Folders 0", "SelectEntry Items 1"}},
        {"click on the current item", [](TreeBench& t) { test::click(t.view()->viewport(), t.at(t.view()->topLevelItem(1)->child(2))); },
         {}},
        {"double click on the current item",
         [](TreeBench& t) { test::doubleClick(t.view()->viewport(), t.at(t.view()->topLevelItem(1)->child(2))); },
         {"SelectEntry Folders 1", "ActivateEntry Items 2"}},
        {"Up", [](TreeBench&) { test::key(Qt::Key_Up); }, {"SelectEntry Items 1"}},
        {"Down to the root item", [](TreeBench&) { test::key(Qt::Key_Down); }, {"SelectEntry Roots 0"}},
        {"Return", [](TreeBench&) { test::key(Qt::Key_Return); }, {"SelectEntry Folders 1", "ActivateEntry Items 2"}},
        {"leave", [](TreeBench& t) { t.other->setFocus(Qt::MouseFocusReason); }, {}},
    };
    for (const Row& row : rows) {
        TreeBench t;
        row.run(t);
        EXPECT_EQ(t.sent(), row.expected) << row.action;
    }
}

TEST(TreeLook, LinesJoinTheNodesAlsoAtTheTop)
{
    TreeBench t;
    QTreeWidget* v = t.view();
    t.other->setFocus();
    const QImage shot = v->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    test::saveScreenshot(shot, "tree-lines.png");
    const QColor line = gdi::SysColor(gdi::COLOR_BTNSHADOW);
    auto lineAt = [&](int x, int y) {
        return QColor(shot.pixel(x, y)) == line || QColor(shot.pixel(x, y + 1)) == line;
    };
    const int indent = v->indentation();
    const QRect lasers = v->visualItemRect(v->topLevelItem(0));
    const QRect filters = v->visualItemRect(v->topLevelItem(1));
    const QRect item = v->visualItemRect(v->topLevelItem(0)->child(0));
    // The top level's line runs from the first folder down past its items to the next one.
    EXPECT_TRUE(lineAt(indent / 2, item.center().y())) << "a line at the root";
    EXPECT_TRUE(lineAt(indent / 2, filters.top() + 1));
    // An item's line comes out of its folder's line.
    EXPECT_TRUE(lineAt(indent + indent / 2, item.top() + 1));
    EXPECT_TRUE(QColor(shot.pixel(indent + indent / 2 + 3, item.center().y())) == line ||
                QColor(shot.pixel(indent + indent / 2 + 4, item.center().y())) == line)
        << "across to the item";
    // Above the first folder there is none.
    EXPECT_NE(QColor(shot.pixel(indent / 2, lasers.top())), line);
    EXPECT_NE(QColor(shot.pixel(indent / 2, lasers.top() + 1)), line);
}
