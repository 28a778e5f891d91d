#include "app/dialogs/saving_options_dialog.h"

#include "app/dialogs/bound_dialog.h"
#include "app/dialogs/dialog_parts.h"
#include "storage/node_root.h"
#include "storage/notebook_binding.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace vlr {

TfrmSavingOptions::TfrmSavingOptions(QWidget* parent, TNotebookBinding& target, bool& askCompress)
    : QDialog(parent), m_target(target), m_askCompress(askCompress), m_status(new QLabel(this)),
      m_compress(new QPushButton(this)), m_reserve(new QSpinBox(this)),
      m_autoSave(new QCheckBox(QStringLiteral("Включить автосохранение"), this)),
      m_minutes(new QSpinBox(this)) {
    setWindowTitle(QStringLiteral("Опции сохранения книжки"));
    CancelWhenLost(*this, target);
    // A binding lost already leaves the fields at their defaults; the dialog
    // can only be cancelled then.
    const SavingFields current = target.Notebook() ? savingFieldsOf(*target.Notebook()) : SavingFields{};

    auto* state = new QHBoxLayout;
    state->addWidget(m_status, 1);
    state->addWidget(m_compress);
    connect(m_compress, &QPushButton::clicked, this, &TfrmSavingOptions::toggleCompression);

    auto* reserveHelp =
        new QLabel(QStringLiteral("Резерв после каждой записи в файле: запись, которая выросла "
                                  "в его пределах, сохраняется на своём месте."),
                   this);
    reserveHelp->setWordWrap(true);
    m_reserve->setRange(0, 1000000000);
    m_reserve->setSingleStep(100);
    m_reserve->setValue(current.reserve);
    m_minutes->setRange(kAutoSaveMinutesMin, kAutoSaveMinutesMax);
    m_minutes->setValue(current.minutes);
    m_autoSave->setChecked(current.autoSave);
    m_minutes->setEnabled(current.autoSave);
    connect(m_autoSave, &QCheckBox::toggled, m_minutes, &QSpinBox::setEnabled);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Резервный размер:"), this), 0, 0);
    grid->addWidget(m_reserve, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("байт"), this), 0, 2);
    grid->addWidget(m_autoSave, 1, 0);
    grid->addWidget(m_minutes, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("минут"), this), 1, 2);

    QDialogButtonBox* buttons = okCancelButtons(this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(state);
    layout->addSpacing(8);
    layout->addWidget(reserveHelp);
    layout->addLayout(grid);
    layout->addStretch();
    layout->addWidget(buttons);
    setMinimumWidth(460);
    showState();
}

void TfrmSavingOptions::showState() {
    const TNodeRoot* nb = m_target.Notebook();
    if (!nb)
        return;
    const bool compressed = nb->HasBookFlag(bfCompressed);
    m_status->setText(compressed ? QStringLiteral("Упакована") : QStringLiteral("Не упакована"));
    m_compress->setText(compressed ? QStringLiteral("Распаковать текущую книжку")
                                   : QStringLiteral("Упаковать текущую книжку"));
}

SavingFields TfrmSavingOptions::fields() const {
    return {m_reserve->value(), m_autoSave->isChecked(), m_minutes->value()};
}

void TfrmSavingOptions::toggleCompression() {
    if (!m_target.Notebook() || !AskCompressionToggle(*m_target.Notebook(), m_askCompress))
        return;
    // The question waited for the user: the notebook may be gone by now.
    TNodeRoot* nb = m_target.Notebook();
    if (!nb)
        return;
    const bool done = RunCompressionToggle(*nb);
    showState();
    if (done && !m_target.IsLost())
        accept();
}

void TfrmSavingOptions::accept() {
    TNodeRoot* nb = m_target.Notebook();
    if (!nb) {
        reject();
        return;
    }
    (void)ApplySavingFields(*nb, fields());
    QDialog::accept();
}

bool RunSavingOptionsDialog(QWidget* parent, TNotebookBinding& target, bool& askCompress) {
    TfrmSavingOptions dialog(parent, target, askCompress);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace vlr
