// vyr::ControlWidget through Qt's own machinery: properties by name through QObject and
// QMetaProperty (strings, commands, colours, fonts, enumerations by key), events as a signal
// from real mouse input, the command server, and class changes and unknown classes.
#include "controls/core/host.h"
#include "controls/qtwidget/controlwidget.h"
#include "platform/com/dispcall.h"
#include "platform/com/font.h"
#include "platform/gdi/syscolors.h"
#include "controls/qtwidget/commandserver.h"
#include <QColor>
#include <QFont>
#include <QMetaProperty>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace vyr;
using com::Variant;

namespace {

Variant controlValue(const ControlWidget& w, const char* name)
{
    HRESULT hr = E_FAIL;
    Variant v = w.host()->property(name, &hr);
    EXPECT_EQ(hr, S_OK) << name;
    return v;
}

QMetaProperty metaProperty(const QObject& o, const char* name)
{
    const int i = o.metaObject()->indexOfProperty(name);
    EXPECT_GE(i, 0) << name;
    return i >= 0 ? o.metaObject()->property(i) : QMetaProperty();
}

} // namespace

TEST(ControlWidget, StringsCommandsColoursAndFontsReachTheControl)
{
    ControlWidget w("VyrControls.Button");
    ASSERT_TRUE(w.hasControl());
    EXPECT_EQ(w.classId(), controls::CLSID_Button);
    EXPECT_STREQ(w.metaObject()->className(), "VyrButton");
    EXPECT_TRUE(w.metaObject()->inherits(&ControlWidget::staticMetaObject));
    EXPECT_TRUE(qobject_cast<ControlWidget*>(&w));

    EXPECT_TRUE(w.setProperty("Caption", QStringLiteral("&Start")));
    EXPECT_EQ(controlValue(w, "Caption").toString(), "&Start");
    EXPECT_EQ(w.property("Caption").toString(), "&Start");
    EXPECT_EQ(metaProperty(w, "Caption").metaType(), QMetaType::fromType<QString>());

    EXPECT_TRUE(w.setProperty("Command", QStringLiteral("Go")));
    EXPECT_EQ(controlValue(w, "Command").toString(), "Go");

    // Colours travel as OLE_COLOR 0x00BBGGRR.
    EXPECT_TRUE(w.setProperty("ForeColor", QColor(0x12, 0x34, 0x56)));
    EXPECT_EQ(controlValue(w, "ForeColor").toLong(), 0x563412);
    EXPECT_EQ(w.property("ForeColor").value<QColor>(), QColor(0x12, 0x34, 0x56));
    // A system colour reads as the colour it stands for.
    ASSERT_EQ(w.host()->setProperty("BackColor", Variant::fromULong(0x8000000F)), S_OK);
    EXPECT_EQ(w.property("BackColor").value<QColor>(), gdi::SysColor(15));
    EXPECT_EQ(controlValue(w, "BackColor").get().ulVal, 0x8000000Fu) << "reading changes nothing";

    QFont font("DejaVu Serif", 14);
    font.setBold(true);
    EXPECT_TRUE(w.setProperty("Font", font));
    const QFont stored = com::qfontOf(controlValue(w, "Font").get().punkVal);
    EXPECT_EQ(stored.family(), "DejaVu Serif");
    EXPECT_EQ(stored.pointSize(), 14);
    EXPECT_TRUE(stored.bold());
    const QFont read = w.property("Font").value<QFont>();
    EXPECT_EQ(read.family(), "DejaVu Serif");
    EXPECT_TRUE(read.bold());

    // Pictures and hidden members are no Qt properties; names are the interface's, in order.
    const QStringList names = w.controlProperties();
    EXPECT_EQ(names.value(0), "Command") << names.join(',').toStdString();
    EXPECT_TRUE(names.contains("Caption"));
    EXPECT_FALSE(names.contains("Picture"));
    EXPECT_EQ(w.metaObject()->indexOfProperty("Picture"), -1);
}

TEST(ControlWidget, EnumerationsGoByKeyOrValueAndRefuseOthers)
{
    ControlWidget w("VyrControls.Slider");
    ASSERT_TRUE(w.hasControl());
    const QMetaProperty mode = metaProperty(w, "SliderMode");
    ASSERT_TRUE(mode.isEnumType());
    const QMetaEnum e = mode.enumerator();
    EXPECT_STREQ(e.name(), "SliderMode");
    ASSERT_EQ(e.keyCount(), 3);
    EXPECT_STREQ(e.key(1), "Logarithmic");
    EXPECT_EQ(e.value(2), 2);

    EXPECT_TRUE(w.setProperty("SliderMode", QStringLiteral("Logarithmic")));
    EXPECT_EQ(controlValue(w, "SliderMode").toLong(), 1);
    EXPECT_EQ(w.property("SliderMode").toInt(), 1);
    EXPECT_TRUE(w.setProperty("SliderMode", 2));
    EXPECT_EQ(controlValue(w, "SliderMode").toLong(), 2);
    EXPECT_FALSE(w.setProperty("SliderMode", QStringLiteral("Sideways")));
    EXPECT_EQ(controlValue(w, "SliderMode").toLong(), 2) << "an unknown key changes nothing";

    // A value that does not convert to the property's type never reaches the control.
    const Variant step = controlValue(w, "Step");
    EXPECT_EQ(metaProperty(w, "Step").metaType(), QMetaType::fromType<double>());
    EXPECT_FALSE(w.setProperty("Step", QStringLiteral("many")));
    EXPECT_TRUE(controlValue(w, "Step") == step);
    EXPECT_TRUE(w.setProperty("Step", QStringLiteral("2.5")));
    EXPECT_EQ(controlValue(w, "Step").toDouble(), 2.5);
}

