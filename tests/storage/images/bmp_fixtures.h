#pragma once
// Small BMP file images built in code for the reader tests: every colour
// depth and row order the notebook strip may come in, and the raw header
// pieces needed to break them on purpose.
#include <QByteArray>
#include <QImage>
#include <QList>

#include <functional>
#include <vector>

namespace vlr::test {

struct BmpFixture {
    int infoSize = 40; // 12 (core), 40, 108 or 124
    int bitCount = 24;
    bool topDown = false;
    bool bitfields = false; // 16/32-bit with explicit masks (565 for 16-bit)
};

// Encodes an opaque image in the given form. Palette forms take the image's
// distinct colours in order of appearance; there must be few enough.
QByteArray makeBmp(const QImage& image, const BmpFixture& form);

// A BMP file image around already encoded pixel bytes (RLE data, for one).
QByteArray wrapBmp(int width, int height, int bitCount, quint32 compression, const QList<QRgb>& palette,
                   const QByteArray& pixels);

// Writes a little-endian field into a file image (to corrupt headers).
void poke32(QByteArray& bytes, int offset, quint32 value);
void poke16(QByteArray& bytes, int offset, quint16 value);

// A small opaque test picture using `colours` distinct colours, all with 0 or
// 255 components so that every depth holds them exactly.
QImage colourPattern(int width, int height, int colours);

// Broken or hostile BMP file images, each of which must be refused without
// harm: truncations, wrong marks, impossible sizes, offsets outside the file.
struct Hostile {
    const char* name;
    std::function<QByteArray()> make;
};
std::vector<Hostile> hostileBitmaps();

} // namespace vlr::test
