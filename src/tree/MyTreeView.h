#pragma once
// tvNotes: the one tree of open notebooks and their notes. TMyCustomTreeView
// draws every node with its notebook's colours and pictures, keeps each
// node's expanded state in its notebook, and runs the selection change that
// takes the edited note back from the editor and puts the newly selected
// note into it. It answers the program's questions about the selection
// (current notebook, selected note, ...) and reports a finished selection
// change with the signal changed().
#include "config/options.h"
#include "editor/richedit.h"
#include "storage/note_forest.h"
#include "tree/ov_tree.h"
#include "tree/selection_history.h"

#include <QPointer>
#include <QTimer>

#include <functional>

class QMenu;

namespace vlr {

class TMyRichEdit;
class TNodeData;
class TNodeImageMenu;
class TNodeRoot;
class TNotebookService;
class TTreeHoverSelect;
class TTreeDragDrop;

class TMyCustomTreeView : public TOvTree {
    Q_OBJECT
public:
    // A selection settles this long before it is processed.
    static constexpr int kChangeDelayMs = 150;

    explicit TMyCustomTreeView(TNotebookService& service, QWidget* parent = nullptr);
    ~TMyCustomTreeView() override;

    TNotebookService& Service() const { return m_service; }

    // ---- Published properties and events
    TMyRichEdit* Editor() const { return m_editor; }
    void SetEditor(TMyRichEdit* editor);
    // When the tree's window is recreated (docked or floated), rebuild the
    // note lists of all notebooks.
    bool RebuildOnRecreate = false;
    std::function<void(TMyCustomTreeView* Sender, TNodeRoot* Notebook)> OnAutoSave;
    // Asks for the notebook's password; Res (false on entry) tells whether access is granted.
    std::function<void(TMyCustomTreeView* Sender, TNodeRoot* Notebook, bool& Res)> OnAskPassword;
    std::function<void(TMyCustomTreeView* Sender, TNodeRoot* Notebook)> OnForceClose;
    // tvNotesExpanding: AllowExpansion starts true; expansions the user asks for
    // (and those of the hover and auto-expand behaviour) wait for it.
    std::function<void(TMyCustomTreeView* Sender, TTreeNode* Node, bool& AllowExpansion)> OnExpanding;

    // Tree font, colour, lines, hot tracking, child counts, and the options
    // the selection change reads (SaveCursor, fonts, auto-collapse/expand).
    // Called at start and whenever the options change.
    void ApplyOptions(const TVLROptions& options);
    const TVLROptions& Options() const { return m_options; }

    // ---- State
    // The note whose body the editor shows, or none.
    TNodeData* CurrentNote() const { return m_currentNote; }
    // Set while a selection change runs, and by callers that must keep the
    // change handlers quiet (moving notebooks, adding a note).
    bool Busy() const { return m_busy; }
    void SetBusy(bool on) { m_busy = on; }
    TSelectionHistory& History() { return m_history; }

    // ---- Operations over the tree
    static TTreeNode* NotebookNodeOf(TTreeNode* node);
    TTreeNode* CurrentNotebookNode() const;
    TNodeRoot* CurrentNotebook() const;
    TNodeData* SelectedNote() const;
    bool IsNotebookSelected() const;
    static bool NeedsPassword(const TNodeRoot* notebook);
    static int NoteIndexOf(TTreeNode* node);
    // The main window's check before a command changes or navigates a
    // notebook (none: the selection's notebook).
    bool CanModifyNotebook(TTreeNode* node = nullptr);
    // Stores the editor's caret and scroll position, and with store also its
    // text, into node's note, when that note is the one the editor shows.
    void SaveNodeRTF(TTreeNode* node, bool store);
    // With no root: every notebook.
    void RebuildNotesList(TTreeNode* root = nullptr);
    void UnloadCleanNotes();
    // Calls fn for each notebook in tree order until it returns false;
    // returns false when stopped. Exceptions from fn end the walk and pass on.
    bool ForEachNotebook(const std::function<bool(TNodeRoot*)>& fn) const;
    bool ForEachDescendant(TTreeNode* node, const std::function<bool(TTreeNode*)>& fn) const;
    bool IsNotebookOpen(const QString& fileName) const;
    // Selects that notebook's last selected note, or its root; false when no
    // open notebook has that file name.
    bool SelectNotebook(const QString& fileName);

    // ---- Selection
    // Selects the node now (showing it) and runs the selection change at once.
    void SelectNode(TTreeNode* node);
    // Selects the node as the user does: the change follows once the
    // selection has settled.
    void SelectNodeDelayed(TTreeNode* node);
    void SetChangeDelay(int ms) { m_changeTimer.setInterval(ms); }
    bool ChangePending() const { return m_changeTimer.isActive() || m_pendingChange; }
    // Runs a selection change that waits for the selection to settle now, so
    // that what comes next (a command, a key, typing) acts on the note shown
    // selected. Every path by which the user acts calls it first: the
    // window's input through TPendingChangeGuard, the tree's own keys,
    // menus and drags, and SaveNodeRTF for every command that stores the
    // editor. Nothing happens inside a change or a bulk change.
    void CompletePendingChange();
    // Absolute positions over all notebooks, roots included (the selection
    // index kept between sessions).
    int AbsoluteIndexOf(const TTreeNode* node) const;
    TTreeNode* NodeAtAbsoluteIndex(int index) const;
    int NodeCount() const;
    // While a bulk change is marked, selection changes wait; the last one
    // runs when the outermost mark ends.
    void BeginBulkChange();
    void EndBulkChange();
    bool InBulkChange() const { return m_bulk > 0; }

