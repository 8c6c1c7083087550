#pragma once
// Key and value names compare without regard to case. Each name is stored beside its folded
// form, and lookups, uniqueness and the order of enumeration all use the folded form.
#include <string>
#include <string_view>
#include <vector>

namespace vyr::registry {

// Upper-cases ASCII, Latin-1, Latin Extended-A, Greek and Cyrillic letters of UTF-8 text;
// other code points and malformed bytes pass through unchanged. Upper case, not lower case,
// so that names order as the Windows registry orders them ('_' after 'Z').
std::string foldName(std::string_view name);

constexpr size_t kMaxKeyNameBytes = 255;
constexpr size_t kMaxValueNameBytes = 16383;
constexpr size_t kMaxKeyDepth = 512;

// Splits "a\b\c" into its elements; an empty text has none. A single trailing '\' is
// allowed. An empty element ("\a", "a\\b") makes the path malformed; an element longer than
// kMaxKeyNameBytes or more than kMaxKeyDepth elements make it too long.
struct KeyPath {
    enum class Status { Ok, Malformed, TooLong };
    Status status = Status::Ok;
    std::vector<std::string_view> parts;
};
KeyPath splitKeyPath(std::string_view path);

} // namespace vyr::registry
