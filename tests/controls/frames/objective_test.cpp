// The Objective on a memory command server: the entries it reads, the list it drops down under
// itself, the choice reaching the server, and the two press modes.
#include "controls/frames/objective.h"
#include "tests/controls/frames/hosting.h"
#include "tests/support/eventspy.h"
#include "controls/qtwidget/commandserver.h"
#include <QApplication>
#include <QListWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace vyr::frames::test {
namespace {

using com::Variant;
using controls::HostWidget;
using controls::Objective;

class ObjectiveTest : public testing::Test {
protected:
    QWidget top;
    QWidget other;
    HostWidget* host = nullptr;
    com::ComPtr<vyr::CommandServer> server = com::make<vyr::CommandServer>();
    com::ComPtr<vyr::test::EventSpy> spy = com::make<vyr::test::EventSpy>();

    void SetUp() override
    {
        auto& c = (*server)["Obj"];
        for (auto [text, n] : {std::pair{"10x", 10}, {"20x", 20}, {"40x Oil", 40}, {"63x Oil", 63}})
            c.entries.push_back({text, n});
        c.index = 2;
        server->autoNotify = true;
        top.resize(300, 200);
        host = new HostWidget(&top);
        host->setGeometry(20, 20, 120, 30);
        ASSERT_EQ(host->create("VyrControls.Objective"), S_OK);
        ASSERT_TRUE(spy->connect(host->control()));
        host->setProperty("Caption", Variant::fromString("Objective"));
        host->setProperty("Command", Variant::fromString("Obj"));
        host->setCommandServer(server.get());
        top.show();
        other.resize(100, 100);
        other.move(600, 400);
        other.show();
    }
    void TearDown() override { spy->disconnect(); }

    Objective& objective() { return *dynamic_cast<Objective*>(controlOf(host)); }
    QWidget* window() { return host->controlWindow(); }
    void click() { QTest::mouseClick(window(), Qt::LeftButton, {}, QPoint(60, 15)); }
    QStringList listTexts()
    {
        QStringList out;
        for (int i = 0; objective().list() && i < objective().list()->count(); ++i)
            out << objective().list()->item(i)->text();
        return out;
    }
};

TEST_F(ObjectiveTest, ReadsTheEntriesInOrder)
{
    ASSERT_EQ(objective().entries().size(), 4u);
    EXPECT_EQ(objective().entries()[3].text, "63x Oil");
    EXPECT_EQ(objective().entries()[3].value, 63);
    EXPECT_EQ(objective().current(), 2);
    EXPECT_TRUE(objective().enabledFlag());
    // A failing GetEntryLong still yields the entries, with -1.
    server->failing = {"GetEntryLong"};
    server->notify("Obj");
    ASSERT_EQ(objective().entries().size(), 4u);
    EXPECT_EQ(objective().entries()[0].value, -1);
    // A failing text read stops the reading, and the current entry is not read.
    server->failing = {"GetEntryText"};
    server->notify("Obj");
    EXPECT_TRUE(objective().entries().empty());
    EXPECT_EQ(objective().current(), -1);
    EXPECT_TRUE(server->calls("GetIndex").size() == 2u); // only by the two reads before
}

TEST_F(ObjectiveTest, WithoutAServerItIsDisabled)
{
    host->setCommandServer(nullptr);
    EXPECT_FALSE(objective().enabledFlag());
    click();
    EXPECT_EQ(objective().list(), nullptr);
}

TEST_F(ObjectiveTest, ThePressDropsTheListUnderTheButton)
{
    click();
    ASSERT_NE(objective().list(), nullptr);
    EXPECT_EQ(listTexts(), (QStringList{"10x", "20x", "40x Oil", "63x Oil"}));
    EXPECT_EQ(objective().list()->currentRow(), 2);
    const QPoint under = window()->mapToGlobal(QPoint(0, window()->height()));
    EXPECT_EQ(objective().list()->geometry().topLeft(), under);
    EXPECT_GE(objective().list()->width(), window()->width());
    // The button's events, as the Button fires them.
    EXPECT_EQ(spy->ids(), (std::vector<DISPID>{DISPID_MOUSEDOWN, DISPID_CLICK, DISPID_MOUSEUP, DISPID_CLICK}));
}

TEST_F(ObjectiveTest, AChoiceReachesTheServer)
{
    click();
    QListWidget* list = objective().list();
    ASSERT_NE(list, nullptr);
    const QRect row = list->visualItemRect(list->item(1));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row.center());
    EXPECT_EQ(server->calls("SelectEntry"), (std::vector<std::string>{"SelectEntry Obj 1"}));
    EXPECT_EQ(objective().current(), 1); // the server reported the change back
    QApplication::processEvents();
    EXPECT_EQ(objective().list(), nullptr);
    // By keyboard: down and Enter.
    click();
    list = objective().list();
    ASSERT_NE(list, nullptr);
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(server->calls("SelectEntry").back(), "SelectEntry Obj 2");
}

TEST_F(ObjectiveTest, EscapeAndAClickElsewhereCloseWithoutChoosing)
{
    click();
    ASSERT_NE(objective().list(), nullptr);
    QTest::keyClick(objective().list(), Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_EQ(objective().list(), nullptr);
    click();
    ASSERT_NE(objective().list(), nullptr);
    QTest::mouseClick(&other, Qt::LeftButton, {}, QPoint(50, 50));
    QApplication::processEvents();
    EXPECT_EQ(objective().list(), nullptr);
    EXPECT_TRUE(server->calls("SelectEntry").empty());
}

TEST_F(ObjectiveTest, MoreThanOneEntryMode)
{
    ASSERT_EQ(host->setProperty("Style", Variant::fromLong(1)), S_OK);
    click();
    EXPECT_NE(objective().list(), nullptr); // four entries: the list drops down
    objective().closeList();
    QApplication::processEvents();

    (*server)["Obj"].entries.resize(1);
    server->notify("Obj");
    server->log.clear();
    click();
    EXPECT_EQ(objective().list(), nullptr);
    // A single entry: a plain button that runs its command.
    EXPECT_EQ(server->calls("ExecuteCommand"), (std::vector<std::string>{"ExecuteCommand Obj"}));

    // Style 0 drops even a single entry down.
    ASSERT_EQ(host->setProperty("Style", Variant::fromLong(0)), S_OK);
    click();
    EXPECT_EQ(listTexts(), (QStringList{"10x"}));
}

TEST_F(ObjectiveTest, StyleBrowsesWithItsTwoNames)
{
    com::ComPtr<IPerPropertyBrowsing> browse;
    ASSERT_EQ(host->control()->QueryInterface(IID_IPerPropertyBrowsing, browse.putVoid()), S_OK);
    CALPOLESTR strings{};
    CADWORD cookies{};
    ASSERT_EQ(browse->GetPredefinedStrings(Objective::kStyle, &strings, &cookies), S_OK);
    ASSERT_EQ(strings.cElems, 2u);
    EXPECT_EQ(com::utf8(std::u16string_view(strings.pElems[1])), "Button if more than one entry");
    for (ULONG i = 0; i < strings.cElems; ++i)
        CoTaskMemFree(strings.pElems[i]);
    CoTaskMemFree(strings.pElems);
    CoTaskMemFree(cookies.pElems);
    host->setProperty("Style", Variant::fromLong(5));
    BSTR text = nullptr;
    EXPECT_EQ(browse->GetDisplayString(Objective::kStyle, &text), S_FALSE);
    SysFreeString(text);
}

} // namespace
} // namespace vyr::frames::test
