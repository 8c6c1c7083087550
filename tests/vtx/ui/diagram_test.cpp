#include "tests/vtx/model/configuration_support.h"
#include "tests/vtx/model/support.h"
#include "vtx/model/row_changes.h"
#include "vtx/model/rows.h"
#include "controls/core/host.h"
#include "vtx/ui/bands_panel.h"
#include "vtx/ui/diagram.h"
#include "vtx/ui/main_form.h"

#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace vyr::vtx::ui {
namespace {

class DiagramTest : public test::SystemDatabasesAndRegistry {
protected:
    std::unique_ptr<VTXControlForm> started(const std::vector<std::string>& fixtures = {})
    {
        path_ = build("System.mdb", fixtures);
        auto f = std::make_unique<VTXControlForm>(session_, boxes_, dialog_);
        f->setFilterWheelDialog(&wheel_);
        EXPECT_TRUE(f->start(path_));
        f->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(f.get()));
        return f;
    }
    // Clicks `point` of the diagram; the popup that opens gets a real click on the item
    // captioned `pick` (or is closed when there is none). Returns the captions it offered.
    std::vector<std::string> clickAndPick(BeamDiagram& d, QPoint point, const QString& pick)
    {
        std::vector<std::string> offered;
        d.setMenuRunner([&](QMenu& m, const QPoint& at) -> QAction* {
            QAction* target = nullptr;
            for (QAction* a : m.actions()) {
                offered.push_back((a->isChecked() ? "*" : "") + a->text().toStdString());
                if (a->text() == pick)
                    target = a;
            }
            m.popup(at);
            EXPECT_TRUE(QTest::qWaitForWindowExposed(&m));
            QAction* got = nullptr;
            QObject::connect(&m, &QMenu::triggered, [&](QAction* a) { got = a; });
            if (target)
                QTest::mouseClick(&m, Qt::LeftButton, {}, m.actionGeometry(target).center());
            m.close();
            return got;
        });
        QTest::mouseClick(&d, Qt::LeftButton, {}, point);
        return offered;
    }
    // A click on an option button's indicator.
    static void choose(BeamDiagram& d, const char* name)
    {
        auto* b = d.findChild<QRadioButton*>(name);
        ASSERT_NE(b, nullptr) << name;
        QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(8, b->height() / 2));
    }
    QPushButton* storeButton(VTXControlForm& f) { return f.findChild<QPushButton*>("CmdStore"); }

    std::string path_;
    test::FakeBoxes boxes_;
    test::FakeDialog dialog_;
    test::FakeWheel wheel_;
    Session session_{boxes_, ""};
};

TEST_F(DiagramTest, ADetectorClickOpensItsMenuAndAnItemChangesTheChannel)
{
    auto f = started();
    BeamDiagram& d = *f->diagram();
    QPoint detector2 = d.geometry().detector[1].center();
    std::vector<std::string> offered = clickAndPick(d, detector2, "CANL");
    EXPECT_EQ(offered, (std::vector<std::string>{"Cancel", "", "None", "CANB", "CANK", "*CANL", "CANM"}));
    EXPECT_FALSE(storeButton(*f)->isEnabled()) << "the CAN it already had";
    EXPECT_FALSE(session_.changed());

    clickAndPick(d, detector2, "None");
    EXPECT_EQ(d.editor().configuration().channel(2).can, "None");
    EXPECT_TRUE(storeButton(*f)->isEnabled());
    EXPECT_TRUE(session_.changed());
    // Grey now, where it was E0E0E0.
    QImage shot = d.grab().toImage();
    QRect r = d.geometry().detector[1];
    EXPECT_EQ(shot.pixelColor(r.center().x(), r.top() + 6), QColor(0xC0, 0xC0, 0xC0));
}

