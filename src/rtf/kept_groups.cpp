#include "rtf/kept_groups.h"

#include "rtf/code_pages.h"
#include "rtf/tokenizer.h"

#include <QString>

#include <vector>

namespace vlr::rtf {

namespace {

void appendUnicode(QByteArray& out, QChar c, int uc) {
    out.append("\\u" + QByteArray::number(qint16(c.unicode())));
    // The fallbacks a reader skips after \u; without any, a space ends the word.
    out.append(uc > 0 ? QByteArray(uc, '?') : QByteArray(" "));
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
    std::vector<int> ucStack{1};
    int skip = 0; // fallback characters still to pass after a \u
    auto eightBit = [&](unsigned char byte) {
        QString decoded;
        decoder.appendDecoded(decoded, QByteArrayView(reinterpret_cast<const char*>(&byte), 1));
        for (QChar c : decoded)
            appendUnicode(out, c, ucStack.back());
    };
    Tokenizer tk(group);
    qsizetype copied = 0; // line breaks between tokens keep words apart
    for (Token t = tk.next(); t.type != Token::End; copied = t.end, t = tk.next()) {
        out.append(group.sliced(copied, t.pos - copied));
        const QByteArrayView bytes = group.sliced(t.pos, t.end - t.pos);
        switch (t.type) {
        case Token::GroupOpen:
            ucStack.push_back(ucStack.back());
            skip = 0;
            out.append(bytes);
            break;
        case Token::GroupClose:
            if (ucStack.size() > 1)
                ucStack.pop_back();
            skip = 0;
            out.append(bytes);
            break;
        case Token::ControlWord:
            out.append(bytes);
            if (t.name == "uc" && t.hasParam) {
                ucStack.back() = qBound(0, t.param, 16);
                skip = 0;
            } else if (t.name == "u" && t.hasParam) {
                skip = ucStack.back();
            } else if (t.name == "bin" && t.hasParam && t.param > 0) {
                const Token data = tk.binary(t.param);
                out.append(group.sliced(t.end, data.end - t.end));
                t.end = data.end;
                skip = 0;
            } else {
                skip = 0;
            }
            break;
        case Token::Hex:
            if (skip > 0) {
                --skip;
                out.append(bytes);
            } else if (t.hexValid && t.hex >= 0x80) {
                eightBit(t.hex);
            } else {
                out.append(bytes);
            }
            break;
        case Token::Text:
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
            skip = 0;
            out.append(bytes);
            break;
        }
    }
    out.append(group.sliced(copied));
    return out;
}

} // namespace vlr::rtf
