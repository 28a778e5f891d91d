#include "storage/images/image_list.h"

#include "storage/images/bmp_reader.h"
#include "storage/images/bmp_writer.h"

#include <QPainter>

#include <algorithm>

namespace vlr {

namespace {

constexpr QRgb kTransparent = 0;

// Every pixel fully transparent or fully opaque: the strip has no alpha, so
// only this form comes back unchanged from a save and a load.
void applyKey(QImage& argb) {
    for (int y = 0; y < argb.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(argb.scanLine(y));
        for (int x = 0; x < argb.width(); ++x) {
            const QRgb px = row[x];
            if (qAlpha(px) < 128 || (px | 0xFF000000) == TMyImageList::kKeyColour)
                row[x] = kTransparent;
            else
                row[x] = px | 0xFF000000;
        }
    }
}

} // namespace

TMyImageList::TMyImageList(int width, int height)
    : m_width(std::clamp(width, 1, kMaxSize)), m_height(std::clamp(height, 1, kMaxSize)) {}

int TMyImageList::Capacity() const {
    const qint64 cell = qint64(m_width) * m_height;
    return int(std::min<qint64>(kBmpMaxPixels / cell, kBmpMaxWidth / m_width));
}

QImage TMyImageList::image(int index) const {
    if (index < 0 || index >= Count())
        return {};
    return m_images.at(index);
}

QImage TMyImageList::imageOnKey(int index) const {
    if (index < 0 || index >= Count())
        return {};
    QImage out(m_width, m_height, QImage::Format_RGB32);
    out.fill(kKeyColour);
    QPainter painter(&out);
    painter.drawImage(0, 0, m_images.at(index));
    return out;
}

QImage TMyImageList::fitCell(const QImage& picture) const {
    QImage cell(m_width, m_height, QImage::Format_ARGB32);
    cell.fill(kTransparent);
    if (picture.isNull())
        return cell;
    // The key colour goes before any scaling so that it does not bleed into
    // the neighbouring pixels.
    QImage src = picture.convertToFormat(QImage::Format_ARGB32);
    applyKey(src);
    if (src.width() > m_width || src.height() > m_height)
        src = src.scaled(m_width, m_height, Qt::KeepAspectRatio, Qt::SmoothTransformation)
                  .convertToFormat(QImage::Format_ARGB32);
    {
        QPainter painter(&cell);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage((m_width - src.width()) / 2, (m_height - src.height()) / 2, src);
    }
    applyKey(cell);
    return cell;
}

int TMyImageList::Add(const QImage& picture) {
    if (Count() >= Capacity())
        return -1;
    m_images.append(fitCell(picture));
    return Count() - 1;
}

bool TMyImageList::Insert(int index, const QImage& picture) {
    if (index < 0 || index > Count() || Count() >= Capacity())
        return false;
    m_images.insert(index, fitCell(picture));
    return true;
}

bool TMyImageList::Replace(int index, const QImage& picture) {
    if (index < 0 || index >= Count())
        return false;
    m_images[index] = fitCell(picture);
    return true;
}

bool TMyImageList::Delete(int index) {
    if (index < 0 || index >= Count())
        return false;
    m_images.removeAt(index);
    return true;
}

bool TMyImageList::Move(int from, int to) {
    if (from < 0 || from >= Count() || to < 0 || to >= Count())
        return false;
    m_images.move(from, to);
    return true;
}

int TMyImageList::IndexOf(const QImage& picture) const {
    const QImage cell = fitCell(picture);
    for (int i = 0; i < Count(); ++i)
        if (m_images.at(i) == cell)
            return i;
    return -1;
}

bool TMyImageList::operator==(const TMyImageList& other) const {
    return m_width == other.m_width && m_height == other.m_height && m_images == other.m_images;
}

bool TMyImageList::loadStrip(QByteArrayView bmpFileImage, QString* error) {
    const BmpDecodeResult decoded = decodeBmp(bmpFileImage);
    if (!decoded.ok) {
        if (error)
            *error = QStringLiteral("Picture strip: %1").arg(decoded.error);
        return false;
    }
    QList<QImage> cells;
    if (!decoded.image.isNull()) {
        QImage strip = decoded.image.convertToFormat(QImage::Format_ARGB32);
        applyKey(strip);
        const qint64 count = (qint64(decoded.width) + m_width - 1) / m_width;
        if (count > Capacity()) {
            if (error)
                *error = QStringLiteral("Picture strip: %1 pictures are more than the list takes").arg(count);
            return false;
        }
        cells.reserve(count);
        // Parts of a cell outside the strip come out transparent.
        for (int i = 0; i < count; ++i)
            cells.append(strip.copy(i * m_width, 0, m_width, m_height));
    }
    m_images = std::move(cells);
    return true;
}

QByteArray TMyImageList::saveStrip() const {
    if (m_images.isEmpty())
        return encodeBmp24(QImage(), m_height);
    QImage strip(Count() * m_width, m_height, QImage::Format_RGB32);
    strip.fill(kKeyColour);
    {
        QPainter painter(&strip);
        for (int i = 0; i < Count(); ++i)
            painter.drawImage(i * m_width, 0, m_images.at(i));
    }
    return encodeBmp24(strip);
}

} // namespace vlr
