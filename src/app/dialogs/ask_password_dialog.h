#pragma once
// The question for the password of a protected notebook.
#include <QDialog>

class QLineEdit;
class QPushButton;
class QDialogButtonBox;

namespace vlr {

class TfrmAskPassword final : public QDialog {
    Q_OBJECT
public:
    // reminder: the notebook's reminder as stored; empty disables its button.
    TfrmAskPassword(QWidget* parent, const QString& bookName, const QString& reminder);

    QString password() const;
    QLineEdit* passwordEdit() const { return m_password; }
    QPushButton* okButton() const;
    QPushButton* reminderButton() const { return m_reminderButton; }

private:
    void showReminder();

    QString m_reminder;
    QLineEdit* m_password;
    QPushButton* m_reminderButton;
    QDialogButtonBox* m_buttons;
};

} // namespace vlr
