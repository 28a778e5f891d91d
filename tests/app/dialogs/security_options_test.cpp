// The protection options: delays and their units, encryption on and off,
// a new password checked against the old one, the reminder's limit.
#include "app/dialogs/new_password_dialog.h"
#include "app/dialogs/security_options_dialog.h"
#include "dialog_test.h"
#include "options_dialog_fixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

namespace vlr::test {
namespace {

class SecurityOptionsTest : public OptionsDialogTest {
protected:
    // Answers the next password dialog: the old password (change mode) and
    // the new one twice.
    static void answerPassword(const QString& old, const QString& password, bool thenCancel = false) {
        whenModal<TfrmNewPassword>([=](TfrmNewPassword* d) {
            if (d->oldPasswordEdit())
                typeText(d->oldPasswordEdit(), old);
            typeText(d->passwordEdit(), password);
            typeText(d->confirmEdit(), password);
            d->okButton()->click();
            if (thenCancel)
                d->reject();
        });
    }

    bool askProtect = true;
};

TEST(DelayFields, CountInLowBitsUnitInBit31) {
    const struct {
        uint32_t value;
        DelayField field;
    } cases[] = {
        {0, {false, 1, false}},
        {90, {true, 90, false}},
        {0x80000005u, {true, 5, true}},
        {0xFFFFFFFFu, {true, 0x7FFFFFFFu, true}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        const DelayField f = delayField(c.value);
        EXPECT_EQ(f.on, c.field.on);
        EXPECT_EQ(f.count, c.field.count);
        EXPECT_EQ(f.minutes, c.field.minutes);
        EXPECT_EQ(delayValue(f), c.value);
    }
    // A count that would spill into the unit bit stays a count.
    EXPECT_EQ(delayValue({true, 0x80000001u, false}), 0x7FFFFFFFu);
}

TEST_F(SecurityOptionsTest, OkStoresTheDelaysAsTheBoxesSay) {
    ASSERT_TRUE(book->service.Protect(nb(), QStringLiteral("ключ")));
    const struct {
        bool awayOn;
        int awayCount;
        int awayUnit;
        bool closeOn;
        int closeCount;
        int closeUnit;
        uint32_t away;
        uint32_t close;
    } cases[] = {
        {true, 120, 0, false, 7, 1, 120, 0},
        {true, 2, 1, true, 30, 0, 0x80000002u, 30},
        {false, 5, 1, true, 9, 1, 0, 0x80000009u},
    };
    for (const auto& c : cases) {
        TfrmSecurityOptions dialog(nullptr, book->bound(), askProtect);
        const auto& away = dialog.awayControls();
        const auto& close = dialog.closeControls();
        away.box->setChecked(c.awayOn);
        away.count->setValue(c.awayCount);
        away.unit->setCurrentIndex(c.awayUnit);
        close.box->setChecked(c.closeOn);
        close.count->setValue(c.closeCount);
        close.unit->setCurrentIndex(c.closeUnit);
        dialog.okButton()->click();
        EXPECT_EQ(nb().Header.AwayTime(), c.away);
        EXPECT_EQ(nb().Header.CloseTime(), c.close);
        // Shown again, the dialog reads back what was stored.
        TfrmSecurityOptions again(nullptr, book->bound(), askProtect);
        EXPECT_EQ(again.awayControls().box->isChecked(), c.awayOn);
        EXPECT_EQ(again.closeControls().unit->currentIndex(), c.closeOn ? c.closeUnit : 0);
    }
}

TEST_F(SecurityOptionsTest, ControlsFollowEncryptionAndTheirBoxes) {
    for (bool encrypted : {false, true}) {
        if (encrypted) {
            ASSERT_TRUE(book->service.Protect(nb(), QStringLiteral("ключ")));
        }
        TfrmSecurityOptions dialog(nullptr, book->bound(), askProtect);
        EXPECT_EQ(dialog.statusLabel()->text(),
                  encrypted ? QStringLiteral("Зашифрована") : QStringLiteral("Не зашифрована"));
        EXPECT_EQ(dialog.protectButton()->text(),
                  encrypted ? QStringLiteral("Расшифровать") : QStringLiteral("Зашифровать"));
        EXPECT_EQ(dialog.changePasswordButton()->isEnabled(), encrypted);
        EXPECT_EQ(dialog.awayControls().box->isEnabled(), encrypted);
        const auto& close = dialog.closeControls();
        close.box->setChecked(false);
        EXPECT_FALSE(close.count->isEnabled());
        close.box->setChecked(true);
        EXPECT_TRUE(close.count->isEnabled());
        close.unit->setCurrentIndex(0);
        EXPECT_EQ(close.count->singleStep(), 30);
        close.unit->setCurrentIndex(1);
        EXPECT_EQ(close.count->singleStep(), 1);
    }
}

TEST_F(SecurityOptionsTest, EncryptChangePasswordDecryptKeepsEveryBody) {
    {
        TfrmSecurityOptions dialog(nullptr, book->bound(), askProtect);
        messages.answer(MbOk);
        answerPassword({}, QStringLiteral("первый"));
        dialog.protectButton()->click();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_TRUE(messages.texts().contains(QStringLiteral("Книжка успешно зашифрована!")));
    }
    EXPECT_EQ(storedBodies(QStringLiteral("первый")), bodies());
    {
        TfrmSecurityOptions dialog(nullptr, book->bound(), askProtect);
        answerPassword(QStringLiteral("первый"), QStringLiteral("второй"));
        dialog.changePasswordButton()->click();
        dialog.reject();
    }
    EXPECT_EQ(storedBodies(QStringLiteral("второй")), bodies());
    {
        TfrmSecurityOptions dialog(nullptr, book->bound(), askProtect);
        messages.answer(MbOk);
        dialog.protectButton()->click();
        EXPECT_TRUE(messages.texts().contains(QStringLiteral("Книжка успешно расщифрована!")));
    }
    EXPECT_FALSE(nb().HasBookFlag(bfEncrypted));
    EXPECT_EQ(storedBodies({}), bodies());
}

TEST_F(SecurityOptionsTest, AWrongOldPasswordChangesNeitherKeyNorNote) {
    ASSERT_TRUE(book->service.Protect(nb(), QStringLiteral("верный")));
    ASSERT_EQ(nb().SaveNotes(), srOk);
    const QByteArray keyBlock(reinterpret_cast<const char*>(nb().Header.KeyBlock()), 56);
    const QByteArray file = fileBytes(path());
    TfrmSecurityOptions dialog(nullptr, book->bound(), askProtect);
    answerPassword(QStringLiteral("неверный"), QStringLiteral("новый"), true);
    dialog.changePasswordButton()->click();
    EXPECT_TRUE(messages.texts().contains(
        QStringLiteral("Указан неверный старый пароль, введите правильный пароль.")));
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(nb().Header.KeyBlock()), 56), keyBlock);
    EXPECT_EQ(fileBytes(path()), file);
    EXPECT_EQ(storedBodies(QStringLiteral("верный")), bodies());
}

TEST_F(SecurityOptionsTest, TheQuestionAndThePasswordCanStopEncrypting) {
    const struct {
        int answer;
        bool giveUpPassword;
    } cases[] = {{MbCancel, false}, {MbOk, true}};
    const QByteArray file = fileBytes(path());
    for (const auto& c : cases) {
        TfrmSecurityOptions dialog(nullptr, book->bound(), askProtect);
        messages.answer(c.answer);
        if (c.giveUpPassword)
            whenModal<TfrmNewPassword>([](TfrmNewPassword* d) { d->reject(); });
        dialog.protectButton()->click();
        EXPECT_NE(dialog.result(), QDialog::Accepted);
        EXPECT_FALSE(nb().HasBookFlag(bfEncrypted));
        EXPECT_EQ(fileBytes(path()), file);
    }
}

TEST_F(SecurityOptionsTest, AReminderOf160CharactersIsStoredAsItsFirst150) {
    const QString reminder = QString(100, QChar(u'а')) + QString(60, QChar(u'б'));
    ASSERT_TRUE(RunEncryptionToggle(nb(), QStringLiteral("пароль"), reminder));
    EXPECT_EQ(nb().Header.PasswordReminder(), reminder.left(150));
    EXPECT_TRUE(RunPasswordChange(nb(), QStringLiteral("другой"), reminder + QStringLiteral("в")));
    EXPECT_EQ(nb().Header.PasswordReminder(), reminder.left(150));
}

} // namespace
} // namespace vlr::test
