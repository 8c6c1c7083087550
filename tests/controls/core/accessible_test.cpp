// What assistive technology learns from every control of the class table, asked the way a
// screen reader's bridge asks: through QAccessible::queryAccessibleInterface on the control's
// window. Role, name, shortcut, states before and after a click, the value after a key step,
// actions that reach the command server, and the events that announce changes.
#include "controls/core/accessible.h"
#include "controls/core/classtable.h"
#include "controls/core/host.h"
#include "controls/qtwidget/commandserver.h"
#include <QAccessible>
#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>
#include <set>

using namespace vyr;
using namespace vyr::controls;

namespace {

enum class Name { Caption, ServerText, None };
enum class Does { Nothing, Press, Toggle, Step };

struct Row {
    const char* className;
    QAccessible::Role role;
    Name name;
    Does does;
};

// Controls whose enabled state is their command's.
bool bound(const Row& r) { return r.does != Does::Nothing; }

const Row kRows[] = {
    {"Button", QAccessible::Button, Name::Caption, Does::Press},
    {"OptionButton", QAccessible::Button, Name::Caption, Does::Toggle},
    {"ButtonList", QAccessible::Grouping, Name::None, Does::Nothing},
    {"DisplayButton", QAccessible::Button, Name::ServerText, Does::Press},
    {"DisplayOptionButton", QAccessible::Button, Name::ServerText, Does::Toggle},
    {"RadioButton", QAccessible::RadioButton, Name::Caption, Does::Toggle},
    {"Frame", QAccessible::Grouping, Name::Caption, Does::Nothing},
    {"PropertyBrowser", QAccessible::Grouping, Name::None, Does::Nothing},
    {"Static", QAccessible::StaticText, Name::Caption, Does::Nothing},
    {"Display", QAccessible::StaticText, Name::ServerText, Does::Nothing},
    {"Slider", QAccessible::Slider, Name::None, Does::Step},
    {"SpectraCtrl", QAccessible::Chart, Name::None, Does::Nothing},
    {"Tree", QAccessible::Grouping, Name::None, Does::Nothing},
    {"SpiSlider", QAccessible::Slider, Name::None, Does::Step},
    {"List", QAccessible::Grouping, Name::None, Does::Nothing},
    {"SliceCtrl", QAccessible::Chart, Name::None, Does::Nothing},
    {"MultiList", QAccessible::Grouping, Name::None, Does::Nothing},
    {"VyrValueEdit", QAccessible::SpinBox, Name::None, Does::Step},
    {"VyrTimeEdit", QAccessible::Grouping, Name::None, Does::Nothing},
    {"VyrEdit", QAccessible::Grouping, Name::None, Does::Nothing},
    {"VyrComboBox", QAccessible::Grouping, Name::None, Does::Nothing},
    {"VyrCheckBox", QAccessible::Grouping, Name::Caption, Does::Nothing},
    // Pressed, these open a list or a popup window of their own; pressed through the
    // interface they run the same press.
    {"Objective", QAccessible::ButtonMenu, Name::Caption, Does::Nothing},
    {"PopupDialog", QAccessible::ButtonDropDown, Name::Caption, Does::Nothing},
    {"GrabField", QAccessible::Graphic, Name::None, Does::Nothing},
};

// Collects the accessibility events while it lives.
struct EventLog {
    struct Seen {
        QAccessible::Event type;
        QAccessibleInterface* iface;
        QAccessible::State changed;
    };
    static inline std::vector<Seen>* current = nullptr;
    std::vector<Seen> seen;
    AccessEventObserver previous;
    EventLog()
    {
        current = &seen;
        previous = observeAccessEvents([](QAccessibleEvent* e) {
            QAccessible::State changed;
            if (e->type() == QAccessible::StateChanged)
                changed = static_cast<QAccessibleStateChangeEvent*>(e)->changedStates();
            current->push_back({e->type(), e->accessibleInterface(), changed});
        });
    }
    ~EventLog()
    {
        observeAccessEvents(previous);
        current = nullptr;
    }
    bool has(QAccessible::Event type, QAccessibleInterface* iface) const
    {
        return std::any_of(seen.begin(), seen.end(), [&](const Seen& s) { return s.type == type && s.iface == iface; });
    }
};

struct Hosted {
    QWidget top;
    HostWidget* host = new HostWidget(&top);
    com::ComPtr<vyr::CommandServer> server = com::make<vyr::CommandServer>();

