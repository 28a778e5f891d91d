#pragma once
// Code pages of RTF text runs: which one a font charset selects, and fast
// decoding of single-byte pages through a table built once per page.
#include <QByteArrayView>
#include <QString>

namespace vlr::rtf {

// The code page a \fcharset number selects; 0 when it selects none of its own
// (the document's \ansicpg applies).
int codePageOfCharset(int charset, int ansiCodePage);

// Characters that would change a document's structure (block and frame marks,
// object marks, line ends, NUL, lone surrogate halves) are not text: they map
// to a space, a line break or the replacement character. Others are kept.
inline char16_t safeTextChar(char16_t c) {
    if ((c >= 0xD800 && c <= 0xDFFF) || c == 0xFFFC || c == 0xFDD0 || c == 0xFDD1 || c == 0)
        return 0xFFFD;
    if (c == '\r' || c == '\n' || c == 0x2029)
        return u' ';
    if (c == 0x0B)
        return 0x2028;
    return c;
}

// Whether the bytes end with the first half of a double-byte letter of
// `codePage` (always false for single-byte pages).
bool endsWithLeadByte(QByteArrayView bytes, int codePage);

// One decoder per code page; single-byte pages decode byte by byte from a table.
class CodePageDecoder {
public:
    explicit CodePageDecoder(int codePage);
    int codePage() const { return codePage_; }
    bool singleByte() const { return table_ != nullptr; }
    void appendDecoded(QString& out, QByteArrayView bytes) const;

private:
    int codePage_;
    const char16_t* table_ = nullptr; // 256 entries for single-byte pages
};

} // namespace vlr::rtf
