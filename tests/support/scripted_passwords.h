#pragma once
// A password prompt for tests: records every question and answers from a
// queue; an empty queue cancels. Installs itself for its lifetime.
#include "core/password_prompt.h"

#include <QList>
#include <QStringList>

namespace vlr::test {

struct PromptAnswer {
    std::optional<QString> password; // nothing: the question is cancelled
    QString oldPassword;             // changePassword: offered to the check
    std::optional<QString> reminder; // an edited reminder, written back on success
};

class ScriptedPasswordPrompt final : public PasswordPrompt {
public:
    ScriptedPasswordPrompt();
    ~ScriptedPasswordPrompt() override;

    QString askPassword(const QString& bookName, const QString& reminder) override;
    std::optional<QString> newPassword(QString& reminder) override;
    QString changePassword(QString& reminder,
                           const std::function<bool(const QString&)>& oldPasswordIsRight) override;
    bool editReminder(QString& reminder) override;
    void viewReminder(const QString& reminder) override;

    void answer(PromptAnswer next) { m_answers.append(std::move(next)); }
    void answerPassword(const QString& password) { answer({password, {}, {}}); }
    void cancel() { answer({}); }

    // One line per question: "ask BOOK", "new", "change OLD right|wrong",
    // "edit", "view REMINDER".
    const QStringList& calls() const { return m_calls; }
    int pending() const { return int(m_answers.size()); }

private:
    PromptAnswer next();

    PasswordPrompt* m_previous;
    QList<PromptAnswer> m_answers;
    QStringList m_calls;
};

} // namespace vlr::test
