#pragma once
// Searches over small notebooks written for a test and opened in the test's
// notebook service, with rows written as one line each for comparison.
#include "libs/extlib.h"
#include "search/note_text_cache.h"
#include "search/search_pattern.h"
#include "search/search_run.h"
#include "search/search_scope.h"
#include "tree_fixture.h"

namespace vlr::test {

// An RTF body holding the text; characters beyond ASCII as \u escapes.
inline QByteArray rtfOf(const QString& text) {
    QByteArray body;
    for (const QChar c : text) {
        if (c == u'\\' || c == u'{' || c == u'}')
            body += '\\' + QByteArray(1, char(c.unicode()));
        else if (c == u'\n')
            body += "\\par ";
        else if (c.unicode() < 0x80)
            body += char(c.unicode());
        else
            body += "\\u" + QByteArray::number(qint16(c.unicode())) + "?";
    }
    return rtf(body);
}

inline TSearchOptions searchFor(const QString& text, TSearchScope scope = TSearchScope::AllNotebooks) {
    TSearchOptions o;
    o.text = text;
    o.scope = scope;
    return o;
}

// "caption | title or body | position | length | rank | first match".
inline QString rowLine(const TSearchRow& r) {
    return QStringLiteral("%1 / %2 / %3 / %4 / %5 / %6")
        .arg(r.caption, r.title ? QStringLiteral("title") : QStringLiteral("body"))
        .arg(r.position)
        .arg(r.length)
        .arg(r.rank)
        .arg(r.firstMatch);
}

// Rows compared as one text, which failure messages show readably.
inline std::string linesOf(const QStringList& lines) {
    return lines.join(u'\n').toStdString();
}

class SearchTest : public TreeTest {
protected:
    // Runs a search to its end from the selected node; the rows as lines.
    QStringList search(const TSearchOptions& o, TTreeNode* selected = nullptr,
                       TNoteTextCache* cache = nullptr, TSearchRun::Stats* stats = nullptr) {
        TExtLib& ext = TExtLib::instance();
        const TSearchPattern pattern = BuildSearchPattern(ext, o);
        TSearchRun run(service, ext, pattern, CollectSearchParts(service, o.scope, selected),
                       o.scope == TSearchScope::AllNotebooks, cache);
        QStringList lines;
        QObject::connect(&run, &TSearchRun::rowsFound, [&](const QList<TSearchRow>& rows) {
            for (const TSearchRow& r : rows)
                lines << rowLine(r);
        });
        EXPECT_EQ(run.RunToEnd(), TSearchRun::State::Finished) << run.ErrorText().toStdString();
        if (stats)
            *stats = run.Statistics();
        return lines;
    }
};

} // namespace vlr::test
