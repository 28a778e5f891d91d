#include "app/dialogs/bound_dialog.h"

#include "storage/notebook_binding.h"

#include <QDialog>
#include <QPointer>

namespace vlr {

void CancelWhenLost(QDialog& dialog, const TNotebookBinding& binding) {
    QObject::connect(&binding, &TNotebookBinding::lost, &dialog, [&dialog] {
        // The innermost first: each returns from its own exec() as cancelled,
        // and the code after it finds the binding lost.
        const QList<QDialog*> above = dialog.findChildren<QDialog*>();
        for (auto it = above.crbegin(); it != above.crend(); ++it) {
            QPointer<QDialog> open = *it;
            if (open && open->isVisible())
                open->reject();
        }
        dialog.reject();
    });
}

} // namespace vlr
