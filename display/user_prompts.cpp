// Qt dialogs behind the user-prompt seam.
#include "user_prompts.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>

namespace nimboview {

void QtUserPrompts::Warning(QWidget* parent, const QString& title, const QString& text) {
    QMessageBox::warning(parent, title, text);
}

std::optional<QString> QtUserPrompts::ChooseLogFile(QWidget* parent,
                                                    const LogFileRequest& request) {
    QFileDialog dialog(parent, QStringLiteral("Enter the log file name"));
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setNameFilters({QStringLiteral("Synop (*.syn)"), QStringLiteral("Text (*.txt)")});
    dialog.selectNameFilter(QStringLiteral("Synop (*.syn)"));
    dialog.setOption(QFileDialog::ReadOnly, false);
    if (!request.directory.isEmpty()) dialog.setDirectory(request.directory);
    if (!request.fileName.isEmpty()) dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    const QString path = dialog.selectedFiles().front();
    // The folder must exist; a new file name in it is fine (the log is
    // created when it opens).
    if (!QFileInfo(path).absoluteDir().exists()) return std::nullopt;
    if (!QFileInfo::exists(path)) {
        const auto answer = QMessageBox::question(
            parent, dialog.windowTitle(),
            QFileInfo(path).fileName() + "\nThis file does not exist.\nCreate the file?");
        if (answer != QMessageBox::Yes) return std::nullopt;
    }
    return path;
}

std::optional<QString> QtUserPrompts::ChooseExportFile(QWidget* parent, const QString& name) {
    QFileDialog dialog(parent, QStringLiteral("Export the Decoded Reports"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    const QStringList filters = {QStringLiteral("CSV (*.csv)"),
                                 QStringLiteral("GeoJSON (*.geojson)"),
                                 QStringLiteral("obs-json, one report a line (*.jsonl)")};
    const QStringList suffixes = {"csv", "geojson", "jsonl"};
    dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(suffixes.front());
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString& filter) {
        dialog.setDefaultSuffix(suffixes.value(filters.indexOf(filter), "csv"));
    });
    dialog.selectFile(name);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().front();
}

}  // namespace nimboview
