#pragma once
// Password protection: the password encrypts a random 56-byte master key kept
// in the header; the master key encrypts note bodies.
#include "storage/secure_bytes.h"

#include <QByteArray>
#include <QString>
#include <array>

namespace vlr {

class NotebookHeader;
class TNodeRoot;
class TVlrLib;

using Digest = std::array<unsigned char, 16>;

// The bytes a password stands for: its first 56 characters in Windows-1251.
// A password that code page cannot hold is taken as UTF-8 (cut to 56 bytes)
// so that different passwords never collapse into the same "?" bytes.
QByteArray passwordBytes(const QString& password);
// MD5 of the password bytes: kept in memory to check the old password when it is changed.
Digest PasswordDigest(const QString& password);
// 56 bytes: the password, stretched with MD5 digests of what is there so far.
MasterKeyBytes DeriveKey(const QString& password);
// A new random master key, its digest and the key block under the password.
// False (notebook unchanged) when the system's random source fails.
bool SetupKey(TNodeRoot& notebook, const QString& password);
// Puts the notebook under a password: digest, initial vector from Created,
// a new master key, the encrypted flag. False (notebook unchanged) when the
// system's random source fails.
[[nodiscard]] bool ProtectWithPassword(TNodeRoot& notebook, const QString& password);
// Recovers the master key with the password; on a wrong password the notebook
// stays locked and nothing in it changes.
bool Unlock(TNodeRoot& notebook, const QString& password);
// The master key behind a header's key block, when the password opens it;
// false (key untouched) otherwise.
bool UnlockKey(TVlrLib& lib, const NotebookHeader& header, const QString& password, MasterKeyBytes& key);
// Fills the buffer from the system's cryptographic random source.
bool systemRandom(void* data, std::size_t size);

} // namespace vlr
