#pragma once
// What one instance of the program says to the running one over the local
// socket: the program's window messages (number, wParam, lParam, and for
// a copy-data message its tag and bytes) and the answers, each in one frame.
//
// Request frame, little-endian: u32 length of the rest, u32 message, u64
// wParam, then either i64 lParam, or for copy-data u64 tag, u32 byte count and
// the bytes. Answer frame: u32 length (8), i64 result. A frame whose length
// or byte count does not add up, or that is larger than any request can be,
// is malformed; the receiver then drops the connection without acting on it.
#include <QByteArray>
#include <QtGlobal>

namespace vlr::instance {

// The program message: activate, open request or presence probe by lParam.
inline constexpr quint32 kProgramMessage = 0x511;
// The system's copy-data message, carrying a file name to open.
inline constexpr quint32 kCopyDataMessage = 0x004A;

inline constexpr qint64 kActivateRequest = 1;
inline constexpr qint64 kOpenRequest = 2;
// The answer to an open request.
inline constexpr qint64 kOpenRequestResult = 2;
// A presence probe is answered with the value it carries: the notebook magic
// read as a little-endian number.
qint64 presenceProbeValue();

// The copy-data record the receiver accepts: this tag and at most this many bytes.
inline constexpr quint64 kHandOverTag = 42;
inline constexpr qsizetype kMaxHandOverBytes = 260;
// The largest copy-data the wire carries; a longer one is refused (answer 0)
// without breaking the frame, anything above this is malformed.
inline constexpr qsizetype kMaxCopyDataBytes = 4096;

struct TRequest {
    quint32 message = 0;
    quint64 wParam = 0;
    qint64 lParam = 0; // program messages
    quint64 tag = 0;   // copy-data
    QByteArray data;   // copy-data

    static TRequest program(qint64 lParam);
    static TRequest copyData(quint64 tag, QByteArray data);
    bool isCopyData() const { return message == kCopyDataMessage; }
};

// The encoders refuse nothing: a request whose data exceeds kMaxCopyDataBytes
// gives a frame the receiver takes for malformed.
QByteArray encodeRequest(const TRequest& request);
QByteArray encodeReply(qint64 result);

enum class TFrameStatus {
    Incomplete, // more bytes needed; nothing taken
    Complete,   // one frame taken off the front of the buffer
    Malformed,  // the bytes cannot be a frame; the buffer is left as it was
};

// The largest request and answer frames, headers included.
qsizetype maxRequestFrameSize();
inline constexpr qsizetype kReplyFrameSize = 12;

[[nodiscard]] TFrameStatus takeRequest(QByteArray& buffer, TRequest& request);
[[nodiscard]] TFrameStatus takeReply(QByteArray& buffer, qint64& result);

} // namespace vlr::instance
