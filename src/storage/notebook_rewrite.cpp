#include "storage/notebook_rewrite.h"

#include "core/progress.h"
#include "storage/node_root.h"
#include "storage/protection.h"

namespace vlr {

bool LoadEveryBody(TNodeRoot& notebook, StorageError* error) {
    if (notebook.IsLocked()) {
        if (error)
            *error = StorageError::of(StorageCause::Locked);
        return false;
    }
    if (!notebook.RootNode)
        return true;
    notebook.LoadChildNotes(notebook.RootNode, false);
    for (const TNodeData* note : std::as_const(notebook.Notes)) {
        if (!note->Loaded && note->Record.Size() > 0) {
            if (error)
                *error = StorageError::of(StorageCause::BodyUnreadable, note->Record.NoteName());
            return false;
        }
    }
    return true;
}

namespace {

void markEveryBodyUnclean(TNodeRoot& notebook) {
    for (TNodeData* note : std::as_const(notebook.Notes))
        if (note->Loaded)
            note->Clean = false;
    notebook.TreeDirty = true;
    notebook.Modified = true;
}

// Saves and packs when the notebook has a file; the progress takes a step after each.
RewriteOutcome saveAndPack(TNodeRoot& notebook, ScopedProgress& progress, bool pack, bool purge) {
    RewriteOutcome out;
    if (notebook.FileName.isEmpty()) {
        out.ok = true;
        return out;
    }
    if (notebook.SaveNotes() != 0) {
        out.error = notebook.SaveError;
        return out;
    }
    (void)progress.step();
    if (pack && notebook.PackNotes(purge) < 0) {
        out.error = notebook.SaveError;
        return out;
    }
    (void)progress.step();
    out.ok = true;
    return out;
}

} // namespace

RewriteOutcome ToggleCompression(TNodeRoot& notebook) {
    RewriteOutcome out;
    const bool on = !notebook.HasBookFlag(bfCompressed);
    ScopedProgress progress(on ? QStringLiteral("Подождите, упаковывается книжка...")
                               : QStringLiteral("Подождите, распаковывается книжка..."),
                            3);
    if (!LoadEveryBody(notebook, &out.error))
        return out;
    notebook.SetBookFlag(bfCompressed, on);
    markEveryBodyUnclean(notebook);
    (void)progress.step();
    if (!on && notebook.Header.Version() != 0)
        notebook.Header.setVersion(5);
    return saveAndPack(notebook, progress, true, true);
}

RewriteOutcome ToggleEncryption(TNodeRoot& notebook, const QString& password) {
    RewriteOutcome out;
    const bool on = !notebook.HasBookFlag(bfEncrypted);
    if (on && password.isEmpty()) {
        out.error = StorageError::of(StorageCause::NoPassword);
        return out;
    }
    ScopedProgress progress(
        on ? QStringLiteral("Зашифровка книжки...") : QStringLiteral("Расшифровка книжки..."), 4);
    if (!LoadEveryBody(notebook, &out.error))
        return out;
    const QString key = on ? password : QString();
    // The key block is set up before the flag changes: a failed random source
    // leaves the notebook as it was.
    const NotebookHeader before = notebook.Header;
    notebook.Header.setKeyIVFromCreated();
    if (!SetupKey(notebook, key)) {
        notebook.Header = before;
        out.error = StorageError::of(StorageCause::RandomFailed);
        return out;
    }
    notebook.PasswordDigest = PasswordDigest(key);
    notebook.SetBookFlag(bfEncrypted, on);
    markEveryBodyUnclean(notebook);
    (void)progress.step();
    (void)progress.step();
    return saveAndPack(notebook, progress, true, true);
}

RewriteOutcome ChangeNotebookPassword(TNodeRoot& notebook, const QString& password) {
    RewriteOutcome out;
    if (password.isEmpty()) {
        out.error = StorageError::of(StorageCause::NoPassword);
        return out;
    }
    ScopedProgress progress(QStringLiteral("Установка нового пароля для книжки..."), 3);
    if (!LoadEveryBody(notebook, &out.error))
        return out;
    if (!SetupKey(notebook, password)) {
        out.error = StorageError::of(StorageCause::RandomFailed);
        return out;
    }
    notebook.PasswordDigest = PasswordDigest(password);
    markEveryBodyUnclean(notebook);
    (void)progress.step();
    return saveAndPack(notebook, progress, !notebook.DeletedNotes.isEmpty(), true);
}

RewriteOutcome ChangeReserveSize(TNodeRoot& notebook, int32_t reserve) {
    RewriteOutcome out;
    ScopedProgress progress(QStringLiteral("Установка нового резервного размера для книжки..."), 3);
    if (!LoadEveryBody(notebook, &out.error))
        return out;
    notebook.Header.setReserveSize(reserve);
    markEveryBodyUnclean(notebook);
    (void)progress.step();
    return saveAndPack(notebook, progress, true, false);
}

} // namespace vlr
