#pragma once
// Writing exported files: whole or not at all (written beside the target and
// renamed over it), and never over a notebook that is open.
#include <QByteArrayView>
#include <QString>
#include <QStringList>

namespace vlr {

class TNotebookService;

// The files an export must leave alone.
class TWriteGuard {
public:
    // Every notebook open in the service, with the journals of their saves.
    static TWriteGuard ForNotebooks(const TNotebookService& service);
    void Protect(const QString& path);
    // The path names a protected file, directly or through symbolic links.
    bool IsProtected(const QString& path) const;

private:
    QStringList m_paths; // canonical
};

struct TWriteResult {
    bool ok = false;
    QString error; // why not, for a message
    explicit operator bool() const { return ok; }
};

enum class TDurability {
    Synced,   // on disk before the rename: a single chosen file
    Unsynced, // one of many files, made again by running the export again
};

// Writes the bytes to a temporary file in the target's folder and renames it
// over the target, so a failure leaves the target as it was.
[[nodiscard]] TWriteResult WriteFileAtomically(const QString& path, QByteArrayView bytes,
                                               const TWriteGuard& guard,
                                               TDurability durability = TDurability::Synced);

// The canonical form of a path whose last parts may not exist yet.
QString CanonicalPath(const QString& path);

} // namespace vlr
