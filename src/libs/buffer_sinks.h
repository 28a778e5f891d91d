#pragma once
// The program's side of the companion libraries' append callbacks: they
// collect results into Qt containers and never let an exception cross the C
// boundary.
#include <QByteArray>
#include <QString>

#include <cstddef>

namespace vlr {

// Appends to a QByteArray and refuses once the array would grow past `limit`.
struct ByteArraySink {
    QByteArray* target;
    qsizetype limit;

    static int append(void* sink, const void* data, size_t size) noexcept;
};

struct StringSink {
    QString* target;

    static int append(void* sink, const char16_t* text, size_t count) noexcept;
};

} // namespace vlr
