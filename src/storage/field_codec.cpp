#include "storage/field_codec.h"

#include "core/codepage.h"

namespace vlr::codec {

QString getString(const unsigned char* p, int capacity) {
    const int length = qMin<int>(p[0], capacity);
    return fromAnsi(reinterpret_cast<const char*>(p + 1), length);
}

void putString(unsigned char* p, int capacity, const QString& text) {
    // Cut by characters first so a cut never splits what one character encodes.
    QByteArray bytes = toAnsi(text.left(capacity));
    if (bytes.size() > capacity)
        bytes.truncate(capacity);
    p[0] = static_cast<unsigned char>(bytes.size());
    std::memcpy(p + 1, bytes.constData(), static_cast<size_t>(bytes.size()));
}

} // namespace vlr::codec
