#include "tools/designer/vyrwidgets.h"
#include "controls/core/classtable.h"
#include "controls/qtwidget/controlclass.h"
#include "controls/qtwidget/controlwidget.h"
#include "vyr/vyrwidgets.h"
#include <QIcon>
#include <memory>
#include <QPainter>
#include <QPixmap>

namespace vyr::designer {

ControlWidgetPlugin::ControlWidgetPlugin(const char* progId, const char* className, const char* description,
                                         QObject* parent)
    : QObject(parent),
      progId_(QString::fromUtf8(progId)),
      name_(QString::fromUtf8(widgetClassName(className))),
      description_(QString::fromUtf8(description))
{
}

QWidget* ControlWidgetPlugin::createWidget(QWidget* parent)
{
    ControlWidget* w = vyr::createWidget(name_, parent);
    if (!w)
        return nullptr;
    // In the form editor the control only shows itself, bound to a server that knows every
    // command, so that it draws as it will run; a loaded form's control acts, and the program
    // hands it its own server.
    if (initialized_) {
        w->setUserMode(false);
        w->setCommandServer(designServer_.get());
    }
    return w;
}

void ControlWidgetPlugin::initialize(QDesignerFormEditorInterface*)
{
    if (!designServer_)
        designServer_ = com::make<CommandServer>();
    initialized_ = true;
}

// The toolbox picture: the control itself as it first appears, drawn into a square.
QIcon ControlWidgetPlugin::icon() const
{
    if (!icon_.isNull())
        return icon_;
    std::unique_ptr<ControlWidget> made(vyr::createWidget(name_));
    if (!made || !made->hasControl())
        return {};
    ControlWidget& w = *made;
    w.setUserMode(false);
    w.setAttribute(Qt::WA_DontShowOnScreen);
    w.resize(48, 40); // squarer than the default size, so that the picture stays legible
    const QPixmap shot = w.grab();
    QPixmap square(32, 32);
    square.fill(Qt::transparent);
    QPainter p(&square);
    const QPixmap scaled = shot.scaled(square.size(), Qt::KeepAspectRatio, Qt::SmoothTransformation);
    p.drawPixmap((32 - scaled.width()) / 2, (32 - scaled.height()) / 2, scaled);
    p.end();
    icon_ = QIcon(square);
    return icon_;
}

QString ControlWidgetPlugin::domXml() const
{
    QString object = name_.mid(3);
    object[0] = object[0].toLower();
    return QStringLiteral("<ui language=\"c++\">\n"
                          " <widget class=\"%1\" name=\"%2\">\n"
                          "  <property name=\"geometry\"><rect><x>0</x><y>0</y><width>120</width>"
                          "<height>32</height></rect></property>\n"
                          " </widget>\n"
                          "</ui>\n")
        .arg(name_, object);
}

ControlWidgetCollection::ControlWidgetCollection(QObject* parent) : QObject(parent)
{
    for (const controls::ClassRow& row : controls::classTable())
        if (row.kind == controls::ClassKind::Control && row.create)
            widgets_ << new ControlWidgetPlugin(row.progId, row.className, row.description, this);
}

} // namespace vyr::designer
