#pragma once
// Plain text from the reader's events.
#include "rtf/sink.h"
#include "rtf/table_layout.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <vector>

namespace vlr::rtf {

enum class TextMode {
    // One character per editor position, as QTextDocument::toPlainText()
    // gives it for the document readRtf builds: paragraph ends, line breaks
    // and table cell boundaries are '\n', pictures and objects U+FFFC.
    Editor,
    // For text files: paragraph ends and line breaks are CR LF, table cells
    // are separated by tabs and rows end with CR LF, pictures are left out,
    // and list paragraphs start with their bullet or number and a tab.
    Export,
};

class TextSink final : public Sink {
public:
    explicit TextSink(TextMode mode) : mode_(mode) {}
    QString result() const { return out_; }

    void text(QStringView text, const CharState& state) override;
    void paragraphEnd(const ParaState& para, const CharState& state) override;
    void picture(const Picture& picture, const CharState& state) override;
    void rawGroup(QByteArrayView) override {}
    void footnote(QByteArrayView, const QString& text) override { notes_.append(text); }
    void textBox(QByteArrayView, const QString& text) override { boxes_.append(text); }
    void tableStart(const TableInfo& table) override;
    void rowStart(const RowInfo& row) override;
    void cellEnd(const ParaState& para, const CharState& state) override;
    void rowEnd() override;
    void tableEnd() override;
    void finish(const ParaState& para, const CharState& state) override;

private:
    QString& target();
    void materialize();
    void newline(QString& to);
    QString listLabel(const ListInfo& list);
    bool pendingCellCovered() const;
    QString rendered() const;
    void showBoxes();
    void appendText(QString& to, QStringView text);

    TextMode mode_;
    QString out_;
    QStringList notes_; // footnotes, numbered after the text as the document shows them
    bool needNewline_ = false;
    QStringList boxes_;     // text boxes, shown after the paragraph they stand in, as the document shows them
    bool boxShown_ = false; // a table after a shown box starts on a line of its own
    // The tables being read, innermost last: their cells' text by grid
    // place, written out when the table ends. A table inside a cell is
    // written into that cell's text.
    struct OpenTable {
        TableInfo info;
        std::vector<std::vector<QString>> cells; // [row][column]
        std::vector<std::vector<bool>> covered;  // places inside a merge other than its first
        CellCursor at;
    };
    std::vector<OpenTable> open_;
    bool cellPending_ = false;
    // Export: the paragraph being read, written out with its list label when it ends.
    QString para_;
    QHash<int, int> nextNumber_; // by list key
    ListInfo lastPn_;
    bool lastWasPn_ = false;
    int nextPn_ = 1;
};

} // namespace vlr::rtf
