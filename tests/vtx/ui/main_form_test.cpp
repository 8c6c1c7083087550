#include "controls/core/host.h"
#include "controls/core/vyrcontrols.h"
#include "platform/registry/regkey.h"
#include "tests/vtx/model/support.h"
#include "vtx/model/tool.h"
#include "vtx/ui/main_form.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QScreen>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

namespace vyr::vtx::ui {
namespace {

class MainFormTest : public test::SystemDatabasesAndRegistry {
protected:
    std::unique_ptr<VTXControlForm> form(Session& s)
    {
        return std::make_unique<VTXControlForm>(s, boxes_, dialog_);
    }
    template <class T> static T* child(QWidget& w, const char* name)
    {
        T* c = w.findChild<T*>(name);
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    // A click with the mouse on the Close button's own window.
    static void clickClose(VTXControlForm& f)
    {
        QWidget* w = f.closeButton()->controlWindow();
        ASSERT_NE(w, nullptr);
        QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
    }

    // The form started on `path` and shown.
    std::unique_ptr<VTXControlForm> shown(Session& s, const std::string& path)
    {
        auto f = form(s);
        EXPECT_TRUE(f->start(path));
        f->show();
        return f;
    }

    test::FakeBoxes boxes_;
    test::FakeDialog dialog_;
    Session s_{boxes_, ""};
};

TEST_F(MainFormTest, ShowsTheDemoDatabase)
{
    std::string path = build("System.mdb");
    Session s(boxes_, "");
    auto f = shown(s, path);
    EXPECT_EQ(f->windowTitle(), "Emission Filter & Beam Splitter Setup");
    EXPECT_EQ(f->objectName(), "VTXControlForm");
    EXPECT_EQ(child<QLineEdit>(*f, "Database")->text().toStdString(), path);
    EXPECT_EQ(child<QLabel>(*f, "Label8")->text(), "System Database:");
    EXPECT_FALSE(child<QPushButton>(*f, "Browse")->isVisible()) << "no switch: no Browse";
    EXPECT_TRUE(child<QFrame>(*f, "BeamPic")->isVisible());
    EXPECT_FALSE(child<QPushButton>(*f, "CmdStore")->isEnabled());
    EXPECT_EQ(child<QPushButton>(*f, "CmdStore")->text(), "Store");
    // Close is the library's Button, created through its class factory.
    ASSERT_TRUE(f->closeButtonIsControl());
    EXPECT_EQ(f->closeButton()->classId(), controls::CLSID_Button);
    EXPECT_EQ(f->closeButton()->property("Caption").toString().value_or(""), "Close");
    EXPECT_EQ(f->closeButton()->property("Enabled").toBool().value_or(false), true);
    EXPECT_TRUE(boxes_.shown.empty());
}

TEST_F(MainFormTest, TheSwitchOffersBrowse)
{
    std::string path = build("System.mdb");
    for (const char* line : {"/S", "/s"}) {
        Session s(boxes_, line);
        auto f = shown(s, path);
        EXPECT_TRUE(child<QPushButton>(*f, "Browse")->isVisible()) << line;
    }
}

TEST_F(MainFormTest, ARefusedDatabaseWithTheSwitchOpensWithoutDiagram)
{
    std::string path = build("old.mdb", {"version-2.07.sql"});
    Session s(boxes_, "/S");
    auto f = shown(s, path);
    EXPECT_FALSE(child<QFrame>(*f, "BeamPic")->isVisible());
    EXPECT_TRUE(child<QPushButton>(*f, "Browse")->isVisible());
    EXPECT_EQ(boxes_.texts(),
              std::vector<std::string>{"Current System Database version 2.07 not valid (should be at least 2.08 )!"});
}

TEST_F(MainFormTest, ARefusedDatabaseWithoutSwitchEndsAsCloseDoes)
{
    std::string path = build("veldan.mdb", {"veldan.sql"});
    tool::savePosition("VTXControlForm", 3000, 1500);
    Session s(boxes_, "");
    auto f = form(s);
    QSignalSpy finished(f.get(), &VTXControlForm::finished);
    EXPECT_FALSE(f->start(path));
    EXPECT_EQ(finished.count(), 1);
    EXPECT_FALSE(s.database().isOpen());
    EXPECT_EQ(tool::readNumber("\\VTX\\VTXControlForm", "Left"), 3000) << "the saved position survives";
    EXPECT_EQ(tool::readNumber("\\VTX\\VTXControlForm", "Top"), 1500);
}

TEST_F(MainFormTest, BrowseButtonLoadsAPickAndKeepsThePathOfARefusedOne)
{
    std::string first = build("first.mdb");
    Session s(boxes_, "/S");
    auto f = shown(s, first);
    auto* browse = child<QPushButton>(*f, "Browse");
    auto* database = child<QLineEdit>(*f, "Database");

    dialog_.answer = build("veldan.mdb", {"veldan.sql"});
    QTest::mouseClick(browse, Qt::LeftButton);
    EXPECT_EQ(database->text().toStdString(), first);
    EXPECT_EQ(s.database().path(), first);
    EXPECT_TRUE(child<QFrame>(*f, "BeamPic")->isVisible());

    dialog_.answer = build("second.mdb", {"version-2.08.sql"});
    QTest::mouseClick(browse, Qt::LeftButton);
    EXPECT_EQ(database->text().toStdString(), dialog_.answer);
    EXPECT_EQ(s.version(), 20800);
    EXPECT_EQ(dialog_.offered, (std::vector<std::string>{first, first}));
}

TEST_F(MainFormTest, CloseByMouseEndsOnceAndSavesThePosition)
{
    std::string path = build("System.mdb");
    Session s(boxes_, "");
    auto f = shown(s, path);
    f->move(200, 100);
    QSignalSpy finished(f.get(), &VTXControlForm::finished);
    clickClose(*f);
    EXPECT_EQ(finished.count(), 1);
    EXPECT_FALSE(s.database().isOpen());
    double tpp = 1440.0 / f->logicalDpiX();
    EXPECT_NEAR(tool::readNumber("\\VTX\\VTXControlForm", "Left"), (f->x() - f->screen()->geometry().x()) * tpp, 1);
    EXPECT_NEAR(tool::readNumber("\\VTX\\VTXControlForm", "Top"), (f->y() - f->screen()->geometry().y()) * tpp, 1);
}

TEST_F(MainFormTest, APressReleasedOutsideCloseClosesNothing)
{
    auto f = shown(s_, build("System.mdb"));
    QSignalSpy finished(f.get(), &VTXControlForm::finished);
    QWidget* w = f->closeButton()->controlWindow();
    ASSERT_NE(w, nullptr);
    QTest::mousePress(w, Qt::LeftButton, {}, w->rect().center());
    QTest::mouseRelease(w, Qt::LeftButton, {}, w->rect().bottomRight() + QPoint(40, 40));
    EXPECT_EQ(finished.count(), 0);
    QApplication::setActiveWindow(f.get());
    w->setFocus();
    QApplication::processEvents();
    ASSERT_TRUE(w->hasFocus());
    QTest::keyClick(w, Qt::Key_Space);
    EXPECT_EQ(finished.count(), 1) << "a keyboard click closes";
}

TEST_F(MainFormTest, CloseAsksOncePerClickWhenSomethingChanged)
{
    std::string path = build("System.mdb");
    Session s(boxes_, "");
    auto f = shown(s, path);
    s.setChanged(true);
    QSignalSpy finished(f.get(), &VTXControlForm::finished);
    boxes_.answers = {Answer::Cancel};
    clickClose(*f);
    EXPECT_EQ(boxes_.texts(), std::vector<std::string>{"Do you want to save the changes you made?"});
    EXPECT_EQ(finished.count(), 0);
    EXPECT_TRUE(s.database().isOpen());

    // Yes with a store that leaves the changes unsaved (refused) keeps the window open.
    int stored = 0;
    f->setStore([&] { ++stored; });
    boxes_.answers = {Answer::Yes};
    clickClose(*f);
    EXPECT_EQ(stored, 1);
    EXPECT_EQ(finished.count(), 0);
    f->setStore([&] { ++stored; s.setChanged(false); });
    boxes_.answers = {Answer::Yes};
    clickClose(*f);
    EXPECT_EQ(stored, 2);
    EXPECT_EQ(finished.count(), 1);
}

TEST_F(MainFormTest, ClosingByTheFrameSavesWithoutAsking)
{
    std::string path = build("System.mdb");
    Session s(boxes_, "");
    auto f = shown(s, path);
    s.setChanged(true);
    QSignalSpy finished(f.get(), &VTXControlForm::finished);
    f->close();
    EXPECT_TRUE(boxes_.shown.empty());
    EXPECT_EQ(finished.count(), 1);
    EXPECT_FALSE(s.database().isOpen());
}

TEST_F(MainFormTest, RestoresTheRememberedPosition)
{
    Session s(boxes_, "");
    {
        auto f = form(s);
        EXPECT_EQ(f->pos(), f->screen()->geometry().topLeft()) << "first run: top-left corner";
    }
    tool::savePosition("VTXControlForm", 1500, 750);
    auto f = form(s);
    double tpp = 1440.0 / f->logicalDpiX();
    EXPECT_EQ(f->pos(), f->screen()->geometry().topLeft() + QPoint(int(1500 / tpp), int(750 / tpp)));
    tool::savePosition("VTXControlForm", -500, 1e9);
    auto g = form(s);
    QRect screen = g->screen()->geometry();
    EXPECT_EQ(g->x(), screen.x());
    EXPECT_EQ(g->y(), screen.y() + int((int32_t(screen.height() * tpp) - 1000) / tpp));
}

} // namespace
} // namespace vyr::vtx::ui
