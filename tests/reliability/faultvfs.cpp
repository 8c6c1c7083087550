#include "tests/reliability/faultvfs.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <dlfcn.h>
#include <sqlite3.h>
#include <unistd.h>

namespace vyr::reliability {
namespace {

std::atomic<StepAction> action{StepAction::None};
std::atomic<int64_t> target{0};
std::atomic<int64_t> steps{0};
std::atomic<bool> fired{false};

// True when this step must fail; kills the process where asked.
bool step()
{
    const int64_t n = ++steps;
    if (action == StepAction::None || n != target)
        return false;
    switch (action.load()) {
    case StepAction::Fail:
        fired = true;
        return true;
    case StepAction::KillBefore:
        ::raise(SIGKILL);
        return false;
    default:
        return false;
    }
}

void afterStep()
{
    if (action == StepAction::KillAfter && steps == target)
        ::raise(SIGKILL);
}

sqlite3_vfs* base = nullptr;
sqlite3_vfs shim;

struct FaultFile {
    sqlite3_file file;
    sqlite3_file* real;   // the base VFS's file, allocated right after this header
};

sqlite3_file* real(sqlite3_file* f) { return reinterpret_cast<FaultFile*>(f)->real; }

int xClose(sqlite3_file* f) { return real(f)->pMethods->xClose(real(f)); }
int xRead(sqlite3_file* f, void* b, int n, sqlite3_int64 o) { return real(f)->pMethods->xRead(real(f), b, n, o); }
int xWrite(sqlite3_file* f, const void* b, int n, sqlite3_int64 o)
{
    if (step())
        return SQLITE_IOERR_WRITE;
    int rc = real(f)->pMethods->xWrite(real(f), b, n, o);
    afterStep();
    return rc;
}
int xTruncate(sqlite3_file* f, sqlite3_int64 size)
{
    if (step())
        return SQLITE_IOERR_TRUNCATE;
    int rc = real(f)->pMethods->xTruncate(real(f), size);
    afterStep();
    return rc;
}
int xSync(sqlite3_file* f, int flags)
{
    if (step())
        return SQLITE_IOERR_FSYNC;
    int rc = real(f)->pMethods->xSync(real(f), flags);
    afterStep();
    return rc;
}
int xFileSize(sqlite3_file* f, sqlite3_int64* s) { return real(f)->pMethods->xFileSize(real(f), s); }
int xLock(sqlite3_file* f, int l) { return real(f)->pMethods->xLock(real(f), l); }
int xUnlock(sqlite3_file* f, int l) { return real(f)->pMethods->xUnlock(real(f), l); }
int xCheckReservedLock(sqlite3_file* f, int* r) { return real(f)->pMethods->xCheckReservedLock(real(f), r); }
int xFileControl(sqlite3_file* f, int op, void* a) { return real(f)->pMethods->xFileControl(real(f), op, a); }
int xSectorSize(sqlite3_file* f) { return real(f)->pMethods->xSectorSize(real(f)); }
int xDeviceCharacteristics(sqlite3_file* f) { return real(f)->pMethods->xDeviceCharacteristics(real(f)); }
int xShmMap(sqlite3_file* f, int i, int sz, int e, void volatile** p) { return real(f)->pMethods->xShmMap(real(f), i, sz, e, p); }
int xShmLock(sqlite3_file* f, int o, int n, int fl) { return real(f)->pMethods->xShmLock(real(f), o, n, fl); }
void xShmBarrier(sqlite3_file* f) { real(f)->pMethods->xShmBarrier(real(f)); }
int xShmUnmap(sqlite3_file* f, int d) { return real(f)->pMethods->xShmUnmap(real(f), d); }
int xFetch(sqlite3_file* f, sqlite3_int64 o, int n, void** p) { return real(f)->pMethods->xFetch(real(f), o, n, p); }
int xUnfetch(sqlite3_file* f, sqlite3_int64 o, void* p) { return real(f)->pMethods->xUnfetch(real(f), o, p); }

// Version 3 methods; the base's version limits which of them SQLite calls.
sqlite3_io_methods methods[4];

int xOpen(sqlite3_vfs*, const char* name, sqlite3_file* f, int flags, int* outFlags)
{
    auto* ff = reinterpret_cast<FaultFile*>(f);
    ff->real = reinterpret_cast<sqlite3_file*>(ff + 1);
    int rc = base->xOpen(base, name, ff->real, flags, outFlags);
    const sqlite3_io_methods* m = ff->real->pMethods;
    f->pMethods = m ? &methods[std::min(m->iVersion, 3)] : nullptr;
    return rc;
}
int xDelete(sqlite3_vfs*, const char* name, int syncDir)
{
    if (step())
        return SQLITE_IOERR_DELETE;
    int rc = base->xDelete(base, name, syncDir);
    afterStep();
    return rc;
}
int xAccess(sqlite3_vfs*, const char* n, int f, int* r) { return base->xAccess(base, n, f, r); }
int xFullPathname(sqlite3_vfs*, const char* n, int sz, char* out) { return base->xFullPathname(base, n, sz, out); }
void* xDlOpen(sqlite3_vfs*, const char* n) { return base->xDlOpen(base, n); }
void xDlError(sqlite3_vfs*, int n, char* m) { base->xDlError(base, n, m); }
void (*xDlSym(sqlite3_vfs*, void* h, const char* s))(void) { return base->xDlSym(base, h, s); }
void xDlClose(sqlite3_vfs*, void* h) { base->xDlClose(base, h); }
int xRandomness(sqlite3_vfs*, int n, char* out) { return base->xRandomness(base, n, out); }
int xSleep(sqlite3_vfs*, int us) { return base->xSleep(base, us); }
int xCurrentTime(sqlite3_vfs*, double* t) { return base->xCurrentTime(base, t); }
int xGetLastError(sqlite3_vfs*, int n, char* m) { return base->xGetLastError(base, n, m); }
int xCurrentTimeInt64(sqlite3_vfs*, sqlite3_int64* t) { return base->xCurrentTimeInt64(base, t); }

} // namespace

void installFaultVfs()
{
    if (base)
        return;
    sqlite3_initialize();
    base = sqlite3_vfs_find(nullptr);
    for (int v = 1; v <= 3; ++v) {
        sqlite3_io_methods& m = methods[v];
        m = sqlite3_io_methods{};
        m.iVersion = v;
        m.xClose = xClose;
        m.xRead = xRead;
        m.xWrite = xWrite;
        m.xTruncate = xTruncate;
        m.xSync = xSync;
        m.xFileSize = xFileSize;
        m.xLock = xLock;
        m.xUnlock = xUnlock;
        m.xCheckReservedLock = xCheckReservedLock;
        m.xFileControl = xFileControl;
        m.xSectorSize = xSectorSize;
        m.xDeviceCharacteristics = xDeviceCharacteristics;
        if (v >= 2) {
            m.xShmMap = xShmMap;
            m.xShmLock = xShmLock;
            m.xShmBarrier = xShmBarrier;
            m.xShmUnmap = xShmUnmap;
        }
        if (v >= 3) {
            m.xFetch = xFetch;
            m.xUnfetch = xUnfetch;
        }
    }
    shim = *base;
    shim.iVersion = std::min(base->iVersion, 2);
    shim.szOsFile = int(sizeof(FaultFile)) + base->szOsFile;
    shim.zName = "vyr-fault";
    shim.pAppData = nullptr;
    shim.xOpen = xOpen;
    shim.xDelete = xDelete;
    shim.xAccess = xAccess;
    shim.xFullPathname = xFullPathname;
    shim.xDlOpen = xDlOpen;
    shim.xDlError = xDlError;
    shim.xDlSym = xDlSym;
    shim.xDlClose = xDlClose;
    shim.xRandomness = xRandomness;
    shim.xSleep = xSleep;
    shim.xCurrentTime = xCurrentTime;
    shim.xGetLastError = xGetLastError;
    shim.xCurrentTimeInt64 = xCurrentTimeInt64;
    sqlite3_vfs_register(&shim, 1);
}

void armFault(StepAction a, int64_t n)
{
    steps = 0;
    fired = false;
    target = n;
    action = a;
}

void disarmFault()
{
    action = StepAction::None;
}

int64_t faultSteps() { return steps; }
bool faultFired() { return fired; }

} // namespace vyr::reliability

// The program's own rename(2) calls (not SQLite's: it never renames) are steps as well. The
// test program defines rename, so the libraries linked into it call this one.
extern "C" int rename(const char* from, const char* to) noexcept
{
    using Rename = int (*)(const char*, const char*);
    static const auto next = reinterpret_cast<Rename>(dlsym(RTLD_NEXT, "rename"));
    if (vyr::reliability::step()) {
        errno = EIO;
        return -1;
    }
    int rc = next(from, to);
    vyr::reliability::afterStep();
    return rc;
}
