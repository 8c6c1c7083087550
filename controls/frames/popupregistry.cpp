#include "controls/frames/popupregistry.h"
#include "controls/frames/popupdialog.h"
#include <QApplication>
#include <QMouseEvent>
#include <algorithm>

namespace vyr::controls {

PopupRegistry& PopupRegistry::instance()
{
    static PopupRegistry* registry = new PopupRegistry; // lives as long as the thread's windows
    return *registry;
}

void PopupRegistry::add(PopupDialog* dialog, QWidget* popup, QWidget* button)
{
    remove(dialog);
    Entry& e = entries_[dialog];
    e.popup = popup;
    e.windows.push_back(popup);
    for (QWidget* w = button; w; w = w->isWindow() ? nullptr : w->parentWidget())
        e.windows.push_back(w);
    for (const QPointer<QWidget>& w : e.windows) {
        e.raw.push_back(w.data());
        if (w && w != popup)
            e.connections.push_back(connect(w.data(), &QObject::destroyed, this, [this](QObject* o) { gone(o); }));
    }
    if (!filtering_) {
        qApp->installEventFilter(this);
        filtering_ = true;
    }
}

void PopupRegistry::remove(PopupDialog* dialog)
{
    auto it = entries_.find(dialog);
    if (it == entries_.end())
        return;
    for (const QMetaObject::Connection& c : it->second.connections)
        disconnect(c);
    entries_.erase(it);
    if (entries_.empty() && filtering_) {
        qApp->removeEventFilter(this);
        filtering_ = false;
    }
}

bool PopupRegistry::inWatched(const PopupDialog* dialog, const QWidget* w) const
{
    auto it = entries_.find(const_cast<PopupDialog*>(dialog));
    if (it == entries_.end() || !w)
        return false;
    for (const QPointer<QWidget>& watched : it->second.windows) {
        if (watched && (watched == w || watched->isAncestorOf(w)))
            return true;
    }
    return false;
}

void PopupRegistry::gone(QObject* window)
{
    std::vector<PopupDialog*> hit;
    for (auto& [dialog, e] : entries_) {
        if (std::find(e.raw.begin(), e.raw.end(), window) != e.raw.end())
            hit.push_back(dialog);
    }
    for (PopupDialog* dialog : hit) {
        if (entries_.count(dialog))
            dialog->watchedWindowGone();
    }
}

bool PopupRegistry::eventFilter(QObject* watched, QEvent* e)
{
    const QEvent::Type t = e->type();
    if (t != QEvent::MouseButtonPress && t != QEvent::NonClientAreaMouseButtonPress && t != QEvent::Move &&
        t != QEvent::Resize)
        return false;
    auto* w = qobject_cast<QWidget*>(watched);
    if (!w)
        return false;
    // Handlers may close popups and so change the registry: work on a copy.
    std::vector<std::pair<PopupDialog*, Entry*>> now;
    for (auto& [dialog, entry] : entries_)
        now.emplace_back(dialog, &entry);
    for (auto [dialog, entry] : now) {
        if (!entries_.count(dialog))
            continue;
        if (t == QEvent::MouseButtonPress || t == QEvent::NonClientAreaMouseButtonPress) {
            auto* me = static_cast<QMouseEvent*>(e);
            // A press the widget under the mouse passes on reaches its parents again; the first
            // one that closes the popup leaves nothing for the others to do.
            if (me->button() == Qt::LeftButton)
                dialog->pressed(w, w->mapTo(w->window(), me->position().toPoint()), t == QEvent::MouseButtonPress);
            continue;
        }
        const bool isWatched = std::any_of(entry->windows.begin(), entry->windows.end(),
                                           [w](const QPointer<QWidget>& p) { return p == w; });
        if (!isWatched)
            continue;
        if (w == entry->popup)
            dialog->popupGeometryChanged();
        else
            dialog->watchedWindowMoved();
    }
    return false;
}

} // namespace vyr::controls
