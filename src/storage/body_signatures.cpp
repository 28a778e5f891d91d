#include "storage/body_signatures.h"

#include "libs/extlib.h"
#include "libs/vlrlib.h"
#include "storage/body_codec.h"
#include "storage/field_codec.h"

#include <new>

namespace vlr {

namespace {

constexpr QByteArrayView kRtfStart("{\\rtf");
constexpr QByteArrayView kBzipStart("BZh");
// After "BZh" and the block size digit: the magic of the first block, or of
// the end of an empty stream.
constexpr QByteArrayView kBzipBlock("\x31\x41\x59\x26\x53\x59");
constexpr QByteArrayView kBzipEnd("\x17\x72\x45\x38\x50\x90");

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isStrayControl(unsigned char c) {
    return c < 0x20 && c != '\t' && c != '\r' && c != '\n';
}

bool bzipSignatureAt(QByteArrayView bytes, qsizetype at) {
    if (at + 10 > bytes.size() || bytes.sliced(at, 3) != kBzipStart)
        return false;
    const char level = bytes[at + 3];
    const QByteArrayView magic = bytes.sliced(at + 4, 6);
    return level >= '1' && level <= '9' && (magic == kBzipBlock || magic == kBzipEnd);
}

bool zlibSignatureAt(QByteArrayView bytes, qsizetype at) {
    if (at + 2 > bytes.size())
        return false;
    const auto cmf = static_cast<unsigned char>(bytes[at]);
    const auto flg = static_cast<unsigned char>(bytes[at + 1]);
    // Deflate with a window of at most 32 KB, no preset dictionary, check bits right.
    return cmf == 0x78 && (flg & 0x20) == 0 && (cmf * 256 + flg) % 31 == 0;
}

// A picture strip (a bitmap file image) is no note body.
bool isBitmapFile(const QByteArray& bytes) {
    return bytes.size() >= 54 && bytes.startsWith("BM") &&
           codec::getI32(reinterpret_cast<const unsigned char*>(bytes.constData()) + 2) == bytes.size();
}

} // namespace

qsizetype RtfDocumentLength(QByteArrayView bytes) {
    if (!bytes.startsWith(kRtfStart))
        return 0;
    const qsizetype n = bytes.size();
    qsizetype depth = 0;
    qsizetype i = 0;
    while (i < n) {
        const char c = bytes[i];
        if (c == '{') {
            ++depth;
            ++i;
        } else if (c == '}') {
            ++i;
            if (--depth == 0)
                return i;
        } else if (c == '\\') {
            if (i + 1 >= n)
                return 0;
            if (!isLetter(bytes[i + 1])) {
                if (isStrayControl(static_cast<unsigned char>(bytes[i + 1])))
                    return 0;
                i += 2; // a control symbol: \{ \} \\ \' and the like
                continue;
            }
            qsizetype j = i + 1;
            while (j < n && j - i <= 32 && isLetter(bytes[j]))
                ++j;
            const QByteArrayView word = bytes.sliced(i + 1, j - i - 1);
            const qsizetype digitsFrom = j;
            qint64 param = 0;
            while (j < n && j - digitsFrom < 10 && bytes[j] >= '0' && bytes[j] <= '9')
                param = param * 10 + (bytes[j++] - '0');
            if (word == "bin" && j > digitsFrom) {
                // \binN: N raw bytes follow the delimiter and may be anything.
                if (j < n && bytes[j] == ' ')
                    ++j;
                if (param > n - j)
                    return 0;
                i = j + qsizetype(param);
                continue;
            }
            i = j;
        } else if (isStrayControl(static_cast<unsigned char>(c))) {
            return 0;
        } else {
            ++i;
        }
    }
    return 0;
}

bool LooksLikeRtfBody(QByteArrayView body) {
    const qsizetype length = RtfDocumentLength(body);
    if (length == 0)
        return false;
    for (qsizetype i = length; i < body.size(); ++i)
        if (body[i] != '\0' && body[i] != '\r' && body[i] != '\n')
            return false;
    return true;
}

BodyFinder::BodyFinder(TVlrLib& engine, TExtLib& ext, bool zlibToo)
    : m_engine(engine), m_ext(ext), m_zlib(zlibToo) {}

bool BodyFinder::expandAt(QByteArrayView bytes, qsizetype at, bool zlib, FoundBody& found) const {
    QByteArray expanded;
    bool ok = false;
    try {
        if (zlib) {
            ok = m_ext.PackProc(bytes.sliced(at), expanded, 0, kMaxExpandedBody) != 0;
        } else {
            ok = m_engine.BZD(bytes.sliced(at), expanded, kMaxExpandedBody);
        }
    } catch (const std::bad_alloc&) {
        ok = false;
    }
    if (!ok || expanded.isEmpty() || isBitmapFile(expanded))
        return false;
    found.at = at;
    // The stream's own length is not known here; nothing else starts inside it.
    found.next = at + 2;
    found.plainText = !expanded.startsWith(kRtfStart);
    found.body = std::move(expanded);
    return true;
}

QList<FoundBody> BodyFinder::findAll(QByteArrayView bytes) const {
    QList<FoundBody> all;
    auto findZlib = [&](qsizetype from) {
        for (qsizetype p = bytes.indexOf('\x78', from); p >= 0; p = bytes.indexOf('\x78', p + 1))
            if (zlibSignatureAt(bytes, p))
                return p;
        return qsizetype(-1);
    };
    // The next place of each signature, looked for again only once passed:
    // every byte is searched once per signature.
    qsizetype rtf = bytes.indexOf(kRtfStart);
    qsizetype bzip = bytes.indexOf(kBzipStart);
    qsizetype zlib = m_zlib ? findZlib(0) : -1;
    qsizetype at = 0;
    for (;;) {
        if (rtf >= 0 && rtf < at)
            rtf = bytes.indexOf(kRtfStart, at);
        if (bzip >= 0 && bzip < at)
            bzip = bytes.indexOf(kBzipStart, at);
        if (zlib >= 0 && zlib < at)
            zlib = findZlib(at);
        qsizetype candidate = -1;
        for (const qsizetype p : {rtf, bzip, zlib})
            if (p >= 0 && (candidate < 0 || p < candidate))
                candidate = p;
        if (candidate < 0)
            break;
        FoundBody found;
        bool ok = false;
        if (candidate == rtf) {
            const qsizetype length = RtfDocumentLength(
                bytes.sliced(candidate).first(qMin<qsizetype>(bytes.size() - candidate, kMaxExpandedBody)));
            if (length > 0) {
                found.at = candidate;
                found.next = candidate + length;
                found.body = bytes.sliced(candidate, length).toByteArray();
                ok = true;
            }
        } else if (candidate == bzip) {
            ok = bzipSignatureAt(bytes, candidate) && expandAt(bytes, candidate, false, found);
        } else {
            ok = expandAt(bytes, candidate, true, found);
        }
        if (ok) {
            at = found.next;
            all.append(std::move(found));
        } else {
            at = candidate + 1;
        }
    }
    return all;
}

} // namespace vlr