    // The selection-change protocol for node; the timer and SelectNode call
    // it and report what it raises (reading or loading a body can fail).
    virtual void Change(TTreeNode* Node);

    // ---- Expansion
    // Expands or collapses a node as the user would (an expansion asks
    // OnExpanding); the stored flag follows. False when it was refused.
    bool SetNodeExpanded(TTreeNode* node, bool expanded);
    // The node with all its descendants (NotebookExpand, NotebookCollapse).
    void SetSubtreeExpanded(TTreeNode* node, bool expanded);

    // ---- Node titles and pictures
    // Toggles one style bit (1 bold, 2 italic, 4 underline, 8 strike-out) of
    // the selected node's title; false when nothing is selected.
    bool ToggleTitleStyle(int bit);
    bool SetTitleColor(quint32 color);
    // Sets the selected node's picture; the notebook is marked modified when
    // asked and the index changed.
    bool SetNodeImage(TTreeNode* node, int index, bool markModified);

    // ---- Menus
    // pmTree, owned by the main window.
    void SetTreeMenu(QMenu* menu) { m_treeMenu = menu; }
    QMenu* TreeMenu() const { return m_treeMenu; }
    // The visual-properties entry of pmImage.
    void SetImagesAction(QAction* action);
    TNodeImageMenu* ImageMenu() const { return m_imageMenu; }
    TTreeHoverSelect* HoverSelect() const { return m_hover; }

    // ---- Labels and dragging
    // Scrolls the node into view and opens its label editor. With text (from
    // an edit that was turned back) the editor opens once the closing one is
    // gone, holding that text.
    void EditLabel(TTreeNode* node, const QString& text = {});
    bool EditingLabel() const { return editingLabel(); }
    // Passes a key press to the open label editor.
    void SendKeyToLabelEditor(int key);
    TTreeDragDrop* DragDrop() const { return m_drag; }
    // The format of a drag that carries a node of this tree.
    static inline const QString kNodeMimeType = QStringLiteral("application/x-vellinor-tree-node");

signals:
    // A selection change has been carried out (tvNotesChange).
    void changed(vlr::TTreeNode* node);
    // F6 or Ctrl+Tab: the editor should take the focus.
    void focusEditorRequested();
    // Delete without modifiers (NotebookDelete).
    void deleteRequested();
    // pmTree is about to open for the node: the window shows the entries
    // that fit a root or a note.
    void treeMenuAboutToShow(vlr::TTreeNode* node);
    // An accepted label edit (tvNotesEdited); nothing is renamed yet.
    void labelEdited(vlr::TTreeNode* node, const QString& text);

protected:
    bool GetNodeVisual(TTreeNode* Node, TTreeNodeVisual& Info) override;
    void NodeExpansionChanged(TTreeNode* node, bool expanded) override;
    bool CanExpandNode(TTreeNode* node) override;
    void SelectionHiddenBy(TTreeNode* collapsed) override;
    void ForgetNode(const TTreeNode* node) override;
    void CollectNodeRefs(QSet<const TTreeNode*>& refs) const override;
    void KeepNodeRefs(const QSet<const TTreeNode*>& alive) override;

    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    bool event(QEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void runChange(TTreeNode* node);
    // A selected node is shown: its ancestors open.
    void expandAncestors(TTreeNode* node);
    // Stored flag and view, without asking.
    void applyExpanded(TTreeNode* node, bool expanded);
    void selectionMoving(TTreeNode* from, TTreeNode* to);
    bool bindNote(TNodeRoot& notebook, TNodeData& note);
    // The note index reopened with the notebook (-1: its root).
    void rememberSelection(TNodeRoot& notebook, int index);
    void unbindEditor();
    void refuseAccess(TTreeNode* node, TNodeRoot* notebook);
    // Shows the full label of a node cut off at the right edge; false when
    // there is none to show.
    bool showLabelTip(QPoint viewportPos);
    void noteRootNoImage();
    void watchNotebook(TNodeRoot* notebook);
    void notebookClosing(TNodeRoot* notebook);
    bool editingLabel() const { return state() == QAbstractItemView::EditingState; }

    TNotebookService& m_service;
    TVLROptions m_options;
    QPointer<TMyRichEdit> m_editor;
    TNodeData* m_currentNote = nullptr;
    bool m_busy = false;
    TSelectionHistory m_history;
    QTimer m_changeTimer;
    int m_bulk = 0;
    bool m_pendingChange = false;
    int m_selectingNow = 0;   // SelectNode is moving the selection
    bool m_leftClick = false; // the selection moves under a left click
    // The node the selection fell onto when its own node was removed.
    TTreeNode* m_fallenOnto = nullptr;
    QMenu* m_treeMenu = nullptr;
    TNodeImageMenu* m_imageMenu;
    TTreeHoverSelect* m_hover;
    TTreeDragDrop* m_drag;
};

// The published class.
class TMyTreeView : public TMyCustomTreeView {
    Q_OBJECT
public:
    using TMyCustomTreeView::TMyCustomTreeView;
};

} // namespace vlr
