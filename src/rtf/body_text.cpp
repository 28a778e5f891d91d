// The document's own text: bytes decoded in the current font's code page,
// gathered into runs of one set of attributes and handed to the sink.
#include "rtf/escape.h"
#include "rtf/reader.h"

namespace vlr::rtf::detail {

int Interpreter::codePage() {
    if (cur().chr.font == cpFont_ && tablesVersion_ == cpVersion_)
        return cpValue_;
    cpFont_ = cur().chr.font;
    cpVersion_ = tablesVersion_;
    cpValue_ = lookupCodePage();
    return cpValue_;
}

int Interpreter::lookupCodePage() {
    return codePageOfFont(cur().chr.font, tables_.ansiCodePage);
}

int Interpreter::codePageOfFont(int font, int ansiCodePage) const {
    if (font < 0)
        font = tables_.defaultFont;
    auto it = tables_.fonts.constFind(font);
    if (it != tables_.fonts.constEnd()) {
        if (it->codePage > 0)
            return it->codePage;
        if (it->charset >= 0)
            return codePageOfCharset(it->charset, ansiCodePage);
    }
    return ansiCodePage;
}

void Interpreter::flushBytes() {
    if (bytes_.isEmpty())
        return;
    CodePageDecoder dec(bytesCodePage_);
    dec.appendDecoded(text_, bytes_);
    bytes_.clear();
}

void Interpreter::flushText() {
    flushBytes();
    if (text_.isEmpty())
        return;
    // Unpaired surrogate halves (damaged \u pairs) become the replacement character.
    // Characters that would change the document's structure (block and frame
    // marks, object marks) are not text and become the replacement character.
    // Single-byte tables already map their bytes this way, so only text with
    // \uN letters or double-byte runs needs the pass.
    if (textDirty_) {
        for (qsizetype i = 0; i < text_.size(); ++i) {
            const QChar c = text_.at(i);
            if (c.isHighSurrogate() && i + 1 < text_.size() && text_.at(i + 1).isLowSurrogate())
                ++i;
            else
                text_[i] = QChar(safeTextChar(c.unicode()));
        }
        textDirty_ = false;
    }
    if (textState_.hidden) {
        // Hidden text has no place in the shown text but must survive a save.
        QByteArray raw("{\\v ");
        appendRtfText(raw, text_);
        raw.append('}');
        sink_.rawGroup(raw);
    } else {
        sink_.text(text_, textState_);
    }
    ++outputs_;
    text_.clear();
}

void Interpreter::bodyBytes(QByteArrayView bytes) {
    if (!text_.isEmpty() || !bytes_.isEmpty()) {
        if (!(textState_ == cur().chr))
            flushText();
    }
    if (text_.isEmpty() && bytes_.isEmpty()) {
        flow();
        textState_ = cur().chr;
    }
    const int cp = codePage();
    if (!decoder_ || decoder_->codePage() != cp)
        decoder_ = std::make_unique<CodePageDecoder>(cp);
    if (decoder_->singleByte()) {
        flushBytes();
        decoder_->appendDecoded(text_, bytes);
    } else {
        if (!bytes_.isEmpty() && bytesCodePage_ != cp)
            flushBytes();
        bytesCodePage_ = cp;
        textDirty_ = true;
        // 7-bit bytes are ASCII unless they complete a double-byte letter.
        for (const char b : bytes) {
            if (uchar(b) < 0x80 && !endsWithLeadByte(bytes_, cp)) {
                flushBytes();
                text_.append(QLatin1Char(b));
            } else {
                bytes_.append(b);
            }
        }
    }
}

void Interpreter::bodyString(QStringView s) {
    if (!text_.isEmpty() || !bytes_.isEmpty()) {
        if (!(textState_ == cur().chr))
            flushText();
    }
    flushBytes();
    if (text_.isEmpty()) {
        flow();
        textState_ = cur().chr;
    }
    text_.append(s);
}

void Interpreter::bodyChar(char16_t c) {
    const QChar ch(c);
    bodyString(QStringView(&ch, 1));
    // After the append: bodyString may have flushed (and cleaned) earlier text.
    if (safeTextChar(c) != c)
        textDirty_ = true;
}

} // namespace vlr::rtf::detail
