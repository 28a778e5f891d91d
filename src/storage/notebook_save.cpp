// Saving and packing a notebook. Each runs as one save transaction: it
// reaches the file whole or not at all, and when it fails, the notebook in
// memory is put back as it was before, still modified, so the next save
// writes it all again.
#include "core/datetime.h"
#include "libs/extlib.h"
#include "libs/vlrlib.h"
#include "storage/body_codec.h"
#include "storage/node_root.h"
#include "storage/save_transaction.h"
#include "storage/trace.h"

#include <algorithm>
#include <limits>
#include <unordered_map>

namespace vlr {

// A running save: its transaction and what it changed in memory.
struct NotebookWrite {
    NotebookWrite(TNodeRoot& nb, NotebookFile& file) : tx(file), header(nb.Header), treeDirty(nb.TreeDirty) {}

    // Remembers the note's record before this save first changes it.
    void keep(TNodeData* note) { records.try_emplace(note, note->Record); }
    void restore(TNodeRoot& nb) const {
        nb.Header = header;
        nb.TreeDirty = treeDirty;
        for (const auto& [note, record] : records)
            note->Record = record;
    }

    SaveTransaction tx;
    const NotebookHeader header;
    const bool treeDirty;
    std::unordered_map<TNodeData*, NoteRecord> records;
    qint64 treeEnd = 0; // end of the picture strip written last
};

// Joins the running save, or begins one that ends with finish().
class TNodeRoot::WriteScope {
public:
    explicit WriteScope(TNodeRoot& nb) : m_nb(nb) {
        if (nb.m_write) {
            m_write = nb.m_write;
            return;
        }
        nb.SaveError = {};
        if (!nb.CreateNBFile(false)) {
            nb.SaveError = nb.m_file.error();
            return;
        }
        m_own = std::make_unique<NotebookWrite>(nb, nb.m_file);
        m_write = m_own.get();
        nb.m_write = m_write;
    }
    ~WriteScope() {
        if (m_own)
            (void)finish(false);
    }
    WriteScope(const WriteScope&) = delete;
    WriteScope& operator=(const WriteScope&) = delete;

    bool isOpen() const { return m_write != nullptr; }
    NotebookWrite* operator->() const { return m_write; }
    // The new content is in the file (a failure came after it got there).
    bool reachedFile() const { return m_reached; }

