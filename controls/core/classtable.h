#pragma once
// The class table: one row per creatable class, in the order of creation lookup and of
// registration.
#include "platform/com/guid.h"
#include <span>

namespace vyr::controls {

enum class ClassKind { Control, Page, PageStyle };

using CreateFn = HRESULT (*)(REFIID iid, void** out);

struct ClassRow {
    CLSID clsid;
    const char* className;
    const char* progId;       // version-dependent; the independent one drops the trailing ".1"
    int descriptionId;
    const char* description;
    int bitmapId;             // 0 for pages
    int32_t miscStatus;       // 0 for pages
    ClassKind kind;
    CreateFn create;          // null while the class is not built: CLASS_E_CLASSNOTAVAILABLE
};

std::span<const ClassRow> classTable();
const ClassRow* findClass(REFCLSID clsid);
// Looks a ProgID (either form, case-insensitive) up in the table.
const ClassRow* findClassByProgId(std::string_view progId);
std::string versionIndependentProgId(const ClassRow& row);

constexpr const char* kTypeLibVersion = "1.0";
constexpr const char* kTypeLibName = "VYRCTRLSLib";

} // namespace vyr::controls
