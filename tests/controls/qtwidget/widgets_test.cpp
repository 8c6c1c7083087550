// The generated class of each control (<vyr/vyrwidgets.h>): C++ accessors that reach the
// control, enumerations readable by name through the meta-object, typed signals from real
// mouse input, and refused writes reported through lastError().
#include "controls/core/host.h"
#include "platform/com/dispcall.h"
#include "controls/qtwidget/commandserver.h"
#include "vyr/vyrwidgets.h"
#include <QMetaEnum>
#include <QMetaProperty>
#include <QTest>
#include <gtest/gtest.h>

using namespace vyr;

TEST(GeneratedWidgets, EveryClassHostsItsControlAndReadsEveryProperty)
{
    const QStringList names = widgetClassNames();
    EXPECT_GE(names.size(), 20);
    for (const QString& name : names) {
        std::unique_ptr<ControlWidget> w(createWidget(name));
        ASSERT_TRUE(w) << name.toStdString();
        EXPECT_TRUE(w->hasControl()) << name.toStdString();
        EXPECT_EQ(w->metaObject()->className(), name);
        EXPECT_EQ(w->setControl("VyrControls.Button"), E_ACCESSDENIED) << "the class stays fixed";
        const QMetaObject* meta = w->metaObject();
        for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i) {
            const QMetaProperty p = meta->property(i);
            EXPECT_TRUE(p.read(w.get()).isValid()) << name.toStdString() << "." << p.name();
            EXPECT_EQ(w->lastError(), S_OK) << name.toStdString() << "." << p.name();
        }
    }
    EXPECT_EQ(createWidget("VyrNothing"), nullptr);
}

TEST(GeneratedWidgets, EnumerationsAreQtEnumerationsReadBackByName)
{
    VyrSlider slider;
    const QMetaObject& meta = VyrSlider::staticMetaObject;
    const QMetaEnum mode = meta.enumerator(meta.indexOfEnumerator("SliderMode"));
    ASSERT_TRUE(mode.isValid());
    EXPECT_EQ(mode.keyToValue("Logarithmic"), 1);

    slider.setSliderMode(VyrSlider::Logarithmic);
    EXPECT_EQ(slider.lastError(), S_OK);
    EXPECT_EQ(slider.sliderMode(), VyrSlider::Logarithmic);
    EXPECT_EQ(slider.host()->property("SliderMode").toLong(), 1) << "the control holds it";
    const QMetaProperty p = meta.property(meta.indexOfProperty("SliderMode"));
    ASSERT_TRUE(p.isEnumType());
    EXPECT_STREQ(p.enumerator().valueToKey(p.read(&slider).toInt()), "Logarithmic");
    EXPECT_TRUE(slider.setProperty("SliderMode", QStringLiteral("List")));
    EXPECT_EQ(slider.sliderMode(), VyrSlider::List);
    // Qt itself refuses a key the enumeration lacks before the widget is asked.
    EXPECT_FALSE(slider.setProperty("SliderMode", QStringLiteral("Bogus")));
    EXPECT_EQ(slider.sliderMode(), VyrSlider::List);
}

TEST(GeneratedWidgets, RefusedWritesOfTheRunTimeClassSetLastError)
{
    ControlWidget w("VyrControls.Slider");
    ASSERT_TRUE(w.hasControl());
    struct Case {
        const char* what;
        QVariant value;
        HRESULT error;
    };
    const Case cases[] = {
        {"a key the enumeration lacks", QStringLiteral("Bogus"), DISP_E_TYPEMISMATCH},
        {"a scoped key of another class", QStringLiteral("VyrSlider::Sideways"), DISP_E_TYPEMISMATCH},
        {"a list", QVariant(QStringList{"Normal"}), DISP_E_TYPEMISMATCH},
    };
    ASSERT_TRUE(w.setProperty("SliderMode", QStringLiteral("VyrSlider::Logarithmic")));
    EXPECT_EQ(w.lastError(), S_OK);
    for (const Case& c : cases) {
        EXPECT_FALSE(w.setProperty("SliderMode", c.value)) << c.what;
        EXPECT_EQ(w.lastError(), c.error) << c.what;
        EXPECT_EQ(w.host()->property("SliderMode").toLong(), 1) << c.what;
    }
}

TEST(GeneratedWidgets, AButtonClickEmitsTypedSignalsInOrder)
{
    QWidget top;
    top.resize(200, 80);
    auto* button = new VyrButton(&top);
    button->setGeometry(10, 10, 120, 40);
    button->setCaption(QStringLiteral("Go"));
    button->setCommand(QStringLiteral("Go")); // a control without a command and a server is disabled
    auto server = CommandServer::create();
    button->setCommandServer(server.get());
    QStringList order;
    QObject::connect(button, &VyrButton::clicked, [&] { order << "clicked"; });
    QObject::connect(button, &VyrButton::mouseDown, [&](int b, int shift, int x, int y) {
        order << QStringLiteral("mouseDown %1 %2 %3 %4").arg(b).arg(shift).arg(x).arg(y);
    });
    QObject::connect(button, &VyrButton::mouseUp, [&](int b, int shift, int, int) {
        order << QStringLiteral("mouseUp %1 %2").arg(b).arg(shift);
    });
    top.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&top));
    QTest::mouseClick(button->host()->controlWindow(), Qt::LeftButton, Qt::ShiftModifier, QPoint(30, 20));
    EXPECT_EQ(order, (QStringList{"mouseDown 1 1 30 20", "clicked", "mouseUp 1 1", "clicked"}));
}
