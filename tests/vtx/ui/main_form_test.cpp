#include "controls/core/host.h"
#include "controls/core/vyrcontrols.h"
#include "platform/registry/regkey.h"
#include "tests/vtx/model/support.h"
#include "vtx/model/tool.h"
#include "vtx/ui/diagram.h"
#include "vtx/ui/main_form.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QMenu>
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

// Everything the diagram shows: each channel's CAN, letter, fill and name, the positions and
// placements, and the marks with their messages.
std::string shownState(VTXControlForm& f)
{
    const Configuration& c = f.diagram()->editor().configuration();
    std::string out;
    for (int n = 1; n <= 4; ++n) {
        const Channel& ch = c.channel(n);
        out += c.channelName(n) + " " + ch.can + " " + (ch.showsLetter() ? ch.letter : "-") + " " +
               std::to_string(unsigned(ch.fill)) + (c.channelShown(n) ? "" : " hidden") + "\n";
    }
    out += std::string(nt1Name(c.nt1)) + " " + nt2Name(c.nt2) + "\n";
    for (const auto& [holder, names] : c.placements)
        for (const std::string& name : names)
            out += holder + ":" + name + "\n";
    for (const BeamDiagram::Mark& m : f.diagram()->marks())
        out += "mark " + m.tip.toStdString() + "\n";
    return out;
}

TEST_F(MainFormTest, BrowseShowsEachDatabaseAsAFreshStartShowsIt)
{
    // Channel 1 on CANK and channel 4 on CANB, and the other way round.
    std::string cank = build("cank.mdb");
    std::string canb = build("canb.mdb");
    dao::Database::open(canb).execute(
        "UPDATE [Available DIOs] SET [Control] = 'CANB' WHERE [ID Available] = 'REG530';"
        "UPDATE [Available DIOs] SET [Control] = 'CANK' WHERE [ID Available] = 'REG830'");
    auto fresh = [&](const std::string& path) {
        Session s(boxes_, "/S");
        auto f = form(s);
        EXPECT_TRUE(f->start(path));
        return shownState(*f);
    };
    const std::string freshK = fresh(cank), freshB = fresh(canb);
    ASSERT_NE(freshK, freshB);
    EXPECT_EQ(freshB.substr(0, freshB.find('\n')), "VTX 1 CANB B 14737632");

    Session s(boxes_, "/S");
    auto f = shown(s, cank);
    EXPECT_EQ(shownState(*f), freshK);
    for (const std::string& next : {canb, cank, canb}) {
        dialog_.answer = next;
        f->browse();
        EXPECT_EQ(shownState(*f), next == canb ? freshB : freshK) << next;
    }
    EXPECT_TRUE(boxes_.shown.empty()) << boxes_.texts().front();
}

TEST_F(MainFormTest, ARefusedBrowseClearsTheChangedFlag)
{
    Session s(boxes_, "/S");
    auto f = shown(s, build("System.mdb"));
    f->diagram()->editor().setCan(2, "CANB");
    s.setChanged(true);
    dialog_.answer = build("old.mdb", {"version-2.07.sql"});
    f->browse();
    EXPECT_FALSE(s.changed());
    EXPECT_FALSE(f->diagram()->editor().changed());
    EXPECT_FALSE(child<QPushButton>(*f, "CmdStore")->isEnabled());
    QSignalSpy finished(f.get(), &VTXControlForm::finished);
    boxes_.shown.clear();
    clickClose(*f);
    EXPECT_TRUE(boxes_.shown.empty()) << "Close has nothing to ask";
    EXPECT_EQ(finished.count(), 1);
}

TEST_F(MainFormTest, AReadOnlyDatabaseOpensAReadOnlyForm)
{
    namespace fs = std::filesystem;
    const auto readOnly = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
    const auto folderReadOnly = readOnly | fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec;
    struct Row {
        const char* name;
        std::function<std::string(const fs::path& folder)> make;   // the database's path
        const char* note;                                           // empty: writable
    };
    const std::vector<Row> rows = {
        {"writable", [&](const fs::path& folder) { return build((folder / "System.mdb").string()); }, ""},
        {"read-only file",
         [&](const fs::path& folder) {
             std::string p = build((folder / "System.mdb").string());
             fs::permissions(p, readOnly);
             return p;
         },
         "The System Database is read-only: it is shown, but nothing can be stored."},
        {"read-only folder",
         [&](const fs::path& folder) {
             std::string p = build((folder / "System.mdb").string());
             fs::permissions(folder, folderReadOnly);
             return p;
         },
         "The folder of the System Database is read-only: the database is shown, but nothing can be stored."},
    };
    int n = 0;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const fs::path folder = dir_ / ("case-" + std::to_string(n++));
        fs::create_directories(folder);
        const std::string path = r.make(folder);
        const std::string bytes = dao::test::readText(path);
        Session s(boxes_, "");
        auto f = shown(s, path);
        const bool writable = !*r.note;
        auto* note = child<QLabel>(*f, "ReadOnlyNote");
        EXPECT_EQ(note->isVisible(), !writable);
        EXPECT_EQ(note->text().toStdString(), r.note);
        EXPECT_EQ(child<QPushButton>(*f, "CmdAddNew")->isEnabled(), writable);
        EXPECT_TRUE(child<QFrame>(*f, "BeamPic")->isVisible()) << "the diagram is shown";
        EXPECT_EQ(f->diagram()->readOnly(), !writable);
        EXPECT_EQ(f->diagram()->findChild<QWidget*>("Frame1")->isEnabled(), writable);
        // A click on a detector opens its menu only where the form can write.
        int menus = 0;
        f->diagram()->setMenuRunner([&](QMenu&, const QPoint&) -> QAction* { ++menus; return nullptr; });
        QTest::mouseClick(f->diagram(), Qt::LeftButton, {}, f->diagram()->geometry().detector[1].center());
        EXPECT_EQ(menus, writable ? 1 : 0);
        if (!writable)
            f->storeConfiguration();   // as Close's "Yes" would: nothing happens
        EXPECT_FALSE(child<QPushButton>(*f, "CmdStore")->isEnabled());
        EXPECT_FALSE(child<QPushButton>(*f, "CmdChanges")->isEnabled());
        EXPECT_FALSE(child<QPushButton>(*f, "CmdUndo")->isEnabled());
        if (!writable)
            EXPECT_EQ(dao::test::readText(path), bytes) << "neither compacted nor written";
        EXPECT_TRUE(boxes_.shown.empty()) << boxes_.texts().front();
        f.reset();
        fs::permissions(folder, fs::perms::owner_all);
        fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
    }
}

} // namespace
} // namespace vyr::vtx::ui
