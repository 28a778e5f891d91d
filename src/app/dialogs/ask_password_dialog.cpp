#include "app/dialogs/ask_password_dialog.h"

#include "app/dialogs/dialog_parts.h"
#include "app/dialogs/reminder_dialog.h"
#include "core/messages.h"
#include "core/password_prompt.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vlr {

TfrmAskPassword::TfrmAskPassword(QWidget* parent, const QString& bookName, const QString& reminder)
    : QDialog(parent), m_reminder(reminder), m_password(new QLineEdit(this)),
      m_reminderButton(new QPushButton(QStringLiteral("Напоминалка..."), this)),
      m_buttons(okCancelButtons(this)) {
    setWindowTitle(QStringLiteral("Введите пароль для") + QStringLiteral(" '") + bookName +
                   QStringLiteral("'"));

    auto* text = new QLabel(
        withLineBreaks(QStringLiteral("Эта книжка защищена.\r\nВведите пароль для доступа к книжке:")), this);
    text->setTextFormat(Qt::PlainText);
    text->setBuddy(m_password);
    m_password->setEchoMode(QLineEdit::Password);
    m_password->setMaxLength(kPasswordMaxLength);

    m_reminderButton->setAutoDefault(false);
    m_reminderButton->setEnabled(!reminder.isEmpty());
    connect(m_reminderButton, &QPushButton::clicked, this, &TfrmAskPassword::showReminder);
    auto update = [this] { okButton()->setEnabled(!m_password->text().isEmpty()); };
    connect(m_password, &QLineEdit::textChanged, this, update);
    update();

    auto* fields = new QVBoxLayout;
    fields->addWidget(text);
    fields->addWidget(m_password);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(besideIcon(this, QStyle::SP_MessageBoxQuestion, fields));
    layout->addStretch();
    layout->addLayout(buttonRow(m_reminderButton, m_buttons));
    setMinimumWidth(420);
    m_password->setFocus();
}

QString TfrmAskPassword::password() const {
    return m_password->text();
}

QPushButton* TfrmAskPassword::okButton() const {
    return m_buttons->button(QDialogButtonBox::Ok);
}

void TfrmAskPassword::showReminder() {
    TfrmReminder viewer(this, m_reminder, TfrmReminder::View);
    viewer.exec();
    m_password->setFocus();
}

} // namespace vlr
