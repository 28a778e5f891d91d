#include "app/notebook_commands.h"

#include "app/command_texts.h"
#include "app/dialogs/storage_messages.h"
#include "app/notebook_defaults.h"
#include "app/salvage_offer.h"
#include "core/dateformat.h"
#include "core/messages.h"
#include "core/password_prompt.h"
#include "core/progress.h"
#include "storage/notebook_binding.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QSaveFile>

#include <optional>

namespace vlr {

namespace {

// Removes the bulk mark whatever way the scope is left.
class BulkChange {
public:
    explicit BulkChange(NotebookCommandsHost& host) : m_host(host) { m_host.BeginBulkChange(); }
    ~BulkChange() { m_host.EndBulkChange(); }
    BulkChange(const BulkChange&) = delete;
    BulkChange& operator=(const BulkChange&) = delete;

private:
    NotebookCommandsHost& m_host;
};

QAction* makeAction(QObject* parent, const char* name, const QString& text, const QKeySequence& keys = {}) {
    auto* a = new QAction(text, parent);
    a->setObjectName(QString::fromLatin1(name));
    if (!keys.isEmpty())
        a->setShortcut(keys);
    return a;
}
} // namespace

TNotebookCommands::TNotebookCommands(TNotebookService& service, NotebookCommandsHost& host,
                                     FileDialogs& dialogs, const TVLROptions& options, AppFlags& flags,
                                     QObject* parent)
    : QObject(parent), m_service(service), m_host(host), m_dialogs(dialogs), m_options(options),
      m_flags(flags) {
    FileNew = makeAction(this, "FileNew", QStringLiteral("Новая"), QKeySequence(QStringLiteral("Ctrl+N")));
    FileOpen =
        makeAction(this, "FileOpen", QStringLiteral("Открыть..."), QKeySequence(QStringLiteral("Ctrl+O")));
    FileOpenLast = makeAction(this, "FileOpenLast", QStringLiteral("Открыть последнюю книжку"),
                              QKeySequence(QStringLiteral("Ctrl+Shift+O")));
    FileClearMRU = makeAction(this, "FileClearMRU", QStringLiteral("Очистить список"));
    FileSave =
        makeAction(this, "FileSave", QStringLiteral("Сохранить"), QKeySequence(QStringLiteral("Ctrl+S")));
    FileSaveAs = makeAction(this, "FileSaveAs", QStringLiteral("Сохранить как..."));
    FileSaveAll = makeAction(this, "FileSaveAll", QStringLiteral("Сохранить всё"),
                             QKeySequence(QStringLiteral("Ctrl+Shift+S")));
    FileClose =
        makeAction(this, "FileClose", QStringLiteral("Закрыть"), QKeySequence(QStringLiteral("Ctrl+F4")));
    FileCloseAll = makeAction(this, "FileCloseAll", QStringLiteral("Закрыть всё"),
                              QKeySequence(QStringLiteral("Ctrl+Alt+F4")));
    FileCloseNotSave = makeAction(this, "FileCloseNotSave", QStringLiteral("Закрыть без сохранения"));
    FileExportBackup = makeAction(this, "FileExportBackup", QStringLiteral("Резервирование..."));

    connect(FileNew, &QAction::triggered, this, [this] { NewNotebook(); });
    connect(FileOpen, &QAction::triggered, this, &TNotebookCommands::openChosen);
    connect(FileOpenLast, &QAction::triggered, this, [this] {
        if (!m_recent.IsEmpty())
            OpenByName(m_recent.Items().first());
    });
    connect(FileClearMRU, &QAction::triggered, this, [this] {
        m_recent.Clear();
        RecentChanged();
    });
    connect(FileSave, &QAction::triggered, this, [this] { SaveNotebook(nullptr); });
    connect(FileSaveAs, &QAction::triggered, this, [this] { SaveNotebookAs(nullptr); });
    connect(FileSaveAll, &QAction::triggered, this, &TNotebookCommands::SaveAll);
    connect(FileClose, &QAction::triggered, this, &TNotebookCommands::CloseCurrent);
    connect(FileCloseAll, &QAction::triggered, this, &TNotebookCommands::CloseAll);
    connect(FileCloseNotSave, &QAction::triggered, this, &TNotebookCommands::CloseNotSave);
    connect(FileExportBackup, &QAction::triggered, this, &TNotebookCommands::BackupCopy);
    RecentChanged();
}

TNodeRoot* TNotebookCommands::current() const {
    return TNotebookService::NotebookOf(m_host.SelectedNode());
}

void TNotebookCommands::SetRecentMenu(QMenu* menu) {
    m_recentMenu = menu;
    RecentChanged();
}

void TNotebookCommands::RecentChanged() {
    FileClearMRU->setEnabled(!m_recent.IsEmpty());
    FileOpenLast->setEnabled(!m_recent.IsEmpty());
    if (!m_recentMenu)
        return;
    m_recentMenu->clear();
    int number = 1;
    for (const QString& path : m_recent.Items()) {
        // "&1 /path": the number is the menu key; ampersands in paths are literal.
        QString label = path;
        label.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* entry = m_recentMenu->addAction(QStringLiteral("&%1 %2").arg(number++ % 10).arg(label));
        entry->setData(path);
        // Opening from the list does not reorder it.
        connect(entry, &QAction::triggered, this, [this, path] { OpenByName(path); });
    }
    m_recentMenu->setEnabled(!m_recent.IsEmpty());
}

QString TNotebookCommands::ResolveName(const QString& name) {
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty())
        return {};
    const QFileInfo info(trimmed);
    if (!info.exists() || info.isDir())
        return {};
    // Symbolic links resolved, the spelling as the file system keeps it.
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.absoluteFilePath() : canonical;
}

