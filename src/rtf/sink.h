#pragma once
// The reader hands what it finds to a sink; sinks build a document, plain text
// or anything else from the same stream of events, so they agree on the text.
#include "rtf/state.h"

#include <QByteArrayView>
#include <QStringView>

namespace vlr::rtf {

class Sink {
public:
    virtual ~Sink() = default;
    virtual void begin(const Tables& tables) { (void)tables; }
    // Text in one set of attributes; tabs are '\t', line breaks U+2028.
    virtual void text(QStringView text, const CharState& state) = 0;
    // A paragraph ends with these attributes.
    virtual void paragraphEnd(const ParaState& para, const CharState& state) = 0;
    // A picture or object: one character of the text.
    virtual void picture(const Picture& picture, const CharState& state) = 0;
    // An RTF group kept as it was (an unknown destination, hidden text); it takes no position.
    virtual void rawGroup(QByteArrayView rtf) = 0;
    // A footnote: its group as written, kept like a raw group, and its text.
    virtual void footnote(QByteArrayView rtf, const QString& text) {
        (void)text;
        rawGroup(rtf);
    }
    // A text box: its group as written, kept like a raw group, and its text
    // (lines separated by U+2028), shown after the paragraph it stands in.
    virtual void textBox(QByteArrayView rtf, const QString& text) {
        (void)text;
        rawGroup(rtf);
    }
    // Tables: a table starts (its grid and merges known in full), a row
    // starts (with the place of each cell), a cell ends, the row ends, the
    // table ends. A table inside a cell starts and ends within that cell.
    virtual void tableStart(const TableInfo& table) = 0;
    virtual void rowStart(const RowInfo& row) = 0;
    virtual void cellEnd(const ParaState& para, const CharState& state) = 0;
    virtual void rowEnd() = 0;
    virtual void tableEnd() = 0;
    // The input is over; the last paragraph has these attributes.
    virtual void finish(const ParaState& para, const CharState& state) = 0;
};

} // namespace vlr::rtf
