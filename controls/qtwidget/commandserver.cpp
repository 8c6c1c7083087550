#include "controls/qtwidget/commandserver.h"
#include "platform/com/bstr.h"
#include "platform/gdi/syscolors.h"
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>

VYR_DECLARE_INTERFACE(ICommandClient, IID_ICommandClient, IUnknown)

namespace vyr {

namespace {

std::string number(double v)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.10g", v);
    return buf;
}

std::string key(const QString& name) { return name.toStdString(); }

const std::pair<const char*, CommandServer::Kind> kKinds[] = {
    {"action", CommandServer::Kind::Action}, {"state", CommandServer::Kind::State},
    {"number", CommandServer::Kind::Number}, {"list", CommandServer::Kind::List},
    {"text", CommandServer::Kind::Text},     {"color", CommandServer::Kind::Color},
    {"object", CommandServer::Kind::Object},
};

} // namespace

CommandServer::CommandServer() = default;
CommandServer::~CommandServer() = default;

com::ComPtr<CommandServer> CommandServer::create()
{
    auto server = com::make<CommandServer>();
    server->autoNotify = true;
    return server;
}

CommandServer::Command* CommandServer::find(const QString& name)
{
    auto it = commands.find(key(name));
    return it == commands.end() ? nullptr : &it->second;
}

const CommandServer::Command* CommandServer::find(const QString& name) const
{
    auto it = commands.find(key(name));
    return it == commands.end() ? nullptr : &it->second;
}

bool CommandServer::changed(const QString& name, bool changed)
{
    if (changed)
        notify(key(name));
    return true;
}

CommandServer::Command& CommandServer::addCommand(const QString& name, Kind kind)
{
    Command& c = commands[key(name)];
    c = Command{};
    c.kind = kind;
    return c;
}

void CommandServer::addAction(const QString& name)
{
    addCommand(name, Kind::Action);
    notify(key(name));
}

void CommandServer::addState(const QString& name, int state)
{
    addCommand(name, Kind::State).state = state;
    notify(key(name));
}

void CommandServer::addNumber(const QString& name, double minimum, double maximum, double value, const QString& unit)
{
    Command& c = addCommand(name, Kind::Number);
    c.minimum = minimum;
    c.maximum = maximum;
    c.value = value;
    c.unit = unit.toStdString();
    notify(key(name));
}

void CommandServer::addList(const QString& name, const QStringList& entries, int index)
{
    Command& c = addCommand(name, Kind::List);
    for (const QString& t : entries)
        c.entries.push_back({t.toStdString()});
    c.index = index;
    notify(key(name));
}

void CommandServer::addText(const QString& name, const QString& text)
{
    addCommand(name, Kind::Text).text = text.toStdString();
    notify(key(name));
}

void CommandServer::addColor(const QString& name, const QColor& color)
{
    addCommand(name, Kind::Color).color = gdi::toColorRef(color);
    notify(key(name));
}

void CommandServer::addObject(const QString& name, IUnknown* object)
{
    addCommand(name, Kind::Object).object = com::ComPtr<IUnknown>(object);
    notify(key(name));
}

bool CommandServer::contains(const QString& name) const { return find(name) != nullptr; }

QStringList CommandServer::commandNames() const
{
    QStringList names;
    for (const auto& [name, c] : commands)
        names << QString::fromStdString(name);
    return names;
}

