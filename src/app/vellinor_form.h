#pragma once
// The main window: it assembles the notes tree, the editor, the notebook
// page, the status bar, the menus and toolbars, and hands each command to the
// controller that owns it. It keeps the window's own state (flags, saved
// places) and answers the single-instance messages and file drops.
#include "app/command_states.h"
#include "app/lifecycle/stealth_mode.h"
#include "app/lifecycle/tray_icon.h"
#include "app/note_commands.h"
#include "app/notebook_commands.h"
#include "app/options_applier.h"
#include "app/protection_commands.h"
#include "app/startup/command_line.h"
#include "config/settingslocation.h"

#include <QMainWindow>
#include <QPointer>
#include <QSplashScreen>

#include <functional>
#include <memory>

class QDockWidget;
class QStackedWidget;
class QTabWidget;
class QToolBar;

namespace vlr {

class NotebookPage;
class TInstanceServer;
class TMyRichEdit;
class TMyTreeView;
class TNotebookService;
class TSettingsFile;
class TStatusPanels;
class TQtFileDialogs;
class TSearchCommands;
class TViewCommands;
class TExchangeCommands;
class TEditorHost;
class TFormatBar;
class TAwayMode;
class TGlobalHotKey;

class TVellinorForm : public QMainWindow,
                      private NotebookCommandsHost,
                      private NoteCommandsHost,
                      private ProtectionCommandsHost,
                      private OptionsApplierHost,
                      private TrayHost,
                      private StealthHost {
    Q_OBJECT
public:
    static inline const QString kApplicationTitle = QStringLiteral("Vellinor");

    TVellinorForm(const TSettingsLocation& settings, const TCommandLine& commandLine,
                  QWidget* parent = nullptr);
    ~TVellinorForm() override;

    TNotebookService& Service() { return *m_service; }
    TNotebookCommands& NotebookCommands() { return *m_notebookCommands; }
    TNoteCommands& NoteCommands() { return *m_noteCommands; }
    TProtectionCommands& ProtectionCommands() { return *m_protectionCommands; }
    TFormatBar& FormatBar() { return *m_formatBar; }
    TMyTreeView* tvNotes = nullptr;
    TMyRichEdit* Editor = nullptr;
    QTabWidget* pcMain = nullptr;
    NotebookPage* TabSheet1 = nullptr;
    QDockWidget* twTree = nullptr;
    AppFlags& Flags() { return m_flags; }
    const CommandGroupStates& GroupStates() const { return m_groups; }

    // The window's title with " portable" when the program runs portable.
    QString ApplicationTitle() const;
    // Brings the window back and to the front.
    void RestoreMainWindow() override;
    // Open by name for outside callers (hand-over, drops): messages shown.
    int OpenByName(const QString& name);
    // Files dropped on the window open in the order given; false when none is a local file.
    bool FilesDropped(const QList<QUrl>& urls);
    // The splash goes away once the window has been shown.
    void SetSplash(QSplashScreen* splash) { m_splash = splash; }
    // The instance messages reach this window.
    void ConnectInstanceServer(TInstanceServer* server);
    // Opens the notebooks of the last session and of the command line.
    void DeferredStartup();
    // The window's reaction to a selection change.
    void tvNotesChange();
    // The password question of a protected notebook.
    bool tvNotesAskPassword(TNodeRoot* notebook);
    // The check before a command changes or navigates a notebook.
    bool CanModifyNotebook(TTreeNode* node) override;
    void SetStatus(const QString& text) override;
    // Test seam: what Shift reads as.
    void SetShiftOverride(int state) { m_shiftOverride = state; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // NotebookCommandsHost
    TTreeNode* SelectedNode() const override;
    void SelectNode(TTreeNode* node) override;
    void StoreEditor(bool store) override;
    bool EditorModified() const override;
    void ClearEditorModified() override;
    void RefreshEditor() override { tvNotesChange(); }
    void BeginBulkChange() override;
    void EndBulkChange() override;
    bool AskPassword(TNodeRoot* notebook) override { return tvNotesAskPassword(notebook); }
    int AbsoluteIndexOf(TTreeNode* node) const override;
    TTreeNode* NodeAtAbsoluteIndex(int index) const override;
    void FocusTree() override;
    bool ShiftHeld() const override;
    void ProcessEvents() override;
    // NoteCommandsHost
    bool EditingLabel() const override;
    void SendKeyToLabelEditor(int key) override;
    void EditLabel(TTreeNode* node, const QString& text) override;
    void ResetEditor() override;
    void CommandStatesChanged() override;
    void ShowStoredExpansion(TTreeNode* node) override;
    void FavoritesChanged() override {}
    // ProtectionCommandsHost
    void StoreEditor() override { StoreEditor(true); }
    bool SaveNotebook(TTreeNode* root) override;
    QList<TNodeData*> ChooseNotesToRecover(TNotebookBinding& target) override;
    void NotebookOptionsChanged(TNodeRoot& notebook) override;
    // OptionsApplierHost
    void SetTreeAsPanel(bool asPanel) override;
    void SetNotesListLook(const QFont& font, quint32 background) override;
    void SetTrayIcon(bool shown) override;
    void SetHotKey(bool enable, const QKeySequence& key, bool plusWin) override;
    // TrayHost
    void MinimizeMainWindow() override;
    // StealthHost
    bool HotKeyHeld() const override;
    QString HotKeyProblem() const override;
    QString SettingsFilePath() const override { return m_settingsLocation.filePath; }
    bool MainWindowMinimized() const override { return isMinimized() || isHidden(); }
    void HideMainWindow() override { hide(); }
    void RemoveTrayIcon() override;
    void SetAway() override;

    void buildLayout();
    void buildMenus();
    CommandStateSnapshot commandSnapshot() const;
    void applyGroups(bool enabled, int mask);
    void applyExtraStates(const CommandStateSnapshot& snapshot);
    void applyOptions();
    void readWindowState();
    void readListsAndOptions();
    void writeSavedState();
    void updateStatePanel();
    void connectNoteCommands();
    void buildLifecycle();
    void followRememberedAdd();
    void updateCaretPanel();
    void showTipOfTheDay();

    TSettingsLocation m_settingsLocation;
    std::unique_ptr<TSettingsFile> m_settings;
    TCommandLine m_commandLine;
    std::unique_ptr<TNotebookService> m_service;
    std::unique_ptr<TQtFileDialogs> m_fileDialogs;
    TNotebookCommands* m_notebookCommands = nullptr;
    TSearchCommands* m_searchCommands = nullptr;
    TExchangeCommands* m_exchangeCommands = nullptr;
    TNoteCommands* m_noteCommands = nullptr;
    TProtectionCommands* m_protectionCommands = nullptr;
    TOptionsApplier* m_optionsApplier = nullptr;
    std::unique_ptr<TEditorHost> m_editorHost;
    TFormatBar* m_formatBar = nullptr;
    QAction* m_toolbarAdd = nullptr;
    TTrayIcon* m_tray = nullptr;
    TAwayMode* m_away = nullptr;
    TGlobalHotKey* m_hotKey = nullptr;
    TStealthMode* m_stealth = nullptr;
    bool m_wasMinimized = false;
    TStatusPanels* m_status = nullptr;
    TViewCommands* m_viewCommands = nullptr;
    QStackedWidget* m_rightSide = nullptr;
    QToolBar* m_mainToolBar = nullptr;
    QAction* m_fileExit = nullptr;
    QAction* m_helpTopics = nullptr;
    QAction* m_helpAbout = nullptr;
    QAction* m_helpTipOfDay = nullptr;
    QAction* m_notebookExpand = nullptr;
    QAction* m_notebookCollapse = nullptr;
    QPointer<QSplashScreen> m_splash;
    AppFlags m_flags;
    CommandGroupStates m_groups;
    QList<QAction*> m_groupActions[std::size_t(CommandGroup::Count)];
    int m_windowState = 0;
    int m_tipNumber = 0;
    bool m_shown = false;
    bool m_loadingAtStart = false;
    int m_shiftOverride = -1;
};

} // namespace vlr
