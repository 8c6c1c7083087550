#include "tests/controls/frames/hosting.h"
#include "platform/com/memstream.h"
#include <QApplication>
#include <QDropEvent>
#include <cstring>
#include <sstream>

namespace vyr::frames::test {

using controls::HostWidget;

controls::ControlBase* controlOf(const HostWidget* host)
{
    if (!host || !host->control())
        return nullptr;
    // A control's identity is the IDispatch of its base.
    return static_cast<controls::ControlBase*>(static_cast<IDispatch*>(host->control()));
}

controls::Frame* frameOf(const HostWidget* host) { return dynamic_cast<controls::Frame*>(controlOf(host)); }

controls::MultiPageFrame* pageSetOf(const HostWidget* host)
{
    return dynamic_cast<controls::MultiPageFrame*>(controlOf(host));
}

std::string describe(controls::MultiPageFrame& set, int depth)
{
    std::ostringstream out;
    const std::string indent(size_t(depth) * 2, ' ');
    for (LONG i = 0; i < set.pageSet().count(); ++i) {
        ControlPage& page = *set.page(i);
        out << indent << "page " << i << " drag " << page.dragControls();
        if (!page.hasWindow()) {
            // The count of controls in the cached form: after its header block's length.
            int32_t n = 0;
            if (const auto* cache = page.cachedData(); cache && cache->size() >= 8)
                std::memcpy(&n, cache->data() + 4, 4);
            out << " cached with " << n << " controls\n";
            continue;
        }
        out << "\n";
        for (HostWidget* h : page.hosts()) {
            const QRect g = h->geometry();
            out << indent << "  " << com::formatGuid(h->classId()) << " " << g.x() << "," << g.y() << " " << g.width()
                << "x" << g.height() << " '" << h->property("Caption").toString().value_or("") << "'\n";
            if (controls::Frame* f = frameOf(h))
                out << describe(f->inner(), depth + 2);
            else if (controls::MultiPageFrame* m = pageSetOf(h))
                out << describe(*m, depth + 2);
        }
    }
    return out.str();
}

HostWidget* insert(ControlPage& page, const std::string& classId, RECT rect)
{
    if (FAILED(page.insertControl(classId, rect)))
        return nullptr;
    return page.hosts().back();
}

std::vector<uint8_t> saved(HostWidget& host)
{
    auto s = com::MemoryStream::create();
    if (FAILED(host.save(s.get(), false)))
        return {};
    return s->bytes();
}

Qt::DropAction deliverDrop(QWidget* target, QPoint at, QMimeData* data, Qt::DropActions allowed,
                           Qt::KeyboardModifiers modifiers)
{
    QDragEnterEvent enter(at, allowed, data, Qt::LeftButton, modifiers);
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted())
        return Qt::IgnoreAction;
    QDragMoveEvent move(at, allowed, data, Qt::LeftButton, modifiers);
    QApplication::sendEvent(target, &move);
    QDropEvent drop(at, allowed, data, Qt::LeftButton, modifiers);
    QApplication::sendEvent(target, &drop);
    return drop.isAccepted() ? drop.dropAction() : Qt::IgnoreAction;
}

void flushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace vyr::frames::test
