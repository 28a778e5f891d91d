#pragma once
// The search command of the main window: EditFindInNotebook ("Найти в
// книжках...") opens the modeless search dialog. It owns the text cache,
// which outlives the dialog so that a search after reopening it converts
// nothing already searched.
#include "search/global_search_dialog.h"

#include <QObject>
#include <QPointer>

class QAction;

namespace vlr {

class TMyTreeView;
class TNoteTextCache;
class TNotebookService;
class TSettingsFile;

class TSearchCommands : public QObject {
    Q_OBJECT
public:
    using HelpOpener = TfrmGlobalSearch::HelpOpener;

    TSearchCommands(TNotebookService& service, TMyTreeView& tree, TSettingsFile& settings, HelpOpener help,
                    QObject* parent = nullptr);
    ~TSearchCommands() override;

    QAction* EditFindInNotebook;

    // Nothing happens when no notebook is open, or when the selected note's
    // notebook is locked and its password is not given. Otherwise the
    // editor's unsaved text goes into its note, so that the search sees it,
    // and the dialog (created on first use) comes up.
    void FindInNotebook();
    // The open dialog, if any.
    TfrmGlobalSearch* Dialog() const { return m_dialog; }
    TNoteTextCache& TextCache() { return *m_cache; }

private:
    TNotebookService& m_service;
    TMyTreeView& m_tree;
    TSettingsFile& m_settings;
    HelpOpener m_help;
    TNoteTextCache* m_cache;
    QPointer<TfrmGlobalSearch> m_dialog;
};

} // namespace vlr
