#include "rtf/kept_groups.h"

#include "rtf/code_pages.h"
#include "rtf/tokenizer.h"

#include <QString>

#include <vector>

namespace vlr::rtf {

namespace {

void appendUnicode(QByteArray& out, QChar c) {
    // A group of its own: the fallback count holds whatever \uc the group has.
    out.append("{\\uc1\\u" + QByteArray::number(qint16(c.unicode())) + "?}");
}

} // namespace

QByteArray keptFor1251(QByteArrayView group, int codePage) {
    if (codePage == 1251)
        return group.toByteArray();
    const CodePageDecoder decoder(codePage);
    if (!decoder.singleByte())
        return group.toByteArray();
    QByteArray out;
    out.reserve(group.size() + group.size() / 8);
    // The fallbacks after a \u are skipped exactly as the reader skips them.
    std::vector<int> ucStack{1};
    int skip = 0;
    auto eightBit = [&](unsigned char byte) {
        QString decoded;
        decoder.appendDecoded(decoded, QByteArrayView(reinterpret_cast<const char*>(&byte), 1));
        for (QChar c : decoded)
            appendUnicode(out, c);
    };
    Tokenizer tk(group);
    qsizetype copied = 0; // line breaks between tokens keep words apart
    for (Token t = tk.next(); t.type != Token::End; copied = t.end, t = tk.next()) {
        out.append(group.sliced(copied, t.pos - copied));
        out.append(group.sliced(t.pos, t.end - t.pos)); // text tokens are rewritten below
        switch (t.type) {
        case Token::GroupOpen:
            ucStack.push_back(ucStack.back());
            skip = 0;
            break;
        case Token::GroupClose:
            if (ucStack.size() > 1)
                ucStack.pop_back();
            skip = 0;
            break;
        case Token::ControlWord:
            if (t.name == "bin") {
                const Token data = tk.binary(t.param);
                out.append(group.sliced(t.end, data.end - t.end));
                t.end = data.end;
            }
            if (skip > 0)
                --skip;
            else if (t.name == "uc")
                ucStack.back() = qBound(0, t.hasParam ? t.param : 0, 1000000);
            else if (t.name == "u")
                skip = ucStack.back();
            break;
        case Token::ControlSymbol:
            if (skip > 0)
                --skip;
            break;
        case Token::Hex:
            if (skip > 0) {
                --skip;
            } else if (t.hexValid && t.hex >= 0x80) {
                out.chop(t.end - t.pos);
                eightBit(t.hex);
            }
            break;
        case Token::Text:
            out.chop(t.end - t.pos);
            for (char c : t.data) {
                if (skip > 0) {
                    --skip;
                    out.append(c);
                } else if (uchar(c) >= 0x80) {
                    eightBit(uchar(c));
                } else {
                    out.append(c);
                }
            }
            break;
        default:
            break;
        }
    }
    out.append(group.sliced(copied));
    return out;
}

} // namespace vlr::rtf
