#include "app/salvage_offer.h"

#include "app/command_texts.h"
#include "app/dialogs/storage_messages.h"
#include "app/notebook_commands.h"
#include "core/messages.h"
#include "storage/notebook_salvage.h"
#include "storage/notebook_service.h"
#include "storage/salvage_writer.h"

#include <QFileInfo>

namespace vlr {

QString SalvageProposal(const QString& damagedPath, const QString& home) {
    const QFileInfo info(damagedPath);
    const QString name = info.completeBaseName() + QStringLiteral(" (восстановлено).vlr");
    const QFileInfo folder(info.absolutePath());
    return QDir(folder.isDir() && folder.isWritable() ? folder.absoluteFilePath() : home).filePath(name);
}

QString OfferSalvage(const TNotebookService& service, FileDialogs& dialogs, const TNodeRoot& damaged) {
    if (showMessage(QStringLiteral("Восстановить уцелевшие записи в новую книжку?"), kAttention,
                    MsgIcon::Question, MbYes | MbNo) != MbYes)
        return {};
    const QString target = dialogs.SaveNotebook(QStringLiteral("Сохранить уцелевшие записи в..."),
                                                SalvageProposal(damaged.FileName));
    if (target.isEmpty())
        return {};
    const QString absolute = QFileInfo(target).absoluteFilePath();
    // The save dialog has asked before replacing a file.
    if (CheckSalvageTarget(damaged.FileName, absolute, true) == SalvageTarget::SameFile) {
        showMessage(
            QStringLiteral("Уцелевшие записи нельзя записать в саму повреждённую книжку. Выберите другое "
                           "имя файла."),
            kError, MsgIcon::Error);
        return {};
    }
    const QString canonical = QFileInfo(absolute).canonicalFilePath();
    if (service.FindByFileName(absolute) || (!canonical.isEmpty() && service.FindByFileName(canonical))) {
        showMessage(kOverwriteOpenNotebook, kError, MsgIcon::Error);
        return {};
    }
    DamagedNotebook source;
    if (!source.read(damaged.FileName)) {
        showMessage(QStringLiteral("Не удалось прочитать книжку %1.").arg(damaged.FileName), kError,
                    MsgIcon::Error);
        return {};
    }
    // The password given when the damaged notebook was opened reads its bodies.
    if (damaged.KeyHeld)
        source.useKey(damaged.MasterKey);
    const SalvageResult result = source.salvage();
    const SalvageCounts& c = result.counts;
    if (c.whole + c.nameless == 0) {
        showMessage(QStringLiteral("Уцелевших записей не найдено (потеряно: %1). Новая книжка не создана.")
                        .arg(c.lost),
                    kAttention, MsgIcon::Warning);
        return {};
    }
    // Written by a service of its own: the new notebook is opened like any other afterwards.
    TNotebookService writer(service.Images());
    StorageError error;
    TNodeRoot* written = WriteSalvagedNotebook(writer, source, result, absolute, &error);
    if (!written) {
        showMessage(withStorageReason(
                        QStringLiteral("Не удалось записать книжку %1. Повреждённая книжка не изменена.")
                            .arg(absolute),
                        error),
                    kError, MsgIcon::Error);
        return {};
    }
    writer.Close(written);
    showMessage(QStringLiteral("Восстановлено записей: %1 целиком, %2 без имени; потеряно: %3.")
                    .arg(c.whole)
                    .arg(c.nameless)
                    .arg(c.lost),
                kDone, MsgIcon::Information);
    return absolute;
}

} // namespace vlr
