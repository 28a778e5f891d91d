#include "rtf/tokenizer.h"

#include <array>
#include <limits>

namespace vlr::rtf {

bool isHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

namespace {

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Control word names are short; anything longer is garbage and ends here.
constexpr qsizetype kMaxNameLength = 32;
constexpr int kMaxParamDigits = 10;

} // namespace

Token Tokenizer::next() {
    const qsizetype n = in_.size();
    const char* s = in_.data();
    // CR and LF carry no meaning in RTF; a NUL is what some writers put after the last brace.
    while (pos_ < n && (s[pos_] == '\r' || s[pos_] == '\n' || s[pos_] == '\0'))
        ++pos_;
    Token t;
    t.pos = pos_;
    if (pos_ >= n) {
        t.end = pos_;
        return t;
    }
    const char c = s[pos_];
    if (c == '{') {
        t.type = Token::GroupOpen;
        t.end = ++pos_;
        return t;
    }
    if (c == '}') {
        t.type = Token::GroupClose;
        t.end = ++pos_;
        return t;
    }
    if (c != '\\') {
        static const auto stops = [] {
            std::array<bool, 256> t{};
            for (unsigned char c : {'\\', '{', '}', '\r', '\n', '\0'})
                t[c] = true;
            return t;
        }();
        qsizetype e = pos_;
        while (e < n && !stops[static_cast<unsigned char>(s[e])])
            ++e;
        t.type = Token::Text;
        t.data = in_.sliced(pos_, e - pos_);
        t.end = pos_ = e;
        return t;
    }
    // Backslash.
    ++pos_;
    if (pos_ >= n) {
        t.type = Token::ControlSymbol;
        t.symbol = '\\';
        t.end = pos_;
        return t;
    }
    const char d = s[pos_];
    if (isLetter(d)) {
        const qsizetype start = pos_;
        while (pos_ < n && isLetter(s[pos_]) && pos_ - start < kMaxNameLength)
            ++pos_;
        t.type = Token::ControlWord;
        t.name = in_.sliced(start, pos_ - start);
        if (pos_ < n && (s[pos_] == '-' || isDigit(s[pos_]))) {
            bool negative = false;
            if (s[pos_] == '-') {
                negative = true;
                ++pos_;
            }
            long long value = 0;
            int digits = 0;
            while (pos_ < n && isDigit(s[pos_])) {
                if (digits < kMaxParamDigits)
                    value = value * 10 + (s[pos_] - '0');
                ++digits;
                ++pos_;
            }
            if (digits > 0 || negative) {
                t.hasParam = digits > 0;
                if (negative)
                    value = -value;
                if (value > std::numeric_limits<int>::max())
                    value = std::numeric_limits<int>::max();
                if (value < std::numeric_limits<int>::min())
                    value = std::numeric_limits<int>::min();
                t.param = int(value);
            }
        }
        if (pos_ < n && s[pos_] == ' ')
            ++pos_; // the delimiting space belongs to the word
        t.end = pos_;
        return t;
    }
    if (d == '\'') {
        ++pos_;
        t.type = Token::Hex;
        if (pos_ + 1 < n && isHexDigit(s[pos_]) && isHexDigit(s[pos_ + 1])) {
            t.hex = static_cast<unsigned char>(hexValue(s[pos_]) * 16 + hexValue(s[pos_ + 1]));
            t.hexValid = true;
            pos_ += 2;
        } else {
            // Bad hex: consume what looks like digits so the rest is not misread.
            int k = 0;
            while (k < 2 && pos_ < n && isHexDigit(s[pos_])) {
                ++pos_;
                ++k;
            }
        }
        t.end = pos_;
        return t;
    }
    t.type = Token::ControlSymbol;
    // A backslash before a line end is a paragraph mark, as \par.
    t.symbol = (d == '\r' || d == '\n') ? '\n' : d;
    ++pos_;
    if (d == '\r' && pos_ < n && s[pos_] == '\n')
        ++pos_;
    t.end = pos_;
    return t;
}

Token Tokenizer::binary(qsizetype count) {
    Token t;
    t.type = Token::Binary;
    t.pos = pos_;
    const qsizetype left = in_.size() - pos_;
    if (count < 0)
        count = 0;
    if (count > left)
        count = left;
    t.data = in_.sliced(pos_, count);
    pos_ += count;
    t.end = pos_;
    return t;
}

} // namespace vlr::rtf
