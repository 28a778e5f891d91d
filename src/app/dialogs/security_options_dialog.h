#pragma once
// "Опции криптозащиты книжки": encryption on or off, a new password, the
// away and close delays. Encrypting, decrypting and a new password take
// effect at once; the delays on OK.
#include "app/dialogs/notebook_options.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;

namespace vlr {

class TNotebookBinding;

class TfrmSecurityOptions final : public QDialog {
    Q_OBJECT
public:
    // target: the notebook the dialog is for; once it is lost, the dialog
    // ends as cancelled. askProtect: the ask-once flag of the encryption question.
    TfrmSecurityOptions(QWidget* parent, TNotebookBinding& target, bool& askProtect);

    SecurityFields fields() const;

    QLabel* statusLabel() const { return m_status; }
    QPushButton* protectButton() const { return m_protect; }
    QPushButton* changePasswordButton() const { return m_changePassword; }
    struct DelayControls {
        QCheckBox* box;
        QSpinBox* count;
        QComboBox* unit;
    };
    const DelayControls& awayControls() const { return m_away; }
    const DelayControls& closeControls() const { return m_close; }
    QPushButton* okButton() const { return m_ok; }

    void accept() override;

private:
    DelayControls delayRow(const QString& caption, const DelayField& value);
    // A delay's count and unit follow its box.
    static void enableDelay(const DelayControls& c);
    void showState();
    void toggleProtection();
    void changePassword();

    TNotebookBinding& m_target;
    bool& m_askProtect;
    QLabel* m_status;
    QPushButton* m_protect;
    QPushButton* m_changePassword;
    DelayControls m_away;
    DelayControls m_close;
    QPushButton* m_ok = nullptr;
};

// Shows the dialog; true when it ended with OK (its fields are then applied).
bool RunSecurityOptionsDialog(QWidget* parent, TNotebookBinding& target, bool& askProtect);

} // namespace vlr
