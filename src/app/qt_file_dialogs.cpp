#include "app/qt_file_dialogs.h"

#include <QFileDialog>

namespace vlr {

QStringList TQtFileDialogs::OpenNotebooks(const QString& folder) {
    QFileDialog dialog(m_owner, QStringLiteral("Открыть"), folder, kNotebookFileFilter);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setDefaultSuffix(QStringLiteral("vlr"));
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles() : QStringList();
}

QString TQtFileDialogs::SaveNotebook(const QString& caption, const QString& initialPath) {
    QFileDialog dialog(m_owner, caption, initialPath, kNotebookFileFilter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("vlr"));
    // The overwrite question is the dialog's own; the folder must exist.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

} // namespace vlr