TEST_F(DiagramTest, ARefusedStoreKeepsTheEditsAndCloseStillAsks)
{
    auto f = started();
    BeamDiagram& d = *f->diagram();
    clickAndPick(d, d.geometry().detector[2].center(), "CANL");   // channel 3 as channel 2
    auto before = test::allRows(session_.database());
    QTest::mouseClick(storeButton(*f), Qt::LeftButton);
    EXPECT_EQ(boxes_.texts().back(), "CANL isn't unique !");
    EXPECT_EQ(test::allRows(session_.database()), before);
    EXPECT_TRUE(storeButton(*f)->isEnabled());
    boxes_.answers = {Answer::Cancel};
    EXPECT_FALSE(f->closeTool());
    EXPECT_EQ(boxes_.texts().back(), "Do you want to save the changes you made?");

    clickAndPick(d, d.geometry().detector[2].center(), "CANM");
    QTest::mouseClick(storeButton(*f), Qt::LeftButton);
    EXPECT_FALSE(storeButton(*f)->isEnabled());
    EXPECT_FALSE(session_.changed());
}

TEST_F(DiagramTest, OptionButtonsAndTheMirrorTurnChannel1IntoTheTransmissionDetector)
{
    auto f = started();
    BeamDiagram& d = *f->diagram();
    choose(d, "Mirror");
    EXPECT_EQ(d.editor().configuration().nt2, Nt2::Mirror);
    EXPECT_TRUE(session_.changed());
    clickAndPick(d, d.geometry().detector[0].center(), "CANB");
    clickAndPick(d, d.geometry().detector[0].center(), "CANK");
    QImage shot = d.grab().toImage();
    QRect r = d.geometry().detector[0];
    EXPECT_EQ(shot.pixelColor(r.center().x(), r.top() + 6), QColor(Qt::white));
    EXPECT_EQ(d.editor().configuration().channelName(1), "Transmission");
}

TEST_F(DiagramTest, AFilterLabelOffersThePlacesWithTheCatalogue)
{
    auto f = started();
    BeamDiagram& d = *f->diagram();
    QStringList top, sub;
    d.setMenuRunner([&](QMenu& m, const QPoint&) -> QAction* {
        QAction* chosen = nullptr;
        for (QAction* a : m.actions()) {
            top << a->text();
            if (QMenu* s = a->menu(); s && top.size() == 4) {   // place 2
                for (QAction* b : s->actions()) {
                    sub << b->text();
                    if (b->text() == "KP 600")
                        chosen = b;
                }
            }
        }
        return chosen;
    });
    QTest::mouseClick(&d, Qt::LeftButton, {}, d.geometry().filterLabel[3].center());   // channel 4
    EXPECT_EQ(top.mid(0, 5), (QStringList{"Cancel", "", "LP 650", "KP 685", "None"}));
    EXPECT_EQ(sub.mid(0, 3), (QStringList{"Cancel", "", "None"}));
    EXPECT_EQ(d.editor().configuration().placements.at("VTX_EF8")[1], "KP 600");
    EXPECT_TRUE(session_.changed());
}

// The form in the three splitter variants, written as PNGs beside the test program.
TEST_F(DiagramTest, ScreenshotsOfTheVariants)
{
    auto f = started();
    BeamDiagram& d = *f->diagram();
    QDir dir(QCoreApplication::applicationDirPath() + "/screenshots");
    dir.mkpath(".");
    struct Variant { const char* file; const char* nt1; const char* nt2; };
    for (const Variant& v : {Variant{"vtx-cube-cube.png", "Cube_NT1", "Cube_NT2"},
                             Variant{"vtx-nothing-mirror.png", "No_VTX_NT1", "Mirror"},
                             Variant{"vtx-cube-nothing.png", "Cube_NT1", "No_VTX_NT2"}}) {
        choose(d, v.nt1);
        choose(d, v.nt2);
        QImage shot = f->grab().toImage();
        EXPECT_TRUE(shot.save(dir.filePath(v.file))) << v.file;
        QImage diagram = d.grab().toImage();
        // Channel 2 is drawn only with the NT1 cube.
        QRect r = d.geometry().detector[1];
        bool drawn = diagram.pixelColor(r.center().x(), r.top() + 6) != QColor(Qt::white);
        EXPECT_EQ(drawn, std::string(v.nt1) == "Cube_NT1") << v.file;
    }
}

