#include "platform/gdi/syscolors.h"

namespace vyr::gdi {
namespace {

struct SysColorEntry {
    COLORREF rgb;
    const char* name;
};

// The classic scheme: grey 3D faces, navy selection, white windows, pale yellow tool tips.
constexpr SysColorEntry kTable[kSysColorCount] = {
    {RGB(212, 208, 200), "Scroll Bars"},
    {RGB(58, 110, 165), "Desktop"},
    {RGB(10, 36, 106), "Active Title Bar"},
    {RGB(128, 128, 128), "Inactive Title Bar"},
    {RGB(212, 208, 200), "Menu Bar"},
    {RGB(255, 255, 255), "Window Background"},
    {RGB(0, 0, 0), "Window Frame"},
    {RGB(0, 0, 0), "Menu Text"},
    {RGB(0, 0, 0), "Window Text"},
    {RGB(255, 255, 255), "Active Title Bar Text"},
    {RGB(212, 208, 200), "Active Border"},
    {RGB(212, 208, 200), "Inactive Border"},
    {RGB(128, 128, 128), "Application Workspace"},
    {RGB(10, 36, 106), "Highlight"},
    {RGB(255, 255, 255), "Highlight Text"},
    {RGB(212, 208, 200), "Button Face"},
    {RGB(128, 128, 128), "Button Shadow"},
    {RGB(128, 128, 128), "Disabled Text"},
    {RGB(0, 0, 0), "Button Text"},
    {RGB(212, 208, 200), "Inactive Title Bar Text"},
    {RGB(255, 255, 255), "Button Highlight"},
    {RGB(64, 64, 64), "Button Dark Shadow"},
    {RGB(212, 208, 200), "Button Light Shadow"},
    {RGB(0, 0, 0), "ToolTip Text"},
    {RGB(255, 255, 225), "ToolTip"},
    {RGB(181, 181, 181), nullptr},
    {RGB(0, 0, 128), "Hot Tracked Item"},
    {RGB(166, 202, 240), "Active Title Bar Gradient"},
    {RGB(192, 192, 192), "Inactive Title Bar Gradient"},
    {RGB(10, 36, 106), "Menu Highlight"},
    {RGB(212, 208, 200), "Menu Bar Background"},
};

bool valid(int index) { return index >= 0 && index < kSysColorCount; }

} // namespace

COLORREF GetSysColor(int index) { return valid(index) ? kTable[index].rgb : 0; }

const char* SysColorName(int index) { return valid(index) ? kTable[index].name : nullptr; }

HRESULT TranslateColor(OLE_COLOR color, COLORREF* rgb)
{
    if (!rgb)
        return E_POINTER;
    switch (color >> 24) {
    case 0x00:
    case 0x02:
        *rgb = color & 0x00FFFFFF;
        return S_OK;
    case 0x80:
        if (!valid(int(color & 0x00FFFFFF)))
            return E_INVALIDARG;
        *rgb = GetSysColor(int(color & 0x00FFFFFF));
        return S_OK;
    default:
        return E_INVALIDARG;
    }
}

QColor ColorOf(OLE_COLOR color)
{
    COLORREF rgb = 0;
    TranslateColor(color, &rgb);
    return toQColor(rgb);
}

} // namespace vyr::gdi
