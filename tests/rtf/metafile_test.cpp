// Windows metafiles drawn: shapes, lines and text of small hand-made files
// checked by the colours they leave, the metafiles of other programs, and
// damaged files that must draw nothing and not crash.
#include "rtf/convert.h"
#include "rtf/metafile_player.h"
#include "rtf/pictures.h"

#include <QColor>
#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>

namespace {

using namespace vlr::rtf;

void le16(QByteArray& b, int v) {
    char d[2];
    qToLittleEndian<quint16>(quint16(v), d);
    b.append(d, 2);
}

void le32(QByteArray& b, qint64 v) {
    char d[4];
    qToLittleEndian<quint32>(quint32(v), d);
    b.append(d, 4);
}

void utf16(QByteArray& b, const QString& s, int units) {
    for (int i = 0; i < units; ++i)
        le16(b, i < s.size() ? s[i].unicode() : 0);
}

constexpr quint32 kRed = 0x0000FF, kBlue = 0xFF0000, kGreen = 0x008000;

// A 16-bit metafile of 16-bit words; records carry their parameters as given.
struct WmfBuilder {
    QByteArray records;
    int objects = 0;

    WmfBuilder& rec(int function, std::initializer_list<int> words, const QByteArray& tail = {}) {
        le32(records, 3 + qsizetype(words.size()) + tail.size() / 2);
        le16(records, function);
        for (int w : words)
            le16(records, w);
        records.append(tail);
        return *this;
    }
    // Pens and brushes take the lowest free slot, as the format says.
    WmfBuilder& brush(quint32 color) {
        return rec(0x02FC, {0, int(color & 0xFFFF), int(color >> 16), 0}).rec(0x012D, {objects++});
    }
    WmfBuilder& pen(int style, int width, quint32 color) {
        return rec(0x02FA, {style, width, 0, int(color & 0xFFFF), int(color >> 16)}).rec(0x012D, {objects++});
    }
    WmfBuilder& font(int height) {
        QByteArray face("Sans");
        face.append(QByteArray(32 - face.size(), '\0'));
        return rec(0x02FB, {height, 0, 0, 0, 700, 0, 0, 0, 0}, face).rec(0x012D, {objects++});
    }
    QByteArray bytes() const {
        QByteArray out;
        le16(out, 1);
        le16(out, 9);
        le16(out, 0x0300);
        le32(out, 9 + (records.size() + 6) / 2);
        le16(out, qMax(objects, 1));
        le32(out, 64);
        le16(out, 0);
        out.append(records);
        le32(out, 3);
        le16(out, 0);
        return out;
    }
};

// An enhanced metafile of 100 by 100 device pixels at 96 an inch.
struct EmfBuilder {
    QByteArray records;
    int count = 1;

    EmfBuilder& rec(quint32 type, std::initializer_list<qint64> fields, const QByteArray& tail = {}) {
        le32(records, type);
        le32(records, 8 + qsizetype(fields.size()) * 4 + tail.size());
        for (qint64 f : fields)
            le32(records, f);
        records.append(tail);
        ++count;
        return *this;
    }
    QByteArray bytes() const {
        QByteArray h;
        le32(h, 1);
        le32(h, 88);
        for (int v : {0, 0, 99, 99, 0, 0, 2646, 2646})
            le32(h, v);
        le32(h, 0x464D4520);
        le32(h, 0x10000);
        le32(h, 88 + records.size() + 20);
        le32(h, count + 1);
        le16(h, 8); // handles
        le16(h, 0);
        for (int v : {0, 0, 0, 960, 960, 254, 254})
            le32(h, v);
        QByteArray out = h + records;
        for (int v : {14, 20, 0, 0, 0})
            le32(out, v);
        return out;
    }
};

// TextOut's string, padded to whole words, then where it starts: y, x.
QByteArray textAt(const QByteArray& text, int x, int y) {
    QByteArray b = text;
    if (b.size() % 2)
        b.append('\0');
    le16(b, y);
    le16(b, x);
    return b;
}

QByteArray emfText(int x, int y, const QString& text) {
    QByteArray t;
    // EMRTEXT: reference point, characters, their offset, options, rectangle, offset of widths.
    for (qint64 v : {qint64(x), qint64(y), qint64(text.size()), qint64(76), qint64(0), qint64(0), qint64(0),
                     qint64(0), qint64(0), qint64(0)})
        le32(t, v);
    utf16(t, text, int((text.size() + 1) & ~1));
    return t;
}

QByteArray emfFont(int height) {
    QByteArray f;
    for (int v : {height, 0, 0, 0, 700})
        le32(f, v);
    f.append(QByteArray(8, '\0'));
    utf16(f, QStringLiteral("Sans"), 32);
    return f;
}

QByteArray poly16(std::initializer_list<int> xy) {
    QByteArray b;
    for (int v : {0, 0, 0, 0})
        le32(b, v);
    le32(b, qsizetype(xy.size()) / 2);
    for (int v : xy)
        le16(b, v);
    return b;
}

struct Pixel {
    int x, y;
    QColor color;
};

bool near(QColor a, QColor b) {
    return qAbs(a.red() - b.red()) < 40 && qAbs(a.green() - b.green()) < 40 && qAbs(a.blue() - b.blue()) < 40;
}

// Pixels of the colour inside the rectangle: text leaves some, not all.
int count(const QImage& image, const QRect& r, QColor c) {
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y) {
        for (int x = r.left(); x <= r.right(); ++x)
            n += near(image.pixelColor(x, y), c);
    }
    return n;
}

