#pragma once
// The password questions of the running program, as dialogs owned by the
// application's active window.
#include "core/password_prompt.h"

namespace vlr {

class TGuiPasswordPrompt final : public PasswordPrompt {
public:
    QString askPassword(const QString& bookName, const QString& reminder) override;
    std::optional<QString> newPassword(QString& reminder) override;
    QString changePassword(QString& reminder,
                           const std::function<bool(const QString&)>& oldPasswordIsRight) override;
    bool editReminder(QString& reminder) override;
    void viewReminder(const QString& reminder) override;
};

} // namespace vlr
