#pragma once
// Little-endian field access inside fixed-size byte images (the notebook
// header and tree records), and length-prefixed ANSI strings.
#include <QByteArray>
#include <QString>
#include <cstdint>
#include <cstring>

namespace vlr::codec {

inline int32_t getI32(const unsigned char* p) {
    return static_cast<int32_t>(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 |
                                uint32_t(p[3]) << 24);
}
inline uint32_t getU32(const unsigned char* p) {
    return static_cast<uint32_t>(getI32(p));
}
inline int16_t getI16(const unsigned char* p) {
    return static_cast<int16_t>(uint16_t(p[0]) | uint16_t(p[1]) << 8);
}
inline double getF64(const unsigned char* p) {
    uint64_t v = 0;
    for (int i = 7; i >= 0; --i)
        v = (v << 8) | p[i];
    double d;
    std::memcpy(&d, &v, 8);
    return d;
}

inline void putI32(unsigned char* p, int32_t value) {
    const auto v = static_cast<uint32_t>(value);
    p[0] = v & 0xFF;
    p[1] = (v >> 8) & 0xFF;
    p[2] = (v >> 16) & 0xFF;
    p[3] = (v >> 24) & 0xFF;
}
inline void putU32(unsigned char* p, uint32_t value) {
    putI32(p, static_cast<int32_t>(value));
}
inline void putI16(unsigned char* p, int16_t value) {
    const auto v = static_cast<uint16_t>(value);
    p[0] = v & 0xFF;
    p[1] = (v >> 8) & 0xFF;
}
inline void putF64(unsigned char* p, double d) {
    uint64_t v;
    std::memcpy(&v, &d, 8);
    for (int i = 0; i < 8; ++i, v >>= 8)
        p[i] = v & 0xFF;
}

// string[capacity]: a length byte and `capacity` character bytes. A length
// byte above the capacity (a damaged file) is read as the capacity.
QString getString(const unsigned char* p, int capacity);
// Writes at most `capacity` characters; bytes past the text are left as they were.
void putString(unsigned char* p, int capacity, const QString& text);

} // namespace vlr::codec

// Getter/setter pairs for a field of a byte image `m_bytes`.
#define VLR_FIELD(Type, Name, Offset, Get, Put)                                                              \
    Type Name() const {                                                                                      \
        return ::vlr::codec::Get(m_bytes.data() + (Offset));                                                 \
    }                                                                                                        \
    void set##Name(Type value) {                                                                             \
        ::vlr::codec::Put(m_bytes.data() + (Offset), value);                                                 \
    }
#define VLR_I32(Name, Offset) VLR_FIELD(int32_t, Name, Offset, getI32, putI32)
#define VLR_U32(Name, Offset) VLR_FIELD(uint32_t, Name, Offset, getU32, putU32)
#define VLR_I16(Name, Offset) VLR_FIELD(int16_t, Name, Offset, getI16, putI16)
#define VLR_F64(Name, Offset) VLR_FIELD(double, Name, Offset, getF64, putF64)
#define VLR_STR(Name, Offset, Capacity)                                                                      \
    QString Name() const {                                                                                   \
        return ::vlr::codec::getString(m_bytes.data() + (Offset), Capacity);                                 \
    }                                                                                                        \
    void set##Name(const QString& value) {                                                                   \
        ::vlr::codec::putString(m_bytes.data() + (Offset), Capacity, value);                                 \
    }
#define VLR_BYTES(Name, Offset, Size)                                                                        \
    const unsigned char* Name() const {                                                                      \
        return m_bytes.data() + (Offset);                                                                    \
    }                                                                                                        \
    void set##Name(const unsigned char* value) {                                                             \
        std::memcpy(m_bytes.data() + (Offset), value, Size);                                                 \
    }
