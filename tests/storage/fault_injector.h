#pragma once
// Fault injection under the file layer: records every call that changes a
// file, and stops the process ("crash": every call after the Nth does
// nothing) or fails the Nth call (or every call from the Nth) with an errno.
// A recorded log also yields what a disk could hold after a power cut.
// Syncs are logged but not made: what they would make durable is modelled.
#include "storage/file_io.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QRandomGenerator>
#include <QString>

namespace vlr::test {

struct LoggedCall {
    fileio::Op op;
    QString path;
    QString target;
    qint64 offset = 0;
    QByteArray data;
};

class FaultInjector final : public fileio::Hook {
public:
    enum class Mode { Record, Crash, Fail, FailFrom };
    // Installs itself for its lifetime.
    explicit FaultInjector(Mode mode = Mode::Record, int at = 0, int error = 0);
    ~FaultInjector() override;
    FaultInjector(const FaultInjector&) = delete;
    FaultInjector& operator=(const FaultInjector&) = delete;

    fileio::Verdict before(const fileio::Event& event) override;

    // Calls seen so far (1-based positions: the Nth is calls()[N - 1]).
    int count() const { return m_count; }
    const QList<LoggedCall>& calls() const { return m_log; }
    // Whether the fault was reached.
    bool struck() const { return m_struck; }

private:
    Mode m_mode;
    int m_at;
    int m_error;
    int m_count = 0;
    bool m_struck = false;
    QList<LoggedCall> m_log;
};

// Files of one folder by name (no folder part).
using FolderImage = QHash<QString, QByteArray>;

// What the folder could hold if power failed after the first `cut` calls
// of the log: every call before the last sync of its file (or, for names,
// of the folder) is there; of the calls after it, the random generator
// picks which reached the disk - names in order, and data in pieces of at
// most a page each, any of them lost.
FolderImage afterPowerCut(const FolderImage& before, const QList<LoggedCall>& log, int cut,
                          QRandomGenerator* random);
// Calls in the log that a power cut after `cut` calls could lose.
int unsyncedCalls(const QList<LoggedCall>& log, int cut);

FolderImage readFolder(const QString& folder);
void writeFolder(const QString& folder, const FolderImage& image);

} // namespace vlr::test