int TNotebookCommands::OpenByName(const QString& name) {
    std::optional<BulkChange> bulk(std::in_place, m_host);
    const QString resolved = ResolveName(name);
    if (resolved.isEmpty()) {
        if (!m_flags.quiet)
            showMessage(QStringLiteral("Книжка не найдена - %1").arg(name), kError, MsgIcon::Error);
        return obNotFound;
    }
    if (m_service.FindByFileName(resolved)) {
        if (!m_flags.quiet)
            showMessage(QStringLiteral("Такая книжка уже открыта!"), kError, MsgIcon::Error);
        return obAlreadyOpen;
    }
    m_host.SetStatus(QStringLiteral("Открытие книжки %1...").arg(QFileInfo(resolved).fileName()));
    OpenOptions options;
    options.defNodeImageIndex = m_options.DefNodeImageIndex;
    options.askPassword = [this](TNodeRoot*, TNodeRoot* notebook, bool& res) {
        res = m_host.AskPassword(notebook);
    };
    const OpenOutcome outcome = m_service.Open(resolved, options);
    // The selection below is processed at once, before the notebook is marked clean.
    bulk.reset();
    switch (outcome.result) {
    case lrOk:
    case lrPicturesUnreadable:
    case lrDamaged: {
        TNodeRoot* nb = outcome.notebook;
        if (nb->Header.RootExpanded() != 0)
            nb->Header.setRootExpanded(-1);
        const int selected = nb->Header.SelectedNote();
        // A notebook still locked shows its root: its notes ask first.
        TTreeNode* target = selected >= 0 && selected < nb->Notes.size() && !nb->IsLocked()
                                ? nb->Notes[selected]->TreeNode
                                : nb->RootNode;
        m_host.SelectNode(target ? target : nb->RootNode);
        nb->OnAutoSave = [this](TNodeRoot*, TNodeRoot* notebook) { AutoSave(notebook); };
        nb->OnForceClose = [this](TNodeRoot* notebook) { CloseNotebook(notebook->RootNode); };
        nb->StartAutoSaveTimer();
        if (!nb->Modified)
            MarkClean(nb->RootNode);
        m_host.RefreshEditor();
        emit notebookReady(nb);
        if (outcome.result == lrDamaged) {
            // Said even at start-up: a damaged notebook must not reopen silently.
            showMessage(QStringLiteral("Книжка %1 повреждена и открыта только для чтения:\n%2")
                            .arg(resolved, storageErrorsText(nb->Damage)),
                        kAttention, MsgIcon::Warning);
            const QString salvaged = OfferSalvage(m_service, m_dialogs, *nb);
            if (!salvaged.isEmpty()) {
                // The new notebook stands for the damaged one, which has nothing to save.
                CloseNotebook(nb->RootNode);
                OpenByName(salvaged);
            }
            return obDamaged;
        }
        m_host.SetStatus(QStringLiteral("Книжка успешно открыта!"));
        return outcome.result == lrOk ? obOpened : obPicturesUnreadable;
    }
    case lrPasswordRefused:
        return obPasswordRefused;
    case lrNeedsRecovery:
        // A save was cut short elsewhere and its journal is not played back yet.
        showMessage(QStringLiteral("Книжка %1 не была сохранена до конца и требует восстановления. Закройте "
                                   "другие программы, работающие с ней, и откройте её снова.")
                        .arg(resolved),
                    kError, MsgIcon::Error);
        return obNotFound;
    case lrNotNotebook:
        // Said even at start-up: a file given by name that is no notebook
        // would otherwise leave an empty window and no word why.
        showMessage(QStringLiteral("Это не файл записной книжки в формате VLR - %1!").arg(resolved), kError,
                    MsgIcon::Error);
        return obNotNotebook;
    default:
        if (!m_flags.quiet)
            showMessage(QStringLiteral("Книжка не найдена - %1").arg(name), kAttention, MsgIcon::Warning);
        return obNotFound;
    }
}

