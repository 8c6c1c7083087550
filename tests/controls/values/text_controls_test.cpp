// The TimeEdit and the Edit hosted in a container, bound to a memory command server and
// driven by real Qt key and focus events.
#include "controls/core/host.h"
#include "controls/values/text_edit.h"
#include "controls/values/time_edit.h"
#include "platform/gdi/syscolors.h"
#include "controls/qtwidget/commandserver.h"
#include "tests/controls/lists/userinput.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <cmath>

using namespace vyr;
using namespace vyr::controls;
using com::Variant;
using values::TimeField;

namespace {

constexpr double kDay = 45356.0; // 2024-03-05
double at(long h, long m, long s) { return kDay + (h * 3600 + m * 60 + s) / 86400.0; }

template <class Control>
struct Hosted {
    Hosted(const char* progId, const char* command, QSize size)
    {
        (*server)["Clock"].value = at(13, 45, 30);
        (*server)["Name"].text = "Probe A";
        top.resize(size.width() + 40, size.height() + 40);
        host = new HostWidget(&top);
        host->setGeometry(20, 20, size.width(), size.height());
        EXPECT_EQ(host->create(progId), S_OK);
        host->setProperty("Command", Variant::fromString(command));
        host->setCommandServer(server.get());
        other = new QLineEdit(&top);
        other->setGeometry(0, 0, 10, 10);
        top.show();
        QApplication::setActiveWindow(&top);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&top));
        server->log.clear();
    }
    Control& control() const { return *dynamic_cast<Control*>(vyr::controls::ControlBase::from(host->dispatch())); }
    QWidget* window() const { return host->controlWindow(); }

    com::ComPtr<vyr::CommandServer> server = com::make<vyr::CommandServer>();
    QWidget top;
    HostWidget* host = nullptr;
    QLineEdit* other = nullptr; // somewhere for the focus to go
};

using HostedTime = Hosted<VyrTimeEdit>;
using HostedEdit = Hosted<VyrEdit>;

QString texts(const VyrTimeEdit& t)
{
    return t.field(TimeField::Hours)->text() + ":" + t.field(TimeField::Minutes)->text() + ":" +
           t.field(TimeField::Seconds)->text();
}

TEST(TimeEditControl, ShowsTheTimeOfTheCommandsDate)
{
    HostedTime h("VyrControls.TimeEdit", "Clock", {150, 24});
    EXPECT_EQ(texts(h.control()), "13:45:30");
    (*h.server)["Clock"].value = at(7, 5, 9);
    h.server->notify("Clock");
    EXPECT_EQ(h.server->log, (std::vector<std::string>{"GetValue Clock", "GetCommandEnabled Clock",
                                                        "GetCommandVisible Clock"}));
    EXPECT_EQ(texts(h.control()), "07:05:09");
    EXPECT_FALSE(h.control().field(TimeField::Hours)->isModified());
}

TEST(TimeEditControl, AFullValidFieldPassesTheDigitOnAndReturnWritesTheWholeValue)
{
    HostedTime h("VyrControls.TimeEdit", "Clock", {150, 24});
    VyrTimeEdit& t = h.control();
    QLineEdit* hours = t.field(TimeField::Hours);
    hours->setFocus();
    hours->setText("12");
    hours->setCursorPosition(2);
    QTest::keyClick(hours, Qt::Key_7);
    EXPECT_TRUE(t.field(TimeField::Minutes)->hasFocus());
    EXPECT_EQ(t.field(TimeField::Minutes)->text(), "7");
    QTest::keyClick(t.field(TimeField::Minutes), Qt::Key_Return);
    EXPECT_NEAR((*h.server)["Clock"].value, at(12, 7, 30), 1e-9) << "the date part is kept";
    EXPECT_EQ(h.server->calls("SetValue").size(), 1u);
    EXPECT_FALSE(t.field(TimeField::Minutes)->isModified());
    QTest::keyClick(t.field(TimeField::Minutes), Qt::Key_Return);
    EXPECT_EQ(h.server->calls("SetValue").size(), 1u) << "nothing changed: nothing written";
}

TEST(TimeEditControl, OutOfRangeTextBeepsAndShowsTheCommandsValueAgain)
{
    HostedTime h("VyrControls.TimeEdit", "Clock", {150, 24});
    VyrTimeEdit& t = h.control();
    const int beeps = beepCount();
    QLineEdit* hours = t.field(TimeField::Hours);
    hours->setFocus();
    hours->selectAll();
    QTest::keyClicks(hours, "25");
    QTest::keyClick(hours, Qt::Key_Return);
    EXPECT_EQ(beepCount(), beeps + 1);
    EXPECT_EQ(texts(t), "13:45:30");
    EXPECT_NEAR((*h.server)["Clock"].value, at(13, 45, 30), 1e-9);
}

TEST(TimeEditControl, SixtySecondsAfter235959IsTheNextMidnight)
{
    HostedTime h("VyrControls.TimeEdit", "Clock", {150, 24});
    (*h.server)["Clock"].value = at(23, 59, 59);
    h.server->notify("Clock");
    VyrTimeEdit& t = h.control();
    QLineEdit* seconds = t.field(TimeField::Seconds);
    seconds->setFocus();
    seconds->selectAll();
    QTest::keyClicks(seconds, "604"); // at most two characters
    EXPECT_EQ(seconds->text(), "60");
    QTest::keyClick(seconds, Qt::Key_Return);
    EXPECT_NEAR((*h.server)["Clock"].value, kDay + 1, 1e-9);
    h.server->notify("Clock");
    EXPECT_EQ(texts(t), "00:00:00");
}

