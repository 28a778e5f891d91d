#pragma once
// A notebook's node pictures: equal-sized images addressed by index (-1 is
// "no picture"), kept and stored as one row of cells in a BMP file image with
// fuchsia as the transparent colour.
#include <QByteArray>
#include <QByteArrayView>
#include <QImage>
#include <QList>
#include <QString>

namespace vlr {

class TMyImageList {
public:
    // The transparent colour of stored strips and of pictures added with a mask.
    static constexpr QRgb kKeyColour = 0xFFFF00FF;
    static constexpr int kDefaultSize = 16;
    static constexpr int kMaxSize = 1024;

    // Sizes are clamped to 1..kMaxSize.
    explicit TMyImageList(int width = kDefaultSize, int height = kDefaultSize);

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    int Count() const { return int(m_images.size()); }
    // How many pictures the list takes: a strip of more would not load back.
    int Capacity() const;

    // ARGB32 picture, every pixel either fully transparent or opaque; a null
    // image for an index out of range.
    QImage image(int index) const;
    // The picture drawn on the key colour (RGB32), the way the strip holds it.
    QImage imageOnKey(int index) const;

    void Clear() { m_images.clear(); }
    // The picture is fitted into a cell: a larger one is scaled down keeping
    // its proportions, a smaller one is centred; pixels of the key colour and
    // pixels less than half opaque become transparent. Returns the new index,
    // or -1 when the list is full.
    int Add(const QImage& picture);
    bool Insert(int index, const QImage& picture);
    bool Replace(int index, const QImage& picture);
    bool Delete(int index);
    // Moves a picture to another position, shifting those in between.
    bool Move(int from, int to);
    // Index of the first picture identical to the given one once fitted into a
    // cell, -1 when there is none.
    int IndexOf(const QImage& picture) const;

    void Assign(const TMyImageList& other) { *this = other; }
    bool operator==(const TMyImageList& other) const;

    // Replaces every picture with the cells of the BMP file image at the start
    // of the bytes (anything after it is ignored): cell i takes the columns
    // from i × Width() and the top Height() rows; a last cell narrower than
    // Width(), or a bitmap lower than Height(), is padded with transparency.
    // On failure the list stays as it was and the error says why.
    bool loadStrip(QByteArrayView bmpFileImage, QString* error = nullptr);
    // The strip as a 24-bit uncompressed BMP, Count() × Width() by Height(),
    // transparent pixels in the key colour. An empty list writes a valid
    // header with width 0 and no pixels, which loadStrip reads as no pictures.
    QByteArray saveStrip() const;

private:
    QImage fitCell(const QImage& picture) const;

    int m_width;
    int m_height;
    QList<QImage> m_images;
};

} // namespace vlr
