#pragma once
// Code pages of RTF text runs: which one a font charset selects, and fast
// decoding of single-byte pages through a table built once per page.
#include <QByteArrayView>
#include <QString>

namespace vlr::rtf {

// The code page a \fcharset number selects; 0 when it selects none of its own
// (the document's \ansicpg applies).
int codePageOfCharset(int charset, int ansiCodePage);

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
