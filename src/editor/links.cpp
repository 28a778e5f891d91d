#include "editor/links.h"

#include <QRegularExpression>
#include <QTextBlock>
#include <QTextDocument>

namespace vlr {

namespace {

const QRegularExpression& urlPattern() {
    // The schemes the control has always recognised, plus bare "www." names.
    static const QRegularExpression re(
        QStringLiteral(
            R"((?:(?:https?|ftp|file|gopher|nntp|prospero|telnet|news|wais)://|mailto:|news:|www\.)[^\s<>"]+)"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::UseUnicodePropertiesOption);
    return re;
}

bool isTrailingPunctuation(QChar c) {
    return c == u'.' || c == u',' || c == u';' || c == u':' || c == u'!' || c == u'?' || c == u')' ||
           c == u'\'' || c == u']' || c == u'}';
}

} // namespace

QList<TCharRange> detectUrls(QStringView text) {
    QList<TCharRange> out;
    // Cheap test first: most paragraphs hold no URL at all.
    if (!text.contains(u':') && !text.contains(u"www.", Qt::CaseInsensitive))
        return out;
    auto it = urlPattern().globalMatch(text);
    while (it.hasNext()) {
        const auto m = it.next();
        int start = int(m.capturedStart()), end = int(m.capturedEnd());
        // A sentence's closing punctuation is not part of the address.
        while (end > start && isTrailingPunctuation(text[end - 1]))
            --end;
        if (end - start > 4)
            out.append({start, end});
    }
    return out;
}

TCharRange linkRangeAt(const QTextDocument* doc, int pos, bool detect) {
    if (!doc || pos < 0 || pos >= doc->characterCount() - 1)
        return {};
    const QTextBlock block = doc->findBlock(pos);
    if (!block.isValid())
        return {};
    // Fields: consecutive fragments carrying the same target make one link.
    QList<QTextFragment> frags;
    for (auto it = block.begin(); !it.atEnd(); ++it)
        frags.append(it.fragment());
    for (qsizetype i = 0; i < frags.size(); ++i) {
        const QTextFragment& f = frags[i];
        if (pos < f.position() || pos >= f.position() + f.length())
            continue;
        const QTextCharFormat fmt = f.charFormat();
        if (fmt.isAnchor() && !fmt.anchorHref().isEmpty()) {
            const QString href = fmt.anchorHref();
            qsizetype a = i, b = i;
            while (a > 0 && frags[a - 1].charFormat().isAnchor() &&
                   frags[a - 1].charFormat().anchorHref() == href)
                --a;
            while (b + 1 < frags.size() && frags[b + 1].charFormat().isAnchor() &&
                   frags[b + 1].charFormat().anchorHref() == href)
                ++b;
            return {frags[a].position(), frags[b].position() + frags[b].length()};
        }
        break;
    }
    if (!detect)
        return {};
    const int offset = pos - block.position();
    for (const TCharRange& r : detectUrls(block.text())) {
        if (r.contains(offset))
            return {block.position() + r.start, block.position() + r.end};
    }
    return {};
}

} // namespace vlr
