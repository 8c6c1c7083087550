#pragma once
// Immortal<T>: a T in static storage that is never destroyed, so that it stays usable while the
// program exits (handles closed by other objects' destructors), and that leaves nothing on the
// heap when the library holding it is unloaded. Declare it as a function-local static.
#include <new>

namespace vyr::registry {

template <class T>
class Immortal {
public:
    Immortal() : p_(new (storage_) T) {}
    Immortal(const Immortal&) = delete;
    Immortal& operator=(const Immortal&) = delete;
    T& get() { return *p_; }

private:
    alignas(T) unsigned char storage_[sizeof(T)];
    T* p_;
};

} // namespace vyr::registry
