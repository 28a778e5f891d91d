#pragma once
// Packing, backup copies before a pack, recovering deleted notes and reverting
// a note to its stored state. What the commands need of the window is the host
// below, so tests drive them without one.
#include "config/options.h"
#include "storage/notebook_binding.h"
#include "storage/notebook_service.h"

#include <QAction>
#include <QList>
#include <QObject>

namespace vlr {

class ProtectionCommandsHost {
public:
    virtual ~ProtectionCommandsHost() = default;
    virtual TTreeNode* SelectedNode() const = 0;
    // Stores the editor into the selected note.
    virtual void StoreEditor() = 0;
    // Shows the selected note again (after its body changed under the editor).
    virtual void RefreshEditor() = 0;
    virtual bool CanModifyNotebook(TTreeNode* node) = 0;
    virtual void SetStatus(const QString& text) = 0;
    // Saves the notebook the way the Save command does; true when saved.
    virtual bool SaveNotebook(TTreeNode* root) = 0;
    // The dialogs below work on the notebook their target holds and end as
    // cancelled once it is lost; the commands then say why.
    // The recover dialog over the notebook's deleted notes: the ticked ones,
    // top to bottom; empty when cancelled.
    virtual QList<TNodeData*> ChooseNotesToRecover(TNotebookBinding& target) = 0;
    // The saving and protection options dialogs over the notebook; true when
    // they ended with OK. askFlag is the ask-once flag of the dialog's
    // question. By default the dialogs themselves, over the active window.
    virtual bool EditSavingOptions(TNotebookBinding& target, bool& askCompress);
    virtual bool EditSecurityOptions(TNotebookBinding& target, bool& askProtect);
    // The notebook's options changed (for its properties page).
    virtual void NotebookOptionsChanged(TNodeRoot& notebook) { Q_UNUSED(notebook); }
};

class TProtectionCommands : public QObject {
    Q_OBJECT
public:
    // options: the ask-once flags of the options dialogs are switched off in it.
    TProtectionCommands(TNotebookService& service, ProtectionCommandsHost& host, TVLROptions& options,
                        QObject* parent = nullptr);

    QAction* FilePack;
    QAction* NotebookRecover;
    QAction* NotebookRevert;
    QAction* NoteRootSaving;
    QAction* NoteRootSecurity;

    struct PackRequest {
        bool showResult = false;
        bool purge = false;
        bool saveFirst = false;
    };
    // Packs the notebook (none: the current one), with a ".bak" copy first
    // when the options ask for one. False when refused or failed.
    bool PackNotebook(TNodeRoot* notebook, const PackRequest& request);
    // The pack a notebook gets when it is saved as the program closes.
    void PackOnExit(TNodeRoot& notebook);
    void Pack();
    void Recover();
    void Revert();
    void SavingOptions();
    void SecurityOptions();
    // The ".bak" name of a notebook file.
    static QString BackupName(const QString& fileName) { return fileName + QStringLiteral(".bak"); }

private:
    TNodeRoot* current() const;
    using OptionsDialog = bool (ProtectionCommandsHost::*)(TNotebookBinding&, bool&);
    void editOptions(OptionsDialog dialog, bool& askFlag);

    TNotebookService& m_service;
    ProtectionCommandsHost& m_host;
    TVLROptions& m_options;
};

} // namespace vlr
