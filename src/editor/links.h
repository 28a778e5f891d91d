#pragma once
// Links in the text: hyperlink fields (anchors the RTF reader made) and URLs
// recognised in plain text, which are shown and reported as links without
// becoming fields.
#include <QList>
#include <QString>
#include <QStringView>

class QTextDocument;

namespace vlr {

struct TCharRange {
    int start = 0;
    int end = 0; // one past the last character
    bool isEmpty() const { return end <= start; }
    bool contains(int pos) const { return pos >= start && pos < end; }
    bool operator==(const TCharRange&) const = default;
};

// URLs in one paragraph's text, as ranges inside it.
QList<TCharRange> detectUrls(QStringView text);

// The link under a character position: the whole run of a hyperlink field,
// or (with detectUrls) the recognised URL; empty when there is none.
TCharRange linkRangeAt(const QTextDocument* doc, int pos, bool detectUrls);

} // namespace vlr
