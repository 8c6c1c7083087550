#include "platform/gdi/syscolors.h"
#include <QGuiApplication>
#include <QPalette>

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

struct RoleOf {
    int index;
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

// Where each system colour lives in a palette; the title-bar, border, desktop and workspace
// entries have no counterpart there and keep their classic values.
constexpr RoleOf kRoles[] = {
    {COLOR_SCROLLBAR, QPalette::Active, QPalette::Button},
    {COLOR_MENU, QPalette::Active, QPalette::Window},
    {COLOR_WINDOW, QPalette::Active, QPalette::Base},
    {COLOR_MENUTEXT, QPalette::Active, QPalette::WindowText},
    {COLOR_WINDOWTEXT, QPalette::Active, QPalette::Text},
    {COLOR_HIGHLIGHT, QPalette::Active, QPalette::Highlight},
    {COLOR_HIGHLIGHTTEXT, QPalette::Active, QPalette::HighlightedText},
    {COLOR_BTNFACE, QPalette::Active, QPalette::Button},
    {COLOR_BTNSHADOW, QPalette::Active, QPalette::Dark},
    {COLOR_GRAYTEXT, QPalette::Disabled, QPalette::WindowText},
    {COLOR_BTNTEXT, QPalette::Active, QPalette::ButtonText},
    {COLOR_BTNHIGHLIGHT, QPalette::Active, QPalette::Light},
    {COLOR_3DDKSHADOW, QPalette::Active, QPalette::Shadow},
    {COLOR_3DLIGHT, QPalette::Active, QPalette::Midlight},
    {COLOR_INFOTEXT, QPalette::Active, QPalette::ToolTipText},
    {COLOR_INFOBK, QPalette::Active, QPalette::ToolTipBase},
    {COLOR_HOTLIGHT, QPalette::Active, QPalette::Link},
    {COLOR_MENUHILIGHT, QPalette::Active, QPalette::Highlight},
    {COLOR_MENUBAR, QPalette::Active, QPalette::Window},
};

const RoleOf* roleOf(int index)
{
    for (const RoleOf& r : kRoles)
        if (r.index == index)
            return &r;
    return nullptr;
}

// The text role a palette pairs with a background role.
std::optional<QPalette::ColorRole> textRoleOn(QPalette::ColorRole background)
{
    switch (background) {
    case QPalette::Base: case QPalette::AlternateBase: return QPalette::Text;
    case QPalette::Button: return QPalette::ButtonText;
    case QPalette::Window: return QPalette::WindowText;
    case QPalette::Highlight: return QPalette::HighlightedText;
    case QPalette::ToolTipBase: return QPalette::ToolTipText;
    default: return std::nullopt;
    }
}

bool isTextRole(QPalette::ColorRole role)
{
    return role == QPalette::Text || role == QPalette::ButtonText || role == QPalette::WindowText ||
           role == QPalette::HighlightedText || role == QPalette::ToolTipText;
}

} // namespace

COLORREF ClassicSysColor(int index) { return valid(index) ? kTable[index].rgb : 0; }

COLORREF GetSysColor(int index)
{
    if (!valid(index))
        return 0;
    const RoleOf* r = qGuiApp ? roleOf(index) : nullptr;
    if (!r)
        return kTable[index].rgb;
    return toColorRef(QGuiApplication::palette().color(r->group, r->role));
}

QPalette ClassicPalette()
{
    QPalette p;
    for (const QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        for (const RoleOf& r : kRoles)
            if (r.group == QPalette::Active)
                p.setColor(g, r.role, toQColor(kTable[r.index].rgb));
        p.setColor(g, QPalette::Mid, toQColor(kTable[COLOR_BTNSHADOW].rgb));
        p.setColor(g, QPalette::AlternateBase, toQColor(kTable[COLOR_BTNFACE].rgb));
        p.setColor(g, QPalette::BrightText, toQColor(kTable[COLOR_BTNHIGHLIGHT].rgb));
        p.setColor(g, QPalette::LinkVisited, toQColor(kTable[COLOR_HOTLIGHT].rgb));
        p.setColor(g, QPalette::PlaceholderText, toQColor(kTable[COLOR_GRAYTEXT].rgb));
    }
    for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(QPalette::Disabled, role, toQColor(kTable[COLOR_GRAYTEXT].rgb));
    p.setColor(QPalette::Disabled, QPalette::Base, toQColor(kTable[COLOR_BTNFACE].rgb));
    return p;
}

std::optional<std::pair<QPalette::ColorGroup, QPalette::ColorRole>> SysColorRole(int index)
{
    if (const RoleOf* r = roleOf(index))
        return std::pair(r->group, r->role);
    return std::nullopt;
}

QColor TextColorOn(OLE_COLOR text, OLE_COLOR background)
{
    const auto sysIndex = [](OLE_COLOR c) { return (c >> 24) == 0x80 ? int(c & 0x00FFFFFF) : -1; };
    const RoleOf* t = roleOf(sysIndex(text));
    const RoleOf* b = roleOf(sysIndex(background));
    if (qGuiApp && t && b && isTextRole(t->role) && t->group == QPalette::Active) {
        const auto paired = textRoleOn(b->role);
        if (paired && *paired != t->role)
            return QGuiApplication::palette().color(QPalette::Active, *paired);
    }
    return ColorOf(text);
}

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
