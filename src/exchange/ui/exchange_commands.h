#pragma once
// The export and import commands of the main window: their actions, and the
// wizards they open over the notebook service, the tree, the options and the
// settings file.
#include "exchange/ui/export_wizard.h"

#include <QAction>
#include <QObject>
#include <QPointer>

#include <memory>

class QMenu;
class QWidget;

namespace vlr {

class TfrmImport;

class TExchangeCommands final : public QObject {
    Q_OBJECT
public:
    // window owns the dialogs; the defaults functions give what new notes and
    // notebooks start with (the program's options).
    TExchangeCommands(TNotebookService& service, TMyTreeView& tree, const TVLROptions& options,
                      TSettingsFile& settings, std::function<NewNoteDefaults()> noteDefaults,
                      std::function<NewNotebookDefaults()> notebookDefaults, QWidget* window);
    ~TExchangeCommands() override;

    QAction* FileExportNew;   // "Экспорт записей..."
    QAction* FileExportNote;  // "Экспорт записи..."
    QAction* FileImport;      // carries the import submenu
    QAction* FileImportFiles; // "Импорт из файлов..." (Ctrl+Alt+I)
    QMenu* ImportMenu() const { return m_importMenu; }

    void ExportNotes() { runExport(TExportTree::Command::ExportNotes); }
    void ExportNote() { runExport(TExportTree::Command::ExportNote); }
    void ImportFiles();

    TfrmExp* ExportWizard() const { return m_export.get(); }
    TfrmImport* ImportWizard() const { return m_import.get(); }

signals:
    // Notes were added or changed: the window brings its display up to date.
    void notesChanged();

private:
    void runExport(TExportTree::Command command);
    // Stores the editor into its note and unlocks the notebook; the selection, or none.
    TTreeNode* prepare();

    TExchangeContext m_context;
    QWidget* m_window;
    QMenu* m_importMenu;
    std::unique_ptr<TfrmExp> m_export;
    std::unique_ptr<TfrmImport> m_import;
};

} // namespace vlr
