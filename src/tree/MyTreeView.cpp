#include "tree/MyTreeView.h"

#include "core/error_report.h"
#include "editor/richedit.h"
#include "storage/notebook_service.h"
#include "storage/trace.h"
#include "tree/hover_select.h"
#include "tree/image_menu.h"
#include "tree/node_delegate.h"
#include "tree/note_binding.h"
#include "tree/notes_model.h"
#include "tree/option_fonts.h"
#include "tree/pending_change_guard.h"
#include "tree/tree_drag.h"
#include "tree/tree_operations.h"
#include "tree/wait_cursor.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDrag>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QTimer>
#include <QToolTip>

namespace vlr {

namespace {
// F6 alone or Ctrl+Tab hands the focus to the editor.
bool isFocusEditorKey(const QKeyEvent* e) {
    const Qt::KeyboardModifiers mods = e->modifiers() & ~Qt::KeypadModifier;
    return (e->key() == Qt::Key_F6 && mods == Qt::NoModifier) ||
           (e->key() == Qt::Key_Tab && mods == Qt::ControlModifier);
}

// Marks the tree busy for a scope and restores what was there before.
class BusyScope {
public:
    explicit BusyScope(TMyCustomTreeView& tree) : m_tree(tree), m_was(tree.Busy()) { tree.SetBusy(true); }
    ~BusyScope() { m_tree.SetBusy(m_was); }

private:
    TMyCustomTreeView& m_tree;
    bool m_was;
};
} // namespace

TMyCustomTreeView::TMyCustomTreeView(TNotebookService& service, QWidget* parent)
    : TOvTree(parent), m_service(service), m_imageMenu(new TNodeImageMenu(this)),
      m_hover(new TTreeHoverSelect(*this)), m_drag(new TTreeDragDrop(*this)) {
    setObjectName(QStringLiteral("tvNotes"));
    m_changeTimer.setSingleShot(true);
    m_changeTimer.setInterval(kChangeDelayMs);
    connect(&m_changeTimer, &QTimer::timeout, this, [this] { runChange(Selected()); });

    SetColor(m_options.TreeBackColor);
    SetTreeFont(vlr::TreeFont(m_options));
    SetNotesModel(new TNotesModel(service, this));
    connect(NotesModel(), &TNotesModel::labelEdited, this, &TMyCustomTreeView::labelEdited);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DragDrop);

    connect(&service, &TNotebookService::notebookOpened, this, &TMyCustomTreeView::watchNotebook);
    connect(&service, &TNotebookService::notebookCreated, this, &TMyCustomTreeView::watchNotebook);
    connect(&service, &TNotebookService::notebookAboutToClose, this, &TMyCustomTreeView::notebookClosing);
    connect(&service, &TNotebookService::notebookClosed, this, [this] { m_history.Clear(); });
    connect(&service, &TNotebookService::noteAboutToBeDeleted, this, [this](TNodeData* note) {
        if (note->TreeNode)
            ForgetNode(note->TreeNode);
    });
    for (TNodeRoot* nb : service.Notebooks())
        watchNotebook(nb);

    connect(m_imageMenu, &TNodeImageMenu::imageChosen, this,
            [this](int index) { SetNodeImage(Selected(), index, true); });
    connect(m_imageMenu->NoImageAction(), &QAction::triggered, this, &TMyCustomTreeView::noteRootNoImage);

    m_hover->blocked = [this] { return m_busy || editingLabel(); };
    m_hover->select = [this](TTreeNode* node) { SelectNodeDelayed(node); };
    m_hover->expand = [this](TTreeNode* node) { SetNodeExpanded(node, true); };
    m_hover->dragging = [this] { return state() == QAbstractItemView::DraggingState; };

    auto* guard = new TPendingChangeGuard(
        *this, [this] { return m_changeTimer.isActive(); }, [this] { CompletePendingChange(); }, this);
    guard->Install();

    Delegate()->isTreeKey = isFocusEditorKey;
    Delegate()->onTreeKey = [this](const QKeyEvent*) {
        CompletePendingChange();
        emit focusEditorRequested();
    };
}

TMyCustomTreeView::~TMyCustomTreeView() = default;

void TMyCustomTreeView::SetEditor(TMyRichEdit* editor) {
    m_editor = editor;
    m_currentNote = nullptr;
}

