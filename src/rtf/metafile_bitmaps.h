#pragma once
// Bitmaps embedded in Windows metafiles. Pictures from paint programs and
// scanners are stored as a metafile wrapping one bitmap record; showing that
// bitmap shows the picture.
#include <QByteArray>

namespace vlr::rtf {

// The largest device-independent bitmap (header, colours and bits, without
// a file header) that a WMF or EMF draws; empty when it draws none.
QByteArray wmfBitmap(const QByteArray& wmf);
QByteArray emfBitmap(const QByteArray& emf);

} // namespace vlr::rtf
