#pragma once
// The one owner of open notebooks: the forest of their trees and every
// TNodeRoot. The program, vlr, the tests and the benchmarks open, create,
// save and close notebooks here, and change the shape of a notebook or a
// note's body only through it, so everyone who listens hears every change.
#include "storage/defaults.h"
#include "storage/images/image_list.h"
#include "storage/node_root.h"
#include "storage/note_forest.h"

#include <QList>
#include <QObject>

#include <memory>
#include <vector>

namespace vlr {

struct OpenOptions {
    // Opened for inspection: never written.
    bool readOnly = false;
    // The picture of notes whose notebook keeps no default picture.
    int defNodeImageIndex = 0;
    // Answers the password question of an encrypted notebook; none: locked.
    TNodeRoot::PasswordCallback askPassword;
};

struct OpenOutcome {
    int result = lrCannotOpen; // LoadResult
    // The open notebook, or none when it could not stay open (refused, not a
    // notebook, not readable).
    TNodeRoot* notebook = nullptr;
};

class TNotebookService : public QObject {
    Q_OBJECT
public:
    explicit TNotebookService(const TMyImageList& images, QObject* parent = nullptr);
    ~TNotebookService() override;
    TNotebookService(const TNotebookService&) = delete;
    TNotebookService& operator=(const TNotebookService&) = delete;

    TNoteForest& Forest() { return m_forest; }
    const TNoteForest& Forest() const { return m_forest; }
    // The pictures new notebooks start with.
    const TMyImageList& Images() const { return m_images; }
    void SetImages(const TMyImageList& images) { m_images = images; }

    // Open notebooks in tree order.
    QList<TNodeRoot*> Notebooks() const;
    int Count() const { return m_forest.RootCount(); }
    // The notebook a node belongs to, or none.
    static TNodeRoot* NotebookOf(const TTreeNode* node);
    // The first open notebook whose file name is exactly fileName.
    TNodeRoot* FindByFileName(const QString& fileName) const;

    // Adds a root for the file and reads the notebook. A notebook that cannot
    // stay open is taken out again before this returns.
    [[nodiscard]] OpenOutcome Open(const QString& fileName, const OpenOptions& options = {});
    // A new notebook in memory, not yet saved unless fileName is given and
    // the caller saves it.
    TNodeRoot* Create(const NewNotebookDefaults& defaults, const QString& fileName = {});
    // Puts a notebook under a password (new key); false when the random source failed.
    [[nodiscard]] bool Protect(TNodeRoot& notebook, const QString& password);
    [[nodiscard]] bool Unlock(TNodeRoot& notebook, const QString& password);
    void Lock(TNodeRoot& notebook);
    // Writes what changed: SaveResult.
    [[nodiscard]] int Save(TNodeRoot& notebook);
    // Takes the notebook out of the tree and frees it; nothing is saved.
    void Close(TNodeRoot* notebook);
    void CloseAll();

    // A new note below parent (a note or the notebook's root) at row.
    TNodeData* AddNote(TNodeRoot& notebook, TTreeNode* parent, int row, const QString& name,
                       const NewNoteDefaults& defaults, bool plainText);
    // The note and its subtree leave the tree; stored bodies stay for recovery.
    void DeleteNote(TNodeData& note);
    // Replaces the body as edited; it is written with the next save.
    void SetBody(TNodeData& note, QByteArray body);
    // Renames the note (at most 100 characters are stored).
    void RenameNote(TNodeData& note, const QString& name);
    // Moves the note with its subtree inside its notebook.
    void MoveNote(TNodeData& note, TTreeNode* newParent, int row);
    // Sets the stored expanded flag of a root or note and the node's state.
    void SetExpanded(TTreeNode* node, bool expanded);

    // A new note below relative (after: right after it on its level, unless
    // relative is a root), named name or the defaults' name. With inheritFrom
    // its looks, picture and print settings are that note's, otherwise the
    // defaults'.
    TNodeData* AddNoteNear(TNodeRoot& notebook, TTreeNode* relative, bool after, const QString& name,
                           const NewNoteDefaults& defaults, const TNodeData* inheritFrom = nullptr);
    // The notebook's title (at most 100 characters are stored) and its label.
    void RenameNotebook(TNodeRoot& notebook, const QString& title);
    // Moves a whole notebook to a position among the roots.
    void MoveNotebook(TNodeRoot& notebook, int row);
    // Holds a node in the note buffer's cut state (drawn dimmed) or not.
    void SetCut(TTreeNode* node, bool cut);

    struct MoveOrCopy {
        bool onlyChecked = false; // copy only children whose state index is 1
        bool copyImages = true;   // carry pictures into another notebook
        bool withChildren = true; // copies take the subtree
        bool copy = false;
        bool after = false; // after target on its level, not below it
    };
    // Moves or copies source relative to target, within a notebook or into
    // another. Returns the moved node or the new copy; none when nothing
    // changed. Every body that has to travel is read before anything moves,
    // so a note that cannot be read leaves both notebooks as they were.
    TTreeNode* MoveOrCopyNote(TTreeNode* source, TTreeNode* target, const MoveOrCopy& how);
    // Why the last MoveOrCopyNote changed nothing although it could have
    // (a body that could not be read); empty otherwise.
    const QString& LastMoveError() const { return m_moveError; }

signals:
    void notebookOpened(vlr::TNodeRoot* notebook);
    void notebookCreated(vlr::TNodeRoot* notebook);
    void notebookAboutToClose(vlr::TNodeRoot* notebook);
    // The notebook is gone; the pointer is only an identity.
    void notebookClosed(vlr::TNodeRoot* notebook);
    void notebookSaved(vlr::TNodeRoot* notebook, int result);
    void notebookLocked(vlr::TNodeRoot* notebook);
    // Before a lock (also the away timer's): store the editor now.
    void notebookAboutToLock(vlr::TNodeRoot* notebook);
    void notebookUnlocked(vlr::TNodeRoot* notebook);
    void noteAdded(vlr::TNodeData* note);
    void noteAboutToBeDeleted(vlr::TNodeData* note);
    void noteBodyChanged(vlr::TNodeData* note);
    void noteRenamed(vlr::TNodeData* note);
    void notebookRenamed(vlr::TNodeRoot* notebook);
    // A note (with its subtree) went from one notebook into another.
    void noteMovedAcross(vlr::TNodeData* note, vlr::TNodeRoot* from, vlr::TNodeRoot* to);

private:
    TNodeRoot* addNotebook(const QString& title, int imageIndex);
    void destroy(TNodeRoot* notebook);
    TTreeNode* copyNote(TTreeNode* source, TTreeNode* target, const MoveOrCopy& how);
    TTreeNode* moveAcross(TTreeNode* source, TTreeNode* target, bool after);
    bool carryImage(TNodeData& note, const TNodeRoot& from, TNodeRoot& to);
    // The notebook's note list again in tree order, every note bound to its node.
    static void rebind(TNodeRoot& notebook);
    static void touch(TNodeRoot& notebook);

    TMyImageList m_images;
    TNoteForest m_forest;
    std::vector<std::unique_ptr<TNodeRoot>> m_notebooks;
    QString m_moveError;
    double m_lastCopyCreated = 0;
};

} // namespace vlr
