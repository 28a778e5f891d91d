#pragma once
// A new notebook made of what a damaged one still holds, written through the
// notebook service like any new notebook: under a temporary name, given its
// own name only when complete. The damaged file is never written.
#include "storage/storage_error.h"

#include <QString>

namespace vlr {

class DamagedNotebook;
class TNodeRoot;
class TNotebookService;
struct SalvageResult;

enum class SalvageTarget { Fine, SameFile, Exists };

// Whether out may take the salvage of damaged: never the damaged file itself
// (under any name or link), an existing file only when replace is set.
SalvageTarget CheckSalvageTarget(const QString& damaged, const QString& out, bool replace);

// Builds the notebook in the service and saves it as out. Returns it (open
// in the service), or none with error set and the service as before. The
// new notebook keeps the damaged one's title, author, looks and settings;
// with the damaged notebook's key held it is encrypted under the same
// password.
TNodeRoot* WriteSalvagedNotebook(TNotebookService& service, const DamagedNotebook& source,
                                 const SalvageResult& result, const QString& out, StorageError* error);

} // namespace vlr
