#pragma once
// What an export can produce, and the HTML choices of the options step.
#include <QString>

namespace vlr {

// One combined document.
enum class TDocumentTarget {
    FileRTF,
    FilePlain,
    FileOEM,
    FileHTML,
    ClipRich,
    ClipPlain,
    NoteCurrentDelete,
    NoteCurrentKeep,
    NoteNewAfter,
    NoteNewNotebook,
    Converter,
};

// One file per note.
enum class TFileFormat { FormatRTF, FormatTXT, FormatOEM, FormatHTM, Converter };

struct THtmlChoices {
    QString title;
    QString fontName;
    int fontSize = 0;
    bool pictures = true;
    bool tabsAsNbsp = false;
    bool useBackground = true;
    quint32 background = 0; // the page colour when useBackground
};

// The outcome of one export target.
struct TExportOutcome {
    bool ok = true;
    QString error; // why not, for the report of the command line
    bool cancelled = false;
    explicit operator bool() const { return ok; }
    static TExportOutcome Failed(const QString& why) { return {false, why, false}; }
    static TExportOutcome Cancelled() { return {true, {}, true}; }
};

} // namespace vlr
