#include "rtf/text_sink.h"

#include "rtf/list_numbers.h"
#include "rtf/table_layout.h"

namespace vlr::rtf {

using namespace Qt::StringLiterals;

QString& TextSink::target() {
    if (open_.empty())
        return mode_ == TextMode::Export ? para_ : out_;
    OpenTable& t = open_.back();
    const CellPlace* p = t.at.place();
    const int row = p ? p->row : qMax(0, t.at.row);
    const int column = p ? p->column : 0;
    return t.cells[size_t(row)][size_t(column)];
}

bool TextSink::pendingCellCovered() const {
    if (open_.empty())
        return false;
    return open_.back().at.joins();
}

void TextSink::newline(QString& to) {
    if (mode_ == TextMode::Editor)
        to.append(u'\n');
    else if (!open_.empty())
        to.append(u' ');
    else
        to.append(u"\r\n");
}

// Mirrors the document: a merged cell's content goes after what the cell it
// joins holds, as a paragraph of its own.
void TextSink::materialize() {
    if (cellPending_) {
        cellPending_ = false;
        needNewline_ = pendingCellCovered() && !target().isEmpty();
    }
    if (needNewline_) {
        needNewline_ = false;
        newline(mode_ == TextMode::Export && open_.empty() ? out_ : target());
    }
    boxShown_ = false;
}

QString TextSink::listLabel(const ListInfo& list) {
    if (list.kind == ListKind::None || list.key != -1)
        lastWasPn_ = false;
    if (list.kind == ListKind::None)
        return {};
    if (list.kind == ListKind::Bullet)
        return QStringLiteral("\u2022\t");
    int n;
    if (list.key >= 0) {
        n = nextNumber_.value(list.key, list.start);
        nextNumber_.insert(list.key, n + 1);
    } else {
        n = (lastWasPn_ && lastPn_ == list) ? nextPn_ : list.start;
        nextPn_ = n + 1;
        lastPn_ = list;
        lastWasPn_ = true;
    }
    QTextListFormat::Style style = QTextListFormat::ListDecimal;
    switch (list.kind) {
    case ListKind::LowerAlpha:
        style = QTextListFormat::ListLowerAlpha;
        break;
    case ListKind::UpperAlpha:
        style = QTextListFormat::ListUpperAlpha;
        break;
    case ListKind::LowerRoman:
        style = QTextListFormat::ListLowerRoman;
        break;
    case ListKind::UpperRoman:
        style = QTextListFormat::ListUpperRoman;
        break;
    default:
        break;
    }
    return list.prefix + listNumberText(style, n) + list.suffix + u'\t';
}

void TextSink::text(QStringView text, const CharState&) {
    materialize();
    appendText(target(), text);
}

void TextSink::appendText(QString& to, QStringView text) {
    if (mode_ == TextMode::Editor) {
        // Same length as the document's text: mapped in place.
        const qsizetype base = to.size();
        to.append(text);
        QChar* p = to.data() + base;
        for (qsizetype i = 0, n = text.size(); i < n; ++i) {
            const char16_t c = p[i].unicode();
            if (c == 0x2028)
                p[i] = u'\n';
            else if (c == 0x00A0)
                p[i] = u' ';
        }
        return;
    }
    to.reserve(to.size() + text.size());
    for (const QChar ch : text) {
        switch (ch.unicode()) {
        case 0x2028:
            newline(to);
            break;
        case 0x00A0:
            to.append(u' ');
            break;
        default:
            to.append(ch);
        }
    }
}

// Mirrors the document: each box a paragraph of its own after the one it
// stands in, once outside tables.
void TextSink::showBoxes() {
    if (boxes_.isEmpty() || !open_.empty())
        return;
    for (const QString& box : std::as_const(boxes_)) {
        newline(out_);
        appendText(out_, box);
    }
    boxes_.clear();
    boxShown_ = true;
}

void TextSink::paragraphEnd(const ParaState& para, const CharState&) {
    materialize();
    if (mode_ == TextMode::Export && open_.empty()) {
        out_ += listLabel(para.list);
        out_ += para_;
        para_.clear();
    }
    showBoxes();
    needNewline_ = true;
}

void TextSink::finish(const ParaState& para, const CharState&) {
    // The last paragraph, when no \par ended it.
    if (mode_ == TextMode::Export && !para_.isEmpty()) {
        out_ += listLabel(para.list);
        out_ += para_;
        para_.clear();
    }
    showBoxes();
    for (qsizetype i = 0; i < notes_.size(); ++i) {
        out_ += mode_ == TextMode::Editor ? QStringLiteral("\n") : QStringLiteral("\r\n");
        out_ += QString::number(i + 1) + QStringLiteral(". ") + notes_[i];
    }
}

void TextSink::picture(const Picture&, const CharState&) {
    materialize();
    if (mode_ == TextMode::Editor)
        target().append(QChar(QChar::ObjectReplacementCharacter));
}

void TextSink::tableStart(const TableInfo& info) {
    if (open_.empty()) {
        out_ += para_; // text before the table that no \par ended
        para_.clear();
        showBoxes();
    }
    // The table takes the place of the pending line break, but not of a shown box.
    cellPending_ = false;
    needNewline_ = false;
    if (boxShown_ && mode_ == TextMode::Editor)
        out_.append(u'\n');
    boxShown_ = false;
    OpenTable t;
    t.info = info;
    const size_t rows = size_t(qMax(1, info.rows)), columns = size_t(qMax(1, info.columns));
    t.cells.assign(rows, std::vector<QString>(columns));
    t.covered.assign(rows, std::vector<bool>(columns, false));
    for (const CellPlace& s : info.spans) {
        for (int r = s.row; r < s.row + s.rows && r < int(rows); ++r) {
            for (int c = s.column; c < s.column + s.columns && c < int(columns); ++c)
                t.covered[size_t(r)][size_t(c)] = r != s.row || c != s.column;
        }
    }
    open_.push_back(std::move(t));
}

void TextSink::rowStart(const RowInfo& row) {
    if (open_.empty())
        return;
    open_.back().at.startRow(row);
    needNewline_ = false;
    cellPending_ = true;
}

void TextSink::cellEnd(const ParaState&, const CharState&) {
    if (open_.empty())
        return;
    if (!(cellPending_ && pendingCellCovered()))
        materialize();
    ++open_.back().at.cell;
    cellPending_ = true;
}

void TextSink::rowEnd() {
    cellPending_ = false;
}

// The innermost table's text. In the editor's text every cell that shows
// starts a line and the table ends with one; in a text file cells are
// separated by tabs and rows end with CR LF (inside a cell, with a space).
QString TextSink::rendered() const {
    const OpenTable& t = open_.back();
    const bool nested = open_.size() > 1;
    QString out;
    for (size_t r = 0; r < t.cells.size(); ++r) {
        for (size_t c = 0; c < t.cells[r].size(); ++c) {
            if (mode_ == TextMode::Editor) {
                if (t.covered[r][c])
                    continue;
                out.append(u'\n'); // the cell's start
            } else if (c > 0) {
                out.append(u'\t');
            }
            out.append(t.cells[r][c]);
        }
        if (mode_ == TextMode::Export)
            out.append(nested ? u" "_s : u"\r\n"_s);
    }
    if (mode_ == TextMode::Editor)
        out.append(u'\n'); // the table's end
    return out;
}

void TextSink::tableEnd() {
    if (open_.empty())
        return;
    const QString text = rendered();
    open_.pop_back();
    cellPending_ = false;
    needNewline_ = false;
    if (!open_.empty()) {
        target().append(text);
        return;
    }
    // In a text file the table starts on a line of its own.
    if (mode_ == TextMode::Export && !out_.isEmpty() && !out_.endsWith(u'\n'))
        out_.append(u"\r\n");
    out_.append(text);
}

} // namespace vlr::rtf
