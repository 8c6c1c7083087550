// The Designer plugin: its widget box entries, and a .ui file written as Designer writes one
// (enumerations as Class::Key, colours, fonts, strings) loaded by QUiLoader into working
// controls that hold the saved values.
#include "controls/core/classtable.h"
#include "controls/core/host.h"
#include "controls/qtwidget/controlclass.h"
#include "controls/qtwidget/controlwidget.h"
#include "platform/com/font.h"
#include "controls/qtwidget/commandserver.h"
#include "vyr/vyrwidgets.h"
#include <QBuffer>
#include <QColor>
#include <QPluginLoader>
#include <QTest>
#include <QUiLoader>
#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>
#include <gtest/gtest.h>

using namespace vyr;
using com::Variant;

namespace {

Variant controlValue(const ControlWidget* w, const char* name)
{
    HRESULT hr = E_FAIL;
    Variant v = w->host()->property(name, &hr);
    EXPECT_EQ(hr, S_OK) << name;
    return v;
}

const char* kForm = R"(<?xml version="1.0" encoding="UTF-8"?>
<ui version="4.0">
 <class>Form</class>
 <widget class="QWidget" name="Form">
  <property name="geometry"><rect><x>0</x><y>0</y><width>320</width><height>200</height></rect></property>
  <widget class="VyrButton" name="start">
   <property name="geometry"><rect><x>10</x><y>10</y><width>120</width><height>40</height></rect></property>
   <property name="Caption"><string>&amp;Start</string></property>
   <property name="Command"><string>Go</string></property>
   <property name="ForeColor"><color><red>18</red><green>52</green><blue>86</blue></color></property>
   <property name="Font"><font><family>DejaVu Serif</family><pointsize>14</pointsize><bold>true</bold></font></property>
   <property name="CaptionPosition"><enum>VyrButton::RightBottom</enum></property>
  </widget>
  <widget class="VyrSlider" name="gain">
   <property name="geometry"><rect><x>10</x><y>60</y><width>200</width><height>40</height></rect></property>
   <property name="SliderMode"><enum>VyrSlider::Logarithmic</enum></property>
   <property name="Orientation"><enum>Vertical</enum></property>
  </widget>
  <widget class="VyrFrame" name="frame">
   <property name="geometry"><rect><x>10</x><y>110</y><width>200</width><height>80</height></rect></property>
   <property name="Caption"><string>Filters</string></property>
   <property name="CaptionEndColor"><color><red>255</red><green>0</green><blue>0</blue></color></property>
  </widget>
 </widget>
 <customwidgets>
  <customwidget><class>VyrButton</class><extends>QWidget</extends><header>controls/qtwidget/controlwidget.h</header></customwidget>
  <customwidget><class>VyrSlider</class><extends>QWidget</extends><header>controls/qtwidget/controlwidget.h</header></customwidget>
  <customwidget><class>VyrFrame</class><extends>QWidget</extends><header>controls/qtwidget/controlwidget.h</header></customwidget>
 </customwidgets>
</ui>
)";

} // namespace

TEST(DesignerPlugin, OffersEveryCreatableControlInTheVyrGroupWithAPicture)
{
    QPluginLoader loader(QStringLiteral(VYR_DESIGNER_PLUGIN));
    ASSERT_TRUE(loader.load()) << loader.errorString().toStdString();
    auto* collection = qobject_cast<QDesignerCustomWidgetCollectionInterface*>(loader.instance());
    ASSERT_TRUE(collection);
    QStringList names;
    for (QDesignerCustomWidgetInterface* w : collection->customWidgets()) {
        SCOPED_TRACE(w->name().toStdString());
        names << w->name();
        EXPECT_EQ(w->group(), "Vyr");
        EXPECT_FALSE(w->icon().isNull());
        EXPECT_EQ(w->includeFile(), "vyr/vyrwidgets.h") << "the header uic includes for the class";
        EXPECT_TRUE(w->domXml().contains(QStringLiteral("class=\"%1\"").arg(w->name())));
        std::unique_ptr<QWidget> made(w->createWidget(nullptr));
        auto* control = qobject_cast<ControlWidget*>(made.get());
        ASSERT_TRUE(control);
        EXPECT_TRUE(control->hasControl());
        EXPECT_EQ(QString::fromUtf8(control->metaObject()->className()), w->name());
        std::unique_ptr<ControlWidget> compiled(vyr::createWidget(w->name()));
        EXPECT_EQ(control->metaObject(), compiled->metaObject()) << "the compiled class, as a uic form has it";
    }
    QStringList expected;
    for (const controls::ClassRow& row : controls::classTable())
        if (row.kind == controls::ClassKind::Control && row.create)
            expected << QString::fromUtf8(widgetClassName(row.className));
    EXPECT_EQ(names, expected);
    EXPECT_TRUE(names.contains("VyrButton"));
    EXPECT_TRUE(names.contains("VyrValueEdit"));
}

TEST(DesignerPlugin, UiFileLoadsIntoWorkingControlsWithTheSavedValues)
{
    QUiLoader loader;
    loader.addPluginPath(QStringLiteral(VYR_DESIGNER_PLUGIN_DIR));
    ASSERT_TRUE(loader.availableWidgets().contains("VyrSlider"));
    QBuffer ui;
    ui.setData(kForm);
    ui.open(QIODevice::ReadOnly);
    std::unique_ptr<QWidget> form(loader.load(&ui));
    ASSERT_TRUE(form) << loader.errorString().toStdString();

    auto* start = form->findChild<ControlWidget*>("start");
    auto* gain = form->findChild<ControlWidget*>("gain");
    auto* frame = form->findChild<ControlWidget*>("frame");
    ASSERT_TRUE(start && gain && frame);
    EXPECT_EQ(controlValue(start, "Caption").toString(), "&Start");
    EXPECT_EQ(controlValue(start, "Command").toString(), "Go");
    EXPECT_EQ(controlValue(start, "ForeColor").toLong(), 0x563412);
    EXPECT_EQ(controlValue(start, "CaptionPosition").toLong(), 8);
    const QFont font = com::qfontOf(controlValue(start, "Font").get().punkVal);
    EXPECT_EQ(font.family(), "DejaVu Serif");
    EXPECT_EQ(font.pointSize(), 14);
    EXPECT_TRUE(font.bold());
    EXPECT_EQ(controlValue(gain, "SliderMode").toLong(), 1);
    EXPECT_EQ(controlValue(gain, "Orientation").toLong(), 1);
    EXPECT_EQ(controlValue(frame, "Caption").toString(), "Filters");
    EXPECT_EQ(controlValue(frame, "CaptionEndColor").toLong(), 0x0000FF);
    EXPECT_EQ(start->geometry(), QRect(10, 10, 120, 40));

    // The loaded button acts: a click runs its command on the program's server.
    auto server = com::make<vyr::CommandServer>();
    ASSERT_EQ(start->setCommandServer(server.get()), S_OK);
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    QTest::mouseClick(start->host()->controlWindow(), Qt::LeftButton, Qt::NoModifier, QPoint(30, 20));
    EXPECT_EQ((*server)["Go"].executed, 1);
}
