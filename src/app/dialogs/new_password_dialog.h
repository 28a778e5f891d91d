#pragma once
// Setting a notebook's password: a new one typed twice, or (change mode) the
// old one and a new one typed twice; both can edit the reminder.
#include <QDialog>

#include <functional>

class QDialogButtonBox;
class QLineEdit;
class QPushButton;

namespace vlr {

class TfrmNewPassword final : public QDialog {
    Q_OBJECT
public:
    enum Mode { New, Change };
    // reminder: as stored; the dialog edits a copy of it.
    TfrmNewPassword(QWidget* parent, Mode mode, const QString& reminder);

    // Change mode: OK is refused, with a message, while this says the old password is wrong.
    void setOldPasswordCheck(std::function<bool(const QString&)> isRight) {
        m_oldIsRight = std::move(isRight);
    }

    QString password() const;
    // The edited copy of the reminder, stored form.
    const QString& reminder() const { return m_reminder; }

    QLineEdit* oldPasswordEdit() const { return m_old; }
    QLineEdit* passwordEdit() const { return m_new; }
    QLineEdit* confirmEdit() const { return m_confirm; }
    QPushButton* okButton() const;
    QPushButton* reminderButton() const { return m_reminderButton; }

    void accept() override;

private:
    void updateOk();
    void editReminder();

    Mode m_mode;
    QString m_reminder;
    std::function<bool(const QString&)> m_oldIsRight;
    QLineEdit* m_old = nullptr;
    QLineEdit* m_new;
    QLineEdit* m_confirm;
    QPushButton* m_reminderButton;
    QDialogButtonBox* m_buttons;
};

} // namespace vlr
