// Every cause the storage layer reports reaches the user in Russian.
#include "app/dialogs/storage_messages.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

#include <cerrno>

using namespace vlr;

namespace {

// Latin letters outside the particulars (paths, names) mean English leaked through.
bool hasLatinWords(const QString& text) {
    return text.contains(QRegularExpression(QStringLiteral("[A-Za-z]{2,}")));
}

} // namespace

TEST(StorageMessages, EveryCauseHasARussianText) {
    for (int c = int(StorageCause::System); c <= int(StorageCause::BodiesOverlap); ++c) {
        StorageError e = StorageError::of(StorageCause(c), QStringLiteral("Запись"));
        e.code = ENOSPC;
        e.other = QStringLiteral("Другая");
        e.reason = std::make_shared<const StorageError>(StorageError::system(EIO));
        e.earlier = std::make_shared<const StorageError>(StorageError::of(StorageCause::InUse));
        const QString text = storageErrorText(e);
        SCOPED_TRACE(describe(e).toStdString());
        EXPECT_FALSE(text.isEmpty());
        EXPECT_FALSE(hasLatinWords(text)) << text.toStdString();
    }
    EXPECT_TRUE(storageErrorText(StorageError{}).isEmpty());
}

TEST(StorageMessages, ParticularsAndNestedCausesAreKept) {
    struct Case {
        const char* what;
        StorageError error;
        const char* text;
    };
    StorageError both =
        StorageError::because(StorageCause::NotPutBack, StorageError::system(EACCES, "/a.vlr-journal"));
    both.earlier = std::make_shared<const StorageError>(StorageError::system(ENOSPC));
    StorageError overlap = StorageError::of(StorageCause::BodiesOverlap, QStringLiteral("а"));
    overlap.other = QStringLiteral("б");
    const Case cases[] = {
        {"replaced", StorageError::of(StorageCause::Replaced, QStringLiteral("/home/u/Книга.vlr")),
         "файл /home/u/Книга.vlr удалён или заменён другой программой"},
        {"a system error with its file", StorageError::system(ENOSPC, QStringLiteral("/x.vlr")),
         "/x.vlr: на диске не осталось места"},
        {"an unusual system error", StorageError::system(EPROTO), "системная ошибка 71"},
        {"not restored",
         StorageError::because(StorageCause::NotRestored, StorageError::of(StorageCause::UnexpectedEnd)),
         "файл книжки обрывается раньше, чем должен; прежнее содержимое файла будет восстановлено при "
         "следующем "
         "открытии"},
        {"not put back", both,
         "на диске не осталось места; вернуть файл в прежнее состояние тоже не удалось: /a.vlr-journal: нет "
         "доступа"},
        {"bodies overlap", overlap, "записи «а» и «б»: тексты накладываются друг на друга"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(storageErrorText(c.error), QString::fromUtf8(c.text)) << c.what;
}

TEST(StorageMessages, DamageIsListedOneALineUnderTheMessage) {
    StorageError offset = StorageError::of(StorageCause::TreeOffsetOutside);
    offset.number = 99999;
    const QList<StorageError> damage = {StorageError::of(StorageCause::TreeUnreadable), offset};
    EXPECT_EQ(storageErrorsText(damage),
              QStringLiteral("таблицу дерева записей не удалось прочитать целиком\n"
                             "таблица дерева записей (смещение 99999) лежит вне файла"));
    EXPECT_EQ(withStorageReason(QStringLiteral("Не удалось сохранить книжку!"), StorageError{}),
              QStringLiteral("Не удалось сохранить книжку!"));
    EXPECT_EQ(withStorageReason(QStringLiteral("Не удалось!"), StorageError::of(StorageCause::InUse)),
              QStringLiteral("Не удалось!\nкнижка занята другой программой"));
}

TEST(StorageMessages, QtFileErrorsAreRussianToo) {
    EXPECT_TRUE(fileErrorText(QFileDevice::NoError).isEmpty());
    for (int e = int(QFileDevice::ReadError); e <= int(QFileDevice::CopyError); ++e) {
        const QString text = fileErrorText(QFileDevice::FileError(e));
        EXPECT_FALSE(text.isEmpty()) << e;
        EXPECT_FALSE(hasLatinWords(text)) << text.toStdString();
    }
}
