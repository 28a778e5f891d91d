#include "app/protection_commands.h"

#include "app/command_texts.h"
#include "app/dialogs/notebook_options.h"
#include "app/dialogs/saving_options_dialog.h"
#include "app/dialogs/security_options_dialog.h"
#include "app/dialogs/storage_messages.h"
#include "core/messages.h"
#include "core/number_text.h"
#include "storage/note_recovery.h"

#include <QApplication>
#include <QFile>

namespace vlr {

namespace {
const QString kRevertFailed = QStringLiteral("Не удалось восстановить запись из файла книжки!");
const QString kReadOnlyOptions =
    QStringLiteral("Эта книжка только для чтения! Вы не можете менять ее опции сохранения и защиты.");

// The copy replaces an older one; a copy cut short is not left behind.
bool copyToBackup(const QString& from, const QString& to) {
    if (QFile::exists(to) && !QFile::remove(to))
        return false;
    if (QFile::copy(from, to))
        return true;
    QFile::remove(to);
    return false;
}
} // namespace

bool ProtectionCommandsHost::EditSavingOptions(TNotebookBinding& target, bool& askCompress) {
    return RunSavingOptionsDialog(QApplication::activeWindow(), target, askCompress);
}

bool ProtectionCommandsHost::EditSecurityOptions(TNotebookBinding& target, bool& askProtect) {
    return RunSecurityOptionsDialog(QApplication::activeWindow(), target, askProtect);
}

TProtectionCommands::TProtectionCommands(TNotebookService& service, ProtectionCommandsHost& host,
                                         TVLROptions& options, QObject* parent)
    : QObject(parent), m_service(service), m_host(host), m_options(options) {
    FilePack = new QAction(QStringLiteral("Сжать книжку"), this);
    FilePack->setObjectName(QStringLiteral("FilePack"));
    NotebookRecover = new QAction(QStringLiteral("Восстановить записи..."), this);
    NotebookRecover->setObjectName(QStringLiteral("NotebookRecover"));
    NotebookRevert = new QAction(QStringLiteral("Перечитать запись"), this);
    NotebookRevert->setObjectName(QStringLiteral("NotebookRevert"));
    NoteRootSaving = new QAction(QStringLiteral("Сохранение..."), this);
    NoteRootSaving->setObjectName(QStringLiteral("NoteRootSaving"));
    NoteRootSecurity = new QAction(QStringLiteral("Безопасность..."), this);
    NoteRootSecurity->setObjectName(QStringLiteral("NoteRootSecurity"));
    connect(FilePack, &QAction::triggered, this, &TProtectionCommands::Pack);
    connect(NoteRootSaving, &QAction::triggered, this, &TProtectionCommands::SavingOptions);
    connect(NoteRootSecurity, &QAction::triggered, this, &TProtectionCommands::SecurityOptions);
    connect(NotebookRecover, &QAction::triggered, this, &TProtectionCommands::Recover);
    connect(NotebookRevert, &QAction::triggered, this, &TProtectionCommands::Revert);
}

TNodeRoot* TProtectionCommands::current() const {
    return TNotebookService::NotebookOf(m_host.SelectedNode());
}

bool TProtectionCommands::PackNotebook(TNodeRoot* notebook, const PackRequest& request) {
    TNodeRoot* nb = notebook ? notebook : current();
    if (!nb || nb->IsLocked())
        return false;
    if (nb->IsReadOnly()) {
        showMessage(kReadOnlyNotebook, kAttention, MsgIcon::Warning);
        return false;
    }
    // Saving may ask for a file name first.
    TNotebookBinding target(m_service, *nb);
    if (request.saveFirst && !m_host.SaveNotebook(nb->RootNode))
        return false;
    if (target.ReportIfLost())
        return false;
    // Packing moves stored bodies only: an unsaved notebook has nothing to pack.
    if (nb->FileName.isEmpty() || !nb->File().isOpen())
        return false;
    m_host.SetStatus(QStringLiteral("Сжатие книжки..."));
    if (m_options.BackupOnPack && !copyToBackup(nb->FileName, BackupName(nb->FileName))) {
        showMessage(QStringLiteral("Ошибка создания резервной копии! Сжатие невозможно!"), kError,
                    MsgIcon::Error);
        m_host.SetStatus(QString());
        return false;
    }
    const qint64 freed = nb->PackNotes(request.purge);
    if (freed < 0) {
        // The file is as before the pack; say why instead of claiming success.
        showMessage(
            withStorageReason(QStringLiteral("Не удалось сжать книжку %1!").arg(nb->FileName), nb->SaveError),
            kError, MsgIcon::Error);
        m_host.SetStatus(QString());
        return false;
    }
    m_host.SetStatus(QStringLiteral("Сжатие книжки... Готово!"));
    if (request.showResult)
        showMessage(QStringLiteral("Книжка успешно сжата. Освобождено байт: %1").arg(groupedNumber(freed)),
                    kDone, MsgIcon::Information);
    return true;
}

void TProtectionCommands::PackOnExit(TNodeRoot& notebook) {
    if (m_options.PackOnExit)
        (void)PackNotebook(&notebook, {});
}

void TProtectionCommands::Pack() {
    TNodeRoot* nb = current();
    if (!nb || !m_host.CanModifyNotebook(nb->RootNode))
        return;
    PackRequest request{true, false, true};
    if (!nb->DeletedNotes.isEmpty()) {
        TNotebookBinding target(m_service, *nb);
        const int answer = showMessage(QStringLiteral("Книжка содержит удалённые записи, которые можно "
                                                      "восстановить.\nХотите удалить их окончательно?"),
                                       kAttention, MsgIcon::Question, MbYes | MbNo | MbCancel);
        if (answer == MbCancel || target.ReportIfLost())
            return;
        request.purge = answer == MbYes;
    }
    (void)PackNotebook(nb, request);
    m_host.RefreshEditor();
}

void TProtectionCommands::Recover() {
    TNodeRoot* nb = current();
    if (!nb || !m_host.CanModifyNotebook(nb->RootNode))
        return;
    TNotebookBinding target(m_service, *nb);
    const QList<TNodeData*> chosen = m_host.ChooseNotesToRecover(target);
    if (target.ReportIfLost() || chosen.isEmpty())
        return;
    if (!RecoverDeletedNotes(m_service, *nb, chosen).isEmpty())
        m_host.RefreshEditor();
}

void TProtectionCommands::Revert() {
    TTreeNode* node = m_host.SelectedNode();
    TNodeData* note = node ? node->Note() : nullptr;
    TNodeRoot* nb = TNotebookService::NotebookOf(node);
    if (!note || !nb)
        return;
    TNotebookBinding target(m_service, node);
    if (showMessage(QStringLiteral("Восстановить оригинальное содержимое записи из файла книжки?"),
                    QStringLiteral("Подтверждение"), MsgIcon::Question, MbOk | MbCancel) != MbOk ||
        target.ReportIfLost())
        return;
    if (nb->IsLocked()) {
        showMessage(kRevertFailed, kError, MsgIcon::Error);
        return;
    }
    if (RevertNote(*nb, *note)) {
        m_host.RefreshEditor();
        showMessage(QStringLiteral("Запись была успешно восстановлена из файла книжки."), kDone,
                    MsgIcon::Information);
    } else if (note->Record.Offset() > 0) {
        // A stored body that cannot be read again; a note never stored stays empty.
        m_host.RefreshEditor();
        showMessage(kRevertFailed, kError, MsgIcon::Error);
    } else {
        m_host.RefreshEditor();
    }
}

void TProtectionCommands::SavingOptions() {
    editOptions(&ProtectionCommandsHost::EditSavingOptions, m_options.AskCompress);
}

void TProtectionCommands::SecurityOptions() {
    editOptions(&ProtectionCommandsHost::EditSecurityOptions, m_options.AskProtect);
}

void TProtectionCommands::editOptions(OptionsDialog dialog, bool& askFlag) {
    TNodeRoot* nb = current();
    if (!nb)
        return;
    if (nb->IsReadOnly()) {
        showMessage(kReadOnlyOptions, kAttention, MsgIcon::Warning);
        return;
    }
    // Every option that stores the bodies again needs them readable.
    if (!m_host.CanModifyNotebook(nb->RootNode))
        return;
    m_host.StoreEditor();
    TNotebookBinding target(m_service, *nb);
    const bool accepted = (m_host.*dialog)(target, askFlag);
    if (target.ReportIfLost()) {
        m_host.RefreshEditor();
        return;
    }
    if (accepted) {
        MarkOptionsChanged(*nb);
        m_host.NotebookOptionsChanged(*nb);
        m_host.SetStatus(QString());
    }
    // A new password is stored at once, even when the dialog is cancelled
    // afterwards: the editor shows the bodies as they are now.
    m_host.RefreshEditor();
}

} // namespace vlr
