#pragma once
// The tool's message boxes and open-file dialog as Qt shows them.
#include "vtx/model/messages.h"

class QWidget;

namespace vyr::vtx::ui {

class QtMessageBoxes : public MessageBoxes {
public:
    explicit QtMessageBoxes(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }
    Answer show(const std::string& text, const std::string& caption, Buttons buttons) override;
    // The details behind the box's "Show Details..." button.
    Answer showDetailed(const std::string& text, const std::string& details, const std::string& caption,
                        Buttons buttons) override;

private:
    QWidget* parent_;
};

class QtFileDialog : public FileDialog {
public:
    explicit QtFileDialog(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }
    std::string pickDatabase(const std::string& currentPath) override;

private:
    QWidget* parent_;
};

} // namespace vyr::vtx::ui
