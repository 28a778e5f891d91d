// MD5 against RFC 1321's own examples, and ByteToHex over every byte.
#include "library_fixture.h"

namespace vlr {
namespace {

using test::LibsEngineTest;

TEST(LibsMd5Test, MatchesRfc1321Examples) {
    // clang-format off
    const struct { const char* text; const char* digest; } cases[] = {
        {"", "d41d8cd98f00b204e9800998ecf8427e"},
        {"a", "0cc175b9c0f1b6a831c399e269772661"},
        {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
        {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789", "d174ab98d277d9f5a5611c2c9f419d9f"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "57edf4a22be3c955ac49da2e2107b67a"},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const auto digest = TVlrLib::MD5(QByteArrayView(c.text));
        EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(digest.data()), 16).toHex(), QByteArray(c.digest));
    }
}

TEST_F(LibsEngineTest, ByteToHexWritesTwoUpperCaseDigits) {
    for (int b = 0; b < 256; ++b) {
        char high = 0, low = 0;
        lib().ByteToHex(static_cast<unsigned char>(b), &high, &low);
        EXPECT_EQ(QByteArray().append(high).append(low),
                  QByteArray::number(b, 16).toUpper().rightJustified(2, '0'))
            << b;
    }
}

} // namespace
} // namespace vlr