void TMyCustomTreeView::ApplyOptions(const TVLROptions& o) {
    m_options = o;
    SetShowLines(o.TreeShowLines);
    SetHotTrack(o.TreeHotTrack);
    SetDrawChildrenNumber(o.TreeDrawChildCount);
    SetColor(o.TreeBackColor);
    SetTreeFont(vlr::TreeFont(o));
}

void TMyCustomTreeView::watchNotebook(TNodeRoot* nb) {
    // The notebook's timers reach the window through the tree's events.
    const QPointer<TMyCustomTreeView> self(this);
    if (!nb->OnAutoSave)
        nb->OnAutoSave = [self](TNodeRoot*, TNodeRoot* notebook) {
            if (self && self->OnAutoSave)
                self->OnAutoSave(self, notebook);
        };
    if (!nb->OnForceClose)
        nb->OnForceClose = [self](TNodeRoot* notebook) {
            if (self && self->OnForceClose)
                self->OnForceClose(self, notebook);
        };
}

void TMyCustomTreeView::notebookClosing(TNodeRoot* nb) {
    if (nb->RootNode)
        ForgetNode(nb->RootNode);
    if (m_currentNote && m_currentNote->RootNode == nb->RootNode) {
        BusyScope busy(*this);
        unbindEditor();
    }
}

// ---------------------------------------------------------------- questions

TTreeNode* TMyCustomTreeView::NotebookNodeOf(TTreeNode* node) {
    return vlr::NotebookNodeOf(node);
}

TTreeNode* TMyCustomTreeView::CurrentNotebookNode() const {
    return vlr::NotebookNodeOf(Selected());
}

TNodeRoot* TMyCustomTreeView::CurrentNotebook() const {
    TTreeNode* root = CurrentNotebookNode();
    return root ? root->Notebook() : nullptr;
}

TNodeData* TMyCustomTreeView::SelectedNote() const {
    TTreeNode* node = Selected();
    return node ? node->Note() : nullptr;
}

bool TMyCustomTreeView::IsNotebookSelected() const {
    TTreeNode* node = Selected();
    return !node || node->Level() == 0;
}

bool TMyCustomTreeView::NeedsPassword(const TNodeRoot* notebook) {
    return vlr::NeedsPassword(notebook);
}

int TMyCustomTreeView::NoteIndexOf(TTreeNode* node) {
    return vlr::NoteIndexOf(node);
}

bool TMyCustomTreeView::CanModifyNotebook(TTreeNode* node) {
    if (!node)
        node = Selected();
    if (!node)
        return true;
    TNodeRoot* nb = TNotebookService::NotebookOf(node);
    if (!NeedsPassword(nb))
        return true;
    if (m_busy || !window()->isEnabled())
        return false;
    bool res = false;
    if (OnAskPassword)
        OnAskPassword(this, nb, res);
    return res;
}

void TMyCustomTreeView::RebuildNotesList(TTreeNode* root) {
    if (root)
        vlr::RebuildNotesList(root);
    else
        RebuildAllNotesLists(m_service.Forest());
}

void TMyCustomTreeView::UnloadCleanNotes() {
    vlr::UnloadCleanNotes(m_service.Forest(), SelectedNote(), m_currentNote);
}

bool TMyCustomTreeView::ForEachNotebook(const std::function<bool(TNodeRoot*)>& fn) const {
    const TNoteForest& forest = m_service.Forest();
    for (int i = 0; i < forest.RootCount(); ++i)
        if (TNodeRoot* nb = forest.RootAt(i)->Notebook(); nb && !fn(nb))
            return false;
    return true;
}

bool TMyCustomTreeView::ForEachDescendant(TTreeNode* node, const std::function<bool(TTreeNode*)>& fn) const {
    return VisitDescendants(node, fn);
}

bool TMyCustomTreeView::IsNotebookOpen(const QString& fileName) const {
    return FindNotebookRoot(m_service.Forest(), fileName) != nullptr;
}