// The detector shape's colour and whether anything dark (a letter) is drawn in its middle.
struct DetectorLook {
    QColor fill;
    bool letter = false;
};
DetectorLook look(BeamDiagram& d, int channel)
{
    QImage shot = d.grab().toImage();
    QRect r = d.geometry().detector[size_t(channel - 1)];
    DetectorLook out{shot.pixelColor(r.center().x(), r.top() + 6)};
    for (int y = r.center().y() - 8; y <= r.center().y() + 8; ++y)
        for (int x = r.center().x() - 8; x <= r.center().x() + 8; ++x)
            out.letter = out.letter || shot.pixelColor(x, y).lightness() < 100;
    return out;
}

TEST_F(DiagramTest, ChannelsWithoutCanShowNoLetterAndLightGreyAfterAStore)
{
    auto f = started();
    BeamDiagram& d = *f->diagram();
    const QColor grey(0xC0, 0xC0, 0xC0), assigned(0xE0, 0xE0, 0xE0);
    EXPECT_TRUE(look(d, 2).letter);
    EXPECT_EQ(look(d, 2).fill, assigned);

    // NT1 "Nothing" stored takes channels 2 and 3's CAN; "Cube" then shows them without one.
    choose(d, "No_VTX_NT1");
    boxes_.answers = {Answer::No};
    QTest::mouseClick(storeButton(*f), Qt::LeftButton);
    ASSERT_FALSE(session_.changed());
    choose(d, "Cube_NT1");
    for (int n : {2, 3}) {
        DetectorLook l = look(d, n);
        EXPECT_FALSE(l.letter) << n;
        EXPECT_EQ(l.fill, grey) << n;
    }

    // Mirror stored takes channel 4's; "Cube" shows it without.
    choose(d, "No_VTX_NT1");
    choose(d, "Mirror");
    QTest::mouseClick(storeButton(*f), Qt::LeftButton);
    ASSERT_FALSE(session_.changed());
    choose(d, "Cube_NT2");
    EXPECT_FALSE(look(d, 4).letter);
    EXPECT_EQ(look(d, 4).fill, grey);
    EXPECT_TRUE(look(d, 1).letter) << "channel 1 kept its CAN";
}

TEST_F(DiagramTest, AnUnusedChannel1DetectorLoadsLightGrey)
{
    auto f = started({"pmtd-not-used.sql"});
    BeamDiagram& d = *f->diagram();
    EXPECT_EQ(look(d, 1).fill, QColor(0xC0, 0xC0, 0xC0));
    EXPECT_EQ(look(d, 4).fill, QColor(0xE0, 0xE0, 0xE0));
}

// No two texts or boxes of the diagram overlap, in each splitter variant; the default form is
// also written as a PNG to look at.
TEST_F(DiagramTest, NothingOverlapsInTheDiagram)
{
    auto f = started();
    BeamDiagram& d = *f->diagram();
    QDir dir(QCoreApplication::applicationDirPath() + "/screenshots");
    dir.mkpath(".");
    EXPECT_TRUE(f->grab().toImage().save(dir.filePath("vtx-main-default.png")));
    struct Variant { const char* nt1; const char* nt2; };
    for (const Variant& v : {Variant{"Cube_NT1", "Cube_NT2"}, Variant{"No_VTX_NT1", "Mirror"},
                             Variant{"Cube_NT1", "No_VTX_NT2"}, Variant{"No_VTX_NT1", "No_VTX_NT2"}}) {
        choose(d, v.nt1);
        choose(d, v.nt2);
        d.grab();
        const auto& drawn = d.drawn();
        ASSERT_GT(drawn.size(), 10u);
        for (size_t a = 0; a < drawn.size(); ++a) {
            EXPECT_TRUE(d.rect().contains(drawn[a].rect)) << drawn[a].what << " leaves the diagram";
            for (size_t b = a + 1; b < drawn.size(); ++b) {
                std::string pair = std::string(drawn[a].what) + " / " + drawn[b].what;
                if (pair == "Sample / Sample text")
                    continue;   // the caption inside its own box
                EXPECT_FALSE(drawn[a].rect.intersects(drawn[b].rect)) << v.nt1 << " " << v.nt2 << ": " << pair;
            }
        }
    }
}

