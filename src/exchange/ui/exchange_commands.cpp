#include "exchange/ui/exchange_commands.h"

#include "config/options.h"
#include "exchange/ui/import_wizard.h"
#include "storage/notebook_binding.h"
#include "storage/notebook_service.h"
#include "tree/MyTreeView.h"
#include "tree/note_binding.h"

#include <QMenu>

namespace vlr {

namespace {

QAction* action(QObject* owner, const char* name, const QString& caption) {
    auto* a = new QAction(caption, owner);
    a->setObjectName(QString::fromLatin1(name));
    return a;
}

} // namespace

TExchangeCommands::TExchangeCommands(TNotebookService& service, TMyTreeView& tree, const TVLROptions& options,
                                     TSettingsFile& settings, std::function<NewNoteDefaults()> noteDefaults,
                                     std::function<NewNotebookDefaults()> notebookDefaults, QWidget* window)
    : QObject(window),
      m_context{service, tree, options, settings, std::move(noteDefaults), std::move(notebookDefaults)},
      m_window(window) {
    FileExportNew = action(this, "FileExportNew", QStringLiteral("Экспорт записей..."));
    FileExportNote = action(this, "FileExportNote", QStringLiteral("Экспорт записи..."));
    FileImport = action(this, "FileImport", QStringLiteral("Импорт"));
    FileImportFiles = action(this, "FileImportFiles", QStringLiteral("Импорт из файлов..."));
    FileImportFiles->setShortcut(QKeySequence(QStringLiteral("Ctrl+Alt+I")));
    m_importMenu = new QMenu(window);
    m_importMenu->addAction(FileImportFiles);
    FileImport->setMenu(m_importMenu);
    connect(FileExportNew, &QAction::triggered, this, &TExchangeCommands::ExportNotes);
    connect(FileExportNote, &QAction::triggered, this, &TExchangeCommands::ExportNote);
    connect(FileImportFiles, &QAction::triggered, this, &TExchangeCommands::ImportFiles);
}

TExchangeCommands::~TExchangeCommands() = default;

TTreeNode* TExchangeCommands::prepare() {
    TMyTreeView& tree = m_context.tree;
    TTreeNode* selection = tree.Selected();
    if (!selection)
        return nullptr;
    if (TNodeData* current = tree.CurrentNote())
        tree.SaveNodeRTF(current->TreeNode, true);
    if (!tree.CanModifyNotebook(selection))
        return nullptr;
    return TNotebookService::NotebookOf(selection) && !TNotebookService::NotebookOf(selection)->IsLocked()
               ? selection
               : nullptr;
}

void TExchangeCommands::runExport(TExportTree::Command command) {
    TTreeNode* selection = prepare();
    if (!selection || (command == TExportTree::Command::ExportNote && !selection->Note()))
        return;
    // The dialog lives on, and is made anew for the other command.
    if (!m_export || m_export->Command() != command)
        m_export = std::make_unique<TfrmExp>(m_context, command, m_window);
    m_export->Start(selection);
    m_export->exec();
    (void)m_export->Target()->ReportIfLost();
    TMyTreeView& tree = m_context.tree;
    TNodeData* current = tree.CurrentNote();
    if (m_export->NoteChanged() && current && tree.Editor()) {
        // The editor shows the note's new text, so the old one is not stored back over it.
        if (TNodeRoot* nb = TNotebookService::NotebookOf(current->TreeNode))
            (void)BindNoteToEditor(*tree.Editor(), *nb, *current, tree.Options());
    }
    emit notesChanged();
}

void TExchangeCommands::ImportFiles() {
    TTreeNode* selection = prepare();
    TNodeRoot* nb = TNotebookService::NotebookOf(selection);
    if (!selection || !nb || nb->IsReadOnly())
        return;
    if (!m_import)
        m_import = std::make_unique<TfrmImport>(m_context.service, m_window);
    TImportSettings settings;
    settings.plainFontName = m_context.options.PlainFontName;
    settings.plainFontSize = m_context.options.PlainFontSize;
    settings.noteDefaults = m_context.noteDefaults();
    m_import->Start(selection, settings);
    m_import->exec();
    (void)m_import->Target()->ReportIfLost();
    emit notesChanged();
}

} // namespace vlr
