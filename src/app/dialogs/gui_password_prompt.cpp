#include "app/dialogs/gui_password_prompt.h"

#include "app/dialogs/ask_password_dialog.h"
#include "app/dialogs/new_password_dialog.h"
#include "app/dialogs/reminder_dialog.h"

#include <QApplication>

namespace vlr {

QString TGuiPasswordPrompt::askPassword(const QString& bookName, const QString& reminder) {
    TfrmAskPassword dialog(QApplication::activeWindow(), bookName, reminder);
    return dialog.exec() == QDialog::Accepted ? dialog.password() : QString();
}

std::optional<QString> TGuiPasswordPrompt::newPassword(QString& reminder) {
    TfrmNewPassword dialog(QApplication::activeWindow(), TfrmNewPassword::New, reminder);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    reminder = dialog.reminder();
    return dialog.password();
}

QString TGuiPasswordPrompt::changePassword(QString& reminder,
                                           const std::function<bool(const QString&)>& oldPasswordIsRight) {
    TfrmNewPassword dialog(QApplication::activeWindow(), TfrmNewPassword::Change, reminder);
    dialog.setOldPasswordCheck(oldPasswordIsRight);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    reminder = dialog.reminder();
    return dialog.password();
}

bool TGuiPasswordPrompt::editReminder(QString& reminder) {
    TfrmReminder dialog(QApplication::activeWindow(), reminder, TfrmReminder::Edit);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    reminder = dialog.reminder();
    return true;
}

void TGuiPasswordPrompt::viewReminder(const QString& reminder) {
    TfrmReminder dialog(QApplication::activeWindow(), reminder, TfrmReminder::View);
    dialog.exec();
}

} // namespace vlr
