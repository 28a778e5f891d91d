// Every header and record field sits at its documented offset, strings are
// length-prefixed Windows-1251 and reserved bytes survive.
#include "storage/note_record.h"
#include "storage/notebook_header.h"

#include <gtest/gtest.h>

#include <functional>

using namespace vlr;

namespace {

template <typename Image> struct FieldCase {
    const char* name;
    int offset;
    int size;
    std::function<void(Image&)> set; // sets a value whose bytes are `expected`
    QByteArray expected;
};

QByteArray le32(uint32_t v) {
    return QByteArray(reinterpret_cast<const char*>(&v), 4);
}
QByteArray le16(uint16_t v) {
    return QByteArray(reinterpret_cast<const char*>(&v), 2);
}

template <typename Image> void checkFields(const std::vector<FieldCase<Image>>& cases) {
    for (const auto& c : cases) {
        Image image;
        // Reserved and neighbouring bytes hold a pattern that must survive.
        for (int i = 0; i < Image::Bytes; ++i)
            image.data()[i] = static_cast<unsigned char>(0xA5 ^ i);
        Image before = image;
        c.set(image);
        const QByteArray expected(c.expected.constData(), c.expected.size());
        EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(image.data()) + c.offset, c.expected.size()),
                  expected)
            << c.name;
        for (int i = 0; i < Image::Bytes; ++i) {
            if (i < c.offset || i >= c.offset + c.size) {
                ASSERT_EQ(image.data()[i], before.data()[i]) << c.name << " touched byte " << i;
            }
        }
    }
}

} // namespace

TEST(Records, HeaderFieldsAtTheirOffsets) {
    using H = NotebookHeader;
    const unsigned char key[56] = {1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16, 17, 18, 19,
                                   20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36, 37, 38,
                                   39, 40, 41, 42, 43, 44, 45, 46, 47, 48, 49, 50, 51, 52, 53, 54, 55, 56};
    double created = 46000.5;
    const QByteArray createdBytes(reinterpret_cast<const char*>(&created), 8);
    std::vector<FieldCase<H>> cases = {
        {"Magic", 0, 4, [](H& h) { h.setMagic(); }, "VLRD"},
        {"Version", 4, 4, [](H& h) { h.setVersion(5); }, le32(5)},
        {"RootExpanded", 8, 4, [](H& h) { h.setRootExpanded(-1); }, le32(0xFFFFFFFF)},
        {"RootImageIndex", 12, 2, [](H& h) { h.setRootImageIndex(0x1234); }, le16(0x1234)},
        {"RootStateIndex", 14, 2, [](H& h) { h.setRootStateIndex(-2); }, le16(0xFFFE)},
        {"TreeOffset", 16, 4, [](H& h) { h.setTreeOffset(0x01020304); }, le32(0x01020304)},
        {"LastRecord", 20, 4, [](H& h) { h.setLastRecord(-1); }, le32(0xFFFFFFFF)},
        {"RootFontColor", 24, 4, [](H& h) { h.setRootFontColor(int32_t(0x80000008)); }, le32(0x80000008)},
        {"RootFontStyle", 28, 4, [](H& h) { h.setRootFontStyle(9); }, le32(9)},
        {"Created", 32, 8, [=](H& h) { h.setCreated(created); }, createdBytes},
        {"LastAppended", 40, 4, [](H& h) { h.setLastAppended(2147483647); }, le32(0x7FFFFFFF)},
        {"ReserveSize", 44, 4, [](H& h) { h.setReserveSize(1000); }, le32(1000)},
        {"BookFlags", 48, 4, [](H& h) { h.setBookFlags(7); }, le32(7)},
        {"SelectedNote", 52, 4, [](H& h) { h.setSelectedNote(42); }, le32(42)},
        {"KeyIV", 56, 8, [&](H& h) { h.setKeyIV(key); }, QByteArray(reinterpret_cast<const char*>(key), 8)},
        {"Author", 64, 101, [](H& h) { h.setAuthor(QStringLiteral("Иван")); },
         QByteArray("\x04\xc8\xe2\xe0\xed")},
        {"Company", 165, 101, [](H& h) { h.setCompany(QStringLiteral("AB")); },
         QByteArray("\x02"
                    "AB")},
        {"Comments", 266, 201, [](H& h) { h.setComments(QStringLiteral("x")); }, QByteArray("\x01x")},
        {"MarginTop", 467, 4, [](H& h) { h.setMarginTop(2000); }, le32(2000)},
        {"MarginLeft", 471, 4, [](H& h) { h.setMarginLeft(2500); }, le32(2500)},
        {"MarginRight", 475, 4, [](H& h) { h.setMarginRight(2001); }, le32(2001)},
        {"MarginBottom", 479, 4, [](H& h) { h.setMarginBottom(2002); }, le32(2002)},
        {"KeyBlock", 483, 56, [&](H& h) { h.setKeyBlock(key); },
         QByteArray(reinterpret_cast<const char*>(key), 56)},
        {"KeyDigest", 611, 16, [&](H& h) { h.setKeyDigest(key); },
         QByteArray(reinterpret_cast<const char*>(key), 16)},
        {"AutoSaveMinutes", 627, 4, [](H& h) { h.setAutoSaveMinutes(10); }, le32(10)},
        {"AutoSaveEnabled", 631, 4, [](H& h) { h.setAutoSaveEnabled(-1); }, le32(0xFFFFFFFF)},
        {"BookName", 635, 101, [](H& h) { h.setBookName(QStringLiteral("Книга")); },
         QByteArray("\x05\xca\xed\xe8\xe3\xe0")},
        {"PasswordReminder", 736, 151, [](H& h) { h.setPasswordReminder(QStringLiteral("a\r\nb")); },
         QByteArray("\x04"
                    "a\r\nb")},
        {"DefaultNoteImage", 887, 4, [](H& h) { h.setDefaultNoteImage(3); }, le32(3)},
        {"AwayTime", 891, 4, [](H& h) { h.setAwayTime(0x80000005u); }, le32(0x80000005u)},
        {"CloseTime", 895, 4, [](H& h) { h.setCloseTime(30); }, le32(30)},
        {"RootBackColor", 899, 4, [](H& h) { h.setRootBackColor(0x1FFFFFFF); }, le32(0x1FFFFFFF)},
        {"RootChildSort", 903, 4, [](H& h) { h.setRootChildSort(2); }, le32(2)},
    };
    checkFields(cases);
}

