#include "storage/salvage_writer.h"

#include "storage/notebook_salvage.h"
#include "storage/notebook_service.h"

#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

#include <cerrno>

namespace vlr {

namespace {

NewNotebookDefaults defaultsFrom(const DamagedNotebook& source) {
    NewNotebookDefaults d;
    if (!source.headerValid()) {
        d.name = QFileInfo(source.path()).completeBaseName();
        return d;
    }
    const NotebookHeader& h = source.header();
    d.name = h.BookName(); // empty: the file name is shown, as before
    const int32_t reserve = h.ReserveSize() == -1 ? 1000 : h.ReserveSize();
    if (reserve >= 0 && reserve <= (1 << 20))
        d.reserveSize = reserve;
    d.rootImageIndex = h.RootImageIndex();
    d.rootFontColor = h.RootFontColor();
    d.rootFontStyle = h.RootFontStyle();
    d.rootBackColor = h.RootBackColor();
    d.author = h.Author();
    d.company = h.Company();
    d.comments = h.Comments();
    d.marginTop = h.MarginTop();
    d.marginLeft = h.MarginLeft();
    d.marginRight = h.MarginRight();
    d.marginBottom = h.MarginBottom();
    d.autoSaveMinutes = h.AutoSaveMinutes();
    d.autoSaveEnabled = h.AutoSaveEnabled() != 0;
    d.defNodeImageIndex = qMax(0, h.DefaultNoteImage() - 1);
    d.compress = (h.BookFlags() & bfCompressed) != 0;
    return d;
}

// The same password opens the new notebook: it takes the old key block with
// the master key it protects.
void keepProtection(TNodeRoot& nb, const DamagedNotebook& source) {
    const NotebookHeader& h = source.header();
    nb.Header.setKeyIV(h.KeyIV());
    nb.Header.setKeyBlock(h.KeyBlock());
    nb.Header.setKeyDigest(h.KeyDigest());
    nb.Header.setPasswordReminder(h.PasswordReminder());
    nb.Header.setAwayTime(h.AwayTime());
    nb.Header.setCloseTime(h.CloseTime());
    nb.MasterKey = source.key();
    nb.KeyHeld = true;
    nb.SetBookFlag(bfEncrypted, true);
}

// The record as read, with everything about its place in the old file dropped:
// the body is stored anew, encoded as the new notebook says.
NoteRecord freshRecord(const NoteRecord& read, const TNodeData& made, int level, bool plainText) {
    NoteRecord r = read;
    static const unsigned char noDigest[16] = {};
    r.setOffset(0);
    r.setSize(0);
    r.setSizeReserved(0);
    r.setRTFSize(0);
    r.setRawSize(0);
    r.setDigest(noDigest);
    r.setNoteFlags(r.NoteFlags() & nfReadOnly);
    r.setDeleted(0);
    r.setLevel(level);
    r.setPlainText(plainText ? 1 : 0);
    if (!r.hasId())
        r.setID(made.Record.ID());
    return r;
}

} // namespace

SalvageTarget CheckSalvageTarget(const QString& damaged, const QString& out, bool replace) {
    struct stat a {};
    struct stat b {};
    const bool outExists = ::stat(QFile::encodeName(out).constData(), &b) == 0;
    if (outExists && ::stat(QFile::encodeName(damaged).constData(), &a) == 0 && a.st_dev == b.st_dev &&
        a.st_ino == b.st_ino)
        return SalvageTarget::SameFile;
    if (QFileInfo(out).absoluteFilePath() == QFileInfo(damaged).absoluteFilePath())
        return SalvageTarget::SameFile;
    if ((outExists || QFileInfo(out).isSymLink()) && !replace)
        return SalvageTarget::Exists;
    return SalvageTarget::Fine;
}

TNodeRoot* WriteSalvagedNotebook(TNotebookService& service, const DamagedNotebook& source,
                                 const SalvageResult& result, const QString& out, StorageError* error) {
    TNodeRoot* nb = service.Create(defaultsFrom(source), QFileInfo(out).absoluteFilePath());
    if (source.headerValid()) {
        nb->Header.setRootStateIndex(source.header().RootStateIndex());
        nb->Header.setRootChildSort(source.header().RootChildSort());
    }
    if (source.keyHeld())
        keepProtection(*nb, source);
    TNoteForest& forest = service.Forest();
    const NewNoteDefaults noteDefaults;
    TTreeNode* previous = nullptr; // the last named note placed
    int found = 0;
    for (const SalvagedNote& n : result.notes) {
        TTreeNode* parent = n.named ? PlacementParent(previous, n.record.Level()) : nullptr;
        if (!parent)
            parent = nb->RootNode;
        const QString name = n.named ? n.record.NoteName() : FoundNoteName(++found);
        TNodeData* note = service.AddNote(*nb, parent, parent->Count(), name, noteDefaults, n.plainText);
        TTreeNode* node = note->TreeNode;
        if (n.named) {
            note->Record = freshRecord(n.record, *note, node->Level(), n.plainText);
            forest.SetImages(node, note->Record.ImageIndex(), note->Record.ImageIndex());
            forest.SetStateIndex(node, note->Record.StateIndex());
            forest.SetExpanded(node, note->Record.Expanded() != 0);
            previous = node;
        }
        service.SetBody(*note, n.body);
    }
    const int saved = service.Save(*nb);
    if (saved == srOk)
        return nb;
    if (error)
        *error = nb->SaveError.failed() ? nb->SaveError : StorageError::system(EIO, out);
    service.Close(nb);
    return nullptr;
}

} // namespace vlr
