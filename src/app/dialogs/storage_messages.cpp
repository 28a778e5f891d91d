#include "app/dialogs/storage_messages.h"

#include <QStringList>

#include <cerrno>

namespace vlr {

namespace {

// The failures of file operations a user meets; the system's own text
// follows the system's language, not the program's.
QString systemText(int code) {
    switch (code) {
    case ENOENT:
        return QStringLiteral("файл или папка не найдены");
    case EACCES:
    case EPERM:
        return QStringLiteral("нет доступа");
    case ENOSPC:
        return QStringLiteral("на диске не осталось места");
    case EDQUOT:
        return QStringLiteral("превышена дисковая квота");
    case EROFS:
        return QStringLiteral("диск доступен только для чтения");
    case EIO:
        return QStringLiteral("ошибка ввода-вывода");
    case EISDIR:
        return QStringLiteral("это папка, а не файл");
    case ENOTDIR:
        return QStringLiteral("часть пути не является папкой");
    case ENAMETOOLONG:
        return QStringLiteral("слишком длинное имя файла");
    case EEXIST:
        return QStringLiteral("файл уже существует");
    case ELOOP:
        return QStringLiteral("слишком много символических ссылок");
    case EFBIG:
        return QStringLiteral("файл слишком велик");
    case ENOMEM:
        return QStringLiteral("не хватает памяти");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("открыто слишком много файлов");
    case EBUSY:
    case ETXTBSY:
        return QStringLiteral("файл занят");
    case EXDEV:
        return QStringLiteral("файл нельзя перенести на другой диск");
    default:
        return QStringLiteral("системная ошибка %1").arg(code);
    }
}

} // namespace

QString storageErrorText(const StorageError& e) {
    const QString reason = e.reason ? storageErrorText(*e.reason) : QString();
    switch (e.cause) {
    case StorageCause::None:
        return {};
    case StorageCause::System:
        return e.subject.isEmpty() ? systemText(e.code)
                                   : QStringLiteral("%1: %2").arg(e.subject, systemText(e.code));
    case StorageCause::InUse:
        return QStringLiteral("книжка занята другой программой");
    case StorageCause::BeingSaved:
        return QStringLiteral("книжку сейчас сохраняет другая программа");
    case StorageCause::NotRegularFile:
        return QStringLiteral("это не обычный файл");
    case StorageCause::NotOpenForWriting:
        return QStringLiteral("файл книжки не открыт для записи");
    case StorageCause::UnexpectedEnd:
        return QStringLiteral("файл книжки обрывается раньше, чем должен");
    case StorageCause::Exists:
        return QStringLiteral("файл %1 уже существует").arg(e.subject);
    case StorageCause::Replaced:
        return QStringLiteral("файл %1 удалён или заменён другой программой").arg(e.subject);
    case StorageCause::ReadOnly:
        return QStringLiteral("книжка открыта только для чтения");
    case StorageCause::RecoveryFailed:
        return QStringLiteral("не удалось отменить прерванное сохранение: %1").arg(reason);
    case StorageCause::NotRestored:
        return QStringLiteral("%1; прежнее содержимое файла будет восстановлено при следующем открытии")
            .arg(reason);
    case StorageCause::NotPutBack:
        return QStringLiteral("%1; вернуть файл в прежнее состояние тоже не удалось: %2")
            .arg(e.earlier ? storageErrorText(*e.earlier) : QString(), reason);
    case StorageCause::JournalNotStarted:
        return QStringLiteral("журнал сохранения %1 не начат").arg(e.subject);
    case StorageCause::WriteBeforeStart:
        return QStringLiteral("запись перед началом файла");
    case StorageCause::TooLarge:
        return QStringLiteral("книжка стала бы больше 2 ГБ, а её формат столько не вмещает");
    case StorageCause::BodyOutsideFile:
        return QStringLiteral("текст записи «%1» лежит за концом файла").arg(e.subject);
    case StorageCause::BodyUnreadable:
        return QStringLiteral("не удалось прочитать текст записи «%1»").arg(e.subject);
    case StorageCause::Locked:
        return QStringLiteral("книжка заблокирована паролем");
    case StorageCause::NoPassword:
        return QStringLiteral("пароль не задан");
    case StorageCause::RandomFailed:
        return QStringLiteral("системный источник случайных чисел не ответил");
    case StorageCause::TreeUnreadable:
        return QStringLiteral("таблицу дерева записей не удалось прочитать целиком");
    case StorageCause::TreeOffsetOutside:
        return QStringLiteral("таблица дерева записей (смещение %1) лежит вне файла").arg(e.number);
    case StorageCause::NegativeRecordCount:
        return QStringLiteral("число записей отрицательно (%1)").arg(e.number);
    case StorageCause::NegativeBodySize:
        return QStringLiteral("запись «%1»: отрицательный размер текста").arg(e.subject);
    case StorageCause::BodyOutsideArea:
        return QStringLiteral("запись «%1»: текст (байты %2..%3) лежит вне области текстов")
            .arg(e.subject)
            .arg(e.number)
            .arg(e.number2);
    case StorageCause::BodiesOverlap:
        return QStringLiteral("записи «%1» и «%2»: тексты накладываются друг на друга")
            .arg(e.subject, e.other);
    }
    return {};
}

QString storageErrorsText(const QList<StorageError>& errors) {
    QStringList lines;
    for (const StorageError& e : errors)
        lines << storageErrorText(e);
    return lines.join(QLatin1Char('\n'));
}

QString fileErrorText(QFileDevice::FileError error) {
    switch (error) {
    case QFileDevice::NoError:
        return {};
    case QFileDevice::ReadError:
        return QStringLiteral("ошибка чтения файла");
    case QFileDevice::WriteError:
        return QStringLiteral("ошибка записи файла");
    case QFileDevice::FatalError:
        return QStringLiteral("неустранимая ошибка файла");
    case QFileDevice::ResourceError:
        return QStringLiteral("не хватает места или других ресурсов системы");
    case QFileDevice::OpenError:
        return QStringLiteral("файл не удалось открыть");
    case QFileDevice::AbortError:
        return QStringLiteral("операция прервана");
    case QFileDevice::TimeOutError:
        return QStringLiteral("время ожидания истекло");
    case QFileDevice::RemoveError:
        return QStringLiteral("файл не удалось удалить");
    case QFileDevice::RenameError:
        return QStringLiteral("файл не удалось переименовать");
    case QFileDevice::PositionError:
        return QStringLiteral("ошибка позиционирования в файле");
    case QFileDevice::ResizeError:
        return QStringLiteral("не удалось изменить размер файла");
    case QFileDevice::PermissionsError:
        return QStringLiteral("нет доступа к файлу");
    case QFileDevice::CopyError:
        return QStringLiteral("файл не удалось скопировать");
    case QFileDevice::UnspecifiedError:
        break;
    }
    return QStringLiteral("ошибка файла");
}

QString withStorageReason(const QString& message, const StorageError& error) {
    return error.failed() ? message + QLatin1Char('\n') + storageErrorText(error) : message;
}

} // namespace vlr
