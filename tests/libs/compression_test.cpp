// BZC/BZD (engine) and PackProc (extension): round trips, damaged input
// failing cleanly with the destination untouched, and the output bound.
#include "library_fixture.h"

#include <QRandomGenerator>

namespace vlr {
namespace {

QByteArray randomBytes(qsizetype size, quint32 seed) {
    QByteArray data(size, Qt::Uninitialized);
    QRandomGenerator gen(seed);
    for (char& c : data)
        c = char(gen.bounded(256));
    return data;
}

struct Sample {
    const char* name;
    QByteArray data;
};

std::vector<Sample> samples() {
    return {
        {"empty", QByteArray()},
        {"one byte", QByteArray("x")},
        {"random 1 MB", randomBytes(1 << 20, 42)},
        {"repetitive 1 MB", QByteArray("{\\rtf1 Заметка } ").repeated((1 << 20) / 18)},
    };
}

// The same checks run against both codecs.
struct Codec {
    const char* name;
    bool (*pack)(QByteArrayView, QByteArray&);
    bool (*unpack)(QByteArrayView, QByteArray&, qsizetype maxOut);
};

const Codec kCodecs[] = {
    {"bzip2", [](QByteArrayView src, QByteArray& dst) { return TVlrLib::instance().BZC(src, dst); },
     [](QByteArrayView src, QByteArray& dst, qsizetype maxOut) {
         return TVlrLib::instance().BZD(src, dst, maxOut);
     }},
    {"zlib",
     [](QByteArrayView src, QByteArray& dst) { return TExtLib::instance().PackProc(src, dst, 1) > 0; },
     [](QByteArrayView src, QByteArray& dst, qsizetype maxOut) {
         return TExtLib::instance().PackProc(src, dst, 0, maxOut) != 0;
     }},
};

void PrintTo(const Codec& codec, std::ostream* os) {
    *os << codec.name;
}

class LibsCompressionTest : public ::testing::TestWithParam<Codec> {
protected:
    void SetUp() override {
        TVlrLib::setLibraryFolder(test::binDir());
        TExtLib::setLibraryFolder(test::binDir());
        ASSERT_TRUE(TVlrLib::instance().IsLoaded()) << TVlrLib::instance().errorString().toStdString();
        ASSERT_TRUE(TExtLib::instance().IsAvailable()) << TExtLib::instance().errorString().toStdString();
    }

    QByteArray packed(const QByteArray& data) {
        QByteArray out;
        EXPECT_TRUE(GetParam().pack(data, out));
        return out;
    }
};

TEST_P(LibsCompressionTest, RoundTripsAppendingBehindExistingBytes) {
    for (const Sample& s : samples()) {
        SCOPED_TRACE(s.name);
        QByteArray compressed("prefix");
        ASSERT_TRUE(GetParam().pack(s.data, compressed));
        ASSERT_TRUE(compressed.startsWith("prefix"));
        compressed.remove(0, 6);
        QByteArray restored("head");
        ASSERT_TRUE(GetParam().unpack(compressed, restored, qsizetype(1) << 30));
        EXPECT_EQ(restored, "head" + s.data);
    }
}

TEST_P(LibsCompressionTest, DamagedInputFailsAndLeavesTheDestinationAlone) {
    const QByteArray good = packed(randomBytes(200000, 7));
    QByteArray flipped = good;
    flipped[flipped.size() / 2] = char(flipped[flipped.size() / 2] ^ 0x20);
    const struct {
        const char* name;
        QByteArray input;
    } cases[] = {
        {"empty", QByteArray()},
        {"garbage", QByteArray("this is not a compressed stream at all")},
        {"header only", good.left(4)},
        {"cut in the middle", good.left(good.size() / 2)},
        {"last bytes missing", good.chopped(3)},
        {"bit flipped", flipped},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QByteArray out("keep");
        EXPECT_FALSE(GetParam().unpack(c.input, out, qsizetype(1) << 30));
        EXPECT_EQ(out, "keep");
    }
}

TEST_P(LibsCompressionTest, OutputBoundIsEnforced) {
    const QByteArray zeros(1 << 20, '\0');
    const QByteArray compressed = packed(zeros);
    QByteArray out("keep");
    EXPECT_FALSE(GetParam().unpack(compressed, out, zeros.size() - 1));
    EXPECT_EQ(out, "keep");
    EXPECT_TRUE(GetParam().unpack(compressed, out, zeros.size()));
    EXPECT_EQ(out.size(), 4 + zeros.size());
}

TEST_P(LibsCompressionTest, BytesBehindTheStreamAreNotRead) {
    const QByteArray data = randomBytes(5000, 3);
    QByteArray out;
    ASSERT_TRUE(GetParam().unpack(packed(data) + QByteArray(11, '\0'), out, qsizetype(1) << 30));
    EXPECT_EQ(out, data);
}

INSTANTIATE_TEST_SUITE_P(Codecs, LibsCompressionTest, ::testing::ValuesIn(kCodecs),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(LibsStreamFormatTest, StreamsAreStandardBzip2AndZlib) {
    TVlrLib::setLibraryFolder(test::binDir());
    TExtLib::setLibraryFolder(test::binDir());
    QByteArray bz, z;
    ASSERT_TRUE(TVlrLib::instance().BZC("abc", bz));
    EXPECT_TRUE(bz.startsWith("BZh1")) << bz.toHex().toStdString(); // small input, small block
    QByteArray big;
    ASSERT_TRUE(TVlrLib::instance().BZC(QByteArray(250000, 'q'), big));
    EXPECT_TRUE(big.startsWith("BZh3")) << "the block grows with the input";
    EXPECT_GT(TExtLib::instance().PackProc("abc", z, 1), 0);
    EXPECT_EQ(z.left(1), QByteArray("\x78"));
    EXPECT_EQ((quint8(z[0]) * 256 + quint8(z[1])) % 31, 0); // zlib header check bits
}

TEST(LibsStreamFormatTest, PackProcRejectsUnknownModes) {
    TExtLib::setLibraryFolder(test::binDir());
    QByteArray out("keep");
    EXPECT_EQ(TExtLib::instance().PackProc("abc", out, 2), 0);
    EXPECT_EQ(TExtLib::instance().PackProc("abc", out, -1), 0);
    EXPECT_EQ(out, "keep");
}

} // namespace
} // namespace vlr
