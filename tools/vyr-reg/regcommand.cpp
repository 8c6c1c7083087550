#include "tools/vyr-reg/regcommand.h"
#include "platform/registry/regkey.h"
#include "tools/vyr-reg/keypath.h"
#include "tools/vyr-reg/regexport.h"
#include "tools/vyr-reg/regtree.h"
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <istream>
#include <optional>
#include <ostream>
#include <strings.h>

namespace vyr::tools {
namespace {

using registry::RegKey;

constexpr const char* kUsage =
    "Usage: vyr-reg query KEY [/v NAME | /ve] [/s]\n"
    "  or:  vyr-reg add KEY [/v NAME | /ve] [/t TYPE] [/d DATA] [/f]\n"
    "  or:  vyr-reg delete KEY [/v NAME | /ve | /va] [/f]\n"
    "  or:  vyr-reg export KEY\n"
    "Query and edit the registry store.\n"
    "\n"
    "  KEY   HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE or HKEY_USERS\n"
    "        (or HKCR, HKCU, HKLM, HKU), then \\ and the path of the subkey.\n"
    "  /v    a value by name; /ve the default value; /va every value of the key.\n"
    "  /t    REG_SZ (default), REG_EXPAND_SZ, REG_DWORD, REG_BINARY or REG_NONE.\n"
    "  /d    the data: text, a number (decimal or 0x hex) or hex digits for bytes.\n"
    "  /f    no confirmation.   /s  every key below, too.\n"
    "  export writes the key and everything below it to standard output in the regedit\n"
    "  text format. The store is the file named by VYR_REGISTRY, else\n"
    "  $XDG_CONFIG_HOME/vyr/registry.db.\n";

constexpr const char* kSuccess = "The operation completed successfully.\n";

struct Command {
    std::string op;
    KeyPath key;
    std::optional<std::string> value;  // /v NAME, or "" for /ve
    bool allValues = false;            // /va
    std::optional<std::string> type;
    std::optional<std::string> data;
    bool force = false;
    bool recurse = false;
};

bool same(const std::string& a, const char* b) { return strcasecmp(a.c_str(), b) == 0; }

bool isSwitch(const std::string& a, const char* name)
{
    return a.size() >= 2 && (a[0] == '/' || a[0] == '-') && same(a.substr(1), name);
}

// Which switches each operation takes.
bool allowed(const std::string& op, const char* sw)
{
    const std::string s = sw;
    if (op == "query")
        return s == "v" || s == "ve" || s == "s";
    if (op == "add")
        return s == "v" || s == "ve" || s == "t" || s == "d" || s == "f";
    if (op == "delete")
        return s == "v" || s == "ve" || s == "va" || s == "f";
    return false;
}

std::optional<Command> parse(const std::vector<std::string>& args)
{
    if (args.size() < 2)
        return std::nullopt;
    Command c;
    for (const char* op : {"query", "add", "delete", "export"})
        if (same(args[0], op))
            c.op = op;
    const auto key = parseKeyPath(args[1]);
    if (c.op.empty() || !key)
        return std::nullopt;
    c.key = *key;
    int valueSwitches = 0;
    for (size_t i = 2; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasNext = i + 1 < args.size();
        const auto take = [&](const char* sw, std::optional<std::string>& into) {
            if (!isSwitch(a, sw) || !allowed(c.op, sw) || into || !hasNext)
                return false;
            into = args[++i];
            return true;
        };
        const auto flag = [&](const char* sw, bool& into) {
            if (!isSwitch(a, sw) || !allowed(c.op, sw) || into)
                return false;
            into = true;
            return true;
        };
        bool ve = false;
        if (take("v", c.value) || take("t", c.type) || take("d", c.data)) {
            valueSwitches += isSwitch(a, "v");
        } else if (flag("ve", ve)) {
            c.value = "";
            ++valueSwitches;
        } else if (flag("va", c.allValues)) {
            ++valueSwitches;
        } else if (!flag("f", c.force) && !flag("s", c.recurse)) {
            return std::nullopt;
        }
    }
    if (valueSwitches > 1 || (c.recurse && c.value))
        return std::nullopt;
    return c;
}

const char* typeName(DWORD type)
{
    switch (type) {
    case REG_NONE: return "REG_NONE";
    case REG_SZ: return "REG_SZ";
    case REG_EXPAND_SZ: return "REG_EXPAND_SZ";
    case REG_BINARY: return "REG_BINARY";
    case REG_DWORD: return "REG_DWORD";
    case REG_DWORD_BIG_ENDIAN: return "REG_DWORD_BIG_ENDIAN";
    case REG_MULTI_SZ: return "REG_MULTI_SZ";
    case REG_QWORD: return "REG_QWORD";
    default: return nullptr;
    }
}

std::string valueLine(const RegValue& v)
{
    std::string line = "    " + (v.name.empty() ? std::string("(Default)") : v.name) + "    ";
    char buf[32];
    if (const char* name = typeName(v.type)) {
        line += name;
    } else {
        std::snprintf(buf, sizeof buf, "REG_0x%X", v.type);
        line += buf;
    }
    line += "    ";
    if (v.type == REG_SZ || v.type == REG_EXPAND_SZ) {
        const auto* p = reinterpret_cast<const char*>(v.data.data());
        line.append(p, strnlen(p, v.data.size()));
    } else if (v.type == REG_DWORD && v.data.size() == 4) {
        const DWORD d = DWORD(v.data[0]) | DWORD(v.data[1]) << 8 | DWORD(v.data[2]) << 16 |
                        DWORD(v.data[3]) << 24;
        std::snprintf(buf, sizeof buf, "0x%x", d);
        line += buf;
    } else {
        for (BYTE b : v.data) {
            std::snprintf(buf, sizeof buf, "%02X", b);
            line += buf;
        }
    }
    return line + "\n";
}

int fail(std::ostream& err, LONG code)
{
    const std::string store = registry::storePath();
    switch (code) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_BADKEY:
        err << "ERROR: The system was unable to find the specified registry key or value.\n";
        break;
    case ERROR_ACCESS_DENIED:
        err << "ERROR: Access is denied.\n";
        break;
    case ERROR_REGISTRY_CORRUPT:
        err << "ERROR: The registry store " << store << " is damaged or not a registry store.\n";
        break;
    case ERROR_REGISTRY_IO_FAILED:
        err << "ERROR: The registry store " << store << " cannot be opened or written.\n";
        break;
    case ERROR_BAD_PATHNAME:
        err << "ERROR: Invalid key name.\n";
        break;
    case ERROR_INVALID_PARAMETER:
        err << "ERROR: The parameter is incorrect.\n";
        break;
    default:
        err << "ERROR: The registry operation failed with error " << code << ".\n";
        break;
    }
    return 1;
}

int syntaxError(std::ostream& err, const char* detail = nullptr)
{
    err << "ERROR: Invalid syntax." << (detail ? " " : "") << (detail ? detail : "") << "\n"
        << "Type \"vyr-reg /?\" for usage.\n";
    return 1;
}

bool confirm(std::istream& in, std::ostream& out, const std::string& question)
{
    out << question << " (Yes/No)? " << std::flush;
    std::string answer;
    if (!std::getline(in, answer))
        answer.clear();
    while (!answer.empty() && std::isspace(static_cast<unsigned char>(answer.back())))
        answer.pop_back();
    return same(answer, "y") || same(answer, "yes");
}

int cancelled(std::ostream& out)
{
    out << "The operation was cancelled by the user.\n";
    return 1;
}

std::string displayName(const std::string& value) { return value.empty() ? "(Default)" : value; }

// The bytes /d gives for the type /t names; nullopt with a message when they do not fit.
std::optional<std::pair<DWORD, std::vector<BYTE>>> valueData(const Command& c, std::ostream& err)
{
    const std::string t = c.type.value_or("REG_SZ");
    const std::string d = c.data.value_or("");
    if (same(t, "REG_SZ") || same(t, "REG_EXPAND_SZ")) {
        std::vector<BYTE> bytes(d.begin(), d.end());
        bytes.push_back(0);
        return std::pair{same(t, "REG_SZ") ? REG_SZ : REG_EXPAND_SZ, bytes};
    }
    if (same(t, "REG_DWORD")) {
        const bool hex = d.size() > 2 && d[0] == '0' && (d[1] == 'x' || d[1] == 'X');
        const std::string digits = hex ? d.substr(2) : d.empty() ? "0" : d;
        const bool digitsOnly = !digits.empty() &&
            digits.find_first_not_of(hex ? "0123456789abcdefABCDEF" : "0123456789") ==
                std::string::npos;
        errno = 0;
        const unsigned long long v = digitsOnly ? std::strtoull(digits.c_str(), nullptr, hex ? 16 : 10) : 0;
        if (!digitsOnly || errno == ERANGE || v > 0xFFFFFFFFull) {
            syntaxError(err, "Specify a number from 0 to 4294967295 (or 0x0 to 0xFFFFFFFF) for /d.");
            return std::nullopt;
        }
        return std::pair{REG_DWORD, std::vector<BYTE>{BYTE(v), BYTE(v >> 8), BYTE(v >> 16),
                                                      BYTE(v >> 24)}};
    }
    if (same(t, "REG_BINARY") || same(t, "REG_NONE")) {
        if (d.size() % 2 || d.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
            syntaxError(err, "Specify an even number of hex digits for /d.");
            return std::nullopt;
        }
        std::vector<BYTE> bytes;
        for (size_t i = 0; i < d.size(); i += 2)
            bytes.push_back(BYTE(std::strtoul(d.substr(i, 2).c_str(), nullptr, 16)));
        return std::pair{same(t, "REG_BINARY") ? REG_BINARY : REG_NONE, bytes};
    }
    err << "ERROR: Invalid type " << t << ". Use REG_SZ, REG_EXPAND_SZ, REG_DWORD, REG_BINARY "
        << "or REG_NONE.\n";
    return std::nullopt;
}

int query(const Command& c, std::ostream& out, std::ostream& err)
{
    RegKey key;
    if (const LONG r = key.open(c.key.hive, c.key.subKey, KEY_READ))
        return fail(err, r);
    std::string text = "\n";
    if (c.value) {
        RegValue v;
        v.name = *c.value;
        if (const LONG r = key.queryValue(v.name, v.type, v.data))
            return fail(err, r);
        text += c.key.full + "\n" + valueLine(v) + "\n";
    } else {
        const auto listKey = [&](HKEY k, const std::string& path) {
            std::vector<RegValue> values;
            if (const LONG e = readValues(k, values))
                return e;
            text += path + "\n";
            for (const RegValue& v : values)
                text += valueLine(v);
            text += "\n";
            return ERROR_SUCCESS;
        };
        std::vector<std::string> subKeys;
        const LONG r = c.recurse ? visitTree(key.get(), c.key.full, listKey)
                                 : listKey(key.get(), c.key.full);
        if (r == ERROR_SUCCESS && !c.recurse) {
            if (const LONG e = key.subKeyNames(subKeys))
                return fail(err, e);
        }
        if (r != ERROR_SUCCESS)
            return fail(err, r);
        for (const std::string& name : subKeys)
            text += c.key.full + "\\" + name + "\n";
    }
    out << text;
    return 0;
}

int add(const Command& c, std::istream& in, std::ostream& out, std::ostream& err)
{
    const bool setsValue = c.value || c.type || c.data;
    std::optional<std::pair<DWORD, std::vector<BYTE>>> data;
    if (setsValue && !(data = valueData(c, err)))
        return 1;
    RegKey key;
    if (const LONG r = key.create(c.key.hive, c.key.subKey, KEY_ALL_ACCESS))
        return fail(err, r);
    if (setsValue) {
        const std::string name = c.value.value_or("");
        DWORD size = 0;
        const LONG exists = RegQueryValueEx(key.get(), name.c_str(), nullptr, nullptr, nullptr, &size);
        if (exists == ERROR_SUCCESS && !c.force &&
            !confirm(in, out, "Value " + displayName(name) + " exists, overwrite"))
            return cancelled(out);
        if (const LONG r = key.setValue(name, data->first, data->second))
            return fail(err, r);
    }
    out << kSuccess;
    return 0;
}

int remove(const Command& c, std::istream& in, std::ostream& out, std::ostream& err)
{
    if (!c.value && !c.allValues) {
        if (c.key.subKey.empty()) {
            err << "ERROR: Invalid key name. A hive cannot be deleted.\n";
            return 1;
        }
        RegKey key;
        if (const LONG r = key.open(c.key.hive, c.key.subKey, KEY_READ))
            return fail(err, r);
        key.close();
        if (!c.force && !confirm(in, out, "Permanently delete the registry key " + c.key.full))
            return cancelled(out);
        if (const LONG r = RegDeleteTree(c.key.hive, c.key.subKey.c_str()))
            return fail(err, r);
        out << kSuccess;
        return 0;
    }
    RegKey key;
    if (const LONG r = key.open(c.key.hive, c.key.subKey, KEY_READ | KEY_SET_VALUE))
        return fail(err, r);
    std::vector<std::string> names;
    if (c.allValues) {
        if (const LONG r = key.valueNames(names))
            return fail(err, r);
    } else {
        DWORD size = 0;
        if (const LONG r = RegQueryValueEx(key.get(), c.value->c_str(), nullptr, nullptr,
                                           nullptr, &size))
            return fail(err, r);
        names.push_back(*c.value);
    }
    const std::string question = c.allValues
        ? "Delete all values under the registry key " + c.key.full
        : "Delete the registry value " + displayName(*c.value);
    if (!c.force && !confirm(in, out, question))
        return cancelled(out);
    for (const std::string& name : names)
        if (const LONG r = key.deleteValue(name); r != ERROR_SUCCESS && r != ERROR_FILE_NOT_FOUND)
            return fail(err, r);
    out << kSuccess;
    return 0;
}

int exportTree(const Command& c, std::ostream& out, std::ostream& err)
{
    RegKey key;
    if (const LONG r = key.open(c.key.hive, c.key.subKey, KEY_READ))
        return fail(err, r);
    std::string text;
    if (const LONG r = exportKey(key.get(), c.key.full, text))
        return fail(err, r);
    out << text << std::flush;
    if (!out) {
        err << "ERROR: The export could not be written.\n";
        return 1;
    }
    return 0;
}

} // namespace

int runReg(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
           std::ostream& err)
{
    if (args.size() == 1 && (args[0] == "/?" || args[0] == "-?" || args[0] == "-h" ||
                             args[0] == "--help")) {
        out << kUsage;
        return 0;
    }
    const auto c = parse(args);
    if (!c)
        return syntaxError(err);
    if (c->op == "query")
        return query(*c, out, err);
    if (c->op == "add")
        return add(*c, in, out, err);
    if (c->op == "delete")
        return remove(*c, in, out, err);
    return exportTree(*c, out, err);
}

} // namespace vyr::tools
