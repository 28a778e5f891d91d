#pragma once
// The notebook file dialogs on the platform's own file dialog.
#include "app/notebook_commands.h"

class QWidget;

namespace vlr {

class TQtFileDialogs final : public FileDialogs {
public:
    explicit TQtFileDialogs(QWidget* owner) : m_owner(owner) {}
    QStringList OpenNotebooks(const QString& folder) override;
    QString SaveNotebook(const QString& caption, const QString& initialPath) override;

private:
    QWidget* m_owner;
};

} // namespace vlr
