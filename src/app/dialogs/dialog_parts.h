#pragma once
// The standard buttons with their Russian texts, for message boxes and the
// program's own dialogs alike.
#include <QDialogButtonBox>

namespace vlr {

// "OK", "Отмена", "Да", "Нет", "Прервать", "Повтор", "Пропустить"; empty for others.
QString standardButtonText(QDialogButtonBox::StandardButton button);

// OK and (when withCancel) Отмена, wired to the dialog's accept and reject.
QDialogButtonBox* okCancelButtons(QDialog* dialog, bool withCancel = true);

} // namespace vlr
