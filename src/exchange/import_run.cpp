#include "exchange/import_run.h"

#include "core/progress.h"
#include "exchange/converters.h"
#include "exchange/exchange_texts.h"
#include "exchange/plain_to_rtf.h"
#include "rtf/rtf.h"
#include "storage/notebook_binding.h"
#include "storage/notebook_service.h"

#include <QFile>
#include <QFont>
#include <QTextCursor>
#include <QTextDocument>

namespace vlr {

QByteArray TFileReader::ReadAsRtf(const TImportRow& row) {
    if (row.converter < 0) {
        QFile file(row.fileName);
        if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxImportFileBytes)
            return {};
        const QByteArray bytes = file.read(kMaxImportFileBytes + 1);
        if (bytes.size() > kMaxImportFileBytes)
            return {};
        if (bytes.size() > 5 && bytes.startsWith("{\\rtf"))
            return bytes;
        return PlainTextToRtf(bytes, m_settings.plainFontName, m_settings.plainFontSize);
    }
    const QString extension = ExtensionOf(row.fileName);
    for (const TConverter& c : m_converters) {
        if (!c.Handles(extension))
            continue;
        TConvertResult converted = m_run.Import(c, row.fileName);
        if (converted)
            return converted.data;
        if (m_run.Stopped())
            break;
    }
    return {};
}

QByteArray TFileReader::ErrorNote(const QString& text) const {
    return PlainTextToRtf(text.toUtf8(), m_settings.plainFontName, m_settings.plainFontSize);
}

QString CommonFolder(const QList<TImportRow>& rows) {
    if (rows.isEmpty())
        return {};
    QString common = rows.first().folder;
    for (const TImportRow& row : rows) {
        qsizetype n = 0;
        while (n < common.size() && n < row.folder.size() && common[n] == row.folder[n])
            ++n;
        common.truncate(n);
    }
    // Cut back to a whole folder: "/docs/a" and "/docs/ab" share "/docs/".
    return common.left(common.lastIndexOf(u'/') + 1);
}

namespace {

// The folders between the top and the row's file, from the top down.
QStringList foldersBelow(const TImportRow& row, const QString& top) {
    return row.folder.mid(top.size()).split(u'/', Qt::SkipEmptyParts);
}

} // namespace

QStringList ImportedNames(const QList<TImportRow>& rows, TImportMode mode) {
    QStringList names;
    if (rows.isEmpty())
        return names;
    if (mode == TImportMode::OneNote)
        return {rows.first().displayName};
    const QString top = CommonFolder(rows);
    for (const TImportRow& row : rows) {
        if (mode == TImportMode::NoteTree)
            names << foldersBelow(row, top);
        names << row.displayName;
    }
    names.removeDuplicates();
    return names;
}

namespace {

class TImporter {
public:
    TImporter(TNotebookService& service, TTreeNode* parent, const QList<TImportRow>& rows,
              const TImportSettings& s, const QList<TConverter>& converters, TConverterRun& run)
        : m_service(service), m_parent(parent), m_rows(rows), m_settings(s), m_converters(converters),
          m_reader(s, converters, run), m_notebook(TNotebookService::NotebookOf(parent)),
          m_target(service, parent) {}

    TImportOutcome run();

private:
    TNodeData* add(TTreeNode* under, const QString& title, QByteArray body);
    QByteArray rtfOrError(const TImportRow& row);
    void oneNote(ScopedProgress& progress);
    void noteList(ScopedProgress& progress);
    void noteTree(ScopedProgress& progress);
    // After each file: the user may stop, and the progress window lets timers
    // close or lock the notebook, or delete the parent note.
    bool stopHere(ScopedProgress& progress);

