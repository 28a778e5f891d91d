#include "editor/paste_special_dialog.h"

#include "editor/custom_richedit.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace vlr {

TPasteSpecialDialog::TPasteSpecialDialog(QWidget* parent, const QList<TPasteSpecialEntry>& entries)
    : QDialog(parent), m_entries(entries) {
    setWindowTitle(QStringLiteral("Специальная вставка"));
    auto* layout = new QVBoxLayout(this);
    auto* as = new QLabel(QStringLiteral("&Как:"), this);
    layout->addWidget(as);
    m_list = new QListWidget(this);
    // Alt+К moves to the list; the label shows the letter underlined, not the '&'.
    as->setBuddy(m_list);
    for (const TPasteSpecialEntry& e : entries)
        m_list->addItem(e.formatName);
    layout->addWidget(m_list);
    m_result = new QLabel(this);
    m_result->setWordWrap(true);
    layout->addWidget(m_result);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    connect(m_list, &QListWidget::currentRowChanged, this, [this, buttons](int row) {
        const bool valid = row >= 0 && row < m_entries.size();
        m_result->setText(valid ? m_entries[row].resultText : QString());
        buttons->button(QDialogButtonBox::Ok)->setEnabled(valid);
    });
    m_list->setCurrentRow(entries.isEmpty() ? -1 : 0);
    buttons->button(QDialogButtonBox::Ok)->setEnabled(!entries.isEmpty());
}

int TPasteSpecialDialog::chosen() const {
    return m_list->currentRow();
}

bool TPasteSpecialDialog::run(TMyCustomRichEdit* editor) {
    const QList<TPasteSpecialEntry> entries = editor->PasteSpecialEntries();
    TPasteSpecialDialog dialog(editor->window(), entries);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    const int row = dialog.chosen();
    return row >= 0 && row < entries.size() && editor->PasteSpecial(entries[row].format);
}

} // namespace vlr
