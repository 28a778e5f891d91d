#pragma once
// Bounds-checked reading of metafile records: every read past the record's
// end yields zero and marks the reader as short, so damaged or hostile
// records cannot lead outside the data.
#include <QByteArray>
#include <QPointF>
#include <QtEndian>

#include <cstring>

namespace vlr::rtf {

class RecordReader {
public:
    // The bytes [from, from + size) of data; sizes beyond the data are cut.
    RecordReader(const QByteArray& data, qsizetype from, qsizetype size)
        : data_(data), from_(qBound<qsizetype>(0, from, data.size())),
          size_(qBound<qsizetype>(0, size, data.size() - from_)) {}

    qsizetype size() const { return size_; }
    bool fits(qsizetype at, qsizetype bytes) const { return at >= 0 && bytes >= 0 && at <= size_ - bytes; }

    quint8 u8(qsizetype at) const { return fits(at, 1) ? quint8(data_[from_ + at]) : 0; }
    quint16 u16(qsizetype at) const { return read<quint16>(at); }
    qint16 i16(qsizetype at) const { return read<qint16>(at); }
    quint32 u32(qsizetype at) const { return read<quint32>(at); }
    qint32 i32(qsizetype at) const { return read<qint32>(at); }
    float f32(qsizetype at) const {
        const quint32 bits = u32(at);
        float f;
        std::memcpy(&f, &bits, sizeof f);
        return f;
    }
    // A slice of the record, empty when it does not fit.
    QByteArray bytes(qsizetype at, qsizetype count) const {
        return fits(at, count) ? data_.sliced(from_ + at, count) : QByteArray();
    }

private:
    template <typename T> T read(qsizetype at) const {
        return fits(at, sizeof(T)) ? qFromLittleEndian<T>(data_.constData() + from_ + at) : T(0);
    }

    const QByteArray& data_;
    qsizetype from_, size_;
};

} // namespace vlr::rtf