bool TMyCustomTreeView::SelectNotebook(const QString& fileName) {
    const TNoteForest& forest = m_service.Forest();
    for (int i = 0; i < forest.RootCount(); ++i) {
        TTreeNode* root = forest.RootAt(i);
        if (!root->Notebook() || root->Notebook()->FileName != fileName)
            continue;
        try {
            SelectNode(LastSelectedNodeOf(root));
            return true;
        } catch (const std::exception&) {
            // A notebook that cannot be selected counts as not found.
        }
    }
    return false;
}

int TMyCustomTreeView::AbsoluteIndexOf(const TTreeNode* node) const {
    return vlr::AbsoluteIndexOf(m_service.Forest(), node);
}

TTreeNode* TMyCustomTreeView::NodeAtAbsoluteIndex(int index) const {
    return vlr::NodeAtAbsoluteIndex(m_service.Forest(), index);
}

int TMyCustomTreeView::NodeCount() const {
    return vlr::NodeCount(m_service.Forest());
}

// ---------------------------------------------------------------- the editor's note

void TMyCustomTreeView::SaveNodeRTF(TTreeNode* node, bool store) {
    // Whoever wants the edited text wants it of the note shown selected.
    CompletePendingChange();
    // A change that must wait longer (a bulk change runs) leaves the text
    // with the note it belongs to.
    if (ChangePending() && m_currentNote && node && node->Note())
        node = m_currentNote->TreeNode;
    TNodeData* note = node ? node->Note() : nullptr;
    // The editor's state belongs to the note it shows and to no other.
    if (!note || !note->Loaded || !m_editor || note != m_currentNote)
        return;
    TNodeRoot* nb = TNotebookService::NotebookOf(note->RootNode);
    if (StoreEditorPosition(*m_editor, *note) && nb)
        nb->ViewDirty = true;
    if (!store)
        return;
    const QString name = note->Record.NoteName();
    qCDebug(lcStorage).noquote() << "SaveNodeRTF: saving for node - " + name;
    const bool modified = m_editor->Modified();
    const bool wasClean = note->Clean;
    const bool wasDirty = nb && nb->TreeDirty;
    m_service.SetBody(*note, m_editor->SaveToBytes());
    qCDebug(lcStorage).noquote() << "Setting up NeedSave for - " + name;
    if (modified) {
        if (nb)
            nb->Modified = true;
    } else {
        // Text that was not edited still equals the stored body: neither the
        // note nor its notebook has changed.
        note->Clean = wasClean;
        if (nb)
            nb->TreeDirty = wasDirty;
    }
}

bool TMyCustomTreeView::bindNote(TNodeRoot& notebook, TNodeData& note) {
    bool readable = false;
    try {
        readable = BindNoteToEditor(*m_editor, notebook, note, m_options);
    } catch (...) {
        // Nothing is bound: what is typed now would replace no note's text.
        m_currentNote = nullptr;
        m_editor->SetReadOnly(true);
        throw;
    }
    m_currentNote = &note;
    // A body that could not be read is not there to edit: whatever is typed
    // would replace it with the next save.
    m_editor->SetReadOnly(!readable || NoteIsReadOnly(notebook, note));
    return readable;
}

void TMyCustomTreeView::unbindEditor() {
    if (m_editor)
        ClearEditor(*m_editor);
    m_currentNote = nullptr;
}

void TMyCustomTreeView::refuseAccess(TTreeNode* node, TNodeRoot* notebook) {
    TTreeNode* root = node->Root();
    // The text of a notebook locked again leaves the editor.
    if (notebook && m_currentNote && m_currentNote->RootNode == root)
        unbindEditor();
    SetNodeExpanded(root, false);
    SelectNode(root);
}

void TMyCustomTreeView::rememberSelection(TNodeRoot& notebook, int index) {
    if (notebook.Header.SelectedNote() == index)
        return;
    notebook.Header.setSelectedNote(index);
    // Written with the notebook, but looking at a note changes nothing in it.
    notebook.ViewDirty = true;
}

