#pragma once
// The tool's Close buttons: a Button control of the control library ("Close"), created
// through its class factory, that calls `onClose` once per click.
#include <QSize>
#include <functional>

class QWidget;

namespace vyr::controls { class HostWidget; }

namespace vyr::vtx::ui {

controls::HostWidget* makeCloseButton(QWidget* parent, QSize size, std::function<void()> onClose);

} // namespace vyr::vtx::ui
