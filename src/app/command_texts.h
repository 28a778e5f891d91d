#pragma once
// Captions and messages the notebook controllers share.
#include <QString>

namespace vlr {

inline const QString kError = QStringLiteral("Ошибка");
inline const QString kAttention = QStringLiteral("Внимание!");
inline const QString kDone = QStringLiteral("Готово!");
inline const QString kReadOnlyNotebook = QStringLiteral(
    "Записная книжка только для чтения! Вы не можете сохранять ее на диск. Выберите в окне Свойства "
    "книжки->Опции автора чтобы отключить \"только для чтения\".");
inline const QString kOverwriteOpenNotebook =
    QStringLiteral("Записная книжка, которую вы хотите перезаписать, открыта в программе!");

} // namespace vlr
