#pragma once
// What the notebook page shows, as text: one row per value label, worked out
// from plain values so that it can be checked without a display.
#include "core/dateformat.h"
#include "core/datetime.h"
#include "core/number_text.h"

#include <QList>
#include <QString>

#include <cstdint>

namespace vlr {

class TNodeRoot;

// Everything the page shows about one notebook.
struct NotebookPageInput {
    QString fileName;        // empty for a notebook never saved
    qsizetype noteCount = 0; // live notes
    TDateTime created = 0;   // 0: never set
    qint64 fileSize = -1;    // bytes on disk; negative when not known
    qint64 wastedSpace = 0;  // body area not reserved by any live note
    bool compressed = false; // the notebook compresses its notes
    bool encrypted = false;  // password-protected
    bool readOnly = false;   // read-only flag set, or the file could only be read
    uint32_t version = 0;    // file format version
};

// Reads the values from an open notebook.
NotebookPageInput inputFromNotebook(const TNodeRoot& notebook);

// The user's conventions for dates and grouped digits.
struct NotebookPageFormat {
    DateFormatLocale dates;
    QString groupSeparator = kGroupSeparator;

    static NotebookPageFormat system();
};

// The value labels in the order the page shows them.
enum class NotebookPageField { FileName, NumOfNotes, Created, Size, Wasted, Flags, Version };

struct NotebookPageRow {
    NotebookPageField field;
    QString labelName; // object name of the value label
    QString caption;   // text of the caption label beside it
    QString value;
    QString toolTip;
};

// The rows for a notebook.
QList<NotebookPageRow> notebookPageRows(const NotebookPageInput& input, const NotebookPageFormat& format);
// The rows when there is no notebook to describe.
QList<NotebookPageRow> unavailableNotebookPageRows();

// The four notebook commands the page's toolbar carries, in toolbar order.
enum class NotebookRootCommand { Visual, Saving, Security, Author };
inline constexpr int NotebookRootCommandCount = 4;
QString rootCommandName(NotebookRootCommand command); // e.g. "NoteRootVisual"
QString rootCommandText(NotebookRootCommand command); // e.g. "Визуальные..."

// Title of the page's tab.
QString notebookPageTitle();

} // namespace vlr
