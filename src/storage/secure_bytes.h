#pragma once
// Fixed-size key material that is wiped when it goes out of scope.
#include <array>
#include <cstddef>
#include <cstring>

namespace vlr {

// Zeroes memory in a way the optimiser may not drop.
void secureWipe(void* data, std::size_t size);

template <std::size_t N> class SecureBytes {
public:
    SecureBytes() { m_bytes.fill(0); }
    SecureBytes(const SecureBytes& other) : m_bytes(other.m_bytes) {}
    SecureBytes& operator=(const SecureBytes& other) {
        m_bytes = other.m_bytes;
        return *this;
    }
    ~SecureBytes() { wipe(); }

    unsigned char* data() { return m_bytes.data(); }
    const unsigned char* data() const { return m_bytes.data(); }
    static constexpr std::size_t size() { return N; }
    unsigned char& operator[](std::size_t i) { return m_bytes[i]; }
    unsigned char operator[](std::size_t i) const { return m_bytes[i]; }
    void wipe() { secureWipe(m_bytes.data(), N); }
    bool isZero() const {
        unsigned char acc = 0;
        for (unsigned char b : m_bytes)
            acc |= b;
        return acc == 0;
    }
    bool operator==(const SecureBytes& other) const { return m_bytes == other.m_bytes; }

private:
    std::array<unsigned char, N> m_bytes;
};

using MasterKeyBytes = SecureBytes<56>;

} // namespace vlr
