#pragma once
// What the storage layer reports, in the program's words: every cause of a
// failed save, pack or open and every kind of damage as a Russian text.
#include "storage/storage_error.h"

#include <QFileDevice>
#include <QList>
#include <QString>

namespace vlr {

// The cause as a sentence fragment ("файл книжки удалён или заменён другой программой").
QString storageErrorText(const StorageError& error);
// The causes, one a line.
QString storageErrorsText(const QList<StorageError>& errors);
// A failed file operation of Qt's (copies, backups): Qt's own text follows
// the system's language.
QString fileErrorText(QFileDevice::FileError error);

// The message, and below it the cause when there is one.
QString withStorageReason(const QString& message, const StorageError& error);

} // namespace vlr
