#include "exchange/import_files.h"

#include "exchange/converters.h"

#include <QFileInfo>
#include <QHash>

#include <algorithm>

namespace vlr {

QString AcceptedExtensions(const QList<TConverter>& converters) {
    QString text = QStringLiteral("txt rtf");
    for (const TConverter& c : converters)
        text += u' ' + c.ExtensionsText();
    return text;
}

QString ExtensionOf(const QString& fileName) {
    return QFileInfo(fileName).suffix().trimmed().toLower();
}

bool IsAcceptedFile(const QString& fileName, const QString& accepted) {
    const QString extension = ExtensionOf(fileName);
    return !extension.isEmpty() && accepted.contains(extension);
}

QString ImportTypeName(const QString& extension) {
    // The system's type descriptions follow the system's language; the list
    // speaks the program's.
    static const QHash<QString, QString> names = {
        {QStringLiteral("txt"), QStringLiteral("Текстовый документ")},
        {QStringLiteral("rtf"), QStringLiteral("Документ RTF")},
        {QStringLiteral("md"), QStringLiteral("Документ Markdown")},
        {QStringLiteral("doc"), QStringLiteral("Документ Word 97-2003")},
        {QStringLiteral("docx"), QStringLiteral("Документ Word")},
        {QStringLiteral("odt"), QStringLiteral("Текстовый документ OpenDocument")},
        {QStringLiteral("epub"), QStringLiteral("Электронная книга EPUB")},
        {QStringLiteral("html"), QStringLiteral("Веб-страница")},
        {QStringLiteral("htm"), QStringLiteral("Веб-страница")},
    };
    const QString name = names.value(extension.toLower());
    if (!name.isEmpty())
        return name;
    return extension.isEmpty() ? QStringLiteral("???") : QStringLiteral("Файл «%1»").arg(extension.toUpper());
}

std::optional<TImportRow> MakeImportRow(const QString& fileName, const QString& accepted,
                                        const QList<TConverter>& converters) {
    const QFileInfo info(fileName);
    if (!IsAcceptedFile(fileName, accepted) || !info.isFile())
        return std::nullopt;
    TImportRow row;
    row.displayName = info.fileName();
    row.folder = info.absolutePath();
    if (!row.folder.endsWith(u'/'))
        row.folder += u'/';
    row.size = info.size();
    row.typeName = ImportTypeName(ExtensionOf(fileName));
    row.fileName = info.absoluteFilePath();
    const QString extension = ExtensionOf(fileName);
    for (qsizetype i = 0; i < converters.size(); ++i)
        if (converters[i].Handles(extension)) {
            row.converter = int(i);
            break;
        }
    return row;
}

QStringList ImportFilters(const QList<TConverter>& converters) {
    QString all = QStringLiteral("*.rtf *.txt");
    QStringList filters;
    for (const TConverter& c : converters) {
        all += u' ' + c.Patterns();
        filters << QStringLiteral("%1 (%2)").arg(c.name, c.Patterns());
    }
    filters.prepend(QStringLiteral("Все поддерживаемые форматы (%1)").arg(all));
    return filters;
}

void SortRowsByFolder(QList<TImportRow>& rows) {
    std::stable_sort(rows.begin(), rows.end(),
                     [](const TImportRow& a, const TImportRow& b) { return a.folder < b.folder; });
}

} // namespace vlr
