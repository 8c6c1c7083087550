#include "controls/qtwidget/controlwidget.h"
#include "controls/core/host.h"
#include "controls/qtwidget/controlclass.h"
#include "platform/com/dispcall.h"
#include "platform/com/font.h"
#include "platform/gdi/syscolors.h"
#include <QColor>
#include <QFont>
#include <QtCore/private/qobject_p.h>

namespace vyr {

using com::ComPtr;
using com::Variant;

namespace {

// The storage QMetaProperty::read and write hand over for a property of kind `k`.
QVariant fromStorage(PropertyKind k, const void* in)
{
    switch (k) {
    case PropertyKind::String: return *static_cast<const QString*>(in);
    case PropertyKind::Bool: return *static_cast<const bool*>(in);
    case PropertyKind::Int: return *static_cast<const int*>(in);
    case PropertyKind::Double: return *static_cast<const double*>(in);
    case PropertyKind::Color: return *static_cast<const QColor*>(in);
    case PropertyKind::Font: return *static_cast<const QFont*>(in);
    case PropertyKind::Enum: return *static_cast<const QVariant*>(in);
    }
    return {};
}

void toStorage(PropertyKind k, const QVariant& v, void* out)
{
    switch (k) {
    case PropertyKind::String: *static_cast<QString*>(out) = v.toString(); break;
    case PropertyKind::Bool: *static_cast<bool*>(out) = v.toBool(); break;
    case PropertyKind::Int: *static_cast<int*>(out) = v.toInt(); break;
    case PropertyKind::Double: *static_cast<double*>(out) = v.toDouble(); break;
    case PropertyKind::Color: *static_cast<QColor*>(out) = v.value<QColor>(); break;
    case PropertyKind::Font: *static_cast<QFont*>(out) = v.value<QFont>(); break;
    case PropertyKind::Enum: *static_cast<QVariant*>(out) = v; break;
    }
}

} // namespace

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
            const ControlProperty& p = class_->properties[size_t(local)];
            QVariant v;
            if (SUCCEEDED(w->read(p, v)))
                toStorage(p.kind, v, args[0]);
            return -1;
        }
        if (ours && call == QMetaObject::WriteProperty) {
            const ControlProperty& p = class_->properties[size_t(local)];
            // QMetaProperty::write (and so QObject::setProperty) answers with this status.
            if (FAILED(w->write(p, fromStorage(p.kind, args[0]))) && args[2])
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

ControlWidget::ControlWidget(QWidget* parent) : controls::HostWidget(parent)
{
    connect(this, &controls::HostWidget::controlEvent, this, &ControlWidget::forwardEvent);
}

ControlWidget::ControlWidget(const QString& classId, QWidget* parent) : ControlWidget(parent)
{
    setControl(classId);
}

ControlWidget::ControlWidget(const QString& classId, FixedClass, QWidget* parent) : ControlWidget(parent)
{
    lastError_ = create(classId.toStdString());
    if (SUCCEEDED(lastError_))
        class_ = controlClass(HostWidget::classId(), HostWidget::dispatch(), &staticMetaObject);
    fixed_ = true;
}

ControlWidget::~ControlWidget()
{
    destroyControl();
}

HRESULT ControlWidget::setControl(const QString& classId)
{
    if (fixed_)
        return lastError_ = E_ACCESSDENIED; // a fixed class hosts its one control
    QObjectData* d = d_ptr.data();
    if (d->metaObject) {
        d->metaObject->objectDestroyed(this);
        d->metaObject = nullptr;
    }
    class_ = nullptr;
    lastError_ = create(classId.toStdString());
    if (FAILED(lastError_))
        return lastError_;
    class_ = controlClass(HostWidget::classId(), HostWidget::dispatch(), &staticMetaObject);
    if (class_)
        d->metaObject = new ControlMetaData(class_);
    return lastError_;
}

bool ControlWidget::hasControl() const { return control() != nullptr; }
CLSID ControlWidget::classId() const { return HostWidget::classId(); }
IDispatch* ControlWidget::dispatch() const { return HostWidget::dispatch(); }

HRESULT ControlWidget::setCommandServer(ICommandServer* server) { return HostWidget::setCommandServer(server); }

void ControlWidget::setUserMode(bool on) { HostWidget::setUserMode(on); }

QStringList ControlWidget::controlProperties() const
{
    QStringList names;
    if (class_)
        for (const ControlProperty& p : class_->properties)
            names << QString::fromUtf8(p.name);
    return names;
}

QSize ControlWidget::sizeHint() const { return {120, 32}; }

QVariant ControlWidget::controlProperty(DISPID id) const
{
    const ControlProperty* p = class_ ? class_->property(id) : nullptr;
    QVariant v;
    if (!p)
        lastError_ = DISP_E_MEMBERNOTFOUND;
    else if (SUCCEEDED(read(*p, v)) && p->kind == PropertyKind::Enum)
        v = v.toInt();
    return v;
}

bool ControlWidget::setControlProperty(DISPID id, const QVariant& value)
{
    const ControlProperty* p = class_ ? class_->property(id) : nullptr;
    if (!p) {
        lastError_ = DISP_E_MEMBERNOTFOUND;
        return false;
    }
    return SUCCEEDED(write(*p, value));
}

HRESULT ControlWidget::read(const ControlProperty& p, QVariant& out) const
{
    Variant v;
    lastError_ = com::getProperty(HostWidget::dispatch(), p.id, v);
    if (FAILED(lastError_))
        return lastError_;
    switch (p.kind) {
    case PropertyKind::String: out = QString::fromStdString(v.toString().value_or(std::string())); break;
    case PropertyKind::Bool: out = v.toBool().value_or(false); break;
    case PropertyKind::Int:
    case PropertyKind::Enum: out = int(v.toLong().value_or(0)); break;
    case PropertyKind::Double: out = v.toDouble().value_or(0); break;
    case PropertyKind::Color:
        // A system colour reads as what it shows now; writing gives a plain colour.
        out = gdi::ColorOf(v.type() == VT_UI4 ? v.get().ulVal : OLE_COLOR(v.toLong().value_or(0)));
        break;
    case PropertyKind::Font:
        out = (v.type() == VT_DISPATCH || v.type() == VT_UNKNOWN) ? com::qfontOf(v.get().punkVal) : QFont();
        break;
    }
    return lastError_;
}

HRESULT ControlWidget::write(const ControlProperty& p, const QVariant& in)
{
    if (!p.writable)
        return lastError_ = DISP_E_BADVARTYPE;
    Variant v;
    switch (p.kind) {
    case PropertyKind::String: v = Variant::fromString(in.toString().toStdString()); break;
    case PropertyKind::Bool: v = Variant::fromBool(in.toBool()); break;
    case PropertyKind::Int: v = Variant::fromLong(in.toInt()); break;
    case PropertyKind::Double: v = Variant::fromDouble(in.toDouble()); break;
    case PropertyKind::Enum: {
        // A key of the enumeration ("Logarithmic", "VyrSlider::Logarithmic") or a number; any
        // other text is not one of the enumeration's values.
        bool ok = false;
        int value = 0;
        const int type = in.typeId();
        if (type == QMetaType::QString || type == QMetaType::QByteArray) {
            QByteArray key = in.toByteArray();
            if (const qsizetype scope = key.lastIndexOf("::"); scope >= 0)
                key = key.mid(scope + 2);
            if (const ControlEnum* e = class_->enumeration(p.enumName))
                value = e->valueOf(key, &ok);
        } else if (in.canConvert<int>()) {
            value = in.toInt(&ok);
        }
        if (!ok)
            return lastError_ = DISP_E_TYPEMISMATCH;
        v = Variant::fromLong(value);
        break;
    }
    case PropertyKind::Color:
        v = Variant::fromLong(int32_t(gdi::toColorRef(in.value<QColor>())));
        break;
    case PropertyKind::Font: {
        ComPtr<IFontDisp> font;
        if (FAILED(lastError_ = com::createFont(in.value<QFont>(), font.put())))
            return lastError_;
        v = Variant::fromDispatch(font.get());
        lastError_ = com::putProperty(HostWidget::dispatch(), p.id, v);
        if (FAILED(lastError_))
            lastError_ = com::putProperty(HostWidget::dispatch(), p.id, v, true);
        return lastError_;
    }
    }
    return lastError_ = com::putProperty(HostWidget::dispatch(), p.id, v);
}

void ControlWidget::eventRaised(DISPID, const QVariantList&) {}

void ControlWidget::forwardEvent(int dispid, const QList<QVariant>& args)
{
    QString name = QString::number(dispid);
    if (class_)
        if (auto it = class_->events.find(dispid); it != class_->events.end())
            name = it->second;
    emit controlEvent(name, args);
    eventRaised(dispid, args);
}

} // namespace vyr
