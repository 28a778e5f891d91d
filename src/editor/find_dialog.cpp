#include "editor/find_dialog.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace vlr {

TRichFindDialog::TRichFindDialog(QWidget* parent, bool replace) : QDialog(parent), m_replace(replace) {
    setWindowTitle(replace ? QStringLiteral("Заменить") : QStringLiteral("Найти"));
    setModal(false);
    auto* fields = new QFormLayout;
    m_find = new QLineEdit(this);
    fields->addRow(QStringLiteral("&Что:"), m_find);
    if (replace) {
        m_replaceWith = new QLineEdit(this);
        fields->addRow(QStringLiteral("Заменить &на:"), m_replaceWith);
    }
    m_wholeWord = new QCheckBox(QStringLiteral("Только слово &целиком"), this);
    m_matchCase = new QCheckBox(QStringLiteral("С учетом &регистра"), this);
    auto* direction = new QGroupBox(QStringLiteral("Направление"), this);
    m_up = new QRadioButton(QStringLiteral("&Вверх"), direction);
    m_down = new QRadioButton(QStringLiteral("В&низ"), direction);
    m_down->setChecked(true);
    auto* dl = new QHBoxLayout(direction);
    dl->addWidget(m_up);
    dl->addWidget(m_down);
    m_direction = direction;

    auto* left = new QVBoxLayout;
    left->addLayout(fields);
    left->addWidget(m_wholeWord);
    left->addWidget(m_matchCase);
    left->addWidget(direction);
    left->addStretch();

    auto* buttons = new QVBoxLayout;
    auto* next = new QPushButton(QStringLiteral("Найти &далее"), this);
    next->setDefault(true);
    buttons->addWidget(next);
    connect(next, &QPushButton::clicked, this, &TRichFindDialog::findNext);
    if (replace) {
        auto* one = new QPushButton(QStringLiteral("&Заменить"), this);
        auto* all = new QPushButton(QStringLiteral("Заменить &все"), this);
        buttons->addWidget(one);
        buttons->addWidget(all);
        connect(one, &QPushButton::clicked, this, &TRichFindDialog::replaceOne);
        connect(all, &QPushButton::clicked, this, &TRichFindDialog::replaceAll);
    }
    auto* cancel = new QPushButton(QStringLiteral("Отмена"), this);
    buttons->addWidget(cancel);
    buttons->addStretch();
    connect(cancel, &QPushButton::clicked, this, &TRichFindDialog::reject);

    auto* top = new QHBoxLayout(this);
    top->addLayout(left, 1);
    top->addLayout(buttons);
    auto enable = [this, next] { next->setEnabled(!m_find->text().isEmpty()); };
    connect(m_find, &QLineEdit::textChanged, this, enable);
    enable();
}

QString TRichFindDialog::findText() const {
    return m_find->text();
}
void TRichFindDialog::setFindText(const QString& text) {
    m_find->setText(text);
}
QString TRichFindDialog::replaceText() const {
    return m_replaceWith ? m_replaceWith->text() : QString();
}

void TRichFindDialog::setReplaceText(const QString& text) {
    if (m_replaceWith)
        m_replaceWith->setText(text);
}

bool TRichFindDialog::wholeWord() const {
    return m_wholeWord->isChecked();
}
bool TRichFindDialog::matchCase() const {
    return m_matchCase->isChecked();
}
bool TRichFindDialog::down() const {
    // Without the direction choice the search always goes down.
    return m_direction->isHidden() || m_down->isChecked();
}
void TRichFindDialog::setDirectionVisible(bool visible) {
    m_direction->setVisible(visible);
}

void TRichFindDialog::reject() {
    QDialog::reject();
    emit closed();
}

} // namespace vlr
