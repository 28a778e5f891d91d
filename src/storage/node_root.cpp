#include "storage/node_root.h"

#include "core/datetime.h"
#include "core/error.h"
#include "core/guid.h"
#include "core/messages.h"
#include "libs/extlib.h"
#include "libs/vlrlib.h"
#include "storage/body_codec.h"
#include "storage/rollback_journal.h"
#include "storage/trace.h"

#include <QFileInfo>
#include <QTimer>

#include <algorithm>
#include <new>
#include <optional>

namespace vlr {

namespace {
const char* const kEngineMissing = "FATAL: Unable to initalize file storage engine!";
const char* const kExtensionsMissing = "FATAL: Unable to initalize extensions engine!";

} // namespace

TNodeRoot::TNodeRoot(QObject* owner, const TMyImageList& images)
    : QObject(owner), Images(images), m_engine(&TVlrLib::instance()), m_treeImages(images),
      m_cipher(std::make_unique<BodyCipher>(*m_engine)) {
    if (!m_engine->IsLoaded())
        throw EVellinorError(QString::fromLatin1(kEngineMissing), QStringLiteral("TNodeRoot.Create"));
    FileState = 0;
    Header.clear();
    Header.setTreeOffset(NotebookHeader::Bytes);
    StartAutoSaveTimer();
}

TNodeRoot::~TNodeRoot() {
    m_file.close();
    qDeleteAll(Notes);
    qDeleteAll(DeletedNotes);
    MasterKey.wipe();
    m_cipher->burn();
}

void TNodeRoot::requireEngine() const {
    if (!m_engine->IsLoaded())
        throw EVellinorError(QString::fromLatin1(kEngineMissing));
}

void TNodeRoot::requireExtensions() const {
    if (!TExtLib::instance().IsAvailable())
        throw EVellinorError(QString::fromLatin1(kExtensionsMissing));
}

void TNodeRoot::SetBookFlag(uint32_t mask, bool on) {
    Header.setBookFlags(on ? (Header.BookFlags() | mask) : (Header.BookFlags() & ~mask));
}

void TNodeRoot::InitNew(const NewNotebookDefaults& d) {
    Header.clear();
    Header.setMagic();
    Header.setVersion(5);
    Header.setTreeOffset(NotebookHeader::Bytes);
    Header.setLastRecord(-1);
    Header.setCreated(nowTDateTime());
    Header.setBookName(d.name);
    Header.setLastAppended(2147483647);
    Header.setRootExpanded(-1);
    Header.setReserveSize(d.reserveSize);
    Header.setRootImageIndex(d.rootImageIndex);
    Header.setRootFontColor(d.rootFontColor);
    Header.setRootFontStyle(d.rootFontStyle);
    Header.setRootBackColor(d.rootBackColor);
    Header.setAuthor(d.author);
    Header.setCompany(d.company);
    Header.setComments(d.comments);
    Header.setMarginTop(d.marginTop);
    Header.setMarginLeft(d.marginLeft);
    Header.setMarginRight(d.marginRight);
    Header.setMarginBottom(d.marginBottom);
    Header.setAutoSaveMinutes(d.autoSaveMinutes);
    Header.setAutoSaveEnabled(d.autoSaveEnabled ? -1 : 0);
    Header.setDefaultNoteImage(d.defNodeImageIndex + 1);
    Header.setSelectedNote(-1);
    SetBookFlag(bfCompressed, d.compress);
    TreeDirty = true;
    StartAutoSaveTimer();
}

TNodeRoot::Access TNodeRoot::openForLoading(bool readOnlyWanted, int& failure) {
    FileState = -1;
    m_file.close();
    qCDebug(lcStorage).noquote() << "CreateNBFile: creating filesream: " << FileName;
    failure = lrCannotOpen;
    if (!readOnlyWanted && QFileInfo(FileName).isWritable() &&
        m_file.open(FileName, NotebookFile::Mode::ReadWrite)) {
        // Held for writing from here on: a save cut short is undone first.
        if (RollbackJournal::probe(FileName) == RollbackJournal::State::Absent || playBackJournal())
            return Access::Write;
        failure = lrNeedsRecovery;
        m_file.close();
        FileState = 0;
        return Access::None;
    }
    // Inspection goes on even while another process holds the file, but
    // never while it saves.
    if (!m_file.open(FileName, NotebookFile::Mode::Read) &&
        !(readOnlyWanted && m_file.openForInspection(FileName))) {
        FileState = 0;
        return Access::None;
    }
    // Whatever lock is held now keeps savers out: a journal found is one
    // that nobody is writing, from a save cut short. A reader cannot undo it.
    if (RollbackJournal::probe(FileName) == RollbackJournal::State::Hot) {
        failure = lrNeedsRecovery;
        m_file.close();
        FileState = 0;
        return Access::None;
    }
    return Access::Read;
}

bool TNodeRoot::playBackJournal() {
    if (!m_file.lockForSaving())
        return false;
    const RollbackJournal::Playback back = RollbackJournal::playBack(m_file);
    m_file.unlockAfterSaving();
    if (!back.ok)
        m_file.setError(StorageError::because(StorageCause::RecoveryFailed, back.error));
    m_mustPlayBack = !back.ok;
    return back.ok;
}

bool TNodeRoot::prepareForWriting() {
    if (InspectOnly || IsDamaged()) {
        m_file.setError(StorageError::of(StorageCause::ReadOnly));
        return false;
    }
    if (m_file.isOpen() && m_file.path() == FileName) {
        // The lock is converted in place: it is never let go between reading
        // the notebook and writing it.
        if (!m_file.canWrite()) {
            m_file.setError(StorageError::of(StorageCause::ReadOnly));
            return false;
        }
        const bool wasWritable = m_file.writable();
        if (m_file.lockForSaving() &&
            (RollbackJournal::probe(FileName) == RollbackJournal::State::Absent || playBackJournal()))
            return true;
        if (!wasWritable)
            m_file.keepForReading();
        return false;
    }
    // Another file (saved under a new name) or none yet.
    m_file.close();
    if (QFileInfo::exists(FileName) || QFileInfo(FileName).isSymLink()) {
        if (m_file.open(FileName, NotebookFile::Mode::ReadWrite) && m_file.lockForSaving() &&
            (RollbackJournal::probe(FileName) == RollbackJournal::State::Absent || playBackJournal()))
            return true;
        const StorageError error = m_file.error();
        m_file.close();
        m_file.setError(error);
        return false;
    }
    return m_file.createFresh(FileName) && m_file.lockForSaving();
}

bool TNodeRoot::CreateNBFile(bool readOnlyWanted) {
    if (!readOnlyWanted)
        return prepareForWriting();
    if (m_file.isOpen() && m_file.path() == FileName) {
        m_file.keepForReading();
        return true;
    }
    int failure = lrOk;
    return openForLoading(true, failure) != Access::None;
}

int TNodeRoot::LoadNotes(bool readOnlyWanted) {
    InspectOnly = readOnlyWanted;
    int failure = lrCannotOpen;
    const Access access = openForLoading(readOnlyWanted, failure);
    if (access == Access::None)
        return failure;
    // A damaged notebook is never written (saving it would drop what could
    // not be read); one opened for inspection is never written either.
    const bool opened = access == Access::Write;
    if (readOnlyWanted || !opened)
        OpenedReadOnly = true;
    qCDebug(lcStorage).noquote() << "LoadNotes: reading header after opening file...";
    if (!ReadHeader())
        return lrNotNotebook;
    qDeleteAll(Notes);
    Notes.clear();
    qDeleteAll(DeletedNotes);
    DeletedNotes.clear();
    Damage.clear();
    if (RootNode && !Header.BookName().isEmpty())
        RootNode->Forest()->SetText(RootNode, Header.BookName());
    const qint64 stripOffset =
        qint64(Header.TreeOffset()) + (qint64(Header.LastRecord()) + 1) * NoteRecord::Bytes;
    int result = ReadImageStrip(RootNode, stripOffset);
    if (HasBookFlag(bfEncrypted)) {
        bool res = opened || OpenedReadOnly;
        if (!AskingPassword && OnAskPassword) {
            AskingPassword = true;
            OnAskPassword(this, this, res);
            AskingPassword = false;
        }
        if (!res)
            return lrPasswordRefused;
    }
    if (ReadTree(RootNode, Header.TreeOffset()) != 0)
        Damage.prepend(StorageError::of(StorageCause::TreeUnreadable));
    qCDebug(lcStorage).noquote() << "LoadNotes: tree has been read...";
    findDamage();
    if (IsDamaged()) {
        // Keep the file, but only for reading.
        OpenedReadOnly = true;
        TreeDirty = false;
        CreateNBFile(true);
        return lrDamaged;
    }
    return result;
}

bool TNodeRoot::ReadHeader() {
    if (!m_file.seek(0) || !m_file.readExact(reinterpret_cast<char*>(Header.data()), NotebookHeader::Bytes)) {
        Header.clear();
        Header.setTreeOffset(NotebookHeader::Bytes);
        return false;
    }
    const bool valid = Header.isValid();
    if (Header.ReserveSize() == -1)
        Header.setReserveSize(1000);
    if (Header.DefaultNoteImage() == 0)
        Header.setDefaultNoteImage(DefNodeImageIndex + 1);
    qCDebug(lcStorage).noquote() << "ReadHeader: reading header from 0 offset...";
    return valid;
}

int TNodeRoot::ReadImageStrip(TTreeNode* /*rootNode*/, qint64 offset) {
    if (Header.Version() <= 3)
        return 0;
    const qint64 size = m_file.size();
    QString error;
    bool ok = offset >= NotebookHeader::Bytes && offset < size && m_file.seek(offset);
    if (ok) {
        const QByteArray stored = m_file.read(size - offset);
        ok = !stored.isEmpty();
        if (ok && HasBookFlag(bfCompressed)) {
            QByteArray bitmap;
            if (m_engine->BZD(stored, bitmap, kMaxExpandedBody))
                ok = Images.loadStrip(bitmap, &error);
            else
                ok = Images.loadStrip(stored, &error);
        } else if (ok) {
            ok = Images.loadStrip(stored, &error);
        }
    }
    if (!ok) {
        Images = m_treeImages;
        return lrPicturesUnreadable;
    }
    return 0;
}

int TNodeRoot::ReadTree(TTreeNode* rootNode, qint64 offset) {
    const qint64 fileSize = m_file.size();
    const qint64 declared = qint64(Header.LastRecord()) + 1;
    qCDebug(lcStorage).noquote() << "ReadTree: reading tree from " << offset << " num " << declared;
    int result = 0;
    // Never trust the count beyond what the file can hold.
    qint64 count = declared;
    if (declared < 0 || offset < NotebookHeader::Bytes || offset > fileSize) {
        count = 0;
        result = 1;
    } else if (offset + declared * NoteRecord::Bytes > fileSize) {
        count = (fileSize - offset) / NoteRecord::Bytes;
        result = 1;
    }
    Notes.reserve(qsizetype(count));
    // The table is read in slices: a large notebook's table would otherwise
    // sit in memory twice while the notes are built from it.
    constexpr qint64 kSlice = 4096;
    QByteArray table;
    qint64 sliceStart = 0;
    qint64 sliceCount = 0;
    // The notes are built away from the forest's observers and attached with
    // one announcement: a view never sees a notebook half read.
    TNoteForest* forest = rootNode ? rootNode->Forest() : nullptr;
    std::optional<TNodeBatch> batch;
    if (forest)
        batch.emplace(forest->NewBatch());
    TTreeNode* previous = nullptr; // the last live node placed
    for (qint64 i = 0; i < count; ++i) {
        if (i == sliceStart + sliceCount) {
            sliceStart = i;
            sliceCount = qMin(kSlice, count - i);
            table.resize(qsizetype(sliceCount * NoteRecord::Bytes));
            if (!m_file.seek(offset + i * NoteRecord::Bytes) ||
                !m_file.readExact(table.data(), table.size())) {
                result = 1;
                break;
            }
        }
        auto* note = new TNodeData;
        std::memcpy(note->Record.data(), table.constData() + (i - sliceStart) * NoteRecord::Bytes,
                    NoteRecord::Bytes);
        note->Clean = true;
        note->RootNode = rootNode;
        note->Loaded = false;
        if (note->Record.Deleted() != 0) {
            DeletedNotes.append(note);
            continue;
        }
        const QString name = note->Record.NoteName();
        qCDebug(lcStorage).noquote() << QStringLiteral("ReadTree: Node added %1").arg(name).left(121);
        TTreeNode* node = nullptr;
        if (forest) {
            node = forest->AddToBatch(*batch, PlacementParent(previous, note->Record.Level()), name);
            previous = node;
            forest->SetNote(node, note);
            forest->SetImages(node, note->Record.ImageIndex(), note->Record.ImageIndex());
            forest->SetStateIndex(node, note->Record.StateIndex());
            forest->SetExpanded(node, note->Record.Expanded() != 0);
            qCDebug(lcStorage).noquote() << "ReadTree: props setted up for node - " << node->Text();
        }
        note->TreeNode = node;
        note->IndexHint = int(Notes.size());
        Notes.append(note);
    }
    if (forest)
        forest->Attach(std::move(*batch), rootNode, rootNode->Count());
    for (TNodeData* note : std::as_const(Notes)) {
        if (!note->Record.hasId()) {
            const GuidBytes id = newGuid();
            note->Record.setID(id.data());
            TreeDirty = true;
            Modified = true;
        }
    }
    return result;
}

namespace {
StorageError damage(StorageCause cause, const QString& note, qint64 number = 0, qint64 number2 = 0) {
    StorageError e = StorageError::of(cause, note);
    e.number = number;
    e.number2 = number2;
    return e;
}
} // namespace

void TNodeRoot::findDamage() {
    const qint64 fileSize = m_file.size();
    const qint64 treeOffset = Header.TreeOffset();
    if (treeOffset < NotebookHeader::Bytes || treeOffset > fileSize)
        Damage << damage(StorageCause::TreeOffsetOutside, {}, treeOffset);
    if (Header.LastRecord() < -1)
        Damage << damage(StorageCause::NegativeRecordCount, {}, qint64(Header.LastRecord()) + 1);
    struct Extent {
        qint64 start, end;
        const TNodeData* note;
    };
    std::vector<Extent> extents;
    auto check = [&](const TNodeData* note) {
        const NoteRecord& r = note->Record;
        const QString who = r.NoteName();
        if (r.Offset() == 0 && r.Size() == 0)
            return; // never stored
        if (r.Size() < 0 || r.SizeReserved() < 0) {
            Damage << damage(StorageCause::NegativeBodySize, who);
            return;
        }
        const qint64 start = r.Offset();
        const qint64 end = start + qMax(r.Size(), r.SizeReserved());
        if (start < NotebookHeader::Bytes || end > qMin(treeOffset, fileSize)) {
            Damage << damage(StorageCause::BodyOutsideArea, who, start, end);
            return;
        }
        if (end > start)
            extents.push_back({start, end, note});
    };
    for (const TNodeData* note : std::as_const(Notes))
        check(note);
    for (const TNodeData* note : std::as_const(DeletedNotes))
        check(note);
    std::sort(extents.begin(), extents.end(),
              [](const Extent& a, const Extent& b) { return a.start < b.start; });
    for (size_t i = 1; i < extents.size(); ++i) {
        if (extents[i].start < extents[i - 1].end) {
            Damage << damage(StorageCause::BodiesOverlap, extents[i - 1].note->Record.NoteName());
            Damage.last().other = extents[i].note->Record.NoteName();
        }
    }
}

bool TNodeRoot::ReadStored(const TNodeData& note, QByteArray& out) {
    if (m_mustPlayBack) {
        const bool wasWritable = m_file.writable();
        m_mustPlayBack = !playBackJournal();
        if (!wasWritable)
            m_file.keepForReading();
        if (m_mustPlayBack)
            return false;
    }
    const NoteRecord& r = note.Record;
    const qint64 size = r.Size();
    if (size <= 0 || r.Offset() < NotebookHeader::Bytes || qint64(r.Offset()) + size > m_file.size())
        return false;
    out.resize(qsizetype(size));
    return m_file.seek(r.Offset()) && m_file.readExact(out.data(), size);
}

bool TNodeRoot::DecodeNote(const TNodeData& note, QByteArray& body, bool* digestOk, bool* expandOk) {
    QByteArray stored;
    if (!ReadStored(note, stored))
        return false;
    if ((note.Record.NoteFlags() & (nfCompressed | nfEncrypted)) == 0) {
        body = stored;
        return true;
    }
    const BodyCodec codec{*m_engine, TExtLib::instance(), Header.Version(), MasterKey, *m_cipher};
    BodyCodec::Decoded d = codec.decode(stored, note.Record);
    if (digestOk)
        *digestOk = d.digestOk;
    if (expandOk)
        *expandOk = d.expandOk;
    body = d.body;
    return true;
}

qint64 TNodeRoot::ReadNote(int index, QByteArray& target) {
    requireEngine();
    requireExtensions();
    TNodeData* note = NoteAt(index);
    if (!note)
        return -1;
    qCDebug(lcStorage).noquote() << "ReadNote: Reading note number " << index
                                 << " from offs : " << note->Record.Offset();
    if (note->Loaded && !note->Body.isEmpty()) {
        if (&target != &note->Body)
            target = note->Body;
        return note->Body.size();
    }
    try {
        if (note->Record.Size() == 0) {
            showMessage(
                QStringLiteral("Внутренняя ошибка! Обнаружена запись нулевого размера! Пожалуйста, НЕ "
                               "изменяйте эту книжку и сообщите об ошибке в Orvanta!!!"),
                QStringLiteral("Ошибка"), MsgIcon::Error);
            return -1;
        }
        if (note->HasNoteFlag(nfEncrypted) && !KeyHeld)
            return -1; // a locked notebook's bodies cannot be read
        QByteArray stored;
        if (!ReadStored(*note, stored))
            return -1;
        if ((note->Record.NoteFlags() & (nfCompressed | nfEncrypted)) == 0) {
            target = stored;
            return target.size();
        }
        qCDebug(lcStorage).noquote() << "ReadNote: note is compressed or encrypted...";
        const BodyCodec codec{*m_engine, TExtLib::instance(), Header.Version(), MasterKey, *m_cipher};
        BodyCodec::Decoded d = codec.decode(std::move(stored), note->Record);
        if (!d.digestOk)
            showMessage(
                QStringLiteral(
                    "Invalid password for this note. It's an internal error. Please, contact Orvanta!!!"),
                QStringLiteral("Error"), MsgIcon::Error);
        target = std::move(d.body);
        return target.size();
    } catch (const std::bad_alloc&) {
        return -1; // a body too large for memory cannot be read
    }
}

qint64 TNodeRoot::ReadNoteByIndex(int index) {
    TNodeData* note = NoteAt(index);
    if (!note)
        return -1;
    const qint64 result = ReadNote(index, note->Body);
    note->Loaded = result != -1;
    return result;
}

qint64 TNodeRoot::ReadNoteByNode(TTreeNode* node) {
    if (!node || !node->Note())
        throw EVellinorError(QStringLiteral("Fatal: NIL pointer detected in ReadNote!"),
                             QStringLiteral("MyTreeView"));
    const int index = IndexOfNote(node->Note());
    if (index < 0)
        return -1;
    const qint64 result = ReadNote(index, node->Note()->Body);
    node->Note()->Loaded = result >= 0;
    return result;
}

qint64 TNodeRoot::ReadNoteInto(TTreeNode* node, QByteArray& target) {
    if (!node || !node->Note())
        throw EVellinorError(QStringLiteral("Fatal: NIL pointer detected in ReadNote!"),
                             QStringLiteral("MyTreeView"));
    return ReadNote(IndexOfNote(node->Note()), target);
}

int TNodeRoot::LoadChildNotes(TTreeNode* node, bool markUnclean) {
    qCDebug(lcStorage).noquote() << "LoadChildNotes: Init, reading for parent " << node->Text();
    int visited = 0;
    ForEachDescendant(node, [&](TTreeNode* n) {
        if (!n->Note())
            return;
        if (!n->Note()->Loaded)
            ReadNoteByNode(n);
        if (markUnclean)
            n->Note()->Clean = false;
        qCDebug(lcStorage).noquote() << "LoadChildNotes: loaded node..." << n->Text();
        ++visited;
    });
    return visited;
}

bool TNodeRoot::IsLastInFile(int index) const {
    const TNodeData* self = NoteAt(index);
    if (!self)
        return false;
    const qint64 offset = self->Record.Offset();
    // Last means no other stored body, live or kept for recovery, lies behind
    // this one's start: growing in place then overwrites nothing.
    auto behind = [&](const TNodeData* other) {
        if (other == self || other->Record.Offset() <= 0)
            return false;
        const qint64 extent = qMax(other->Record.Size(), other->Record.SizeReserved());
        return extent > 0 && qint64(other->Record.Offset()) + extent > offset;
    };
    return std::none_of(Notes.begin(), Notes.end(), behind) &&
           std::none_of(DeletedNotes.begin(), DeletedNotes.end(), behind);
}

void TNodeRoot::MarkRemovedNotes(TTreeNode* rootNode) {
    QSet<TNodeData*> inTree;
    const QSet<TNodeData*> deleted(DeletedNotes.begin(), DeletedNotes.end());
    ForEachDescendant(rootNode, [&](TTreeNode* n) {
        if (n->Note())
            inTree.insert(n->Note());
    });
    for (TNodeData* note : std::as_const(Notes)) {
        if (!inTree.contains(note) && !deleted.contains(note)) {
            DeletedNotes.append(note);
            note->Record.setDeleted(-1);
            note->TreeNode = nullptr;
        }
    }
    RebuildNotesList(rootNode);
}

void TNodeRoot::RebuildNotesList(TTreeNode* rootNode) {
    qCDebug(lcStorage).noquote() << "RebuildNotesList: invoked for " << rootNode->Text() << "...";
    Notes.clear();
    ForEachDescendant(rootNode, [&](TTreeNode* n) {
        if (TNodeData* note = n->Note()) {
            note->IndexHint = int(Notes.size());
            Notes.append(note);
            note->Record.setLevel(n->Level());
        }
    });
}

TNodeData* TNodeRoot::NoteAt(int index) const {
    return index >= 0 && index < Notes.size() ? Notes[index] : nullptr;
}

qint64 TNodeRoot::reservedTotal64() const {
    qint64 total = 0;
    for (const TNodeData* note : Notes)
        if (note->Record.Offset() > 0)
            total += note->Record.SizeReserved();
    return total;
}

int32_t TNodeRoot::ReservedTotal() const {
    return int32_t(qBound<qint64>(qint64(INT32_MIN), reservedTotal64(), qint64(INT32_MAX)));
}

qint64 TNodeRoot::WastedSpace() const {
    return qint64(Header.TreeOffset()) - NotebookHeader::Bytes - reservedTotal64();
}

int TNodeRoot::IndexOfNote(const TNodeData* note) const {
    if (!note)
        return -1;
    const int hint = note->IndexHint;
    if (hint >= 0 && hint < Notes.size() && Notes[hint] == note)
        return hint;
    const int index = int(Notes.indexOf(const_cast<TNodeData*>(note)));
    note->IndexHint = index;
    return index;
}

void TNodeRoot::restartTimer(std::unique_ptr<QTimer>& timer, uint32_t value, bool enabled,
                             const std::function<void()>& fire) {
    timer.reset();
    if (!enabled)
        return;
    timer = std::make_unique<QTimer>();
    timer->setSingleShot(false);
    qint64 ms = qint64(value) * 1000;
    timer->setInterval(int(qBound<qint64>(qint64(1), ms, qint64(INT32_MAX))));
    connect(timer.get(), &QTimer::timeout, this, fire);
    timer->start();
}

void TNodeRoot::StartAutoSaveTimer() {
    const qint64 ms = qint64(Header.AutoSaveMinutes()) * 60000;
    m_autoSaveTimer.reset();
    m_autoSaveTimer = std::make_unique<QTimer>();
    m_autoSaveTimer->setInterval(int(qBound<qint64>(qint64(1), ms, qint64(INT32_MAX))));
    connect(m_autoSaveTimer.get(), &QTimer::timeout, this, [this] {
        if (OnAutoSave)
            OnAutoSave(this, this);
    });
    if (Header.AutoSaveEnabled() != 0 && Header.AutoSaveMinutes() > 0)
        m_autoSaveTimer->start();
}

namespace {
// bits 0-30 a count, bit 31 the unit (1 minutes, 0 seconds), in seconds.
uint32_t delaySeconds(uint32_t value) {
    const uint64_t count = value & 0x7FFFFFFFu;
    const uint64_t seconds = (value & 0x80000000u) ? count * 60 : count;
    return uint32_t(qMin<uint64_t>(seconds, INT32_MAX / 1000));
}
} // namespace

void TNodeRoot::SetAwayTimer(bool enabled) {
    restartTimer(m_awayTimer, delaySeconds(Header.AwayTime()), enabled, [this] {
        m_awayTimer->stop();
        LockNotebook();
    });
}

void TNodeRoot::SetCloseTimer(bool enabled) {
    restartTimer(m_closeTimer, delaySeconds(Header.CloseTime()), enabled, [this] {
        m_closeTimer->stop();
        if (RootNode && OnForceClose)
            OnForceClose(this);
    });
}

void TNodeRoot::LockNotebook() {
    emit aboutToLock(this);
    if (RootNode)
        RootNode->Forest()->SetExpanded(RootNode, false);
    MasterKey.wipe();
    m_cipher->burn();
    KeyHeld = false;
    emit locked(this);
}

} // namespace vlr
