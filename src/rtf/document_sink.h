#pragma once
// Builds a QTextDocument from the reader's events: character and block
// formats, lists, link anchors, pictures and tables.
#include "rtf/sink.h"
#include "rtf/table_layout.h"

#include <QHash>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <vector>

class QTextList;
class QTextTable;

namespace vlr::rtf {

class DocumentSink final : public Sink {
public:
    // wholeDocument: the document is built from scratch (the last paragraph
    // takes the RTF's attributes); otherwise the RTF is inserted at the cursor
    // and what it does not say comes from the cursor's formats.
    DocumentSink(QTextCursor& cursor, bool wholeDocument);

    void begin(const Tables& tables) override;
    void text(QStringView text, const CharState& state) override;
    void paragraphEnd(const ParaState& para, const CharState& state) override;
    void picture(const Picture& picture, const CharState& state) override;
    void rawGroup(QByteArrayView rtf) override;
    void footnote(QByteArrayView rtf, const QString& text) override;
    void textBox(QByteArrayView rtf, const QString& text) override;
    void tableStart(const TableInfo& table) override;
    void rowStart(const RowInfo& row) override;
    void cellEnd(const ParaState& para, const CharState& state) override;
    void rowEnd() override;
    void tableEnd() override;
    void finish(const ParaState& para, const CharState& state) override;

private:
    void showNotes();
    void showBoxes();
    void keepPendingRaw();
    void materialize();
    const QTextCharFormat& charFormat(const CharState& state);
    QTextBlockFormat blockFormat(const ParaState& para) const;
    void applyParagraph(const ParaState& para, const CharState& state);
    void setEmptyBlockCharFormat(QTextCharFormat f);
    void enterCell();
    bool pendingCellCovered() const;

    QTextCursor& c_;
    bool whole_;
    const Tables* tables_ = nullptr;
    QTextCharFormat base_;
    QTextBlockFormat baseBlock_;
    bool needBlock_ = false;
    QByteArray pendingRaw_;
    int rawSerial_ = 0;
    QStringList notes_;     // footnote texts, shown as numbered notes at the end
    QStringList boxes_;     // text box texts, shown after the paragraph they stand in
    bool boxShown_ = false; // the cursor is in a shown box: what follows needs a block of its own
    CharState lastState_;
    QTextCharFormat lastFormat_;
    bool haveLast_ = false;
    QTextList* pnList_ = nullptr;
    ListInfo pnInfo_;
    QHash<int, QTextList*> lists_; // by \ls key
    QHash<int, ListInfo> listInfo_;
    // The tables being built, innermost last, and where their next cell's content goes.
    struct OpenTable {
        QTextTable* table = nullptr;
        CellCursor at;
    };
    std::vector<OpenTable> open_;
    bool cellPending_ = false;              // the cursor moves to the next cell when its content comes
    qint64 pixelBudget_ = 32 * 1024 * 1024; // decoded picture pixels left for this document
};

} // namespace vlr::rtf
