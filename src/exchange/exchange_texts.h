#pragma once
// The user-visible texts of export and import, shared by the logic (progress
// windows, error notes) and the wizards.
#include <QString>

namespace vlr {

// Progress windows.
inline const QString kGeneratingText = QStringLiteral("Генерирую текст, подождите...");
inline const QString kProcessingFiles = QStringLiteral("Обработка файлов, подождите...");
inline const QString kGeneratingNotebook = QStringLiteral("Генерирую VLR-книжку, ждём-с...");
inline const QString kImportingProgress = QStringLiteral("Импортируем %1...");

// Results of the export wizard's finish.
inline const QString kExportDone = QStringLiteral("Экспорт завершён!");
inline const QString kExportFailed = QStringLiteral("Ошибка экспорта!");
inline const QString kCaptionDone = QStringLiteral("Готово!");
inline const QString kCaptionError = QStringLiteral("Ошибка");

// The text a file that could not be imported leaves in its note.
inline const QString kImportError = QStringLiteral("Ошибка импорта %1");

// Raised when the structured export cannot save its notebook.
inline const QString kVlrSaveError = QStringLiteral("Error saving .VLR-file!");

// The generator line of exported HTML pages.
inline const QString kHtmlGenerator = QStringLiteral("<META name=GENERATOR content=\"Vellinor 1.5.0\">\r\n");

} // namespace vlr