void TNotebookCommands::openChosen() {
    const QFileInfo last(m_recent.IsEmpty() ? QString() : m_recent.Items().first());
    const QString folder = last.exists() ? last.absolutePath() : m_options.DefaultPath;
    const QStringList files = m_dialogs.OpenNotebooks(folder);
    for (const QString& file : files)
        OpenByName(file);
    m_host.FocusTree();
}

TNodeRoot* TNotebookCommands::NewNotebook() {
    TNodeRoot* nb = nullptr;
    {
        BulkChange bulk(m_host);
        nb = m_service.Create(newNotebookDefaults(m_options));
    }
    nb->OnAutoSave = [this](TNodeRoot*, TNodeRoot* notebook) { AutoSave(notebook); };
    nb->OnForceClose = [this](TNodeRoot* notebook) { CloseNotebook(notebook->RootNode); };
    m_host.SelectNode(nb->RootNode);
    m_host.ProcessEvents();
    if (m_options.DefEncrypt) {
        QString reminder = nb->Header.PasswordReminder();
        const std::optional<QString> password = passwordPrompt().newPassword(reminder);
        if (password && !password->isEmpty() && m_service.Protect(*nb, *password))
            nb->Header.setPasswordReminder(reminder);
        else
            nb->SetBookFlag(bfEncrypted, false);
    }
    m_host.FocusTree();
    m_host.SelectNode(nb->RootNode);
    TNodeData* note = m_service.AddNote(*nb, nb->RootNode, nb->RootNode->Count(), NewNoteDefaults{}.name,
                                        newNoteDefaults(m_options), false);
    m_service.SetExpanded(nb->RootNode, true);
    m_host.SelectNode(note->TreeNode);
    m_host.RefreshEditor();
    emit notebookReady(nb);
    return nb;
}

void TNotebookCommands::MarkClean(TTreeNode* node) {
    TNodeRoot* nb = TNotebookService::NotebookOf(node);
    if (!nb)
        return;
    nb->TreeDirty = false;
    nb->Modified = false;
    nb->ViewDirty = false;
    // The selected note is stored again at the next save.
    if (TNodeData* note = node->Note())
        note->Clean = false;
}

void TNotebookCommands::packSilently(TNodeRoot& nb) {
    if (nb.IsReadOnly() || nb.FileName.isEmpty())
        return;
    (void)nb.PackNotes(false);
}

void TNotebookCommands::storeViewState(TNodeRoot& nb) {
    // Nobody is asked and nothing is reported: a notebook that must not or
    // cannot be written keeps its file as it was and only forgets the view.
    if (nb.FileName.isEmpty() || nb.IsReadOnly() || nb.InspectOnly || nb.IsDamaged() || nb.IsLocked())
        return;
    (void)m_service.Save(nb);
}