void TMyCustomTreeView::Change(TTreeNode* Node) {
    if (!m_editor || !Node) {
        emit changed(Selected());
        return;
    }
    try {
        if (!m_history.Navigating())
            m_history.Record(Node);
        m_history.SetNavigating(false);
        TNodeRoot* nb = TNotebookService::NotebookOf(Node);
        TNodeData* note = Node->Note();
        // A note bound before its notebook was locked again asks for access
        // like any other.
        const bool bound = note && note == m_currentNote && !NeedsPassword(nb);
        if (!bound) {
            m_busy = true;
            TWaitCursor wait;
            if (m_currentNote && m_currentNote->Record.Deleted() == 0) {
                try {
                    SaveNodeRTF(m_currentNote->TreeNode, m_editor->Modified());
                } catch (const std::exception&) {
                    // The previous note keeps what it had; the new one is bound all the same.
                }
            }
            bool res = !NeedsPassword(nb);
            if (!res && note && OnAskPassword)
                OnAskPassword(this, nb, res);
            if (res) {
                if (nb && Node != m_fallenOnto)
                    rememberSelection(*nb, note ? NoteIndexOf(Node) : -1);
                if (note && nb)
                    (void)bindNote(*nb, *note);
                else if (m_currentNote)
                    unbindEditor();
                wait.release();
            } else {
                wait.release();
                refuseAccess(Node, nb);
            }
        }
    } catch (...) {
        m_busy = false;
        emit changed(Selected());
        throw;
    }
    m_busy = false;
    emit changed(Selected());
}

// ---------------------------------------------------------------- selection

void TMyCustomTreeView::runChange(TTreeNode* node) {
    if (m_bulk > 0) {
        m_pendingChange = true;
        return;
    }
    m_pendingChange = false;
    m_changeTimer.stop();
    try {
        Change(node);
    } catch (const std::exception& e) {
        reportInternalError(e, QStringLiteral("tvNotesChange"));
    }
}

void TMyCustomTreeView::CompletePendingChange() {
    // Inside a change, or while a caller keeps the tree quiet, the selection
    // is the program's to settle.
    if (!m_changeTimer.isActive() || m_busy || m_bulk > 0)
        return;
    runChange(Selected());
}

void TMyCustomTreeView::BeginBulkChange() {
    ++m_bulk;
}

void TMyCustomTreeView::EndBulkChange() {
    if (m_bulk == 0 || --m_bulk > 0)
        return;
    if (std::exchange(m_pendingChange, false))
        runChange(Selected());
}

void TMyCustomTreeView::expandAncestors(TTreeNode* node) {
    // Not asked of OnExpanding: access to a locked notebook is the selection
    // change's question, asked once there.
    for (TTreeNode* p = node->Parent(); p; p = p->Parent())
        if (!isExpanded(IndexOf(p)))
            applyExpanded(p, true);
}

void TMyCustomTreeView::SelectNode(TTreeNode* node) {
    if (!node)
        return;
    expandAncestors(node);
    m_fallenOnto = nullptr;
    const QModelIndex index = IndexOf(node);
    if (index != currentIndex()) {
        ++m_selectingNow;
        setCurrentIndex(index);
        --m_selectingNow;
    } else if (!m_changeTimer.isActive()) {
        return; // already selected and processed
    }
    m_changeTimer.stop();
    scrollTo(index);
    runChange(node);
}

void TMyCustomTreeView::SelectNodeDelayed(TTreeNode* node) {
    if (!node)
        return;
    expandAncestors(node);
    const QModelIndex index = IndexOf(node);
    setCurrentIndex(index);
    scrollTo(index);
}

void TMyCustomTreeView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    TOvTree::currentChanged(current, previous);
    if (RestoringSelection())
        return;
    // Where the selection lands in another notebook when its node goes away
    // (its notebook closed) is not where the user went: that notebook keeps
    // its remembered note.
    TTreeNode* from = NodeOf(previous);
    TTreeNode* to = NodeOf(current);
    const bool fellAcross = to && (!from || from->Root() != to->Root());
    m_fallenOnto = SelectionLeavingRemovedNode() && fellAcross ? to : nullptr;
    selectionMoving(from, to);
    if (m_selectingNow == 0)
        m_changeTimer.start();
}

void TMyCustomTreeView::selectionMoving(TTreeNode* from, TTreeNode* to) {
    if (!to)
        return;
    // Switching notebooks folds the one left behind (not under a left click,
    // which must not move the row under the mouse).
    if (m_options.TreeAutoCollapse && !m_options.TreeAutoExpand && from && !m_leftClick) {
        TTreeNode* oldRoot = from->Root();
        if (oldRoot != to->Root()) {
            SetNodeExpanded(oldRoot, false);
            if (to->Level() == 0 && !NeedsPassword(to->Notebook()))
                SetNodeExpanded(to, true);
        }
    }
    // One branch open at a time: the new node opens, the one left closes.
    if (m_options.TreeAutoExpand) {
        if (from && from != to && !to->HasAsParent(from))
            SetNodeExpanded(from, false);
        if (to->HasChildren())
            SetNodeExpanded(to, true);
    }
}

