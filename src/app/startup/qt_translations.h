#pragma once
// Qt's own texts (standard buttons, file and colour dialogs, the context
// menus of edit boxes) in Russian, like the rest of the interface.
#include <QString>

class QCoreApplication;

namespace vlr {

// Installs Qt's Russian translations from folder (Qt's translations folder
// when empty). False when they are not there: Qt's texts stay English.
bool installQtTranslations(QCoreApplication& app, const QString& folder = {});

} // namespace vlr
