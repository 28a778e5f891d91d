#pragma once
// Holds a table's events back until the table ends and hands them on then:
// only when every row is known (a nested row's definition comes after its
// cells) can the grid and the merges be laid out, and the sink is given the
// whole table's layout before its first row.
#include "rtf/sink.h"
#include "rtf/table_layout.h"

#include <variant>
#include <vector>

namespace vlr::rtf {

class TableRecorder {
public:
    explicit TableRecorder(Sink& sink) : sink_(sink) {}

    void begin(const Tables& tables) { sink_.begin(tables); }
    void text(QStringView text, const CharState& state);
    void paragraphEnd(const ParaState& para, const CharState& state);
    void picture(const Picture& picture, const CharState& state);
    void rawGroup(QByteArrayView rtf);
    void footnote(QByteArrayView rtf, const QString& text);
    void textBox(QByteArrayView rtf, const QString& text);
    // A row of the table at row.depth starts; a deeper depth opens a table in the current cell.
    void rowStart(const RowInfo& row);
    void cellEnd(const ParaState& para, const CharState& state);
    // The row ends; its definition as it stands now, which wins over the one it started with.
    void rowEnd(const RowInfo& row);
    void tableEnd();
    void finish(const ParaState& para, const CharState& state);

private:
    struct TextEvent {
        QString text;
        CharState state;
    };
    struct ParaEvent {
        ParaState para;
        CharState state;
        bool cell;
    };
    struct PictureEvent {
        Picture picture;
        CharState state;
    };
    struct RawEvent {
        QByteArray rtf;
    };
    struct NoteEvent {
        QByteArray rtf;
        QString text;
        bool box; // a text box, not a footnote
    };
    struct RowStartEvent {
        int table, row;
    };
    struct RowEndEvent {};
    struct TableEndEvent {};
    using Event = std::variant<TextEvent, ParaEvent, PictureEvent, RawEvent, NoteEvent, RowStartEvent,
                               RowEndEvent, TableEndEvent>;

    struct Row {
        RowInfo start, end;
        int cells = 0;
        bool trailing = false; // content after the last cell end: one more cell
    };
    struct Table {
        int depth = 1;
        std::vector<Row> rows;
    };

    bool recording() const { return !open_.empty(); }
    void content();
    void replay();

    Sink& sink_;
    std::vector<Event> events_;
    std::vector<Table> tables_;
    std::vector<int> open_; // the tables being read, outermost first
};

} // namespace vlr::rtf
