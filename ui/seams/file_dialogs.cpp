#include "ui/seams/file_dialogs.h"

#include <QApplication>
#include <QFileDialog>

#include "core/resources/string_table.h"
#include "platform/qt/qt_text.h"

namespace kantoria {
namespace {

QStringList Filters() {
    return {ToQt(TemplateField(DocField::FilterName)), ToQt(LoadString(IDS_ALL_FILES_FILTER))};
}

QStringList CsvFilters() {
    return {ToQt(LoadString(IDS_CSV_FILTER)), ToQt(LoadString(IDS_ALL_FILES_FILTER))};
}

std::optional<std::string> Run(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return PathFromQt(dialog.selectedFiles().constFirst());
}

}  // namespace

std::optional<std::string> QtFileDialogs::GetOpenFileName() {
    QFileDialog dialog(QApplication::activeWindow(), ToQt(LoadString(IDS_OPEN_CAPTION)));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(Filters());
    return Run(dialog);
}

std::optional<std::string> QtFileDialogs::GetSaveFileName(std::string_view proposed) {
    QFileDialog dialog(QApplication::activeWindow(), ToQt(LoadString(IDS_SAVE_AS_CAPTION)));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(Filters());
    // The default extension, without its dot.
    dialog.setDefaultSuffix(ToQt(TemplateField(DocField::FilterExt)).mid(1));
    if (!proposed.empty()) dialog.selectFile(ToQt(proposed));
    return Run(dialog);
}

std::optional<std::string> QtFileDialogs::GetEntryFileName(std::string_view start) {
    QFileDialog dialog(QApplication::activeWindow(), ToQt(LoadString(IDS_OPEN_CAPTION)));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    // "*.*" would hide files without an extension here, which the user may register too.
    dialog.setNameFilter(
        ToQt(LoadString(IDS_ALL_FILES_FILTER)).replace(QStringLiteral("*.*"), QStringLiteral("*")));
    if (!start.empty()) dialog.selectFile(ToQt(start));
    return Run(dialog);
}

std::optional<std::string> QtFileDialogs::BrowseForFolder(std::string_view caption,
                                                          std::string_view start) {
    const QString folder =
        QFileDialog::getExistingDirectory(QApplication::activeWindow(), ToQt(caption), ToQt(start));
    if (folder.isEmpty()) return std::nullopt;
    return PathFromQt(folder);
}

std::optional<std::string> QtFileDialogs::GetExportFileName(std::string_view proposed) {
    QFileDialog dialog(QApplication::activeWindow(), ToQt(LoadString(IDS_EXPORT_CAPTION)));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(CsvFilters());
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    if (!proposed.empty()) dialog.selectFile(ToQt(proposed));
    return Run(dialog);
}

std::optional<std::string> QtFileDialogs::GetImportFileName() {
    QFileDialog dialog(QApplication::activeWindow(), ToQt(LoadString(IDS_IMPORT_CAPTION)));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(CsvFilters());
    return Run(dialog);
}

}  // namespace kantoria
