// The module: its exported entry points, the lock count and the class-factory cache.
#include "controls/core/classtable.h"
#include "controls/core/module.h"
#include "controls/core/registration.h"
#include "controls/core/vyrcontrols.h"
#include "platform/com/object.h"
#include <array>
#include <atomic>
#include <climits>
#include <cstdlib>
#include <dlfcn.h>
#include <mutex>

namespace vyr::controls {

namespace {

std::atomic<LONG> g_locks{0};

class ClassFactory final : public com::Object<IClassFactory> {
public:
    explicit ClassFactory(const ClassRow& row) : row_(row) {}
    STDMETHOD(CreateInstance)(IUnknown* outer, REFIID iid, void** out) override
    {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        return row_.create(iid, out);
    }
    STDMETHOD(LockServer)(BOOL lock) override
    {
        lock ? moduleLock() : moduleUnlock();
        return S_OK;
    }

private:
    const ClassRow& row_;
};

// One factory per row, made on first request under a lock with a second test inside it.
struct FactoryCache {
    std::mutex mutex;
    std::array<std::atomic<IClassFactory*>, 32> slots{};
    ~FactoryCache()
    {
        for (auto& s : slots)
            if (IClassFactory* f = s.exchange(nullptr))
                f->Release();
    }
};

FactoryCache& cache()
{
    static FactoryCache c;
    return c;
}

} // namespace

void moduleLock() { ++g_locks; }
void moduleUnlock() { --g_locks; }
LONG moduleLockCount() { return g_locks; }

std::string modulePath()
{
    Dl_info info{};
    if (!dladdr(reinterpret_cast<void*>(&modulePath), &info) || !info.dli_fname)
        return {};
    char real[PATH_MAX];
    return realpath(info.dli_fname, real) ? std::string(real) : std::string(info.dli_fname);
}

} // namespace vyr::controls

using namespace vyr::controls;

extern "C" __attribute__((visibility("default"))) HRESULT DllCanUnloadNow()
{
    return moduleLockCount() == 0 ? S_OK : S_FALSE;
}

extern "C" __attribute__((visibility("default"))) HRESULT DllGetClassObject(REFCLSID clsid, REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    const auto rows = classTable();
    for (size_t i = 0; i < rows.size(); ++i) {
        const ClassRow& row = rows[i];
        if (row.clsid != clsid)
            continue;
        if (!row.create)
            return CLASS_E_CLASSNOTAVAILABLE;
        FactoryCache& c = cache();
        IClassFactory* f = c.slots[i].load(std::memory_order_acquire);
        if (!f) {
            std::lock_guard lock(c.mutex);
            f = c.slots[i].load(std::memory_order_relaxed);
            if (!f) {
                f = new ClassFactory(row);
                c.slots[i].store(f, std::memory_order_release);
            }
        }
        return f->QueryInterface(iid, out);
    }
    return CLASS_E_CLASSNOTAVAILABLE;
}

extern "C" __attribute__((visibility("default"))) HRESULT DllRegisterServer()
{
    const std::string path = modulePath();
    for (const ClassRow& row : classTable()) {
        HRESULT hr = updateRegistry(row, path, true);
        if (FAILED(hr))
            return hr;
    }
    return registerTypeLibrary(path);
}

extern "C" __attribute__((visibility("default"))) HRESULT DllUnregisterServer()
{
    const std::string path = modulePath();
    for (const ClassRow& row : classTable())
        updateRegistry(row, path, false);
    return S_OK;
}
