#include "app/note_commands.h"

#include "app/notebook_defaults.h"
#include "core/messages.h"
#include "core/name_loss.h"

namespace vlr {

namespace {
const QString kConfirmCaption = QStringLiteral("Подтверждение");
const QString kErrorCaption = QStringLiteral("Ошибка");
} // namespace

TNoteCommands::TNoteCommands(TNotebookService& service, NoteCommandsHost& host, TVLROptions& options,
                             QObject* parent)
    : QObject(parent), m_service(service), m_host(host), m_options(options) {
    NotebookAddAsChild = make(
        QStringLiteral("Подзапись текущей"), QKeySequence(Qt::Key_Insert), [this] { AddFromCommand(false); },
        "NotebookAddAsChild");
    NotebookAddAfter = make(
        QStringLiteral("После текущей"), QKeySequence(Qt::ALT | Qt::Key_Insert),
        [this] { AddFromCommand(true); }, "NotebookAddAfter");
    NotebookAddInherit =
        make(QStringLiteral("Наследовать родительскую запись"), {}, {}, "NotebookAddInherit");
    NotebookAddInherit->setCheckable(true);
    NotebookRename = make(
        QStringLiteral("Переименовать"), QKeySequence(Qt::Key_F2),
        [this] {
            TTreeNode* node = m_host.SelectedNode();
            if (node && writable(node) && m_host.CanModifyNotebook(node))
                m_host.EditLabel(node, {});
        },
        "NotebookRename");
    NotebookDelete = make(
        QStringLiteral("Удалить"), QKeySequence(Qt::CTRL | Qt::Key_Delete), [this] { DeleteSelected(); },
        "NotebookDelete");
    NotebookMoveUp = make(
        QStringLiteral("Сдвинуть вверх"), QKeySequence(Qt::CTRL | Qt::Key_Up), [this] { MoveUp(); },
        "NotebookMoveUp");
    NotebookMoveDown = make(
        QStringLiteral("Сдвинуть вниз"), QKeySequence(Qt::CTRL | Qt::Key_Down), [this] { MoveDown(); },
        "NotebookMoveDown");
    NotebookMoveLeft = make(
        QStringLiteral("Уровнем выше"), QKeySequence(Qt::CTRL | Qt::Key_Left), [this] { MoveLeft(); },
        "NotebookMoveLeft");
    NotebookMoveRight = make(
        QStringLiteral("Уровнем ниже"), QKeySequence(Qt::CTRL | Qt::Key_Right), [this] { MoveRight(); },
        "NotebookMoveRight");
    NotebookSpecialsCut = make(
        QStringLiteral("Перенести запись в буфер"), {}, [this] { CutOrCopy(true); }, "NotebookSpecialsCut");
    NotebookSpecialsCopy = make(
        QStringLiteral("Копировать запись в буфер"), {}, [this] { CutOrCopy(false); },
        "NotebookSpecialsCopy");
    NotebookSpecialsPaste = make(
        QStringLiteral("Вставить как подзапись"), {}, [this] { Paste(false); }, "NotebookSpecialsPaste");
    NotebookSpecialsPasteAfter = make(
        QStringLiteral("Вставить после текущей"), {}, [this] { Paste(true); }, "NotebookSpecialsPasteAfter");
    m_remembered = NotebookAddAsChild;

    // The buffer never holds a note that went away.
    connect(&service, &TNotebookService::noteAboutToBeDeleted, this,
            [this](TNodeData* note) { releaseIfInside(note->TreeNode); });
    connect(&service, &TNotebookService::notebookAboutToClose, this,
            [this](TNodeRoot* nb) { releaseIfInside(nb->RootNode); });
}

QAction* TNoteCommands::make(const QString& caption, const QKeySequence& key, std::function<void()> run,
                             const char* name) {
    auto* action = new QAction(caption, this);
    action->setObjectName(QString::fromLatin1(name));
    if (!key.isEmpty())
        action->setShortcut(key);
    if (run)
        connect(action, &QAction::triggered, this, [run = std::move(run)] { run(); });
    return action;
}

void TNoteCommands::ResetRememberedAdd() {
    m_remembered = NotebookAddAsChild;
}

bool TNoteCommands::writable(TTreeNode* node) const {
    const TNodeRoot* nb = TNotebookService::NotebookOf(node);
    return nb && !nb->IsReadOnly();
}

TTreeNode* TNoteCommands::AddNote(TTreeNode* relative, bool resetEditor, bool inherit, bool after,
                                  const QString& name) {
    TNodeRoot* nb = TNotebookService::NotebookOf(relative);
    if (!nb || nb->IsReadOnly())
        return nullptr;
    m_host.StoreEditor(true);
    // A root holds none of a note's looks: a note added to it takes the defaults.
    const TNodeData* like = inherit ? relative->Note() : nullptr;
    TNodeData* note = m_service.AddNoteNear(*nb, relative, after, name, newNoteDefaults(m_options), like);
    m_host.SelectNode(note->TreeNode);
    if (resetEditor)
        m_host.ResetEditor();
    else
        m_host.SelectNode(relative);
    return note->TreeNode;
}

void TNoteCommands::AddFromCommand(bool after) {
    TTreeNode* selected = m_host.SelectedNode();
    if (!selected || !writable(selected) || !m_host.CanModifyNotebook(selected))
        return;
    if (after && !selected->Note())
        return;
    m_remembered = after ? NotebookAddAfter : NotebookAddAsChild;
    const bool inherit = m_host.ShiftHeld() != NotebookAddInherit->isChecked();
    if (TTreeNode* node = AddNote(selected, true, inherit, after))
        m_host.EditLabel(node, {});
}

void TNoteCommands::LabelEdited(TTreeNode* node, const QString& text) {
    if (!node || text.isEmpty() || !writable(node))
        return;
    if (!confirmNameLoss(text)) {
        m_host.EditLabel(node, text);
        return;
    }
    if (TNodeData* note = node->Note())
        m_service.RenameNote(*note, text);
    else if (TNodeRoot* nb = node->Notebook())
        m_service.RenameNotebook(*nb, text);
    m_host.FavoritesChanged();
    m_host.RefreshEditor();
}

void TNoteCommands::DeleteSelected() {
    if (m_host.EditingLabel()) {
        m_host.SendKeyToLabelEditor(Qt::Key_Delete);
        return;
    }
    TTreeNode* node = m_host.SelectedNode();
    if (!node || !node->Note() || !writable(node) || node->Note()->HasNoteFlag(nfReadOnly))
        return;
    if (!m_host.CanModifyNotebook(node))
        return;
    if ((m_options.AskDelNote || node->HasChildren()) &&
        showMessage(kDeleteNoteQuestion, kConfirmCaption, MsgIcon::Question, MbOk | MbCancel) != MbOk)
        return;
    m_host.StoreEditor(true);
    TTreeNode* next = node->NextSibling();
    if (!next)
        next = node->PrevSibling();
    if (!next)
        next = node->Parent();
    m_service.DeleteNote(*node->Note());
    m_host.FavoritesChanged();
    m_host.SelectNode(next);
}

void TNoteCommands::moveNotebook(TTreeNode* root, int row) {
    TNodeRoot* nb = root->Notebook();
    if (!nb)
        return;
    m_service.MoveNotebook(*nb, row);
    m_host.ShowStoredExpansion(root);
    m_host.FavoritesChanged();
}

void TNoteCommands::MoveUp() {
    TTreeNode* node = m_host.SelectedNode();
    if (m_host.EditingLabel() || !node)
        return;
    if (!node->Note()) {
        if (node->Index() > 0)
            moveNotebook(node, node->Index() - 1);
        return;
    }
    if (node->PrevSibling() && writable(node) && m_host.CanModifyNotebook(node))
        m_service.MoveNote(*node->Note(), node->Parent(), node->Index() - 1);
}

void TNoteCommands::MoveDown() {
    TTreeNode* node = m_host.SelectedNode();
    if (m_host.EditingLabel() || !node)
        return;
    if (!node->Note()) {
        if (node->Index() + 1 < m_service.Forest().RootCount())
            moveNotebook(node, node->Index() + 2);
        return;
    }
    if (!writable(node) || !m_host.CanModifyNotebook(node))
        return;
    // The last sibling stays where it is, yet the notebook counts as changed.
    m_service.MoveNote(*node->Note(), node->Parent(), node->Index() + 2);
}

void TNoteCommands::MoveLeft() {
    if (m_host.EditingLabel()) {
        m_host.SendKeyToLabelEditor(Qt::Key_Left);
        return;
    }
    TTreeNode* node = m_host.SelectedNode();
    if (!node || !node->Note() || !node->Parent() || !node->Parent()->Note())
        return;
    if (!writable(node) || !m_host.CanModifyNotebook(node))
        return;
    TTreeNode* grand = node->Parent()->Parent();
    m_service.MoveNote(*node->Note(), grand, grand->Count());
}

void TNoteCommands::MoveRight() {
    if (m_host.EditingLabel()) {
        m_host.SendKeyToLabelEditor(Qt::Key_Right);
        return;
    }
    TTreeNode* node = m_host.SelectedNode();
    if (!node || !node->Note() || !node->PrevSibling())
        return;
    if (!writable(node) || !m_host.CanModifyNotebook(node))
        return;
    TTreeNode* prev = node->PrevSibling();
    m_service.MoveNote(*node->Note(), prev, prev->Count());
}

void TNoteCommands::release() {
    if (m_held)
        m_service.SetCut(m_held, false);
    m_held = nullptr;
    emit bufferChanged();
    m_host.CommandStatesChanged();
}

void TNoteCommands::releaseIfInside(TTreeNode* gone) {
    if (m_held && gone && (m_held == gone || m_held->HasAsParent(gone))) {
        // The node goes away with its subtree: only the reference is dropped.
        m_held = nullptr;
        emit bufferChanged();
        m_host.CommandStatesChanged();
    }
}

void TNoteCommands::CutOrCopy(bool cut) {
    TTreeNode* node = m_host.SelectedNode();
    if (!node || !node->Note())
        return;
    if (m_held)
        m_service.SetCut(m_held, false);
    m_held = node;
    if (cut)
        m_service.SetCut(node, true);
    emit bufferChanged();
    m_host.CommandStatesChanged();
}

void TNoteCommands::Paste(bool after) {
    TTreeNode* target = m_host.SelectedNode();
    if (!m_held || !m_held->Note() || !target || (after && !target->Note()))
        return;
    TNotebookService::MoveOrCopy how;
    how.copy = !m_held->Cut();
    how.after = after;
    how.withChildren = false;
    // A paste that changed nothing (refused, unreadable) keeps the note held.
    if (MoveOrCopy(m_held, target, how))
        release();
}

TTreeNode* TNoteCommands::MoveOrCopy(TTreeNode* source, TTreeNode* target,
                                     const TNotebookService::MoveOrCopy& how) {
    if (!source || !target || !source->Note())
        return nullptr;
    TNodeRoot* to = TNotebookService::NotebookOf(target);
    TNodeRoot* from = TNotebookService::NotebookOf(source);
    if (!to || !from || to->IsReadOnly() || (!how.copy && from->IsReadOnly()))
        return nullptr;
    // A locked notebook is opened before anything goes into or out of it.
    if (!m_host.CanModifyNotebook(target) || (from != to && !m_host.CanModifyNotebook(source)))
        return nullptr;
    m_host.StoreEditor(true);
    TTreeNode* result = m_service.MoveOrCopyNote(source, target, how);
    if (!result) {
        if (!m_service.LastMoveError().isEmpty())
            showMessage(QStringLiteral("Запись \"%1\" не удалось прочитать: ничего не перенесено.")
                            .arg(m_service.LastMoveError()),
                        kErrorCaption, MsgIcon::Error);
        return nullptr;
    }
    m_host.ShowStoredExpansion(result);
    m_host.FavoritesChanged();
    return result;
}

} // namespace vlr
