#pragma once
// The four stored encodings of a note body (as is, compressed, encrypted,
// compressed then encrypted), independent of files and trees.
#include "storage/note_record.h"
#include "storage/secure_bytes.h"

#include <QByteArray>

namespace vlr {

class TVlrLib;
class TExtLib;

// Bodies and strips never expand past this, whatever a damaged record claims.
constexpr qsizetype kMaxExpandedBody = qsizetype(256) << 20;

struct BodyCodec {
    TVlrLib& engine;
    TExtLib& ext;
    uint32_t version;
    const MasterKeyBytes& key;

    // Compression of one buffer by the method of the notebook's version;
    // appends to dst. False when the compressor failed.
    bool compress(QByteArrayView src, QByteArray& dst) const;
    bool expand(QByteArrayView src, QByteArray& dst, qsizetype maxOut) const;

    // Encrypts or decrypts whole 8-byte blocks in place (the length must be a
    // multiple of 8) with the note's creation time as initial vector.
    void crypt(QByteArray& data, const unsigned char* iv, bool encrypt) const;

    struct Encoded {
        QByteArray bytes; // what goes to the file (before the reserve padding)
        bool compressed = false;
    };
    // Encodes a body as the notebook flags ask and updates the record's
    // RTFSize and Digest as the format defines.
    Encoded encode(const QByteArray& body, bool compress, bool encrypt, NoteRecord& record) const;

    struct Decoded {
        QByteArray body;
        bool digestOk = true;
        bool expandOk = true;
    };
    // Decodes stored bytes by the record's note flags.
    Decoded decode(QByteArray stored, const NoteRecord& record) const;
};

} // namespace vlr