bool CommandServer::loadDescription(const QByteArray& json, QString* error)
{
    auto refuse = [&](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    QJsonParseError parse{};
    const QJsonDocument doc = QJsonDocument::fromJson(json, &parse);
    if (doc.isNull())
        return refuse(QStringLiteral("not JSON: %1 at offset %2").arg(parse.errorString()).arg(parse.offset));
    if (!doc.isObject() || !doc.object().value(u"commands").isArray())
        return refuse(QStringLiteral("no \"commands\" array"));
    // Everything is checked before anything is added, so a bad description changes nothing.
    std::vector<std::pair<QString, Command>> parsed;
    const QJsonArray list = doc.object().value(u"commands").toArray();
    for (qsizetype i = 0; i < list.size(); ++i) {
        const QJsonObject o = list[i].toObject();
        const QString name = o.value(u"name").toString();
        if (name.isEmpty())
            return refuse(QStringLiteral("command %1 has no name").arg(i));
        const QString kindText = o.value(u"kind").toString(QStringLiteral("action"));
        const auto* kind = std::find_if(std::begin(kKinds), std::end(kKinds),
                                        [&](const auto& k) { return kindText == QLatin1String(k.first); });
        if (kind == std::end(kKinds))
            return refuse(QStringLiteral("command \"%1\": unknown kind \"%2\"").arg(name, kindText));
        Command c;
        c.kind = kind->second;
        c.enabled = o.value(u"enabled").toBool(true);
        c.visible = o.value(u"visible").toBool(true) ? 1 : 0;
        c.state = o.value(u"state").toInt(0);
        c.minimum = o.value(u"minimum").toDouble(0);
        c.maximum = o.value(u"maximum").toDouble(100);
        c.value = o.value(u"value").toDouble(c.minimum);
        c.unit = o.value(u"unit").toString().toStdString();
        c.index = o.value(u"index").toInt(0);
        c.text = o.value(u"text").toString().toStdString();
        c.label = o.value(u"label").toString().toStdString();
        if (o.contains(u"color")) {
            const QColor color(o.value(u"color").toString());
            if (!color.isValid())
                return refuse(QStringLiteral("command \"%1\": bad colour").arg(name));
            c.color = gdi::toColorRef(color);
        }
        for (const QJsonValue& e : o.value(u"entries").toArray()) {
            Entry entry;
            if (e.isObject()) {
                entry.text = e[u"text"].toString().toStdString();
                entry.state = e[u"state"].toInt(0);
                entry.number = e[u"number"].toInt(0);
                entry.value = e[u"value"].toDouble(0);
            } else {
                entry.text = e.toString().toStdString();
            }
            c.entries.push_back(std::move(entry));
        }
        if (c.kind == Kind::Number && c.minimum > c.maximum)
            return refuse(QStringLiteral("command \"%1\": minimum above maximum").arg(name));
        parsed.emplace_back(name, std::move(c));
    }
    for (auto& [name, c] : parsed) {
        commands[key(name)] = std::move(c);
        notify(key(name));
    }
    return true;
}

bool CommandServer::loadDescriptionFile(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return false;
    }
    return loadDescription(file.readAll(), error);
}

bool CommandServer::setEnabled(const QString& name, bool enabled)
{
    Command* c = find(name);
    if (!c)
        return false;
    const bool differs = c->enabled != enabled;
    c->enabled = enabled;
    return changed(name, differs);
}

bool CommandServer::setVisible(const QString& name, bool visible)
{
    Command* c = find(name);
    if (!c)
        return false;
    const bool differs = (c->visible != 0) != visible;
    c->visible = visible ? 1 : 0;
    return changed(name, differs);
}

bool CommandServer::setState(const QString& name, int state)
{
    Command* c = find(name);
    if (!c)
        return false;
    const bool differs = c->state != state;
    c->state = state;
    return changed(name, differs);
}

bool CommandServer::setValue(const QString& name, double value)
{
    Command* c = find(name);
    if (!c)
        return false;
    const bool differs = c->value != value;
    c->value = value;
    return changed(name, differs);
}

bool CommandServer::setRange(const QString& name, double minimum, double maximum)
{
    Command* c = find(name);
    if (!c || minimum > maximum)
        return false;
    const bool differs = c->minimum != minimum || c->maximum != maximum;
    c->minimum = minimum;
    c->maximum = maximum;
    return changed(name, differs);
}

bool CommandServer::setIndex(const QString& name, int index)
{
    Command* c = find(name);
    if (!c)
        return false;
    const bool differs = c->index != index;
    c->index = index;
    return changed(name, differs);
}

bool CommandServer::setEntries(const QString& name, const QStringList& texts)
{
    Command* c = find(name);
    if (!c)
        return false;
    std::vector<Entry> entries;
    for (const QString& t : texts)
        entries.push_back({t.toStdString()});
    bool differs = entries.size() != c->entries.size();
    for (size_t i = 0; !differs && i < entries.size(); ++i)
        differs = entries[i].text != c->entries[i].text;
    c->entries = std::move(entries);
    return changed(name, differs);
}

bool CommandServer::setEntryState(const QString& name, int index, int state)
{
    Command* c = find(name);
    if (!c || index < 0 || size_t(index) >= c->entries.size())
        return false;
    const bool differs = c->entries[size_t(index)].state != state;
    c->entries[size_t(index)].state = state;
    return changed(name, differs);
}

bool CommandServer::setText(const QString& name, const QString& text)
{
    Command* c = find(name);
    if (!c)
        return false;
    const bool differs = c->text != text.toStdString();
    c->text = text.toStdString();
    return changed(name, differs);
}

bool CommandServer::setColor(const QString& name, const QColor& color)
{
    Command* c = find(name);
    if (!c)
        return false;
    const OLE_COLOR value = gdi::toColorRef(color);
    const bool differs = c->color != value;
    c->color = value;
    return changed(name, differs);
}

bool CommandServer::setObject(const QString& name, IUnknown* object)
{
    Command* c = find(name);
    if (!c)
        return false;
    const bool differs = c->object.get() != object;
    c->object = com::ComPtr<IUnknown>(object);
    return changed(name, differs);
}

