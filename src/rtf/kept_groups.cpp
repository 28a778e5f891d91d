#include "rtf/kept_groups.h"

#include "rtf/code_pages.h"
#include "rtf/tokenizer.h"

#include <QString>

#include <memory>
#include <vector>

namespace vlr::rtf {

namespace {

// Gathers a run of 8-bit text read under one code page, so that a double-byte
// letter split over a \'hh and the byte after it decodes as one letter.
class PendingRun {
public:
    explicit PendingRun(QByteArray& out) : out_(out) {}

    // Whether the byte belongs to the run rather than standing for itself.
    bool takes(uchar byte, int codePage) const {
        if (byte >= 0x80)
            return true;
        return codePage == codePage_ && endsWithLeadByte(bytes_, codePage);
    }

    void add(uchar byte, int codePage) {
        if (codePage != codePage_)
            flush();
        codePage_ = codePage;
        bytes_.append(char(byte));
    }

    void flush() {
        if (bytes_.isEmpty())
            return;
        if (!decoder_ || decoder_->codePage() != codePage_)
            decoder_ = std::make_unique<CodePageDecoder>(codePage_);
        QString decoded;
        decoder_->appendDecoded(decoded, bytes_);
        bytes_.clear();
        // A group of its own per letter: the fallback count holds whatever
        // \uc the group has.
        for (QChar c : decoded)
            out_.append("{\\uc1\\u" + QByteArray::number(qint16(c.unicode())) + "?}");
    }

private:
    QByteArray& out_;
    QByteArray bytes_;
    int codePage_ = 0;
    std::unique_ptr<CodePageDecoder> decoder_;
};

} // namespace

QByteArray keptWithUnicodeText(QByteArrayView group, const KeptStart& start,
                               const FontCodePage& fontCodePage) {
    QByteArray out;
    out.reserve(group.size() + group.size() / 8);
    PendingRun run(out);
    // Per open group: its \uc count and its font.
    struct Level {
        int uc;
        int font;
    };
    std::vector<Level> levels{{start.uc, start.font}};
    int ansi = start.ansiCodePage;
    int codePage = fontCodePage(start.font, ansi);
    // The written document says \uc1; another count is said again inside the
    // group, after its destination word so that {\* and {\footnote keep their
    // shape.
    bool ucToSay = start.uc != 1;
    const auto sayUc = [&] {
        out.append("\\uc" + QByteArray::number(start.uc) + ' ');
        ucToSay = false;
    };
    int skip = 0; // fallbacks after a \u, skipped exactly as the reader skips them
    const auto follow = [&] { codePage = fontCodePage(levels.back().font, ansi); };

    Tokenizer tk(group);
    qsizetype copied = 0; // line breaks between tokens keep words apart
    for (Token t = tk.next(); t.type != Token::End; copied = t.end, t = tk.next()) {
        if (ucToSay && levels.size() == 2) {
            if (t.type == Token::ControlWord && t.name == "uc") {
                ucToSay = false; // the group says its own
            } else if ((t.type != Token::ControlWord || t.name == "u") &&
                       !(t.type == Token::ControlSymbol && t.symbol == '*')) {
                run.flush();
                sayUc();
            }
        }
        out.append(group.sliced(copied, t.pos - copied));
        const QByteArrayView token = group.sliced(t.pos, t.end - t.pos);
        switch (t.type) {
        case Token::Text:
            for (char c : t.data) {
                if (skip > 0) {
                    --skip;
                    run.flush();
                    out.append(c);
                } else if (run.takes(uchar(c), codePage)) {
                    run.add(uchar(c), codePage);
                } else {
                    run.flush();
                    out.append(c);
                }
            }
            continue;
        case Token::Hex:
            if (skip > 0) {
                --skip;
            } else if (t.hexValid && run.takes(uchar(t.hex), codePage)) {
                run.add(uchar(t.hex), codePage);
                continue;
            }
            break;
        case Token::ControlSymbol:
            if (skip > 0) {
                --skip;
            } else if ((t.symbol == '\\' || t.symbol == '{' || t.symbol == '}') &&
                       run.takes(uchar(t.symbol), codePage)) {
                run.add(uchar(t.symbol), codePage); // a double-byte letter's second byte
                continue;
            }
            break;
        default:
            break;
        }
        run.flush();
        out.append(token);
        switch (t.type) {
        case Token::GroupOpen:
            levels.push_back(levels.back());
            skip = 0;
            break;
        case Token::GroupClose:
            if (levels.size() > 1)
                levels.pop_back();
            skip = 0;
            follow();
            break;
        case Token::ControlWord:
            if (t.name == "bin") {
                const Token data = tk.binary(t.param);
                out.append(group.sliced(t.end, data.end - t.end));
                t.end = data.end;
            }
            if (skip > 0) {
                --skip;
            } else if (t.name == "uc") {
                levels.back().uc = qBound(0, t.hasParam ? t.param : 0, 1000000);
            } else if (t.name == "u") {
                skip = levels.back().uc;
            } else if (t.name == "f") {
                levels.back().font = t.param;
                follow();
            } else if (t.name == "ansicpg" && t.param > 0) {
                ansi = t.param;
                follow();
            }
            if (ucToSay && levels.size() == 2)
                sayUc();
            break;
        default:
            break;
        }
    }
    run.flush();
    out.append(group.sliced(copied));
    return out;
}

} // namespace vlr::rtf
