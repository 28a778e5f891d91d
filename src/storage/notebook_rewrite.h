#pragma once
// Changes that store every body of a notebook again: compression on or off,
// encryption on or off, a new password, a new reserve size. Each loads every
// body first and refuses when one cannot be read, so no body is left in the
// old encoding; the new bodies and the header go to the file in one atomic
// save, so the file holds either the old notebook or the new one.
#include "storage/storage_error.h"

#include <QString>

#include <cstdint>

namespace vlr {

class TNodeRoot;

struct RewriteOutcome {
    bool ok = false;
    // Why nothing or not everything reached the file (for the message).
    StorageError error;
};

// Loads the body of every live note; false with error naming the first note
// that could not be read (nothing is changed then).
bool LoadEveryBody(TNodeRoot& notebook, StorageError* error);

// Flips compression; with a file, saves and packs with purge.
RewriteOutcome ToggleCompression(TNodeRoot& notebook);
// Encrypts under password (not empty) or decrypts (password ignored); with a
// file, saves and packs with purge so no old body stays in the file.
RewriteOutcome ToggleEncryption(TNodeRoot& notebook, const QString& password);
// A new master key under the new password; every body is stored again. Deleted
// notes would stay under the old key, which is gone: they are purged.
RewriteOutcome ChangeNotebookPassword(TNodeRoot& notebook, const QString& password);
// The reserve every body keeps; with a file, saves and packs without purge.
RewriteOutcome ChangeReserveSize(TNodeRoot& notebook, int32_t reserve);

} // namespace vlr
