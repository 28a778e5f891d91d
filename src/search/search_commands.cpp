#include "search/search_commands.h"

#include "editor/richedit.h"
#include "search/note_text_cache.h"
#include "storage/notebook_service.h"
#include "tree/MyTreeView.h"

#include <QAction>

namespace vlr {

TSearchCommands::TSearchCommands(TNotebookService& service, TMyTreeView& tree, TSettingsFile& settings,
                                 HelpOpener help, QObject* parent)
    : QObject(parent), m_service(service), m_tree(tree), m_settings(settings), m_help(std::move(help)),
      m_cache(new TNoteTextCache(service, TNoteTextCache::kDefaultBudget, this)) {
    EditFindInNotebook = new QAction(QStringLiteral("Найти в книжках..."), this);
    EditFindInNotebook->setObjectName(QStringLiteral("EditFindInNotebook"));
    connect(EditFindInNotebook, &QAction::triggered, this, &TSearchCommands::FindInNotebook);
}

TSearchCommands::~TSearchCommands() {
    // The dialog's search refers to the cache.
    delete m_dialog;
}

void TSearchCommands::FindInNotebook() {
    if (m_service.Count() == 0)
        return;
    TTreeNode* selected = m_tree.Selected();
    if (!m_tree.CanModifyNotebook(selected))
        return;
    // Only edits are stored: text that was not edited is the note's already,
    // and storing it would mark the notebook changed.
    if (selected && selected->Note() && m_tree.Editor())
        m_tree.SaveNodeRTF(selected, m_tree.Editor()->Modified());
    // A dialog closed a moment ago is only waiting to be destroyed.
    if (m_dialog && m_dialog->isHidden())
        delete m_dialog;
    if (!m_dialog)
        m_dialog = new TfrmGlobalSearch(m_service, m_cache, m_tree, m_settings, m_help, m_tree.window());
    if (m_dialog->isMinimized())
        m_dialog->showNormal();
    m_dialog->show();
    m_dialog->raise();
    m_dialog->activateWindow();
}

} // namespace vlr
