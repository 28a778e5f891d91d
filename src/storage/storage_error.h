#pragma once
// Why a notebook could not be read, written or trusted, as a cause with its
// particulars. The storage layer says what happened; the program turns the
// cause into its own message, vlr and the log into the English description.
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

namespace vlr {

enum class StorageCause {
    None,
    System,            // a system call failed: code is its errno, subject the file when known
    InUse,             // another process holds the notebook
    BeingSaved,        // another process is saving the notebook
    NotRegularFile,    // the name leads to something else than a file
    NotOpenForWriting, // a write to a notebook opened for reading
    UnexpectedEnd,     // the file ends before the data it should hold
    Exists,            // subject: a file that exists already
    Replaced,          // subject: the file was removed or replaced by another program
    ReadOnly,          // the notebook is open for reading only
    RecoveryFailed,    // a save cut short could not be undone: see reason
    NotRestored,       // a failed save could not be undone now: see reason; done at the next open
    NotPutBack,        // earlier failed a save, and putting the file back failed too: see reason
    JournalNotStarted, // subject: the journal written to before it began
    WriteBeforeStart,  // a write before the start of the file
    TooLarge,          // the notebook would grow past what its format addresses
    BodyOutsideFile,   // subject: the note whose body lies outside the file
    BodyUnreadable,    // subject: the note whose body could not be read
    Locked,            // the notebook's password was not given
    NoPassword,        // a protection change without a password
    RandomFailed,      // the system's random source failed
    // Damage found when the notebook was read.
    TreeUnreadable,      // the tree table could not be read whole
    TreeOffsetOutside,   // number: the offset of the tree table
    NegativeRecordCount, // number: the count
    NegativeBodySize,    // subject: the note
    BodyOutsideArea,     // subject: the note; number..number2: its body
    BodiesOverlap,       // subject and other: the two notes
};

struct StorageError {
    StorageCause cause = StorageCause::None;
    int code = 0;
    QString subject;
    QString other;
    qint64 number = 0;
    qint64 number2 = 0;
    // The failure behind this one (RecoveryFailed, NotRestored, NotPutBack)
    // and the one before it (NotPutBack).
    std::shared_ptr<const StorageError> reason;
    std::shared_ptr<const StorageError> earlier;

    bool failed() const { return cause != StorageCause::None; }
    static StorageError of(StorageCause cause, const QString& subject = {});
    static StorageError system(int code, const QString& subject = {});
    // This cause with another failure behind it.
    static StorageError because(StorageCause cause, const StorageError& reason);
};

// The English description, for vlr and the log.
QString describe(const StorageError& error);
QStringList describe(const QList<StorageError>& errors);

} // namespace vlr