bool CommandServer::setLabel(const QString& name, const QString& label)
{
    Command* c = find(name);
    if (!c)
        return false;
    std::string l = label.toStdString();
    const bool differs = c->label != l;
    c->label = std::move(l);
    return changed(name, differs);
}

double CommandServer::value(const QString& name) const
{
    const Command* c = find(name);
    return c ? c->value : 0;
}

int CommandServer::state(const QString& name) const
{
    const Command* c = find(name);
    return c ? int(c->state) : 0;
}

int CommandServer::index(const QString& name) const
{
    const Command* c = find(name);
    return c ? int(c->index) : 0;
}

QString CommandServer::text(const QString& name) const
{
    const Command* c = find(name);
    return c ? QString::fromStdString(c->text) : QString();
}

bool CommandServer::isEnabled(const QString& name) const
{
    const Command* c = find(name);
    return c && c->enabled;
}

void CommandServer::notify(const std::string& name)
{
    // Copied first: a client may register or unregister while it is told.
    std::vector<com::ComPtr<ICommandClient>> targets;
    for (auto& [cookie, c] : clients_)
        if (c.command == name && c.client) // a test may register without a client
            targets.push_back(c.client);
    for (auto& t : targets)
        t->OnCommandStateChanged();
}

std::string CommandServer::commandOf(LONG cookie) const
{
    auto it = clients_.find(cookie);
    return it == clients_.end() ? std::string() : it->second.command;
}

std::vector<std::string> CommandServer::calls(const std::string& prefix) const
{
    std::vector<std::string> r;
    for (const auto& l : log)
        if (l.compare(0, prefix.size(), prefix) == 0)
            r.push_back(l);
    return r;
}

HRESULT CommandServer::changedBy(LONG cookie)
{
    if (autoNotify)
        notify(commandOf(cookie));
    return S_OK;
}

HRESULT CommandServer::GetTypeInfoCount(UINT* n)
{
    if (n)
        *n = 0;
    return S_OK;
}

CommandServer::Command* CommandServer::begin(const char* op, LONG cookie, const std::string& detail)
{
    const std::string name = commandOf(cookie);
    log.push_back(std::string(op) + " " + name + (detail.empty() ? "" : " " + detail));
    if (failing.count(op) || name.empty())
        return nullptr;
    auto it = commands.find(name);
    return it == commands.end() ? nullptr : &it->second;
}

const CommandServer::Entry* CommandServer::entry(Command* c, LONG index)
{
    if (!c || index < 0 || size_t(index) >= c->entries.size())
        return nullptr;
    return &c->entries[size_t(index)];
}

HRESULT CommandServer::RegisterCommand(BSTR command, ICommandClient* client, LONG* cookie)
{
    const std::string name = com::utf8(command);
    log.push_back("RegisterCommand " + name);
    if (!cookie)
        return E_POINTER;
    if (failing.count("RegisterCommand"))
        return E_FAIL;
    if (declaredOnly && !commands.count(name)) {
        *cookie = 0;
        return DISP_E_UNKNOWNNAME;
    }
    *cookie = nextCookie_++;
    clients_[*cookie] = {name, com::ComPtr<ICommandClient>(client)};
    commands[name]; // known from now on
    return S_OK;
}

HRESULT CommandServer::UnregisterCommand(LONG cookie, ICommandClient*)
{
    log.push_back("UnregisterCommand " + commandOf(cookie));
    if (failing.count("UnregisterCommand"))
        return E_FAIL;
    return clients_.erase(cookie) ? S_OK : E_INVALIDARG;
}

#define SERVER_GET(op, field)                                                                                           \
    if (!out)                                                                                                         \
        return E_POINTER;                                                                                             \
    Command* c = begin(op, cookie);                                                                               \
    if (!c)                                                                                                           \
        return E_FAIL;                                                                                                \
    *out = c->field;                                                                                                  \
    return S_OK;

HRESULT CommandServer::GetCommandVisible(LONG cookie, LONG* out) { SERVER_GET("GetCommandVisible", visible) }
HRESULT CommandServer::GetCommandState(LONG cookie, LONG* out) { SERVER_GET("GetCommandState", state) }
HRESULT CommandServer::GetMinimum(LONG cookie, double* out) { SERVER_GET("GetMinimum", minimum) }
HRESULT CommandServer::GetMaximum(LONG cookie, double* out) { SERVER_GET("GetMaximum", maximum) }
HRESULT CommandServer::GetValue(LONG cookie, double* out) { SERVER_GET("GetValue", value) }
HRESULT CommandServer::GetIndex(LONG cookie, LONG* out) { SERVER_GET("GetIndex", index) }
HRESULT CommandServer::GetColor(LONG cookie, OLE_COLOR* out) { SERVER_GET("GetColor", color) }
#undef SERVER_GET

