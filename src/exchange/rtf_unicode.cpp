#include "exchange/rtf_unicode.h"

#include "core/codepage.h"

namespace vlr {

namespace {

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool startsSkippedGroup(const QByteArray& rtf, qsizetype i) {
    static const char* const kSkipped[] = {"{\\*",     "{\\fonttbl", "{\\colortbl", "{\\stylesheet",
                                           "{\\info",  "{\\pict",    "{\\object",   "{\\listtable",
                                           "{\\field", "{\\fldinst"};
    for (const char* s : kSkipped)
        if (QByteArrayView(rtf).sliced(i).startsWith(s))
            return true;
    return false;
}

} // namespace

QByteArray WithUnicodeEscapes(const QByteArray& rtf) {
    QByteArray out;
    out.reserve(rtf.size() + rtf.size() / 4);
    int depth = 0;
    int skipFrom = -1;   // the depth of the group being left alone
    bool afterU = false; // the last control word was \uN: its fallback follows
    for (qsizetype i = 0; i < rtf.size(); ++i) {
        const char c = rtf[i];
        if (c == '{') {
            if (skipFrom < 0 && startsSkippedGroup(rtf, i))
                skipFrom = depth + 1;
            ++depth;
            afterU = false;
            out += c;
            continue;
        }
        if (c == '}') {
            if (depth == skipFrom)
                skipFrom = -1;
            --depth;
            afterU = false;
            out += c;
            continue;
        }
        if (c != '\\' || i + 1 >= rtf.size()) {
            out += c;
            if (c != '\r' && c != '\n')
                afterU = false;
            continue;
        }
        const char next = rtf[i + 1];
        if (next == '\'' && i + 3 < rtf.size()) {
            const int hi = hexValue(rtf[i + 2]), lo = hexValue(rtf[i + 3]);
            if (skipFrom < 0 && !afterU && hi >= 0 && lo >= 0) {
                const QString ch = fromAnsi(QByteArray(1, char(hi * 16 + lo)));
                if (!ch.isEmpty() && ch[0].unicode() >= 128)
                    out += "\\u" + QByteArray::number(qint16(ch[0].unicode()));
            }
            out += rtf.mid(i, 4);
            i += 3;
            afterU = false;
            continue;
        }
        // A control word (with its number and delimiting space) or a control symbol.
        qsizetype j = i + 1;
        while (j < rtf.size() && ((rtf[j] >= 'a' && rtf[j] <= 'z') || (rtf[j] >= 'A' && rtf[j] <= 'Z')))
            ++j;
        const QByteArray word = rtf.mid(i + 1, j - i - 1);
        if (j < rtf.size() && (rtf[j] == '-' || (rtf[j] >= '0' && rtf[j] <= '9'))) {
            ++j;
            while (j < rtf.size() && rtf[j] >= '0' && rtf[j] <= '9')
                ++j;
        }
        if (word.isEmpty())
            j = i + 2; // a control symbol: \\ \{ \} \~ ...
        else if (j < rtf.size() && rtf[j] == ' ')
            ++j;
        out += rtf.mid(i, j - i);
        afterU = word == "u";
        i = j - 1;
    }
    return out;
}

} // namespace vlr
