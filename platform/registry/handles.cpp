#include "platform/registry/handles.h"
#include "platform/registry/immortal.h"
#include "platform/registry/store.h"
#include <cstdlib>
#include <unordered_map>

namespace vyr::registry {
namespace {

constexpr uintptr_t kFirstPredefined = 0x80000000;

struct Table {
    std::unordered_map<uintptr_t, KeyRef> open;
    uintptr_t next = 1;
};
// At exit or when the library holding this code is unloaded, the table gives its memory back
// once every handle is closed; it stays usable for handles closed later during exit.
void releaseWhenEmpty();

Table& table()
{
    static Immortal<Table> t;  // never destroyed: handles may be closed during exit
    static const bool atExit = std::atexit(releaseWhenEmpty) == 0;
    (void)atExit;
    return t.get();
}

void releaseWhenEmpty()
{
    if (table().open.empty())
        std::unordered_map<uintptr_t, KeyRef>().swap(table().open);
}

} // namespace

bool isPredefined(HKEY h)
{
    const auto v = reinterpret_cast<uintptr_t>(h);
    return v >= kFirstPredefined && v < kFirstPredefined + kHiveCount;
}

std::optional<KeyRef> resolveHandle(HKEY h)
{
    const auto v = reinterpret_cast<uintptr_t>(h);
    if (isPredefined(h))
        return KeyRef{currentStorePath(), kFirstHiveId + int64_t(v - kFirstPredefined),
                      KEY_ALL_ACCESS, true};
    auto it = table().open.find(v);
    if (it == table().open.end())
        return std::nullopt;
    return it->second;
}

HKEY openHandle(KeyRef ref)
{
    Table& t = table();
    if (t.next >= kFirstPredefined && t.next < kFirstPredefined + 0x100)
        t.next = kFirstPredefined + 0x100;  // never look like a predefined key
    const uintptr_t v = t.next++;
    ref.predefined = false;
    t.open.emplace(v, std::move(ref));
    return reinterpret_cast<HKEY>(v);
}

bool closeHandle(HKEY h) { return table().open.erase(reinterpret_cast<uintptr_t>(h)) == 1; }

REGSAM normaliseAccess(REGSAM sam)
{
    constexpr REGSAM kGenericRead = 0x80000000, kGenericWrite = 0x40000000,
                     kGenericExecute = 0x20000000, kGenericAll = 0x10000000;
    if (sam & (MAXIMUM_ALLOWED | kGenericAll))
        sam |= KEY_ALL_ACCESS;
    if (sam & (kGenericRead | kGenericExecute))
        sam |= KEY_READ;
    if (sam & kGenericWrite)
        sam |= KEY_WRITE;
    return sam;
}

} // namespace vyr::registry
