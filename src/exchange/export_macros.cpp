#include "exchange/export_macros.h"

#include "core/datetime.h"

namespace vlr {

QString ExpandExportMacros(const QString& text, const TExportMacroValues& v, const DateFormatLocale& locale) {
    const QDateTime created = fromTDateTime(v.created);
    const QDateTime saved = fromTDateTime(v.saved);
    const auto date = [&](const QDateTime& t) { return formatDateTime(locale.shortDateFormat, t, locale); };
    const auto time = [&](const QDateTime& t) { return formatDateTime(locale.longTimeFormat, t, locale); };
    // Longer names first where one is the start of another ($NB, $NR, $NP before $N).
    const std::pair<const char16_t*, QString> macros[] = {
        {u"$NB", v.notebookTitle},
        {u"$NR", v.notebookPath},
        {u"$NP", v.exportPath},
        {u"$N", v.noteTitle},
        {u"$A", v.author},
        {u"$C", v.company},
        {u"$DC", date(created)},
        {u"$TC", time(created)},
        {u"$DS", date(saved)},
        {u"$TS", time(saved)},
        {u"$L", QString::number(v.level)},
    };
    QString result = text;
    for (const auto& [name, value] : macros)
        result.replace(QString::fromUtf16(name), value, Qt::CaseSensitive);
    return result;
}

} // namespace vlr
