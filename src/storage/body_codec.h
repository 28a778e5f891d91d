#pragma once
// The four stored encodings of a note body (as is, compressed, encrypted,
// compressed then encrypted), independent of files and trees.
#include "libs/vlrlib.h"
#include "storage/note_record.h"
#include "storage/secure_bytes.h"

#include <QByteArray>

#include <memory>

namespace vlr {

class TExtLib;

// Bodies and strips never expand past this, whatever a damaged record claims.
constexpr qsizetype kMaxExpandedBody = qsizetype(256) << 20;

// The master key's cipher, keyed once and reused: Blowfish's key schedule
// costs as much as encrypting some 4 KB, and every body uses the same key.
// CBC from a body's own initial vector equals CBC from a zero vector with the
// vector folded into the first block, so one keyed context serves all bodies.
class BodyCipher {
public:
    explicit BodyCipher(TVlrLib& engine);
    ~BodyCipher();
    BodyCipher(const BodyCipher&) = delete;
    BodyCipher& operator=(const BodyCipher&) = delete;

    // Whole 8-byte blocks in place; a tail shorter than a block is left as is.
    void crypt(const MasterKeyBytes& key, QByteArray& data, const unsigned char* iv, bool encrypt);
    // Wipes the key schedule (locking, closing, a new master key).
    void burn();

private:
    TVlrLib& m_engine;
    std::unique_ptr<TVlrLib::BFContext> m_context;
    MasterKeyBytes m_key;
    bool m_keyed = false;
};

struct BodyCodec {
    TVlrLib& engine;
    TExtLib& ext;
    uint32_t version;
    const MasterKeyBytes& key;
    BodyCipher& cipher;

    // Compression of one buffer by the method of the notebook's version;
    // appends to dst. False when the compressor failed.
    bool compress(QByteArrayView src, QByteArray& dst) const;
    bool expand(QByteArrayView src, QByteArray& dst, qsizetype maxOut) const;

    // Encrypts or decrypts whole 8-byte blocks in place with the note's
    // creation time as initial vector.
    void crypt(QByteArray& data, const unsigned char* iv, bool encrypt) const {
        cipher.crypt(key, data, iv, encrypt);
    }

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
