#pragma once
// A layout file holds one control in the standard form of a persisted object: the control's
// class identifier, then the control's own persisted data. A Frame as that control brings
// every control it hosts, page by page, along in its data.
#include <vyr/vyrcontrols.h>
#include <vyr/com/comptr.h>
#include <string>

// Creates the control named by the file's class identifier through the library's class
// factory and loads it from the rest of the file. On failure `error` says why.
HRESULT loadLayout(const std::string& path, vyr::com::ComPtr<IUnknown>& control, std::string& error);

// Writes `control` to `path` in the same form. The file is replaced only by a complete
// layout: a failed save leaves the old file as it was.
HRESULT saveLayout(const std::string& path, IUnknown* control, std::string& error);
