#include "search/search_pattern.h"

#include "libs/extlib.h"

namespace vlr {

namespace {

const QString kModifiers = QStringLiteral("irsm");
const QString kWordBoundary = QStringLiteral("\\b");

bool isSeparator(QChar c) {
    return c == u' ' || c == u',';
}

QString wholeWord(const QString& quoted) {
    return kWordBoundary + quoted + kWordBoundary;
}

// Words as they are compared: an all-words search needs each distinct word
// once, since a repeated group could never take part in a match and the
// rank would never reach the count.
QStringList distinctWords(const QStringList& words, bool caseSensitive) {
    QStringList kept;
    const Qt::CaseSensitivity cs = caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive;
    for (const QString& w : words)
        if (!kept.contains(w, cs))
            kept << w;
    return kept;
}

} // namespace

QStringList SearchWords(const QString& text) {
    QStringList words;
    qsizetype start = -1;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        const bool sep = i == text.size() || isSeparator(text.at(i));
        if (!sep && start < 0)
            start = i;
        if (sep && start >= 0) {
            words << text.mid(start, i - start);
            start = -1;
        }
    }
    return words;
}

TSearchPattern BuildSearchPattern(TExtLib& ext, const TSearchOptions& options) {
    TSearchPattern result;
    if (options.regExp) {
        result.pattern = options.text;
        result.modifiers = kModifiers;
        return result;
    }
    result.modifiers = options.caseSensitive ? QStringLiteral("-") + kModifiers : kModifiers;
    QStringList words = SearchWords(options.text);
    if (options.matchMode == TMatchMode::ExactPhrase || words.isEmpty()) {
        QString p = ext.RE_Quote(options.text);
        if (options.matchWords)
            p = wholeWord(ext.RE_Replace(QStringLiteral("\\x20"), p, QStringLiteral("\\b \\b")));
        result.pattern = p;
        return result;
    }
    // Word by word rather than replacing separators in the whole pattern:
    // a comma next to a blank, doubled blanks or a blank at an end would
    // otherwise leave an empty alternative that matches every note.
    if (options.matchMode == TMatchMode::AllWords)
        words = distinctWords(words, options.caseSensitive);
    QStringList parts;
    for (const QString& w : std::as_const(words)) {
        const QString quoted = ext.RE_Quote(w);
        parts << (options.matchWords ? wholeWord(quoted) : quoted);
    }
    if (options.matchMode == TMatchMode::AnyWord) {
        result.pattern = parts.join(u'|');
        return result;
    }
    // All words: one group per word. The pattern is kept within the limit by
    // whole groups, so it always compiles and the count is the groups kept.
    QString pattern = QStringLiteral("(") + parts.first() + QStringLiteral(")");
    int kept = 1;
    for (qsizetype i = 1; i < parts.size(); ++i) {
        const QString next = QStringLiteral("|(") + parts.at(i) + QStringLiteral(")");
        if (pattern.size() + next.size() > kAllWordsPatternLimit)
            break;
        pattern += next;
        ++kept;
    }
    result.pattern = pattern;
    result.wordCount = kept;
    return result;
}

} // namespace vlr
