#include "app/dialogs/notebook_password.h"

#include "core/messages.h"
#include "core/password_prompt.h"
#include "storage/node_root.h"
#include "storage/protection.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

namespace vlr {

namespace {

constexpr int kTries = 3;
constexpr int kWrongPasswordPauseMs = 100;

// A short pause after a wrong password, with the program still painting.
void pauseAfterWrongPassword() {
    QEventLoop loop;
    QTimer::singleShot(kWrongPasswordPauseMs, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

} // namespace

bool UnlockWithPassword(TNodeRoot& notebook, const QString& password) {
    if (!Unlock(notebook, password))
        return false;
    notebook.PasswordDigest = PasswordDigest(password);
    return true;
}

bool AskNotebookPassword(TNodeRoot& notebook, bool windowEnabled, const NotebookUnlock& unlock) {
    if (!windowEnabled || notebook.KeyHeld)
        return true;
    const QString error = QStringLiteral("Ошибка");
    for (int attempt = 0; attempt < kTries; ++attempt) {
        const QString password =
            passwordPrompt().askPassword(notebook.Header.BookName(), notebook.Header.PasswordReminder());
        if (password.isEmpty())
            return false;
        if (unlock(notebook, password))
            return true;
        pauseAfterWrongPassword();
        showMessage(QStringLiteral("Введен неверный пароль!"), error, MsgIcon::Error);
        notebook.MasterKey.wipe();
    }
    showMessage(QStringLiteral("Три попытки неудачны. Невозможно открыть книжку!"), error, MsgIcon::Error);
    return false;
}

} // namespace vlr
