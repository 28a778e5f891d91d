#include "storage/storage_error.h"

#include "storage/file_io.h"

namespace vlr {

StorageError StorageError::of(StorageCause cause, const QString& subject) {
    StorageError e;
    e.cause = cause;
    e.subject = subject;
    return e;
}

StorageError StorageError::system(int code, const QString& subject) {
    StorageError e = of(StorageCause::System, subject);
    e.code = code;
    return e;
}

StorageError StorageError::because(StorageCause cause, const StorageError& reason) {
    StorageError e = of(cause);
    e.reason = std::make_shared<const StorageError>(reason);
    return e;
}

QString describe(const StorageError& e) {
    const QString reason = e.reason ? describe(*e.reason) : QString();
    switch (e.cause) {
    case StorageCause::None:
        return {};
    case StorageCause::System:
        return e.subject.isEmpty() ? fileio::errorText(e.code)
                                   : QStringLiteral("%1: %2").arg(e.subject, fileio::errorText(e.code));
    case StorageCause::InUse:
        return QStringLiteral("the notebook is in use by another process");
    case StorageCause::BeingSaved:
        return QStringLiteral("the notebook is being saved by another process");
    case StorageCause::NotRegularFile:
        return QStringLiteral("not a regular file");
    case StorageCause::NotOpenForWriting:
        return QStringLiteral("the notebook file is not open for writing");
    case StorageCause::UnexpectedEnd:
        return QStringLiteral("unexpected end of file");
    case StorageCause::Exists:
        return QStringLiteral("%1 exists already").arg(e.subject);
    case StorageCause::Replaced:
        return QStringLiteral("%1 was removed or replaced by another program").arg(e.subject);
    case StorageCause::ReadOnly:
        return QStringLiteral("the notebook is open for reading only");
    case StorageCause::RecoveryFailed:
        return QStringLiteral("a save cut short could not be undone: %1").arg(reason);
    case StorageCause::NotRestored:
        return reason + QStringLiteral("; the file is put back from its journal when next opened");
    case StorageCause::NotPutBack:
        return (e.earlier ? describe(*e.earlier) : QString()) +
               QStringLiteral("; it could not be put back either: ") + reason;
    case StorageCause::JournalNotStarted:
        return QStringLiteral("%1: not started").arg(e.subject);
    case StorageCause::WriteBeforeStart:
        return QStringLiteral("a write before the start of the file");
    case StorageCause::TooLarge:
        return QStringLiteral("the notebook would grow past 2 GB, more than its format can address");
    case StorageCause::BodyOutsideFile:
        return QStringLiteral("the body of \"%1\" lies outside the file").arg(e.subject);
    case StorageCause::BodyUnreadable:
        return QStringLiteral("the body of \"%1\" could not be read").arg(e.subject);
    case StorageCause::Locked:
        return QStringLiteral("the notebook is locked");
    case StorageCause::NoPassword:
        return QStringLiteral("no password");
    case StorageCause::RandomFailed:
        return QStringLiteral("the system's random source failed");
    case StorageCause::TreeUnreadable:
        return QStringLiteral("the tree table could not be read whole");
    case StorageCause::TreeOffsetOutside:
        return QStringLiteral("the tree table offset %1 lies outside the file").arg(e.number);
    case StorageCause::NegativeRecordCount:
        return QStringLiteral("the record count %1 is negative").arg(e.number);
    case StorageCause::NegativeBodySize:
        return QStringLiteral("note \"%1\": negative body size").arg(e.subject);
    case StorageCause::BodyOutsideArea:
        return QStringLiteral("note \"%1\": body at %2..%3 lies outside the body area")
            .arg(e.subject)
            .arg(e.number)
            .arg(e.number2);
    case StorageCause::BodiesOverlap:
        return QStringLiteral("notes \"%1\" and \"%2\": bodies overlap").arg(e.subject, e.other);
    }
    return {};
}

QStringList describe(const QList<StorageError>& errors) {
    QStringList out;
    for (const StorageError& e : errors)
        out << describe(e);
    return out;
}

} // namespace vlr
