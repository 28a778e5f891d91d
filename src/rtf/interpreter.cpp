#include "rtf/interpreter.h"

#include "rtf/kept_groups.h"
#include "rtf/reader.h"

namespace vlr::rtf {

bool looksLikeRtf(QByteArrayView data) {
    qsizetype i = 0;
    if (data.startsWith("\xEF\xBB\xBF"))
        i = 3;
    while (i < data.size() && (data[i] == ' ' || data[i] == '\t' || data[i] == '\r' || data[i] == '\n'))
        ++i;
    return data.sliced(i).startsWith("{\\rtf");
}

bool interpret(QByteArrayView rtf, Sink& sink, QString* error) {
    if (!looksLikeRtf(rtf)) {
        if (error)
            *error = QStringLiteral("not RTF: the data does not start with {\\rtf");
        return false;
    }
    detail::Interpreter(rtf, sink).run();
    return true;
}

namespace detail {

void Interpreter::markRawStart(qsizetype wordPos) {
    flushText();
    GroupState& g = cur();
    g.rawFrom = outputs_ == g.outputsAtStart ? g.start : wordPos;
    if (g.rawFrom != g.start) { // the group's own words before this one are not kept
        g.rawUc = g.uc;
        g.rawFont = g.chr.font;
        g.rawAnsi = tables_.ansiCodePage;
    }
}

QByteArray Interpreter::rawBytes(const GroupState& g, qsizetype end) const {
    QByteArray raw;
    if (g.rawFrom != g.start)
        raw.append('{');
    raw.append(in_.sliced(g.rawFrom, end - g.rawFrom));
    return raw;
}

QByteArray Interpreter::keptBytes(const GroupState& g, qsizetype end) {
    return keptWithUnicodeText(rawBytes(g, end), KeptStart{g.rawUc, g.rawFont, g.rawAnsi},
                               [this](int font, int ansi) { return codePageOfFont(font, ansi); });
}

// Text of footnotes, text boxes and field instructions: bytes are gathered
// until something else comes, so that a double-byte letter split over a \'hh
// and the byte after it is read as one letter.
void Interpreter::sideText(QString& target, QByteArrayView bytes) {
    const int cp = codePage();
    if (&target != sideTarget_ || cp != sideCodePage_)
        flushSideText();
    sideTarget_ = &target;
    sideCodePage_ = cp;
    sideBytes_.append(bytes);
}

void Interpreter::flushSideText() {
    if (sideTarget_ && !sideBytes_.isEmpty()) {
        QString decoded;
        CodePageDecoder(sideCodePage_).appendDecoded(decoded, sideBytes_);
        for (QChar& c : decoded)
            c = QChar(safeTextChar(c.unicode()));
        sideTarget_->append(decoded);
    }
    sideBytes_.clear();
    sideTarget_ = nullptr;
}

void Interpreter::openGroup(qsizetype pos) {
    flushText();
    ucSkip_ = 0;
    starPending_ = false;
    if (stack_.size() >= size_t(kMaxDepth)) {
        ++extraDepth_;
        return;
    }
    GroupState g = stack_.back();
    g.start = pos;
    g.rawUc = g.uc;
    g.rawFont = g.chr.font;
    g.rawAnsi = tables_.ansiCodePage;
    g.rawFrom = pos;
    g.outputsAtStart = outputs_;
    stack_.push_back(std::move(g));
}

bool Interpreter::closeGroup(qsizetype end) {
    flushText();
    ucSkip_ = 0;
    starPending_ = false;
    if (extraDepth_ > 0) {
        --extraDepth_;
        return true;
    }
    GroupState g = std::move(stack_.back());
    stack_.pop_back();
    if (stack_.size() <= 1) {
        stack_.push_back(std::move(g)); // keep a state for the finishing events
        return false;
    }
    GroupState& parent = stack_.back();
    switch (g.dest) {
    case Dest::FontTable: // each font's own group ends its name
        finishFontName();
        return true;
    case Dest::Pn: // numbering read in inner groups belongs to the paragraph
    case Dest::PnTxtA:
    case Dest::PnTxtB:
        parent.para.pn = g.para.pn;
        parent.para.pnOn = g.para.pnOn;
        return true;
    default:
        break;
    }
    // Other destinations end where their own group closes, not in inner groups.
    if (parent.dest == g.dest)
        return true;
    switch (g.dest) {
    case Dest::LevelText:
        finishLevelText();
        break;
    case Dest::List:
        lists_.insert(listId_, listDef_);
        break;
    case Dest::ListOverride:
        overrides_.insert(overrideLs_, overrideDef_);
        break;
    case Dest::Pict:
        finishPict(g, parent, end);
        break;
    case Dest::Object:
        finishObject(g, parent, end);
        break;
    case Dest::Raw:
        if (parent.dest == Dest::Normal) {
            sink_.rawGroup(keptBytes(g, end));
            ++outputs_;
        }
        break;
    case Dest::Footnote:
        if (parent.dest == Dest::Normal)
            finishFootnote(g, end);
        break;
    case Dest::NestTableProps:
        defDepth_ = 1;
        break;
    case Dest::Shape:
        finishTextBox(g, end);
        break;
    default:
        break;
    }
    return true;
}

void Interpreter::textBytes(QByteArrayView bytes) {
    GroupState& g = cur();
    switch (g.dest) {
    case Dest::Normal:
        bodyBytes(bytes);
        break;
    case Dest::FontTable:
        fontTableBytes(bytes);
        break;
    case Dest::ColorTable:
        colorTableBytes(bytes);
        break;
    case Dest::FldInst:
        if (g.field >= 0)
            sideText(fields_[size_t(g.field)].inst, bytes);
        break;
    case Dest::PnTxtA:
    case Dest::PnTxtB:
        pnTextBytes(bytes);
        break;
    case Dest::LevelText:
        for (char c : bytes)
            levelText_.append(QChar(uchar(c)));
        break;
    case Dest::Footnote:
        sideText(footnoteText_, bytes);
        break;
    case Dest::FontAlt:
        fontAltBytes(bytes);
        break;
    case Dest::Pict:
        pictBytes(bytes);
        break;
    case Dest::ShapeText:
        sideText(boxText_, bytes);
        break;
    default:
        break;
    }
}

// A \uN letter, in whatever the current destination collects.
void Interpreter::unicodeChar(char16_t c) {
    GroupState& g = cur();
    switch (g.dest) {
    case Dest::Normal:
        bodyChar(c);
        break;
    case Dest::FldInst:
        if (g.field >= 0)
            fields_[size_t(g.field)].inst.append(QChar(c));
        break;
    case Dest::PnTxtA:
        g.para.pn.suffix.append(QChar(c));
        break;
    case Dest::PnTxtB:
        g.para.pn.prefix.append(QChar(c));
        break;
    case Dest::LevelText:
        levelText_.append(QChar(c));
        break;
    case Dest::Footnote:
    case Dest::ShapeText: {
        // Shown as text of their own: no NUL or block marks, halves of
        // surrogate pairs kept for the letter they make.
        const bool half = c >= 0xD800 && c <= 0xDFFF;
        (g.dest == Dest::Footnote ? footnoteText_ : boxText_).append(QChar(half ? c : safeTextChar(c)));
        break;
    }
    case Dest::FontTable:
        fontNameBytesToText();
        fontNameText_.append(QChar(c));
        break;
    default:
        break;
    }
}

void Interpreter::symbol(const Token& t) {
    if (t.symbol == '*') {
        starPending_ = true;
        starPos_ = t.pos;
        return;
    }
    starPending_ = false; // \* applies only to a control word right after it
    switch (t.symbol) {
    case '\\':
    case '{':
    case '}': {
        const char c = t.symbol;
        if (cur().dest == Dest::Pict)
            return;
        textBytes(QByteArrayView(&c, 1));
        return;
    }
    case '~':
        if (cur().dest == Dest::Normal)
            bodyChar(0x00A0);
        return;
    case '-':
        if (cur().dest == Dest::Normal)
            bodyChar(0x00AD);
        return;
    case '_':
        if (cur().dest == Dest::Normal)
            bodyChar(0x2011);
        return;
    case '\t':
        if (cur().dest == Dest::Normal)
            bodyChar('\t');
        return;
    case '\n':
        if (cur().dest == Dest::Normal)
            paragraph();
        return;
    default:
        return;
    }
}

// Words about the document as a whole, and the destinations whose content is skipped.
bool Interpreter::documentWord(const Word& w) {
    GroupState& g = cur();
    const int p = w.p;
    switch (w.kw) {
    case KwUnknown:
    case KwRtf:
    case KwShpPict:
        return true;
    case KwAnsi:
        tables_.ansiCodePage = 1252;
        return true;
    case KwMac:
        tables_.ansiCodePage = 10000;
        return true;
    case KwPc:
        tables_.ansiCodePage = 437;
        return true;
    case KwPca:
        tables_.ansiCodePage = 850;
        return true;
    case KwAnsiCpg:
        if (p > 0)
            tables_.ansiCodePage = p;
        return true;
    case KwDeff:
        tables_.defaultFont = p;
        return true;
    case KwDeflang:
        tables_.defaultLang = p;
        return true;
    case KwDefTab:
        if (p > 0)
            tables_.defTab = qMin(p, 31680); // at most 22 inches, as word processors allow
        return true;
    case KwUc:
        g.uc = qBound(0, p, 1000000);
        return true;
    case KwU: {
        int v = p;
        if (v < 0)
            v += 65536;
        ucSkip_ = g.uc;
        unicodeChar((v < 0 || v > 0xFFFF) ? char16_t(0xFFFD) : char16_t(v));
        return true;
    }
    case KwBin: {
        const Token b = tok_.binary(p);
        if (g.dest == Dest::Pict)
            pict_.data.append(b.data);
        return true;
    }
    case KwStyleSheet:
    case KwInfo:
    case KwPnText:
    case KwListText:
    case KwNonShpPict:
    case KwSkipDest:
    case KwLevelNumbers:
    case KwObjData:
    case KwNoNestTables: // what readers without nested tables show instead
        g.dest = Dest::Skip;
        return true;
    default:
        return false;
    }
}

void Interpreter::word(const Token& t) {
    const Kw kw = keywordOf(t.name);
    if (cur().dest == Dest::FontTable || kw == KwAnsi || kw == KwMac || kw == KwPc || kw == KwPca ||
        kw == KwAnsiCpg || kw == KwDeff)
        ++tablesVersion_;
    const bool star = starPending_;
    starPending_ = false;
    GroupState& g = cur();
    // Parameters are bounded so that no arithmetic on them can overflow
    // (measures, numbers, keys); \bin counts and list identifiers are kept whole.
    const int p = (kw == KwBin || kw == KwListId) ? t.param : qBound(-kMaxParam, t.param, kMaxParam);
    const Word w{kw, p, !t.hasParam || p != 0, star, t};

    // Inside skipped or kept groups only the group structure matters, except
    // for objects, which may carry a result picture. Binary data is passed
    // over everywhere: its bytes may look like braces.
    if (g.dest == Dest::Skip || g.dest == Dest::Raw) {
        if (kw == KwBin)
            tok_.binary(p);
        return;
    }
    if (g.dest == Dest::Object || g.dest == Dest::ObjResult) {
        objectWord(w);
        return;
    }

    if (star) {
        const bool known = kw == KwFldInst || kw == KwPn || kw == KwShpPict || kw == KwListTable ||
                           kw == KwListOverrideTable || kw == KwPict || kw == KwObject || kw == KwFootnote ||
                           kw == KwNestTableProps || kw == KwShpInst || kw == KwDo ||
                           (kw == KwFAlt && g.dest == Dest::FontTable);
        if (!known) {
            if (kw == KwSkipDest || kw == KwListText || kw == KwPnText || !bodyStarted_ ||
                g.dest != Dest::Normal || stack_.size() <= 2) {
                g.dest = Dest::Skip;
            } else {
                markRawStart(starPos_);
                cur().dest = Dest::Raw;
            }
            return;
        }
    }

    if (g.dest == Dest::NestTableProps) {
        if (!rowDefinitionWord(w) && kw == KwBin)
            tok_.binary(p);
        return;
    }

    if (g.dest == Dest::Shape) {
        shapeWord(w);
        return;
    }
    if (g.dest == Dest::ShapeText) {
        if (!documentWord(w) && !(w.kw == KwF && fontWord(w)))
            boxTextWord(w);
        return;
    }

    // Words that mean the same in every destination that reads words.
    if (documentWord(w) || fontWord(w) || colorWord(w) || listWord(w) || pnWord(w) || fieldWord(w) ||
        pictureWord(w) || footnoteWord(w) || textBoxWord(w))
        return;

    switch (g.dest) {
    case Dest::Pict:
        pictPropertyWord(w);
        return;
    case Dest::Footnote:
        footnoteTextWord(w);
        return;
    case Dest::Pn:
        pnPropertyWord(w);
        return;
    case Dest::Normal:
        break;
    case Dest::FontTable:
        // A damaged table that holds the body: the body words end the table.
        if (kw != KwPard && kw != KwPar)
            return;
        finishFontName();
        g.dest = Dest::Normal;
        break;
    default:
        return;
    }

    if (charWord(w) || paraWord(w) || tableWord(w))
        return;
    if (kw == KwChFtn)
        footnoteMark();
    else if (const char16_t c = keywordChar(kw))
        bodyChar(c);
}

void Interpreter::run() {
    GroupState root;
    stack_.push_back(root); // outside the document group
    Token first = tok_.next();
    while (first.type != Token::GroupOpen && first.type != Token::End)
        first = tok_.next();
    sink_.begin(tables_);
    if (first.type == Token::End) {
        sink_.finish(ParaState{}, CharState{});
        return;
    }
    openGroup(first.pos);
    while (true) {
        Token t = tok_.next();
        if (t.type == Token::End)
            break;
        if (ucSkip_ > 0) {
            if (t.type == Token::Text) {
                const qsizetype n = qMin<qsizetype>(ucSkip_, t.data.size());
                ucSkip_ -= int(n);
                t.data = t.data.sliced(n);
                if (t.data.isEmpty())
                    continue;
            } else if (t.type == Token::Hex || t.type == Token::ControlSymbol) {
                --ucSkip_;
                continue;
            } else if (t.type == Token::ControlWord) {
                --ucSkip_;
                if (keywordOf(t.name) == KwBin)
                    tok_.binary(t.param);
                continue;
            }
        }
        const bool textToken =
            t.type == Token::Text || t.type == Token::Hex ||
            (t.type == Token::ControlSymbol && (t.symbol == '\\' || t.symbol == '{' || t.symbol == '}'));
        if (!textToken)
            flushSideText();
        switch (t.type) {
        case Token::GroupOpen:
            openGroup(t.pos);
            break;
        case Token::GroupClose:
            if (!closeGroup(t.end))
                goto done;
            break;
        case Token::Text:
            starPending_ = false;
            textBytes(t.data);
            break;
        case Token::Hex:
            starPending_ = false;
            if (t.hexValid) {
                const char c = char(t.hex);
                textBytes(QByteArrayView(&c, 1));
            } else if (cur().dest == Dest::Normal) {
                bodyChar(u'?');
            }
            break;
        case Token::ControlSymbol:
            symbol(t);
            break;
        case Token::ControlWord:
            word(t);
            break;
        default:
            break;
        }
    }
done:
    flushSideText();
    flushText();
    endTables();
    sink_.finish(resolvedPara(), cur().chr);
}

} // namespace detail

} // namespace vlr::rtf