Picture picture(Picture::Kind kind, const QByteArray& data) {
    Picture p;
    p.kind = kind;
    p.data = data;
    p.picwgoal = p.pichgoal = 1500; // 100 pixels
    return p;
}

TEST(Metafile, ShapesLinesAndTextAreDrawnWhereTheyBelong) {
    const QByteArray wmfBasic = WmfBuilder()
                                    .rec(0x020B, {0, 0})
                                    .rec(0x020C, {100, 100})
                                    .brush(kRed)
                                    .pen(5, 0, 0)
                                    .rec(0x041B, {50, 50, 10, 10}) // rectangle, bottom-right first
                                    .pen(0, 4, kBlue)
                                    .rec(0x0214, {70, 10}) // y first
                                    .rec(0x0213, {70, 95})
                                    .font(-24)
                                    .rec(0x0209, {int(kGreen), 0})
                                    .rec(0x0102, {1})
                                    .rec(0x0521, {2}, textAt("WW", 10, 75))
                                    .bytes();
    // The y axis pointing up and a window offset: the same picture.
    const QByteArray wmfFlipped = WmfBuilder()
                                      .rec(0x020B, {1100, 1000})
                                      .rec(0x020C, {-200, 200})
                                      .brush(kRed)
                                      .rec(0x0418, {1020, 1100, 1060, 1040}) // ellipse
                                      .bytes();
    const QByteArray emfBasic = EmfBuilder()
                                    .rec(39, {1, 0, kRed, 0})
                                    .rec(37, {1})
                                    .rec(37, {0x80000008}) // the stock null pen
                                    .rec(43, {10, 10, 50, 50})
                                    .rec(38, {2, 0, 4, 0, kBlue})
                                    .rec(37, {2})
                                    .rec(27, {10, 70})
                                    .rec(54, {95, 70})
                                    .rec(82, {3}, emfFont(-24))
                                    .rec(37, {3})
                                    .rec(24, {kGreen})
                                    .rec(18, {1})
                                    .rec(84, {0, 0, 0, 0, 1, 0, 0}, emfText(55, 10, "WW"))
                                    .bytes();
    EmfBuilder transformed;
    transformed.rec(39, {1, 0, kBlue, 0}).rec(37, {1}).rec(37, {0x80000008});
    transformed.rec(59, {}).rec(86, {}, poly16({10, 10, 40, 10, 10, 40})).rec(60, {}).rec(62, {0, 0, 0, 0});
    // Moved 50 pixels right by the world transform: (1, 0, 0, 1, 50, 0) as floats.
    QByteArray xf;
    for (float v : {1.f, 0.f, 0.f, 1.f, 50.f, 0.f}) {
        quint32 bits;
        std::memcpy(&bits, &v, 4);
        le32(xf, bits);
    }
    transformed.rec(35, {}, xf).rec(43, {0, 60, 30, 90});

    struct Case {
        const char* name;
        Picture::Kind kind;
        QByteArray data;
        std::vector<Pixel> pixels;
        QRect textBox; // where green text must leave some pixels; empty for none
    } cases[] = {
        {"wmf",
         Picture::Wmf,
         wmfBasic,
         {{30, 30, Qt::red}, {5, 5, Qt::white}, {60, 70, Qt::blue}, {80, 30, Qt::white}},
         QRect(0, 72, 60, 28)},
        {"wmf y up",
         Picture::Wmf,
         wmfFlipped,
         {{35, 30, Qt::red}, {35, 60, Qt::white}, {80, 10, Qt::white}},
         {}},
        {"emf",
         Picture::Emf,
         emfBasic,
         {{30, 30, Qt::red}, {5, 5, Qt::white}, {60, 70, Qt::blue}},
         QRect(55, 0, 45, 40)},
        {"emf path and transform",
         Picture::Emf,
         transformed.bytes(),
         {{15, 15, Qt::blue}, {35, 35, Qt::white}, {65, 75, Qt::blue}, {15, 75, Qt::white}},
         {}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        const QImage image = decodePicture(picture(k.kind, k.data), 1 << 24);
        ASSERT_EQ(image.size(), QSize(100, 100));
        for (const Pixel& p : k.pixels) {
            EXPECT_TRUE(near(image.pixelColor(p.x, p.y), p.color))
                << p.x << "," << p.y << " is " << image.pixelColor(p.x, p.y).name().toStdString();
        }
        if (!k.textBox.isEmpty()) {
            const int green = count(image, k.textBox, QColor(0, 128, 0));
            EXPECT_GT(green, 10);
            EXPECT_LT(green, k.textBox.width() * k.textBox.height() / 2);
        }
    }
}

TEST(Metafile, DamagedAndHostileFilesDrawNothingAndEndQuickly) {
    const QByteArray good =
        WmfBuilder().rec(0x020C, {100, 100}).brush(kRed).rec(0x041B, {50, 50, 10, 10}).bytes();
    const QByteArray goodEmf =
        EmfBuilder().rec(39, {1, 0, kRed, 0}).rec(37, {1}).rec(43, {10, 10, 50, 50}).bytes();
    QByteArray hugeRecord = good;
    qToLittleEndian<quint32>(0xFFFFFFF0u, hugeRecord.data() + 18); // the first record claims 8 GB
    QByteArray hugeEmfRecord = goodEmf;
    qToLittleEndian<quint32>(0xFFFFFFF0u, hugeEmfRecord.data() + 92);
    QByteArray emptyFrame = goodEmf;
    for (int at = 8; at < 40; at += 4)
        qToLittleEndian<qint32>(0, emptyFrame.data() + at);

    const struct Case {
        const char* name;
        Picture::Kind kind;
        QByteArray data;
    } nothing[] = {
        {"empty wmf", Picture::Wmf, {}},
        {"wmf header only", Picture::Wmf, good.left(18)},
        {"wmf cut in its first record", Picture::Wmf, good.left(24)},
        {"wmf without a frame", Picture::Wmf, WmfBuilder().brush(kRed).rec(0x041B, {50, 50, 10, 10}).bytes()},
        {"wmf record beyond the data", Picture::Wmf, hugeRecord},
        {"garbage as wmf", Picture::Wmf, QByteArray(300, '\xA5')},
        {"empty emf", Picture::Emf, {}},
        {"emf header cut", Picture::Emf, goodEmf.left(60)},
        {"emf record beyond the data", Picture::Emf, hugeEmfRecord},
        {"emf without frame or bounds", Picture::Emf, emptyFrame},
        {"garbage as emf", Picture::Emf, QByteArray(300, '\x01')},
    };
    for (const Case& k : nothing) {
        SCOPED_TRACE(k.name);
        EXPECT_TRUE(decodePicture(picture(k.kind, k.data), 1 << 24).isNull());
    }

    // Absurd counts, coordinates, objects and states: whatever is drawn, it
    // stays within the limits and ends.
    const QByteArray counts =
        WmfBuilder()
            .rec(0x020C, {100, 100})
            .rec(0x0324, {32767, 10, 10, 20, 20})              // polygon of 32767 points
            .rec(0x0538, {30000, 65535, 65535})                // poly-polygon counts
            .rec(0x0521, {65535}, "ab")                        // text longer than its record
            .rec(0x0A32, {10, 10, 65535, 6, 0, 0, 5, 5}, "xy") // clipped rectangle, long text
            .rec(0x012D, {65535})                              // no such object
            .rec(0x01F0, {40000})
            .rec(0x0127, {-30000}) // restore far beyond what was saved
            .rec(0x0F43, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, QByteArray(40, '\xFF'))
            .bytes();
    const QByteArray coordinates = WmfBuilder()
                                       .rec(0x020C, {1, 1})
                                       .brush(kRed)
                                       .rec(0x041B, {32767, 32767, -32768, -32768})
                                       .rec(0x0418, {32767, -32768, 32767, -32768})
                                       .rec(0x0817, {0, 0, 0, 0, 32767, 32767, -32768, -32768})
                                       .bytes();
    QByteArray many;
    {
        WmfBuilder b;
        b.rec(0x020C, {100, 100});
        for (int i = 0; i < 20000; ++i)
            b.rec(0x02FC, {0, 0xFF, 0, 0}).rec(0x001E, {});
        many = b.bytes();
    }
    QByteArray emfCounts;
    {
        EmfBuilder b;
        b.rec(86, {0, 0, 0, 0, 0x7FFFFFFF}); // polygon of two billion points, none there
        b.rec(91, {0, 0, 0, 0, 0x40000000, 0x7FFFFFFF, 5});
        b.rec(84, {0, 0, 0, 0, 1, 0, 0, 10, 10, 0x7FFFFFFF, 0x7FFFFFF0, 2});
        b.rec(39, {0x7FFFFFFF, 0, kRed, 0}).rec(37, {0x7FFFFFFF}).rec(40, {0xFFFFFFFF});
        b.rec(81, {0, 0, 0, 0, 0, 0, 0, 0, 100, 100, 0x7FFFFFF0, 0x7FFFFFF0, 80, 4, 0, 0xCC0020, 100, 100});
        QByteArray nan;
        for (int i = 0; i < 6; ++i)
            le32(nan, 0x7FC00000);
        b.rec(35, {}, nan).rec(43, {0, 0, 2000000000, 2000000000}).rec(34, {-5000});
        for (int i = 0; i < 3000; ++i)
            b.rec(33, {});
        emfCounts = b.bytes();
    }
    const struct Case hostile[] = {
        {"wmf counts", Picture::Wmf, counts},
        {"wmf coordinates", Picture::Wmf, coordinates},
        {"wmf objects and saved states", Picture::Wmf, many},
        {"emf counts, offsets and transforms", Picture::Emf, emfCounts},
    };
    for (const Case& k : hostile) {
        SCOPED_TRACE(k.name);
        Picture p = picture(k.kind, k.data);
        p.picwgoal = p.pichgoal = 2000000000; // far larger than any canvas
        const QImage image = decodePicture(p, 1 << 22);
        EXPECT_LE(qint64(image.width()) * image.height(), 1 << 22);
    }
}

// The metafiles of the RTF's pictures, decoded from their hex.
std::vector<std::pair<Picture::Kind, QByteArray>> metafilesIn(const QByteArray& rtf) {
    std::vector<std::pair<Picture::Kind, QByteArray>> out;
    static const QRegularExpression pict(
        QStringLiteral(R"(\{\\pict((?:\\[a-z]+-?\d* ?|\{[^{}]*\}|\s)*)([0-9a-fA-F\s]+)\})"));
    for (const auto& m : pict.globalMatch(QString::fromLatin1(rtf))) {
        const QString words = m.captured(1);
        const Picture::Kind kind = words.contains(u"\\wmetafile") ? Picture::Wmf
                                   : words.contains(u"\\emfblip") ? Picture::Emf
                                                                  : Picture::None;
        if (kind != Picture::None)
            out.emplace_back(kind, QByteArray::fromHex(m.captured(2).toLatin1()));
    }
    return out;
}

TEST(Metafile, PicturesOfOtherProgramsShowSomething) {
    const char* const files[] = {"msftedit-picture-wmetafile8.rtf", "wordpad-win10-ole-object-paintbrush.rtf",
                                 "word-pictures-jpeg-wmf.rtf"};
    int drawn = 0;
    for (const char* name : files) {
        SCOPED_TRACE(name);
        QFile f(QStringLiteral(VELLINOR_TESTDATA_DIR "/rtf/") + name);
        if (!f.open(QIODevice::ReadOnly))
            GTEST_SKIP() << "the shared test documents are not here";
        const auto metafiles = metafilesIn(f.readAll());
        EXPECT_FALSE(metafiles.empty());
        for (const auto& [kind, data] : metafiles) {
            const PlayedMetafile played =
                kind == Picture::Wmf ? playWmf(data, {}, 1 << 24) : playEmf(data, {}, 1 << 24);
            ASSERT_FALSE(played.image.isNull());
            const QImage& image = played.image;
            bool uniform = true;
            const QRgb first = image.pixel(0, 0);
            for (int y = 0; y < image.height() && uniform; ++y) {
                for (int x = 0; x < image.width() && uniform; ++x)
                    uniform = image.pixel(x, y) == first;
            }
            EXPECT_FALSE(uniform) << image.width() << "x" << image.height();
            ++drawn;
        }
    }
    EXPECT_GE(drawn, 3);
}

TEST(Metafile, HtmlExportCarriesTheDrawnPicture) {
    // A metafile has no PNG or JPEG of its own: the page gets the drawing.
    const QByteArray wmf = WmfBuilder()
                               .rec(0x020B, {0, 0})
                               .rec(0x020C, {100, 100})
                               .brush(kRed)
                               .rec(0x041B, {100, 100, 0, 0})
                               .bytes();
    const QByteArray rtf = "{\\rtf1 a{\\pict\\wmetafile8\\picwgoal1500\\pichgoal1500 " + wmf.toHex() + "}}";
    QTemporaryDir dir;
    ConvertDataOptions o;
    o.folder = dir.path();
    o.fileName = "note.htm";
    o.pictures = true;
    const QString html = QString::fromUtf8(convertData(rtf, o));
    EXPECT_TRUE(html.contains("<IMG src=\"note_1.png\"")) << html.toStdString();
    const QImage drawn(dir.filePath("note_1.png"));
    ASSERT_FALSE(drawn.isNull());
    EXPECT_EQ(drawn.pixelColor(drawn.width() / 2, drawn.height() / 2), QColor(Qt::red));
}

} // namespace
