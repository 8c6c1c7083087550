#include "controls/lists/viewsupport.h"
#include "platform/gdi/syscolors.h"
#include <QPalette>
#include <QVariant>
#include <QWidget>

namespace vyr::controls::lists {

namespace {
// The colours a view was given, kept on it for a palette change.
constexpr const char* kColorsProperty = "vyrViewColors";
} // namespace

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
    view->setProperty(kColorsProperty, QVariantList{uint(fore), uint(back), enabled});
}

void reapplyViewColors(QWidget* root)
{
    if (!root)
        return;
    QList<QWidget*> views = root->findChildren<QWidget*>();
    views.prepend(root);
    for (QWidget* w : views) {
        const QVariantList c = w->property(kColorsProperty).toList();
        if (c.size() == 3)
            applyViewColors(w, OLE_COLOR(c[0].toUInt()), OLE_COLOR(c[1].toUInt()), c[2].toBool());
    }
}

} // namespace vyr::controls::lists
