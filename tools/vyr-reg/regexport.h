#pragma once
// The regedit text format ("Windows Registry Editor Version 5.00").
#include "platform/registry/registry.h"
#include <span>
#include <string>
#include <string_view>

namespace vyr::tools {

// One value as the format writes it, without a line end: @= or "Name"= then "text",
// dword:0000000a, or hex:/hex(N): bytes; long hex data continues on further lines after
// ",\" with two blanks of indent.
std::string formatRegValue(std::string_view name, DWORD type, std::span<const BYTE> data);

// The header line and a blank line, then a section for `key` (named `path`) and for every key
// below it, children after their parent: "[path]", its values, a blank line. The whole text
// is built before anything is returned, so a failure leaves `text` empty.
LONG exportKey(HKEY key, const std::string& path, std::string& text);

} // namespace vyr::tools
