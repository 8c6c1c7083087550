#include "vtx/ui/qt_dialogs.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace vyr::vtx::ui {

Answer QtMessageBoxes::show(const std::string& text, const std::string& caption, Buttons buttons)
{
    return showDetailed(text, {}, caption, buttons);
}

Answer QtMessageBoxes::showDetailed(const std::string& text, const std::string& details, const std::string& caption,
                                    Buttons buttons)
{
    QMessageBox box(parent_);
    box.setWindowTitle(QString::fromStdString(caption));
    box.setText(QString::fromStdString(text));
    if (!details.empty())
        box.setDetailedText(QString::fromStdString(details));
    switch (buttons) {
    case Buttons::Ok:
        box.setIcon(QMessageBox::Information);
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case Buttons::YesNo:
        box.setIcon(QMessageBox::Question);
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case Buttons::YesNoCancel:
        box.setIcon(QMessageBox::Question);
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    case QMessageBox::Cancel: return Answer::Cancel;
    default: return buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel;
    }
}

std::string QtFileDialog::pickDatabase(const std::string& currentPath)
{
    QFileDialog dialog(parent_);
    dialog.setFileMode(QFileDialog::ExistingFile);   // the file must exist
    dialog.setOption(QFileDialog::ReadOnly, false);
    dialog.setNameFilter(QStringLiteral("*.mdb"));
    QFileInfo current(QString::fromStdString(currentPath));
    if (!currentPath.empty()) {
        dialog.setDirectory(current.absolutePath());
        dialog.selectFile(current.fileName());
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst().toStdString();
}

} // namespace vyr::vtx::ui
