#pragma once
// The remembered position of a form, in twips (1440 to the logical inch) from the screen's
// top-left corner, as the registry keeps it for every form of the tool.
class QWidget;

namespace vyr::vtx::ui {

// Moves `form` to the position remembered under `formName`, kept on the screen.
void restoreFormPosition(QWidget& form, const char* formName);
void saveFormPosition(const QWidget& form, const char* formName);

} // namespace vyr::vtx::ui