HRESULT CommandServer::GetCommandEnabled(LONG cookie, VARIANT_BOOL* out)
{
    if (!out)
        return E_POINTER;
    Command* c = begin("GetCommandEnabled", cookie);
    if (!c)
        return E_FAIL;
    *out = c->enabled ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

HRESULT CommandServer::GetEntryCount(LONG cookie, LONG* out)
{
    if (!out)
        return E_POINTER;
    Command* c = begin("GetEntryCount", cookie);
    if (!c)
        return E_FAIL;
    *out = LONG(c->entries.size());
    return S_OK;
}

HRESULT CommandServer::GetText(LONG cookie, BSTR* out)
{
    if (!out)
        return E_POINTER;
    Command* c = begin("GetText", cookie);
    if (!c)
        return E_FAIL;
    *out = com::Bstr(c->text.empty() && c->kind == Kind::Number ? c->unit : c->text).detach();
    return S_OK;
}

#define SERVER_ENTRY(op, expr)                                                                                          \
    if (!out)                                                                                                         \
        return E_POINTER;                                                                                             \
    const Entry* e = entry(begin(op, cookie, std::to_string(index)), index);                                      \
    if (!e)                                                                                                           \
        return E_FAIL;                                                                                                \
    *out = expr;                                                                                                      \
    return S_OK;

HRESULT CommandServer::GetEntryText(LONG cookie, LONG index, BSTR* out) { SERVER_ENTRY("GetEntryText", com::Bstr(e->text).detach()) }
HRESULT CommandServer::GetEntryLong(LONG cookie, LONG index, LONG* out) { SERVER_ENTRY("GetEntryLong", e->number) }
HRESULT CommandServer::GetEntryState(LONG cookie, LONG index, LONG* out) { SERVER_ENTRY("GetEntryState", e->state) }
HRESULT CommandServer::GetEntryValue(LONG cookie, LONG index, double* out) { SERVER_ENTRY("GetEntryValue", e->value) }
#undef SERVER_ENTRY

HRESULT CommandServer::ExecuteCommand(LONG cookie)
{
    Command* c = begin("ExecuteCommand", cookie);
    if (!c)
        return E_FAIL;
    const std::string name = commandOf(cookie);
    ++c->executed;
    if (onExecute)
        onExecute(name, *c);
    const HRESULT hr = c->executeResult;
    if (SUCCEEDED(hr))
        emit commandExecuted(QString::fromStdString(name));
    changedBy(cookie);
    return hr;
}

HRESULT CommandServer::ActivateEntry(LONG cookie, LONG index)
{
    if (!begin("ActivateEntry", cookie, std::to_string(index)))
        return E_FAIL;
    emit entryActivated(QString::fromStdString(commandOf(cookie)), int(index));
    return S_OK;
}

HRESULT CommandServer::SelectEntry(LONG cookie, LONG index)
{
    Command* c = begin("SelectEntry", cookie, std::to_string(index));
    if (!c)
        return E_FAIL;
    c->index = index;
    emit entrySelected(QString::fromStdString(commandOf(cookie)), int(index));
    return changedBy(cookie);
}

HRESULT CommandServer::SetValue(LONG cookie, double value)
{
    Command* c = begin("SetValue", cookie, number(value));
    if (!c)
        return E_FAIL;
    c->value = value;
    emit valueChanged(QString::fromStdString(commandOf(cookie)), value);
    return changedBy(cookie);
}

HRESULT CommandServer::SetState(LONG cookie, LONG state)
{
    Command* c = begin("SetState", cookie, std::to_string(state));
    if (!c)
        return E_FAIL;
    c->state = state;
    emit stateChanged(QString::fromStdString(commandOf(cookie)), int(state));
    return changedBy(cookie);
}

HRESULT CommandServer::SetText(LONG cookie, BSTR text)
{
    Command* c = begin("SetText", cookie, com::utf8(text));
    if (!c)
        return E_FAIL;
    c->text = com::utf8(text);
    emit textChanged(QString::fromStdString(commandOf(cookie)), QString::fromStdString(c->text));
    return changedBy(cookie);
}

HRESULT CommandServer::GetObject(LONG cookie, IUnknown** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    Command* c = begin("GetObject", cookie);
    if (!c)
        return E_FAIL;
    return c->object.copyTo(out);
}

HRESULT CommandServer::GetCommandLabel(LONG cookie, BSTR* out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    const auto it = commands.find(commandOf(cookie));
    if (it == commands.end())
        return E_FAIL;
    *out = com::Bstr(it->second.label).detach();
    return it->second.label.empty() ? S_FALSE : S_OK;
}

} // namespace vyr
