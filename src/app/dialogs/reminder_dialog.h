#pragma once
// The password reminder: edited when a password is set, viewed when one is asked for.
#include <QDialog>

class QDialogButtonBox;
class QPlainTextEdit;

namespace vlr {

class TfrmReminder final : public QDialog {
    Q_OBJECT
public:
    enum Mode { Edit, View };
    // reminder: as stored in the notebook (see password_reminder.h).
    TfrmReminder(QWidget* parent, const QString& reminder, Mode mode);

    // The reminder in its stored form.
    QString reminder() const;
    QPlainTextEdit* memo() const { return m_memo; }
    QDialogButtonBox* buttons() const { return m_buttons; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void keepWithinLimit();

    QPlainTextEdit* m_memo;
    QDialogButtonBox* m_buttons;
    QString m_accepted; // the memo's text as last accepted by the limit
};

} // namespace vlr
