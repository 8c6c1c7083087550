#include "controls/values/unit_selector.h"

#include "platform/gdi/invert.h"
#include "platform/gdi/syscolors.h"
#include "platform/gdi/text.h"

#include <QAbstractItemView>
#include <QPainter>
#include <QStyledItemDelegate>

namespace vyr::values {

namespace {

class UnitItemDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const bool selected = option.state & QStyle::State_Selected;
        painter->save();
        painter->fillRect(option.rect, gdi::SysColor(selected ? gdi::COLOR_HIGHLIGHT : gdi::COLOR_WINDOW));
        painter->setPen(gdi::SysColor(selected ? gdi::COLOR_HIGHLIGHTTEXT : gdi::COLOR_WINDOWTEXT));
        painter->setFont(option.font);
        // Twice a quarter of the dialog base width: the average character width rounded
        // down to a multiple of two quarters.
        const int indent = 2 * (option.fontMetrics.averageCharWidth() / 4);
        QRect text = option.rect.adjusted(indent, 0, 0, 0);
        gdi::DrawText(*painter, index.data().toString(), text,
                      gdi::DT_SINGLELINE | gdi::DT_VCENTER | gdi::DT_NOPREFIX);
        if (option.state & QStyle::State_HasFocus)
            gdi::DrawFocusRect(*painter, option.rect);
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        // One text line per item.
        return {QStyledItemDelegate::sizeHint(option, index).width(), option.fontMetrics.height()};
    }
};

} // namespace

int keptSelection(int kept, size_t count)
{
    if (count == 0)
        return -1;
    return kept >= 0 && size_t(kept) < count ? kept : 0;
}

UnitSelector::UnitSelector(QWidget* parent) : QComboBox(parent)
{
    setItemDelegate(new UnitItemDelegate(this));
    setFocusPolicy(Qt::StrongFocus);
}

int UnitSelector::refill(const std::vector<std::string>& names)
{
    const int kept = currentIndex();
    const QSignalBlocker quiet(this);
    clear();
    for (const std::string& n : names)
        addItem(QString::fromStdString(n));
    const int selected = keptSelection(kept, names.size());
    setCurrentIndex(selected);
    return selected;
}

} // namespace vyr::values
