// vyr-widgetgen: writes the C++ class of every creatable control (VyrButton, VyrSlider ...) from
// the control library's type information, so that the descriptor tables stay the only place a
// property, an enumeration or an event is declared.
//   vyr-widgetgen OUTDIR
// writes OUTDIR/tree/vyr/vyrwidgets.h (for the build), OUTDIR/install/vyr/vyrwidgets.h (the
// installed form, including <vyr/controlwidget.h>), OUTDIR/vyrwidgets.cpp and
// OUTDIR/classes.txt (the class names, one a line). A file whose text is unchanged is left
// alone, so that nothing that includes it is rebuilt.
#include "controls/core/classtable.h"
#include "controls/core/vyrcontrols.h"
#include "controls/qtwidget/controlclass.h"
#include "platform/com/bstr.h"
#include "platform/com/comptr.h"
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QWidget>
#include <cstdio>
#include <set>

using vyr::ControlClass;
using vyr::ControlEnum;
using vyr::ControlProperty;
using vyr::PropertyKind;

namespace {

QByteArray lowerFirst(QByteArray s)
{
    if (!s.isEmpty())
        s[0] = char(QChar::toLower(uint(uchar(s[0]))));
    return s;
}

// Accessors are named as uic calls them: `Caption` -> caption(), setCaption(). One that shares
// its name with a member of QWidget (setStyle, setFont, setEnabled ...) hides that member in the
// generated class, so that a form's setStyle(VyrRadioButton::Rhomb) reaches the control; the
// QWidget member stays reachable through a QWidget pointer. Names whose hiding would break the
// widget are changed to control<Name>: QWidget's virtual setVisible (it would be overridden),
// and the members of QObject and ControlWidget that programs and Qt call on the class itself.
const std::set<QByteArray>& reserved()
{
    static const std::set<QByteArray> names{
        "setVisible", "sizeHint", "minimumSizeHint", "event", "metaObject", "property", "setProperty",
        "parent", "setParent", "objectName", "setObjectName", "children", "thread", "inherits", "deleteLater",
        "setControl", "setCommandServer", "setUserMode", "setControlProperty", "controlProperty", "host",
        "dispatch", "classId", "hasControl", "lastError", "controlProperties"};
    return names;
}

struct Accessors {
    QByteArray getter, setter;
};

Accessors accessorNames(const QByteArray& property)
{
    Accessors a{lowerFirst(property), "set" + property};
    if (reserved().count(a.getter) || reserved().count(a.setter))
        a = {"control" + property, "setControl" + property};
    return a;
}

QByteArray signalName(const QString& event)
{
    static const std::map<QString, QByteArray> past{
        {"Click", "clicked"}, {"DblClick", "doubleClicked"}, {"Change", "changed"}, {"Scroll", "scrolled"}};
    if (auto it = past.find(event); it != past.end())
        return it->second;
    return lowerFirst(event.toUtf8());
}

QByteArray paramName(const QByteArray& name)
{
    if (name == "nShiftState" || name == "Shift")
        return "shift";
    // Hungarian prefixes of the type library (nButton, lValue) go.
    if (name.size() > 1 && QChar::isLower(uint(uchar(name[0]))) && QChar::isUpper(uint(uchar(name[1]))))
        return lowerFirst(name.mid(1));
    return lowerFirst(name);
}

QByteArray paramType(VARTYPE vt)
{
    switch (vt) {
    case VT_I1: case VT_UI1: case VT_I2: case VT_UI2: case VT_I4: case VT_UI4: case VT_INT: case VT_UINT: return "int";
    case VT_R4: case VT_R8: return "double";
    case VT_BOOL: return "bool";
    case VT_BSTR: return "QString";
    default: return "QVariant";
    }
}

QByteArray fromVariant(VARTYPE vt, const QByteArray& arg)
{
    const QByteArray t = paramType(vt);
    if (t == "int") return arg + ".toInt()";
    if (t == "double") return arg + ".toDouble()";
    if (t == "bool") return arg + ".toBool()";
    if (t == "QString") return arg + ".toString()";
    return arg;
}

QByteArray valueType(const ControlProperty& p) { return qtValueType(p, p.enumName); }

QByteArray argType(const ControlProperty& p)
{
    const QByteArray t = valueType(p);
    return (t == "QString" || t == "QColor" || t == "QFont") ? "const " + t + "&" : t;
}

QByteArray getterBody(const ControlProperty& p)
{
    const QByteArray read = "controlProperty(" + QByteArray::number(int(p.id)) + ")";
    switch (p.kind) {
    case PropertyKind::String: return read + ".toString()";
    case PropertyKind::Bool: return read + ".toBool()";
    case PropertyKind::Int: return read + ".toInt()";
    case PropertyKind::Double: return read + ".toDouble()";
    case PropertyKind::Color: return read + ".value<QColor>()";
    case PropertyKind::Font: return read + ".value<QFont>()";
    case PropertyKind::Enum: return p.enumName + "(" + read + ".toInt())";
    }
    return {};
}

// A class's enumerators share its scope: an enumeration with a key another one of the class
// already has, or a key that names a member, gets its type name before each key.
std::map<QByteArray, std::vector<std::pair<QByteArray, int>>> classKeys(const ControlClass& c)
{
    std::set<QByteArray> taken;
    for (const ControlProperty& p : c.properties) {
        const Accessors a = accessorNames(p.name);
        taken.insert(a.getter);
        taken.insert(a.setter);
    }
    for (const auto& [id, name] : c.events)
        taken.insert(signalName(name));
    for (const ControlEnum& e : c.enums)
        taken.insert(e.name);
    std::map<QByteArray, std::vector<std::pair<QByteArray, int>>> out;
    for (const ControlEnum& e : c.enums) {
        bool clash = false;
        std::set<QByteArray> own;
        for (const auto& [key, value] : e.keys)
            clash = clash || key.isEmpty() || taken.count(key) || !own.insert(key).second;
        auto& keys = out[e.name];
        for (const auto& [key, value] : e.keys)
            keys.emplace_back(clash ? e.name + key : key, value);
        for (const auto& [key, value] : keys)
            taken.insert(key);
    }
    return out;
}

QByteArray classDeclaration(const ControlClass& c)
{
    const QByteArray name = c.widgetClassName;
    QByteArray h;
    h += "class " + name + " : public vyr::ControlWidget {\n    Q_OBJECT\n";
    for (const ControlProperty& p : c.properties) {
        const Accessors a = accessorNames(p.name);
        h += "    Q_PROPERTY(" + valueType(p) + " " + p.name + " READ " + a.getter;
        if (p.writable)
            h += " WRITE " + a.setter;
        else
            h += " STORED false DESIGNABLE false";
        h += ")\n";
    }
    h += "public:\n";
    for (const auto& [enumName, keys] : classKeys(c)) {
        h += "    enum " + enumName + " {";
        bool first = true;
        for (const auto& [key, value] : keys) {
            h += (first ? " " : ", ") + key + " = " + QByteArray::number(value);
            first = false;
        }
        h += " };\n    Q_ENUM(" + enumName + ")\n";
    }
    h += "\n    explicit " + name + "(QWidget* parent = nullptr);\n\n";
    for (const ControlProperty& p : c.properties) {
        const Accessors a = accessorNames(p.name);
        h += "    " + valueType(p) + " " + a.getter + "() const;\n";
        if (p.writable)
            h += "    void " + a.setter + "(" + argType(p) + " value);\n";
    }
    h += "\nsignals:\n";
    for (const auto& [id, event] : c.events) {
        h += "    void " + signalName(event) + "(";
        const auto params = c.eventParams.count(id) ? c.eventParams.at(id) : std::vector<vyr::ControlEventParam>{};
        for (size_t i = 0; i < params.size(); ++i) {
            const QByteArray t = paramType(params[i].type);
            h += (i ? ", " : "") + (t == "QString" || t == "QVariant" ? "const " + t + "&" : t) + " " +
                 paramName(params[i].name);
        }
        h += ");\n";
    }
    h += "\nprotected:\n    void eventRaised(DISPID id, const QVariantList& args) override;\n};\n\n";
    return h;
}

QByteArray classDefinition(const ControlClass& c, const QByteArray& progId)
{
    const QByteArray name = c.widgetClassName;
    QByteArray s;
    s += name + "::" + name + "(QWidget* parent) : ControlWidget(QStringLiteral(\"" + progId +
         "\"), FixedClass{}, parent) {}\n\n";
    for (const ControlProperty& p : c.properties) {
        const Accessors a = accessorNames(p.name);
        const QByteArray type = p.kind == PropertyKind::Enum ? name + "::" + valueType(p) : valueType(p);
        s += type + " " + name + "::" + a.getter + "() const { return " + getterBody(p) + "; }\n";
        if (p.writable) {
            const QByteArray value = p.kind == PropertyKind::Enum ? "int(value)" : "value";
            s += "void " + name + "::" + a.setter + "(" + argType(p) + " value) { setControlProperty(" +
                 QByteArray::number(int(p.id)) + ", " + value + "); }\n";
        }
    }
    s += "\nvoid " + name + "::eventRaised(DISPID id, const QVariantList& args)\n{\n";
    s += c.events.empty() ? "    (void)id;\n    (void)args;\n" : "    (void)args;\n    switch (id) {\n";
    for (const auto& [id, event] : c.events) {
        s += "    case " + QByteArray::number(int(id)) + ":\n        emit " + signalName(event) + "(";
        const auto params = c.eventParams.count(id) ? c.eventParams.at(id) : std::vector<vyr::ControlEventParam>{};
        for (size_t i = 0; i < params.size(); ++i)
            s += (i ? ", " : "") + fromVariant(params[i].type, "args.value(" + QByteArray::number(int(i)) + ")");
        s += ");\n        break;\n";
    }
    if (!c.events.empty())
        s += "    default:\n        break;\n    }\n";
    s += "}\n\n";
    return s;
}

bool writeIfChanged(const QString& path, const QByteArray& text)
{
    QFile old(path);
    if (old.open(QIODevice::ReadOnly) && old.readAll() == text)
        return true;
    old.close();
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(text) != text.size()) {
        std::fprintf(stderr, "vyr-widgetgen: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fputs("Usage: vyr-widgetgen OUTDIR\n", stderr);
        return 2;
    }
    QApplication app(argc, argv); // the controls are created to read their display strings
    const QString out = QString::fromLocal8Bit(argv[1]);
    QByteArray declarations, definitions, names, factory;
    int count = 0;
    for (const vyr::controls::ClassRow& row : vyr::controls::classTable()) {
        if (row.kind != vyr::controls::ClassKind::Control || !row.create)
            continue;
        vyr::com::ComPtr<IClassFactory> cf;
        vyr::com::ComPtr<IDispatch> control;
        if (FAILED(DllGetClassObject(row.clsid, IID_IClassFactory, cf.putVoid()))
            || FAILED(cf->CreateInstance(nullptr, IID_IDispatch, control.putVoid()))) {
            std::fprintf(stderr, "vyr-widgetgen: cannot create %s\n", row.progId);
            return 1;
        }
        const ControlClass* c = vyr::controlClass(row.clsid, control.get(), &QWidget::staticMetaObject);
        if (!c) {
            std::fprintf(stderr, "vyr-widgetgen: %s has no type information\n", row.progId);
            return 1;
        }
        declarations += classDeclaration(*c);
        definitions += classDefinition(*c, row.progId);
        names += c->widgetClassName + "\n";
        factory += "    if (className == QLatin1String(\"" + c->widgetClassName + "\"))\n        return new " +
                   c->widgetClassName + "(parent);\n";
        ++count;
    }
    const QByteArray banner = "// Generated by vyr-widgetgen from the control library's type information; do not edit.\n";
    auto header = [&](const QByteArray& include) {
        return banner + "#pragma once\n// One class per control: its properties as Qt properties with C++ accessors, its\n"
                        "// enumerations as Qt enumerations, its events as typed signals.\n#include " +
               include + "\n#include <QColor>\n#include <QFont>\n#include <QStringList>\n\n" + declarations +
               "namespace vyr {\n// The class names above, and a widget of one of them (null for another name).\n"
               "QStringList widgetClassNames();\nControlWidget* createWidget(const QString& className, QWidget* parent = nullptr);\n"
               "} // namespace vyr\n";
    };
    QByteArray source = banner + "#include \"vyr/vyrwidgets.h\"\n\n" + definitions;
    QByteArray list;
    for (const QByteArray& n : names.split('\n'))
        if (!n.isEmpty())
            list += "QStringLiteral(\"" + n + "\"), ";
    source += "QStringList vyr::widgetClassNames() { return {" + list + "}; }\n\n";
    source += "vyr::ControlWidget* vyr::createWidget(const QString& className, QWidget* parent)\n{\n" + factory +
              "    return nullptr;\n}\n";
    const bool ok = writeIfChanged(out + "/tree/vyr/vyrwidgets.h", header("\"controls/qtwidget/controlwidget.h\""))
                    && writeIfChanged(out + "/install/vyr/vyrwidgets.h", header("<vyr/controlwidget.h>"))
                    && writeIfChanged(out + "/vyrwidgets.cpp", source) && writeIfChanged(out + "/classes.txt", names);
    if (ok)
        std::printf("vyr-widgetgen: %d classes\n", count);
    return ok ? 0 : 1;
}
