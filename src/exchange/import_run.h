#pragma once
// Carrying out an import: every file read into RTF (by the program itself
// or through its converter) and the notes made below the selected note.
#include "exchange/import_files.h"
#include "storage/defaults.h"

#include <QByteArray>
#include <QList>

namespace vlr {

class TConverterRun;
class TNodeData;
class TNodeRoot;
class TNotebookService;
class TTreeNode;
struct TConverter;

enum class TImportMode {
    OneNote,  // rbOne: all files into one note
    NoteList, // rbPlain: a note per file
    NoteTree, // rbMulti: notes for files, and for the folders between them
};

// Files larger than this are not read (their import fails).
inline constexpr qint64 kMaxImportFileBytes = qint64(256) << 20;

struct TImportSettings {
    TImportMode mode = TImportMode::OneNote;
    QString plainFontName = QStringLiteral("Courier New"); // PlainFontName
    int plainFontSize = 9;                                 // PlainFontSize
    NewNoteDefaults noteDefaults;
};

class TFileReader {
public:
    TFileReader(const TImportSettings& settings, const QList<TConverter>& converters, TConverterRun& run)
        : m_settings(settings), m_converters(converters), m_run(run) {}
    // The file as RTF: a file starting with "{\rtf" as it is, other files
    // without a converter as plain text, files with one through each
    // converter taking the extension until one gives a result. Empty when
    // the file could not be imported.
    QByteArray ReadAsRtf(const TImportRow& row);
    // The RTF of the text of a note that stands for a file not imported.
    QByteArray ErrorNote(const QString& text) const;

private:
    const TImportSettings& m_settings;
    const QList<TConverter>& m_converters;
    TConverterRun& m_run;
};

// The folder all rows lie in (with a trailing "/"): the tree mode starts there.
QString CommonFolder(const QList<TImportRow>& rows);

// The names of the notes an import makes (folders' notes included), each once,
// so that names the notebook cannot hold are known before anything is made.
QStringList ImportedNames(const QList<TImportRow>& rows, TImportMode mode);

struct TImportOutcome {
    QList<TNodeData*> notes; // every note made, folders' notes included
    int failed = 0;          // files that could not be imported
    bool stopped = false;
};

// Makes the notes as last children of parent (a note or the notebook's root),
// with the progress window "Импортируем ...". A file that cannot be imported
// leaves its error text in its place and the import goes on.
TImportOutcome ImportFiles(TNotebookService& service, TTreeNode* parent, const QList<TImportRow>& rows,
                           const TImportSettings& settings, const QList<TConverter>& converters,
                           TConverterRun& run);

} // namespace vlr
