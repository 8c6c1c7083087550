#pragma once
// The tool's registry routines: the System Database path under HKEY_LOCAL_MACHINE, the
// remembered form positions under HKEY_CURRENT_USER, and the pick of a list entry by text.
// None of them reports an error: a missing key or value reads as "" or 0, a failed write is
// silent.
#include <cstdint>
#include <string>
#include <vector>

namespace vyr::vtx::tool {

inline constexpr const char* kDatabaseKey = "SOFTWARE\\Halvern\\CP\\Database";
inline constexpr const char* kDatabaseValue = "Path";
inline constexpr const char* kUserKey = "Software\\Halvern";

// A string value of HKEY_LOCAL_MACHINE, whole, up to its first NUL.
std::string readString(const std::string& keyPath, const std::string& valueName);
// The path of the System Database as the registry names it.
std::string databasePath();
// Names `path` as the System Database in the registry store. False when it cannot be written.
bool setDatabasePath(const std::string& path);

// What the tool says when the registry names no System Database.
inline constexpr const char* kNotConfigured =
    "No System Database is configured.\n"
    "To configure one, name its file in the registry:\n"
    "  vyr-reg add \"HKEY_LOCAL_MACHINE\\SOFTWARE\\Halvern\\CP\\Database\" /v Path /d FILE /f\n"
    "To try the tool on a demo System Database: vtx --demo";

// HKEY_CURRENT_USER\Software\Halvern + suffix: a 4-byte value of any declared type.
int32_t readNumber(const std::string& suffix, const std::string& valueName);
// True when the key already existed; otherwise it is created (false also when that fails).
bool ensureKey(const std::string& suffix);
// Stores the 4 bytes of `value`, little-endian, without a declared type (REG_NONE).
void writeNumber(const std::string& suffix, const std::string& valueName, int32_t value);

// A form's position in twips.
struct Position {
    int32_t left = 0;
    int32_t top = 0;
    bool operator==(const Position&) const = default;
};

// "\VTX\" + the form's name.
std::string formKey(const std::string& formName);
// Keeps a form reachable: below 1 becomes 0, beyond the screen size less 1000 is pulled back.
Position clampToScreen(Position p, int32_t screenWidth, int32_t screenHeight);
// The remembered position of a form, clamped to a screen of the given size (twips).
Position restorePosition(const std::string& formName, int32_t screenWidth, int32_t screenHeight);
// Remembers a form's position (twips, rounded to whole numbers).
void savePosition(const std::string& formName, double left, double top);

// The entry to select for `text`: the first exact match, else entry 0; an empty list keeps
// `current`.
int comboIndexFor(const std::vector<std::string>& entries, const std::string& text, int current);

} // namespace vyr::vtx::tool