TEST_F(DiagramTest, ChangesListsWhatStoreWritesAndItsStoreButtonStoresIt)
{
    auto f = started();
    BeamDiagram& d = *f->diagram();
    auto* changes = f->findChild<QPushButton*>("CmdChanges");
    ASSERT_NE(changes, nullptr);
    EXPECT_FALSE(changes->isEnabled());
    choose(d, "No_VTX_NT1");
    EXPECT_TRUE(changes->isEnabled());

    std::vector<std::string> listed;
    bool storeIt = false;
    f->setChangesRunner([&](const std::vector<RowChange>& c) {
        listed.clear();
        for (const RowChange& r : c)
            listed.push_back(describe(r));
        return storeIt;
    });
    dao::Database& db = session_.database();
    TableSnapshot before = snapshotTables(db);
    boxes_.answers = {Answer::No};
    QTest::mouseClick(changes, Qt::LeftButton);
    EXPECT_EQ(boxes_.texts().back(), "VTX LP680 in FW1. Delete ?") << "the questions come first";
    EXPECT_FALSE(listed.empty());
    EXPECT_TRUE(rowChanges(before, snapshotTables(db)).empty()) << "closed: nothing written";
    EXPECT_TRUE(session_.changed());

    storeIt = true;
    boxes_.answers = {Answer::No};
    QTest::mouseClick(changes, Qt::LeftButton);
    std::vector<std::string> written;
    for (const RowChange& r : rowChanges(before, snapshotTables(db)))
        written.push_back(describe(r));
    EXPECT_EQ(written, listed);
    EXPECT_FALSE(session_.changed());
    EXPECT_FALSE(changes->isEnabled());
}

TEST_F(DiagramTest, UndoLastStorePutsTheDatabaseBackAndReloadsTheDiagram)
{
    auto f = started();
    BeamDiagram& d = *f->diagram();
    auto* undo = f->findChild<QPushButton*>("CmdUndo");
    ASSERT_NE(undo, nullptr);
    EXPECT_FALSE(undo->isEnabled());
    auto before = test::allRows(session_.database());
    choose(d, "No_VTX_NT1");
    boxes_.answers = {Answer::No};
    QTest::mouseClick(storeButton(*f), Qt::LeftButton);
    ASSERT_NE(test::allRows(session_.database()), before);
    ASSERT_TRUE(undo->isEnabled());

    boxes_.answers = {Answer::No};
    QTest::mouseClick(undo, Qt::LeftButton);
    EXPECT_NE(test::allRows(session_.database()), before) << "answered No";
    boxes_.answers = {Answer::Yes};
    QTest::mouseClick(undo, Qt::LeftButton);
    EXPECT_EQ(test::allRows(session_.database()), before);
    EXPECT_EQ(d.editor().configuration().nt1, Nt1::Cube) << "reloaded";
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_FALSE(session_.changed());
}

