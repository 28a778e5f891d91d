#include "rtf/metafile_bitmaps.h"

#include <QtEndian>

namespace vlr::rtf {

namespace {

quint16 u16(const QByteArray& d, qsizetype at) {
    return qFromLittleEndian<quint16>(d.constData() + at);
}

quint32 u32(const QByteArray& d, qsizetype at) {
    return qFromLittleEndian<quint32>(d.constData() + at);
}

void keepLarger(QByteArray& best, QByteArray candidate) {
    if (candidate.size() > best.size())
        best = std::move(candidate);
}

} // namespace

QByteArray wmfBitmap(const QByteArray& wmf) {
    qsizetype at = 0;
    if (wmf.size() >= 22 && u32(wmf, 0) == 0x9AC6CDD7u)
        at = 22; // the placeable header some writers put first
    if (wmf.size() < at + 18)
        return {};
    const quint16 headerWords = u16(wmf, at + 2);
    if (headerWords < 9)
        return {};
    at += qsizetype(headerWords) * 2;
    QByteArray best;
    while (at + 6 <= wmf.size()) {
        const quint32 words = u32(wmf, at);
        const quint16 function = u16(wmf, at + 4);
        if (words < 3 || qsizetype(words) > (wmf.size() - at) / 2)
            break;
        const qsizetype end = at + qsizetype(words) * 2;
        // Parameter bytes before the bitmap in the records that carry one.
        qsizetype params = -1;
        if (function == 0x0F43) // StretchDIB
            params = 22;
        else if (function == 0x0B41) // DIBStretchBlt
            params = 20;
        else if (function == 0x0940) // DIBBitBlt
            params = 16;
        if (params > 0 && at + 6 + params + 40 <= end)
            keepLarger(best, wmf.sliced(at + 6 + params, end - at - 6 - params));
        if (function == 0x0000) // end of file
            break;
        at = end;
    }
    return best;
}

QByteArray emfBitmap(const QByteArray& emf) {
    if (emf.size() < 88 || u32(emf, 0) != 1 || u32(emf, 40) != 0x464D4520u) // EMR_HEADER, " EMF"
        return {};
    QByteArray best;
    qsizetype at = 0;
    while (at + 8 <= emf.size()) {
        const quint32 type = u32(emf, at);
        const quint32 size = u32(emf, at + 4);
        if (size < 8 || size % 4 || qsizetype(size) > emf.size() - at)
            break;
        // Where the offsets of the bitmap info and bits are kept in the record.
        qsizetype offsets = -1;
        if (type == 81) // StretchDIBits
            offsets = 48;
        else if (type == 76 || type == 77) // BitBlt, StretchBlt
            offsets = 84;
        if (offsets > 0 && offsets + 16 <= qsizetype(size)) {
            const quint32 offBmi = u32(emf, at + offsets), cbBmi = u32(emf, at + offsets + 4);
            const quint32 offBits = u32(emf, at + offsets + 8), cbBits = u32(emf, at + offsets + 12);
            if (cbBmi >= 40 && cbBits > 0 && quint64(offBmi) + cbBmi <= size &&
                quint64(offBits) + cbBits <= size)
                keepLarger(best, emf.sliced(at + offBmi, cbBmi) + emf.sliced(at + offBits, cbBits));
        }
        if (type == 14) // EMR_EOF
            break;
        at += size;
    }
    return best;
}

} // namespace vlr::rtf
