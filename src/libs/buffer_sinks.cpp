#include "libs/buffer_sinks.h"

#include <limits>

namespace vlr {

int ByteArraySink::append(void* sink, const void* data, size_t size) noexcept {
    auto* self = static_cast<ByteArraySink*>(sink);
    if (self->target->size() > self->limit || size > size_t(self->limit - self->target->size()))
        return 0;
    try {
        self->target->append(static_cast<const char*>(data), qsizetype(size));
        return 1;
    } catch (...) {
        return 0;
    }
}

int StringSink::append(void* sink, const char16_t* text, size_t count) noexcept {
    auto* self = static_cast<StringSink*>(sink);
    if (count > size_t(std::numeric_limits<qsizetype>::max() / 2 - self->target->size()))
        return 0;
    try {
        self->target->append(QStringView(text, qsizetype(count)));
        return 1;
    } catch (...) {
        return 0;
    }
}

} // namespace vlr