    // Commits a save this scope began when ok, otherwise (or when the commit
    // fails) puts file and memory back. A joined scope leaves that to the
    // one that began the save. Returns a SaveResult.
    int finish(bool ok) {
        if (!m_own)
            return ok ? srOk : srWriteFailed;
        TNodeRoot& nb = m_nb;
        nb.m_write = nullptr;
        SaveTransaction& tx = m_own->tx;
        int result = srOk;
        if (!ok || !tx.commit()) {
            result = srWriteFailed;
            if (tx.error().failed() || !nb.SaveError.failed())
                nb.SaveError = tx.error().failed() ? tx.error() : nb.m_file.error();
            if (!tx.reachedFile()) {
                if (!tx.rollback()) {
                    nb.SaveError = StorageError::because(StorageCause::NotRestored, tx.error());
                    nb.m_mustPlayBack = true;
                }
                m_own->restore(nb);
            }
            // Still to be saved (when the new content did reach the file, it
            // is not sure to stay there).
            nb.TreeDirty = true;
        }
        m_reached = result == srOk || tx.reachedFile();
        nb.LastJournalBytes = tx.journalBytes();
        m_own.reset();
        m_write = nullptr;
        if (nb.m_file.isOpen())
            nb.m_file.keepForReading();
        return result;
    }

private:
    TNodeRoot& m_nb;
    NotebookWrite* m_write = nullptr;
    std::unique_ptr<NotebookWrite> m_own;
    bool m_reached = false;
};

int32_t TNodeRoot::recordCount() const {
    // Deleted notes that were never stored are not written.
    const auto storedDeleted = std::count_if(DeletedNotes.begin(), DeletedNotes.end(),
                                             [](const TNodeData* n) { return n->Record.Offset() > 0; });
    return int32_t(Notes.size() + storedDeleted);
}

int TNodeRoot::StoreNote(int index) {
    requireEngine();
    requireExtensions();
    TNodeData* note = NoteAt(index);
    if (!note)
        return 0;
    WriteScope scope(*this);
    if (!scope.isOpen())
        return 0;
    scope->keep(note);
    NoteRecord& r = note->Record;
    // A stored body is never empty: the program stores these for an empty note.
    if (note->Body.isEmpty())
        note->Body = r.PlainText() == 1 ? QByteArray("\x20\x00", 2) : emptyDocumentBody();
    r.setRawSize(int32_t(note->Body.size()));
    r.setSaved(nowTDateTime());
    const bool compress = HasBookFlag(bfCompressed);
    const bool encrypt = HasBookFlag(bfEncrypted);
    QByteArray out = note->Body; // shared, not copied, when stored as it is
    bool compressed = false;
    if (compress || encrypt) {
        qCDebug(lcStorage).noquote() << "StoreNote: Node is compressed or encrypted...";
        const BodyCodec codec{*m_engine, TExtLib::instance(), Header.Version(), MasterKey, *m_cipher};
        BodyCodec::Encoded e = codec.encode(note->Body, compress, encrypt, r);
        compressed = e.compressed;
        out = std::move(e.bytes);
    }
    // The flags say how this body is stored (a body the compressor could not
    // take is stored as it is); they change only when the body is stored.
    note->SetNoteFlag(nfCompressed, compressed);
    note->SetNoteFlag(nfEncrypted, encrypt);
    r.setSize(int32_t(out.size()));
    qint64 at = r.Offset();
    qint64 treeOffset = Header.TreeOffset();
    if (out.size() > r.SizeReserved()) {
        const qint64 reserved = out.size() + EffectiveReserve();
        if (!(IsLastInFile(index) && r.Offset() >= NotebookHeader::Bytes)) {
            at = Header.TreeOffset();
            Header.setLastAppended(index);
        }
        treeOffset = at + reserved;
        qCDebug(lcStorage).noquote() << "StoreNote: resaving file to offs: " << at;
        if (treeOffset > std::numeric_limits<int32_t>::max()) {
            SaveError = StorageError::of(StorageCause::TooLarge);
            return scope.finish(false) == srOk ? 1 : 0;
        }
        r.setOffset(int32_t(at));
        r.setSizeReserved(int32_t(reserved));
        Header.setTreeOffset(int32_t(treeOffset));
    }
    // Between Size and SizeReserved an encrypted body has zeros.
    if (encrypt && out.size() < r.SizeReserved())
        out.append(QByteArray(r.SizeReserved() - out.size(), '\0'));
    qCDebug(lcStorage).noquote() << "StoreNote: Now saving at offs: " << at;
    return scope.finish(scope->tx.write(at, out)) == srOk ? 1 : 0;
}

bool TNodeRoot::StoreHeader() {
    WriteScope scope(*this);
    if (!scope.isOpen())
        return false;
    const QByteArray bytes(reinterpret_cast<const char*>(Header.data()), NotebookHeader::Bytes);
    return scope.finish(scope->tx.write(0, bytes)) == srOk;
}

int TNodeRoot::WriteTree(qint64 offset) {
    WriteScope scope(*this);
    if (!scope.isOpen())
        return 1;
    const bool compress = HasBookFlag(bfCompressed);
    // Written in slices so that a large table is never held twice.
    constexpr qsizetype kSlice = 4096 * NoteRecord::Bytes;
    QByteArray table;
    table.reserve(kSlice);
    qint64 pos = offset;
    bool ok = true;
    auto put = [&](const QByteArray& bytes) {
        ok = ok && scope->tx.write(pos, bytes);
        pos += bytes.size();
    };
    auto add = [&](const TNodeData* note) {
        table.append(reinterpret_cast<const char*>(note->Record.data()), NoteRecord::Bytes);
        if (table.size() >= kSlice) {
            put(table);
            table = QByteArray();
            table.reserve(kSlice);
        }
    };
    for (const TNodeData* note : std::as_const(Notes))
        add(note);
    for (const TNodeData* note : std::as_const(DeletedNotes))
        if (note->Record.Offset() > 0)
            add(note);
    QByteArray strip = Images.saveStrip();
    if (compress && m_engine->IsLoaded()) {
        QByteArray packed;
        if (m_engine->BZC(strip, packed))
            strip = std::move(packed);
    }
    table.append(strip);
    put(table);
    scope->treeEnd = pos;
    return scope.finish(ok) == srOk ? 0 : 1;
}

int TNodeRoot::SaveNotes() {
    WriteScope scope(*this);
    if (!scope.isOpen())
        return srNotWritable;
    const bool changed = TreeDirty || Modified;
    QList<TNodeData*> stored;
    bool ok = true;
    for (int i = 0; i < Notes.size() && ok; ++i) {
        TNodeData* note = Notes[i];
        if (!note->Loaded || note->Clean)
            continue;
        qCDebug(lcStorage).noquote() << "SaveNotes: storing note number: " << i;
        ok = StoreNote(i) != 0;
        stored.append(note);
    }
    if (ok && (!stored.isEmpty() || changed || ViewDirty)) {
        Header.setLastRecord(recordCount() - 1);
        if (Header.Version() > 1 && Header.Version() < 5)
            Header.setVersion(4);
        Header.setMagic();
        qCDebug(lcStorage).noquote() << "SaveNotes: Storing header and tree...";
        ok = StoreHeader() && WriteTree(Header.TreeOffset()) == 0 && scope->tx.truncate(scope->treeEnd);
    }
    const int result = scope.finish(ok);
    if (scope.reachedFile()) {
        for (TNodeData* note : std::as_const(stored))
            note->Clean = true;
    }
    if (result == srOk) {
        TreeDirty = false;
        ViewDirty = false;
    } else if (!changed) {
        // A save that carried no change of the notes or the tree does not
        // make the notebook changed by failing; its view state is still to
        // be written.
        TreeDirty = false;
        ViewDirty = true;
    }
    return result;
}

qint64 TNodeRoot::PackNotes(bool purge) {
    WriteScope scope(*this);
    if (!scope.isOpen())
        return -1;
    // Every body must lie in the file before the first one moves.
    const qint64 oldSize = m_file.size();
    for (const QList<TNodeData*>* list : {&Notes, &DeletedNotes}) {
        for (const TNodeData* note : *list) {
            const NoteRecord& r = note->Record;
            if (r.Size() > 0 &&
                (r.Offset() < NotebookHeader::Bytes || qint64(r.Offset()) + r.Size() > oldSize)) {
                SaveError = StorageError::of(StorageCause::BodyOutsideFile, r.NoteName());
                scope.finish(false);
                return -1;
            }
        }
    }
    // Purged notes leave memory only once the file is packed without them.
    const QList<TNodeData*> purged = purge ? DeletedNotes : QList<TNodeData*>();
    if (purge)
        DeletedNotes.clear();
    QList<TNodeData*> keep;
    for (TNodeData* note : Notes + DeletedNotes)
        if (note->Record.Offset() > 0) // never stored: nothing to move
            keep.append(note);
    qCDebug(lcStorage).noquote() << "PackNotes: size of fs - " << oldSize;
    std::stable_sort(keep.begin(), keep.end(), [](const TNodeData* a, const TNodeData* b) {
        return a->Record.Offset() < b->Record.Offset();
    });
    qint64 base = NotebookHeader::Bytes;
    bool ok = true;
    for (TNodeData* note : std::as_const(keep)) {
        scope->keep(note);
        NoteRecord& r = note->Record;
        QByteArray buffer(qMax(0, r.Size()), Qt::Uninitialized);
        ok = ok && scope->tx.read(r.Offset(), buffer.data(), buffer.size());
        // Bodies never overlap: a reserve is never less than its body.
        r.setSizeReserved(qMax(r.SizeReserved(), r.Size()));
        if (r.SizeReserved() - r.Size() >= EffectiveReserve())
            r.setSizeReserved(r.Size() + EffectiveReserve());
        if (note->HasNoteFlag(nfEncrypted))
            buffer.append(QByteArray(r.SizeReserved() - r.Size(), '\0'));
        qCDebug(lcStorage).noquote() << "PackNotes: Current base : " << base;
        ok = ok && scope->tx.write(base, buffer);
        r.setOffset(int32_t(base));
        base += r.SizeReserved();
    }
    Header.setLastRecord(recordCount() - 1);
    Header.setTreeOffset(int32_t(base));
    qCDebug(lcStorage).noquote() << "PackNotes: storing header & tree...";
    ok = ok && StoreHeader() && WriteTree(base) == 0 && scope->tx.truncate(scope->treeEnd);
    const int result = scope.finish(ok);
    if (scope.reachedFile())
        qDeleteAll(purged);
    else
        DeletedNotes = purged + DeletedNotes;
    return result == srOk ? oldSize - m_file.size() : -1;
}

} // namespace vlr