int TNotebookCommands::SaveNotebook(TTreeNode* root) {
    TTreeNode* selected = m_host.SelectedNode();
    if (!root) {
        TNodeRoot* nb = current();
        root = nb ? nb->RootNode : nullptr;
    }
    if (!root)
        return snCancelled;
    if (root->Level() != 0) {
        showMessage(QStringLiteral("Внутренняя ошибка при сохранении книжки! Работа продолжается..."), kError,
                    MsgIcon::Error);
        return snCancelled;
    }
    TNodeRoot* nb = root->Notebook();
    if (!m_host.CanModifyNotebook(root) || nb->IsLocked())
        return snCancelled;
    if (nb->IsReadOnly()) {
        showMessage(kReadOnlyNotebook, kAttention, MsgIcon::Warning);
        return snReadOnly;
    }
    m_host.SetStatus(QStringLiteral("Сохранение книжки..."));
    if (nb->FileName.isEmpty())
        return SaveNotebookAs(root);
    {
        BulkChange bulk(m_host);
        if (TNotebookService::NotebookOf(selected) == nb)
            m_host.StoreEditor(m_host.EditorModified());
        const int saved = m_service.Save(*nb);
        if (saved != srOk) {
            // The notebook stays modified in memory; the user must know the file is not.
            const StorageError& reason = saved == srNotWritable ? nb->File().error() : nb->SaveError;
            showMessage(withStorageReason(QStringLiteral("Не удалось сохранить книжку %1!").arg(nb->FileName),
                                          reason),
                        kError, MsgIcon::Error);
            m_host.SetStatus(QString());
            return snNotWritten;
        }
    }
    if (m_options.PackOn30Percent) {
        const qint64 waste = qint64(nb->Header.TreeOffset()) - qint64(NoteRecord::Bytes) * nb->Notes.size() -
                             nb->ReservedTotal() - NotebookHeader::Bytes;
        if (waste >= nb->FileSize() / 3)
            packSilently(*nb);
    }
    m_host.ClearEditorModified();
    MarkClean(TNotebookService::NotebookOf(selected) == nb ? selected : root);
    m_host.SetStatus(QStringLiteral("Книжка сохранена успешно!"));
    return snSaved;
}

int TNotebookCommands::SaveNotebookAs(TTreeNode* root) {
    if (!root) {
        TNodeRoot* nb = current();
        root = nb ? nb->RootNode : nullptr;
    }
    if (!root)
        return snCancelled;
    if (!m_host.CanModifyNotebook(root))
        return snCancelled;
    if (root->Level() != 0) {
        showMessage(QStringLiteral("Внутренняя ошибка при сохранении книжки под другим именем!"), kError,
                    MsgIcon::Error);
        return snCancelled;
    }
    TNodeRoot* nb = root->Notebook();
    if (nb->IsLocked())
        return snCancelled;
    if (nb->IsReadOnly()) {
        showMessage(kReadOnlyNotebook, kAttention, MsgIcon::Warning);
        return snReadOnly;
    }
    if (current() != nb) {
        m_host.SelectNode(root);
        m_host.RefreshEditor();
    }
    QString initial = nb->FileName.trimmed();
    if (initial.isEmpty())
        initial =
            QDir(m_options.DefaultPath).filePath(nb->Header.BookName().left(100) + QStringLiteral(".vlr"));
    TNotebookBinding target(m_service, *nb);
    QString chosen = m_dialogs.SaveNotebook(QStringLiteral("Сохранить как..."), initial);
    if (target.ReportIfLost() || chosen.isEmpty())
        return snCancelled;
    chosen = QFileInfo(chosen).absoluteFilePath();
    if (QFileInfo(chosen).exists())
        chosen = ResolveName(chosen);
    TNodeRoot* holder = m_service.FindByFileName(chosen);
    if (holder && holder != nb) {
        showMessage(kOverwriteOpenNotebook, kError, MsgIcon::Error);
        return snReadOnly;
    }
    if (TNotebookService::NotebookOf(m_host.SelectedNode()) == nb)
        m_host.StoreEditor(true);
    if (!nb->FileName.isEmpty() && nb->FileName != chosen) {
        m_recent.Add(nb->FileName);
        RecentChanged();
        QString error;
        // The stored bodies move with the copy; the changes are then saved into it.
        if (!copyFile(nb->FileName, chosen, false, &error)) {
            showMessage(QStringLiteral("Не удалось записать книжку %1!\n%2").arg(chosen, error), kError,
                        MsgIcon::Error);
            return snNotWritten;
        }
    } else if (nb->FileName.isEmpty() && QFileInfo::exists(chosen)) {
        // A new notebook replaces the file the user chose to overwrite.
        if (!QFile::remove(chosen)) {
            showMessage(QStringLiteral("Не удалось записать книжку %1!").arg(chosen), kError, MsgIcon::Error);
            return snNotWritten;
        }
    }
    nb->FileName = chosen;
    nb->TreeDirty = true;
    return SaveNotebook(root);
}

