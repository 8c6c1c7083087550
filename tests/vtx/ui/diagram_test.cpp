#include "tests/vtx/model/configuration_support.h"
#include "tests/vtx/model/support.h"
#include "vtx/model/rows.h"
#include "vtx/ui/diagram.h"
#include "vtx/ui/main_form.h"

#include <QDir>
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

} // namespace
} // namespace vyr::vtx::ui