void TMyCustomTreeView::SelectionHiddenBy(TTreeNode* collapsed) {
    SelectNodeDelayed(collapsed);
}

// ---------------------------------------------------------------- expansion

bool TMyCustomTreeView::SetNodeExpanded(TTreeNode* node, bool expanded) {
    if (!node)
        return false;
    if (expanded && !node->HasChildren())
        return false;
    if (expanded && !isExpanded(IndexOf(node)) && !CanExpandNode(node))
        return false;
    applyExpanded(node, expanded);
    return true;
}

void TMyCustomTreeView::applyExpanded(TTreeNode* node, bool expanded) {
    if (node->Expanded() != expanded)
        m_service.SetExpanded(node, expanded); // the view follows the node
    ShowExpanded(node, expanded);
}

void TMyCustomTreeView::SetSubtreeExpanded(TTreeNode* node, bool expanded) {
    if (!node || !SetNodeExpanded(node, expanded))
        return;
    // One layout for the whole subtree instead of one per node.
    scheduleDelayedItemsLayout();
    vlr::ForEachDescendant(node, [&](TTreeNode* n) {
        if (n->HasChildren() && n->Expanded() != expanded)
            m_service.SetExpanded(n, expanded);
    });
}

bool TMyCustomTreeView::CanExpandNode(TTreeNode* node) {
    bool allow = true;
    if (OnExpanding)
        OnExpanding(this, node, allow);
    return allow;
}

void TMyCustomTreeView::NodeExpansionChanged(TTreeNode* node, bool expanded) {
    m_service.SetExpanded(node, expanded);
}

// ---------------------------------------------------------------- node looks

bool TMyCustomTreeView::GetNodeVisual(TTreeNode* Node, TTreeNodeVisual& Info) {
    return NotebookNodeVisual(*Node, StateImages(), Info);
}

bool TMyCustomTreeView::ToggleTitleStyle(int bit) {
    TTreeNode* node = Selected();
    TNodeRoot* nb = TNotebookService::NotebookOf(node);
    bit &= kTitleStyleMask;
    if (!nb || !bit)
        return false;
    if (TNodeData* note = node->Note())
        note->Record.setFontStyle(TitleStyle(note->Record.FontStyle()) ^ bit);
    else
        nb->Header.setRootFontStyle(TitleStyle(nb->Header.RootFontStyle()) ^ bit);
    nb->MarkChanged();
    m_service.Forest().Changed(node);
    return true;
}

bool TMyCustomTreeView::SetTitleColor(quint32 color) {
    TTreeNode* node = Selected();
    TNodeRoot* nb = TNotebookService::NotebookOf(node);
    if (!nb)
        return false;
    if (TNodeData* note = node->Note())
        note->Record.setFontColor(int32_t(color));
    else
        nb->Header.setRootFontColor(int32_t(color));
    nb->MarkChanged();
    m_service.Forest().Changed(node);
    return true;
}

bool TMyCustomTreeView::SetNodeImage(TTreeNode* node, int index, bool markModified) {
    TNodeRoot* nb = TNotebookService::NotebookOf(node);
    if (!nb || index < -1 || index > INT16_MAX)
        return false;
    TNodeData* note = node->Note();
    const int stored = note ? note->Record.ImageIndex() : nb->Header.RootImageIndex();
    if (stored == index)
        return false;
    if (note)
        note->Record.setImageIndex(int16_t(index));
    else
        nb->Header.setRootImageIndex(int16_t(index));
    // Written with the next save even when nobody marks the notebook modified.
    nb->TreeDirty = true;
    if (markModified)
        nb->Modified = true;
    m_service.Forest().SetImageIndex(node, index);
    return true;
}

