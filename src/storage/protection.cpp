#include "storage/protection.h"

#include "core/codepage.h"
#include "libs/vlrlib.h"
#include "storage/node_root.h"

#include <cerrno>
#include <sys/random.h>

namespace vlr {

void secureWipe(void* data, std::size_t size) {
    explicit_bzero(data, size);
}

bool systemRandom(void* data, std::size_t size) {
    auto* p = static_cast<unsigned char*>(data);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t got = ::getrandom(p + done, size - done, 0);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        done += static_cast<std::size_t>(got);
    }
    return true;
}

QByteArray passwordBytes(const QString& password) {
    const QString first = password.left(NotebookHeader::KeySize);
    if (fitsAnsi(first))
        return toAnsi(first);
    QByteArray utf8 = password.toUtf8();
    if (utf8.size() > NotebookHeader::KeySize) {
        // Cut on a character boundary.
        qsizetype n = NotebookHeader::KeySize;
        while (n > 0 && (static_cast<unsigned char>(utf8[n]) & 0xC0) == 0x80)
            --n;
        utf8.truncate(n);
    }
    return utf8;
}

Digest PasswordDigest(const QString& password) {
    QByteArray bytes = passwordBytes(password);
    const Digest d = TVlrLib::MD5(bytes);
    secureWipe(bytes.data(), static_cast<std::size_t>(bytes.size()));
    return d;
}

MasterKeyBytes DeriveKey(const QString& password) {
    MasterKeyBytes key;
    QByteArray bytes = passwordBytes(password);
    std::size_t n = static_cast<std::size_t>(bytes.size());
    std::memcpy(key.data(), bytes.constData(), n);
    secureWipe(bytes.data(), n);
    while (n < key.size()) {
        const Digest d =
            TVlrLib::MD5(QByteArrayView(reinterpret_cast<const char*>(key.data()), qsizetype(n)));
        const std::size_t take = std::min<std::size_t>(key.size() - n, d.size());
        std::memcpy(key.data() + n, d.data(), take);
        n += take;
    }
    return key;
}

namespace {

Digest digestOf(const MasterKeyBytes& key) {
    return TVlrLib::MD5(QByteArrayView(reinterpret_cast<const char*>(key.data()), qsizetype(key.size())));
}

// Runs the seven 8-byte blocks of a 56-byte key through the cipher keyed by the password.
void cryptKeyBlock(TVlrLib& lib, const MasterKeyBytes& passwordKey, const unsigned char* iv,
                   const unsigned char* in, unsigned char* out, bool encrypt) {
    TVlrLib::BFContext ctx;
    lib.BFInit(ctx, passwordKey.data(), int(passwordKey.size()), iv);
    for (int block = 0; block < NotebookHeader::KeySize / 8; ++block) {
        if (encrypt)
            lib.BFEnc(ctx, in + block * 8, out + block * 8);
        else
            lib.BFDec(ctx, in + block * 8, out + block * 8);
    }
    lib.BFReset(ctx);
    lib.BFBurn(ctx);
}

} // namespace

bool SetupKey(TNodeRoot& notebook, const QString& password) {
    TVlrLib& lib = notebook.engine();
    MasterKeyBytes master;
    if (!systemRandom(master.data(), master.size()))
        return false;
    const Digest digest = digestOf(master);
    unsigned char block[NotebookHeader::KeySize];
    cryptKeyBlock(lib, DeriveKey(password), notebook.Header.KeyIV(), master.data(), block, true);
    notebook.Header.setKeyDigest(digest.data());
    notebook.Header.setKeyBlock(block);
    secureWipe(block, sizeof block);
    notebook.MasterKey = master;
    notebook.KeyHeld = true;
    return true;
}

bool UnlockKey(TVlrLib& lib, const NotebookHeader& header, const QString& password, MasterKeyBytes& key) {
    MasterKeyBytes candidate;
    cryptKeyBlock(lib, DeriveKey(password), header.KeyIV(), header.KeyBlock(), candidate.data(), false);
    const Digest digest = digestOf(candidate);
    if (std::memcmp(digest.data(), header.KeyDigest(), digest.size()) != 0)
        return false; // the candidate is wiped on leaving
    key = candidate;
    return true;
}

bool Unlock(TNodeRoot& notebook, const QString& password) {
    if (!UnlockKey(notebook.engine(), notebook.Header, password, notebook.MasterKey))
        return false;
    notebook.KeyHeld = true;
    return true;
}

bool ProtectWithPassword(TNodeRoot& notebook, const QString& password) {
    const NotebookHeader saved = notebook.Header;
    notebook.Header.setKeyIVFromCreated();
    if (!SetupKey(notebook, password)) {
        notebook.Header = saved;
        return false;
    }
    notebook.PasswordDigest = PasswordDigest(password);
    notebook.SetBookFlag(bfEncrypted, true);
    return true;
}

} // namespace vlr
