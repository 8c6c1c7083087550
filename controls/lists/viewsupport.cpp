#include "controls/lists/viewsupport.h"
#include "platform/gdi/syscolors.h"
#include <QPalette>
#include <QWidget>

namespace vyr::controls::lists {

PropertyDesc withAfter(PropertyDesc row, void (*after)(ControlBase&))
{
    row.put = [put = row.put, after](ControlBase& b, const VARIANT& v, PutKind kind) {
        const HRESULT hr = put(b, v, kind);
        if (SUCCEEDED(hr))
            after(b);
        return hr;
    };
    return row;
}

void applyViewColors(QWidget* view, OLE_COLOR fore, OLE_COLOR back, bool enabled)
{
    if (!view)
        return;
    QPalette pal = view->palette();
    const QColor text = gdi::ColorOf(fore);
    const QColor base = enabled ? gdi::ColorOf(back) : gdi::SysColor(gdi::COLOR_BTNFACE);
    for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        pal.setColor(g, QPalette::Text, text);
        pal.setColor(g, QPalette::WindowText, text);
        pal.setColor(g, QPalette::Base, base);
        pal.setColor(g, QPalette::Window, base);
    }
    view->setPalette(pal);
}

} // namespace vyr::controls::lists
