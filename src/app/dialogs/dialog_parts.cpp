#include "app/dialogs/dialog_buttons.h"

#include <QDialog>
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

} // namespace vlr
