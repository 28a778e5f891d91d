#pragma once
// The macros of export headers, footers and separators: plain, case-sensitive
// replacement in a fixed order. Text brought in by one macro is not scanned
// for that macro again, only for the ones after it.
#include "core/dateformat.h"

#include <QString>

namespace vlr {

struct TExportMacroValues {
    QString notebookTitle; // $NB
    QString notebookPath;  // $NR: notebook down to the note, joined by " - "
    QString exportPath;    // $NP: export root down to the note, joined by " - "
    QString noteTitle;     // $N
    QString author;        // $A
    QString company;       // $C
    double created = 0;    // $DC, $TC (day count)
    double saved = 0;      // $DS, $TS
    int level = 0;         // $L
};

QString ExpandExportMacros(const QString& text, const TExportMacroValues& values,
                           const DateFormatLocale& locale = DateFormatLocale::system());

} // namespace vlr
