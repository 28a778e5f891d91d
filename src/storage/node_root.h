#pragma once
// One open notebook: its header, its notes, its file and its timers. Opening
// reads the header, the picture strip and the tree table but no body; bodies
// are read when first needed and written only when changed.
#include "storage/defaults.h"
#include "storage/images/image_list.h"
#include "storage/node_data.h"
#include "storage/note_forest.h"
#include "storage/notebook_file.h"
#include "storage/notebook_header.h"
#include "storage/protection.h"

#include <QList>
#include <QObject>
#include <QStringList>

#include <functional>
#include <memory>

class QTimer;

namespace vlr {

class TVlrLib;
class TExtLib;
class BodyCipher;
struct NotebookWrite;

// Results of LoadNotes.
enum LoadResult : int {
    lrOk = 0,
    lrPasswordRefused = 1,
    lrNotNotebook = 3,
    lrCannotOpen = 4,
    lrPicturesUnreadable = 5,
    // The file is damaged: what could be read is shown, the file is kept
    // read-only and the problems are listed in Damage.
    lrDamaged = 6,
    // A save of the file was cut short and its journal could not be played
    // back here (opened for reading, or the playback failed): nothing is read.
    lrNeedsRecovery = 7,
};

// Results of SaveNotes.
enum SaveResult : int {
    srOk = 0,
    srTreeNotWritten = 1,
    // The file could not be opened for writing: nothing was written.
    srNotWritable = 2,
    // A write, sync or cut failed: the save did not happen, the file is as
    // after the last completed save (or is put back from its journal when
    // next opened) and the notebook stays modified. SaveError says why.
    srWriteFailed = 3,
};

class TNodeRoot : public QObject {
    Q_OBJECT
public:
    using PasswordCallback = std::function<void(TNodeRoot* sender, TNodeRoot* notebook, bool& res)>;
    using NotebookCallback = std::function<void(TNodeRoot* sender, TNodeRoot* notebook)>;

    // Fails with "FATAL: Unable to initalize file storage engine!" when the
    // engine library cannot be loaded.
    TNodeRoot(QObject* owner, const TMyImageList& images);
    ~TNodeRoot() override;

    TMyImageList Images;
    PasswordCallback OnAskPassword;
    NotebookCallback OnAutoSave;
    // Raised by the close timer (the tree's OnForceClose).
    std::function<void(TNodeRoot* notebook)> OnForceClose;
    bool AskingPassword = false;
    QString FileName;
    TTreeNode* RootNode = nullptr;
    NotebookHeader Header;
    QList<TNodeData*> Notes;        // live notes in tree pre-order; owned
    QList<TNodeData*> DeletedNotes; // kept for recovery; owned
    int FileState = 0;
    // The notes or the tree changed: the notebook is shown as changed, asked
    // about before it closes and auto-saved.
    bool TreeDirty = false;
    bool Modified = false;
    // Only how the notebook was looked at changed (the selected note,
    // expanded nodes, a note's caret, scroll position and zoom): written with
    // the next save and quietly when the notebook closes, but nobody is told
    // of it, so a question is only ever asked about real changes.
    bool ViewDirty = false;
    MasterKeyBytes MasterKey;
    bool KeyHeld = false;
    Digest PasswordDigest{};
    bool OpenedReadOnly = false;
    // Opened for inspection: the file is never written.
    bool InspectOnly = false;
    // Picture index for headers without a default note picture (program option).
    int DefNodeImageIndex = 0;
    // Problems found while opening a damaged file.
    QList<StorageError> Damage;
    // Why the last save or pack failed.
    StorageError SaveError;
    // Bytes the last save or pack put into its journal (for measurements).
    qint64 LastJournalBytes = 0;

    bool HasBookFlag(uint32_t mask) const { return (Header.BookFlags() & mask) == mask; }
    void SetBookFlag(uint32_t mask, bool on);
    bool IsLocked() const { return HasBookFlag(bfEncrypted) && !KeyHeld; }
    bool IsDamaged() const { return !Damage.isEmpty(); }
    bool IsReadOnly() const { return HasBookFlag(bfReadOnly) || OpenedReadOnly; }
    // A change of the notes or the tree.
    void MarkChanged() {
        TreeDirty = true;
        Modified = true;
    }
    TVlrLib& engine() const { return *m_engine; }

