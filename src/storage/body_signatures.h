#pragma once
// Note bodies recognised in raw bytes without their records: an RTF document
// stored as it is, or one compressed stream. A notebook whose tree table is
// lost still holds its bodies; this is how they are told from the rest.
#include <QByteArray>
#include <QByteArrayView>
#include <QList>

namespace vlr {

class TVlrLib;
class TExtLib;

// The length of the whole RTF document at the front of bytes: from "{\rtf"
// to its balancing brace, with no control bytes outside \bin data. 0 when
// there is none, or it is cut short or broken.
qsizetype RtfDocumentLength(QByteArrayView bytes);
// A rich body as stored without encoding: one whole RTF document, followed
// by nothing but zero bytes and line breaks.
bool LooksLikeRtfBody(QByteArrayView body);

struct FoundBody {
    qsizetype at = -1;  // where it starts in the scanned bytes
    qsizetype next = 0; // where the search goes on
    QByteArray body;    // as the editor wrote it
    bool plainText = false;
};

class BodyFinder {
public:
    // zlibToo: also streams of notebooks before version 5 (their signature is
    // two bytes only, so it is looked for only where such streams can be).
    BodyFinder(TVlrLib& engine, TExtLib& ext, bool zlibToo);
    // Every body in bytes, in order; bodies never overlap.
    QList<FoundBody> findAll(QByteArrayView bytes) const;

private:
    bool expandAt(QByteArrayView bytes, qsizetype at, bool zlib, FoundBody& found) const;

    TVlrLib& m_engine;
    TExtLib& m_ext;
    bool m_zlib;
};

} // namespace vlr
