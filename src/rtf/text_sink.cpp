#include "rtf/text_sink.h"

namespace vlr::rtf {

QString& TextSink::target() {
    if (!inTable_)
        return out_;
    auto& row = rows_.back();
    if (row.size() <= size_t(col_))
        row.resize(size_t(col_) + 1);
    return row[size_t(col_)];
}

void TextSink::newline(QString& to) {
    if (mode_ == TextMode::Editor)
        to.append(u'\n');
    else if (inTable_)
        to.append(u' ');
    else
        to.append(u"\r\n");
}

void TextSink::materialize() {
    if (cellPending_) {
        cellPending_ = false;
        needNewline_ = false;
        columns_ = qMax(columns_, col_ + 1);
    }
    if (needNewline_) {
        needNewline_ = false;
        newline(target());
    }
}

void TextSink::text(QStringView text, const CharState&) {
    materialize();
    QString& to = target();
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
            if (mode_ == TextMode::Editor)
                to.append(u'\n');
            else if (inTable_)
                to.append(u' ');
            else
                to.append(u"\r\n");
            break;
        case 0x00A0:
            to.append(u' ');
            break;
        default:
            to.append(ch);
        }
    }
}

void TextSink::paragraphEnd(const ParaState&, const CharState&) {
    materialize();
    needNewline_ = true;
}

void TextSink::picture(const Picture&, const CharState&) {
    materialize();
    if (mode_ == TextMode::Editor)
        target().append(QChar(QChar::ObjectReplacementCharacter));
}

void TextSink::rowStart(const RowInfo& row) {
    const int cells = qMax(1, int(row.cellRight.size()));
    if (!inTable_) {
        needNewline_ = false;
        inTable_ = true;
        rows_.clear();
        columns_ = 0;
    }
    rows_.emplace_back();
    columns_ = qMax(columns_, cells);
    col_ = 0;
    needNewline_ = false;
    cellPending_ = false;
}

void TextSink::cellEnd(const ParaState&, const CharState&) {
    materialize();
    columns_ = qMax(columns_, col_ + 1);
    ++col_;
    cellPending_ = true;
}

void TextSink::rowEnd() {
    cellPending_ = false;
}

void TextSink::tableEnd() {
    if (!inTable_)
        return;
    inTable_ = false;
    cellPending_ = false;
    needNewline_ = false;
    // In a text file the table starts on a line of its own.
    if (mode_ == TextMode::Export && !out_.isEmpty() && !out_.endsWith(u'\n'))
        out_.append(u"\r\n");
    for (auto& row : rows_) {
        for (int c = 0; c < columns_; ++c) {
            const QString cell = size_t(c) < row.size() ? row[size_t(c)] : QString();
            if (mode_ == TextMode::Editor) {
                out_.append(u'\n'); // the cell's start
                out_.append(cell);
            } else {
                if (c > 0)
                    out_.append(u'\t');
                out_.append(cell);
            }
        }
        if (mode_ == TextMode::Export)
            out_.append(u"\r\n");
    }
    if (mode_ == TextMode::Editor)
        out_.append(u'\n'); // the table's end
    rows_.clear();
}

} // namespace vlr::rtf