    // Initialises the header of a notebook that is created rather than read.
    void InitNew(const NewNotebookDefaults& defaults);

    // readOnlyWanted: keeps the file for reading (after a save: others may
    // read, nobody writes). Otherwise makes it ready for a save: locked for
    // saving, a journal left by a save cut short played back; a file that
    // does not exist yet is created under a temporary name.
    bool CreateNBFile(bool readOnlyWanted);
    // readOnlyWanted opens for inspection: the file is never written.
    [[nodiscard]] int LoadNotes(bool readOnlyWanted = false);
    bool ReadHeader();
    int ReadImageStrip(TTreeNode* rootNode, qint64 offset);
    int ReadTree(TTreeNode* rootNode, qint64 offset);
    qint64 ReadNote(int index, QByteArray& target);
    qint64 ReadNoteByIndex(int index);
    qint64 ReadNoteByNode(TTreeNode* node);
    qint64 ReadNoteInto(TTreeNode* node, QByteArray& target);
    int LoadChildNotes(TTreeNode* node, bool markUnclean);
    // StoreNote, StoreHeader and WriteTree join the running save; alone, each
    // is a save of its own. StoreNote returns 1 when stored.
    int StoreNote(int index);
    bool StoreHeader();
    // 0 when written.
    int WriteTree(qint64 offset);
    // Writes what changed as one atomic save: SaveResult.
    [[nodiscard]] int SaveNotes();
    // Bytes freed, or -1 when the pack failed (the file is then as before).
    qint64 PackNotes(bool purge);
    void MarkRemovedNotes(TTreeNode* rootNode);
    void RebuildNotesList(TTreeNode* rootNode);
    TNodeData* NoteAt(int index) const;
    // The note's index in Notes, or -1.
    int IndexOfNote(const TNodeData* note) const;
    int32_t ReservedTotal() const;
    bool IsLastInFile(int index) const;
    qint64 WastedSpace() const;
    void StartAutoSaveTimer();
    void SetAwayTimer(bool enabled);
    void SetCloseTimer(bool enabled);
    // Forgets the master key and collapses the tree; the away timer calls it
    // too, so listeners hear of every lock through the two signals.
    void LockNotebook();

    // The effective reserve given to each placed body.
    int32_t EffectiveReserve() const { return Header.ReserveSize() == -1 ? 1000 : Header.ReserveSize(); }
    qint64 FileSize() const { return m_file.isOpen() ? m_file.size() : -1; }
    const NotebookFile& File() const { return m_file; }

    // The stored bytes of a note as they lie in the file (for checks).
    bool ReadStored(const TNodeData& note, QByteArray& out);
    // Decodes a stored body without messages (for checks): false when the
    // note cannot be read; digestOk/expandOk tell what went wrong.
    bool DecodeNote(const TNodeData& note, QByteArray& body, bool* digestOk, bool* expandOk);

signals:
    // Before the key goes: the editor stores what it shows while it can.
    void aboutToLock(vlr::TNodeRoot* notebook);
    void locked(vlr::TNodeRoot* notebook);

private:
    class WriteScope;
    friend class WriteScope;
    enum class Access { None, Read, Write };
    // Opens the file for LoadNotes; None with failure set (a LoadResult).
    Access openForLoading(bool readOnlyWanted, int& failure);
    int32_t recordCount() const;
    bool prepareForWriting();
    bool playBackJournal();
    void requireEngine() const;
    void requireExtensions() const;
    void findDamage();
    void restartTimer(std::unique_ptr<QTimer>& timer, uint32_t value, bool enabled,
                      const std::function<void()>& fire);
    qint64 reservedTotal64() const;

    TVlrLib* m_engine;
    TMyImageList m_treeImages; // the tree's own pictures, for when the strip cannot be read
    NotebookFile m_file;
    NotebookWrite* m_write = nullptr; // the running save
    // A failed save could not put the file back: it is half written until
    // its journal is played back, and no body is read from it before.
    bool m_mustPlayBack = false;
    std::unique_ptr<BodyCipher> m_cipher;
    std::unique_ptr<QTimer> m_autoSaveTimer;
    std::unique_ptr<QTimer> m_awayTimer;
    std::unique_ptr<QTimer> m_closeTimer;
};

} // namespace vlr
