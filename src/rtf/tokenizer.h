#pragma once
// Splits RTF bytes into tokens without copying: every token refers back into
// the input, so a megabyte body costs no allocation per character.
#include <QByteArrayView>

namespace vlr::rtf {

struct Token {
    enum Type { End, GroupOpen, GroupClose, ControlWord, ControlSymbol, Hex, Text, Binary };
    Type type = End;
    QByteArrayView name; // control word name (letters only)
    QByteArrayView data; // text run or \bin payload
    int param = 0;       // numeric parameter, clamped to the int range
    bool hasParam = false;
    char symbol = 0;       // control symbol character
    unsigned char hex = 0; // value of \'hh
    bool hexValid = false;
    qsizetype pos = 0; // offset of the token's first byte
    qsizetype end = 0; // offset just past the token
};

class Tokenizer {
public:
    explicit Tokenizer(QByteArrayView input) : in_(input) {}
    Token next();
    // The \binN payload follows the word; the interpreter asks for it.
    Token binary(qsizetype count);
    QByteArrayView input() const { return in_; }
    qsizetype position() const { return pos_; }

private:
    QByteArrayView in_;
    qsizetype pos_ = 0;
};

bool isHexDigit(char c);
int hexValue(char c);

} // namespace vlr::rtf
