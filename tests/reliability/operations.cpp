#include "tests/reliability/operations.h"

#include "platform/registry/registry.h"
#include "platform/registry/store.h"
#include "vtx/ctl/configure.h"
#include "vtx/model/backups.h"
#include "vtx/model/filtercatalogue.h"
#include "vtx/model/printed_messages.h"
#include "vtx/model/session.h"

#include <cstdlib>
#include <functional>
#include <iostream>
#include <sstream>

namespace vyr::reliability {

using namespace vyr::registry;

Result startTool(const std::string& path)
{
    std::ostringstream out;
    vtx::PrintedMessages messages(out);
    vtx::Session session(messages, "");
    const bool ok = session.start(path) == vtx::Session::Start::Ready;
    return {ok, out.str()};
}

Result restoreBackup(const std::string& path, const std::string& backup)
{
    try {
        vtx::restoreBackup(path, backup);
        return {true, ""};
    } catch (const std::exception& e) {
        return {false, e.what()};
    }
}

namespace {

// Runs a vtxctl command in this process; what it printed is the message.
Result runCtl(const std::function<int()>& command)
{
    std::ostringstream out;
    std::streambuf* cout = std::cout.rdbuf(out.rdbuf());
    std::streambuf* cerr = std::cerr.rdbuf(out.rdbuf());
    int rc = 1;
    try {
        rc = command();
    } catch (const std::exception& e) {
        out << "uncaught: " << e.what();
    }
    std::cout.rdbuf(cout);
    std::cerr.rdbuf(cerr);
    return {rc == 0, out.str()};
}

} // namespace

Result undoStore(const std::string& path)
{
    Result r = runCtl([&] { return vtx::ctl::undo(path); });
    if (r.ok && r.message == "The last Store was undone.\n")
        r.message.clear();
    return r;
}

Result storeConfiguration(const std::string& path)
{
    std::ostringstream out;
    std::streambuf* cout = std::cout.rdbuf(out.rdbuf());
    std::streambuf* cerr = std::cerr.rdbuf(out.rdbuf());
    int rc = 1;
    try {
        rc = vtx::ctl::store(path, *vtx::ctl::parseStoreOptions({"nt1=Nothing", "nt2=Nothing", "--yes"}));
    } catch (const std::exception& e) {
        out << "uncaught: " << e.what();
    }
    std::cout.rdbuf(cout);
    std::cerr.rdbuf(cerr);
    // A clean Store prints its one question; anything else is what the user was told.
    const std::string question = "VTX LP680 in FW1. Delete ?\n";
    std::string message = out.str();
    if (message.rfind(question, 0) == 0)
        message.erase(0, question.size());
    return {rc == 0, message};
}

Result closeFilterEditor(const std::string& path)
{
    std::ostringstream out;
    vtx::PrintedMessages messages(out);
    try {
        dao::Database db = dao::Database::open(path);
        vtx::FilterCatalogue catalogue(db);
        catalogue.load();
        vtx::FilterEntry entry;
        entry.name = "LP 600-X";
        entry.code = "X600";
        entry.summary = "long pass 600";
        entry.type = "LP";
        entry.spectral = "LP";
        entry.cutOff = "600";
        if (!catalogue.apply(entry, messages))
            return {false, "apply refused: " + out.str()};
        const bool ok = catalogue.writePending(messages);
        return {ok, out.str()};
    } catch (const std::exception& e) {
        return {false, out.str() + e.what()};
    }
}

namespace {

// Points new registry handles at `path` while it lives.
class StoreAt {
public:
    explicit StoreAt(const std::string& path) { setenv("VYR_REGISTRY", path.c_str(), 1); }
    ~StoreAt() { unsetenv("VYR_REGISTRY"); }
};

LONG setDefault(const char* key, const char* text)
{
    return RegSetValue(HKEY_CURRENT_USER, key, REG_SZ, text, DWORD(std::char_traits<char>::length(text)));
}

} // namespace

Result writeRegistry(const std::string& path)
{
    StoreAt at(path);
    const LONG rc = setDefault("Software\\Vyr\\Reliability\\Written", "after");
    return {rc == ERROR_SUCCESS, rc == ERROR_SUCCESS ? "" : "registry error " + std::to_string(rc)};
}

Result readRegistry(const std::string& path)
{
    StoreAt at(path);
    char data[64] = {};
    LONG size = sizeof data;
    const LONG rc = RegQueryValue(HKEY_CURRENT_USER, "Software\\Vyr\\A", data, &size);
    if (rc != ERROR_SUCCESS)
        return {false, "registry error " + std::to_string(rc)};
    return {std::string(data) == "before", data};
}

void makeRegistryStore(const std::string& path)
{
    StoreAt at(path);
    for (const char* key : {"Software\\Vyr\\A", "Software\\Vyr\\B", "Software\\Vyr\\Reliability"})
        if (setDefault(key, "before") != ERROR_SUCCESS)
            throw std::runtime_error("cannot build the registry store");
    if (flushStore(path) != ERROR_SUCCESS)
        throw std::runtime_error("cannot flush the registry store");
}

} // namespace vyr::reliability
