#include "app/dialogs/dialog_parts.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace vlr {

QString standardButtonText(QDialogButtonBox::StandardButton button) {
    switch (button) {
    case QDialogButtonBox::Ok:
        return QStringLiteral("OK");
    case QDialogButtonBox::Cancel:
        return QStringLiteral("Отмена");
    case QDialogButtonBox::Yes:
        return QStringLiteral("Да");
    case QDialogButtonBox::No:
        return QStringLiteral("Нет");
    case QDialogButtonBox::Abort:
        return QStringLiteral("Прервать");
    case QDialogButtonBox::Retry:
        return QStringLiteral("Повтор");
    case QDialogButtonBox::Ignore:
        return QStringLiteral("Пропустить");
    default:
        return {};
    }
}

QDialogButtonBox* okCancelButtons(QDialog* dialog, bool withCancel) {
    auto* box = new QDialogButtonBox(dialog);
    box->addButton(QDialogButtonBox::Ok)->setText(standardButtonText(QDialogButtonBox::Ok));
    if (withCancel)
        box->addButton(QDialogButtonBox::Cancel)->setText(standardButtonText(QDialogButtonBox::Cancel));
    QObject::connect(box, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(box, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return box;
}

QHBoxLayout* buttonRow(QWidget* extra, QDialogButtonBox* buttons) {
    auto* row = new QHBoxLayout;
    row->addWidget(extra);
    row->addStretch();
    row->addWidget(buttons);
    return row;
}

QHBoxLayout* besideIcon(QWidget* parent, QStyle::StandardPixmap icon, QLayout* content) {
    auto* label = new QLabel(parent);
    const int size = parent->style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, parent);
    label->setPixmap(parent->style()->standardIcon(icon, nullptr, parent).pixmap(size, size));
    label->setAlignment(Qt::AlignTop);
    auto* row = new QHBoxLayout;
    row->addWidget(label);
    row->addLayout(content, 1);
    return row;
}

} // namespace vlr
