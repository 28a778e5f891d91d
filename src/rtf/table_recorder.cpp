#include "rtf/table_recorder.h"

namespace vlr::rtf {

namespace {

template <class... F> struct Visitor : F... { using F::operator()...; };
template <class... F> Visitor(F...) -> Visitor<F...>;

} // namespace

void TableRecorder::content() {
    Table& t = tables_[size_t(open_.back())];
    if (!t.rows.empty())
        t.rows.back().trailing = true;
}

void TableRecorder::text(QStringView text, const CharState& state) {
    if (!recording())
        return sink_.text(text, state);
    content();
    events_.push_back(TextEvent{text.toString(), state});
}

void TableRecorder::paragraphEnd(const ParaState& para, const CharState& state) {
    if (!recording())
        return sink_.paragraphEnd(para, state);
    content();
    events_.push_back(ParaEvent{para, state, false});
}

void TableRecorder::picture(const Picture& picture, const CharState& state) {
    if (!recording())
        return sink_.picture(picture, state);
    content();
    events_.push_back(PictureEvent{picture, state});
}

void TableRecorder::rawGroup(QByteArrayView rtf) {
    if (!recording())
        return sink_.rawGroup(rtf);
    events_.push_back(RawEvent{rtf.toByteArray()});
}

void TableRecorder::footnote(QByteArrayView rtf, const QString& text) {
    if (!recording())
        return sink_.footnote(rtf, text);
    events_.push_back(NoteEvent{rtf.toByteArray(), text, false});
}

void TableRecorder::textBox(QByteArrayView rtf, const QString& text) {
    if (!recording())
        return sink_.textBox(rtf, text);
    events_.push_back(NoteEvent{rtf.toByteArray(), text, true});
}

void TableRecorder::rowStart(const RowInfo& row) {
    if (open_.empty() || int(open_.size()) < row.depth) {
        if (!open_.empty())
            content(); // a table inside a cell is the cell's content
        tables_.push_back(Table{row.depth, {}});
        open_.push_back(int(tables_.size()) - 1);
    }
    Table& t = tables_[size_t(open_.back())];
    t.rows.push_back(Row{row, RowInfo{}, 0, false});
    events_.push_back(RowStartEvent{open_.back(), int(t.rows.size()) - 1});
}

void TableRecorder::cellEnd(const ParaState& para, const CharState& state) {
    if (!recording())
        return; // the reader starts a row before any cell ends
    Table& t = tables_[size_t(open_.back())];
    if (!t.rows.empty()) {
        ++t.rows.back().cells;
        t.rows.back().trailing = false;
    }
    events_.push_back(ParaEvent{para, state, true});
}

void TableRecorder::rowEnd(const RowInfo& row) {
    if (!recording())
        return;
    Table& t = tables_[size_t(open_.back())];
    if (!t.rows.empty())
        t.rows.back().end = row;
    events_.push_back(RowEndEvent{});
}

void TableRecorder::tableEnd() {
    if (!recording())
        return;
    events_.push_back(TableEndEvent{});
    open_.pop_back();
    if (open_.empty())
        replay();
}

void TableRecorder::finish(const ParaState& para, const CharState& state) {
    while (recording())
        tableEnd();
    sink_.finish(para, state);
}

void TableRecorder::replay() {
    std::vector<TableLayout> layouts;
    layouts.reserve(tables_.size());
    for (const Table& t : tables_) {
        std::vector<RowRecord> rows;
        rows.reserve(t.rows.size());
        for (const Row& r : t.rows)
            rows.push_back(RowRecord{r.end.cells.empty() ? r.start : r.end, r.cells + (r.trailing ? 1 : 0)});
        layouts.push_back(layoutTable(rows, t.depth));
    }
    // Handing on may be long; the recorded events go as they are handed on.
    std::vector<Event> events = std::move(events_);
    events_.clear();
    const std::vector<Table> tables = std::move(tables_);
    tables_.clear();
    for (Event& e : events) {
        std::visit(Visitor{
                       [&](TextEvent& ev) { sink_.text(ev.text, ev.state); },
                       [&](ParaEvent& ev) {
                           if (ev.cell)
                               sink_.cellEnd(ev.para, ev.state);
                           else
                               sink_.paragraphEnd(ev.para, ev.state);
                       },
                       [&](PictureEvent& ev) { sink_.picture(ev.picture, ev.state); },
                       [&](RawEvent& ev) { sink_.rawGroup(ev.rtf); },
                       [&](NoteEvent& ev) {
                           if (ev.box)
                               sink_.textBox(ev.rtf, ev.text);
                           else
                               sink_.footnote(ev.rtf, ev.text);
                       },
                       [&](RowStartEvent& ev) {
                           const TableLayout& layout = layouts[size_t(ev.table)];
                           const Row& row = tables[size_t(ev.table)].rows[size_t(ev.row)];
                           if (ev.row == 0)
                               sink_.tableStart(layout.info);
                           RowInfo info = row.end.cells.empty() ? row.start : row.end;
                           info.depth = layout.info.depth;
                           info.places = layout.places[size_t(ev.row)];
                           sink_.rowStart(info);
                       },
                       [&](RowEndEvent&) { sink_.rowEnd(); },
                       [&](TableEndEvent&) { sink_.tableEnd(); },
                   },
                   e);
        e = RawEvent{}; // frees the event's text and pictures
    }
}

} // namespace vlr::rtf
