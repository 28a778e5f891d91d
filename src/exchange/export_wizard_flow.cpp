#include "exchange/export_wizard_flow.h"

namespace vlr {

TExportStep TExportFlow::Next(TExportStep from) const {
    const auto afterChoice = [this] {
        switch (kind) {
        case TExportKind::OneFile:
            return esFormat;
        case TExportKind::ManyFiles:
            return esFilesOptions;
        case TExportKind::NotebookFile:
            return esTargets;
        }
        return esFormat;
    };
    switch (from) {
    case esResult:
        return selectNotes ? esSelect : afterChoice();
    case esSelect:
        return afterChoice();
    case esFormat:
        return moreSingle ? esFormatOptions : esLayout;
    case esFormatOptions:
        return kind == TExportKind::ManyFiles ? esTargets : esLayout;
    case esLayout:
        return esTargets;
    case esTargets:
        return esTargets;
    case esFilesOptions:
        return moreMulti ? esFormatOptions : esTargets;
    }
    return from;
}

TExportStep TExportFlow::Back(TExportStep from) const {
    if (oneNote && from == esFormat)
        return from;
    const TExportStep beforeChoice = selectNotes ? esSelect : esResult;
    switch (from) {
    case esResult:
        return from;
    case esSelect:
        return esResult;
    case esFormat:
        return oneNote ? esFormat : beforeChoice;
    case esFormatOptions:
        return kind == TExportKind::ManyFiles ? esFilesOptions : esFormat;
    case esLayout:
        return moreSingle ? esFormatOptions : esFormat;
    case esTargets:
        switch (kind) {
        case TExportKind::OneFile:
            return esLayout;
        case TExportKind::NotebookFile:
            return beforeChoice;
        case TExportKind::ManyFiles:
            return moreMulti ? esFormatOptions : esFilesOptions;
        }
        return from;
    case esFilesOptions:
        return beforeChoice;
    }
    return from;
}

QString StepNumber(TExportStep step) {
    static const char* const numbers[] = {"1", "1.1", "2", "2.1", "3", "4", "2"};
    return QString::fromLatin1(numbers[step]);
}

QString StepTitle(TExportStep step) {
    switch (step) {
    case esResult:
        return QStringLiteral("Выбор результата экспорта");
    case esSelect:
        return QStringLiteral("Выбор записей для экспорта");
    case esFormat:
        return QStringLiteral("Выбор формата и опций экспорта");
    case esFormatOptions:
        return QStringLiteral("Выбор дополнительных опций экспорта");
    case esLayout:
        return QStringLiteral("Выбор опций экспорта");
    case esTargets:
        return QStringLiteral("Формат экспорта");
    case esFilesOptions:
        return QStringLiteral("Выбор опций экспорта в множество файлов");
    }
    return {};
}

namespace {

TTargetEntry heading(const QString& caption) {
    TTargetEntry e;
    e.heading = true;
    e.caption = caption;
    return e;
}

TTargetEntry document(const QString& caption, TDocumentTarget target, int converter = -1) {
    TTargetEntry e;
    e.caption = caption;
    e.document = target;
    e.converter = converter;
    return e;
}

TTargetEntry file(const QString& caption, TFileFormat format, int converter = -1) {
    TTargetEntry e;
    e.caption = caption;
    e.format = format;
    e.converter = converter;
    return e;
}

void addConverters(QList<TTargetEntry>& list, const QList<TConverter>& converters, bool perNote) {
    if (converters.isEmpty())
        return;
    list << heading(QStringLiteral("Конвертеры Office:"));
    for (qsizetype i = 0; i < converters.size(); ++i) {
        const QString caption = converters[i].name + QStringLiteral(" (") + converters[i].Filter() + u')';
        list << (perNote ? file(caption, TFileFormat::Converter, int(i))
                         : document(caption, TDocumentTarget::Converter, int(i)));
    }
}

} // namespace

QList<TTargetEntry> DocumentTargets(bool formatted, bool fromRoot, const QList<TConverter>& converters) {
    QList<TTargetEntry> list;
    list << heading(QStringLiteral("Файл:"));
    if (formatted)
        list << document(QStringLiteral("Форм. текст (.rtf)"), TDocumentTarget::FileRTF);
    list << document(QStringLiteral("Простой текст (.txt)"), TDocumentTarget::FilePlain)
         << document(QStringLiteral("Текст OEM (.txt)"), TDocumentTarget::FileOEM)
         << document(QStringLiteral("HTML 4.0 (.htm)"), TDocumentTarget::FileHTML);
    list << heading(QStringLiteral("Буфер обмена:"));
    if (formatted)
        list << document(QStringLiteral("как форм. текст (.rtf)"), TDocumentTarget::ClipRich);
    list << document(QStringLiteral("как простой текст (.txt)"), TDocumentTarget::ClipPlain);
    list << heading(QStringLiteral("Запись:"));
    if (!fromRoot)
        list << document(QStringLiteral("в текущую запись (удаляя подзаписи)"),
                         TDocumentTarget::NoteCurrentDelete)
             << document(QStringLiteral("в текущую запись (сохраняя подзаписи)"),
                         TDocumentTarget::NoteCurrentKeep);
    list << document(QStringLiteral("в новую запись после текущей"), TDocumentTarget::NoteNewAfter)
         << document(QStringLiteral("в новую книжку"), TDocumentTarget::NoteNewNotebook);
    addConverters(list, converters, false);
    return list;
}

QList<TTargetEntry> FileTargets(const QList<TConverter>& converters) {
    QList<TTargetEntry> list;
    list << heading(QStringLiteral("Внутренние форматы:"))
         << file(QStringLiteral("Форм. текст (*.rtf)"), TFileFormat::FormatRTF)
         << file(QStringLiteral("Простой текст (*.txt)"), TFileFormat::FormatTXT)
         << file(QStringLiteral("Текст OEM (*.txt)"), TFileFormat::FormatOEM)
         << file(QStringLiteral("HTML 4.0 (*.htm)"), TFileFormat::FormatHTM);
    addConverters(list, converters, true);
    return list;
}

QList<TTargetEntry> NotebookFileTargets() {
    TTargetEntry vlr;
    vlr.caption = QStringLiteral(".VLR формат");
    vlr.notebookFile = true;
    return {heading(QStringLiteral("Файл:")), vlr};
}

} // namespace vlr
