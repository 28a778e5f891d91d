#pragma once
// The commands that create, open, save, copy and close whole notebooks, the
// recent list and auto-save. They sit between the window (actions, dialogs,
// messages) and the notebook service; what they need of the window is the
// host below, so tests drive them without one.
#include "config/options.h"
#include "config/session_state.h"
#include "storage/notebook_service.h"

#include <QAction>
#include <QObject>

class QMenu;

namespace vlr {

// Results of open by name.
enum OpenByNameResult : int {
    obOpened = 0,
    obPasswordRefused = 1,
    obAlreadyOpen = 2,
    obNotNotebook = 3,
    obNotFound = 4,
    obPicturesUnreadable = 5,
    obDamaged = 6,
};

// Results of saving a notebook.
enum SaveNotebookResult : int { snSaved = 0, snNotWritten = 1, snCancelled = 2, snReadOnly = 3 };

// Results of closing a notebook.
enum CloseNotebookResult : int { cnClosedSaved = 0, cnClosedUnsaved = 1, cnCancelled = 2, cnNoNode = 3 };

// The window's flags the commands read and change.
struct AppFlags {
    bool quiet = false;      // open failures are silent (start-up)
    bool exiting = false;    // the user asked to leave
    bool closing = false;    // the close sequence is running
    bool sessionEnd = false; // the system ends the session
};

class NotebookCommandsHost {
public:
    virtual ~NotebookCommandsHost() = default;
    virtual TTreeNode* SelectedNode() const = 0;
    // Selects at once and runs the selection protocol.
    virtual void SelectNode(TTreeNode* node) = 0;
    // Stores the editor into the selected note; store: the text too.
    virtual void StoreEditor(bool store) = 0;
    virtual bool EditorModified() const = 0;
    virtual void ClearEditorModified() = 0;
    // The window's reaction to the selection: caption, panels, commands.
    virtual void RefreshEditor() = 0;
    virtual void BeginBulkChange() = 0;
    virtual void EndBulkChange() = 0;
    virtual bool CanModifyNotebook(TTreeNode* node) = 0;
    // The password question of an encrypted notebook.
    virtual bool AskPassword(TNodeRoot* notebook) = 0;
    virtual int AbsoluteIndexOf(TTreeNode* node) const = 0;
    virtual TTreeNode* NodeAtAbsoluteIndex(int index) const = 0;
    virtual void FocusTree() = 0;
    virtual void RestoreMainWindow() = 0;
    virtual void SetStatus(const QString& text) = 0;
    virtual bool ShiftHeld() const = 0;
    virtual void ProcessEvents() = 0;
};

class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    virtual QStringList OpenNotebooks(const QString& folder) = 0;
    // Asks before overwriting; empty when cancelled.
    virtual QString SaveNotebook(const QString& caption, const QString& initialPath) = 0;
};

// The filter of the notebook file dialogs.
inline const QString kNotebookFileFilter = QStringLiteral("Файлы Vellinor (*.vlr);;Все файлы (*)");

class TNotebookCommands : public QObject {
    Q_OBJECT
public:
    TNotebookCommands(TNotebookService& service, NotebookCommandsHost& host, FileDialogs& dialogs,
                      const TVLROptions& options, AppFlags& flags, QObject* parent = nullptr);

    QAction* FileNew;
    QAction* FileOpen;
    QAction* FileOpenLast;
    QAction* FileClearMRU;
    QAction* FileSave;
    QAction* FileSaveAs;
    QAction* FileSaveAll;
    QAction* FileClose;
    QAction* FileCloseAll;
    QAction* FileCloseNotSave;
    QAction* FileExportBackup;

    // The recent notebooks menu, kept in step with the list.
    void SetRecentMenu(QMenu* menu);
    TRecentNotebooks& Recent() { return m_recent; }
    void RecentChanged();
    // The notebooks open at the close, collected when they are to be reopened.
    TLastSession& LastSession() { return m_lastSession; }

    // The operations, for the window and for tests.
    int OpenByName(const QString& name);
    TNodeRoot* NewNotebook();
    int SaveNotebook(TTreeNode* root);
    int SaveNotebookAs(TTreeNode* root);
    void SaveAll();
    int CloseNotebook(TTreeNode* root);
    void CloseCurrent();
    void CloseAll();
    void CloseNotSave();
    void BackupCopy();
    void AutoSave(TNodeRoot* notebook);
    void MarkClean(TTreeNode* node);
    // Resolves a name to the existing file it stands for, or empty.
    static QString ResolveName(const QString& name);
    // "<name> yyyy-mm-dd hh.nn.vlr" in folder.
    static QString BackupCopyName(const QString& fileName, const QString& folder, const QDateTime& now);

signals:
    // A notebook was opened or created and is in the tree.
    void notebookReady(vlr::TNodeRoot* notebook);

private:
    TNodeRoot* current() const;
    void openChosen();
    bool copyFile(const QString& from, const QString& to, bool withProgress, QString* error);
    void packSilently(TNodeRoot& nb);
    // Writes the selection, expanded nodes and carets of a notebook closed
    // without changes.
    void storeViewState(TNodeRoot& nb);
    QString notebookTitle(const TNodeRoot& nb) const;

    TNotebookService& m_service;
    NotebookCommandsHost& m_host;
    FileDialogs& m_dialogs;
    const TVLROptions& m_options;
    AppFlags& m_flags;
    TRecentNotebooks m_recent;
    TLastSession m_lastSession;
    QMenu* m_recentMenu = nullptr;
};

} // namespace vlr
