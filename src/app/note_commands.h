#pragma once
// The commands that change the shape of a notebook's tree: adding, renaming,
// deleting and moving notes, moving whole notebooks, and the one-slot note
// buffer (cut or copy a note, paste it as a child or after the selection).
// Every change goes through the notebook service; what the commands need of
// the window is the host below, so tests drive them without one.
#include "config/options.h"
#include "storage/notebook_service.h"

#include <QAction>
#include <QObject>

#include <functional>

namespace vlr {

class NoteCommandsHost {
public:
    virtual ~NoteCommandsHost() = default;
    virtual TTreeNode* SelectedNode() const = 0;
    // Selects at once and runs the selection protocol (the editor shows the node).
    virtual void SelectNode(TTreeNode* node) = 0;
    // Stores the editor into the selected note; store: the text too.
    virtual void StoreEditor(bool store) = 0;
    // False when the node's notebook needs a password that was not given.
    virtual bool CanModifyNotebook(TTreeNode* node) = 0;
    virtual bool ShiftHeld() const = 0;
    // In-place label editing of the tree.
    virtual bool EditingLabel() const = 0;
    // Passes a key (Qt::Key_Delete, Key_Left, Key_Right) to the label editor.
    virtual void SendKeyToLabelEditor(int key) = 0;
    // Scrolls the node into view and starts its label editor, holding text
    // (the node's label when empty).
    virtual void EditLabel(TTreeNode* node, const QString& text) = 0;
    // The editor takes the defaults of new notes (font, paragraph, colour) and
    // forgets its undo history.
    virtual void ResetEditor() = 0;
    // The window's reaction to the selection: caption, panels, commands.
    virtual void RefreshEditor() = 0;
    // The enabled state of the commands follows the note buffer.
    virtual void CommandStatesChanged() = 0;
    // The view shows the stored expanded state of node and its descendants.
    virtual void ShowStoredExpansion(TTreeNode* node) = 0;
    // The favourites toolbar follows renamed, moved and deleted notes.
    virtual void FavoritesChanged() = 0;
};

// The note buffer's captions and the question before deleting.
inline const QString kDeleteNoteQuestion = QStringLiteral("Удалить текущую запись и все ее подзаписи?");

class TNoteCommands : public QObject {
    Q_OBJECT
public:
    TNoteCommands(TNotebookService& service, NoteCommandsHost& host, TVLROptions& options,
                  QObject* parent = nullptr);

    QAction* NotebookAddAsChild;
    QAction* NotebookAddAfter;
    QAction* NotebookAddInherit;
    QAction* NotebookRename;
    QAction* NotebookDelete;
    QAction* NotebookMoveUp;
    QAction* NotebookMoveDown;
    QAction* NotebookMoveLeft;
    QAction* NotebookMoveRight;
    QAction* NotebookSpecialsCut;
    QAction* NotebookSpecialsCopy;
    QAction* NotebookSpecialsPaste;
    QAction* NotebookSpecialsPasteAfter;

    // The command the toolbar's add button repeats (NotebookAddAsChild until
    // an add command runs; selecting a root resets it).
    QAction* RememberedAdd() const { return m_remembered; }
    void ResetRememberedAdd();

    // The operations, for the window, drag and drop and tests.
    TTreeNode* AddNote(TTreeNode* relative, bool resetEditor, bool inherit, bool after,
                       const QString& name = {});
    void AddFromCommand(bool after);
    // tvNotesEdited: an accepted label edit. A name that would lose
    // characters to the file's code page is stored only when the user agrees;
    // otherwise the label editor opens again with the text typed.
    void LabelEdited(TTreeNode* node, const QString& text);
    void DeleteSelected();
    void MoveUp();
    void MoveDown();
    void MoveLeft();
    void MoveRight();
    void CutOrCopy(bool cut);
    void Paste(bool after);
    // Drag and drop and paste end here: asks for passwords, stores the editor,
    // and returns the moved node or the copy (none when nothing changed).
    TTreeNode* MoveOrCopy(TTreeNode* source, TTreeNode* target, const TNotebookService::MoveOrCopy& how);

    TTreeNode* Held() const { return m_held; }
    bool HeldIsCut() const { return m_held && m_held->Cut(); }

signals:
    // The node buffer changed (for the command states).
    void bufferChanged();

private:
    QAction* make(const QString& caption, const QKeySequence& key, std::function<void()> run,
                  const char* name);
    void release();
    void releaseIfInside(TTreeNode* gone);
    void moveNotebook(TTreeNode* root, int row);
    bool writable(TTreeNode* node) const;

    TNotebookService& m_service;
    NoteCommandsHost& m_host;
    TVLROptions& m_options;
    QAction* m_remembered = nullptr;
    TTreeNode* m_held = nullptr;
};

} // namespace vlr
