#pragma once
// The 520-byte tree record of one note, held byte for byte.
#include "storage/field_codec.h"

#include <array>

namespace vlr {

// NoteFlags bits.
enum : uint32_t { nfCompressed = 1, nfEncrypted = 2, nfReadOnly = 4 };

class NoteRecord {
public:
    static constexpr int Bytes = 520;

    NoteRecord() { m_bytes.fill(0); }

    unsigned char* data() { return m_bytes.data(); }
    const unsigned char* data() const { return m_bytes.data(); }
    void clear() { m_bytes.fill(0); }

    VLR_I32(FontColor, 0)
    VLR_I32(FontStyle, 4)
    VLR_I32(EditorColor, 8)
    VLR_I32(SelStart, 12)
    VLR_I32(SelLength, 16)
    VLR_U32(NoteFlags, 20)
    VLR_I32(Expanded, 24)
    VLR_I32(Level, 28)
    VLR_I32(Offset, 32)
    VLR_I32(Size, 36)
    VLR_I32(SizeReserved, 40)
    VLR_F64(Saved, 48)
    VLR_F64(Created, 56)
    VLR_I16(ImageIndex, 64)
    VLR_I16(StateIndex, 66)
    VLR_BYTES(Digest, 68, 16)
    VLR_I32(RTFSize, 88)
    VLR_I32(MarginTop, 92)
    VLR_I32(MarginLeft, 96)
    VLR_I32(MarginRight, 100)
    VLR_I32(MarginBottom, 104)
    VLR_I32(PlainText, 108)
    VLR_I32(RawSize, 112)
    VLR_I32(RealposX, 116)
    VLR_I32(RealposY, 120)
    VLR_I32(Zoom, 124)
    VLR_STR(HeaderFormat, 128, 80)
    VLR_STR(FHFontName, 209, 31)
    VLR_I32(FHFontSize, 244)
    VLR_I32(FHFontCharset, 248)
    VLR_I32(FHFontColor, 252)
    VLR_I32(FHFontStyle, 256)
    VLR_STR(NoteName, 260, 100)
    VLR_STR(FooterFormat, 361, 80)
    VLR_U32(PrintFlags, 444)
    VLR_I32(Deleted, 448)
    VLR_I32(Favorite, 452)
    VLR_I32(BackColor, 456)
    VLR_I32(ChildSort, 460)
    VLR_BYTES(ID, 464, 16)

    const unsigned char* CreatedBytes() const { return m_bytes.data() + 56; }
    bool hasId() const {
        // Files from before notes had identifiers leave the first four bytes zero.
        return m_bytes[464] | m_bytes[465] | m_bytes[466] | m_bytes[467];
    }

    // Takes another note's title looks, picture, margins and print settings
    // (what a new or imported note inherits); the editor colours are separate.
    void copyLooksFrom(const NoteRecord& from) {
        setFontColor(from.FontColor());
        setFontStyle(from.FontStyle());
        setImageIndex(from.ImageIndex());
        setMarginTop(from.MarginTop());
        setMarginLeft(from.MarginLeft());
        setMarginRight(from.MarginRight());
        setMarginBottom(from.MarginBottom());
        setHeaderFormat(from.HeaderFormat());
        setFooterFormat(from.FooterFormat());
        setFHFontName(from.FHFontName());
        setFHFontSize(from.FHFontSize());
        setFHFontCharset(from.FHFontCharset());
        setFHFontColor(from.FHFontColor());
        setFHFontStyle(from.FHFontStyle());
        setPrintFlags(from.PrintFlags());
    }

private:
    std::array<unsigned char, Bytes> m_bytes;
};

} // namespace vlr
