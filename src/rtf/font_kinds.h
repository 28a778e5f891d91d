#pragma once
// The generic family (serif, sans-serif, monospace) a named font belongs to,
// so that an HTML page falls back to a face of the same kind where the named
// one is missing, instead of to the browser's default serif face.
#include <QString>

namespace vlr::rtf {

enum class FontKind { Serif, SansSerif, Monospace };

// From the name where it tells (Courier, Mono, Times, "Sans"...), otherwise
// from the face the font database puts in its place: fixed pitch, or the
// name of that face. Sans-serif when nothing tells.
FontKind fontKindOf(const QString& family);

// A CSS font-family value: the family quoted (characters that could end the
// value or the markup left out), then its generic family. Only the generic
// family when the name is empty.
QString cssFontFamily(const QString& family);

} // namespace vlr::rtf
