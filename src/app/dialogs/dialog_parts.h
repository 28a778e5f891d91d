#pragma once
// Pieces the dialogs are built from: the standard buttons with their Russian
// texts (for message boxes too), the button row and the icon column.
#include <QDialogButtonBox>
#include <QStyle>

class QHBoxLayout;
class QLayout;

namespace vlr {

// "OK", "Отмена", "Да", "Нет", "Прервать", "Повтор", "Пропустить"; empty for others.
QString standardButtonText(QDialogButtonBox::StandardButton button);

// OK and (when withCancel) Отмена, wired to the dialog's accept and reject.
QDialogButtonBox* okCancelButtons(QDialog* dialog, bool withCancel = true);

// The dialog's buttons at the right, an extra button at the left.
QHBoxLayout* buttonRow(QWidget* extra, QDialogButtonBox* buttons);

// The content with a standard icon at its top left, as message boxes have.
QHBoxLayout* besideIcon(QWidget* parent, QStyle::StandardPixmap icon, QLayout* content);

} // namespace vlr
