#include "support/scripted_passwords.h"

namespace vlr::test {

ScriptedPasswordPrompt::ScriptedPasswordPrompt() : m_previous(setPasswordPrompt(this)) {}
ScriptedPasswordPrompt::~ScriptedPasswordPrompt() {
    setPasswordPrompt(m_previous);
}

PromptAnswer ScriptedPasswordPrompt::next() {
    return m_answers.isEmpty() ? PromptAnswer{} : m_answers.takeFirst();
}

QString ScriptedPasswordPrompt::askPassword(const QString& bookName, const QString& reminder) {
    m_calls << QStringLiteral("ask ") + bookName;
    return next().password.value_or(QString());
}

std::optional<QString> ScriptedPasswordPrompt::newPassword(QString& reminder) {
    m_calls << QStringLiteral("new");
    PromptAnswer a = next();
    if (a.password && a.reminder)
        reminder = *a.reminder;
    return a.password;
}

QString
ScriptedPasswordPrompt::changePassword(QString& reminder,
                                       const std::function<bool(const QString&)>& oldPasswordIsRight) {
    // Like the dialog: asked again until the old password is right or the user cancels.
    for (;;) {
        PromptAnswer a = next();
        if (!a.password) {
            m_calls << QStringLiteral("change cancelled");
            return {};
        }
        const bool right = oldPasswordIsRight(a.oldPassword);
        m_calls << QStringLiteral("change %1 %2").arg(a.oldPassword, right ? "right" : "wrong");
        if (!right)
            continue;
        if (a.reminder)
            reminder = *a.reminder;
        return *a.password;
    }
}

bool ScriptedPasswordPrompt::editReminder(QString& reminder) {
    m_calls << QStringLiteral("edit");
    PromptAnswer a = next();
    if (!a.reminder)
        return false;
    reminder = *a.reminder;
    return true;
}

void ScriptedPasswordPrompt::viewReminder(const QString& reminder) {
    m_calls << QStringLiteral("view ") + reminder;
}

} // namespace vlr::test
