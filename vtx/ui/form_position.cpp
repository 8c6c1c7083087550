#include "vtx/ui/form_position.h"

#include "vtx/model/tool.h"

#include <QScreen>
#include <QWidget>

namespace vyr::vtx::ui {

namespace {

double twipsPerPixel(const QWidget& w)
{
    return 1440.0 / w.logicalDpiX();
}

} // namespace

void restoreFormPosition(QWidget& form, const char* formName)
{
    QScreen* s = form.screen();
    QRect area = s ? s->geometry() : QRect(0, 0, 1280, 1024);
    double tpp = twipsPerPixel(form);
    tool::Position p = tool::restorePosition(formName, int32_t(area.width() * tpp), int32_t(area.height() * tpp));
    form.move(area.left() + int(p.left / tpp), area.top() + int(p.top / tpp));
}

void saveFormPosition(const QWidget& form, const char* formName)
{
    QScreen* s = form.screen();
    QPoint origin = s ? s->geometry().topLeft() : QPoint();
    double tpp = twipsPerPixel(form);
    tool::savePosition(formName, (form.x() - origin.x()) * tpp, (form.y() - origin.y()) * tpp);
}

} // namespace vyr::vtx::ui
