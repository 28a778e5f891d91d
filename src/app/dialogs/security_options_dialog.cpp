#include "app/dialogs/security_options_dialog.h"

#include "app/dialogs/bound_dialog.h"
#include "app/dialogs/dialog_parts.h"
#include "app/dialogs/new_password_dialog.h"
#include "storage/node_root.h"
#include "storage/notebook_binding.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <optional>

namespace vlr {

namespace {
struct NewPassword {
    QString password;
    QString reminder;
};

// The password dialog in the given mode; its boxes are emptied before it goes.
// None when it is cancelled or the notebook is lost meanwhile.
std::optional<NewPassword> askPassword(QWidget* parent, const TNotebookBinding& target,
                                       TfrmNewPassword::Mode mode) {
    TfrmNewPassword dialog(parent, mode, target.Notebook()->Header.PasswordReminder());
    if (mode == TfrmNewPassword::Change)
        dialog.setOldPasswordCheck([&target](const QString& old) {
            return target.Notebook() && IsCurrentPassword(*target.Notebook(), old);
        });
    const bool accepted = dialog.exec() == QDialog::Accepted && !target.IsLost();
    std::optional<NewPassword> out;
    if (accepted)
        out = NewPassword{dialog.password(), dialog.reminder()};
    for (QLineEdit* box : {dialog.oldPasswordEdit(), dialog.passwordEdit(), dialog.confirmEdit()})
        if (box)
            box->clear();
    return out;
}
} // namespace

TfrmSecurityOptions::TfrmSecurityOptions(QWidget* parent, TNotebookBinding& target, bool& askProtect)
    : QDialog(parent), m_target(target), m_askProtect(askProtect), m_status(new QLabel(this)),
      m_protect(new QPushButton(this)),
      m_changePassword(new QPushButton(QStringLiteral("Сменить пароль"), this)) {
    setWindowTitle(QStringLiteral("Опции криптозащиты книжки"));
    auto* about =
        new QLabel(QStringLiteral("Записи книжки шифруются алгоритмом Blowfish с ключом длиной 448 бит. "
                                  "Пароль защищает ключ, которым зашифрованы записи."),
                   this);
    about->setWordWrap(true);

    auto* state = new QHBoxLayout;
    state->addWidget(m_status, 1);
    state->addWidget(m_protect);
    state->addWidget(m_changePassword);
    connect(m_protect, &QPushButton::clicked, this, &TfrmSecurityOptions::toggleProtection);
    connect(m_changePassword, &QPushButton::clicked, this, &TfrmSecurityOptions::changePassword);

    CancelWhenLost(*this, target);
    // A binding lost already leaves the fields at their defaults; the dialog
    // can only be cancelled then.
    const SecurityFields current =
        target.Notebook() ? securityFieldsOf(*target.Notebook()) : SecurityFields{};
    auto* delays = new QGridLayout;
    m_away = delayRow(QStringLiteral("Включать режим \"ушёл\" после:"), current.away);
    m_close = delayRow(QStringLiteral("Закрыть книжку после:"), current.close);
    int row = 0;
    for (const DelayControls* c : {&m_away, &m_close}) {
        delays->addWidget(c->box, row, 0);
        delays->addWidget(c->count, row, 1);
        delays->addWidget(c->unit, row, 2);
        delays->addWidget(new QLabel(QStringLiteral("неактивности"), this), row, 3);
        ++row;
    }

    QDialogButtonBox* buttons = okCancelButtons(this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(about);
    layout->addLayout(state);
    layout->addLayout(delays);
    layout->addStretch();
    layout->addWidget(buttons);
    showState();
}

TfrmSecurityOptions::DelayControls TfrmSecurityOptions::delayRow(const QString& caption,
                                                                 const DelayField& value) {
    DelayControls c{new QCheckBox(caption, this), new QSpinBox(this), new QComboBox(this)};
    c.count->setRange(1, int(~kDelayMinutesBit));
    c.count->setValue(int(value.count));
    c.unit->addItems({QStringLiteral("секунд"), QStringLiteral("минут")});
    c.unit->setCurrentIndex(value.minutes ? 1 : 0);
    c.count->setSingleStep(value.minutes ? 1 : 30);
    c.box->setChecked(value.on);
    connect(c.box, &QCheckBox::toggled, this, [c] { enableDelay(c); });
    connect(c.unit, &QComboBox::currentIndexChanged, this,
            [c](int index) { c.count->setSingleStep(index == 1 ? 1 : 30); });
    enableDelay(c);
    return c;
}

void TfrmSecurityOptions::enableDelay(const DelayControls& c) {
    const bool on = c.box->isChecked() && c.box->isEnabled();
    c.count->setEnabled(on);
    c.unit->setEnabled(on);
}

void TfrmSecurityOptions::showState() {
    const TNodeRoot* nb = m_target.Notebook();
    if (!nb)
        return;
    const bool encrypted = nb->HasBookFlag(bfEncrypted);
    m_status->setText(encrypted ? QStringLiteral("Зашифрована") : QStringLiteral("Не зашифрована"));
    m_protect->setText(encrypted ? QStringLiteral("Расшифровать") : QStringLiteral("Зашифровать"));
    m_changePassword->setEnabled(encrypted);
    m_away.box->setEnabled(encrypted);
    enableDelay(m_away);
}

SecurityFields TfrmSecurityOptions::fields() const {
    const auto read = [](const DelayControls& c) {
        return DelayField{c.box->isChecked(), uint32_t(c.count->value()), c.unit->currentIndex() == 1};
    };
    return {read(m_away), read(m_close)};
}

void TfrmSecurityOptions::toggleProtection() {
    if (!m_target.Notebook() || !AskEncryptionToggle(*m_target.Notebook(), m_askProtect))
        return;
    // The question waited for the user: the notebook may be gone by now.
    TNodeRoot* nb = m_target.Notebook();
    if (!nb)
        return;
    NewPassword chosen;
    if (!nb->HasBookFlag(bfEncrypted)) {
        // None as well when the notebook is lost while the password is typed.
        std::optional<NewPassword> answer = askPassword(this, m_target, TfrmNewPassword::New);
        if (!answer)
            return;
        chosen = std::move(*answer);
    }
    const bool done = RunEncryptionToggle(*nb, chosen.password, chosen.reminder);
    chosen.password.fill(QChar(0));
    showState();
    if (done && !m_target.IsLost())
        accept();
}

void TfrmSecurityOptions::changePassword() {
    if (!m_target.Notebook())
        return;
    std::optional<NewPassword> answer = askPassword(this, m_target, TfrmNewPassword::Change);
    if (!answer)
        return;
    (void)RunPasswordChange(*m_target.Notebook(), answer->password, answer->reminder);
    answer->password.fill(QChar(0));
}

void TfrmSecurityOptions::accept() {
    TNodeRoot* nb = m_target.Notebook();
    if (!nb) {
        reject();
        return;
    }
    ApplySecurityFields(*nb, fields());
    QDialog::accept();
}

bool RunSecurityOptionsDialog(QWidget* parent, TNotebookBinding& target, bool& askProtect) {
    TfrmSecurityOptions dialog(parent, target, askProtect);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace vlr
