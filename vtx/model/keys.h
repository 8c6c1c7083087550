#pragma once
// The fixed keys of the detector channels: entry n - 1 of each list belongs to channel n.
#include <array>

namespace vyr::vtx::keys {

inline constexpr std::array<const char*, 4> kCanNodes{"CANB", "CANK", "CANL", "CANM"};
inline constexpr std::array<const char*, 4> kDios{"REG530", "REG630", "REG730", "REG830"};
inline constexpr std::array<const char*, 4> kFirstDacs{"DAC511", "DAC611", "DAC711", "DAC811"};
inline constexpr std::array<const char*, 4> kSecondDacs{"DAC521", "DAC621", "DAC721", "DAC821"};

} // namespace vyr::vtx::keys
