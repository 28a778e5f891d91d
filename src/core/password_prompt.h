#pragma once
// The password and reminder questions, as a service: the GUI installs its
// dialogs, tests a scripted answerer. Without one every question is
// cancelled, so nothing is ever unlocked or changed unasked.
#include <QString>

#include <functional>
#include <optional>

namespace vlr {

// Password boxes accept at most this many characters.
inline constexpr int kPasswordMaxLength = 56;

class PasswordPrompt {
public:
    virtual ~PasswordPrompt() = default;
    // The password for the notebook, or empty when cancelled. The reminder
    // (stored form, see password_reminder.h) can be viewed from the question.
    [[nodiscard]] virtual QString askPassword(const QString& bookName, const QString& reminder) = 0;
    // A new password typed twice, or nothing when cancelled. The reminder
    // may be edited; it is written back only when a password is returned.
    [[nodiscard]] virtual std::optional<QString> newPassword(QString& reminder) = 0;
    // The old password is checked with oldPasswordIsRight until it is right
    // or the user cancels. The new password, or empty when cancelled; the
    // reminder is written back only when a password is returned.
    [[nodiscard]] virtual QString
    changePassword(QString& reminder, const std::function<bool(const QString&)>& oldPasswordIsRight) = 0;
    // True when the reminder was edited and confirmed.
    [[nodiscard]] virtual bool editReminder(QString& reminder) = 0;
    virtual void viewReminder(const QString& reminder) = 0;
};

class CancellingPasswordPrompt final : public PasswordPrompt {
public:
    QString askPassword(const QString&, const QString&) override { return {}; }
    std::optional<QString> newPassword(QString&) override { return std::nullopt; }
    QString changePassword(QString&, const std::function<bool(const QString&)>&) override { return {}; }
    bool editReminder(QString&) override { return false; }
    void viewReminder(const QString&) override {}
};

// The process-wide prompt; a CancellingPasswordPrompt until one is installed.
PasswordPrompt& passwordPrompt();
// Installs a prompt (not owned); nullptr restores the default. Returns the previous one.
PasswordPrompt* setPasswordPrompt(PasswordPrompt* prompt);

} // namespace vlr
