// The password and reminder dialogs, driven through their widgets.
#include "app/dialogs/ask_password_dialog.h"
#include "app/dialogs/gui_password_prompt.h"
#include "app/dialogs/new_password_dialog.h"
#include "app/dialogs/reminder_dialog.h"
#include "dialog_test.h"
#include "support/scripted_messages.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using namespace vlr;
using namespace vlr::test;

namespace {

void setText(QLineEdit* edit, const QString& text) {
    edit->clear();
    typeText(edit, text);
}

} // namespace

TEST(AskPasswordDialog, CaptionTextAndEnabling) {
    for (const QString& reminder : {QString(), QStringLiteral("кличка кота")}) {
        TfrmAskPassword dialog(nullptr, QStringLiteral("Дом"), reminder);
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Введите пароль для 'Дом'"));
        EXPECT_TRUE(labelTexts(dialog).contains(
            QStringLiteral("Эта книжка защищена.\nВведите пароль для доступа к книжке:")));
        EXPECT_EQ(dialog.passwordEdit()->echoMode(), QLineEdit::Password);
        EXPECT_EQ(dialog.passwordEdit()->maxLength(), 56);
        EXPECT_EQ(dialog.reminderButton()->text(), QStringLiteral("Напоминалка..."));
        EXPECT_EQ(dialog.reminderButton()->isEnabled(), !reminder.isEmpty());
        EXPECT_FALSE(dialog.okButton()->isEnabled());
        typeText(dialog.passwordEdit(), QStringLiteral("пароль"));
        EXPECT_TRUE(dialog.okButton()->isEnabled());
        EXPECT_EQ(dialog.password(), QStringLiteral("пароль"));
        dialog.passwordEdit()->clear();
        EXPECT_FALSE(dialog.okButton()->isEnabled());
    }
}

TEST(AskPasswordDialog, ReminderButtonShowsTheReminderReadOnly) {
    TfrmAskPassword dialog(nullptr, QStringLiteral("Дом"), QStringLiteral("первая\r\nвторая"));
    QString shown;
    bool readOnly = false;
    QStringList buttons;
    QStringList labels;
    whenModal<TfrmReminder>([&](TfrmReminder* viewer) {
        shown = viewer->memo()->toPlainText();
        readOnly = viewer->memo()->isReadOnly();
        labels = labelTexts(*viewer);
        for (QAbstractButton* b : viewer->buttons()->buttons())
            buttons << b->text();
        viewer->buttons()->button(QDialogButtonBox::Ok)->click();
    });
    dialog.reminderButton()->click();
    EXPECT_EQ(shown, QStringLiteral("первая\nвторая"));
    EXPECT_TRUE(readOnly);
    EXPECT_EQ(labels, QStringList{QStringLiteral("Напоминание ниже. Попытайтесь вспомнить пароль.")});
    EXPECT_EQ(buttons, QStringList{QStringLiteral("OK")}) << "the viewer has only OK";
}

TEST(NewPasswordDialog, OkOnlyWhenBothBoxesAgreeAndAreNotEmpty) {
    const struct {
        const char* password;
        const char* confirm;
        bool ok;
    } cases[] = {
        {"", "", false},  {"a", "", false},       {"", "a", false},        {"a", "b", false},
        {"a", "a", true}, {"ключ", "ключ", true}, {"ключ", "Ключ", false},
    };
    for (const auto mode : {TfrmNewPassword::New, TfrmNewPassword::Change}) {
        TfrmNewPassword dialog(nullptr, mode, QString());
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Пароль для защиты книжки"));
        EXPECT_EQ(dialog.oldPasswordEdit() != nullptr, mode == TfrmNewPassword::Change);
        for (QLineEdit* edit : dialog.findChildren<QLineEdit*>()) {
            EXPECT_EQ(edit->echoMode(), QLineEdit::Password);
            EXPECT_EQ(edit->maxLength(), 56);
        }
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.password) + "/" + c.confirm);
            setText(dialog.passwordEdit(), QString::fromUtf8(c.password));
            setText(dialog.confirmEdit(), QString::fromUtf8(c.confirm));
            EXPECT_EQ(dialog.okButton()->isEnabled(), c.ok);
        }
    }
    TfrmNewPassword newPanel(nullptr, TfrmNewPassword::New, QString());
    EXPECT_EQ(labelTexts(newPanel),
              QStringList({QStringLiteral("Введите пароль для зашифровки книжки (макс. 56 символов):"),
                           QStringLiteral("Подтверждение:")}));
    TfrmNewPassword changePanel(nullptr, TfrmNewPassword::Change, QString());
    EXPECT_TRUE(labelTexts(changePanel).contains(QStringLiteral("Старый пароль:")));
}