TEST(TimeEditControl, ArrowsAndTabMoveBetweenTheFields)
{
    HostedTime h("VyrControls.TimeEdit", "Clock", {150, 24});
    VyrTimeEdit& t = h.control();
    QLineEdit* minutes = t.field(TimeField::Minutes);
    minutes->setFocus();
    minutes->setCursorPosition(0);
    QTest::keyClick(minutes, Qt::Key_Left);
    EXPECT_TRUE(t.field(TimeField::Hours)->hasFocus());
    t.field(TimeField::Hours)->setCursorPosition(2);
    QTest::keyClick(t.field(TimeField::Hours), Qt::Key_Right);
    EXPECT_TRUE(minutes->hasFocus());
    QTest::keyClick(minutes, Qt::Key_Tab);
    EXPECT_TRUE(t.field(TimeField::Seconds)->hasFocus());
    EXPECT_EQ(t.field(TimeField::Seconds)->selectedText(), "30");
    QTest::keyClick(t.field(TimeField::Seconds), Qt::Key_Backtab);
    EXPECT_TRUE(minutes->hasFocus());

    // A digit inside the text overwrites the one after the caret.
    minutes->setCursorPosition(0);
    QTest::keyClick(minutes, Qt::Key_2);
    EXPECT_EQ(minutes->text(), "25");
}

TEST(TimeEditControl, EveryReadDropsTextTypedAndLeftWithoutReturn)
{
    HostedTime h("VyrControls.TimeEdit", "Clock", {150, 24});
    VyrTimeEdit& t = h.control();
    QLineEdit* minutes = t.field(TimeField::Minutes);
    QLineEdit* hours = t.field(TimeField::Hours);
    test::click(minutes, minutes->rect().center());
    ASSERT_TRUE(minutes->hasFocus());
    test::key(Qt::Key_A, Qt::ControlModifier);
    test::type("22");
    EXPECT_EQ(minutes->text(), "22");
    test::click(h.other, h.other->rect().center()); // left without Return: nothing written
    EXPECT_TRUE(h.server->calls("SetValue").empty());
    h.server->notify("Clock"); // the value did not move
    EXPECT_EQ(texts(t), "13:45:30");
    for (TimeField f : {TimeField::Hours, TimeField::Minutes, TimeField::Seconds}) {
        EXPECT_FALSE(t.field(f)->isModified());
        EXPECT_EQ(t.field(f)->selectedText(), t.field(f)->text());
    }
    test::click(hours, hours->rect().center());
    test::key(Qt::Key_A, Qt::ControlModifier);
    test::type("10");
    test::key(Qt::Key_Return);
    EXPECT_EQ(h.server->calls("SetValue").size(), 1u);
    EXPECT_NEAR((*h.server)["Clock"].value, at(10, 45, 30), 1e-9) << "the abandoned minutes are not written";
}

TEST(TimeEditControl, DisabledByTheServerDisablesTheFields)
{
    HostedTime h("VyrControls.TimeEdit", "Clock", {150, 24});
    (*h.server)["Clock"].enabled = false;
    h.server->notify("Clock");
    EXPECT_FALSE(h.control().field(TimeField::Seconds)->isEnabled());
    h.server->failing.insert("GetValue");
    (*h.server)["Clock"].enabled = true;
    h.server->notify("Clock");
    EXPECT_FALSE(h.control().enabledFlag());
}

TEST(EditControl, ShowsTheCommandsTextAndACommittedTextReachesTheServerOnce)
{
    HostedEdit h("VyrControls.Edit", "Name", {160, 24});
    VyrEdit& e = h.control();
    QLineEdit* field = e.field();
    EXPECT_EQ(field->text(), "Probe A");
    EXPECT_TRUE(field->isEnabled());

    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, "Probe B");
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(h.server->calls("SetText"), (std::vector<std::string>{"SetText Name Probe B"}));
    EXPECT_FALSE(field->isModified());
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(h.server->calls("SetText").size(), 1u) << "Return on an unchanged field sends nothing";

    // Focus leaving sends the text even unchanged.
    h.other->setFocus();
    EXPECT_EQ(h.server->calls("SetText").size(), 2u);
    EXPECT_EQ((*h.server)["Name"].text, "Probe B");
}

TEST(EditControl, AServerTextChangeReplacesTheTypedText)
{
    HostedEdit h("VyrControls.Edit", "Name", {160, 24});
    QLineEdit* field = h.control().field();
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, "typing");
    // A notification about something else keeps what is being typed ...
    h.server->notify("Name");
    EXPECT_EQ(field->text(), "typing");
    // ... a new text from the server replaces it.
    (*h.server)["Name"].text = "Probe C";
    h.server->notify("Name");
    EXPECT_EQ(field->text(), "Probe C");
    EXPECT_FALSE(field->isModified());
    EXPECT_EQ(field->selectedText(), "Probe C");
}

TEST(EditControl, TheServersEnabledFlagEnablesTheFieldAndColoursTheInside)
{
    HostedEdit h("VyrControls.Edit", "Name", {160, 24});
    VyrEdit& e = h.control();
    (*h.server)["Name"].enabled = false;
    h.server->notify("Name");
    EXPECT_FALSE(e.field()->isEnabled());
    h.host->setUserMode(false); // design mode keeps the window enabled for the grab
    const QImage img = h.window()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(img.pixel(3, 3), gdi::SysColor(gdi::COLOR_BTNFACE).rgb());
    const QRect f = e.field()->geometry();
    EXPECT_EQ(f.left(), 4);
    EXPECT_LE(std::abs((f.top() - 4) - (20 - f.bottom() - 1)), 1) << "one line high, centred";
    EXPECT_LT(f.height(), 16);
    h.server->failing.insert("GetText");
    h.server->notify("Name");
    EXPECT_FALSE(e.enabledFlag());
}

} // namespace