void TMyCustomTreeView::noteRootNoImage() {
    TTreeNode* node = Selected();
    const TNodeRoot* nb = TNotebookService::NotebookOf(node);
    if (!nb)
        return;
    const int stored = node->Note() ? node->Note()->Record.ImageIndex() : nb->Header.RootImageIndex();
    if (stored >= 0)
        SetNodeImage(node, -1, false);
}

void TMyCustomTreeView::SetImagesAction(QAction* action) {
    m_imageMenu->SetImagesAction(action);
}

// ---------------------------------------------------------------- forgetting nodes

void TMyCustomTreeView::ForgetNode(const TTreeNode* node) {
    TOvTree::ForgetNode(node);
    m_history.Forget(node);
    if (m_fallenOnto && (m_fallenOnto == node || m_fallenOnto->HasAsParent(node)))
        m_fallenOnto = nullptr;
    if (TTreeNode* hovered = m_hover->Node(); hovered && (hovered == node || hovered->HasAsParent(node)))
        m_hover->Forget();
}

void TMyCustomTreeView::CollectNodeRefs(QSet<const TTreeNode*>& refs) const {
    TOvTree::CollectNodeRefs(refs);
    for (TTreeNode* n : m_history.Nodes())
        refs.insert(n);
    refs.insert(m_hover->Node());
}

void TMyCustomTreeView::KeepNodeRefs(const QSet<const TTreeNode*>& alive) {
    TOvTree::KeepNodeRefs(alive);
    m_history.Keep(alive);
    if (!alive.contains(m_hover->Node()))
        m_hover->Forget();
}

// ---------------------------------------------------------------- input

bool TMyCustomTreeView::event(QEvent* event) {
    switch (event->type()) {
    case QEvent::ShortcutOverride: {
        // Keys the tree answers itself are not taken by the window's shortcuts.
        auto* ke = static_cast<QKeyEvent*>(event);
        const bool plainDelete = ke->key() == Qt::Key_Delete && ke->modifiers() == Qt::NoModifier;
        if (isFocusEditorKey(ke) || (plainDelete && !editingLabel())) {
            event->accept();
            return true;
        }
        break;
    }
    case QEvent::ParentChange:
        if (RebuildOnRecreate)
            RebuildNotesList(nullptr);
        break;
    default:
        break;
    }
    return TOvTree::event(event);
}

void TMyCustomTreeView::keyPressEvent(QKeyEvent* e) {
    if (isFocusEditorKey(e)) {
        e->accept();
        // The editor must show the note selected before it is typed into.
        CompletePendingChange();
        emit focusEditorRequested();
        return;
    }
    if (editingLabel()) {
        TOvTree::keyPressEvent(e);
        return;
    }
    switch (e->key()) {
    case Qt::Key_Delete:
        if (e->modifiers() == Qt::NoModifier) {
            e->accept();
            CompletePendingChange();
            emit deleteRequested();
            return;
        }
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (TTreeNode* node = Selected())
            SetNodeExpanded(node, !isExpanded(IndexOf(node)));
        e->accept();
        return;
    case Qt::Key_End:
        if (TTreeNode* node = Selected(); node && node->HasChildren())
            SelectNodeDelayed(DeepestFirstChild(node));
        e->accept();
        return;
    default:
        break;
    }
    TOvTree::keyPressEvent(e);
}

void TMyCustomTreeView::mousePressEvent(QMouseEvent* event) {
    m_leftClick = event->button() == Qt::LeftButton;
    TOvTree::mousePressEvent(event);
    m_leftClick = false;
}

void TMyCustomTreeView::mouseMoveEvent(QMouseEvent* event) {
    TOvTree::mouseMoveEvent(event);
    if (m_busy || editingLabel())
        return;
    m_hover->MouseMoved(event->position().toPoint(), event->modifiers(), event->buttons());
    if (!showLabelTip(event->position().toPoint()))
        QToolTip::hideText();
}

bool TMyCustomTreeView::showLabelTip(QPoint pos) {
    TTreeNode* node = NodeAt(pos);
    const TNodeGeometry g = node ? NodeGeometry(node) : TNodeGeometry();
    if (!node || !g.labelShown || g.label.left() + g.label.width() <= viewport()->width())
        return false;
    QToolTip::showText(viewport()->mapToGlobal(g.label.topLeft()), node->Text(), viewport(), g.row);
    return true;
}

