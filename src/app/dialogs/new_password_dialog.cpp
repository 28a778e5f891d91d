#include "app/dialogs/new_password_dialog.h"

#include "app/dialogs/dialog_parts.h"
#include "app/dialogs/reminder_dialog.h"
#include "core/messages.h"
#include "core/password_prompt.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vlr {

namespace {

QLineEdit* passwordBox(QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setEchoMode(QLineEdit::Password);
    edit->setMaxLength(kPasswordMaxLength);
    return edit;
}

} // namespace

TfrmNewPassword::TfrmNewPassword(QWidget* parent, Mode mode, const QString& reminder)
    : QDialog(parent), m_mode(mode), m_reminder(reminder), m_new(passwordBox(this)),
      m_confirm(passwordBox(this)),
      m_reminderButton(new QPushButton(QStringLiteral("Ввод напоминания..."), this)),
      m_buttons(okCancelButtons(this)) {
    setWindowTitle(QStringLiteral("Пароль для защиты книжки"));
    auto* layout = new QVBoxLayout(this);
    if (mode == New) {
        auto* prompt =
            new QLabel(QStringLiteral("Введите пароль для зашифровки книжки (макс. 56 символов):"), this);
        prompt->setBuddy(m_new);
        layout->addWidget(prompt);
        layout->addWidget(m_new);
        auto* confirm = new QLabel(QStringLiteral("Подтверждение:"), this);
        confirm->setBuddy(m_confirm);
        layout->addWidget(confirm);
        layout->addWidget(m_confirm);
    } else {
        m_old = passwordBox(this);
        auto* form = new QFormLayout;
        form->addRow(QStringLiteral("Старый пароль:"), m_old);
        form->addRow(QStringLiteral("Новый пароль:"), m_new);
        form->addRow(QStringLiteral("Подтверждение:"), m_confirm);
        layout->addLayout(form);
    }
    m_reminderButton->setAutoDefault(false);
    connect(m_reminderButton, &QPushButton::clicked, this, &TfrmNewPassword::editReminder);
    connect(m_new, &QLineEdit::textChanged, this, &TfrmNewPassword::updateOk);
    connect(m_confirm, &QLineEdit::textChanged, this, &TfrmNewPassword::updateOk);
    updateOk();

    layout->addStretch();
    layout->addLayout(buttonRow(m_reminderButton, m_buttons));
    setMinimumWidth(440);
    (m_old ? m_old : m_new)->setFocus();
}

QString TfrmNewPassword::password() const {
    return m_new->text();
}

QPushButton* TfrmNewPassword::okButton() const {
    return m_buttons->button(QDialogButtonBox::Ok);
}

void TfrmNewPassword::updateOk() {
    okButton()->setEnabled(!m_new->text().isEmpty() && m_new->text() == m_confirm->text());
}

void TfrmNewPassword::editReminder() {
    TfrmReminder editor(this, m_reminder, TfrmReminder::Edit);
    if (editor.exec() == QDialog::Accepted)
        m_reminder = editor.reminder();
}

void TfrmNewPassword::accept() {
    // However accept() was reached, nothing is accepted while OK is disabled.
    if (!okButton()->isEnabled())
        return;
    if (m_mode == Change && m_oldIsRight && !m_oldIsRight(m_old->text())) {
        showMessage(QStringLiteral("Указан неверный старый пароль, введите правильный пароль."),
                    QStringLiteral("Ошибка"), MsgIcon::Error);
        m_old->selectAll();
        m_old->setFocus();
        return;
    }
    QDialog::accept();
}

} // namespace vlr
