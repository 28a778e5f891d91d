// The four body encodings under both compression methods: what is stored
// reads back, and the stored bytes have the documented shape.
#include "notebook_fixture.h"

using namespace vlr;
using namespace vlr::test;

namespace {

struct EncodingCase {
    uint32_t flags;
    uint32_t version;
};

class Encodings : public StorageTest, public ::testing::WithParamInterface<EncodingCase> {};

QByteArray sampleRtf() {
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0 Arial;}}\\pard ";
    for (int i = 0; i < 200; ++i)
        rtf += "\\'cf\\'f0\\'e8\\'e2\\'e5\\'f2 line " + QByteArray::number(i) + "\\par ";
    return rtf + "}";
}

} // namespace

TEST_P(Encodings, BodiesRoundTripThroughTheFile) {
    const auto [flags, version] = GetParam();
    const QString password = QStringLiteral("секрет-1");
    const QByteArray rich = sampleRtf();
    const QByteArray plain = QByteArray("simple \xcf\xf0\xe8\xe2\xe5\xf2 text");
    {
        auto b = Book::create(path(), flags, password, 100, version);
        b->add(QStringLiteral("rich"), rich);
        b->add(QStringLiteral("plain"), plain, nullptr, true);
        b->add(QStringLiteral("empty plain"), QByteArray(), nullptr, true);
        b->add(QStringLiteral("thirteen"), QByteArray("0123456789abc"));
        b->add(QStringLiteral("ends with a zero byte"), emptyDocumentBody());
        ASSERT_EQ(b->nb->SaveNotes(), srOk);
    }
    int result = -1;
    auto b = Book::open(path(), &result, password);
    ASSERT_EQ(result, lrOk);
    ASSERT_EQ(b->nb->Notes.size(), 5);
    const bool encrypted = flags & bfEncrypted;
    const bool compressed = flags & bfCompressed;
    EXPECT_EQ(b->nb->Header.Version(), version == 5 ? 5u : 4u);
    // The cipher's zero padding is stored but is not part of the body read.
    EXPECT_EQ(b->body(0), rich);
    EXPECT_EQ(b->body(1), plain);
    EXPECT_EQ(b->body(2), QByteArray("\x20\x00", 2)) << "an empty plain body is stored as two bytes";
    EXPECT_EQ(b->body(3), QByteArray("0123456789abc"));
    EXPECT_EQ(b->body(4), emptyDocumentBody()) << "a zero byte of the body itself stays";
    for (const TNodeData* note : b->nb->Notes) {
        EXPECT_EQ(note->HasNoteFlag(nfCompressed), compressed);
        EXPECT_EQ(note->HasNoteFlag(nfEncrypted), encrypted);
        if (encrypted) {
            EXPECT_EQ(note->Record.Size() % 8, 0);
        }
    }
    if (compressed) {
        EXPECT_LT(b->nb->Notes[0]->Record.Size(), rich.size() / 4);
    } else if (!encrypted) {
        EXPECT_EQ(b->nb->Notes[0]->Record.Size(), rich.size());
    }
}

INSTANTIATE_TEST_SUITE_P(
    AllFour, Encodings,
    ::testing::Values(EncodingCase{0, 5}, EncodingCase{bfCompressed, 5}, EncodingCase{bfEncrypted, 5},
                      EncodingCase{bfCompressed | bfEncrypted, 5}, EncodingCase{bfCompressed, 4},
                      EncodingCase{bfCompressed | bfEncrypted, 4}, EncodingCase{bfCompressed, 2}));

TEST_F(StorageTest, ThirteenByteEncryptedBodyIsPaddedAndZeroFilled) {
    const QString password = QStringLiteral("pw");
    {
        auto b = Book::create(path(), bfEncrypted, password, 40);
        b->add(QStringLiteral("n"), QByteArray("0123456789abc"));
        ASSERT_EQ(b->nb->SaveNotes(), srOk);
    }
    int result = -1;
    auto b = Book::open(path(), &result, password);
    ASSERT_EQ(result, lrOk);
    const NoteRecord& r = b->nb->Notes[0]->Record;
    EXPECT_EQ(r.Size(), 16);
    EXPECT_EQ(r.RawSize(), 13);
    EXPECT_EQ(r.SizeReserved(), 56);
    const QByteArray file = fileBytes(path());
    EXPECT_EQ(file.mid(r.Offset() + 16, 40), QByteArray(40, '\0'));
    const auto digest = TVlrLib::MD5(QByteArray("0123456789abc\0\0\0", 16));
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(r.Digest()), 16),
              QByteArray(reinterpret_cast<const char*>(digest.data()), 16));
    EXPECT_NE(file.mid(r.Offset(), 13), QByteArray("0123456789abc"))
        << "the body must not be stored in clear";

    // The stored bytes are plain Blowfish-CBC under the master key with the
    // note's creation time as initial vector, whatever the engine caches.
    TVlrLib& lib = TVlrLib::instance();
    TVlrLib::BFContext ctx;
    lib.BFInit(ctx, b->nb->MasterKey.data(), 56, r.CreatedBytes());
    QByteArray stored = file.mid(r.Offset(), 16);
    auto* p = reinterpret_cast<unsigned char*>(stored.data());
    lib.BFDec(ctx, p, p);
    lib.BFDec(ctx, p + 8, p + 8);
    lib.BFBurn(ctx);
    EXPECT_EQ(stored, QByteArray("0123456789abc\0\0\0", 16));
}

TEST_F(StorageTest, ReadingTwiceUsesTheBodyInMemory) {
    {
        auto b = Book::create(path());
        b->add(QStringLiteral("n"), QByteArray("first"));
        ASSERT_EQ(b->nb->SaveNotes(), srOk);
    }
    int result = -1;
    auto b = Book::open(path(), &result);
    ASSERT_EQ(b->nb->ReadNoteByIndex(0), 5);
    EXPECT_TRUE(b->nb->Notes[0]->Loaded);
    // Change the file behind the engine's back: the second read must not look.
    QByteArray file = fileBytes(path());
    file.replace(b->nb->Notes[0]->Record.Offset(), 5, "XXXXX");
    writeFile(path(), file);
    EXPECT_EQ(b->body(0), QByteArray("first"));
}

TEST_F(StorageTest, DigestMismatchIsReportedAndReadingGoesOn) {
    ScriptedMessages messages;
    const QString password = QStringLiteral("pw");
    {
        auto b = Book::create(path(), bfEncrypted, password);
        b->add(QStringLiteral("n"), QByteArray("some body text"));
        ASSERT_EQ(b->nb->SaveNotes(), srOk);
    }
    QByteArray file = fileBytes(path());
    int result = -1;
    {
        auto b = Book::open(path(), &result, password);
        const int offset = b->nb->Notes[0]->Record.Offset();
        file[offset] = char(file[offset] ^ 0x55);
    }
    writeFile(path(), file);
    auto b = Book::open(path(), &result, password);
    QByteArray body;
    EXPECT_GE(b->nb->ReadNote(0, body), 0);
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(
        messages.shown()[0].text,
        QStringLiteral("Invalid password for this note. It's an internal error. Please, contact Orvanta!!!"));
    EXPECT_EQ(messages.shown()[0].caption, QStringLiteral("Error"));
}
