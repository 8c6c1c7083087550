// What assistive technology learns from every control of the class table, asked the way a
// screen reader's bridge asks: through QAccessible::queryAccessibleInterface on the control's
// window. Role, name, shortcut, states before and after a click, the value after a key step,
// actions that reach the command server, and the events that announce changes. A control that
// shows no caption is named after its command (the server's label for it, else the command in
// words), an unbound one after its class.
#include "controls/core/accessible.h"
#include "controls/core/classtable.h"
#include "controls/core/host.h"
#include "controls/qtwidget/commandserver.h"
#include <QAccessible>
#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>
#include <set>

QT_BEGIN_NAMESPACE
// Names in failure messages as text.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
QT_END_NAMESPACE

using namespace vyr;
using namespace vyr::controls;

namespace {

// Caption: "&Start"; ServerText: the command's text; Label: the command's label; Command: the
// command string itself; Class: the class table's description.
enum class Name { Caption, ServerText, Label, Command, Class };
enum class Does { Nothing, Press, Toggle, Step };

struct Row {
    const char* className;
    QAccessible::Role role;
    Name name;
    Does does;
};

// Controls whose enabled state is their command's.
bool bound(const Row& r) { return r.does != Does::Nothing; }

// Every control gets the caption "&Start" and the command "Cmd" (labelled "Detector gain") where
// it has those properties; a MultiList without columns has no command of its own, and the
// GrabField's commands are parts of the one name it is given.
const Row kRows[] = {
    {"Button", QAccessible::Button, Name::Caption, Does::Press},
    {"OptionButton", QAccessible::Button, Name::Caption, Does::Toggle},
    {"ButtonList", QAccessible::Grouping, Name::Label, Does::Nothing},
    {"DisplayButton", QAccessible::Button, Name::ServerText, Does::Press},
    {"DisplayOptionButton", QAccessible::Button, Name::ServerText, Does::Toggle},
    {"RadioButton", QAccessible::RadioButton, Name::Caption, Does::Toggle},
    {"Frame", QAccessible::Grouping, Name::Caption, Does::Nothing},
    {"PropertyBrowser", QAccessible::Grouping, Name::Class, Does::Nothing},
    {"Static", QAccessible::StaticText, Name::Caption, Does::Nothing},
    {"Display", QAccessible::StaticText, Name::ServerText, Does::Nothing},
    {"Slider", QAccessible::Slider, Name::Label, Does::Step},
    {"SpectraCtrl", QAccessible::Chart, Name::Label, Does::Nothing},
    {"Tree", QAccessible::Grouping, Name::Class, Does::Nothing},
    {"SpiSlider", QAccessible::Slider, Name::Label, Does::Step},
    {"List", QAccessible::Grouping, Name::Label, Does::Nothing},
    {"SliceCtrl", QAccessible::Chart, Name::Class, Does::Nothing},
    {"MultiList", QAccessible::Grouping, Name::Class, Does::Nothing},
    {"VyrValueEdit", QAccessible::SpinBox, Name::Label, Does::Step},
    {"VyrTimeEdit", QAccessible::Grouping, Name::Label, Does::Nothing},
    {"VyrEdit", QAccessible::Grouping, Name::Label, Does::Nothing},
    {"VyrComboBox", QAccessible::Grouping, Name::Label, Does::Nothing},
    {"VyrCheckBox", QAccessible::Grouping, Name::Caption, Does::Nothing},
    // Pressed, these open a list or a popup window of their own; pressed through the
    // interface they run the same press.
    {"Objective", QAccessible::ButtonMenu, Name::Caption, Does::Nothing},
    {"PopupDialog", QAccessible::ButtonDropDown, Name::Caption, Does::Nothing},
    {"GrabField", QAccessible::Graphic, Name::Command, Does::Nothing},
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
        c.label = "Detector gain";
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
                             : row.name == Name::Label      ? QStringLiteral("Detector gain")
                             : row.name == Name::Command    ? QStringLiteral("Cmd")
                                                            : QString::fromUtf8(findClass(h.host->classId())->description);
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
        for (int i = 0; i < a->childCount(); ++i) {
            QAccessibleInterface* c = a->child(i);
            if (!c || !views.count(c->role()))
                continue;
            // Named after the control, with the part it is where the control has several.
            const QString childName = c->text(QAccessible::Name);
            if (c->role() != QAccessible::ComboBox)
                EXPECT_TRUE(childName == name || childName.startsWith(name + ", ")) << "child " << i << ": "
                                                                                     << childName.toStdString();
            // Qt calls a combo box by its current text; its drop-down list is the control's.
            for (int j = 0; c->role() == QAccessible::ComboBox && j < c->childCount(); ++j)
                if (QAccessibleInterface* list = c->child(j); list && list->role() == QAccessible::List)
                    EXPECT_EQ(list->text(QAccessible::Name), name) << "the list of child " << i;
        }

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

// Every control of the class table, unbound and without a caption given, has a name: its
// default caption where it shows one, else its class's description.
TEST(Accessibility, EveryControlHasAName)
{
    for (const ClassRow& r : classTable()) {
        if (r.kind != ClassKind::Control || !r.create)
            continue;
        SCOPED_TRACE(r.className);
        QWidget top;
        auto* host = new HostWidget(&top);
        host->setGeometry(0, 0, 200, 80);
        ASSERT_EQ(host->create(r.progId), S_OK);
        top.show();
        QApplication::processEvents();
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(host->controlWindow());
        ASSERT_NE(a, nullptr);
        HRESULT hr = S_OK;
        const com::Variant caption = host->property("Caption", &hr);
        const QString shown = SUCCEEDED(hr) ? spokenCaption(caption.toString().value_or("")) : QString();
        const QString expected = shown.isEmpty() ? QString::fromUtf8(r.description) : shown;
        EXPECT_FALSE(a->text(QAccessible::Name).isEmpty());
        EXPECT_EQ(a->text(QAccessible::Name), expected);
    }
}

// Which name wins: the caption, then a display's text, then the label the server gives the
// command, then the command string in words, then the class.
TEST(Accessibility, NameComesFromWhatTheControlShowsOrIsBoundTo)
{
    struct Case {
        const char* className;
        const char* caption; // null: none set
        const char* command; // null: unbound
        const char* label;   // the server's label of the command
        const char* text;    // the command's text
        const char* name;
    };
    const Case cases[] = {
        {"Button", "&Go", "Scan.Start", "Start the scan", "", "Go"},
        {"Button", "", "Scan.Start", "Start the scan", "", "Start the scan"},
        {"Slider", nullptr, "Detector.Gain", "Detector gain", "", "Detector gain"},
        {"Slider", nullptr, "Detector.Gain", "", "", "Detector Gain"},
        {"Slider", nullptr, nullptr, "", "", "SPI Double Slider Control"},
        {"VyrValueEdit", nullptr, "PMTVoltage", "", "", "PMT Voltage"},
        {"VyrComboBox", nullptr, "Filter_wheel", "", "", "Filter wheel"},
        {"VyrComboBox", nullptr, nullptr, "", "", "Combo Control"},
        {"Display", nullptr, "Stage.Z", "Stage height", "12.5 um", "12.5 um"},
        {"Display", nullptr, "Stage.Z", "Stage height", "", "Stage height"},
        {"Frame", "", nullptr, "", "", "Frame Control"},
        {"SpectraCtrl", nullptr, "Spectra.Centre", "", "", "Spectra Centre"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.className) + " " + (c.command ? c.command : "unbound"));
        Hosted h(c.className);
        ASSERT_NE(h.window(), nullptr);
        h.host->setCommandServer(nullptr);
        h.host->setProperty("Caption", com::Variant::fromString(c.caption ? c.caption : ""));
        h.host->setProperty("Command", com::Variant::fromString(c.command ? c.command : ""));
        h.host->setProperty("CommandLeft", com::Variant::fromString(""));
        h.host->setProperty("CommandRight", com::Variant::fromString(""));
        if (c.command) {
            vyr::CommandServer::Command& cmd = (*h.server)[c.command];
            cmd.label = c.label;
            cmd.text = c.text;
        }
        h.host->setCommandServer(h.server.get());
        EXPECT_EQ(h.iface()->text(QAccessible::Name), QString::fromUtf8(c.name));
    }
}

TEST(Accessibility, CommandsReadAsWords)
{
    const std::pair<const char*, const char*> cases[] = {
        {"Detector.Gain", "Detector Gain"}, {"scan_speed", "scan speed"}, {"PMTVoltage", "PMT Voltage"},
        {"Laser1.Power", "Laser1 Power"},   {" a..b- ", "a b"},            {"ScanZoomX", "Scan Zoom X"},
        {"", ""},
    };
    for (const auto& [command, words] : cases)
        EXPECT_EQ(readableCommand(command), QString::fromUtf8(words)) << command;
}

// A new label is a new name: announced, and given to the Qt field the control wraps.
TEST(Accessibility, LabelChangesRenameTheControlAndItsField)
{
    Hosted h("VyrValueEdit");
    ASSERT_NE(h.window(), nullptr);
    QAccessibleInterface* a = h.iface();
    ASSERT_EQ(a->text(QAccessible::Name), QStringLiteral("Detector gain"));
    QAccessibleInterface* field = nullptr;
    for (int i = 0; i < a->childCount(); ++i)
        if (a->child(i) && a->child(i)->role() == QAccessible::EditableText)
            field = a->child(i);
    ASSERT_NE(field, nullptr);
    EventLog events;
    ASSERT_TRUE(h.server->setLabel("Cmd", "Excitation gain"));
    EXPECT_EQ(a->text(QAccessible::Name), QStringLiteral("Excitation gain"));
    EXPECT_TRUE(events.has(QAccessible::NameChanged, a));
    EXPECT_EQ(field->text(QAccessible::Name), QStringLiteral("Excitation gain"));

    // Unbound, it falls back to its class; that too is announced.
    events.seen.clear();
    h.host->setProperty("Command", com::Variant::fromString(""));
    EXPECT_EQ(a->text(QAccessible::Name), QStringLiteral("Numeric edit Control"));
    EXPECT_TRUE(events.has(QAccessible::NameChanged, a));
}

// Views that are parts of one control are told apart by the part.
TEST(Accessibility, PartsOfAControlAreNamedAfterIt)
{
    const std::pair<const char*, QStringList> cases[] = {
        {"VyrTimeEdit", {"Detector gain, hours", "Detector gain, minutes", "Detector gain, seconds"}},
        {"SpectraCtrl", {"Detector gain, scroll left", "Detector gain, scroll right"}},
    };
    for (const auto& [className, parts] : cases) {
        SCOPED_TRACE(className);
        Hosted h(className);
        ASSERT_NE(h.window(), nullptr);
        QAccessibleInterface* a = h.iface();
        QStringList names;
        for (int i = 0; i < a->childCount(); ++i)
            if (QAccessibleInterface* c = a->child(i); c && c->role() != QAccessible::PageTabList)
                names << c->text(QAccessible::Name);
        names.sort();
        EXPECT_EQ(names, parts);
    }
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
    EXPECT_EQ(list->text(QAccessible::Name), QStringLiteral("Start")) << "the bar is called as its frame";
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

// A page button without a caption is called by its command, else by its number.
TEST(Accessibility, PageTabsWithoutCaptionsHaveNames)
{
    Hosted h("Frame");
    ASSERT_NE(h.window(), nullptr);
    ASSERT_EQ(h.host->setProperty("ButtonCount", com::Variant::fromLong(2)), S_OK);
    h.host->setProperty("ButtonCurrent", com::Variant::fromLong(0));
    h.host->setProperty("ButtonCommand", com::Variant::fromString("Filter.Emission"));
    QAccessibleInterface* a = h.iface();
    QAccessibleInterface* list = nullptr;
    for (int i = 0; i < a->childCount(); ++i)
        if (a->child(i) && a->child(i)->role() == QAccessible::PageTabList)
            list = a->child(i);
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->childCount(), 2);
    EXPECT_EQ(list->child(0)->text(QAccessible::Name), QStringLiteral("Filter Emission"));
    EXPECT_EQ(list->child(1)->text(QAccessible::Name), QStringLiteral("Page 2"));
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
