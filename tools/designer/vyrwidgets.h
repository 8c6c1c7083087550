#pragma once
// The Qt Designer plugin of the control library: one widget box entry per control the library
// creates, in the group "Vyr", each the generated class of that control (VyrButton ...), whose
// header <vyr/vyrwidgets.h> a form compiled by uic includes. Designer shows the control in
// design mode, bound to a command server that accepts every command, and edits its Qt
// properties (enumerations by name, colours, fonts); QUiLoader uses the same plugin to create
// the controls of a .ui file at run time, in user mode.
#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>
#include <QObject>
#include "controls/qtwidget/commandserver.h"

namespace vyr::designer {

class ControlWidgetPlugin : public QObject, public QDesignerCustomWidgetInterface {
    Q_OBJECT
    Q_INTERFACES(QDesignerCustomWidgetInterface)
public:
    ControlWidgetPlugin(const char* progId, const char* className, const char* description, QObject* parent);

    QString name() const override { return name_; }
    QString group() const override { return QStringLiteral("Vyr"); }
    QString toolTip() const override { return description_; }
    QString whatsThis() const override { return description_; }
    QString includeFile() const override { return QStringLiteral("vyr/vyrwidgets.h"); }
    QIcon icon() const override;
    bool isContainer() const override { return false; }
    QWidget* createWidget(QWidget* parent) override;
    bool isInitialized() const override { return initialized_; }
    void initialize(QDesignerFormEditorInterface* core) override;
    QString domXml() const override;

private:
    QString progId_, name_, description_;
    mutable QIcon icon_;
    bool initialized_ = false;
    com::ComPtr<CommandServer> designServer_;
};

class ControlWidgetCollection : public QObject, public QDesignerCustomWidgetCollectionInterface {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "org.qt-project.Qt.QDesignerCustomWidgetCollectionInterface")
    Q_INTERFACES(QDesignerCustomWidgetCollectionInterface)
public:
    explicit ControlWidgetCollection(QObject* parent = nullptr);
    QList<QDesignerCustomWidgetInterface*> customWidgets() const override { return widgets_; }

private:
    QList<QDesignerCustomWidgetInterface*> widgets_;
};

} // namespace vyr::designer
