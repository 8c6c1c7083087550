#pragma once
// The loaders the fuzz targets and the corpus replay drive: each takes arbitrary bytes as a
// stream and must answer with an error, never crash, hang, leak or allocate without bound.
// A loader's name is also the folder of its seeds under tests/fuzz/corpus.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace vyr::fuzz {

struct Loader {
    const char* name;
    void (*load)(const uint8_t* data, size_t size);
};

std::span<const Loader> loaders();
// The call fuzzer (fuzz_calls.cpp): a control of the class table and calls on it.
void fuzzCalls(const uint8_t* data, size_t size);
const Loader* findLoader(std::string_view name);

} // namespace vyr::fuzz
