// Blowfish through the engine library: published vectors (ECB through one
// CBC block with a zero vector, and a CBC run), reversal over many blocks in
// place, the reset and the wiping of the context.
#include "core/error.h"
#include "library_fixture.h"

#include <QRandomGenerator>

#include <algorithm>

namespace vlr {
namespace {

using test::LibsEngineTest;

QByteArray hex(const char* digits) {
    return QByteArray::fromHex(digits);
}

const unsigned char* bytes(const QByteArray& a) {
    return reinterpret_cast<const unsigned char*>(a.constData());
}

QByteArray encrypt(TVlrLib& lib, const QByteArray& key, const QByteArray& iv, const QByteArray& plain) {
    TVlrLib::BFContext ctx;
    lib.BFInit(ctx, bytes(key), int(key.size()), bytes(iv));
    QByteArray out(plain.size(), '\0');
    for (qsizetype i = 0; i + 8 <= plain.size(); i += 8)
        lib.BFEnc(ctx, bytes(plain) + i, reinterpret_cast<unsigned char*>(out.data()) + i);
    lib.BFReset(ctx);
    lib.BFBurn(ctx);
    return out;
}

TEST_F(LibsEngineTest, BlowfishMatchesPublishedVectors) {
    const QByteArray zeroIv(8, '\0');
    // clang-format off
    const struct { const char* key; const char* plain; const char* cipher; } ecb[] = {
        // Schneier's/Eric Young's ECB set (8-byte keys) ...
        {"0000000000000000", "0000000000000000", "4EF997456198DD78"},
        {"FFFFFFFFFFFFFFFF", "FFFFFFFFFFFFFFFF", "51866FD5B85ECB8A"},
        {"3000000000000000", "1000000000000001", "7D856F9A613063F2"},
        {"1111111111111111", "1111111111111111", "2466DD878B963C9D"},
        {"0123456789ABCDEF", "1111111111111111", "61F9C3802281B096"},
        {"FEDCBA9876543210", "0123456789ABCDEF", "0ACEAB0FC6A0A28D"},
        {"7CA110454A1A6E57", "01A1D6D039776742", "59C68245EB05282B"},
        // ... and its variable-length keys
        {"F0E1D2C3B4A59687", "FEDCBA9876543210", "E87A244E2CC85E82"},
        {"F0E1D2C3B4A5968778695A4B3C2D1E0F", "FEDCBA9876543210", "93142887EE3BE15C"},
        {"F0E1D2C3B4A5968778695A4B3C2D1E0F0011223344556677", "FEDCBA9876543210", "05044B62FA52D080"},
    };
    // clang-format on
    for (const auto& v : ecb) {
        SCOPED_TRACE(v.key);
        EXPECT_EQ(encrypt(lib(), hex(v.key), zeroIv, hex(v.plain)).toHex().toUpper(), QByteArray(v.cipher));
    }
    // Eric Young's CBC vector: "7654321 Now is the time for " padded with zeros.
    const QByteArray cbc = encrypt(lib(), hex("0123456789ABCDEFF0E1D2C3B4A59687"), hex("FEDCBA9876543210"),
                                   hex("37363534333231204E6F77206973207468652074696D6520666F722000000000"));
    EXPECT_EQ(cbc.toHex().toUpper(),
              QByteArray("6B77B4D63006DEE605B156E27403979358DEB9E7154616D959F1652BD5FF92CC"));
}

TEST_F(LibsEngineTest, BlowfishDecryptionReversesEncryptionInPlace) {
    QByteArray key(56, '\0'), iv(8, '\0'), data(8 * 4096, '\0');
    QRandomGenerator gen(1234);
    for (QByteArray* a : {&key, &iv, &data})
        for (char& c : *a)
            c = char(gen.bounded(256));
    const QByteArray original = data;
    auto* p = reinterpret_cast<unsigned char*>(data.data());

    TVlrLib::BFContext ctx;
    lib().BFInit(ctx, bytes(key), 56, bytes(iv));
    for (qsizetype i = 0; i < data.size(); i += 8)
        lib().BFEnc(ctx, p + i, p + i);
    EXPECT_NE(data, original);
    // CBC: equal plaintext blocks give different ciphertext blocks.
    QByteArray same(16, 'A');
    lib().BFReset(ctx);
    auto* s = reinterpret_cast<unsigned char*>(same.data());
    lib().BFEnc(ctx, s, s);
    lib().BFEnc(ctx, s + 8, s + 8);
    EXPECT_NE(same.left(8), same.mid(8));

    lib().BFInit(ctx, bytes(key), 56, bytes(iv));
    for (qsizetype i = 0; i < data.size(); i += 8)
        lib().BFDec(ctx, p + i, p + i);
    EXPECT_EQ(data, original);
    lib().BFBurn(ctx);
}

TEST_F(LibsEngineTest, BlowfishResetStartsTheChainAgain) {
    const QByteArray key(56, 'k'), iv("12345678"), plain("sixteen bytes!!!");
    TVlrLib::BFContext ctx;
    lib().BFInit(ctx, bytes(key), 56, bytes(iv));
    unsigned char first[16], second[16];
    lib().BFEnc(ctx, bytes(plain), first);
    lib().BFEnc(ctx, bytes(plain) + 8, first + 8);
    lib().BFReset(ctx);
    lib().BFEnc(ctx, bytes(plain), second);
    lib().BFEnc(ctx, bytes(plain) + 8, second + 8);
    EXPECT_TRUE(std::equal(first, first + 16, second));
}

TEST_F(LibsEngineTest, BlowfishBurnAndDestructionWipeTheContext) {
    const QByteArray key(56, 'k'), iv(8, 'v');
    auto allZero = [](const unsigned char* p, size_t n) {
        return std::all_of(p, p + n, [](auto b) { return b == 0; });
    };

    TVlrLib::BFContext ctx;
    lib().BFInit(ctx, bytes(key), 56, bytes(iv));
    EXPECT_FALSE(allZero(ctx.bytes, sizeof ctx.bytes));
    lib().BFBurn(ctx);
    EXPECT_TRUE(allZero(ctx.bytes, sizeof ctx.bytes));

    alignas(TVlrLib::BFContext) unsigned char storage[sizeof(TVlrLib::BFContext)];
    auto* scoped = new (storage) TVlrLib::BFContext;
    lib().BFInit(*scoped, bytes(key), 56, bytes(iv));
    scoped->~BFContext();
    // Read through volatile: the compiler may treat the storage of an ended
    // object as undefined, and then skip the reads.
    const volatile unsigned char* left = storage;
    bool wiped = true;
    for (size_t i = 0; i < sizeof scoped->bytes; ++i) // the rest is alignment padding
        wiped = wiped && left[i] == 0;
    EXPECT_TRUE(wiped);
}

TEST_F(LibsEngineTest, BlowfishRejectsKeyLengthsOutOfRange) {
    const QByteArray key(64, 'k'), iv(8, 'v');
    for (int length : {0, 7, 57, -1}) {
        SCOPED_TRACE(length);
        TVlrLib::BFContext ctx;
        EXPECT_THROW(lib().BFInit(ctx, bytes(key), length, bytes(iv)), EVellinorError);
    }
}

} // namespace
} // namespace vlr
