#pragma once
// The 1024-byte notebook header, held byte for byte: reserved bytes survive
// a read and a write unchanged.
#include "storage/field_codec.h"

#include <array>

namespace vlr {

// BookFlags bits.
enum : uint32_t { bfCompressed = 1, bfEncrypted = 2, bfReadOnly = 4 };

class NotebookHeader {
public:
    static constexpr int Bytes = 1024;
    static constexpr int KeySize = 56;
    static constexpr int kCreatedOffset = 32;

    NotebookHeader() { m_bytes.fill(0); }

    unsigned char* data() { return m_bytes.data(); }
    const unsigned char* data() const { return m_bytes.data(); }
    void clear() { m_bytes.fill(0); }
    // A new key block's initial vector is the 8 bytes of Created.
    void setKeyIVFromCreated() { setKeyIV(m_bytes.data() + kCreatedOffset); }

    QByteArray Magic() const { return QByteArray(reinterpret_cast<const char*>(m_bytes.data()), 4); }
    void setMagic() { std::memcpy(m_bytes.data(), "VLRD", 4); }
    VLR_U32(Version, 4)
    VLR_I32(RootExpanded, 8)
    VLR_I16(RootImageIndex, 12)
    VLR_I16(RootStateIndex, 14)
    VLR_I32(TreeOffset, 16)
    VLR_I32(LastRecord, 20)
    VLR_I32(RootFontColor, 24)
    VLR_I32(RootFontStyle, 28)
    VLR_F64(Created, kCreatedOffset)
    VLR_I32(LastAppended, 40)
    VLR_I32(ReserveSize, 44)
    VLR_U32(BookFlags, 48)
    VLR_I32(SelectedNote, 52)
    VLR_BYTES(KeyIV, 56, 8)
    VLR_STR(Author, 64, 100)
    VLR_STR(Company, 165, 100)
    VLR_STR(Comments, 266, 200)
    VLR_I32(MarginTop, 467)
    VLR_I32(MarginLeft, 471)
    VLR_I32(MarginRight, 475)
    VLR_I32(MarginBottom, 479)
    VLR_BYTES(KeyBlock, 483, KeySize)
    VLR_BYTES(KeyDigest, 611, 16)
    VLR_I32(AutoSaveMinutes, 627)
    VLR_I32(AutoSaveEnabled, 631)
    VLR_STR(BookName, 635, 100)
    VLR_STR(PasswordReminder, 736, 150)
    VLR_I32(DefaultNoteImage, 887)
    VLR_U32(AwayTime, 891)
    VLR_U32(CloseTime, 895)
    VLR_I32(RootBackColor, 899)
    VLR_I32(RootChildSort, 903)

    bool magicValid() const { return std::memcmp(m_bytes.data(), "VLRD", 4) == 0; }
    // A header is a notebook's when the magic matches and the version is known.
    bool isValid() const { return magicValid() && Version() <= 5; }

private:
    std::array<unsigned char, Bytes> m_bytes;
};

} // namespace vlr