TEST(NewPasswordDialog, ReminderIsWrittenBackOnlyWithOk) {
    TGuiPasswordPrompt prompt;
    const struct {
        bool editorOk;
        bool dialogOk;
        QString reminder;
    } cases[] = {
        {true, true, QStringLiteral("старое\r\nновое")},
        {true, false, QStringLiteral("старое")},
        {false, true, QStringLiteral("старое")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(QStringLiteral("%1 %2").arg(c.editorOk).arg(c.dialogOk).toStdString());
        whenModal<TfrmNewPassword>([&](TfrmNewPassword* dialog) {
            whenModal<TfrmReminder>([&](TfrmReminder* editor) {
                editor->memo()->moveCursor(QTextCursor::End);
                QTest::keyClick(editor->memo(), Qt::Key_Return);
                typeText(editor->memo(), QStringLiteral("новое"));
                if (c.editorOk)
                    QTest::keyClick(editor->memo(), Qt::Key_Return, Qt::ControlModifier);
                else
                    QTest::keyClick(editor->memo(), Qt::Key_Escape);
            });
            dialog->reminderButton()->click();
            typeText(dialog->passwordEdit(), QStringLiteral("x"));
            typeText(dialog->confirmEdit(), QStringLiteral("x"));
            if (c.dialogOk)
                dialog->okButton()->click();
            else
                dialog->reject();
        });
        QString reminder = QStringLiteral("старое");
        const auto password = prompt.newPassword(reminder);
        EXPECT_EQ(password.has_value(), c.dialogOk);
        EXPECT_EQ(password.value_or(QString()), c.dialogOk ? QStringLiteral("x") : QString());
        EXPECT_EQ(reminder, c.reminder);
    }
}

TEST(ChangePasswordDialog, WrongOldPasswordIsReportedAndAskedAgain) {
    ScriptedMessages messages;
    TGuiPasswordPrompt prompt;
    int dialogsShown = 0;
    whenModal<TfrmNewPassword>([&](TfrmNewPassword* dialog) {
        ++dialogsShown;
        setText(dialog->oldPasswordEdit(), QStringLiteral("неверный"));
        setText(dialog->passwordEdit(), QStringLiteral("новый"));
        setText(dialog->confirmEdit(), QStringLiteral("новый"));
        dialog->okButton()->click();
        EXPECT_TRUE(dialog->isVisible()) << "still asking";
        EXPECT_EQ(dialog->oldPasswordEdit()->selectedText(), QStringLiteral("неверный"));
        setText(dialog->oldPasswordEdit(), QStringLiteral("старый"));
        dialog->okButton()->click();
    });
    QStringList checked;
    QString reminder;
    const QString result = prompt.changePassword(reminder, [&](const QString& old) {
        checked << old;
        return old == QStringLiteral("старый");
    });
    EXPECT_EQ(result, QStringLiteral("новый"));
    EXPECT_EQ(checked, QStringList({QStringLiteral("неверный"), QStringLiteral("старый")}));
    EXPECT_EQ(dialogsShown, 1);
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(messages.shown()[0].text,
              QStringLiteral("Указан неверный старый пароль, введите правильный пароль."));
    EXPECT_EQ(messages.shown()[0].caption, QStringLiteral("Ошибка"));

    whenModal<TfrmNewPassword>([&](TfrmNewPassword* dialog) {
        setText(dialog->oldPasswordEdit(), QStringLiteral("неверный"));
        dialog->reject();
    });
    reminder = QStringLiteral("r");
    EXPECT_TRUE(prompt.changePassword(reminder, [](const QString&) { return true; }).isEmpty());
    EXPECT_EQ(reminder, QStringLiteral("r"));
}

TEST(ReminderDialog, EditorKeepsAtMost150CharactersAndConfirmsWithCtrlEnter) {
    const QString long160(160, QLatin1Char('m'));
    TfrmReminder editor(nullptr, long160, TfrmReminder::Edit);
    EXPECT_EQ(editor.windowTitle(), QStringLiteral("Напоминание о пароле"));
    EXPECT_EQ(editor.memo()->toPlainText(), long160.left(150))
        << "a 160-character reminder is kept as its first 150";
    editor.memo()->moveCursor(QTextCursor::End);
    typeText(editor.memo(), QStringLiteral("лишнее"));
    EXPECT_EQ(editor.reminder(), long160.left(150)) << "a full memo takes nothing more";

    TfrmReminder lines(nullptr, QStringLiteral("раз"), TfrmReminder::Edit);
    lines.show();
    lines.memo()->moveCursor(QTextCursor::End);
    QTest::keyClick(lines.memo(), Qt::Key_Return);
    typeText(lines.memo(), QStringLiteral("два"));
    EXPECT_TRUE(lines.isVisible()) << "Enter starts a line";
    EXPECT_EQ(lines.reminder(), QStringLiteral("раз\r\nдва"));
    QTest::keyClick(lines.memo(), Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(lines.result(), QDialog::Accepted);

    TfrmReminder escaped(nullptr, QString(), TfrmReminder::Edit);
    escaped.show();
    QTest::keyClick(escaped.memo(), Qt::Key_Escape);
    EXPECT_EQ(escaped.result(), QDialog::Rejected);
    EXPECT_FALSE(escaped.isVisible());
}