TEST(Records, NoteRecordFieldsAtTheirOffsets) {
    using R = NoteRecord;
    const unsigned char id[16] = {0xde, 0xad, 0xbe, 0xef, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    double saved = 45000.25;
    double created = 44000.75;
    std::vector<FieldCase<R>> cases = {
        {"FontColor", 0, 4, [](R& r) { r.setFontColor(0x00112233); }, le32(0x00112233)},
        {"FontStyle", 4, 4, [](R& r) { r.setFontStyle(15); }, le32(15)},
        {"EditorColor", 8, 4, [](R& r) { r.setEditorColor(0xE1FFFF); }, le32(0xE1FFFF)},
        {"SelStart", 12, 4, [](R& r) { r.setSelStart(77); }, le32(77)},
        {"SelLength", 16, 4, [](R& r) { r.setSelLength(5); }, le32(5)},
        {"NoteFlags", 20, 4, [](R& r) { r.setNoteFlags(6); }, le32(6)},
        {"Expanded", 24, 4, [](R& r) { r.setExpanded(-1); }, le32(0xFFFFFFFF)},
        {"Level", 28, 4, [](R& r) { r.setLevel(3); }, le32(3)},
        {"Offset", 32, 4, [](R& r) { r.setOffset(1024); }, le32(1024)},
        {"Size", 36, 4, [](R& r) { r.setSize(13); }, le32(13)},
        {"SizeReserved", 40, 4, [](R& r) { r.setSizeReserved(1013); }, le32(1013)},
        {"Saved", 48, 8, [=](R& r) { r.setSaved(saved); },
         QByteArray(reinterpret_cast<const char*>(&saved), 8)},
        {"Created", 56, 8, [=](R& r) { r.setCreated(created); },
         QByteArray(reinterpret_cast<const char*>(&created), 8)},
        {"ImageIndex", 64, 2, [](R& r) { r.setImageIndex(-1); }, le16(0xFFFF)},
        {"StateIndex", 66, 2, [](R& r) { r.setStateIndex(4); }, le16(4)},
        {"Digest", 68, 16, [&](R& r) { r.setDigest(id); }, QByteArray(reinterpret_cast<const char*>(id), 16)},
        {"RTFSize", 88, 4, [](R& r) { r.setRTFSize(99); }, le32(99)},
        {"MarginTop", 92, 4, [](R& r) { r.setMarginTop(1); }, le32(1)},
        {"MarginLeft", 96, 4, [](R& r) { r.setMarginLeft(2); }, le32(2)},
        {"MarginRight", 100, 4, [](R& r) { r.setMarginRight(3); }, le32(3)},
        {"MarginBottom", 104, 4, [](R& r) { r.setMarginBottom(4); }, le32(4)},
        {"PlainText", 108, 4, [](R& r) { r.setPlainText(1); }, le32(1)},
        {"RawSize", 112, 4, [](R& r) { r.setRawSize(5000); }, le32(5000)},
        {"RealposX", 116, 4, [](R& r) { r.setRealposX(11); }, le32(11)},
        {"RealposY", 120, 4, [](R& r) { r.setRealposY(12); }, le32(12)},
        {"Zoom", 124, 4, [](R& r) { r.setZoom(100); }, le32(100)},
        {"HeaderFormat", 128, 81, [](R& r) { r.setHeaderFormat(QStringLiteral("$N")); },
         QByteArray("\x02$N")},
        {"FHFontName", 209, 32, [](R& r) { r.setFHFontName(QStringLiteral("Arial")); },
         QByteArray("\x05"
                    "Arial")},
        {"FHFontSize", 244, 4, [](R& r) { r.setFHFontSize(12); }, le32(12)},
        {"FHFontCharset", 248, 4, [](R& r) { r.setFHFontCharset(204); }, le32(204)},
        {"FHFontColor", 252, 4, [](R& r) { r.setFHFontColor(0xFF); }, le32(0xFF)},
        {"FHFontStyle", 256, 4, [](R& r) { r.setFHFontStyle(2); }, le32(2)},
        {"NoteName", 260, 101, [](R& r) { r.setNoteName(QStringLiteral("Ёж")); }, QByteArray("\x02\xa8\xe6")},
        {"FooterFormat", 361, 81, [](R& r) { r.setFooterFormat(QStringLiteral("$P")); },
         QByteArray("\x02$P")},
        {"PrintFlags", 444, 4, [](R& r) { r.setPrintFlags(0x93); }, le32(0x93)},
        {"Deleted", 448, 4, [](R& r) { r.setDeleted(-1); }, le32(0xFFFFFFFF)},
        {"Favorite", 452, 4, [](R& r) { r.setFavorite(-1); }, le32(0xFFFFFFFF)},
        {"BackColor", 456, 4, [](R& r) { r.setBackColor(0x123456); }, le32(0x123456)},
        {"ChildSort", 460, 4, [](R& r) { r.setChildSort(3); }, le32(3)},
        {"ID", 464, 16, [&](R& r) { r.setID(id); }, QByteArray(reinterpret_cast<const char*>(id), 16)},
    };
    checkFields(cases);
}

TEST(Records, StringsAreCutAndDamagedLengthsClamped) {
    NoteRecord r;
    r.setNoteName(QString(150, QChar(0x0416))); // 150 × "Ж"
    EXPECT_EQ(r.data()[260], 100);
    EXPECT_EQ(r.NoteName(), QString(100, QChar(0x0416)));
    // Characters the code page cannot hold become "?".
    r.setNoteName(QStringLiteral("a\u4e2d"));
    EXPECT_EQ(r.NoteName(), QStringLiteral("a?"));
    // A length byte beyond the capacity (a damaged file) reads as the capacity.
    r.data()[209] = 200;
    EXPECT_EQ(r.FHFontName().size(), 31);
}

TEST(Records, HeaderValidity) {
    NotebookHeader h;
    EXPECT_FALSE(h.isValid());
    h.setMagic();
    for (uint32_t v : {0u, 1u, 4u, 5u})
        EXPECT_TRUE((h.setVersion(v), h.isValid())) << v;
    for (uint32_t v : {6u, 0x80000000u, 0xFFFFFFFFu})
        EXPECT_FALSE((h.setVersion(v), h.isValid())) << v;
}
