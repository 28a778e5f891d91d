#include "libs/vlrlib.h"

#include "core/error.h"
#include "libs/buffer_sinks.h"
#include "libs/companion_library.h"
#include "libs/engine/engine_abi.h"

#include <nettle/md5.h>

#include <cstring>
#include <limits>

namespace vlr {

namespace {

enum Entry { EBZC, EBZD, EBFInit, EBFReset, EBFBurn, EBFEnc, EBFDec, EByteToHex, EntryCount };

// Every one is required: the library counts as loaded only with all of them.
constexpr CompanionLibrary::Export kExports[EntryCount] = {
    {"BZC", true},    {"BZD", true},   {"BFInit", true}, {"BFReset", true},
    {"BFBurn", true}, {"BFEnc", true}, {"BFDec", true},  {"ByteToHex", true},
};

static_assert(sizeof(TVlrLib::BFContext::bytes) == VLR_BF_CONTEXT_SIZE);

void wipe(void* p, size_t n) {
    volatile unsigned char* b = static_cast<volatile unsigned char*>(p);
    for (size_t i = 0; i < n; ++i)
        b[i] = 0;
}

} // namespace

TVlrLib::TVlrLib() : m_library(std::make_unique<CompanionLibrary>(kEngineFileName.toString())) {
    static_assert(std::tuple_size_v<decltype(m_entries)> == EntryCount);
}

TVlrLib::~TVlrLib() = default;

TVlrLib& TVlrLib::instance() {
    static TVlrLib lib;
    return lib;
}

void TVlrLib::setLibraryFolder(const QString& folder) {
    instance().m_library->setFolder(folder);
}

QString TVlrLib::libraryFolder() {
    return instance().m_library->folder();
}

bool TVlrLib::IsLoaded() {
    return m_library->loadIfNeeded(kExports, m_entries);
}

void TVlrLib::Unload() {
    m_library->unload(m_entries);
}

QString TVlrLib::errorString() const {
    return m_library->errorString();
}

void TVlrLib::ensureLoaded() {
    if (!IsLoaded())
        throw EVellinorError(kEngineLoadError.toString(), errorString());
}

template <typename F> F TVlrLib::entry(int index) {
    ensureLoaded();
    return reinterpret_cast<F>(m_entries[size_t(index)]);
}

bool TVlrLib::BZC(QByteArrayView src, QByteArray& dst) {
    auto bzc = entry<decltype(&::BZC)>(EBZC);
    const qsizetype before = dst.size();
    ByteArraySink sink{&dst, std::numeric_limits<qsizetype>::max()};
    if (bzc(src.data(), size_t(src.size()), &ByteArraySink::append, &sink))
        return true;
    dst.truncate(before);
    return false;
}

bool TVlrLib::BZD(QByteArrayView src, QByteArray& dst, qsizetype maxOut) {
    auto bzd = entry<decltype(&::BZD)>(EBZD);
    const qsizetype before = dst.size();
    ByteArraySink sink{&dst, std::numeric_limits<qsizetype>::max()};
    if (maxOut >= 0 && bzd(src.data(), size_t(src.size()), &ByteArraySink::append, &sink, size_t(maxOut)))
        return true;
    dst.truncate(before);
    return false;
}

TVlrLib::BFContext::BFContext() {
    std::memset(bytes, 0, sizeof bytes);
}

TVlrLib::BFContext::~BFContext() {
    wipe(bytes, sizeof bytes);
}

void TVlrLib::BFInit(BFContext& ctx, const unsigned char* key, int keyLength, const unsigned char iv[8]) {
    auto init = entry<decltype(&::BFInit)>(EBFInit);
    if (!init(ctx.bytes, key, keyLength, iv))
        throw EVellinorError(QStringLiteral("Blowfish key of %1 bytes (8 to 56 expected)").arg(keyLength));
}

void TVlrLib::BFEnc(BFContext& ctx, const unsigned char* in, unsigned char* out) {
    entry<decltype(&::BFEnc)>(EBFEnc)(ctx.bytes, in, out);
}

void TVlrLib::BFDec(BFContext& ctx, const unsigned char* in, unsigned char* out) {
    entry<decltype(&::BFDec)>(EBFDec)(ctx.bytes, in, out);
}

void TVlrLib::BFReset(BFContext& ctx) {
    entry<decltype(&::BFReset)>(EBFReset)(ctx.bytes);
}

void TVlrLib::BFBurn(BFContext& ctx) {
    if (m_library->isLoaded())
        reinterpret_cast<decltype(&::BFBurn)>(m_entries[EBFBurn])(ctx.bytes);
    else
        wipe(ctx.bytes, sizeof ctx.bytes);
}

void TVlrLib::ByteToHex(unsigned char b, char* high, char* low) {
    entry<decltype(&::ByteToHex)>(EByteToHex)(b, high, low);
}

std::array<unsigned char, 16> TVlrLib::MD5(QByteArrayView data) {
    md5_ctx ctx;
    md5_init(&ctx);
    md5_update(&ctx, size_t(data.size()), reinterpret_cast<const uint8_t*>(data.data()));
    std::array<unsigned char, 16> digest{};
    md5_digest(&ctx, digest.size(), digest.data());
    return digest;
}

} // namespace vlr
