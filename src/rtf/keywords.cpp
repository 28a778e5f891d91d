#include "rtf/keywords.h"

#include "rtf/state.h"

#include <array>
#include <string_view>

namespace vlr::rtf {

const char* const kUnderlineWords[UlCount] = {"ulnone",    "ul",        "ulw",        "uldb",    "uld",
                                              "uldash",    "uldashd",   "uldashdd",   "ulwave",  "ulth",
                                              "ulthd",     "ulthdash",  "ululdbwave", "ulhwave", "ulldash",
                                              "ulthldash", "ulthdashd", "ulthdashdd"};

namespace {

struct Named {
    std::string_view word;
    Kw kw;
    char16_t ch;
};

#define VLR_RTF_KW_ROW(name, word) Named{word, Kw##name, 0},
#define VLR_RTF_CHAR_ROW(name, word, code) Named{word, Kw##name, char16_t(code)},
constexpr Named kNamed[] = {VLR_RTF_KEYWORDS(VLR_RTF_KW_ROW, VLR_RTF_KW_ROW, VLR_RTF_CHAR_ROW)};
#undef VLR_RTF_KW_ROW
#undef VLR_RTF_CHAR_ROW

// Control words are looked up once per word: an open-addressed table with a
// cheap hash, built once.
class KeywordTable {
public:
    KeywordTable() {
        for (const Named& n : kNamed) {
            if (!n.word.empty())
                add(n.word, n.kw);
            if (n.ch)
                chars_[n.kw] = n.ch;
        }
        // The underline kinds other than none and single share one meaning.
        for (int k = 0; k < UlCount; ++k) {
            if (k != UlNone && k != UlSingle)
                add(kUnderlineWords[k], KwUlKind);
        }
    }
    Kw find(std::string_view key) const {
        for (size_t i = hash(key) & kMask;; i = (i + 1) & kMask) {
            const Slot& s = slots_[i];
            if (s.kw == KwUnknown)
                return KwUnknown;
            if (s.name == key)
                return s.kw;
        }
    }
    char16_t charOf(Kw kw) const { return kw > KwUnknown && kw < KwCount ? chars_[kw] : 0; }

private:
    static constexpr size_t kSize = 1024; // well above the number of words
    static constexpr size_t kMask = kSize - 1;
    static size_t hash(std::string_view s) {
        quint32 h = 2166136261u;
        for (char c : s)
            h = (h ^ quint8(c)) * 16777619u;
        return h;
    }
    void add(std::string_view name, Kw kw) {
        size_t i = hash(name) & kMask;
        while (slots_[i].kw != KwUnknown) {
            if (slots_[i].name == name)
                return; // the first meaning listed wins
            i = (i + 1) & kMask;
        }
        slots_[i] = Slot{name, kw};
    }
    struct Slot {
        std::string_view name;
        Kw kw = KwUnknown;
    };
    std::array<Slot, kSize> slots_{};
    std::array<char16_t, KwCount> chars_{};
};

const KeywordTable& table() {
    static const KeywordTable t;
    return t;
}

static_assert(std::size(kNamed) < 1024 / 2, "the keyword table must stay sparse");

} // namespace

Kw keywordOf(QByteArrayView name) {
    return table().find(std::string_view(name.data(), size_t(name.size())));
}

char16_t keywordChar(Kw kw) {
    return table().charOf(kw);
}

} // namespace vlr::rtf