TEST_F(DiagramTest, UndoNamesRowsChangedSinceAndOffersTheWholeFileOnlyAsASecondChoice)
{
    auto f = started();
    auto* undo = f->findChild<QPushButton*>("CmdUndo");
    ASSERT_NE(undo, nullptr);
    auto before = test::allRows(session_.database());
    choose(*f->diagram(), "No_VTX_NT1");
    boxes_.answers = {Answer::No};
    QTest::mouseClick(storeButton(*f), Qt::LeftButton);
    ASSERT_TRUE(undo->isEnabled());
    // The instrument's software writes a row the Store wrote.
    dao::Database::open(path_).execute(
        "UPDATE [Available FilterSets] SET [Status] = 'Dummy' WHERE [ID Available] = 'VTX_NT1'");
    auto stored = test::allRows(session_.database());

    boxes_.shown.clear();
    boxes_.answers = {Answer::Yes, Answer::No};   // undo: yes; the whole file instead: no
    QTest::mouseClick(undo, Qt::LeftButton);
    ASSERT_EQ(boxes_.shown.size(), 2u);
    const std::string& offer = boxes_.shown[1].text;
    EXPECT_NE(offer.find("[Available FilterSets] VTX_NT1: [Status] Store wrote \"Do not use\", now \"Dummy\""),
              std::string::npos) << offer;
    EXPECT_NE(offer.find("will be lost"), std::string::npos) << offer;
    EXPECT_EQ(boxes_.shown[1].buttons, Buttons::YesNo);
    EXPECT_EQ(test::allRows(session_.database()), stored) << "nothing was written";
    EXPECT_TRUE(undo->isEnabled());

    boxes_.answers = {Answer::Yes, Answer::Yes};   // now the whole file, as warned
    QTest::mouseClick(undo, Qt::LeftButton);
    EXPECT_EQ(test::allRows(session_.database()), before);
    EXPECT_EQ(f->diagram()->editor().configuration().nt1, Nt1::Cube) << "reloaded";
    EXPECT_FALSE(undo->isEnabled());
}

TEST_F(DiagramTest, ProblemsAreMarkedLiveWithStoresMessage)
{
    auto f = started();
    BeamDiagram& d = *f->diagram();
    EXPECT_TRUE(d.marks().empty()) << "the demo stores without a word";
    const auto& geo = d.geometry();
    auto redAround = [&](const QRect& r) {
        QImage shot = d.grab().toImage();
        QColor c = shot.pixelColor(r.left() - 4, r.center().y());
        return c.red() > 150 && c.green() < 80 && c.blue() < 80;
    };
    EXPECT_FALSE(redAround(geo.detector[1]));

    clickAndPick(d, geo.detector[2].center(), "CANL");   // channel 3 as channel 2
    EXPECT_EQ(d.markTip(geo.detector[1].center()), "CANL isn't unique !");
    EXPECT_EQ(d.markTip(geo.detector[2].center()), "CANL isn't unique !");
    EXPECT_EQ(d.markTip(geo.detector[0].center()), "");
    EXPECT_TRUE(redAround(geo.detector[1]));
    EXPECT_TRUE(redAround(geo.detector[2]));
    QDir dir(QCoreApplication::applicationDirPath() + "/screenshots");
    dir.mkpath(".");
    EXPECT_TRUE(d.grab().toImage().save(dir.filePath("vtx-marks.png")));

    clickAndPick(d, geo.detector[1].center(), "None");   // now channel 3 is alone
    EXPECT_EQ(d.markTip(geo.detector[2].center()), "VTX3 alone not allowed !");
    EXPECT_EQ(d.markTip(geo.detector[1].center()), "");
    clickAndPick(d, geo.detector[2].center(), "None");
    EXPECT_EQ(d.markTip(geo.nt1Splitter.center()), "No CAN for VTX_NT1 !");

    // NT1 "Nothing": Store would ask about the wheel's splitter; "Cube" again: nothing to say.
    choose(d, "No_VTX_NT1");
    EXPECT_EQ(d.markTip(geo.wheelText.center()), "VTX LP680 in FW1. Delete ?");
    ASSERT_EQ(d.marks().size(), 1u);
    choose(d, "Cube_NT1");
    clickAndPick(d, geo.detector[1].center(), "CANL");
    clickAndPick(d, geo.detector[2].center(), "CANM");
    EXPECT_TRUE(d.marks().empty());

    // Two channels on one CAN give a mark whose tool tip Store's message also shows.
    clickAndPick(d, geo.detector[3].center(), "CANK");
    std::vector<std::string> marked;
    for (const auto& m : d.marks())
        marked.push_back(m.tip.toStdString());
    EXPECT_EQ(marked, (std::vector<std::string>{"CANK isn't unique !", "CANK isn't unique !"}));
    QTest::mouseClick(storeButton(*f), Qt::LeftButton);
    EXPECT_EQ(boxes_.texts().back(), "CANK isn't unique !");
}