bool TMyCustomTreeView::viewportEvent(QEvent* event) {
    // The view's own tooltips come from the model, which has none: the long
    // label is the only tip the tree shows.
    if (event->type() == QEvent::ToolTip) {
        if (m_busy || editingLabel() || !showLabelTip(static_cast<QHelpEvent*>(event)->pos()))
            QToolTip::hideText();
        return true;
    }
    return TOvTree::viewportEvent(event);
}

void TMyCustomTreeView::contextMenuEvent(QContextMenuEvent* event) {
    CompletePendingChange();
    emit changed(Selected());
    const bool byMouse = event->reason() == QContextMenuEvent::Mouse;
    TTreeNode* node = byMouse ? NodeAt(event->pos()) : Selected();
    if (!node) {
        event->ignore();
        return;
    }
    const TNodeGeometry g = NodeGeometry(node);
    const QPoint global = byMouse ? event->globalPos() : viewport()->mapToGlobal(g.label.bottomLeft());
    if (byMouse && g.image.contains(event->pos())) {
        const TNodeRoot* nb = TNotebookService::NotebookOf(node);
        if (!nb) {
            event->ignore();
            return;
        }
        const int current = node->Note() ? node->Note()->Record.ImageIndex() : nb->Header.RootImageIndex();
        m_imageMenu->Prepare(nb->Images, current);
        m_imageMenu->popup(global);
    } else if (m_treeMenu) {
        emit treeMenuAboutToShow(node);
        m_treeMenu->popup(global);
    } else {
        event->ignore();
        return;
    }
    event->accept();
}

void TMyCustomTreeView::EditLabel(TTreeNode* node, const QString& text) {
    const QModelIndex index = IndexOf(node);
    if (!index.isValid())
        return;
    if (text.isEmpty()) {
        scrollTo(index);
        edit(index);
        return;
    }
    // Called while the editor that gave the text commits; a new one can only
    // open after that one has closed.
    QTimer::singleShot(0, this, [this, where = QPersistentModelIndex(index), text] {
        if (!where.isValid())
            return;
        scrollTo(where);
        edit(where);
        if (auto* editor = qobject_cast<QLineEdit*>(indexWidget(where)))
            editor->setText(text);
    });
}

void TMyCustomTreeView::SendKeyToLabelEditor(int key) {
    if (!editingLabel())
        return;
    if (auto* editor = viewport()->findChild<QLineEdit*>()) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(editor, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
        QApplication::sendEvent(editor, &release);
    }
}

void TMyCustomTreeView::startDrag(Qt::DropActions) {
    CompletePendingChange();
    if (!m_drag->Start(Selected()))
        return;
    // The drag carries no data of its own: the dragged node stays with the tree.
    auto* mime = new QMimeData;
    mime->setData(kNodeMimeType, QByteArrayLiteral("1"));
    auto* drag = new QDrag(this);
    drag->setMimeData(mime);
    drag->exec(Qt::MoveAction | Qt::CopyAction, Qt::MoveAction);
    m_drag->End();
}

void TMyCustomTreeView::dragEnterEvent(QDragEnterEvent* event) {
    // Only drags that come from the notes tree are considered.
    if (m_drag->Dragged() && event->mimeData()->hasFormat(kNodeMimeType))
        event->acceptProposedAction();
    else
        event->ignore();
}

void TMyCustomTreeView::dragMoveEvent(QDragMoveEvent* event) {
    const bool ok = event->mimeData()->hasFormat(kNodeMimeType) &&
                    m_drag->Over(event->position().toPoint(), event->modifiers());
    event->setDropAction(event->modifiers() & Qt::ControlModifier ? Qt::CopyAction : Qt::MoveAction);
    if (ok)
        event->accept();
    else
        event->ignore();
}

void TMyCustomTreeView::dragLeaveEvent(QDragLeaveEvent* event) {
    m_drag->Leave();
    event->accept();
}

void TMyCustomTreeView::dropEvent(QDropEvent* event) {
    if (!event->mimeData()->hasFormat(kNodeMimeType)) {
        event->ignore();
        return;
    }
    m_drag->Drop(event->position().toPoint(), event->modifiers());
    // The tree has been changed through the service already; the view moves nothing itself.
    event->setDropAction(Qt::IgnoreAction);
    event->accept();
}

} // namespace vlr
