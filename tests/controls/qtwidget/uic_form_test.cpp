// A form with one widget of every control class, compiled by uic (AUTOUIC) against the
// generated classes: it builds, shows, and every control holds each property the form saved.
#include "ui_allcontrols.h"
#include "vyr/vyrwidgets.h"
#include <QFile>
#include <QMetaEnum>
#include <QMetaProperty>
#include <QTest>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

namespace {

struct Saved {
    QString widget, property, kind, text; // kind: string, number, bool, enum, color, font
    QVariant value;
};

// The properties of the form's Vyr widgets as the .ui file holds them.
std::vector<Saved> savedProperties()
{
    QFile file(QStringLiteral(VYR_ALLCONTROLS_UI));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    std::vector<Saved> out;
    QString widget;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == u"widget") {
            widget = xml.attributes().value(QLatin1String("class")).startsWith(QLatin1String("Vyr")) ? xml.attributes().value(QLatin1String("name")).toString() : QString();
        } else if (xml.name() == u"property" && !widget.isEmpty() && xml.attributes().value(QLatin1String("name")) != QLatin1String("geometry")) {
            Saved s{widget, xml.attributes().value(QLatin1String("name")).toString(), {}, {}, {}};
            xml.readNextStartElement();
            s.kind = xml.name().toString();
            if (s.kind == u"color") {
                int rgb[3] = {};
                for (int i = 0; i < 3 && xml.readNextStartElement(); ++i)
                    rgb[i] = xml.readElementText().toInt();
                s.value = QColor(rgb[0], rgb[1], rgb[2]);
            } else if (s.kind == u"font") {
                QFont f;
                while (xml.readNextStartElement()) {
                    const QString part = xml.name().toString();
                    const QString text = xml.readElementText();
                    if (part == u"family")
                        f.setFamily(text);
                    else if (part == u"pointsize")
                        f.setPointSize(text.toInt());
                    else if (part == u"bold")
                        f.setBold(text == u"true");
                }
                s.value = f;
            } else {
                s.text = xml.readElementText();
            }
            out.push_back(s);
        }
    }
    return out;
}

} // namespace

TEST(UicForm, EveryControlClassBuildsAndHoldsTheSavedProperties)
{
    QWidget form;
    Ui::AllControls ui;
    ui.setupUi(&form);
    const auto controls = form.findChildren<vyr::ControlWidget*>();
    EXPECT_EQ(controls.size(), vyr::widgetClassNames().size()) << "one widget of every class";
    QStringList classes;
    for (const vyr::ControlWidget* w : controls) {
        EXPECT_TRUE(w->hasControl()) << w->objectName().toStdString();
        classes << w->metaObject()->className();
    }
    classes.sort();
    QStringList all = vyr::widgetClassNames();
    all.sort();
    EXPECT_EQ(classes, all);
    EXPECT_EQ(ui.slider->sliderMode(), VyrSlider::Normal) << "members are typed: " << ui.slider->metaObject()->className();

    const std::vector<Saved> saved = savedProperties();
    EXPECT_GT(saved.size(), 50u);
    for (const Saved& s : saved) {
        auto* w = form.findChild<vyr::ControlWidget*>(s.widget);
        ASSERT_TRUE(w) << s.widget.toStdString();
        const std::string where = (s.widget + "." + s.property).toStdString();
        const QMetaProperty p = w->metaObject()->property(w->metaObject()->indexOfProperty(s.property.toUtf8()));
        ASSERT_TRUE(p.isValid()) << where;
        const QVariant now = p.read(w);
        if (s.kind == u"string") {
            EXPECT_EQ(now.toString(), s.text) << where;
        } else if (s.kind == u"number") {
            EXPECT_EQ(now.toString(), s.text) << where;
        } else if (s.kind == u"bool") {
            EXPECT_EQ(now.toBool(), s.text == u"true") << where;
        } else if (s.kind == u"enum") {
            EXPECT_EQ(QString::fromLatin1(p.enumerator().valueToKey(now.toInt())), s.text.section("::", 1)) << where;
        } else if (s.kind == u"color") {
            EXPECT_EQ(now.value<QColor>().rgb(), s.value.value<QColor>().rgb()) << where;
        } else if (s.kind == u"font") {
            const QFont f = now.value<QFont>(), want = s.value.value<QFont>();
            EXPECT_EQ(f.family(), want.family()) << where;
            EXPECT_EQ(f.pointSize(), want.pointSize()) << where;
            EXPECT_EQ(f.bold(), want.bold()) << where;
        } else {
            ADD_FAILURE() << where << ": a kind of saved value the test does not know: " << s.kind.toStdString();
        }
    }

    form.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&form));
}
