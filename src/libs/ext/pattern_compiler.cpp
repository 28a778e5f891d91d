#include "libs/ext/pattern_compiler.h"

#include <cctype>

namespace vlr::ext {

namespace {

constexpr char32_t kSmallIe = 0x435, kSmallZhe = 0x436, kSmallIo = 0x451;
constexpr char32_t kCapitalIe = 0x415, kCapitalZhe = 0x416, kCapitalIo = 0x401;

struct Options {
    QRegularExpression::PatternOptions flags = QRegularExpression::UseUnicodePropertiesOption;
    bool russianRanges = false;
};

std::optional<Options> parseModifiers(QStringView modifiers, PatternError* error) {
    Options options;
    bool caseSensitive = false;
    if (modifiers.startsWith(u'-')) {
        caseSensitive = true;
        modifiers = modifiers.mid(1);
    }
    for (qsizetype i = 0; i < modifiers.size(); ++i) {
        switch (modifiers.at(i).toLower().unicode()) {
        case u'i':
            options.flags |= QRegularExpression::CaseInsensitiveOption;
            break;
        case u's':
            options.flags |= QRegularExpression::DotMatchesEverythingOption;
            break;
        case u'm':
            options.flags |= QRegularExpression::MultilineOption;
            break;
        case u'r':
            options.russianRanges = true;
            break;
        default:
            if (error)
                *error = {0, QStringLiteral("Unknown modifier '%1'").arg(modifiers.at(i))};
            return std::nullopt;
        }
    }
    if (caseSensitive)
        options.flags &= ~QRegularExpression::CaseInsensitiveOption;
    return options;
}

// One element of a character class starting at `i`: where it ends and the
// character it stands for, or nothing when it is a set (\w, [:alpha:]).
struct ClassAtom {
    qsizetype end;
    std::optional<char32_t> ch;
};

ClassAtom readClassAtom(QStringView p, qsizetype i) {
    const qsizetype n = p.size();
    const QChar c = p.at(i);
    if (c == u'\\' && i + 1 < n) {
        const QChar e = p.at(i + 1);
        if (e == u'x') { // \xhh or \x{h...}
            const qsizetype j = i + 2;
            QStringView digits;
            qsizetype end = j;
            if (j < n && p.at(j) == u'{') {
                const qsizetype close = p.indexOf(u'}', j);
                if (close < 0)
                    return {j, std::nullopt};
                digits = p.sliced(j + 1, close - j - 1);
                end = close + 1;
            } else {
                while (end < n && end - j < 2 && p.at(end).unicode() < 0x80 &&
                       std::isxdigit(p.at(end).unicode()))
                    ++end;
                digits = p.sliced(j, end - j);
            }
            bool ok = digits.isEmpty();
            const uint value = ok ? 0 : digits.toUInt(&ok, 16);
            return {end, ok ? std::optional<char32_t>(value) : std::nullopt};
        }
        if (e.isLetterOrNumber())
            return {i + 2, std::nullopt}; // \d, \w, \p (whose {..} is not a range end), \n...
        return {i + 2, char32_t(e.unicode())};
    }
    if (c == u'[' && i + 1 < n && p.at(i + 1) == u':') {
        const qsizetype close = p.indexOf(u":]", i + 2);
        if (close >= 0)
            return {close + 2, std::nullopt};
    }
    if (c.isHighSurrogate() && i + 1 < n && p.at(i + 1).isLowSurrogate())
        return {i + 2, QChar::surrogateToUcs4(c, p.at(i + 1))};
    return {i + 1, char32_t(c.unicode())};
}

bool spans(char32_t lo, char32_t hi, char32_t a, char32_t b) {
    return lo <= a && hi >= b;
}

} // namespace

QString expandRussianRanges(QStringView p, std::vector<int>* origin) {
    QString out;
    out.reserve(p.size() + 8);
    std::vector<int> map;
    auto copy = [&](qsizetype from, qsizetype to) {
        for (qsizetype k = from; k < to; ++k) {
            out.append(p.at(k));
            map.push_back(int(k));
        }
    };
    auto add = [&](char16_t ch, qsizetype at) {
        out.append(QChar(ch));
        map.push_back(int(at));
    };
    const qsizetype n = p.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = p.at(i);
        if (c == u'\\') {
            if (i + 1 < n && p.at(i + 1) == u'Q') { // literal up to \E
                const qsizetype e = p.indexOf(u"\\E", i + 2);
                const qsizetype end = e < 0 ? n : e + 2;
                copy(i, end);
                i = end;
            } else {
                copy(i, std::min(i + 2, n));
                i += 2;
            }
            continue;
        }
        if (c != u'[') {
            copy(i, i + 1);
            ++i;
            continue;
        }
        // A character class: "[", an optional "^", a "]" first is literal.
        qsizetype j = i + 1;
        if (j < n && p.at(j) == u'^')
            ++j;
        copy(i, j);
        bool first = true;
        while (j < n && (first || p.at(j) != u']')) {
            first = false;
            if (p.at(j) == u'\\' && j + 1 < n && p.at(j + 1) == u'Q') {
                const qsizetype e = p.indexOf(u"\\E", j + 2);
                const qsizetype end = e < 0 ? n : e + 2;
                copy(j, end);
                j = end;
                continue;
            }
            const ClassAtom lo = readClassAtom(p, j);
            if (lo.ch && lo.end + 1 < n && p.at(lo.end) == u'-' && p.at(lo.end + 1) != u']') {
                const ClassAtom hi = readClassAtom(p, lo.end + 1);
                copy(j, hi.end);
                if (hi.ch && *lo.ch <= *hi.ch) {
                    const char32_t a = *lo.ch, b = *hi.ch;
                    if (spans(a, b, kSmallIe, kSmallZhe) && !spans(a, b, kSmallIo, kSmallIo))
                        add(char16_t(kSmallIo), hi.end - 1);
                    if (spans(a, b, kCapitalIe, kCapitalZhe) && !spans(a, b, kCapitalIo, kCapitalIo))
                        add(char16_t(kCapitalIo), hi.end - 1);
                }
                j = hi.end;
                continue;
            }
            copy(j, lo.end);
            j = lo.end;
        }
        if (j < n) { // the closing "]"
            copy(j, j + 1);
            ++j;
        }
        i = j;
    }
    map.push_back(int(n));
    if (origin)
        *origin = std::move(map);
    return out;
}

std::optional<QRegularExpression> compilePattern(QStringView pattern, QStringView modifiers,
                                                 PatternError* error) {
    const std::optional<Options> options = parseModifiers(modifiers, error);
    if (!options)
        return std::nullopt;
    std::vector<int> origin;
    const QString source =
        options->russianRanges ? expandRussianRanges(pattern, &origin) : pattern.toString();
    QRegularExpression re(source, options->flags);
    if (!re.isValid()) {
        if (error) {
            const qsizetype at = std::clamp<qsizetype>(re.patternErrorOffset(), 0, source.size());
            error->offset = origin.empty() ? int(at) : origin[size_t(at)];
            error->reason = re.errorString();
        }
        return std::nullopt;
    }
    re.optimize();
    return re;
}

QString withWellFormedUtf16(QString text) {
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (!c.isSurrogate())
            continue;
        if (c.isHighSurrogate() && i + 1 < n && text.at(i + 1).isLowSurrogate()) {
            ++i;
            continue;
        }
        text[i] = QChar(QChar::ReplacementCharacter);
    }
    return text;
}

} // namespace vlr::ext
