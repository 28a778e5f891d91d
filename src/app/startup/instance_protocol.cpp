#include "app/startup/instance_protocol.h"

#include "storage/notebook_header.h"

#include <QtEndian>

namespace vlr::instance {

namespace {

constexpr qsizetype kLengthSize = 4;
// message + wParam + lParam
constexpr qsizetype kProgramPayload = 4 + 8 + 8;
// message + wParam + tag + count, then the bytes
constexpr qsizetype kCopyDataHeader = 4 + 8 + 8 + 4;

template <typename T> void put(QByteArray& out, T value) {
    char bytes[sizeof(T)];
    qToLittleEndian(value, bytes);
    out.append(bytes, sizeof(T));
}

template <typename T> T get(const QByteArray& in, qsizetype offset) {
    return qFromLittleEndian<T>(in.constData() + offset);
}

} // namespace

qint64 presenceProbeValue() {
    NotebookHeader header;
    header.setMagic();
    return qFromLittleEndian<quint32>(header.data());
}

TRequest TRequest::program(qint64 lParam) {
    TRequest r;
    r.message = kProgramMessage;
    r.lParam = lParam;
    return r;
}

TRequest TRequest::copyData(quint64 tag, QByteArray data) {
    TRequest r;
    r.message = kCopyDataMessage;
    r.tag = tag;
    r.data = std::move(data);
    return r;
}

QByteArray encodeRequest(const TRequest& request) {
    QByteArray payload;
    put<quint32>(payload, request.message);
    put<quint64>(payload, request.wParam);
    if (request.isCopyData()) {
        put<quint64>(payload, request.tag);
        put<quint32>(payload, quint32(request.data.size()));
        payload += request.data;
    } else {
        put<qint64>(payload, request.lParam);
    }
    QByteArray frame;
    put<quint32>(frame, quint32(payload.size()));
    return frame + payload;
}

QByteArray encodeReply(qint64 result) {
    QByteArray frame;
    put<quint32>(frame, 8);
    put<qint64>(frame, result);
    return frame;
}

qsizetype maxRequestFrameSize() {
    return kLengthSize + kCopyDataHeader + kMaxCopyDataBytes;
}

TFrameStatus takeRequest(QByteArray& buffer, TRequest& request) {
    if (buffer.size() < kLengthSize)
        return TFrameStatus::Incomplete;
    const quint32 length = get<quint32>(buffer, 0);
    // Judged before waiting for the rest, so a lying length never makes the
    // receiver hold more than one request's worth of bytes.
    if (length < kProgramPayload || length > quint32(kCopyDataHeader + kMaxCopyDataBytes))
        return TFrameStatus::Malformed;
    if (buffer.size() >= kLengthSize + 4) {
        const bool copyData = get<quint32>(buffer, kLengthSize) == kCopyDataMessage;
        if (copyData ? length < kCopyDataHeader : length != kProgramPayload)
            return TFrameStatus::Malformed;
    }
    if (buffer.size() < kLengthSize + qsizetype(length))
        return TFrameStatus::Incomplete;

    TRequest r;
    qsizetype at = kLengthSize;
    r.message = get<quint32>(buffer, at);
    r.wParam = get<quint64>(buffer, at + 4);
    at += 12;
    if (r.isCopyData()) {
        r.tag = get<quint64>(buffer, at);
        const quint32 count = get<quint32>(buffer, at + 8);
        if (count != length - kCopyDataHeader)
            return TFrameStatus::Malformed;
        r.data = buffer.mid(at + 12, count);
    } else {
        r.lParam = get<qint64>(buffer, at);
    }
    buffer.remove(0, kLengthSize + length);
    request = std::move(r);
    return TFrameStatus::Complete;
}

TFrameStatus takeReply(QByteArray& buffer, qint64& result) {
    if (buffer.size() < kLengthSize)
        return TFrameStatus::Incomplete;
    if (get<quint32>(buffer, 0) != 8)
        return TFrameStatus::Malformed;
    if (buffer.size() < kReplyFrameSize)
        return TFrameStatus::Incomplete;
    result = get<qint64>(buffer, kLengthSize);
    buffer.remove(0, kReplyFrameSize);
    return TFrameStatus::Complete;
}

} // namespace vlr::instance
