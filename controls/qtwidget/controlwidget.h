#pragma once
// vyr::ControlWidget: a control of libvyrcontrols in a Qt program. It hosts the control named by
// a ProgID or class identifier, offers the control's properties as Qt properties (read from the
// control's type information, so QObject::setProperty, QMetaProperty, Qt Designer and QUiLoader
// reach them), reports its events as one signal with the event's name and arguments, and hands
// it a command server. The classes of <vyr/vyrbutton.h>, <vyr/vyrslider.h> ... are
// ControlWidgets of one class each, with C++ accessors, enumerations and typed signals.
//
//     vyr::ControlWidget button("VyrControls.Button");
//     button.setProperty("Caption", "&Start");
//     button.setCommandServer(server);
//     QObject::connect(&button, &vyr::ControlWidget::controlEvent, ...);
#include "controls/core/host.h"
#include "controls/core/vyrcontrols.h"
#include <QVariantList>
#include <QWidget>

namespace vyr {

struct ControlClass;
struct ControlProperty;

// The widget is the control's host: the control draws in it and gets its events, one widget
// per control.
class ControlWidget : public controls::HostWidget {
    Q_OBJECT
public:
    // Qt's properties by name (the control's among them through the meta-object), not the
    // host's COM access.
    using QObject::property;
    using QObject::setProperty;

    explicit ControlWidget(QWidget* parent = nullptr);
    // Creates the control at once; hasControl() and lastError() tell whether that worked.
    explicit ControlWidget(const QString& classId, QWidget* parent = nullptr);
    ~ControlWidget() override;

    // Hosts a new control of `classId` ("VyrControls.Button", "{A19F6964-...}") in place of the
    // current one; the widget's meta-object becomes that class's. On failure the widget is
    // empty and the result says why (REGDB_E_CLASSNOTREG for an unknown name).
    HRESULT setControl(const QString& classId);
    bool hasControl() const;
    CLSID classId() const;
    IDispatch* dispatch() const;
    controls::HostWidget* host() const { return const_cast<ControlWidget*>(this); }

    // The control's command server (null disconnects it).
    HRESULT setCommandServer(ICommandServer* server);
    // Design mode (false) as a form editor shows the control: it does not act on input.
    void setUserMode(bool on);

    // The names of the control's Qt properties, in the order of its interface.
    QStringList controlProperties() const;
    // The result of the control's last property read or write through the meta-object.
    HRESULT lastError() const { return lastError_; }

    // A property of the control by dispatch identifier: a QString, bool, int, double, QColor
    // or QFont as the property's type is, an int for an enumeration (which also takes its key
    // as a string when written). Both set lastError(); a refused write returns false.
    QVariant controlProperty(DISPID id) const;
    bool setControlProperty(DISPID id, const QVariant& value);

    QSize sizeHint() const override;

signals:
    // An event of the control ("Click", "Change", "MouseDown" ...) with its arguments in order.
    void controlEvent(const QString& name, const QVariantList& args);

protected:
    // A widget whose class is fixed at compile time (VyrButton ...): it keeps its own
    // meta-object, and setControl() refuses to change it (E_ACCESSDENIED).
    struct FixedClass {};
    ControlWidget(const QString& classId, FixedClass, QWidget* parent);
    // Every event of the control, after controlEvent was emitted; a fixed class emits its
    // typed signal here.
    virtual void eventRaised(DISPID id, const QVariantList& args);

private:
    friend class ControlMetaData;
    HRESULT read(const ControlProperty& p, QVariant& out) const;
    HRESULT write(const ControlProperty& p, const QVariant& in);
    void forwardEvent(int dispid, const QList<QVariant>& args);

    const ControlClass* class_ = nullptr;
    mutable HRESULT lastError_ = S_OK;
    bool fixed_ = false;
};

} // namespace vyr