void TNotebookCommands::SaveAll() {
    TTreeNode* selected = m_host.SelectedNode();
    const int index = m_host.AbsoluteIndexOf(selected);
    for (TNodeRoot* nb : m_service.Notebooks()) {
        if (!nb->RootNode || nb->IsLocked() || nb->HasBookFlag(bfReadOnly))
            continue;
        SaveNotebook(nb->RootNode);
    }
    TTreeNode* now = m_host.NodeAtAbsoluteIndex(index);
    if (now && now != m_host.SelectedNode())
        m_host.SelectNode(now);
    m_host.RefreshEditor();
}

void TNotebookCommands::AutoSave(TNodeRoot* notebook) {
    if (!notebook || !notebook->TreeDirty || notebook->IsLocked() || notebook->HasBookFlag(bfReadOnly) ||
        !notebook->RootNode)
        return;
    // A notebook never saved has no file to write to; auto-save does not ask for one.
    if (notebook->FileName.isEmpty())
        return;
    TTreeNode* selected = m_host.SelectedNode();
    const int index = m_host.AbsoluteIndexOf(selected);
    SaveNotebook(notebook->RootNode);
    TTreeNode* now = m_host.NodeAtAbsoluteIndex(index);
    if (now && now != m_host.SelectedNode())
        m_host.SelectNode(now);
    m_host.RefreshEditor();
}

int TNotebookCommands::CloseNotebook(TTreeNode* root) {
    if (!root)
        return cnNoNode;
    TNodeRoot* nb = root->Notebook();
    if (!nb)
        return cnNoNode;
    if (!m_flags.closing && TNotebookService::NotebookOf(m_host.SelectedNode()))
        m_host.StoreEditor(true);
    int result = cnClosedSaved;
    if (nb->TreeDirty && !m_host.ShiftHeld()) {
        if (m_flags.closing && !nb->FileName.isEmpty() &&
            (!m_options.AskSaveChanges || m_options.PackOnExit) && !nb->IsReadOnly()) {
            // Saved without asking; a notebook that could not be saved stays open.
            if (SaveNotebook(root) != snSaved) {
                m_flags.exiting = false;
                return cnCancelled;
            }
            if (m_options.PackOnExit)
                packSilently(*nb);
        } else {
            m_host.RestoreMainWindow();
            if (current() != nb)
                m_host.SelectNode(root);
            if (nb->IsReadOnly()) {
                result = cnClosedUnsaved;
            } else {
                const int answer =
                    showMessage(QStringLiteral("Записная книжка не сохранена! Сохранить ее сейчас?"),
                                kAttention, MsgIcon::Question, MbYes | MbNo | MbCancel);
                if (answer == MbCancel) {
                    m_flags.exiting = false;
                    return cnCancelled;
                }
                if (answer == MbNo) {
                    result = cnClosedUnsaved;
                } else {
                    // Yes, then a cancelled or failed save: the notebook stays open.
                    if (SaveNotebook(root) != snSaved || nb->FileName.isEmpty()) {
                        m_flags.exiting = false;
                        return cnCancelled;
                    }
                    if (m_options.PackOnExit)
                        packSilently(*nb);
                }
            }
        }
    } else if (nb->ViewDirty && !m_host.ShiftHeld()) {
        storeViewState(*nb);
    }
    {
        BulkChange bulk(m_host);
        if (!nb->FileName.isEmpty() && !(m_flags.closing && m_options.AutoLoadPrevious)) {
            m_recent.Add(nb->FileName);
            RecentChanged();
        }
        m_service.Close(nb);
    }
    m_host.RefreshEditor();
    return result;
}

void TNotebookCommands::CloseCurrent() {
    TNodeRoot* nb = current();
    if (!nb)
        return;
    CloseNotebook(nb->RootNode);
    m_host.ProcessEvents();
    if (TNodeRoot* now = current()) {
        const int selected = now->Header.SelectedNote();
        if (selected >= 0 && selected < now->Notes.size() && now->Notes[selected]->TreeNode)
            m_host.SelectNode(now->Notes[selected]->TreeNode);
    }
    m_host.RefreshEditor();
}

void TNotebookCommands::CloseNotSave() {
    TNodeRoot* nb = current();
    if (!nb)
        return;
    if (!nb->FileName.isEmpty()) {
        m_recent.Add(nb->FileName);
        RecentChanged();
    }
    {
        BulkChange bulk(m_host);
        m_service.Close(nb);
    }
    m_host.RefreshEditor();
}

