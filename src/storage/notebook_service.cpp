#include "storage/notebook_service.h"

#include "storage/new_note.h"
#include "storage/protection.h"

#include "core/codepage.h"
#include "core/datetime.h"
#include "core/guid.h"

#include <QFileInfo>

#include <algorithm>

namespace vlr {

namespace {
// A root's tree picture before its notebook is read: none.
constexpr int kNoPicture = 2147483647;

// A note's name as its record holds it: at most 100 characters, each one
// Windows-1251 cannot hold as '?'. The label shows that, not what was typed.
QString storedName(const QString& name) {
    return fromAnsi(toAnsi(name.left(100)));
}
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
    // The away timer locks without the service: its signals are relayed.
    connect(nb, &TNodeRoot::aboutToLock, this, &TNotebookService::notebookAboutToLock);
    connect(nb, &TNodeRoot::locked, this, &TNotebookService::notebookLocked);
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
    TTreeNode* node = m_forest.Insert(parent, row, storedName(name));
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
    touch(*nb);
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
    const QString stored = storedName(name);
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
    touch(*nb);
}

void TNotebookService::SetExpanded(TTreeNode* node, bool expanded) {
    if (!node)
        return;
    m_forest.SetExpanded(node, expanded);
    TNodeRoot* nb = NotebookOf(node);
    if (!nb)
        return;
    TNodeData* note = node->Note();
    const bool stored = note ? note->Record.Expanded() != 0 : nb->Header.RootExpanded() != 0;
    if (stored == expanded)
        return;
    if (note)
        note->Record.setExpanded(expanded ? -1 : 0);
    else
        nb->Header.setRootExpanded(expanded ? -1 : 0);
    // How the tree is looked at, not a change of it.
    nb->ViewDirty = true;
}

namespace {
// Copies created in one go are stamped at least this far apart, so no two
// share a creation time.
constexpr double kCopyStampStep = 5.0 / 86400000.0; // 5 ms in days

void inheritLooks(NoteRecord& r, const NoteRecord& from) {
    r.copyLooksFrom(from);
    r.setEditorColor(from.EditorColor());
    r.setBackColor(from.BackColor());
}

// A note's place in its file is forgotten: it is written anew with the next save.
void forgetPlace(NoteRecord& r) {
    r.setOffset(0);
    r.setSize(0);
    r.setSizeReserved(0);
    r.setSaved(0);
}
} // namespace

void TNotebookService::touch(TNodeRoot& notebook) {
    notebook.MarkChanged();
}

void TNotebookService::rebind(TNodeRoot& notebook) {
    TTreeNode* root = notebook.RootNode;
    if (!root)
        return;
    ForEachDescendant(root, [&](TTreeNode* n) {
        if (TNodeData* note = n->Note()) {
            note->TreeNode = n;
            note->RootNode = root;
        }
    });
    notebook.RebuildNotesList(root);
}

TNodeData* TNotebookService::AddNoteNear(TNodeRoot& notebook, TTreeNode* relative, bool after,
                                         const QString& name, const NewNoteDefaults& defaults,
                                         const TNodeData* inheritFrom) {
    if (!relative || NotebookOf(relative) != &notebook)
        relative = notebook.RootNode;
    TTreeNode* parent = relative;
    int row = relative->Count();
    if (after && relative->Level() > 0) {
        parent = relative->Parent();
        row = relative->Index() + 1;
    }
    const QString label = name.isEmpty() ? defaults.name : name;
    TTreeNode* node = m_forest.Insert(parent, row, label.left(100));
    TNodeData* note = CreateNoteForNode(notebook, node, defaults, false);
    if (inheritFrom) {
        inheritLooks(note->Record, inheritFrom->Record);
        const int image =
            inheritFrom->TreeNode ? inheritFrom->TreeNode->ImageIndex() : note->Record.ImageIndex();
        const int selected = inheritFrom->TreeNode ? inheritFrom->TreeNode->SelectedIndex() : image;
        m_forest.SetImages(node, image, selected);
    }
    touch(notebook);
    emit noteAdded(note);
    return note;
}

void TNotebookService::RenameNotebook(TNodeRoot& notebook, const QString& title) {
    notebook.Header.setBookName(title.left(100));
    if (notebook.RootNode)
        m_forest.SetText(notebook.RootNode, notebook.Header.BookName());
    touch(notebook);
    emit notebookRenamed(&notebook);
}

void TNotebookService::MoveNotebook(TNodeRoot& notebook, int row) {
    // The order of notebooks is the window's, not any notebook's: nothing is marked.
    if (notebook.RootNode)
        m_forest.Move(notebook.RootNode, nullptr, row);
}

void TNotebookService::SetCut(TTreeNode* node, bool cut) {
    if (node)
        m_forest.SetCut(node, cut);
}

bool TNotebookService::carryImage(TNodeData& note, const TNodeRoot& from, TNodeRoot& to) {
    const int index = note.Record.ImageIndex();
    if (index < 0 || index >= from.Images.Count())
        return false;
    const QImage picture = from.Images.imageOnKey(index);
    int found = to.Images.IndexOf(picture);
    if (found < 0)
        found = to.Images.Add(picture);
    if (found < 0)
        return false; // the target's list is full: the index stays as it was
    note.Record.setImageIndex(int16_t(found));
    if (note.TreeNode)
        m_forest.SetImages(note.TreeNode, found, found);
    return true;
}

TTreeNode* TNotebookService::MoveOrCopyNote(TTreeNode* source, TTreeNode* target, const MoveOrCopy& how) {
    m_moveError.clear();
    if (!source || !target || !source->Note())
        return nullptr;
    TNodeRoot* from = NotebookOf(source);
    TNodeRoot* to = NotebookOf(target);
    if (!from || !to)
        return nullptr;
    if (how.copy)
        return copyNote(source, target, how);
    if (from != to)
        return moveAcross(source, target, how.after);
    if (target == source || target->HasAsParent(source))
        return nullptr; // a note cannot go into its own subtree
    TTreeNode* parent = target;
    int row = target->Count();
    if (how.after) {
        if (target->Level() == 0)
            return nullptr;
        parent = target->Parent();
        // Right after target, which for its own next sibling means a swap.
        row = target->NextSibling() == source ? target->Index() : target->Index() + 1;
    }
    m_forest.Move(source, parent, row);
    rebind(*from);
    touch(*from);
    return source;
}

TTreeNode* TNotebookService::moveAcross(TTreeNode* source, TTreeNode* target, bool after) {
    TNodeRoot* from = NotebookOf(source);
    TNodeRoot* to = NotebookOf(target);
    std::vector<TTreeNode*> nodes{source};
    ForEachDescendant(source, [&](TTreeNode* n) { nodes.push_back(n); });
    // Every body is in memory before anything moves: one that cannot be read
    // stops the move and both notebooks stay as they were.
    for (TTreeNode* n : nodes) {
        TNodeData* note = n->Note();
        if (!note || note->Loaded)
            continue;
        QByteArray body;
        if (from->ReadNoteInto(n, body) < 0) {
            m_moveError = n->Text();
            return nullptr;
        }
        note->Body = std::move(body);
        note->Loaded = true;
    }
    TTreeNode* parent = target;
    int row = target->Count();
    if (after && target->Level() > 0) {
        parent = target->Parent();
        row = target->Index() + 1;
    }
    m_forest.Move(source, parent, row);
    for (TTreeNode* n : nodes) {
        TNodeData* note = n->Note();
        if (!note)
            continue;
        forgetPlace(note->Record);
        note->SetNoteFlag(nfCompressed | nfEncrypted | nfReadOnly, false);
        note->Clean = false;
        carryImage(*note, *from, *to);
    }
    rebind(*to);
    rebind(*from);
    touch(*to);
    touch(*from);
    emit noteMovedAcross(source->Note(), from, to);
    return source;
}

TTreeNode* TNotebookService::copyNote(TTreeNode* source, TTreeNode* target, const MoveOrCopy& how) {
    TNodeRoot* from = NotebookOf(source);
    TNodeRoot* to = NotebookOf(target);
    // What is copied, in pre-order, each with the copy it goes below (-1: the top).
    struct Item {
        TTreeNode* node;
        int parent;
    };
    std::vector<Item> items{{source, -1}};
    if (how.withChildren) {
        std::vector<Item> stack;
        for (int i = source->Count() - 1; i >= 0; --i)
            stack.push_back({source->Child(i), 0});
        while (!stack.empty()) {
            const Item it = stack.back();
            stack.pop_back();
            // A child left out still passes its own children to the nearest copy.
            int below = it.parent;
            if (it.node->Note() && (!how.onlyChecked || it.node->StateIndex() == 1)) {
                items.push_back(it);
                below = int(items.size()) - 1;
            }
            for (int i = it.node->Count() - 1; i >= 0; --i)
                stack.push_back({it.node->Child(i), below});
        }
    }
    // Every body is read before anything is added, so a failure adds nothing.
    std::vector<QByteArray> bodies(items.size());
    for (size_t i = 0; i < items.size(); ++i) {
        TNodeData* note = items[i].node->Note();
        if (note->Loaded) {
            bodies[i] = note->Body;
        } else if (from->ReadNoteInto(items[i].node, bodies[i]) < 0) {
            m_moveError = items[i].node->Text();
            return nullptr;
        }
    }
    TNodeBatch batch = m_forest.NewBatch();
    std::vector<TTreeNode*> made(items.size());
    for (size_t i = 0; i < items.size(); ++i) {
        const TTreeNode* src = items[i].node;
        TTreeNode* node = m_forest.AddToBatch(
            batch, items[i].parent < 0 ? nullptr : made[size_t(items[i].parent)], src->Text());
        made[i] = node;
        auto* note = new TNodeData;
        note->Record = src->Note()->Record;
        forgetPlace(note->Record);
        // Creation times follow one another at least 5 ms apart without waiting.
        m_lastCopyCreated = std::max(nowTDateTime(), m_lastCopyCreated + kCopyStampStep);
        note->Record.setCreated(m_lastCopyCreated);
        note->Record.setDeleted(0);
        const GuidBytes id = newGuid();
        note->Record.setID(id.data());
        note->Body = std::move(bodies[i]);
        note->Loaded = true;
        note->Clean = false;
        note->TreeNode = node;
        note->RootNode = to->RootNode;
        m_forest.SetImages(node, src->ImageIndex(), src->SelectedIndex());
        m_forest.SetStateIndex(node, src->StateIndex());
        m_forest.SetExpanded(node, src->Note()->Record.Expanded() != 0);
        m_forest.SetNote(node, note);
        // Owned by the target's note list from here on.
        to->Notes.append(note);
        if (how.copyImages && from != to)
            carryImage(*note, *from, *to);
    }
    const bool afterTarget = how.after && (from == to ? target != from->RootNode : target->Level() > 0);
    TTreeNode* parent = afterTarget ? target->Parent() : target;
    const int row = afterTarget ? target->Index() + 1 : target->Count();
    m_forest.Attach(std::move(batch), parent, row);
    rebind(*to);
    touch(*to);
    emit noteAdded(made.front()->Note());
    return made.front();
}

} // namespace vlr
