#include "app/startup/instance_protocol.h"

#include <QList>
#include <QtEndian>
#include <gtest/gtest.h>

using namespace vlr::instance;

namespace {

QByteArray u32(quint32 v) {
    char b[4];
    qToLittleEndian(v, b);
    return QByteArray(b, 4);
}
QByteArray u64(quint64 v) {
    char b[8];
    qToLittleEndian(v, b);
    return QByteArray(b, 8);
}

} // namespace

TEST(InstanceProtocol, ProbeValueIsTheMagicReadLittleEndian) {
    EXPECT_EQ(presenceProbeValue(), qint64('V' | 'L' << 8 | 'R' << 16 | qint64('D') << 24));
}

TEST(InstanceProtocol, RequestsSurviveTheWireEvenByteByByte) {
    const TRequest requests[] = {TRequest::program(kActivateRequest), TRequest::program(-7),
                                 TRequest::copyData(kHandOverTag, "/home/u/Заметки.vlr"),
                                 TRequest::copyData(41, QByteArray()),
                                 TRequest::copyData(42, QByteArray(kMaxCopyDataBytes, 'x'))};
    QByteArray wire;
    for (const TRequest& r : requests)
        wire += encodeRequest(r);

    QByteArray buffer;
    QList<TRequest> got;
    for (char c : wire) {
        buffer += c;
        TRequest r;
        const TFrameStatus status = takeRequest(buffer, r);
        ASSERT_NE(status, TFrameStatus::Malformed);
        if (status == TFrameStatus::Complete)
            got << r;
    }
    EXPECT_TRUE(buffer.isEmpty());
    ASSERT_EQ(size_t(got.size()), std::size(requests));
    for (int i = 0; i < got.size(); ++i) {
        EXPECT_EQ(got[i].message, requests[i].message);
        EXPECT_EQ(got[i].lParam, requests[i].lParam);
        EXPECT_EQ(got[i].tag, requests[i].tag);
        EXPECT_EQ(got[i].data, requests[i].data);
    }
}

TEST(InstanceProtocol, MalformedRequestsAreSeenAsSoonAsPossible) {
    const QByteArray program = u32(kProgramMessage) + u64(0) + u64(1);
    const QByteArray copyHead = u32(kCopyDataMessage) + u64(0) + u64(42);
    struct Case {
        const char* name;
        QByteArray bytes;
    };
    // clang-format off
    const Case cases[] = {
        {"HugeLength",           u32(0xFFFFFFFF)},
        {"LengthAboveAnyFrame",  u32(quint32(maxRequestFrameSize()))},
        {"LengthTooShort",       u32(3) + "abc"},
        {"ProgramTooLong",       u32(21) + program + "x"},
        {"ProgramLengthKnownEarly", u32(28) + u32(kProgramMessage)},
        {"CopyDataWithoutCount", u32(20) + copyHead},
        {"CountAboveTheFrame",   u32(24 + 2) + copyHead + u32(3) + "ab"},
        {"CountBelowTheFrame",   u32(24 + 2) + copyHead + u32(1) + "ab"},
    };
    // clang-format on
    for (const Case& c : cases) {
        QByteArray buffer = c.bytes;
        TRequest r;
        EXPECT_EQ(takeRequest(buffer, r), TFrameStatus::Malformed) << c.name;
        EXPECT_EQ(buffer, c.bytes) << c.name;
    }
}

TEST(InstanceProtocol, Replies) {
    QByteArray buffer = encodeReply(-2) + encodeReply(0x44524C56);
    qint64 value = 0;
    ASSERT_EQ(takeReply(buffer, value), TFrameStatus::Complete);
    EXPECT_EQ(value, -2);
    ASSERT_EQ(takeReply(buffer, value), TFrameStatus::Complete);
    EXPECT_EQ(value, 0x44524C56);
    EXPECT_EQ(takeReply(buffer, value), TFrameStatus::Incomplete);
    buffer = u32(9) + u64(1) + "x";
    EXPECT_EQ(takeReply(buffer, value), TFrameStatus::Malformed);
}
