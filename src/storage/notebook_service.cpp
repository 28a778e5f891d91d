#include "storage/notebook_service.h"

#include "storage/new_note.h"
#include "storage/protection.h"

#include <QFileInfo>

#include <algorithm>

namespace vlr {

namespace {
// A root's tree picture before its notebook is read: none.
constexpr int kNoPicture = 2147483647;
} // namespace

TNotebookService::TNotebookService(const TMyImageList& images, QObject* parent)
    : QObject(parent), m_images(images) {}

TNotebookService::~TNotebookService() {
    // Notebooks refer to the forest's nodes: they go first, the forest after.
    while (!m_notebooks.empty())
        destroy(m_notebooks.back().get());
}

QList<TNodeRoot*> TNotebookService::Notebooks() const {
    QList<TNodeRoot*> list;
    list.reserve(m_forest.RootCount());
    for (int i = 0; i < m_forest.RootCount(); ++i)
        if (TNodeRoot* nb = m_forest.RootAt(i)->Notebook())
            list.append(nb);
    return list;
}

TNodeRoot* TNotebookService::NotebookOf(const TTreeNode* node) {
    if (!node)
        return nullptr;
    while (node->Parent() && node->Level() > 0)
        node = node->Parent();
    return node->Notebook();
}

TNodeRoot* TNotebookService::FindByFileName(const QString& fileName) const {
    for (TNodeRoot* nb : Notebooks())
        if (nb->FileName == fileName)
            return nb;
    return nullptr;
}

TNodeRoot* TNotebookService::addNotebook(const QString& title, int imageIndex) {
    auto owned = std::make_unique<TNodeRoot>(nullptr, m_images);
    TNodeRoot* nb = owned.get();
    // The root node is built away from observers so that it appears with its Data.
    TNodeBatch batch = m_forest.NewBatch();
    TTreeNode* root = m_forest.AddToBatch(batch, nullptr, title);
    m_forest.SetImages(root, imageIndex, imageIndex);
    m_forest.SetNotebook(root, nb);
    nb->RootNode = root;
    m_notebooks.push_back(std::move(owned));
    m_forest.Attach(std::move(batch), nullptr, m_forest.RootCount());
    return nb;
}

void TNotebookService::destroy(TNodeRoot* notebook) {
    auto it = std::find_if(m_notebooks.begin(), m_notebooks.end(),
                           [&](const auto& p) { return p.get() == notebook; });
    if (it == m_notebooks.end())
        return;
    std::unique_ptr<TNodeRoot> owned = std::move(*it);
    m_notebooks.erase(it);
    if (TTreeNode* root = owned->RootNode) {
        owned->RootNode = nullptr;
        m_forest.Remove(root);
    }
    owned.reset();
}

OpenOutcome TNotebookService::Open(const QString& fileName, const OpenOptions& options) {
    TNodeRoot* nb = addNotebook(QFileInfo(fileName).fileName(), kNoPicture);
    nb->FileName = fileName;
    nb->DefNodeImageIndex = options.defNodeImageIndex;
    nb->OnAskPassword = options.askPassword;
    OpenOutcome outcome;
    outcome.result = nb->LoadNotes(options.readOnly);
    switch (outcome.result) {
    case lrOk:
    case lrPicturesUnreadable:
    case lrDamaged: {
        const int image = nb->Header.RootImageIndex();
        m_forest.SetImages(nb->RootNode, image, image);
        // A notebook still locked shows nothing of itself until it is unlocked.
        m_forest.SetExpanded(nb->RootNode,
                             nb->Header.RootExpanded() != 0 && !(nb->IsLocked() && !nb->Notes.isEmpty()));
        outcome.notebook = nb;
        emit notebookOpened(nb);
        break;
    }
    default:
        destroy(nb);
        break;
    }
    return outcome;
}

TNodeRoot* TNotebookService::Create(const NewNotebookDefaults& defaults, const QString& fileName) {
    TNodeRoot* nb = addNotebook(defaults.name.left(100), defaults.rootImageIndex);
    nb->FileName = fileName;
    nb->DefNodeImageIndex = defaults.defNodeImageIndex;
    nb->InitNew(defaults);
    m_forest.SetText(nb->RootNode, nb->Header.BookName());
    m_forest.SetExpanded(nb->RootNode, true);
    emit notebookCreated(nb);
    return nb;
}

bool TNotebookService::Protect(TNodeRoot& notebook, const QString& password) {
    if (!ProtectWithPassword(notebook, password))
        return false;
    notebook.TreeDirty = true;
    return true;
}

bool TNotebookService::Unlock(TNodeRoot& notebook, const QString& password) {
    notebook.PasswordDigest = PasswordDigest(password);
    if (!vlr::Unlock(notebook, password))
        return false;
    emit notebookUnlocked(&notebook);
    return true;
}

void TNotebookService::Lock(TNodeRoot& notebook) {
    notebook.LockNotebook();
    emit notebookLocked(&notebook);
}

int TNotebookService::Save(TNodeRoot& notebook) {
    const int result = notebook.SaveNotes();
    emit notebookSaved(&notebook, result);
    return result;
}

void TNotebookService::Close(TNodeRoot* notebook) {
    if (!notebook)
        return;
    emit notebookAboutToClose(notebook);
    destroy(notebook);
    emit notebookClosed(notebook);
}

void TNotebookService::CloseAll() {
    for (TNodeRoot* nb : Notebooks())
        Close(nb);
}

TNodeData* TNotebookService::AddNote(TNodeRoot& notebook, TTreeNode* parent, int row, const QString& name,
                                     const NewNoteDefaults& defaults, bool plainText) {
    if (!parent)
        parent = notebook.RootNode;
    TTreeNode* node = m_forest.Insert(parent, row, name.left(100));
    TNodeData* note = CreateNoteForNode(notebook, node, defaults, plainText);
    emit noteAdded(note);
    return note;
}

void TNotebookService::DeleteNote(TNodeData& note) {
    TNodeRoot* nb = NotebookOf(note.TreeNode);
    if (!nb || !note.TreeNode)
        return;
    emit noteAboutToBeDeleted(&note);
    m_forest.Remove(note.TreeNode);
    nb->MarkRemovedNotes(nb->RootNode);
    nb->TreeDirty = true;
}

void TNotebookService::SetBody(TNodeData& note, QByteArray body) {
    note.Body = std::move(body);
    note.Loaded = true;
    note.Clean = false;
    if (TNodeRoot* nb = NotebookOf(note.RootNode))
        nb->TreeDirty = true;
    emit noteBodyChanged(&note);
}

void TNotebookService::RenameNote(TNodeData& note, const QString& name) {
    const QString stored = name.left(100);
    note.Record.setNoteName(stored);
    if (note.TreeNode)
        m_forest.SetText(note.TreeNode, stored);
    if (TNodeRoot* nb = NotebookOf(note.RootNode))
        nb->TreeDirty = true;
    emit noteRenamed(&note);
}

void TNotebookService::MoveNote(TNodeData& note, TTreeNode* newParent, int row) {
    TNodeRoot* nb = NotebookOf(note.TreeNode);
    if (!nb || !newParent || NotebookOf(newParent) != nb)
        return;
    m_forest.Move(note.TreeNode, newParent, row);
    nb->RebuildNotesList(nb->RootNode);
    nb->TreeDirty = true;
}

void TNotebookService::SetExpanded(TTreeNode* node, bool expanded) {
    if (!node)
        return;
    m_forest.SetExpanded(node, expanded);
    TNodeRoot* nb = NotebookOf(node);
    if (!nb)
        return;
    if (TNodeData* note = node->Note())
        note->Record.setExpanded(expanded ? -1 : 0);
    else
        nb->Header.setRootExpanded(expanded ? -1 : 0);
    nb->TreeDirty = true;
}

} // namespace vlr