    TNotebookService& m_service;
    TTreeNode* m_parent;
    const QList<TImportRow>& m_rows;
    const TImportSettings& m_settings;
    const QList<TConverter>& m_converters;
    TFileReader m_reader;
    TNodeRoot* m_notebook;
    TNotebookBinding m_target;
    TImportOutcome m_outcome;
};

TNodeData* TImporter::add(TTreeNode* under, const QString& title, QByteArray body) {
    TNodeData* note =
        m_service.AddNote(*m_notebook, under, under->Count(), title, m_settings.noteDefaults, false);
    if (!body.isEmpty())
        m_service.SetBody(*note, std::move(body));
    m_outcome.notes.append(note);
    return note;
}

QByteArray TImporter::rtfOrError(const TImportRow& row) {
    QByteArray rtf = m_reader.ReadAsRtf(row);
    if (!rtf.isEmpty())
        return rtf;
    ++m_outcome.failed;
    return m_reader.ErrorNote(kImportError.arg(row.fileName));
}

void TImporter::oneNote(ScopedProgress& progress) {
    QTextDocument doc;
    doc.setUndoRedoEnabled(false);
    doc.setDefaultFont(QFont(m_settings.plainFontName, m_settings.plainFontSize));
    QTextCursor cursor(&doc);
    for (qsizetype i = 0; i < m_rows.size(); ++i) {
        const TImportRow& row = m_rows[i];
        if (i > 0) {
            cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
            cursor.insertText(QString(40, u'='), QTextCharFormat());
            cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
        }
        const QByteArray rtf = m_reader.ReadAsRtf(row);
        if (rtf.isEmpty() || !rtf::insertRtf(rtf, cursor)) {
            ++m_outcome.failed;
            QString text = kImportError.arg(row.fileName);
            if (row.converter >= 0 && row.converter < m_converters.size())
                text += QStringLiteral(" using ") + m_converters[row.converter].name;
            cursor.insertText(text, QTextCharFormat());
        }
        if (stopHere(progress))
            break;
    }
    if (!m_target.IsLost())
        add(m_parent, m_rows.first().displayName, rtf::writeRtf(&doc));
}

void TImporter::noteList(ScopedProgress& progress) {
    for (const TImportRow& row : m_rows) {
        add(m_parent, row.displayName, rtfOrError(row));
        if (stopHere(progress))
            return;
    }
}

void TImporter::noteTree(ScopedProgress& progress) {
    // The top is the folder all rows share, so no chosen file is left out.
    const QString top = CommonFolder(m_rows);
    struct Level {
        QString name;
        TTreeNode* node;
    };
    std::vector<Level> open; // the folder notes from the top down to the current folder
    for (const TImportRow& row : m_rows) {
        const QStringList parts = foldersBelow(row, top);
        size_t same = 0;
        while (same < open.size() && same < size_t(parts.size()) && open[same].name == parts[qsizetype(same)])
            ++same;
        open.resize(same);
        for (qsizetype i = qsizetype(same); i < parts.size(); ++i) {
            TTreeNode* under = open.empty() ? m_parent : open.back().node;
            open.push_back({parts[i], add(under, parts[i], {})->TreeNode});
        }
        add(open.empty() ? m_parent : open.back().node, row.displayName, rtfOrError(row));
        if (stopHere(progress))
            return;
    }
}

bool TImporter::stopHere(ScopedProgress& progress) {
    if (progress.step() || m_target.IsLost())
        m_outcome.stopped = true;
    return m_outcome.stopped;
}

TImportOutcome TImporter::run() {
    // A notebook that may not change takes nothing.
    if (!m_notebook || m_rows.isEmpty() || m_notebook->IsReadOnly() || m_notebook->IsLocked())
        return m_outcome;
    ScopedProgress progress(kImportingProgress.arg(QString()), int(m_rows.size()), true);
    switch (m_settings.mode) {
    case TImportMode::OneNote:
        oneNote(progress);
        break;
    case TImportMode::NoteList:
        noteList(progress);
        break;
    case TImportMode::NoteTree:
        noteTree(progress);
        break;
    }
    if (m_target.IsLost()) {
        // The notes made so far went with the notebook or their parent.
        m_outcome.notes.clear();
        return m_outcome;
    }
    if (!m_outcome.notes.isEmpty())
        m_notebook->Modified = true;
    return m_outcome;
}

} // namespace

TImportOutcome ImportFiles(TNotebookService& service, TTreeNode* parent, const QList<TImportRow>& rows,
                           const TImportSettings& settings, const QList<TConverter>& converters,
                           TConverterRun& run) {
    return TImporter(service, parent, rows, settings, converters, run).run();
}

} // namespace vlr