TEST_F(DiagramTest, AWheelWithoutFreePlaceIsMarked)
{
    auto f = started({"fw1-no-free.sql"});
    BeamDiagram& d = *f->diagram();
    EXPECT_EQ(d.markTip(d.geometry().wheelText.center()), "No free Position in FW1 !");
}

TEST_F(DiagramTest, TheBandPanelFollowsTheFiltersChosenInTheForm)
{
    auto f = started();
    BeamDiagram& d = *f->diagram();
    auto* bandsButton = f->findChild<QPushButton*>("CmdBands");
    ASSERT_NE(bandsButton, nullptr);
    QTest::mouseClick(bandsButton, Qt::LeftButton);
    DetectionBandsPanel* panel = f->bandsPanel();
    ASSERT_NE(panel, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(panel));
    ASSERT_NE(panel->spectra()->control(), nullptr) << "the SpectraCtrl was created through its class factory";

    // What the control reads through the curve-source interface: four edges, four bands.
    std::vector<spectra::Curve> curves = spectra::readCurves(panel->curveSource());
    ASSERT_EQ(curves.size(), 8u);
    EXPECT_EQ(curves[4].color, kChannelColours[0]);
    EXPECT_EQ(curves[0].color, kEdgeColour);
    QImage before = panel->spectra()->grab().toImage();
    QDir dir(QCoreApplication::applicationDirPath() + "/screenshots");
    dir.mkpath(".");
    EXPECT_TRUE(panel->grab().toImage().save(dir.filePath("vtx-bands.png")));

    // Place 1 of channel 2's holder becomes the long pass 650 in the form.
    d.setMenuRunner([&](QMenu& m, const QPoint&) -> QAction* {
        for (QAction* a : m.actions())
            if (QMenu* sub = a->menu(); sub && sub->objectName() == "MnuFilterItem0")
                for (QAction* b : sub->actions())
                    if (b->text() == "LP 650")
                        return b;
        return nullptr;
    });
    QTest::mouseClick(&d, Qt::LeftButton, {}, d.geometry().filterLabel[1].center());
    ASSERT_EQ(d.editor().configuration().placements.at("VTX_EF6")[0], "LP 650");
    const auto& bands = panel->bands().bands;
    auto second = std::find_if(bands.begin(), bands.end(), [](const PassBand& b) { return b.channel == 2; });
    ASSERT_NE(second, bands.end());
    EXPECT_EQ(second->from, 650);
    EXPECT_EQ(second->to, 1000);
    QTest::qWait(50);
    EXPECT_NE(panel->spectra()->grab().toImage(), before) << "the control drew the new curve";

    // Laser lines typed in are remembered for the next panel.
    panel->laserEdit()->setText("640, 405");
    QTest::mouseClick(panel->findChild<QPushButton*>("CmdApplyLasers"), Qt::LeftButton);
    EXPECT_EQ(panel->laserEdit()->text(), "405 640");
    EXPECT_EQ(rememberedLaserLines(), (std::vector<double>{405, 640}));
}

} // namespace
} // namespace vyr::vtx::ui