void TNotebookCommands::CloseAll() {
    TTreeNode* selected = m_host.SelectedNode();
    TNodeRoot* formerBook = TNotebookService::NotebookOf(selected);
    const int index = m_host.AbsoluteIndexOf(selected);
    m_lastSession.selected = qMax(0, index);
    if (m_flags.closing)
        m_lastSession.files.clear();
    if (TNotebookService::NotebookOf(selected))
        m_host.StoreEditor(true);
    for (TNodeRoot* nb : m_service.Notebooks()) {
        if (m_flags.closing && m_options.AutoLoadPrevious && !nb->FileName.isEmpty())
            m_lastSession.files.append(nb->FileName);
        if (CloseNotebook(nb->RootNode) == cnCancelled)
            break;
    }
    // The former selection comes back when its notebook is still open.
    if (formerBook && m_service.Notebooks().contains(formerBook) && selected != m_host.SelectedNode())
        m_host.SelectNode(selected);
    m_host.RefreshEditor();
}

QString TNotebookCommands::BackupCopyName(const QString& fileName, const QString& folder,
                                          const QDateTime& now) {
    const QString base = QFileInfo(fileName).completeBaseName();
    const QString stamp = formatDateTime(QStringLiteral("yyyy-mm-dd hh.nn"), now);
    return QDir(folder).filePath(QStringLiteral("%1 %2.vlr").arg(base, stamp));
}

bool TNotebookCommands::copyFile(const QString& from, const QString& to, bool withProgress, QString* error) {
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly)) {
        *error = fileErrorText(source.error());
        return false;
    }
    // Written beside the target and renamed over it: never a half copy under its name.
    QSaveFile target(to);
    if (!target.open(QIODevice::WriteOnly)) {
        *error = fileErrorText(target.error());
        return false;
    }
    constexpr qint64 kChunk = 1 << 20;
    const qint64 total = source.size();
    const int steps = int(qMax<qint64>(1, (total + kChunk - 1) / kChunk));
    if (withProgress)
        ProgressStart(QStringLiteral("Копирование книжки %1...").arg(QFileInfo(from).fileName()), steps,
                      true);
    bool ok = true;
    while (ok && !source.atEnd()) {
        const QByteArray chunk = source.read(kChunk);
        if (chunk.isEmpty() && source.error() != QFileDevice::NoError) {
            *error = fileErrorText(source.error());
            ok = false;
        } else if (target.write(chunk) != chunk.size()) {
            *error = fileErrorText(target.error());
            ok = false;
        } else if (withProgress && ProgressStep(1)) {
            *error = QStringLiteral("копирование прервано");
            ok = false;
        }
    }
    if (withProgress)
        ProgressEnd();
    if (!ok) {
        target.cancelWriting();
        return false;
    }
    if (!target.commit()) {
        *error = fileErrorText(target.error());
        return false;
    }
    return true;
}

void TNotebookCommands::BackupCopy() {
    TNodeRoot* nb = current();
    if (!nb)
        return;
    // The copy is of this notebook, whichever is current when the file is chosen.
    TNotebookBinding target(m_service, *nb);
    const int saved = SaveNotebook(nb->RootNode);
    if (saved == snNotWritten || saved == snCancelled || target.ReportIfLost() || nb->FileName.isEmpty())
        return;
    const QString fileName = nb->FileName;
    const QString proposal = BackupCopyName(fileName, m_options.BackupPath, QDateTime::currentDateTime());
    const QString chosen = m_dialogs.SaveNotebook(QStringLiteral("Копирование книжки в..."), proposal);
    if (target.ReportIfLost() || chosen.isEmpty())
        return;
    // No open notebook's file is replaced under it, this one's or another's.
    const QString resolved =
        QFileInfo::exists(chosen) ? ResolveName(chosen) : QFileInfo(chosen).absoluteFilePath();
    if (resolved == fileName || m_service.FindByFileName(resolved)) {
        showMessage(kOverwriteOpenNotebook, kError, MsgIcon::Error);
        return;
    }
    QString error;
    if (!copyFile(fileName, chosen, true, &error)) {
        showMessage(QStringLiteral("Не удалось создать резервную копию книжки!\n%1").arg(error), kError,
                    MsgIcon::Error);
        return;
    }
    showMessage(QStringLiteral("Резервная копия книжки успешно создана!"), kDone, MsgIcon::Information);
}

} // namespace vlr
