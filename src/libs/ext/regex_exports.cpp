// RE_*: the regular-expression entry points over QRegularExpression (PCRE2).
// RE_Init keeps one compiled pattern for RE_Exec, as the search runs one
// pattern over many notes.
#include "libs/ext/ext_abi.h"
#include "libs/ext/pattern_compiler.h"
#include "libs/ext/text_bridge.h"

#include <QMutex>
#include <QMutexLocker>

#include <climits>
#include <vector>

using namespace vlr::ext;

namespace {

QMutex g_lock;
std::optional<QRegularExpression> g_compiled;

// Distinct groups that took part in some match, or the number of matches
// for a pattern without groups (see TExtLib::RE_Exec).
int rankOf(const QRegularExpression& re, const QString& text) {
    const int groups = re.captureCount();
    std::vector<bool> seen(size_t(std::max(groups, 0)) + 1, false);
    int rank = 0;
    QRegularExpressionMatchIterator it = re.globalMatch(text);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        if (groups <= 0) {
            if (rank == INT_MAX)
                break;
            ++rank;
            continue;
        }
        for (int g = 1; g <= groups; ++g) {
            if (!seen[size_t(g)] && m.capturedStart(g) >= 0) {
                seen[size_t(g)] = true;
                ++rank;
            }
        }
        if (rank == groups)
            break;
    }
    return rank;
}

} // namespace

extern "C" int RE_Init(const char16_t* pattern, size_t patternLen, const char16_t* modifiers,
                       size_t modifiersLen, int* errorPos, VlrAppendText error, void* errorSink) {
    try {
        PatternError fault;
        auto compiled =
            compilePattern(fromUtf16(pattern, patternLen), fromUtf16(modifiers, modifiersLen), &fault);
        QMutexLocker lock(&g_lock);
        g_compiled = std::move(compiled);
        if (g_compiled)
            return 1;
        if (errorPos)
            *errorPos = fault.offset;
        if (error)
            sendText(error, errorSink, fault.reason);
        return 0;
    } catch (...) {
        return 0;
    }
}

extern "C" int RE_Exec(const char16_t* text, size_t textLen, int* pos, int* length, int* rank) {
    if (textLen >= size_t(INT_MAX))
        return 0; // positions are ints
    try {
        QMutexLocker lock(&g_lock);
        if (!g_compiled)
            return 0;
        const QString subject = withWellFormedUtf16(fromUtf16(text, textLen));
        const QRegularExpressionMatch m = g_compiled->match(subject);
        if (!m.hasMatch())
            return 0;
        if (pos)
            *pos = int(m.capturedStart()) + 1;
        if (length)
            *length = int(m.capturedLength());
        if (rank)
            *rank = rankOf(*g_compiled, subject);
        return 1;
    } catch (...) {
        return 0;
    }
}

extern "C" void RE_Done(void) {
    QMutexLocker lock(&g_lock);
    g_compiled.reset();
}

extern "C" int RE_Quote(const char16_t* text, size_t textLen, VlrAppendText out, void* sink) {
    try {
        static constexpr QStringView kMeta = u"\\^$.|?*+()[]{}";
        const QString source = fromUtf16(text, textLen);
        QString quoted;
        quoted.reserve(source.size() * 2);
        for (const QChar c : source) {
            if (kMeta.contains(c))
                quoted.append(u'\\');
            quoted.append(c);
        }
        return sendText(out, sink, quoted) ? 1 : 0;
    } catch (...) {
        return 0;
    }
}

extern "C" int RE_Replace(const char16_t* pattern, size_t patternLen, const char16_t* text, size_t textLen,
                          const char16_t* replacement, size_t replacementLen, VlrAppendText out, void* sink) {
    try {
        const auto re = compilePattern(fromUtf16(pattern, patternLen), kDefaultModifiers, nullptr);
        if (!re)
            return 0;
        // Matches are found in the well-formed copy; the text between them is
        // taken from the original, so nothing of it is altered.
        const QString original = fromUtf16(text, textLen);
        const QString subject = withWellFormedUtf16(original);
        const QStringView with(replacement, qsizetype(replacement ? replacementLen : 0));
        QString result;
        qsizetype done = 0;
        QRegularExpressionMatchIterator it = re->globalMatch(subject);
        while (it.hasNext()) {
            const QRegularExpressionMatch m = it.next();
            result.append(QStringView(original).sliced(done, m.capturedStart() - done));
            result.append(with);
            done = m.capturedEnd();
        }
        result.append(QStringView(original).sliced(done));
        return sendText(out, sink, result) ? 1 : 0;
    } catch (...) {
        return 0;
    }
}

extern "C" int RE_CheckText(const char16_t* pattern, size_t patternLen, const char16_t* text,
                            size_t textLen) {
    try {
        const auto re = compilePattern(fromUtf16(pattern, patternLen), kDefaultModifiers, nullptr);
        return re && re->match(withWellFormedUtf16(fromUtf16(text, textLen))).hasMatch() ? 1 : 0;
    } catch (...) {
        return 0;
    }
}