TEST(ControlWidget, EventsArriveAsOneSignalWithNamesAndTheServerExecutes)
{
    QWidget top;
    top.resize(200, 80);
    auto* w = new ControlWidget(&top);
    ASSERT_EQ(w->setControl(QStringLiteral("{A19F6964-7884-11D0-BEF3-00400538977D}")), S_OK);
    w->setGeometry(10, 10, 120, 40);
    auto server = com::make<vyr::CommandServer>();
    w->setProperty("Command", QStringLiteral("Go"));
    ASSERT_EQ(w->setCommandServer(server.get()), S_OK);
    top.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&top));
    QSignalSpy spy(w, &ControlWidget::controlEvent);
    QWidget* window = w->host()->controlWindow();
    ASSERT_TRUE(window);
    QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, QPoint(30, 20));
    QStringList names;
    for (const QList<QVariant>& s : spy)
        names << s[0].toString();
    EXPECT_EQ(names, (QStringList{"MouseDown", "Click", "MouseUp", "Click"})) << names.join(',').toStdString();
    ASSERT_FALSE(spy.isEmpty());
    const QVariantList down = spy[0][1].toList();
    ASSERT_EQ(down.size(), 4);
    EXPECT_EQ(down[2].toInt(), 30);
    EXPECT_EQ(down[3].toInt(), 20);
    EXPECT_EQ((*server)["Go"].executed, 1);
    // Without the server the command goes nowhere.
    ASSERT_EQ(w->setCommandServer(nullptr), S_OK);
    QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, QPoint(30, 20));
    EXPECT_EQ((*server)["Go"].executed, 1);
}

TEST(ControlWidget, ClassesShareMetaObjectsAndUnknownClassesLeaveThePlainWidget)
{
    ControlWidget a("VyrControls.Frame"), b("VyrControls.Frame.1");
    EXPECT_EQ(a.metaObject(), b.metaObject());
    EXPECT_STREQ(a.metaObject()->className(), "VyrFrame");
    EXPECT_GE(a.metaObject()->indexOfProperty("CaptionTextColor"), 0);

    // A new class replaces the properties.
    ASSERT_EQ(b.setControl("VyrControls.Slider"), S_OK);
    EXPECT_STREQ(b.metaObject()->className(), "VyrSlider");
    EXPECT_EQ(b.metaObject()->indexOfProperty("CaptionTextColor"), -1);
    EXPECT_GE(b.metaObject()->indexOfProperty("SliderMode"), 0);

    EXPECT_EQ(b.setControl("Nobody.Such.Control"), REGDB_E_CLASSNOTREG);
    EXPECT_FALSE(b.hasControl());
    EXPECT_EQ(b.metaObject(), &ControlWidget::staticMetaObject);
    EXPECT_TRUE(b.controlProperties().isEmpty());
    EXPECT_EQ(b.dispatch(), nullptr);
    EXPECT_EQ(b.setCommandServer(nullptr), E_NOINTERFACE);
    // The widget's own properties keep working.
    EXPECT_TRUE(b.setProperty("toolTip", QStringLiteral("empty")));
    EXPECT_EQ(b.toolTip(), "empty");
    // A class the type library declares but the module does not create is no control either.
    EXPECT_TRUE(FAILED(b.setControl("{A30BB631-2196-4E0E-A44F-D93D8806462E}")));
}

// The widget is the control's host: a Button is one widget, a ValueEdit the widget and its
// field; with windows of their own each has one more, inside the widget. (Input through the
// widget is what the other tests here send.)
TEST(ControlWidget, IsOneWidgetWithTheControlDrawnInIt)
{
    const bool windows = controls::HostWidget::defaultActivation() == controls::HostWidget::Activation::Window;
    for (const auto& [classId, children] : {std::pair{"VyrControls.Button", 0}, std::pair{"VyrControls.ValueEdit", 1}}) {
        SCOPED_TRACE(classId);
        ControlWidget w(classId);
        w.resize(120, 30);
        w.show();
        ASSERT_TRUE(w.hasControl());
        EXPECT_EQ(w.host(), &w);
        EXPECT_EQ(w.isWindowless(), !windows);
        EXPECT_EQ(int(w.findChildren<QWidget*>().size()), children + (windows ? 1 : 0));
    }
}
