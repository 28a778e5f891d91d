#include "app/dialogs/notebook_options.h"

#include "app/dialogs/storage_messages.h"

#include "core/messages.h"
#include "core/password_reminder.h"
#include "storage/node_root.h"
#include "storage/notebook_rewrite.h"

namespace vlr {

namespace {
const QString kAttention = QStringLiteral("Внимание!");
const QString kDone = QStringLiteral("Готово!");
const QString kError = QStringLiteral("Ошибка");

// The rewrite's result for the user: done, or what stopped it.
bool report(const RewriteOutcome& outcome, const QString& done, const QString& failed) {
    if (outcome.ok) {
        showMessage(done, kDone, MsgIcon::Information);
        return true;
    }
    showMessage(withStorageReason(failed, outcome.error), kError, MsgIcon::Error);
    return false;
}
} // namespace

SavingFields savingFieldsOf(const TNodeRoot& notebook) {
    SavingFields f;
    f.reserve = notebook.EffectiveReserve();
    f.autoSave = notebook.Header.AutoSaveEnabled() != 0;
    f.minutes = qBound(kAutoSaveMinutesMin, int(notebook.Header.AutoSaveMinutes()), kAutoSaveMinutesMax);
    return f;
}

bool AskCompressionToggle(const TNodeRoot& notebook, bool& askFlag) {
    return ConfirmOnce(kAttention,
                       notebook.HasBookFlag(bfCompressed) ? QStringLiteral("Распаковать текущую книжку?")
                                                          : QStringLiteral("Упаковать текущую книжку?"),
                       askFlag, MbOk | MbCancel, MsgIcon::Question);
}

bool RunCompressionToggle(TNodeRoot& notebook) {
    const bool on = !notebook.HasBookFlag(bfCompressed);
    return report(ToggleCompression(notebook),
                  on ? QStringLiteral("Книжка успешно упакована!")
                     : QStringLiteral("Книжка успешно распакована!"),
                  on ? QStringLiteral("Не удалось упаковать книжку!")
                     : QStringLiteral("Не удалось распаковать книжку!"));
}

bool ApplySavingFields(TNodeRoot& notebook, const SavingFields& fields) {
    bool ok = true;
    if (fields.reserve != notebook.EffectiveReserve()) {
        const RewriteOutcome outcome = ChangeReserveSize(notebook, fields.reserve);
        if (!outcome.ok) {
            showMessage(withStorageReason(QStringLiteral("Не удалось установить новый резервный размер!"),
                                          outcome.error),
                        kError, MsgIcon::Error);
            ok = false;
        }
    }
    notebook.Header.setAutoSaveEnabled(fields.autoSave ? -1 : 0);
    notebook.Header.setAutoSaveMinutes(qBound(kAutoSaveMinutesMin, fields.minutes, kAutoSaveMinutesMax));
    notebook.StartAutoSaveTimer();
    return ok;
}

DelayField delayField(uint32_t value) {
    DelayField f;
    f.on = value != 0;
    f.count = qMax<uint32_t>(1, value & ~kDelayMinutesBit);
    f.minutes = (value & kDelayMinutesBit) != 0;
    return f;
}

uint32_t delayValue(const DelayField& field) {
    if (!field.on)
        return 0;
    const uint32_t count = qBound<uint32_t>(1, field.count, ~kDelayMinutesBit);
    return count | (field.minutes ? kDelayMinutesBit : 0);
}

SecurityFields securityFieldsOf(const TNodeRoot& notebook) {
    return {delayField(notebook.Header.AwayTime()), delayField(notebook.Header.CloseTime())};
}

bool AskEncryptionToggle(const TNodeRoot& notebook, bool& askFlag) {
    return ConfirmOnce(kAttention,
                       notebook.HasBookFlag(bfEncrypted) ? QStringLiteral("Расшифровать текущую книжку?")
                                                         : QStringLiteral("Зашифровать текущую книжку?"),
                       askFlag, MbOk | MbCancel, MsgIcon::Question);
}

bool RunEncryptionToggle(TNodeRoot& notebook, const QString& password, const QString& reminder) {
    const bool on = !notebook.HasBookFlag(bfEncrypted);
    // Kept with the header the rewrite saves.
    if (on)
        notebook.Header.setPasswordReminder(reminderToStored(reminder));
    return report(ToggleEncryption(notebook, password),
                  on ? QStringLiteral("Книжка успешно зашифрована!")
                     : QStringLiteral("Книжка успешно расщифрована!"),
                  on ? QStringLiteral("Не удалось зашифровать книжку!")
                     : QStringLiteral("Не удалось расшифровать книжку!"));
}

bool IsCurrentPassword(const TNodeRoot& notebook, const QString& password) {
    return PasswordDigest(password) == notebook.PasswordDigest;
}

bool RunPasswordChange(TNodeRoot& notebook, const QString& password, const QString& reminder) {
    const QString before = notebook.Header.PasswordReminder();
    notebook.Header.setPasswordReminder(reminderToStored(reminder));
    const RewriteOutcome outcome = ChangeNotebookPassword(notebook, password);
    if (outcome.ok)
        return true;
    notebook.Header.setPasswordReminder(before);
    showMessage(withStorageReason(QStringLiteral("Не удалось сменить пароль книжки!"), outcome.error), kError,
                MsgIcon::Error);
    return false;
}

void ApplySecurityFields(TNodeRoot& notebook, const SecurityFields& fields) {
    notebook.Header.setAwayTime(delayValue(fields.away));
    notebook.Header.setCloseTime(delayValue(fields.close));
    // The delays count inactivity: their timers run only while the program
    // is left, and leaving it starts them with these values. Started here,
    // they would lock or close the notebook under the user's hands.
}

void MarkOptionsChanged(TNodeRoot& notebook) {
    notebook.TreeDirty = true;
    notebook.Modified = true;
}

} // namespace vlr