    explicit Hosted(const char* className)
    {
        top.resize(260, 120);
        host->setGeometry(10, 10, 240, 100);
        const ClassRow* row = nullptr;
        for (const ClassRow& r : classTable())
            if (std::string_view(r.className) == className)
                row = &r;
        if (!row || FAILED(host->create(row->progId)))
            return;
        vyr::CommandServer::Command& c = (*server)["Cmd"];
        c.text = "Reading 7";
        c.minimum = 0;
        c.maximum = 10;
        c.value = 5;
        vyr::CommandServer::Command& right = (*server)["Right"];
        right.minimum = 0;
        right.maximum = 10;
        right.value = 8;
        server->autoNotify = true;
        server->onExecute = [](const std::string&, vyr::CommandServer::Command& cmd) { cmd.state = cmd.state ? 0 : 1; };
        host->setProperty("Caption", com::Variant::fromString("&Start"));
        host->setProperty("Command", com::Variant::fromString("Cmd"));
        host->setProperty("CommandLeft", com::Variant::fromString("Cmd"));
        host->setProperty("CommandRight", com::Variant::fromString("Right"));
        host->setProperty("Enabled", com::Variant::fromBool(true));
        host->setCommandServer(server.get());
        top.show();
        QApplication::processEvents();
    }
    ~Hosted() { host->setCommandServer(nullptr); }
    QWidget* window() const { return host->controlWindow(); }
    QAccessibleInterface* iface() const { return QAccessible::queryAccessibleInterface(window()); }
    int calls(const std::string& prefix) const { return int(server->calls(prefix).size()); }
};

TEST(Accessibility, EveryControlOfTheClassTableSpeaks)
{
    std::set<std::string> covered;
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.className);
        Hosted h(row.className);
        ASSERT_NE(h.window(), nullptr);
        covered.insert(row.className);
        QAccessibleInterface* a = h.iface();
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(a->role(), row.role);
        const QString name = row.name == Name::Caption      ? QStringLiteral("Start")
                             : row.name == Name::ServerText ? QStringLiteral("Reading 7")
                                                            : QString();
        EXPECT_EQ(a->text(QAccessible::Name), name);
        EXPECT_EQ(a->text(QAccessible::Accelerator), row.name == Name::Caption ? QStringLiteral("Alt+S") : QString());
        if (bound(row))
            EXPECT_FALSE(a->state().disabled) << "the command is enabled";
        else
            EXPECT_EQ(a->state().disabled, !h.window()->isEnabled()) << "as the window takes input";
        EXPECT_TRUE(a->state().focusable);
        if (row.role == QAccessible::StaticText) {
            ASSERT_NE(a->textInterface(), nullptr);
            EXPECT_EQ(a->textInterface()->text(0, -1), name);
        }
        // Wrapped Qt views carry the control's name.
        const std::set<QAccessible::Role> views = {QAccessible::List, QAccessible::Table, QAccessible::Tree,
                                                   QAccessible::ComboBox, QAccessible::CheckBox,
                                                   QAccessible::EditableText, QAccessible::SpinBox};
        for (int i = 0; i < a->childCount(); ++i)
            if (QAccessibleInterface* c = a->child(i); c && views.count(c->role()))
                EXPECT_EQ(c->text(QAccessible::Name), name) << "child " << i;

