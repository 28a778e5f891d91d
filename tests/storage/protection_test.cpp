// Keys: the password stretch, the key block, unlocking and locking.
#include "notebook_fixture.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>

using namespace vlr;
using namespace vlr::test;

namespace {
QByteArray bytesOf(const MasterKeyBytes& k) {
    return QByteArray(reinterpret_cast<const char*>(k.data()), 56);
}
QByteArray md5(const QByteArray& b) {
    const auto d = TVlrLib::MD5(b);
    return QByteArray(reinterpret_cast<const char*>(d.data()), 16);
}
} // namespace

TEST_F(StorageTest, DeriveKeyStretchesShortPasswordsWithDigests) {
    const QByteArray pw = "0123456789";
    QByteArray expected = pw;
    expected += md5(expected);          // 26 bytes
    expected += md5(expected);          // 42 bytes
    expected += md5(expected).left(14); // 56 bytes
    EXPECT_EQ(bytesOf(DeriveKey(QString::fromLatin1(pw))), expected);

    const QString exact56 = QString(56, QLatin1Char('z'));
    EXPECT_EQ(bytesOf(DeriveKey(exact56)), QByteArray(56, 'z'));
    EXPECT_EQ(bytesOf(DeriveKey(exact56 + QStringLiteral("tail"))), QByteArray(56, 'z'))
        << "only 56 characters count";
    // Cyrillic passwords are taken in Windows-1251.
    EXPECT_EQ(bytesOf(DeriveKey(QStringLiteral("пароль"))).left(6), QByteArray("\xef\xe0\xf0\xee\xeb\xfc"));
    // Passwords Windows-1251 cannot hold do not collapse into "?".
    EXPECT_NE(bytesOf(DeriveKey(QStringLiteral("\u4e2d"))), bytesOf(DeriveKey(QStringLiteral("\u4e2e"))));
}

TEST_F(StorageTest, KeyBlockUnlocksOnlyWithTheRightPassword) {
    auto b = Book::create(path(), bfEncrypted, QStringLiteral("right"));
    const MasterKeyBytes master = b->nb->MasterKey;
    EXPECT_FALSE(master.isZero());
    EXPECT_EQ(md5(bytesOf(master)), QByteArray(reinterpret_cast<const char*>(b->nb->Header.KeyDigest()), 16));
    b->add(QStringLiteral("n"), QByteArray("secret"));
    ASSERT_EQ(b->nb->SaveNotes(), srOk);
    const QByteArray before = fileBytes(path());
    b.reset();

    int result = -1;
    auto wrong = Book::open(path(), &result, QStringLiteral("wrong"));
    EXPECT_EQ(result, lrPasswordRefused);
    EXPECT_EQ(wrong->nb, nullptr) << "a refused notebook does not stay open";
    EXPECT_EQ(wrong->service.Forest().RootCount(), 0);
    wrong.reset();
    EXPECT_EQ(fileBytes(path()), before) << "a wrong password changes nothing";

    auto right = Book::open(path(), &result, QStringLiteral("right"));
    ASSERT_EQ(result, lrOk);
    EXPECT_TRUE(right->nb->MasterKey == master);
    EXPECT_EQ(right->body(0).left(6), QByteArray("secret"));
    right->nb->LockNotebook();
    EXPECT_TRUE(right->nb->IsLocked());
    EXPECT_TRUE(right->nb->MasterKey.isZero());
    right->nb->Notes[0]->Loaded = false;
    QByteArray out;
    EXPECT_EQ(right->nb->ReadNote(0, out), -1) << "a locked notebook's bodies cannot be read";
}

TEST_F(StorageTest, EachSetupDrawsANewMasterKey) {
    auto b = Book::create(path(), bfEncrypted, QStringLiteral("pw"));
    const MasterKeyBytes first = b->nb->MasterKey;
    ASSERT_TRUE(SetupKey(*b->nb, QStringLiteral("pw")));
    EXPECT_FALSE(first == b->nb->MasterKey);
    EXPECT_TRUE(Unlock(*b->nb, QStringLiteral("pw")));
    EXPECT_FALSE(Unlock(*b->nb, QStringLiteral("Pw")));
}

TEST_F(StorageTest, AwayTimerLocksTheNotebook) {
    auto b = Book::create(path(), bfEncrypted, QStringLiteral("pw"));
    b->nb->Header.setAwayTime(1); // one second
    b->nb->SetAwayTimer(true);
    const QDeadlineTimer deadline(5000);
    while (b->nb->KeyHeld && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    EXPECT_FALSE(b->nb->KeyHeld);
    EXPECT_TRUE(b->nb->MasterKey.isZero());
}
