#include "storage/body_codec.h"

#include <new>

#include "libs/extlib.h"
#include "libs/vlrlib.h"
#include "storage/trace.h"

namespace vlr {

bool BodyCodec::compress(QByteArrayView src, QByteArray& dst) const {
    if (version >= 5)
        return engine.BZC(src, dst);
    return ext.PackProc(src, dst, 1) > 0;
}

bool BodyCodec::expand(QByteArrayView src, QByteArray& dst, qsizetype maxOut) const {
    if (version >= 5)
        return engine.BZD(src, dst, maxOut);
    // The extension library bounds its own output.
    const qsizetype before = dst.size();
    const bool ok = ext.PackProc(src, dst, 0) != 0;
    if (ok && dst.size() - before > maxOut) {
        dst.truncate(before);
        return false;
    }
    return ok;
}

BodyCipher::BodyCipher(TVlrLib& engine) : m_engine(engine) {}

BodyCipher::~BodyCipher() {
    burn();
}

void BodyCipher::burn() {
    if (m_context)
        m_engine.BFBurn(*m_context);
    m_key.wipe();
    m_keyed = false;
}

void BodyCipher::crypt(const MasterKeyBytes& key, QByteArray& data, const unsigned char* iv, bool encrypt) {
    if (!m_context)
        m_context = std::make_unique<TVlrLib::BFContext>();
    auto& ctx = *m_context;
    if (!m_keyed || !(m_key == key)) {
        static const unsigned char zero[8] = {};
        m_engine.BFInit(ctx, key.data(), int(key.size()), zero);
        m_key = key;
        m_keyed = true;
    }
    m_engine.BFReset(ctx); // back to the zero vector
    auto* p = reinterpret_cast<unsigned char*>(data.data());
    const qsizetype blocks = data.size() / 8;
    for (qsizetype b = 0; b < blocks; ++b) {
        unsigned char* block = p + b * 8;
        if (encrypt) {
            if (b == 0)
                for (int i = 0; i < 8; ++i)
                    block[i] ^= iv[i];
            m_engine.BFEnc(ctx, block, block);
        } else {
            m_engine.BFDec(ctx, block, block);
            if (b == 0)
                for (int i = 0; i < 8; ++i)
                    block[i] ^= iv[i];
        }
    }
}

BodyCodec::Encoded BodyCodec::encode(const QByteArray& body, bool doCompress, bool doEncrypt,
                                     NoteRecord& record) const {
    Encoded out;
    if (doCompress) {
        try {
            out.compressed = compress(body, out.bytes);
        } catch (const std::bad_alloc&) {
            out.compressed = false; // too large to compress here: stored as it is
        }
        if (!out.compressed)
            out.bytes = body; // a failed compressor leaves the body as it is
        qCDebug(lcStorage).noquote() << "StoreNote: Compressing " << body.size() << " to "
                                     << out.bytes.size();
    }
    if (doEncrypt) {
        qCDebug(lcStorage).noquote() << "StoreNote: Node is encrypted...";
        if (doCompress)
            record.setRTFSize(int32_t(out.bytes.size()));
        else
            out.bytes = body;
        const qsizetype length = out.bytes.size();
        if (length % 8 != 0) {
            out.bytes.append(QByteArray(8 - length % 8, '\0'));
            qCDebug(lcStorage).noquote() << "StoreNote: was: " << length << " , is: " << out.bytes.size()
                                         << " , RTFSize: " << record.RTFSize();
        }
        const auto digest = TVlrLib::MD5(out.bytes);
        record.setDigest(digest.data());
        crypt(out.bytes, record.CreatedBytes(), true);
    }
    return out;
}

BodyCodec::Decoded BodyCodec::decode(QByteArray data, const NoteRecord& record) const {
    Decoded out;
    const uint32_t flags = record.NoteFlags();
    if (flags & nfEncrypted) {
        // A stored length that is not whole blocks leaves its tail as it is.
        crypt(data, record.CreatedBytes(), false);
        const auto digest = TVlrLib::MD5(data);
        out.digestOk = std::memcmp(digest.data(), record.Digest(), digest.size()) == 0;
    }
    if (flags & nfCompressed) {
        if ((flags & nfEncrypted) && record.RTFSize() > 0 && record.RTFSize() < data.size())
            data.truncate(record.RTFSize());
        const qsizetype bound =
            record.RawSize() > 0 ? qMin<qsizetype>(record.RawSize(), kMaxExpandedBody) : kMaxExpandedBody;
        QByteArray expanded;
        bool ok = false;
        try {
            ok = expand(data, expanded, bound);
        } catch (const std::bad_alloc&) {
            ok = false; // reported like any body that cannot be expanded
        }
        out.expandOk = ok;
        out.body = ok ? expanded : data;
    } else {
        // The cipher's zero padding is not part of the body: RawSize says
        // where the body ends. Only padding is ever cut.
        const qsizetype raw = record.RawSize();
        if ((flags & nfEncrypted) && raw > 0 && raw < data.size() && data.size() - raw < 8 &&
            QByteArrayView(data).sliced(raw).count('\0') == data.size() - raw)
            data.truncate(raw);
        out.body = data;
    }
    return out;
}

} // namespace vlr
