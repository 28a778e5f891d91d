#include "rtf/escape.h"

#include <QChar>

namespace vlr::rtf {

namespace {

// Windows-1251 bytes 0x80..0xFF; 0 where the byte has no character.
constexpr char16_t kCp1251High[128] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039, 0x040A,
    0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x0000, 0x2122,
    0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6,
    0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456,
    0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457};

int ansiByte(char16_t c) {
    if (c >= 0x0410 && c <= 0x044F)
        return c - 0x0410 + 0xC0;
    for (int i = 0; i < 64; ++i) {
        if (kCp1251High[i] == c)
            return 0x80 + i;
    }
    return -1;
}

const char kHex[] = "0123456789abcdef";

} // namespace

void appendRtfText(QByteArray& out, QStringView text, bool ansi, bool portable) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c >= 0x20 && c < 0x7F) {
            if (c == '\\' || c == '{' || c == '}')
                out.append('\\');
            out.append(char(c));
            continue;
        }
        switch (c) {
        case '\t':
            out.append("\\tab ");
            continue;
        case 0x2028:
            out.append("\\line ");
            continue;
        case 0x00A0:
            out.append("\\~");
            continue;
        case 0x00AD:
            out.append("\\-");
            continue;
        case 0x2011:
            out.append("\\_");
            continue;
        default:
            break;
        }
        const int n = c > 32767 ? int(c) - 65536 : int(c);
        if (portable) {
            const int fallback = ansiByte(c) >= 0 ? ansiByte(c) : '?';
            out.append("\\u");
            out.append(QByteArray::number(n));
            out.append("\\'");
            out.append(kHex[fallback >> 4]);
            out.append(kHex[fallback & 15]);
            continue;
        }
        const int b = ansi ? ansiByte(c) : -1;
        if (b >= 0) {
            out.append("\\'");
            out.append(kHex[b >> 4]);
            out.append(kHex[b & 15]);
            continue;
        }
        // \uN takes a signed 16-bit number; the fallback '?' is skipped by \uc1.
        out.append("\\u");
        out.append(QByteArray::number(n));
        out.append('?');
    }
}

void appendWord(QByteArray& out, const char* word) {
    out.append('\\');
    out.append(word);
}

void appendWord(QByteArray& out, const char* word, int value) {
    out.append('\\');
    out.append(word);
    out.append(QByteArray::number(value));
}

} // namespace vlr::rtf
