#include "vtx/model/backups.h"

#include "platform/dao/compact.h"
#include "platform/dao/error.h"
#include "vtx/model/undo.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>

namespace vyr::vtx {

namespace fs = std::filesystem;

namespace {

constexpr const char* kSuffix = ".bak";
constexpr const char* kPartSuffix = ".part";
constexpr size_t kStampLength = 19;   // yyyymmdd-hhmmss-mmm

std::string stamp(std::chrono::system_clock::time_point t)
{
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(t.time_since_epoch()).count();
    std::time_t secs = std::time_t(ms / 1000);
    std::tm local{};
    localtime_r(&secs, &local);
    char buf[96];
    std::snprintf(buf, sizeof buf, "%04d%02d%02d-%02d%02d%02d-%03d", local.tm_year + 1900, local.tm_mon + 1,
                  local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec, int(ms % 1000));
    return buf;
}

bool isStamp(const std::string& s)
{
    if (s.size() != kStampLength || s[8] != '-' || s[15] != '-')
        return false;
    for (size_t i = 0; i < s.size(); ++i)
        if (i != 8 && i != 15 && (s[i] < '0' || s[i] > '9'))
            return false;
    return true;
}

} // namespace

std::vector<std::string> listBackups(const std::string& databasePath)
{
    fs::path db(databasePath);
    std::string prefix = db.filename().string() + ".";
    fs::path folder = db.has_parent_path() ? db.parent_path() : fs::path(".");
    std::vector<std::string> out;
    std::error_code ec;
    for (const fs::directory_entry& e : fs::directory_iterator(folder, ec)) {
        std::string name = e.path().filename().string();
        if (name.size() != prefix.size() + kStampLength + 4 || name.rfind(prefix, 0) != 0 ||
            name.substr(name.size() - 4) != kSuffix || !isStamp(name.substr(prefix.size(), kStampLength)))
            continue;
        out.push_back(e.path().string());
    }
    std::sort(out.begin(), out.end());   // the stamps sort by time
    return out;
}

namespace {

std::string copyNow(const std::string& databasePath)
{
    auto now = std::chrono::system_clock::now();
    std::string path;
    std::error_code ec;
    // Two backups within one millisecond get the next free stamp.
    do {
        path = databasePath + "." + stamp(now) + kSuffix;
        now += std::chrono::milliseconds(1);
    } while (fs::exists(path, ec));
    // The copy is made under a scratch name the listing ignores and renamed when complete, so
    // a copy cut short (a kill, a full disk) never counts as a backup; the next copy sweeps
    // such scratch files away.
    const fs::path db(databasePath);
    const fs::path folder = db.has_parent_path() ? db.parent_path() : fs::path(".");
    const std::string prefix = db.filename().string() + ".";
    for (const fs::directory_entry& e : fs::directory_iterator(folder, ec)) {
        const std::string name = e.path().filename().string();
        if (name.rfind(prefix, 0) == 0 && name.find(std::string(kSuffix) + kPartSuffix) != std::string::npos)
            fs::remove(e.path(), ec);
    }
    const std::string part = path + kPartSuffix;
    dao::compactDatabase(databasePath, part);
    fs::rename(part, path);
    return path;
}

void dropOldest(const std::string& databasePath)
{
    std::vector<std::string> all = listBackups(databasePath);
    for (size_t i = 0; i + kKeptBackups < all.size(); ++i)
        dropBackup(all[i]);
}

} // namespace

void dropBackup(const std::string& backup)
{
    std::error_code ec;
    fs::remove(backup, ec);
    fs::remove(undoFile(backup), ec);
}

std::string copyBackup(const std::string& databasePath)
{
    return copyNow(databasePath);
}

void pruneBackups(const std::string& databasePath)
{
    dropOldest(databasePath);
}

std::string keepBackup(const std::string& databasePath)
{
    std::string path = copyNow(databasePath);
    dropOldest(databasePath);
    return path;
}

void restoreBackup(const std::string& databasePath, const std::string& backup, const CompactionObserver& observe)
{
    std::string source = backup;
    fs::path beside = fs::path(databasePath).parent_path() / backup;
    if (!fs::exists(source) && fs::exists(beside))
        source = beside.string();   // a bare name as the listing prints it
    if (!fs::exists(source))
        throw dao::DaoError(dao::ErrorNumber::FileNotFound, "Could not find file '" + backup + "'");
    // The current state is kept first; the oldest copies go only after the restore, so that
    // the one being restored cannot be among them.
    copyNow(databasePath);
    try {
        replaceDatabase(databasePath, source, observe);
    } catch (...) {
        dropOldest(databasePath);
        throw;
    }
    // The rows that backup's Store changed are as they were before it now: nothing to undo.
    std::error_code ec;
    fs::remove(undoFile(source), ec);
    dropOldest(databasePath);
}

} // namespace vyr::vtx
