#pragma once
// TVlrLib: the one loader of the engine library libVellinor.so (bzip2
// streams, Blowfish, hex digits) and the program's MD5.
#include <QByteArray>
#include <QByteArrayView>
#include <QFunctionPointer>
#include <QString>
#include <QStringView>

#include <array>
#include <memory>

namespace vlr {

class CompanionLibrary;

// Raised by storage operations (and by the calls below) without the engine.
inline constexpr QStringView kEngineLoadError = u"FATAL: Unable to initalize file storage engine!";
inline constexpr QStringView kEngineFileName = u"libVellinor.so";

class TVlrLib {
public:
    static TVlrLib& instance();
    // Folder the library is loaded from; the program's folder until set.
    // Takes effect at the next load (after Unload when already loaded).
    static void setLibraryFolder(const QString& folder);
    static QString libraryFolder();

    // Tries the load once when nothing is loaded yet; true when the file
    // loaded and every entry point resolved.
    bool IsLoaded();
    void Unload();
    // Why the last load failed; empty after a successful one.
    QString errorString() const;

    // The calls below load the library when needed and throw EVellinorError
    // with kEngineLoadError when it cannot be loaded.

    // Compress src, appending to dst. False on failure (dst unchanged then).
    bool BZC(QByteArrayView src, QByteArray& dst);
    // Expand one stream from src, appending to dst; false when not a valid
    // stream or the output would exceed maxOut (dst unchanged then).
    bool BZD(QByteArrayView src, QByteArray& dst, qsizetype maxOut = qsizetype(1) << 30);

    // Caller-owned cipher context, zeroed on construction and destruction.
    struct BFContext {
        alignas(16) unsigned char bytes[4184];
        BFContext();
        ~BFContext();
        BFContext(const BFContext&) = delete;
        BFContext& operator=(const BFContext&) = delete;
    };
    // Key of 8 to 56 bytes (the program always uses 56); throws
    // EVellinorError on another length.
    void BFInit(BFContext& ctx, const unsigned char* key, int keyLength, const unsigned char iv[8]);
    void BFEnc(BFContext& ctx, const unsigned char* in, unsigned char* out); // 8 bytes, may alias
    void BFDec(BFContext& ctx, const unsigned char* in, unsigned char* out);
    // Ends a run: the next block chains from the initial vector again.
    void BFReset(BFContext& ctx);
    // Wipes the context (also when the library is not loaded).
    void BFBurn(BFContext& ctx);
    // Upper-case digits.
    void ByteToHex(unsigned char b, char* high, char* low);

    // The program's own MD5 (RFC 1321, nettle), kept beside the entry points.
    static std::array<unsigned char, 16> MD5(QByteArrayView data);

    ~TVlrLib();
    TVlrLib(const TVlrLib&) = delete;
    TVlrLib& operator=(const TVlrLib&) = delete;

private:
    TVlrLib();
    void ensureLoaded();
    template <typename F> F entry(int index);

    std::unique_ptr<CompanionLibrary> m_library;
    std::array<QFunctionPointer, 8> m_entries{};
};

} // namespace vlr
