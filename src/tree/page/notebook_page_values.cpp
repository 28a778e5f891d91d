#include "tree/page/notebook_page_values.h"

#include "storage/node_root.h"

#include <QLocale>
#include <QStringList>

#include <array>

namespace vlr {

namespace {

const QString kNotAvailable = QStringLiteral("Н/Д");
const QString kBytes = QStringLiteral("байт(а)");
const QString kCreatedFormat = QStringLiteral("d mmm yyyy, hh:mm:ss");
const QString kWastedTip =
    QStringLiteral("Используйте \"Файл->Сжать книжку\" чтобы уменьшить этот размер до нуля.");

struct RowSpec {
    NotebookPageField field;
    const char16_t* labelName;
    const char16_t* caption;
};

constexpr std::array<RowSpec, 7> kRows = {{
    {NotebookPageField::FileName, u"lbFileName", u"Имя файла:"},
    {NotebookPageField::NumOfNotes, u"lbNumOfNotes", u"Число записей:"},
    {NotebookPageField::Created, u"lbCreated", u"Создана:"},
    {NotebookPageField::Size, u"lbSize", u"Размер книжки:"},
    {NotebookPageField::Wasted, u"lbWasted", u"Неиспользовано:"},
    {NotebookPageField::Flags, u"lbFlags", u"Статус:"},
    {NotebookPageField::Version, u"lbVersion", u"Версия VLR:"},
}};

struct CommandSpec {
    const char16_t* name;
    const char16_t* text;
};

constexpr std::array<CommandSpec, NotebookRootCommandCount> kCommands = {{
    {u"NoteRootVisual", u"Визуальные..."},
    {u"NoteRootSaving", u"Сохранение..."},
    {u"NoteRootSecurity", u"Безопасность..."},
    {u"NoteRootAuthor", u"Авторские..."},
}};

// Values in the order of kRows.
using RowValues = std::array<QString, kRows.size()>;

QList<NotebookPageRow> makeRows(const RowValues& values, const QString& fileName) {
    QList<NotebookPageRow> rows;
    rows.reserve(qsizetype(kRows.size()));
    for (size_t i = 0; i < kRows.size(); ++i) {
        NotebookPageRow row{kRows[i].field, QString::fromUtf16(kRows[i].labelName),
                            QString::fromUtf16(kRows[i].caption), values[i], QString()};
        if (row.field == NotebookPageField::FileName)
            row.toolTip = fileName;
        else if (row.field == NotebookPageField::Wasted)
            row.toolTip = kWastedTip;
        rows.append(row);
    }
    return rows;
}

QString unknownBytes() {
    return QStringLiteral("? ") + kBytes;
}

// A negative count is no size at all (no file, or a damaged tree offset):
// it shows as unknown rather than as a negative number of bytes.
QString bytesText(qint64 bytes, const QString& separator) {
    return bytes < 0 ? unknownBytes() : groupDigits(bytes, separator) + u' ' + kBytes;
}

// Zero is a creation time never set; values outside the calendar come from
// damaged headers. Neither is a date worth showing.
QString createdText(TDateTime created, const DateFormatLocale& locale) {
    if (!(created > 0))
        return kNotAvailable;
    const QDateTime when = fromTDateTime(created);
    return when.isValid() ? formatDateTime(kCreatedFormat, when, locale) : kNotAvailable;
}

QString flagsText(const NotebookPageInput& input) {
    QStringList parts;
    if (input.compressed)
        parts << QStringLiteral("Упакована");
    if (input.encrypted)
        parts << QStringLiteral("Защищена");
    if (input.readOnly)
        parts << QStringLiteral("Чтение");
    return parts.isEmpty() ? QStringLiteral("Нет") : parts.join(QStringLiteral("   "));
}

} // namespace

NotebookPageInput inputFromNotebook(const TNodeRoot& notebook) {
    NotebookPageInput input;
    input.fileName = notebook.FileName;
    input.noteCount = notebook.Notes.size();
    input.created = notebook.Header.Created();
    input.fileSize = notebook.FileSize();
    input.wastedSpace = notebook.WastedSpace();
    input.compressed = notebook.HasBookFlag(bfCompressed);
    input.encrypted = notebook.HasBookFlag(bfEncrypted);
    input.readOnly = notebook.IsReadOnly();
    input.version = notebook.Header.Version();
    return input;
}

NotebookPageFormat NotebookPageFormat::system() {
    // Dates follow the system's settings; digits are grouped as the Russian
    // interface groups them, not with the system's comma.
    return {DateFormatLocale::fromLocale(QLocale::system()), kGroupSeparator};
}

QList<NotebookPageRow> notebookPageRows(const NotebookPageInput& input, const NotebookPageFormat& format) {
    const bool hasFile = !input.fileName.isEmpty();
    // Sizes mean nothing for a notebook that was never written, and the
    // unused space is only worked out once the notebook holds a note.
    const QString size = hasFile ? bytesText(input.fileSize, format.groupSeparator) : unknownBytes();
    const QString wasted =
        hasFile && input.noteCount > 0 ? bytesText(input.wastedSpace, format.groupSeparator) : unknownBytes();
    const RowValues values = {
        hasFile ? input.fileName : kNotAvailable,
        QString::number(input.noteCount),
        createdText(input.created, format.dates),
        size,
        wasted,
        flagsText(input),
        QString::number(input.version),
    };
    return makeRows(values, input.fileName);
}

QList<NotebookPageRow> unavailableNotebookPageRows() {
    const RowValues values = {kNotAvailable,  kNotAvailable,         kNotAvailable, unknownBytes(),
                              unknownBytes(), QStringLiteral("Нет"), kNotAvailable};
    return makeRows(values, QString());
}

QString rootCommandName(NotebookRootCommand command) {
    return QString::fromUtf16(kCommands.at(size_t(command)).name);
}

QString rootCommandText(NotebookRootCommand command) {
    return QString::fromUtf16(kCommands.at(size_t(command)).text);
}

QString notebookPageTitle() {
    return QStringLiteral("Свойства книжки");
}

} // namespace vlr
