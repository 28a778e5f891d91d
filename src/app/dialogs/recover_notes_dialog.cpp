#include "app/dialogs/recover_notes_dialog.h"

#include "app/dialogs/bound_dialog.h"
#include "app/dialogs/dialog_parts.h"
#include "app/dialogs/help.h"
#include "storage/node_root.h"
#include "storage/notebook_binding.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QStackedLayout>
#include <QVBoxLayout>

namespace vlr {

TfrmRecoverNotes::TfrmRecoverNotes(QWidget* parent, const TNotebookBinding& target)
    : QDialog(parent), m_notes(target.Notebook() ? target.Notebook()->DeletedNotes : QList<TNodeData*>()),
      m_list(new QListWidget(this)),
      m_empty(new QLabel(QStringLiteral("Нет записей для восстановления"), this)),
      m_recover(new QPushButton(QStringLiteral("Восстановить"), this)),
      m_help(new QPushButton(QStringLiteral("Справка"), this)) {
    setWindowTitle(QStringLiteral("Восстановить удалённые записи"));
    CancelWhenLost(*this, target);
    for (const TNodeData* note : m_notes) {
        auto* item = new QListWidgetItem(note->Record.NoteName(), m_list);
        const QImage picture = target.Notebook()->Images.image(note->Record.ImageIndex());
        if (!picture.isNull())
            item->setIcon(QPixmap::fromImage(picture));
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    m_empty->setAlignment(Qt::AlignCenter);
    QPalette grey = m_empty->palette();
    grey.setColor(QPalette::WindowText, QColor(128, 128, 128));
    // In place of the list, on the list's own background.
    grey.setColor(QPalette::Window, m_list->palette().color(QPalette::Base));
    m_empty->setPalette(grey);
    m_empty->setAutoFillBackground(true);
    m_empty->setFrameShape(m_list->frameShape());

    auto* stack = new QStackedLayout;
    stack->addWidget(m_list);
    stack->addWidget(m_empty);
    stack->setCurrentWidget(m_notes.isEmpty() ? static_cast<QWidget*>(m_empty) : m_list);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(m_recover, QDialogButtonBox::AcceptRole);
    buttons->addButton(QDialogButtonBox::Cancel)->setText(standardButtonText(QDialogButtonBox::Cancel));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    m_recover->setEnabled(!m_notes.isEmpty());
    m_recover->setDefault(true);
    m_help->setAutoDefault(false);
    connect(m_help, &QPushButton::clicked, this,
            [] { (void)OpenHelpTopic(QStringLiteral("DialogRecoverNotes")); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(
        new QLabel(QStringLiteral("Укажите записи для восстановления и нажмите \"Восстановить\""), this));
    layout->addLayout(stack, 1);
    layout->addLayout(buttonRow(m_help, buttons));
    resize(420, 320);
}

QList<TNodeData*> TfrmRecoverNotes::chosen() const {
    QList<TNodeData*> out;
    for (int row = 0; row < m_list->count(); ++row)
        if (m_list->item(row)->checkState() == Qt::Checked)
            out << m_notes.at(row);
    return out;
}

QList<TNodeData*> ChooseNotesToRecoverDialog(QWidget* parent, const TNotebookBinding& target) {
    TfrmRecoverNotes dialog(parent, target);
    if (dialog.exec() != QDialog::Accepted || target.IsLost())
        return {};
    return dialog.chosen();
}

} // namespace vlr
