#pragma once
// The import wizard's file list: which files are accepted, and one row per file.
#include "exchange/converters.h"

#include <QList>
#include <QString>

#include <optional>

namespace vlr {

struct TImportRow {
    QString displayName; // "Имя"
    QString folder;      // "Путь", with a trailing "/"
    qint64 size = 0;     // "Размер"
    QString typeName;    // "Тип"
    QString fileName;    // "ИмяФайла", the full name
    int converter = -1;  // the first import converter taking the extension, or -1
};

// "txt rtf" and each converter's extension list, after a space.
QString AcceptedExtensions(const QList<TConverter>& converters);
// Lower case, without the dot and surrounding blanks.
QString ExtensionOf(const QString& fileName);
// A file is accepted when its extension is not empty and occurs in the
// accepted-extensions text.
bool IsAcceptedFile(const QString& fileName, const QString& accepted);
// The "Тип" of a file with that extension, in Russian.
QString ImportTypeName(const QString& extension);
// The row for an accepted file that exists; none otherwise.
std::optional<TImportRow> MakeImportRow(const QString& fileName, const QString& accepted,
                                        const QList<TConverter>& converters);

// Filters of the open dialog: all supported formats, then one per converter.
QStringList ImportFilters(const QList<TConverter>& converters);

// Dropped files: sorted by the folder column (stable within a folder).
void SortRowsByFolder(QList<TImportRow>& rows);

} // namespace vlr
