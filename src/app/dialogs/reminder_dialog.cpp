#include "app/dialogs/reminder_dialog.h"

#include "app/dialogs/dialog_parts.h"
#include "core/password_reminder.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QVBoxLayout>

namespace vlr {

namespace {
const QString kEditLabel =
    QStringLiteral("Напишите подсказку, которая поможет вспомнить пароль (не более 150 символов). "
                   "Она хранится в книжке незашифрованной и видна каждому, кто её откроет, "
                   "поэтому не пишите в ней сам пароль.");
const QString kViewLabel = QStringLiteral("Напоминание ниже. Попытайтесь вспомнить пароль.");
} // namespace

TfrmReminder::TfrmReminder(QWidget* parent, const QString& reminder, Mode mode)
    : QDialog(parent), m_memo(new QPlainTextEdit(this)), m_buttons(okCancelButtons(this, mode == Edit)) {
    setWindowTitle(QStringLiteral("Напоминание о пароле"));
    auto* label = new QLabel(mode == Edit ? kEditLabel : kViewLabel, this);
    label->setWordWrap(true);
    label->setBuddy(m_memo);
    m_memo->setTabChangesFocus(true);
    m_memo->setPlainText(reminderToShown(mode == Edit ? reminderToStored(reminder) : reminder));
    m_memo->moveCursor(QTextCursor::End);
    m_accepted = m_memo->toPlainText();
    if (mode == View) {
        m_memo->setReadOnly(true);
        m_memo->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    } else {
        connect(m_memo, &QPlainTextEdit::textChanged, this, &TfrmReminder::keepWithinLimit);
        m_memo->installEventFilter(this);
    }

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_memo, 1);
    layout->addWidget(m_buttons);
    if (mode == Edit) {
        resize(420, 260);
        m_memo->setFocus();
    } else {
        // Only a short text to read: Enter or Escape closes at once.
        resize(400, 200);
        m_buttons->button(QDialogButtonBox::Ok)->setFocus();
    }
}

QString TfrmReminder::reminder() const {
    return reminderToStored(m_memo->toPlainText());
}

bool TfrmReminder::eventFilter(QObject* watched, QEvent* event) {
    // Enter starts a new line in the memo; Ctrl+Enter confirms.
    if (watched == m_memo && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            (key->modifiers() & Qt::ControlModifier)) {
            accept();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmReminder::keepWithinLimit() {
    const QString now = m_memo->toPlainText();
    if (const auto fitted = limitReminderEdit(m_accepted, now)) {
        QSignalBlocker block(m_memo);
        // Replaced through a cursor so that undo still works.
        QTextCursor cursor(m_memo->document());
        cursor.select(QTextCursor::Document);
        cursor.insertText(fitted->text);
        cursor.setPosition(fitted->cursor);
        m_memo->setTextCursor(cursor);
    }
    m_accepted = m_memo->toPlainText();
}

} // namespace vlr
