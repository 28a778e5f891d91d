#include "rtf/text_sink.h"

#include "rtf/list_numbers.h"

namespace vlr::rtf {

QString& TextSink::target() {
    if (!inTable_)
        return mode_ == TextMode::Export ? para_ : out_;
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
        newline(mode_ == TextMode::Export && !inTable_ ? out_ : target());
    }
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

void TextSink::paragraphEnd(const ParaState& para, const CharState&) {
    materialize();
    if (mode_ == TextMode::Export && !inTable_) {
        out_ += listLabel(para.list);
        out_ += para_;
        para_.clear();
    }
    needNewline_ = true;
}

void TextSink::finish(const ParaState& para, const CharState&) {
    // The last paragraph, when no \par ended it.
    if (mode_ == TextMode::Export && !para_.isEmpty()) {
        out_ += listLabel(para.list);
        out_ += para_;
        para_.clear();
    }
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

void TextSink::rowStart(const RowInfo& row) {
    const int cells = qMax(1, int(row.cellRight.size()));
    if (!inTable_) {
        needNewline_ = false;
        out_ += para_; // text before the table that no \par ended
        para_.clear();
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