        EventLog events;
        switch (row.does) {
        case Does::Press: {
            ASSERT_TRUE(a->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
            if (row.name == Name::Caption)
                EXPECT_EQ(a->actionInterface()->keyBindingsForAction(QAccessibleActionInterface::pressAction()),
                          QStringList{"Alt+S"});
            const int before = h.calls("ExecuteCommand");
            QTest::mouseClick(h.window(), Qt::LeftButton, {}, h.window()->rect().center());
            EXPECT_EQ(h.calls("ExecuteCommand"), before + 1) << "clicked";
            a->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
            EXPECT_EQ(h.calls("ExecuteCommand"), before + 2) << "pressed through the interface";
            EXPECT_FALSE(a->state().checkable);
            break;
        }
        case Does::Toggle: {
            EXPECT_TRUE(a->state().checkable);
            EXPECT_FALSE(a->state().checked) << "before the click";
            QTest::mouseClick(h.window(), Qt::LeftButton, {}, h.window()->rect().center());
            EXPECT_TRUE(a->state().checked) << "after the click";
            EXPECT_TRUE(std::any_of(events.seen.begin(), events.seen.end(), [&](const EventLog::Seen& s) {
                return s.type == QAccessible::StateChanged && s.iface == a && s.changed.checked;
            })) << "the checked state is announced";
            if (row.role != QAccessible::RadioButton) {
                a->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
                EXPECT_FALSE(a->state().checked) << "toggled through the interface";
            }
            break;
        }
        case Does::Step: {
            QAccessibleValueInterface* v = a->valueInterface();
            ASSERT_NE(v, nullptr);
            EXPECT_DOUBLE_EQ(v->minimumValue().toDouble(), 0);
            EXPECT_DOUBLE_EQ(v->maximumValue().toDouble(), 10);
            EXPECT_GT(v->minimumStepSize().toDouble(), 0);
            const double start = v->currentValue().toDouble();
            QTest::keyClick(h.window(), Qt::Key_Up);
            const double stepped = v->currentValue().toDouble();
            EXPECT_GT(stepped, start) << "after the up key";
            EXPECT_TRUE(events.has(QAccessible::ValueChanged, a));
            const int sets = h.calls("SetValue");
            a->actionInterface()->doAction(QAccessibleActionInterface::decreaseAction());
            EXPECT_LT(v->currentValue().toDouble(), stepped) << "decreased through the interface";
            EXPECT_GT(h.calls("SetValue"), sets) << "the step reached the command server";
            break;
        }
        case Does::Nothing:
            break;
        }
    }
    for (const ClassRow& r : classTable())
        if (r.kind == ClassKind::Control && r.create)
            EXPECT_TRUE(covered.count(r.className)) << r.className << " has no row";
}

TEST(Accessibility, FramePageButtonsArePageTabs)
{
    Hosted h("Frame");
    ASSERT_NE(h.window(), nullptr);
    ASSERT_EQ(h.host->setProperty("ButtonCount", com::Variant::fromLong(3)), S_OK);
    for (int i = 2; i >= 0; --i) {
        h.host->setProperty("ButtonCurrent", com::Variant::fromLong(i));
        h.host->setProperty("ButtonCaption", com::Variant::fromString("Page &" + std::to_string(i + 1)));
    }
    QAccessibleInterface* a = h.iface();
    QAccessibleInterface* list = nullptr;
    for (int i = 0; i < a->childCount(); ++i)
        if (a->child(i) && a->child(i)->role() == QAccessible::PageTabList)
            list = a->child(i);
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->childCount(), 3);
    EXPECT_EQ(list->parent(), a);
    QAccessibleInterface* second = list->child(1);
    EXPECT_EQ(second->role(), QAccessible::PageTab);
    EXPECT_EQ(second->text(QAccessible::Name), QStringLiteral("Page 2"));
    EXPECT_EQ(list->indexOfChild(second), 1);
    EXPECT_TRUE(list->child(0)->state().selected);
    EXPECT_FALSE(second->state().selected);
    EXPECT_TRUE(a->rect().contains(second->rect()));
    EXPECT_EQ(list->childAt(second->rect().center().x(), second->rect().center().y()), second);

    second->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(h.host->property("ButtonCurrent").toLong(), 1);
    EXPECT_TRUE(second->state().selected);
    EXPECT_FALSE(list->child(0)->state().selected);
}

TEST(Accessibility, CaptionChangesAreAnnounced)
{
    Hosted h("Button");
    QAccessibleInterface* a = h.iface();
    EventLog events;
    h.host->setProperty("Caption", com::Variant::fromString("S&top"));
    EXPECT_EQ(a->text(QAccessible::Name), QStringLiteral("Stop"));
    EXPECT_EQ(a->text(QAccessible::Accelerator), QStringLiteral("Alt+T"));
    EXPECT_TRUE(events.has(QAccessible::NameChanged, a));

    events.seen.clear();
    (*h.server)["Cmd"].enabled = false;
    h.server->notify("Cmd");
    EXPECT_TRUE(a->state().disabled);
    EXPECT_TRUE(std::any_of(events.seen.begin(), events.seen.end(), [&](const EventLog::Seen& s) {
        return s.type == QAccessible::StateChanged && s.iface == a && s.changed.disabled;
    }));
}

} // namespace
