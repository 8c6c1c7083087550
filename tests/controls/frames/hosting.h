#pragma once
// Test helpers for the hosting controls: reaching the C++ objects behind hosted controls,
// describing a page tree as text, and delivering drag-and-drop events to pages.
#include "controls/core/host.h"
#include "controls/frames/frame.h"
#include <QMimeData>
#include <string>

namespace vyr::frames::test {

controls::ControlBase* controlOf(const controls::HostWidget* host);
controls::Frame* frameOf(const controls::HostWidget* host);
controls::MultiPageFrame* pageSetOf(const controls::HostWidget* host);

// Every page of a set, its hosted controls (class, rectangle, caption) and, for hosted frames
// and page sets, their pages, one line each. Pages without a window are described by the size
// of their cached data.
std::string describe(controls::MultiPageFrame& set, int depth = 0);

// Hosts a control on `page` and returns its host.
controls::HostWidget* insert(ControlPage& page, const std::string& classId, RECT rect);

// The saved bytes of a hosted control.
std::vector<uint8_t> saved(controls::HostWidget& host);

// Delivers a drag of `data` to `target` at `at` (enter, move, drop) with `modifiers`, the way
// the platform's drag loop would, and returns the effect the drop reported.
Qt::DropAction deliverDrop(QWidget* target, QPoint at, QMimeData* data, Qt::DropActions allowed,
                           Qt::KeyboardModifiers modifiers);

// Deletes what was scheduled for deletion (pages and controls that went away).
void flushDeletes();

} // namespace vyr::frames::test
