#include "search/note_matcher.h"

#include "core/error.h"
#include "libs/extlib.h"
#include "storage/node_data.h"
#include "storage/note_forest.h"

#include <QStringList>

#include <algorithm>

namespace vlr {

QString NoteCaption(const TNodeData& note) {
    QStringList titles;
    // Parent() leads up to the notebook's root and stops there.
    for (const TTreeNode* n = note.TreeNode; n; n = n->Parent())
        titles.prepend(n->Text());
    if (titles.isEmpty())
        titles << note.Record.NoteName();
    return titles.join(kCaptionSeparator);
}

QString FirstMatchText(const QString& text, int position) {
    const qsizetype from = std::clamp<qsizetype>(position - 1, 0, text.size());
    qsizetype length = qMin<qsizetype>(kFirstMatchLength, text.size() - from);
    // Half of a surrogate pair at the cut would show as a broken character.
    if (length > 0 && text.at(from + length - 1).isHighSurrogate())
        --length;
    QString shown = text.mid(from, length);
    for (QChar& c : shown)
        if (c.unicode() < 32)
            c = u' ';
    return shown;
}

bool TNoteMatcher::exec(const QString& text, TSearchRow& row) const {
    int pos = 0, length = 0, rank = 0;
    try {
        if (!m_ext.RE_Exec(text, pos, length, rank))
            return false;
    } catch (const std::exception&) {
        throw EVellinorError(kRegExpExecError, QStringLiteral("TfrmGlobalSearch"));
    }
    if (m_wordCount >= 0 && rank != m_wordCount)
        return false;
    row.position = pos;
    row.length = length;
    row.rank = rank;
    row.firstMatch = FirstMatchText(text, pos);
    return true;
}

QList<TSearchRow> TNoteMatcher::Match(TNodeData& note, const QString& bodyText) const {
    QList<TSearchRow> rows;
    TSearchRow title;
    title.note = &note;
    title.title = true;
    // The tree keeps the title decoded; the record would decode it anew.
    if (exec(note.TreeNode ? note.TreeNode->Text() : note.Record.NoteName(), title))
        rows << title;
    TSearchRow body;
    body.note = &note;
    if (exec(bodyText, body))
        rows << body;
    if (!rows.isEmpty()) {
        const QString caption = NoteCaption(note);
        for (TSearchRow& r : rows)
            r.caption = caption;
    }
    return rows;
}

} // namespace vlr
