#include "controls/core/host.h"
#include "controls/core/vyrcontrols.h"
#include "tests/vtx/model/support.h"
#include "vtx/ui/diagram.h"
#include "vtx/ui/main_form.h"
#include "vtx/ui/new_filters.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <algorithm>

namespace vyr::vtx::ui {
namespace {

class NewFiltersTest : public test::SystemDatabasesAndRegistry {
protected:
    // The main form started on the demo database with the customer filters.
    void start()
    {
        form_ = std::make_unique<VTXControlForm>(session_, boxes_, dialog_);
        ASSERT_TRUE(form_->start(build("System.mdb", {"customer-filters.sql"})));
        form_->show();
    }
    // The dialog as CmdAddNew opens it, on the form's open database and diagram.
    std::unique_ptr<NewFilters> open()
    {
        auto d = std::make_unique<NewFilters>(session_.database(), form_->diagram()->editor(), boxes_, form_.get());
        d->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(d.get()));
        d->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(d.get()));
        return d;
    }
    template <class T> static T* child(QWidget& w, const char* name)
    {
        T* c = w.findChild<T*>(name);
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    static void type(QWidget& d, const char* box, const QString& text)
    {
        QLineEdit* e = child<QLineEdit>(d, box);
        e->clear();
        QTest::keyClicks(e, text);
    }
    static void clickClose(NewFilters& d)
    {
        QWidget* w = d.closeButton()->controlWindow();
        ASSERT_NE(w, nullptr);
        QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
    }
    static QStringList listed(NewFilters& d)
    {
        QStringList out;
        for (int i = 0; i < d.list()->topLevelItemCount(); ++i)
            out << d.list()->topLevelItem(i)->text(0) + "|" + d.list()->topLevelItem(i)->text(1);
        return out;
    }
    bool offered(const char* holder, const std::string& name)
    {
        std::vector<std::string> s = form_->diagram()->editor().filterMenu(session_.database(), holder).selection;
        return std::find(s.begin(), s.end(), name) != s.end();
    }

    test::FakeBoxes boxes_;
    test::FakeDialog dialog_;
    Session session_{boxes_, ""};
    std::unique_ptr<VTXControlForm> form_;
};

TEST_F(NewFiltersTest, ShowsItsControlsAndTheCustomerFilters)
{
    start();
    auto d = open();
    EXPECT_EQ(d->windowTitle(), "Add New Filter & Splitters");
    for (const auto& [name, caption] : {std::pair{"Frame1", "VTX Filter Description"}, std::pair{"Frame2", "New VTX Filters"}}) {
        auto* f = child<controls::HostWidget>(*d, name);
        ASSERT_NE(f->control(), nullptr) << name;
        EXPECT_EQ(f->classId(), controls::CLSID_Frame);
        EXPECT_EQ(f->property("Caption").toString().value_or(""), caption);
    }
    ASSERT_NE(d->closeButton()->control(), nullptr);
    EXPECT_EQ(d->closeButton()->classId(), controls::CLSID_Button);
    EXPECT_EQ(d->closeButton()->property("Caption").toString().value_or(""), "Close");
    QTreeWidgetItem* header = d->list()->headerItem();
    EXPECT_EQ(QStringList({header->text(0), header->text(1)}), QStringList({"ID Potential", "Summary"}));
    EXPECT_EQ(listed(*d), QStringList({"BP 650-710|Band pass 650-710 nm", "LP 715 OW|Ostwell long pass 715 nm",
                                       "NFT 520 OW|Ostwell splitter 520 nm"}));
    QStringList labels;
    for (QLabel* l : d->findChildren<QLabel*>())
        labels << l->text();
    for (const char* text : {"Name", "Series Number", "Summary", "Producer", "Type", "Spectral Type", "Lower Wavelength",
                             "Center Wavelength", "Upper Wavelength", "Cut Off Wavelength"})
        EXPECT_TRUE(labels.contains(text)) << text;
    auto items = [](QComboBox* c) {
        QStringList out;
        for (int i = 0; i < c->count(); ++i)
            out << c->itemText(i);
        return out + QStringList{c->currentText()};
    };
    EXPECT_EQ(items(child<QComboBox>(*d, "CmbType")), QStringList({"BP", "LP", "KP", "FT", "BP"}));
    EXPECT_EQ(items(child<QComboBox>(*d, "CmbSpectral")), QStringList({"BP", "LP", "KP", "BP"}));
    EXPECT_EQ(child<QCheckBox>(*d, "Check1")->text(), "Non Halvern");
    EXPECT_EQ(child<QLineEdit>(*d, "Producer")->text(), "Halvern");
    EXPECT_FALSE(child<QLineEdit>(*d, "Producer")->isEnabled());
    EXPECT_FALSE(child<QPushButton>(*d, "CmdDel")->isEnabled());
    EXPECT_FALSE(child<QPushButton>(*d, "CmdReset")->isEnabled());
    EXPECT_EQ(child<QPushButton>(*d, "CmdApply")->text(), "Apply");
    EXPECT_EQ(child<QPushButton>(*d, "CmdReset")->text(), "Clear");
    EXPECT_EQ(child<QPushButton>(*d, "CmdDel")->text(), "Remove");

    QDir dir(QCoreApplication::applicationDirPath() + "/screenshots");
    dir.mkpath(".");
    EXPECT_TRUE(d->grab().toImage().save(dir.filePath("vtx-newfilters.png")));
}

TEST_F(NewFiltersTest, TheTypeEnablesItsWavelengthBoxesAndNonHalvernTheProducer)
{
    start();
    auto d = open();
    type(*d, "Lower", "500");
    struct Case { const char* type; bool band; bool cutOff; };
    for (const Case& c : {Case{"LP", false, true}, Case{"FT", false, false}, Case{"BP", true, false}, Case{"KP", false, true}}) {
        child<QComboBox>(*d, "CmbType")->setCurrentText(c.type);
        for (const char* b : {"Lower", "Center", "Upper"})
            EXPECT_EQ(child<QLineEdit>(*d, b)->isEnabled(), c.band) << c.type << " " << b;
        EXPECT_EQ(child<QLineEdit>(*d, "Cut_Off")->isEnabled(), c.cutOff) << c.type;
        if (!c.band)
            EXPECT_TRUE(child<QLineEdit>(*d, "Lower")->text().isEmpty()) << c.type;
        type(*d, c.cutOff ? "Cut_Off" : "Lower", "500");
    }
    QTest::mouseClick(child<QCheckBox>(*d, "Check1"), Qt::LeftButton);
    EXPECT_TRUE(child<QLineEdit>(*d, "Producer")->isEnabled());
    EXPECT_TRUE(child<QLineEdit>(*d, "Producer")->text().isEmpty());
    QTest::mouseClick(child<QCheckBox>(*d, "Check1"), Qt::LeftButton);
    EXPECT_FALSE(child<QLineEdit>(*d, "Producer")->isEnabled());
    EXPECT_EQ(child<QLineEdit>(*d, "Producer")->text(), "Halvern");
}

TEST_F(NewFiltersTest, EnterMovesTheFocusAlongTheBoxesOfTheType)
{
    start();
    auto d = open();
    child<QComboBox>(*d, "CmbType")->setCurrentText("KP");
    child<QLineEdit>(*d, "FilterName")->setFocus();
    const std::vector<std::pair<const char*, const char*>> path = {
        {"FilterName", "Code"}, {"Code", "Summary"}, {"Summary", "Cut_Off"}, {"Cut_Off", "CmdApply"}};
    for (const auto& [from, to] : path) {
        QLineEdit* box = child<QLineEdit>(*d, from);
        QTest::keyClicks(box, "x");
        QTest::keyClick(box, Qt::Key_Return);
        EXPECT_EQ(QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString(), to) << from;
    }
    EXPECT_TRUE(child<QPushButton>(*d, "CmdReset")->isEnabled());
    QTest::mouseClick(child<QPushButton>(*d, "CmdReset"), Qt::LeftButton);
    EXPECT_TRUE(child<QLineEdit>(*d, "FilterName")->text().isEmpty());
    EXPECT_FALSE(child<QPushButton>(*d, "CmdReset")->isEnabled());
    EXPECT_EQ(QApplication::focusWidget(), child<QLineEdit>(*d, "FilterName"));
}

TEST_F(NewFiltersTest, ApplyCloseWritesThroughTheSharedDatabaseAndTheMenusOfferTheFilter)
{
    start();
    auto d = open();
    child<QComboBox>(*d, "CmbType")->setCurrentText("LP");
    child<QComboBox>(*d, "CmbSpectral")->setCurrentText("LP");
    type(*d, "FilterName", "LP 600 OW");
    type(*d, "Code", "OW-LP600");
    type(*d, "Summary", "Ostwell long pass 600 nm");
    type(*d, "Cut_Off", "600");
    QTest::mouseClick(child<QPushButton>(*d, "CmdApply"), Qt::LeftButton);
    EXPECT_TRUE(boxes_.shown.empty()) << boxes_.texts().front();
    EXPECT_EQ(listed(*d).back(), "LP 600 OW|Ostwell long pass 600 nm");
    QTest::mouseClick(child<QPushButton>(*d, "CmdApply"), Qt::LeftButton);
    EXPECT_EQ(boxes_.texts(), std::vector<std::string>{"No new Filter Name !"});
    EXPECT_FALSE(offered("VTX_EF5", "LP 600 OW")) << "pending until Close";

    clickClose(*d);
    EXPECT_FALSE(d->isVisible());
    EXPECT_TRUE(session_.database().isOpen()) << "the program's one database stays open";
    dao::Recordset r = session_.database().openRecordset(
        "SELECT * FROM [Potential Filters] WHERE [ID Potential] = 'LP 600 OW'", dao::RecordsetType::Snapshot);
    ASSERT_FALSE(r.eof());
    EXPECT_EQ(r.value("Type").text(), "LP-VTX");
    EXPECT_EQ(r.value("Lower Wavelength").number(), 600);
    EXPECT_EQ(r.value("Upper Wavelength").number(), 1000);
    EXPECT_TRUE(offered("VTX_EF5", "LP 600 OW"));
    EXPECT_FALSE(offered("VTX_NT1", "LP 600 OW"));
}

TEST_F(NewFiltersTest, SelectionFillsTheBoxesAndRemoveKeepsPlacedFilters)
{
    start();
    auto d = open();
    QTreeWidget* list = d->list();
    list->setCurrentItem(list->topLevelItem(1));   // LP 715 OW, placed in VTX_EF7
    EXPECT_EQ(child<QLineEdit>(*d, "FilterName")->text(), "LP 715 OW");
    EXPECT_EQ(child<QComboBox>(*d, "CmbType")->currentText(), "LP");
    EXPECT_EQ(child<QLineEdit>(*d, "Cut_Off")->text(), "715");
    EXPECT_TRUE(child<QCheckBox>(*d, "Check1")->isChecked());
    EXPECT_EQ(child<QLineEdit>(*d, "Producer")->text(), "Ostwell Optics");
    EXPECT_TRUE(child<QPushButton>(*d, "CmdDel")->isEnabled());
    QTest::mouseClick(child<QPushButton>(*d, "CmdDel"), Qt::LeftButton);
    EXPECT_EQ(boxes_.texts(), std::vector<std::string>{"LP 715 OW is in 'Available FilterPlacement' !"});
    EXPECT_EQ(list->topLevelItemCount(), 3);

    list->setCurrentItem(list->topLevelItem(2));   // NFT 520 OW, placed nowhere
    EXPECT_EQ(child<QComboBox>(*d, "CmbType")->currentText(), "FT");
    QTest::mouseClick(child<QPushButton>(*d, "CmdDel"), Qt::LeftButton);
    EXPECT_EQ(listed(*d), QStringList({"BP 650-710|Band pass 650-710 nm", "LP 715 OW|Ostwell long pass 715 nm"}));
    EXPECT_FALSE(offered("VTX_NT1", "NFT 520 OW"));
    EXPECT_NE(list->currentItem(), nullptr);
}

TEST_F(NewFiltersTest, AFailedCloseKeepsTheDialogAndItsRecordsAndEscapeClosesAsClose)
{
    start();
    auto d = open();
    child<QComboBox>(*d, "CmbType")->setCurrentText("FT");
    type(*d, "FilterName", "NFT 600 OW");
    type(*d, "Code", "OW-NFT600");
    type(*d, "Summary", "Ostwell splitter 600 nm");
    QTest::mouseClick(child<QPushButton>(*d, "CmdApply"), Qt::LeftButton);
    ASSERT_TRUE(d->catalogue().hasPending());
    // The name is taken behind the dialog's back: Close cannot write it.
    session_.database().execute("INSERT INTO [Potential Filters] ([ID Potential]) VALUES ('NFT 600 OW')");
    clickClose(*d);
    ASSERT_EQ(boxes_.shown.size(), 1u);
    EXPECT_TRUE(boxes_.texts()[0].starts_with("The new filters were not written and are kept: ")) << boxes_.texts()[0];
    EXPECT_TRUE(d->isVisible());
    EXPECT_TRUE(d->catalogue().hasPending());
    EXPECT_FALSE(offered("VTX_NT1", "NFT 600 OW"));

    session_.database().execute("DELETE FROM [Potential Filters] WHERE [ID Potential] = 'NFT 600 OW'");
    QTest::keyClick(d.get(), Qt::Key_Escape);
    EXPECT_FALSE(d->isVisible());
    EXPECT_FALSE(d->catalogue().hasPending());
    EXPECT_TRUE(offered("VTX_NT1", "NFT 600 OW"));
}

TEST_F(NewFiltersTest, AddNewOnTheMainFormOpensTheDialogModally)
{
    start();
    QString shownTitle;
    bool modal = false;
    QTimer::singleShot(0, [&] {
        auto* d = qobject_cast<NewFilters*>(QApplication::activeModalWidget());
        if (!d)
            return;
        shownTitle = d->windowTitle();
        modal = d->isModal();
        d->reject();
    });
    QTest::mouseClick(child<QPushButton>(*form_, "CmdAddNew"), Qt::LeftButton);
    EXPECT_EQ(shownTitle, "Add New Filter & Splitters");
    EXPECT_TRUE(modal);
    EXPECT_TRUE(session_.database().isOpen());
    EXPECT_TRUE(boxes_.shown.empty());
}

TEST_F(NewFiltersTest, TheDialogReopensWhereItWasClosed)
{
    start();
    auto d = open();
    d->move(d->pos() + QPoint(40, 30));
    QPoint at = d->pos();
    clickClose(*d);
    auto again = open();
    EXPECT_LE((again->pos() - at).manhattanLength(), 2);
}

} // namespace
} // namespace vyr::vtx::ui
