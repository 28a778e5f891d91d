// The font table: numbers, names, character sets and alternative faces.
#include "rtf/reader.h"

namespace vlr::rtf::detail {

void Interpreter::fontNameBytesToText() {
    if (fontNum_ < 0 || fontName_.isEmpty())
        return;
    const FontEntry& f = tables_.fonts[fontNum_];
    const int cp = f.codePage > 0 ? f.codePage : codePageOfCharset(f.charset, tables_.ansiCodePage);
    CodePageDecoder(cp).appendDecoded(fontNameText_, fontName_);
    fontName_.clear();
}

void Interpreter::finishFontName() {
    if (fontNum_ < 0) {
        fontName_.clear();
        fontNameText_.clear();
        return;
    }
    fontNameBytesToText();
    QString name = fontNameText_.trimmed();
    if (name.endsWith(u';'))
        name.chop(1);
    name = name.trimmed();
    FontEntry& f = tables_.fonts[fontNum_];
    if (!name.isEmpty())
        f.name = name;
    fontNameText_.clear();
}

void Interpreter::fontTableBytes(QByteArrayView bytes) {
    for (char c : bytes) {
        fontName_.append(c);
        if (c == ';')
            finishFontName();
    }
}

void Interpreter::fontAltBytes(QByteArrayView bytes) {
    if (fontNum_ < 0)
        return;
    QString& alt = tables_.fonts[fontNum_].alt;
    CodePageDecoder(codePage()).appendDecoded(alt, bytes);
    alt.remove(u';');
}

bool Interpreter::fontWord(const Word& w) {
    GroupState& g = cur();
    const bool inTable = g.dest == Dest::FontTable;
    switch (w.kw) {
    case KwFontTbl:
        // Tables count only where the document's own text is read: inside a
        // picture, a field instruction or a skipped group they are content.
        if (g.dest != Dest::Normal) {
            g.dest = Dest::Skip;
            return true;
        }
        g.dest = Dest::FontTable;
        fontNum_ = -1;
        fontName_.clear();
        fontNameText_.clear();
        return true;
    case KwF:
        if (inTable) {
            finishFontName();
            fontNum_ = w.p;
            tables_.fonts[w.p];
        } else {
            g.chr.font = w.p;
        }
        return true;
    case KwFCharset:
        if (inTable && fontNum_ >= 0)
            tables_.fonts[fontNum_].charset = w.p;
        return true;
    case KwCpg:
        if (inTable && fontNum_ >= 0)
            tables_.fonts[fontNum_].codePage = w.p;
        return true;
    case KwFAlt:
        g.dest = inTable && fontNum_ >= 0 ? Dest::FontAlt : Dest::Skip;
        return true;
    case KwFFamily:
        if (inTable && fontNum_ >= 0)
            tables_.fonts[fontNum_].family = w.token.name.toByteArray();
        return true;
    case KwFPrq:
        if (inTable && fontNum_ >= 0)
            tables_.fonts[fontNum_].pitch = w.p;
        return true;
    default:
        return false;
    }
}

} // namespace vlr::rtf::detail
