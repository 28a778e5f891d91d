#include "storage/body_codec.h"

#include "libs/extlib.h"
#include "libs/vlrlib.h"
#include "storage/trace.h"

namespace vlr {

bool BodyCodec::compress(QByteArrayView src, QByteArray& dst) const
{
    if (version >= 5)
        return engine.BZC(src, dst);
    return ext.PackProc(src, dst, 1) > 0;
}

bool BodyCodec::expand(QByteArrayView src, QByteArray& dst, qsizetype maxOut) const
{
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

void BodyCodec::crypt(QByteArray& data, const unsigned char* iv, bool encrypt) const
{
    auto* p = reinterpret_cast<unsigned char*>(data.data());
    TVlrLib::BFContext ctx;
    engine.BFInit(ctx, key.data(), int(key.size()), iv);
    for (qsizetype i = 0; i + 8 <= data.size(); i += 8) {
        if (encrypt)
            engine.BFEnc(ctx, p + i, p + i);
        else
            engine.BFDec(ctx, p + i, p + i);
    }
    engine.BFReset(ctx);
    engine.BFBurn(ctx);
}

BodyCodec::Encoded BodyCodec::encode(const QByteArray& body, bool doCompress, bool doEncrypt, NoteRecord& record) const
{
    Encoded out;
    if (doCompress) {
        try {
            out.compressed = compress(body, out.bytes);
        } catch (...) {
            out.compressed = false;
        }
        if (!out.compressed)
            out.bytes = body; // a failed compressor leaves the body as it is
        qCDebug(lcStorage).noquote() << "StoreNote: Compressing " << body.size() << " to " << out.bytes.size();
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

BodyCodec::Decoded BodyCodec::decode(QByteArray data, const NoteRecord& record) const
{
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
        const qsizetype bound = record.RawSize() > 0 ? qMin<qsizetype>(record.RawSize(), kMaxExpandedBody)
                                                    : kMaxExpandedBody;
        QByteArray expanded;
        bool ok = false;
        try {
            ok = expand(data, expanded, bound);
        } catch (...) {
            ok = false;
        }
        out.expandOk = ok;
        out.body = ok ? expanded : data;
    } else {
        out.body = data;
    }
    return out;
}

} // namespace vlr
