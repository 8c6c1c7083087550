#include "controls/qtwidget/controlwidget.h"
#include "controls/core/host.h"
#include "controls/qtwidget/controlclass.h"
#include "platform/com/dispcall.h"
#include "platform/com/font.h"
#include "platform/gdi/syscolors.h"
#include <QColor>
#include <QFont>
#include <QVBoxLayout>
#include <QtCore/private/qobject_p.h>

namespace vyr {

using com::ComPtr;
using com::Variant;

// Gives a ControlWidget its class's meta-object and answers the reads and writes of the
// properties that meta-object adds; everything else goes to the widget's own qt_metacall.
class ControlMetaData final : public QDynamicMetaObjectData {
public:
    explicit ControlMetaData(const ControlClass* c) : class_(c) {}
    QMetaObject* toDynamicMetaObject(QObject*) override { return const_cast<QMetaObject*>(class_->metaObject); }
    int metaCall(QObject* o, QMetaObject::Call call, int id, void** args) override
    {
        const int local = id - class_->metaObject->propertyOffset();
        const bool ours = local >= 0 && local < int(class_->properties.size());
        auto* w = static_cast<ControlWidget*>(o);
        if (ours && call == QMetaObject::ReadProperty) {
            w->readProperty(class_->properties[size_t(local)], args[0]);
            return -1;
        }
        if (ours && call == QMetaObject::WriteProperty) {
            w->writeProperty(class_->properties[size_t(local)], args[0]);
            // QMetaProperty::write (and so QObject::setProperty) answers with this status.
            if (FAILED(w->lastError_) && args[2])
                *static_cast<int*>(args[2]) = 0;
            return -1;
        }
        if (ours)
            return -1;
        return o->qt_metacall(call, id, args);
    }

private:
    const ControlClass* class_;
};

ControlWidget::ControlWidget(QWidget* parent) : QWidget(parent), host_(new controls::HostWidget(this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(host_);
    connect(host_, &controls::HostWidget::controlEvent, this, &ControlWidget::forwardEvent);
}

ControlWidget::ControlWidget(const QString& classId, QWidget* parent) : ControlWidget(parent)
{
    setControl(classId);
}

ControlWidget::~ControlWidget()
{
    host_->destroyControl();
}

HRESULT ControlWidget::setControl(const QString& classId)
{
    QObjectData* d = d_ptr.data();
    if (d->metaObject) {
        d->metaObject->objectDestroyed(this);
        d->metaObject = nullptr;
    }
    class_ = nullptr;
    lastError_ = host_->create(classId.toStdString());
    if (FAILED(lastError_))
        return lastError_;
    class_ = controlClass(host_->classId(), host_->dispatch(), &staticMetaObject);
    if (class_)
        d->metaObject = new ControlMetaData(class_);
    return lastError_;
}

bool ControlWidget::hasControl() const { return host_->control() != nullptr; }
CLSID ControlWidget::classId() const { return host_->classId(); }
IDispatch* ControlWidget::dispatch() const { return host_->dispatch(); }

HRESULT ControlWidget::setCommandServer(ICommandServer* server) { return host_->setCommandServer(server); }

void ControlWidget::setUserMode(bool on) { host_->setUserMode(on); }

QStringList ControlWidget::controlProperties() const
{
    QStringList names;
    if (class_)
        for (const ControlProperty& p : class_->properties)
            names << QString::fromUtf8(p.name);
    return names;
}

QSize ControlWidget::sizeHint() const { return {120, 32}; }

void ControlWidget::readProperty(const ControlProperty& p, void* out)
{
    Variant v;
    lastError_ = com::getProperty(host_->dispatch(), p.id, v);
    if (FAILED(lastError_))
        return;
    switch (p.kind) {
    case PropertyKind::String:
        *static_cast<QString*>(out) = QString::fromStdString(v.toString().value_or(std::string()));
        break;
    case PropertyKind::Bool: *static_cast<bool*>(out) = v.toBool().value_or(false); break;
    case PropertyKind::Int:
    case PropertyKind::Enum: *static_cast<int*>(out) = v.toLong().value_or(0); break;
    case PropertyKind::Double: *static_cast<double*>(out) = v.toDouble().value_or(0); break;
    case PropertyKind::Color:
        // A system colour reads as what it shows now; writing gives a plain colour.
        *static_cast<QColor*>(out) =
            gdi::ColorOf(v.type() == VT_UI4 ? v.get().ulVal : OLE_COLOR(v.toLong().value_or(0)));
        break;
    case PropertyKind::Font:
        if (v.type() == VT_DISPATCH || v.type() == VT_UNKNOWN)
            *static_cast<QFont*>(out) = com::qfontOf(v.get().punkVal);
        break;
    }
}

void ControlWidget::writeProperty(const ControlProperty& p, const void* in)
{
    if (!p.writable) {
        lastError_ = DISP_E_BADVARTYPE;
        return;
    }
    Variant v;
    switch (p.kind) {
    case PropertyKind::String: v = Variant::fromString(static_cast<const QString*>(in)->toStdString()); break;
    case PropertyKind::Bool: v = Variant::fromBool(*static_cast<const bool*>(in)); break;
    case PropertyKind::Int:
    case PropertyKind::Enum: v = Variant::fromLong(*static_cast<const int*>(in)); break;
    case PropertyKind::Double: v = Variant::fromDouble(*static_cast<const double*>(in)); break;
    case PropertyKind::Color:
        v = Variant::fromLong(int32_t(gdi::toColorRef(*static_cast<const QColor*>(in))));
        break;
    case PropertyKind::Font: {
        ComPtr<IFontDisp> font;
        if (FAILED(lastError_ = com::createFont(*static_cast<const QFont*>(in), font.put())))
            return;
        v = Variant::fromDispatch(font.get());
        lastError_ = com::putProperty(host_->dispatch(), p.id, v);
        if (FAILED(lastError_))
            lastError_ = com::putProperty(host_->dispatch(), p.id, v, true);
        return;
    }
    }
    lastError_ = com::putProperty(host_->dispatch(), p.id, v);
}

void ControlWidget::forwardEvent(int dispid, const QList<QVariant>& args)
{
    QString name = QString::number(dispid);
    if (class_)
        if (auto it = class_->events.find(dispid); it != class_->events.end())
            name = it->second;
    emit controlEvent(name, args);
}

} // namespace vyr
